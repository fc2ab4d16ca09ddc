#pragma once
// Bit readers over the buffered packed data. BitInput is the 16-bit bit buffer
// of the LHA family (most significant bit first); LsbBitInput serves the old
// ZIP methods, which pack their codes from the least significant bit up.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

class BitInput {
public:
    // Primes the bit buffer with the first 16 bits.
    explicit BitInput(BufferedReader& reader);

    // The 16-bit bit buffer: the next 16 bits of input, first bit on top.
    std::uint16_t Peek() const { return static_cast<std::uint16_t>(m_bits >> 16); }
    // Drops N (0..16) bits and shifts as many new ones in.
    void FillBits(int n)
    {
        m_bits <<= n;
        m_count -= n;
        while (m_count <= 24) {
            m_bits |= static_cast<std::uint32_t>(m_reader.ReadByte()) << (24 - m_count);
            m_count += 8;
        }
    }
    // The top N (0..16) bits of the buffer, then FillBits(N).
    std::uint32_t GetBits(int n)
    {
        const std::uint32_t value = n ? m_bits >> (32 - n) : 0;
        FillBits(n);
        return value;
    }

    BufferedReader& Reader() { return m_reader; }

private:
    BufferedReader& m_reader;
    std::uint32_t m_bits = 0;  // valid bits from the top down
    int m_count = 0;           // how many; at least 16 between calls
};

class LsbBitInput {
public:
    explicit LsbBitInput(BufferedReader& reader) : m_reader(reader) {}

    // The next N (0..24) bits, the first one read in bit 0.
    std::uint32_t GetBits(int n)
    {
        while (m_count < n) {
            m_bits |= static_cast<std::uint32_t>(m_reader.ReadByte()) << m_count;
            m_count += 8;
        }
        const std::uint32_t value = m_bits & ((1u << n) - 1);
        m_bits >>= n;
        m_count -= n;
        return value;
    }
    std::uint32_t GetBit() { return GetBits(1); }

    BufferedReader& Reader() { return m_reader; }

private:
    BufferedReader& m_reader;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

}  // namespace velmora::arc
