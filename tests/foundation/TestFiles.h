#pragma once
// Temporary folders and files for the foundation's tests, and a file type
// registered for the time of one test.

#include <windows.h>

#include <string>

#include "platform/rtl/FileSystem.h"

namespace velmora::test {

// A fresh folder below the temporary folder, removed with everything in it.
class TTempFolder {
public:
    explicit TTempFolder(const std::wstring& name);
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    // With a trailing "\".
    const std::wstring& Path() const { return m_path; }
    std::wstring MakeFile(const std::wstring& name, size_t bytes = 0) const;

private:
    std::wstring m_path;
};

void RemoveTree(const std::wstring& folder);

// The extension Ext (without dot) with the type name TypeName in the classes root;
// with a PrintCommand ("... %1"), the type has the shell verb "print".
class TRegisteredFileType {
public:
    TRegisteredFileType(const std::wstring& Ext, const std::wstring& TypeName, const std::wstring& PrintCommand = L"");
    ~TRegisteredFileType();
    TRegisteredFileType(const TRegisteredFileType&) = delete;
    TRegisteredFileType& operator=(const TRegisteredFileType&) = delete;

private:
    std::wstring m_ext, m_class;
};

}  // namespace velmora::test
