#include "RarLib.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "RarReader.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace velmora::rar {

namespace {

constexpr std::size_t kChunk = 1 << 16;

struct Archive {
    explicit Archive(FilePtr file) : reader(std::move(file)) {}
    RarReader reader;
    unsigned mode = RarOpenList;
    Entry current;
    // A RAR 5 name the ANSI header record cannot hold (it shows "?" there):
    // the stored UTF-8 name, by which the entry is extracted.
    std::string wideName;
    bool haveCurrent = false;
    std::string password;
};

// RAR 5 stores UTF-8; the callers read the ANSI code page.
std::string ToAnsi(const std::string& utf8) {
#ifdef _WIN32
    if (utf8.empty()) return utf8;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return utf8;
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(std::max(m, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, ansi.data(), m, nullptr, nullptr);
    return ansi;
#else
    return utf8;
#endif
}

#ifdef _WIN32
std::wstring WideOf(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Utf8Of(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}
#endif

// Paths inside this file are UTF-8 on Windows (the files are reached by their
// wide names) and bytes as they come elsewhere. The caller's paths are ANSI.
std::string PathOfCaller(const char* ansi) {
#ifdef _WIN32
    return Utf8Of(WideOf(ansi ? ansi : "", CP_ACP));
#else
    return ansi ? ansi : "";
#endif
}

#ifdef _WIN32
std::wstring W(const std::string& path) { return WideOf(path, CP_UTF8); }
#endif

// Copies text into a caller's comment buffer; the state tells what it holds.
void FillComment(const std::string& text, bool present, bool readable, char* buf, unsigned bufSize,
                 unsigned& size, unsigned& state) {
    size = 0;
    state = 0;
    if (!present) return;
    if (!readable) {
        state = RarUnknownFormat;
        return;
    }
    if (!buf || bufSize == 0) {
        state = RarSmallBuffer;
        return;
    }
    std::size_t n = std::min<std::size_t>(text.size(), bufSize - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    size = static_cast<unsigned>(n + 1);
    state = n < text.size() ? static_cast<unsigned>(RarSmallBuffer) : 1u;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// A stored name is written only when each of its parts is a plain Windows
// name: nothing absolute, no drive, no "." or "..", no device names.
bool IsSafeName(const std::string& name) {
    if (name.empty() || IsSeparator(name.front()) || IsSeparator(name.back())) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = start;
        while (end < name.size() && !IsSeparator(name[end])) ++end;
        std::string part = name.substr(start, end - start);
        if (part.empty() || part.back() == '.' || part.back() == ' ') return false;
        for (unsigned char c : part)
            if (c < 0x20 || std::strchr("<>:\"|?*", c)) return false;
        std::string stem = part.substr(0, part.find('.'));
        std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
        while (!stem.empty() && stem.back() == ' ') stem.pop_back();
        static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
        for (const char* d : kDevices)
            if (stem == d) return false;
        if (stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '0' &&
            stem[3] <= '9')
            return false;
        start = end + 1;
    }
    return true;
}

bool Exists(const std::string& path) {
#ifdef _WIN32
    return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st;
    return stat(path.c_str(), &st) == 0;
#endif
}

bool IsFolder(const std::string& path) {
#ifdef _WIN32
    DWORD a = GetFileAttributesW(W(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
#else
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

bool MakeFolder(const std::string& path) {
    if (path.empty() || IsFolder(path)) return true;
#ifdef _WIN32
    return CreateDirectoryW(W(path).c_str(), nullptr) || IsFolder(path);
#else
    return mkdir(path.c_str(), 0777) == 0 || IsFolder(path);
#endif
}

// Creates every missing folder on the way to path (path itself included).
bool MakeFolders(const std::string& path) {
    std::size_t first = 1;
    // "\\server\share" cannot be created, only what lies below it.
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        first = path.find_first_of("\\/", 2);
        first = first == std::string::npos ? path.size() : path.find_first_of("\\/", first + 1);
        if (first == std::string::npos) return true;
    }
    for (std::size_t i = first; i < path.size(); ++i) {
        if (IsSeparator(path[i]) && !IsSeparator(path[i - 1]) && path[i - 1] != ':' && !MakeFolder(path.substr(0, i)))
            return false;
    }
    return MakeFolder(path);
}

bool ReplaceByRename(const std::string& from, const std::string& to) {
#ifdef _WIN32
    return MoveFileExW(W(from).c_str(), W(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void SetDosTime(const std::string& path, std::uint32_t dosTime) {
#ifdef _WIN32
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16), static_cast<WORD>(dosTime), &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return;
    HANDLE h = CreateFileW(W(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
#else
    (void)path;
    (void)dosTime;
#endif
}

// Streams the entry's data through the CRC and, when out is given, into it.
unsigned CopyData(RarReader& reader, const Entry& entry, std::FILE* out) {
    std::vector<char> buf(kChunk);
    std::uint32_t crc = 0;
    std::int64_t pos = entry.dataPos;
    for (std::uint64_t left = entry.packSize; left > 0;) {
        std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, buf.size()));
        std::size_t got = reader.ReadAt(pos, buf.data(), want);
        if (got != want) return RarBadData;
        crc = Crc32(buf.data(), got, crc);
        if (out && std::fwrite(buf.data(), 1, got, out) != got) return RarWriteError;
        pos += static_cast<std::int64_t>(got);
        left -= got;
    }
    return entry.hasCrc && crc != entry.crc ? RarBadData : RarOk;
}

// Writes the entry beside its target under a free temporary name and puts it
// in place by one rename once the data checked out.
unsigned ExtractTo(RarReader& reader, const Entry& entry, const std::string& target) {
    std::size_t cut = target.find_last_of("\\/");
    if (cut != std::string::npos && !MakeFolders(target.substr(0, cut))) return RarCreateError;
    if (IsFolder(target)) return RarCreateError;
    std::string temp;
    FilePtr out;
    for (int i = 0; i < 1000 && !out; ++i) {
        temp = target + ".~rl" + std::to_string(i);
#ifdef _WIN32
        if (!Exists(temp)) out.reset(_wfopen(W(temp).c_str(), L"wb"));
#else
        if (!Exists(temp)) out.reset(std::fopen(temp.c_str(), "wb"));
#endif
    }
    if (!out) return RarCreateError;
    unsigned result = CopyData(reader, entry, out.get());
    if (std::fclose(out.release()) != 0 && result == RarOk) result = RarCloseError;
    if (result == RarOk) {
        SetDosTime(temp, entry.dosTime);
        if (!ReplaceByRename(temp, target)) result = RarCreateError;
    }
#ifdef _WIN32
    if (result != RarOk) DeleteFileW(W(temp).c_str());
#else
    if (result != RarOk) std::remove(temp.c_str());
#endif
    return result;
}

// The name the entry is written by: its header name, or the wide one where
// the header shows "?" for characters of it.
const std::string& NameOf(const Archive& arc) { return arc.wideName.empty() ? arc.current.name : arc.wideName; }

std::string TargetOf(const Archive& arc, const char* destPath, const char* destName) {
    const Entry& entry = arc.current;
    if (destName && *destName) {
        std::string target = PathOfCaller(destName);
        // A full name made of the header's name ends with it: that part is
        // written by the wide name instead.
        const std::string shown = PathOfCaller(entry.name.c_str());
        if (!arc.wideName.empty() && target.size() >= shown.size() &&
            target.compare(target.size() - shown.size(), shown.size(), shown) == 0)
            target = target.substr(0, target.size() - shown.size()) + arc.wideName;
        return target;
    }
    std::string base = PathOfCaller(destPath);
    if (!base.empty() && !IsSeparator(base.back())) base += '\\';
#ifndef _WIN32
    std::string name = entry.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    if (!base.empty() && base.back() == '\\') base.back() = '/';
    return base + name;
#else
    return base + NameOf(arc);
#endif
}

unsigned Process(Archive& arc, int operation, const char* destPath, const char* destName) {
    if (!arc.haveCurrent) return RarBadArchive;
    arc.haveCurrent = false;
    const Entry& entry = arc.current;
    if (operation == RarSkip) return RarOk;
    if (operation != RarTest && operation != RarExtract) return RarUnknownFormat;
    bool extract = operation == RarExtract;
    if (extract && (entry.nameTooLong || !IsSafeName(NameOf(arc)))) return RarCreateError;
    if (entry.folder) return extract && !MakeFolders(TargetOf(arc, destPath, destName)) ? RarCreateError : RarOk;
    if (entry.encrypted) return RarBadData;
    if (!entry.stored || entry.split) return RarUnknownFormat;
    if (entry.packSize != entry.unpSize) return RarBadData;
    if (!extract) return CopyData(arc.reader, entry, nullptr);
    return ExtractTo(arc.reader, entry, TargetOf(arc, destPath, destName));
}

void FillHeader(const Entry& entry, RARHeaderData& h) {
    std::size_t n = std::min<std::size_t>(entry.name.size(), sizeof h.FileName - 1);
    std::memcpy(h.FileName, entry.name.data(), n);
    h.FileName[n] = '\0';
    h.Flags = entry.flags;
    h.PackSize = static_cast<unsigned>(entry.packSize);
    h.PackSizeHigh = static_cast<unsigned>(entry.packSize >> 32);
    h.UnpSize = static_cast<unsigned>(entry.unpSize);
    h.UnpSizeHigh = static_cast<unsigned>(entry.unpSize >> 32);
    h.HostOS = entry.hostOs;
    h.FileCRC = entry.crc;
    h.FileTime = entry.dosTime;
    h.UnpVer = entry.unpVer;
    h.Method = entry.method;
    h.FileAttr = entry.attr;
    FillComment(entry.comment, entry.hasComment, true, h.CmtBuf, h.CmtBufSize, h.CmtSize, h.CmtState);
}

}  // namespace

}  // namespace velmora::rar

using namespace velmora::rar;

extern "C" {

void* VELMORA_RAR_CALL RAROpenArchive(RAROpenArchiveData* data) {
    if (!data) return nullptr;
    data->CmtSize = 0;
    data->CmtState = 0;
    data->Flags = 0;
    FilePtr file(data->ArcName ? std::fopen(data->ArcName, "rb") : nullptr);
    if (!file) {
        data->OpenResult = RarOpenError;
        return nullptr;
    }
    auto* arc = new (std::nothrow) Archive(std::move(file));
    if (!arc) {
        data->OpenResult = RarNoMemory;
        return nullptr;
    }
    unsigned result = arc->reader.Open();
    data->OpenResult = result;
    if (result != RarOk) {
        delete arc;
        return nullptr;
    }
    arc->mode = data->OpenMode;
    const RarReader& r = arc->reader;
    std::string comment = r.Version5() ? ToAnsi(r.Comment()) : r.Comment();
    FillComment(comment, r.HasComment(), r.CommentReadable(), data->CmtBuf, data->CmtBufSize, data->CmtSize,
                data->CmtState);
    data->Flags = r.ArchiveFlags();
    return arc;
}

int VELMORA_RAR_CALL RARCloseArchive(void* handle) {
    delete static_cast<Archive*>(handle);
    return RarOk;
}

int VELMORA_RAR_CALL RARReadHeader(void* handle, RARHeaderData* header) {
    auto* arc = static_cast<Archive*>(handle);
    if (!arc || !header) return RarBadArchive;
    arc->haveCurrent = false;
    unsigned result = arc->reader.Next(arc->current);
    if (result != RarOk) return static_cast<int>(result);
    arc->wideName.clear();
    if (arc->reader.Version5()) {
        std::string ansi = ToAnsi(arc->current.name);
#ifdef _WIN32
        const std::string& utf8 = arc->current.name;
        if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                0) > 0 &&
            Utf8Of(WideOf(ansi, CP_ACP)) != utf8)
            arc->wideName = utf8;
#endif
        arc->current.name = std::move(ansi);
    }
    arc->haveCurrent = true;
    FillHeader(arc->current, *header);
    return RarOk;
}

int VELMORA_RAR_CALL RARProcessFile(void* handle, int operation, const char* destPath, const char* destName) {
    auto* arc = static_cast<Archive*>(handle);
    if (!arc) return RarBadArchive;
    return static_cast<int>(Process(*arc, operation, destPath, destName));
}

void VELMORA_RAR_CALL RARSetPassword(void* handle, const char* password) {
    if (auto* arc = static_cast<Archive*>(handle)) arc->password = password ? password : "";
}

}  // extern "C"
