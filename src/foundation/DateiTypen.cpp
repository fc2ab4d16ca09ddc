#include "DateiTypen.h"

#include <windows.h>

#include "Fehlercode.h"
#include "RegistryEnhanced.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StringList.h"

namespace velmora {

namespace {

std::wstring Lower(std::wstring s) {
    if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

TRegistryEnhanced ClassesRootAt(const std::wstring& key) {
    TRegistryEnhanced reg;
    reg.RootKey = TRootKey::hkClassesRoot;
    reg.Key = key;
    return reg;
}

// The default value of a key below the classes root; empty when the key or the
// value is missing or holds no string.
std::wstring ReadDefault(const std::wstring& key) {
    if (key.empty()) return L"";
    TRegistryEnhanced reg = ClassesRootAt(key);
    TRegVariant value;
    reg.ReadValue(L"", value);
    if (auto* s = std::get_if<std::wstring>(&value)) return *s;
    return L"";
}

bool HasShellSubKey(const std::wstring& key) {
    if (key.empty()) return false;
    TRegistryEnhanced reg = ClassesRootAt(key);
    TStringList names;
    reg.GetKeyNames(L"", names);
    for (const std::wstring& name : names)
        if (Lower(name) == L"shell") return true;
    return false;
}

// Deletes one key directly below the classes root. A name with a "\" would reach
// into another key's subtree, and an empty one would address the root itself.
void DeleteRootChild(const std::wstring& name) {
    if (name.empty() || name.find(L'\\') != std::wstring::npos) return;
    TRegistryEnhanced reg = ClassesRootAt(L"\\");
    reg.DeleteKey(name);
}

bool UsableExtension(const std::wstring& extension) {
    return !extension.empty() && extension.find(L'\\') == std::wstring::npos;
}

TStringList ExtensionKeys() {
    TStringList keys;
    RegExpandKeyPattern(HKEY_CLASSES_ROOT, L".*", L"", keys, TStringList());
    return keys;
}

std::wstring CommandOf(const std::wstring& key) {
    std::wstring program;
    ResolveProgramPath(ReadDefault(key + L"\\shell\\open\\command"), program);
    return program;
}

std::wstring SystemFolder() {
    wchar_t buffer[MAX_PATH + 1];
    UINT n = GetSystemDirectoryW(buffer, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH + 1];
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

bool IsFile(const std::wstring& path) { return !path.empty() && FileExists(path); }

}  // namespace

void GetFileTypes(std::vector<TEinDateityp>& List) {
    Fehlercode = fc::GetFileTypes;
    for (const std::wstring& key : ExtensionKeys()) {
        if (key.size() < 2 || key[0] != L'.') continue;
        TEinDateityp typ;
        typ.Schluessel = key;
        typ.Erweiterung = Lower(key.substr(1, 3));
        typ.Klasse = ReadDefault(key);
        if (typ.Klasse.empty()) {
            if (!HasShellSubKey(key)) continue;
            typ.Befehl = CommandOf(key);
        } else {
            if (HasShellSubKey(key)) typ.Befehl = CommandOf(key);
            // A class name with a "\" would name a subkey of another key.
            if (typ.Klasse.find(L'\\') == std::wstring::npos) {
                typ.Beschreibung = ReadDefault(typ.Klasse);
                if (typ.Befehl.empty() && HasShellSubKey(typ.Klasse)) typ.Befehl = CommandOf(typ.Klasse);
            }
        }
        List.push_back(std::move(typ));
    }
    Fehlercode = 0;
}

void ResolveProgramPath(const std::wstring& Command, std::wstring& Program) {
    Fehlercode = fc::ResolveProgramPath;
    Program.clear();
    std::wstring program;
    if (!Command.empty() && Command[0] == L'"') {
        size_t close = Command.find(L'"', 1);
        program = Command.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1);
    } else if (Command.find(L'.') == std::wstring::npos && IsFile(Command)) {
        program = Command;
    } else {
        size_t dot = Command.rfind(L'.');
        size_t blank = Command.find(L' ', dot == std::wstring::npos ? 0 : dot);
        program = Command.substr(0, blank);
    }
    if (!program.empty()) {
        if (IsFile(program)) {
            Program = program;
        } else {
            for (const std::wstring& folder : {SystemFolder(), WindowsFolder()}) {
                if (folder.empty()) continue;
                std::wstring candidate = folder + L"\\" + program;
                if (IsFile(candidate)) {
                    Program = candidate;
                    break;
                }
            }
        }
    }
    Fehlercode = 0;
}

void DeleteExtensionKey(const std::wstring& Extension) {
    if (!UsableExtension(Extension)) return;
    DeleteRootChild(L"." + Extension);
}

void DeleteFileType(const TEinDateityp& Typ) {
    Fehlercode = fc::DeleteFileType;
    std::wstring key = Typ.Schluessel.empty() ? L"." + Typ.Erweiterung : Typ.Schluessel;
    if (key.size() >= 2 && key[0] == L'.') DeleteRootChild(key);
    if (!Typ.Klasse.empty()) {
        // Another extension still naming the class keeps it: its program would
        // lose its description and open command otherwise.
        const std::wstring klasse = Lower(Typ.Klasse);
        bool stillNamed = false;
        for (const std::wstring& other : ExtensionKeys())
            if (Lower(ReadDefault(other)) == klasse) {
                stillNamed = true;
                break;
            }
        if (!stillNamed) DeleteRootChild(Typ.Klasse);
    }
    Fehlercode = 0;
}

void RegisterExtension(const std::wstring& Extension, const std::wstring& Description, const std::wstring& Program) {
    Fehlercode = fc::RegisterExtension;
    if (UsableExtension(Extension)) {
        const std::wstring klasse = Extension + L"_auto_file";
        SetKeyDefault(klasse, L"." + Extension);
        SetKeyDefault(Description, klasse);
        SetKeyDefault(OpenCommandLine(Program), klasse + L"\\shell\\open\\command");
    }
    Fehlercode = 0;
}

void SetExtensionClass(const std::wstring& Extension, const std::wstring& Class) {
    if (!UsableExtension(Extension)) return;
    SetKeyDefault(Class, L"." + Extension);
}

void SetKeyDefault(const std::wstring& Value, const std::wstring& Key) {
    if (Key.empty()) return;
    TRegistryEnhanced reg = ClassesRootAt(Key);
    reg.WriteValue(L"", Value);
}

void SetOpenCommand(const std::wstring& Program, const std::wstring& Class, const std::wstring& Extension) {
    Fehlercode = fc::SetOpenCommand;
    if (!Class.empty())
        SetKeyDefault(OpenCommandLine(Program), Class + L"\\shell\\open\\command");
    else if (UsableExtension(Extension))
        SetKeyDefault(OpenCommandLine(Program), L"." + Extension + L"\\shell\\open\\command");
    Fehlercode = 0;
}

std::wstring OpenCommandLine(const std::wstring& Program) {
    std::wstring program = Program;
    if (program.find(L' ') != std::wstring::npos && !(program.size() >= 2 && program.front() == L'"'))
        program = L"\"" + program + L"\"";
    return program + L" \"%1\"";
}

void GetQuickViewCommand(std::wstring& Command) {
    Command.clear();
    if (HasShellSubKey(L"QuickView")) Command = ReadDefault(L"QuickView\\shell\\open\\command");
}

void QuickViewerProgram(std::wstring& Program) {
    std::wstring command;
    GetQuickViewCommand(command);
    ResolveProgramPath(command, Program);
}

}  // namespace velmora
