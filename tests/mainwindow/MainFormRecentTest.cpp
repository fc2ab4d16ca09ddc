#include <windows.h>

#include <vector>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

std::vector<std::wstring> Entries(TMenuItem& menu) {
    std::vector<std::wstring> paths;
    for (int i = 0; i < menu.Count(); ++i)
        if (auto* item = dynamic_cast<TMRUMenuItem*>(menu.Items(i)); item && item->ItemNumber > 0)
            paths.push_back(item->FullCaption.substr(item->FullCaption.find(L' ') + 1));
    return paths;
}

TMRUMenuItem* EntryFor(TMenuItem& menu, const std::wstring& path) {
    for (int i = 0; i < menu.Count(); ++i)
        if (auto* item = dynamic_cast<TMRUMenuItem*>(menu.Items(i));
            item && item->ItemNumber > 0 && item->FullCaption.ends_with(L" " + path))
            return item;
    return nullptr;
}

// A folder that exists for the time of a test.
struct TFolder {
    explicit TFolder(const std::wstring& name)
        : Path(AsciiLowerPath(TempDirectory() + name + std::to_wstring(GetCurrentProcessId()))) {
        CreateDirectoryW(Path.c_str(), nullptr);
    }
    ~TFolder() { RemoveDirectoryW(Path.c_str()); }
    static std::wstring AsciiLowerPath(std::wstring path) {
        CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
        return path;
    }
    std::wstring Path;
};

class RecentFoldersTest : public MainWindowTest {
protected:
    THauptform& StartWith(const TStringList& favourites, int recent) {
        if (!m_form)
            UseLogPanes(Make(), m_log);
        THauptform& form = Start();
        form.Settings->OBV = favourites;
        form.Settings->OftBenVerz = recent;
        form.RefreshMRUList();
        m_log.Lines.clear();
        return form;
    }
    TPaneLog m_log;
};

}  // namespace

TEST_F(RecentFoldersTest, TheViewMenuShowsTheFavouritesThenTheRecentFolders) {
    THauptform& form = StartWith({L"C:\\Daten", L"c:\\Spiele"}, 2);
    EXPECT_EQ(form.Menu(), &form.MainMenu);
    EXPECT_EQ(form.AnsichtMenu.Caption(), L"&Ansicht");
    EXPECT_EQ(form.MRUFileList.Maximum(), 4);
    form.AddRecentDir(L"C:\\Temp\\");
    form.AddRecentDir(L"c:\\windows");
    form.AddRecentDir(L"C:\\DATEN\\");  // a favourite in other case stays where it is
    form.AddRecentDir(L"c:\\temp");
    form.AddRecentDir(L"c:\\neu");
    EXPECT_EQ(Entries(form.AnsichtMenu),
              (std::vector<std::wstring>{L"c:\\daten", L"c:\\spiele", L"c:\\neu", L"c:\\temp"}));
    // The recent folders follow the view menu's own items, after a line.
    EXPECT_EQ(form.AnsichtMenu.Items(form.Fenstertauschen1.MenuIndex() + 1)->Caption(), L"-");
}

TEST_F(RecentFoldersTest, WithNeitherFavouritesNorRecentFoldersTheViewMenuHoldsOnlyItsOwnItems) {
    THauptform& form = StartWith({}, 0);
    form.AddRecentDir(L"c:\\temp");
    EXPECT_EQ(form.AnsichtMenu.Count(), form.Fenstertauschen1.MenuIndex() + 1);
    EXPECT_EQ(form.MRUFileList.FileMenu(), nullptr);
}

TEST_F(RecentFoldersTest, AVanishedFolderWarnsAndGoesButAVanishedFavouriteStays) {
    THauptform& form = StartWith({L"c:\\weg\\favorit"}, 5);
    form.AddRecentDir(L"c:\\weg\\kuerzlich");
    m_boxes.Answer(mrOk);
    m_boxes.Answer(mrOk);
    EntryFor(form.AnsichtMenu, L"c:\\weg\\kuerzlich")->Click();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Das Verzeichnis\r\n\"c:\\weg\\kuerzlich\"\r\nexistiert nicht mehr.");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 0);
    EXPECT_EQ(Entries(form.AnsichtMenu), (std::vector<std::wstring>{L"c:\\weg\\favorit"}));
    EntryFor(form.AnsichtMenu, L"c:\\weg\\favorit")->Click();
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(Entries(form.AnsichtMenu), (std::vector<std::wstring>{L"c:\\weg\\favorit"}));
}

