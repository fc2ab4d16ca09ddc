#include "FileChooser.h"

#include <commdlg.h>

#include <vector>

namespace velmora {

bool TFileChooser::Execute(HWND owner) {
    // The system wants the filter pieces separated and ended by NUL characters.
    std::wstring filter = Filter;
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    FileName.copy(file.data(), file.size() - 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = Title.c_str();
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&ofn)) return false;
    FileName = file.data();
    return true;
}

}  // namespace velmora
