// The file list pane on real folders, virtual folders and a recording host.

#include <algorithm>
#include <atomic>

#include "DateiListeFixture.h"
#include "foundation/ComPtr.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/ShellRoutinen.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// The names the shell enumerates in a folder, in its order.
std::vector<std::wstring> ShellOrder(const std::wstring& folder) {
    std::vector<std::wstring> names;
    TComPtr<IShellFolder> desktop, shown;
    SHGetDesktopFolder(desktop.Put());
    TPidl pidl;
    if (!PfadZuPidl(desktop.Get(), folder, pidl, nullptr) ||
        FAILED(desktop->BindToObject(pidl.get(), nullptr, IID_IShellFolder, shown.PutVoid())))
        return names;
    TComPtr<IEnumIDList> items;
    shown->EnumObjects(nullptr, 0xE0, items.Put());
    LPITEMIDLIST rel;
    ULONG fetched;
    while (items && items->Next(1, &rel, &fetched) == S_OK) {
        TPidl owned(rel);
        std::wstring name;
        PidlAnzeigename(shown.Get(), rel, SHGDN_FORPARSING, name);
        names.push_back(ExtractFileName(name));
    }
    return names;
}

bool HasParentRow(TDateiListeForm& pane) {
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        if (pane.Dateiliste.Items(i)->Caption() == L"[ .. ]")
            return true;
    return false;
}

// The monitor arms its notification some time after the pane gave it the
// folder: files of new names are made there until the pane shows one; true
// when it did within the bound.
bool MonitorWatches(TDateiListeForm& pane, const std::wstring& folder) {
    for (int n = 0; n < 100; ++n) {
        const std::wstring name = L"probe" + std::to_wstring(n) + L".txt";
        CloseHandle(CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        if (gui::WaitUntil([&] { return std::any_of(pane.Eintraege().begin(), pane.Eintraege().end(),
                                                    [&](const auto& e) { return e->Name == name; }); },
                           100))
            return true;
    }
    return false;
}

// Under Wine the monitor misses a change made while it re-arms after telling
// the last one: further changes (new probe files) are made until Shown holds.
bool ErscheintMitDerNaechstenMeldung(const std::wstring& folder, const std::function<bool()>& shown) {
    for (int n = 100; n < 120; ++n) {
        if (gui::WaitUntil(shown, 250))
            return true;
        CloseHandle(CreateFileW((folder + L"probe" + std::to_wstring(n) + L".txt").c_str(), GENERIC_WRITE, 0,
                                nullptr, CREATE_NEW, 0, nullptr));
    }
    return shown();
}

// The screen point in the middle of the label of the row that shows Caption.
POINT RowPoint(TDateiListeForm& pane, const std::wstring& caption) {
    const HWND list = pane.Dateiliste.Handle();
    for (int i = 0; i < pane.Dateiliste.Count(); ++i) {
        if (pane.Dateiliste.Items(i)->Caption() != caption)
            continue;
        RECT row{};
        row.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&row));
        POINT p{row.left + 6, (row.top + row.bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    }
    ADD_FAILURE() << "no row shows the caption";
    return {};
}

// Presses the left button on the row that shows Caption and drags it off to
// the right, as a user starts dragging the marked rows.
void DragRow(TDateiListeForm& pane, const std::wstring& caption) {
    SetForegroundWindow(pane.Dateiliste.Handle());
    const POINT from = RowPoint(pane, caption);
    gui::MouseDrag(from, {from.x + 60, from.y + 40});
}

void RemoveProbes(const std::wstring& folder) {
    for (int n = 0; n < 120; ++n) DeleteFileW((folder + L"probe" + std::to_wstring(n) + L".txt").c_str());
}

// Calls one function in the GUI thread through Synchronize, as the folder
// monitor's worker does.
class TMelder : public gui::TThread {
public:
    explicit TMelder(std::function<void()> call) : m_call(std::move(call)) {}
    ~TMelder() override { StopAndWait(); }

protected:
    void Execute() override { Synchronize(m_call); }

private:
    std::function<void()> m_call;
};

struct Ordnerinhalt {
    TTempFolder folder{L"dlfenster"};
    Ordnerinhalt() {
        for (const wchar_t* name : {L"m.txt", L"b.txt", L"z.txt", L"a.dat", L"k.txt"}) folder.MakeFile(name, 10);
        folder.MakeFile(L"gross.bin", 2048);
        CreateDirectoryW((folder.Path() + L"Zweiter").c_str(), nullptr);
        CreateDirectoryW((folder.Path() + L"erster").c_str(), nullptr);
    }
    std::wstring Path() const { return folder.Path(); }
};

}  // namespace

