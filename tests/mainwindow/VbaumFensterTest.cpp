// The folder tree pane in a test MDI frame on the scratch drive y: (made by
// vbaum-drive.sh): lazy reading, archive leaves, what reaches the main window,
// the drive monitors and the watch pass.

#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <thread>

#include "DateiListeFixture.h"
#include "panes/Vbaum.h"

namespace velmora::test {
namespace {

class TTreeHost : public TRecordingHost {
public:
    bool KeepInactive = false;
    void UpdatePaneStatus(const std::wstring& Archive) override { Calls.push_back(L"UpdatePaneStatus " + Archive); }
    bool TakeTreeKeepInactive() override { return std::exchange(KeepInactive, false); }
    void SetContextFolder(const std::wstring& Path) override { Calls.push_back(L"ContextFolder " + Path); }
};

std::wstring Lower(std::wstring s) {
    CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

class VbaumTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetFileAttributesW(L"y:\\") == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no scratch drive y: (vbaum-drive.sh makes it)";
        m_previousMain = gui::Application->MainForm();
        m_frame.SetFormStyle(gui::TFormStyle::fsMDIForm);
        gui::Application->SetMainForm(&m_frame);
        m_frame.SetBounds(0, 0, 640, 480);
        m_frame.Show();
        if (!IconRoutinen)
            IconRoutinen = new TIconRoutinen;
        for (const wchar_t* d : {L"y:\\leer", L"y:\\nurrar", L"y:\\tief", L"y:\\tief\\unter", L"y:\\tief\\unter\\ganz",
                                 L"y:\\weg", L"y:\\weg\\innen"})
            CreateDirectoryW(d, nullptr);
        CloseHandle(CreateFileW(L"y:\\nurrar\\x.rar", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    void TearDown() override {
        for (auto* pane : m_panes) pane->Free();
        gui::Application->ProcessMessages();
        if (m_previousMain || m_frame.HandleAllocated())
            gui::Application->SetMainForm(m_previousMain);
        for (const wchar_t* d : {L"y:\\leer", L"y:\\nurrar", L"y:\\tief", L"y:\\weg", L"y:\\breit"}) RemoveTree(d);
    }

    TVbaumForm& Pane() {
        auto* pane = gui::Create<TVbaumForm>(&m_frame, &m_host);
        m_panes.push_back(pane);
        pane->ApplyOptions(StandardOptionen(2));
        pane->SetBounds(0, 0, 300, 400);
        pane->Show();
        return *pane;
    }
    void Forget(TVbaumForm& pane) { std::erase(m_panes, &pane); }

    static gui::TTreeNode* Child(gui::TTreeNode* node, const std::wstring& text) {
        for (int i = 0; node && i < node->Count(); ++i)
            if (Lower(node->Item(i)->Text()) == text)
                return node->Item(i);
        return nullptr;
    }
    static std::vector<std::wstring> Texts(gui::TTreeNode* node) {
        std::vector<std::wstring> texts;
        for (int i = 0; i < node->Count(); ++i) texts.push_back(Lower(node->Item(i)->Text()));
        return texts;
    }

    TTreeHost m_host;
    gui::TForm m_frame{nullptr};
    std::vector<TVbaumForm*> m_panes;
    gui::TForm* m_previousMain = nullptr;
};

TEST_F(VbaumTest, NothingBelowANodeIsReadBeforeItExpands) {
    TVbaumForm& pane = Pane();
    gui::TTreeNode* root = pane.Verzeichnisbaum.TopItem(0);
    EXPECT_EQ(root->Count(), 0);
    pane.SetDirectory(L"y:\\");
    gui::TTreeNode* drive = pane.LoadedNodeOf(L"y:\\");
    ASSERT_NE(drive, nullptr);
    EXPECT_EQ(pane.Verzeichnisbaum.Selected(), drive);
    EXPECT_EQ(pane.GetDirectory(), L"y:\\");
    EXPECT_EQ(Texts(drive), (std::vector<std::wstring>{L"leer", L"nurrar", L"tief", L"weg"}));
    gui::TTreeNode* tief = Child(drive, L"tief");
    EXPECT_EQ(tief->Count(), 0);
    EXPECT_TRUE(tief->HasChildren());

    pane.ExpandNode(tief);
    ASSERT_EQ(Texts(tief), std::vector<std::wstring>{L"unter"});
    EXPECT_EQ(tief->Item(0)->Count(), 0);
    // Locating and reading tell the main window of no selection.
    EXPECT_FALSE(std::any_of(m_host.Calls.begin(), m_host.Calls.end(),
                             [](const std::wstring& c) { return c.starts_with(L"ShowDirectory"); }));
}

TEST_F(VbaumTest, AFolderHoldingOnlyARarExpandsToTheArchiveLeafWhichOpensInTheOtherSide) {
    TVbaumForm& pane = Pane();
    pane.SetDirectory(L"y:\\nurrar");
    gui::TTreeNode* folder = pane.LoadedNodeOf(L"y:\\nurrar\\");
    ASSERT_NE(folder, nullptr);
    ASSERT_EQ(Texts(folder), std::vector<std::wstring>{L"x.rar"});
    gui::TTreeNode* leaf = folder->Item(0);
    EXPECT_EQ(leaf->Text(), L"x.rar");
    EXPECT_FALSE(leaf->HasChildren());
    EXPECT_EQ(leaf->ImageIndex(), IconRoutinen->GetArchiveIconIndex());
    EXPECT_EQ(leaf->SelectedIndex(), IconRoutinen->GetOpenArchiveIconIndex());

    // Locating a path tells the main window nothing; a selection by the user does.
    EXPECT_FALSE(m_host.Contains(L"ShowDirectory Y:\\nurrar\\"));
    m_host.Calls.clear();
    pane.Verzeichnisbaum.SetSelected(leaf);
    ASSERT_EQ(m_host.Calls.size(), 2u);
    EXPECT_EQ(Lower(m_host.Calls[0]), L"panedirchanged y:\\nurrar\\x.rar");
    EXPECT_EQ(Lower(m_host.Calls[1]), L"updatepanestatus y:\\nurrar\\x.rar");
    EXPECT_EQ(pane.GetDirectory(), L"y:\\nurrar\\x.rar");
    TDateiListe selection;
    pane.GetSelection(selection);
    ASSERT_EQ(selection.size(), 1u);
    EXPECT_EQ(Lower(selection[0]->Name), L"y:\\nurrar\\x.rar");
    EXPECT_FALSE(selection[0]->InArchive);

    m_host.Calls.clear();
    pane.Verzeichnisbaum.SetSelected(folder);
    ASSERT_GE(m_host.Calls.size(), 2u);
    EXPECT_EQ(Lower(m_host.Calls[0]), L"showdirectory y:\\nurrar\\");
    EXPECT_EQ(Lower(m_host.Calls[1]), L"quickview y:\\nurrar\\");

    // A namespace folder has no path: the other side follows its ID list.
    m_host.Calls.clear();
    pane.Verzeichnisbaum.SetSelected(pane.Verzeichnisbaum.TopItem(0));
    EXPECT_EQ(m_host.Calls.at(0), L"SyncPanes");
    EXPECT_EQ(m_host.Calls.at(1), L"QuickView ");
}

// Opening a deep path makes every sibling on the way; only the rows the pane
// shows ask the shell for their icons and search for archives (their expand
// button), which still come out right when asked.
TEST_F(VbaumTest, OpeningADeepPathAsksTheShellOnlyForTheRowsShown) {
    std::wstring pfad = L"y:\\breit";
    CreateDirectoryW(pfad.c_str(), nullptr);
    for (const wchar_t* stufe : {L"\\a", L"\\b", L"\\c", L"\\d", L"\\e"}) {
        for (int i = 0; i < 30; ++i)
            CreateDirectoryW((pfad + L"\\n" + std::to_wstring(i)).c_str(), nullptr);
        pfad += stufe;
        CreateDirectoryW(pfad.c_str(), nullptr);
    }
    TVbaumForm& pane = Pane();
    pane.SetDirectory(pfad);
    ASSERT_NE(pane.LoadedNodeOf(pfad + L"\\"), nullptr);
    gui::Application->ProcessMessages();
    UpdateWindow(pane.Verzeichnisbaum.Handle());
    const int zeilen = static_cast<int>(SendMessageW(pane.Verzeichnisbaum.Handle(), TVM_GETVISIBLECOUNT, 0, 0));
    // Two icons and one archive search a row, for the rows shown and the path's own nodes.
    EXPECT_LE(pane.ShellAbfragen, 3 * (zeilen + 1) + 3 * 8);
    gui::TTreeNode* drive = pane.LoadedNodeOf(L"y:\\");
    EXPECT_TRUE(Child(drive, L"nurrar")->HasChildren());
    EXPECT_GE(Child(drive, L"leer")->ImageIndex(), 0);
}

TEST_F(VbaumTest, ExpandingStartsOnlyThatDrivesMonitorAndCollapsingStopsIt) {
    TVbaumForm& pane = Pane();
    EXPECT_EQ(pane.ActiveMonitors(), 0);
    pane.SetDirectory(L"y:\\tief");
    EXPECT_TRUE(pane.MonitorActive(L'Y'));
    EXPECT_EQ(pane.ActiveMonitors(), 1);

    // A folder below collapsing leaves the drive watched while its root is open.
    gui::TTreeNode* drive = pane.LoadedNodeOf(L"y:\\");
    pane.CollapseNode(pane.LoadedNodeOf(L"y:\\tief\\"));
    EXPECT_TRUE(pane.MonitorActive(L'y'));
    pane.CollapseNode(drive);
    EXPECT_EQ(pane.ActiveMonitors(), 0);

    // The level above the drives collapsing stops them too.
    pane.ExpandNode(drive);
    EXPECT_TRUE(pane.MonitorActive(L'y'));
    pane.CollapseNode(drive->Parent());
    EXPECT_EQ(pane.ActiveMonitors(), 0);
}

TEST_F(VbaumTest, DeletingAnExpandedFolderFromOutsideRefreshesItsParentOnce) {
    TVbaumForm& pane = Pane();
    pane.SetDirectory(L"y:\\weg");
    ASSERT_NE(pane.LoadedNodeOf(L"y:\\weg\\innen\\"), nullptr);
    ASSERT_TRUE(pane.MonitorActive(L'y'));

    ASSERT_TRUE(RemoveDirectoryW(L"y:\\weg\\innen"));
    ASSERT_TRUE(RemoveDirectoryW(L"y:\\weg"));
    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.WatchRefreshes().empty(); }, 20000));
    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.WatchRunning(); }, 20000));
    ASSERT_EQ(pane.WatchRefreshes().size(), 1u);
    EXPECT_EQ(Lower(pane.WatchRefreshes()[0]), L"y:\\");
    gui::TTreeNode* drive = pane.LoadedNodeOf(L"y:\\");
    EXPECT_EQ(Texts(drive), (std::vector<std::wstring>{L"leer", L"nurrar", L"tief"}));
    // The selected folder is gone: the selection moved up to the refreshed node,
    // and the list beside it was told to follow.
    EXPECT_EQ(pane.Verzeichnisbaum.Selected(), drive);
    EXPECT_NE(std::find_if(m_host.Calls.begin(), m_host.Calls.end(),
                           [](const std::wstring& call) { return Lower(call) == L"showdirectory y:\\"; }),
              m_host.Calls.end());
}

