// The Windows calls of windows.h beside it, on POSIX file descriptors and
// paths. Each call sets the last error the way the library reads it: a full
// disk, another volume, an existing name and a refused access are told apart.

#include <windows.h>

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <string>

namespace {

thread_local DWORD g_lastError = ERROR_SUCCESS;

DWORD ErrorOf(int error)
{
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EEXIST: return ERROR_FILE_EXISTS;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return ERROR_DISK_FULL;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    default: return ERROR_GEN_FAILURE;
    }
}

BOOL Fail(DWORD error)
{
    g_lastError = error;
    return FALSE;
}

BOOL FailErrno() { return Fail(ErrorOf(errno)); }

BOOL Succeed()
{
    g_lastError = ERROR_SUCCESS;
    return TRUE;
}

// A handle is the descriptor plus one, so that no descriptor reads as the
// invalid handle (all bits set) or as a null handle.
HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(fd) + 1); }
int FdOf(HANDLE handle)
{
    const std::intptr_t v = reinterpret_cast<std::intptr_t>(handle);
    return handle == INVALID_HANDLE_VALUE || v <= 0 ? -1 : static_cast<int>(v - 1);
}

// The file behind a handle; false with the last error set.
bool StatOf(HANDLE handle, struct stat& st)
{
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    return fstat(fd, &st) == 0 || FailErrno();
}

void AppendUtf8(std::string& out, std::uint32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One code point of UTF-8 at Text (Length bytes left); false for an invalid
// sequence (overlong, a surrogate, beyond U+10FFFF, cut off), of which one
// byte is taken.
bool DecodeUtf8(const unsigned char* text, std::size_t length, std::uint32_t& c, std::size_t& taken)
{
    taken = 1;
    const unsigned char b = text[0];
    if (b < 0x80) return c = b, true;
    std::size_t n;
    std::uint32_t min;
    if ((b & 0xE0) == 0xC0) n = 1, c = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0) n = 2, c = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0) n = 3, c = b & 0x07, min = 0x10000;
    else return false;
    if (n >= length) return false;
    for (std::size_t i = 1; i <= n; ++i) {
        if ((text[i] & 0xC0) != 0x80) return false;
        c = c << 6 | (text[i] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    taken = n + 1;
    return true;
}

// A wide path as a POSIX path: UTF-8, "\" taken as "/".
std::string PosixPath(LPCWSTR name)
{
    std::string out;
    for (; name && *name; ++name) AppendUtf8(out, *name == L'\\' ? L'/' : static_cast<std::uint32_t>(*name));
    return out;
}

bool IsReadOnly(const struct stat& st) { return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR); }

