#include "archive/formats/Unreduce.h"

#include <algorithm>
#include <array>

#include "archive/formats/BitInput.h"

namespace velmora::arc {
namespace {

constexpr int kBadBlock = 25109;
constexpr std::uint8_t kDle = 144;

struct FollowerSets {
    std::array<std::array<std::uint8_t, 32>, 256> followers{};
    std::array<std::uint8_t, 256> count{};
};

// Bits of an index into a set of N followers.
int IndexBits(int n)
{
    int bits = 1;
    while ((1 << bits) < n)
        ++bits;
    return bits;
}

void ReadFollowerSets(LsbBitInput& bits, FollowerSets& sets)
{
    for (int c = 255; c >= 0; --c) {
        const int n = static_cast<int>(bits.GetBits(6));
        if (n > 32)
            RaiseDecodeError(kBadBlock);
        sets.count[c] = static_cast<std::uint8_t>(n);
        for (int i = 0; i < n; ++i)
            sets.followers[c][i] = static_cast<std::uint8_t>(bits.GetBits(8));
    }
}

}  // namespace

void Unreduce(BufferedReader& input, ByteSink& output, int factor, std::uint32_t unpackedSize)
{
    static constexpr std::uint8_t kLengthMask[5] = {0, 0x7F, 0x3F, 0x1F, 0x0F};
    LsbBitInput bits(input);
    FollowerSets sets;
    ReadFollowerSets(bits, sets);
    WindowWriter window(output);

    std::uint8_t last = 0;
    auto nextByte = [&] {
        const int n = sets.count[last];
        if (n == 0 || bits.GetBit())
            last = static_cast<std::uint8_t>(bits.GetBits(8));
        else {
            const std::uint32_t index = bits.GetBits(IndexBits(n));
            if (index >= static_cast<std::uint32_t>(n))
                RaiseDecodeError(kBadBlock);
            last = sets.followers[last][index];
        }
        return last;
    };

    window.Decode([&] {
        while (window.Total() < unpackedSize) {
            const std::uint8_t c = nextByte();
            if (c != kDle) {
                window.Put(c);
                continue;
            }
            const std::uint8_t v = nextByte();
            if (v == 0) {
                window.Put(kDle);
                continue;
            }
            std::uint32_t length = v & kLengthMask[factor];
            if (length == kLengthMask[factor])
                length += nextByte();
            length += 3;
            const std::uint32_t distance = (static_cast<std::uint32_t>(v >> (8 - factor)) << 8) + nextByte() + 1;
            window.Copy(distance, std::min(length, unpackedSize - window.Total()));
        }
    });
}

}  // namespace velmora::arc
