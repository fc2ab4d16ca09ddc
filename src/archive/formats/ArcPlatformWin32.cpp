#include <windows.h>

#include <utility>

#include "ArcPlatform.h"
#include "platform/rtl/FileSystem.h"

namespace velmora::arc {

namespace {

TArcMessageBoxHook& Hook() {
    static TArcMessageBoxHook hook;
    return hook;
}

HANDLE H(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace

bool TArcFile::OpenRead(const std::wstring& name) {
    Close();
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_lastError = GetLastError();
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_position = 0;
    return true;
}

bool TArcFile::Create(const std::wstring& name) { return CreateWith(name, CREATE_ALWAYS); }

bool TArcFile::CreateNew(const std::wstring& name) { return CreateWith(name, CREATE_NEW); }

bool TArcFile::CreateWith(const std::wstring& name, std::uint32_t disposition) {
    Close();
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        m_lastError = GetLastError();
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(h);
    m_position = 0;
    return true;
}

bool TArcFile::Close() {
    if (m_handle == kNoHandle) return true;
    bool ok = CloseHandle(H(m_handle)) != 0;
    if (!ok) m_lastError = GetLastError();
    m_handle = kNoHandle;
    m_position = 0;
    return ok;
}

std::uint32_t TArcFile::Read(void* buffer, std::uint32_t count) {
    if (m_handle == kNoHandle || count == 0) return 0;
    DWORD got = 0;
    if (!ReadFile(H(m_handle), buffer, count, &got, nullptr)) m_lastError = GetLastError();
    m_position += got;
    return got;
}

std::uint32_t TArcFile::Write(const void* buffer, std::uint32_t count) {
    if (m_handle == kNoHandle || count == 0) return 0;
    DWORD put = 0;
    if (!WriteFile(H(m_handle), buffer, count, &put, nullptr)) m_lastError = GetLastError();
    m_position += put;
    return put;
}

bool TArcFile::Seek(std::int64_t position) {
    if (m_handle == kNoHandle || position < 0) return false;
    LARGE_INTEGER to;
    to.QuadPart = position;
    if (!SetFilePointerEx(H(m_handle), to, nullptr, FILE_BEGIN)) {
        m_lastError = GetLastError();
        return false;
    }
    m_position = position;
    return true;
}

std::int64_t TArcFile::Size() const {
    if (m_handle == kNoHandle) return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(H(m_handle), &size)) return 0;
    return size.QuadPart;
}

std::uint32_t TArcFile::ReadAt(std::int64_t position, void* buffer, std::uint32_t count) {
    return Seek(position) ? Read(buffer, count) : 0;
}

bool TArcFile::SetDosTime(std::uint32_t dosDateTime) {
    FILETIME local, utc;
    if (!DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime), &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return false;
    return SetFileTime(H(m_handle), nullptr, nullptr, &utc) != 0;
}

bool ArcFileExists(const std::wstring& name) { return FileExists(name); }

bool ArcFileIdentity(const std::wstring& name, TArcFileId& id) {
    // No access asked for: this never conflicts with the sharing of an open file.
    HANDLE h = CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!ok) return false;
    id.volume = info.dwVolumeSerialNumber;
    id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool ArcReplaceFile(const std::wstring& source, const std::wstring& target) {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool ArcDeleteFile(const std::wstring& name) { return DeleteFileW(name.c_str()) != 0; }
bool ArcDirectoryExists(const std::wstring& name) { return DirectoryExists(name); }
bool ArcForceDirectories(const std::wstring& name) { return ForceDirectories(name); }

bool ArcSetFileAttributes(const std::wstring& name, std::uint32_t dosAttributes) {
    DWORD attrs = dosAttributes & 0x27;
    return SetFileAttributesW(name.c_str(), attrs ? attrs : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::wstring ArcCurrentDirectory() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    std::wstring dir = n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    return dir;
}

TDateTime ArcNow() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    DateParts p{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
    return TryEncodeDateTime(p).value_or(0.0);
}

int ArcSystemTimeZoneBias() {
    TIME_ZONE_INFORMATION tz;
    DWORD mode = GetTimeZoneInformation(&tz);
    if (mode == TIME_ZONE_ID_DAYLIGHT) return tz.Bias + tz.DaylightBias;
    return tz.Bias + tz.StandardBias;
}

int ArcMessageBox(const std::wstring& text, TArcMsgKind kind, TArcMsgButtons buttons) {
    if (Hook()) return Hook()(text, kind, buttons);
    UINT icon = kind == TArcMsgKind::Warning       ? MB_ICONWARNING
                : kind == TArcMsgKind::Information ? MB_ICONINFORMATION
                                                   : MB_ICONQUESTION;
    UINT type = buttons == TArcMsgButtons::YesNo ? MB_YESNO : MB_OK;
    return MessageBoxW(nullptr, text.c_str(), L"Velmora", icon | type);
}

void SetArcMessageBoxHook(TArcMessageBoxHook hook) { Hook() = std::move(hook); }

}  // namespace velmora::arc
