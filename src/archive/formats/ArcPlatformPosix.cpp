// The native build's platform layer. Windows names are mapped to Posix paths ("\"
// becomes "/") and every component is looked up case-insensitively, as Windows
// does: volume names are formed as "v.A01" while the archivers write "v.a01".

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <utility>

#include "ArcPlatform.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

TArcMessageBoxHook& Hook() {
    static TArcMessageBoxHook hook;
    return hook;
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The entry of Dir whose name equals Name ignoring ASCII case, else Name itself.
std::string MatchInDirectory(const std::string& dir, const std::string& name) {
    if (Exists(dir + name)) return name;
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return name;
    std::string found = name;
    std::wstring want = AsciiLower(FromUtf8(name));
    while (dirent* e = ::readdir(d)) {
        if (AsciiLower(FromUtf8(e->d_name)) == want) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

std::string PosixPath(const std::wstring& name) {
    std::string raw = ToUtf8(name);
    for (auto& c : raw)
        if (c == '\\') c = '/';
    std::string out;
    size_t i = 0;
    if (!raw.empty() && raw[0] == '/') {
        out = "/";
        i = 1;
    }
    while (i <= raw.size()) {
        size_t slash = raw.find('/', i);
        if (slash == std::string::npos) slash = raw.size();
        std::string part = raw.substr(i, slash - i);
        if (!part.empty()) {
            std::string dir = out.empty() ? std::string() : out;
            out += part == "." || part == ".." ? part : MatchInDirectory(dir, part);
            if (slash < raw.size()) out += '/';
        }
        i = slash + 1;
    }
    return out;
}

}  // namespace

bool TArcFile::OpenRead(const std::wstring& name) {
    Close();
    int fd = ::open(PosixPath(name).c_str(), O_RDONLY);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
        ::close(fd);
        fd = -1;
        errno = EISDIR;
    }
    if (fd < 0) {
        m_lastError = static_cast<std::uint32_t>(errno);
        return false;
    }
    m_handle = fd;
    m_position = 0;
    return true;
}

bool TArcFile::Create(const std::wstring& name) { return CreateWith(name, O_TRUNC); }

bool TArcFile::CreateNew(const std::wstring& name) { return CreateWith(name, O_EXCL); }

bool TArcFile::CreateWith(const std::wstring& name, std::uint32_t disposition) {
    Close();
    int fd = ::open(PosixPath(name).c_str(), O_WRONLY | O_CREAT | static_cast<int>(disposition), 0644);
    if (fd < 0) {
        m_lastError = static_cast<std::uint32_t>(errno);
        return false;
    }
    m_handle = fd;
    m_position = 0;
    return true;
}

bool TArcFile::Close() {
    if (m_handle == kNoHandle) return true;
    bool ok = ::close(static_cast<int>(m_handle)) == 0;
    if (!ok) m_lastError = static_cast<std::uint32_t>(errno);
    m_handle = kNoHandle;
    m_position = 0;
    return ok;
}

std::uint32_t TArcFile::Read(void* buffer, std::uint32_t count) {
    if (m_handle == kNoHandle || count == 0) return 0;
    std::uint32_t total = 0;
    while (total < count) {
        ssize_t n = ::read(static_cast<int>(m_handle), static_cast<char*>(buffer) + total, count - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) m_lastError = static_cast<std::uint32_t>(errno);
        if (n <= 0) break;
        total += static_cast<std::uint32_t>(n);
    }
    m_position += total;
    return total;
}

std::uint32_t TArcFile::Write(const void* buffer, std::uint32_t count) {
    if (m_handle == kNoHandle || count == 0) return 0;
    std::uint32_t total = 0;
    while (total < count) {
        ssize_t n = ::write(static_cast<int>(m_handle), static_cast<const char*>(buffer) + total, count - total);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) m_lastError = static_cast<std::uint32_t>(errno);
        if (n <= 0) break;
        total += static_cast<std::uint32_t>(n);
    }
    m_position += total;
    return total;
}

