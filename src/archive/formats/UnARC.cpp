#include "archive/formats/UnARC.h"

#include "archive/formats/ArcShared.h"
#include "archive/formats/ArcUnpack.h"

namespace velmora::arc {

namespace {

constexpr std::uint8_t kMark = 26;
constexpr int kMaxJunk = 10;
constexpr std::uint32_t kOldHeader = 24;  // behind the mark; method 1 has no original size
constexpr std::uint32_t kHeader = 28;

}  // namespace

void TUnARC::Extract()
{
    if (m_archiveFile.empty())
        RaiseArcError(L"", err::InvalidFileName);
    const bool typeOk = m_arcType == TArcType::ARC || m_arcType == TArcType::ArcExe ||
                        m_arcType == TArcType::PAK || m_arcType == TArcType::PakExe;
    if (!typeOk)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    if (OpenArchiveFile() != 0)
        RaiseArcError(m_archiveFile, err::OpenError);
    {
        ArchiveCloser closer(*this);
        if (OnActivate)
            OnActivate(this);
        if (!ArcFile().Seek(ArcStartOffset()))
            RaiseArcError(m_archiveFile, err::SeekError);
        m_count = 0;
        Header header;
        while (ReadHeader(header) && !m_abort) {
            ExtractEntry(header);
            SkipData(header);
        }
    }
    if (OnDeactivate)
        OnDeactivate(this);
}

bool TUnARC::ReadHeader(Header& header)
{
    TArcFile& file = ArcFile();
    std::uint8_t byte = 0;
    int skipped = 0;
    for (;;) {
        if (file.Read(&byte, 1) != 1 || (byte != kMark && ++skipped > kMaxJunk)) {
            ReportArcError(m_archiveFile, err::InvalidArchive);
            return false;
        }
        if (byte == kMark)
            break;
    }
    std::uint8_t h[kHeader];
    if (file.Read(h, 1) != 1 || h[0] == 0)
        return false;
    header.method = h[0];
    const std::uint32_t rest = header.method == 1 ? kOldHeader - 1 : kHeader - 1;
    if (file.Read(h + 1, rest) != rest) {
        ReportArcError(m_archiveFile, err::InvalidArchive);
        return false;
    }
    header.name = EntryName(h + 1, 13);
    header.packed = GetU32(h + 14);
    header.dosTime = static_cast<std::uint32_t>(GetU16(h + 18)) << 16 | GetU16(h + 20);
    header.crc = GetU16(h + 22);
    // The old method-1 header has no original size: the data is stored.
    header.original = header.method == 1 ? header.packed : GetU32(h + 24);
    header.dataStart = static_cast<std::uint32_t>(file.Position());
    return true;
}

void TUnARC::ExtractEntry(const Header& header)
{
    if (!MatchFileSpec(FileSpec(), header.name)) {
        ReportArcError(header.name, err::SkippedFile);
        return;
    }
    // Checked before anything is asked or touched, so that an existing file is
    // never lost to an entry that cannot be decoded.
    if (!ArcMethodSupported(header.method)) {
        ReportArcError(header.name, err::UnknownMethod);
        return;
    }
    if (!BuildOutputName(header.name))
        return;
    const std::wstring target = OutputName();
    if (!AcceptEntry(target)) {
        ReportArcError(target, err::SkippedFile);
        return;
    }
    EntryTarget output(*this, target, CrcKind::Crc16);
    if (!output.Create()) {
        ReportArcError(target, err::WriteError);
        return;
    }
    const bool decoded = DecodeReported(*this, output, [&] {
        EntryInput input(*this, target, header.dataStart, header.packed);
        ArcUnpack(header.method, input.Reader(), output.Sink(), header.original);
    });
    if (!decoded)
        return;
    ++m_count;
    const bool crcPassed = output.Crc() == header.crc;
    output.Finish(crcPassed, SetDateTo() == TSetDate::OrigDate ? header.dosTime : 0);
    if (!crcPassed)
        RaiseArcError(target, err::CrcError);
    if (OnEnd)
        OnEnd(this, target, true);
}

bool TUnARC::AcceptEntry(const std::wstring& target)
{
    bool extract = true;
    if (OnBegin)
        OnBegin(this, target, m_count, extract);
    if (extract && ArcFileExists(target) && OnFileExists)
        OnFileExists(this, target, extract);
    return extract;
}

void TUnARC::SkipData(const Header& header)
{
    if (!ArcFile().Seek(static_cast<std::int64_t>(header.dataStart) + header.packed))
        RaiseArcError(header.name, err::SeekError);
}

}  // namespace velmora::arc
