#include "FensterEinstellungen.h"

#include "FensterWerte.h"
#include "foundation/DefaultUserStore.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

namespace {

const std::wstring kDOSListe = MainformSchluessel + L"\\DOSBefehlszeile";
const std::wstring kRecentDirs = ProgrammSchluessel + L"\\RecentDirs";
const std::wstring kRecentFiles = ProgrammSchluessel + L"\\RecentFiles";
const std::wstring kRecentArcs = ProgrammSchluessel + L"\\RecentArcs";
const std::wstring kRecentParameters = ProgrammSchluessel + L"\\RecentParameters";

std::wstring Read(const std::wstring& name) { return RegReadUserValue(MainformSchluessel, name); }
void Write(const std::wstring& name, const std::wstring& value) { RegWriteUserValue(MainformSchluessel, name, value); }

void Append(TStringList& list, const TStringList& stored) {
    for (const std::wstring& entry : stored)
        list.Add(entry);
}

// A tree on an archive names the archive file; the folder it lies in is stored.
std::wstring StoredFolder(const std::wstring& directory) {
    return FileExists(directory) ? ExtractFilePath(directory) : directory;
}

// The stored two characters, with the side without a pane keeping its old one.
std::wstring PaneKindsToStore(const TZuSpeicherndeFensterWerte& w) {
    std::wstring kinds = Read(L"Fenster");
    if (kinds.size() != 2)
        kinds = L"12";
    if (w.LeftPane)
        kinds[0] = PaneKindChar(w.LeftPane->Kind, w.ListKind);
    if (w.RightPane)
        kinds[1] = PaneKindChar(w.RightPane->Kind, w.ListKind);
    return kinds;
}

void SaveSort(const std::wstring& name, const std::optional<TPaneZustand>& pane) {
    if (!pane)
        return;
    if (auto text = SortStateText(pane->SortOrder))
        Write(name, *text);
}

}  // namespace

void LoadFensterWerte(TGeladeneFensterWerte& w, TStringList& DOSBefehlszeile, THistoryLists& lists,
                      bool AktPfadSichern) {
    w.Pos = ParsePos(Read(L"Pos"));
    w.Max = Read(L"Max") == L"1";
    Append(DOSBefehlszeile, ReadNumberedList(kDOSListe));
    w.PaneKinds = Read(L"Fenster");
    w.LeftPaneWidth = ParseLeftPaneWidth(Read(L"BreiteLinkesFenster"));
    w.FirstToolbarButton = ParseFirstToolbarButton(Read(L"LeftBtn"));
    Append(lists.RecentDirs, ReadNumberedList(kRecentDirs));
    Append(lists.RecentFiles, ReadNumberedList(kRecentFiles));
    Append(lists.RecentArcs, ReadNumberedList(kRecentArcs));
    Append(lists.RecentParameters, ReadNumberedList(kRecentParameters));
    if (AktPfadSichern) {
        w.StartFolderLeft = Read(L"LPfad");
        w.StartFolderRight = Read(L"RPfad");
        w.UseStartFolderLeft = w.UseStartFolderRight = true;
    } else {
        w.StartFolderLeft.clear();
        w.StartFolderRight.clear();
        w.UseStartFolderLeft = w.UseStartFolderRight = false;
    }
    w.SortLeft = Read(L"LSM");
    w.SortRight = Read(L"RSM");
}

void SaveFensterWerte(const TZuSpeicherndeFensterWerte& w, const TStringList& DOSBefehlszeile,
                      const THistoryLists& lists, bool AktPfadSichern) {
    Write(L"Max", w.Max ? L"1" : L"0");
    Write(L"BreiteLinkesFenster", std::to_wstring(w.LeftPaneWidth));
    Write(L"Pos", PosText(w.Left, w.Top, w.Width, w.Height));
    WriteNumberedList(kDOSListe, DOSBefehlszeile);
    if (w.LeftPane || w.RightPane)
        Write(L"Fenster", PaneKindsToStore(w));
    Write(L"LeftBtn", std::to_wstring(w.FirstToolbarButton));
    if (AktPfadSichern) {
        if (w.LeftPane)
            Write(L"LPfad", StoredFolder(w.LeftPane->Directory));
        if (w.RightPane)
            Write(L"RPfad", StoredFolder(w.RightPane->Directory));
    }
    SaveSort(L"LSM", w.LeftPane);
    SaveSort(L"RSM", w.RightPane);
    WriteNumberedList(kRecentDirs, lists.RecentDirs);
    WriteNumberedList(kRecentFiles, lists.RecentFiles);
    WriteNumberedList(kRecentArcs, lists.RecentArcs);
    WriteNumberedList(kRecentParameters, lists.RecentParameters);
}

}  // namespace velmora
