#include "ArcLister.h"

#include <algorithm>

#include "ArcShared.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

// The archive file is closed and the positions reset however the listing ends.
class ListingScope {
public:
    explicit ListingScope(TArcFile& file) : m_file(file) {}
    ~ListingScope() { m_file.Close(); }
    ListingScope(const ListingScope&) = delete;
    ListingScope& operator=(const ListingScope&) = delete;

private:
    TArcFile& m_file;
};

bool IsOneOf(TArcType t, TArcType a, TArcType b) { return t == a || t == b; }

const wchar_t* FromTable(std::uint16_t method, std::initializer_list<const wchar_t*> names) {
    return method < names.size() ? names.begin()[method] : L"Unknown";
}

}  // namespace

void TArcLister::Activate() {
    if (m_archiveFile.empty()) return;
    if (!OnRead) RaiseArcError(m_archiveFile, err::OnReadNotAssigned);
    if (m_arcType == TArcType::NA || m_arcType == TArcType::Unknown) RaiseArcError(m_archiveFile, err::UnknownFileType);
    if (m_arcType == TArcType::FileError) RaiseArcError(m_archiveFile, err::ArchiveError);
    if (OpenArchiveFile() != 0) RaiseArcError(m_archiveFile, err::ReadError);
    ListingScope scope(ArcFile());
    m_count = 0;
    TotalPackedSize = TotalUnpackedSize = 0;
    ArchiveComment.clear();
    ClearRecord();
    ListArchive();
    if (OnTotals) {
        ClearRecord();
        PackedSize = TotalPackedSize;
        UnpackedSize = TotalUnpackedSize;
        Ratio = RatioOf(PackedSize, UnpackedSize);
        OnTotals(this, m_count);
    }
    ArchiveComment.clear();
    ResetPositions();
    if (CloseArchiveFile() != 0) RaiseArcError(m_archiveFile, err::CloseError);
}

void TArcLister::ListArchive() {
    switch (m_arcType) {
    case TArcType::ARJ: case TArcType::ArjExe: ListArj(); break;
    case TArcType::ARC: case TArcType::ArcExe: case TArcType::PAK: case TArcType::PakExe: ListArc(); break;
    case TArcType::BH: case TArcType::BHExe: ListBH(); break;
    case TArcType::CAB: ListCab(); break;
    case TArcType::HA: ListHA(); break;
    case TArcType::LHA: case TArcType::LZH: ListLha(); break;
    case TArcType::RAR: case TArcType::RarExe: ListRar(); break;
    case TArcType::TAR: ListTar(); break;
    case TArcType::ZIP: case TArcType::ZipExe: case TArcType::Zip250: case TArcType::Zip250Exe: ListZip(); break;
    case TArcType::ZOO: ListZoo(); break;
    default: RaiseArcError(m_archiveFile, err::UnknownFileType);
    }
}

void TArcLister::ClearRecord() {
    PackedSize = UnpackedSize = 0;
    FileComment.clear();
    FileCRC = 0;
    Ratio = 0;
    FileName.clear();
    MethodName.clear();
    Method = 0;
    FileDate = 0;
    DeflateOption = 0;
    VersionMadeBy = VersionNeeded = 0;
    InternalAttr = 32;
    ExternalAttr = 32;
    IsFolder = false;
}

void TArcLister::Emit(bool matchFileSpec) {
    if (matchFileSpec && !MatchFileSpec(FileSpec(), FileName)) return;
    ++m_count;
    ++m_entryNumber;
    TotalPackedSize += PackedSize;
    TotalUnpackedSize += UnpackedSize;
    Ratio = RatioOf(PackedSize, UnpackedSize);
    OnRead(this, m_count);
    FileComment.clear();
}

std::uint8_t TArcLister::RatioOf(std::uint32_t packed, std::uint32_t unpacked) {
    if (packed == 0 || unpacked == 0 || unpacked <= packed) return 0;
    std::uint64_t scaled = static_cast<std::uint64_t>(packed) * 100;
    std::uint64_t q = scaled / unpacked, r = scaled % unpacked;
    if (2 * r > unpacked || (2 * r == unpacked && (q & 1))) ++q;
    auto ratio = static_cast<std::uint8_t>(100 - q);
    return ratio == 0 ? 1 : ratio;
}

