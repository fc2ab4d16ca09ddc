// The main window with its real panes as a user meets it: the mouse and keys go
// through the input queue to the window under the cursor, menus really open.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "../foundation/TestFiles.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

class MainWindowInput : public test::MainWindowTest {
protected:
    // The window in a known place, the right pane on the scratch folder.
    THauptform& StartOnFolder() {
        m_folder.MakeFile(L"datei.txt", 10);
        THauptform& form = Start();
        form.SetBounds(20, 20, 900, 640);
        SetForegroundWindow(form.Handle());
        Application->ProcessMessages();
        form.ShowDirectory(form.RightPane, m_folder.Path());
        Application->ProcessMessages();
        return form;
    }
    // The screen point in the middle of the list row of the right pane that shows File.
    POINT RowPoint(THauptform& form, const std::wstring& file) {
        const HWND list = form.RightPane->GetControlHandle();
        const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[MAX_PATH]{};
            LVITEMW item{};
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            if (_wcsicmp(text, file.c_str()) != 0)
                continue;
            RECT row{};
            row.left = LVIR_LABEL;
            SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&row));
            POINT p{row.left + 8, (row.top + row.bottom) / 2};
            ClientToScreen(list, &p);
            return p;
        }
        ADD_FAILURE() << "no row for the file";
        return {};
    }
    static bool FocusIn(TDMChildForm* pane) {
        const HWND focus = GetFocus();
        return pane && focus && (focus == pane->Handle() || IsChild(pane->Handle(), focus));
    }

    test::TTempFolder m_folder{L"velmora eingabe"};
};

TEST_F(MainWindowInput, AtStartTheKeysGoToTheActivePane) {
    THauptform& form = Start();
    SetForegroundWindow(form.Handle());
    Application->ProcessMessages();
    EXPECT_TRUE(FocusIn(form.ActivePane())) << "not in the drive box";
}

TEST_F(MainWindowInput, ADialogGivesTheFocusBackToTheListThatHadIt) {
    THauptform& form = StartOnFolder();
    MouseClick(RowPoint(form, L"datei.txt"));
    ASSERT_TRUE(FocusIn(form.RightPane));
    TModalScript script;
    script.Step([](TForm& dialog) { dialog.Close(); });
    PressKey(VK_F5);
    EXPECT_EQ(script.FormsSeen(), 1);
    Application->ProcessMessages();
    EXPECT_TRUE(FocusIn(form.RightPane));
}

TEST_F(MainWindowInput, ARightClickOnARowOpensThePaneMenuWhoseChoiceRuns) {
    THauptform& form = StartOnFolder();
    std::vector<std::wstring> shown;
    TMenuLoopWatch menu([&](HWND window, HMENU items) {
        shown = TMenuLoopWatch::ItemTexts(items);
        TMenuLoopWatch::ClickItem(window, items, L"Kopieren...");
    });
    TModalScript script;
    script.Step([](TForm& dialog) { dialog.Close(); });
    MouseClick(RowPoint(form, L"datei.txt"), TMouseButton::mbRight);
    ASSERT_TRUE(menu.Ran()) << "no menu window opened";
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[0], L"Neu");
    EXPECT_EQ(shown[1], L"");
    EXPECT_EQ(shown[2], L"Kopieren...");
    EXPECT_EQ(shown[3], L"Verschieben...");
    EXPECT_TRUE(WaitUntil([&] { return script.FormsSeen() == 1; }, 3000)) << "the copy dialog did not open";
}

TEST_F(MainWindowInput, EscapeClosesThePaneMenuAndTheWindowStaysActive) {
    THauptform& form = StartOnFolder();
    TMenuLoopWatch menu([](HWND, HMENU) { PostKey(VK_ESCAPE); });
    MouseClick(RowPoint(form, L"datei.txt"), TMouseButton::mbRight);
    EXPECT_TRUE(menu.Ran());
    Application->ProcessMessages();
    EXPECT_EQ(GetActiveWindow(), form.Handle());
}

TEST_F(MainWindowInput, CtrlF1OpensTheAttributeDialogAndNoHelp) {
    THauptform& form = StartOnFolder();
    MouseClick(RowPoint(form, L"datei.txt"));
    TModalScript script;
    script.Step([](TForm& dialog) { dialog.Close(); });
    PressKey(VK_F1, ssCtrl);
    Application->ProcessMessages();
    EXPECT_EQ(script.FormsSeen(), 1);
    EXPECT_TRUE(m_help.Calls().empty());
}

TEST_F(MainWindowInput, TheBasketItemsAreOffWhileTheBasketIsEmpty) {
    THauptform& form = Start();
    SetForegroundWindow(form.Handle());
    Application->ProcessMessages();
    UINT state = 0;
    TMenuLoopWatch menu([&](HWND, HMENU items) {
        state = GetMenuState(items, form.Sammelkorbleeren1.Command(), MF_BYCOMMAND);
        EndMenu();
    });
    PressKey('E', ssAlt);
    ASSERT_TRUE(menu.Ran()) << "Alt+E opened no menu";
    EXPECT_TRUE(state & MF_GRAYED);
}

TEST_F(MainWindowInput, TheDriveBoxStartsOnThePanesDrive) {
    THauptform& form = Make();
    form.TakeCommandLine(L"Z:\\");
    Start();
    EXPECT_EQ(std::towlower(form.LWAuswahl.Drive()), L'z');
    EXPECT_EQ(_wcsicmp(form.LWAuswahlMonitor.Directory().c_str(), L"z:\\"), 0) << "the monitor watches C:";
}

TEST_F(MainWindowInput, BackInThePlainListTheFocusedRowIsInSight) {
    for (int i = 0; i < 150; ++i)
        m_folder.MakeFile(L"eine recht lange datei " + std::to_wstring(i) + L".txt");
    THauptform& form = StartOnFolder();
    form.SetBounds(20, 20, 560, 480);
    form.ShowPaneKind(1, ftAusfDateiliste);
    Application->ProcessMessages();
    const HWND list = form.RightPane->GetControlHandle();
    MouseClick(RowPoint(form, L"datei.txt"));
    // The user scrolls the detailed view to its last column.
    for (int i = 0; i < 10; ++i)
        SendMessageW(list, WM_HSCROLL, SB_PAGERIGHT, 0);
    ASSERT_GT(GetScrollPos(list, SB_HORZ), 0) << "the detailed view is not wider than the pane";
    form.ShowPaneKind(1, ftDateiliste);
    Application->ProcessMessages();
    const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    ASSERT_GE(focused, 0);
    RECT row{}, client{}, both{};
    row.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row));
    GetClientRect(list, &client);
    EXPECT_TRUE(IntersectRect(&both, &row, &client)) << "the focused row is out of sight";
}

}  // namespace
