#pragma once
// TOpenDialog: the system's file-open dialog, filled and read as fields.

#include <functional>
#include <string>

#include "platform/rtl/StringList.h"

#include "Component.h"

namespace velmora::gui {

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    std::wstring Title;
    // "Name|*.ext|Name|*.a;*.b" pairs, as the class library writes them.
    std::wstring Filter;
    int FilterIndex = 1;
    std::wstring InitialDir;
    std::wstring FileName;
    // All chosen files with their folder (one entry without AllowMultiSelect).
    TStringList Files;
    bool AllowMultiSelect = false;
    bool FileMustExist = false;
    bool PathMustExist = false;
    // True when the user chose a file.
    bool Execute();
};

// Takes the place of the system's dialog while set (tests): gets the dialog
// with its fields as the caller filled them, fills FileName and Files as a
// choice would, and returns whether a file was chosen. Returns the one before.
using TOpenDialogFunction = std::function<bool(TOpenDialog&)>;
TOpenDialogFunction SetOpenDialogFunction(TOpenDialogFunction function);

// The system's filter string: "|" separators become NULs, with a double NUL at the end.
std::wstring FilterToSystem(const std::wstring& filter);

}  // namespace velmora::gui
