#include "RarReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <ctime>

#include "RarLib.h"

namespace velmora::rar {

namespace {

constexpr char kMarker4[] = "Rar!\x1A\x07\x00";
constexpr char kMarker5[] = "Rar!\x1A\x07\x01\x00";
constexpr std::int64_t kStubScan = 1 << 20;
constexpr std::size_t kMaxHeader = 2 << 20;
constexpr std::size_t kMaxComment = 1 << 16;
// A few service blocks may come between the main header and the comment.
constexpr int kCommentLookahead = 16;

// Block types and flags of RAR 1.5 to 4.
constexpr unsigned kMainBlock = 0x73, kFileBlock = 0x74, kOldComment = 0x75, kServiceBlock = 0x7A,
                   kEndBlock = 0x7B;
constexpr unsigned kLongBlock = 0x8000, kLargeSizes = 0x100, kMainComment = 0x02, kHeadersEncrypted = 0x80;
constexpr unsigned kStored = 0x30;
constexpr unsigned kHostWindows = 2, kHostUnix = 3;

// Header types and flags of RAR 5.
constexpr unsigned kMain5 = 1, kFile5 = 2, kService5 = 3, kCrypt5 = 4, kEnd5 = 5;
constexpr unsigned kHasExtra = 0x01, kHasData = 0x02, kSplitBefore5 = 0x08, kSplitAfter5 = 0x10;

std::uint16_t U16(std::string_view s, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}
std::uint32_t U32(std::string_view s, std::size_t at) { return U16(s, at) | static_cast<std::uint32_t>(U16(s, at + 2)) << 16; }

const std::array<std::uint32_t, 256>& CrcTable() {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    return table;
}

// Reads a RAR 5 variable-length number; false when it runs past the header.
bool VInt(std::string_view s, std::size_t& pos, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift < 64 && pos < s.size(); shift += 7) {
        unsigned char b = static_cast<unsigned char>(s[pos++]);
        value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (!(b & 0x80)) return true;
    }
    return false;
}

std::uint32_t UnixToDos(std::int64_t seconds) {
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &t) != 0) return 0;
#else
    if (!localtime_r(&t, &tm)) return 0;
#endif
    if (tm.tm_year < 80) return (1 << 21) | (1 << 16);  // before 1980: 1 January 1980
    return static_cast<std::uint32_t>(tm.tm_year - 80) << 25 | static_cast<std::uint32_t>(tm.tm_mon + 1) << 21 |
           static_cast<std::uint32_t>(tm.tm_mday) << 16 | static_cast<std::uint32_t>(tm.tm_hour) << 11 |
           static_cast<std::uint32_t>(tm.tm_min) << 5 | static_cast<std::uint32_t>(tm.tm_sec / 2);
}

// Unix mode bits to DOS attributes.
unsigned UnixToAttr(std::uint64_t mode, bool folder) {
    unsigned attr = folder ? 0x10 : 0x20;
    if (!(mode & 0200)) attr |= 0x01;
    return attr;
}

void CutName(const std::string& raw, Entry& entry) {
    entry.name = raw.substr(0, raw.find('\0'));
    entry.nameTooLong = entry.name.size() > 259;
    if (entry.nameTooLong) entry.name.resize(259);
}

}  // namespace

