// The function-key bar and the keys of the main window, with its real panes,
// real keys and real clicks on the bar.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "../foundation/TestFiles.h"
#include "filetools/LoeschDlg.h"
#include "mainwindow/MainForm.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"
#include "platform/gui/Application.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// A key pressed or released alone, so that a test can hold it.
void SendKey(WORD key, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
    Application->ProcessMessages();
}

class MainFormKeys : public test::MainWindowTest {
protected:
    THauptform& StartOnFolder() {
        m_folder.MakeFile(L"a.txt", 10);
        m_folder.MakeFile(L"b.doc", 20);
        THauptform& form = Start();
        form.SetBounds(20, 20, 900, 640);
        SetForegroundWindow(form.Handle());
        Application->ProcessMessages();
        form.ShowDirectory(form.LeftPane, m_folder.Path());
        form.ShowDirectory(form.RightPane, m_folder.Path());
        Application->ProcessMessages();
        return form;
    }
    static bool FocusIn(TDMChildForm* pane) {
        const HWND focus = GetFocus();
        return pane && focus && (focus == pane->Handle() || IsChild(pane->Handle(), focus));
    }
    // Focuses a pane's list as a user's click would.
    static void FocusList(TDMChildForm* pane) {
        pane->BringToFront();
        SetFocus(pane->GetControlHandle());
        Application->ProcessMessages();
    }
    static std::vector<std::wstring> Captions(THauptform& form) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < form.ButtonPanel.PanelCount(); ++i)
            texts.push_back(form.ButtonPanel.Panel(i).Text);
        return texts;
    }
    static POINT SectionPoint(THauptform& form, int section) {
        RECT r{};
        SendMessageW(form.ButtonPanel.Handle(), SB_GETRECT, static_cast<WPARAM>(section), reinterpret_cast<LPARAM>(&r));
        return ScreenPoint(form.ButtonPanel, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    test::TTempFolder m_folder{L"velmora tasten"};
};

const std::vector<std::wstring> kPlain = {L"F1 Hilfe",       L"F2 Verknüpfen", L"F3 Anzeigen", L"F4 Bearbeiten",
                                          L"F5 Kopieren",    L"F6 Verschieben", L"F7 Verz. erst.", L"F8 Löschen",
                                          L"F9 Umbenennen",  L"F10 Menü"};
const std::vector<std::wstring> kCtrl = {L"F1 Attr. setzen", L"F2 Dateiauswahl", L"F3 Name",      L"F4 Typ",
                                         L"F5 Datum",        L"F6 Größe",        L"F7 Unsortiert", L"F8 Nach Attr.",
                                         L"F9 Drucken",      L"F10 Verz. synch."};
const std::vector<std::wstring> kAlt = {L"F1 LW links",  L"F2 LW rechts",   L"F3 Teilen",    L"F4 Beenden",
                                        L"F5 Kompr.",    L"",               L"F7 Suchen",    L"F8 DOS-Befehl",
                                        L"F9 Dekompr.",  L"F10 Gehe zu"};

TEST_F(MainFormKeys, EverySectionOfEachCaptionSetRunsItsCommandAndThePlainSetReturns) {
    THauptform& form = StartOnFolder();
    EXPECT_EQ(Captions(form), kPlain) << "at the first showing";
    // Each command the bar can reach records its item instead of running.
    const std::vector<std::vector<const wchar_t*>> items = {
        {L"Hilfethemen1", L"DateiVerknuepfungerstellen", L"Schnellansicht", L"Bearbeiten", L"DateiKopieren",
         L"DateiVerschieben", L"DateiVerzeichnisErstellen", L"DateiLoeschen", L"DateiUmbenennen", nullptr},
        {L"AttributeSetzen1", L"Dateiauswahl", L"NachName", L"NachTyp", L"NachDatum", L"NachGroesse", L"Unsortiert",
         L"NachAttributen", L"DateiDrucken", L"Verzeichnissesynchronisieren1"},
        {L"LinkesLaufwerk1", L"RechtesLaufwerk1", L"Teilen", L"DateiBeenden", L"ZuArchivhinzufgen1", nullptr,
         L"DateiSuchen", L"DOSBefehlausfhren1", L"AusArchivextrahieren1", L"Gehezu1"}};
    // Items off for the moment (no quick viewer, the tree's sort) are put on: a
    // section runs what the item would.
    for (TMenuItem* item : {&form.Schnellansicht, &form.NachTyp, &form.NachAttributen})
        item->SetEnabled(true);
    std::vector<std::wstring> ran, expected;
    for (const auto& set : items)
        for (const wchar_t* name : set)
            if (name) {
                TMenuItem* item = form.MenuItem(name);
                ASSERT_NE(item, nullptr) << name;
                item->OnClick = [&ran, name](TObject*) { ran.push_back(name); };
                expected.push_back(name);
            }
    const std::vector<std::wstring>* captions[] = {&kPlain, &kCtrl, &kAlt};
    for (int set = 0; set < 3; ++set)
        for (int section = 0; section < 10; ++section) {
            if (set == 1)
                form.ShowModifierFKeyCaptions(VK_CONTROL);
            else if (set == 2)
                form.ShowModifierFKeyCaptions(VK_MENU);
            if (section == 0)
                EXPECT_EQ(Captions(form), *captions[set]);
            const size_t before = ran.size();
            MouseClick(SectionPoint(form, section));
            if (items[set][section])
                EXPECT_TRUE(WaitUntil([&] { return ran.size() > before; })) << set << " " << section;
            else if (set != 0)
                EXPECT_TRUE(WaitUntil([&] { return form.FKeySet == 0; })) << set << " " << section;
            EXPECT_EQ(Captions(form), kPlain) << set << " " << section;
        }
    // Plain F10 runs nothing either: nothing stands between the other records.
    EXPECT_EQ(ran, expected);
}

TEST_F(MainFormKeys, HoldingCtrlShowsItsCaptionsAndCtrlF5SortsByDateOnce) {
    THauptform& form = StartOnFolder();
    FocusList(form.RightPane);
    SendKey(VK_CONTROL, false);
    EXPECT_EQ(Captions(form), kCtrl);
    SendKey(VK_F5, false);
    SendKey(VK_F5, true);
    EXPECT_EQ(form.RightPane->GetSortOrder(), 5);
    SendKey(VK_CONTROL, true);
    EXPECT_TRUE(WaitUntil([&] { return Captions(form) == kPlain; }));
}

// The sort items' shortcuts were taken on the press and the pane sorted again on
// the release: the two orders undid each other, and Ctrl+F6 switched panes.
TEST_F(MainFormKeys, CtrlF4AndCtrlF6InAPaneSortItOnceAndTheFocusStays) {
    THauptform& form = StartOnFolder();
    // The right pane is the file list, the left the tree.
    TDMChildForm* right = form.RightPane;
    TDMChildForm* left = form.LeftPane;
    const std::uint8_t leftOrder = left->GetSortOrder();
    FocusList(right);
    PressKey(VK_F4, ssCtrl);
    Application->ProcessMessages();
    EXPECT_EQ(right->GetSortOrder(), 6);
    PressKey(VK_F6, ssCtrl);
    Application->ProcessMessages();
    EXPECT_EQ(right->GetSortOrder(), 2);
    EXPECT_EQ(left->GetSortOrder(), leftOrder) << "the other pane was sorted";
    EXPECT_TRUE(FocusIn(right));
    EXPECT_EQ(form.ActiveMDIChild(), right);
    EXPECT_EQ(form.LeftPane, left);
    EXPECT_EQ(form.RightPane, right);
    EXPECT_TRUE(left->Visible() && right->Visible());
    EXPECT_EQ(Captions(form), kPlain);
}

TEST_F(MainFormKeys, WithTheCommandLineFocusedTheSortShortcutSortsTheActivePaneOnce) {
    THauptform& form = StartOnFolder();
    FocusList(form.RightPane);
    form.DOSBefehlszeile.SetFocus();
    Application->ProcessMessages();
    PressKey(VK_F4, ssCtrl);
    Application->ProcessMessages();
    EXPECT_EQ(form.RightPane->GetSortOrder(), 6);
}

TEST_F(MainFormKeys, TabAndShiftTabMoveToTheOtherPane) {
    THauptform& form = StartOnFolder();
    FocusList(form.LeftPane);
    PressKey(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(form.RightPane); }));
    PressKey(VK_TAB, ssShift);
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(form.LeftPane); }));
}

