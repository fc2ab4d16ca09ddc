#include "Registry.h"

#include <cstring>

namespace velmora {

std::wstring StripLeadingBackslashes(const std::wstring& path) {
    size_t i = 0;
    while (i < path.size() && path[i] == L'\\') ++i;
    return path.substr(i);
}

bool DeleteRegistryTree(HKEY parent, const std::wstring& sub) {
    std::wstring path = StripLeadingBackslashes(sub);
    while (!path.empty() && path.back() == L'\\') path.pop_back();
    if (path.empty()) return false;
    HKEY key;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    // Collect first: deleting while enumerating shifts the indices.
    std::vector<std::wstring> children;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        children.emplace_back(name, len);
    }
    for (const auto& child : children) DeleteRegistryTree(key, child);
    RegCloseKey(key);
    return RegDeleteKeyW(parent, path.c_str()) == ERROR_SUCCESS;
}

TRegistry::TRegistry(REGSAM access) : m_access(access) {}

TRegistry::~TRegistry() { CloseKey(); }

TRegistry::TRegistry(TRegistry&& other) noexcept
    : m_root(other.m_root), m_current(other.m_current), m_currentPath(std::move(other.m_currentPath)),
      m_access(other.m_access) {
    other.m_current = nullptr;
}

void TRegistry::SetRootKey(HKEY root) {
    CloseKey();
    m_root = root;
}

void TRegistry::CloseKey() {
    if (m_current) RegCloseKey(m_current);
    m_current = nullptr;
    m_currentPath.clear();
}

HKEY TRegistry::BaseFor(const std::wstring& path, std::wstring& relative) const {
    bool absolute = !path.empty() && path[0] == L'\\';
    relative = StripLeadingBackslashes(path);
    while (!relative.empty() && relative.back() == L'\\') relative.pop_back();
    if (absolute || !m_current) return m_root;
    return m_current;
}

bool TRegistry::OpenKey(const std::wstring& path, bool canCreate) {
    std::wstring relative;
    HKEY base = BaseFor(path, relative);
    bool fromRoot = base == m_root;
    HKEY key = nullptr;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExW(base, relative.c_str(), 0, nullptr, 0, m_access, nullptr, &key, nullptr);
    else
        rc = RegOpenKeyExW(base, relative.c_str(), 0, m_access, &key);
    if (rc != ERROR_SUCCESS) return false;
    std::wstring newPath = fromRoot ? relative
                                    : (relative.empty() ? m_currentPath : m_currentPath + L"\\" + relative);
    CloseKey();
    m_current = key;
    m_currentPath = newPath;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const std::wstring& path) {
    REGSAM saved = m_access;
    m_access = KEY_READ;
    bool ok = OpenKey(path, false);
    m_access = saved;
    return ok;
}

bool TRegistry::KeyExists(const std::wstring& path) {
    std::wstring relative;
    HKEY base = BaseFor(path, relative);
    HKEY key;
    if (RegOpenKeyExW(base, relative.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool TRegistry::ValueExists(const std::wstring& name) const {
    return m_current && RegQueryValueExW(m_current, name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
                            ERROR_SUCCESS;
}

// A double word stored with any other size than four bytes is no integer that
// ReadInteger could read; it counts as a value of unknown type.
TRegDataType TRegistry::GetDataType(const std::wstring& name) const {
    DWORD type = 0, size = 0;
    if (!m_current ||
        RegQueryValueExW(m_current, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return TRegDataType::Unknown;
    switch (type) {
        case REG_SZ: return TRegDataType::String;
        case REG_EXPAND_SZ: return TRegDataType::ExpandString;
        case REG_DWORD: return size == sizeof(DWORD) ? TRegDataType::Integer : TRegDataType::Unknown;
        case REG_BINARY: return TRegDataType::Binary;
        default: return TRegDataType::Unknown;
    }
}

int TRegistry::GetDataSize(const std::wstring& name) const {
    DWORD size = 0;
    if (!m_current ||
        RegQueryValueExW(m_current, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return -1;
    return static_cast<int>(size);
}

std::wstring TRegistry::ReadString(const std::wstring& name) const {
    DWORD type = 0, size = 0;
    if (!m_current ||
        RegQueryValueExW(m_current, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException(L"Ungültiger Datentyp für '" + name + L"'");
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(m_current, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &bytes) != ERROR_SUCCESS)
        return {};
    buffer.resize(bytes / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    return buffer;
}

std::int32_t TRegistry::ReadInteger(const std::wstring& name) const {
    DWORD type = 0, value = 0, size = sizeof(value);
    if (!m_current || RegQueryValueExW(m_current, name.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        throw ERegistryException(L"Ungültiger Datentyp für '" + name + L"'");
    return static_cast<std::int32_t>(value);
}

std::vector<std::uint8_t> TRegistry::ReadBinaryData(const std::wstring& name) const {
    DWORD type = 0, size = 0;
    if (!m_current ||
        RegQueryValueExW(m_current, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<std::uint8_t> data(size);
    if (size && RegQueryValueExW(m_current, name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return {};
    data.resize(size);
    return data;
}

void TRegistry::WriteRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    if (!m_current ||
        RegSetValueExW(m_current, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException(L"Fehler beim Schreiben von '" + name + L"'");
}

void TRegistry::WriteString(const std::wstring& name, const std::wstring& value) {
    WriteRaw(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void TRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value) {
    WriteRaw(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void TRegistry::WriteInteger(const std::wstring& name, std::int32_t value) {
    DWORD v = static_cast<DWORD>(value);
    WriteRaw(name, REG_DWORD, &v, sizeof(v));
}

void TRegistry::WriteBool(const std::wstring& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteFloat(const std::wstring& name, double value) {
    WriteRaw(name, REG_BINARY, &value, sizeof(value));
}

void TRegistry::WriteCurrency(const std::wstring& name, std::int64_t value10000) {
    WriteRaw(name, REG_BINARY, &value10000, sizeof(value10000));
}

void TRegistry::WriteBinaryData(const std::wstring& name, const void* data, size_t size) {
    WriteRaw(name, REG_BINARY, data, static_cast<DWORD>(size));
}

void TRegistry::GetKeyNames(TStringList& list) const {
    list.Clear();
    if (!m_current) return;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD len = 256;
        if (RegEnumKeyExW(m_current, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        list.Add(std::wstring(name, len));
    }
}

void TRegistry::GetValueNames(TStringList& list) const {
    list.Clear();
    if (!m_current) return;
    std::vector<wchar_t> name(16384);
    for (DWORD i = 0;; ++i) {
        DWORD len = static_cast<DWORD>(name.size());
        if (RegEnumValueW(m_current, i, name.data(), &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        list.Add(std::wstring(name.data(), len));
    }
}

bool TRegistry::DeleteKey(const std::wstring& path) {
    std::wstring relative;
    HKEY base = BaseFor(path, relative);
    return DeleteRegistryTree(base, relative);
}

bool TRegistry::DeleteValue(const std::wstring& name) {
    return m_current && RegDeleteValueW(m_current, name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::RenameValue(const std::wstring& oldName, const std::wstring& newName) {
    if (!m_current) return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(m_current, oldName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<BYTE> data(size);
    if (RegQueryValueExW(m_current, oldName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return false;
    if (RegSetValueExW(m_current, newName.c_str(), 0, type, data.data(), size) != ERROR_SUCCESS) return false;
    if (oldName != newName) RegDeleteValueW(m_current, oldName.c_str());
    return true;
}

}  // namespace velmora