TEST_F(RecentFoldersTest, AnExistingFolderGoesToTheActivePaneOrPastASearchResult) {
    TFolder folder(L"vel-mru-da");
    THauptform& form = StartWith({}, 5);
    form.ShowPaneKind(0, ftDateiliste);  // two lists, each with its own folder
    form.LeftPane->BringToFront();
    m_log.Lines.clear();
    form.AddRecentDir(folder.Path);
    EntryFor(form.AnsichtMenu, folder.Path)->Click();
    EXPECT_EQ(Log(form.LeftPane).Directory, folder.Path);
    form.ShowPaneKind(0, ftSuchergebnis);
    form.LeftPane->BringToFront();
    m_log.Lines.clear();
    EntryFor(form.AnsichtMenu, folder.Path)->Click();
    ASSERT_FALSE(m_log.Lines.empty());
    EXPECT_EQ(m_log.Lines.front(), L"#2 SetDirectory " + folder.Path) << "the file list past the search result";
    EXPECT_TRUE(m_boxes.Calls().empty());
}

// Showing a folder adds it to the recent folders, which rebuilds the menu
// while the clicked item's handler still runs.
TEST_F(RecentFoldersTest, AThousandClicksWhoseHandlerRebuildsTheMenuRunClean) {
    TFolder a(L"vel-mru-a"), b(L"vel-mru-b");
    THauptform& form = StartWith({}, 5);
    // Every click shows its folder; without the status line no count is started
    // for it, and the clicks come faster than any count could end.
    form.HauptStatusZeile.Hide();
    form.AddRecentDir(a.Path);
    form.AddRecentDir(b.Path);
    for (bool removeOnClick : {false, true}) {
        form.MRUFileList.RemoveOnClick = removeOnClick;
        for (int i = 0; i < 500; ++i) {
            TMRUMenuItem* last = EntryFor(form.AnsichtMenu, i % 2 ? a.Path : b.Path);
            ASSERT_NE(last, nullptr);
            ASSERT_TRUE(DispatchMenuCommand(last->Command()));
        }
        EXPECT_EQ(Entries(form.AnsichtMenu).size(), 2u);
    }
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(RecentFoldersTest, LendingTheListToAPopupAndGivingItBackLeavesTheViewMenuAsBefore) {
    THauptform& form = StartWith({L"c:\\daten"}, 3);
    form.AddRecentDir(L"c:\\temp");
    std::vector<std::wstring> captions;
    for (int i = 0; i < form.AnsichtMenu.Count(); ++i)
        captions.push_back(form.AnsichtMenu.Items(i)->Caption());
    TPopupMenu popup(nullptr);
    form.MRUFileList.SetInsertSeparator(false);
    form.MRUFileList.SetFileMenu(&popup.Items());
    EXPECT_EQ(form.AnsichtMenu.Count(), form.Fenstertauschen1.MenuIndex() + 1);
    EXPECT_EQ(Entries(popup.Items()), (std::vector<std::wstring>{L"c:\\daten", L"c:\\temp"}));
    form.MRUFileList.SetInsertSeparator(true);
    form.MRUFileList.SetFileMenu(&form.AnsichtMenu);
    EXPECT_EQ(popup.Items().Count(), 0);
    std::vector<std::wstring> after;
    for (int i = 0; i < form.AnsichtMenu.Count(); ++i)
        after.push_back(form.AnsichtMenu.Items(i)->Caption());
    EXPECT_EQ(after, captions);
}

TEST_F(RecentFoldersTest, TheFirstShowingAddsThePanesFolder) {
    THauptform& form = Make();
    form.PaneFactory = [](TFensterTyp kind, THauptform& host) -> TDMChildForm* {
        auto* pane = gui::Create<TTestPane>(&host);
        pane->Kind = kind;
        if (kind == ftVerzeichnisbaum)
            pane->Directory = L"C:\\Windows\\";
        return pane;
    };
    form.Settings->OBV.Clear();
    form.Settings->OftBenVerz = 5;
    form.RefreshMRUList();
    Start();
    ASSERT_FALSE(Entries(form.AnsichtMenu).empty());
    EXPECT_EQ(Entries(form.AnsichtMenu).front(), L"c:\\windows");
}
