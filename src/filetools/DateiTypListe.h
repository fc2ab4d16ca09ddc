#pragma once
// The program-wide list of named file types (a name with wildcard masks), offered
// for marking groups and for the pane filters, and its registry form below
// "Velmora\1.0\Filter". Entry 0 is always "Alle Dateien" with "*.*", made anew at
// every load and never stored.

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/StringList.h"

namespace velmora {

struct TVordefFilter {
    std::wstring Name;
    TStringList Masks;
};

// Owns its records; their addresses stay while they are in the list, so that an
// editor can remember which records existed when it was shown.
using TDateiTypListe = std::vector<std::unique_ptr<TVordefFilter>>;

inline const std::wstring AlleDateienName = L"Alle Dateien";

// Empties List, adds "Alle Dateien", then the stored types up to the first missing
// or empty name; the seven defaults when none is stored.
void DateiTypenLaden(TDateiTypListe& List);
// Deletes the stored types and writes the list from position 1 on.
void DateiTypenSpeichern(const TDateiTypListe& List);
// The seven types used when none is stored.
void StandardTypenAnhaengen(TDateiTypListe& List);

// Splits a filter text at ";" into masks, blanks around each cut. Masks with a
// folder part are dropped; the result tells whether any was.
bool MaskenAufteilen(const std::wstring& Text, TStringList& Masks);

// The masks of the chosen types, in list order, each once.
TStringList MaskenDerTypen(const TDateiTypListe& List, const std::vector<int>& Chosen);
// The same masks joined with "; ", as the filter text shows them.
std::wstring MaskenText(const TStringList& Masks);

// Whether Text is usable as a mask: no folder part.
bool MaskeOhneOrdner(const std::wstring& Text);

// The one-line input's check before it closes with OK: the error box's text, or
// empty when the text passes. Only a mask is checked for a folder part.
std::wstring EingabePruefen(const std::wstring& Text, bool AlsMaske);

// What the type editor does to the list, apart from its window. Made when the
// editor shows: it remembers the records that exist then, so that Cancel drops
// (and frees) exactly the types added in this showing, while mask changes made to
// the older types stay.
class TTypenBearbeitung {
public:
    explicit TTypenBearbeitung(TDateiTypListe& List);

    // Appends a type without masks; its index.
    int NeuerTyp(const std::wstring& Name);
    // Appends the lower-cased text to the type's masks.
    void FilterHinzu(int Typ, const std::wstring& Text);
    // Replaces a mask by the lower-cased text. The information box's text when
    // another mask of the type already reads so (nothing changes), else empty.
    std::wstring FilterAendern(int Typ, int Maske, const std::wstring& Text);
    void FilterEntfernen(int Typ, int Maske);
    // OK: every type after "Alle Dateien" without a mask leaves the list.
    void Ok();
    // Cancel: the list holds the records of the showing again, in their order.
    void Abbrechen();

private:
    TVordefFilter* TypAt(int Typ) const;

    TDateiTypListe& m_list;
    std::vector<const TVordefFilter*> m_beimZeigen;
};

}  // namespace velmora
