// The archive pane in the main window, over the stand-in zip library: reading
// inside a single root folder, walking, the selection, kinds, widths, and an
// archive opened from a file list.

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "ArchiveScratch.h"
#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "panes/ZipView.h"
#include "mainwindow/StatusThreads.h"
#include "platform/rtl/FileSystem.h"
#include "platform/gui/Testing.h"

namespace velmora::test {
namespace {

using namespace gui;

std::vector<std::wstring> Rows(TZipViewForm& pane) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        rows.push_back(pane.Dateiliste.Items(i)->Caption());
    return rows;
}

void Mark(TZipViewForm& pane, const std::wstring& caption) {
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        pane.Dateiliste.Items(i)->SetSelected(pane.Dateiliste.Items(i)->Caption() == caption);
}

std::vector<std::wstring> SelectedNames(TZipViewForm& pane) {
    TDateiListe list;
    pane.GetSelection(list);
    std::vector<std::wstring> names;
    for (const auto& entry : list) {
        EXPECT_TRUE(entry->InArchive);
        names.push_back(entry->Name + (entry->Attr == 16 ? L" (Ordner)" : L""));
    }
    return names;
}

// Clicks the header of the pane's column Index with the real mouse.
void ClickHeader(TZipViewForm& pane, int index) {
    const HWND header = reinterpret_cast<HWND>(SendMessageW(pane.Dateiliste.Handle(), LVM_GETHEADER, 0, 0));
    RECT r{};
    ASSERT_TRUE(SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    // Clicks in turn a little left and right of the middle: two clicks at one
    // spot would make a double click.
    static int turn = 0;
    POINT p{(r.left + r.right) / 2 + (++turn % 2 ? -8 : 8), (r.top + r.bottom) / 2};
    ClientToScreen(header, &p);
    MouseClick(p);
}

class ZipView : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    void SetUp() override {
        MainWindowTest::SetUp();
        RegDeleteUserValue(DialogeSchluessel, L"ArcViewColumns");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        RegDeleteUserValue(DialogeSchluessel, L"ArcViewColumns");
    }
    TZipViewForm& Open(int side, const std::wstring& path) {
        EXPECT_TRUE(m_form->OpenPathInPane(side, path));
        auto* pane = dynamic_cast<TZipViewForm*>(side == 0 ? m_form->LeftPane : m_form->RightPane);
        EXPECT_NE(pane, nullptr);
        return *pane;
    }
};

TEST_F(ZipView, OpensInsideTheSingleRootFolderAndWalksItsFolders) {
    THauptform& form = Start();
    TZipViewForm& pane = Open(1, Fixture("proj.zip"));
    // Folder names enclosed in brackets, file names as stored.
    TOptionen options = form.Settings->ArcView;
    options.VEinfassen = true;
    options.VEinfZeichen = L"[]";
    options.DateiSchreibweise = 2;
    pane.ApplyOptions(options);
    pane.FillList();
    EXPECT_EQ(pane.Caption(), L"ZIP-Archiv [" + SystemLower(Fixture("proj.zip")) + L"]");
    EXPECT_EQ(pane.Prefix(), L"proj\\");
    EXPECT_EQ(pane.StatusZeile.SimpleText(), L"proj\\");
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[sub]", L"a.txt"}));
    TArchivDaten totals;
    pane.GetArchivDaten(totals);
    EXPECT_EQ(totals.Anzahl, 3);
    EXPECT_EQ(totals.OrigGroesse, 44);

    // Everything marked at the root is the whole archive.
    pane.SelectAll();
    EXPECT_EQ(SelectedNames(pane), (std::vector<std::wstring>{L"proj\\sub (Ordner)", L"proj\\a.txt"}));
    EXPECT_TRUE(pane.WholeArchiveSelected());

    // Down twice, the names growing by each folder.
    Mark(pane, L"[sub]");
    pane.OpenSelected();
    EXPECT_EQ(pane.SubPath(), L"sub\\");
    EXPECT_EQ(pane.StatusZeile.SimpleText(), L"proj\\sub\\");
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"..", L"[deep]", L"b.txt"}));
    pane.SelectAll();
    EXPECT_EQ(SelectedNames(pane), (std::vector<std::wstring>{L"proj\\sub\\deep (Ordner)", L"proj\\sub\\b.txt"}));
    EXPECT_FALSE(pane.WholeArchiveSelected());
    Mark(pane, L"[deep]");
    pane.OpenSelected();
    EXPECT_EQ(pane.StatusZeile.SimpleText(), L"proj\\sub\\deep\\");
    Mark(pane, L"c.txt");
    EXPECT_EQ(SelectedNames(pane), (std::vector<std::wstring>{L"proj\\sub\\deep\\c.txt"}));

    // Up by "..", then by Backspace.
    Mark(pane, L"..");
    pane.OpenSelected();
    EXPECT_EQ(pane.SubPath(), L"sub\\");
    WORD back = VK_BACK;
    pane.DateilisteKeyDown(&pane.Dateiliste, back, 0);
    EXPECT_EQ(pane.SubPath(), L"");
    EXPECT_EQ(pane.StatusZeile.SimpleText(), L"proj\\");
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[sub]", L"a.txt"}));

    // A missing closing character encloses with nothing.
    options.VEinfZeichen = L"<";
    pane.ApplyOptions(options);
    pane.FillList();
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"<sub", L"a.txt"}));

    // Backspace at the root leaves the archive for a file list (beside a list:
    // beside the tree, the tree walks up instead).
    form.ShowPaneKind(0, ftAusfDateiliste);
    back = VK_BACK;
    pane.DateilisteKeyDown(&pane.Dateiliste, back, 0);
    ASSERT_TRUE(WaitUntil([&] { return m_form->RightPane && !ZeigtArchiv(m_form->RightPane->GetPaneKind()); }));
    EXPECT_EQ(m_form->RightPane->GetPaneKind(), m_form->ListKind);
}