TEST_F(DateiListeTest, ADriveRootHasNoParentRowAFolderBelowItHasItFirst) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(L"C:\\");
    ASSERT_GT(pane.Dateiliste.Count(), 0);
    EXPECT_FALSE(HasParentRow(pane));
    EXPECT_EQ(pane.GetDirectory(), L"C:\\");

    pane.SetDirectory(inhalt.Path());
    const std::vector<std::wstring> ascending{L"[ .. ]", L"erster", L"Zweiter", L"a.dat", L"b.txt",
                                              L"gross.bin", L"k.txt", L"m.txt", L"z.txt"};
    EXPECT_EQ(Captions(pane), ascending);
    EXPECT_EQ(pane.Caption(), SystemLower(inhalt.Path()));
    pane.SetSortOrder(0);  // name again: descending
    EXPECT_EQ(pane.GetSortOrder(), 1);
    EXPECT_EQ(Captions(pane), (std::vector<std::wstring>{L"[ .. ]", L"Zweiter", L"erster", L"z.txt", L"m.txt",
                                                         L"k.txt", L"gross.bin", L"b.txt", L"a.dat"}));
    EXPECT_TRUE(m_host.Contains(L"CheckSortMenu 1"));
}

TEST_F(DateiListeTest, UnsortedKeepsTheEnumerationOrder) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    auto options = StandardOptionen(2);
    options.Sortierung = 10;
    pane.ApplyOptions(options);
    pane.SetDirectory(inhalt.Path());
    auto captions = Captions(pane);
    ASSERT_EQ(captions.front(), L"[ .. ]");
    captions.erase(captions.begin());
    EXPECT_EQ(captions, ShellOrder(inhalt.Path()));
}

TEST_F(DateiListeTest, FoldersAreEnclosedAndNamesCasedAsTheOptionsSay) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    auto options = StandardOptionen(2);
    options.VSchreibweise = 0;
    options.VEinfassen = true;
    options.VEinfZeichen = L"<>";
    options.DateiSchreibweise = 0;
    pane.ApplyOptions(options);
    pane.SetDirectory(inhalt.Path());
    const auto captions = Captions(pane);
    EXPECT_EQ(std::vector<std::wstring>(captions.begin(), captions.begin() + 4),
              (std::vector<std::wstring>{L"[ .. ]", L"<ERSTER>", L"<ZWEITER>", L"A.DAT"}));
}

TEST_F(DateiListeTest, AFileCreatedFromOutsideAppears) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    ASSERT_TRUE(MonitorWatches(pane, inhalt.Path()));
    inhalt.folder.MakeFile(L"neu.txt");
    EXPECT_TRUE(ErscheintMitDerNaechstenMeldung(inhalt.Path(), [&] { return RowOf(pane, L"neu.txt") >= 0; }));
}

// Wine tells a removal only when its monitor is armed at that moment, which no
// test can know (see above): the monitor's report is given here by hand.
TEST_F(DateiListeTest, RemovingTheShownFolderMovesThePaneToTheDriveRoot) {
    Ordnerinhalt inhalt;
    const std::wstring shown = inhalt.Path() + L"weg\\";
    CreateDirectoryW(shown.c_str(), nullptr);
    for (const wchar_t* name : {L"1.txt", L"2.txt"})
        CloseHandle(CreateFileW((shown + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    auto& pane = Pane();
    pane.SetDirectory(shown);
    ASSERT_EQ(pane.Dateiliste.Count(), 3);
    // Under Wine a folder some handle still holds cannot be removed (the
    // pane's file-data reader while it reads) or is removed only when that
    // handle closes (the monitor's, when it stops watching).
    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.Leser() || pane.Leser()->Finished(); }, 30000));
    DeleteFileW((shown + L"1.txt").c_str());
    DeleteFileW((shown + L"2.txt").c_str());
    ASSERT_TRUE(RemoveDirectoryW(shown.c_str()));
    pane.DiscMonitor.Close();
    ASSERT_TRUE(gui::WaitUntil([&] { return GetFileAttributesW(shown.c_str()) == INVALID_FILE_ATTRIBUTES; }, 10000));
    pane.DiscMonitorChange(&pane.DiscMonitor);
    EXPECT_EQ(pane.GetDirectory(), shown.substr(0, 1) + L":\\");
    EXPECT_FALSE(HasParentRow(pane));
}