std::wstring TArcLister::MethodNameOf(TArcType type, std::uint16_t method, std::uint16_t flags) {
    using T = TArcType;
    if (IsOneOf(type, T::ARJ, T::ArjExe)) return FromTable(method, {L"Stored", L"Most", L"2nd Most", L"2nd Fast", L"Fastest"});
    if (IsOneOf(type, T::ARC, T::ArcExe))
        return FromTable(method, {L"Unknown", L"Stored", L"Stored", L"Packed", L"Squeezed", L"crunched", L"crunched",
                                  L"crunched", L"Crunched", L"Squashed", L"Pack10", L"Pack11", L"Pack12"});
    if (IsOneOf(type, T::PAK, T::PakExe))
        return FromTable(method, {L"Unknown", L"Stored", L"Stored", L"RLE", L"Squeezed", L"FIXEDLEN", L"FIXEDLEN",
                                  L"FIXEDLEN", L"VARIBLE", L"VARIBLE", L"Crushed", L"Distill"});
    if (IsOneOf(type, T::BH, T::BHExe)) return FromTable(method, {L"Stored", L"Fused", L"Ionized"});
    if (type == T::CAB) {
        if (method == 0) return L"Stored";
        if (method == 1) return L"MSZIP";
        return method == 3487 || method == 5490 ? L"LZX" : L"Unknown";
    }
    if (type == T::HA) {
        if (method == 14) return L"Dir";
        if (method == 15) return L"Special";
        return FromTable(method, {L"Cpy", L"Asc", L"HSC"});
    }
    if (IsOneOf(type, T::LHA, T::LZH)) {
        if (method == '0') return L"Stored";
        if (method >= '1' && method <= '5') return L"Frozen-" + std::wstring(1, static_cast<wchar_t>(method));
        return L"Unknown";
    }
    if (IsOneOf(type, T::RAR, T::RarExe))
        return method >= '0' ? FromTable(static_cast<std::uint16_t>(method - '0'), {L"Stored", L"Fastest", L"Fast", L"Normal", L"Good", L"Best"})
                             : L"Unknown";
    if (type == T::TAR) return method == 0 ? L"Stored" : L"Unknown";
    if (type >= T::ZIP && type <= T::Zip250Exe) {
        if (method == 8) {
            bool max = flags & 2, fast = flags & 4;
            return max && fast ? L"DeflateS" : fast ? L"DeflateF" : max ? L"DeflateX" : L"DeflateN";
        }
        return FromTable(method, {L"Stored", L"Shrunk", L"Reduce-1", L"Reduce-2", L"Reduce-3", L"Reduce-4", L"Imploded", L"Tokened"});
    }
    if (type == T::ZOO) return FromTable(method, {L"Stored", L"Fastest", L"Greatest"});
    return L"Unknown";
}

std::uint32_t TArcLister::ReadAt(std::int64_t pos, void* buffer, std::uint32_t count) {
    if (pos < 0 || pos >= End()) return 0;
    return ArcFile().ReadAt(pos, buffer, count);
}

std::string TArcLister::ReadZ(std::int64_t pos, std::uint32_t max, std::int64_t& after) {
    std::string text = ReadText(pos, max);
    size_t nul = text.find('\0');
    if (nul == std::string::npos) {
        after = pos + static_cast<std::int64_t>(text.size());
        return text;
    }
    text.resize(nul);
    after = pos + static_cast<std::int64_t>(nul) + 1;
    return text;
}

std::string TArcLister::ReadText(std::int64_t pos, std::uint32_t count) {
    if (pos < 0 || pos >= End()) return std::string();
    count = static_cast<std::uint32_t>(std::min<std::int64_t>(count, End() - pos));
    std::string text(count, '\0');
    text.resize(ReadAt(pos, text.data(), count));
    return text;
}

}  // namespace velmora::arc
