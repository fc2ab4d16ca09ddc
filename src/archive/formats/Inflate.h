#pragma once
// Deflate (ZIP method 8) with a 32 KiB window. Table-driven: most codes decode
// in one lookup, the packed data is read in blocks and the output is written
// in large pieces, so that no byte goes through a per-byte call.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Decodes the deflate stream in Input into Output until its last block.
// Raises "25109" for a bad block (block type 3, a stored length that does not
// match its complement, an undefined code, a distance before the start, data
// that runs out inside a block or before the final block's end code, or
// output beyond UnpackedSize) and "25116" for a code set that cannot be
// built. Never writes more than UnpackedSize bytes, and never reads a byte
// beyond the packed data.
void Inflate(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

// The decoding loop has a second build for processors with the BMI2
// instructions, chosen at start; tests run each of them.
namespace inflatedetail {
enum class Loop { Best, Plain, Bmi2 };
bool Bmi2Available();
// Bmi2 only where Bmi2Available(). Not for use while a decoding runs.
void UseLoop(Loop loop);
}  // namespace inflatedetail

}  // namespace velmora::arc
