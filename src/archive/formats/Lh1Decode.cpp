#include "archive/formats/Lh1Decode.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "archive/formats/BitInput.h"
#include "archive/formats/UnpackedOutput.h"

namespace velmora::arc {

namespace {

constexpr int kWindow = 4096;
constexpr int kMaxMatch = 60;
constexpr int kSymbols = 256 - 2 + kMaxMatch;  // 314: bytes and lengths 3..60
constexpr int kNodes = kSymbols * 2 - 1;       // 627
constexpr int kRoot = kNodes - 1;
constexpr unsigned kMaxFrequency = 0x8000;

// Frequencies sorted ascending by node; a node's children are the pair
// (son, son + 1); a leaf's son is its symbol + kNodes.
class AdaptiveTree {
public:
    AdaptiveTree()
    {
        for (int i = 0; i < kSymbols; ++i) {
            m_freq[i] = 1;
            m_son[i] = i + kNodes;
            m_parent[i + kNodes] = i;
        }
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
            m_freq[j] = m_freq[i] + m_freq[i + 1];
            m_son[j] = i;
            m_parent[i] = m_parent[i + 1] = j;
        }
        m_freq[kNodes] = 0xFFFF;
        m_parent[kRoot] = 0;
    }

    int Decode(BitInput& bits)
    {
        int c = m_son[kRoot];
        while (c < kNodes)
            c = m_son[c + static_cast<int>(bits.GetBits(1))];
        c -= kNodes;
        Update(c);
        return c;
    }

private:
    void Rebuild();
    void Update(int symbol);

    std::array<unsigned, kNodes + 1> m_freq{};
    std::array<int, kNodes> m_son{};
    std::array<int, kNodes + kSymbols> m_parent{};
};

void AdaptiveTree::Rebuild()
{
    int j = 0;
    for (int i = 0; i < kNodes; ++i) {
        if (m_son[i] >= kNodes) {
            m_freq[j] = (m_freq[i] + 1) / 2;
            m_son[j] = m_son[i];
            ++j;
        }
    }
    for (int i = 0, n = kSymbols; n < kNodes; i += 2, ++n) {
        const unsigned f = m_freq[i] + m_freq[i + 1];
        int k = n - 1;
        while (f < m_freq[k])
            --k;
        ++k;
        std::copy_backward(m_freq.begin() + k, m_freq.begin() + n, m_freq.begin() + n + 1);
        m_freq[k] = f;
        std::copy_backward(m_son.begin() + k, m_son.begin() + n, m_son.begin() + n + 1);
        m_son[k] = i;
    }
    for (int i = 0; i < kNodes; ++i) {
        const int k = m_son[i];
        m_parent[k] = i;
        if (k < kNodes)
            m_parent[k + 1] = i;
    }
}

void AdaptiveTree::Update(int symbol)
{
    if (m_freq[kRoot] == kMaxFrequency)
        Rebuild();
    int c = m_parent[symbol + kNodes];
    do {
        const unsigned k = ++m_freq[c];
        // Keep the frequencies sorted: swap with the last node of lower weight.
        if (k > m_freq[c + 1]) {
            int l = c + 1;
            while (k > m_freq[l + 1])
                ++l;
            m_freq[c] = m_freq[l];
            m_freq[l] = k;
            const int i = m_son[c];
            m_parent[i] = l;
            if (i < kNodes)
                m_parent[i + 1] = l;
            const int j = m_son[l];
            m_son[l] = i;
            m_parent[j] = c;
            if (j < kNodes)
                m_parent[j + 1] = c;
            m_son[c] = j;
            c = l;
        }
        c = m_parent[c];
    } while (c != 0);
}

// The fixed code of the positions' upper six bits: one code of 3 bits, three
// of 4, eight of 5, twelve of 6, twenty-four of 7 and sixteen of 8, in order.
struct PositionCode {
    std::array<std::uint8_t, 256> upper{};
    std::array<std::uint8_t, 256> length{};

    PositionCode()
    {
        static constexpr std::array<std::pair<int, int>, 6> kGroups{
            {{3, 1}, {4, 3}, {5, 8}, {6, 12}, {7, 24}, {8, 16}}};
        int code = 0;
        int value = 0;
        for (const auto& [bits, count] : kGroups) {
            for (int n = 0; n < count; ++n, ++value) {
                const int span = 1 << (8 - bits);
                for (int b = 0; b < span; ++b) {
                    upper[static_cast<std::size_t>(code + b)] = static_cast<std::uint8_t>(value);
                    length[static_cast<std::size_t>(code + b)] = static_cast<std::uint8_t>(bits);
                }
                code += span;
            }
        }
    }
};

int DecodePosition(BitInput& bits, const PositionCode& table)
{
    std::uint32_t byte = bits.GetBits(8);
    const int upper = table.upper[byte];
    const int extra = table.length[byte] - 2;
    byte = (byte << extra) | bits.GetBits(extra);
    return upper << 6 | static_cast<int>(byte & 0x3F);
}

}  // namespace

void Lh1Decode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    static const PositionCode kPositions;
    BitInput bits(input);
    UnpackedOutput out(output, unpackedSize);
    auto tree = std::make_unique<AdaptiveTree>();
    std::vector<std::uint8_t> window(kWindow, ' ');
    int pos = kWindow - kMaxMatch;
    while (!out.Full()) {
        CheckPackedInput(input);
        const int c = tree->Decode(bits);
        if (c < 256) {
            window[static_cast<std::size_t>(pos)] = static_cast<std::uint8_t>(c);
            pos = (pos + 1) & (kWindow - 1);
            out.Put(static_cast<std::uint8_t>(c));
            continue;
        }
        int from = (pos - DecodePosition(bits, kPositions) - 1) & (kWindow - 1);
        for (int n = c - 253; n > 0 && !out.Full(); --n) {
            const std::uint8_t byte = window[static_cast<std::size_t>(from)];
            window[static_cast<std::size_t>(pos)] = byte;
            from = (from + 1) & (kWindow - 1);
            pos = (pos + 1) & (kWindow - 1);
            out.Put(byte);
        }
    }
    out.Flush();
}

}  // namespace velmora::arc
