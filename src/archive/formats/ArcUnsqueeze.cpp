#include "archive/formats/ArcUnsqueeze.h"

#include <vector>

#include "archive/formats/BitInput.h"

namespace velmora::arc {

namespace {

constexpr int kMaxNodes = 256;
constexpr int kEndOfData = 256;  // the leaf value that ends the data

std::int16_t ReadWord(BufferedReader& input)
{
    const int low = input.ReadByte();
    return static_cast<std::int16_t>(low | input.ReadByte() << 8);
}

}  // namespace

void ArcUnsqueeze(BufferedReader& input, ArcOutput& out)
{
    const int count = ReadWord(input);
    if (count < 0 || count > kMaxNodes)
        RaiseDecodeError(25118);
    std::vector<std::int16_t> children(2 * static_cast<std::size_t>(count));
    for (auto& child : children) {
        child = ReadWord(input);
        if (child >= count || child < -(kEndOfData + 1))
            RaiseDecodeError(25118);
    }
    if (count == 0)
        return;
    LsbBitInput bits(input);
    while (!out.Full()) {
        CheckPackedInput(input);
        int node = 0;
        // Each step goes one level down; more steps than nodes means a cycle.
        for (int depth = 0; node >= 0; ++depth) {
            if (depth > count)
                RaiseDecodeError(25118);
            node = children[2 * static_cast<std::size_t>(node) + bits.GetBit()];
        }
        const int value = -(node + 1);
        if (value == kEndOfData)
            return;
        out.Put(static_cast<std::uint8_t>(value));
    }
}

}  // namespace velmora::arc