// The found-files command reaches an archive entry in its own folder, from the
// archive's top and from a folder of it.
TEST_F(ZipView, AFoundArchiveEntryIsSelectedInItsFolder) {
    THauptform& form = Start();
    form.ShowPaneKind(1, ftDateiliste);
    form.RightPane->SetFocus();
    Application->ProcessMessages();
    form.SearchResult->clear();
    for (const wchar_t* name : {L"proj\\sub\\deep\\c.txt", L"proj\\a.txt"}) {
        auto hit = std::make_unique<TEineDatei>();
        hit->Name = name;
        hit->InArchive = true;
        hit->ArchivPfad = Fixture("proj.zip");
        form.SearchResult->push_back(std::move(hit));
    }
    form.FoundIndex = -1;
    form.NaechstegefundeneDatei.Click();
    auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->SubPath(), L"sub\\deep\\");
    EXPECT_EQ(SelectedNames(*pane), (std::vector<std::wstring>{L"proj\\sub\\deep\\c.txt"}));
    form.NaechstegefundeneDatei.Click();
    EXPECT_EQ(pane->SubPath(), L"");
    EXPECT_EQ(SelectedNames(*pane), (std::vector<std::wstring>{L"proj\\a.txt"}));
}

TEST_F(ZipView, ColumnClicksSortAndDatumGoesOldestFirst) {
    Start();
    TZipViewForm& pane = Open(1, Fixture("methods.zip"));
    SetForegroundWindow(m_form->Handle());
    pane.SetSortOrder(10);
    // The entries' dates: runs.dat 2022, data.bin 2023, readme.txt 2024; the folder stays first.
    ClickHeader(pane, 1);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[docs]", L"runs.dat", L"data.bin", L"readme.txt"}));
    ClickHeader(pane, 1);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[docs]", L"readme.txt", L"data.bin", L"runs.dat"}));
    ClickHeader(pane, 0);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[docs]", L"data.bin", L"readme.txt", L"runs.dat"}));
    ClickHeader(pane, 0);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[docs]", L"runs.dat", L"readme.txt", L"data.bin"}));
    // The savings column does not sort: the order stays.
    ClickHeader(pane, 4);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"[docs]", L"runs.dat", L"readme.txt", L"data.bin"}));
}

