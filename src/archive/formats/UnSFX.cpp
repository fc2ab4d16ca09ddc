#include "archive/formats/UnSFX.h"

#include <algorithm>
#include <vector>

#include "archive/formats/ArcShared.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kBlock = 32768;
constexpr std::uint16_t kArjMark = 0xEA60;
constexpr std::uint32_t kZipCentral = 0x02014B50;
constexpr std::uint32_t kZipEnd = 0x06054B50;
constexpr std::uint32_t kZipSearch = 32767;
constexpr std::uint32_t kErrorHandleEof = 38;

void Warning(const std::wstring& text)
{
    ArcMessageBox(text, TArcMsgKind::Warning, TArcMsgButtons::OK);
}

void Information(const std::wstring& text)
{
    ArcMessageBox(text, TArcMsgKind::Information, TArcMsgButtons::OK);
}

const wchar_t* ArchiveExtension(TArcType type)
{
    switch (type) {
    case TArcType::ArjExe: return L".ARJ";
    case TArcType::ArcExe: return L".ARC";
    case TArcType::BHExe: return L".BH";
    case TArcType::PakExe: return L".PAK";
    case TArcType::RarExe: return L".RAR";
    case TArcType::ZipExe:
    case TArcType::Zip250Exe: return L".ZIP";
    default: return nullptr;
    }
}

void ReadExact(TArcFile& in, std::int64_t pos, void* buffer, std::uint32_t count)
{
    if (in.ReadAt(pos, buffer, count) != count)
        throw EOSError(in.LastError() ? in.LastError() : kErrorHandleEof, L"Lesen");
}

void WriteAll(TArcFile& out, const void* data, std::uint32_t count)
{
    if (out.Write(data, count) != count)
        throw EOSError(out.LastError(), L"Schreiben");
}

void CopyRange(TArcFile& in, TArcFile& out, std::int64_t from, std::int64_t to)
{
    std::vector<std::uint8_t> block(kBlock);
    while (from < to) {
        const auto n = static_cast<std::uint32_t>(std::min<std::int64_t>(to - from, kBlock));
        ReadExact(in, from, block.data(), n);
        WriteAll(out, block.data(), n);
        from += n;
    }
}

// The end of an ARJ header with its extended headers, from its mark at Pos;
// 0 at the end mark.
std::int64_t ArjHeaderEnd(TArcFile& in, std::int64_t pos, std::vector<std::uint8_t>& basic)
{
    std::uint8_t head[4];
    ReadExact(in, pos, head, 4);
    if (GetU16(head) != kArjMark)
        throw EOSError(kErrorHandleEof, L"ARJ");
    const std::uint32_t size = GetU16(head + 2);
    if (size == 0)
        return 0;
    basic.resize(size);
    ReadExact(in, pos + 4, basic.data(), size);
    std::int64_t end = pos + 4 + size + 4;
    for (;;) {
        std::uint8_t ext[2];
        ReadExact(in, end, ext, 2);
        end += 2;
        if (GetU16(ext) == 0)
            return end;
        end += GetU16(ext) + 4;
    }
}

// The main header without comment and security envelope, then every file
// header with its data as it is, then the end mark.
void WriteArj(TArcFile& in, TArcFile& out, std::int64_t start)
{
    std::vector<std::uint8_t> basic;
    std::int64_t pos = ArjHeaderEnd(in, start, basic);
    const std::uint32_t first = basic.empty() ? 0 : basic[0];
    if (pos == 0 || first < 30 || first > basic.size())
        throw EOSError(kErrorHandleEof, L"ARJ");
    std::vector<std::uint8_t> main(basic.begin(), basic.begin() + first);
    main[4] = 16;
    std::fill(main.begin() + 20, main.begin() + 24, 0);
    std::fill(main.begin() + 26, main.begin() + 28, 0);
    const auto nameEnd = std::find(basic.begin() + first, basic.end(), std::uint8_t{0});
    main.insert(main.end(), basic.begin() + first, nameEnd);
    main.push_back(0);
    main.push_back(0);
    std::uint32_t crc = 0xFFFFFFFF;
    UpdateCrc32(main.data(), main.size(), crc);
    crc = ~crc;
    const std::uint8_t head[4] = {0x60, 0xEA, static_cast<std::uint8_t>(main.size()),
                                  static_cast<std::uint8_t>(main.size() >> 8)};
    const std::uint8_t tail[6] = {static_cast<std::uint8_t>(crc), static_cast<std::uint8_t>(crc >> 8),
                                  static_cast<std::uint8_t>(crc >> 16), static_cast<std::uint8_t>(crc >> 24), 0, 0};
    WriteAll(out, head, 4);
    WriteAll(out, main.data(), static_cast<std::uint32_t>(main.size()));
    WriteAll(out, tail, 6);
    std::int64_t written = 10 + static_cast<std::int64_t>(main.size());
    for (;;) {
        const std::int64_t end = ArjHeaderEnd(in, pos, basic);
        if (end == 0 || basic.size() < 16)
            break;
        const std::int64_t dataEnd = end + GetU32(&basic[12]);
        CopyRange(in, out, pos, dataEnd);
        written += dataEnd - pos;
        pos = dataEnd;
    }
    if (written > 68) {
        const std::uint8_t endMark[4] = {0x60, 0xEA, 0, 0};
        WriteAll(out, endMark, 4);
    }
}