// The bar's arrow keys browse the drives without moving the pane.
TEST_F(MainFormKeys, EscapePutsABrowsedDriveBarBackOnItsPanesDriveAndReturnsToThePane) {
    THauptform& form = StartOnFolder();
    FocusList(form.RightPane);
    const std::wstring shown = form.LeftPane->GetDirectory();
    ASSERT_GE(shown.size(), 2u);
    form.LWAuswahl.SetFocus();
    Application->ProcessMessages();
    PressKey(VK_DOWN);
    ASSERT_NE(std::towupper(form.LWAuswahl.Drive()), std::towupper(shown[0]));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(std::towupper(form.LWAuswahl.Drive()), std::towupper(shown[0]));
    EXPECT_EQ(form.LeftPane->GetDirectory(), shown);
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(form.RightPane); }));
}

// The window with every key its panes hand on recorded.
class TPaneKeyLog : public THauptform {
public:
    using THauptform::THauptform;
    std::vector<WORD> Keys;
    void PaneKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) override {
        Keys.push_back(Key);
        THauptform::PaneKeyDown(Sender, Key, Shift);
    }
    void PaneKeyUp(TObject* Sender, WORD& Key, TShiftState Shift) override {
        Keys.push_back(Key);
        THauptform::PaneKeyUp(Sender, Key, Shift);
    }
};

