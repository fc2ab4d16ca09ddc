#pragma once
// Input for the benchmark: mixed data, and plain encoders for the old ZIP
// methods (they need only produce valid streams, not small ones).

#include <cstdint>
#include <vector>

#include "archive/formats/BufferedReader.h"

namespace bench {

using Bytes = std::vector<std::uint8_t>;

Bytes MixedData(std::size_t size, unsigned seed);

struct Method {
    const char* name;
    Bytes (*encode)(const Bytes& plain);
    void (*decode)(velmora::arc::BufferedReader&, velmora::arc::ByteSink&, std::uint32_t size);
};

std::vector<Method> OldMethods();

}  // namespace bench
