// The main window with logging panes: pane replacement, the drive bars, the
// layout and splitter, showing folders with their fallback, Backspace, the
// virtual folders and the keys that must not touch the panes.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/ProgrammFlags.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::test::Log;
using velmora::test::TLogPane;
using velmora::test::TPaneLog;

namespace {

const wchar_t kFolderMissing[] =
    L"Das ausgewählte Verzeichnis konnte nicht angezeigt werden. Stellen Sie sicher, daß sich ein Datenträger im "
    L"Laufwerk befindet.";

// A folder tree under the temporary folder, removed again afterwards.
struct TFolders {
    explicit TFolders(const std::wstring& name)
        : Root(TempDirectory() + name + std::to_wstring(GetCurrentProcessId()) + L"\\") {}
    std::wstring Make(const std::wstring& sub) {
        const std::wstring path = Root + sub;
        ForceDirectories(path);
        m_made.push_back(path);
        return path;
    }
    ~TFolders() {
        std::sort(m_made.begin(), m_made.end(), [](auto& a, auto& b) { return a.size() > b.size(); });
        for (const std::wstring& path : m_made)
            for (std::wstring p = path; p.size() > Root.size(); p = p.substr(0, p.find_last_of(L'\\')))
                RemoveDirectoryW(p.c_str());
        RemoveDirectoryW(Root.c_str());
    }
    std::wstring Root;

private:
    std::vector<std::wstring> m_made;
};

class PanesTest : public test::MainWindowTest {
protected:
    // Starts with "Fenster" as given (missing: a tree left and a file list right).
    THauptform& StartPanes(const std::wstring& fenster = L"") {
        if (!fenster.empty())
            RegWriteUserValue(MainformSchluessel, L"Fenster", fenster);
        THauptform& form = Make();
        test::UseLogPanes(form, m_log);
        Start();
        m_log.Lines.clear();
        return form;
    }
    // The log lines of one pane, without its number.
    std::vector<std::wstring> LinesOf(TDMChildForm* pane) const {
        const std::wstring lead = L"#" + std::to_wstring(Log(pane).Number) + L" ";
        std::vector<std::wstring> lines;
        for (const std::wstring& l : m_log.Lines)
            if (l.starts_with(lead))
                lines.push_back(l.substr(lead.size()));
        return lines;
    }
    int Index(const std::wstring& line) const {
        auto it = std::find(m_log.Lines.begin(), m_log.Lines.end(), line);
        return it == m_log.Lines.end() ? -1 : static_cast<int>(it - m_log.Lines.begin());
    }
    static std::wstring Number(TDMChildForm* pane) { return L"#" + std::to_wstring(Log(pane).Number) + L" "; }

    TPaneLog m_log;
};

}  // namespace

TEST_F(PanesTest, TheFirstShowingMakesATreeAndAListAndRestoresTheirSorts) {
    RegWriteUserValue(MainformSchluessel, L"LSM", L"6");
    RegWriteUserValue(MainformSchluessel, L"RSM", L"1");
    THauptform& form = Make();
    test::UseLogPanes(form, m_log);
    Start();
    ASSERT_NE(form.LeftPane, nullptr);
    ASSERT_NE(form.RightPane, nullptr);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftDateiliste);
    EXPECT_EQ(form.ListKind, ftDateiliste);
    EXPECT_EQ(form.ActiveMDIChild(), form.LeftPane);
    EXPECT_EQ(LinesOf(form.LeftPane).back(), L"SetSortOrder 5");
    EXPECT_EQ(LinesOf(form.RightPane).back(), L"SetSortOrder 0");
    EXPECT_TRUE(m_log.Contains(L"#1 SetSortOrder 10"));
    // The first pane has no partner: it shows the process's current folder.
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_TRUE(m_log.Contains(L"#1 SetDirectory " + IncludeTrailingBackslash(current)));
    EXPECT_FALSE(form.LWPanel2.Visible());
    EXPECT_TRUE(m_boxes.Calls().empty());

    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"Fenster"), L"12");
    EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"LSM"), L"6");
    EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"RSM"), L"1");
    EXPECT_EQ(form.LeftPane, nullptr);
    EXPECT_EQ(form.RightPane, nullptr);
    EXPECT_TRUE(m_log.Contains(L"#1 CleanUp") && m_log.Contains(L"#2 Free"));
}

