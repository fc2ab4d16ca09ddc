#pragma once
// TRegistry: one open registry key at a time, as the class library's registry class.
// Paths are "\"-separated; a path beginning with "\" starts at the root, any other
// path is relative to the current key. The leading "\" never reaches the system
// (Wine refuses it with error 161).

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "StringList.h"

namespace velmora {

enum class TRegDataType { Unknown, String, ExpandString, Integer, Binary };

class TRegistry {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    TRegistry(TRegistry&& other) noexcept;

    HKEY RootKey() const { return m_root; }
    void SetRootKey(HKEY root);
    HKEY CurrentKey() const { return m_current; }
    // The current key's path below the root, without a leading "\".
    const std::wstring& CurrentPath() const { return m_currentPath; }

    bool OpenKey(const std::wstring& path, bool canCreate);
    bool OpenKeyReadOnly(const std::wstring& path);
    void CloseKey();
    bool KeyExists(const std::wstring& path);

    bool ValueExists(const std::wstring& name) const;
    TRegDataType GetDataType(const std::wstring& name) const;
    // Size in bytes of the value's data, or -1 when it does not exist.
    int GetDataSize(const std::wstring& name) const;

    // Raise ERegistryException when the value has another type or cannot be written.
    std::wstring ReadString(const std::wstring& name) const;
    std::int32_t ReadInteger(const std::wstring& name) const;
    std::vector<std::uint8_t> ReadBinaryData(const std::wstring& name) const;
    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteExpandString(const std::wstring& name, const std::wstring& value);
    void WriteInteger(const std::wstring& name, std::int32_t value);
    void WriteBool(const std::wstring& name, bool value);
    void WriteFloat(const std::wstring& name, double value);
    void WriteDate(const std::wstring& name, double value) { WriteFloat(name, value); }
    void WriteCurrency(const std::wstring& name, std::int64_t value10000);
    void WriteBinaryData(const std::wstring& name, const void* data, size_t size);

    void GetKeyNames(TStringList& list) const;
    void GetValueNames(TStringList& list) const;
    // Deletes a subkey of the current key (or an absolute path) with everything below it.
    bool DeleteKey(const std::wstring& path);
    bool DeleteValue(const std::wstring& name);
    // Keeps the data and its type; false when the old value is missing.
    bool RenameValue(const std::wstring& oldName, const std::wstring& newName);

private:
    HKEY BaseFor(const std::wstring& path, std::wstring& relative) const;
    void WriteRaw(const std::wstring& name, DWORD type, const void* data, DWORD size);

    HKEY m_root = HKEY_CURRENT_USER;
    HKEY m_current = nullptr;
    std::wstring m_currentPath;
    REGSAM m_access;
};

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// Strips leading "\" characters from a path handed to the registry API.
std::wstring StripLeadingBackslashes(const std::wstring& path);
// Deletes Sub below Parent and everything below it; true when it is gone afterwards.
bool DeleteRegistryTree(HKEY parent, const std::wstring& sub);

}  // namespace velmora
