#pragma once
// LHA -lh1-: LZSS over a 4096-byte window with the characters and match
// lengths in an adaptive Huffman tree and the positions' upper six bits in a
// fixed code.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Decodes UnpackedSize bytes; packed data that ends early raises 25134.
void Lh1Decode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

}  // namespace velmora::arc
