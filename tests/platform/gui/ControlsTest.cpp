#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListBox.h"
#include "platform/gui/ListView.h"
#include "platform/gui/OpenDialog.h"
#include "platform/gui/UpDown.h"
#include "platform/gui/Edits.h"
#include "platform/gui/PageControl.h"
#include "platform/gui/Panel.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/Testing.h"
#include "platform/gui/TreeView.h"

using namespace velmora::gui;

namespace {

struct ShownForm : ::testing::Test {
    TForm form{nullptr};
    void SetUp() override {
        form.SetClientSize(400, 300);
        form.Show();
    }
};

using Controls = ShownForm;

TEST_F(Controls, AlignedPanelsShareTheClientAreaInOrder) {
    TPanel top(&form), bottom(&form), client(&form), left(&form);
    top.SetHeight(30);
    top.SetAlign(TAlign::alTop);
    bottom.SetHeight(20);
    bottom.SetAlign(TAlign::alBottom);
    left.SetWidth(50);
    left.SetAlign(TAlign::alLeft);
    client.SetAlign(TAlign::alClient);
    EXPECT_EQ(top.BoundsRect().bottom, 30);
    EXPECT_EQ(bottom.Top(), 280);
    EXPECT_EQ(left.Top(), 30);
    EXPECT_EQ(left.Height(), 250);
    EXPECT_EQ(client.Left(), 50);
    EXPECT_EQ(client.Width(), 350);
    form.SetClientSize(500, 300);
    EXPECT_EQ(client.Width(), 450);
}

TEST_F(Controls, AControlMadeInAShownFormGetsItsWindow) {
    auto* later = new TButton(&form);
    EXPECT_FALSE(later->HandleAllocated());
    Application->ProcessMessages();
    ASSERT_TRUE(later->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(later->Handle()));
    auto* now = Create<TButton>(&form);  // after its construction hook
    EXPECT_TRUE(now->HandleAllocated());
    auto* freed = new TButton(&form);
    freed->Free();  // before its turn came: nothing is left pending
    Application->ProcessMessages();
}

TEST_F(Controls, AClickOnAWindowlessLabelReachesItThroughItsParent) {
    TLabel label(&form);
    label.SetCaption(L"Klick mich");
    label.SetBounds(10, 10, 80, 16);
    int clicks = 0;
    label.OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, &label);
        ++clicks;
    };
    SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    // Released outside: no click.
    SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    SendMessageW(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(clicks, 1);
}

TEST_F(Controls, CheckBoxesCycleThroughGreyOnlyWhenAllowed) {
    TCheckBox box(&form);
    int clicks = 0;
    box.OnClick = [&](TObject*) { ++clicks; };
    box.SetChecked(true);  // a set state fires OnClick, as the class library does
    EXPECT_EQ(clicks, 1);
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box.State(), TCheckBoxState::cbUnchecked);
    box.AllowGrayed = true;
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(box.State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

TEST_F(Controls, AComboBoxKeepsItsItemsWhenItsStyleSwitches) {
    TComboBox combo(&form);
    combo.AddItem(L"c:\\alpha");
    combo.AddItem(L"c:\\beta");
    combo.SetText(L"c:\\getippt");
    combo.HandleNeeded();
    EXPECT_EQ(combo.Text(), L"c:\\getippt");
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.Text(), L"c:\\beta");
    combo.SetStyle(TComboBoxStyle::csDropDown);
    EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), L"c:\\beta");
}

TEST_F(Controls, TheDriveComboBoxListsDriveC) {
    TDriveComboBox drives(&form);
    ASSERT_GT(drives.Items().Count(), 0);
    EXPECT_EQ(drives.Drive(), L'c');
    EXPECT_EQ(drives.Text().substr(0, 2), L"c:");
    // A box made with another lists its drives and starts on drive c: too.
    TDriveComboBox second(&form, drives);
    EXPECT_EQ(second.Items().Items(), drives.Items().Items());
    EXPECT_EQ(second.Drive(), L'c');
    EXPECT_EQ(second.Text(), drives.Text());
}

