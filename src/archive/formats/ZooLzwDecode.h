#pragma once
// ZOO method 1: LZW with codes from 9 to 13 bits read as one continuous
// stream (lowest bit first), 256 clearing the table and 257 ending the data.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Decodes until the end code or UnpackedSize bytes. A code beyond the table
// raises "Invalid code incountered" (25111), a string longer than the table
// "Stack overflow" (25193), data that ends early 25134.
void ZooLzwDecode(BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

}  // namespace velmora::arc
