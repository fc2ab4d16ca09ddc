#include "archive/formats/Explode.h"

#include <algorithm>
#include <vector>

#include "archive/formats/BitInput.h"

namespace velmora::arc {
namespace {

constexpr int kBadBlock = 25109;

// A binary decode tree: each node holds two slots, free, a leaf or a node.
class ShannonFanoTree {
public:
    // Reads the tree bytes for Count symbols and assigns the codes, longest
    // first. False when the tree is ambiguous.
    void Read(BufferedReader& input, int count);
    bool Ambiguous() const { return m_ambiguous; }

    int Decode(LsbBitInput& bits) const
    {
        int node = 0;
        for (;;) {
            const std::int32_t slot = m_slots[2 * node + bits.GetBit()];
            if (slot < 0)
                return -slot - 1;
            if (slot == kFree)
                RaiseDecodeError(kBadBlock);
            node = slot;
        }
    }

private:
    static constexpr std::int32_t kFree = 0;  // node 0 is the root, never a child
    void Insert(std::uint32_t code, int length, int symbol);

    std::vector<std::int32_t> m_slots;
    bool m_ambiguous = false;
};

void ShannonFanoTree::Read(BufferedReader& input, int count)
{
    std::vector<std::pair<std::uint8_t, std::uint16_t>> lengths;  // (length, symbol)
    const int bytes = input.ReadByte() + 1;
    for (int i = 0; i < bytes; ++i) {
        const std::uint8_t b = input.ReadByte();
        const int codes = (b >> 4) + 1;
        const int bits = (b & 0x0F) + 1;
        for (int k = 0; k < codes; ++k) {
            if (static_cast<int>(lengths.size()) == count)
                RaiseDecodeError(kBadBlock);
            lengths.emplace_back(static_cast<std::uint8_t>(bits), static_cast<std::uint16_t>(lengths.size()));
        }
    }
    if (static_cast<int>(lengths.size()) != count)
        RaiseDecodeError(kBadBlock);
    std::stable_sort(lengths.begin(), lengths.end(), [](auto a, auto b) { return a.first < b.first; });

    m_slots.assign(2, kFree);
    std::uint32_t code = 0;
    std::uint32_t increment = 0;
    int lastLength = 0;
    for (int i = count - 1; i >= 0 && !m_ambiguous; --i) {
        code += increment;
        if (lengths[i].first != lastLength) {
            lastLength = lengths[i].first;
            increment = 1u << (16 - lastLength);
        }
        if (code > 0xFFFF)
            m_ambiguous = true;
        else
            Insert(code, lastLength, lengths[i].second);
    }
}

// Code holds the code's bits at the top of 16; they are read first bit first.
void ShannonFanoTree::Insert(std::uint32_t code, int length, int symbol)
{
    int node = 0;
    for (int k = 0; k < length; ++k) {
        const std::size_t at = 2 * node + ((code >> (15 - k)) & 1);
        const std::int32_t slot = m_slots[at];
        if (k == length - 1) {
            if (slot != kFree)
                m_ambiguous = true;  // a leaf into a used place
            else
                m_slots[at] = -symbol - 1;
            return;
        }
        if (slot < 0) {
            m_ambiguous = true;  // a code running into an assigned leaf
            return;
        }
        if (slot == kFree) {
            node = static_cast<int>(m_slots.size() / 2);
            m_slots.resize(m_slots.size() + 2, kFree);
            m_slots[at] = node;
        } else {
            node = slot;
        }
    }
}

}  // namespace

void Explode(BufferedReader& input, ByteSink& output, std::uint16_t flags, std::uint32_t unpackedSize,
             const WarningHook& warn)
{
    const bool bigWindow = flags & 0x02;
    const bool literalTree = flags & 0x04;
    ShannonFanoTree literals, lengths, distances;
    ShannonFanoTree* trees[] = {&literals, &lengths, &distances};
    const int counts[] = {256, 64, 64};
    for (int t = literalTree ? 0 : 1; t < 3; ++t) {
        trees[t]->Read(input, counts[t]);
        if (trees[t]->Ambiguous()) {
            if (warn)
                warn(L"Ambiguous Shannon-Fano decode tree encountered!");
            RaiseDecodeError(kBadBlock);
        }
    }

    LsbBitInput bits(input);
    WindowWriter window(output);
    const int lowDistanceBits = bigWindow ? 7 : 6;
    const unsigned minMatch = literalTree ? 3 : 2;
    window.Decode([&] {
        while (window.Total() < unpackedSize) {
            if (bits.GetBit()) {
                window.Put(static_cast<std::uint8_t>(literalTree ? literals.Decode(bits) : bits.GetBits(8)));
                continue;
            }
            const std::uint32_t low = bits.GetBits(lowDistanceBits);
            const std::uint32_t distance = ((static_cast<std::uint32_t>(distances.Decode(bits)) << lowDistanceBits) | low) + 1;
            std::uint32_t length = static_cast<std::uint32_t>(lengths.Decode(bits));
            if (length == 63)
                length += bits.GetBits(8);
            length += minMatch;
            window.Copy(distance, std::min(length, unpackedSize - window.Total()));
        }
    });
}

}  // namespace velmora::arc
