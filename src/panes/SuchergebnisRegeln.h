#pragma once
// The rules of the search-result and basket pane that need no window: which of
// the main window's records the pane shows (and which leave the basket), the
// row texts and the row order. The pane gathers its state and applies them.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/EineDatei.h"

namespace velmora {

// What the refresh asks of the file system and the archive routines.
struct TSuchZugriff {
    // The file's data: ERROR_SUCCESS, else the system's error code.
    std::function<DWORD(const std::wstring& Path, WIN32_FILE_ATTRIBUTE_DATA& Data)> Nachsehen;
    // True for an archive, with its kind.
    std::function<bool(const std::wstring& Archive, std::uint8_t& Kind)> ArchivTyp;
    // The archive's entries; false when it could not be listed whole.
    std::function<bool(std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries)> ArchivLesen;
};

// A record that left the list the pane reads: its key, so that it can be taken
// out of the main window's list after the refresh (which may have let messages
// through while an archive was listed).
struct TSatzSchluessel {
    bool InArchive = false;
    std::wstring Name, ArchivPfad;  // lower-cased
};

TSatzSchluessel SchluesselVon(const TEineDatei& Record);
bool Passt(const TSatzSchluessel& Key, const TEineDatei& Record);

// The pane's records for the main window's list Quelle, walked from its last
// record to its first; each archive is listed once. Gone names the records that
// leave Quelle: a file reported missing (file or path not found) in the basket,
// and, with CheckArchive, an archive entry its archive's listing lacks, or (in
// the basket) whose archive is no archive. A look-up that fails otherwise, and
// an archive that could not be listed, keep the record as it is.
TDateiListe SuchergebnisLesen(const TDateiListe& Quelle, bool Sammelkorb, bool CheckArchive,
                              const TSuchZugriff& Zugriff, std::vector<TSatzSchluessel>& Gone);

// Removes every record of List that one of Keys names.
void SaetzeEntfernen(TDateiListe& List, const std::vector<TSatzSchluessel>& Keys);

// The basket records a marked row removes: plain files of the same lower-cased
// name, archive entries of the same name in the same archive.
TSatzSchluessel KorbSchluessel(const TEineDatei& Row);
bool KorbTreffer(const TSatzSchluessel& Row, const TEineDatei& Record);

// The row caption: "entry in archive" lower-cased, or the path as stored.
std::wstring SuchZeilenText(const TEineDatei& Record);

// What a row sorts by besides its record, made once per row before a sort:
// its caption and its extension, both lower-cased.
struct TSuchSortSchluessel {
    std::wstring Text;
    std::wstring Endung;
};
TSuchSortSchluessel SuchSortSchluessel(const TEineDatei& Record);

// The order of two rows in sort mode 0..9 (10 unsorted: 0).
int SuchZeilenVergleich(const TEineDatei& A, const TSuchSortSchluessel& KA, const TEineDatei& B,
                        const TSuchSortSchluessel& KB, std::uint8_t Modus);
int SuchZeilenVergleich(const TEineDatei& A, const TEineDatei& B, std::uint8_t Modus);

// The request a click on a column sends: "Pfad & Name" 0, "Größe" 2, "Datum" 5.
std::uint8_t SuchSpaltenAnfrage(int Column);

// Widths of the three columns stored as "a,b,c"; missing or broken: 150, 50, 120.
std::vector<int> SuchSpaltenBreiten(const std::wstring& Text);

}  // namespace velmora
