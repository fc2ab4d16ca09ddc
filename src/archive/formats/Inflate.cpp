#include "archive/formats/Inflate.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <type_traits>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define VELMORA_INFLATE_BMI2 1
#endif

namespace velmora::arc {
namespace {

constexpr int kBadBlock = 25109;
constexpr int kIncompleteCodeSet = 25116;

static_assert(std::endian::native == std::endian::little, "the bit buffer loads words as little-endian");

// A table entry: bits 0-7 the bits to drop for the code and its extra bits
// together, bits 8-11 the code's own length (where the extra bits start; for
// a sub-table link the sub-table's index bits), bits 12-15 the kind, bits
// 16-31 the value (literal, length or distance base, sub-table offset). The
// value of a length or distance is then
//   base + ((bits & mask(bits to drop)) >> code length)
using Entry = std::uint32_t;
constexpr Entry kLiteral = 0x1000;
constexpr Entry kSubTable = 0x2000;
constexpr Entry kEndOfBlock = 0x4000;
constexpr Entry kInvalid = 0x8000;

constexpr int kLitRootBits = 11;
constexpr int kDistRootBits = 8;
constexpr int kCodeLenRootBits = 7;
constexpr std::size_t kLitTableSize = (1u << kLitRootBits) + 288 * 32;
constexpr std::size_t kDistTableSize = (1u << kDistRootBits) + 32 * 128;
constexpr std::size_t kCodeLenTableSize = 1u << kCodeLenRootBits;

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                           31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                         33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// A symbol's entry without its code length: the kind, the value and, in the
// low byte, the number of extra bits.
Entry LitLenEntry(int symbol)
{
    if (symbol < 256)
        return kLiteral | (Entry(symbol) << 16);
    if (symbol == 256)
        return kEndOfBlock;
    if (symbol > 285)
        return kInvalid;
    return (Entry(kLengthBase[symbol - 257]) << 16) | Entry(kLengthExtra[symbol - 257]);
}

Entry DistEntry(int symbol)
{
    if (symbol > 29)
        return kInvalid;
    return (Entry(kDistBase[symbol]) << 16) | Entry(kDistExtra[symbol]);
}

Entry CodeLenEntry(int symbol)
{
    return Entry(symbol) << 16;
}

// The entry of a symbol whose code is Length bits long.
Entry WithLength(Entry symbol, int length)
{
    if (symbol & kInvalid)
        return kInvalid;
    return symbol + Entry(length) + (Entry(length) << 8);
}

constexpr std::array<std::uint8_t, 256> MakeByteReversal()
{
    std::array<std::uint8_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = 0;
        for (int b = 0; b < 8; ++b)
            r |= ((i >> b) & 1) << (7 - b);
        t[i] = static_cast<std::uint8_t>(r);
    }
    return t;
}

constexpr auto kByteReversal = MakeByteReversal();

// The code's Length bits in the order they arrive in the stream.
unsigned Reverse(unsigned code, int length)
{
    const unsigned reversed16 = (unsigned(kByteReversal[code & 0xFF]) << 8) | kByteReversal[(code >> 8) & 0xFF];
    return reversed16 >> (16 - length);
}

// Fills a root table of RootBits index bits (and sub-tables behind it) for a
// canonical code. Incomplete codes are allowed only where the format allows
// them: a single code of length 1, or (for distances) no code at all.
void BuildTable(Entry* table, std::size_t capacity, int rootBits, const std::uint8_t* lengths, int count,
                Entry (*symbolEntry)(int), bool allowEmpty)
{
    std::array<int, 16> lengthCount{};
    for (int i = 0; i < count; ++i)
        ++lengthCount[lengths[i]];
    int maxLength = 15;
    while (maxLength > 0 && lengthCount[maxLength] == 0)
        --maxLength;
    int left = 1;
    for (int len = 1; len <= 15; ++len) {
        left = 2 * left - lengthCount[len];
        if (left < 0)
            RaiseDecodeError(kIncompleteCodeSet);
    }
    const bool single = maxLength == 1 && lengthCount[1] == 1;
    if (left > 0 && !single && !(allowEmpty && maxLength == 0))
        RaiseDecodeError(kIncompleteCodeSet);

    // The symbols in canonical order: by code length, then by value.
    std::array<int, 17> offset{};
    for (int len = 1; len <= 15; ++len)
        offset[len + 1] = offset[len] + lengthCount[len];
    std::array<std::uint16_t, 288> sorted{};
    for (int symbol = 0; symbol < count; ++symbol) {
        if (lengths[symbol] != 0)
            sorted[offset[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
    }

    // A complete code covers every entry; only the allowed incomplete ones
    // leave entries that must read as invalid.
    const bool complete = left == 0;
    const std::size_t rootSize = std::size_t(1) << rootBits;
    if (!complete)
        std::fill(table, table + rootSize, kInvalid);
    const int subBits = std::max(0, maxLength - rootBits);
    std::size_t nextSub = rootSize;
    std::size_t openPrefix = rootSize;
    unsigned code = 0;
    int index = 0;
    for (int len = 1; len <= maxLength; ++len, code <<= 1) {
        for (int n = 0; n < lengthCount[len]; ++n) {
            const int symbol = sorted[index++];
            const unsigned rev = Reverse(code++, len);
            const Entry value = WithLength(symbolEntry(symbol), len);
            if (len <= rootBits) {
                for (std::size_t i = rev; i < rootSize; i += std::size_t(1) << len)
                    table[i] = value;
                continue;
            }
            // Codes that share their first RootBits bits follow each other
            // in canonical order: a new prefix opens a new sub-table.
            const std::size_t prefix = rev & (rootSize - 1);
            Entry& root = table[prefix];
            if (prefix != openPrefix) {
                openPrefix = prefix;
                if (nextSub + (std::size_t(1) << subBits) > capacity)
                    RaiseDecodeError(kIncompleteCodeSet);
                if (!complete)
                    std::fill_n(table + nextSub, std::size_t(1) << subBits, kInvalid);
                root = kSubTable | (Entry(nextSub) << 16) | (Entry(subBits) << 8);
                nextSub += std::size_t(1) << subBits;
            }
            Entry* sub = table + (root >> 16);
            for (std::size_t i = rev >> rootBits; i < (std::size_t(1) << subBits); i += std::size_t(1) << (len - rootBits))
                sub[i] = value;
        }
    }
}

// The bit buffer is a machine word: after a refill it holds at least 56 bits
// (enough for a length and a distance with their extra bits) on 64-bit
// builds, at least 24 (a length with its extra bits) on 32-bit ones.
using Word = std::conditional_t<sizeof(void*) >= 8, std::uint64_t, std::uint32_t>;
constexpr unsigned kWordBits = sizeof(Word) * 8;
constexpr unsigned kRefilledBits = kWordBits - 8;
// Whether the bits of one refill cover a length and a distance code with
// all their extra bits (15 + 5 + 15 + 13).
constexpr bool kWideBits = kRefilledBits >= 48;

inline Word LoadWord(const std::uint8_t* p)
{
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

inline unsigned LowBits(Word value, unsigned n)
{
    return static_cast<unsigned>(value) & ((1u << n) - 1);
}

// The entry for the code at the bottom of Bits, through the sub-table where
// the root entry links to one.
template <int RootBits>
inline Entry Lookup(const Entry* table, Word bits)
{
    Entry e = table[static_cast<unsigned>(bits) & ((1u << RootBits) - 1)];
    if (e & kSubTable)
        e = table[(e >> 16) + LowBits(bits >> RootBits, (e >> 8) & 0xF)];
    return e;
}

// The length or distance of Entry: its base plus the extra bits behind the code.
inline unsigned EntryValue(Entry e, Word bits)
{
    return (e >> 16) + (LowBits(bits, e & 0xFF) >> ((e >> 8) & 0xF));
}

inline void Copy8(std::uint8_t* to, const std::uint8_t* from)
{
    std::memcpy(to, from, 8);
}

// Copies a match of Length bytes from Distance back. Writes whole words and
// may run up to 15 bytes past the match's end into the buffer's slack.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, unsigned length)
{
    const std::uint8_t* from = out - distance;
    std::uint8_t* const end = out + length;
    if (distance >= 8) {
        // Most matches are short: two words without a test.
        Copy8(out, from);
        Copy8(out + 8, from + 8);
        out += 16;
        from += 16;
        while (out < end) {
            Copy8(out, from);
            out += 8;
            from += 8;
        }
    } else if (distance == 1) {
        const std::uint64_t pattern = std::uint64_t(*from) * 0x0101010101010101u;
        do {
            std::memcpy(out, &pattern, 8);
            out += 8;
        } while (out < end);
    } else {
        // A short period: the first eight bytes one by one, then words from
        // the nearest multiple of the period at least eight bytes back.
        static constexpr std::uint8_t kStep[8] = {0, 0, 8, 9, 8, 10, 12, 14};
        for (int i = 0; i < 8; ++i)
            out[i] = from[i];
        const std::size_t step = kStep[distance];
        for (out += 8; out < end; out += 8)
            Copy8(out, out - step);
    }
}

#ifdef VELMORA_INFLATE_BMI2
// The fast loop once more for processors with shifts by any register and a
// one-step mask of the low bits: on i686 the plain shifts need ECX and a mask
// takes three instructions, in the loop that runs for every code. 32-bit
// Windows keeps the stack only four-byte aligned; SSE spills need 16.
#define VELMORA_BMI2_TARGET __attribute__((target("bmi,bmi2,sse2"), force_align_arg_pointer))

bool CpuHasBmi2()
{
    unsigned a, b, c, d;
    if (!__get_cpuid_count(7, 0, &a, &b, &c, &d))
        return false;
    constexpr unsigned kBmi1Ebx = 1u << 3;
    constexpr unsigned kBmi2Ebx = 1u << 8;
    return (b & kBmi1Ebx) && (b & kBmi2Ebx);
}

const bool kHasBmi2 = CpuHasBmi2();
#else
const bool kHasBmi2 = false;
#endif

// Tests run both loops on one processor.
inflatedetail::Loop g_loop = inflatedetail::Loop::Best;

class Inflater {
public:
    Inflater(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
        : m_input(input), m_output(output), m_limit(unpackedSize)
    {
    }

    void Run();
    void FlushDecoded() { Flush(); }

private:
    // Input: at least kInMargin bytes are readable at m_in before each code
    // of the fast loop, and kInKeep bytes are kept behind m_in. Once the
    // packed data has ended, kInPadding zero bytes follow it; needing more
    // than those means the stream was cut short.
    static constexpr std::size_t kInBlock = 32768;
    static constexpr std::size_t kInMargin = 64;
    static constexpr std::size_t kInPadding = 2 * kInMargin;
    static constexpr std::size_t kInKeep = 8;
    // Output: 32 KiB of history plus room for 224 KiB before each flush.
    static constexpr std::size_t kHistory = 32768;
    static constexpr std::size_t kOutSize = 8 * kHistory;
    static constexpr std::size_t kMaxMatch = 258;
    static constexpr std::size_t kOutSlack = kMaxMatch + 32;

    void FillInput();
    void EnsureInput()
    {
        if (static_cast<std::size_t>(m_inEnd - m_in) < kInMargin)
            FillInput();
    }
    void RefillBits()
    {
        m_bits |= LoadWord(m_in) << m_bitCount;
        m_in += (kWordBits - 1 - m_bitCount) >> 3;
        m_bitCount |= kRefilledBits;
    }
    void DropBits(unsigned n)
    {
        m_bits >>= n;
        m_bitCount -= n;
    }
    unsigned GetBits(unsigned n)  // n up to 16, outside the hot loop
    {
        EnsureInput();
        RefillBits();
        const unsigned value = LowBits(m_bits, n);
        DropBits(n);
        return value;
    }
    // Raises when the codes taken so far reach into the zeros behind the
    // end of the packed data.
    void CheckNotPastEnd() const;

    std::uint32_t Produced() const { return m_flushedTotal + static_cast<std::uint32_t>(m_out - m_flushed); }
    void UpdateFastEnd();
    void MakeRoom(std::size_t count);
    void Flush();

    void StoredBlock();
    void FixedTables();
    void DynamicTables();
    void DecodeBlock(const Entry* lit, const Entry* dist);
    __attribute__((always_inline)) inline void FastLoop(const Entry* lit, const Entry* dist);
    void FastLoopPlain(const Entry* lit, const Entry* dist);
#ifdef VELMORA_INFLATE_BMI2
    VELMORA_BMI2_TARGET void FastLoopBmi2(const Entry* lit, const Entry* dist);
#endif
    // One code with every check, where the fast loop's margins do not hold;
    // true at the end of the block.
    bool CarefulCode(const Entry* lit, const Entry* dist);

    BufferedReader& m_input;
    ByteSink& m_output;
    std::uint32_t m_limit;

    std::unique_ptr<std::uint8_t[]> m_inBuf{new std::uint8_t[kInKeep + kInBlock + kInPadding]};
    const std::uint8_t* m_in = m_inBuf.get();
    const std::uint8_t* m_inEnd = m_inBuf.get();
    // Where the packed data ends in the buffer, once it has.
    const std::uint8_t* m_dataEnd = nullptr;
    Word m_bits = 0;
    unsigned m_bitCount = 0;

    std::unique_ptr<std::uint8_t[]> m_outBuf{new std::uint8_t[kOutSize + kOutSlack]};
    std::uint8_t* m_out = m_outBuf.get();
    std::uint8_t* m_flushed = m_outBuf.get();
    std::uint8_t* m_fastEnd = m_outBuf.get();
    std::uint32_t m_flushedTotal = 0;

    std::unique_ptr<Entry[]> m_lit{new Entry[kLitTableSize]};
    std::unique_ptr<Entry[]> m_dist{new Entry[kDistTableSize]};
    std::unique_ptr<Entry[]> m_fixedLit;
    std::unique_ptr<Entry[]> m_fixedDist;
};

void Inflater::FillInput()
{
    if (m_dataEnd)
        RaiseDecodeError(kBadBlock);
    std::uint8_t* base = m_inBuf.get();
    const std::size_t keep = std::min<std::size_t>(kInKeep, m_in - base);
    const std::size_t left = m_inEnd - m_in;
    std::memmove(base, m_in - keep, keep + left);
    m_in = base + keep;
    std::uint8_t* end = base + keep + left;
    const std::size_t want = kInBlock - left;
    const std::size_t got = m_input.Read(end, want);
    end += got;
    if (got < want) {
        // The packed data has ended: zeros behind it let the last codes
        // decode without another read; whether they were needed is checked
        // at the end.
        m_dataEnd = end;
        std::memset(end, 0, kInPadding);
        end += kInPadding;
    }
    m_inEnd = end;
}

void Inflater::CheckNotPastEnd() const
{
    if (!m_dataEnd)
        return;
    const std::size_t taken = static_cast<std::size_t>(m_in - m_inBuf.get()) * 8 - m_bitCount;
    if (taken > static_cast<std::size_t>(m_dataEnd - m_inBuf.get()) * 8)
        RaiseDecodeError(kBadBlock);
}

void Inflater::UpdateFastEnd()
{
    // Below m_fastEnd a whole match (plus the copy's overshoot) fits in the
    // buffer and within the declared size, so the fast loop checks neither.
    const std::uint64_t outOffset = m_out - m_outBuf.get();
    const std::uint32_t allowed = m_limit - Produced();
    std::uint64_t end = 0;
    if (allowed >= kMaxMatch)
        end = std::min<std::uint64_t>(kOutSize - kMaxMatch, outOffset + (allowed - kMaxMatch));
    m_fastEnd = m_outBuf.get() + end;
}

void Inflater::Flush()
{
    if (m_out > m_flushed)
        m_output.Write(m_flushed, m_out - m_flushed);
    m_flushedTotal += static_cast<std::uint32_t>(m_out - m_flushed);
    m_flushed = m_out;
}

// Before Count bytes are written off the fast path: room in the buffer, and
// nothing beyond the declared size.
void Inflater::MakeRoom(std::size_t count)
{
    if (count > m_limit - Produced())
        RaiseDecodeError(kBadBlock);
    std::uint8_t* base = m_outBuf.get();
    if (static_cast<std::size_t>(m_out - base) + count > kOutSize) {
        Flush();
        std::memmove(base, m_out - kHistory, kHistory);
        m_out = m_flushed = base + kHistory;
    }
    UpdateFastEnd();
}

void Inflater::StoredBlock()
{
    DropBits(m_bitCount & 7);
    const unsigned length = GetBits(16);
    const unsigned check = GetBits(16);
    if (length != (~check & 0xFFFF))
        RaiseDecodeError(kBadBlock);
    // Whole bytes still in the bit buffer go back to the input.
    m_in -= m_bitCount >> 3;
    m_bits = 0;
    m_bitCount = 0;
    CheckNotPastEnd();
    std::size_t left = length;
    while (left > 0) {
        if (m_in == (m_dataEnd ? m_dataEnd : m_inEnd))
            FillInput();
        const std::uint8_t* available = m_dataEnd ? m_dataEnd : m_inEnd;
        const std::size_t piece = std::min<std::size_t>({left, static_cast<std::size_t>(available - m_in), kHistory});
        MakeRoom(piece);
        std::memcpy(m_out, m_in, piece);
        m_out += piece;
        m_in += piece;
        left -= piece;
    }
}

void Inflater::FixedTables()
{
    if (m_fixedLit)
        return;
    std::uint8_t lengths[288];
    std::fill(lengths, lengths + 144, 8);
    std::fill(lengths + 144, lengths + 256, 9);
    std::fill(lengths + 256, lengths + 280, 7);
    std::fill(lengths + 280, lengths + 288, 8);
    m_fixedLit.reset(new Entry[kLitTableSize]);
    BuildTable(m_fixedLit.get(), kLitTableSize, kLitRootBits, lengths, 288, LitLenEntry, false);
    std::fill(lengths, lengths + 32, 5);
    m_fixedDist.reset(new Entry[kDistTableSize]);
    BuildTable(m_fixedDist.get(), kDistTableSize, kDistRootBits, lengths, 32, DistEntry, false);
}

void Inflater::DynamicTables()
{
    static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    const int litCount = static_cast<int>(GetBits(5)) + 257;
    const int distCount = static_cast<int>(GetBits(5)) + 1;
    const int codeLenCount = static_cast<int>(GetBits(4)) + 4;
    std::uint8_t codeLengths[19] = {};
    for (int i = 0; i < codeLenCount; ++i)
        codeLengths[kOrder[i]] = static_cast<std::uint8_t>(GetBits(3));
    // Code lengths read from the zeros behind the data are a cut stream,
    // not a bad code set.
    CheckNotPastEnd();
    Entry codeLenTable[kCodeLenTableSize];
    BuildTable(codeLenTable, kCodeLenTableSize, kCodeLenRootBits, codeLengths, 19, CodeLenEntry, false);

    std::uint8_t lengths[288 + 32] = {};
    const int total = litCount + distCount;
    for (int i = 0; i < total;) {
        EnsureInput();
        RefillBits();
        const Entry e = codeLenTable[LowBits(m_bits, kCodeLenRootBits)];
        if (e & kInvalid)
            RaiseDecodeError(kBadBlock);
        DropBits(e & 0xFF);
        const unsigned symbol = e >> 16;
        if (symbol < 16) {
            lengths[i++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        std::uint8_t value = 0;
        unsigned repeat;
        if (symbol == 16) {
            if (i == 0)
                RaiseDecodeError(kBadBlock);
            value = lengths[i - 1];
            repeat = 3 + GetBits(2);
        } else if (symbol == 17) {
            repeat = 3 + GetBits(3);
        } else {
            repeat = 11 + GetBits(7);
        }
        if (repeat > static_cast<unsigned>(total - i))
            RaiseDecodeError(kBadBlock);
        std::fill_n(lengths + i, repeat, value);
        i += static_cast<int>(repeat);
    }
    CheckNotPastEnd();
    if (lengths[256] == 0)
        RaiseDecodeError(kBadBlock);
    BuildTable(m_lit.get(), kLitTableSize, kLitRootBits, lengths, litCount, LitLenEntry, false);
    BuildTable(m_dist.get(), kDistTableSize, kDistRootBits, lengths + litCount, distCount, DistEntry, true);
}

bool Inflater::CarefulCode(const Entry* lit, const Entry* dist)
{
    EnsureInput();
    RefillBits();
    Entry e = Lookup<kLitRootBits>(lit, m_bits);
    if (e & kInvalid)
        RaiseDecodeError(kBadBlock);
    if (e & kLiteral) {
        MakeRoom(1);
        DropBits(e & 0xFF);
        *m_out++ = static_cast<std::uint8_t>(e >> 16);
        return false;
    }
    if (e & kEndOfBlock) {
        DropBits(e & 0xFF);
        return true;
    }
    const unsigned length = EntryValue(e, m_bits);
    DropBits(e & 0xFF);
    RefillBits();
    e = Lookup<kDistRootBits>(dist, m_bits);
    if (e & kInvalid)
        RaiseDecodeError(kBadBlock);
    const unsigned codeLength = (e >> 8) & 0xF;
    DropBits(codeLength);
    RefillBits();
    const std::size_t distance = (e >> 16) + LowBits(m_bits, (e & 0xFF) - codeLength);
    DropBits((e & 0xFF) - codeLength);
    MakeRoom(length);
    if (distance > static_cast<std::size_t>(m_out - m_outBuf.get()))
        RaiseDecodeError(kBadBlock);
    CopyMatch(m_out, distance, length);
    m_out += length;
    return false;
}

void Inflater::DecodeBlock(const Entry* lit, const Entry* dist)
{
#ifdef VELMORA_INFLATE_BMI2
    if (g_loop == inflatedetail::Loop::Best ? kHasBmi2 : g_loop == inflatedetail::Loop::Bmi2) {
        FastLoopBmi2(lit, dist);
        return;
    }
#endif
    FastLoopPlain(lit, dist);
}

void Inflater::FastLoopPlain(const Entry* lit, const Entry* dist)
{
    FastLoop(lit, dist);
}

#ifdef VELMORA_INFLATE_BMI2
void Inflater::FastLoopBmi2(const Entry* lit, const Entry* dist)
{
    FastLoop(lit, dist);
}
#endif

void Inflater::FastLoop(const Entry* lit, const Entry* dist)
{
    constexpr unsigned kLitMask = (1u << kLitRootBits) - 1;
    const std::uint8_t* in = m_in;
    const std::uint8_t* inSafe = m_inEnd - kInMargin;
    Word bits = m_bits;
    unsigned count = m_bitCount;
    std::uint8_t* out = m_out;
    std::uint8_t* fastEnd = m_fastEnd;
    const std::uint8_t* const base = m_outBuf.get();

    auto store = [&]() __attribute__((always_inline)) {
        m_in = in;
        m_bits = bits;
        m_bitCount = count;
        m_out = out;
    };
    auto load = [&]() __attribute__((always_inline)) {
        in = m_in;
        inSafe = m_inEnd - kInMargin;
        bits = m_bits;
        count = m_bitCount;
        out = m_out;
        fastEnd = m_fastEnd;
    };
    auto refill = [&]() __attribute__((always_inline)) {
        bits |= LoadWord(in) << count;
        in += (kWordBits - 1 - count) >> 3;
        count |= kRefilledBits;
    };
    auto drop = [&](unsigned n) __attribute__((always_inline)) {
        bits >>= n;
        count -= n;
    };

    // Each turn starts with room for a whole match in the output and
    // kInMargin bytes of input; a refill then gives the bits for a length
    // and a distance with their extra bits, or for two (three) literals.
    for (;;) {
        if (in > inSafe || out >= fastEnd) {
            store();
            if (CarefulCode(lit, dist))
                return;
            load();
            continue;
        }
        refill();
        Entry e = lit[static_cast<unsigned>(bits) & kLitMask];
        // Turns after a match come back here with their first entry loaded
        // before the match was copied.
        for (;;) {
            if (e & kLiteral) {
                drop(e & 0xFF);
                *out++ = static_cast<std::uint8_t>(e >> 16);
                e = lit[static_cast<unsigned>(bits) & kLitMask];
                if (e & kLiteral) {
                    drop(e & 0xFF);
                    *out++ = static_cast<std::uint8_t>(e >> 16);
                    if constexpr (!kWideBits)
                        break;
                    e = lit[static_cast<unsigned>(bits) & kLitMask];
                    if (e & kLiteral) {
                        drop(e & 0xFF);
                        *out++ = static_cast<std::uint8_t>(e >> 16);
                        break;
                    }
                }
                refill();
            }
            if (e & kSubTable) {
                e = lit[(e >> 16) + LowBits(bits >> kLitRootBits, (e >> 8) & 0xF)];
                if (e & kLiteral) {
                    drop(e & 0xFF);
                    *out++ = static_cast<std::uint8_t>(e >> 16);
                    break;
                }
            }
            if (e & (kEndOfBlock | kInvalid)) {
                if (e & kInvalid) {
                    store();
                    RaiseDecodeError(kBadBlock);
                }
                drop(e & 0xFF);
                store();
                return;
            }
            const unsigned length = EntryValue(e, bits);
            drop(e & 0xFF);
            if constexpr (!kWideBits)
                refill();
            e = Lookup<kDistRootBits>(dist, bits);
            if (e & kInvalid) {
                store();
                RaiseDecodeError(kBadBlock);
            }
            std::size_t distance;
            if (kWideBits || (e & 0xFF) <= count) {
                distance = EntryValue(e, bits);
                drop(e & 0xFF);
            } else {
                // A long distance code with many extra bits: those after a refill.
                const unsigned codeLength = (e >> 8) & 0xF;
                drop(codeLength);
                refill();
                distance = (e >> 16) + LowBits(bits, (e & 0xFF) - codeLength);
                drop((e & 0xFF) - codeLength);
            }
            if (distance > static_cast<std::size_t>(out - base)) {
                store();
                RaiseDecodeError(kBadBlock);
            }
            if (in > inSafe || out + length >= fastEnd) {
                CopyMatch(out, distance, length);
                out += length;
                break;
            }
            // The next turn's checks hold already: its first entry is
            // loaded before the copy, off the copy's critical path.
            refill();
            const Entry next = lit[static_cast<unsigned>(bits) & kLitMask];
            CopyMatch(out, distance, length);
            out += length;
            e = next;
        }
    }
}

void Inflater::Run()
{
    UpdateFastEnd();
    bool last = false;
    while (!last) {
        last = GetBits(1) != 0;
        switch (GetBits(2)) {
        case 0:
            StoredBlock();
            break;
        case 1:
            FixedTables();
            DecodeBlock(m_fixedLit.get(), m_fixedDist.get());
            break;
        case 2:
            DynamicTables();
            DecodeBlock(m_lit.get(), m_dist.get());
            break;
        default:
            RaiseDecodeError(kBadBlock);
        }
    }
    // A final end-of-block code read from the zeros behind the data means
    // the stream was cut short.
    CheckNotPastEnd();
    Flush();
}

}  // namespace

namespace inflatedetail {

bool Bmi2Available()
{
    return kHasBmi2;
}

void UseLoop(Loop loop)
{
    g_loop = loop;
}

}  // namespace inflatedetail

void Inflate(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    auto inflater = std::make_unique<Inflater>(input, output, unpackedSize);
    try {
        inflater->Run();
    } catch (const E_RAISE&) {
        // The target keeps what was decoded before the damage.
        inflater->FlushDecoded();
        throw;
    }
}

}  // namespace velmora::arc
