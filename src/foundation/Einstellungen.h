#pragma once
// The main program's settings: every option group, loaded from "Velmora\1.0\Optionen"
// when the object is made and written back when it is freed. Between the two the
// options dialog and the commands change the fields directly; the registry sees
// nothing until the program ends normally.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/StringList.h"

namespace velmora {

inline const std::wstring OptionenSchluessel = L"Velmora\\1.0\\Optionen";

// The mask lists are shared: a pane's copy of its options, and the archive panes'
// filter, see the very list the settings object holds, and keep it alive should
// they outlive the settings object.
using TMaskenListe = std::shared_ptr<TStringList>;

struct TDateiFilterDatenFuerDateiListe {
    TMaskenListe Masken;
    bool Datumbeachten = false;
    std::wstring Aelteste;
    std::wstring Juengste;
    bool Groessebeachten = false;
    std::wstring Groessenbereich;  // "Genau", "Mindestens" or "Höchstens"
    std::int32_t DateiGroesse = 0;  // KB
    bool ReadOnly = false;
    bool Hidden = false;
    bool System = false;
    bool Normale = false;
};

// Letter case of names: 0 upper case, 1 lower case, 2 as stored.
struct TOptionen {
    std::uint8_t Ansicht = 0;  // 2 list, 3 report
    bool IconsAnzeigen = false;
    bool StandardIcons = false;
    std::uint8_t VSchreibweise = 0;
    bool VEinfassen = false;
    std::wstring VEinfZeichen;  // opening and closing character, at most two
    std::uint8_t DateiSchreibweise = 0;
    bool GroesseAnzeigen = false;
    bool TypAnzeigen = false;
    bool DatumAnzeigen = false;
    bool AttrAnzeigen = false;
    bool DOSNameAnzeigen = false;
    std::uint8_t Sortierung = 0;
    bool Statuszeile = false;
    TDateiFilterDatenFuerDateiListe Filter;
    bool CheckArchive = false;

    // The opening (0) or closing (1) enclosing character; empty when there is none.
    std::wstring EinfZeichen(int index) const;
};

struct TArchivEinstellungen {
    bool UseTempFile = false;
    std::wstring StoredExt;
    bool ExternePackerImHintergrund = false;
    bool ArcViewStatuszeile = false;
    bool AskBeforeOpen = false;
    bool ExtraNachfragen = false;
    bool UseInternZip = false;
    bool UseInternUnZip = false;
    std::wstring ZipPath;
    std::wstring UnZipPath;
    std::wstring Zip2ExePath;
    bool UseInternUnArj = false;
    std::wstring ArjPath;
    bool UseInternUnRar = false;
    std::wstring RarPath;
    bool UseInternUnLha = false;
    std::wstring LhaPath;
    bool UseInternUnZoo = false;
    std::wstring ZooPath;
    bool UseInternUnArc = false;
    std::wstring PkPakPath;
    std::wstring PkUnPakPath;
    bool ShowOnDoubleClick = false;
};

struct TArcDragDropEinstellungen {
    std::uint8_t DropPfadangaben = 0;  // 0 ignore paths, 1 relative, 2 full, 3 ask
    bool VerschiebenBestaetigen = false;
    bool NurWennAktueller = false;
    bool NurWennAktuellerUndVorhanden = false;
    bool PfadeSpeichern = false;
    bool Unterverzeichnisse = false;
    bool DosDateiNamenBenutzen = false;
    std::uint8_t Methode = 0;  // 0 "Maximal" ... 5 "Gar Nicht"
};

struct TAnsichtEinstellungen {
    bool StatuszeileAnzeigen = false;
    bool DOSZeileAnzeigen = false;
    bool FTastenAnzeigen = false;
    bool SymbolleisteAnzeigen = false;
};

struct TBestaetigungen {
    bool Loeschabfrage = false;
    bool NichtAlleUeberschreiben = false;
    bool AuswahlDlgVorLoeschen = false;
    bool OeffnenMitParametern = false;
};

struct TSonstiges {
    std::uint8_t LoeschGroup = 0;  // 0 recycle bin, 1 for good, 2 zero-fill, then delete
    std::wstring ExtEdit;
    bool ClearLists = false;
    bool AktPfadSichern = false;
};

struct TDragDropEinstellungen {
    bool KopierDlgZeigen = false;
    bool VerschiebDlgZeigen = false;
    bool LinkDlgZeigen = false;
    bool ArcDlgZeigen = false;
};

class TEinstellungen {
public:
    TEinstellungen();
    ~TEinstellungen();
    TEinstellungen(const TEinstellungen&) = delete;
    TEinstellungen& operator=(const TEinstellungen&) = delete;

    void LoadAll();
    void SaveAll();

    // Cleared when the program could not start properly: freeing the object then
    // writes nothing back, and the stored options stay as they were.
    bool SaveOnFree = true;

    void LoadDateiliste();
    void LoadADateiliste();
    void InitZusatzOptionen();
    void LoadSucherg();
    void LoadArcView();
    void InitMarkierFilter();
    void LoadAnsicht();
    void LoadBest();
    void LoadArc();
    void LoadArcDragDrop();
    void LoadSonstiges();
    void LoadDragDrop();
    void LoadOftBenVerz();

    void SaveDateiliste();
    void SaveADateiliste();
    void SaveSucherg();
    void SaveArcView();
    void SaveAnsicht();
    void SaveBest();
    void SaveArc();
    void SaveArcDragDrop();
    void SaveSonstiges();
    void SaveDragDrop();
    void SaveOftBenVerz();

    TOptionen Dateiliste;
    TOptionen ADateiliste;
    TOptionen ZusatzOptionen;
    TOptionen Sucherg;
    TOptionen ArcView;
    TDateiFilterDatenFuerDateiListe MarkierFilter;
    TAnsichtEinstellungen Ansicht;
    TBestaetigungen Best;
    TArchivEinstellungen Arc;
    TArcDragDropEinstellungen ArcDragDrop;
    TSonstiges Sonst;
    TDragDropEinstellungen DragDrop;
    std::int32_t OftBenVerz = 0;
    TStringList OBV;
};

}  // namespace velmora
