#include "SysIcons.h"

#include <shellapi.h>

namespace velmora {

HIMAGELIST LargeSystemImageList() {
    SHFILEINFOW info{};
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_LARGEICON));
}

int GetSysIconIndex(const std::wstring& file) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(file.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_LARGEICON)) return 0;
    return info.iIcon;
}

}  // namespace velmora
