#pragma once
// The orphaned-file search: TDateiLeichenSuchenDlg collects the masks and the
// folders, TDateileichenFortschrittDlg searches them with its own engine when it
// is first activated, totals the sizes and then offers the result through
// TDateileichenAuswahlDlg: as the main window's search result, or deleted at once.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "DateienBearbeitenDlg.h"
#include "DialogBasis.h"
#include "IMLFind.h"
#include "QuellBox.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListBox.h"
#include "platform/gui/Menus.h"

namespace velmora {

// The masks a first run offers, in their order.
const std::vector<std::wstring>& StandardEndungen();

// Adds New (trimmed, lower-cased) to Liste unless a listed mask equals or
// covers it; listed masks that New covers go only after Frage agreed to each.
// Hinweis tells why nothing was added. True when New was appended.
bool EndungHinzufuegen(std::vector<std::wstring>& Liste, const std::wstring& New,
                       const std::function<void(const std::wstring&)>& Hinweis,
                       const std::function<bool(const std::wstring&)>& Frage);

// The space a file of Size bytes takes in clusters of Cluster bytes: an empty
// file takes one.
std::int64_t BelegterPlatz(std::int64_t Size, std::int64_t Cluster);
// The volume's root of Folder: "C:\" or "\\server\share\".
std::wstring VolumeWurzel(const std::wstring& Folder);
// The cluster size of Folder's volume; 1 when it cannot be read.
std::int64_t ClusterGroesse(const std::wstring& Folder);

// The folder check after OK.
enum class TOrdnerBefund { Gut, Weglassen, KeinAbsoluterPfad, Unbrauchbar };
using TLaufwerksTyp = std::function<UINT(const std::wstring& Root)>;
// Ready, and neither unknown nor a CD-ROM.
bool DurchsuchbaresLaufwerk(wchar_t Drive, const TLaufwerksTyp& Typ);
TOrdnerBefund OrdnerPruefen(const std::wstring& Folder, const TLaufwerksTyp& Typ);

// Removes every folder that lies below another folder of the list (all end in
// "\"): the search of the upper one reaches it anyway.
void UnterordnerEntfernen(TStringList& Folders);

class TDateiLeichenSuchenDlg : public TPositionsDialog {
public:
    TDateiLeichenSuchenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, Label2;
    gui::TListBox Endungen;
    gui::TCheckBox NullDateien;
    gui::TComboBox Verzeichnisse;
    gui::TButton BitBtn1, OrdnerSuchenBtn, AlleLWs;
    gui::TButton AddBtn, AlleBtn, Button1, Button2;
    gui::TButton OKBtn, CancelBtn, Button3;
    gui::TPopupMenu MyPopup;

    // The caller's lists, filled on OK: folders lower-cased ending in "\", the
    // marked masks in list order.
    void SetParameter(TStringList* Masken, TStringList* Ordner);
    // Seams for tests: the folder browser and the drive type.
    std::function<bool(const std::wstring& Title, std::wstring& Folder)> OrdnerWaehlen;
    TLaufwerksTyp LaufwerksTyp;
    // The input box of a new mask.
    std::function<bool(std::wstring& Text)> EndungErfragen;

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void AddBtnClick(gui::TObject* Sender);
    void AlleBtnClick(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void Button2Click(gui::TObject* Sender);
    void AlleLWsClick(gui::TObject* Sender);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

protected:
    void DoDestroy() override;

private:
    bool Pruefen();
    std::vector<std::wstring> Masken() const;
    void SetMasken(const std::vector<std::wstring>& Masks);

    const TDateiDialogKontext& m_kontext;
    TDateiListe m_ordner;
    TQuellBox m_quelle;
    TMRUAusleihe m_mru;
    TDateienBearbeitenDlg* m_editor = nullptr;
    TStringList* m_masken = nullptr;
    TStringList* m_ordnerErgebnis = nullptr;
    bool m_ok = false;
};

// What to do with the files found: "Allg. &Suchergebnis" gives mrYes, "Sofort
// &löschen" mrNo.
class TDateileichenAuswahlDlg : public TPositionsDialog {
public:
    explicit TDateileichenAuswahlDlg(gui::TComponent* Owner);
    gui::TLabel Label1, Label2;
    gui::TButton Suchergebnis, Loeschen, Abbrechen;
};

class TDateileichenFortschrittDlg : public TPositionsDialog {
public:
    TDateileichenFortschrittDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1;
    TFileLabel FileLabel;
    gui::TLabel EndungLabel, AnzahlLabel, FreiLabel, GesamtLabel;
    gui::TButton CancelBtn;
    TIMLFindText SuchKomp;

    void SetParameter(const TStringList& Masken, const TStringList& Ordner, bool NullDateien);
    // True after the run when its files went into the search-result list.
    bool ErgebnisUebergeben() const { return m_uebergeben; }
    // The files of the last run and their totals.
    const TDateiListe& Gefunden() const { return m_gefunden; }
    std::int64_t Gesamt() const { return m_gesamt; }
    std::int64_t Frei() const { return m_frei; }
    // The chooser and the delete dialog, made on first use; tests reach them here.
    TDateileichenAuswahlDlg& Auswahl();

    void FormShow(gui::TObject* Sender);
    void FormActivate(gui::TObject* Sender);
    void CancelBtnClick(gui::TObject* Sender);
    void SuchKompSearchDirectory(gui::TObject* Sender, const std::wstring& DirName);
    void SuchKompFound(gui::TObject* Sender, const std::wstring& FileName, std::int64_t Posn);

private:
    void Suchen();
    void Durchlauf();
    void Anbieten();
    void Loeschen();
    void Pumpen();
    void ZahlenZeigen(bool Jetzt);

    const TDateiDialogKontext& m_kontext;
    TStringList m_masken, m_ordner;
    bool m_nullDateien = false;
    TDateiListe m_gefunden;
    std::set<std::wstring> m_gelistet;
    std::int64_t m_gesamt = 0, m_frei = 0;
    std::map<std::wstring, std::int64_t> m_cluster;
    std::int64_t m_aktuellerCluster = 1;
    std::wstring m_maske, m_ordnerText;
    bool m_stop = false, m_nullLauf = false, m_gestartet = false, m_laeuft = false, m_uebergeben = false;
    ULONGLONG m_gezeigt = 0;
    TDateileichenAuswahlDlg* m_auswahl = nullptr;
};

}  // namespace velmora
