#include "archive/formats/UnZoo.h"

#include "archive/formats/ArcShared.h"
#include "archive/formats/LzhDecode.h"
#include "archive/formats/ZooLzwDecode.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kTag = 0xFDC4A7DC;
constexpr std::uint32_t kArchiveHeader = 34;
constexpr std::uint32_t kEntryHeader = 51;  // up to and with the 13-byte name

}  // namespace

void TUnZOO::Extract()
{
    if (m_archiveFile.empty())
        RaiseArcError(L"", err::InvalidFileName);
    if (m_arcType != TArcType::ZOO)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    if (OpenArchiveFile() != 0)
        RaiseArcError(m_archiveFile, err::OpenError);
    {
        ArchiveCloser closer(*this);
        std::uint32_t pos = ReadArchiveHeader();
        if (OnActivate)
            OnActivate(this);
        m_count = 0;
        const std::uint32_t size = static_cast<std::uint32_t>(ArcFile().Size());
        // The chain ends at the terminal entry (next 0); a chain that does not
        // lead forward inside the file ends too, so that none loops.
        while (!m_abort) {
            Header header;
            ReadHeader(pos, header);
            if (header.next == 0)
                break;
            if (!header.deleted)
                ExtractEntry(header);
            if (header.next <= pos || header.next >= size)
                break;
            pos = header.next;
        }
    }
    if (OnDeactivate)
        OnDeactivate(this);
}

std::uint32_t TUnZOO::ReadArchiveHeader()
{
    std::uint8_t h[kArchiveHeader];
    if (ArcFile().ReadAt(0, h, kArchiveHeader) != kArchiveHeader)
        RaiseArcError(m_archiveFile, err::ReadError);
    const std::uint32_t start = GetU32(h + 24);
    if (GetU32(h + 20) != kTag || start + GetU32(h + 28) != 0)
        RaiseArcError(m_archiveFile, err::BadFileHeader);
    return start;
}

void TUnZOO::ReadHeader(std::uint32_t pos, Header& header)
{
    std::uint8_t h[kEntryHeader];
    if (ArcFile().ReadAt(pos, h, kEntryHeader) != kEntryHeader)
        RaiseArcError(m_archiveFile, err::ReadError);
    if (GetU32(h) != kTag)
        RaiseArcError(m_archiveFile, err::BadFileHeader);
    header.method = h[5];
    header.next = GetU32(h + 6);
    header.dataStart = GetU32(h + 10);
    header.dosTime = static_cast<std::uint32_t>(GetU16(h + 14)) << 16 | GetU16(h + 16);
    header.crc = GetU16(h + 18);
    header.original = GetU32(h + 20);
    header.packed = GetU32(h + 24);
    header.deleted = h[30] != 0;
    header.name = EntryName(h + 38, 13);
}

void TUnZOO::ExtractEntry(const Header& header)
{
    if (!MatchFileSpec(FileSpec(), header.name))
        return;
    if (header.method > 2) {
        ReportArcError(header.name, err::UnknownMethod);
        return;
    }
    if (!BuildOutputName(header.name))
        return;
    const std::wstring target = OutputName();
    bool extract = true;
    if (ArcFileExists(target) && OnFileExists)
        OnFileExists(this, target, extract);
    if (extract && OnBegin)
        OnBegin(this, target, m_count, extract);
    if (!extract) {
        ReportArcError(target, err::SkippedFile);
        return;
    }
    // A failure inside one entry ends that entry only.
    try {
        DecodeEntry(header, target);
    } catch (const Exception& e) {
        ReportArcError(target, ErrorCodeOf(e));
    }
}

void TUnZOO::DecodeEntry(const Header& header, const std::wstring& target)
{
    EntryTarget output(*this, target, CrcKind::Crc16);
    if (!output.Create()) {
        ReportArcError(target, err::OpenError);
        return;
    }
    const bool decoded = output.Decode([&] {
        EntryInput input(*this, target, header.dataStart, header.packed);
        TargetSink& sink = output.Sink();
        if (header.method == 0)
            CopyStored(input.Reader(), sink, header.original);
        else if (header.method == 1)
            ZooLzwDecode(input.Reader(), sink, header.original);
        else {
            BoundedSink bounded(sink, input.Reader());
            LzhDecode(input.Reader(), bounded, kLzhLh5, header.original);
        }
    });
    if (!decoded)
        return;
    ++m_count;
    const bool crcPassed = output.Crc() == header.crc;
    output.Finish(crcPassed, SetDateTo() == TSetDate::OrigDate ? header.dosTime : 0);
    if (!crcPassed)
        ReportArcError(target, err::CrcError);
    if (OnEnd)
        OnEnd(this, target, crcPassed);
}

}  // namespace velmora::arc
