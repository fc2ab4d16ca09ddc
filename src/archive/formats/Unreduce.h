#pragma once
// ZIP methods 2 to 5 (reduced with compression factors 1 to 4): follower
// sets and a DLE-escaped match code over an 8 KiB window.

#include <cstdint>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Factor is method − 1 (1 to 4). A follower set longer than 32 or an index
// outside its set raises "25109".
void Unreduce(BufferedReader& input, ByteSink& output, int factor, std::uint32_t unpackedSize);

}  // namespace velmora::arc