TEST_F(Controls, ARadioGroupKeepsOneIndexAndReportsClicks) {
    TRadioGroup group(&form);
    group.SetBounds(10, 10, 200, 90);
    group.SetItems({L"Kopieren", L"Verschieben", L"Verknüpfen"});
    int clicks = 0;
    group.OnClick = [&](TObject*) { ++clicks; };
    group.SetItemIndex(1);
    EXPECT_EQ(clicks, 1);
    SendMessageW(group.Buttons(2)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group.ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(group.Buttons(1)->Checked());
}

TEST_F(Controls, StatusBarPanelsAndSimpleText) {
    TStatusBar bar(&form);
    bar.SetPanels({{L"3 Dateien", 120}, {L"", 80}});
    bar.SetPanelText(1, L"1,5 MB");
    wchar_t text[64] = {};
    SendMessageW(bar.Handle(), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"1,5 MB");
    EXPECT_EQ(bar.Top(), form.ClientHeight() - bar.Height());
    bar.SetSimplePanel(true);
    bar.SetSimpleText(L"Archiv wird gelesen");
    EXPECT_TRUE(SendMessageW(bar.Handle(), SB_ISSIMPLE, 0, 0));
    TProgressBar progress(&bar);  // placed on the status bar
    progress.SetBounds(2, 2, 100, 14);
    EXPECT_EQ(GetParent(progress.Handle()), bar.Handle());
    progress.SetMax(10);
    progress.Step = 4;
    progress.StepIt();
    progress.StepIt();
    progress.StepIt();
    EXPECT_EQ(progress.Position(), 2);
}

TEST_F(Controls, PageControlShowsThePageOfAControl) {
    TPageControl pages(&form);
    pages.SetBounds(0, 0, 300, 200);
    TTabSheet first(&form), second(&form);
    first.SetCaption(L"Allgemein");
    second.SetCaption(L"Erweitert");
    first.SetPageControl(&pages);
    second.SetPageControl(&pages);
    TCheckBox inner(&second);
    EXPECT_EQ(pages.ActivePage(), &first);
    pages.ShowPageOf(&inner);
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(second.Handle()));
    EXPECT_FALSE(IsWindowVisible(first.Handle()));
    EXPECT_EQ(SendMessageW(pages.Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(Controls, ListViewItemsSortAndSurviveAStyleSwitch) {
    TListView list(&form);
    list.SetViewStyle(TViewStyle::vsReport);
    list.AddColumn({L"Name", 120});
    list.AddColumn({L"Größe", 60, TAlignment::taRightJustify});
    for (auto [name, size] : {std::pair{L"b.txt", L"2"}, {L"c.txt", L"1"}, {L"a.txt", L"3"}}) {
        TListItem* item = list.Add();
        item->SetCaption(name);
        item->AddSubItem(size);
    }
    list.CustomSort([](TListItem* a, TListItem* b) { return a->Caption().compare(b->Caption()); });
    wchar_t text[32] = {};
    LVITEMW lv{};
    lv.pszText = text;
    lv.cchTextMax = 32;
    SendMessageW(list.Handle(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&lv));
    EXPECT_STREQ(text, L"a.txt");
    EXPECT_EQ(list.Items(0)->Caption(), L"a.txt");
    list.Items(2)->SetSelected(true);
    EXPECT_EQ(list.Selected()->Caption(), L"c.txt");
    list.SetViewStyle(TViewStyle::vsList);
    EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(list.ColumnWidth(0), 120);
}

TEST_F(Controls, TreeViewExpandingCanBeRefused) {
    TTreeView tree(&form);
    tree.SetBounds(0, 0, 200, 200);
    TTreeNode* root = tree.AddChild(nullptr, L"c:\\");
    TTreeNode* child = tree.AddChild(root, L"windows");
    child->SetHasChildren(true);
    bool allow = false;
    // Filled when first opened, as the folder tree fills its folders.
    tree.OnExpanding = [&](TObject*, TTreeNode* node, bool& ok) {
        if (node != child) return;
        ok = allow;
        if (ok && node->Count() == 0) tree.AddChild(node, L"system");
    };
    root->Expand();
    child->Expand();
    EXPECT_FALSE(child->Expanded());
    allow = true;
    child->Expand();
    EXPECT_TRUE(child->Expanded());
    tree.SetSelected(child);
    EXPECT_EQ(tree.Selected(), child);
    std::vector<std::wstring> deleted;
    tree.OnDeletion = [&](TObject*, TTreeNode* node) { deleted.push_back(node->Text()); };
    tree.Delete(root);
    EXPECT_EQ(deleted, (std::vector<std::wstring>{L"system", L"windows", L"c:\\"}));
    EXPECT_EQ(tree.TopCount(), 0);
}

// A form whose tree reports deletions into a member declared after it (so gone
// before the tree is).
class TTreeForm : public TForm {
public:
    explicit TTreeForm(TComponent* owner, int* calls) : TForm(owner), Tree(this), m_calls(calls) {
        Tree.SetParent(this);
        Tree.OnDeletion = bind(this, &TTreeForm::TreeDeletion);
        Tree.AddChild(Tree.AddChild(nullptr, L"c:\\"), L"windows");
    }
    void TreeDeletion(TObject*, TTreeNode* node) {
        ++*m_calls;
        Deleted.push_back(node->Text());
    }
    TTreeView Tree;
    std::vector<std::wstring> Deleted;

private:
    int* m_calls;
};

TEST(ControlsDestruction, FreeingAFormFiresNoEventsIntoItFromItsControls) {
    int calls = 0;
    auto* form = Create<TTreeForm>(nullptr, &calls);
    form->Show();
    form->Tree.Handle();
    form->Free();
    EXPECT_EQ(calls, 0);
    calls = 0;
    {
        TTreeForm stacked(nullptr, &calls);
        stacked.Tree.Handle();
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(Controls, AnUpDownStepsTheNumberInItsEdit) {
    TEdit edit(&form);
    edit.SetBounds(10, 10, 60, 21);
    TUpDown spin(&form);
    spin.SetMin(0);
    spin.SetMax(30);
    spin.SetPosition(29);
    spin.SetAssociate(&edit);
    EXPECT_EQ(edit.Text(), L"29");
    std::vector<TUDBtnType> clicks;
    spin.OnClick = [&](TObject*, TUDBtnType b) { clicks.push_back(b); };
    auto press = [&](bool up) {
        RECT r;
        GetClientRect(spin.Handle(), &r);
        LPARAM at = MAKELPARAM(r.right / 2, up ? 2 : r.bottom - 3);
        SendMessageW(spin.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(spin.Handle(), WM_LBUTTONUP, 0, at);
    };
    for (int i = 0; i < 3; ++i) press(true);
    EXPECT_EQ(spin.Position(), 30);  // stops at the top
    EXPECT_EQ(edit.Text(), L"30");
    press(false);
    EXPECT_EQ(spin.Position(), 29);
    EXPECT_EQ(edit.Text(), L"29");
    ASSERT_FALSE(clicks.empty());
    EXPECT_EQ(clicks.back(), TUDBtnType::btPrev);
}

TEST_F(Controls, AMultiSelectListBoxReportsItsSelection) {
    TListBox list(&form);
    list.MultiSelect = true;
    list.SetItems({L"*.txt", L"*.doc", L"*.zip"});
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(1));
    list.DeleteItem(0);
    EXPECT_EQ(list.Items().Count(), 2);
    EXPECT_EQ(list.SelCount(), 1);
}

TEST(OpenDialog, TheFilterBecomesTheSystemsDoubleNulList) {
    EXPECT_EQ(FilterToSystem(L"Alle Dateien (*.*)|*.*|Anwendungen|*.exe"),
              std::wstring(L"Alle Dateien (*.*)\0*.*\0Anwendungen\0*.exe\0\0", 42));
}

}  // namespace