TEST_F(PanesTest, FileListsAndListPanesChangeKindInPlaceEveryOtherChangeReplacesThePaneFirst) {
    THauptform& form = StartPanes();
    TDMChildForm* right = form.RightPane;
    form.ShowPaneKind(1, ftAusfDateiliste);
    EXPECT_EQ(form.RightPane, right);
    EXPECT_EQ(LinesOf(right).front(), L"SetPaneKind 2");
    EXPECT_FALSE(m_log.Contains(Number(right) + L"Close"));

    const std::wstring old = Number(right);
    form.ShowPaneKind(1, ftSuchergebnis);
    TDMChildForm* search = form.RightPane;
    ASSERT_NE(Number(search), old);
    // The old pane is closed, cleaned up and freed before the new one is made.
    const int close = Index(old + L"Close"), cleanUp = Index(old + L"CleanUp"), freed = Index(old + L"Free"),
              made = Index(Number(search) + L"Made 3");
    EXPECT_TRUE(close >= 0 && close < cleanUp && cleanUp < freed && freed < made) << close << cleanUp << freed << made;

    form.ShowPaneKind(1, ftSammelkorb);
    EXPECT_EQ(form.RightPane, search);
    EXPECT_EQ(search->GetPaneKind(), ftSammelkorb);
    // Showing the basket again refreshes it: the pane gets its options again.
    const int options = m_log.Count(Number(search) + L"ApplyOptions");
    form.ShowPaneKind(1, ftSammelkorb);
    EXPECT_EQ(form.RightPane, search);
    EXPECT_EQ(m_log.Count(Number(search) + L"ApplyOptions"), options + 1);

    const std::wstring basket = Number(search);
    form.ShowPaneKind(1, ftZip);
    const std::wstring zip = Number(form.RightPane);
    EXPECT_NE(zip, basket);
    form.ShowPaneKind(1, ftArj);
    EXPECT_NE(Number(form.RightPane), zip);
    form.ShowPaneKind(0, ftDateiliste);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftDateiliste);
    EXPECT_EQ(form.MDIChildCount(), 2) << "each side has exactly one pane";
}

TEST_F(PanesTest, TwoDriveBarsStandExactlyOverTwoTreesOrTwoFileLists) {
    THauptform& form = StartPanes();
    const int oneBar = form.Symbolleiste.Height();
    EXPECT_FALSE(form.LWPanel2.Visible());
    form.ShowPaneKind(0, ftDateiliste);
    EXPECT_TRUE(form.LWPanel2.Visible());
    EXPECT_EQ(form.Symbolleiste.Height(), oneBar + form.LWPanel2.Height());
    EXPECT_LT(form.LWPanel.Top(), form.LWPanel2.Top()) << "the left drive's bar stands above";
    EXPECT_EQ(form.LWAuswahl.Hint,
              L"Linkes Laufwerk|Wählen Sie hier das Laufwerk, das im linken Fenster angezeigt werden soll.");
    EXPECT_TRUE(form.LWAuswahlMonitor2.Active());
    EXPECT_EQ(form.SizePanel.Top(), form.Symbolleiste.Height());
    EXPECT_EQ(form.LeftPane->Height(), form.SizePanel.Height());

    form.ShowPaneKind(1, ftVerzeichnisbaum);
    EXPECT_FALSE(form.LWPanel2.Visible());
    EXPECT_EQ(form.Symbolleiste.Height(), oneBar);
    EXPECT_EQ(form.LWAuswahl.Hint,
              L"Laufwerk|Wählen Sie hier das Laufwerk, das in beiden Fenstern angezeigt werden soll.");
    EXPECT_FALSE(form.LWAuswahlMonitor2.Active());
    form.ShowPaneKind(0, ftVerzeichnisbaum);
    EXPECT_TRUE(form.LWPanel2.Visible());
    form.ShowPaneKind(1, ftSammelkorb);
    EXPECT_FALSE(form.LWPanel2.Visible());
    form.ShowPaneKind(1, ftAusfDateiliste);
    EXPECT_FALSE(form.LWPanel2.Visible());
    form.ShowPaneKind(0, ftDateiliste);
    EXPECT_TRUE(form.LWPanel2.Visible());
    EXPECT_EQ(form.SizePanel.Top(), form.Symbolleiste.Height());
}

