#pragma once
// The static-Huffman LZSS decoder shared by the LHA (-lh4-, -lh5-), ARJ
// (methods 1 to 3) and ZOO (method 2) readers.
//
// Parameters per caller:
//   ARJ methods 1..3   dictionary bits 16, position bits 5
//   LHA -lh4-          dictionary bits 12, position bits 4
//   LHA -lh5-, ZOO 2   dictionary bits 13, position bits 4
// The decoded bytes go to the sink, which folds them into the caller's CRC.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

struct LzhParams {
    int dictionaryBits;
    int positionBits;
};

constexpr LzhParams kLzhArj{16, 5};
constexpr LzhParams kLzhLh4{12, 4};
constexpr LzhParams kLzhLh5{13, 4};

// Decodes exactly UnpackedSize bytes from Input into Output. Input that ends
// early reads as zero bits (the caller's CRC check then fails). A code table
// that is not a complete prefix code raises "Bad Huffman code" (25110).
void LzhDecode(BufferedReader& input, ByteSink& output, const LzhParams& params,
               std::uint32_t unpackedSize);

}  // namespace velmora::arc