TEST_F(DateiListeTest, NotificationsAreIgnoredWhileAFileOperationRuns) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    inhalt.folder.MakeFile(L"waehrend.txt");
    DateiOperationLaeuft = true;
    pane.DiscMonitorChange(&pane.DiscMonitor);
    EXPECT_EQ(RowOf(pane, L"waehrend.txt"), -1);
    DateiOperationLaeuft = false;
    pane.DiscMonitorChange(&pane.DiscMonitor);
    EXPECT_GE(RowOf(pane, L"waehrend.txt"), 0);
}

TEST_F(DateiListeTest, ThePendingNameIsFocusedOnceAndTheFlagCleared) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    NachLesenFokussieren = true;
    NachLesenFokusName = L"ZWEITER";
    pane.SetDirectory(inhalt.Path());
    EXPECT_FALSE(NachLesenFokussieren);
    ASSERT_NE(pane.Dateiliste.ItemFocused(), nullptr);
    EXPECT_EQ(pane.Dateiliste.ItemFocused()->Caption(), L"Zweiter");
    EXPECT_EQ(pane.Dateiliste.SelCount(), 1);

    pane.ReadContents();
    pane.SetDirectory(inhalt.Path());
    ASSERT_NE(pane.Dateiliste.ItemFocused(), nullptr);
    EXPECT_EQ(pane.Dateiliste.ItemFocused()->Index(), 0);

    NachLesenFokussieren = true;
    NachLesenFokusName = L"gibt es nicht";
    pane.SetDirectory(inhalt.Path());
    EXPECT_FALSE(NachLesenFokussieren);
    EXPECT_EQ(pane.Dateiliste.ItemFocused(), nullptr);
}

TEST_F(DateiListeTest, TwoPanesSortAndGiveShellItemsThroughTheirOwnFolders) {
    Ordnerinhalt eins, zwei;
    zwei.folder.MakeFile(L"nur zwei.txt");
    auto& left = Pane();
    auto& right = Pane(ftAusfDateiliste);
    left.SetDirectory(eins.Path());
    right.SetDirectory(zwei.Path());
    right.SetSortOrder(2);  // size ascending
    EXPECT_EQ(right.Dateiliste.Items(right.Dateiliste.Count() - 1)->Caption(), L"gross.bin");

    for (auto* pane : {&left, &right}) {
        Mark(*pane, {L"b.txt"});
        IShellFolder* folder = nullptr;
        PITEMID_CHILD pidl = nullptr;
        SFGAOF attr = 0;
        pane->GetSelectedShellItem(folder, pidl, attr);
        ASSERT_NE(folder, nullptr);
        std::wstring path;
        ASSERT_TRUE(PidlAnzeigename(folder, pidl, SHGDN_FORPARSING, path));
        EXPECT_EQ(SystemLower(path), SystemLower(pane->GetDirectory() + L"b.txt"));
        EXPECT_TRUE(attr & kSfgaoDateisystem);
    }
    IShellFolder *a = nullptr, *b = nullptr;
    PITEMID_CHILD pa, pb;
    SFGAOF attr;
    left.GetSelectedShellItem(a, pa, attr);
    right.GetSelectedShellItem(b, pb, attr);
    EXPECT_NE(a, b);
    Mark(left, {});
    left.GetSelectedShellItem(a, pa, attr);
    EXPECT_EQ(a, nullptr);
    EXPECT_EQ(pa, nullptr);
}

