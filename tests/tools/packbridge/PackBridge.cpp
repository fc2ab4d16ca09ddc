// packbridge: stands in for an outside DOS packer by running the host's packer
// of its own name ("arj.exe" runs arj) with the words as they came. Drive paths
// in the words and in list files become host paths, every other "\" a "/".
// The host program runs as /bin/sh -c "cd ... && timeout 60 PACKER ... </dev/null",
// which writes its status into a marker file outside the archive's folder: a
// host process started from here gives no handle to wait on, so the marker is
// the only sign of its end. Exits with that status.
// PACKBRIDGE_LOG (appended, UTF-8): "sh <command>" and "status <n>" per run.
// PACKBRIDGE_OUT: a file that gets the packer's output.
#include <windows.h>

#include <shellapi.h>

#include "../PackToolText.h"

#include <string>
#include <vector>

using namespace packtool;

namespace {

using UnixName = char*(CDECL*)(LPCWSTR);

std::wstring Wide(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

UnixName g_unixName = nullptr;

std::wstring HostPath(const std::wstring& dosPath) {
    char* name = g_unixName ? g_unixName(dosPath.c_str()) : nullptr;
    if (!name) return dosPath;
    std::wstring result = Wide(name, CP_UTF8);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// A drive path anywhere in the word ("-wC:\tmp\", "!C:\x\l.tmp") becomes a host
// path; every other "\" a "/".
std::wstring HostWord(const std::wstring& word) {
    for (size_t i = 0; i + 2 < word.size(); ++i) {
        if (!iswalpha(word[i]) || word[i + 1] != L':' || word[i + 2] != L'\\') continue;
        std::wstring host = HostPath(word.substr(i));
        // A folder keeps its trailing separator.
        if (word.back() == L'\\' && (host.empty() || host.back() != L'/')) host += L'/';
        std::wstring head = word.substr(0, i);
        for (auto& c : head)
            if (c == L'\\') c = L'/';
        return head + host;
    }
    std::wstring out = word;
    for (auto& c : out)
        if (c == L'\\') c = L'/';
    return out;
}

void AppendLog(const std::wstring& text) { AppendUtf8(Env(L"PACKBRIDGE_LOG"), text); }

// A list file's lines made host names, written beside the marker; the word
// then names that copy.
std::wstring HostList(const std::wstring& list, const std::wstring& copy) {
    std::string data;
    if (!ReadWhole(list, data)) return list;
    std::string out;
    for (const auto& line : Lines(Wide(data, CP_ACP)))
        if (!line.empty()) out += Utf8(HostWord(line)) + "\n";
    WriteWhole(copy, out);
    return copy;
}

std::wstring ShellQuoted(const std::wstring& word) {
    std::wstring out = L"'";
    for (wchar_t c : word) out += c == L'\'' ? std::wstring(L"'\\''") : std::wstring(1, c);
    return out + L"'";
}

}  // namespace

int wmain() {
    g_unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!g_unixName) return 255;

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring self = argc > 0 ? argv[0] : L"";
    const size_t slash = self.find_last_of(L"\\/");
    if (slash != std::wstring::npos) self.erase(0, slash + 1);
    CharLowerW(self.data());
    if (self.size() > 4 && self.compare(self.size() - 4, 4, L".exe") == 0) self.resize(self.size() - 4);

    // The marker and the list copies live in the host's temporary folder, never
    // in the archive's folder the packer works in; a short host path, as some
    // packers refuse long arguments.
    std::wstring folder = L"Z:\\tmp\\";
    const DWORD tmp = GetFileAttributesW(folder.c_str());
    if (tmp == INVALID_FILE_ATTRIBUTES || !(tmp & FILE_ATTRIBUTE_DIRECTORY)) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = temp;
    }
    const std::wstring stem = folder + L"pb" + std::to_wstring(GetCurrentProcessId());
    const std::wstring marker = stem + L".status";
    DeleteFileW(marker.c_str());

    std::wstring command = L"timeout 60 " + self;
    std::vector<std::wstring> copies;
    for (int i = 1; i < argc; ++i) {
        std::wstring word = argv[i];
        if ((word[0] == L'!' || word[0] == L'@') && GetFileAttributesW(word.c_str() + 1) != INVALID_FILE_ATTRIBUTES &&
            !(GetFileAttributesW(word.c_str() + 1) & FILE_ATTRIBUTE_DIRECTORY)) {
            // One dot only: a DOS-minded packer cuts the name at a second one.
            const std::wstring copy = stem + L"l" + std::to_wstring(i) + L".lst";
            copies.push_back(copy);
            word = word.substr(0, 1) + HostPath(HostList(word.substr(1), copy));
        } else {
            word = HostWord(word);
        }
        command += L" " + ShellQuoted(word);
    }
    LocalFree(argv);
    wchar_t dir[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, dir);
    const std::wstring out = Env(L"PACKBRIDGE_OUT");
    const std::wstring hostMarker = HostPath(marker);
    std::wstring script = L"cd " + ShellQuoted(HostPath(dir)) + L" && " + command + L" </dev/null" +
                          (out.empty() ? L" >/dev/null 2>&1" : L" >" + ShellQuoted(HostPath(out)) + L" 2>&1") +
                          L"; echo $? >" + ShellQuoted(hostMarker + L".tmp") + L" && mv " +
                          ShellQuoted(hostMarker + L".tmp") + L" " + ShellQuoted(hostMarker);
    AppendLog(L"sh " + script + L"\n");

    // Windows argument quoting: the script holds no double quote, and a
    // backslash before one would be the only escape.
    std::wstring line = L"Z:\\bin\\sh -c \"" + script + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        AppendLog(L"status start failed " + std::to_wstring(GetLastError()) + L"\n");
        return 254;
    }
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);

    // At most 90 s: the packer itself is cut off after 60.
    int status = 253;
    for (int waited = 0; waited < 90000; waited += 20) {
        std::string data;
        if (ReadWhole(marker, data)) {
            status = atoi(data.c_str());
            break;
        }
        Sleep(20);
    }
    DeleteFileW(marker.c_str());
    for (const auto& copy : copies) DeleteFileW(copy.c_str());
    AppendLog(L"status " + std::to_wstring(status) + L"\n");
    return status;
}