void Put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

std::wstring FullPathName(const std::wstring& name)
{
    std::wstring path = SlashToBackslash(name);
    const bool hasDrive = path.size() >= 2 && path[1] == L':';
    if (!hasDrive && !StartsWith(path, L"\\"))
        path = ArcCurrentDirectory() + path;
    else if (!hasDrive && !StartsWith(path, L"\\\\"))
        path = ArcCurrentDirectory().substr(0, 2) + path;
    std::vector<std::wstring> parts;
    for (const auto& part : SplitString(path, L"\\")) {
        if (part.empty() || part == L".")
            continue;
        if (part == L".." && parts.size() > 1)
            parts.pop_back();
        else if (part != L"..")
            parts.push_back(part);
    }
    std::wstring full;
    for (const auto& part : parts)
        full += (full.empty() && part.size() == 2 && part[1] == L':' ? L"" : L"\\") + part;
    return full;
}

void TUnSFX::SetArchiveFile(const std::wstring& given)
{
    const std::wstring name = SlashToBackslash(given);
    if (name.empty() || !ArcFileExists(name)) {
        if (!name.empty())
            Warning(name + L"\rFile not found.");
        m_archiveFile.clear();
        m_outFilename.clear();
        DetectArcType();
        return;
    }
    m_archiveFile = name;
    m_arcStart = 1;
    DetectArcType();
    if (m_arcType == TArcType::Unknown || m_fileSize == 0) {
        Warning(L"Invalid Archive.");
        m_archiveFile.clear();
        m_outFilename.clear();
        DetectArcType();
        return;
    }
    if (!ArchiveExtension(m_arcType)) {
        m_archiveFile.clear();
        m_outFilename.clear();
        DetectArcType();
        Warning(L"Unsupported or invalid archive type.");
        return;
    }
    m_outFilename = Proposal();
}

// The archive's folder ("C:\" at a drive root, without doubling the "\"), its
// base name and the extension of the archive type.
std::wstring TUnSFX::Proposal() const
{
    const wchar_t* ext = ArchiveExtension(m_arcType);
    if (m_archiveFile.empty() || !ext)
        return std::wstring();
    return ExtractFilePath(m_archiveFile) + ChangeFileExt(ExtractFileName(m_archiveFile), L"") + ext;
}

void TUnSFX::SetOutFilename(const std::wstring& given)
{
    const std::wstring value = SlashToBackslash(given);
    const std::wstring fileName = ExtractFileName(value);
    if (fileName.empty() && !m_archiveFile.empty()) {
        m_outFilename = Proposal();
        return;
    }
    if (m_archiveFile.empty()) {
        Information(L"ArchiveFile must be defined.");
        m_outFilename.clear();
        return;
    }
    if (ArcDirectoryExists(value)) {
        Information(value + L" is an existing directory.");
        m_outFilename = Proposal();
        return;
    }
    if (ExtractFilePath(value).empty()) {
        const std::wstring folder = ExtractFilePath(m_archiveFile);
        m_outFilename = (folder.empty() ? ArcCurrentDirectory() : folder) + value;
        return;
    }
    const std::wstring folder = ExtractFileDir(value);
    if (!ArcDirectoryExists(folder)) {
        const int answer = ArcMessageBox(L"Directory not found, create?", TArcMsgKind::Confirmation,
                                         TArcMsgButtons::YesNo);
        if (answer == 6) {
            ArcForceDirectories(folder);
            if (ArcDirectoryExists(folder)) {
                m_outFilename = value;
                return;
            }
            Information(L"Error creating directory: " + folder);
        }
        m_outFilename = AddBackslash(ArcCurrentDirectory()) + fileName;
        return;
    }
    m_outFilename = value;
}