TEST_F(DateiListeTest, TheDesktopAndTheRecycleBin) {
    TComPtr<IShellFolder> desktop;
    SHGetDesktopFolder(desktop.Put());
    LPITEMIDLIST bin = nullptr;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &bin)));
    TPidl binPidl(bin);
    ASSERT_TRUE(PidlAnzeigename(desktop.Get(), bin, SHGDN_NORMAL, m_host.BinName));
    TComPtr<IShellFolder> parent;
    LPCITEMIDLIST last;
    ASSERT_TRUE(SUCCEEDED(SHBindToParent(bin, IID_IShellFolder, parent.PutVoid(), &last)));
    m_host.BinAttributes = kDLAttributMaske;
    parent->GetAttributesOf(1, &last, &m_host.BinAttributes);

    auto& pane = Pane();
    pane.ShowVirtualFolder(bin);
    EXPECT_TRUE(pane.ShowsRecycleBin());
    EXPECT_EQ(pane.Caption(), L"[" + m_host.BinName + L"]");
    EXPECT_EQ(pane.GetDirectory(), L"");
    EXPECT_FALSE(HasParentRow(pane));

    wchar_t path[MAX_PATH];
    SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
    const std::wstring file = IncludeTrailingBackslash(path) + L"auf dem desktop.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    pane.ShowVirtualFolder(nullptr);
    DeleteFileW(file.c_str());  // the row keeps its ID list, which is all that is asked below
    EXPECT_FALSE(pane.ShowsRecycleBin());
    // Names there are display names: a file goes out by the path of its ID list.
    int onDesktop = -1;
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        if (StartsWith(Row(pane, i).Name, L"auf dem desktop"))
            onDesktop = i;
    ASSERT_GE(onDesktop, 0);
    Mark(pane, {});
    pane.Dateiliste.Items(onDesktop)->SetSelected(true);
    TDateiListe selection;
    pane.GetSelection(selection);
    ASSERT_EQ(selection.size(), 1u);
    EXPECT_EQ(SystemLower(selection[0]->Name), SystemLower(file));
    DragRow(pane, pane.Dateiliste.Items(onDesktop)->Caption());
    ASSERT_EQ(m_host.Dragged.size(), 1u);
    EXPECT_EQ(SystemLower(m_host.Dragged[0]), SystemLower(file));
    EXPECT_TRUE(EndsWith(pane.Caption(), L" (" + std::wstring(path) + L")]")) << pane.Caption();
    EXPECT_TRUE(StartsWith(pane.Caption(), L"["));
    // The desktop holds "My Computer": a folder without a path opens through its ID list.
    ASSERT_GT(pane.Dateiliste.Count(), 0);
    int virtualFolder = -1;
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        if ((Row(pane, i).ShellAttr & kSfgaoOrdner) && !(Row(pane, i).ShellAttr & kSfgaoDateisystem))
            virtualFolder = i;
    ASSERT_GE(virtualFolder, 0);
    Mark(pane, {});
    pane.Dateiliste.Items(virtualFolder)->SetSelected(true);
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"SyncPanes");
}

TEST_F(DateiListeTest, DoubleClickOpensByKind) {
    Ordnerinhalt inhalt;
    inhalt.folder.MakeFile(L"paket.zip", 22);
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    Mark(pane, {L"b.txt"});
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"OpenFile " + inhalt.Path() + L"b.txt");
    Mark(pane, {L"erster"});
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"ShowDirectory " + inhalt.Path() + L"erster");
    Mark(pane, {L".."});
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"GoToParentDir");
    Mark(pane, {L"paket.zip"});
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"OpenFile " + inhalt.Path() + L"paket.zip");
    m_host.ArchiveInPane = true;
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls.back(), L"PaneDirChanged " + inhalt.Path() + L"paket.zip");
    // Several rows: every file in turn, folders and ".." left alone.
    m_host.Calls.clear();
    Mark(pane, {L"..", L"erster", L"a.dat", L"paket.zip"});
    pane.OpenSelected();
    EXPECT_EQ(m_host.Calls, (std::vector<std::wstring>{L"OpenFile " + inhalt.Path() + L"a.dat",
                                                      L"OpenFile " + inhalt.Path() + L"paket.zip"}));
}

