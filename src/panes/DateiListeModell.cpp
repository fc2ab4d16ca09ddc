#include "DateiListeModell.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "filetools/DateiRoutinen.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

namespace {

int Vorzeichen(long long value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

TStringList KleineMasken(const TMaskenListe& masks) {
    TStringList lower;
    if (masks)
        for (const auto& mask : *masks) lower.Add(SystemLower(mask));
    return lower;
}

// The attribute tests both filters share: false when the row has an attribute
// whose flag is clear.
bool AttributeZugelassen(std::int32_t attr, bool readOnly, bool hidden, bool system) {
    return !((attr & FILE_ATTRIBUTE_READONLY) && !readOnly) && !((attr & FILE_ATTRIBUTE_HIDDEN) && !hidden) &&
           !((attr & FILE_ATTRIBUTE_SYSTEM) && !system);
}

}  // namespace

// ---- List filter ------------------------------------------------------------

TListenFilter TListenFilter::Aus(const TDateiFilterDatenFuerDateiListe& Filter) {
    TListenFilter filter;
    filter.Masken = KleineMasken(Filter.Masken);
    filter.DatumGroesse = TDatumGroesseTest::Aus(Filter.Datumbeachten, Filter.Aelteste, Filter.Juengste,
                                                 Filter.Groessebeachten, Filter.Groessenbereich, Filter.DateiGroesse);
    filter.ReadOnly = Filter.ReadOnly;
    filter.Hidden = Filter.Hidden;
    filter.System = Filter.System;
    filter.Ordner = Filter.Normale;
    return filter;
}

bool TListenFilter::Zulassen(const std::wstring& Name, ULONG ShellAttr, const TItemData* Data) const {
    if (Data && !DatumGroesse.Passt(Data->Groesse, Data->Datum))
        return false;
    const bool ordner = (ShellAttr & kSfgaoOrdner) != 0;
    if (ordner && !Ordner)
        return false;
    if (Data && !AttributeZugelassen(Data->Attr, ReadOnly, Hidden, System))
        return false;
    return PasstZuMaske(Name, Masken) || (ordner && Ordner);
}

TGruppenFilter TGruppenFilter::Aus(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                                   const std::wstring& DatumBis, bool GroesseFiltern,
                                   const std::wstring& GroesseVergleich, std::int32_t GroesseKB, bool Normale,
                                   bool ReadOnly, bool Hidden, bool System) {
    TGruppenFilter filter;
    for (const auto& mask : Masks) filter.Masken.Add(SystemLower(mask));
    filter.DatumGroesse =
        TDatumGroesseTest::Aus(DatumFiltern, DatumVon, DatumBis, GroesseFiltern, GroesseVergleich, GroesseKB);
    filter.Normale = Normale;
    filter.ReadOnly = ReadOnly;
    filter.Hidden = Hidden;
    filter.System = System;
    return filter;
}

bool TGruppenFilter::Markieren(const std::wstring& Name, const TItemData* Data) const {
    if (Data) {
        if (!DatumGroesse.Passt(Data->Groesse, Data->Datum))
            return false;
        if (!AttributeZugelassen(Data->Attr, ReadOnly, Hidden, System))
            return false;
        const auto drei = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (!(Data->Attr & drei) && !Normale)
            return false;
    }
    return PasstZuMaske(Name, Masken);
}

bool PasstZuMaske(const std::wstring& Name, const TStringList& Masken) {
    if (Masken.Empty())
        return false;
    const std::wstring lower = SystemLower(Name);
    return std::any_of(Masken.begin(), Masken.end(),
                       [&](const std::wstring& mask) { return TDateiRoutinen::MatchesMask(lower, mask); });
}

// ---- Sorting ------------------------------------------------------------------

std::uint8_t NaechsterSortZustand(std::uint8_t Zustand, std::uint8_t Anfrage) {
    switch (Anfrage) {
    case 0:
    case 1:
        return Anfrage == 0 && Zustand == 0 ? 1 : 0;
    case 2:
    case 3:
        return Anfrage == 2 && Zustand == 2 ? 3 : 2;
    case 4:
    case 5:
        // Dates start with the newest.
        return Anfrage == 5 && Zustand == 5 ? 4 : 5;
    case 6:
    case 7:
        return Anfrage == 6 && Zustand == 6 ? 7 : 6;
    case 8:
    case 9:
        return Anfrage == 8 && Zustand == 8 ? 9 : 8;
    case kUnsortiert:
        return kUnsortiert;
    default:
        return Zustand;
    }
}

int SortSpalte(std::uint8_t Zustand) {
    static constexpr int spalten[] = {0, 0, 1, 1, 3, 3, 2, 2, 4, 4, 5};
    return Zustand <= kUnsortiert ? spalten[Zustand] : 5;
}

int SortRichtung(std::uint8_t Zustand) { return Zustand < kUnsortiert && Zustand % 2 == 1 ? -1 : 1; }

std::optional<std::uint8_t> SpaltenKlickAnfrage(const std::wstring& Caption) {
    static const std::pair<const wchar_t*, std::uint8_t> anfragen[] = {
        {L"Datei", 0}, {L"Größe", 2}, {L"Datum", 5}, {L"Typ", 6}, {L"Attr.", 8}};
    for (const auto& [caption, request] : anfragen)
        if (Caption == caption)
            return request;
    return std::nullopt;
}

int ZeilenVergleich(TItemData* A, TItemData* B, std::uint8_t Zustand, const TOrdnerVergleich& Vergleich,
                    const TDatenLader& Laden) {
    if (A == B)
        return 0;
    if (!A || !B)
        return A ? 1 : -1;
    if (IstElternzeile(*A) || IstElternzeile(*B))
        return IstElternzeile(*B) ? (IstElternzeile(*A) ? 0 : 1) : -1;
    const bool ordnerA = A->ShellAttr & kSfgaoOrdner, ordnerB = B->ShellAttr & kSfgaoOrdner;
    if (ordnerA != ordnerB)
        return ordnerA ? -1 : 1;

    const int spalte = SortSpalte(Zustand), richtung = SortRichtung(Zustand);
    auto ordnerVergleich = [&](int column) { return Vorzeichen(Vergleich(*A, *B, column).value_or(0)) * richtung; };
    if (ordnerA || spalte == 0 || spalte == 2)
        return ordnerVergleich(spalte);
    if (spalte == 5)
        return 0;
    // Sizes and dates of files come from their data: not every shell compares
    // those columns (Wine's compares names whatever the column asks).
    if (spalte == 1 || spalte == 3) {
        if (Laden(*A) && Laden(*B)) {
            const int unterschied = spalte == 1 ? Vorzeichen(A->Groesse - B->Groesse)
                                                : (A->Datum < B->Datum ? -1 : A->Datum > B->Datum ? 1 : 0);
            if (unterschied)
                return unterschied * richtung;
        }
        return ordnerVergleich(spalte);
    }
    // A file whose data cannot be loaded ties on the attributes.
    if (Laden(*A) && Laden(*B))
        if (const int unterschied = Vorzeichen(A->Attr - B->Attr))
            return unterschied * richtung;
    return ordnerVergleich(0);
}

// ---- Compare folders ------------------------------------------------------------

std::vector<bool> UnterschiedeMarkieren(const std::vector<const TItemData*>& Zeilen, const TDateiListe& Andere) {
    constexpr std::int32_t keineDatei = FILE_ATTRIBUTE_DIRECTORY | 8;  // 8: volume label
    // Per lower-cased file name the records of that name, the last one at the back.
    std::unordered_map<std::wstring, std::vector<const TEineDatei*>> nachName;
    for (const auto& record : Andere)
        if (!(record->Attr & keineDatei))
            nachName[SystemLower(ExtractFileName(record->Name))].push_back(record.get());

    std::vector<bool> markiert(Zeilen.size(), false);
    for (size_t i = 0; i < Zeilen.size(); ++i) {
        const TItemData* zeile = Zeilen[i];
        if (!zeile || (zeile->Attr & keineDatei))
            continue;
        auto found = nachName.find(SystemLower(ExtractFileName(zeile->Name)));
        if (found == nachName.end() || found->second.empty()) {
            markiert[i] = true;
            continue;
        }
        markiert[i] = found->second.back()->Time < zeile->Datum;
        found->second.pop_back();
    }
    return markiert;
}

// ---- Status line -------------------------------------------------------------------

std::wstring MarkiertText(int Anzahl) { return IntToStr(Anzahl) + L" Dateien/ Verzeichnisse markiert"; }

std::wstring KurzeGroesse(const std::wstring& Text) {
    if (Text.size() >= 6 && Text[Text.size() - 6] != L' ')
        return Text.substr(0, Text.size() - 4);
    return Text;
}

std::array<int, 2> ZaehlPanels(int Breite) {
    const int erste = std::max(0, Breite < 300 ? Breite - 90 : 210);
    return {erste, std::max(0, Breite - erste)};
}

std::vector<int> EinzelPanels(int Breite, bool Groesse, bool Datum, bool Attr) {
    std::vector<int> breiten{std::max(75, Breite - 205)};
    if (Groesse)
        breiten.push_back(65);
    if (Datum)
        breiten.push_back(110);
    if (Attr)
        breiten.push_back(30);
    return breiten;
}

std::wstring DatumZeitText(TDateTime Datum) {
    return LocaleDateTimeText(Datum);
}

std::wstring OrdnerArt(bool Virtuell, ULONG ShellAttr) {
    if (!Virtuell)
        return L"Verzeichnis";
    if ((ShellAttr & kSfgaoDateisystem) && (ShellAttr & kSfgaoDateisystemVorfahr))
        return L"Laufwerk";
    if (ShellAttr & kSfgaoDateisystem)
        return L"Verzeichnis";
    return L"Virt. Verz.";
}

// ---- Columns ---------------------------------------------------------------------------

const std::array<const wchar_t*, 6> kSpaltenTitel{L"Datei", L"Typ", L"Größe", L"Datum", L"Attr.", L"DOS-Name"};

TSpaltenBreiten BreitenLesen(const std::wstring& Text) {
    TSpaltenBreiten breiten = kStandardBreiten;
    const auto teile = SplitString(Text, L",");
    for (size_t i = 0; i < breiten.size() && i < teile.size(); ++i) {
        const auto zahl = ParseInt(Trim(teile[i]));
        // A stored width is the user's; a value no column could have is not.
        if (zahl && *zahl >= 0 && *zahl <= 10000)
            breiten[i] = static_cast<int>(*zahl);
    }
    return breiten;
}

std::wstring BreitenText(const TSpaltenBreiten& Breiten) {
    std::wstring text;
    for (size_t i = 0; i < Breiten.size(); ++i) text += (i ? L"," : L"") + IntToStr(Breiten[i]);
    return text;
}

// ---- Names and paths ---------------------------------------------------------------------

std::wstring Schreibweise(const std::wstring& Name, std::uint8_t Fall) {
    if (Fall == 1)
        return SystemLower(Name);
    if (Fall == 0 && !Name.empty()) {
        std::wstring upper = Name;
        CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
        return upper;
    }
    return Name;
}

std::wstring OrdnerName(const std::wstring& Name, const TOptionen& Optionen) {
    const std::wstring name = Schreibweise(Name, Optionen.VSchreibweise);
    return Optionen.VEinfassen ? Optionen.EinfZeichen(0) + name + Optionen.EinfZeichen(1) : name;
}

std::wstring DateiName(const std::wstring& Name, const TOptionen& Optionen) {
    return Schreibweise(Name, Optionen.DateiSchreibweise);
}

std::wstring UeberwachterOrdner(const std::wstring& Pfad) {
    std::wstring ordner = ExcludeTrailingBackslash(Pfad);
    if (ordner.size() == 2 && ordner[1] == L':')
        ordner += L'\\';
    return ordner;
}

std::wstring ErsatzOrdner(const std::wstring& Pfad, const std::wstring& AktuellerPfad,
                          const std::wstring& AndererPfad, const std::function<bool(const std::wstring&)>& Existiert) {
    std::vector<std::wstring> kandidaten;
    if (!Pfad.empty())
        kandidaten.push_back(std::wstring(1, Pfad[0]) + L":\\");
    kandidaten.push_back(AktuellerPfad);
    kandidaten.push_back(AndererPfad);
    for (const auto& ordner : kandidaten)
        if (!ordner.empty() && Existiert(ordner))
            return ordner;
    return L"C:\\";
}

}  // namespace velmora
