#include "archive/formats/UnARJ.h"

#include <algorithm>
#include <vector>

#include "archive/formats/ArcShared.h"
#include "archive/formats/ArjFastestDecode.h"
#include "archive/formats/LzhDecode.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint16_t kMark = 0xEA60;
constexpr std::uint32_t kMaxBasicHeader = 2600;
constexpr std::uint32_t kSearchSpan = 25000;
constexpr std::uint8_t kGarbled = 0x01;
constexpr std::uint8_t kVolume = 0x04;
constexpr std::uint8_t kExtendedPosition = 0x08;
constexpr std::uint8_t kHostUnix = 2;

// A basic header at Data[Pos]: mark, size within bounds and a matching CRC.
bool IsMainHeaderAt(const std::vector<std::uint8_t>& data, std::size_t pos)
{
    if (pos + 4 > data.size() || GetU16(&data[pos]) != kMark)
        return false;
    const std::uint32_t size = GetU16(&data[pos + 2]);
    if (size == 0 || size > kMaxBasicHeader || pos + 8 + size > data.size())
        return false;
    std::uint32_t crc = 0xFFFFFFFF;
    UpdateCrc32(&data[pos + 4], size, crc);
    return ~crc == GetU32(&data[pos + 4 + size]);
}

bool HasWildcards(const std::wstring& spec)
{
    return spec.find_first_of(L"*?") != std::wstring::npos;
}

}  // namespace

void TUnARJ::Extract()
{
    if (m_archiveFile.empty())
        RaiseArcError(L"", err::InvalidFileName);
    if (m_arcType != TArcType::ARJ && m_arcType != TArcType::ArjExe)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    if (OpenArchiveFile() != 0)
        RaiseArcError(m_archiveFile, err::OpenError);
    {
        ArchiveCloser closer(*this);
        if (OnActivate)
            OnActivate(this);
        FindMainHeader();
        m_count = 0;
        m_volumeNumber = L"0";
        m_abort = false;
        m_skipContinuation = false;
        Header header;
        while (!m_abort && ReadHeader(header, err::BadFileHeader)) {
            const bool extracted = ExtractEntry(header);
            if (extracted && !HasWildcards(FileSpec()))
                break;
            if (!extracted && (header.flags & kVolume)) {
                m_skipContinuation = true;
                OpenNextVolume();
            }
        }
    }
    if (OnDeactivate)
        OnDeactivate(this);
}

// The main header is searched for, since a program stub or a damaged start
// may come before it; the span counts from the archive start behind a stub.
void TUnARJ::FindMainHeader()
{
    const std::uint32_t from = m_arcType == TArcType::ArjExe ? ArcStartOffset() : 0;
    const std::uint32_t size = static_cast<std::uint32_t>(ArcFile().Size());
    std::uint32_t last = size > 2 ? size - 2 : 0;
    if (size > kSearchSpan + 2)
        last = std::min(last, from + kSearchSpan);
    const std::uint32_t start = ArcStartOffset();
    if (start > last)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    std::vector<std::uint8_t> data(std::min<std::uint64_t>(size - start, last - start + 8 + kMaxBasicHeader));
    if (ArcFile().ReadAt(start, data.data(), static_cast<std::uint32_t>(data.size())) != data.size())
        RaiseArcError(m_archiveFile, err::SeekError);
    for (std::size_t pos = 0; start + pos <= last; ++pos) {
        if (!IsMainHeaderAt(data, pos))
            continue;
        if (!ArcFile().Seek(start + pos))
            RaiseArcError(m_archiveFile, err::SeekError);
        Header main;
        ReadHeader(main, err::InvalidArchive);
        return;
    }
    RaiseArcError(m_archiveFile, err::InvalidArchive);
}

bool TUnARJ::ReadHeader(Header& header, int badMarkCode)
{
    TArcFile& file = ArcFile();
    std::uint8_t head[4];
    if (file.Read(head, 4) != 4 || GetU16(head) != kMark)
        RaiseArcError(m_archiveFile, badMarkCode);
    const std::uint32_t size = GetU16(head + 2);
    if (size == 0)
        return false;
    if (size > kMaxBasicHeader)
        RaiseArcError(m_archiveFile, err::BadFileHeader);
    std::vector<std::uint8_t> basic(size + 4);
    if (file.Read(basic.data(), size + 4) != size + 4)
        RaiseArcError(m_archiveFile, err::BadFileHeader);
    std::uint32_t crc = 0xFFFFFFFF;
    UpdateCrc32(basic.data(), size, crc);
    if (~crc != GetU32(&basic[size]))
        RaiseArcError(m_archiveFile, err::HeaderCrcError);
    // Extended headers: a 16-bit size (0 ends them), the bytes, a CRC.
    for (;;) {
        std::uint8_t ext[2];
        if (file.Read(ext, 2) != 2)
            RaiseArcError(m_archiveFile, err::BadFileHeader);
        const std::uint32_t extSize = GetU16(ext);
        if (extSize == 0)
            break;
        if (!file.Seek(file.Position() + extSize + 4))
            RaiseArcError(m_archiveFile, err::SeekError);
    }
    const std::uint32_t first = basic[0];
    if (first < 24 || first > size)
        RaiseArcError(m_archiveFile, err::BadFileHeader);
    header.version = basic[1];
    header.needed = basic[2];
    header.flags = basic[4];
    header.method = basic[5];
    header.fileType = basic[6];
    // Archives made on Unix hosts carry Unix time stamps in the same field.
    const std::uint32_t stamp = GetU32(&basic[8]);
    header.dosTime = basic[3] == kHostUnix ? DateTimeToDosDateTime(UnixTimeToDateTime(stamp)) : stamp;
    header.packed = GetU32(&basic[12]);
    header.original = GetU32(&basic[16]);
    header.crc = GetU32(&basic[20]);
    header.name = SlashToBackslash(EntryName(&basic[first], size - first));
    header.dataStart = static_cast<std::uint32_t>(file.Position());
    return true;
}