DWORD AttributesOf(const struct stat& st)
{
    DWORD a = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    if (IsReadOnly(st)) a |= FILE_ATTRIBUTE_READONLY;
    return a;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD creation, DWORD flags, HANDLE)
{
    const std::string path = PosixPath(name);
    int mode = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (creation == CREATE_NEW) mode |= O_CREAT | O_EXCL;
    else if (creation == CREATE_ALWAYS) mode |= O_CREAT | O_TRUNC;
    else if (creation != OPEN_EXISTING) return Fail(ERROR_INVALID_PARAMETER), INVALID_HANDLE_VALUE;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
        // A folder opens only for its identity; a read-only file not for writing.
        if (S_ISDIR(st.st_mode) && !(flags & FILE_FLAG_BACKUP_SEMANTICS))
            return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
        if (IsReadOnly(st) && (access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    }
    const int fd = open(path.c_str(), mode | O_CLOEXEC, 0644);
    if (fd < 0) {
        const DWORD error = ErrorOf(errno);
        return Fail(error == ERROR_FILE_EXISTS && creation == CREATE_NEW ? ERROR_FILE_EXISTS : error),
               INVALID_HANDLE_VALUE;
    }
    Succeed();
    return HandleOf(fd);
}

BOOL CloseHandle(HANDLE handle)
{
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    return close(fd) == 0 ? Succeed() : FailErrno();
}

BOOL ReadFile(HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED)
{
    if (read) *read = 0;
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    ssize_t n;
    do n = ::read(fd, buffer, count);
    while (n < 0 && errno == EINTR);
    if (n < 0) return FailErrno();
    if (read) *read = static_cast<DWORD>(n);
    return Succeed();
}

BOOL WriteFile(HANDLE handle, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED)
{
    if (written) *written = 0;
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    DWORD done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, static_cast<const char*>(buffer) + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (written) *written = done;
            return n < 0 ? FailErrno() : Fail(ERROR_DISK_FULL);
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    return Succeed();
}

BOOL SetFilePointerEx(HANDLE handle, LARGE_INTEGER distance, PLARGE_INTEGER newPosition, DWORD method)
{
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    const int whence = method == FILE_BEGIN ? SEEK_SET : method == FILE_CURRENT ? SEEK_CUR : SEEK_END;
    const off_t at = lseek(fd, static_cast<off_t>(distance.QuadPart), whence);
    if (at < 0) return FailErrno();
    if (newPosition) newPosition->QuadPart = at;
    return Succeed();
}

BOOL GetFileSizeEx(HANDLE handle, PLARGE_INTEGER size)
{
    struct stat st;
    if (!StatOf(handle, st)) return FALSE;
    size->QuadPart = st.st_size;
    return Succeed();
}

BOOL SetEndOfFile(HANDLE handle)
{
    const int fd = FdOf(handle);
    if (fd < 0) return Fail(ERROR_INVALID_HANDLE);
    const off_t at = lseek(fd, 0, SEEK_CUR);
    if (at < 0 || ftruncate(fd, at) != 0) return FailErrno();
    return Succeed();
}

BOOL GetFileInformationByHandle(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION info)
{
    struct stat st;
    if (!StatOf(handle, st)) return FALSE;
    *info = BY_HANDLE_FILE_INFORMATION{};
    info->dwFileAttributes = AttributesOf(st);
    info->dwVolumeSerialNumber = static_cast<DWORD>(st.st_dev);
    info->nFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) >> 32);
    info->nFileSizeLow = static_cast<DWORD>(st.st_size);
    info->nNumberOfLinks = static_cast<DWORD>(st.st_nlink);
    info->nFileIndexHigh = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_ino) >> 32);
    info->nFileIndexLow = static_cast<DWORD>(st.st_ino);
    return Succeed();
}

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    const std::string source = PosixPath(from), target = PosixPath(to);
    struct stat st;
    if (stat(target.c_str(), &st) == 0) {
        if (!(flags & MOVEFILE_REPLACE_EXISTING)) return Fail(ERROR_ALREADY_EXISTS);
        // Windows replaces neither a read-only file nor a folder.
        if (IsReadOnly(st) || S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
        // No replace in one step: link the new name (refused when it exists), then drop the old one.
        if (link(source.c_str(), target.c_str()) != 0)
            return errno == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailErrno();
        unlink(source.c_str());
        return Succeed();
    }
    return rename(source.c_str(), target.c_str()) == 0 ? Succeed() : FailErrno();
}

BOOL DeleteFileW(LPCWSTR name)
{
    const std::string path = PosixPath(name);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FailErrno();
    if (S_ISDIR(st.st_mode) || IsReadOnly(st)) return Fail(ERROR_ACCESS_DENIED);
    return unlink(path.c_str()) == 0 ? Succeed() : FailErrno();
}

DWORD GetFileAttributesW(LPCWSTR name)
{
    struct stat st;
    if (stat(PosixPath(name).c_str(), &st) != 0) return FailErrno(), INVALID_FILE_ATTRIBUTES;
    Succeed();
    return AttributesOf(st);
}

BOOL SetFileAttributesW(LPCWSTR name, DWORD attributes)
{
    const std::string path = PosixPath(name);
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FailErrno();
    const mode_t write = S_IWUSR;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? st.st_mode & ~write : st.st_mode | write;
    return chmod(path.c_str(), mode & 07777) == 0 ? Succeed() : FailErrno();
}

UINT GetTempFileNameW(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR buffer)
{
    std::wstring base = folder ? folder : L".";
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    base.append(prefix ? prefix : L"", 0, prefix ? std::min<std::size_t>(std::wcslen(prefix), 3) : 0);
    static UINT counter = GetTickCount();
    for (int tries = 0; tries < 0x10000; ++tries) {
        UINT number = unique & 0xFFFF;
        while (number == 0) number = ++counter & 0xFFFF;
        wchar_t tail[16];
        std::swprintf(tail, 16, L"%X.tmp", number);
        const std::wstring name = base + tail;
        if (name.size() >= MAX_PATH) return Fail(ERROR_FILENAME_EXCED_RANGE), 0;
        if (!unique) {
            const int fd = open(PosixPath(name.c_str()).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0 && errno == EEXIST) continue;
            if (fd < 0) return FailErrno(), 0;
            close(fd);
        }
        std::wcscpy(buffer, name.c_str());
        Succeed();
        return number;
    }
    return Fail(ERROR_FILE_EXISTS), 0;
}