TEST_F(PanesTest, ATreeOnTheLeftOfTwoListsHidesTheSecondBarWhoseDriveTheFirstBarTakes) {
    THauptform& form = StartPanes(L"23");
    ASSERT_TRUE(form.LWPanel2.Visible());
    // A drive that exists only in the boxes' lists: nothing is watched there.
    for (TDriveComboBox* box : {&form.LWAuswahl, &form.LWAuswahl2})
        box->SetItems(TStringList{L"c:", L"y:"});
    const wchar_t leftDrive = form.LWAuswahl.Drive();
    form.SelectDrive(1, L'Y');
    EXPECT_EQ(form.LWAuswahl2.Drive(), L'y');
    EXPECT_EQ(form.LWAuswahl.Drive(), leftDrive) << "the first bar keeps its drive";
    EXPECT_EQ(form.LWAuswahlMonitor2.Directory(), L"y:\\");
    // A list that only changes its kind keeps both bars' drives.
    form.ShowPaneKind(1, ftDateiliste);
    form.ShowPaneKind(1, ftAusfDateiliste);
    EXPECT_EQ(form.LWAuswahl2.Drive(), L'y');
    form.RightPane->SetDirectory(L"y:\\daten\\");
    m_log.Lines.clear();
    form.ShowPaneKind(0, ftVerzeichnisbaum);
    EXPECT_FALSE(form.LWPanel2.Visible());
    EXPECT_EQ(form.LWAuswahl.Drive(), L'y');
    EXPECT_EQ(form.LWAuswahlMonitor.Directory(), L"y:\\");
    EXPECT_EQ(Log(form.RightPane).Directory, L"y:\\daten\\") << "the right pane keeps its folder";
    EXPECT_EQ(form.ListKind, ftAusfDateiliste);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(PanesTest, PanesAndSplitterFillTheRoomBetweenTheBars) {
    RegWriteUserValue(MainformSchluessel, L"Pos", L"100,80,700,500");
    RegWriteUserValue(MainformSchluessel, L"BreiteLinkesFenster", L"300");
    THauptform& form = StartPanes();
    int used = form.Symbolleiste.Height();
    for (TControl* bar : {static_cast<TControl*>(&form.HauptStatusZeile), static_cast<TControl*>(&form.ButtonPanel),
                          static_cast<TControl*>(&form.DOSZeilenPanel)})
        if (bar->Visible())
            used += bar->Height();
    const int height = form.ClientHeight() - used;
    const RECT left = form.LeftPane->BoundsRect(), right = form.RightPane->BoundsRect();
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.top, 0);
    EXPECT_EQ(left.right, 300);
    EXPECT_EQ(left.bottom, height);
    EXPECT_EQ(form.SizePanel.Left(), 300);
    EXPECT_EQ(form.SizePanel.Top(), form.Symbolleiste.Height());
    EXPECT_EQ(form.SizePanel.Height(), height);
    EXPECT_EQ(right.left, 304);
    EXPECT_EQ(right.top, 0);
    EXPECT_EQ(right.right, form.ClientWidth());
    EXPECT_EQ(right.bottom, height);
}

