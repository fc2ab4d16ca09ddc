// packrec: records one start of an outside packer. The log (PACKREC_LOG, UTF-8,
// appended) gets one block per run:
//   run <program file name>      cmd <command line>    arg <each argv word>
//   dir <current folder>         show <wShowWindow, -1 when not given>
//   list <line>                  for each line of a list file named by an
//                                "@" or "!" word (ANSI text, as packers read it)
//   end <exit code>
// On request: PACKREC_SLEEP (milliseconds) waits first; PACKREC_WRITE, entries
// separated by "|", each "path" (written with "done") or "path<source" (a copy of
// source with its time), relative to the current folder; PACKREC_EXIT is the exit code.
#include <windows.h>

#include <shellapi.h>

#include "../PackToolText.h"

#include <string>
#include <vector>

using namespace packtool;

namespace {

std::wstring FromAnsi(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::wstring Unquoted(std::wstring word) {
    if (word.size() >= 2 && word.front() == L'"' && word.back() == L'"') word = word.substr(1, word.size() - 2);
    return word;
}

void LogList(std::wstring& log, const std::wstring& name) {
    std::string data;
    if (!ReadWhole(Unquoted(name), data)) {
        log += L"list? " + name + L"\n";
        return;
    }
    for (const auto& line : Lines(FromAnsi(data))) log += L"list " + line + L"\n";
}

void DoWrites(const std::wstring& writes) {
    size_t start = 0;
    while (start < writes.size()) {
        size_t end = writes.find(L'|', start);
        if (end == std::wstring::npos) end = writes.size();
        const std::wstring item = writes.substr(start, end - start);
        const size_t lt = item.find(L'<');
        // A copy keeps its source's time, as an unpacker gives a file its entry's.
        if (lt != std::wstring::npos)
            CopyFileW(item.substr(lt + 1).c_str(), item.substr(0, lt).c_str(), FALSE);
        else if (!item.empty())
            WriteWhole(item, "done");
        start = end + 1;
    }
}

}  // namespace

int wmain() {
    const std::wstring exitText = Env(L"PACKREC_EXIT");
    const int exitCode = exitText.empty() ? 0 : _wtoi(exitText.c_str());

    std::wstring log;
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring self = argc > 0 ? argv[0] : L"";
    const size_t slash = self.find_last_of(L"\\/");
    if (slash != std::wstring::npos) self.erase(0, slash + 1);
    CharLowerW(self.data());
    log += L"run " + self + L"\n";
    log += L"cmd " + std::wstring(GetCommandLineW()) + L"\n";
    for (int i = 1; i < argc; ++i) log += L"arg " + std::wstring(argv[i]) + L"\n";
    wchar_t dir[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, dir);
    log += L"dir " + std::wstring(dir) + L"\n";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    GetStartupInfoW(&si);
    log += L"show " + std::to_wstring((si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1) + L"\n";
    for (int i = 1; i < argc; ++i)
        if ((argv[i][0] == L'@' || argv[i][0] == L'!') && argv[i][1] != 0) LogList(log, argv[i] + 1);
    LocalFree(argv);

    const std::wstring sleepText = Env(L"PACKREC_SLEEP");
    if (!sleepText.empty()) Sleep(static_cast<DWORD>(_wtoi(sleepText.c_str())));
    DoWrites(Env(L"PACKREC_WRITE"));
    log += L"end " + std::to_wstring(exitCode) + L"\n";

    AppendUtf8(Env(L"PACKREC_LOG"), log);
    return exitCode;
}
