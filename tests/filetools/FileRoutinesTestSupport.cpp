#include "FileRoutinesTestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/rtl/Strings.h"

namespace velmora::test {

std::vector<std::wstring> SplitShellList(const std::wstring& list) {
    std::vector<std::wstring> names;
    size_t start = 0;
    while (start < list.size() && list[start] != L'\0') {
        const size_t end = list.find(L'\0', start);
        names.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::string ReadAll(const std::wstring& path) {
    std::string data;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        data.append(buffer, got);
    CloseHandle(h);
    return data;
}

bool AllZero(const std::string& data) {
    return std::all_of(data.begin(), data.end(), [](char c) { return c == 0; });
}

TDateiListe Records(const std::vector<std::wstring>& names) {
    TDateiListe list;
    for (const std::wstring& name : names) {
        list.push_back(std::make_unique<TEineDatei>());
        list.back()->Name = name;
    }
    return list;
}

}  // namespace velmora::test

namespace velmora::test {

namespace {
std::wstring FixtureRoot() {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(L"VELMORA_FILETOOLS_FIXTURE", buffer, 1024);
    if (n == 0 || n >= 1024)
        return {};
    std::wstring path = L"Z:" + std::wstring(buffer);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path + L"\\";
}
}  // namespace

std::wstring FixtureFolder(const std::wstring& Side) {
    const std::wstring root = FixtureRoot();
    return root.empty() ? root : root + Side + L"\\";
}

std::wstring NoSmallDriveReason() {
    const std::wstring root = FixtureRoot();
    if (root.empty())
        return L"the fixture script did not run";
    const std::string text = ReadAll(root + L"no-small-drive.txt");
    return std::wstring(text.begin(), text.end());
}

namespace {
void ListInto(const std::wstring& Folder, const std::wstring& Relative, std::map<std::wstring, std::string>& Out) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Folder + Relative + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring relative = Relative + name;
        const std::wstring key = SystemLower(relative);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            Out[key] = "<link>";
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            Out[key] = "<dir>";
            ListInto(Folder, relative + L"\\", Out);
        } else {
            const std::string data = ReadAll(Folder + relative);
            std::uint32_t hash = 2166136261u;
            for (unsigned char c : data)
                hash = (hash ^ c) * 16777619u;
            Out[key] = std::to_string(data.size()) + ":" + std::to_string(hash);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}
}  // namespace

std::map<std::wstring, std::string> Listing(const std::wstring& Folder) {
    std::map<std::wstring, std::string> out;
    ListInto(Folder.empty() || Folder.back() == L'\\' ? Folder : Folder + L"\\", L"", out);
    return out;
}

bool WriteFileOf(const std::wstring& Path, size_t Bytes, char Fill) {
    return WriteFileBytes(Path, std::string(Bytes, Fill));
}

bool WriteFileBytes(const std::wstring& Path, const std::string& Bytes) {
    HANDLE h = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = Bytes.empty() || (WriteFile(h, Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr) &&
                                      written == Bytes.size());
    CloseHandle(h);
    return ok;
}

}  // namespace velmora::test