TEST_F(ZipView, TheArchiveKindComesFromTheFileNotItsName) {
    Start();
    TScratchFiles scratch(L"zipview");
    const std::wstring arj = scratch.Copy("methods.arj", L"verkleidet.zip");
    m_form->ShowPaneKind(1, ftZip);
    auto* pane = dynamic_cast<TZipViewForm*>(m_form->RightPane);
    ASSERT_NE(pane, nullptr);
    pane->SetArchiveFile(arj);
    EXPECT_EQ(pane->Caption().rfind(L"ZIP-Archiv [", 0), 0u);
    pane->ReadContents();
    EXPECT_EQ(pane->GetPaneKind(), ftArj);
    EXPECT_EQ(pane->Caption(), L"ARJ-Archiv [" + SystemLower(arj) + L"]");
    EXPECT_GT(pane->Dateiliste.Count(), 0);
    m_form->ShowPaneKind(1, m_form->ListKind);
}

TEST_F(ZipView, AnEmptyArchiveMarkedWholeIsNoWholeArchive) {
    Start();
    TScratchFiles scratch(L"zipview");
    const std::string eocd = std::string("PK\x05\x06", 4) + std::string(18, '\0');
    m_form->ShowPaneKind(1, ftZip);
    auto* made = dynamic_cast<TZipViewForm*>(m_form->RightPane);
    ASSERT_NE(made, nullptr);
    TZipViewForm& pane = *made;
    pane.SetArchiveFile(scratch.Write(eocd, L"leer.zip"));
    pane.ReadContents();
    EXPECT_EQ(pane.Dateiliste.Count(), 0);
    pane.SelectAll();
    EXPECT_TRUE(SelectedNames(pane).empty());
    EXPECT_FALSE(pane.WholeArchiveSelected());
    // A file gone since gives an empty pane with zero totals.
    TZipViewForm& missing = Open(1, Fixture("proj.zip"));
    ASSERT_GT(missing.Dateiliste.Count(), 0);
    missing.SetArchiveFile(scratch.Folder() + L"fort.zip");
    missing.ReadContents();
    TArchivDaten totals;
    missing.GetArchivDaten(totals);
    EXPECT_EQ(missing.Dateiliste.Count(), 0);
    EXPECT_EQ(totals.Anzahl, 0);
    m_form->ShowPaneKind(1, m_form->ListKind);
}

TEST_F(ZipView, ColumnWidthsRoundTripAndOnlyFiveNumbersCount) {
    EXPECT_EQ(TZipViewForm::ColumnWidthsOf(L"10,20,30,40,50"), (std::vector<int>{10, 20, 30, 40, 50}));
    for (const wchar_t* bad : {L"", L"10,20,30", L"10,20,30,40,50,60", L"a,b,c,d,e", L"10,,30,40,50"})
        EXPECT_EQ(TZipViewForm::ColumnWidthsOf(bad), (std::vector<int>{100, 130, 75, 75, 35})) << bad;

    Start();
    RegWriteUserValue(DialogeSchluessel, L"ArcViewColumns", L"111,122,133,144,155");
    TZipViewForm& pane = Open(1, Fixture("proj.zip"));
    EXPECT_EQ(pane.Dateiliste.ColumnWidth(3), 144);
    ListView_SetColumnWidth(pane.Dateiliste.Handle(), 0, 200);
    m_form->ShowPaneKind(1, m_form->ListKind);
    EXPECT_EQ(RegReadUserValue(DialogeSchluessel, L"ArcViewColumns"), L"200,122,133,144,155");
}

TEST_F(ZipView, SavingsRoundHalfToEven) {
    EXPECT_EQ(TZipViewForm::SavingText(0, 0), L"0%");
    EXPECT_EQ(TZipViewForm::SavingText(200, 199), L"0%");
    EXPECT_EQ(TZipViewForm::SavingText(200, 197), L"2%");
    EXPECT_EQ(TZipViewForm::SavingText(8, 3), L"62%");
    EXPECT_EQ(TZipViewForm::SavingText(100, 150), L"-50%");
}

TEST_F(ZipView, ADoubleClickedZipInAFileListOpensThere) {
    THauptform& form = Make();
    form.Settings->Arc.ShowOnDoubleClick = true;
    Start();
    TScratchFiles scratch(L"zipview");
    scratch.Copy("proj.zip", L"paket.zip");
    form.ShowPaneKind(0, ftAusfDateiliste);
    ASSERT_TRUE(form.ShowDirectory(form.LeftPane, scratch.Folder()));
    form.LeftPane->SelectFile(L"paket.zip");
    form.LeftPane->OpenSelected();
    ASSERT_TRUE(WaitUntil([&] { return form.LeftPane && ZeigtArchiv(form.LeftPane->GetPaneKind()); }));
    EXPECT_EQ(form.LeftPane->GetArchiveFile(), SystemLower(scratch.Folder() + L"paket.zip"));
    auto* pane = dynamic_cast<TZipViewForm*>(form.LeftPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->Dateiliste.Count(), 2);
    form.ShowPaneKind(0, ftAusfDateiliste);
}

