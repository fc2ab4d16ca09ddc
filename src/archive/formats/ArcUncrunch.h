#pragma once
// The LZW methods of ARC: the old crunch with fixed 12-bit codes and a hashed
// string table (methods 5 to 7), and the newer one with codes growing from 9
// bits and a clear code (method 8 up to 12 bits, method 9 up to 13).

#include "archive/formats/ArcUnpack.h"

namespace velmora::arc {

enum class OldCrunchHash { Original, Newer };

// Method 5 and 6 use the original hash, method 7 the newer one; whether the
// output is run-length coded is ArcOutput's business.
void ArcUncrunchOld(BufferedReader& input, ArcOutput& out, OldCrunchHash hash);

// MaxBits 12 (method 8, whose data begins with that number: another raises
// "Incorrect number of bits", 25113) or 13 (method 9, no such byte). A string
// longer than the table raises "Stack overflow" (25193).
void ArcUncrunch(BufferedReader& input, ArcOutput& out, int maxBits, bool widthByte);

}  // namespace velmora::arc
