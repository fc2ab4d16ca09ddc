#include "archive/formats/ArcUncrunch.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "archive/formats/BitInput.h"

namespace velmora::arc {

namespace {

// ---- old crunch (methods 5 to 7) ----

constexpr std::uint32_t kOldTable = 4096;
constexpr std::uint16_t kNoPredecessor = 0xFFFF;

// Slots are found by hashing the string's predecessor and last byte; a taken
// slot chains on from the end of its list to the first free slot 101 further.
class HashedTable {
public:
    explicit HashedTable(OldCrunchHash hash) : m_hash(hash)
    {
        for (int c = 0; c < 256; ++c)
            Add(kNoPredecessor, static_cast<std::uint8_t>(c));
    }

    bool Full() const { return m_count >= kOldTable; }
    bool Used(std::uint32_t code) const { return m_slots[code].used; }
    std::uint16_t Predecessor(std::uint32_t code) const { return m_slots[code].predecessor; }
    std::uint8_t Follower(std::uint32_t code) const { return m_slots[code].follower; }

    void Add(std::uint16_t predecessor, std::uint8_t follower)
    {
        Slot& slot = m_slots[FreeSlot(predecessor, follower)];
        slot = {true, 0, predecessor, follower};
        ++m_count;
    }

private:
    struct Slot {
        bool used;
        std::uint16_t next;
        std::uint16_t predecessor;
        std::uint8_t follower;
    };

    std::uint32_t Home(std::uint32_t predecessor, std::uint32_t follower) const
    {
        if (m_hash == OldCrunchHash::Newer)
            return (((predecessor + follower) & 0xFFFF) * 15073) & 0x0FFF;
        const std::uint32_t local = ((predecessor + follower) | 0x0800) & 0xFFFF;
        return ((local * local) >> 6) & 0x0FFF;
    }

    std::uint32_t FreeSlot(std::uint16_t predecessor, std::uint8_t follower)
    {
        std::uint32_t home = Home(predecessor, follower);
        if (!m_slots[home].used)
            return home;
        while (m_slots[home].next)
            home = m_slots[home].next;
        std::uint32_t probe = (home + 101) & 0x0FFF;
        while (m_slots[probe].used)
            probe = (probe + 1) % kOldTable;
        m_slots[home].next = static_cast<std::uint16_t>(probe);
        return probe;
    }

    OldCrunchHash m_hash;
    std::array<Slot, kOldTable> m_slots{};
    std::uint32_t m_count = 0;
};

// ---- newer crunch (methods 8 and 9) ----

constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kFirstFree = 257;
constexpr int kInitialBits = 9;

// Codes come in groups of one width: whenever the width changes or the table
// is cleared, the rest of the current group of (width) bytes is dropped.
class GroupedCodes {
public:
    GroupedCodes(BufferedReader& input, int maxBits) : m_input(input), m_maxBits(maxBits) {}

    // The next code, or -1 at the end of the data.
    long Next(std::uint32_t freeEntry)
    {
        if (m_clear || static_cast<int>(m_offset) >= m_size || freeEntry > m_maxCode) {
            if (freeEntry > m_maxCode) {
                ++m_bits;
                m_maxCode = m_bits == m_maxBits ? 1u << m_maxBits : (1u << m_bits) - 1;
            }
            if (m_clear) {
                m_bits = kInitialBits;
                m_maxCode = (1u << m_bits) - 1;
                m_clear = false;
            }
            m_group.fill(0);
            const std::size_t got = m_input.Read(m_group.data(), static_cast<std::size_t>(m_bits));
            if (got == 0)
                return -1;
            m_offset = 0;
            // A short last group still yields the codes that begin in it.
            m_size = static_cast<int>(got * 8) - (m_bits - 1);
        }
        const std::uint32_t bit = m_offset;
        m_offset += static_cast<std::uint32_t>(m_bits);
        const std::uint32_t at = bit >> 3;
        const std::uint32_t window = m_group[at] | m_group[at + 1] << 8 | m_group[at + 2] << 16;
        return static_cast<long>((window >> (bit & 7)) & ((1u << m_bits) - 1));
    }

