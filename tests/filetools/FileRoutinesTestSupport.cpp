#include "FileRoutinesTestSupport.h"

#include <algorithm>
#include <fstream>
#include <iterator>

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

}  // namespace velmora::test