TEST_F(PanesTest, TheSplitterStopsAtSixPixelsAndTenPixelsBeforeTheRightEdge) {
    RegWriteUserValue(MainformSchluessel, L"BreiteLinkesFenster", L"200");
    THauptform& form = StartPanes();
    form.SetBounds(40, 40, 800, 600);
    Application->ProcessMessages();
    const POINT grip = ScreenPoint(form.SizePanel, 2, 40);
    MouseDown(grip);
    EXPECT_EQ(GetCapture(), form.SizePanel.Handle()) << "the drag holds the mouse";
    EXPECT_TRUE(m_log.Contains(L"#1 BeginUpdate") && m_log.Contains(L"#2 BeginUpdate"));
    MouseMoveTo({grip.x - 150, grip.y});
    EXPECT_EQ(form.LeftPane->Width(), 50);
    MouseMoveTo({grip.x - 245, grip.y});
    EXPECT_EQ(form.LeftPane->Width(), 6) << "dragged past the left edge";
    EXPECT_EQ(form.SizePanel.Left(), 6);
    EXPECT_EQ(form.RightPane->Left(), 10);
    EXPECT_EQ(form.RightPane->Width(), form.ClientWidth() - 10);
    EXPECT_EQ(form.LeftPaneWidth, 200) << "kept until the button is released";
    const POINT beyond = ScreenPoint(form, form.ClientWidth() + 30, 40);
    MouseMoveTo(beyond);
    EXPECT_EQ(form.LeftPane->Width(), form.ClientWidth() - 10) << "dragged past the right edge";
    EXPECT_EQ(form.RightPane->Left(), form.ClientWidth() - 6);
    EXPECT_EQ(form.RightPane->Width(), 6);
    MouseUp(beyond);  // outside the splitter and the window
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(m_log.Contains(L"#1 EndUpdate") && m_log.Contains(L"#2 EndUpdate"));
    EXPECT_EQ(form.LeftPaneWidth, form.ClientWidth() - 10);
    MouseMoveTo(ScreenPoint(form.SizePanel, 2, 60));
    MouseMoveTo({grip.x - 100, grip.y});
    EXPECT_EQ(form.LeftPane->Width(), form.ClientWidth() - 10) << "no drag without the button";
}

TEST_F(PanesTest, ALostMouseEndsTheSplitterDrag) {
    RegWriteUserValue(MainformSchluessel, L"BreiteLinkesFenster", L"200");
    THauptform& form = StartPanes();
    form.SetBounds(40, 40, 800, 600);
    Application->ProcessMessages();
    const POINT grip = ScreenPoint(form.SizePanel, 2, 40);
    MouseDown(grip);
    MouseMoveTo({grip.x + 100, grip.y});
    SendMessageW(form.SizePanel.Handle(), WM_CANCELMODE, 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(m_log.Contains(L"#1 EndUpdate") && m_log.Contains(L"#2 EndUpdate")) << "the panes draw again";
    EXPECT_EQ(form.LeftPaneWidth, 300);
    MouseUp({grip.x + 100, grip.y});
}

TEST_F(PanesTest, MinimisingRestoringAndClosingLeaveTheLeftWidth) {
    RegWriteUserValue(MainformSchluessel, L"BreiteLinkesFenster", L"250");
    THauptform& form = StartPanes();
    form.SetWindowState(TWindowState::wsMinimized);
    Application->ProcessMessages();
    EXPECT_EQ(form.LeftPaneWidth, 250);
    form.SetWindowState(TWindowState::wsNormal);
    Application->ProcessMessages();
    EXPECT_EQ(form.LeftPaneWidth, 250);
    EXPECT_EQ(form.LeftPane->Width(), 250);
    form.SetWindowState(TWindowState::wsMinimized);
    Application->ProcessMessages();
    ASSERT_TRUE(CloseWindow());
    EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"BreiteLinkesFenster"), L"250");
}

TEST_F(PanesTest, AStoredLeftWidthBelowSixReadsAsSix) {
    for (const wchar_t* stored : {L"3", L"-10"}) {
        RegWriteUserValue(MainformSchluessel, L"BreiteLinkesFenster", stored);
        THauptform& form = StartPanes();
        EXPECT_EQ(form.LeftPaneWidth, 6) << stored;
        EXPECT_EQ(form.LeftPane->Width(), 6);
        ASSERT_TRUE(CloseWindow());
        EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"BreiteLinkesFenster"), L"6");
        m_form->Free();
        m_form = nullptr;
    }
}

