#pragma once
// The rules of the file list pane that need no window: which entries the list
// filter admits, the sort states and the row order, marking by a filter, the
// folder comparison, the status-line texts and panel widths, the stored column
// widths and the name formats. The pane gathers its state and applies the result.

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "filetools/DatumGroesseTest.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/EineDatei.h"
#include "foundation/Einstellungen.h"
#include "foundation/ItemData.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace velmora {

// Shell attributes the pane asks for and tests.
inline constexpr ULONG kDLAttributMaske = 0xF00F0177;
inline constexpr ULONG kSfgaoOrdner = 0x20000000;
inline constexpr ULONG kSfgaoDateisystem = 0x40000000;
inline constexpr ULONG kSfgaoDateisystemVorfahr = 0x10000000;

// The ".." row: it has no shell item and is the only entry named "..". (The
// entries of a file-system folder get their shell items only when an action
// needs them, so a missing ID list alone does not tell the row.)
inline bool IstElternzeile(const TItemData& Item) { return !Item.RelPidl && Item.Name == L".."; }

// ---- List filter ----------------------------------------------------------

// The pane's copy of its list filter; the fourth flag of the stored filter is
// read here as "show folders".
struct TListenFilter {
    TStringList Masken;
    TDatumGroesseTest DatumGroesse;
    bool ReadOnly = true, Hidden = true, System = true, Ordner = true;

    static TListenFilter Aus(const TDateiFilterDatenFuerDateiListe& Filter);
    // True when a test needs the entry's file data.
    bool BrauchtDaten() const { return DatumGroesse.BrauchtDaten() || !ReadOnly || !Hidden || !System; }
    // The list filter on one entry. Data is nullptr when the entry's file data
    // could not be loaded: then the date, size and attribute tests pass.
    bool Zulassen(const std::wstring& Name, ULONG ShellAttr, const TItemData* Data) const;
};

// Marking by a filter. Flags set ("… markieren") admit rows with that
// attribute; a row is rejected when it has an attribute whose flag is clear, or
// none of the three while Normale is clear. Rows whose data cannot be loaded
// pass the data tests. The name must match a mask (folders get no exemption);
// ".." never does.
struct TGruppenFilter {
    TStringList Masken;
    TDatumGroesseTest DatumGroesse;
    bool Normale = true, ReadOnly = true, Hidden = true, System = true;

    // The filter of a pane's group selection: the masks lower-cased.
    static TGruppenFilter Aus(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                              const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                              std::int32_t GroesseKB, bool Normale, bool ReadOnly, bool Hidden, bool System);
    bool Markieren(const std::wstring& Name, const TItemData* Data) const;
};

// The name's match against the masks in order (lower-cased, the file routines'
// wildcard rules).
bool PasstZuMaske(const std::wstring& Name, const TStringList& Masken);

// ---- Sorting ---------------------------------------------------------------

inline constexpr std::uint8_t kUnsortiert = 10;

// The sort state after a request (0..10); requests beyond 10 leave it as it is.
std::uint8_t NaechsterSortZustand(std::uint8_t Zustand, std::uint8_t Anfrage);
// The sort column of a state: 0 name, 1 size, 2 type, 3 date, 4 attributes, 5 none.
int SortSpalte(std::uint8_t Zustand);
// +1 ascending, -1 descending.
int SortRichtung(std::uint8_t Zustand);
// The request a click on a report column sends, by its caption; none for "DOS-Name".
std::optional<std::uint8_t> SpaltenKlickAnfrage(const std::wstring& Caption);

// The shown folder's comparison of two items by one of its detail columns;
// nullopt when the folder cannot compare them.
using TOrdnerVergleich = std::function<std::optional<int>(const TItemData& A, const TItemData& B, int Spalte)>;
// Loads an entry's file data when missing; false when it cannot be loaded.
using TDatenLader = std::function<bool(TItemData& Item)>;

// The order of two rows in the given sort state: the ".." row first, then
// folders, both whatever the direction; then the folder's comparison by the
// column (its sign; a failure counts as equal). Files compare their sizes, dates
// or DOS attributes first for those columns; a tie, or data that cannot be
// loaded, goes to the folder's comparison (by name for attributes).
int ZeilenVergleich(TItemData* A, TItemData* B, std::uint8_t Zustand, const TOrdnerVergleich& Vergleich,
                    const TDatenLader& Laden);

// ---- Compare folders -------------------------------------------------------

// For each row (its file data loaded, or nullptr): marked when it is a file that
// the other list lacks or holds only with an older time. Each record of the
// other list decides for one row at most: the rows are matched in their order,
// each with the last record of its name not used yet. Folders and volume labels
// on either side take no part.
std::vector<bool> UnterschiedeMarkieren(const std::vector<const TItemData*>& Zeilen, const TDateiListe& Andere);

// ---- Status line -----------------------------------------------------------

std::wstring MarkiertText(int Anzahl);
// FormatByteSize with the unit shortened: " KBytes" becomes " KB" (and alike);
// a text ending in " Bytes" stays whole.
std::wstring KurzeGroesse(const std::wstring& Text);
// The panel widths of the count layout (two panels).
std::array<int, 2> ZaehlPanels(int Breite);
// The panel widths of the one-row layout: name, then size, date and attributes
// when those columns are on.
std::vector<int> EinzelPanels(int Breite, bool Groesse, bool Datum, bool Attr);
// Date and time in the user's short date and time formats ("14.3.2021 15:26:08").
std::wstring DatumZeitText(TDateTime Datum);
// What the size panel shows for a folder row.
std::wstring OrdnerArt(bool Virtuell, ULONG ShellAttr);

// ---- Columns ---------------------------------------------------------------

// Widths of "Datei", "Typ", "Größe", "Datum", "Attr.", "DOS-Name".
using TSpaltenBreiten = std::array<int, 6>;
inline constexpr TSpaltenBreiten kStandardBreiten{125, 125, 50, 115, 35, 85};
// Stored under DialogeSchluessel.
inline const std::wstring DListeColumnsWert = L"DListeColumns";
extern const std::array<const wchar_t*, 6> kSpaltenTitel;

// Six decimal numbers joined by ","; a missing or unreadable number gives its default.
TSpaltenBreiten BreitenLesen(const std::wstring& Text);
std::wstring BreitenText(const TSpaltenBreiten& Breiten);

// ---- Names and paths -------------------------------------------------------

// Case 0 upper, 1 lower, 2 as stored.
std::wstring Schreibweise(const std::wstring& Name, std::uint8_t Fall);
// A folder's caption: its case, then enclosed when enclosing is on (a missing
// enclosing character counts as none).
std::wstring OrdnerName(const std::wstring& Name, const TOptionen& Optionen);
std::wstring DateiName(const std::wstring& Name, const TOptionen& Optionen);

// The folder the monitor watches for a pane path: without its trailing "\",
// a bare drive as its root, empty for none.
std::wstring UeberwachterOrdner(const std::wstring& Pfad);
// Where a pane goes when its folder has vanished: the drive root, the file
// routines' current path, their path on the other drive, else "C:\".
std::wstring ErsatzOrdner(const std::wstring& Pfad, const std::wstring& AktuellerPfad,
                          const std::wstring& AndererPfad, const std::function<bool(const std::wstring&)>& Existiert);

}  // namespace velmora
