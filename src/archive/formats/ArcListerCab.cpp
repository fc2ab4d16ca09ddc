// CAB: the file entries of a cabinet and of the cabinets of its set that follow
// it. Damage is only reported; the listing then ends quietly.

#include <algorithm>
#include <vector>

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kHeader = 36;
constexpr std::uint32_t kFixed = 16;
constexpr std::uint16_t kHasPrevious = 1;
constexpr std::uint16_t kHasNext = 2;
constexpr std::uint16_t kHasReserve = 4;
// Entries that an earlier cabinet of the set already listed.
constexpr std::uint16_t kFromPrevious = 0xFFFD;
constexpr std::uint16_t kPreviousAndNext = 0xFFFF;
constexpr int kMaxCabinets = 999;

}  // namespace

bool TArcLister::SetUpCabinet(std::int64_t start, std::int64_t& pos, std::uint16_t& files, std::uint16_t& flags,
                              std::wstring& next) {
    std::uint8_t h[kHeader];
    if (ReadAt(start, h, kHeader) != kHeader || GetU32(h) != 0x4643534D) {
        ReportArcError(m_archiveFile, err::BadFileHeader);
        return false;
    }
    files = GetU16(h + 28);
    flags = GetU16(h + 30);
    std::int64_t at = start + kHeader;
    if (flags & kHasReserve) {
        std::uint8_t r[4] = {};
        ReadAt(at, r, 4);
        at += 4 + GetU16(r);
    }
    std::int64_t after = at;
    if (flags & kHasPrevious) {
        ReadZ(after, 256, after);
        ReadZ(after, 256, after);
    }
    next.clear();
    if (flags & kHasNext) {
        next = FromLatin1(ReadZ(after, 256, after));
        ReadZ(after, 256, after);
    }
    std::uint8_t folder[8];
    if (ReadAt(after, folder, 8) != 8) {
        ReportArcError(m_archiveFile, err::ReadError);
        return false;
    }
    Method = GetU16(folder + 6);
    VersionMadeBy = h[24];
    VersionNeeded = h[25];
    pos = start + GetU32(h + 16);
    return true;
}

void TArcLister::ListCab() {
    std::vector<std::wstring> visited{AsciiUpper(ExtractFileName(SlashToBackslash(m_archiveFile)))};
    std::int64_t pos = 0;
    std::uint16_t files = 0, flags = 0;
    std::wstring next;
    if (!SetUpCabinet(ArcStartOffset(), pos, files, flags, next)) return;
    std::uint16_t method = Method, minor = VersionMadeBy, major = VersionNeeded;
    bool firstCabinet = true;
    std::wstring volumeNumber = L"0";
    for (;;) {
        while (files > 0 && pos + kFixed <= End()) {
            std::uint8_t e[kFixed];
            if (ReadAt(pos, e, kFixed) != kFixed) break;
            --files;
            ClearRecord();
            std::int64_t after = 0;
            FileName = SlashToBackslash(FromLatin1(ReadZ(pos + kFixed, 256, after)));
            pos = after;
            std::uint16_t folderIndex = GetU16(e + 8);
            if (!firstCabinet && (folderIndex == kFromPrevious || folderIndex == kPreviousAndNext)) continue;
            PackedSize = UnpackedSize = GetU32(e);
            FileDate = DosToDateTime(GetU16(e + 10), GetU16(e + 12));
            InternalAttr = GetU16(e + 14);
            ExternalAttr = GetU16(e + 14);
            VersionMadeBy = minor;
            VersionNeeded = major;
            Method = method;
            MethodName = MethodNameOf(m_arcType, Method);
            Emit();
        }
        if (!(flags & kHasNext) || next.empty()) return;
        // The next cabinet is a plain name in the folder of the first one.
        std::wstring nextName = ExtractFileName(SlashToBackslash(next));
        std::wstring key = AsciiUpper(nextName);
        if (visited.size() >= kMaxCabinets || std::find(visited.begin(), visited.end(), key) != visited.end()) {
            ReportArcError(nextName, err::CabinetNotInSet);
            return;
        }
        visited.push_back(key);
        volumeNumber = IntToStr(static_cast<long long>(visited.size() - 1));
        OpenVolume(ExtractFilePath(SlashToBackslash(m_archiveFile)) + nextName, volumeNumber);
        firstCabinet = false;
        if (!SetUpCabinet(0, pos, files, flags, next)) return;
        method = Method;
        minor = VersionMadeBy;
        major = VersionNeeded;
    }
}

}  // namespace velmora::arc