bool TUnSFX::Activate()
{
    // The same file by any name (a short alias, a link) is the same file.
    auto sameFile = [this] {
        TArcFileId in, out;
        if (ArcFileIdentity(m_archiveFile, in) && ArcFileIdentity(m_outFilename, out))
            return in == out;
        return SameTextAscii(FullPathName(m_archiveFile), FullPathName(m_outFilename));
    };
    if (m_archiveFile.empty() || m_outFilename.empty() || !ArchiveExtension(m_arcType) || sameFile())
        return false;
    TArcFile in;
    if (!in.OpenRead(m_archiveFile))
        throw EOSError(in.LastError(), L"Öffnen");
    std::uint32_t zipEnd = 0;
    const bool zip = m_arcType == TArcType::ZipExe || m_arcType == TArcType::Zip250Exe;
    if (zip && !FindZipEnd(in, zipEnd)) {
        Warning(L"Invalid Archive.");
        return false;
    }
    if (ArcFileExists(m_outFilename) && OnFileExists) {
        bool accept = true;
        OnFileExists(this, m_outFilename, accept);
        // The handler may have chosen another name: the check is made again.
        if (!accept || m_outFilename.empty() || sameFile())
            return false;
    }
    // The archive is written beside the output under a name of its own and takes
    // the output's place only when whole: a file being replaced stays as it was
    // when anything fails, and no cut archive is left behind.
    TArcFile out;
    std::wstring temporary;
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100 && temporary.empty(); ++attempt) {
        const std::wstring name = ExtractFilePath(m_outFilename) + L"~vlm" + std::to_wstring(++serial) + L".tmp";
        if (out.CreateNew(name))
            temporary = name;
        else if (!ArcFileExists(name))
            break;
    }
    if (temporary.empty())
        throw EOSError(out.LastError(), L"Erstellen");
    struct Cleanup {
        TArcFile& file;
        std::wstring& name;
        ~Cleanup() {
            if (name.empty()) return;
            file.Close();
            ArcDeleteFile(name);
        }
    } cleanup{out, temporary};
    if (zip)
        WriteZip(in, out);
    else if (m_arcType == TArcType::ArjExe)
        WriteArj(in, out, ArcStartOffset());
    else
        CopyRange(in, out, ArcStartOffset(), in.Size());
    if (!out.Close())
        throw EOSError(out.LastError(), L"Schließen");
    if (ArcFileExists(m_outFilename))
        ArcSetFileAttributes(m_outFilename, 0);
    if (!ArcReplaceFile(temporary, m_outFilename))
        throw EOSError(0, L"Erstellen");
    temporary.clear();
    return true;
}

// An end record in the last 32767 bytes, its central directory inside the
// file and the first central header there.
bool TUnSFX::FindZipEnd(TArcFile& in, std::uint32_t& endPos)
{
    const std::int64_t size = in.Size();
    const auto span = static_cast<std::uint32_t>(std::min<std::int64_t>(size, kZipSearch));
    if (span < 22)
        return false;
    std::vector<std::uint8_t> tail(span);
    ReadExact(in, size - span, tail.data(), span);
    for (std::int64_t i = span - 22; i >= 0; --i) {
        if (GetU32(&tail[static_cast<std::size_t>(i)]) != kZipEnd)
            continue;
        endPos = static_cast<std::uint32_t>(size - span + i);
        const std::uint32_t cdSize = GetU32(&tail[static_cast<std::size_t>(i) + 12]);
        const std::uint32_t cdOffset = GetU32(&tail[static_cast<std::size_t>(i) + 16]);
        std::uint8_t central[46];
        return static_cast<std::uint64_t>(cdOffset) + cdSize <= endPos && cdSize >= 46 &&
               in.ReadAt(cdOffset, central, 46) == 46 && GetU32(central) == kZipCentral;
    }
    return false;
}

// The local headers with their data and data descriptors are one range from
// the first local header to the central directory, copied as it is; the
// central headers and the end record get offsets counted from that header.
void TUnSFX::WriteZip(TArcFile& in, TArcFile& out)
{
    std::uint32_t endPos = 0;
    FindZipEnd(in, endPos);
    std::uint8_t end[22];
    ReadExact(in, endPos, end, 22);
    const std::uint32_t cdSize = GetU32(end + 12);
    const std::uint32_t cdOffset = GetU32(end + 16);
    std::vector<std::uint8_t> cd(cdSize);
    ReadExact(in, cdOffset, cd.data(), cdSize);
    std::uint32_t base = cdOffset;
    for (std::size_t p = 0; p + 46 <= cd.size() && GetU32(&cd[p]) == kZipCentral;
         p += 46 + GetU16(&cd[p + 28]) + GetU16(&cd[p + 30]) + GetU16(&cd[p + 32]))
        base = std::min(base, GetU32(&cd[p + 42]));
    CopyRange(in, out, base, cdOffset);
    for (std::size_t p = 0; p + 46 <= cd.size() && GetU32(&cd[p]) == kZipCentral;
         p += 46 + GetU16(&cd[p + 28]) + GetU16(&cd[p + 30]) + GetU16(&cd[p + 32]))
        Put32(&cd[p + 42], GetU32(&cd[p + 42]) - base);
    WriteAll(out, cd.data(), cdSize);
    Put32(end + 16, cdOffset - base);
    end[20] = end[21] = 0;
    WriteAll(out, end, 22);
}

}  // namespace velmora::arc
