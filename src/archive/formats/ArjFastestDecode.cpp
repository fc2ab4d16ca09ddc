#include "archive/formats/ArjFastestDecode.h"

#include <vector>

#include "archive/formats/BitInput.h"
#include "archive/formats/UnpackedOutput.h"

namespace velmora::arc {

namespace {

constexpr std::uint32_t kWindow = 26624;

// Up to (Stop - Start) one-bits select the width, each adding its power of
// two to the base; a zero bit ends the prefix early.
std::uint32_t ReadPrefixed(BitInput& bits, int start, int stop)
{
    std::uint32_t plus = 0;
    std::uint32_t power = 1u << start;
    int width = start;
    for (; width < stop; ++width) {
        if (bits.GetBits(1) == 0)
            break;
        plus += power;
        power <<= 1;
    }
    return plus + (width ? bits.GetBits(width) : 0);
}

}  // namespace

void ArjFastestDecode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    BitInput bits(input);
    UnpackedOutput out(output, unpackedSize);
    std::vector<std::uint8_t> window(kWindow);
    std::uint32_t pos = 0;
    while (!out.Full()) {
        CheckPackedInput(input);
        const std::uint32_t length = ReadPrefixed(bits, 0, 7);
        if (length == 0) {
            const auto byte = static_cast<std::uint8_t>(bits.GetBits(8));
            window[pos] = byte;
            pos = pos + 1 == kWindow ? 0 : pos + 1;
            out.Put(byte);
            continue;
        }
        const std::uint32_t distance = ReadPrefixed(bits, 9, 13);
        std::uint32_t from = (pos + 2 * kWindow - distance - 1) % kWindow;
        for (std::uint32_t n = length + 2; n && !out.Full(); --n) {
            const std::uint8_t byte = window[from];
            window[pos] = byte;
            from = from + 1 == kWindow ? 0 : from + 1;
            pos = pos + 1 == kWindow ? 0 : pos + 1;
            out.Put(byte);
        }
    }
    out.Flush();
}

}  // namespace velmora::arc
