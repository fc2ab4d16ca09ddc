#pragma once
// Shortens a file name to a width in a canvas's font, the way file names are
// shortened all over the class library: leading folders give way to "...".

#include <string>

#include "Canvas.h"

namespace velmora::gui {

// "c:\a\b\c\name.txt" becomes "c:\...\c\name.txt", then "c:\...\name.txt",
// then "...\name.txt", then the bare name, until it fits in MaxLen pixels;
// the name itself is never cut.
std::wstring MinimizeName(const std::wstring& FileName, TCanvas& Canvas, int MaxLen);

}  // namespace velmora::gui
