#include "EntryCheck.h"

#include <algorithm>

#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

std::optional<TEntryProblem> CheckEntry(TEntryFields& f, const std::function<bool(const std::wstring&)>& fileExists) {
    if (Trim(f.Beschreibung).empty())
        return TEntryProblem{L"Sie haben vergessen eine Beschreibung des zu startenden Programms einzugeben.", false,
                             TEntryField::Beschreibung};
    f.Dateiname = Trim(f.Dateiname);
    if (f.Dateiname.empty())
        return TEntryProblem{L"Sie haben vergessen, das zu startende Programm auszuwählen.", false,
                             TEntryField::Dateiname};
    if (!fileExists(f.Dateiname))
        return TEntryProblem{L"Das zu startende Programm existiert nicht.", false, TEntryField::Dateiname};
    if (f.Dateiname.size() < 3 || f.Dateiname.substr(1, 2) != L":\\")
        return TEntryProblem{L"Sie dürfen nur absolute Dateinamen eingeben (\"x:\\dir1\\dir2\\name.ext\").", false,
                             TEntryField::Dateiname};
    if (f.Wartezeit == 0 && f.Aktion == TEintrag::kAktionNichtStarten) {
        f.Aktion = TEintrag::kAktionStarten;
        return TEntryProblem{
            L"Bei einer Wartezeit von 0 Sekunden kann die Aktion nach Zeitabluaf nur \"Starten\" sein", true,
            TEntryField::Aktion};
    }
    return std::nullopt;
}

TEintrag EntryFromFields(const TEntryFields& f) {
    TEintrag e;
    e.Beschreibung = f.Beschreibung;
    e.Dateiname = f.Dateiname;
    e.Parameter = f.Parameter;
    e.Wartezeit = static_cast<std::uint8_t>(std::clamp<int>(f.Wartezeit, TEintrag::kMinWartezeit, TEintrag::kMaxWartezeit));
    e.Aktion = f.Aktion == TEintrag::kAktionStarten ? TEintrag::kAktionStarten : TEintrag::kAktionNichtStarten;
    return e;
}

TEntryFields FieldsFromEntry(const TEintrag& e) {
    return TEntryFields{e.Beschreibung, e.Dateiname, e.Parameter, e.Wartezeit, e.Aktion};
}

TEntryRow RowOf(const TEintrag& e) {
    return TEntryRow{e.Beschreibung, ExtractFileName(e.Dateiname), std::to_wstring(e.Wartezeit),
                     e.Aktion == TEintrag::kAktionStarten ? L"ja" : L"nein"};
}

}  // namespace velmora
