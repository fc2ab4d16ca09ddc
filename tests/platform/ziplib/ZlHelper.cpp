// zlhelper: what the archive safety script needs from inside Wine.
//   zlhelper short PATH            prints the short (8.3) form of PATH
//   zlhelper attrib PATH +h +s     sets the hidden / system attributes
//   zlhelper attrs PATH            prints "hidden system readonly" flags as 0/1
//   zlhelper lock FILE PROGRAM ARGS...
//                                  holds FILE open without sharing while
//                                  PROGRAM runs (as another program would),
//                                  and exits with PROGRAM's exit code

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string Utf8(const std::wstring& w)
{
    std::string out(WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

std::wstring Quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring q = L"\"";
    for (wchar_t c : arg) {
        if (c == L'"') q += L'\\';
        q += c;
    }
    return q + L"\"";
}

int Lock(int argc, wchar_t** argv)
{
    HANDLE held = CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot hold %s: error %lu\n", Utf8(argv[2]).c_str(), GetLastError());
        return 3;
    }
    std::wstring command;
    for (int i = 3; i < argc; ++i) command += (i > 3 ? L" " : L"") + Quoted(argv[i]);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
        CloseHandle(held);
        return 3;
    }
    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 3;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(held);
    return static_cast<int>(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fputs("zlhelper short|attrib|attrs|lock PATH ...\n", stderr);
        return 2;
    }
    const std::wstring op = argv[1];
    if (op == L"short") {
        wchar_t buffer[MAX_PATH * 2];
        const DWORD n = GetShortPathNameW(argv[2], buffer, MAX_PATH * 2);
        if (n == 0 || n >= MAX_PATH * 2) return 1;
        std::printf("%s\n", Utf8(buffer).c_str());
        return 0;
    }
    if (op == L"attrib") {
        DWORD a = GetFileAttributesW(argv[2]);
        if (a == INVALID_FILE_ATTRIBUTES) return 1;
        for (int i = 3; i < argc; ++i) {
            if (!std::wcscmp(argv[i], L"+h")) a |= FILE_ATTRIBUTE_HIDDEN;
            if (!std::wcscmp(argv[i], L"+s")) a |= FILE_ATTRIBUTE_SYSTEM;
        }
        return SetFileAttributesW(argv[2], a) ? 0 : 1;
    }
    if (op == L"attrs") {
        const DWORD a = GetFileAttributesW(argv[2]);
        if (a == INVALID_FILE_ATTRIBUTES) return 1;
        std::printf("hidden=%d system=%d readonly=%d\n", !!(a & FILE_ATTRIBUTE_HIDDEN), !!(a & FILE_ATTRIBUTE_SYSTEM),
                    !!(a & FILE_ATTRIBUTE_READONLY));
        return 0;
    }
    if (op == L"lock" && argc >= 4) return Lock(argc, argv);
    std::fputs("unknown operation\n", stderr);
    return 2;
}
