#pragma once
// The file search: TDateiSuchenDlg collects the mask, the folders and the
// restrictions; TSuchFortschritt runs the search with its own engine when it is
// first activated, lists every hit and appends it to the main window's
// search-result list (handed in through the dialog context).

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "DateienBearbeitenDlg.h"
#include "DatumGroesseTest.h"
#include "DialogBasis.h"
#include "IMLFind.h"
#include "QuellBox.h"
#include "foundation/controls/EnhListView.h"
#include "foundation/controls/FileLbl.h"
#include "foundation/controls/NumSpin.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/MaskEdit.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PageControl.h"

namespace velmora {

class TDateiSuchenDlg : public TPositionsDialog {
public:
    TDateiSuchenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TPageControl Seiten;
    gui::TTabSheet Parameter, Optionen;
    gui::TLabel Label1, Label2;
    gui::TEdit DateiFilter;
    gui::TCheckBox Unterverzeichnisse, InclArchive;
    gui::TComboBox Verzeichnisse;
    gui::TButton BitBtn1, OrdnerSuchenBtn;
    gui::TPopupMenu MyPopup;
    gui::TCheckBox Eigenschaftenbeachten, Datumbeachten, Groessebeachten;
    gui::TLabel Label3;
    gui::TMaskEdit Aelteste, Juengste;
    gui::TComboBox Groessenbereich;
    TNumSpinEdit DateiGroesse;
    gui::TLabel Label4;
    gui::TCheckBox TextSuchen;
    gui::TEdit Text;
    gui::TCheckBox OnlyTextdateien, Schreibweisebeachten;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // The folders to search, in list order.
    std::vector<std::wstring> GetVerzeichnisse() const;
    // The date and size restriction as ticked.
    TDatumGroesseTest Pruefung() const;
    // The folder browser; tests put a stand-in here.
    std::function<bool(const std::wstring& Title, std::wstring& Folder)> OrdnerWaehlen;

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void CancelBtnClick(gui::TObject* Sender);
    void EigenschaftenbeachtenClick(gui::TObject* Sender);
    void TextSuchenClick(gui::TObject* Sender);
    void JuengsteChange(gui::TObject* Sender);
    void GroessenbereichChange(gui::TObject* Sender);
    void DateiGroesseChange(gui::TObject* Sender);
    void JuengsteExit(gui::TObject* Sender);
    void VerzeichnisseExit(gui::TObject* Sender);
    void VerzeichnisseChange(gui::TObject* Sender);
    void VerzeichnisseDropDown(gui::TObject* Sender);
    void VerzeichnisseKeyPress(gui::TObject* Sender, wchar_t& Key);
    void VerzeichnisseKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void Button1Click(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void HilfeButtonClick(gui::TObject* Sender);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

private:
    bool Pruefen();
    bool DatenGueltig();
    void AbhaengigeSchalten();

    const TDateiDialogKontext& m_kontext;
    TDateiListe m_ordner;
    TQuellBox m_quelle;
    TMRUAusleihe m_mru;
    TDateienBearbeitenDlg* m_editor = nullptr;
    bool m_ok = false;
    bool m_checking = false;
};

class TSuchFortschritt : public TPositionsDialog {
public:
    TSuchFortschritt(gui::TComponent* Owner, const TDateiDialogKontext& Kontext, TDateiSuchenDlg& Suchen);
    ~TSuchFortschritt() override;

    gui::TLabel Label1;
    TFileLabel Verzeichnis;
    TEnhListView Dateiliste;
    gui::TCheckBox LinkesFenster, RechtesFenster;
    gui::TButton CancelBtn;
    TIMLFindText SuchKomp;

    // The archive masks of the archive pass, in their order.
    static const std::vector<std::wstring>& ArchivMasken();

    void FormShow(gui::TObject* Sender);
    void FormActivate(gui::TObject* Sender);
    void FormDestroy(gui::TObject* Sender);
    void CancelBtnClick(gui::TObject* Sender);
    void SuchKompFound(gui::TObject* Sender, const std::wstring& FileName, std::int64_t Posn);
    void SuchKompSearchDirectory(gui::TObject* Sender, const std::wstring& DirName);
    void DateilisteData(gui::TObject* Sender, gui::TListItem* Item);
    void LinkesFensterClick(gui::TObject* Sender);
    void RechtesFensterClick(gui::TObject* Sender);
    void SucheStarten();
    bool EigenschaftenPruefen(std::int64_t Size, TDateTime Date) const;

private:
    void Hinzufuegen(std::unique_ptr<TEineDatei> Record, std::wstring Caption);
    void ZeilenZeigen(bool Jetzt);
    void ArchivDurchsuchen(const std::wstring& Archive);
    int Icon(const std::wstring& Name);
    void Pumpen();

    const TDateiDialogKontext& m_kontext;
    TDateiSuchenDlg& m_suchen;
    gui::TImageList m_bilder;
    bool m_gestartet = false;
    bool m_stop = false;
    bool m_archivLauf = false;
    bool m_laeuft = false;
    bool m_standardIcons = false;
    TDatumGroesseTest m_pruefung;
    bool m_pruefen = false;
    std::wstring m_maske;
    // Every name listed in this run, lower-cased: a folder and its sub-folder
    // both listed reach a file twice.
    std::unordered_set<std::wstring> m_gelistet;
    // The rows found, in order; those from m_gezeigtBis on are not in the list yet.
    struct TZeile {
        std::wstring Caption, IconName;
        std::int64_t Size;
        TDateTime Time;
    };
    std::deque<TZeile> m_zeilen;
    size_t m_gezeigtBis = 0;
    ULONGLONG m_gezeigt = 0;
    ULONGLONG m_ordnerGezeigt = 0;  // when the folder label last changed
    std::unordered_map<std::wstring, int> m_icons;
};

}  // namespace velmora