TEST_F(DateiListeTest, KeysGoWhereTheyBelong) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    SetForegroundWindow(pane.Dateiliste.Handle());
    pane.Dateiliste.SetFocus();
    ASSERT_EQ(GetFocus(), pane.Dateiliste.Handle());
    auto Heard = [&] {
        std::wstring all;
        for (const auto& call : m_host.Calls) all += call + L"; ";
        return all;
    };
    // Every key goes down to the main window; its release to the pane or the
    // main window: the host hears Expected and not Other.
    auto press = [&](WORD key, gui::TShiftState shift, const std::wstring& expected, const std::wstring& other) {
        m_host.Calls.clear();
        gui::PressKey(key, shift);
        gui::WaitUntil([&] { return m_host.Contains(expected); }, 2000);
        return m_host.Contains(expected) && !m_host.Contains(other)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << "the host heard: " << ToUtf8(Heard());
    };
    EXPECT_TRUE(press(VK_F4, gui::ssCtrl, L"PaneKeyUp 115", L"FormKeyUp 115"));
    EXPECT_TRUE(press(VK_F6, gui::ssCtrl | gui::ssShift, L"PaneKeyUp 117", L"FormKeyUp 117"));
    EXPECT_TRUE(press(VK_F4, 0, L"FormKeyUp 115", L"PaneKeyUp 115"));
    EXPECT_TRUE(press(VK_DELETE, 0, L"PaneKeyDown 46", L"FormKeyUp 46"));
    EXPECT_TRUE(press(VK_DELETE, gui::ssShift, L"FormKeyUp 46", L"PaneKeyDown 46"));
    EXPECT_TRUE(press(VK_TAB, gui::ssCtrl, L"FormKeyUp 9", L"PaneKeyDown 9"));
    EXPECT_TRUE(press(VK_BACK, 0, L"GoToParentDir", L"PaneKeyDown 8"));
    // A letter goes to the main window on its way down.
    m_host.Calls.clear();
    gui::PressKey('A', 0);
    EXPECT_TRUE(gui::WaitUntil([&] { return m_host.Contains(L"FormKeyDown 65"); }, 2000));
    EXPECT_TRUE(press(VK_TAB, gui::ssShift, L"PaneKeyDown 9", L"FormKeyUp 9"));
}

TEST_F(DateiListeTest, SelectionsHandOutFullPathsWithoutTheParentRow) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    Mark(pane, {L"..", L"gross.bin", L"erster"});
    TDateiListe list;
    pane.GetSelection(list);
    ASSERT_EQ(list.size(), 2u);
    std::sort(list.begin(), list.end(), [](auto& a, auto& b) { return a->Name < b->Name; });
    EXPECT_EQ(list[0]->Name, inhalt.Path() + L"erster");
    EXPECT_TRUE(list[0]->Attr & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(list[1]->Name, inhalt.Path() + L"gross.bin");
    EXPECT_EQ(list[1]->Size, 2048);

    TDateiListe all;
    pane.GetAllEntries(all);
    EXPECT_EQ(all.size(), 8u);

    // Only plain files and folders are dragged, by their full paths.
    DragRow(pane, L"gross.bin");
    EXPECT_EQ(std::count(m_host.Calls.begin(), m_host.Calls.end(), L"StartDrag"), 1);
    std::sort(m_host.Dragged.begin(), m_host.Dragged.end());
    EXPECT_EQ(m_host.Dragged, (std::vector<std::wstring>{inhalt.Path() + L"erster", inhalt.Path() + L"gross.bin"}));
}

TEST_F(DateiListeTest, GroupMarkingAndFolderComparison) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    pane.SelectGroup(TStringList{L"*.TXT"}, false, L"", L"", false, L"", 0, true, true, true, true);
    EXPECT_EQ(pane.Dateiliste.SelCount(), 4);
    pane.SelectGroup(TStringList{}, false, L"", L"", false, L"", 0, true, true, true, true);
    EXPECT_EQ(pane.Dateiliste.SelCount(), 4);  // no masks: nothing changes

    TDateiListe other;
    other.push_back(std::make_unique<TEineDatei>());
    other.back()->Name = L"d:\\anders\\B.TXT";
    other.back()->Time = 1.0;  // 1899: older than every file here
    other.push_back(std::make_unique<TEineDatei>());
    other.back()->Name = L"d:\\anders\\m.txt";
    other.back()->Time = 1e6;  // far in the future
    // Every file but m.txt: five files missing there, b.txt older there.
    EXPECT_EQ(pane.MarkDifferences(other), 5);
    EXPECT_FALSE(pane.Dateiliste.Items(RowOf(pane, L"m.txt"))->Selected());
    EXPECT_FALSE(pane.Dateiliste.Items(RowOf(pane, L"erster"))->Selected());
    EXPECT_EQ(other.size(), 2u);
}