// The line's keys arrive in the edit window inside the box.
TEST_F(MainFormKeys, EscapeEmptiesTheCommandLineAndNoPaneSeesIt) {
    auto& form = static_cast<TPaneKeyLog&>(Make<TPaneKeyLog>());
    StartOnFolder();
    FocusList(form.RightPane);
    const wchar_t drive = form.LWAuswahl2.Drive();
    form.DOSBefehlszeile.SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(form.CommandLineFocused);
    form.DOSBefehlszeile.SetText(L"dir");
    form.Keys.clear();
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return FocusIn(form.RightPane); }));
    EXPECT_EQ(form.DOSBefehlszeile.Text(), L"");
    EXPECT_EQ(form.LWAuswahl2.Drive(), drive);
    EXPECT_EQ(std::count(form.Keys.begin(), form.Keys.end(), VK_ESCAPE), 0);
}

// Del in the tree deletes its own selection, not the folder its pop-up was last
// opened on: the pane is the command's sender, no pop-up item.
TEST_F(MainFormKeys, DelInTheTreeDeletesItsSelectionNotThePopUpsFolder) {
    THauptform& form = StartOnFolder();
    form.Settings->Best.AuswahlDlgVorLoeschen = true;
    form.ContextFolder = L"c:\\windows\\";
    FocusList(form.LeftPane);
    std::vector<std::wstring> names;
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TLoeschDlg&>(f);
        for (const auto& record : *dlg.Dateiliste())
            names.push_back(SystemLower(record->Name));
        dlg.CancelBtn.Click();
    });
    PressKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return script.FormsSeen() == 1 && script.StepsLeft() == 0; }));
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(names, std::vector<std::wstring>{SystemLower(ExcludeTrailingBackslash(m_folder.Path()))});
    EXPECT_TRUE(DirectoryExists(m_folder.Path()));
}

TEST_F(MainFormKeys, TheSortItemsAskForTheirOrders) {
    THauptform& form = StartOnFolder();
    FocusList(form.RightPane);
    const std::pair<TMenuItem*, int> items[] = {
        {&form.NachName, 0},   {&form.NachGroesse1, 2}, {&form.NachDatum, 5},
        {&form.NachTyp1, 6},   {&form.NachAttributen, 8}, {&form.Unsortiert1, 10}};
    for (auto [item, request] : items) {
        // A request again would reverse the order: start each from another one.
        form.RightPane->SetSortOrder(request == 0 ? 10 : 0);
        item->Click();
        EXPECT_EQ(form.RightPane->GetSortOrder(), request) << request;
    }
}

}  // namespace