std::uint32_t Crc32(const void* data, std::size_t n, std::uint32_t crc) {
    const auto& table = CrcTable();
    const auto* p = static_cast<const unsigned char*>(data);
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::size_t RarReader::ReadAt(std::int64_t pos, void* buf, std::size_t n) {
    if (pos < 0 || pos > m_size) return 0;
#ifdef _WIN32
    if (_fseeki64(m_file.get(), pos, SEEK_SET) != 0) return 0;
#else
    if (fseeko(m_file.get(), pos, SEEK_SET) != 0) return 0;
#endif
    return std::fread(buf, 1, n, m_file.get());
}

unsigned RarReader::Open() {
#ifdef _WIN32
    if (_fseeki64(m_file.get(), 0, SEEK_END) != 0) return RarReadError;
    m_size = _ftelli64(m_file.get());
#else
    if (fseeko(m_file.get(), 0, SEEK_END) != 0) return RarReadError;
    m_size = ftello(m_file.get());
#endif
    std::string head(static_cast<std::size_t>(std::min(m_size, kStubScan + 8)), '\0');
    head.resize(ReadAt(0, head.data(), head.size()));

    // A marker at the start must lead to a sound main header; one behind a stub
    // may be a chance match inside the program, so the search goes on.
    bool sawMarker = false;
    for (std::size_t at = 0; at + 7 <= head.size(); ++at) {
        at = head.find("Rar!\x1A\x07", at);
        if (at == std::string::npos) break;
        bool v4 = head.compare(at, 7, kMarker4, 7) == 0;
        bool v5 = head.compare(at, 8, kMarker5, 8) == 0;
        if (!v4 && !v5) continue;
        sawMarker = true;
        m_v5 = v5;
        m_pos = at + (v5 ? 8 : 7);
        m_arcFlags = v5 ? static_cast<unsigned>(RarArcVersion5) : 0u;
        unsigned result = RarOk;
        Entry main;
        if (v5) {
            result = NextV5(main);
            if (result == RarOk && !main.name.empty()) result = RarBadData;  // an entry before the main header
        } else {
            std::string block(13, '\0');
            if (ReadAt(m_pos, block.data(), 13) != 13 || block[2] != static_cast<char>(kMainBlock)) {
                result = RarBadData;
            } else {
                std::uint16_t size = U16(block, 5);
                block.resize(std::max<std::size_t>(size, 13));
                if (size < 13 || ReadAt(m_pos, block.data(), size) != size ||
                    (Crc32(block.data() + 2, size - 2) & 0xFFFF) != U16(block, 0)) {
                    result = RarBadData;
                } else {
                    unsigned flags = U16(block, 3);
                    if (flags & kHeadersEncrypted) result = RarBadData;
                    m_arcFlags |= flags & (RarArcVolume | RarArcLocked | RarArcSolid);
                    if ((flags & kMainComment) && size >= 26 && block[15] == static_cast<char>(kOldComment)) {
                        m_hasComment = true;
                        m_commentReadable = block[23] == static_cast<char>(kStored);
                        if (m_commentReadable) m_comment = block.substr(26, std::min<std::size_t>(U16(block, 20), size - 26));
                    }
                    m_pos += size;
                }
            }
        }
        if (result == RarOk) break;
        if (at == 0) return result;
        sawMarker = false;
    }
    if (!sawMarker) return RarBadArchive;

    // The comment of newer archives is a service block near the start.
    std::int64_t first = m_pos;
    for (int i = 0; i < kCommentLookahead && !m_hasComment; ++i) {
        Entry e;
        if ((m_v5 ? NextV5(e) : NextV4(e)) != RarOk || !e.name.empty()) break;
    }
    m_pos = first;
    m_ended = false;
    if (m_hasComment) m_arcFlags |= RarArcComment;
    return RarOk;
}

unsigned RarReader::Next(Entry& entry) {
    for (;;) {
        if (m_ended) return RarEndArchive;
        entry = Entry{};
        unsigned result = m_v5 ? NextV5(entry) : NextV4(entry);
        if (result != RarOk || !entry.name.empty()) return result;
    }
}

// One block; entry.name stays empty for anything but a file header.
unsigned RarReader::NextV4(Entry& entry) {
    if (m_pos == m_size) return RarEndArchive;
    std::string head(7, '\0');
    if (ReadAt(m_pos, head.data(), 7) != 7) return RarBadData;
    unsigned type = static_cast<unsigned char>(head[2]);
    unsigned flags = U16(head, 3);
    std::uint16_t size = U16(head, 5);
    if (size < 7) return RarBadData;
    head.resize(size);
    if (ReadAt(m_pos, head.data(), size) != size) return RarBadData;
    if ((Crc32(head.data() + 2, size - 2) & 0xFFFF) != U16(head, 0)) return RarBadData;
    if (type == kEndBlock) {
        m_ended = true;
        return RarEndArchive;
    }
    std::uint64_t dataSize = 0;
    if (flags & kLongBlock) {
        if (size < 11) return RarBadData;
        dataSize = U32(head, 7);
    }
    Entry block;
    if (type == kFileBlock || type == kServiceBlock) {
        unsigned r = ParseV4File(head, flags, block);
        if (r != RarOk) return r;
        dataSize = block.packSize;
        block.dataPos = m_pos + size;
    }
    // Data running past the end leaves the next read to report the damage.
    if (dataSize > static_cast<std::uint64_t>(m_size))
        m_pos = m_size + 1;
    else
        m_pos = std::min(m_pos + size + static_cast<std::int64_t>(dataSize), m_size + 1);
    if (type == kFileBlock) {
        entry = block;
        if (entry.name.empty()) return RarBadData;
    } else if (type == kServiceBlock && block.name == "CMT") {
        TakeComment(block);
    }
    return RarOk;
}

unsigned RarReader::ParseV4File(const std::string& head, unsigned flags, Entry& entry) {
    constexpr std::size_t kFixed = 32;
    if (head.size() < kFixed) return RarBadData;
    std::size_t nameSize = U16(head, 26);
    std::size_t nameAt = kFixed + ((flags & kLargeSizes) ? 8 : 0);
    if (nameAt + nameSize > head.size()) return RarBadData;
    entry.packSize = U32(head, 7);
    entry.unpSize = U32(head, 11);
    if (flags & kLargeSizes) {
        entry.packSize |= static_cast<std::uint64_t>(U32(head, 32)) << 32;
        entry.unpSize |= static_cast<std::uint64_t>(U32(head, 36)) << 32;
    }
    entry.hostOs = static_cast<unsigned char>(head[15]);
    entry.crc = U32(head, 16);
    entry.dosTime = U32(head, 20);
    entry.unpVer = static_cast<unsigned char>(head[24]);
    entry.method = static_cast<unsigned char>(head[25]);
    entry.attr = U32(head, 28);
    entry.flags = flags & (RarEntrySplitBefore | RarEntrySplitAfter | RarEntryEncrypted | RarEntryComment |
                           RarEntrySolid | RarEntryFolder);
    entry.folder = (flags & RarEntryFolder) == RarEntryFolder;
    entry.stored = entry.method == kStored;
    entry.encrypted = flags & RarEntryEncrypted;
    entry.split = flags & (RarEntrySplitBefore | RarEntrySplitAfter);
    CutName(head.substr(nameAt, nameSize), entry);
    // The old entry comment: a small comment block right behind the name.
    std::size_t c = nameAt + nameSize;
    if ((flags & RarEntryComment) && c + 13 <= head.size()) {
        entry.hasComment = true;
        if (head[c + 10] == static_cast<char>(kStored))
            entry.comment = head.substr(c + 13, std::min<std::size_t>(U16(head, c + 7), head.size() - c - 13));
    }
    return RarOk;
}

unsigned RarReader::NextV5(Entry& entry) {
    if (m_pos == m_size) return RarEndArchive;
    unsigned char start[14] = {};
    std::size_t got = ReadAt(m_pos, start, sizeof start);
    if (got < 5) return RarBadData;
    std::string lead(reinterpret_cast<char*>(start) + 4, got - 4);
    std::size_t p = 0;
    std::uint64_t size = 0;
    if (!VInt(lead, p, size) || size == 0 || size > kMaxHeader) return RarBadData;
    // A header that would run past the end is refused before its buffer is
    // taken: chance markers in a program stub may claim any size.
    if (static_cast<std::uint64_t>(m_size - m_pos) < 4 + p + size) return RarBadData;
    std::string head(p + static_cast<std::size_t>(size), '\0');
    if (ReadAt(m_pos + 4, head.data(), head.size()) != head.size()) return RarBadData;
    std::uint32_t crc = static_cast<std::uint32_t>(start[0]) | start[1] << 8 | start[2] << 16 |
                        static_cast<std::uint32_t>(start[3]) << 24;
    if (Crc32(head.data(), head.size()) != crc) return RarBadData;

    std::uint64_t type = 0, flags = 0, extraSize = 0, dataSize = 0;
    if (!VInt(head, p, type) || !VInt(head, p, flags)) return RarBadData;
    if ((flags & kHasExtra) && !VInt(head, p, extraSize)) return RarBadData;
    if ((flags & kHasData) && !VInt(head, p, dataSize)) return RarBadData;
    if (extraSize > head.size()) return RarBadData;
    std::int64_t dataPos = m_pos + 4 + static_cast<std::int64_t>(head.size());
    if (dataSize > static_cast<std::uint64_t>(m_size))
        m_pos = m_size + 1;
    else
        m_pos = std::min(dataPos + static_cast<std::int64_t>(dataSize), m_size + 1);

    switch (type) {
    case kMain5: {
        std::uint64_t arcFlags = 0;
        if (!VInt(head, p, arcFlags)) return RarBadData;
        if (arcFlags & 0x01) m_arcFlags |= RarArcVolume;
        if (arcFlags & 0x04) m_arcFlags |= RarArcSolid;
        if (arcFlags & 0x10) m_arcFlags |= RarArcLocked;
        return RarOk;
    }
    case kFile5:
    case kService5: {
        Entry block;
        unsigned r = ParseV5File(head, p, head.size() - static_cast<std::size_t>(extraSize), block);
        if (r != RarOk) return r;
        block.packSize = dataSize;
        block.dataPos = dataPos;
        if (flags & kSplitBefore5) block.flags |= RarEntrySplitBefore;
        if (flags & kSplitAfter5) block.flags |= RarEntrySplitAfter;
        block.split = flags & (kSplitBefore5 | kSplitAfter5);
        if (type == kFile5) {
            entry = block;
            if (entry.name.empty()) return RarBadData;
        } else if (block.name == "CMT") {
            TakeComment(block);
        }
        return RarOk;
    }
    case kCrypt5:
        return RarBadData;  // headers encrypted: nothing can be read without the key
    case kEnd5:
        m_ended = true;
        return RarEndArchive;
    default:
        return RarOk;
    }
}

unsigned RarReader::ParseV5File(const std::string& head, std::size_t p, std::size_t extraStart, Entry& entry) {
    std::uint64_t fileFlags = 0, unpSize = 0, attr = 0, compInfo = 0, hostOs = 0, nameSize = 0;
    if (!VInt(head, p, fileFlags) || !VInt(head, p, unpSize) || !VInt(head, p, attr)) return RarBadData;
    bool hasTime = false;
    if (fileFlags & 0x02) {
        if (p + 4 > extraStart) return RarBadData;
        entry.dosTime = UnixToDos(U32(head, p));
        hasTime = true;
        p += 4;
    }
    if (fileFlags & 0x04) {
        if (p + 4 > extraStart) return RarBadData;
        entry.crc = U32(head, p);
        p += 4;
    } else {
        entry.hasCrc = false;
    }
    if (!VInt(head, p, compInfo) || !VInt(head, p, hostOs) || !VInt(head, p, nameSize)) return RarBadData;
    if (p > extraStart || nameSize > extraStart - p) return RarBadData;
    CutName(head.substr(p, static_cast<std::size_t>(nameSize)), entry);

    entry.folder = fileFlags & 0x01;
    entry.unpSize = unpSize;
    entry.hostOs = hostOs == 1 ? kHostUnix : kHostWindows;  // the numbers of the older headers
    entry.attr = hostOs == 1 ? UnixToAttr(attr, entry.folder) : static_cast<unsigned>(attr);
    unsigned method = (compInfo >> 7) & 7;
    entry.method = kStored + method;
    entry.stored = method == 0;
    entry.unpVer = 50;
    if (compInfo & 0x40) entry.flags |= RarEntrySolid;
    if (entry.folder) entry.flags |= RarEntryFolder;

    // Extra records: only encryption and the file times matter here. Each is
    // read in place, through a view that ends with it: a header may hold a
    // great many of them.
    std::size_t e = extraStart;
    while (e < head.size()) {
        std::uint64_t recSize = 0, recType = 0;
        if (!VInt(head, e, recSize) || recSize > head.size() - e) return RarBadData;
        std::size_t recEnd = e + static_cast<std::size_t>(recSize);
        const std::string_view rec(head.data(), recEnd);
        if (!VInt(rec, e, recType)) return RarBadData;
        if (recType == 0x01) {
            entry.encrypted = true;
            entry.flags |= RarEntryEncrypted;
        } else if (recType == 0x03 && !hasTime) {
            std::uint64_t timeFlags = 0;
            if (VInt(rec, e, timeFlags) && (timeFlags & 0x02)) {
                if ((timeFlags & 0x01) && e + 4 <= recEnd) {
                    entry.dosTime = UnixToDos(U32(rec, e));
                } else if (!(timeFlags & 0x01) && e + 8 <= recEnd) {
                    std::uint64_t ft = U32(rec, e) | static_cast<std::uint64_t>(U32(rec, e + 4)) << 32;
                    entry.dosTime = UnixToDos(static_cast<std::int64_t>(ft / 10000000) - 11644473600LL);
                }
            }
        }
        e = recEnd;
    }
    return RarOk;
}

void RarReader::TakeComment(const Entry& service) {
    if (m_hasComment) return;
    m_hasComment = true;
    m_commentReadable = ReadStoredText(service, m_comment);
}

bool RarReader::ReadStoredText(const Entry& entry, std::string& text) {
    if (!entry.stored || entry.encrypted || entry.packSize > kMaxComment) return false;
    text.assign(static_cast<std::size_t>(entry.packSize), '\0');
    if (ReadAt(entry.dataPos, text.data(), text.size()) != text.size() ||
        (entry.hasCrc && Crc32(text.data(), text.size()) != entry.crc)) {
        text.clear();
        return false;
    }
    text.resize(std::min(text.size(), text.find('\0')));
    return true;
}

}  // namespace velmora::rar
