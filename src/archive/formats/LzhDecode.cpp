#include "archive/formats/LzhDecode.h"

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "archive/formats/BitInput.h"

namespace velmora::arc {
namespace {

constexpr int kWindowSize = 26624;
constexpr int kCharCodes = 510;  // 256 literals + match lengths 3..256
constexpr int kTempCodes = 19;
constexpr int kMaxPosCodes = 20;
constexpr int kCharTableBits = 12;
constexpr int kPosTableBits = 8;
constexpr int kBadHuffmanCode = 25110;

// A lookup table of TableBits bits over the top of the bit buffer; codes that
// are longer continue in a binary tree whose nodes are numbered from Count up.
class HuffmanTable {
public:
    HuffmanTable(int maxCodes, int tableBits)
        : m_tableBits(tableBits), m_table(std::size_t(1) << tableBits),
          m_left(2 * maxCodes), m_right(2 * maxCodes), m_lengths(maxCodes)
    {
    }

    std::uint8_t* Lengths() { return m_lengths.data(); }
    std::uint8_t Length(int symbol) const { return m_lengths[symbol]; }

    // Every bit pattern decodes to Symbol without consuming bits.
    void SetSingle(int count, int symbol)
    {
        m_count = count;
        std::fill(m_lengths.begin(), m_lengths.begin() + count, 0);
        std::fill(m_table.begin(), m_table.end(), static_cast<std::uint16_t>(symbol));
    }

    void Build(int count);

    int Decode(BitInput& bits) const
    {
        const std::uint16_t buffer = bits.Peek();
        int symbol = m_table[buffer >> (16 - m_tableBits)];
        if (symbol >= m_count) {
            std::uint16_t mask = static_cast<std::uint16_t>(1u << (15 - m_tableBits));
            do {
                symbol = (buffer & mask) ? m_right[symbol] : m_left[symbol];
                mask >>= 1;
            } while (symbol >= m_count && mask);
            if (symbol >= m_count)
                RaiseDecodeErrorText(kBadHuffmanCode);
        }
        bits.FillBits(m_lengths[symbol]);
        return symbol;
    }

private:
    int m_tableBits;
    int m_count = 0;
    std::vector<std::uint16_t> m_table;
    std::vector<std::uint16_t> m_left;
    std::vector<std::uint16_t> m_right;
    std::vector<std::uint8_t> m_lengths;
};

void HuffmanTable::Build(int count)
{
    m_count = count;
    std::array<std::uint32_t, 17> lengthCount{};
    for (int i = 0; i < count; ++i) {
        if (m_lengths[i] > 16)
            RaiseDecodeErrorText(kBadHuffmanCode);
        ++lengthCount[m_lengths[i]];
    }
    // Canonical codes as 16-bit left-aligned values; a complete code fills
    // exactly the whole 16-bit range.
    std::array<std::uint32_t, 18> start{};
    for (int len = 1; len <= 16; ++len)
        start[len + 1] = start[len] + (lengthCount[len] << (16 - len));
    if (start[17] != 0x10000)
        RaiseDecodeErrorText(kBadHuffmanCode);

    const int treeBits = 16 - m_tableBits;
    int nextNode = count;
    std::fill(m_table.begin(), m_table.end(), 0);
    std::fill(m_left.begin(), m_left.end(), 0);
    std::fill(m_right.begin(), m_right.end(), 0);
    for (int symbol = 0; symbol < count; ++symbol) {
        const int len = m_lengths[symbol];
        if (len == 0)
            continue;
        const std::uint32_t code = start[len];
        start[len] += 1u << (16 - len);
        if (len <= m_tableBits) {
            const std::uint32_t first = code >> treeBits;
            const std::uint32_t span = 1u << (m_tableBits - len);
            std::fill_n(m_table.begin() + first, span, static_cast<std::uint16_t>(symbol));
            continue;
        }
        std::uint16_t* slot = &m_table[code >> treeBits];
        for (int bit = 15 - m_tableBits; bit > 15 - len; --bit) {
            if (*slot < count) {
                // Slots below Count are free: no leaf lies on a longer code's path.
                if (nextNode >= 2 * count)
                    RaiseDecodeErrorText(kBadHuffmanCode);
                m_left[nextNode] = m_right[nextNode] = 0;
                *slot = static_cast<std::uint16_t>(nextNode++);
            }
            slot = (code >> bit) & 1 ? &m_right[*slot] : &m_left[*slot];
        }
        *slot = static_cast<std::uint16_t>(symbol);
    }
}

class Decoder {
public:
    Decoder(BufferedReader& input, ByteSink& output, const LzhParams& params)
        : m_bits(input), m_output(output), m_positionBits(params.positionBits),
          m_posCodes(params.dictionaryBits + 1), m_chars(kCharCodes, kCharTableBits),
          m_positions(kMaxPosCodes, kPosTableBits), m_window(kWindowSize + 1)
    {
        if (m_posCodes > kMaxPosCodes || m_positionBits < 1 || m_positionBits > 5)
            RaiseDecodeErrorText(kBadHuffmanCode);
    }

