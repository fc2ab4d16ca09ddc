#include "archive/formats/UnLHA.h"

#include <vector>

#include "archive/formats/ArcShared.h"
#include "archive/formats/Lh1Decode.h"
#include "archive/formats/LzhDecode.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kFixedHeader = 22;
constexpr std::uint32_t kLevel2Header = 26;

std::wstring FolderName(const std::uint8_t* bytes, std::size_t count)
{
    std::wstring folder;
    for (std::size_t i = 0; i < count && bytes[i]; ++i)
        folder += bytes[i] == 0xFF ? L'\\' : static_cast<wchar_t>(bytes[i]);
    return SlashToBackslash(folder);
}

bool Supported(const std::string& method)
{
    return method == "-lh0-" || method == "-lh1-" || method == "-lh4-" || method == "-lh5-";
}

}  // namespace

void TUnLHA::Extract()
{
    if (m_archiveFile.empty())
        RaiseArcError(L"", err::InvalidFileName);
    if (m_arcType != TArcType::LHA && m_arcType != TArcType::LZH)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    if (OpenArchiveFile() != 0)
        RaiseArcError(m_archiveFile, err::OpenError);
    {
        ArchiveCloser closer(*this);
        m_abort = false;
        m_count = 0;
        if (OnActivate)
            OnActivate(this);
        Header header;
        for (std::uint32_t pos = 0; !m_abort && ReadHeader(pos, header); pos = header.next)
            ExtractEntry(header);
    }
    if (OnDeactivate)
        OnDeactivate(this);
}

bool TUnLHA::ReadHeader(std::uint32_t pos, Header& header)
{
    const std::uint64_t fileSize = static_cast<std::uint64_t>(ArcFile().Size());
    std::vector<std::uint8_t> h(kLevel2Header);
    const std::uint32_t got = ArcFile().ReadAt(pos, h.data(), kLevel2Header);
    if (got < kFixedHeader || (h[0] == 0 && h[20] != 2))
        return false;
    const int level = h[20];
    const std::uint32_t size = level == 2 ? GetU16(h.data()) : h[0];
    const std::uint32_t fixed = level == 2 ? kLevel2Header : kFixedHeader + h[21] + 2;
    const std::uint32_t total = level == 2 ? size : size + 2;
    if (level > 2 || size < kFixedHeader || fixed > total) {
        ReportArcError(m_archiveFile, err::BadFileHeader);
        return false;
    }
    h.resize(total);
    if (ArcFile().ReadAt(pos, h.data(), total) != total)
        return false;
    header.method.assign(reinterpret_cast<const char*>(&h[2]), 5);
    const std::uint32_t packed = GetU32(&h[7]);
    header.original = GetU32(&h[11]);
    std::wstring name = level == 2 ? std::wstring() : FolderName(&h[22], h[21]);
    std::wstring folder;
    std::uint32_t extBytes = 0;
    if (level == 2) {
        header.crc = GetU16(&h[21]);
        if (!ReadExtendedHeaders(pos + kLevel2Header, GetU16(&h[24]), extBytes, name, folder))
            return false;
        extBytes = 0;
    } else {
        header.crc = GetU16(&h[kFixedHeader + h[21]]);
        if (level == 1 && (total < fixed + 3 ||
                           !ReadExtendedHeaders(pos + total, GetU16(&h[total - 2]), extBytes, name, folder)))
            return false;
    }
    // At level 1 the extended headers count as packed data.
    if (extBytes > packed) {
        ReportArcError(m_archiveFile, err::BadFileHeader);
        return false;
    }
    header.dataStart = pos + total + extBytes;
    header.dataSize = packed - extBytes;
    const std::uint64_t next = static_cast<std::uint64_t>(pos) + total + packed;
    header.next = next > fileSize ? static_cast<std::uint32_t>(fileSize) : static_cast<std::uint32_t>(next);
    if (!folder.empty())
        name = AddBackslash(folder) + name;
    header.name = name;
    return true;
}

// Type 1 holds the name, type 2 the folder (0xFF separated); every other type
// is passed over. Each header's last two bytes give the size of the next one.
bool TUnLHA::ReadExtendedHeaders(std::uint32_t pos, std::uint32_t firstSize, std::uint32_t& total,
                                 std::wstring& name, std::wstring& folder)
{
    const std::uint64_t fileSize = static_cast<std::uint64_t>(ArcFile().Size());
    std::vector<std::uint8_t> ext;
    for (std::uint32_t size = firstSize; size;) {
        if (size < 3 || pos + static_cast<std::uint64_t>(total) + size > fileSize) {
            ReportArcError(m_archiveFile, err::BadFileHeader);
            return false;
        }
        ext.resize(size);
        if (ArcFile().ReadAt(pos + total, ext.data(), size) != size)
            return false;
        if (ext[0] == 1)
            name = FolderName(&ext[1], size - 3);
        else if (ext[0] == 2)
            folder = FolderName(&ext[1], size - 3);
        total += size;
        size = GetU16(&ext[size - 2]);
    }
    return true;
}

void TUnLHA::ExtractEntry(const Header& header)
{
    if (!MatchFileSpec(FileSpec(), header.name))
        return;
    // Folders and Unix links ("name|target") hold no data to write.
    if (header.method == "-lhd-") {
        ReportArcError(header.name, err::SkippedFile);
        return;
    }
    if (!Supported(header.method))
        RaiseArcError(header.name, err::UnknownMethod);
    if (!BuildOutputName(header.name))
        return;
    const std::wstring target = OutputName();
    bool extract = true;
    if (ArcFileExists(target) && OnFileExists)
        OnFileExists(this, target, extract);
    if (extract && OnBegin)
        OnBegin(this, target, m_count + 1, extract);
    if (!extract) {
        ReportArcError(target, err::SkippedFile);
        return;
    }
    EntryTarget output(*this, target, CrcKind::Crc16);
    if (!output.Create()) {
        ReportArcError(target, err::OpenError);
        return;
    }
    if (!DecodeReported(*this, output, [&] { Decode(header, output.Sink()); }))
        return;
    ++m_count;
    const bool crcPassed = output.Crc() == header.crc;
    output.Finish(crcPassed, 0);
    if (!crcPassed)
        ReportArcError(target, err::CrcError);
    if (OnEnd)
        OnEnd(this, target, crcPassed);
}

void TUnLHA::Decode(const Header& header, TargetSink& sink)
{
    EntryInput input(*this, OutputName(), header.dataStart, header.dataSize);
    if (header.method == "-lh0-")
        CopyStored(input.Reader(), sink, header.original);
    else if (header.method == "-lh1-")
        Lh1Decode(input.Reader(), sink, header.original);
    else {
        BoundedSink bounded(sink, input.Reader());
        LzhDecode(input.Reader(), bounded,
                           header.method == "-lh4-" ? kLzhLh4 : kLzhLh5, header.original);
    }
}

}  // namespace velmora::arc
