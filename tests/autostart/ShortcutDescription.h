#pragma once
// The description of a shortcut file as the shell's shortcut object reads it:
// the autostart tests check what the shell sees, not what our own routine reads.

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

inline std::wstring LinkDescription(const std::wstring& linkFile) {
    IShellLinkW* link = nullptr;
    std::wstring result;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t text[MAX_PATH] = {};
        if (SUCCEEDED(file->Load(linkFile.c_str(), STGM_READ)) && SUCCEEDED(link->GetDescription(text, MAX_PATH)))
            result = text;
        file->Release();
    }
    link->Release();
    return result;
}
