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
std::vector<std::wstring> LandingNames(const std::vector<std::wstring>& sources, const std::wstring& target) {
    const bool newName = sources.size() == 1 && !target.empty() && target.back() != L'\\' && !DirectoryExists(target);
    std::vector<std::wstring> names;
    for (const std::wstring& source : sources)
        names.push_back(newName ? target : IncludeTrailingBackslash(target) + ExtractFileName(source));
    return names;
}

std::wstring FinalPath(HANDLE handle) {
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetFinalPathNameByHandleW(handle, buffer, MAX_PATH * 2, FILE_NAME_NORMALIZED);
    if (n == 0 || n >= MAX_PATH * 2)
        return {};
    return buffer;
}

// The opened file is the very entry Name in its folder, not a file a link points to.
bool OpenedInPlace(const std::wstring& name, HANDLE file) {
    HANDLE folder = CreateFileW(ExtractFileDir(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring folderPath = FinalPath(folder);
    CloseHandle(folder);
    const std::wstring filePath = FinalPath(file);
    return !folderPath.empty() && !filePath.empty() &&
           SystemLower(IncludeTrailingBackslash(folderPath) + ExtractFileName(name)) == SystemLower(filePath);
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
    if (Path.size() == 2 && Path[1] == L':') {
        Path += L'\\';
    } else if (drive || StartsWith(folder, L"\\\\")) {
    } else if (StartsWith(Path, L"\\") || (Path.size() >= 2 && Path[1] == L':')) {
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
    return true;
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
    return true;
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

bool TDateiRoutinen::RenameFile(const std::wstring& OldName, const std::wstring& NewName) {
    Fehlercode = fc::RenameFile;
    const bool renamed = MoveFileW(OldName.c_str(), NewName.c_str()) != FALSE;
    if (!renamed)
        ErrorBox(L"Die Datei " + ExtractFileName(OldName) + L" konnte nicht\rwie gewünscht in " + NewName +
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

void TDateiRoutinen::CopyFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder,
                               bool NoConfirmation, const TDateiListe& List) {
    Fehlercode = fc::CopyFiles;
    const std::vector<std::wstring> sources = SourceNames(SourcePrefix, List);
    const std::vector<std::wstring> landing = LandingNames(sources, TargetFolder);
    RunShell(TFileOperation::foCopy, foAllowUndo | (NoConfirmation ? foNoConfirmation : 0), sources, {TargetFolder});
    if (!m_operator.Aborted()) {
        std::vector<std::wstring> failed;
        for (size_t i = 0; i < sources.size(); ++i)
            if (!CopiedWhole(sources[i], landing[i]))
                failed.push_back(sources[i]);
        ReportLeftOver(L"Folgende Dateien wurden nicht vollständig kopiert:", failed);
    }
    Fehlercode = 0;
}

bool TDateiRoutinen::CopyFilesForSync(const std::wstring& Source, const std::wstring& Target, bool NoConfirmation,
                                      bool Silent) {
    Fehlercode = fc::CopyFilesForSync;
    const TFileOperationFlags flags =
        foAllowUndo | (Silent ? foSilent : 0) | (NoConfirmation ? foNoConfirmation : 0);
    bool ok = RunShell(TFileOperation::foCopy, flags, {Source}, {Target});
    if (!m_operator.Aborted() && !CopiedWhole(Source, Target)) {
        ok = false;
        if (!Silent)
            ReportLeftOver(L"Folgende Dateien wurden nicht vollständig kopiert:", {Source});
    }
    Fehlercode = 0;
    return ok;
}

void TDateiRoutinen::MoveFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder,
                               bool NoConfirmation, const TDateiListe& List) {
    Fehlercode = fc::MoveFiles;
    const std::vector<std::wstring> sources = SourceNames(SourcePrefix, List);
    // One destination per name: the shell moves nothing when several names go
    // into one folder.
    const std::vector<std::wstring> targets = LandingNames(sources, TargetFolder);
    RunShell(TFileOperation::foMove, foAllowUndo | foMultiDestFiles | (NoConfirmation ? foNoConfirmation : 0), sources,
             targets);
    if (!m_operator.Aborted()) {
        std::vector<std::wstring> failed;
        for (size_t i = 0; i < sources.size(); ++i)
            if (Exists(sources[i]) || !Exists(targets[i]))
                failed.push_back(sources[i]);
        ReportLeftOver(L"Folgende Dateien wurden nicht verschoben:", failed);
    }
    Fehlercode = 0;
}

void TDateiRoutinen::DeleteFiles(const TDateiListe& List, bool Confirm, bool Silent, int Mode) {
    Fehlercode = fc::DeleteFiles;
    std::vector<std::wstring> names;
    for (const auto& record : List)
        names.push_back(record->Name);
    if (Mode == 2) {
        const int answer =
            MessageDlg(kWipeQuestion, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel});
        Fehlercode = fc::DeleteFiles;
        if (answer == mrYes) {
            WipeFiles(List);
            Fehlercode = fc::DeleteFiles;
            DeleteForGood(names, false, Silent);
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

void TDateiRoutinen::WipeFiles(const TDateiListe& List) {
    Fehlercode = fc::WipeFiles;
    THourGlass hourglass;
    std::vector<std::wstring> links;
    for (const auto& record : List)
        WipeOne(record->Name, links);
    for (const std::wstring& link : links)
        WarningBox(L"Die Datei\r" + Quoted(link) +
                   L"\rverweist auf eine andere Stelle und wurde nicht mit Nullbytes überschrieben.");
    Fehlercode = 0;
}

// Attributes and size come from the disk now: a typed-in or stale record
// knows neither.
void TDateiRoutinen::WipeOne(const std::wstring& Name, std::vector<std::wstring>& Links) {
    TDiskEntry entry;
    if (!ReadEntry(Name, entry)) {
        WarningBox(L"Beim Füllen der Datei\r" + Quoted(Name) + L"\rmit Nullbytes ist ein Fehler aufgetreten.");
        return;
    }
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (IsFolderLink(entry.Attributes))
            Links.push_back(Name);
        else
            WipeFolder(Name, Links);
        return;
    }
    if (entry.Size <= 0)
        return;
    if (entry.Attributes & FILE_ATTRIBUTE_READONLY)
        SetAttributes(Name, 2, 2, 2, 0);
    Fehlercode = fc::WipeFiles;
    HANDLE file = m_writer->Open(Name);
    if (file == INVALID_HANDLE_VALUE) {
        WarningBox(L"Beim Füllen der Datei\r" + Quoted(Name) + L"\rmit Nullbytes ist ein Fehler aufgetreten.");
        return;
    }
    if (!OpenedInPlace(Name, file)) {
        m_writer->Close(file);
        Links.push_back(Name);
        return;
    }
    WipeContents(Name, file);
}

void TDateiRoutinen::WipeFolder(const std::wstring& Folder, std::vector<std::wstring>& Links) {
    std::vector<std::wstring> children;
    ForEachEntry(Folder, [&](const std::wstring& child, const TDiskEntry&) { children.push_back(child); });
    for (const std::wstring& child : children)
        WipeOne(child, Links);
}

void TDateiRoutinen::WipeContents(const std::wstring& Name, HANDLE File) {
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
        WarningBox(L"Beim Füllen der Datei\r" + Quoted(Name) + L"\rmit Nullbytes ist ein Fehler aufgetreten.");
}

}  // namespace velmora
