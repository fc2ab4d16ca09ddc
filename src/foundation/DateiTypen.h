#pragma once
// File-type registrations of the classes root: the registered extensions with
// their class and open command, and the routines that make, change and delete
// them. The association editor is their main user; the main window asks once for
// the quick viewer's command.

#include <string>
#include <vector>

namespace velmora {

struct TEinDateityp {
    // The extension without the dot, lower case, at most three characters: what the
    // lists show.
    std::wstring Erweiterung;
    // Default value of the class key; empty when the extension names no class.
    std::wstring Beschreibung;
    // Default value of the extension key; may be empty.
    std::wstring Klasse;
    // The program of the open command, completed to a full path where possible.
    std::wstring Befehl;
    // The full name of the extension key (".html" for "htm"): every change and
    // delete goes through it, so that a shortened name never reaches another key.
    std::wstring Schluessel;
};

// Appends one record per registered extension, in the order the key pattern
// expansion gives them (reverse enumeration order).
void GetFileTypes(std::vector<TEinDateityp>& List);

// The program part of Command, completed with the system or the Windows folder;
// empty when no such file exists. A program in double quotes is the text between
// them.
void ResolveProgramPath(const std::wstring& Command, std::wstring& Program);

// Deletes the key "." + Extension with everything below it. An empty extension or
// one that holds a "\" addresses no extension key and deletes nothing.
void DeleteExtensionKey(const std::wstring& Extension);

// Deletes the record's extension key and then its class key, the latter only when
// no remaining extension key names that class.
void DeleteFileType(const TEinDateityp& Typ);

// A new registration with a class of its own, "<Extension>_auto_file".
void RegisterExtension(const std::wstring& Extension, const std::wstring& Description, const std::wstring& Program);

void SetExtensionClass(const std::wstring& Extension, const std::wstring& Class);

// Sets the default value of Key (a path below the classes root), creating it.
void SetKeyDefault(const std::wstring& Value, const std::wstring& Key);

// The open command of Class, or of the extension itself when Class is empty.
void SetOpenCommand(const std::wstring& Program, const std::wstring& Class, const std::wstring& Extension);

// The open command as it is written: the program, in double quotes when it holds a
// blank, then " \"%1\"", so that a document name with blanks stays one argument.
std::wstring OpenCommandLine(const std::wstring& Program);

// The quick viewer's open command, or empty.
void GetQuickViewCommand(std::wstring& Command);

// The quick viewer's program as the main window keeps it: the resolved program of
// its command, empty when there is none or its file does not exist.
void QuickViewerProgram(std::wstring& Program);

}  // namespace velmora
