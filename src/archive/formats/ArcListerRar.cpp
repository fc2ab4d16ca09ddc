// RAR (before version 5): the marker block, the main header, then blocks; only
// file blocks are entries.

#include <algorithm>
#include <cstring>

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kFixed = 32;
constexpr std::uint32_t kMain = 13;
constexpr std::uint8_t kFileBlock = 0x74;
constexpr std::uint8_t kEndBlock = 0x7B;
constexpr std::uint16_t kLongBlock = 0x8000;
constexpr std::uint16_t kHasComment = 0x08;
constexpr std::uint16_t kFolderMask = 0xE0;

}  // namespace

void TArcLister::ListRar() {
    std::int64_t pos = ArcStartOffset();
    std::uint8_t marker[7];
    if (ReadAt(pos, marker, 7) != 7) RaiseArcError(m_archiveFile, err::ReadError);
    if (marker[6] != 0) RaiseArcError(m_archiveFile, err::UnsupportedVersion);
    pos += 7;
    std::uint8_t m[kMain];
    if (ReadAt(pos, m, kMain) != kMain) RaiseArcError(m_archiveFile, err::ReadError);
    std::uint16_t mainSize = GetU16(m + 5);
    if (mainSize > kMain) ArchiveComment = L"Archive Comment encrypted...";
    pos += mainSize < kMain ? kMain : mainSize;

    while (pos + 7 <= End()) {
        std::uint8_t h[kFixed] = {};
        std::uint32_t got = ReadAt(pos, h, kFixed);
        std::uint16_t flags = GetU16(h + 3), headerSize = GetU16(h + 5);
        if (got < 7 || headerSize < 7 || h[2] == kEndBlock) break;
        std::int64_t next = pos + headerSize + ((flags & kLongBlock) ? GetU32(h + 7) : 0);
        if (h[2] == kFileBlock) {
            if (got < kFixed || headerSize < kFixed) break;
            ClearRecord();
            std::uint16_t nameSize = GetU16(h + 26);
            // A Unicode form of the name may follow its first NUL.
            std::string rawName = ReadText(pos + kFixed, nameSize);
            rawName.resize(std::min(rawName.size(), rawName.find('\0')));
            FileName = SlashToBackslash(FromLatin1(rawName));
            std::int64_t commentAt = pos + kFixed + nameSize;
            if ((flags & kHasComment) && headerSize >= kFixed + nameSize + 13u) {
                std::uint8_t c[13];
                if (ReadAt(commentAt, c, 13) == 13) FileComment = FromLatin1(ReadText(commentAt + 13, GetU16(c + 7)));
            }
            PackedSize = GetU32(h + 7);
            UnpackedSize = GetU32(h + 11);
            FileCRC = GetU32(h + 16);
            FileDate = DosToDateTime(GetU32(h + 20));
            VersionMadeBy = h[24];
            Method = h[25];
            MethodName = MethodNameOf(m_arcType, Method);
            ExternalAttr = GetU32(h + 28);
            IsFolder = (flags & kFolderMask) == kFolderMask;
            m_headerPos = static_cast<std::uint32_t>(pos);
            Emit();
            if (!(flags & kLongBlock)) break;
        }
        pos = next;
    }
}

}  // namespace velmora::arc
