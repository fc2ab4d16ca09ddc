// A program for the autostarter to start in tests: it appends one line to the
// file named by its first argument, "gestartet" followed by any further
// arguments, so a test can see that, and with what, it ran. A waiting test is
// woken through the event kRecorderEvent when it exists.

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "StartRecorder.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) return 1;
    std::wstring line = L"gestartet";
    for (int i = 2; i < argc; ++i) line += L" " + std::wstring(argv[i]);
    line += L"\r\n";
    HANDLE log = CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (log == INVALID_HANDLE_VALUE) return 2;
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(log);
    LocalFree(argv);
    if (HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, kRecorderEvent)) {
        SetEvent(done);
        CloseHandle(done);
    }
    return 0;
}
