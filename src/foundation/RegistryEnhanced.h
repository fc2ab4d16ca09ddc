#pragma once
// TRegistryEnhanced addresses registry values by a root index and a key path and
// reads and writes them as variants; TRegIniFile1 and RegExpandKeyPattern expand
// a key path with wildcard levels into the list of matching keys.

#include <windows.h>

#include <cstdint>
#include <string>
#include <variant>

#include "Brkapart.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StringList.h"

namespace velmora {

enum class TRootKey { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };

HKEY RootKeyHandle(TRootKey root);

// The variant kinds a value can be written as. A date is days since 1899-12-30,
// a currency value is scaled by 10000; a plain double writes nothing.
struct TRegDate {
    double Value = 0;
};
struct TRegCurrency {
    std::int64_t Scaled = 0;
};
using TRegVariant = std::variant<std::monostate, bool, std::wstring, TRegDate, std::int32_t, TRegCurrency, double>;

class TRegistryEnhanced {
public:
    TRegistryEnhanced();

    TStringList EntriesFound;
    std::wstring Key;
    TRootKey RootKey = TRootKey::hkCurrentUser;

    void WriteValue(const std::wstring& Name, const TRegVariant& Value);
    // Value stays empty (monostate) when nothing is read.
    void ReadValue(const std::wstring& Name, TRegVariant& Value);
    // The values "0", "1", ... of the key, each as ReadValue reads it (an
    // integer as its digits), up to the first that reads as nothing or empty;
    // the key is opened once.
    TStringList ReadNumbered();
    void GetKeyNames(const std::wstring& SubKey, TStringList& List);
    void DeleteKey(const std::wstring& Name);
    void DeleteValue(const std::wstring& Name);
    void RenameValue(const std::wstring& OldName, const std::wstring& NewName);

    // Exposed for tests: how a name is split into its key part ("\a\b") and value name.
    struct NameParts {
        std::wstring KeyPart;
        std::wstring ValueName;
    };
    NameParts SplitName(const std::wstring& Name);
    std::wstring TrimmedKey() const;

private:
    // Opens "\" + trimmed Key + KeyPart; false when Key is empty or the open fails.
    bool Open(TRegistry& reg, const std::wstring& keyPart, bool create);

    TBrkApart m_splitter;
};

class ERegError : public Exception {
public:
    using Exception::Exception;
};

class TRegIniFile1 {
public:
    // Opens the key at once, creating it when missing (read-only when it cannot be created).
    TRegIniFile1(HKEY root, const std::wstring& path);

    std::wstring ReadAsText(const std::wstring& Section, const std::wstring& Name, const std::wstring& Default);
    void GetKeyNames(TStringList& List) { m_reg.GetKeyNames(List); }
    // Every value of Section as "name=value" lines, in the registry's order.
    void ReadSectionValues(const std::wstring& Section, TStringList& Lines);
    // Deletes Section with everything below it.
    void EraseSection(const std::wstring& Section);
    void WriteString(const std::wstring& Section, const std::wstring& Name, const std::wstring& Value);
    bool Opened() const { return m_opened; }

private:
    std::wstring SectionPath(const std::wstring& Section) const;

    TRegistry m_reg;
    std::wstring m_path;
    bool m_opened = false;
};

// Pattern and name already upper-cased; "?" one character, "*" any run.
bool RegWildcardMatch(const std::wstring& pattern, const std::wstring& name);

void RegExpandKeyPattern(HKEY Root, const std::wstring& Pattern, const std::wstring& ValueName,
                         TStringList& Result, const TStringList& Conditions);

}  // namespace velmora