// A zip of empty stored entries with the given names, as bytes.
std::string EmptyEntriesZip(const std::vector<std::string>& names) {
    std::string local, central;
    auto put = [](std::string& to, unsigned value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            to += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    for (const std::string& name : names) {
        const auto offset = static_cast<unsigned>(local.size());
        put(local, 0x04034b50, 4);
        put(local, 20, 2);
        put(local, 0, 2);
        put(local, 0, 2);
        put(local, 0, 2);
        put(local, 0x21, 2);
        for (int i = 0; i < 3; ++i)
            put(local, 0, 4);
        put(local, static_cast<unsigned>(name.size()), 2);
        put(local, 0, 2);
        local += name;
        put(central, 0x02014b50, 4);
        put(central, 20, 2);
        put(central, 20, 2);
        put(central, 0, 2);
        put(central, 0, 2);
        put(central, 0, 2);
        put(central, 0x21, 2);
        for (int i = 0; i < 3; ++i)
            put(central, 0, 4);
        put(central, static_cast<unsigned>(name.size()), 2);
        for (int i = 0; i < 4; ++i)
            put(central, 0, 2);
        put(central, 0, 4);
        put(central, offset, 4);
        central += name;
    }
    std::string end;
    put(end, 0x06054b50, 4);
    put(end, 0, 2);
    put(end, 0, 2);
    put(end, static_cast<unsigned>(names.size()), 2);
    put(end, static_cast<unsigned>(names.size()), 2);
    put(end, static_cast<unsigned>(central.size()), 4);
    put(end, static_cast<unsigned>(local.size()), 4);
    put(end, 0, 2);
    return local + central + end;
}

// An entry stored as "..\x.txt" makes a folder named ".." at the top: it is a
// folder to walk into, not the way up.
TEST_F(ZipView, AFolderNamedTwoDotsIsNoWayUp) {
    THauptform& form = Start();
    SetForegroundWindow(form.Handle());
    TScratchFiles scratch(L"zipview");
    const std::wstring path = scratch.Write(EmptyEntriesZip({"..\\x.txt", "a.txt"}), L"punkte.zip");
    TZipViewForm& pane = Open(1, path);
    ASSERT_EQ(pane.Dateiliste.Count(), 2);
    pane.Dateiliste.SetFocus();
    PressKey(VK_HOME);
    PressKey(VK_RETURN);
    EXPECT_EQ(pane.SubPath(), L"..\\");
    m_form->ShowPaneKind(1, m_form->ListKind);
}

// Whether the menu shows the item (a command or a submenu) right now.
bool InMenu(HMENU menu, TMenuItem& item) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.hSubMenu ? info.hSubMenu == item.SubmenuHandle() : info.wID == item.Command())
            return true;
    }
    return false;
}

