#include "OpenDialog.h"

#include <windows.h>
#include <commdlg.h>

#include <utility>
#include <vector>

#include "platform/rtl/PathNames.h"

#include "Application.h"
#include "Forms.h"

namespace velmora::gui {

std::wstring FilterToSystem(const std::wstring& filter) {
    std::wstring result = filter;
    for (auto& c : result)
        if (c == L'|') c = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

namespace {
TOpenDialogFunction g_openDialogFunction;
}  // namespace

TOpenDialogFunction SetOpenDialogFunction(TOpenDialogFunction function) {
    return std::exchange(g_openDialogFunction, std::move(function));
}

bool TOpenDialog::Execute() {
    if (g_openDialogFunction) return g_openDialogFunction(*this);
    std::vector<wchar_t> buffer(32768, L'\0');
    FileName.copy(buffer.data(), std::min(FileName.size(), buffer.size() - 2));
    std::wstring filter = FilterToSystem(Filter);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    TForm* active = Screen ? Screen->ActiveForm() : nullptr;
    ofn.hwndOwner = active && active->HandleAllocated() ? active->Handle() : nullptr;
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (AllowMultiSelect ? OFN_ALLOWMULTISELECT : 0) |
                (FileMustExist ? OFN_FILEMUSTEXIST : 0) | (PathMustExist ? OFN_PATHMUSTEXIST : 0);
    if (!GetOpenFileNameW(&ofn)) return false;
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    Files.Clear();
    std::wstring first(buffer.data());
    const wchar_t* next = buffer.data() + first.size() + 1;
    if (AllowMultiSelect && *next) {
        // A folder, then the names in it.
        for (; *next; next += wcslen(next) + 1) Files.Add(IncludeTrailingBackslash(first) + next);
    } else {
        Files.Add(first);
    }
    FileName = Files[0];
    return true;
}

}  // namespace velmora::gui
