#pragma once
// The entry dialog's checks on OK, in the order the user meets them, and the
// texts of a list row; kept apart from the windows so they can be checked alone.

#include <functional>
#include <optional>
#include <string>

#include "autostart/common/Eintrag.h"

namespace velmora {

// What the entry dialog holds when OK is pressed. Wartezeit is the spin edit's
// value already forced into 0..30.
struct TEntryFields {
    std::wstring Beschreibung;
    std::wstring Dateiname;
    std::wstring Parameter;
    int Wartezeit = TEintrag::kDefaultWartezeit;
    int Aktion = TEintrag::kAktionStarten;
};

enum class TEntryField { Beschreibung, Dateiname, Aktion };

struct TEntryProblem {
    std::wstring Text;
    bool Warning = false;  // else an error box
    TEntryField Focus = TEntryField::Beschreibung;
    bool operator==(const TEntryProblem&) const = default;
};

// The first failing check, or none. Writes Dateiname back trimmed, and sets Aktion
// to "start" where a wait of 0 allows nothing else.
std::optional<TEntryProblem> CheckEntry(TEntryFields& fields, const std::function<bool(const std::wstring&)>& fileExists);

TEintrag EntryFromFields(const TEntryFields& fields);
TEntryFields FieldsFromEntry(const TEintrag& entry);

// A list row: the description, the program's file name, the wait, "ja"/"nein".
struct TEntryRow {
    std::wstring Caption;
    std::wstring FileName;
    std::wstring Zeit;
    std::wstring Starten;
    bool operator==(const TEntryRow&) const = default;
};
TEntryRow RowOf(const TEintrag& entry);

}  // namespace velmora
