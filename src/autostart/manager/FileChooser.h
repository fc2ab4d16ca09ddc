#pragma once
// The entry dialog's open-file dialog: one existing file in an existing folder.

#include <windows.h>

#include <string>

namespace velmora {

class TFileChooser {
public:
    std::wstring Title;
    // Pairs of "description|masks" joined by "|", as the class library writes them.
    std::wstring Filter;
    std::wstring FileName;
    // True with FileName set when the user chose a file.
    bool Execute(HWND owner);
};

}  // namespace velmora
