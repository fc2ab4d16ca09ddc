// Entries dragged out of an archive: extracted into the drop folder, for a move
// deleted from the archive afterwards.

#include <windows.h>

#include <algorithm>
#include <set>

#include "ArcKleineDialoge.h"
#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "filetools/DateiRoutinen.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

const wchar_t kDeleteQuestion[] = L"Sollen die abgelegten Dateien anschließend wirklich aus dem\rArchiv gelöscht werden?";

int AskDeleteAfterDrop() {
    return gui::MessageDlg(kDeleteQuestion, gui::TMsgDlgType::mtConfirmation,
                           {gui::TMsgDlgBtn::mbYes, gui::TMsgDlgBtn::mbNo, gui::TMsgDlgBtn::mbCancel});
}

bool IsMask(const std::wstring& name) { return name.find_first_of(L"*?") != std::wstring::npos; }

std::wstring WithoutLeadingBackslash(const std::wstring& name) {
    return !name.empty() && name.front() == L'\\' ? name.substr(1) : name;
}

// The first path element of Name: its top folder, or its file name.
std::wstring TopElement(const std::wstring& name) {
    const std::wstring rest = WithoutLeadingBackslash(name);
    return rest.substr(0, rest.find(L'\\'));
}

// The item an extracted entry left directly in Target.
std::wstring ItemInTarget(const std::wstring& entry, int pathMode, const std::wstring& base,
                          const std::wstring& target) {
    if (pathMode == 0) return target + ExtractFileName(entry);
    if (pathMode == 1) {
        const std::wstring rest = WithoutLeadingBackslash(entry);
        const std::wstring baseRest = WithoutLeadingBackslash(base);
        const bool below = SystemLower(rest).compare(0, baseRest.size(), SystemLower(baseRest)) == 0;
        return target + TopElement(below ? rest.substr(baseRest.size()) : rest);
    }
    return target + TopElement(entry);
}

}  // namespace

void TZipRoutinen::ExpandDropMasks(const std::wstring& ArchiveName, TStringList& Names) {
    const auto firstMask = std::find_if(Names.begin(), Names.end(), IsMask);
    if (firstMask == Names.end()) return;
    std::uint8_t kind = 0;
    GetArchiveType(ArchiveName, kind);
    std::wstring name = ArchiveName;
    TArchivDaten daten;
    TDateiListe listing;
    OpenArchive(kind, name, daten, listing);
    if (listing.empty()) return;
    // A folder comes as "folder\*.*": the archive's own path matcher takes only
    // what lies below it, where a bare-name mask match would also take
    // "folder.other\x".
    std::vector<bool> taken(listing.size(), false);
    TStringList expanded;
    for (int i = 0; i < Names.Count(); ++i) {
        if (!IsMask(Names[i])) {
            expanded.Add(Names[i]);
            continue;
        }
        for (size_t e = 0; e < listing.size(); ++e) {
            if (taken[e] || (listing[e]->Attr & FILE_ATTRIBUTE_DIRECTORY)) continue;
            if (MatchesArchivePath(SystemLower(listing[e]->Name), SystemLower(Names[i]))) {
                taken[e] = true;
                expanded.Add(listing[e]->Name);
            }
        }
    }
    Names = std::move(expanded);
}

void TZipRoutinen::DropFromArchive(const std::wstring& ArchiveName, int Effect, int PathMode, bool AskDelete,
                                   TStringList& Names, const std::wstring& Target, TStringList* Extracted) {
    Fehlercode = fc::DropFromArchive;
    if (Extracted) Extracted->Clear();
    if (Effect == 2 && AskDelete) {
        const int answer = AskDeleteAfterDrop();
        if (answer == gui::mrCancel) {
            Names.Clear();
            Fehlercode = 0;
            return;
        }
        if (answer == gui::mrNo) Effect = 1;
    }
    if (PathMode == 3) {
        if (!m_dropPfadeDlg) m_dropPfadeDlg.reset(gui::Create<TDropArcPfadeDlg>(nullptr));
        auto& dlg = static_cast<TDropArcPfadeDlg&>(*m_dropPfadeDlg);
        if (dlg.ShowModal() != gui::mrOk) {
            Names.Clear();
            Fehlercode = 0;
            return;
        }
        PathMode = dlg.DropPfadangaben.ItemIndex();
    }
    ExpandDropMasks(ArchiveName, Names);
    std::wstring base;
    if (PathMode == 1) TDateiRoutinen::CommonPathOfStrings(Names, base);
    const std::wstring target = IncludeTrailingBackslash(Target);
    ExtractFromArchive(ArchiveName, Names, Effect == 2, target, L"", PathMode, TZlOverwrite::zowAlways, 0, base);
    Fehlercode = fc::DropFromArchive;
    if (Extracted) *Extracted = Names;
    // From the last line to the first: a line whose item a later line already
    // named goes.
    std::set<std::wstring> seen;
    for (int i = Names.Count() - 1; i >= 0; --i) {
        const std::wstring item = ItemInTarget(Names[i], PathMode, base, target);
        if (!seen.insert(SystemLower(item)).second)
            Names.Delete(i);
        else
            Names[i] = item;
    }
    Fehlercode = 0;
}

bool TZipRoutinen::DeleteAfterOutsideMove(const std::wstring& ArchiveName, bool AskDelete,
                                          const TStringList& Entries, const TStringList& Delivered) {
    for (const std::wstring& file : Delivered)
        if (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    if (Entries.Empty() || (AskDelete && AskDeleteAfterDrop() != gui::mrYes)) return false;
    DeleteFromArchive(ArchiveName, Entries);
    return true;
}

}  // namespace velmora::archive
