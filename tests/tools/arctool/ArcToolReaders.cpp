#include "ArcToolReaders.h"

#include "archive/formats/UnARC.h"
#include "archive/formats/UnARJ.h"
#include "archive/formats/UnLHA.h"
#include "archive/formats/UnZIP.h"
#include "archive/formats/UnZoo.h"

using namespace velmora::arc;

namespace arctool {

std::unique_ptr<TUnBase> MakeExtractor(const std::wstring& archive)
{
    TZipCommon probe;
    try {
        probe.SetArchiveFile(archive);
    } catch (const E_RAISE&) {
        return std::make_unique<TUnZIP>();
    }
    switch (probe.ArcType()) {
    case TArcType::ARJ:
    case TArcType::ArjExe: return std::make_unique<TUnARJ>();
    case TArcType::LHA:
    case TArcType::LZH: return std::make_unique<TUnLHA>();
    case TArcType::ARC:
    case TArcType::ArcExe:
    case TArcType::PAK:
    case TArcType::PakExe: return std::make_unique<TUnARC>();
    case TArcType::ZOO: return std::make_unique<TUnZOO>();
    default: return std::make_unique<TUnZIP>();
    }
}

}  // namespace arctool