    void Run(std::uint32_t unpackedSize);

private:
    void ReadBlockHeader();
    void ReadShortLengths(int maxCount, int countBits, int specialIndex);
    void ReadCharLengths();
    int DecodePosition();
    void Put(std::uint8_t byte)
    {
        m_window[m_pos++] = byte;
        if (m_pos == kWindowSize)
            Flush();
    }
    void Flush()
    {
        m_output.Write(m_window.data(), m_pos);
        m_pos = 0;
    }

    BitInput m_bits;
    ByteSink& m_output;
    int m_positionBits;
    int m_posCodes;
    HuffmanTable m_chars;
    HuffmanTable m_positions;  // also the temporary code while a header is read
    std::vector<std::uint8_t> m_window;
    int m_pos = 0;
    std::uint32_t m_blockLeft = 0;
};

// The temporary and position code lengths: 3 bits each, 7 extended by 1 bits.
void Decoder::ReadShortLengths(int maxCount, int countBits, int specialIndex)
{
    const int n = static_cast<int>(m_bits.GetBits(countBits));
    if (n == 0) {
        const int symbol = static_cast<int>(m_bits.GetBits(countBits));
        if (symbol >= maxCount)
            RaiseDecodeErrorText(kBadHuffmanCode);
        m_positions.SetSingle(maxCount, symbol);
        return;
    }
    if (n > maxCount)
        RaiseDecodeErrorText(kBadHuffmanCode);
    std::uint8_t* lengths = m_positions.Lengths();
    int i = 0;
    while (i < n) {
        int len = m_bits.Peek() >> 13;
        if (len == 7) {
            std::uint16_t mask = 1u << 12;
            while (mask && (m_bits.Peek() & mask)) {
                mask >>= 1;
                ++len;
            }
            if (len > 16)
                RaiseDecodeErrorText(kBadHuffmanCode);
        }
        m_bits.FillBits(len < 7 ? 3 : len - 3);
        lengths[i++] = static_cast<std::uint8_t>(len);
        if (i == specialIndex) {
            int zeros = static_cast<int>(m_bits.GetBits(2));
            while (zeros-- > 0 && i < maxCount)
                lengths[i++] = 0;
        }
    }
    std::fill(lengths + i, lengths + maxCount, 0);
    m_positions.Build(maxCount);
}

void Decoder::ReadCharLengths()
{
    const int n = static_cast<int>(m_bits.GetBits(9));
    if (n == 0) {
        const int symbol = static_cast<int>(m_bits.GetBits(9));
        if (symbol >= kCharCodes)
            RaiseDecodeErrorText(kBadHuffmanCode);
        m_chars.SetSingle(kCharCodes, symbol);
        return;
    }
    if (n > kCharCodes)
        RaiseDecodeErrorText(kBadHuffmanCode);
    std::uint8_t* lengths = m_chars.Lengths();
    int i = 0;
    while (i < n) {
        int c = m_positions.Decode(m_bits);
        if (c > 2) {
            lengths[i++] = static_cast<std::uint8_t>(c - 2);
            continue;
        }
        int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(m_bits.GetBits(4)) + 3
                                        : static_cast<int>(m_bits.GetBits(9)) + 20;
        if (zeros > n - i)
            RaiseDecodeErrorText(kBadHuffmanCode);
        while (zeros-- > 0)
            lengths[i++] = 0;
    }
    std::fill(lengths + i, lengths + kCharCodes, 0);
    m_chars.Build(kCharCodes);
}

void Decoder::ReadBlockHeader()
{
    m_blockLeft = m_bits.GetBits(16);
    ReadShortLengths(kTempCodes, 5, 3);
    ReadCharLengths();
    ReadShortLengths(m_posCodes, m_positionBits, -1);
}

int Decoder::DecodePosition()
{
    const int code = m_positions.Decode(m_bits);
    if (code < 2)
        return code;
    return static_cast<int>((1u << (code - 1)) + m_bits.GetBits(code - 1));
}

void Decoder::Run(std::uint32_t unpackedSize)
{
    std::uint32_t left = unpackedSize;
    while (left > 0) {
        if (m_blockLeft == 0)
            ReadBlockHeader();
        // A block size of 0 stands for 65536 codes, as the count wraps.
        --m_blockLeft;
        m_blockLeft &= 0xFFFF;
        const int c = m_chars.Decode(m_bits);
        if (c < 256) {
            Put(static_cast<std::uint8_t>(c));
            --left;
            continue;
        }
        std::uint32_t length = std::min<std::uint32_t>(c - 253, left);
        int from = m_pos - DecodePosition() - 1;
        while (from < 0)
            from += kWindowSize;
        left -= length;
        while (length--) {
            Put(m_window[from]);
            if (++from == kWindowSize)
                from = 0;
        }
    }
    Flush();
}

}  // namespace

void LzhDecode(BufferedReader& input, ByteSink& output, const LzhParams& params,
               std::uint32_t unpackedSize)
{
    auto decoder = std::make_unique<Decoder>(input, output, params);
    decoder->Run(unpackedSize);
}

}  // namespace velmora::arc
