#include "ShellOpen.h"

#include <windows.h>
#include <shellapi.h>

namespace velmora {

long long ShellOpen(const std::wstring& file, const std::wstring& parameters) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // The autostarter reports a failure itself, naming the entry.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
    return reinterpret_cast<INT_PTR>(info.hInstApp);
}

}  // namespace velmora
