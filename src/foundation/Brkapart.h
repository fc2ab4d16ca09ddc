#pragma once
// TBrkApart: splits a text at every occurrence of a separator.

#include <string>

#include "platform/rtl/StringList.h"

namespace velmora {

class TBrkApart {
public:
    std::wstring BreakString;
    std::wstring BaseString;
    bool AllowEmptyString = false;
    TStringList StringList;

    // Clears StringList and fills it with the pieces of BaseString.
    void Split();
};

}  // namespace velmora
