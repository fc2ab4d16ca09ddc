#include "IMLFind.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "platform/gui/Application.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

constexpr ULONGLONG kPumpInterval = 20;  // ms

bool EndsWithBackslash(const std::wstring& s) { return !s.empty() && s.back() == L'\\'; }

template <BOOL(WINAPI* Close)(HANDLE)>
struct THandle {
    HANDLE Handle;
    explicit THandle(HANDLE h) : Handle(h) {}
    ~THandle() {
        if (Handle != INVALID_HANDLE_VALUE) Close(Handle);
    }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
};
using TFindHandle = THandle<FindClose>;
using TFileHandle = THandle<CloseHandle>;

HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
    return FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                            FIND_FIRST_EX_LARGE_FETCH);
}

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

struct TErrorModeGuard {
    UINT Previous;
    TErrorModeGuard() : Previous(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TErrorModeGuard() { SetErrorMode(Previous); }
};

}  // namespace

std::wstring JoinSearchPath(const std::wstring& Folder, const std::wstring& Name) {
    std::wstring path = Folder;
    if (!EndsWithBackslash(path)) path += L'\\';
    path += Name;
    if (path.size() >= MAX_PATH) return {};
    return path;
}

TIMLFindText::TIMLFindText(gui::TComponent* Owner) : TComponent(Owner) {
    Pump = [] {
        if (gui::Application) gui::Application->ProcessMessages();
    };
}

// In place, in plain loops the compiler can run over many bytes at once.
void TIMLFindText::Angleichen(unsigned char* Bytes, std::size_t Count, bool Blanks) const {
    // Branch-free, so that the compiler maps many bytes at a time.
    if (Blanks && !MatchCase) {
        for (std::size_t i = 0; i < Count; ++i) {
            const unsigned char b = std::max<unsigned char>(Bytes[i], 32);
            Bytes[i] = static_cast<unsigned char>(b - (static_cast<unsigned char>(b - 'a') < 26 ? 32 : 0));
        }
    } else if (Blanks) {
        for (std::size_t i = 0; i < Count; ++i) Bytes[i] = std::max<unsigned char>(Bytes[i], 32);
    } else if (!MatchCase) {
        for (std::size_t i = 0; i < Count; ++i) {
            const unsigned char c = Bytes[i];
            Bytes[i] = static_cast<unsigned char>(c - (static_cast<unsigned char>(c - 'a') < 26 ? 32 : 0));
        }
    }
}

void TIMLFindText::PumpMessages(bool Now) {
    const ULONGLONG now = GetTickCount64();
    if (!Now && now - m_lastPump < kPumpInterval) return;
    m_lastPump = now;
    if (Pump) Pump();
}

void TIMLFindText::Execute() {
    if (m_running) return;
    if (FileMask.empty()) throw EFindError(L"File mask not specified");
    if (StartDirectory.empty()) throw EFindError(L"Start directory not specified");
    const DWORD startAttr = GetFileAttributesW(StartDirectory.c_str());
    if (startAttr == INVALID_FILE_ATTRIBUTES || !(startAttr & FILE_ATTRIBUTE_DIRECTORY))
        throw EFindError(L"Start directory \"" + StartDirectory + L"\" does not exist");

    m_running = true;
    m_posn = 0;
    m_files.clear();
    m_stopped = false;
    m_lastPump = GetTickCount64();

    // The file's bytes and the text's are compared alike: upper case a to z
    // unless the case matters, and for the block search every byte below 32 a
    // blank. The text of a line search holds no line end, so no hit spans two
    // lines.
    const bool lines = SearchType == TSearchType::stText;
    m_needle.clear();
    m_unfindable = false;
    if (!SearchText.empty()) {
        BOOL lossy = FALSE;
        const int n = WideCharToMultiByte(1252, 0, SearchText.c_str(), static_cast<int>(SearchText.size()), nullptr,
                                          0, nullptr, &lossy);
        m_needle.resize(static_cast<std::size_t>(std::max(n, 0)));
        WideCharToMultiByte(1252, 0, SearchText.c_str(), static_cast<int>(SearchText.size()), m_needle.data(), n,
                            nullptr, &lossy);
        Angleichen(reinterpret_cast<unsigned char*>(m_needle.data()), m_needle.size(), !lines);
        // Bytes below 32 become blanks only to meet a blank of the text: without
        // one, no such byte can be part of a hit, mapped or not.
        m_blanks = !lines && m_needle.find(' ') != std::string::npos;
        m_unfindable = lossy || (lines && m_needle.find_first_of("\r\n") != std::string::npos);
    }

    struct TRunning {
        TIMLFindText& Self;
        ~TRunning() {
            Self.m_files.clear();
            Self.m_running = false;
        }
    } running{*this};

    std::unique_ptr<TErrorModeGuard> errorMode;
    if (!lines) errorMode = std::make_unique<TErrorModeGuard>();

    gui::Fire(OnSearchDirectory, this, StartDirectory);
    Collect(StartDirectory);
    SearchCollected();
    if (SubDirectories && !m_stopped) WalkSubFolders(StartDirectory);
    m_files.clear();
    gui::Fire(OnFinished, this);
}

