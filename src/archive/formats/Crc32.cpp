#include "archive/formats/Crc32.h"

#include <bit>
#include <cstring>

namespace velmora::arc {
namespace {

static_assert(std::endian::native == std::endian::little, "the sixteen-byte step reads words as little-endian");

constexpr std::array<std::uint16_t, 256> MakeCrc16Table()
{
    std::array<std::uint16_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xA001u ^ (c >> 1) : c >> 1;
        t[i] = static_cast<std::uint16_t>(c);
    }
    return t;
}

constexpr auto kCrc16 = MakeCrc16Table();

inline std::uint32_t Load32(const std::uint8_t* p)
{
    std::uint32_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

}  // namespace

void UpdateCrc32(const void* buffer, std::size_t count, std::uint32_t& crc)
{
    const auto& t = kCrc32Tables;
    auto p = static_cast<const std::uint8_t*>(buffer);
    std::uint32_t c = crc;
    for (; count > 0 && (reinterpret_cast<std::uintptr_t>(p) & 3) != 0; --count)
        c = Crc32Byte(c, *p++);
    // Sixteen bytes per step: the four of the CRC's own word and twelve
    // more, each through the table that shifts it by its distance from the
    // end.
    for (; count >= 16; count -= 16, p += 16) {
        const std::uint32_t a = Load32(p) ^ c;
        const std::uint32_t b = Load32(p + 4);
        const std::uint32_t d = Load32(p + 8);
        const std::uint32_t e = Load32(p + 12);
        c = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
            t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
            t[7][d & 0xFF] ^ t[6][(d >> 8) & 0xFF] ^ t[5][(d >> 16) & 0xFF] ^ t[4][d >> 24] ^
            t[3][e & 0xFF] ^ t[2][(e >> 8) & 0xFF] ^ t[1][(e >> 16) & 0xFF] ^ t[0][e >> 24];
    }
    for (; count > 0; --count)
        c = Crc32Byte(c, *p++);
    crc = c;
}

void UpdateCrc16(const void* buffer, std::size_t count, std::uint16_t& crc)
{
    auto p = static_cast<const std::uint8_t*>(buffer);
    std::uint16_t c = crc;
    for (std::size_t i = 0; i < count; ++i)
        c = static_cast<std::uint16_t>(kCrc16[(c ^ p[i]) & 0xFF] ^ (c >> 8));
    crc = c;
}

}  // namespace velmora::arc
