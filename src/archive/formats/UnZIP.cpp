#include "archive/formats/UnZIP.h"

#include <algorithm>
#include <vector>

#include "archive/formats/ArcShared.h"
#include "archive/formats/BufferedReader.h"
#include "archive/formats/Explode.h"
#include "archive/formats/Inflate.h"
#include "archive/formats/Unreduce.h"
#include "archive/formats/Unshrink.h"
#include "archive/formats/UnReaderFiles.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kRelativeStub = 27648;
constexpr std::uint16_t kFlagEncrypted = 0x0001;
constexpr std::uint16_t kFlagStrongEncryption = 0x0040;
// Local headers of the archives detected as Zip250 begin with this signature.
constexpr std::uint32_t kZip250Signature = 0x50000000;
// A 32-bit field with this value stands for a 64-bit one in the extra field.
constexpr std::uint32_t kZip64Marker = 0xFFFFFFFF;

bool MethodSupported(std::uint16_t method)
{
    return method <= 6 || method == 8;
}

// Passwords are keyed byte by byte in the system's 8-bit character set.
std::string PasswordBytes(const std::wstring& password)
{
    std::string bytes;
    for (wchar_t c : password)
        bytes += c < 0x100 ? static_cast<char>(c) : '?';
    return bytes;
}

bool IsFolderName(const std::wstring& name)
{
    return !name.empty() && (name.back() == L'/' || name.back() == L'\\');
}

}  // namespace

std::uint32_t TUnZIP::FindEndRecord()
{
    const std::uint32_t size = static_cast<std::uint32_t>(ArcFile().Size());
    const std::uint32_t span = std::min<std::uint32_t>(size > 0 ? size - 1 : 0, 32768);
    std::vector<std::uint8_t> tail(span);
    if (span < 22 || ArcFile().ReadAt(size - span, tail.data(), span) != span)
        RaiseArcError(m_archiveFile, err::UnknownFileType);
    for (std::uint32_t i = span - 22; i >= 1; --i) {
        if (GetU32(&tail[i]) == kEndSignature)
            return GetU32(&tail[i + 16]);
    }
    RaiseArcError(m_archiveFile, err::UnknownFileType);
}

TUnZIP::CentralRead TUnZIP::ReadCentral(std::uint32_t position, CentralEntry& e, std::wstring& name)
{
    std::uint8_t h[46];
    const std::uint32_t got = ArcFile().ReadAt(position, h, sizeof h);
    if (got >= 4 && GetU32(h) != kCentralSignature)
        return CentralRead::NotCentral;
    if (got != sizeof h)
        return CentralRead::Short;
    e.flags = GetU16(h + 8);
    e.method = GetU16(h + 10);
    e.dosTime = GetU16(h + 12);
    e.dosDate = GetU16(h + 14);
    e.crc = GetU32(h + 16);
    e.packedSize = GetU32(h + 20);
    e.size = GetU32(h + 24);
    e.nameLength = GetU16(h + 28);
    e.extraLength = GetU16(h + 30);
    e.commentLength = GetU16(h + 32);
    e.externalAttributes = GetU32(h + 38);
    e.zip64 = e.packedSize == kZip64Marker || e.size == kZip64Marker || GetU32(h + 42) == kZip64Marker;
    e.localOffset = GetU32(h + 42) + m_offsetBase;
    std::string raw(e.nameLength, '\0');
    if (ArcFile().Read(raw.data(), e.nameLength) != e.nameLength)
        return CentralRead::Short;
    // The name ends at an embedded NUL, for matching as for writing.
    raw.resize(std::min(raw.size(), raw.find('\0')));
    name = FromLatin1(raw);
    return CentralRead::Ok;
}

int TUnZIP::ReadLocal(std::uint32_t offset, LocalEntry& local)
{
    std::uint8_t h[30];
    if (ArcFile().ReadAt(offset, h, sizeof h) != sizeof h)
        return err::InconsistentLocalHeader;
    if (GetU32(h) == kZip250Signature)
        return err::UnsupportedVersion;
    if (GetU32(h) != kLocalSignature)
        return err::InconsistentLocalHeader;
    local.flags = GetU16(h + 6);
    local.dosTime = GetU16(h + 10);
    local.crc = GetU32(h + 14);
    local.dataOffset = offset + 30 + GetU16(h + 26) + GetU16(h + 28);
    return 0;
}