    void Clear() { m_clear = true; }

private:
    BufferedReader& m_input;
    int m_maxBits;
    int m_bits = kInitialBits;
    std::uint32_t m_maxCode = (1u << kInitialBits) - 1;
    bool m_clear = false;
    std::array<std::uint8_t, 16> m_group{};
    std::uint32_t m_offset = 0;
    int m_size = 0;
};

}  // namespace

void ArcUncrunchOld(BufferedReader& input, ArcOutput& out, OldCrunchHash hash)
{
    auto table = std::make_unique<HashedTable>(hash);
    BitInput bits(input);
    std::vector<std::uint8_t> stack;
    stack.reserve(kOldTable);
    std::uint32_t old = 0;
    std::uint8_t last = 0;
    bool first = true;
    while (!out.Full()) {
        CheckPackedInput(input);
        const std::uint32_t code = bits.GetBits(12);
        const bool unknown = !table->Used(code);
        if (first && unknown)
            RaiseDecodeError(25111);
        // A code not yet in the table is the previous string plus its own
        // first byte.
        std::uint32_t walk = unknown ? old : code;
        stack.clear();
        while (table->Predecessor(walk) != kNoPredecessor) {
            if (stack.size() >= kOldTable)
                RaiseDecodeError(25193);
            stack.push_back(table->Follower(walk));
            walk = table->Predecessor(walk);
            if (walk >= kOldTable)
                RaiseDecodeError(25111);
        }
        last = table->Follower(walk);
        out.Put(last);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            out.Put(*it);
        if (unknown)
            out.Put(last);
        if (!first && !table->Full())
            table->Add(static_cast<std::uint16_t>(old), last);
        first = false;
        old = code;
    }
}

void ArcUncrunch(BufferedReader& input, ArcOutput& out, int maxBits, bool widthByte)
{
    if (widthByte && input.ReadByte() != maxBits)
        RaiseDecodeError(25113);
    const std::uint32_t tableSize = 1u << maxBits;
    std::vector<std::uint16_t> prefix(tableSize);
    std::vector<std::uint8_t> suffix(tableSize);
    for (std::uint32_t c = 0; c < 256; ++c)
        suffix[c] = static_cast<std::uint8_t>(c);
    std::vector<std::uint8_t> stack;
    stack.reserve(tableSize);
    GroupedCodes codes(input, maxBits);
    std::uint32_t freeEntry = kFirstFree;
    long old = codes.Next(freeEntry);
    if (old < 0)
        return;
    if (old >= 256)
        RaiseDecodeError(25111);
    std::uint8_t last = static_cast<std::uint8_t>(old);
    out.Put(last);
    while (!out.Full()) {
        long code = codes.Next(freeEntry);
        if (code < 0)
            return;
        if (code == kClear) {
            std::fill(prefix.begin(), prefix.begin() + 256, 0);
            codes.Clear();
            freeEntry = kFirstFree - 1;
            code = codes.Next(freeEntry);
            if (code < 0)
                return;
        }
        const long incoming = code;
        stack.clear();
        if (static_cast<std::uint32_t>(code) >= freeEntry) {
            stack.push_back(last);
            code = old;
        }
        while (code >= 256) {
            if (stack.size() >= tableSize)
                RaiseDecodeError(25193);
            stack.push_back(suffix[static_cast<std::size_t>(code)]);
            code = prefix[static_cast<std::size_t>(code)];
        }
        last = suffix[static_cast<std::size_t>(code)];
        out.Put(last);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            out.Put(*it);
        if (freeEntry < tableSize) {
            prefix[freeEntry] = static_cast<std::uint16_t>(old);
            suffix[freeEntry] = last;
            ++freeEntry;
        }
        old = incoming;
    }
}

}  // namespace velmora::arc
