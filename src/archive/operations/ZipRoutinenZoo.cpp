// The ZOO reader of TZipRoutinen: walks the chain of directory entries over a
// read-only file. The chain comes from the archive, so every step must move
// forward and stay inside the file.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

constexpr std::uint32_t kZooTag = 0xFDC4A7DC;
constexpr std::uint32_t kArchiveHeaderSize = 34;
constexpr std::uint32_t kEntryFixedSize = 38;
constexpr std::uint32_t kShortNameAt = 38;
constexpr std::uint32_t kVariablePartAt = 51;
constexpr std::uint32_t kLongNameAt = 58;
constexpr std::uint32_t kMaxName = 255;

std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

class TZooFile {
public:
    explicit TZooFile(const std::wstring& name)
        : m_handle(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {
        LARGE_INTEGER size{};
        if (m_handle != INVALID_HANDLE_VALUE && GetFileSizeEx(m_handle, &size)) m_size = size.QuadPart;
    }
    ~TZooFile() {
        if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    }
    TZooFile(const TZooFile&) = delete;
    TZooFile& operator=(const TZooFile&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    std::int64_t Size() const { return m_size; }
    // True only when all Count bytes at Pos were read.
    bool ReadAt(std::int64_t pos, void* buffer, DWORD count) {
        LARGE_INTEGER at;
        at.QuadPart = pos;
        DWORD got = 0;
        return pos >= 0 && SetFilePointerEx(m_handle, at, nullptr, FILE_BEGIN) &&
               ReadFile(m_handle, buffer, count, &got, nullptr) && got == count;
    }
    // Bytes up to a NUL, at most Max of them; false when the file ends first.
    bool ReadZ(std::int64_t pos, std::uint32_t max, std::string& text) {
        text.clear();
        char buffer[kMaxName + 1];
        const std::int64_t left = m_size - pos;
        const DWORD count = static_cast<DWORD>(std::min<std::int64_t>(max + 1, std::max<std::int64_t>(left, 0)));
        if (count == 0 || !ReadAt(pos, buffer, count)) return false;
        for (DWORD i = 0; i < count; ++i) {
            if (buffer[i] == '\0') return true;
            if (text.size() == max) return true;
            text.push_back(buffer[i]);
        }
        return text.size() == max;
    }

private:
    HANDLE m_handle;
    std::int64_t m_size = 0;
};

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// The folder of an entry that carries the variable part: behind the long name,
// as long as its length byte says.
std::string FolderName(TZooFile& file, std::int64_t entry) {
    unsigned char part[7];
    if (!file.ReadAt(entry + kVariablePartAt, part, sizeof part) || U16(part) == 0) return {};
    const unsigned longNameLength = part[5];
    const unsigned folderLength = part[6];
    if (folderLength == 0) return {};
    std::string folder(folderLength, '\0');
    if (!file.ReadAt(entry + kLongNameAt + longNameLength, folder.data(), folderLength)) return {};
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

}  // namespace

void TZipRoutinen::ReadZoo(const std::wstring& ArchiveName, TDateiListe& List) {
    TReaderScope scope(m_host);
    ArchivDaten = TArchivDaten{};
    scope.ShowText(L"Lese Zoo-Archiv...");

    TZooFile file(ArchiveName);
    if (!file.IsOpen()) return;
    unsigned char header[kArchiveHeaderSize];
    if (!file.ReadAt(0, header, sizeof header) || U32(header + 20) != kZooTag) return;
    std::int64_t pos = U32(header + 24);

    for (;;) {
        unsigned char fixed[kEntryFixedSize];
        if (!file.ReadAt(pos, fixed, sizeof fixed) || U32(fixed) != kZooTag) return;
        const std::uint32_t next = U32(fixed + 6);
        if (next == 0) return;
        std::string shortName;
        if (!file.ReadZ(pos + kShortNameAt, kMaxName, shortName)) return;
        const std::string folder = fixed[4] >= 2 ? FolderName(file, pos) : std::string();
        std::wstring name = FromAnsi(folder.empty() ? shortName : folder + "\\" + shortName);
        name = ReplaceChar(name, L'/', L'\\');
        if (!Trim(name).empty() && name.back() != L'\\') {
            auto entry = std::make_unique<TEineDatei>();
            entry->Name = std::move(name);
            entry->Time = DosDateTimeToDateTime(U16(fixed + 14), U16(fixed + 16));
            entry->Size = U32(fixed + 20);
            entry->CompressedSize = U32(fixed + 24);
            entry->InArchive = true;
            entry->ArchivPfad = ArchiveName;
            AddEntry(List, std::move(entry));
            ++ArchivDaten.Anzahl;
        }
        // A chain that turns back or leaves the file is damaged, not finished.
        if (next <= pos || next >= file.Size()) {
            m_readFailed = true;
            return;
        }
        pos = next;
    }
}

}  // namespace velmora::archive