TEST_F(PanesTest, AFolderIsShownInItsSideAndWithOneDriveBarInBothPanes) {
    TFolders folders(L"vel-show");
    const std::wstring folder = folders.Make(L"daten\\");
    THauptform& form = StartPanes();
    ASSERT_TRUE(form.ShowDirectory(form.LeftPane, folder));
    EXPECT_EQ(Log(form.LeftPane).Directory, folder);
    EXPECT_EQ(Log(form.RightPane).Directory, folder) << "one drive bar serves both panes";
    EXPECT_EQ(DateiRoutinen->GetCurrentPath(), folder);
    std::wstring prompt = ExcludeTrailingBackslash(folder) + L">";
    CharLowerBuffW(prompt.data(), static_cast<DWORD>(prompt.size()));
    EXPECT_EQ(form.DOSPfad.FileName(), prompt);

    // From a tree, a list in place of an archive pane opposite.
    form.ShowPaneKind(1, ftZip);
    const std::wstring archive = Number(form.RightPane);
    ASSERT_TRUE(form.ShowDirectory(form.LeftPane, folder));
    EXPECT_NE(Number(form.RightPane), archive);
    EXPECT_EQ(form.RightPane->GetPaneKind(), form.ListKind);

    // Two lists: each shows its own folder.
    form.ShowPaneKind(0, ftDateiliste);
    m_log.Lines.clear();
    ASSERT_TRUE(form.ShowDirectory(form.RightPane, folder));
    EXPECT_EQ(LinesOf(form.RightPane), std::vector<std::wstring>{L"SetDirectory " + folder});
    EXPECT_TRUE(LinesOf(form.LeftPane).empty());
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(PanesTest, AFolderOfTheNetworkLeavesTheDriveBarAlone) {
    THauptform& form = StartPanes();
    form.FolderExists = [](const std::wstring&) { return true; };
    const wchar_t drive = form.LWAuswahl.Drive();
    ASSERT_TRUE(form.ShowDirectory(form.LeftPane, L"\\\\server\\freigabe\\"));
    EXPECT_EQ(form.LWAuswahl.Drive(), drive);
    EXPECT_EQ(Log(form.LeftPane).Directory, L"\\\\server\\freigabe\\");
}

TEST_F(PanesTest, AMissingFolderWarnsAndFallsBackOnceEachAndStopsAfterC) {
    THauptform& form = StartPanes();
    DateiRoutinen->AktuellerPfad = L"c:\\weg\\eins\\";
    DateiRoutinen->AndererLaufwerksPfad = L"c:\\weg\\zwei\\";
    std::vector<std::wstring> asked;
    form.FolderExists = [&](const std::wstring& path) {
        asked.push_back(path);
        return false;
    };
    TDMChildForm* left = form.LeftPane;
    m_log.Lines.clear();
    EXPECT_FALSE(form.ShowDirectory(left, L"c:\\weg\\gesucht\\"));
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"c:\\weg\\gesucht\\", L"c:\\weg\\eins\\", L"c:\\weg\\zwei\\",
                                                L"C:\\"}));
    ASSERT_EQ(m_boxes.Calls().size(), 4u);
    for (const auto& call : m_boxes.Calls()) {
        EXPECT_EQ(call.Text, kFolderMissing);
        EXPECT_EQ(call.Type, TMsgDlgType::mtWarning);
        EXPECT_EQ(call.HelpContext, 66);
    }
    EXPECT_EQ(form.LeftPane, left);
    EXPECT_TRUE(m_log.Lines.empty()) << "the pane keeps its contents";
    EXPECT_EQ(DateiRoutinen->GetCurrentPath(), L"c:\\weg\\eins\\");

    // A fallback that is the folder asked for, or the same as another, is tried once.
    asked.clear();
    m_boxes.Clear();
    DateiRoutinen->AktuellerPfad = L"C:\\";
    DateiRoutinen->AndererLaufwerksPfad = L"c:\\";
    EXPECT_FALSE(form.ShowDirectory(left, L"C:\\"));
    EXPECT_EQ(asked, std::vector<std::wstring>{L"C:\\"});
    EXPECT_EQ(m_boxes.Calls().size(), 1u);

    // "C:\" shown as the last fallback: still false, the count of that folder starts.
    asked.clear();
    m_boxes.Clear();
    DateiRoutinen->AktuellerPfad = L"c:\\weg\\eins\\";
    DateiRoutinen->AndererLaufwerksPfad = L"c:\\weg\\zwei\\";
    form.FolderExists = [&](const std::wstring& path) {
        asked.push_back(path);
        return path == L"C:\\";
    };
    EXPECT_FALSE(form.ShowDirectory(left, L"c:\\weg\\gesucht\\"));
    EXPECT_EQ(m_boxes.Calls().size(), 3u);
    EXPECT_EQ(Log(left).Directory, L"C:\\");
    EXPECT_EQ(form.LastQuickViewPath, L"c:\\");
}

