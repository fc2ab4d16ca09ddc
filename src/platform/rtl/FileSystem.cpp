#include "FileSystem.h"

#include <windows.h>

#include "PathNames.h"

namespace velmora {

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& path) {
    std::wstring dir = ExcludeTrailingBackslash(path);
    if (dir.empty()) return false;
    if (DirectoryExists(dir) || (dir.size() == 2 && dir[1] == L':')) return true;
    std::wstring parent = ExtractFileDir(dir);
    if (!parent.empty() && parent != dir && !ForceDirectories(parent)) return false;
    return CreateDirectoryW(dir.c_str(), nullptr) || DirectoryExists(dir);
}

std::wstring ShortPathName(const std::wstring& path) {
    DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring out(n, L'\0');
    n = GetShortPathNameW(path.c_str(), out.data(), n);
    if (n == 0 || n >= out.size()) return {};
    out.resize(n);
    return out;
}

std::wstring LongPathName(const std::wstring& path) {
    DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring out(n, L'\0');
    n = GetLongPathNameW(path.c_str(), out.data(), n);
    if (n == 0 || n >= out.size()) return {};
    out.resize(n);
    return out;
}

std::wstring FullPathName(const std::wstring& path) {
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring out(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, out.data(), nullptr);
    if (n == 0 || n >= out.size()) return path;
    out.resize(n);
    return out;
}

std::wstring TempDirectory() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return L"C:\\";
    return IncludeTrailingBackslash(std::wstring(buffer, n));
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> args;
    size_t i = 0;
    for (;;) {
        while (i < line.size() && line[i] <= L' ') ++i;
        if (i >= line.size()) break;
        std::wstring arg;
        while (i < line.size() && line[i] > L' ') {
            if (line[i] == L'"') {
                ++i;
                while (i < line.size() && line[i] != L'"') arg.push_back(line[i++]);
                if (i < line.size()) ++i;
            } else {
                arg.push_back(line[i++]);
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::wstring ParamStr(int index) {
    if (index == 0) {
        std::wstring buffer(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
            if (n < buffer.size()) {
                buffer.resize(n);
                return buffer;
            }
            buffer.resize(buffer.size() * 2);
        }
    }
    auto args = SplitCommandLine(GetCommandLineW());
    if (index < 0 || static_cast<size_t>(index) >= args.size()) return {};
    return args[static_cast<size_t>(index)];
}

int ParamCount() {
    auto args = SplitCommandLine(GetCommandLineW());
    return args.empty() ? 0 : static_cast<int>(args.size()) - 1;
}

}  // namespace velmora
