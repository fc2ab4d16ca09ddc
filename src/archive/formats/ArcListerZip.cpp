// The ZIP family: the central directory, found through the end record.

#include <algorithm>
#include <vector>

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kCentral = 0x02014B50;
constexpr std::uint32_t kEnd = 0x06054B50;
constexpr std::uint32_t kRelativeStub = 27648;
constexpr std::uint32_t kFixed = 46;

std::wstring StoredName(const std::string& bytes) { return SlashToBackslash(FromLatin1(bytes)); }

}  // namespace

void TArcLister::ListZip() {
    const std::int64_t size = End();
    // The end record is looked for in the last 32768 bytes only, backwards.
    const std::int64_t window = std::min<std::int64_t>(size - 1, 32768);
    std::vector<std::uint8_t> tail(static_cast<size_t>(std::max<std::int64_t>(window, 0)));
    const std::int64_t tailStart = size - window;
    if (window < 22 || ReadAt(tailStart, tail.data(), static_cast<std::uint32_t>(window)) != window)
        RaiseArcError(m_archiveFile, err::ArchiveError);
    std::int64_t found = -1;
    for (std::int64_t i = window - 22; i >= 1; --i)
        if (GetU32(&tail[static_cast<size_t>(i)]) == kEnd) {
            found = i;
            break;
        }
    if (found < 0) RaiseArcError(m_archiveFile, err::ArchiveError);
    const std::uint8_t* end = &tail[static_cast<size_t>(found)];
    ArchiveComment = FromLatin1(ReadText(tailStart + found + 22, GetU16(end + 20)));

    std::int64_t pos = GetU32(end + 16);
    if (m_zipRelative) pos += kRelativeStub;
    std::uint8_t h[kFixed];
    if (ReadAt(pos, h, kFixed) != kFixed || GetU32(h) != kCentral) RaiseArcError(m_archiveFile, err::ArchiveError);

    while (pos + kFixed < size) {
        if (ReadAt(pos, h, kFixed) != kFixed || GetU32(h) != kCentral) break;
        ClearRecord();
        std::uint16_t nameLen = GetU16(h + 28), extraLen = GetU16(h + 30), commentLen = GetU16(h + 32);
        std::int64_t at = pos + kFixed;
        std::string name = ReadText(at, nameLen);
        FileName = StoredName(name);
        FileComment = FromLatin1(ReadText(at + nameLen + extraLen, commentLen));
        std::uint16_t flags = GetU16(h + 8);
        VersionMadeBy = GetU16(h + 4);
        VersionNeeded = GetU16(h + 6);
        Method = GetU16(h + 10);
        FileDate = DosToDateTime(GetU32(h + 12));
        FileCRC = GetU32(h + 16);
        PackedSize = GetU32(h + 20);
        UnpackedSize = GetU32(h + 24);
        InternalAttr = GetU16(h + 36);
        ExternalAttr = GetU32(h + 38);
        if (Method == 8) DeflateOption = (flags & 6) == 6 ? 6 : (flags & 4) ? 4 : (flags & 2) ? 2 : 0;
        MethodName = MethodNameOf(m_arcType, Method, flags);
        IsFolder = (!name.empty() && (name.back() == '/' || name.back() == '\\')) || (ExternalAttr & 0x10);
        m_headerPos = static_cast<std::uint32_t>(pos);
        pos = at + nameLen + extraLen + commentLen;
        Emit();
    }
}

}  // namespace velmora::arc
