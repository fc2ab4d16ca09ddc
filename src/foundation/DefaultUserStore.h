#pragma once
// The one place the three programs keep their own data: string values below
// HKEY_USERS\.default\Software\Quorin Ashvale, the same for every user of the
// machine. Every call opens and closes the registry anew; nothing is cached.

#include <optional>
#include <string>
#include <vector>

#include "platform/rtl/StringList.h"

namespace velmora {

// Below the users root; every Subkey of this file is relative to it.
inline const std::wstring HerstellerSchluessel = L".default\\Software\\Quorin Ashvale\\";
inline const std::wstring ProgrammSchluessel = L"Velmora\\1.0";
inline const std::wstring DialogeSchluessel = L"Velmora\\1.0\\Dialoge";

void RegWriteUserValue(const std::wstring& Subkey, const std::wstring& Name, const std::wstring& Value);
// The empty string when the key or the value is missing, or has a type other than
// a string or a double word (which reads as its decimal text).
void RegReadUserValue(const std::wstring& Subkey, const std::wstring& Name, std::wstring& Value);
std::wstring RegReadUserValue(const std::wstring& Subkey, const std::wstring& Name);
void RegDeleteUserValue(const std::wstring& Subkey, const std::wstring& Name);
void RegRenameUserValue(const std::wstring& Subkey, const std::wstring& OldName, const std::wstring& NewName);
// Deletes Subkey\Name with everything below it; silent when missing.
void RegDeleteUserKey(const std::wstring& Subkey, const std::wstring& Name);
void ListUserSubKeys(const std::wstring& Subkey, TStringList& List);

// Numbered list: values "0", "1", ... of the key Subkey. The writer deletes the key
// first and skips empty entries (an empty one would end the list at the next read);
// the reader stops at the first missing or empty value.
void WriteNumberedList(const std::wstring& Subkey, const TStringList& List);
TStringList ReadNumberedList(const std::wstring& Subkey);

// Dialog position: "left,top" in decimal screen pixels. A value that is not two
// decimal numbers separated by a comma counts as missing (the dialog is centred).
struct TDialogPos {
    int Left = 0;
    int Top = 0;
    bool operator==(const TDialogPos&) const = default;
};
std::optional<TDialogPos> ParseDialogPos(const std::wstring& text);
std::optional<TDialogPos> ReadDialogPos(const std::wstring& Subkey, const std::wstring& Name);
void WriteDialogPos(const std::wstring& Subkey, const std::wstring& Name, TDialogPos pos);
// The common case: Name + "DlgPos" under "Velmora\1.0\Dialoge".
std::optional<TDialogPos> ReadDlgPos(const std::wstring& DialogName);
void WriteDlgPos(const std::wstring& DialogName, TDialogPos pos);

// Column widths: a comma list of decimal pixels named Name under "Velmora\1.0\Dialoge".
// Empty when missing or not a list of numbers: the list then keeps its own defaults.
std::vector<int> ParseColumnWidths(const std::wstring& text);
std::vector<int> ReadColumnWidths(const std::wstring& Name);
void WriteColumnWidths(const std::wstring& Name, const std::vector<int>& Widths);

}  // namespace velmora
