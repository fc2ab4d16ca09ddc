#pragma once
// The recording packer for tests: installs packrec under the names a test
// declares, points its log into a fresh folder and reads back every run.

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../../foundation/TestFiles.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

namespace packrectest {

inline std::wstring WinePath(const char* unixPath) {
    std::wstring p = L"Z:" + velmora::FromUtf8(unixPath);
    std::replace(p.begin(), p.end(), L'/', L'\\');
    return p;
}

inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline std::string ReadAll(const std::wstring& path) {
    std::string data;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(h);
    return data;
}

// Writes Text as the whole file, making its folder first; false when it could not.
inline bool WriteFileText(const std::wstring& path, const std::string& text) {
    velmora::ForceDirectories(path.substr(0, path.find_last_of(L'\\') + 1));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) && put == text.size();
    CloseHandle(h);
    return ok;
}

struct TRun {
    std::wstring Program, Cmd, Dir;
    std::vector<std::wstring> Args, List;
    int Show = -1;
};

class TPackRec {
public:
    explicit TPackRec(const std::wstring& name = L"packrec") : Folder(name) {
        velmora::ForceDirectories(Bin());
        SetEnvironmentVariableW(L"PACKREC_LOG", Log().c_str());
        SetEnvironmentVariableW(L"PACKREC_SLEEP", nullptr);
        SetEnvironmentVariableW(L"PACKREC_WRITE", nullptr);
        SetEnvironmentVariableW(L"PACKREC_EXIT", nullptr);
    }
    ~TPackRec() {
        for (const wchar_t* v : {L"PACKREC_LOG", L"PACKREC_SLEEP", L"PACKREC_WRITE", L"PACKREC_EXIT"})
            SetEnvironmentVariableW(v, nullptr);
        SetCurrentDirectoryW(L"C:\\");
    }

    // The folder of the installed packers: its name holds a blank on purpose.
    std::wstring Bin() const { return Folder.Path() + L"Packer Ordner\\"; }
    std::wstring Log() const { return Folder.Path() + L"packrec.log"; }
    std::wstring Install(const std::wstring& name) const {
        const std::wstring path = Bin() + name;
        CopyFileW(WinePath(VELMORA_PACKREC_EXE).c_str(), path.c_str(), FALSE);
        return path;
    }

    std::vector<TRun> Runs() const {
        std::vector<TRun> runs;
        const std::wstring text = velmora::FromUtf8(ReadAll(Log()));
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(L'\n', start);
            if (end == std::wstring::npos) end = text.size();
            const std::wstring line = text.substr(start, end - start);
            start = end + 1;
            const size_t blank = line.find(L' ');
            const std::wstring key = line.substr(0, blank);
            const std::wstring value = blank == std::wstring::npos ? L"" : line.substr(blank + 1);
            if (key == L"run") {
                runs.emplace_back();
                runs.back().Program = value;
            }
            if (runs.empty()) continue;
            TRun& run = runs.back();
            if (key == L"cmd") run.Cmd = value;
            if (key == L"arg") run.Args.push_back(value);
            if (key == L"dir") run.Dir = value;
            if (key == L"show") run.Show = _wtoi(value.c_str());
            if (key == L"list") run.List.push_back(value);
        }
        return runs;
    }

    velmora::test::TTempFolder Folder;
};

}  // namespace packrectest
