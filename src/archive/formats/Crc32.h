#pragma once
// The reflected CRC-32 (0xEDB88320) of ZIP and ARJ, the CRC-16 (0xA001) of
// LHA, ARC and ZOO, and the tables behind them. Every CRC of the archive
// library comes from here: the running CRC of each reader's output, header
// checks and the key schedule of the ZIP encryption.

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora::arc {

// Sixteen tables: row 0 is the byte-wise table; row k gives the CRC of a byte
// followed by k zero bytes, so that sixteen bytes are folded in one step.
using Crc32Tables = std::array<std::array<std::uint32_t, 256>, 16>;

constexpr Crc32Tables MakeCrc32Tables()
{
    Crc32Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (std::size_t row = 1; row < t.size(); ++row)
        for (std::uint32_t i = 0; i < 256; ++i)
            t[row][i] = (t[row - 1][i] >> 8) ^ t[0][t[row - 1][i] & 0xFF];
    return t;
}

inline constexpr Crc32Tables kCrc32Tables = MakeCrc32Tables();

// One byte into a running CRC-32 (not inverted).
inline std::uint32_t Crc32Byte(std::uint32_t crc, std::uint8_t byte)
{
    return kCrc32Tables[0][(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// Start with 0xFFFFFFFF and invert the result. Declared in ArcShared.h too.
// Long buffers go through the carry-less multiplication fold where the
// processor has it (checked once at start), otherwise through the tables.
void UpdateCrc32(const void* buffer, std::size_t count, std::uint32_t& crc);
// The two ways of UpdateCrc32, each on its own, so that they can be checked
// against each other.
namespace crc32detail {
void UpdateTables(const void* buffer, std::size_t count, std::uint32_t& crc);
bool FoldAvailable();
// Only where FoldAvailable().
void UpdateFolded(const void* buffer, std::size_t count, std::uint32_t& crc);
}  // namespace crc32detail

void UpdateCrc16(const void* buffer, std::size_t count, std::uint16_t& crc);

}  // namespace velmora::arc
