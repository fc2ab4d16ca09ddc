#pragma once
// ARC method 4: a Huffman tree stored in front of the data, bits taken from
// the lowest bit of each byte up, then run-length coding.

#include "archive/formats/ArcUnpack.h"

namespace velmora::arc {

// A tree that points outside itself, or a path longer than the tree, raises
// "File contains invalid decode tree" (25118).
void ArcUnsqueeze(BufferedReader& input, ArcOutput& out);

}  // namespace velmora::arc
