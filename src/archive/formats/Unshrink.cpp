#include "archive/formats/Unshrink.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <vector>

#include "archive/formats/BitInput.h"

namespace velmora::arc {
namespace {

constexpr int kBadBlock = 25109;
constexpr int kInvalidCode = 25111;
constexpr int kStackOverflow = 25193;
constexpr int kCodes = 8192;
constexpr int kFirstFree = 257;
constexpr int kMaxBits = 13;

class Unshrinker {
public:
    Unshrinker(BufferedReader& input, ByteSink& output) : m_bits(input), m_window(output)
    {
        for (int c = 0; c < 256; ++c)
            m_char[c] = static_cast<std::uint8_t>(c);
        for (int c = kFirstFree; c < kCodes; ++c)
            SetUsed(c, false);
    }

    void Run(std::uint32_t unpackedSize);

private:
    void Loop(std::uint32_t unpackedSize);
    void Control();
    void PartialClear();
    // Writes the string of Code (at most Room bytes of it); returns its first byte.
    std::uint8_t Emit(int code, std::uint32_t room);
    void Add(int parent, std::uint8_t c);

    bool Used(int code) const { return !(m_free[code >> 6] >> (code & 63) & 1); }
    void SetUsed(int code, bool used)
    {
        const std::uint64_t bit = std::uint64_t(1) << (code & 63);
        m_free[code >> 6] = used ? m_free[code >> 6] & ~bit : m_free[code >> 6] | bit;
    }
    // The lowest free code from From on, or kCodes.
    int NextFree(int from) const;

    LsbBitInput m_bits;
    WindowWriter m_window;
    int m_codeBits = 9;
    int m_nextFree = kFirstFree;
    std::vector<std::int16_t> m_parent = std::vector<std::int16_t>(kCodes, -1);
    std::vector<std::uint8_t> m_char = std::vector<std::uint8_t>(kCodes, 0);
    // One bit per code: set while the code is free. The literals are never free.
    std::array<std::uint64_t, kCodes / 64> m_free{};
    // How many used codes extend each code.
    std::vector<std::uint16_t> m_children = std::vector<std::uint16_t>(kCodes, 0);
    // Every used code without children is in here (with stale ones between):
    // the codes added since the last clear and those whose last child went.
    std::vector<std::int16_t> m_leaves;
    std::vector<std::int16_t> m_clearing;
    std::vector<std::uint8_t> m_stack = std::vector<std::uint8_t>(kCodes);
};

void Unshrinker::Control()
{
    switch (m_bits.GetBits(m_codeBits)) {
    case 1:
        if (m_codeBits == kMaxBits)
            RaiseDecodeError(kBadBlock);
        ++m_codeBits;
        break;
    case 2:
        PartialClear();
        break;
    default:
        RaiseDecodeError(kBadBlock);
    }
}

// Frees every code that no other code extends; new codes then fill the
// freed ones from the lowest up. Only the candidate leaves are looked at, so
// that a clear costs in proportion to the codes added or freed since the last
// one, not to the size of the table.
void Unshrinker::PartialClear()
{
    // First pick the leaves as they are now; a code whose children go in this
    // clear stays until the next one.
    m_clearing.clear();
    for (const std::int16_t c : m_leaves) {
        if (Used(c) && m_children[c] == 0) {
            SetUsed(c, false);
            m_clearing.push_back(c);
        }
    }
    m_leaves.clear();
    for (const std::int16_t c : m_clearing) {
        m_nextFree = std::min<int>(m_nextFree, c);
        const int parent = m_parent[c];
        if (parent >= kFirstFree && --m_children[parent] == 0)
            m_leaves.push_back(static_cast<std::int16_t>(parent));
    }
}

int Unshrinker::NextFree(int from) const
{
    for (int word = from >> 6; word < kCodes / 64; ++word) {
        std::uint64_t bits = m_free[word];
        if (word == from >> 6)
            bits &= ~std::uint64_t(0) << (from & 63);
        if (bits)
            return word * 64 + std::countr_zero(bits);
    }
    return kCodes;
}

std::uint8_t Unshrinker::Emit(int code, std::uint32_t room)
{
    std::size_t depth = 0;
    for (int c = code; c >= 0; c = m_parent[c]) {
        if (depth == m_stack.size())
            RaiseDecodeError(kStackOverflow);
        m_stack[depth++] = m_char[c];
    }
    const std::uint8_t first = m_stack[depth - 1];
    while (depth > 0 && room > 0) {
        m_window.Put(m_stack[--depth]);
        --room;
    }
    return first;
}

void Unshrinker::Add(int parent, std::uint8_t c)
{
    if (m_nextFree >= kCodes)
        return;
    const int code = m_nextFree;
    m_parent[code] = static_cast<std::int16_t>(parent);
    m_char[code] = c;
    SetUsed(code, true);
    m_leaves.push_back(static_cast<std::int16_t>(code));
    if (parent >= kFirstFree)
        ++m_children[parent];
    m_nextFree = NextFree(code + 1);
}

void Unshrinker::Run(std::uint32_t unpackedSize)
{
    m_window.Decode([&] { Loop(unpackedSize); });
}

void Unshrinker::Loop(std::uint32_t unpackedSize)
{
    int previous = -1;
    while (m_window.Total() < unpackedSize) {
        const int code = static_cast<int>(m_bits.GetBits(m_codeBits));
        if (code == 256) {
            Control();
            continue;
        }
        const std::uint32_t room = unpackedSize - m_window.Total();
        const bool known = code < 256 || Used(code);
        if (previous < 0) {
            if (!known)
                RaiseDecodeError(kInvalidCode);
            Emit(code, room);
            previous = code;
            continue;
        }
        std::uint8_t first;
        if (known) {
            first = Emit(code, room);
        } else {
            // Not yet defined: the previous string and its own first byte.
            first = Emit(previous, room);
            if (m_window.Total() < unpackedSize)
                m_window.Put(first);
        }
        Add(previous, first);
        if (!known && !Used(code))
            RaiseDecodeError(kInvalidCode);
        previous = code;
    }
}

}  // namespace

void Unshrink(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    auto unshrinker = std::make_unique<Unshrinker>(input, output);
    unshrinker->Run(unpackedSize);
}

}  // namespace velmora::arc
