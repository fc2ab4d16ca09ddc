#include "MinimizeName.h"

namespace velmora::gui {

namespace {

// Drops the first folder of a folder part, marking the gap with "...": "\a\b\"
// gives "\...\b\", "\...\b\" gives "\...\", and "...\" gives ''.
void CutFirstFolder(std::wstring& folders) {
    const bool rooted = !folders.empty() && folders.front() == L'\\';
    std::wstring rest = rooted ? folders.substr(1) : folders;
    if (rest == L"...\\") {
        rest.clear();
    } else {
        if (rest.compare(0, 4, L"...\\") == 0)
            rest.erase(0, 4);
        const size_t slash = rest.find(L'\\');
        rest = slash == std::wstring::npos ? std::wstring() : L"...\\" + rest.substr(slash + 1);
    }
    folders = rooted ? L"\\" + rest : rest;
}

}  // namespace

std::wstring MinimizeName(const std::wstring& FileName, TCanvas& Canvas, int MaxLen) {
    const size_t slash = FileName.rfind(L'\\');
    std::wstring folders = slash == std::wstring::npos ? std::wstring() : FileName.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? FileName : FileName.substr(slash + 1);
    std::wstring drive;
    if (folders.size() >= 2 && folders[1] == L':') {
        drive = folders.substr(0, 2);
        folders.erase(0, 2);
    }
    std::wstring result = FileName;
    while ((!folders.empty() || !drive.empty()) && Canvas.TextWidth(result) > MaxLen) {
        if (folders == L"\\...\\") {
            drive.clear();
            folders = L"...\\";
        } else if (folders.empty()) {
            drive.clear();
        } else {
            CutFirstFolder(folders);
        }
        result = drive + folders + name;
    }
    return result;
}

}  // namespace velmora::gui
