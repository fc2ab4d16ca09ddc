#include "DateiRoutinen.h"

#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "FileToolsCodes.h"
#include "foundation/Fehlercode.h"
#include "foundation/ShellLink.h"
#include "foundation/ProgrammFlags.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

TDateiRoutinen* DateiRoutinen = nullptr;

namespace {

void ErrorBox(const std::wstring& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }
void WarningBox(const std::wstring& text) { MessageDlg(text, TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK}); }

std::wstring Quoted(const std::wstring& name) { return L"\"" + SystemLower(name) + L"\""; }

bool IsAbsoluteName(const std::wstring& name) {
    return (name.size() >= 3 && name[1] == L':' && name[2] == L'\\') || StartsWith(name, L"\\\\");
}

std::wstring DriveRoot(wchar_t drive) { return std::wstring(1, drive) + L":\\"; }

// Drive probes must not bring up the system's "no disk" box.
class TNoCriticalErrorBoxes {
public:
    TNoCriticalErrorBoxes() : m_old(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TNoCriticalErrorBoxes() { SetErrorMode(m_old); }

private:
    UINT m_old;
};

struct TDiskEntry {
    DWORD Attributes = 0;
    std::int64_t Size = 0;
};

// What the disk says now about a name, without following a final link.
bool ReadEntry(const std::wstring& name, TDiskEntry& entry) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data))
        return false;
    entry.Attributes = data.dwFileAttributes;
    entry.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool Exists(const std::wstring& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDriveRelativeOrRelative(const std::wstring& name) {
    return !(name.size() >= 3 && name[1] == L':' && name[2] == L'\\') && !StartsWith(name, L"\\\\");
}

// A name as the routines check it and hand it to the shell: "/" read as "\",
// made absolute the way the system would (so "x:", "x:name", "." and ".." are
// resolved here and never by the shell later), without trailing separators: with
// one, the system follows a final link, and a check would look at the link's
// target instead of the link. A drive's root keeps its "\".
std::wstring CleanName(std::wstring name) {
    std::replace(name.begin(), name.end(), L'/', L'\\');
    if (name.size() == 2 && name[1] == L':')
        name += L'\\';
    if (IsDriveRelativeOrRelative(name) || name.find(L"\\.") != std::wstring::npos)
        name = FullPathName(name);
    while (name.size() > 1 && name.back() == L'\\' && !(name.size() == 3 && name[1] == L':'))
        name.pop_back();
    return name;
}

// "x:\" or "\\server\share": a whole drive.
bool IsDriveRoot(const std::wstring& clean) {
    if (clean.size() == 3 && clean[1] == L':' && clean[2] == L'\\')
        return true;
    if (!StartsWith(clean, L"\\\\"))
        return false;
    return std::count(clean.begin() + 2, clean.end(), L'\\') <= 1;
}

std::vector<std::wstring> CleanNames(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> clean;
    for (const std::wstring& name : names)
        clean.push_back(CleanName(name));
    return clean;
}

std::vector<std::wstring> DriveRoots(const std::vector<std::wstring>& clean) {
    std::vector<std::wstring> roots;
    std::copy_if(clean.begin(), clean.end(), std::back_inserter(roots), IsDriveRoot);
    return roots;
}

// The long form of a name that need not exist: the long form of its deepest
// existing folder, and the rest as written. Lower-cased, for comparing.
std::wstring LongForm(const std::wstring& name) {
    const std::wstring full = LongPathName(name);
    if (!full.empty())
        return SystemLower(IsDriveRoot(full) ? full : ExcludeTrailingBackslash(full));
    const size_t cut = name.rfind(L'\\');
    if (cut == std::wstring::npos || cut < 3 || IsDriveRoot(name))
        return SystemLower(name);
    return LongForm(name.substr(0, cut)) + L"\\" + SystemLower(name.substr(cut + 1));
}

bool IsSameOrBelow(const std::wstring& name, const std::wstring& folder) {
    const std::wstring n = LongForm(name), f = LongForm(folder);
    return n == f || StartsWith(n, IncludeTrailingBackslash(f));
}

bool IsFolderLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Calls Visit(name, entry) for every entry of Folder but "." and "..".
template <typename F>
void ForEachEntry(const std::wstring& Folder, F Visit) {
    const std::wstring dir = IncludeTrailingBackslash(Folder);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        TDiskEntry entry;
        entry.Attributes = found.dwFileAttributes;
        entry.Size = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        Visit(dir + name, entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// A folder link, or a folder holding one somewhere below.
bool HoldsFolderLink(const std::wstring& name) {
    TDiskEntry entry;
    if (!ReadEntry(name, entry) || !(entry.Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (IsFolderLink(entry.Attributes))
        return true;
    bool found = false;
    ForEachEntry(name, [&](const std::wstring& child, const TDiskEntry& e) {
        if (!found && (e.Attributes & FILE_ATTRIBUTE_DIRECTORY))
            found = HoldsFolderLink(child);
    });
    return found;
}

// Target holds Source's files with their sizes, also below folders.
bool CopiedWhole(const std::wstring& source, const std::wstring& target) {
    TDiskEntry s, t;
    if (!ReadEntry(source, s) || !ReadEntry(target, t))
        return false;
    if ((s.Attributes ^ t.Attributes) & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    if (!(s.Attributes & FILE_ATTRIBUTE_DIRECTORY))
        return s.Size == t.Size;
    bool whole = true;
    ForEachEntry(source, [&](const std::wstring& child, const TDiskEntry&) {
        if (whole)
            whole = CopiedWhole(child, IncludeTrailingBackslash(target) + ExtractFileName(child));
    });
    return whole;
}

// Where each name lands: a single name given a target that is no folder takes
// that name (a copy or move under a new name, as the shell does it); otherwise
// every name goes into the target folder.
// A target cleaned like any name, but a folder written as one ("x:\neu\") stays
// one: it is where the names go, not a new name.
std::wstring TargetName(const std::wstring& target) {
    std::wstring clean = CleanName(target);
    const bool folderWritten = !target.empty() && (target.back() == L'\\' || target.back() == L'/');
    if (folderWritten && clean.back() != L'\\')
        clean += L'\\';
    return clean;
}

std::vector<std::wstring> LandingNames(const std::vector<std::wstring>& sources, const std::wstring& target) {
    const bool newName = sources.size() == 1 && !target.empty() && target.back() != L'\\' && !DirectoryExists(target);
    std::vector<std::wstring> names;
    for (const std::wstring& source : sources)
        names.push_back(newName ? target : IncludeTrailingBackslash(target) + ExtractFileName(source));
    return names;
}

std::wstring FinalPath(HANDLE handle) {
    const DWORD n = GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED);
    if (n == 0)
        return {};
    std::wstring path(n, L'\0');
    const DWORD got = GetFinalPathNameByHandleW(handle, path.data(), n, FILE_NAME_NORMALIZED);
    if (got == 0 || got >= n)
        return {};
    path.resize(got);
    return path;
}

// The opened file is the very entry Name in its folder, not a file a link of
// that name points to. The system does not mark every link as one, so the
// file's final place is compared with the entry's: the folder's final place and
// the entry's long name (a short name or an unusual spelling is no link).
bool OpenedInPlace(const std::wstring& name, HANDLE file) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    HANDLE folder = CreateFileW(ExtractFileDir(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring folderPath = FinalPath(folder);
    CloseHandle(folder);
    const std::wstring filePath = FinalPath(file);
    return !folderPath.empty() && !filePath.empty() &&
           SystemLower(IncludeTrailingBackslash(folderPath) + found.cFileName) == SystemLower(filePath);
}

const wchar_t kWipeQuestion[] =
    L"Wollen Sie wirklich die ausgewählten Dateien vor dem Löschen mit Nullbytes\r"
    L"überschreiben? Sie sind dann nicht wiederherstellbar.";
const wchar_t kSetErrorTail[] =
    L"ist ein Fehler aufgetreten!\rBitte überprüfen Sie, ob die Änderungen wie gewünscht vorgenommen wurden.";
constexpr DWORD kWipeBufferSize = 102400;
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// More names than this in one box are summed up.
constexpr size_t kNamesPerBox = 15;

}  // namespace

HANDLE TNullSchreiber::Open(const std::wstring& Name) {
    return CreateFileW(Name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool TNullSchreiber::Write(HANDLE File, const void* Buffer, DWORD Count, DWORD& Written) {
    Written = 0;
    return WriteFile(File, Buffer, Count, &Written, nullptr) != FALSE;
}

bool TNullSchreiber::Flush(HANDLE File) { return FlushFileBuffers(File) != FALSE; }

void TNullSchreiber::Close(HANDLE File) { CloseHandle(File); }

TDateiRoutinen::TDateiRoutinen(TFileOperator& Operator) : m_operator(Operator) {
    Fehlercode = fc::DateiRoutinenCreate;
    const DWORD mask = GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit)
        if (mask & (1u << bit))
            LaufwerksWurzeln.Add(DriveRoot(static_cast<wchar_t>(L'a' + bit)));
    for (const std::wstring& root : LaufwerksWurzeln.Items()) {
        TLaufwerk drive;
        drive.Buchstabe = root[0];
        Laufwerke.push_back(drive);
    }
    Fehlercode = 0;
}

// ---- Drives and paths ----

std::wstring TDateiRoutinen::ExtractExt(const std::wstring& Name) {
    Fehlercode = fc::ExtractExt;
    std::wstring ext;
    const size_t pos = Name.find_last_of(L".:\\");
    if (pos != std::wstring::npos && Name[pos] == L'.')
        ext = Name.substr(pos + 1, 255);
    Fehlercode = 0;
    return ext;
}

bool TDateiRoutinen::DriveReady(wchar_t Drive) {
    Fehlercode = fc::DriveReady;
    TNoCriticalErrorBoxes quiet;
    ULARGE_INTEGER total;
    const bool ready = GetDiskFreeSpaceExW(DriveRoot(towupper(Drive)).c_str(), nullptr, &total, nullptr) != FALSE;
    Fehlercode = 0;
    return ready;
}

bool TDateiRoutinen::CheckDriveAccess(wchar_t Drive) {
    Fehlercode = fc::CheckDriveAccess;
    bool ready = true;
    if (Drive != L'\\') {
        while (!(ready = DriveReady(Drive))) {
            Fehlercode = fc::CheckDriveAccess;
            const int answer = MessageDlg(L"Auf das Laufwerk " + std::wstring(1, Drive) +
                                              L":\\ kann nicht zugegriffen werden!\rVermutlich ist kein Datenträger eingelegt.",
                                          TMsgDlgType::mtError, {TMsgDlgBtn::mbAbort, TMsgDlgBtn::mbRetry});
            if (answer != mrRetry)
                break;
        }
    }
    Fehlercode = 0;
    return ready;
}

bool TDateiRoutinen::DirectoryExistsCheck(const std::wstring& Path, bool& Flag) {
    Fehlercode = fc::DirectoryExistsCheck;
    Flag = false;
    const bool exists = DirectoryExists(Path);
    Fehlercode = 0;
    return exists;
}

void TDateiRoutinen::SetCurrentPath(const std::wstring& Path) {
    Fehlercode = fc::SetCurrentPath;
    if (!Path.empty()) {
        if (!AktuellerPfad.empty() && towupper(Path[0]) != towupper(AktuellerPfad[0]))
            AndererLaufwerksPfad = AktuellerPfad;
        AktuellerPfad = Path;
    }
    Fehlercode = 0;
}

void TDateiRoutinen::ResetPaths(const std::wstring& Path) {
    Fehlercode = fc::ResetPaths;
    AktuellerPfad = AndererLaufwerksPfad = Path;
    Fehlercode = 0;
}

void TDateiRoutinen::NormalizePath(std::wstring& Path) {
    wchar_t current[MAX_PATH] = L"";
    const DWORD n = GetCurrentDirectoryW(MAX_PATH, current);
    NormalizePath(Path, n > 0 && n < MAX_PATH ? std::wstring(current) : std::wstring());
}

void TDateiRoutinen::NormalizePath(std::wstring& Path, const std::wstring& CurrentFolder) {
    Fehlercode = fc::NormalizePath;
    const std::wstring folder = ExtractFilePath(Path);
    const bool drive = folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\';
    const bool driveRelative = Path.size() >= 2 && Path[1] == L':' && !drive;
    if (drive || StartsWith(folder, L"\\\\")) {
    } else if (driveRelative && !CurrentFolder.empty() && CurrentFolder.size() >= 2 && CurrentFolder[1] == L':' &&
               towupper(CurrentFolder[0]) == towupper(Path[0])) {
        // "x:name" on the shown folder's drive is relative to the shown folder,
        // and "x:" alone is that folder.
        const std::wstring rest = Path.substr(2);
        Path = rest.empty() ? CurrentFolder : IncludeTrailingBackslash(CurrentFolder) + rest;
    } else if (StartsWith(Path, L"\\") || driveRelative) {
        // Rooted on the current drive, or relative to another drive's folder: the
        // system knows both.
        const std::wstring full = FullPathName(Path);
        if (!full.empty())
            Path = full;
    } else if (!CurrentFolder.empty()) {
        Path = IncludeTrailingBackslash(CurrentFolder) + Path;
    } else if (folder.empty()) {
        Path = L"C:\\" + Path;
    }
    Fehlercode = 0;
}

bool TDateiRoutinen::GetDiskFree(wchar_t Drive, float& Total, float& Free) {
    Fehlercode = fc::GetDiskFree;
    Total = Free = 0;
    bool ok = false;
    if (Drive != L'\\') {
        TNoCriticalErrorBoxes quiet;
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (GetDiskFreeSpaceW(DriveRoot(Drive).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                              &totalClusters)) {
            const double cluster = static_cast<double>(sectorsPerCluster) * bytesPerSector;
            Total = static_cast<float>(cluster * totalClusters);
            Free = static_cast<float>(cluster * freeClusters);
            ok = true;
        }
    }
    Fehlercode = 0;
    return ok;
}

bool TDateiRoutinen::IsValidFileName(const std::wstring& Name) {
    Fehlercode = fc::IsValidFileName;
    const bool valid = !Name.empty() && Name.find_first_of(L"*?\"$/:<>|") == std::wstring::npos;
    Fehlercode = 0;
    return valid;
}

namespace {

// The longest folder prefix (lower-cased, with "\") that begins every name.
template <typename Names>
std::wstring CommonPath(const Names& names) {
    if (names.empty())
        return {};
    const std::wstring first = SystemLower(ExtractFilePath(names.front()));
    std::vector<std::wstring> candidates;  // shortest first
    for (size_t i = 0; i < first.size(); ++i)
        if (first[i] == L'\\')
            candidates.push_back(first.substr(0, i + 1));
    for (const std::wstring& name : names) {
        if (candidates.empty())
            break;
        const std::wstring lower = SystemLower(name);
        while (!candidates.empty() && lower.compare(0, candidates.back().size(), candidates.back()) != 0)
            candidates.pop_back();
    }
    return candidates.empty() ? std::wstring() : candidates.back();
}

}  // namespace

void TDateiRoutinen::CommonPathOfList(const TDateiListe& List, std::wstring& Path) {
    Fehlercode = fc::CommonPathOfList;
    std::vector<std::wstring> names;
    for (const auto& record : List)
        names.push_back(record->Name);
    Path = CommonPath(names);
    Fehlercode = 0;
}

void TDateiRoutinen::CommonPathOfStrings(const TStringList& List, std::wstring& Path) {
    Fehlercode = fc::CommonPathOfStrings;
    Path = CommonPath(List.Items());
    Fehlercode = 0;
}

namespace {

// Where the name ends, the mask's part must end too, or hold a lone "*": mask
// characters the name lacks are not "nothing", or "*.txt" would take "a.t" and a
// group mark "readme" the file "read".
bool RestIsStarOrNothing(const std::wstring& mask, size_t from) {
    if (from >= mask.size())
        return true;
    const std::wstring rest = mask.substr(from, mask.find(L'.', from) - from);
    return rest.empty() || rest == L"*";
}

// One character of the name against the mask's at the same place; a place beyond
// the mask's end holds nothing and matches nothing.
enum class TStep { Next, Match, Fail };
TStep CompareAt(const std::wstring& name, const std::wstring& mask, size_t i) {
    const wchar_t m = i < mask.size() ? mask[i] : L'\0';
    if (m == L'*')
        return TStep::Match;
    if (name[i] == L'.')
        return m == L'.' ? TStep::Match : TStep::Fail;
    if (m != L'\0' && (m == name[i] || m == L'?'))
        return TStep::Next;
    return TStep::Fail;
}

std::wstring DotExtension(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

bool MatchesBase(const std::wstring& name, const std::wstring& mask) {
    if (!mask.empty() && (mask[0] == L'*' || mask[0] == L'.'))
        return true;
    for (size_t i = 0; i < name.size(); ++i) {
        const TStep step = CompareAt(name, mask, i);
        if (step != TStep::Next)
            return step == TStep::Match;
    }
    return RestIsStarOrNothing(mask, name.size());
}

bool MatchesExtension(const std::wstring& name, const std::wstring& mask) {
    const std::wstring nameExt = DotExtension(name), maskExt = DotExtension(mask);
    if (maskExt.empty())
        return nameExt.empty();
    if (StartsWith(maskExt, L".*"))
        return true;
    if (nameExt.empty())
        return false;
    for (size_t i = 1; i < nameExt.size(); ++i) {
        const wchar_t m = i < maskExt.size() ? maskExt[i] : L'\0';
        if (m == L'*')
            return true;
        if (m == L'\0' || (m != nameExt[i] && m != L'?'))
            return false;
    }
    return RestIsStarOrNothing(maskExt, nameExt.size());
}

}  // namespace

bool TDateiRoutinen::MatchesMask(const std::wstring& Name, const std::wstring& Mask) {
    Fehlercode = fc::MatchesMask;
    const bool match = Name != L".." && MatchesBase(Name, Mask) && MatchesExtension(Name, Mask);
    Fehlercode = 0;
    return match;
}

bool TDateiRoutinen::IsInStartupFolder(const std::wstring& FileName) {
    Fehlercode = fc::IsInStartupFolder;
    bool found = false;
    std::wstring folder;
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &pidl))) {
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(pidl, path))
            folder = IncludeTrailingBackslash(path);
        IMalloc* malloc = nullptr;
        if (SUCCEEDED(SHGetMalloc(&malloc))) {
            malloc->Free(pidl);
            malloc->Release();
        }
    }
    if (!folder.empty()) {
        // Shortcut targets come back in the short form: compare both that way.
        auto shortForm = [](const std::wstring& name) {
            const std::wstring s = ShortPathName(name);
            return SystemLower(s.empty() ? name : s);
        };
        const std::wstring wanted = shortForm(FileName);
        const HRESULT com = CoInitialize(nullptr);
        ForEachEntry(folder, [&](const std::wstring& entry, const TDiskEntry& e) {
            if (found || (e.Attributes & FILE_ATTRIBUTE_DIRECTORY))
                return;
            std::wstring target;
            ReadShellLink(entry, target);
            found = !target.empty() && shortForm(target) == wanted;
        });
        if (SUCCEEDED(com))
            CoUninitialize();
    }
    Fehlercode = 0;
    return found;
}

// ---- File operations ----

bool TDateiRoutinen::CreateDirectory(const std::wstring& Path) {
    Fehlercode = fc::DateiRoutinenCreateDirectory;
    const wchar_t heading[] = L"Fehler beim Erstellen des gewünschten Verzeichnisses!\r";
    bool made = false;
    if (DirectoryExists(Path)) {
        ErrorBox(std::wstring(heading) + L"Der angegebene Verzeichnisname existiert bereits.");
    } else {
        ForceDirectories(Path);
        made = DirectoryExists(Path);
        if (!made)
            ErrorBox(std::wstring(heading) + L"Der angegebene Verzeichnisname ist nicht zulässig oder existiert bereits.");
    }
    Fehlercode = 0;
    return made;
}

void TDateiRoutinen::SetAttributes(const std::wstring& Name, int Archive, int System, int Hidden, int ReadOnly) {
    Fehlercode = fc::SetAttributes;
    DWORD attributes = GetFileAttributesW(Name.c_str());
    bool ok = attributes != INVALID_FILE_ATTRIBUTES;
    if (ok) {
        for (auto [state, bit] : {std::pair{Archive, FILE_ATTRIBUTE_ARCHIVE}, std::pair{System, FILE_ATTRIBUTE_SYSTEM},
                                  std::pair{Hidden, FILE_ATTRIBUTE_HIDDEN}, std::pair{ReadOnly, FILE_ATTRIBUTE_READONLY}}) {
            if (state == 0)
                attributes &= ~static_cast<DWORD>(bit);
            else if (state == 1)
                attributes |= bit;
        }
        attributes &= kSettableAttributes;
        ok = SetFileAttributesW(Name.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != FALSE;
    }
    if (!ok)
        ErrorBox(L"Beim Setzen der Attribute der Datei\r" + SystemLower(Name) + L"\r" + kSetErrorTail);
    Fehlercode = 0;
}

void TDateiRoutinen::SetFileDate(const std::wstring& Name, TDateTime Date) {
    Fehlercode = fc::SetFileDate;
    const DWORD attributes = GetFileAttributesW(Name.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly && MessageDlg(Quoted(Name) + L"\rist schreibgeschützt. Soll ihr Datum trotzdem geändert werden?",
                               TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != mrYes) {
        Fehlercode = 0;
        return;
    }
    if (readOnly)
        SetFileAttributesW(Name.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    bool ok = false;
    HANDLE file = CreateFileW(Name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        const std::uint32_t dos = DateTimeToDosDateTime(Date);
        FILETIME local, utc;
        ok = DosDateTimeToFileTime(static_cast<WORD>(dos >> 16), static_cast<WORD>(dos), &local) &&
             LocalFileTimeToFileTime(&local, &utc) && SetFileTime(file, nullptr, nullptr, &utc);
        CloseHandle(file);
    }
    if (!ok)
        ErrorBox(L"Beim Setzen des Dateidatums von\r" + SystemLower(Name) + L"\r" + kSetErrorTail);
    if (readOnly)
        SetFileAttributesW(Name.c_str(), attributes);
    Fehlercode = 0;
}

namespace {

// A change of case alone finds the file itself under its new name, and the
// system may take that for "done": it goes through a free name of the folder.
bool MoveByName(const std::wstring& oldName, const std::wstring& newName) {
    if (SystemLower(oldName) != SystemLower(newName) || oldName == newName)
        return MoveFileW(oldName.c_str(), newName.c_str()) != FALSE;
    for (int i = 0; i < 100; ++i) {
        const std::wstring between = oldName + L".~" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(i);
        if (Exists(between))
            continue;
        if (!MoveFileW(oldName.c_str(), between.c_str()))
            return false;
        if (MoveFileW(between.c_str(), newName.c_str()))
            return true;
        MoveFileW(between.c_str(), oldName.c_str());
        return false;
    }
    return false;
}

}  // namespace

// Only the name changes: a new name that holds a folder or a drive would move the
// file elsewhere and is refused with the same box. A change of case alone is a
// rename of its own.
bool TDateiRoutinen::RenameFile(const std::wstring& OldName, const std::wstring& NewName) {
    Fehlercode = fc::RenameFile;
    const std::wstring folder = ExtractFilePath(OldName);
    const bool sameFolder = NewName.size() > folder.size() && SystemLower(NewName.substr(0, folder.size())) ==
                                                                  SystemLower(folder);
    const bool plainName = sameFolder && NewName.find_first_of(L"\\/:", folder.size()) == std::wstring::npos;
    const bool renamed = plainName && !IsDriveRoot(CleanName(OldName)) && MoveByName(OldName, NewName);
    if (!renamed)
        ErrorBox(L"Die Datei " + SystemLower(ExtractFileName(OldName)) + L" konnte nicht\rwie gewünscht in " +
                 SystemLower(NewName) +
                 L" umbenannt werden!\rVermutlich existiert bereits eine Datei mit identischem Namen\r"
                 L"oder der angegebene Name ist nicht erlaubt.");
    Fehlercode = 0;
    return renamed;
}

void TDateiRoutinen::PrintFile(const std::wstring& Folder, const TDateiListe& List) {
    Fehlercode = fc::PrintFile;
    for (const auto& record : List) {
        if (record->Attr & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::wstring file = Folder.empty() ? ExtractFileName(record->Name) : record->Name;
        const std::wstring dir = Folder.empty() ? ExtractFileDir(record->Name) : Folder;
        const auto result = reinterpret_cast<INT_PTR>(
            ShellExecuteW(nullptr, L"print", file.c_str(), nullptr, dir.c_str(), SW_HIDE));
        if (result <= 32)
            ErrorBox(L"Die Datei " + Quoted(record->Name) + L" konnte nicht gedruckt werden!");
    }
    Fehlercode = 0;
}

std::vector<std::wstring> TDateiRoutinen::SourceNames(const std::wstring& SourcePrefix, const TDateiListe& List) {
    std::vector<std::wstring> names;
    for (const auto& record : List)
        names.push_back(IsAbsoluteName(record->Name) ? record->Name : SourcePrefix + record->Name);
    return names;
}

bool TDateiRoutinen::RunShell(TFileOperation Operation, TFileOperationFlags Flags,
                              const std::vector<std::wstring>& Sources, const std::vector<std::wstring>& Destinations) {
    // A silent operation must not stop on an error box either.
    if (Flags & foSilent)
        Flags |= foNoErrorUI;
    m_operator.SetOperation(Operation);
    m_operator.SetFlags(Flags);
    m_operator.SetSource(Sources);
    m_operator.SetDestination(Destinations);
    DateiOperationLaeuft = true;
    bool ok = false;
    try {
        ok = m_operator.Execute();
    } catch (...) {
        DateiOperationLaeuft = false;
        throw;
    }
    DateiOperationLaeuft = false;
    return ok;
}

// One box naming what a finished operation left undone.
void TDateiRoutinen::ReportLeftOver(const std::wstring& Heading, const std::vector<std::wstring>& Names) {
    if (Names.empty())
        return;
    std::wstring text = Heading;
    for (size_t i = 0; i < Names.size() && i < kNamesPerBox; ++i)
        text += L"\r" + SystemLower(Names[i]);
    if (Names.size() > kNamesPerBox)
        text += L"\r... und " + std::to_wstring(Names.size() - kNamesPerBox) + L" weitere";
    ErrorBox(text);
}

namespace {

// The names whose landing name another name of the list shares.
std::vector<std::wstring> SharedLandings(const std::vector<std::wstring>& sources,
                                         const std::vector<std::wstring>& landing) {
    std::vector<std::wstring> shared;
    for (size_t i = 0; i < sources.size(); ++i)
        for (size_t j = 0; j < sources.size(); ++j)
            if (i != j && LongForm(landing[i]) == LongForm(landing[j])) {
                shared.push_back(sources[i]);
                break;
            }
    return shared;
}

// Target files that are not Source's whole files, also below folders.
void IncompleteFiles(const std::wstring& source, const std::wstring& target, std::vector<std::wstring>& out) {
    TDiskEntry s, t;
    if (!ReadEntry(source, s) || !ReadEntry(target, t))
        return;
    if (!(s.Attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (!(t.Attributes & FILE_ATTRIBUTE_DIRECTORY) && s.Size != t.Size)
            out.push_back(target);
        return;
    }
    if (!(t.Attributes & FILE_ATTRIBUTE_DIRECTORY) || IsFolderLink(s.Attributes))
        return;
    ForEachEntry(source, [&](const std::wstring& child, const TDiskEntry&) {
        IncompleteFiles(child, IncludeTrailingBackslash(target) + ExtractFileName(child), out);
    });
}

}  // namespace

// Refuses, with one box each, a list that would act on a whole drive, land two
// names on one target, or copy or move a folder into itself or a file onto
// itself. True when the list may go to the shell.
bool TDateiRoutinen::CheckTargets(bool Move, const std::vector<std::wstring>& Sources,
                                  const std::vector<std::wstring>& Landing) {
    if (Move) {
        const std::vector<std::wstring> roots = DriveRoots(Sources);
        if (!roots.empty()) {
            ReportLeftOver(L"Ein ganzes Laufwerk kann nicht verschoben werden:", roots);
            return false;
        }
    }
    const std::vector<std::wstring> shared = SharedLandings(Sources, Landing);
    if (!shared.empty()) {
        ReportLeftOver(Move ? L"Folgende Dateien erhielten im Ziel denselben Namen und wurden deshalb nicht verschoben:"
                            : L"Folgende Dateien erhielten im Ziel denselben Namen und wurden deshalb nicht kopiert:",
                       shared);
        return false;
    }
    std::vector<std::wstring> intoItself, ontoItself;
    for (size_t i = 0; i < Sources.size(); ++i) {
        TDiskEntry entry;
        if (!ReadEntry(Sources[i], entry))
            continue;
        if ((entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) && IsSameOrBelow(Landing[i], Sources[i]))
            intoItself.push_back(Sources[i]);
        else if (!(entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) && LongForm(Landing[i]) == LongForm(Sources[i]))
            ontoItself.push_back(Sources[i]);
    }
    if (!intoItself.empty()) {
        ReportLeftOver(Move ? L"Folgende Verzeichnisse können nicht in sich selbst verschoben werden:"
                            : L"Folgende Verzeichnisse können nicht in sich selbst kopiert werden:",
                       intoItself);
        return false;
    }
    if (!ontoItself.empty()) {
        ReportLeftOver(Move ? L"Folgende Dateien können nicht auf sich selbst verschoben werden:"
                            : L"Folgende Dateien können nicht auf sich selbst kopiert werden:",
                       ontoItself);
        return false;
    }
    return true;
}

// What a copy that stopped short left under the real names: partial files this
// run made are removed; those it could not remove, and partial files over names
// that were there before, are named as incomplete.
void TDateiRoutinen::RemovePartial(const std::wstring& Source, const std::wstring& Target, bool TargetExisted,
                                   std::vector<std::wstring>& Incomplete) {
    std::vector<std::wstring> partial;
    IncompleteFiles(Source, Target, partial);
    for (const std::wstring& name : partial) {
        if (!TargetExisted) {
            SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (DeleteFileW(name.c_str()))
                continue;
        }
        Incomplete.push_back(name);
    }
}

void TDateiRoutinen::CopyFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder,
                               bool NoConfirmation, const TDateiListe& List) {
    Fehlercode = fc::CopyFiles;
    const std::wstring prefix = SourcePrefix.empty() ? SourcePrefix : IncludeTrailingBackslash(SourcePrefix);
    const std::vector<std::wstring> sources = CleanNames(SourceNames(prefix, List));
    const std::wstring target = TargetName(TargetFolder);
    const std::vector<std::wstring> landing = LandingNames(sources, target);
    if (!CheckTargets(false, sources, landing)) {
        Fehlercode = 0;
        return;
    }
    std::vector<bool> existed;
    for (const std::wstring& name : landing)
        existed.push_back(Exists(name));
    RunShell(TFileOperation::foCopy, foAllowUndo | (NoConfirmation ? foNoConfirmation : 0), sources, {target});
    if (!m_operator.Aborted()) {
        std::vector<std::wstring> failed, incomplete;
        for (size_t i = 0; i < sources.size(); ++i)
            if (!CopiedWhole(sources[i], landing[i])) {
                failed.push_back(sources[i]);
                RemovePartial(sources[i], landing[i], existed[i], incomplete);
            }
        ReportLeftOver(L"Folgende Dateien wurden nicht vollständig kopiert:", failed);
        ReportLeftOver(L"Folgende Dateien im Ziel sind unvollständig:", incomplete);
    }
    Fehlercode = 0;
}

bool TDateiRoutinen::CopyFilesForSync(const std::wstring& Source, const std::wstring& Target, bool NoConfirmation,
                                      bool Silent) {
    Fehlercode = fc::CopyFilesForSync;
    const std::wstring source = CleanName(Source), target = CleanName(Target);
    if (LongForm(source) == LongForm(target) || IsSameOrBelow(target, source)) {
        if (!Silent)
            ReportLeftOver(L"Folgende Dateien können nicht auf sich selbst kopiert werden:", {source});
        Fehlercode = 0;
        return false;
    }
    const bool existed = Exists(target);
    const TFileOperationFlags flags =
        foAllowUndo | (Silent ? foSilent : 0) | (NoConfirmation ? foNoConfirmation : 0);
    bool ok = RunShell(TFileOperation::foCopy, flags, {source}, {target});
    if (!m_operator.Aborted() && !CopiedWhole(source, target)) {
        ok = false;
        std::vector<std::wstring> incomplete;
        RemovePartial(source, target, existed, incomplete);
        if (!Silent) {
            ReportLeftOver(L"Folgende Dateien wurden nicht vollständig kopiert:", {source});
            ReportLeftOver(L"Folgende Dateien im Ziel sind unvollständig:", incomplete);
        }
    }
    Fehlercode = 0;
    return ok;
}

void TDateiRoutinen::MoveFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder,
                               bool NoConfirmation, const TDateiListe& List) {
    Fehlercode = fc::MoveFiles;
    const std::wstring prefix = SourcePrefix.empty() ? SourcePrefix : IncludeTrailingBackslash(SourcePrefix);
    const std::vector<std::wstring> sources = CleanNames(SourceNames(prefix, List));
    // One destination per name: the shell moves nothing when several names go
    // into one folder.
    const std::vector<std::wstring> targets = LandingNames(sources, TargetName(TargetFolder));
    if (!CheckTargets(true, sources, targets)) {
        Fehlercode = 0;
        return;
    }
    // Read now: after the move the source is gone, and only its size can tell a
    // whole target from a partial one.
    std::vector<TDiskEntry> before(sources.size());
    std::vector<bool> known, existed;
    for (size_t i = 0; i < sources.size(); ++i) {
        known.push_back(ReadEntry(sources[i], before[i]));
        existed.push_back(Exists(targets[i]));
    }
    RunShell(TFileOperation::foMove, foAllowUndo | foMultiDestFiles | (NoConfirmation ? foNoConfirmation : 0), sources,
             targets);
    if (!m_operator.Aborted()) {
        std::vector<std::wstring> failed, incomplete;
        for (size_t i = 0; i < sources.size(); ++i) {
            TDiskEntry after;
            const bool arrived = ReadEntry(targets[i], after);
            const bool isFile = known[i] && !(before[i].Attributes & FILE_ATTRIBUTE_DIRECTORY);
            if (Exists(sources[i]) || !arrived || (isFile && after.Size != before[i].Size)) {
                failed.push_back(sources[i]);
                if (Exists(sources[i]) && arrived)
                    RemovePartial(sources[i], targets[i], existed[i], incomplete);
                else if (arrived && isFile)
                    incomplete.push_back(targets[i]);
            }
        }
        ReportLeftOver(L"Folgende Dateien wurden nicht verschoben:", failed);
        ReportLeftOver(L"Folgende Dateien im Ziel sind unvollständig:", incomplete);
    }
    Fehlercode = 0;
}

void TDateiRoutinen::DeleteFiles(const TDateiListe& List, bool Confirm, bool Silent, int Mode) {
    Fehlercode = fc::DeleteFiles;
    std::vector<std::wstring> names;
    for (const auto& record : List)
        names.push_back(CleanName(record->Name));
    const std::vector<std::wstring> roots = DriveRoots(names);
    if (!roots.empty()) {
        if (!Silent)
            ReportLeftOver(L"Ein ganzes Laufwerk kann nicht gelöscht werden:", roots);
        Fehlercode = 0;
        return;
    }
    if (Mode == 2) {
        const int answer =
            MessageDlg(kWipeQuestion, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel});
        Fehlercode = fc::DeleteFiles;
        if (answer == mrYes) {
            // Only what was overwritten in full goes for good.
            m_askHardLinks = true;
            const std::vector<std::wstring> wiped = WipeNames(names);
            m_askHardLinks = false;
            Fehlercode = fc::DeleteFiles;
            DeleteForGood(wiped, false, Silent);
        } else if (answer == mrNo) {
            Mode = 0;
        }
    } else if (Mode == 1) {
        DeleteForGood(names, Confirm, Silent);
    }
    if (Mode == 0) {
        const TFileOperationFlags flags =
            foAllowUndo | (Confirm ? 0 : foNoConfirmation) | (Silent ? foSilent : 0);
        RunShell(TFileOperation::foDelete, flags, names, {});
        if (!m_operator.Aborted() && !Silent) {
            std::vector<std::wstring> left;
            std::copy_if(names.begin(), names.end(), std::back_inserter(left), Exists);
            ReportLeftOver(L"Folgende Dateien wurden nicht gelöscht:", left);
        }
    }
    Fehlercode = 0;
}

// The shell follows folder links when deleting for good and empties their
// targets: such folders, and folders holding one, stay.
void TDateiRoutinen::DeleteForGood(const std::vector<std::wstring>& Names, bool Confirm, bool Silent) {
    std::vector<std::wstring> plain, linked;
    for (const std::wstring& name : Names)
        (HoldsFolderLink(name) ? linked : plain).push_back(name);
    if (!Silent)
        ReportLeftOver(L"Folgende Verzeichnisse enthalten Verknüpfungen auf andere Verzeichnisse "
                       L"und wurden deshalb nicht endgültig gelöscht:",
                       linked);
    if (plain.empty())
        return;
    RunShell(TFileOperation::foDelete, (Confirm ? 0 : foNoConfirmation) | (Silent ? foSilent : 0), plain, {});
    if (!m_operator.Aborted() && !Silent) {
        std::vector<std::wstring> left;
        std::copy_if(plain.begin(), plain.end(), std::back_inserter(left), Exists);
        ReportLeftOver(L"Folgende Dateien wurden nicht gelöscht:", left);
    }
}

void TDateiRoutinen::CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder, const TDateiListe& List) {
    Fehlercode = fc::CreateLinks;
    if (m_linkMaker)
        m_linkMaker->CreateLinks(Source, TargetFolder, List);
    Fehlercode = 0;
}

// ---- The zero-fill wipe ----

namespace {

// A mask in the last part of a name stands for the entries it matches there.
std::vector<std::wstring> Expanded(const std::wstring& name) {
    if (ExtractFileName(name).find_first_of(L"*?") == std::wstring::npos)
        return {name};
    std::vector<std::wstring> names;
    const std::wstring folder = ExtractFilePath(name);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring entry = found.cFileName;
        if (entry != L"." && entry != L"..")
            names.push_back(folder + entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

struct TIdentity {
    DWORD Serial = 0, High = 0, Low = 0, Links = 0;
    bool operator==(const TIdentity& o) const { return Serial == o.Serial && High == o.High && Low == o.Low; }
};

bool IdentityOf(HANDLE handle, TIdentity& id) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, info.nNumberOfLinks};
    return true;
}

// The entry of that name itself, not what a link of that name points to.
bool EntryIdentity(const std::wstring& name, TIdentity& id) {
    HANDLE entry = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (entry == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = IdentityOf(entry, id);
    CloseHandle(entry);
    return ok;
}

// A long name broken into lines, so that its box fits the screen.
std::wstring BoxName(const std::wstring& name) {
    constexpr size_t kLine = 100;
    const std::wstring lower = L"\"" + SystemLower(name) + L"\"";
    if (lower.size() <= kLine + 20)
        return lower;
    std::wstring text;
    for (size_t i = 0; i < lower.size(); i += kLine)
        text += (i ? L"\r" : L"") + lower.substr(i, kLine);
    return text;
}

void WipeWarning(const std::wstring& name) {
    std::wstring text = L"Beim Füllen der Datei\r" + BoxName(name) + L"\rmit Nullbytes ist ein Fehler aufgetreten.";
    if (name.size() > MAX_PATH)
        text += L"\rIhr Name ist länger als 260 Zeichen.";
    WarningBox(text);
}

}  // namespace

void TDateiRoutinen::WipeFiles(const TDateiListe& List) {
    std::vector<std::wstring> names;
    for (const auto& record : List)
        names.push_back(CleanName(record->Name));
    WipeNames(names);
}

std::vector<std::wstring> TDateiRoutinen::WipeNames(const std::vector<std::wstring>& Names) {
    Fehlercode = fc::WipeFiles;
    THourGlass hourglass;
    std::vector<std::wstring> links, whole;
    for (const std::wstring& given : Names)
        for (const std::wstring& name : Expanded(given))
            if (!IsDriveRoot(name) && WipeOne(name, links))
                whole.push_back(name);
    for (const std::wstring& link : links)
        WarningBox(L"Die Datei\r" + BoxName(link) +
                   L"\rverweist auf eine andere Stelle und wurde nicht mit Nullbytes überschrieben.");
    Fehlercode = 0;
    return whole;
}

// Attributes and size come from the disk now: a typed-in or stale record
// knows neither. True when every file under the name was overwritten in full
// (or, with more names than this one, the user lets this name go unwiped).
bool TDateiRoutinen::WipeOne(const std::wstring& Name, std::vector<std::wstring>& Links) {
    TDiskEntry entry;
    if (!ReadEntry(Name, entry)) {
        WipeWarning(Name);
        return false;
    }
    if (entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        Links.push_back(Name);
        return false;
    }
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY)
        return WipeFolder(Name, Links);
    if (entry.Size <= 0)
        return true;
    if (entry.Attributes & FILE_ATTRIBUTE_READONLY)
        SetAttributes(Name, 2, 2, 2, 0);
    Fehlercode = fc::WipeFiles;
    HANDLE file = m_writer->Open(Name);
    if (file == INVALID_HANDLE_VALUE) {
        WipeWarning(Name);
        return false;
    }
    TIdentity opened, own;
    if (!IdentityOf(file, opened) || !EntryIdentity(Name, own) || !(opened == own) || !OpenedInPlace(Name, file)) {
        m_writer->Close(file);
        Links.push_back(Name);
        return false;
    }
    if (opened.Links > 1) {
        m_writer->Close(file);
        return HardLinkGoesUnwiped(Name);
    }
    return WipeContents(Name, file);
}

// Zeros would show under the file's other names too: it is not overwritten, and
// this name goes only when the user says so.
bool TDateiRoutinen::HardLinkGoesUnwiped(const std::wstring& Name) {
    const std::wstring text = L"Die Datei\r" + BoxName(Name) +
                              L"\rhat weitere Namen, unter denen dieselben Daten stehen, und wurde deshalb nicht "
                              L"mit Nullbytes überschrieben.";
    if (!m_askHardLinks) {
        WarningBox(text);
        return false;
    }
    const int answer = MessageDlg(text + L"\rSoll dieser Name trotzdem endgültig gelöscht werden?",
                                  TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
    Fehlercode = fc::WipeFiles;
    return answer == mrYes;
}

bool TDateiRoutinen::WipeFolder(const std::wstring& Folder, std::vector<std::wstring>& Links) {
    std::vector<std::wstring> children;
    ForEachEntry(Folder, [&](const std::wstring& child, const TDiskEntry&) { children.push_back(child); });
    bool whole = true;
    for (const std::wstring& child : children)
        whole = WipeOne(child, Links) && whole;
    return whole;
}

bool TDateiRoutinen::WipeContents(const std::wstring& Name, HANDLE File) {
    static const std::vector<char> zeros(kWipeBufferSize, 0);
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(File, &size) != FALSE;
    for (std::int64_t left = size.QuadPart; ok && left > 0;) {
        const DWORD count = static_cast<DWORD>(std::min<std::int64_t>(left, kWipeBufferSize));
        DWORD written = 0;
        ok = m_writer->Write(File, zeros.data(), count, written) && written == count;
        left -= count;
    }
    ok = m_writer->Flush(File) && ok;
    m_writer->Close(File);
    if (!ok)
        WipeWarning(Name);
    return ok;
}

}  // namespace velmora
