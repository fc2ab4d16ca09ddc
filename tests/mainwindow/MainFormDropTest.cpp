// Drops on the panes and the basket, and drags out of an archive pane, on the
// real window and panes: each pane's drop target is called as the system's drag
// loop calls it, and a script stands in for the drag loop of a drag the program
// starts (it drops where a user would and answers with the effect).

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ArchiveScratch.h"
#include "MainWindowFixture.h"
#include "archive/operations/StoredZip.h"
#include "archive/operations/ZipLib32.h"
#include "foundation/ComPtr.h"
#include "filetools/FileRoutinesTestSupport.h"
#include "foundation/TestFiles.h"
#include "panes/DateiListe.h"
#include "panes/Vbaum.h"
#include "panes/ZipView.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::test {
namespace {

using namespace gui;
constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

TComPtr<IDataObject> Dragged(const TStringList& names) {
    return TComPtr<IDataObject>(NewDragDataObject(std::make_shared<TStringList>(names), CF_HDROP));
}

// The effect a drop target answers over Pt, the drag left again.
DWORD Over(THEOleDropTarget& target, IDataObject* data, DWORD keys, POINT pt, DWORD allowed = kAll) {
    IDropTarget* object = target.DropTargetObject();
    DWORD effect = allowed;
    object->DragEnter(data, keys | MK_LBUTTON, POINTL{pt.x, pt.y}, &effect);
    object->DragLeave();
    return effect;
}

DWORD DropAt(THEOleDropTarget& target, IDataObject* data, DWORD keys, POINT pt, DWORD allowed = kAll) {
    IDropTarget* object = target.DropTargetObject();
    DWORD effect = allowed;
    object->DragEnter(data, keys | MK_LBUTTON, POINTL{pt.x, pt.y}, &effect);
    effect = allowed;
    object->Drop(data, keys, POINTL{pt.x, pt.y}, &effect);
    return effect;
}

POINT RowPoint(TListView& list, int row) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(list.Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(list.Handle(), &pt);
    return pt;
}

// A point of the list below its last row.
POINT FreePoint(TListView& list) {
    RECT r{};
    GetClientRect(list.Handle(), &r);
    POINT pt{r.right - 4, r.bottom - 4};
    ClientToScreen(list.Handle(), &pt);
    return pt;
}

// Answers the shell's own confirmation boxes of this thread with Yes while it lives.
class TShellConfirmYes {
public:
    TShellConfirmYes() {
        m_timer.SetInterval(50);
        m_timer.OnTimer = [this](TObject*) {
            EnumThreadWindows(GetCurrentThreadId(), AnswerYes, reinterpret_cast<LPARAM>(&Answered));
        };
        m_timer.SetEnabled(true);
    }
    int Answered = 0;

private:
    // A callback of the system: stdcall in the 32-bit build, so no lambda.
    static BOOL CALLBACK AnswerYes(HWND Window, LPARAM Seen) {
        wchar_t cls[16] = {};
        GetClassNameW(Window, cls, 16);
        if (IsWindowVisible(Window) && std::wstring(cls) == L"#32770") {
            PostMessageW(Window, WM_COMMAND, IDYES, 0);
            ++*reinterpret_cast<int*>(Seen);
        }
        return TRUE;
    }
    TTimer m_timer{nullptr};
};

class PaneDrops : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    void SetUp() override {
        MainWindowTest::SetUp();
        RegDeleteUserKey(ProgrammSchluessel, L"AddArcDlg");
    }
    THauptform& StartZip() {
        THauptform& form = Start();
        form.Settings->Arc.UseInternZip = form.Settings->Arc.UseInternUnZip = true;
        form.ApplyArchiverSettings();
        return form;
    }
    TDateiListeForm& FileList(THauptform& form, int side, const std::wstring& folder) {
        form.ShowPaneKind(side, ftDateiliste);
        Application->ProcessMessages();
        auto* pane = dynamic_cast<TDateiListeForm*>(side == 0 ? form.LeftPane : form.RightPane);
        EXPECT_NE(pane, nullptr);
        form.ShowDirectory(pane, folder);
        Application->ProcessMessages();
        return *pane;
    }
    TZipViewForm& ArchivePane(THauptform& form, const std::wstring& archive) {
        EXPECT_TRUE(form.OpenPathInPane(1, archive));
        auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
        EXPECT_NE(pane, nullptr);
        Application->ProcessMessages();
        return *pane;
    }
    POINT FileRow(TDateiListeForm& pane, const std::wstring& name) {
        pane.SelectFile(name);
        TListItem* row = pane.Dateiliste.ItemFocused();
        EXPECT_NE(row, nullptr) << ToUtf8(name);
        return row ? RowPoint(pane.Dateiliste, row->Index()) : POINT{};
    }
    std::vector<std::wstring> Entries(THauptform& form, const std::wstring& archive) {
        std::wstring name = archive;
        TArchivDaten daten;
        TDateiListe list;
        form.ZipRoutinen->OpenArchive(ftZip, name, daten, list);
        std::vector<std::wstring> names;
        for (const auto& record : list) names.push_back(SystemLower(record->Name));
        return names;
    }
};