void TIMLFindText::Collect(const std::wstring& Folder) {
    m_files.clear();
    const std::wstring pattern = JoinSearchPath(Folder, FileMask);
    if (pattern.empty()) return;
    WIN32_FIND_DATAW data;
    TFindHandle find(FindFirst(pattern, data));
    if (find.Handle == INVALID_HANDLE_VALUE) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring name = JoinSearchPath(Folder, data.cFileName);
        if (name.empty()) continue;
        const std::int64_t size =
            (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | static_cast<std::int64_t>(data.nFileSizeLow);
        m_files.push_back({name, size, data.dwFileAttributes, data.ftLastWriteTime});
        PumpMessages();
        if (m_stopped) break;
    } while (FindNextFileW(find.Handle, &data));
}

void TIMLFindText::SearchCollected() {
    const bool lines = SearchType == TSearchType::stText;
    struct TCurrent {
        const TEntry*& Current;
        ~TCurrent() { Current = nullptr; }
    } current{m_current};
    for (const TEntry& entry : m_files) {
        m_current = &entry;
        if (SearchText.empty()) {
            gui::Fire(OnSearch, this, entry.Name);
            gui::Fire(OnFound, this, entry.Name, m_posn);
            if (m_stopped) return;
            continue;
        }
        PumpMessages();
        if (m_stopped) return;
        gui::Fire(OnSearch, this, entry.Name);
        if (SearchFile(entry, lines)) gui::Fire(OnFound, this, entry.Name, m_posn);
        if (m_stopped) return;
    }
}

bool TIMLFindText::SearchFile(const TEntry& Entry, bool Lines) {
    m_posn = Lines ? 0 : 1;
    // The line search reads no system file, as its size look-up never finds one.
    if (m_unfindable || (Lines && (Entry.Attributes & FILE_ATTRIBUTE_SYSTEM))) return false;
    TFileHandle file(CreateFileW(Entry.Name.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (file.Handle == INVALID_HANDLE_VALUE) return false;

    const std::size_t keep = m_needle.size() - 1;
    m_block.resize(kBlock + keep);
    const std::boyer_moore_horspool_searcher searcher(m_needle.begin(), m_needle.end());
    // The line search reads no more than the size the walk saw, so a file that
    // grows meanwhile still ends.
    std::int64_t left = Lines ? Entry.Size : INT64_MAX;
    std::int64_t start = 0;  // file offset of m_block[0]
    std::size_t carried = 0;
    while (left > 0 && !m_stopped) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(left, kBlock));
        unsigned char* in = m_block.data() + carried;
        if (!ReadFile(file.Handle, in, want, &got, nullptr) || got == 0) break;
        // A short read of a file is its end: no further call to learn that.
        left = got < want ? 0 : left - got;
        Angleichen(in, got, m_blanks);
        const std::size_t total = carried + got;
        const auto begin = reinterpret_cast<const char*>(m_block.data());
        const auto hit = std::search(begin, begin + total, searcher);
        if (hit != begin + total) {
            m_posn = start + (hit - begin) + 1;
            return true;
        }
        // A hit may begin in this block and end in the next.
        const std::size_t next = std::min(keep, total);
        std::memmove(m_block.data(), m_block.data() + total - next, next);
        start += static_cast<std::int64_t>(total - next);
        carried = next;
        PumpMessages();
    }
    return false;
}

void TIMLFindText::WalkSubFolders(const std::wstring& Folder) {
    const std::wstring pattern = JoinSearchPath(Folder, L"*.*");
    if (pattern.empty()) return;
    std::vector<std::wstring> folders;
    {
        WIN32_FIND_DATAW data;
        TFindHandle find(FindFirst(pattern, data));
        if (find.Handle == INVALID_HANDLE_VALUE) return;
        // Hidden and system folders are not entered; nor is a link, which
        // could lead back up the tree or out of the chosen folder.
        constexpr DWORD kSkipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & kSkipped) &&
                !IsDots(data.cFileName)) {
                std::wstring sub = JoinSearchPath(Folder, data.cFileName);
                if (!sub.empty()) folders.push_back(std::move(sub));
            }
        } while (FindNextFileW(find.Handle, &data));
    }
    for (const std::wstring& sub : folders) {
        gui::Fire(OnSearchDirectory, this, sub);
        Collect(sub);
        PumpMessages();
        if (m_stopped) return;
        SearchCollected();
        if (m_stopped) return;
        if (SubDirectories) WalkSubFolders(sub);
        PumpMessages();
        if (m_stopped) return;
    }
}

}  // namespace velmora
