#include "WinHelpWriter.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>

namespace helpgen {

namespace {

using TBytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kNone = 0xFFFFFFFF;
// Version 3.1 files without compression use 4 KB topic blocks; each starts with
// a 12-byte header, and a record's position is block * 0x4000 + offset + 12.
constexpr std::uint32_t kTopicBlockSize = 0x1000;
constexpr std::uint32_t kBlockHeaderSize = 12;
constexpr std::uint32_t kBlockDataSize = kTopicBlockSize - kBlockHeaderSize;

void Put8(TBytes& b, unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); }
void Put16(TBytes& b, unsigned v) { Put8(b, v & 0xFF); Put8(b, (v >> 8) & 0xFF); }
void Put32(TBytes& b, std::uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
void Set32(TBytes& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutString(TBytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }
void PutZString(TBytes& b, const std::string& s) { PutString(b, s); Put8(b, 0); }

// The compressed number forms of paragraph records, always in their long variant.
void PutCompressedLong(TBytes& b, std::uint32_t v) { Put32(b, 0x80000000u + 2 * v + 1); }
void PutCompressedUShort(TBytes& b, unsigned v) {
    if (v >= 0x8000) throw TWriteError("paragraph too long");
    Put16(b, 2 * v + 1);
}
void PutCompressedShort(TBytes& b, int v) { Put16(b, static_cast<unsigned>(0x8000 + 2 * v + 1)); }

// An internal file: reserved size, used size, flags, then the data.
TBytes InternalFile(const TBytes& data) {
    TBytes b;
    Put32(b, static_cast<std::uint32_t>(data.size() + 9));
    Put32(b, static_cast<std::uint32_t>(data.size()));
    Put8(b, 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

// A B+-tree of entries already sorted by key. Each entry is its key bytes plus
// its value bytes in the leaves; index pages carry key + child page number.
struct TTreeEntry {
    TBytes Key;
    TBytes Value;
};

TBytes BTree(const std::vector<TTreeEntry>& entries, unsigned pageSize, unsigned flags, const char* structure) {
    std::vector<TBytes> pages;
    struct TLevelEntry { TBytes Key; unsigned Page; };
    std::vector<TLevelEntry> level;  // first key of each page of the level below

    // Leaves, chained left to right.
    size_t leafStart = pages.size();
    {
        TBytes page;
        unsigned count = 0;
        auto close = [&] {
            TBytes head;
            Put16(head, static_cast<unsigned>(pageSize - 8 - page.size()));
            Put16(head, count);
            Put16(head, 0xFFFF);
            Put16(head, 0xFFFF);
            head.insert(head.end(), page.begin(), page.end());
            head.resize(pageSize, 0);
            pages.push_back(std::move(head));
            page.clear();
            count = 0;
        };
        for (const TTreeEntry& e : entries) {
            const size_t size = e.Key.size() + e.Value.size();
            if (8 + size > pageSize) throw TWriteError("B+-tree entry larger than a page");
            if (8 + page.size() + size > pageSize) close();
            if (count == 0) level.push_back({e.Key, static_cast<unsigned>(pages.size())});
            page.insert(page.end(), e.Key.begin(), e.Key.end());
            page.insert(page.end(), e.Value.begin(), e.Value.end());
            ++count;
        }
        if (count || pages.size() == leafStart) close();
        if (level.empty()) level.push_back({{}, static_cast<unsigned>(leafStart)});
        for (size_t i = leafStart; i < pages.size(); ++i) {
            TBytes& p = pages[i];
            const unsigned prev = i == leafStart ? 0xFFFF : static_cast<unsigned>(i - 1);
            const unsigned next = i + 1 == pages.size() ? 0xFFFF : static_cast<unsigned>(i + 1);
            p[4] = prev & 0xFF; p[5] = prev >> 8;
            p[6] = next & 0xFF; p[7] = next >> 8;
        }
    }
    unsigned levels = 1;
    // Index levels until one page holds the root. An index page names its
    // leftmost child in the header and each further child after its first key.
    while (level.size() > 1) {
        ++levels;
        std::vector<TLevelEntry> upper;
        size_t i = 0;
        while (i < level.size()) {
            TBytes page;
            unsigned count = 0;
            const TBytes firstKey = level[i].Key;
            const unsigned leftmost = level[i].Page;
            ++i;
            while (i < level.size() && 6 + page.size() + level[i].Key.size() + 2 <= pageSize) {
                page.insert(page.end(), level[i].Key.begin(), level[i].Key.end());
                Put16(page, level[i].Page);
                ++count;
                ++i;
            }
            TBytes head;
            Put16(head, static_cast<unsigned>(pageSize - 6 - page.size()));
            Put16(head, count);
            Put16(head, leftmost);
            head.insert(head.end(), page.begin(), page.end());
            head.resize(pageSize, 0);
            upper.push_back({firstKey, static_cast<unsigned>(pages.size())});
            pages.push_back(std::move(head));
        }
        level = std::move(upper);
    }
    if (pages.size() > 0xFFFE) throw TWriteError("B+-tree too large");

    TBytes b;
    Put16(b, 0x293B);
    Put16(b, flags);
    Put16(b, pageSize);
    TBytes name(16, 0);
    std::copy(structure, structure + std::char_traits<char>::length(structure), name.begin());
    b.insert(b.end(), name.begin(), name.end());
    Put16(b, 0);                        // must be zero
    Put16(b, 0);                        // page splits
    Put16(b, level.front().Page);       // root page
    Put16(b, 0xFFFF);                   // must be -1
    Put16(b, static_cast<unsigned>(pages.size()));
    Put16(b, levels);
    Put32(b, static_cast<std::uint32_t>(entries.size()));
    for (const TBytes& p : pages) b.insert(b.end(), p.begin(), p.end());
    return b;
}

TBytes Key32(std::uint32_t v) { TBytes b; Put32(b, v); return b; }

// ---- |TOPIC

struct TRecord {
    std::uint8_t Type;  // 0x02 topic header, 0x20 paragraph
    TBytes LinkData1;   // without the header of the record
    TBytes LinkData2;
    unsigned CharCount = 0;  // the paragraph's length in characters
    size_t Topic = 0;
    std::uint32_t Position = 0;  // in the stream of block data
};

std::uint32_t RefOf(std::uint32_t position) {
    return (position / kBlockDataSize) * 0x4000 + position % kBlockDataSize + kBlockHeaderSize;
}

TRecord ParagraphRecord(const TParagraph& p, const std::map<std::string, std::int32_t>& hashes) {
    TRecord r{0x20, {}, {}};
    TBytes commands;
    std::string pendingText;
    // Every command follows one text (maybe empty) of the text stream.
    auto command = [&](std::initializer_list<std::uint8_t> bytes) {
        PutZString(r.LinkData2, pendingText);
        r.CharCount += static_cast<unsigned>(pendingText.size());
        pendingText.clear();
        commands.insert(commands.end(), bytes);
    };
    for (const TRun& run : p.Runs) {
        const auto font = static_cast<unsigned>(run.Font);
        command({0x80, static_cast<std::uint8_t>(font & 0xFF), static_cast<std::uint8_t>(font >> 8)});
        if (!run.LinkTo.empty()) {
            const auto found = hashes.find(run.LinkTo);
            if (found == hashes.end()) throw TWriteError("jump to an unknown topic " + run.LinkTo);
            const auto h = static_cast<std::uint32_t>(found->second);
            command({0xE3, static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8),
                     static_cast<std::uint8_t>(h >> 16), static_cast<std::uint8_t>(h >> 24)});
            pendingText = run.Text;
            command({0x89});
        } else {
            pendingText = run.Text;
        }
    }
    command({0x82});
    ++r.CharCount;
    command({0xFF});

    PutCompressedLong(r.LinkData1, static_cast<std::uint32_t>(r.LinkData2.size()));
    PutCompressedUShort(r.LinkData1, r.CharCount);
    // Column byte, biased byte and paragraph id: the viewer skips them.
    Put8(r.LinkData1, 0x00);
    Put8(r.LinkData1, 0x80);
    Put16(r.LinkData1, 0);
    unsigned bits = 0x0004;  // space after
    if (p.Indented) bits |= 0x0010;
    Put16(r.LinkData1, bits);
    PutCompressedShort(r.LinkData1, 6);          // space after, half points
    if (p.Indented) PutCompressedShort(r.LinkData1, 16);  // left indent
    r.LinkData1.insert(r.LinkData1.end(), commands.begin(), commands.end());
    return r;
}

struct TTopicFile {
    TBytes Data;
    std::vector<std::uint32_t> TopicOffsets;  // per topic
};

TTopicFile TopicFile(const THelpBook& book, const std::map<std::string, std::int32_t>& hashes) {
    std::vector<TRecord> records;
    std::vector<size_t> headerIndex;
    for (size_t t = 0; t < book.Topics.size(); ++t) {
        const TTopic& topic = book.Topics[t];
        headerIndex.push_back(records.size());
        TRecord header{0x02, {}, {}};
        header.LinkData1.resize(28, 0);  // filled once positions are known
        PutString(header.LinkData2, topic.Title);
        header.Topic = t;
        records.push_back(std::move(header));
        for (const TParagraph& p : topic.Paragraphs) {
            TRecord r = ParagraphRecord(p, hashes);
            r.Topic = t;
            records.push_back(std::move(r));
        }
    }

    // Positions, then the topic offsets the viewer derives: block * 0x8000 plus
    // the characters of the paragraphs before the topic in its block.
    std::uint32_t position = 0;
    for (TRecord& r : records) {
        r.Position = position;
        position += static_cast<std::uint32_t>(0x15 + r.LinkData1.size() + r.LinkData2.size());
    }
    const std::uint32_t streamSize = position;
    std::vector<std::uint32_t> topicOffsets(book.Topics.size());
    {
        std::uint32_t oldBlock = kNone, chars = 0;
        for (const TRecord& r : records) {
            const std::uint32_t block = r.Position / kBlockDataSize;
            if (block != oldBlock) { chars = 0; oldBlock = block; }
            if (r.Type == 0x02) topicOffsets[r.Topic] = block * 0x8000 + chars;
            else chars += r.CharCount;
            if (chars >= 0x8000) throw TWriteError("too much text in one topic block");
        }
    }

    TBytes stream;
    for (size_t i = 0; i < records.size(); ++i) {
        TRecord& r = records[i];
        if (r.Type == 0x02) {
            const size_t t = r.Topic;
            const size_t end = t + 1 < headerIndex.size() ? headerIndex[t + 1] : records.size();
            const std::uint32_t endPos = end < records.size() ? records[end].Position : streamSize;
            TBytes& h = r.LinkData1;
            Set32(h, 0, endPos - r.Position);                                    // size of the topic
            Set32(h, 4, t > 0 ? topicOffsets[t - 1] : kNone);                     // browse back
            Set32(h, 8, t + 1 < topicOffsets.size() ? topicOffsets[t + 1] : kNone);  // browse forward
            Set32(h, 12, static_cast<std::uint32_t>(t));                         // topic number
            Set32(h, 16, kNone);                                                 // no non-scrolling region
            Set32(h, 20, i + 1 < end ? RefOf(records[i + 1].Position) : kNone);  // scrolling region
            Set32(h, 24, t + 1 < headerIndex.size() ? RefOf(records[headerIndex[t + 1]].Position) : kNone);
        }
        Put32(stream, static_cast<std::uint32_t>(0x15 + r.LinkData1.size() + r.LinkData2.size()));
        Put32(stream, static_cast<std::uint32_t>(r.LinkData2.size()));
        Put32(stream, i > 0 ? RefOf(records[i - 1].Position) : kNone);
        Put32(stream, i + 1 < records.size() ? RefOf(records[i + 1].Position) : kNone);
        Put32(stream, static_cast<std::uint32_t>(0x15 + r.LinkData1.size()));
        Put8(stream, r.Type);
        stream.insert(stream.end(), r.LinkData1.begin(), r.LinkData1.end());
        stream.insert(stream.end(), r.LinkData2.begin(), r.LinkData2.end());
    }

    // Cut into blocks; the last one is padded to its full size, as readers copy
    // whole blocks.
    TTopicFile out;
    const size_t blocks = (stream.size() + kBlockDataSize - 1) / kBlockDataSize;
    for (size_t b = 0; b < blocks; ++b) {
        const std::uint32_t start = static_cast<std::uint32_t>(b * kBlockDataSize);
        std::uint32_t lastBefore = kNone, firstIn = kNone, lastHeaderBefore = kNone;
        for (const TRecord& r : records) {
            if (r.Position < start) {
                lastBefore = RefOf(r.Position);
                if (r.Type == 0x02) lastHeaderBefore = RefOf(r.Position);
            } else if (firstIn == kNone && r.Position < start + kBlockDataSize) {
                firstIn = RefOf(r.Position);
            }
        }
        Put32(out.Data, lastBefore);
        Put32(out.Data, firstIn);
        Put32(out.Data, lastHeaderBefore);
        const size_t end = std::min(stream.size(), static_cast<size_t>(start) + kBlockDataSize);
        out.Data.insert(out.Data.end(), stream.begin() + start, stream.begin() + end);
        out.Data.resize((b + 1) * kTopicBlockSize, 0);
    }
    out.TopicOffsets = std::move(topicOffsets);
    return out;
}

// ---- the other internal files

TBytes SystemFile(const THelpBook& book, std::uint32_t contentsOffset) {
    TBytes b;
    Put16(b, 0x036C);  // magic
    Put16(b, 21);      // minor version: 3.1
    Put16(b, 1);       // major version
    Put32(b, 0);       // generation date: none, so that the file is the same at every build
    Put16(b, 0);       // flags: topic blocks not compressed, 4 KB each
    Put16(b, 1);       // title
    Put16(b, static_cast<unsigned>(book.Title.size() + 1));
    PutZString(b, book.Title);
    Put16(b, 3);       // contents topic
    Put16(b, 4);
    Put32(b, contentsOffset);
    // The main window, named so that the viewer's caption is the file's title
    // whoever opens it: flags (name, caption), type, name, caption, then place,
    // size and colours left to the viewer.
    Put16(b, 6);
    Put16(b, 90);
    TBytes window;
    Put16(window, 0x0002 | 0x0004);
    window.resize(2 + 10, 0);
    PutString(window, "main");
    window.resize(2 + 10 + 9, 0);
    if (book.Title.size() > 50) throw TWriteError("title longer than a window caption");
    PutString(window, book.Title);
    window.resize(90, 0);
    b.insert(b.end(), window.begin(), window.end());
    return b;
}

TBytes FontFile() {
    const std::string faces[] = {"Arial"};
    constexpr unsigned kFaceSize = 32;
    struct TDescriptor { unsigned Attributes, HalfPoints, Red, Green, Blue; };
    const TDescriptor fonts[] = {
        {0, 20, 0, 0, 0},    // body text
        {1, 20, 0, 0, 0},    // names of fields and buttons
        {1, 28, 0, 0, 128},  // topic titles
    };
    TBytes b;
    Put16(b, 1);
    Put16(b, 3);
    Put16(b, 8);
    Put16(b, 8 + kFaceSize);
    for (const std::string& f : faces) {
        TBytes name(kFaceSize, 0);
        std::copy(f.begin(), f.end(), name.begin());
        b.insert(b.end(), name.begin(), name.end());
    }
    for (const TDescriptor& d : fonts) {
        Put8(b, d.Attributes);
        Put8(b, d.HalfPoints);
        Put8(b, 0x03);  // family: swiss
        Put16(b, 0);    // face 0
        Put8(b, d.Red); Put8(b, d.Green); Put8(b, d.Blue);
        Put8(b, 255); Put8(b, 255); Put8(b, 255);
    }
    return b;
}

}  // namespace

std::vector<std::uint8_t> WriteWinHelp(const THelpBook& book) {
    if (book.Topics.empty()) throw TWriteError("no topics");
    std::map<std::string, std::int32_t> hashes;
    std::map<std::int32_t, std::string> byHash;
    for (const TTopic& t : book.Topics) {
        const std::int32_t h = ContextHash(t.ContextName);
        if (!byHash.emplace(h, t.ContextName).second)
            throw TWriteError("context strings " + t.ContextName + " and " + byHash[h] + " share a hash");
        hashes[t.ContextName] = h;
    }
    const TTopicFile topic = TopicFile(book, hashes);

    // |CONTEXT: hash to topic offset, ordered by the hash as a signed number.
    std::vector<TTreeEntry> contextEntries;
    for (const auto& [hash, name] : byHash) {
        size_t t = 0;
        while (book.Topics[t].ContextName != name) ++t;
        contextEntries.push_back({Key32(static_cast<std::uint32_t>(hash)), Key32(topic.TopicOffsets[t])});
    }

    // |CTXOMAP: the program's context numbers to topic offsets.
    std::map<std::uint32_t, std::uint32_t> map;
    for (size_t t = 0; t < book.Topics.size(); ++t)
        for (std::uint32_t id : book.Topics[t].MapIds) map[id] = topic.TopicOffsets[t];
    if (map.size() > 0xFFFF) throw TWriteError("too many help contexts");
    TBytes ctxomap;
    Put16(ctxomap, static_cast<unsigned>(map.size()));
    for (const auto& [id, offset] : map) { Put32(ctxomap, id); Put32(ctxomap, offset); }

    const std::vector<std::pair<std::string, TBytes>> files = {
        {"|CONTEXT", InternalFile(BTree(contextEntries, 0x800, 0x0002, "L4"))},
        {"|CTXOMAP", InternalFile(ctxomap)},
        {"|FONT", InternalFile(FontFile())},
        {"|SYSTEM", InternalFile(SystemFile(book, topic.TopicOffsets[0]))},
        {"|TOPIC", InternalFile(topic.Data)},
    };  // in the directory's order: names compared byte by byte

    TBytes out(16, 0);
    std::vector<TTreeEntry> directory;
    for (const auto& [name, data] : files) {
        TTreeEntry e;
        PutZString(e.Key, name);
        Put32(e.Value, static_cast<std::uint32_t>(out.size()));
        directory.push_back(std::move(e));
        out.insert(out.end(), data.begin(), data.end());
    }
    const auto directoryStart = static_cast<std::uint32_t>(out.size());
    const TBytes dir = InternalFile(BTree(directory, 0x400, 0x0402, "z4"));
    out.insert(out.end(), dir.begin(), dir.end());

    Set32(out, 0, 0x00035F3F);
    Set32(out, 4, directoryStart);
    Set32(out, 8, kNone);  // no free blocks
    Set32(out, 12, static_cast<std::uint32_t>(out.size()));
    return out;
}

}  // namespace helpgen