DWORD GetFullPathNameW(LPCWSTR name, DWORD length, LPWSTR buffer, LPWSTR* filePart)
{
    std::wstring path = name ? name : L"";
    std::replace(path.begin(), path.end(), L'\\', L'/');
    if (path.empty()) return Fail(ERROR_INVALID_PARAMETER), 0;
    if (path[0] != L'/') {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return FailErrno(), 0;
        const int n = MultiByteToWideChar(CP_UTF8, 0, cwd, -1, nullptr, 0);
        std::wstring wideCwd(static_cast<std::size_t>(n), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, cwd, -1, wideCwd.data(), n);
        wideCwd.resize(std::wcslen(wideCwd.c_str()));
        path = wideCwd + L"/" + path;
    }
    // "." and ".." resolved by the text, as Windows does.
    std::wstring full;
    for (std::size_t pos = 0; pos < path.size();) {
        std::size_t end = path.find(L'/', pos);
        if (end == std::wstring::npos) end = path.size();
        const std::wstring part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".") continue;
        if (part == L"..") {
            const std::size_t slash = full.rfind(L'/');
            full.erase(slash == std::wstring::npos ? 0 : slash);
            continue;
        }
        full += L'/';
        full += part;
    }
    if (full.empty() || path.back() == L'/') full += L'/';
    if (full.size() + 1 > length) return Succeed(), static_cast<DWORD>(full.size() + 1);
    std::wcscpy(buffer, full.c_str());
    if (filePart) {
        const std::size_t slash = full.rfind(L'/');
        *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
    }
    Succeed();
    return static_cast<DWORD>(full.size());
}

BOOL FileTimeToLocalFileTime(const FILETIME* utc, LPFILETIME local)
{
    *local = *utc;
    return Succeed();
}

BOOL FileTimeToDosDateTime(const FILETIME* time, LPWORD date, LPWORD dosTime)
{
    const std::uint64_t ticks = static_cast<std::uint64_t>(time->dwHighDateTime) << 32 | time->dwLowDateTime;
    constexpr std::uint64_t kUnixEpoch = 116444736000000000ull;  // 1970 in 100 ns steps from 1601
    if (ticks < kUnixEpoch) return Fail(ERROR_INVALID_PARAMETER);
    const time_t seconds = static_cast<time_t>((ticks - kUnixEpoch) / 10000000);
    struct tm t;
    if (!gmtime_r(&seconds, &t) || t.tm_year < 80 || t.tm_year > 207) return Fail(ERROR_INVALID_PARAMETER);
    *date = static_cast<WORD>((t.tm_year - 80) << 9 | (t.tm_mon + 1) << 5 | t.tm_mday);
    *dosTime = static_cast<WORD>(t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec / 2);
    return Succeed();
}

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR wide, int wideLength)
{
    if (!text || wideLength < 0 || (wideLength > 0 && !wide)) return Fail(ERROR_INVALID_PARAMETER), 0;
    const std::size_t n = length < 0 ? std::strlen(text) + 1 : static_cast<std::size_t>(length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::wstring out;
    for (std::size_t i = 0; i < n;) {
        if (codePage != CP_UTF8) {
            out += static_cast<wchar_t>(bytes[i++]);
            continue;
        }
        std::uint32_t c;
        std::size_t taken;
        if (!DecodeUtf8(bytes + i, n - i, c, taken)) {
            if (flags & MB_ERR_INVALID_CHARS) return Fail(ERROR_NO_UNICODE_TRANSLATION), 0;
            c = 0xFFFD;
        }
        out += static_cast<wchar_t>(c);
        i += taken;
    }
    if (wideLength == 0) return Succeed(), static_cast<int>(out.size());
    if (out.size() > static_cast<std::size_t>(wideLength)) return Fail(ERROR_INSUFFICIENT_BUFFER), 0;
    std::copy(out.begin(), out.end(), wide);
    Succeed();
    return static_cast<int>(out.size());
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int length, LPSTR text, int textLength, LPCSTR,
                        LPBOOL usedDefault)
{
    if (!wide || textLength < 0 || (textLength > 0 && !text)) return Fail(ERROR_INVALID_PARAMETER), 0;
    const std::size_t n = length < 0 ? std::wcslen(wide) + 1 : static_cast<std::size_t>(length);
    std::string out;
    bool defaulted = false;
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<std::uint32_t>(wide[i]);
        if (codePage == CP_UTF8) {
            AppendUtf8(out, c);
        } else {
            defaulted |= c > 0xFF;
            out += c > 0xFF ? '?' : static_cast<char>(c);
        }
    }
    if (usedDefault) *usedDefault = defaulted;
    if (textLength == 0) return Succeed(), static_cast<int>(out.size());
    if (out.size() > static_cast<std::size_t>(textLength)) return Fail(ERROR_INSUFFICIENT_BUFFER), 0;
    std::memcpy(text, out.data(), out.size());
    Succeed();
    return static_cast<int>(out.size());
}

DWORD CharLowerBuffW(LPWSTR text, DWORD length)
{
    for (DWORD i = 0; i < length; ++i) text[i] = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i])));
    return length;
}

DWORD GetLastError() { return g_lastError; }

void SetLastError(DWORD error) { g_lastError = error; }

DWORD GetTickCount()
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
}
