// Type detection: the archive type from the file's contents, also behind the
// program stub of a self-extracting archive. Detection opens a handle of its own,
// so that it never disturbs an operation that holds the shared archive file.

#include <cstring>

#include "ArcBase.h"
#include "ArcShared.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kZipLocal = 0x04034B50;
constexpr std::uint32_t kZipCentral = 0x02014B50;
constexpr std::uint32_t kZipEnd = 0x06054B50;
constexpr std::uint32_t kBH = 0x07054842;
constexpr std::uint32_t kZooTag = 0xFDC4A7DC;
constexpr std::uint32_t kRelativeStub = 27648;
// Enough bytes to confirm the RAR marker and the ZOO tag.
constexpr std::uint32_t kProbe = 24;

struct Probe {
    std::uint8_t bytes[kProbe] = {};
    std::uint32_t count = 0;
};

TArcType Pick(bool stub, TArcType plain, TArcType behindStub) { return stub ? behindStub : plain; }

// The type from the first bytes of an archive (Stub: behind a program stub). The
// two-byte signatures of RAR and ZOO are confirmed by their full marks, so that a
// text beginning with "Ra" or "ZO" is no archive.
TArcType ArcTypeFromSignature(bool stub, const Probe& p, std::uint32_t& arcStart) {
    const std::uint8_t* b = p.bytes;
    std::uint32_t v = GetU32(b);
    std::uint16_t lo = static_cast<std::uint16_t>(v), hi = static_cast<std::uint16_t>(v >> 16);
    if (v == kZipLocal) return Pick(stub, TArcType::ZIP, TArcType::ZipExe);
    if (v == 0x2E777777) return Pick(stub, TArcType::TAR, TArcType::NA);
    if (v == 0x4643534D) return Pick(stub, TArcType::CAB, TArcType::NA);
    if (v == 0x50000000) return Pick(stub, TArcType::Zip250, TArcType::Zip250Exe);
    if (v == kBH) return Pick(stub, TArcType::BH, TArcType::BHExe);
    if (lo == 0x4148) return Pick(stub, TArcType::HA, TArcType::NA);
    if (lo == 0xEA60) return Pick(stub, TArcType::ARJ, TArcType::ArjExe);
    if (lo == 0x4F5A)
        return p.count >= 24 && GetU32(b + 20) == kZooTag ? Pick(stub, TArcType::ZOO, TArcType::NA)
                                                          : TArcType::Unknown;
    if (hi == 0x6C2D) return Pick(stub, TArcType::LZH, TArcType::NA);
    if (lo == 0x6152)
        return p.count >= 7 && std::memcmp(b, "Rar!\x1A\x07", 6) == 0 && b[6] <= 1
                   ? Pick(stub, TArcType::RAR, TArcType::RarExe)
                   : TArcType::Unknown;
    if (b[0] == 26 && (b[1] == 10 || b[1] == 11)) return Pick(stub, TArcType::PAK, TArcType::PakExe);
    if (b[0] == 26 && b[1] >= 1 && b[1] <= 9) return Pick(stub, TArcType::ARC, TArcType::ArcExe);
    if (lo == 0x92B7 || lo == 0xDFB7) {
        // The stubs of one self-extracting ARC program, whose archive begins at byte 7717.
        arcStart = 7717;
        return TArcType::ArcExe;
    }
    return TArcType::Unknown;
}

class Detector {
public:
    TArcType Run(const std::wstring& name);
    bool CloseFailed() const { return m_closeFailed; }
    std::uint32_t start = 1;
    std::uint32_t size = 0;
    bool relative = false;

private:
    Probe ReadProbe(std::int64_t pos) {
        Probe p;
        p.count = m_file.ReadAt(pos, p.bytes, kProbe);
        return p;
    }
    TArcType Stub();
    TArcType BHTrailer(bool& fileError);
    TArcType ZipEndRecord();
    bool CentralAt(std::int64_t pos, std::uint32_t& localOffset);

    TArcFile m_file;
    bool m_closeFailed = false;
};