TEST_F(PanesTest, BackspaceGoesToTheParentFolderAndFocusesTheFolderLeft) {
    TFolders folders(L"vel-parent");
    const std::wstring b = folders.Make(L"a\\b");
    THauptform& form = StartPanes(L"22");
    TDMChildForm* right = form.RightPane;
    Log(right).Directory = b;
    NachLesenFokussieren = false;
    m_log.Lines.clear();
    form.GoToParentDir(right);
    EXPECT_EQ(Log(right).Directory, folders.Root + L"a\\");
    EXPECT_TRUE(NachLesenFokussieren);
    EXPECT_EQ(NachLesenFokusName, L"b");
    EXPECT_TRUE(LinesOf(form.LeftPane).empty()) << "two drive bars: the other pane stays";

    // At a drive's root there is no parent: a beep, and no focus asked for.
    Log(right).Directory = L"c:\\";
    NachLesenFokussieren = false;
    m_log.Lines.clear();
    form.GoToParentDir(right);
    EXPECT_TRUE(m_log.Lines.empty());
    EXPECT_FALSE(NachLesenFokussieren);
    // Nothing shown (a basket): nothing to focus either.
    form.ShowPaneKind(1, ftSammelkorb);
    NachLesenFokussieren = false;
    form.GoToParentDir(form.RightPane);
    EXPECT_FALSE(NachLesenFokussieren);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(PanesTest, BackspaceBesideATreeMovesTheTreeWhichStaysInactive) {
    TFolders folders(L"vel-parent-tree");
    const std::wstring b = folders.Make(L"a\\b");
    THauptform& form = StartPanes();
    HWND tree = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Log(form.LeftPane).ControlHandle = tree;
    Log(form.RightPane).Directory = b;
    form.TreeKeepInactive = false;
    m_log.Lines.clear();
    form.GoToParentDir(form.RightPane);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, tree, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_BACK));
    EXPECT_TRUE(form.TreeKeepInactive);
    EXPECT_EQ(NachLesenFokusName, L"b");
    EXPECT_TRUE(m_log.Lines.empty()) << "the list follows the tree, not the window";
    DestroyWindow(tree);
}

TEST_F(PanesTest, BackspaceInAnArchiveLeavesItOnceForAFileListOfItsFolder) {
    TFolders folders(L"vel-parent-arc");
    const std::wstring folder = folders.Make(L"daten\\");
    THauptform& form = StartPanes(L"22");
    form.ShowPaneKind(1, ftZip);
    TDMChildForm* archive = form.RightPane;
    const std::wstring number = Number(archive);
    Log(archive).ArchiveFile = folder + L"Test.zip";
    const int made = m_log.Made;
    form.GoToParentDir(archive);
    form.GoToParentDir(archive);
    EXPECT_EQ(NachLesenFokusName, L"Test.zip");
    EXPECT_TRUE(NachLesenFokussieren);
    EXPECT_EQ(Number(form.RightPane), number) << "nothing happens before the timer";
    ASSERT_TRUE(WaitUntil([&] { return Number(form.RightPane) != number; }));
    EXPECT_EQ(form.RightPane->GetPaneKind(), form.ListKind);
    EXPECT_EQ(Log(form.RightPane).Directory, folder);
    EXPECT_FALSE(form.ArcTimer.Enabled());
    EXPECT_EQ(m_log.Made, made + 1) << "two quick Backspaces act once";
}

