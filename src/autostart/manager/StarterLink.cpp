#include "StarterLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "foundation/ShellLink.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

namespace {

// The folder's item identifier list, released with the shell's allocator.
class TShellItemList {
public:
    explicit TShellItemList(int folder) {
        if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &m_pidl))) m_pidl = nullptr;
    }
    ~TShellItemList() {
        IMalloc* malloc = nullptr;
        if (m_pidl && SUCCEEDED(SHGetMalloc(&malloc))) {
            malloc->Free(m_pidl);
            malloc->Release();
        }
    }
    TShellItemList(const TShellItemList&) = delete;
    TShellItemList& operator=(const TShellItemList&) = delete;
    LPITEMIDLIST Get() const { return m_pidl; }

private:
    LPITEMIDLIST m_pidl = nullptr;
};

void MakeStarterLink(const std::wstring& target, const std::wstring& link) {
    if (FAILED(CoInitialize(nullptr))) return;
    CreateShellLink(target, link, L"Autostarter");
    CoUninitialize();
}

}  // namespace

std::wstring StartupFolder() {
    TShellItemList pidl(CSIDL_STARTUP);
    wchar_t path[MAX_PATH] = {};
    if (!pidl.Get() || !SHGetPathFromIDListW(pidl.Get(), path) || path[0] == 0) return {};
    return IncludeTrailingBackslash(path);
}

void EnsureStarterLink(bool listEmpty, const std::wstring& ownFolder, const TConfirm& confirm) {
    if (listEmpty) return;
    std::wstring startup = StartupFolder();
    if (startup.empty() || FileExists(startup + kStarterLinkName)) return;
    if (!confirm(kStarterLinkQuestion)) return;
    std::wstring target = IncludeTrailingBackslash(ownFolder) + kStarterProgram;
    if (FileExists(target)) MakeStarterLink(target, startup + kStarterLinkName);
}

}  // namespace velmora