TEST_F(DateiListeTest, ReportRowsGetTheirTextsWhenShown) {
    Ordnerinhalt inhalt;
    auto& pane = Pane(ftAusfDateiliste);
    pane.SetDirectory(inhalt.Path());
    const int row = RowOf(pane, L"gross.bin");
    ASSERT_GE(row, 0);
    // Columns: Datei, Typ, Größe, Datum, Attr., DOS-Name.
    wchar_t text[80] = L"";
    ListView_GetItemText(pane.Dateiliste.Handle(), row, 2, text, 80);
    EXPECT_STREQ(text, L"2 KB");
    ListView_GetItemText(pane.Dateiliste.Handle(), row, 4, text, 80);
    EXPECT_STREQ(text, L"a---");
    ListView_GetItemText(pane.Dateiliste.Handle(), RowOf(pane, L"erster"), 2, text, 80);
    EXPECT_STREQ(text, L"");
    EXPECT_TRUE(Row(pane, row).TexteGebaut);
}

static LRESULT CALLBACK CountInserts(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR inserts) {
    if (m == LVM_INSERTITEMW)
        ++*reinterpret_cast<int*>(inserts);
    return DefSubclassProc(w, m, wp, lp);
}

// The list window holds only the number of rows, so that no folder costs a
// message per row to fill or to empty; the drop highlight over a row is kept
// by its item and drawn from there.
TEST_F(DateiListeTest, TheListWindowHoldsNoRowsAndDrawsTheDropMarkFromTheItem) {
    Ordnerinhalt inhalt;
    auto& pane = Pane(ftAusfDateiliste);
    HWND list = pane.Dateiliste.Handle();
    int inserts = 0;
    SetWindowSubclass(list, CountInserts, 1, reinterpret_cast<DWORD_PTR>(&inserts));
    pane.SetDirectory(inhalt.Path());
    pane.ReadContents();
    RemoveWindowSubclass(list, CountInserts, 1);
    EXPECT_EQ(inserts, 0);
    EXPECT_EQ(ListView_GetItemCount(list), pane.Dateiliste.Count());

    const int row = RowOf(pane, L"gross.bin");
    ASSERT_GE(row, 0);
    gui::TListItem* item = pane.Dateiliste.Items(row);
    item->SetDropTarget(true);
    EXPECT_EQ(pane.Dateiliste.DropTarget(), item);
    EXPECT_EQ(ListView_GetItemState(list, row, LVIS_DROPHILITED), static_cast<UINT>(LVIS_DROPHILITED));
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_LABEL);
    EXPECT_EQ(pane.Dateiliste.GetItemAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), item);
    item->SetDropTarget(false);
    EXPECT_EQ(pane.Dateiliste.DropTarget(), nullptr);
    EXPECT_EQ(ListView_GetItemState(list, row, LVIS_DROPHILITED), 0u);
}

TEST_F(DateiListeTest, TheStatusLineCountsTheMarkedRows) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    Mark(pane, {L"gross.bin", L"b.txt"});
    pane.UpdateStatusLine();
    ASSERT_EQ(pane.DLStatusZeile.PanelCount(), 2);
    EXPECT_EQ(pane.DLStatusZeile.Panel(0).Text, L"2 Dateien/ Verzeichnisse markiert");
    EXPECT_EQ(pane.DLStatusZeile.Panel(1).Text, L"2.01 KBytes");
    Mark(pane, {L"gross.bin"});
    pane.UpdateStatusLine();
    ASSERT_EQ(pane.DLStatusZeile.PanelCount(), 4);
    EXPECT_EQ(pane.DLStatusZeile.Panel(0).Text, L"gross.bin");
    EXPECT_EQ(pane.DLStatusZeile.Panel(1).Text, L"2.00 KB");
    Mark(pane, {L"erster"});
    pane.UpdateStatusLine();
    EXPECT_EQ(pane.DLStatusZeile.Panel(1).Text, L"Verzeichnis");
    EXPECT_EQ(m_host.Calls.back(), L"QuickView " + inhalt.Path() + L"erster\\");
}

