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

}  // namespace velmora
