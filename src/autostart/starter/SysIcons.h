#pragma once
// The shell's large system image list, which the program shares with the shell
// and never destroys, and the icons of files in it.

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace velmora {

HIMAGELIST LargeSystemImageList();
// The index of File's icon in the large system image list (0 when the shell has none).
int GetSysIconIndex(const std::wstring& file);

}  // namespace velmora
