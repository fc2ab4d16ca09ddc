#include "TestFiles.h"

#include <shlobj.h>

#include "platform/rtl/Registry.h"

namespace velmora::test {

TTempFolder::TTempFolder(const std::wstring& name)
    : m_path(TempDirectory() + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"\\") {
    RemoveTree(m_path);
    ForceDirectories(m_path);
}

TTempFolder::~TTempFolder() { RemoveTree(m_path); }

std::wstring TTempFolder::MakeFile(const std::wstring& name, size_t bytes) const {
    const std::wstring path = m_path + name;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        std::string data(bytes, 'x');
        DWORD written = 0;
        if (bytes)
            WriteFile(h, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
        CloseHandle(h);
    }
    return path;
}

void RemoveTree(const std::wstring& folder) {
    std::wstring dir = folder;
    if (!dir.empty() && dir.back() == L'\\')
        dir.pop_back();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring full = dir + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(dir.c_str());
}

TRegisteredFileType::TRegisteredFileType(const std::wstring& Ext, const std::wstring& TypeName,
                                         const std::wstring& PrintCommand)
    : m_ext(L"." + Ext), m_class(L"VelmoraTest." + Ext) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (reg.OpenKey(m_ext, true))
        reg.WriteString(L"", m_class);
    reg.CloseKey();
    if (reg.OpenKey(m_class, true))
        reg.WriteString(L"", TypeName);
    reg.CloseKey();
    if (!PrintCommand.empty() && reg.OpenKey(m_class + L"\\shell\\print\\command", true))
        reg.WriteString(L"", PrintCommand);
    reg.CloseKey();
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

TRegisteredFileType::~TRegisteredFileType() {
    DeleteRegistryTree(HKEY_CLASSES_ROOT, m_ext);
    DeleteRegistryTree(HKEY_CLASSES_ROOT, m_class);
}

}  // namespace velmora::test
