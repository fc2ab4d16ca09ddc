#include "Brkapart.h"

namespace velmora {

void TBrkApart::Split() {
    StringList.Clear();
    std::wstring rest = BaseString;
    for (;;) {
        size_t p = BreakString.empty() ? std::wstring::npos : rest.find(BreakString);
        std::wstring piece = p == std::wstring::npos ? rest : rest.substr(0, p);
        if (!piece.empty() || AllowEmptyString) StringList.Add(piece);
        if (p == std::wstring::npos) return;
        rest.erase(0, p + BreakString.size());
    }
}

}  // namespace velmora
