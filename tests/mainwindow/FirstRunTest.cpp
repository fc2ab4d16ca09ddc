#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "foundation/DefaultUserStore.h"
#include "foundation/ShellLink.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

namespace {

const wchar_t* const kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";

// The build's Velmora.exe, reached through Wine's drive for the Unix root.
std::wstring VelmoraExe() {
    std::wstring path = L"Z:" + FromUtf8(VELMORA_EXE);
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

struct Process {
    PROCESS_INFORMATION pi{};
    explicit Process(const std::wstring& arguments) {
        std::wstring line = L"\"" + VelmoraExe() + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    }
    ~Process() {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 99);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }
    DWORD Wait(DWORD ms) {
        if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return 0xFFFFFFFF;
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }
};

std::wstring UninstallValue(const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"-";
    wchar_t data[512] = {};
    DWORD size = sizeof data, type = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::wstring(data) : L"-";
}

std::wstring ProgramsMenu() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, 0, path);
    return IncludeTrailingBackslash(path) + L"Velmora\\";
}

struct WindowSearch {
    DWORD pid;
    HWND main = nullptr;
    int visibleSplashes = 0;
    int visibleWindows = 0;
};

BOOL CALLBACK FindWindows(HWND h, LPARAM l) {
    auto* s = reinterpret_cast<WindowSearch*>(l);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !IsWindowVisible(h)) return TRUE;
    ++s->visibleWindows;
    wchar_t title[64] = {};
    GetWindowTextW(h, title, 64);
    RECT r;
    GetClientRect(h, &r);
    if (r.right == 412 && r.bottom == 112) ++s->visibleSplashes;
    else if (std::wstring(title) == L"Velmora -") s->main = h;
    return TRUE;
}

// Starts Velmora with Arguments, waits for its main window and closes it.
void StartsNormally(const std::wstring& arguments) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstall);
    Process velmora(arguments);
    WindowSearch search{velmora.pi.dwProcessId};
    for (int i = 0; i < 200 && !search.main; ++i) {
        Sleep(50);
        search.visibleSplashes = 0;
        EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&search));
    }
    ASSERT_NE(search.main, nullptr) << "no main window for: " << ToUtf8(arguments);
    // The splash goes once the main window stands, before the message loop runs.
    for (int i = 0; i < 200 && search.visibleSplashes > 0; ++i) {
        Sleep(50);
        search.visibleSplashes = 0;
        EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&search));
    }
    EXPECT_EQ(search.visibleSplashes, 0);
    PostMessageW(search.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(velmora.Wait(10000), 0u);
    EXPECT_EQ(UninstallValue(L"DisplayName"), L"-") << ToUtf8(arguments);
}

TEST(FirstRun, WritesTheUninstallEntryAndBothShortcutsAndEndsWithoutAWindow) {
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kUninstall);
    {
        // An older entry is overwritten.
        TRegistry old(KEY_ALL_ACCESS);
        old.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(old.OpenKey(kUninstall, true));
        old.WriteString(L"DisplayName", L"Velmora 0.9");
    }
    for (int run = 0; run < 2; ++run) {  // the second run overwrites and keeps the folder
        Process velmora(L"/ALLERALLERERSTERAUFRUF");
        // Watched until it ends: it never shows a window.
        WindowSearch search{velmora.pi.dwProcessId};
        for (int i = 0; i < 1500 && velmora.Wait(20) == 0xFFFFFFFF; ++i) {
            EnumWindows(FindWindows, reinterpret_cast<LPARAM>(&search));
            EXPECT_EQ(search.visibleWindows, 0);
        }
        EXPECT_EQ(velmora.Wait(0), 0u);
    }
    EXPECT_EQ(UninstallValue(L"DisplayName"), L"Velmora - BETA");
    EXPECT_EQ(UninstallValue(L"UninstallString"), L"Velmora_Uninst.exe");
    std::wstring folder = ExtractFilePath(VelmoraExe());
    EXPECT_EQ(RegReadUserValue(ProgrammSchluessel, L"Pfad"), folder);

    std::wstring menu = ProgramsMenu();
    ASSERT_TRUE(FileExists(menu + L"Velmora.lnk"));
    ASSERT_TRUE(FileExists(menu + L"Velmora - Hilfedatei.lnk"));
    CoInitialize(nullptr);
    std::wstring target;
    ReadShellLink(menu + L"Velmora.lnk", target);
    EXPECT_TRUE(SameTextAscii(LongPathName(target).empty() ? target : LongPathName(target), VelmoraExe()))
        << ToUtf8(target);
    ReadShellLink(menu + L"Velmora - Hilfedatei.lnk", target);
    EXPECT_TRUE(EndsWith(AsciiLower(target), L"velmora.hlp")) << ToUtf8(target);
    CoUninitialize();

    // The prefix has no menu builder: nothing reaches the user's own desktop menus.
    wchar_t home[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HOME", home, MAX_PATH)) {
        std::wstring unixMenu = L"Z:" + std::wstring(home) + L"/.local/share/applications/wine/Programs/Velmora";
        for (auto& c : unixMenu)
            if (c == L'/') c = L'\\';
        EXPECT_FALSE(DirectoryExists(unixMenu));
    }
}

TEST(FirstRun, OtherLetterCaseOrASecondArgumentStartsNormally) {
    StartsNormally(L"/allerallererster­aufruf");
    StartsNormally(L"/ALLERALLERERSTERAUFRUF zweites");
    StartsNormally(L"");
}

}  // namespace
