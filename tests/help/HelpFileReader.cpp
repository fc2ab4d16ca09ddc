#include "HelpFileReader.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

namespace velmora::helptest {

namespace {

struct TView {
    const std::vector<std::uint8_t>* Bytes;
    size_t Begin, End;  // the readable range

    void Need(size_t at, size_t count, const char* what) const {
        if (at < Begin || at + count > End || at + count < at)
            throw THelpFormatError(std::string(what) + ": beyond its internal file");
    }
    unsigned U8(size_t at) const { Need(at, 1, "byte"); return (*Bytes)[at]; }
    unsigned U16(size_t at) const { Need(at, 2, "word"); return (*Bytes)[at] | ((*Bytes)[at + 1] << 8); }
    std::uint32_t U32(size_t at) const { return U16(at) | (static_cast<std::uint32_t>(U16(at + 2)) << 16); }
    std::string ZString(size_t at) const {
        std::string s;
        for (size_t i = at;; ++i) {
            const unsigned c = U8(i);
            if (!c) return s;
            s += static_cast<char>(c);
        }
    }
};

// An internal file's data (after its 9-byte header), with the checks the viewer makes.
TView InternalFile(const THelpFile& f, const std::string& name) {
    const auto found = f.Files.find(name);
    if (found == f.Files.end()) throw THelpFormatError("no internal file " + name);
    const TView whole{&f.Bytes, 0, f.Bytes.size()};
    const std::uint32_t at = found->second;
    const std::uint32_t reserved = whole.U32(at), used = whole.U32(at + 4);
    if (reserved < used + 9) throw THelpFormatError(name + ": used size beyond its reserved size");
    if (static_cast<size_t>(at) + reserved > f.Bytes.size()) throw THelpFormatError(name + " does not fit");
    return {&f.Bytes, at + 9, static_cast<size_t>(at) + reserved};
}

struct TTree {
    TView View;
    size_t Pages;
    unsigned PageSize, Root, Levels, PageCount;
};

TTree OpenTree(const TView& v) {
    if (v.U16(v.Begin) != 0x293B) throw THelpFormatError("B+-tree without its magic number");
    TTree t{v, v.Begin + 38, v.U16(v.Begin + 4), v.U16(v.Begin + 26), v.U16(v.Begin + 32), v.U16(v.Begin + 30)};
    if (t.PageSize < 16 || t.Levels == 0 || t.Root >= t.PageCount) throw THelpFormatError("B+-tree header out of range");
    t.View.Need(t.Pages, static_cast<size_t>(t.PageSize) * t.PageCount, "B+-tree pages");
    return t;
}

// Walks the tree from its root to the leaf that may hold the key, then the leaf;
// `entry` measures one entry (leaf or index) and compares its key.
using TEntryFn = std::function<int(size_t at, bool leaf, size_t& next)>;

std::optional<size_t> TreeSearch(const TTree& t, const TEntryFn& entry) {
    unsigned page = t.Root;
    for (unsigned level = t.Levels; level > 1; --level) {
        const size_t p = t.Pages + static_cast<size_t>(page) * t.PageSize;
        const int count = static_cast<std::int16_t>(t.View.U16(p + 2));
        size_t at = p + 6;
        unsigned child = t.View.U16(p + 4);
        for (int i = 0; i < count; ++i) {
            size_t next;
            if (entry(at, false, next) > 0) break;
            child = t.View.U16(next - 2);
            at = next;
        }
        if (child >= t.PageCount) throw THelpFormatError("B+-tree child page out of range");
        page = child;
    }
    const size_t p = t.Pages + static_cast<size_t>(page) * t.PageSize;
    const int count = static_cast<std::int16_t>(t.View.U16(p + 2));
    size_t at = p + 8;
    for (int i = 0; i < count; ++i) {
        size_t next;
        const int c = entry(at, true, next);
        if (c == 0) return at;
        if (c > 0) return std::nullopt;
        at = next;
    }
    return std::nullopt;
}

// Every leaf entry from the leftmost leaf along the chain.
void TreeEnum(const TTree& t, const std::function<size_t(size_t at)>& entry) {
    unsigned page = t.Root;
    for (unsigned level = t.Levels; level > 1; --level) {
        page = t.View.U16(t.Pages + static_cast<size_t>(page) * t.PageSize + 4);
        if (page >= t.PageCount) throw THelpFormatError("B+-tree child page out of range");
    }
    unsigned seen = 0;
    while (page != 0xFFFF) {
        if (page >= t.PageCount || ++seen > t.PageCount) throw THelpFormatError("B+-tree leaf chain broken");
        const size_t p = t.Pages + static_cast<size_t>(page) * t.PageSize;
        const int count = static_cast<std::int16_t>(t.View.U16(p + 2));
        size_t at = p + 8;
        for (int i = 0; i < count; ++i) at = entry(at);
        page = t.View.U16(p + 6);
    }
}

// The compressed numbers of paragraph records.
std::int32_t FetchLong(const TView& v, size_t& at) {
    if (v.U8(at) & 1) { const auto r = static_cast<std::int32_t>((v.U32(at) - 0x80000000u) / 2); at += 4; return r; }
    const auto r = (static_cast<int>(v.U16(at)) - 0x8000) / 2; at += 2; return r;
}
unsigned FetchUShort(const TView& v, size_t& at) {
    if (v.U8(at) & 1) { const unsigned r = v.U16(at) / 2; at += 2; return r; }
    const unsigned r = v.U8(at) / 2; at += 1; return r;
}
int FetchShort(const TView& v, size_t& at) {
    if (v.U8(at) & 1) { const int r = (static_cast<int>(v.U16(at)) - 0x8000) / 2; at += 2; return r; }
    const int r = (static_cast<int>(v.U8(at)) - 0x80) / 2; at += 1; return r;
}

void ReadSystem(THelpFile& f) {
    const TView v = InternalFile(f, "|SYSTEM");
    if (v.U16(v.Begin) != 0x036C || v.U16(v.Begin + 4) != 1) throw THelpFormatError("|SYSTEM: wrong magic or version");
    if (v.U16(v.Begin + 2) != 21) throw THelpFormatError("|SYSTEM: not version 3.1");
    if (v.U16(v.Begin + 10) != 0) throw THelpFormatError("|SYSTEM: flags other than uncompressed 4 KB blocks");
    for (size_t at = v.Begin + 12; at + 4 <= v.End; at += 4 + v.U16(at + 2)) {
        const unsigned type = v.U16(at), size = v.U16(at + 2);
        v.Need(at + 4, size, "|SYSTEM record");
        if (type == 1) f.Title = v.ZString(at + 4);
        if (type == 3) f.ContentsOffset = v.U32(at + 4);
        if (type == 6) {
            // Window records have one size; name and caption sit in fixed fields.
            if (size != 90) throw THelpFormatError("|SYSTEM: window record of the wrong size");
            const unsigned flags = v.U16(at + 4);
            const std::string name = (flags & 0x0002) ? v.ZString(at + 4 + 12) : "";
            f.WindowCaptions[name] = (flags & 0x0004) ? v.ZString(at + 4 + 21) : f.Title;
        }
    }
}

void ReadFonts(THelpFile& f) {
    const TView v = InternalFile(f, "|FONT");
    const unsigned faces = v.U16(v.Begin), descriptors = v.U16(v.Begin + 2);
    const unsigned faceOffset = v.U16(v.Begin + 4), descOffset = v.U16(v.Begin + 6);
    if (faces == 0 || descOffset < faceOffset) throw THelpFormatError("|FONT: no face names");
    v.Need(v.Begin + descOffset, descriptors * 11u, "|FONT descriptors");
    for (unsigned i = 0; i < descriptors; ++i)
        if (v.U16(v.Begin + descOffset + i * 11 + 3) >= faces) throw THelpFormatError("|FONT: face index out of range");
    f.Fonts = descriptors;
}

void ReadTopics(THelpFile& f) {
    const TView file = InternalFile(f, "|TOPIC");
    constexpr size_t kBlock = 0x1000, kHeader = 12, kData = kBlock - kHeader;
    const size_t size = file.End - file.Begin;
    if (size == 0 || size % kBlock) throw THelpFormatError("|TOPIC: not whole 4 KB blocks");
    // The blocks' data without their headers, one after another.
    std::vector<std::uint8_t> data;
    for (size_t b = 0; b < size / kBlock; ++b) {
        const auto* start = f.Bytes.data() + file.Begin + b * kBlock + kHeader;
        data.insert(data.end(), start, start + kData);
    }
    const TView v{&data, 0, data.size()};
    std::uint32_t ref = 0x0C;
    unsigned oldBlock = 0xFFFFFFFF, chars = 0, records = 0;
    while (ref != 0xFFFFFFFF) {
        if (++records > data.size() / 0x15) throw THelpFormatError("|TOPIC: record chain loops");
        if (ref < 0x0C) throw THelpFormatError("|TOPIC: record reference below the block header");
        const unsigned block = (ref - 0x0C) >> 14, offset = (ref - 0x0C) & 0x3FFF;
        if (offset >= kData) throw THelpFormatError("|TOPIC: record offset beyond the block data");
        const size_t at = static_cast<size_t>(block) * kData + offset;
        if (block != oldBlock) { chars = 0; oldBlock = block; }
        const std::uint32_t blockSize = v.U32(at), dataLen2 = v.U32(at + 4), dataLen1 = v.U32(at + 0x10);
        const unsigned type = v.U8(at + 0x14);
        if (dataLen1 < 0x15 || dataLen1 > blockSize || blockSize - dataLen1 != dataLen2)
            throw THelpFormatError("|TOPIC: record sizes disagree (compressed text?)");
        v.Need(at, blockSize, "|TOPIC record");
        const TView rec{&data, at, at + blockSize};
        if (type == 0x02) {
            THelpPage page;
            page.Offset = block * 0x8000 + chars;
            page.BrowseBack = rec.U32(at + 0x19);
            page.BrowseForward = rec.U32(at + 0x1D);
            page.Title.assign(data.begin() + static_cast<std::ptrdiff_t>(at + dataLen1),
                              data.begin() + static_cast<std::ptrdiff_t>(at + blockSize));
            f.Pages.push_back(std::move(page));
        } else if (type == 0x20) {
            if (f.Pages.empty()) throw THelpFormatError("|TOPIC: text before the first topic");
            size_t fmt = at + 0x15;
            FetchLong(rec, fmt);
            const unsigned parLen = FetchUShort(rec, fmt);
            fmt += 4;
            const unsigned bits = rec.U16(fmt);
            fmt += 2;
            if (bits & ~0x0016u) throw THelpFormatError("|TOPIC: paragraph settings this reader does not know");
            for (unsigned bit : {0x0002u, 0x0004u, 0x0010u})
                if (bits & bit) FetchShort(rec, fmt);
            const size_t fmtEnd = at + dataLen1;
            size_t text = fmtEnd;
            std::string paragraph;
            bool ended = false;
            while (!ended) {
                const std::string piece = rec.ZString(text);
                paragraph += piece;
                text += piece.size() + 1;
                if (fmt >= fmtEnd) throw THelpFormatError("|TOPIC: paragraph without its end mark");
                switch (rec.U8(fmt)) {
                case 0xFF: ended = true; fmt += 1; break;
                case 0x80:
                    if (rec.U16(fmt + 1) >= f.Fonts) throw THelpFormatError("|TOPIC: font out of range");
                    fmt += 3;
                    break;
                case 0x82: paragraph += '\n'; fmt += 1; break;
                case 0x89: fmt += 1; break;
                case 0xE3: f.Pages.back().Jumps.push_back(static_cast<std::int32_t>(rec.U32(fmt + 1))); fmt += 5; break;
                default: throw THelpFormatError("|TOPIC: a text command this reader does not know");
                }
            }
            if (fmt != fmtEnd || text != at + blockSize) throw THelpFormatError("|TOPIC: paragraph with data left over");
            if (!paragraph.empty() && paragraph.back() == '\n') paragraph.pop_back();
            f.Pages.back().Paragraphs.push_back(paragraph);
            chars += parLen;
        } else {
            throw THelpFormatError("|TOPIC: record type this reader does not know");
        }
        ref = v.U32(at + 0x0C);
    }
}

void ReadContextMap(THelpFile& f) {
    const TView v = InternalFile(f, "|CTXOMAP");
    const unsigned count = v.U16(v.Begin);
    v.Need(v.Begin + 2, count * 8u, "|CTXOMAP entries");
    for (unsigned i = 0; i < count; ++i)
        if (!f.ContextMap.emplace(v.U32(v.Begin + 2 + i * 8), v.U32(v.Begin + 6 + i * 8)).second)
            throw THelpFormatError("|CTXOMAP: a context number twice");
}

}  // namespace

const THelpPage* THelpFile::PageByOffset(std::uint32_t offset) const {
    const THelpPage* found = nullptr;
    for (const THelpPage& p : Pages)
        if (p.Offset <= offset && (!found || found->Offset < p.Offset)) found = &p;
    return found;
}

std::optional<std::uint32_t> THelpFile::OffsetOfHash(std::int32_t hash) const {
    const TTree t = OpenTree(InternalFile(*this, "|CONTEXT"));
    const auto at = TreeSearch(t, [&](size_t p, bool leaf, size_t& next) {
        next = p + (leaf ? 8 : 6);
        const auto key = static_cast<std::int32_t>(t.View.U32(p));
        return key < hash ? -1 : key > hash ? 1 : 0;
    });
    if (!at) return std::nullopt;
    return t.View.U32(*at + 4);
}

THelpFile ParseHelpFile(std::vector<std::uint8_t> bytes) {
    THelpFile f;
    f.Bytes = std::move(bytes);
    const TView whole{&f.Bytes, 0, f.Bytes.size()};
    if (whole.U32(0) != 0x00035F3F) throw THelpFormatError("not a help file: wrong magic number");
    if (whole.U32(12) != f.Bytes.size()) throw THelpFormatError("file size in the header differs from the file");
    // The directory is an internal file whose B+-tree maps names to file offsets.
    f.Files["(directory)"] = whole.U32(4);
    const TTree dir = OpenTree(InternalFile(f, "(directory)"));
    std::string previous;
    TreeEnum(dir, [&](size_t at) {
        const std::string name = dir.View.ZString(at);
        if (!previous.empty() && std::strcmp(previous.c_str(), name.c_str()) >= 0)
            throw THelpFormatError("directory not in byte order at " + name);
        previous = name;
        f.Files[name] = dir.View.U32(at + name.size() + 1);
        return at + name.size() + 5;
    });
    // Each name must also be found the way the viewer looks it up.
    for (const auto& [name, offset] : f.Files) {
        if (name == "(directory)") continue;
        const auto at = TreeSearch(dir, [&](size_t p, bool leaf, size_t& next) {
            const std::string key = dir.View.ZString(p);
            next = p + key.size() + (leaf ? 5 : 3);
            return std::strcmp(key.c_str(), name.c_str());
        });
        if (!at || dir.View.U32(*at + name.size() + 1) != offset) throw THelpFormatError("directory search misses " + name);
    }
    ReadSystem(f);
    ReadFonts(f);
    ReadTopics(f);
    ReadContextMap(f);
    return f;
}

THelpFile ReadHelpFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw THelpFormatError("cannot open " + path.string());
    return ParseHelpFile(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

}  // namespace velmora::helptest
