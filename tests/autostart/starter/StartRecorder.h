#pragma once
// Shared by the recorder program and the tests that wait for it.

#include <windows.h>

#include <string>

inline constexpr const wchar_t* kRecorderEvent = L"Local\\VelmoraStartRecorderRan";

// The Windows form of a path of the build tree (Wine maps the host's root to Z:).
inline std::wstring HostPathToWindows(const char* hostPath) {
    std::wstring path = L"Z:";
    for (const char* p = hostPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}
