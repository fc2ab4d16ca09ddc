#include "archive/formats/Crc32.h"

#include <bit>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#define VELMORA_CRC32_FOLD 1
#endif

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

#ifdef VELMORA_CRC32_FOLD

// The carry-less multiplication fold: the CRC register is a polynomial, and
// 128 bits of it move 512 (or 128) bits further along the message by a
// multiplication with x^n mod P. The constants are those residues, bit-reflected
// like the data and times x (the product of two reflected operands comes out
// one bit short):
//   k1, k2: x^(512+32), x^(512-32)   four registers, 64 bytes per step
//   k3, k4: x^(128+32), x^(128-32)   one register, 16 bytes per step
//   k5:     x^64                     128 bits down to 64
// and for the final Barrett reduction to 32 bits, mu = x^64 div P and P itself.
// 32-bit Windows keeps the stack only four-byte aligned; SSE spills need 16.
#define VELMORA_FOLD_TARGET __attribute__((target("sse2,pclmul"), force_align_arg_pointer))
// The helpers are always inlined into the fold, so their vector results never
// cross a call of the plain i686 ABI.
#define VELMORA_FOLD_STEP __attribute__((target("sse2,pclmul"), always_inline)) inline
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

VELMORA_FOLD_STEP __m128i Fold(__m128i x, __m128i k, __m128i next)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

VELMORA_FOLD_STEP __m128i Load128(const std::uint8_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Count is at least 64 and a multiple of 16.
VELMORA_FOLD_TARGET std::uint32_t FoldCrc32(const std::uint8_t* p, std::size_t count, std::uint32_t crc)
{
    const __m128i k1k2 = _mm_set_epi64x(0x1C6E41596, 0x154442BD4);
    const __m128i k3k4 = _mm_set_epi64x(0x0CCAA009E, 0x1751997D0);
    const __m128i k5 = _mm_set_epi64x(0, 0x163CD6124);
    const __m128i muP = _mm_set_epi64x(0x1F7011641, 0x1DB710641);
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);

    __m128i x0 = _mm_xor_si128(Load128(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x1 = Load128(p + 16);
    __m128i x2 = Load128(p + 32);
    __m128i x3 = Load128(p + 48);
    for (p += 64, count -= 64; count >= 64; p += 64, count -= 64) {
        x0 = Fold(x0, k1k2, Load128(p));
        x1 = Fold(x1, k1k2, Load128(p + 16));
        x2 = Fold(x2, k1k2, Load128(p + 32));
        x3 = Fold(x3, k1k2, Load128(p + 48));
    }
    __m128i x = Fold(x0, k3k4, x1);
    x = Fold(x, k3k4, x2);
    x = Fold(x, k3k4, x3);
    for (; count >= 16; p += 16, count -= 16)
        x = Fold(x, k3k4, Load128(p));

    x = _mm_xor_si128(_mm_clmulepi64_si128(x, k3k4, 0x10), _mm_srli_si128(x, 8));
    x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k5, 0x00), _mm_srli_si128(x, 4));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), muP, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), muP, 0x00);
    x = _mm_xor_si128(x, t);
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x, 4)));
}

bool CpuCanFold()
{
    unsigned a, b, c, d;
    if (!__get_cpuid(1, &a, &b, &c, &d))
        return false;
    constexpr unsigned kPclmulEcx = 1u << 1;
    constexpr unsigned kSse2Edx = 1u << 26;
    return (c & kPclmulEcx) && (d & kSse2Edx);
}

#endif

const bool kCanFold =
#ifdef VELMORA_CRC32_FOLD
    CpuCanFold();
#else
    false;
#endif

// Below this the table steps are as quick as setting up the fold.
constexpr std::size_t kFoldMinimum = 128;

}  // namespace

namespace crc32detail {

void UpdateTables(const void* buffer, std::size_t count, std::uint32_t& crc)
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

bool FoldAvailable()
{
    return kCanFold;
}

void UpdateFolded(const void* buffer, std::size_t count, std::uint32_t& crc)
{
#ifdef VELMORA_CRC32_FOLD
    if (count >= 64) {
        const std::size_t whole = count & ~std::size_t(15);
        crc = FoldCrc32(static_cast<const std::uint8_t*>(buffer), whole, crc);
        buffer = static_cast<const std::uint8_t*>(buffer) + whole;
        count -= whole;
    }
#endif
    UpdateTables(buffer, count, crc);
}

}  // namespace crc32detail

void UpdateCrc32(const void* buffer, std::size_t count, std::uint32_t& crc)
{
    if (kCanFold && count >= kFoldMinimum)
        crc32detail::UpdateFolded(buffer, count, crc);
    else
        crc32detail::UpdateTables(buffer, count, crc);
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