TArcType Detector::Run(const std::wstring& name) {
    if (name.empty()) return TArcType::NA;
    if (!m_file.OpenRead(name)) return TArcType::FileError;
    std::int64_t realSize = m_file.Size();
    size = realSize > 0x7FFFFFFF ? 0 : static_cast<std::uint32_t>(realSize);
    TArcType type = TArcType::FileError;
    if (realSize <= 0x7FFFFFFF && size >= 6) {
        Probe head = ReadProbe(0);
        if (head.count < 6)
            type = TArcType::FileError;
        else if (head.bytes[0] != 'M' || head.bytes[1] != 'Z')
            type = ArcTypeFromSignature(false, head, start);
        else
            type = Stub();
        bool fileError = false;
        if (type == TArcType::Unknown) type = BHTrailer(fileError);
        if (fileError) type = TArcType::FileError;
        if (type == TArcType::Unknown) type = ZipEndRecord();
    }
    m_closeFailed = !m_file.Close();
    return type;
}

// The archive behind an MZ program image begins where the image ends.
TArcType Detector::Stub() {
    std::uint8_t mz[6];
    if (m_file.ReadAt(0, mz, 6) != 6) return TArcType::FileError;
    std::int64_t lastPage = GetU16(mz + 2), pages = GetU16(mz + 4);
    // A last-page count of 0 means that the last page is full.
    std::int64_t end = lastPage == 0 ? pages * 512 : (pages - 1) * 512 + lastPage;
    if (end < 2 || end >= size) return TArcType::Unknown;
    Probe p = ReadProbe(end);
    if (p.count < 4) return TArcType::FileError;
    start = static_cast<std::uint32_t>(end) + 1;
    if (GetU16(p.bytes) == 0xEA60) return TArcType::ArjExe;
    return ArcTypeFromSignature(true, p, start);
}

TArcType Detector::BHTrailer(bool& fileError) {
    std::uint8_t tail[4];
    if (m_file.ReadAt(size - 4, tail, 4) != 4) {
        fileError = true;
        return TArcType::FileError;
    }
    std::uint32_t len = GetU32(tail);
    if (len < 1 || len >= size) return TArcType::Unknown;
    std::uint8_t head[37];
    if (m_file.ReadAt(size - len, head, 37) >= 4 && GetU32(head) == kBH) {
        start = size - len + 1;
        return TArcType::BHExe;
    }
    return TArcType::Unknown;
}

bool Detector::CentralAt(std::int64_t pos, std::uint32_t& localOffset) {
    std::uint8_t central[46];
    if (pos >= size || m_file.ReadAt(pos, central, 46) != 46 || GetU32(central) != kZipCentral) return false;
    localOffset = GetU32(central + 42);
    return true;
}

// Only an end record without an archive comment is looked for, at its place right
// before the end of the file (or one byte earlier).
TArcType Detector::ZipEndRecord() {
    for (std::uint32_t back : {22u, 23u}) {
        if (size < back) continue;
        std::uint8_t end[22];
        if (m_file.ReadAt(size - back, end, 22) != 22 || GetU32(end) != kZipEnd) continue;
        std::uint32_t cd = GetU32(end + 16), local = 0;
        if (CentralAt(cd, local)) {
            start = local + 1;
            return TArcType::ZipExe;
        }
        if (size >= kRelativeStub + 1 && CentralAt(static_cast<std::int64_t>(cd) + kRelativeStub, local)) {
            start = local + kRelativeStub + 1;
            relative = true;
            return TArcType::ZipExe;
        }
        return TArcType::Unknown;
    }
    return TArcType::Unknown;
}

}  // namespace

void TZipCommon::DetectArcType() {
    Detector d;
    m_arcType = d.Run(m_archiveFile);
    m_arcStart = d.start;
    m_fileSize = d.size;
    m_zipRelative = d.relative;
    if (d.CloseFailed()) RaiseArcError(m_archiveFile, err::CloseError);
}

}  // namespace velmora::arc
