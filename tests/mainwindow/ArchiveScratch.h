#pragma once
// Archive fixtures for the window tests over the stand-in zip library: the
// fixture files by their Wine path, and a temporary folder of a test's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::test {

inline std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

inline std::wstring Fixture(const char* relative) {
    return WinePath(std::string(VELMORA_SOURCE_DIR "/tests/data/archive/") + relative);
}

// Files of a test's own in a folder of the temporary folder, gone at the end.
class TScratchFiles {
public:
    explicit TScratchFiles(const std::wstring& prefix) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + prefix + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
    }
    ~TScratchFiles() {
        for (const std::wstring& file : m_files)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(m_folder.c_str());
    }
    TScratchFiles(const TScratchFiles&) = delete;
    TScratchFiles& operator=(const TScratchFiles&) = delete;

    std::wstring Copy(const char* fixture, const std::wstring& name) {
        const std::wstring target = m_folder + name;
        EXPECT_TRUE(CopyFileW(Fixture(fixture).c_str(), target.c_str(), FALSE));
        m_files.push_back(target);
        return target;
    }
    std::wstring Write(const std::string& data, const std::wstring& name) {
        const std::wstring target = m_folder + name;
        HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(h);
        m_files.push_back(target);
        return target;
    }
    const std::wstring& Folder() const { return m_folder; }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
};

}  // namespace velmora::test