bool TArcFile::Seek(std::int64_t position) {
    if (m_handle == kNoHandle || position < 0) return false;
    if (::lseek(static_cast<int>(m_handle), static_cast<off_t>(position), SEEK_SET) < 0) {
        m_lastError = static_cast<std::uint32_t>(errno);
        return false;
    }
    m_position = position;
    return true;
}

std::int64_t TArcFile::Size() const {
    struct stat st;
    if (m_handle == kNoHandle || ::fstat(static_cast<int>(m_handle), &st) != 0) return 0;
    return static_cast<std::int64_t>(st.st_size);
}

std::uint32_t TArcFile::ReadAt(std::int64_t position, void* buffer, std::uint32_t count) {
    return Seek(position) ? Read(buffer, count) : 0;
}

bool TArcFile::SetDosTime(std::uint32_t dosDateTime) {
    auto when = DosDateTimeToDateTime(dosDateTime);
    if (!when || m_handle == kNoHandle) return false;
    DateParts p = DecodeDateTime(*when);
    std::tm tm{};
    tm.tm_year = p.year - 1900;
    tm.tm_mon = p.month - 1;
    tm.tm_mday = p.day;
    tm.tm_hour = p.hour;
    tm.tm_min = p.minute;
    tm.tm_sec = p.second;
    tm.tm_isdst = -1;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = std::mktime(&tm);
    times[0].tv_nsec = times[1].tv_nsec = 0;
    return ::futimens(static_cast<int>(m_handle), times) == 0;
}

bool ArcFileExists(const std::wstring& name) {
    struct stat st;
    return ::stat(PosixPath(name).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool ArcFileIdentity(const std::wstring& name, TArcFileId& id) {
    struct stat st;
    if (::stat(PosixPath(name).c_str(), &st) != 0) return false;
    id.volume = static_cast<std::uint64_t>(st.st_dev);
    id.index = static_cast<std::uint64_t>(st.st_ino);
    return true;
}

bool ArcReplaceFile(const std::wstring& source, const std::wstring& target) {
    return ::rename(PosixPath(source).c_str(), PosixPath(target).c_str()) == 0;
}

bool ArcDeleteFile(const std::wstring& name) { return ::unlink(PosixPath(name).c_str()) == 0; }

bool ArcDirectoryExists(const std::wstring& name) {
    struct stat st;
    return ::stat(PosixPath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ArcForceDirectories(const std::wstring& name) {
    std::string path = PosixPath(name);
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string part = path.substr(0, i);
            if (!Exists(part) && ::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return ArcDirectoryExists(name);
}

bool ArcSetFileAttributes(const std::wstring& name, std::uint32_t dosAttributes) {
    std::string path = PosixPath(name);
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    mode = (dosAttributes & 1) ? (mode & ~0222) : (mode | 0200);
    return ::chmod(path.c_str(), mode) == 0;
}

std::wstring ArcCurrentDirectory() {
    char buffer[4096];
    if (!::getcwd(buffer, sizeof buffer)) return std::wstring();
    std::wstring dir = FromUtf8(buffer);
    for (auto& c : dir)
        if (c == L'/') c = L'\\';
    if (dir.empty() || dir.back() != L'\\') dir += L'\\';
    return dir;
}

TDateTime ArcNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    DateParts p{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
    return TryEncodeDateTime(p).value_or(0.0);
}

int ArcSystemTimeZoneBias() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    return static_cast<int>(-tm.tm_gmtoff / 60);
}

int ArcMessageBox(const std::wstring& text, TArcMsgKind kind, TArcMsgButtons buttons) {
    if (Hook()) return Hook()(text, kind, buttons);
    (void)kind;
    std::fprintf(stderr, "%s\n", ToUtf8(text).c_str());
    return buttons == TArcMsgButtons::YesNo ? 7 : 1;
}

void SetArcMessageBoxHook(TArcMessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace velmora::arc