TEST_F(PaneDrops, FileListRowsTakeDropsByKindOfRowAndKey) {
    TTempFolder folder(L"dropliste");
    TTempFolder quelle(L"dropquelle");
    ASSERT_TRUE(CreateDirectoryW((folder.Path() + L"sub").c_str(), nullptr));
    folder.MakeFile(L"plain.txt", 3);
    const std::wstring zip = folder.Path() + L"pack.zip";
    {
        TScratchFiles none(L"dropzip");
        CopyFileW(none.Write(StoredZip({{"old.txt", "o"}}), L"p.zip").c_str(), zip.c_str(), FALSE);
    }
    const std::wstring file = quelle.MakeFile(L"neu.txt", 5);
    THauptform& form = StartZip();
    TDateiListeForm& pane = FileList(form, 0, folder.Path());
    auto data = Dragged({file});
    ASSERT_NE(pane.DropTarget, nullptr);
    THEOleDropTarget& target = *pane.DropTarget;

    const POINT sub = FileRow(pane, L"sub");
    EXPECT_EQ(Over(target, data.Get(), 0, sub), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(Over(target, data.Get(), MK_CONTROL, sub), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(Over(target, data.Get(), MK_SHIFT, sub), DWORD(DROPEFFECT_LINK));
    EXPECT_EQ(Over(target, data.Get(), MK_CONTROL, sub, DROPEFFECT_COPY), DWORD(DROPEFFECT_NONE))
        << "never an effect the source does not allow";
    EXPECT_EQ(Over(target, data.Get(), 0, FileRow(pane, L"plain.txt")), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Over(target, data.Get(), 0, FileRow(pane, L"pack.zip")), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(Over(target, data.Get(), 0, FreePoint(pane.Dateiliste)), DWORD(DROPEFFECT_COPY));

    // Entries of an archive: Shift counts as no key, archive rows take nothing.
    form.Drag.FromArchive = true;
    form.Drag.Folder = L"c:\\anderes.zip";
    EXPECT_EQ(Over(target, data.Get(), MK_SHIFT, sub), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(Over(target, data.Get(), 0, FileRow(pane, L"pack.zip")), DWORD(DROPEFFECT_NONE));
    form.Drag = THauptform::TDragZustand{};

    // A file dropped on the ZIP row goes into that archive.
    form.Settings->DragDrop.ArcDlgZeigen = false;
    form.Settings->ArcDragDrop.DosDateiNamenBenutzen = false;
    EXPECT_EQ(DropAt(target, data.Get(), 0, FileRow(pane, L"pack.zip")), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(Entries(form, zip), (std::vector<std::wstring>{L"neu.txt", L"old.txt"}));
    EXPECT_TRUE(FileExists(file));
}

// The zip library's entry as the archive routines call it: its arguments are
// kept, then the real library runs them.
std::vector<std::vector<std::string>> g_zipCalls;
archive::TZlEntryFunction g_realZip = nullptr;
int __stdcall RecordingZip(int Version, int Count, char** Args, int(__stdcall* Callback)(int, void*, void*),
                           void* User) {
    g_zipCalls.emplace_back(Args, Args + Count);
    return g_realZip(Version, Count, Args, Callback, User);
}

// The add options of the last call: mode, level, move, recursion, no paths.
std::string AddFlags() {
    std::string flags;
    if (g_zipCalls.empty()) return flags;
    for (const std::string& arg : g_zipCalls.back())
        if (arg.size() == 2 && arg[0] == '-' && std::strchr("0123456789fumrj", arg[1]))
            flags += (flags.empty() ? "" : " ") + arg;
    return flags;
}

// With the add dialog off, the drag-and-drop settings go straight to the add:
// the level of each compression choice, update and freshen, stored paths,
// subfolders, a move; a dropped short name goes in under its long name.
TEST_F(PaneDrops, AFileDroppedOnAZipRowIsAddedAsTheSettingsSay) {
    TTempFolder folder(L"dropstufen");
    TTempFolder quelle(L"dropstufenq");
    const std::wstring zip = folder.Path() + L"pack.zip";
    {
        TScratchFiles none(L"dropstufenzip");
        CopyFileW(none.Write(StoredZip({{"old.txt", "o"}}), L"p.zip").c_str(), zip.c_str(), FALSE);
    }
    THauptform& form = StartZip();
    g_realZip = reinterpret_cast<archive::TZlEntryFunction>(GetProcAddress(LoadLibraryW(L"ZLZIP32.DLL"), "zlzip"));
    ASSERT_NE(g_realZip, nullptr);
    form.XZip->SetEntries(&RecordingZip, nullptr);
    TDateiListeForm& pane = FileList(form, 0, folder.Path());
    form.Settings->DragDrop.ArcDlgZeigen = false;
    TArcDragDropEinstellungen& s = form.Settings->ArcDragDrop;
    s.DosDateiNamenBenutzen = false;
    struct {
        std::uint8_t methode;
        bool paths, subfolders, update, freshen, move, shortName;
        std::string flags;
        std::wstring entry;  // "" when nothing may be added
    } rows[] = {
        {0, false, false, false, false, false, false, "-9 -j", L"neu0.txt"},
        {1, true, true, false, false, false, false, "-8 -r", L"neu1.txt"},
        {2, false, false, true, false, true, false, "-u -6 -m -j", L"neu2.txt"},
        {3, false, false, false, true, false, false, "-f -3 -j", L""},
        {4, false, false, false, false, false, true, "-1 -j", L"langer name 4.txt"},
        {5, false, false, false, false, false, false, "-0 -j", L"neu5.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "compression choice " << int(row.methode));
        s.Methode = row.methode;
        s.PfadeSpeichern = row.paths;
        s.Unterverzeichnisse = row.subfolders;
        s.NurWennAktueller = row.update;
        s.NurWennAktuellerUndVorhanden = row.freshen;
        const std::wstring file =
            quelle.MakeFile(row.shortName ? L"Langer Name 4.txt" : L"neu" + std::to_wstring(row.methode) + L".txt", 9);
        const std::wstring dropped = row.shortName ? ShortPathName(file) : file;
        if (row.shortName) {
            ASSERT_NE(SystemLower(dropped), SystemLower(file)) << "Wine gives a hashed short name";
        }
        auto data = Dragged({dropped});
        g_zipCalls.clear();
        DropAt(*pane.DropTarget, data.Get(), row.move ? MK_CONTROL : 0, FileRow(pane, L"pack.zip"));
        EXPECT_EQ(AddFlags(), row.flags);
        const std::vector<std::wstring> held = Entries(form, zip);
        const bool added = std::any_of(held.begin(), held.end(), [&](const std::wstring& e) {
            return !row.entry.empty() && (e == row.entry || (row.paths && e.ends_with(L"\\" + row.entry)));
        });
        EXPECT_EQ(added, !row.entry.empty()) << ToUtf8(held.back());
        EXPECT_EQ(FileExists(file), !row.move);
    }
    form.XZip->SetEntries(nullptr, nullptr);
}

// Bytes no packer makes smaller.
std::string Noise(size_t Size, unsigned Seed) {
    std::string data(Size, '\0');
    for (char& c : data) {
        Seed = Seed * 1103515245u + 12345u;
        c = static_cast<char>(Seed >> 16);
    }
    return data;
}

// Every move onto the full 1 MiB drive s: of the fixture script, and into an
// archive whose packer runs out of room there, keeps what it could not finish
// where it was, whole, and says so.
TEST_F(PaneDrops, MovesThatCannotFinishLoseNothing) {
    const std::wstring reason = NoSmallDriveReason();
    if (!reason.empty()) GTEST_SKIP() << "no small drive s: " << ToUtf8(reason);
    const std::wstring voll = L"s:\\dropvoll\\";
    RemoveTree(voll);
    ASSERT_TRUE(CreateDirectoryW(voll.c_str(), nullptr));
    TTempFolder quelle(L"dropvollq");
    const std::string big = Noise(1536 * 1024, 1), half = Noise(600 * 1024, 2);
    const std::wstring file = quelle.Path() + L"gross.bin", ordner = quelle.Path() + L"ordner";
    const std::wstring archive = SystemLower(quelle.Path() + L"x.zip");
    ASSERT_TRUE(CreateDirectoryW(ordner.c_str(), nullptr));
    for (const auto& [path, bytes] : std::vector<std::pair<std::wstring, std::string>>{
             {file, big}, {ordner + L"\\a.bin", half}, {ordner + L"\\b.bin", half},
             {archive, StoredZip({{"klein.txt", "k"}, {"gross.bin", big}})}})
        ASSERT_TRUE(WriteFileBytes(path, bytes));
    const std::string archiveBytes = ReadAll(archive);
    const std::wstring small = voll + L"arc\\klein.zip";
    ASSERT_TRUE(CreateDirectoryW((voll + L"arc").c_str(), nullptr));
    {
        TScratchFiles none(L"dropvollzip");
        CopyFileW(none.Write(StoredZip({{"alt.txt", "a"}}), L"k.zip").c_str(), small.c_str(), FALSE);
    }
    const std::string smallBytes = ReadAll(small);

    THauptform& form = StartZip();
    form.Settings->DragDrop.VerschiebDlgZeigen = false;
    form.Settings->DragDrop.ArcDlgZeigen = false;
    form.Settings->ArcDragDrop.DosDateiNamenBenutzen = false;
    form.Settings->ArcDragDrop.DropPfadangaben = 0;
    form.Settings->ArcDragDrop.VerschiebenBestaetigen = false;
    TDateiListeForm& liste = FileList(form, 0, voll);
    auto boxes = [&] {
        std::vector<std::wstring> texts;
        for (const auto& call : m_boxes.Calls()) texts.push_back(call.Text);
        return texts;
    };

    // A folder and a file onto the drive: neither (1.2 and 1.5 MiB) fits.
    auto data = Dragged({ordner, file});
    DropAt(*liste.DropTarget, data.Get(), MK_CONTROL, FreePoint(liste.Dateiliste));
    EXPECT_EQ(ReadAll(file), big);
    EXPECT_EQ(ReadAll(ordner + L"\\a.bin"), half);
    EXPECT_EQ(ReadAll(ordner + L"\\b.bin"), half);
    EXPECT_FALSE(FileExists(voll + L"gross.bin")) << "no partial copy stays on the drive";
    EXPECT_EQ(boxes(), (std::vector<std::wstring>{L"Folgende Dateien wurden nicht verschoben:\r" + SystemLower(ordner) +
                                                 L"\r" + SystemLower(file)}));

    // Entries of an archive pane onto the drive.
    TZipViewForm& pane = ArchivePane(form, archive);
    form.RunDragLoop = [&](TDropSource& source) -> std::uint8_t {
        auto entries = Dragged(*source.DragValues);
        DropAt(*liste.DropTarget, entries.Get(), MK_CONTROL, FreePoint(liste.Dateiliste),
               DROPEFFECT_COPY | DROPEFFECT_MOVE);
        return 3;
    };
    pane.SelectAll();
    m_boxes.Clear();
    pane.Dateiliste.OnBeginDrag(&pane.Dateiliste, nullptr, POINT{});
    EXPECT_EQ(ReadAll(archive), archiveBytes);
    EXPECT_EQ(pane.Dateiliste.Count(), 2);
    EXPECT_EQ(boxes(), (std::vector<std::wstring>{L"Nicht genügend Speicher auf Datenträger für Extrahiervorgang."}));

    // The file onto an archive on the drive: the packer finds no room.
    for (const wchar_t* left : {L"klein.txt", L"gross.bin", L"ordner"}) RemoveTree(voll + left);
    form.ShowDirectory(&liste, voll + L"arc\\");
    Application->ProcessMessages();
    m_boxes.Clear();
    auto one = Dragged({file});
    DropAt(*liste.DropTarget, one.Get(), MK_CONTROL, FileRow(liste, L"klein.zip"));
    EXPECT_EQ(ReadAll(small), smallBytes);
    EXPECT_EQ(ReadAll(file), big);
    EXPECT_EQ(boxes(), (std::vector<std::wstring>{L"Nicht genügend Speicher auf Datenträger für Hinzufügen."}));
    RemoveTree(voll);
}

TEST_F(PaneDrops, TheArchivePaneRefusesEntriesOfAnArchiveAndAddsFiles) {
    TScratchFiles scratch(L"droparc");
    const std::wstring archive = SystemLower(scratch.Write(StoredZip({{"a.txt", "alpha"}}), L"docs.zip"));
    TTempFolder quelle(L"droparcq");
    const std::wstring file = quelle.MakeFile(L"c.txt", 4);
    THauptform& form = StartZip();
    form.Settings->DragDrop.ArcDlgZeigen = false;
    TZipViewForm& pane = ArchivePane(form, archive);
    auto data = Dragged({file});
    const POINT pt = FreePoint(pane.Dateiliste);
    EXPECT_EQ(Over(*pane.DropTarget, data.Get(), MK_SHIFT, pt), DWORD(DROPEFFECT_COPY));
    form.Drag.FromArchive = true;
    form.Drag.Folder = archive;
    EXPECT_EQ(Over(*pane.DropTarget, data.Get(), 0, pt), DWORD(DROPEFFECT_NONE));
    form.Drag = THauptform::TDragZustand{};
    EXPECT_EQ(DropAt(*pane.DropTarget, data.Get(), MK_CONTROL, pt), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(Entries(form, archive), (std::vector<std::wstring>{L"a.txt", L"c.txt"}));
    EXPECT_FALSE(FileExists(file)) << "moved into the archive";
    EXPECT_EQ(pane.Dateiliste.Count(), 2) << "the pane read the archive again";
}

TEST_F(PaneDrops, EntriesDraggedOntoAFileListAreExtractedAndWithCtrlRemoved) {
    TScratchFiles scratch(L"dropaus");
    const std::wstring archive =
        SystemLower(scratch.Write(StoredZip({{"a.txt", "alpha"}, {"dir/b.txt", "beta"}}), L"docs.zip"));
    TTempFolder ziel(L"dropziel");
    THauptform& form = StartZip();
    form.Settings->ArcDragDrop.DropPfadangaben = 2;
    form.Settings->ArcDragDrop.VerschiebenBestaetigen = false;
    TDateiListeForm& liste = FileList(form, 0, ziel.Path());
    TZipViewForm& pane = ArchivePane(form, archive);
    pane.SelectAll();
    DWORD keys = 0;
    TStringList offered;
    form.RunDragLoop = [&](TDropSource& source) -> std::uint8_t {
        offered = *source.DragValues;
        auto data = Dragged(*source.DragValues);
        const DWORD effect = DropAt(*liste.DropTarget, data.Get(), keys, FreePoint(liste.Dateiliste),
                                    DROPEFFECT_COPY | DROPEFFECT_MOVE);
        return effect == DROPEFFECT_MOVE ? 3 : effect == DROPEFFECT_COPY ? 2 : 1;
    };
    pane.Dateiliste.OnBeginDrag(&pane.Dateiliste, nullptr, POINT{});
    EXPECT_EQ(offered, (TStringList{L"dir\\*.*", L"a.txt"}));
    EXPECT_TRUE(FileExists(ziel.Path() + L"a.txt"));
    EXPECT_TRUE(FileExists(ziel.Path() + L"dir\\b.txt"));
    EXPECT_EQ(Entries(form, archive).size(), 2u) << "a copy keeps the entries";

    keys = MK_CONTROL;
    pane.SelectAll();
    pane.Dateiliste.OnBeginDrag(&pane.Dateiliste, nullptr, POINT{});
    EXPECT_TRUE(Entries(form, archive).empty());
    EXPECT_EQ(pane.Dateiliste.Count(), 0) << "the pane read the archive again";
    EXPECT_TRUE(form.Drag.Internal) << "the drag state is reset";
}

TEST_F(PaneDrops, ADropOnAnotherProgramExtractsFirstAndDeletesOnlyAfterItsMove) {
    TScratchFiles scratch(L"dropfremd");
    const std::wstring archive = SystemLower(scratch.Write(StoredZip({{"a.txt", "alpha"}, {"b.txt", "b"}}), L"x.zip"));
    THauptform& form = StartZip();
    form.Settings->ArcDragDrop.DropPfadangaben = 0;
    form.Settings->ArcDragDrop.VerschiebenBestaetigen = true;
    TZipViewForm& pane = ArchivePane(form, archive);

    // Busy with another archive operation: no drag starts.
    int loops = 0;
    form.RunDragLoop = [&](TDropSource&) -> std::uint8_t { return ++loops, 0; };
    form.ArchiveRunning = true;
    pane.SelectAll();
    pane.Dateiliste.OnBeginDrag(&pane.Dateiliste, nullptr, POINT{});
    EXPECT_EQ(loops, 0);
    form.ArchiveRunning = false;

    for (const bool takesAway : {false, true}) {
        TStringList delivered;
        form.RunDragLoop = [&](TDropSource& source) -> std::uint8_t {
            TStringList names = *source.DragValues;
            form.Drag.LeftWindow = true;  // the pointer went to the other program
            source.OnDrop(&source, names, DROPEFFECT_MOVE);
            delivered = names;
            // The other program reads the files; one that moves them takes them away.
            for (const std::wstring& name : names)
                if (takesAway) DeleteFileW(name.c_str());
            return 3;
        };
        if (takesAway) m_boxes.Answer(mrYes);
        pane.SelectAll();
        pane.Dateiliste.OnBeginDrag(&pane.Dateiliste, nullptr, POINT{});
        ASSERT_EQ(delivered.Count(), 2);
        EXPECT_EQ(SystemLower(ExtractFilePath(delivered[0])), SystemLower(form.ExtractFolder()));
        if (!takesAway) {
            EXPECT_TRUE(FileExists(delivered[0]));
            EXPECT_TRUE(m_boxes.Calls().empty()) << "files still there: no delete question";
            EXPECT_EQ(Entries(form, archive).size(), 2u);
        }
    }
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Sollen die abgelegten Dateien anschließend wirklich aus dem\rArchiv gelöscht werden?");
    EXPECT_TRUE(Entries(form, archive).empty());
}

TEST_F(PaneDrops, AfterACancelledPaneDragOutsideDropsActOnTheirOwnNames) {
    TTempFolder folder(L"dropkorb");
    const std::wstring marked = folder.MakeFile(L"markiert.txt", 2);
    const std::wstring fremd = folder.MakeFile(L"fremd.txt", 7);
    ASSERT_TRUE(CreateDirectoryW((folder.Path() + L"ordner").c_str(), nullptr));
    THauptform& form = StartZip();
    TDateiListeForm& pane = FileList(form, 0, folder.Path());
    pane.SelectFile(marked);
    form.RunDragLoop = [](TDropSource&) -> std::uint8_t { return 0; };
    form.StartDrag(&pane, TStringList{marked});
    EXPECT_TRUE(form.Drag.Internal);

    // The basket icon: the file once, the folder never.
    ASSERT_NE(form.SammelDropTarget, nullptr);
    RECT r{0, 0, form.SammelImage.Width(), form.SammelImage.Height()};
    POINT icon{form.SammelImage.Left() + r.right / 2, form.SammelImage.Top() + r.bottom / 2};
    ClientToScreen(form.Sammelbutton.Handle(), &icon);
    auto data = Dragged({fremd, folder.Path() + L"ordner"});
    EXPECT_EQ(DropAt(*form.SammelDropTarget, data.Get(), 0, icon), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(DropAt(*form.SammelDropTarget, data.Get(), 0, icon), DWORD(DROPEFFECT_COPY));
    ASSERT_EQ(form.Basket->size(), 1u);
    EXPECT_EQ((*form.Basket)[0]->Name, SystemLower(fremd));
    EXPECT_EQ((*form.Basket)[0]->Size, 7);
    POINT outside{icon.x + 200, icon.y};
    EXPECT_EQ(Over(*form.SammelDropTarget, data.Get(), 0, outside), DWORD(DROPEFFECT_NONE));

    // Ctrl+S puts the pane's marking into the basket, beside what it holds.
    pane.Dateiliste.SetFocus();
    Application->ProcessMessages();
    PostKey('S', ssCtrl);
    ASSERT_TRUE(WaitUntil([&] { return form.Basket->size() == 2; }));
    EXPECT_EQ((*form.Basket)[1]->Name, SystemLower(marked));

    // The recycle bin gets the dropped names, not the pane's marking.
    TStringList names{fremd};
    {
        TShellConfirmYes yes;
        form.PaneDragDrop(true, names, L"", DROPEFFECT_MOVE);
    }
    EXPECT_FALSE(FileExists(fremd));
    EXPECT_TRUE(FileExists(marked));
}

TEST_F(PaneDrops, TheTreeTakesFilesOnFoldersAndArchivesButNoEntriesOnArchives) {
    TTempFolder folder(L"dropbaum");
    ASSERT_TRUE(CreateDirectoryW((folder.Path() + L"sub").c_str(), nullptr));
    const std::wstring zip = folder.Path() + L"pack.zip";
    {
        TScratchFiles none(L"dropbaumzip");
        CopyFileW(none.Write(StoredZip({{"old.txt", "o"}}), L"p.zip").c_str(), zip.c_str(), FALSE);
    }
    THauptform& form = StartZip();
    form.ShowPaneKind(0, ftVerzeichnisbaum);
    Application->ProcessMessages();
    auto* tree = dynamic_cast<TVbaumForm*>(form.LeftPane);
    ASSERT_NE(tree, nullptr);
    tree->SetDirectory(folder.Path());
    Application->ProcessMessages();
    TTreeNode* parent = tree->LoadedNodeOf(folder.Path());
    ASSERT_NE(parent, nullptr);
    tree->ExpandNode(parent);
    Application->ProcessMessages();
    auto nodePoint = [&](const std::wstring& name) {
        for (int i = 0; i < parent->Count(); ++i)
            if (SystemLower(parent->Item(i)->Text()) == name) {
                RECT r{};
                const HTREEITEM item = parent->Item(i)->ItemId();
                std::memcpy(&r, &item, sizeof item);  // the message takes the item in the rectangle
                SendMessageW(tree->Verzeichnisbaum.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
                POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                ClientToScreen(tree->Verzeichnisbaum.Handle(), &pt);
                return pt;
            }
        ADD_FAILURE() << "no node " << ToUtf8(name);
        return POINT{};
    };
    TTempFolder quelle(L"dropbaumq");
    auto data = Dragged({quelle.MakeFile(L"neu.txt", 3)});
    EXPECT_EQ(Over(*tree->DropTarget, data.Get(), MK_CONTROL, nodePoint(L"sub")), DWORD(DROPEFFECT_MOVE));
    EXPECT_EQ(Over(*tree->DropTarget, data.Get(), 0, nodePoint(L"pack.zip")), DWORD(DROPEFFECT_COPY));
    form.Drag.FromArchive = true;
    form.Drag.Folder = L"c:\\anderes.zip";
    EXPECT_EQ(Over(*tree->DropTarget, data.Get(), 0, nodePoint(L"pack.zip")), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(Over(*tree->DropTarget, data.Get(), MK_SHIFT, nodePoint(L"sub")), DWORD(DROPEFFECT_COPY));
}

}  // namespace
}  // namespace velmora::test
