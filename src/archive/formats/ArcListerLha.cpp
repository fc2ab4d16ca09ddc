// LHA/LZH headers of levels 0, 1 and 2. Levels 1 and 2 carry extended headers
// (type 1 the name, type 2 the folder with 0xFF as separator); the data follows
// the last of them.

#include <algorithm>

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kFixed = 22;

struct LhaNames {
    std::string name, folder;
    bool hasName = false;
};

std::wstring FolderText(const std::string& bytes) {
    std::wstring folder;
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        folder += b == 0xFF || b == '/' ? L'\\' : static_cast<wchar_t>(b);
    }
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

}  // namespace

// Walks the extended headers from At, the first of size Size; returns the
// position behind the last one, or -1 when they run past the end of the file.
static std::int64_t WalkExtended(TArcFile& file, std::int64_t end, std::int64_t at, std::uint16_t size,
                                 LhaNames& names, std::int64_t& bytes) {
    bytes = 0;
    while (size != 0) {
        if (size < 3 || at + size > end) return -1;
        std::string ext(size, '\0');
        if (file.ReadAt(at, ext.data(), size) != size) return -1;
        auto type = static_cast<unsigned char>(ext[0]);
        std::string data = ext.substr(1, size - 3u);
        if (type == 1) {
            names.name = data.substr(0, data.find('\0'));
            names.hasName = true;
        } else if (type == 2) {
            names.folder = data.substr(0, data.find('\0'));
        }
        at += size;
        bytes += size;
        size = static_cast<std::uint16_t>(static_cast<unsigned char>(ext[size - 2]) |
                                          (static_cast<unsigned char>(ext[size - 1]) << 8));
    }
    return at;
}

void TArcLister::ListLha() {
    std::int64_t pos = ArcStartOffset();
    while (pos + kFixed <= End()) {
        std::uint8_t h[kFixed + 256 + 5] = {};
        std::uint32_t got = ReadAt(pos, h, sizeof h);
        const std::uint8_t level = h[20];
        // A level-2 header gives its size in 16 bits: its low byte may be 0.
        if (got < kFixed || (h[0] == 0 && (level != 2 || GetU16(h) == 0))) break;
        const std::uint32_t compressed = GetU32(h + 7);
        LhaNames names;
        std::int64_t dataStart = 0, extBytes = 0, next = 0;
        ClearRecord();
        if (level == 2) {
            std::uint16_t total = GetU16(h);
            if (total < 26) break;
            FileCRC = GetU16(h + 21);
            FileDate = GetU32(h + 15) ? UnixTimeToDateTime(GetU32(h + 15)) : 0.0;
            if (WalkExtended(ArcFile(), End(), pos + 26, GetU16(h + 24), names, extBytes) < 0) break;
            dataStart = pos + total;
            PackedSize = compressed;
            next = dataStart + compressed;
        } else {
            const std::uint8_t headerSize = h[0], nameLen = h[21];
            names.name = std::string(reinterpret_cast<const char*>(h + 22), nameLen);
            FileCRC = GetU16(h + 22 + nameLen);
            FileDate = DosToDateTime(GetU32(h + 15));
            dataStart = pos + headerSize + 2;
            if (headerSize > nameLen + 22 && level == 1) {
                dataStart = WalkExtended(ArcFile(), End(), dataStart, GetU16(h + 25 + nameLen), names, extBytes);
                if (dataStart < 0) break;
            }
            // At level 1 the compressed size counts the extended headers too.
            PackedSize = level == 1 ? static_cast<std::uint32_t>(std::max<std::int64_t>(compressed - extBytes, 0))
                                    : compressed;
            next = dataStart + PackedSize;
        }
        std::wstring name = SlashToBackslash(FromLatin1(names.name));
        std::wstring folder = FolderText(names.folder);
        FileName = folder.empty() ? name : folder + L"\\" + name;
        UnpackedSize = GetU32(h + 11);
        Method = h[5];
        MethodName = MethodNameOf(m_arcType, Method);
        IsFolder = h[2] == '-' && h[3] == 'l' && h[4] == 'h' && h[5] == 'd' && h[6] == '-';
        ExternalAttr = GetU16(h + 19);
        m_headerPos = static_cast<std::uint32_t>(pos);
        Emit();
        if (next <= pos) break;
        pos = next;
    }
}

}  // namespace velmora::arc