TEST_F(PanesTest, TheArchiveTimerForgetsAPaneFreedBeforeItFires) {
    TFolders folders(L"vel-arc-gone");
    const std::wstring folder = folders.Make(L"daten\\");
    THauptform& form = StartPanes(L"22");
    form.ShowPaneKind(1, ftZip);
    Log(form.RightPane).ArchiveFile = folder + L"Test.zip";
    form.GoToParentDir(form.RightPane);
    ASSERT_TRUE(form.ArcTimer.Enabled());
    form.ShowPaneKind(1, ftArj);
    EXPECT_EQ(form.ArchiveTimerPane, nullptr);
    EXPECT_FALSE(form.ArcTimer.Enabled());
    // Fired all the same, it does not act on the pane made in the old one's place.
    form.ArcTimerTimer(&form.ArcTimer);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftArj);
}

TEST_F(PanesTest, FolderWithoutPathReachesEachPaneAsACopyOfItsOwn) {
    THauptform& form = StartPanes(L"21");  // list left, tree right
    LPITEMIDLIST raw = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &raw)));
    TPidl pidl(raw);
    form.SyncPanes(form.LeftPane, pidl.get());
    for (TDMChildForm* pane : {form.LeftPane, form.RightPane}) {
        TLogPane& p = Log(pane);
        ASSERT_EQ(p.VirtualFolders.size(), 1u);
        EXPECT_NE(p.VirtualFolders[0], pidl.get()) << "never the caller's own list";
        EXPECT_TRUE(ILIsEqual(p.VirtualCopies[0].get(), pidl.get()));
    }

    // From a tree, an archive pane opposite becomes a file list first, keeping no folder.
    form.ShowPaneKind(0, ftZip);
    m_log.Lines.clear();
    form.SyncPanes(form.RightPane, pidl.get());
    EXPECT_EQ(form.LeftPane->GetPaneKind(), form.ListKind);
    EXPECT_EQ(LinesOf(form.LeftPane).back(), L"ShowVirtualFolder");
    for (const std::wstring& line : LinesOf(form.LeftPane))
        EXPECT_FALSE(line.starts_with(L"SetDirectory")) << "no folder while the panes follow a virtual folder";
    EXPECT_TRUE(ILIsEqual(Log(form.LeftPane).VirtualCopies[0].get(), pidl.get()));
}

TEST_F(PanesTest, ArrowsInADriveBoxDoNothingUntilEnterSpaceOrAPick) {
    THauptform& form = StartPanes();
    form.LWAuswahl.SetItems(TStringList{L"c:", L"y:"});
    form.LWAuswahl.SetItemIndex(0);
    form.LWAuswahl.SetFocus();
    m_log.Lines.clear();
    auto shownC = [&] { return m_log.Count(L"#1 SetDirectory c:\\"); };

    PostKey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return form.LWAuswahl.ItemIndex() == 1; }));
    PostKey(VK_UP);
    ASSERT_TRUE(WaitUntil([&] { return form.LWAuswahl.ItemIndex() == 0; }));
    EXPECT_TRUE(m_log.Lines.empty()) << "stepping through the drives shows nothing";
    PostKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return shownC() == 1; }));
    // Choosing the drive brought the panes to the front.
    form.LWAuswahl.SetFocus();
    PostKey(VK_DOWN);
    PostKey(VK_UP);
    PostKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return shownC() == 2; }));
    // A pick with the mouse acts at once.
    form.LWAuswahl.CNCommand(CBN_SELCHANGE);
    EXPECT_EQ(shownC(), 3);
    // Enter belongs to the open command; a click on its item is no Enter for the box.
    form.LWAuswahl.SetFocus();
    form.DateiOeffnen.Click();
    EXPECT_EQ(shownC(), 3);
    EXPECT_EQ(m_log.Count(L"#2 OpenSelected") + m_log.Count(L"#1 OpenSelected"), 1);
    EXPECT_FALSE(velmora::LaufwerkWirdGewechselt);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(PanesTest, CtrlF4AndCtrlF6InATreePaneLeaveBothPanes) {
    THauptform& form = StartPanes();
    TDMChildForm* left = form.LeftPane;
    TDMChildForm* right = form.RightPane;
    left->BringToFront();
    ::SetFocus(left->Handle());
    ASSERT_EQ(form.ActiveMDIChild(), left);
    PostKey(VK_F4, ssCtrl);
    PostKey(VK_F6, ssCtrl);
    PostKey(VK_TAB, ssCtrl);
    // The last key's release reaches the pane once the keys before it are done.
    ASSERT_TRUE(WaitUntil([&] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0 && GetQueueStatus(QS_INPUT) == 0; }));
    Application->ProcessMessages();
    EXPECT_EQ(form.LeftPane, left);
    EXPECT_EQ(form.RightPane, right);
    EXPECT_EQ(form.ActiveMDIChild(), left);
    EXPECT_FALSE(IsIconic(left->Handle()));
    EXPECT_FALSE(m_log.Contains(L"#1 Close"));
    EXPECT_EQ(form.MDIChildCount(), 2);
}