// One listing of a real folder per read gives every entry its file data and
// the folder's totals; a shell item is made only for an action that needs it.
TEST_F(DateiListeTest, ARealFolderIsListedOncePerReadAndItsShellItemsMadeOnDemand) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    std::atomic<int> listings{0};
    OrdnerLeseHook = [&](const std::wstring& folder) {
        if (SystemLower(IncludeTrailingBackslash(folder)) == SystemLower(inhalt.Path()))
            ++listings;
    };
    for (int step = 0; step < 2; ++step) {
        listings = 0;
        if (step == 0)
            pane.SetDirectory(inhalt.Path());
        else
            pane.ReadContents();
        if (pane.Leser())
            pane.Leser()->WaitFor();
        EXPECT_EQ(listings, 1) << step;
    }
    OrdnerLeseHook = nullptr;
    ASSERT_EQ(pane.Eintraege().size(), 8u);
    for (const auto& entry : pane.Eintraege()) {
        EXPECT_TRUE(entry->DatenGeladen) << entry->Name;
        EXPECT_FALSE(entry->RelPidl) << entry->Name;
    }
    std::int64_t count = 0, bytes = 0;
    ASSERT_TRUE(pane.FolderTotals(AsciiUpper(ExcludeTrailingBackslash(inhalt.Path())), count, bytes));
    EXPECT_EQ(count, 8);
    EXPECT_EQ(bytes, 5 * 10 + 2048);

    Mark(pane, {L"b.txt"});
    IShellFolder* folder = nullptr;
    PITEMID_CHILD item = nullptr;
    SFGAOF attributes = 0;
    pane.GetSelectedShellItem(folder, item, attributes);
    ASSERT_NE(item, nullptr);
    std::wstring parsing;
    ASSERT_TRUE(PidlAnzeigename(folder, item, SHGDN_FORPARSING, parsing));
    EXPECT_EQ(SystemLower(parsing), SystemLower(inhalt.Path() + L"b.txt")) << ToUtf8(parsing);
    EXPECT_EQ(attributes & (kSfgaoOrdner | kSfgaoDateisystem), static_cast<SFGAOF>(kSfgaoDateisystem));
}

TEST_F(DateiListeTest, OneReaderAtATimeItsPredecessorHasEndedBeforeANewOneStarts) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    auto ended = [](HANDLE thread) { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; };
    for (int step = 0; step < 3; ++step) {
        ASSERT_NE(pane.Leser(), nullptr);
        HANDLE previous = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), pane.Leser()->Handle(), GetCurrentProcess(), &previous,
                                    SYNCHRONIZE, FALSE, 0));
        if (step == 0)
            pane.FillList();
        else if (step == 1)
            pane.ReadContents();
        else
            pane.SetFilter(StandardOptionen(2).Filter);
        EXPECT_TRUE(ended(previous)) << step;
        CloseHandle(previous);
    }
    // Every entry's data arrive once the last reader is through.
    pane.Leser()->WaitFor();
    for (const auto& entry : pane.Eintraege()) EXPECT_TRUE(entry->DatenGeladen) << entry->Name;
}

// Waiting for a running reader serves queued calls: a monitor report that comes
// then must not read the folder under the running read or fill, and is not lost.
// (A reader that has ended is not waited for; the report then comes after.)
TEST_F(DateiListeTest, AReportWhileWaitingForTheReaderWaitsForTheReadOrFill) {
    Ordnerinhalt inhalt;
    auto& pane = Pane();
    pane.SetDirectory(inhalt.Path());
    // Only this test's reports: the monitor is off, and what it queued is served.
    pane.DiscMonitor.SetActive(false);
    gui::Application->ProcessMessages();
    for (int step = 0; step < 2; ++step) {
        const std::wstring name = L"spaet" + std::to_wstring(step) + L".txt";
        inhalt.folder.MakeFile(name);
        TMelder report([&] { pane.DiscMonitorChange(&pane.DiscMonitor); });
        report.Resume();
        // The report is queued, not served: no message is served until the wait.
        ASSERT_EQ(WaitForSingleObject(gui::Application->SyncEvent(), 5000), WAIT_OBJECT_0);
        ASSERT_NE(pane.Leser(), nullptr);
        if (step == 0)
            pane.ReadContents();
        else
            pane.FillList();
        EXPECT_TRUE(gui::WaitUntil([&] { return RowOf(pane, name) >= 0; })) << step;
        report.WaitFor();
    }
    pane.Leser()->WaitFor();
    for (const auto& entry : pane.Eintraege()) EXPECT_TRUE(entry->DatenGeladen) << entry->Name;
}
