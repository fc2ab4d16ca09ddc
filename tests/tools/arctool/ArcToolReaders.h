#pragma once
// The extractor of arctool extract for an archive: the ARJ, LHA, ARC and ZOO
// readers for their formats, the ZIP extractor for everything else (which
// then reports the archive's own error).

#include <memory>
#include <string>

#include "archive/formats/ArcBase.h"

namespace arctool {

std::unique_ptr<velmora::arc::TUnBase> MakeExtractor(const std::wstring& archive);

}  // namespace arctool