TEST_F(VbaumTest, DeletingAFolderElsewhereKeepsTheSelectedOne) {
    TVbaumForm& pane = Pane();
    pane.SetDirectory(L"y:\\weg");
    pane.SetDirectory(L"y:\\tief\\unter\\ganz");
    ASSERT_EQ(Lower(pane.GetDirectory()), L"y:\\tief\\unter\\ganz\\");
    m_host.Calls.clear();

    ASSERT_TRUE(RemoveDirectoryW(L"y:\\weg\\innen"));
    ASSERT_TRUE(RemoveDirectoryW(L"y:\\weg"));
    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.WatchRefreshes().empty(); }, 20000));
    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.WatchRunning(); }, 20000));
    EXPECT_EQ(Lower(pane.GetDirectory()), L"y:\\tief\\unter\\ganz\\") << "the tree jumped";
}

TEST_F(VbaumTest, ReplacingThePaneAmidABurstOfChangesIsSafe) {
    std::atomic<bool> done{false};
    std::thread burst([&] {
        for (int i = 0; i < 300; ++i) {
            const std::wstring d = L"y:\\burst" + std::to_wstring(i % 7);
            CreateDirectoryW(d.c_str(), nullptr);
            RemoveDirectoryW(d.c_str());
        }
        done = true;
    });
    for (int round = 0; round < 6; ++round) {
        TVbaumForm& pane = Pane();
        pane.SetDirectory(L"y:\\tief\\unter");
        ASSERT_TRUE(gui::WaitUntil([&] { return !pane.WatchRefreshes().empty() || done; }, 20000));
        Forget(pane);
        pane.Free();
        // Reports the freed pane's monitor had already sent reach nobody.
        const size_t calls = m_host.Calls.size();
        gui::Application->ProcessMessages();
        EXPECT_EQ(m_host.Calls.size(), calls);
    }
    burst.join();
    TVbaumForm& last = Pane();
    last.SetDirectory(L"y:\\tief");
    EXPECT_EQ(last.GetDirectory(), L"y:\\tief\\");
}

