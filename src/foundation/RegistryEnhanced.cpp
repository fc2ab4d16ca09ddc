#include "RegistryEnhanced.h"

#include <vector>

#include "Fehlercode.h"

namespace velmora {

HKEY RootKeyHandle(TRootKey root) {
    switch (root) {
        case TRootKey::hkClassesRoot: return HKEY_CLASSES_ROOT;
        case TRootKey::hkCurrentConfig: return HKEY_CURRENT_CONFIG;
        case TRootKey::hkCurrentUser: return HKEY_CURRENT_USER;
        case TRootKey::hkDynData: return HKEY_DYN_DATA;
        case TRootKey::hkLocalMachine: return HKEY_LOCAL_MACHINE;
        case TRootKey::hkUsers: return HKEY_USERS;
    }
    return HKEY_CURRENT_USER;
}

namespace {

std::wstring TrimKey(std::wstring key) {
    if (!key.empty() && key.back() == L'\\') key.pop_back();
    if (key.size() > 1 && key.front() == L'\\') key.erase(0, 1);
    return key;
}

const REGSAM kWriteAccess = KEY_READ | KEY_WRITE;

}  // namespace

TRegistryEnhanced::TRegistryEnhanced() { m_splitter.BreakString = L"\\"; }

std::wstring TRegistryEnhanced::TrimmedKey() const { return TrimKey(Key); }

TRegistryEnhanced::NameParts TRegistryEnhanced::SplitName(const std::wstring& Name) {
    m_splitter.BaseString = Name;
    m_splitter.AllowEmptyString = false;
    m_splitter.Split();
    const TStringList& pieces = m_splitter.StringList;
    NameParts parts;
    if (pieces.Empty()) {
        parts.ValueName = Name;
        return parts;
    }
    for (int i = 0; i + 1 < pieces.Count(); ++i) parts.KeyPart += L"\\" + pieces[i];
    parts.ValueName = pieces[pieces.Count() - 1];
    return parts;
}

bool TRegistryEnhanced::Open(TRegistry& reg, const std::wstring& keyPart, bool create) {
    if (Key.empty()) return false;
    reg.SetRootKey(RootKeyHandle(RootKey));
    return reg.OpenKey(L"\\" + TrimmedKey() + keyPart, create);
}

void TRegistryEnhanced::WriteValue(const std::wstring& Name, const TRegVariant& Value) {
    if (Key.empty()) return;
    NameParts parts = SplitName(Name);
    TRegistry reg(kWriteAccess);
    if (!Open(reg, parts.KeyPart, true)) return;
    const std::wstring& v = parts.ValueName;
    if (auto* b = std::get_if<bool>(&Value)) reg.WriteBool(v, *b);
    else if (auto* s = std::get_if<std::wstring>(&Value)) reg.WriteString(v, *s);
    else if (auto* d = std::get_if<TRegDate>(&Value)) reg.WriteDate(v, d->Value);
    else if (auto* i = std::get_if<std::int32_t>(&Value)) reg.WriteInteger(v, *i);
    else if (auto* c = std::get_if<TRegCurrency>(&Value)) reg.WriteCurrency(v, c->Scaled);
}

void TRegistryEnhanced::ReadValue(const std::wstring& Name, TRegVariant& Value) {
    Value = std::monostate{};
    if (Key.empty()) return;
    NameParts parts = SplitName(Name);
    TRegistry reg(KEY_READ);
    if (!Open(reg, parts.KeyPart, false)) return;
    // A value of another type, or one changed by someone else between the two
    // look-ups, reads as nothing rather than failing the caller.
    try {
        switch (reg.GetDataType(parts.ValueName)) {
            case TRegDataType::String: Value = reg.ReadString(parts.ValueName); break;
            case TRegDataType::Integer: Value = reg.ReadInteger(parts.ValueName); break;
            default: break;
        }
    } catch (const ERegistryException&) {
        Value = std::monostate{};
    }
}

TStringList TRegistryEnhanced::ReadNumbered() {
    TStringList list;
    TRegistry reg(KEY_READ);
    if (!Open(reg, L"", false)) return list;
    for (int i = 0;; ++i) {
        const std::wstring name = std::to_wstring(i);
        std::wstring text;
        try {
            switch (reg.GetDataType(name)) {
                case TRegDataType::String: text = reg.ReadString(name); break;
                case TRegDataType::Integer: text = std::to_wstring(reg.ReadInteger(name)); break;
                default: break;
            }
        } catch (const ERegistryException&) {
            text.clear();
        }
        if (text.empty()) break;
        list.Add(text);
    }
    return list;
}

void TRegistryEnhanced::GetKeyNames(const std::wstring& SubKey, TStringList& List) {
    if (Key.empty()) return;
    TRegistry reg(KEY_READ);
    reg.SetRootKey(RootKeyHandle(RootKey));
    std::wstring path = L"\\" + TrimmedKey();
    if (!SubKey.empty()) path += L"\\" + TrimKey(SubKey);
    if (!reg.OpenKey(path, false)) return;
    reg.GetKeyNames(List);
}

void TRegistryEnhanced::DeleteKey(const std::wstring& Name) {
    if (Key.empty()) return;
    TRegistry reg(kWriteAccess);
    reg.SetRootKey(RootKeyHandle(RootKey));
    if (!reg.OpenKey(L"\\" + Key, false)) return;
    reg.DeleteKey(Name);
}

void TRegistryEnhanced::DeleteValue(const std::wstring& Name) {
    if (Key.empty()) return;
    NameParts parts = SplitName(Name);
    TRegistry reg(kWriteAccess);
    if (!Open(reg, parts.KeyPart, false)) return;
    reg.DeleteValue(parts.ValueName);
}

void TRegistryEnhanced::RenameValue(const std::wstring& OldName, const std::wstring& NewName) {
    if (Key.empty()) return;
    NameParts oldParts = SplitName(OldName);
    NameParts newParts = SplitName(NewName);
    TRegistry reg(kWriteAccess);
    if (!Open(reg, oldParts.KeyPart, false)) return;
    reg.RenameValue(oldParts.ValueName, newParts.ValueName);
}

TRegIniFile1::TRegIniFile1(HKEY root, const std::wstring& path) : m_reg(kWriteAccess), m_path(path) {
    m_reg.SetRootKey(root);
    m_opened = m_reg.OpenKey(L"\\" + path, true) || m_reg.OpenKeyReadOnly(L"\\" + path);
}

std::wstring TRegIniFile1::ReadAsText(const std::wstring& Section, const std::wstring& Name,
                                      const std::wstring& Default) {
    if (!m_opened) return Default;
    TRegistry section(KEY_READ);
    section.SetRootKey(m_reg.RootKey());
    std::wstring path = L"\\" + m_reg.CurrentPath();
    if (!Section.empty()) path += L"\\" + Section;
    if (!section.OpenKey(path, false) || !section.ValueExists(Name)) return Default;
    switch (section.GetDataType(Name)) {
        case TRegDataType::String: return section.ReadString(Name);
        case TRegDataType::Integer: return std::to_wstring(section.ReadInteger(Name));
        case TRegDataType::Binary: {
            std::vector<std::uint8_t> data = section.ReadBinaryData(Name);
            if (data.size() > 254) data.resize(254);
            return std::wstring(data.begin(), data.end());
        }
        case TRegDataType::ExpandString:
            throw ERegError(L"Read: Type=ExpandString. Please Email for Implementation!");
        default:
            throw ERegError(L"Read: Type=Unknown. Please Email for Implementation!");
    }
}

std::wstring TRegIniFile1::SectionPath(const std::wstring& Section) const {
    std::wstring path = L"\\" + m_reg.CurrentPath();
    if (!Section.empty()) path += L"\\" + Section;
    return path;
}

void TRegIniFile1::ReadSectionValues(const std::wstring& Section, TStringList& Lines) {
    if (!m_opened) return;
    TRegistry section(KEY_READ);
    section.SetRootKey(m_reg.RootKey());
    if (!section.OpenKey(SectionPath(Section), false)) return;
    TStringList names;
    section.GetValueNames(names);
    for (const std::wstring& name : names) Lines.Add(name + L"=" + ReadAsText(Section, name, L""));
}

void TRegIniFile1::EraseSection(const std::wstring& Section) {
    if (!m_opened || Section.empty()) return;
    TRegistry reg(kWriteAccess);
    reg.SetRootKey(m_reg.RootKey());
    reg.DeleteKey(SectionPath(Section));
}

void TRegIniFile1::WriteString(const std::wstring& Section, const std::wstring& Name, const std::wstring& Value) {
    if (!m_opened) return;
    TRegistry section(kWriteAccess);
    section.SetRootKey(m_reg.RootKey());
    if (!section.OpenKey(SectionPath(Section), true)) throw ERegError(L"Write: " + SectionPath(Section));
    section.WriteString(Name, Value);
}

namespace {

bool MatchFrom(const std::wstring& p, size_t pi, const std::wstring& n, size_t ni) {
    while (pi < p.size()) {
        if (p[pi] == L'*') {
            // Shortest run first.
            for (size_t k = ni; k <= n.size(); ++k)
                if (MatchFrom(p, pi + 1, n, k)) return true;
            return false;
        }
        if (ni >= n.size()) return false;
        if (p[pi] != L'?' && p[pi] != n[ni]) return false;
        ++pi;
        ++ni;
    }
    return ni == n.size();
}

std::wstring Upper(const std::wstring& s) {
    std::wstring out = s;
    if (!out.empty()) CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

std::wstring RemoveStars(const std::wstring& s) {
    std::wstring out;
    for (wchar_t c : s)
        if (c != L'*') out.push_back(c);
    return out;
}

bool PassesConditions(HKEY root, const std::wstring& path, const TStringList& conditions) {
    TRegIniFile1 ini(root, path);
    for (const auto& c : conditions) {
        size_t ne = c.find(L"<>");
        if (ne != std::wstring::npos) {
            if (ini.ReadAsText(L"", c.substr(0, ne), L"") == c.substr(ne + 2)) return false;
            continue;
        }
        size_t eq = c.find(L'=');
        if (eq != std::wstring::npos && ini.ReadAsText(L"", c.substr(0, eq), L"") != c.substr(eq + 1)) return false;
    }
    return true;
}

}  // namespace

bool RegWildcardMatch(const std::wstring& pattern, const std::wstring& name) {
    std::wstring p = pattern.substr(0, 255), n = name.substr(0, 255);
    if (p.empty()) return n.empty();
    if (n.empty()) return p[0] == L'*';
    return MatchFrom(p, 0, n, 0);
}

void RegExpandKeyPattern(HKEY Root, const std::wstring& Pattern, const std::wstring& ValueName,
                         TStringList& Result, const TStringList& Conditions) {
    Fehlercode = fc::RegExpandKeyPattern;
    TBrkApart levels;
    levels.BreakString = L"\\";
    levels.BaseString = Pattern;
    levels.Split();

    std::vector<std::wstring> work{L"*"};
    for (const auto& level : levels.StringList) {
        const std::wstring upperLevel = Upper(level);
        std::vector<std::wstring> next;
        for (const auto& entry : work) {
            TRegistry reg(KEY_READ);
            reg.SetRootKey(Root);
            if (!reg.OpenKey(L"\\" + RemoveStars(entry), false)) continue;
            TStringList names;
            reg.GetKeyNames(names);
            for (const auto& name : names)
                if (RegWildcardMatch(upperLevel, Upper(name)))
                    next.push_back(entry == L"*" ? name : entry + L"\\" + name);
        }
        work = std::move(next);
    }

    for (auto it = work.rbegin(); it != work.rend(); ++it) {
        if (!PassesConditions(Root, *it, Conditions)) continue;
        if (ValueName.empty()) {
            Result.Add(*it);
        } else {
            TRegIniFile1 ini(Root, *it);
            Result.Add(ini.ReadAsText(L"", ValueName, L""));
        }
    }
    Fehlercode = 0;
}

}  // namespace velmora