TEST_F(PanesTest, TheViewMenuItemsChooseKindsAndSidesAndSwappingExchangesThePanes) {
    THauptform& form = StartPanes();
    EXPECT_TRUE(form.AnsichtVbaumL.Checked() && form.AnsichtDListeR.Checked()) << "the first showing ticks both sides";
    form.AnsichtLinksRechtsClick(&form.AnsichtAusDListeR);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftAusfDateiliste);
    EXPECT_TRUE(form.AnsichtAusDListeR.Checked());
    EXPECT_FALSE(form.AnsichtDListeR.Checked());
    form.AnsichtLinksRechtsClick(&form.AnsichtVbaumR);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftVerzeichnisbaum);
    EXPECT_TRUE(form.AnsichtVbaumR.Checked());
    EXPECT_FALSE(form.AnsichtAusDListeR.Checked());
    EXPECT_TRUE(form.AnsichtVbaumL.Checked()) << "each side has its own tick";
    // A ticked item does nothing.
    const int made = m_log.Made;
    form.AnsichtLinksRechtsClick(&form.AnsichtVbaumR);
    EXPECT_EQ(m_log.Made, made);
    // The pane pop-up's item acts on the active pane's side.
    form.LeftPane->BringToFront();
    form.AnsichtLinksRechtsClick(&form.Dateiliste1);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftDateiliste);
    EXPECT_TRUE(form.AnsichtDListeL.Checked());
    form.AnsichtLinksRechtsClick(&form.SammelkorbLinks);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftSammelkorb);
    EXPECT_TRUE(form.SammelkorbLinks.Checked());
    EXPECT_TRUE(form.AnsichtSammelKorbL.Checked());
    EXPECT_FALSE(form.SammelkorbRechts.Enabled());

    TDMChildForm* left = form.LeftPane;
    TDMChildForm* right = form.RightPane;
    form.Fenstertauschen1Click(nullptr);
    EXPECT_EQ(form.LeftPane, right);
    EXPECT_EQ(form.RightPane, left);
    EXPECT_EQ(form.LeftPane->Left(), 0);
    EXPECT_EQ(form.RightPane->Left(), form.LeftPaneWidth + 4);
    // The ticks follow the panes to their new sides.
    EXPECT_TRUE(form.AnsichtVbaumL.Checked());
    EXPECT_FALSE(form.AnsichtVbaumR.Checked());
    EXPECT_TRUE(form.AnsichtSammelkorbR.Checked());
    EXPECT_FALSE(form.AnsichtSammelKorbL.Checked());
    EXPECT_TRUE(form.SammelkorbRechts.Checked());
    EXPECT_FALSE(form.SammelkorbLinks.Checked());
}

TEST_F(PanesTest, MarkingCommandsGoPastATreeAndRefreshReadsBothPanes) {
    THauptform& form = StartPanes();
    form.LeftPane->BringToFront();
    form.MarkierungAllesAuswaehlenClick(nullptr);
    form.MarkierungUmkehrenClick(nullptr);
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L"#2 SelectAll", L"#2 InvertSelection"}));
    form.ShowPaneKind(1, ftVerzeichnisbaum);
    m_log.Lines.clear();
    form.MarkierungAllesAuswaehlenClick(nullptr);
    EXPECT_TRUE(m_log.Lines.empty()) << "two trees have nothing to mark";
    form.Aktualisieren1Click(nullptr);
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L"#1 ReadContents", L"#3 ReadContents"}));
}