TEST_F(VbaumTest, KeysSortRequestsAndPopupReachTheHost) {
    TVbaumForm& pane = Pane();
    pane.SetDirectory(L"y:\\");
    m_host.Calls.clear();
    WORD key = VK_DELETE;
    pane.VerzeichnisBaumKeyUp(nullptr, key, 0);
    key = VK_TAB;
    pane.VerzeichnisBaumKeyUp(nullptr, key, gui::ssShift);
    key = VK_F4;
    pane.VerzeichnisBaumKeyUp(nullptr, key, gui::ssCtrl);
    key = VK_F6;
    pane.VerzeichnisBaumKeyUp(nullptr, key, gui::ssCtrl | gui::ssShift);
    key = VK_DELETE;
    pane.VerzeichnisBaumKeyUp(nullptr, key, gui::ssShift);
    key = 'A';
    pane.VerzeichnisBaumKeyDown(nullptr, key, 0);
    EXPECT_EQ(m_host.Calls, (std::vector<std::wstring>{L"PaneKeyDown 46", L"PaneKeyDown 9", L"PaneKeyUp 115",
                                                        L"PaneKeyUp 117", L"FormKeyUp 46", L"FormKeyDown 65"}));

    m_host.Calls.clear();
    pane.SetSortOrder(1);
    pane.SetSortOrder(1);
    pane.SetSortOrder(7);
    EXPECT_EQ(m_host.Calls, (std::vector<std::wstring>{L"CheckSortMenu 1", L"CheckSortMenu 0", L"CheckSortMenu 10"}));
    pane.SetSortOrder(0);
    EXPECT_EQ(Texts(pane.LoadedNodeOf(L"y:\\")), (std::vector<std::wstring>{L"leer", L"nurrar", L"tief", L"weg"}));
    pane.SetSortOrder(0);
    EXPECT_EQ(Texts(pane.LoadedNodeOf(L"y:\\")), (std::vector<std::wstring>{L"weg", L"tief", L"nurrar", L"leer"}));

    // A right click on a node hands its path over and opens the pane popup, and
    // the former selection comes back without a change reported.
    gui::TTreeNode* drive = pane.LoadedNodeOf(L"y:\\");
    gui::TTreeNode* tief = Child(drive, L"tief");
    RECT r{};
    const HTREEITEM item = tief->ItemId();
    memcpy(&r, &item, sizeof item);
    ASSERT_TRUE(SendMessageW(pane.GetControlHandle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
    m_host.Calls.clear();
    POINT onNode{r.left + 4, (r.top + r.bottom) / 2};
    ClientToScreen(pane.GetControlHandle(), &onNode);
    SetForegroundWindow(pane.GetControlHandle());
    gui::MouseClick(onNode, gui::TMouseButton::mbRight);
    gui::WaitUntil([&] { return m_host.Calls.size() >= 2; }, 20000);
    ASSERT_EQ(m_host.Calls.size(), 2u);
    EXPECT_EQ(Lower(m_host.Calls[0]), L"contextfolder y:\\tief\\");
    EXPECT_EQ(m_host.Calls[1], L"ShowPanePopup");
    EXPECT_EQ(pane.Verzeichnisbaum.Selected(), drive);
}

}  // namespace
}  // namespace velmora::test
