// ARJ, plain or behind a program stub, with entries continued over volumes.
// Every header carries its own first-header size: the name stands behind it, and
// the next header behind the extended headers that follow the header CRC.

#include "ArcLister.h"
#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kFixed = 34;
constexpr std::uint16_t kMark = 0xEA60;
constexpr std::uint8_t kContinued = 4;
constexpr std::uint8_t kHostUnix = 2;
constexpr std::uint8_t kHostNext = 8;

// Archives made on Unix hosts carry Unix time stamps where others carry DOS ones.
TDateTime ArjTime(std::uint8_t host, std::uint32_t stamp) {
    if (stamp == 0) return 0.0;
    return host == kHostUnix || host == kHostNext ? UnixTimeToDateTime(stamp) : DosToDateTime(stamp);
}

struct ArjHeader {
    std::uint8_t bytes[kFixed] = {};
    std::uint16_t basicSize = 0;
};

}  // namespace

// Reads the header at Pos; on success Pos stands at the first byte behind the
// extended headers, that is at the packed data (or the next header).
static bool ReadArjHeader(TArcFile& file, std::int64_t size, std::int64_t& pos, ArjHeader& h) {
    if (pos + 4 > size || file.ReadAt(pos, h.bytes, kFixed) < 4) return false;
    h.basicSize = GetU16(h.bytes + 2);
    if (GetU16(h.bytes) != kMark || h.basicSize == 0) return false;
    std::int64_t at = pos + 4 + h.basicSize + 4;
    // Extended headers: 16-bit size, the bytes and their CRC-32; size 0 ends them.
    for (;;) {
        std::uint8_t sizeBytes[2];
        if (file.ReadAt(at, sizeBytes, 2) != 2) return false;
        std::uint16_t ext = GetU16(sizeBytes);
        at += 2;
        if (ext == 0) break;
        at += ext + 4;
    }
    if (at > size) return false;
    pos = at;
    return true;
}

bool TArcLister::SkipArjMainHeader(std::int64_t& pos, bool readNames) {
    ArjHeader main;
    std::int64_t headerStart = pos;
    if (!ReadArjHeader(ArcFile(), End(), pos, main)) return false;
    if (readNames) {
        std::int64_t after = 0;
        std::int64_t nameAt = headerStart + 4 + main.bytes[4];
        ReadZ(nameAt, 256, after);
        ArchiveComment = FromLatin1(ReadZ(after, 2500, after));
    }
    return true;
}

void TArcLister::ListArj() {
    m_volumeNumber = L"0";
    std::int64_t pos = ArcStartOffset();
    if (!SkipArjMainHeader(pos, true)) return;
    while (pos + 4 < End()) {
        ArjHeader h;
        std::int64_t headerStart = pos;
        if (!ReadArjHeader(ArcFile(), End(), pos, h)) break;
        ClearRecord();
        std::int64_t after = 0;
        std::int64_t nameAt = headerStart + 4 + h.bytes[4];
        FileName = SlashToBackslash(FromLatin1(ReadZ(nameAt, 256, after)));
        FileComment = FromLatin1(ReadZ(after, 2500, after));
        const std::uint8_t* b = h.bytes;
        VersionMadeBy = b[5];
        VersionNeeded = b[6];
        Method = b[9];
        MethodName = MethodNameOf(m_arcType, Method);
        FileDate = ArjTime(b[7], GetU32(b + 12));
        PackedSize = GetU32(b + 16);
        UnpackedSize = GetU32(b + 20);
        FileCRC = GetU32(b + 24);
        IsFolder = b[10] == 3;
        m_headerPos = static_cast<std::uint32_t>(headerStart);
        std::int64_t next = pos + GetU32(b + 16);
        if (b[8] & kContinued) {
            SumArjVolumes(b[8]);
            next = m_volumeNext;
        }
        Emit();
        pos = next;
    }
}

void TArcLister::SumArjVolumes(std::uint8_t flags) {
    std::wstring& number = m_volumeNumber;
    std::int64_t next = 0;
    while (flags & kContinued) {
        std::wstring volume;
        NextVolumeName(SlashToBackslash(m_archiveFile), number, volume);
        if (volume.empty()) RaiseArcError(m_archiveFile, err::OpenError, number);
        OpenVolume(volume, number);
        std::int64_t pos = 0;
        ArjHeader h;
        if (!SkipArjMainHeader(pos, false) || !ReadArjHeader(ArcFile(), End(), pos, h))
            RaiseArcError(volume, err::BadFileHeader, number);
        PackedSize += GetU32(h.bytes + 16);
        UnpackedSize += GetU32(h.bytes + 20);
        flags = h.bytes[8];
        next = pos + GetU32(h.bytes + 16);
    }
    // The listing goes on in the last volume, behind the part just summed.
    m_volumeNext = next;
}

void TArcLister::OpenVolume(const std::wstring& name, const std::wstring& volumeID) {
    if (!ArcFile().Close()) RaiseArcError(m_archiveFile, err::CloseError, volumeID);
    if (!ArcFileExists(name)) {
        ReportArcError(name, err::NextVolume, volumeID);
        if (!ArcFileExists(name)) {
            ArcFile().OpenRead(m_archiveFile);
            RaiseArcError(name, err::FileNotFound, volumeID);
        }
    }
    if (!ArcFile().OpenRead(name)) {
        ArcFile().OpenRead(m_archiveFile);
        RaiseArcError(name, err::ReadError, volumeID);
    }
}

}  // namespace velmora::arc
