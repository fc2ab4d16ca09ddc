#include <gtest/gtest.h>

#include <set>

#include "autostart/manager/EntryCheck.h"

using namespace velmora;

namespace {

const std::set<std::wstring> kFiles{L"c:\\prog\\a.exe", L"a.exe"};
bool Exists(const std::wstring& name) { return kFiles.count(name) > 0; }

TEntryFields Good() { return TEntryFields{L"Ein Programm", L"c:\\prog\\a.exe", L"", 5, 0}; }

}  // namespace

TEST(EntryCheckTest, AGoodEntryPassesAndItsNameComesBackTrimmed) {
    TEntryFields f = Good();
    f.Dateiname = L"  c:\\prog\\a.exe  ";
    EXPECT_EQ(CheckEntry(f, Exists), std::nullopt);
    EXPECT_EQ(f.Dateiname, L"c:\\prog\\a.exe");
}

TEST(EntryCheckTest, NoWaitWithNotStartingTurnsTheActionToStart) {
    TEntryFields f = Good();
    f.Wartezeit = 0;
    f.Aktion = 1;
    ASSERT_TRUE(CheckEntry(f, Exists).has_value());
    EXPECT_EQ(f.Aktion, 0);
    EXPECT_EQ(CheckEntry(f, Exists), std::nullopt);

    f.Wartezeit = 1;
    f.Aktion = 1;
    EXPECT_EQ(CheckEntry(f, Exists), std::nullopt);
}

TEST(EntryCheckTest, EntryTakesTheFieldsWithTheWaitKeptInRange) {
    TEntryFields f{L"B", L"c:\\x.exe", L"/p", 45, 1};
    TEintrag e = EntryFromFields(f);
    EXPECT_EQ(e, (TEintrag{L"B", L"c:\\x.exe", L"/p", 30, 1}));
    f.Wartezeit = -3;
    EXPECT_EQ(EntryFromFields(f).Wartezeit, 0);
    EXPECT_EQ(EntryFromFields(FieldsFromEntry(e)), e);
}

TEST(EntryCheckTest, RowShowsFileNamePartWaitAndWhetherItStarts) {
    EXPECT_EQ(RowOf(TEintrag{L"Editor", L"c:\\win\\notiz.exe", L"", 12, 0}),
              (TEntryRow{L"Editor", L"notiz.exe", L"12", L"ja"}));
    EXPECT_EQ(RowOf(TEintrag{L"X", L"d:prog.exe", L"", 0, 1}), (TEntryRow{L"X", L"prog.exe", L"0", L"nein"}));
}