bool TUnARJ::ExtractEntry(const Header& header)
{
    if (m_skipContinuation) {
        m_skipContinuation = false;
        if (header.flags & kExtendedPosition) {
            SkipData(header);
            return false;
        }
    }
    // Chapter labels (5), volume labels (4), folders (3) and comments (2)
    // hold no file data.
    if (!MatchFileSpec(FileSpec(), header.name) || (header.fileType >= 2 && header.fileType <= 5)) {
        ReportArcError(header.name, err::SkippedFile);
        SkipData(header);
        return false;
    }
    CheckMethod(header);
    if (!BuildOutputName(header.name)) {
        SkipData(header);
        return false;
    }
    const std::wstring target = OutputName();
    if (!AcceptEntry(target)) {
        ReportArcError(target, err::SkippedFile);
        SkipData(header);
        return false;
    }
    EntryTarget output(*this, target, CrcKind::Crc32);
    if (!output.Create()) {
        ReportArcError(target, err::OpenError);
        SkipData(header);
        return false;
    }
    bool crcPassed = false;
    // Cancelled while decoding: the walk sees the abort flag and ends.
    if (!DecodeReported(*this, output, [&] { crcPassed = DecodeParts(header, output.Sink()); }))
        return true;
    output.Finish(crcPassed, SetDateTo() == TSetDate::OrigDate ? header.dosTime : 0);
    ++m_count;
    if (!crcPassed)
        ReportArcError(target, err::CrcError);
    if (OnEnd)
        OnEnd(this, target, crcPassed);
    return true;
}

void TUnARJ::CheckMethod(const Header& header)
{
    if (header.needed > 3)
        RaiseArcError(header.name, err::VersionError);
    if (header.flags & kGarbled)
        RaiseArcError(header.name, err::PasswordProtected);
    if (header.method > 4 || (header.method == 4 && header.version == 1))
        RaiseArcError(header.name, err::UnknownMethod);
    if (header.fileType > 1)
        RaiseArcError(header.name, err::UnknownFileType);
}

bool TUnARJ::AcceptEntry(const std::wstring& target)
{
    bool extract = true;
    if (OnBegin)
        OnBegin(this, target, m_count + 1, extract);
    if (extract && ArcFileExists(target) && OnFileExists)
        OnFileExists(this, target, extract);
    return extract;
}

// Each part of an entry continued over volumes carries the CRC of that part,
// so every part is checked on its own.
bool TUnARJ::DecodeParts(const Header& first, TargetSink& sink)
{
    Header part = first;
    bool passed = true;
    for (;;) {
        sink.ResetCrc();
        {
            EntryInput input(*this, OutputName(), part.dataStart, part.packed);
            if (part.method == 0)
                CopyStored(input.Reader(), sink, part.original);
            else if (part.method == 4)
                ArjFastestDecode(input.Reader(), sink, part.original);
            else {
                BoundedSink bounded(sink, input.Reader());
                LzhDecode(input.Reader(), bounded, kLzhArj, part.original);
            }
        }
        passed = passed && sink.Crc() == part.crc;
        SkipData(part);
        if (!(part.flags & kVolume))
            return passed;
        OpenNextVolume();
        if (!ReadHeader(part, err::BadFileHeader))
            RaiseArcError(m_volumeName, err::BadFileHeader);
        CheckMethod(part);
    }
}

void TUnARJ::OpenNextVolume()
{
    NextVolumeName(m_archiveFile, m_volumeNumber, m_volumeName);
    if (m_volumeName.empty() || StrToIntDef(m_volumeNumber, 1000) >= 1000)
        RaiseArcError(m_archiveFile, err::MaxVolumes);
    if (!ArcFile().Close())
        RaiseArcError(m_archiveFile, err::CloseError);
    ReportArcError(m_volumeName, err::NextVolume, m_volumeName);
    if (!ArcFileExists(m_volumeName)) {
        ArcFile().OpenRead(m_archiveFile);
        RaiseArcError(m_volumeName, err::FileNotFound, m_volumeName);
    }
    if (!ArcFile().OpenRead(m_volumeName))
        RaiseArcError(m_volumeName, err::ReadError, m_volumeName);
    Header main;
    if (!ReadHeader(main, err::BadFileHeader))
        RaiseArcError(m_volumeName, err::BadFileHeader, m_volumeName);
}

void TUnARJ::SkipData(const Header& header)
{
    if (!ArcFile().Seek(static_cast<std::int64_t>(header.dataStart) + header.packed))
        RaiseArcError(header.name, err::SeekError);
}

}  // namespace velmora::arc