bool TUnZIP::OverlapsEarlierEntry(std::uint32_t start, std::uint32_t end)
{
    auto next = m_spans.upper_bound(start);
    if (next != m_spans.end() && next->first < end)
        return true;
    if (next != m_spans.begin() && std::prev(next)->second > start)
        return true;
    m_spans.emplace(start, end);
    return false;
}

void TUnZIP::Extract()
{
    m_count = 0;
    m_lastPassword.clear();
    if (m_archiveFile.empty())
        RaiseArcError(m_archiveFile, err::InvalidFileName);
    if (m_arcType < TArcType::ZIP || m_arcType > TArcType::Zip250Exe)
        RaiseArcError(m_archiveFile, err::InvalidArchive);
    if (OpenArchiveFile() != 0)
        RaiseArcError(m_archiveFile, err::OpenError);
    ArchiveCloser closer(*this);
    m_abort = false;
    m_offsetBase = ZipOffsetsRelative() ? kRelativeStub : 0;

    const std::uint32_t directory = FindEndRecord();
    std::uint32_t position = directory + m_offsetBase;
    CentralEntry central;
    std::wstring name;
    if (ReadCentral(position, central, name) != CentralRead::Ok) {
        // A stub found through its program header leaves open whether the
        // archive counts its offsets from its own start: try that as well.
        m_offsetBase = ArcStartOffset();
        position = directory + m_offsetBase;
        if (m_offsetBase == 0 || ReadCentral(position, central, name) != CentralRead::Ok)
            RaiseArcError(m_archiveFile, err::ArchiveError);
    }
    if (OnActivate)
        OnActivate(this);

    m_spans.clear();
    int matched = 0;
    int unsupported = 0;
    while (!m_abort) {
        const CentralRead read = ReadCentral(position, central, name);
        if (read == CentralRead::NotCentral)
            break;
        // A directory cut short is damage, not the end of the archive.
        if (read == CentralRead::Short)
            RaiseArcError(m_archiveFile, err::ReadError);
        position += 46 + central.nameLength + central.extraLength + central.commentLength;
        // Folders and volume labels have nothing to extract.
        if ((central.externalAttributes & 0x18) || IsFolderName(name))
            continue;
        if (!MatchFileSpec(FileSpec(), SlashToBackslash(name)))
            continue;
        ++matched;
        if (!BuildOutputName(name))
            continue;
        if (central.zip64) {
            ReportArcError(OutputName(), err::UnsupportedVersion);
            continue;
        }
        LocalEntry local;
        if (const int code = ReadLocal(central.localOffset, local)) {
            unsupported += code == err::UnsupportedVersion;
            ReportArcError(OutputName(), code);
            continue;
        }
        // Data that another entry's data covers (the same bytes named twice)
        // would multiply a small archive into any size.
        const std::uint64_t end = static_cast<std::uint64_t>(local.dataOffset) + central.packedSize;
        if (end > static_cast<std::uint64_t>(ArcFile().Size()) ||
            OverlapsEarlierEntry(central.localOffset, static_cast<std::uint32_t>(end))) {
            ReportArcError(OutputName(), err::ArchiveError);
            continue;
        }
        if (!ExtractEntry(central, local))
            break;
    }
    if (matched == 0)
        RaiseArcError(m_archiveFile, err::NothingToDo);
    // An archive of the older kind whose entries were all passed over says so.
    if (unsupported == matched)
        RaiseArcError(m_archiveFile, err::UnsupportedVersion);
    CloseArchiveFile();
    if (OnDeactivate)
        OnDeactivate(this);
}

