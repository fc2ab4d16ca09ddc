#include "ArcKleineDialoge.h"

#include <windows.h>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

using namespace gui;

// ---- Name clash ---------------------------------------------------------------

TZipReplaceDlg::TZipReplaceDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), FileLabel(this), Label1(this), Label2(this), NeuerNameLabel(this),
      RadioGroup1(this), NeuerName(this), OKBtn(this), CancelBtn(this) {
    SetCaption(L"Bestätigen");
    TDialogLayout lay(*this);
    lay.Place(FileLabel, 6, 6, 228, 9);
    Label1.SetCaption(L"Datei existiert bereits im Zielverzeichnis");
    lay.Place(Label1, 6, 17, 228, 9);
    Label2.SetCaption(L"Was wollen Sie nun tun?");
    lay.Place(Label2, 6, 30, 228, 9);
    RadioGroup1.SetCaption(L"Aktion");
    RadioGroup1.SetItems(TStringList{L"Datei &überspringen", L"Existierende Datei &ersetzen",
                                     L"&Diese und alle folgenden Dateien überspringen",
                                     L"Diese und &alle folgenden Dateien ersetzen", L"&Mit anderem Namen extrahieren"});
    lay.Place(RadioGroup1, 6, 42, 228, 80);
    NeuerNameLabel.SetCaption(L"&Neuer Name:");
    NeuerNameLabel.SetFocusControl(&NeuerName);
    lay.Place(NeuerNameLabel, 6, 130, 50, 9);
    lay.Place(NeuerName, 58, 128, 176, 12);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(130, 148, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 240, 168);
    RadioGroup1.SetItemIndex(0);
    OnShow = bind(this, &TZipReplaceDlg::FormShow);
    OnClose = bind(this, &TZipReplaceDlg::FormClose);
    OKBtn.OnClick = bind(this, &TZipReplaceDlg::OKBtnClick);
    RadioGroup1.OnClick = bind(this, &TZipReplaceDlg::RadioGroup1Click);
}

void TZipReplaceDlg::FormShow(TObject*) {
    if (!NeuerNameErlaubt && RadioGroup1.ItemIndex() == 4) RadioGroup1.SetItemIndex(0);
    m_vorher = std::max(0, RadioGroup1.ItemIndex());
    RadioGroup1Click(this);
    CancelBtn.SetEnabled(AbbrechenErlaubt);
    m_ok = false;
}

void TZipReplaceDlg::RadioGroup1Click(TObject*) {
    if (RadioGroup1.ItemIndex() == 4 && !NeuerNameErlaubt) {
        MessageBeep(0);
        RadioGroup1.SetItemIndex(m_vorher);
        return;
    }
    m_vorher = std::max(0, RadioGroup1.ItemIndex());
    const bool neu = RadioGroup1.ItemIndex() == 4;
    NeuerName.SetEnabled(neu);
    NeuerNameLabel.SetEnabled(neu);
}

void TZipReplaceDlg::OKBtnClick(TObject*) { m_ok = true; }

void TZipReplaceDlg::FormClose(TObject*, TCloseAction& Action) {
    if (m_ok && RadioGroup1.ItemIndex() == 4) {
        const std::wstring neu = SystemLower(Trim(NeuerName.Text()));
        const std::wstring alt = SystemLower(FileLabel.FileName());
        // The old name, whole or as the bare name in its folder, is no new name.
        if (neu == alt || neu == SystemLower(ExtractFileName(alt))) {
            MessageDlg(L"Der neue Name für die zu extrahierende Datei muß anders lauten als der Originalname!",
                       TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            m_ok = false;
            Action = TCloseAction::caNone;
            NeuerName.SetFocus();
            return;
        }
    }
    if (!m_ok && !AbbrechenErlaubt) {
        MessageBeep(0);
        Action = TCloseAction::caNone;
    }
}

// ---- Password -----------------------------------------------------------------

TArcPassWortEingebenDlg::TArcPassWortEingebenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), Label1(this), Label2(this), Label3(this), FileNameLabel(this), Passwort(this),
      OKBtn(this), UebergehenBtn(this), AlleBtn(this) {
    SetCaption(L"Datei ist verschlüsselt");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Die Datei");
    lay.Place(Label1, 6, 6, 210, 9);
    lay.Place(FileNameLabel, 6, 17, 210, 9);
    Label2.SetCaption(L"ist verschlüsselt!");
    lay.Place(Label2, 6, 28, 210, 9);
    Label3.SetCaption(L"Bitte geben Sie das Paßwort für diese Datei ein:");
    Label3.SetFocusControl(&Passwort);
    lay.Place(Label3, 6, 44, 210, 9);
    Passwort.PasswordChar = L'*';
    lay.Place(Passwort, 6, 55, 210, 12);
    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    OKBtn.ModalResult = 1;
    UebergehenBtn.SetCaption(L"&Übergehen");
    UebergehenBtn.Cancel = true;
    UebergehenBtn.ModalResult = 2;
    AlleBtn.SetCaption(L"&Alle übergehen");
    AlleBtn.ModalResult = 3;
    lay.Row(6, 74, 14, {{&OKBtn, 66}, {&UebergehenBtn, 66}, {&AlleBtn, 70}});
    lay.SetClientSize(*this, 222, 94);
    SetHelpContextAll(62);
    OnShow = bind(this, &TArcPassWortEingebenDlg::FormShow);
    OnClose = bind(this, &TArcPassWortEingebenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TArcPassWortEingebenDlg::OKBtnClick);
}

