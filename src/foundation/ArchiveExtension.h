#pragma once
// The file extensions that Velmora opens as archives. The icon routines and the
// archive routines both ask here, so the two never disagree.

#include <string_view>

namespace velmora {

// Ext with or without its leading dot, in any case: "zip", "arj", "lzh", "ice",
// "rar", "arc", "pak" or "zoo".
bool IsArchiveExtension(std::wstring_view Ext);

}  // namespace velmora