bool TUnZIP::ExtractEntry(const CentralEntry& central, const LocalEntry& local)
{
    const std::wstring target = OutputName();
    // Checked before anything touches an existing file of that name.
    if (!MethodSupported(central.method) || (central.flags & kFlagStrongEncryption)) {
        ReportArcError(target, err::UnknownMethod);
        return true;
    }
    ++m_count;
    bool extract = true;
    if (ArcFileExists(target) && OnFileExists)
        OnFileExists(this, target, extract);
    if (extract && OnBegin)
        OnBegin(this, target, m_count, extract);
    if (!extract) {
        ReportArcError(target, err::SkippedFile);
        return true;
    }

    ZipCrypt crypt;
    ZipCrypt* decrypt = nullptr;
    std::uint32_t dataOffset = local.dataOffset;
    if (local.flags & kFlagEncrypted) {
        std::uint8_t header[ZipCrypt::kHeaderSize];
        const bool read = ArcFile().ReadAt(local.dataOffset, header, sizeof header) == sizeof header;
        if (!read || !FindPassword(central, local, header, crypt)) {
            // Nothing was written; the walk ends after this entry.
            if (OnEnd)
                OnEnd(this, target, false);
            return false;
        }
        decrypt = &crypt;
        dataOffset += ZipCrypt::kHeaderSize;
    }
    EntryTarget output(*this, target, CrcKind::Crc32);
    if (!output.Create()) {
        ReportArcError(target, err::OpenError);
        return true;
    }
    // Cancelled while decoding: the walk ends.
    if (!output.Decode([&] { UnzipEntry(central, dataOffset, decrypt, output.Sink()); }))
        return false;
    const bool passed = output.Crc() == central.crc;
    const std::uint32_t dosTime = (static_cast<std::uint32_t>(central.dosDate) << 16) | central.dosTime;
    if (output.Finish(passed, SetDateTo() == TSetDate::OrigDate ? dosTime : 0))
        ArcSetFileAttributes(target, central.externalAttributes & 0x27);
    if (!passed)
        ReportArcError(target, err::CrcError);
    if (OnEnd)
        OnEnd(this, target, passed);
    return true;
}

bool TUnZIP::PasswordFits(const std::uint8_t (&header)[ZipCrypt::kHeaderSize], std::uint16_t flags,
                          const std::wstring& password, std::uint16_t dosTime, std::uint32_t crc, ZipCrypt& crypt)
{
    return crypt.CheckPassword(header, flags, PasswordBytes(password), dosTime, crc);
}

bool TUnZIP::FindPassword(const CentralEntry& central, const LocalEntry& local,
                          const std::uint8_t (&header)[ZipCrypt::kHeaderSize], ZipCrypt& crypt)
{
    if (PasswordFits(header, central.flags, m_lastPassword, central.dosTime, central.crc, crypt))
        return true;
    for (const std::wstring& password : Passwords().Items()) {
        if (PasswordFits(header, local.flags, password, local.dosTime, local.crc, crypt)) {
            m_lastPassword = password;
            return true;
        }
    }
    const std::wstring target = OutputName();
    if (!OnGetPassword) {
        ReportArcError(target, err::OnPasswordNotAssigned);
        return false;
    }
    std::wstring password = m_lastPassword;
    for (int round = 0; round < 3; ++round) {
        bool tryAgain = true;
        OnGetPassword(this, target, password, tryAgain);
        if (!tryAgain)
            break;
        if (PasswordFits(header, local.flags, password, local.dosTime, local.crc, crypt)) {
            Passwords().Insert(0, password);
            m_lastPassword = password;
            return true;
        }
        ReportArcError(target, err::InvalidPassword);
        password.clear();
    }
    ReportArcError(target, err::PasswordFailed);
    return false;
}

void TUnZIP::UnzipEntry(const CentralEntry& central, std::uint32_t dataOffset, ZipCrypt* crypt, ByteSink& target)
{
    std::uint32_t packed = central.packedSize;
    if (crypt)
        packed = packed >= ZipCrypt::kHeaderSize ? packed - ZipCrypt::kHeaderSize : 0;
    const bool stored = central.method == 0;
    EntryInput input(*this, OutputName(), dataOffset, packed, stored);
    BufferedReader& reader = input.Reader();
    if (crypt)
        reader.SetTransform([crypt](std::uint8_t* data, std::size_t count) { crypt->Decrypt(data, count); });
    // No decoder writes on long after its packed data ran out.
    BoundedSink sink(target, reader);
    switch (central.method) {
    case 0: {
        // Never more than the declared size, whatever the packed size says.
        std::vector<std::uint8_t> block(BufferedReader::kBlockSize);
        std::uint32_t left = central.size;
        for (std::size_t n; left > 0 && (n = reader.Read(block.data(), std::min<std::size_t>(block.size(), left))) > 0;) {
            sink.Write(block.data(), n);
            left -= static_cast<std::uint32_t>(n);
        }
        break;
    }
    case 1:
        Unshrink(reader, sink, central.size);
        break;
    case 6:
        Explode(reader, sink, central.flags, central.size,
                [](const std::wstring& text) { ArcMessageBox(text, TArcMsgKind::Warning, TArcMsgButtons::OK); });
        break;
    case 8:
        Inflate(reader, sink, central.size);
        break;
    default:
        Unreduce(reader, sink, central.method - 1, central.size);
        break;
    }
}

}  // namespace velmora::arc