void TArcPassWortEingebenDlg::FormShow(TObject*) { m_ok = false; }

void TArcPassWortEingebenDlg::OKBtnClick(TObject*) { m_ok = true; }

void TArcPassWortEingebenDlg::FormClose(TObject*, TCloseAction& Action) {
    if (m_ok && Passwort.Text().empty()) {
        MessageDlg(L"Bitte geben Sie ein Passwort ein oder wählen Sie einen Übergehen-Button!", TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbOK});
        m_ok = false;
        Action = TCloseAction::caNone;
        Passwort.SetFocus();
    }
}

// ---- Entries to delete --------------------------------------------------------

TDeleteFromArcDlg::TDeleteFromArcDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"DelFromArc"), Ueberschrift(this), ArchivLabel(this), ListLabel(this), FileLabel(this),
      Dateien(this), BitBtn1(this), DateiSuchenBtn2(this), OKBtn(this), CancelBtn(this), Button1(this),
      m_kontext(Kontext),
      m_eintraege(Dateien, BitBtn1, [](size_t n) { return L"(" + std::to_wstring(n) + L" Dateien ausgewählt)"; }) {
    TDialogLayout lay(*this);
    lay.Place(Ueberschrift, 6, 6, 240, 9);
    ArchivLabel.SetCaption(L"Archiv:");
    lay.Place(ArchivLabel, 6, 20, 40, 9);
    lay.Place(FileLabel, 48, 20, 198, 9);
    ListLabel.SetFocusControl(&Dateien);
    lay.Place(ListLabel, 6, 36, 40, 9);
    lay.Place(Dateien, 48, 34, 198, 12);
    BitBtn1.SetCaption(L"&Liste...");
    DateiSuchenBtn2.SetCaption(L"Aus&wählen...");
    lay.Row(112, 50, 14, {{&BitBtn1, 64}, {&DateiSuchenBtn2, 66}});
    SetUpButtons(OKBtn, CancelBtn, Button1);
    lay.Row(92, 72, 14, {{&OKBtn, 48}, {&CancelBtn, 48}, {&Button1, 48}});
    lay.SetClientSize(*this, 252, 92);
    SetTexte(L"Parameter für Löschaktion", L"&Löschen", L"Aus Archiv löschen",
             L"Folgende Dateien sollen aus dem Archiv gelöscht werden:", 14);
    OnShow = bind(this, &TDeleteFromArcDlg::FormShow);
    OnClose = bind(this, &TDeleteFromArcDlg::FormClose);
    Dateien.OnExit = bind(this, &TDeleteFromArcDlg::DateienExit);
    Dateien.OnKeyUp = bind(this, &TDeleteFromArcDlg::DateienKeyUp);
    OKBtn.OnClick = bind(this, &TDeleteFromArcDlg::OKBtnClick);
    BitBtn1.OnClick = bind(this, &TDeleteFromArcDlg::BitBtn1Click);
    DateiSuchenBtn2.OnClick = bind(this, &TDeleteFromArcDlg::DateiSuchenBtn2Click);
}

void TDeleteFromArcDlg::SetTexte(const std::wstring& Kopf, const std::wstring& Label, const std::wstring& Titel,
                                 const std::wstring& Editor, int Hilfe) {
    Ueberschrift.SetCaption(Kopf);
    ListLabel.SetCaption(Label);
    SetCaption(Titel);
    ListLabelText = Editor;
    SetHelpContextAll(Hilfe);
}

void TDeleteFromArcDlg::SetDateiliste(TDateiListe* Liste) {
    m_eintraege.SetListe(Liste);
    m_eintraege.Archiv = FileLabel.FileName();
    m_eintraege.Anzeigen();
}

TArchivInhaltDlg* TDeleteFromArcDlg::InhaltDlg() {
    if (!m_inhalt) m_inhalt = Create<TArchivInhaltDlg>(this, m_kontext);
    return m_inhalt;
}

void TDeleteFromArcDlg::FormShow(TObject*) {
    m_ok = false;
    m_eintraege.Archiv = FileLabel.FileName();
}

void TDeleteFromArcDlg::FormClose(TObject*, TCloseAction&) { m_ok = false; }

void TDeleteFromArcDlg::DateienExit(TObject*) {
    if (Visible()) m_eintraege.Uebernehmen();
}

void TDeleteFromArcDlg::OKBtnClick(TObject*) {
    m_eintraege.Uebernehmen();
    m_ok = true;
}

void TDeleteFromArcDlg::DateienKeyUp(TObject*, WORD& Key, TShiftState Shift) { m_eintraege.KeyUp(Key, Shift); }

