#pragma once
// What the archive routines need around the RAR library's calls: ANSI names
// both ways and a handle that closes itself.

#include <windows.h>

#include <cstring>
#include <string>

#include "platform/rarlib/RarLib.h"

namespace velmora::archive {

inline std::wstring FromAnsi(const char* text, std::size_t length) {
    if (length == 0) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), n);
    return wide;
}

// A zero-terminated text in a buffer of BufferSize bytes.
inline std::wstring FromAnsiBuffer(const char* text, std::size_t bufferSize) {
    return FromAnsi(text, strnlen(text, bufferSize));
}

// The RAR library opens names of the ANSI code page: a name it cannot hold goes
// by its short form.
inline std::string AnsiPath(const std::wstring& path) {
    auto convert = [](const std::wstring& p, BOOL& lossy) {
        lossy = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, nullptr, 0, nullptr, &lossy);
        std::string s(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        if (n > 0) WideCharToMultiByte(CP_ACP, 0, p.c_str(), -1, s.data(), n, nullptr, &lossy);
        s.resize(std::strlen(s.c_str()));
        return s;
    };
    BOOL lossy = FALSE;
    std::string ansi = convert(path, lossy);
    if (lossy) {
        wchar_t shortName[MAX_PATH];
        const DWORD n = GetShortPathNameW(path.c_str(), shortName, MAX_PATH);
        if (n > 0 && n < MAX_PATH) ansi = convert(shortName, lossy);
    }
    return ansi;
}

struct RarCloser {
    void operator()(void* handle) const { RARCloseArchive(handle); }
};

}  // namespace velmora::archive
