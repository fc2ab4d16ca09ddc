#pragma once
// TOptionenDlg: every option group on seven pages. The dialog only edits its
// controls and notes per group whether the user changed it; the main window
// fills it from the settings before showing it and writes back the changed
// groups after OK (OptionenTransfer.h). The favourite folders are kept here,
// and the further packers are edited through a function the caller hands in.

#include <functional>
#include <string>

#include "DialogBasis.h"
#include "DateienBearbeitenDlg.h"
#include "foundation/EineDatei.h"
#include "foundation/controls/NumSpin.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Edits.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/PageControl.h"

namespace velmora {

// One flag per option group: set by the user's changes, cleared by each showing.
struct TOptionenGeaendert {
    bool Hauptfenster = false;
    bool Dateiliste = false;
    bool Spalten = false;
    bool Sucherg = false;
    bool ArcView = false;
    bool Bestaetigungen = false;
    bool Archiv = false;
    bool WeiterePacker = false;
    bool ArcDragDrop = false;
    bool Sonstiges = false;
};

class TOptionenDlg : public TPositionsDialog {
public:
    // Shows the packer dialog over the settings and, on its OK, has written its
    // values there; true then.
    using TWeiterePacker = std::function<bool()>;
    TOptionenDlg(gui::TComponent* Owner, TWeiterePacker WeiterePacker);

    gui::TPageControl Seiten;
    gui::TTabSheet SeiteAnsicht, SeiteDateiliste, SeiteArchivviewer, SeiteBestaetigungen, SeiteArchiv, SeiteArcDrop,
        SeiteSonstiges;

    gui::TGroupBox GroupBox1, GroupBox2;
    gui::TCheckBox SymbolleisteAnzeigen, DOSZeileAnzeigen, FTastenAnzeigen, StatuszeileAnzeigen;
    gui::TCheckBox SuchergSimpleIcons, CheckArchive;

    gui::TLabel Label1, Label2, Label3;
    gui::TComboBox DLDateiSchreibweise, DLVSchreibweise;
    gui::TGroupBox GroupBox3, GroupBox4, GroupBox5, GroupBox6;
    gui::TCheckBox DLVEinfassen;
    gui::TEdit DLVEinfZeichen;
    gui::TCheckBox IconsAnzeigen, DLStandardIcons, DLStatuszeile, ADLStatuszeile;
    gui::TCheckBox ADLDOSNameAnzeigen, ADLAttrAnzeigen, ADLDatumAnzeigen, ADLTypAnzeigen, ADLGroesseAnzeigen;

    gui::TLabel Label4, Label5, Label6;
    gui::TComboBox AVDateiSchreibweise, AVVSchreibweise;
    gui::TCheckBox AVVEinfassen;
    gui::TEdit AVVEinfZeichen;
    gui::TCheckBox AVIconsAnzeigen, AVStandardIcons, AVStatuszeile;

    gui::TGroupBox GroupBox7, GroupBox8;
    gui::TCheckBox OeffnenMitParametern, AuswahlDlgVorLoeschen, Loeschabfrage, NichtAlleUeberschreiben;
    gui::TCheckBox KopierDlgZeigen, VerschiebDlgZeigen, LinkDlgZeigen, ArcDlgZeigen;

    gui::TCheckBox UseTempFile;
    gui::TLabel Label7;
    gui::TEdit StoredExtensions;
    gui::TCheckBox AskBeforeOpen, ExtraNachfragen, ExternePackerImHintergrund, ShowOnDoubleClick;
    gui::TGroupBox GroupBox9;
    gui::TLabel Label8, Label9, Label10;
    gui::TEdit ZipPath, UnZipPath, Zip2ExePath;
    gui::TButton PkZipSuchenBtn, PkUnZipSuchenBtn, Zip2ExeSuchenBtn;
    gui::TCheckBox UseInternZip, UseInternUnZip;
    gui::TButton Button1;

    gui::TRadioGroup DropPfadangaben;
    gui::TCheckBox VerschiebenBestaetigen;
    gui::TGroupBox GroupBox10;
    gui::TCheckBox NurWennAktueller, NurWennAktuellerUndVorhanden, PfadeSpeichern, Unterverzeichnisse,
        DosDateiNamenBenutzen;
    gui::TLabel Label11;
    gui::TComboBox Methode;

    gui::TRadioGroup LoeschGroup;
    gui::TLabel Label12;
    gui::TEdit Editor;
    gui::TButton EditorSuchenBtn;
    gui::TCheckBox ClearLists;
    gui::TGroupBox GroupBox11;
    gui::TEdit Lieblingsverzeichnisse;
    gui::TButton BitBtn1, OrdnerSuchenBtn;
    gui::TLabel Label13;
    TNumSpinEdit WeitereMRUEintraege;
    gui::TCheckBox AktPfadSichern;

    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    TOptionenGeaendert Geaendert;

    // The favourite folders: one folder record per string.
    void SetLieblingsverzeichnisse(const TStringList& Folders);
    // The listed folders that exist, without a trailing "\".
    void GetLieblingsverzeichnisse(TStringList& Folders) const;
    // The folder browser; tests put a stand-in here.
    std::function<bool(std::wstring& Folder)> OrdnerWaehlen;

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void SuchenBtnClick(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void LieblingsverzeichnisseExit(gui::TObject* Sender);
    void LieblingsverzeichnisseKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);

private:
    void Abhaengige();
    void OrdnerfeldZeigen();
    void OrdnerGeaendert();
    bool Pruefen();
    bool Fehler(gui::TWinControl& Control, const std::wstring& Text);

    TWeiterePacker m_weiterePacker;
    TDateiListe m_ordner;
    TDateienBearbeitenDlg* m_editor = nullptr;
    bool m_ok = false;
    bool m_fuellt = false;
};

// " zip; *.ARJ ; .lzh" as ".zip;.ARJ;.lzh"; false when a piece is longer than three characters.
bool NormalisiereEndungen(const std::wstring& Text, std::wstring& Result);

}  // namespace velmora
