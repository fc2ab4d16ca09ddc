#include "StatusThreads.h"

#include <windows.h>

#include <atomic>
#include <cmath>
#include <vector>

#include "platform/rtl/PathNames.h"

namespace velmora {

std::function<void(const std::wstring& Folder)> StatusWalkHook;

namespace {

std::atomic<int> liveCounters{0};

std::wstring Lower(std::wstring text) {
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring Size(std::int64_t bytes) { return FormatByteSize(static_cast<float>(bytes)); }

std::int64_t EntrySize(const WIN32_FIND_DATAW& entry) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow);
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

class TFindHandle {
public:
    TFindHandle(const std::wstring& pattern, WIN32_FIND_DATAW& entry)
        : m_handle(FindFirstFileW(pattern.c_str(), &entry)) {}
    ~TFindHandle() {
        if (m_handle != INVALID_HANDLE_VALUE)
            FindClose(m_handle);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Next(WIN32_FIND_DATAW& entry) { return FindNextFileW(m_handle, &entry) != 0; }

private:
    HANDLE m_handle;
};

void RunHook(const std::wstring& folder) {
    if (StatusWalkHook)
        StatusWalkHook(folder);
}

}  // namespace

int LiveStatusCounters() { return liveCounters; }

std::wstring FreeSpaceText(std::uint64_t Free, std::uint64_t Total) {
    return L" " + FormatByteSize(static_cast<float>(Free)) + L" von " + FormatByteSize(static_cast<float>(Total)) +
           L" frei";
}

std::wstring PathInfoText(std::int64_t Count, std::int64_t Bytes) {
    return std::to_wstring(Count) + L" Eintraege belegen " + Size(Bytes);
}

std::wstring QuickViewText(std::int64_t Files, std::int64_t Folders, std::int64_t Bytes) {
    return std::to_wstring(Files) + L" Dateien und " + std::to_wstring(Folders) + L" Unterverzeichnisse belegen " +
           Size(Bytes);
}

std::wstring ArchiveStatusText(const std::wstring& Archive, const TArchivDaten& Daten) {
    const double saved = static_cast<double>(Daten.OrigGroesse - Daten.KompGroesse);
    const long long percent = std::llround(saved / static_cast<double>(Daten.OrigGroesse) * 100.0);
    return Lower(ExtractFileName(Archive)) + L" enthält " + std::to_wstring(Daten.Anzahl) + L" Dateien [" +
           Size(Daten.OrigGroesse) + L" gepackt auf " + Size(Daten.KompGroesse) + L" (" + std::to_wstring(percent) +
           L"%)]";
}

bool SystemDiskFree(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total) {
    if (Drive == L'\\')
        return false;
    const std::wstring root = std::wstring(1, Drive) + L":\\";
    // A drive without a medium answers with an error, not with a system dialog.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    ULARGE_INTEGER freeToCaller, total, free;
    const bool ok = GetDiskFreeSpaceExW(root.c_str(), &freeToCaller, &total, &free) != 0;
    SetErrorMode(previous);
    if (!ok)
        return false;
    Free = freeToCaller.QuadPart;
    Total = total.QuadPart;
    return true;
}

TFolderEntries CountFolderEntries(const std::wstring& Path, const std::function<bool()>& Stopped) {
    TFolderEntries result;
    RunHook(Path);
    WIN32_FIND_DATAW entry;
    TFindHandle find(Path + L"*.*", entry);
    if (!find.Valid())
        return result;
    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        if (Stopped())
            break;
        ++result.Count;
        result.Bytes += EntrySize(entry);
    } while (find.Next(entry));
    return result;
}

void WalkFolderTree(const std::wstring& Path, TFolderTree& Totals, const std::function<bool()>& Stopped) {
    if (Stopped())
        return;
    RunHook(Path);
    std::vector<std::wstring> subFolders;
    {
        WIN32_FIND_DATAW entry;
        TFindHandle find(Path + L"*.*", entry);
        if (find.Valid()) {
            do {
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (IsDotEntry(entry.cFileName))
                        continue;
                    subFolders.emplace_back(entry.cFileName);
                    ++Totals.Folders;
                } else {
                    ++Totals.Files;
                    Totals.Bytes += EntrySize(entry);
                }
            } while (find.Next(entry));
        }
    }
    for (const std::wstring& sub : subFolders)
        WalkFolderTree(Path + sub + L"\\", Totals, Stopped);
}

// ---- TPathInfoThread

TPathInfoThread::TPathInfoThread(const std::wstring& path, TResultEvent OnResult)
    : TThread(true), Path(IncludeTrailingBackslash(path)), m_onResult(std::move(OnResult)) {
    SetPriority(gui::TThreadPriority::tpIdle);
    ++liveCounters;
}

// The walk uses the members: it has ended before they go.
TPathInfoThread::~TPathInfoThread() {
    if (!Finished()) {
        Terminate();
        WaitFor();
    }
    --liveCounters;
}

void TPathInfoThread::Execute() {
    const TFolderEntries found = CountFolderEntries(Path, [this] { return Terminated(); });
    Count = found.Count;
    Bytes = found.Bytes;
    if (Terminated())
        return;
    // Asked again in the GUI thread: a stop request may have come while the result was on its way.
    Synchronize([this] {
        if (!Terminated() && m_onResult)
            m_onResult(*this);
    });
}

// ---- TQuickViewThread

TQuickViewThread::TQuickViewThread(const std::wstring& path, TResultEvent OnResult)
    : TThread(true), Path(IncludeTrailingBackslash(path)), m_onResult(std::move(OnResult)) {
    SetPriority(gui::TThreadPriority::tpIdle);
    ++liveCounters;
}

TQuickViewThread::~TQuickViewThread() {
    if (!Finished()) {
        Terminate();
        WaitFor();
    }
    --liveCounters;
}

void TQuickViewThread::Execute() {
    TFolderTree totals;
    WalkFolderTree(Path, totals, [this] { return Terminated(); });
    Folders = totals.Folders;
    Files = totals.Files;
    Bytes = totals.Bytes;
    Synchronize([this] {
        if (!Terminated() && m_onResult)
            m_onResult(*this);
    });
}

}  // namespace velmora
