#pragma once
// ZIP method 1 (shrunk): LZW with 9- to 13-bit codes and partial clearing.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Raises "25109" for a bad control code, "25111" for a code that cannot
// occur and "25193" for a string longer than the code table.
void Unshrink(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

}  // namespace velmora::arc
