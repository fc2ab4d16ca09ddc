// The report columns' widths across kind changes. The value stays in the prefix:
// the registry listing that runs this test reads it with the system's tool.

#include "DateiListeFixture.h"
#include "foundation/DefaultUserStore.h"

using namespace velmora;
using namespace velmora::test;

TEST_F(DateiListeTest, KindsOneAndTwoKeepTheColumnWidths) {
    RegDeleteUserValue(DialogeSchluessel, DListeColumnsWert);
    auto& pane = Pane(ftAusfDateiliste);
    ASSERT_EQ(pane.Dateiliste.ColumnCount(), 6);
    EXPECT_EQ(pane.Dateiliste.ColumnWidth(1), 125);
    ListView_SetColumnWidth(pane.Dateiliste.Handle(), 1, 140);
    pane.SetPaneKind(ftDateiliste);
    pane.ApplyOptions(StandardOptionen(2));
    EXPECT_EQ(RegReadUserValue(DialogeSchluessel, DListeColumnsWert), L"125,140,50,115,35,85");
    pane.SetPaneKind(ftAusfDateiliste);
    pane.ApplyOptions(StandardOptionen(3));
    EXPECT_EQ(pane.Dateiliste.ColumnWidth(1), 140);
}