TEST_F(ZipView, ThePopupOverArchiveEntriesLeavesOutWhatDoesNotApplyToThemForThatTimeOnly) {
    THauptform& form = Start();
    form.SetBounds(20, 20, 900, 640);
    SetForegroundWindow(form.Handle());
    TZipViewForm& pane = Open(1, Fixture("proj.zip"));
    Application->ProcessMessages();
    TMenuItem* notForEntries[] = {&form.Neu1, &form.Kopieren1, &form.Verschieben1, &form.Umbenennen1,
                                  &form.Dateiauswahl1};
    // Read inside the open menu's own loop, then closed by Escape.
    std::vector<std::vector<bool>> shownAtEachPopup;
    auto readMenu = [&](HWND, HMENU menu) {
        std::vector<bool> shown;
        for (TMenuItem* item : notForEntries)
            shown.push_back(InMenu(menu, *item));
        shownAtEachPopup.push_back(shown);
        EXPECT_TRUE(InMenu(menu, form.Lschen1));
        PostKey(VK_ESCAPE);
    };

    // A right click on "a.txt" marks it and opens the popup.
    ASSERT_EQ(Rows(pane).back(), L"a.txt");
    RECT row{};
    row.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageW(pane.Dateiliste.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    {
        TMenuLoopWatch menu(readMenu);
        MouseClick(ScreenPoint(pane.Dateiliste, row.left + 5, (row.top + row.bottom) / 2), TMouseButton::mbRight);
        ASSERT_TRUE(menu.Ran()) << "no menu opened over the entry";
    }
    ASSERT_EQ(shownAtEachPopup.size(), 1u);
    EXPECT_EQ(shownAtEachPopup[0], std::vector<bool>(std::size(notForEntries), false));
    EXPECT_TRUE(pane.Dateiliste.Items(1)->Selected());
    for (TMenuItem* item : notForEntries)
        EXPECT_TRUE(item->Visible());

    // Opened from the tree, the popup holds them all again.
    const HWND tree = form.LeftPane->GetControlHandle();
    const auto node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    ASSERT_NE(node, nullptr);
    RECT item{};
    *reinterpret_cast<HTREEITEM*>(&item) = node;
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item)));
    POINT onNode{item.left + 4, (item.top + item.bottom) / 2};
    ClientToScreen(tree, &onNode);
    {
        TMenuLoopWatch menu(readMenu);
        MouseClick(onNode, TMouseButton::mbRight);
        ASSERT_TRUE(menu.Ran()) << "no menu opened over the tree";
    }
    ASSERT_EQ(shownAtEachPopup.size(), 2u);
    EXPECT_EQ(shownAtEachPopup[1], std::vector<bool>(std::size(notForEntries), true));
    Application->ProcessMessages();
}

// Opened and walked by hand: the status line shows the archive's totals at
// once, and a row has the focus after each level, so the keys act on it.
TEST_F(ZipView, AnOpenedArchiveShowsItsTotalsAndFocusesARow) {
    THauptform& form = Make();
    form.Settings->Arc.ShowOnDoubleClick = true;
    Start();
    form.SetBounds(20, 20, 900, 640);
    SetForegroundWindow(form.Handle());
    TScratchFiles scratch(L"zipview");
    scratch.Copy("proj.zip", L"paket.zip");
    form.ShowPaneKind(1, ftAusfDateiliste);
    ASSERT_TRUE(form.ShowDirectory(form.RightPane, scratch.Folder()));
    Application->ProcessMessages();
    const HWND list = form.RightPane->GetControlHandle();
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = L"paket.zip";
    const int index = static_cast<int>(SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    ASSERT_GE(index, 0);
    RECT row{};
    row.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&row));
    POINT onRow{row.left + 5, (row.top + row.bottom) / 2};
    ClientToScreen(list, &onRow);
    MouseClick(onRow);
    MouseClick(onRow);
    ASSERT_TRUE(WaitUntil([&] { return form.RightPane && ZeigtArchiv(form.RightPane->GetPaneKind()); }));
    auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
    ASSERT_NE(pane, nullptr);
    TArchivDaten totals;
    pane->GetArchivDaten(totals);
    EXPECT_EQ(form.HauptStatusZeile.Panel(1).Text, ArchiveStatusText(pane->GetArchiveFile(), totals));
    ASSERT_NE(pane->Dateiliste.ItemFocused(), nullptr) << "no row has the focus";
    const std::wstring first = Rows(*pane).front();
    EXPECT_EQ(pane->Dateiliste.ItemFocused()->Caption(), first);

    // Into the folder "sub" by Enter on its row, and back by Backspace: the focus is on "sub".
    pane->Dateiliste.SetFocus();
    PressKey(VK_RETURN);
    ASSERT_EQ(pane->SubPath(), L"sub\\");
    ASSERT_NE(pane->Dateiliste.ItemFocused(), nullptr);
    EXPECT_EQ(pane->Dateiliste.ItemFocused()->Caption(), L"..");
    PressKey(VK_BACK);
    ASSERT_EQ(pane->SubPath(), L"");
    ASSERT_NE(pane->Dateiliste.ItemFocused(), nullptr);
    EXPECT_EQ(pane->Dateiliste.ItemFocused()->Caption(), first) << "the folder one came from";
    form.ShowPaneKind(1, ftAusfDateiliste);
}

}  // namespace
}  // namespace velmora::test
