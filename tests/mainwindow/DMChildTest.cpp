#include <gtest/gtest.h>

#include "panes/DMChild_Vorlage.h"
#include "platform/gui/Application.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// A pane kind that overrides nothing: every operation must be harmless on it.
class TLeeresFenster : public TDMChildForm {
public:
    using TDMChildForm::TDMChildForm;
};

struct PaneBase : ::testing::Test {
    TForm frame{nullptr};
    TLeeresFenster* pane = nullptr;
    TForm* previousMain = nullptr;
    void SetUp() override {
        // MDI children go to the application's main window, which the frame stands in for.
        previousMain = Application->MainForm();
        frame.SetFormStyle(TFormStyle::fsMDIForm);
        Application->SetMainForm(&frame);
        frame.SetBounds(0, 0, 400, 300);
        frame.Show();
        pane = new TLeeresFenster(&frame);
        pane->Show();
    }
    void TearDown() override { Application->SetMainForm(previousMain); }
};

TDateiListe OneRecord() {
    TDateiListe list;
    list.push_back(std::make_unique<TEineDatei>());
    list.back()->Name = L"c:\\vorher.txt";
    return list;
}

}  // namespace

TEST_F(PaneBase, APaneIsAnMdiChildOfTheMainWindow) {
    EXPECT_EQ(pane->FormStyle(), TFormStyle::fsMDIChild);
    EXPECT_EQ(GetParent(pane->Handle()), frame.ClientHandle());
    EXPECT_EQ(frame.MDIChildCount(), 1);
}

TEST_F(PaneBase, TheKindIsKeptAndStartsAsTheTree) {
    EXPECT_EQ(pane->GetPaneKind(), ftVerzeichnisbaum);
    pane->SetPaneKind(ftSammelkorb);
    EXPECT_EQ(pane->GetPaneKind(), ftSammelkorb);
    pane->SetPaneKind(ftArcExe);
    EXPECT_EQ(pane->GetPaneKind(), ftArcExe);
}

TEST_F(PaneBase, OperationsThatAreNotOverriddenGiveTheEmptyValue) {
    TDMChildForm& p = *pane;
    p.SetDirectory(L"c:\\windows");
    p.SetArchiveFile(L"c:\\a.zip");
    p.SetSortOrder(5);
    EXPECT_EQ(p.GetDirectory(), L"");
    EXPECT_EQ(p.GetArchiveFile(), L"");
    EXPECT_EQ(p.GetSortOrder(), 0);
    EXPECT_EQ(p.GetControlHandle(), nullptr);
    EXPECT_FALSE(p.WholeArchiveSelected());
    EXPECT_FALSE(p.ShowsRecycleBin());

    TArchivDaten daten{123, 45, 6, L"alt"};
    p.GetArchivDaten(daten);
    EXPECT_EQ(daten.OrigGroesse, 0);
    EXPECT_EQ(daten.KompGroesse, 0);
    EXPECT_EQ(daten.Anzahl, 0);
    EXPECT_EQ(daten.Kommentar, L"");

    auto* folder = reinterpret_cast<IShellFolder*>(1);
    auto pidl = reinterpret_cast<PITEMID_CHILD>(1);
    SFGAOF attr = 7;
    p.GetSelectedShellItem(folder, pidl, attr);
    EXPECT_EQ(folder, nullptr);
    EXPECT_EQ(pidl, nullptr);
    EXPECT_EQ(attr, 0u);
}

TEST_F(PaneBase, ListOperationsLeaveTheCallersListAsItWas) {
    TDMChildForm& p = *pane;
    auto list = OneRecord();
    p.GetSelection(list);
    p.GetAllEntries(list);
    EXPECT_EQ(p.MarkDifferences(list), 0);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->Name, L"c:\\vorher.txt");
}
