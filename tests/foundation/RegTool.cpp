#include "RegTool.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace velmora::test {

namespace {

std::wstring Env(const wchar_t* name) {
    wchar_t buffer[4096];
    DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
    return n > 0 && n < 4096 ? std::wstring(buffer, n) : std::wstring();
}

std::wstring WithoutTrailingSlash(std::wstring s) {
    while (s.size() > 1 && s.back() == L'/') s.pop_back();
    return s;
}

}  // namespace

void RequireBuildPrefix() {
    const std::wstring wine = WithoutTrailingSlash(Env(L"WINEPREFIX"));
    const std::wstring build = WithoutTrailingSlash(Env(L"VELMORA_WINEPREFIX"));
    if (wine.empty() || build.empty() || wine != build) {
        fprintf(stderr, "refusing to touch the classes root: WINEPREFIX is not the build's VELMORA_WINEPREFIX\n");
        std::exit(2);
    }
}

TRegToolResult RunRegTool(const std::wstring& Arguments) {
    TRegToolResult result;
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring line = L"reg.exe " + Arguments;
    BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &si, &pi);
    CloseHandle(writeEnd);
    if (started) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof(chunk), &got, nullptr) && got > 0) result.Output.append(chunk, got);
        WaitForSingleObject(pi.hProcess, 60000);
        DWORD code = ~0u;
        GetExitCodeProcess(pi.hProcess, &code);
        result.ExitCode = code;
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    return result;
}

void SetClassesDefault(const std::wstring& Key, const std::wstring& Value) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, Key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                   static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
}

namespace {

std::wstring Folder(UINT (*get)(LPWSTR, UINT)) {
    wchar_t buffer[MAX_PATH + 1];
    UINT n = get(buffer, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

std::wstring SystemFolder() { return Folder(+[](LPWSTR b, UINT n) { return GetSystemDirectoryW(b, n); }); }
std::wstring WindowsFolder() { return Folder(+[](LPWSTR b, UINT n) { return GetWindowsDirectoryW(b, n); }); }

bool RegKeyExists(const std::wstring& FullKey) { return RunRegTool(L"query \"" + FullKey + L"\"").ExitCode == 0; }

bool ClassesKeyExists(const std::wstring& Key) { return RegKeyExists(L"HKCR\\" + Key); }

std::string ClassesDefault(const std::wstring& Key) {
    TRegToolResult r = RunRegTool(L"query \"HKCR\\" + Key + L"\" /ve");
    if (r.ExitCode != 0) return "<missing>";
    size_t pos = 0;
    while (pos < r.Output.size()) {
        size_t end = r.Output.find('\n', pos);
        std::string line = r.Output.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? r.Output.size() : end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        size_t type = line.find("REG_SZ");
        if (type == std::string::npos) continue;
        size_t value = line.find_first_not_of(' ', type + 6);
        return value == std::string::npos ? std::string() : line.substr(value);
    }
    return "<missing>";
}

}  // namespace velmora::test
