#pragma once
// The small dialogs of the archive commands: the name clash and the password
// questions asked while extracting, the entries to delete (or test), the
// properties of one entry and the path handling of entries dragged out.

#include <string>

#include "ArcDialogBasis.h"
#include "ExtractArcDlg.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"

namespace velmora::archive {

class TZipReplaceDlg : public TPositionsDialog {
public:
    explicit TZipReplaceDlg(gui::TComponent* Owner);

    TFileLabel FileLabel;
    gui::TLabel Label1, Label2, NeuerNameLabel;
    gui::TRadioGroup RadioGroup1;
    gui::TEdit NeuerName;
    gui::TButton OKBtn, CancelBtn;
    // Set by the caller before showing.
    bool NeuerNameErlaubt = true;
    bool AbbrechenErlaubt = true;

    void FormShow(gui::TObject* Sender);
    void RadioGroup1Click(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

private:
    bool m_ok = false;
    int m_vorher = 0;
};

class TArcPassWortEingebenDlg : public TPositionsDialog {
public:
    explicit TArcPassWortEingebenDlg(gui::TComponent* Owner);

    gui::TLabel Label1, Label2, Label3;
    TFileLabel FileNameLabel;
    gui::TEdit Passwort;
    // Results 1 (OK), 2 (skip this entry) and 3 (skip every encrypted entry).
    gui::TButton OKBtn, UebergehenBtn, AlleBtn;

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

private:
    bool m_ok = false;
};

class TDeleteFromArcDlg : public TPositionsDialog {
public:
    TDeleteFromArcDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Ueberschrift, ArchivLabel, ListLabel;
    TFileLabel FileLabel;
    gui::TEdit Dateien;
    gui::TButton BitBtn1, DateiSuchenBtn2, OKBtn, CancelBtn, Button1;
    // The heading of the list editor, set by the caller.
    std::wstring ListLabelText = L"Folgende Dateien sollen aus dem Archiv gelöscht werden:";

    // Heading, list label, caption, editor heading and help context of a
    // command (the delete command's are set at creation).
    void SetTexte(const std::wstring& Kopf, const std::wstring& Label, const std::wstring& Titel,
                  const std::wstring& Editor, int Hilfe);
    // The caller owns the list; FileLabel's file must be set before.
    void SetDateiliste(TDateiListe* Liste);
    TDateiListe* Dateiliste() const { return m_eintraege.Liste(); }
    TArchivInhaltDlg* InhaltDlg();

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void DateienExit(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void DateienKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);

private:
    const TDateiDialogKontext& m_kontext;
    TEintragsFeld m_eintraege;
    TDateienBearbeitenDlg* m_editor = nullptr;
    TArchivInhaltDlg* m_inhalt = nullptr;
    bool m_ok = false;
};

class TZippedFileEigenschaftenDlg : public TPositionsDialog {
public:
    explicit TZippedFileEigenschaftenDlg(gui::TComponent* Owner);

    gui::TLabel ArchivNameLabel, DateiNameLabel, DateitypLabel, OriginalgroesseLabel, PackedSizeLabel, DatumLabel,
        ArchivgroesseLabel, ArcPackedSizeLabel, AnzahlDateienLabel, DateikommentarLabel, ArchivkommentarLabel;
    TFileLabel ArchivName, DateiName;
    gui::TLabel Dateityp, Originalgroesse, PackedSize, Datum, Archivgroesse, ArcPackedSize, AnzahlDateien;
    gui::TMemo Dateikommentar, Archivkommentar;
    gui::TButton OKBtn, CancelBtn;

    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
};

class TDropArcPfadeDlg : public TPositionsDialog {
public:
    explicit TDropArcPfadeDlg(gui::TComponent* Owner);

    gui::TLabel Label1;
    gui::TRadioGroup DropPfadangaben;
    gui::TButton OKBtn, CancelBtn;
};

}  // namespace velmora::archive
