#include "archive/formats/ZooLzwDecode.h"

#include <vector>

#include "archive/formats/BitInput.h"
#include "archive/formats/UnpackedOutput.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kClear = 256;
constexpr std::uint32_t kEnd = 257;
constexpr std::uint32_t kFirstFree = 258;
constexpr int kMaxBits = 13;
constexpr std::uint32_t kTableSize = 1u << kMaxBits;

class ZooTable {
public:
    ZooTable() : m_prefix(kTableSize), m_suffix(kTableSize) { Reset(); }

    void Reset()
    {
        m_bits = 9;
        m_maxCode = 512;
        m_free = kFirstFree;
    }
    int Bits() const { return m_bits; }
    std::uint32_t Free() const { return m_free; }

    // The decoder adds its entry one code after the encoder did: the width
    // grows as soon as the next free code reaches the current maximum.
    void Add(std::uint32_t prefix, std::uint8_t suffix)
    {
        if (m_free >= kTableSize)
            return;
        m_prefix[m_free] = static_cast<std::uint16_t>(prefix);
        m_suffix[m_free] = suffix;
        if (++m_free >= m_maxCode && m_bits < kMaxBits) {
            ++m_bits;
            m_maxCode <<= 1;
        }
    }

    // Pushes the string of Code, last byte first; returns its first byte.
    std::uint8_t Unwind(std::uint32_t code, std::vector<std::uint8_t>& stack) const
    {
        while (code > 255) {
            if (stack.size() >= kTableSize)
                RaiseDecodeError(25193);
            stack.push_back(m_suffix[code]);
            code = m_prefix[code];
        }
        stack.push_back(static_cast<std::uint8_t>(code));
        return static_cast<std::uint8_t>(code);
    }

private:
    std::vector<std::uint16_t> m_prefix;
    std::vector<std::uint8_t> m_suffix;
    int m_bits = 9;
    std::uint32_t m_maxCode = 512;
    std::uint32_t m_free = kFirstFree;
};

}  // namespace

void ZooLzwDecode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    LsbBitInput bits(input);
    UnpackedOutput out(output, unpackedSize);
    ZooTable table;
    std::vector<std::uint8_t> stack;
    stack.reserve(kTableSize);
    bool started = false;
    std::uint32_t old = 0;
    std::uint8_t first = 0;
    while (!out.Full()) {
        CheckPackedInput(input);
        std::uint32_t code = bits.GetBits(table.Bits());
        if (code == kClear) {
            table.Reset();
            started = false;
            continue;
        }
        if (code == kEnd)
            break;
        const std::uint32_t incoming = code;
        stack.clear();
        if (!started) {
            if (code > 255)
                RaiseDecodeError(25111);
            first = table.Unwind(code, stack);
        } else {
            if (code > table.Free())
                RaiseDecodeError(25111);
            if (code == table.Free()) {
                // The string being defined: the previous one plus its first byte.
                stack.push_back(first);
                code = old;
            }
            first = table.Unwind(code, stack);
            table.Add(old, first);
        }
        for (auto it = stack.rbegin(); it != stack.rend() && !out.Full(); ++it)
            out.Put(*it);
        started = true;
        old = incoming;
    }
    out.Flush();
}

}  // namespace velmora::arc
