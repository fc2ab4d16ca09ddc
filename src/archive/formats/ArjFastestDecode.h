#pragma once
// ARJ method 4 ("fastest"): LZ77 over a 26624-byte window with lengths and
// distances in a simple unary-prefixed code, no Huffman tables.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Decodes UnpackedSize bytes. Packed data that ends early raises 25134.
void ArjFastestDecode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

}  // namespace velmora::arc
