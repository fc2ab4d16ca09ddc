#include "archive/formats/Unshrink.h"

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
    }

    void Run(std::uint32_t unpackedSize);

private:
    void Loop(std::uint32_t unpackedSize);
    void Control();
    void PartialClear();
    // Writes the string of Code (at most Room bytes of it); returns its first byte.
    std::uint8_t Emit(int code, std::uint32_t room);
    void Add(int parent, std::uint8_t c);

    LsbBitInput m_bits;
    WindowWriter m_window;
    int m_codeBits = 9;
    int m_nextFree = kFirstFree;
    std::vector<std::int16_t> m_parent = std::vector<std::int16_t>(kCodes, -1);
    std::vector<std::uint8_t> m_char = std::vector<std::uint8_t>(kCodes, 0);
    std::vector<bool> m_used = std::vector<bool>(kCodes, false);
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
// freed ones from the lowest up.
void Unshrinker::PartialClear()
{
    std::vector<bool> hasChild(kCodes, false);
    for (int c = kFirstFree; c < kCodes; ++c) {
        if (m_used[c] && m_parent[c] >= kFirstFree)
            hasChild[m_parent[c]] = true;
    }
    m_nextFree = kCodes;
    for (int c = kFirstFree; c < kCodes; ++c) {
        if (m_used[c] && !hasChild[c])
            m_used[c] = false;
        if (!m_used[c] && m_nextFree == kCodes)
            m_nextFree = c;
    }
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
    m_parent[m_nextFree] = static_cast<std::int16_t>(parent);
    m_char[m_nextFree] = c;
    m_used[m_nextFree] = true;
    while (m_nextFree < kCodes && m_used[m_nextFree])
        ++m_nextFree;
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
        const bool known = code < 256 || m_used[code];
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
        if (!known && !m_used[code])
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
