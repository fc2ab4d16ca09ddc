#pragma once
// ZIP method 6 (imploded): Shannon-Fano trees for literals, lengths and
// distances over a 4 KiB or 8 KiB sliding window.

#include <cstdint>
#include <functional>
#include <string>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

// Shows a warning to the user (the library's message box).
using WarningHook = std::function<void(const std::wstring& text)>;

// Flags are the entry's general purpose flags: bit 1 an 8 KiB window, bit 2
// a literal tree. A tree that cannot be decoded raises "25109"; an ambiguous
// one first shows "Ambiguous Shannon-Fano decode tree encountered!".
void Explode(BufferedReader& input, ByteSink& output, std::uint16_t flags, std::uint32_t unpackedSize,
             const WarningHook& warn);

}  // namespace velmora::arc
