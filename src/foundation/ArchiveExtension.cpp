#include "ArchiveExtension.h"

#include "platform/rtl/Strings.h"

namespace velmora {

bool IsArchiveExtension(std::wstring_view Ext) {
    if (!Ext.empty() && Ext.front() == L'.')
        Ext.remove_prefix(1);
    const std::wstring lower = AsciiLower(Ext);
    for (const wchar_t* known : {L"zip", L"arj", L"lzh", L"ice", L"rar", L"arc", L"pak", L"zoo"})
        if (lower == known)
            return true;
    return false;
}

}  // namespace velmora
