// ARC and PAK (a mark 26 before every entry) and ZOO (a chain of directory entries).

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint8_t kArcMark = 26;
// Method 1 entries come from the oldest versions: their header lacks the
// unpacked size.
constexpr std::uint32_t kArcHeader = 29;
constexpr std::uint32_t kArcOldHeader = 25;
constexpr std::uint32_t kZooFixed = 58;
constexpr std::uint32_t kZooTag = 0xFDC4A7DC;

std::string UpToNul(const std::uint8_t* bytes, size_t max) {
    size_t n = 0;
    while (n < max && bytes[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

}  // namespace

void TArcLister::ListArc() {
    std::int64_t pos = ArcStartOffset();
    while (pos + kArcOldHeader <= End()) {
        std::uint8_t h[kArcHeader] = {};
        std::uint32_t got = ReadAt(pos, h, kArcHeader);
        if (got < 2 || h[0] != kArcMark || h[1] == 0) break;
        std::uint32_t headerLen = h[1] == 1 ? kArcOldHeader : kArcHeader;
        if (got < headerLen) break;
        ClearRecord();
        Method = h[1];
        MethodName = MethodNameOf(m_arcType, Method);
        FileName = SlashToBackslash(FromLatin1(UpToNul(h + 2, 13)));
        PackedSize = GetU32(h + 15);
        FileDate = DosToDateTime(GetU16(h + 19), GetU16(h + 21));
        FileCRC = GetU16(h + 23);
        UnpackedSize = h[1] == 1 ? PackedSize : GetU32(h + 25);
        m_headerPos = static_cast<std::uint32_t>(pos);
        pos += headerLen + static_cast<std::int64_t>(PackedSize);
        Emit();
    }
}

void TArcLister::ListZoo() {
    std::uint8_t a[43] = {};
    if (ReadAt(0, a, sizeof a) < 34) return;
    std::uint32_t first = GetU32(a + 24);
    if (static_cast<std::uint32_t>(first + GetU32(a + 28)) != 0) return;
    if (GetU16(a + 39) != 0) ArchiveComment = FromLatin1(ReadText(GetU32(a + 35), GetU16(a + 39)));
    std::int64_t pos = first;
    // The chain must run forward inside the file; an entry whose next position is
    // 0 only closes the chain.
    while (pos > 0 && pos + kZooFixed <= End()) {
        std::uint8_t h[kZooFixed];
        if (ReadAt(pos, h, kZooFixed) != kZooFixed || GetU32(h) != kZooTag) break;
        std::int64_t next = GetU32(h + 6);
        if (next == 0) break;
        ClearRecord();
        Method = h[5];
        MethodName = MethodNameOf(m_arcType, Method);
        FileDate = DosToDateTime(GetU16(h + 14), GetU16(h + 16));
        FileCRC = GetU16(h + 18);
        UnpackedSize = GetU32(h + 20);
        PackedSize = GetU32(h + 24);
        VersionMadeBy = h[28];
        VersionNeeded = h[29];
        if (GetU16(h + 36) != 0) FileComment = FromLatin1(ReadText(GetU32(h + 32), GetU16(h + 36)));
        FileName = SlashToBackslash(FromLatin1(UpToNul(h + 38, 13)));
        m_headerPos = static_cast<std::uint32_t>(pos);
        Emit();
        if (next <= pos) break;
        pos = next;
    }
}

}  // namespace velmora::arc