void TDeleteFromArcDlg::BitBtn1Click(TObject*) {
    if (!m_editor) m_editor = Create<TDateienBearbeitenDlg>(this);
    m_eintraege.Archiv = FileLabel.FileName();
    m_eintraege.Bearbeiten(*m_editor, ListLabelText);
}

void TDeleteFromArcDlg::DateiSuchenBtn2Click(TObject*) {
    Fehlercode = fc::DeleteFromArcDlgEintraege;
    const std::wstring archive = Trim(FileLabel.FileName());
    std::uint8_t kind = 0;
    if (archive.empty() || !FileExists(archive) || !m_kontext.ZipRoutinen ||
        !m_kontext.ZipRoutinen->GetArchiveType(archive, kind)) {
        Fehlercode = 0;
        return;
    }
    TArchivInhaltDlg* inhalt = InhaltDlg();
    inhalt->SetArchivName(archive);
    if (inhalt->ShowModal() == mrOk) {
        TStringList chosen;
        inhalt->AuswahlHolen(chosen);
        m_eintraege.Archiv = archive;
        m_eintraege.Ersetzen(chosen);
    }
    Fehlercode = 0;
}

// ---- Entry properties ---------------------------------------------------------

TZippedFileEigenschaftenDlg::TZippedFileEigenschaftenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"ZipProp"), ArchivNameLabel(this), DateiNameLabel(this), DateitypLabel(this),
      OriginalgroesseLabel(this), PackedSizeLabel(this), DatumLabel(this), ArchivgroesseLabel(this),
      ArcPackedSizeLabel(this), AnzahlDateienLabel(this), DateikommentarLabel(this), ArchivkommentarLabel(this),
      ArchivName(this), DateiName(this), Dateityp(this), Originalgroesse(this), PackedSize(this), Datum(this),
      Archivgroesse(this), ArcPackedSize(this), AnzahlDateien(this), Dateikommentar(this), Archivkommentar(this),
      OKBtn(this), CancelBtn(this) {
    SetCaption(L"Eigenschaften einer gepackten Datei");
    TDialogLayout lay(*this);
    struct TZeile {
        TLabel* Label;
        const wchar_t* Text;
        TControl* Wert;
    };
    const TZeile zeilen[] = {
        {&ArchivNameLabel, L"Archiviert in:", &ArchivName},
        {&DateiNameLabel, L"Dateiname:", &DateiName},
        {&DateitypLabel, L"Dateityp:", &Dateityp},
        {&OriginalgroesseLabel, L"Originalgröße:", &Originalgroesse},
        {&PackedSizeLabel, L"Gepackt auf:", &PackedSize},
        {&DatumLabel, L"Datum:", &Datum},
        {&ArchivgroesseLabel, L"Archivgesamtgröße:", &Archivgroesse},
        {&ArcPackedSizeLabel, L"Archiv gepackt auf:", &ArcPackedSize},
        {&AnzahlDateienLabel, L"Anzahl Dateien im Archiv:", &AnzahlDateien},
    };
    int y = 6;
    for (const TZeile& zeile : zeilen) {
        zeile.Label->SetCaption(zeile.Text);
        lay.Place(*zeile.Label, 6, y, 90, 9);
        lay.Place(*zeile.Wert, 98, y, 150, 9);
        y += zeile.Label == &DatumLabel || zeile.Label == &DateiNameLabel ? 16 : 11;
    }
    DateikommentarLabel.SetCaption(L"Dateikommentar:");
    lay.Place(DateikommentarLabel, 6, y + 4, 120, 9);
    lay.Place(Dateikommentar, 6, y + 14, 242, 30);
    ArchivkommentarLabel.SetCaption(L"Archivkommentar:");
    lay.Place(ArchivkommentarLabel, 6, y + 48, 120, 9);
    lay.Place(Archivkommentar, 6, y + 58, 242, 30);
    for (TMemo* memo : {&Dateikommentar, &Archivkommentar}) {
        memo->SetReadOnly(true);
        memo->ScrollBars = TMemo::TScrollStyle::ssVertical;
    }
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(146, y + 94, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 254, y + 114);
    OnClose = bind(this, &TZippedFileEigenschaftenDlg::FormClose);
}

void TZippedFileEigenschaftenDlg::FormClose(TObject*, TCloseAction&) {
    Dateikommentar.SetLines(TStringList{});
    Archivkommentar.SetLines(TStringList{});
}

// ---- Paths of dragged entries -------------------------------------------------

TDropArcPfadeDlg::TDropArcPfadeDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), Label1(this), DropPfadangaben(this), OKBtn(this), CancelBtn(this) {
    SetCaption(L"Pfadangaben komprimierter Dateien");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Pfadangaben beim dekomprimieren gedropter Dateien");
    lay.Place(Label1, 6, 6, 200, 9);
    DropPfadangaben.SetItems(TStringList{L"&Gespeicherte Pfade ignorieren", L"&Relative Pfade verwenden",
                                         L"&Vollständige Pfade verwenden"});
    DropPfadangaben.SetItemIndex(1);
    lay.Place(DropPfadangaben, 6, 18, 200, 54);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(104, 78, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 212, 98);
    SetHelpContextAll(18);
}

}  // namespace velmora::archive
