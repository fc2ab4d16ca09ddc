#include "VerknuepfDlg.h"

#include <algorithm>

#include "FileToolsCodes.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/IconRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

std::wstring Lower(std::wstring s) {
    if (!s.empty()) CharLowerBuffW(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

bool GleichOhneGross(const std::wstring& a, const std::wstring& b) { return Lower(a) == Lower(b); }

// The shell is asked for the icon of a made-up name; it needs no such file.
const wchar_t* const kIconName = L"dummy.";

}  // namespace

std::vector<TVerknuepfungsZeile> VerknuepfungsZeilen(const std::vector<TEinDateityp>& Typen) {
    std::vector<TVerknuepfungsZeile> zeilen;
    zeilen.reserve(Typen.size());
    for (const TEinDateityp& typ : Typen)
        zeilen.push_back({typ.Beschreibung, typ.Erweiterung, Lower(typ.Befehl), typ.Erweiterung});
    std::stable_sort(zeilen.begin(), zeilen.end(), [](const TVerknuepfungsZeile& a, const TVerknuepfungsZeile& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, 0, a.Beschreibung.c_str(), static_cast<int>(a.Beschreibung.size()),
                              b.Beschreibung.c_str(), static_cast<int>(b.Beschreibung.size())) == CSTR_LESS_THAN;
    });
    for (size_t i = zeilen.size(); i-- > 1;) {
        TVerknuepfungsZeile& vorige = zeilen[i - 1];
        if (vorige.Beschreibung != zeilen[i].Beschreibung || vorige.Befehl != zeilen[i].Befehl) continue;
        vorige.Endungen += L"; " + zeilen[i].Endungen;
        zeilen.erase(zeilen.begin() + static_cast<std::ptrdiff_t>(i));
    }
    return zeilen;
}

bool GehoertZu(const TEinDateityp& Typ, const TVerknuepfungsZeile& Zeile) {
    return Typ.Beschreibung == Zeile.Beschreibung && Lower(Typ.Befehl) == Zeile.Befehl;
}

std::wstring BereitsVerknuepftText(const std::wstring& Kopf, const TEinDateityp& Typ) {
    const std::wstring endung = Typ.Schluessel.size() > 1 ? Typ.Schluessel.substr(1) : Typ.Erweiterung;
    return Kopf + L"\rEndung: " + endung + L"\rBeschreibung: " + Typ.Beschreibung + L"\rÖffnen mit: " +
           Lower(Typ.Befehl);
}

namespace {

// The registration an extension already has: its own key, case aside.
const TEinDateityp* RegistriertIn(const std::vector<TEinDateityp>& Typen, const std::wstring& Endung) {
    for (const TEinDateityp& typ : Typen)
        if (GleichOhneGross(typ.Schluessel, L"." + Endung)) return &typ;
    return nullptr;
}

TDateiWahl OeffnenDialog(TComponent* Owner) {
    return [Owner](const std::wstring& Start, std::wstring& Datei) {
        TOpenDialog dialog(Owner);
        dialog.Filter = L"Alle Dateien (*.*)|*.*|Anwendungen|*.exe";
        dialog.FileName = Start;
        if (!dialog.Execute()) return false;
        Datei = dialog.FileName;
        return true;
    };
}

}  // namespace

// ---- New association

TNeueDokVerknuepfungDlg::TNeueDokVerknuepfungDlg(TComponent* Owner, const std::vector<TEinDateityp>& Typen)
    : TPositionsDialog(Owner, L"NeueDokVerkn"), CaptionLabel(this), Label1(this), Label2(this), Label3(this),
      Endung(this), Beschreibung(this), OeffnenMit(this), DateiSuchenBtn2(this), OKBtn(this), CancelBtn(this),
      HilfeBtn(this), m_typen(Typen) {
    SetCaption(L"Neue Dokumentverknüpfung");
    TDialogLayout lay(*this);
    CaptionLabel.SetCaption(L"Eigenschaften der neuen Verknüpfung");
    lay.Place(CaptionLabel, 6, 6, 200, 9);
    Label1.SetCaption(L"&Endung:");
    Label1.SetFocusControl(&Endung);
    lay.Place(Label1, 6, 22, 60, 9);
    lay.Place(Endung, 70, 20, 50, 12);
    Label2.SetCaption(L"&Beschreibung:");
    Label2.SetFocusControl(&Beschreibung);
    lay.Place(Label2, 6, 38, 60, 9);
    lay.Place(Beschreibung, 70, 36, 170, 12);
    Label3.SetCaption(L"&Öffnen mit:");
    Label3.SetFocusControl(&OeffnenMit);
    lay.Place(Label3, 6, 54, 60, 9);
    lay.Place(OeffnenMit, 70, 52, 150, 12);
    DateiSuchenBtn2.SetCaption(L"...");
    lay.Place(DateiSuchenBtn2, 224, 52, 16, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(84, 74, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 246, 94);
    SetHelpContextAll(51);
    DateiWaehlen = OeffnenDialog(this);
    OnShow = bind(this, &TNeueDokVerknuepfungDlg::FormShow);
    OnClose = bind(this, &TNeueDokVerknuepfungDlg::FormClose);
    OKBtn.OnClick = bind(this, &TNeueDokVerknuepfungDlg::OKBtnClick);
    DateiSuchenBtn2.OnClick = bind(this, &TNeueDokVerknuepfungDlg::DateiSuchenBtn2Click);
}

std::wstring TNeueDokVerknuepfungDlg::NeueEndung() const {
    std::wstring endung;
    EndungPruefen(Endung.Text(), endung);
    return endung;
}

void TNeueDokVerknuepfungDlg::FormShow(TObject*) { m_ok = false; }

void TNeueDokVerknuepfungDlg::OKBtnClick(TObject*) { m_ok = true; }

void TNeueDokVerknuepfungDlg::DateiSuchenBtn2Click(TObject*) {
    std::wstring datei;
    if (DateiWaehlen && DateiWaehlen(OeffnenMit.Text(), datei) && !datei.empty()) OeffnenMit.SetText(datei);
}

void TNeueDokVerknuepfungDlg::FormClose(TObject*, TCloseAction& Action) {
    if (!m_ok) return;
    m_ok = false;
    Fehlercode = fc::VerknuepfNeu;
    auto bleiben = [&](TWinControl& feld) {
        feld.SetFocus();
        Action = TCloseAction::caNone;
    };
    std::wstring endung;
    if (Endung.Text().empty() || Beschreibung.Text().empty() || OeffnenMit.Text().empty()) {
        MessageDlg(L"Sie haben noch nicht alle notwendigen Angaben gemacht.", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK},
                   86);
        bleiben(Endung.Text().empty() ? Endung : Beschreibung.Text().empty() ? Beschreibung : OeffnenMit);
    } else if (!EndungPruefen(Endung.Text(), endung)) {
        MessageDlg(EndungUngueltigText, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        bleiben(Endung);
    } else if (!FileExists(OeffnenMit.Text())) {
        MessageDlg(L"Die Datei, mit der die Dokumente geöffnet werden sollen, existeirt nicht.\rBitte überprüfen Sie "
                   L"Ihre Eingabe.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        bleiben(OeffnenMit);
    } else if (const TEinDateityp* typ = RegistriertIn(m_typen, endung)) {
        MessageDlg(BereitsVerknuepftText(L"Zu diesem Dateityp besteht bereits eine Verknüpfung:", *typ),
                   TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        bleiben(Endung);
    }
    Fehlercode = 0;
}

// ---- Delete choice

TVerknuepfungLoeschenDlg::TVerknuepfungLoeschenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), CaptionLabel(this), Frage(this), EndungBtn(this), TypBtn(this) {
    SetCaption(L"Verknüpfung löschen");
    TDialogLayout lay(*this);
    CaptionLabel.SetCaption(L"Löschvorgang bestätigen");
    lay.Place(CaptionLabel, 6, 6, 220, 9);
    lay.Place(Frage, 6, 20, 220, 40);
    EndungBtn.SetCaption(L"Nur die &Endung");
    EndungBtn.ModalResult = mrYes;
    EndungBtn.Default = true;
    TypBtn.SetCaption(L"Den ganzen &Dokumenttyp");
    TypBtn.ModalResult = mrNo;
    lay.Row(46, 66, 14, {{&EndungBtn, 80}, {&TypBtn, 96}});
    lay.SetClientSize(*this, 232, 86);
}

// ---- The editor

bool TEndungenBox::CNCommand(WORD code) {
    m_auswahl = code == CBN_SELCHANGE;
    return TComboBox::CNCommand(code);
}

std::wstring TEndungenBox::AktuellerText() const {
    const int index = ItemIndex();
    if (m_auswahl && index >= 0 && index < Items().Count()) return Items()[index];
    return Text();
}

TVerknuepfungsDlg::TVerknuepfungsDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"Verknuepf"), Label1(this), Label2(this), Label3(this), Endungen(this),
      VerknuepftesProgramm(this), ListView(this), ListViewPopup(this), EndungHinzu(this), BeschreibungAendern(this),
      VerknuepfungAendern(this), NeuBtn(this), LoeschenBtn(this), SchliessenBtn(this), HilfeBtn(this),
      m_icons(this) {
    SetCaption(L"Dokumentverknüpfungen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Endung:");
    Label1.SetFocusControl(&Endungen);
    lay.Place(Label1, 6, 8, 32, 9);
    lay.Place(Endungen, 40, 6, 60, 12);
    Label2.SetCaption(L"Verknüpft mit:");
    lay.Place(Label2, 110, 8, 50, 9);
    lay.Place(VerknuepftesProgramm, 162, 8, 186, 9);
    Label3.SetCaption(L"Registrierte Dokumenttypen");
    Label3.SetFocusControl(&ListView);
    lay.Place(Label3, 6, 24, 200, 9);
    ListView.SetViewStyle(TViewStyle::vsReport);
    ListView.AddColumn({L"Beschreibung", 270});
    ListView.AddColumn({L"Alle Endungen", 175});
    lay.Place(ListView, 6, 35, 342, 140);
    EndungHinzu.SetCaption(L"&Endung hinzufügen");
    BeschreibungAendern.SetCaption(L"&Beschreibung ändern");
    VerknuepfungAendern.SetCaption(L"&Verknüpfung ändern");
    ListViewPopup.Items().Add(&EndungHinzu);
    ListViewPopup.Items().Add(&BeschreibungAendern);
    ListViewPopup.Items().Add(&VerknuepfungAendern);
    ListView.PopupMenu = &ListViewPopup;
    NeuBtn.SetCaption(L"&Neu");
    LoeschenBtn.SetCaption(L"&Löschen");
    SchliessenBtn.SetCaption(L"Schließen");
    SchliessenBtn.ModalResult = mrOk;
    SchliessenBtn.Cancel = true;
    HilfeBtn.SetCaption(L"&Hilfe");
    HilfeBtn.OnClick = [this](TObject*) { Application->HelpContext(HelpContext); };
    lay.Row(132, 180, 14, {{&NeuBtn, 50}, {&LoeschenBtn, 50}, {&SchliessenBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 354, 200);
    SetHelpContextAll(52);
    m_neuDlg = Create<TNeueDokVerknuepfungDlg>(this, m_typen);
    m_loeschDlg = Create<TVerknuepfungLoeschenDlg>(this);
    m_eingabe = Create<TNeuerDateiTypDlg>(this);
    DateiWaehlen = OeffnenDialog(this);
    OnShow = bind(this, &TVerknuepfungsDlg::FormShow);
    OnDestroy = bind(this, &TVerknuepfungsDlg::FormDestroy);
    ListView.OnChange = bind(this, &TVerknuepfungsDlg::ListViewChange);
    Endungen.OnChange = bind(this, &TVerknuepfungsDlg::EndungenChange);
    ListViewPopup.OnPopup = bind(this, &TVerknuepfungsDlg::ListViewPopupPopup);
    NeuBtn.OnClick = bind(this, &TVerknuepfungsDlg::NeuBtnClick);
    LoeschenBtn.OnClick = bind(this, &TVerknuepfungsDlg::LoeschenBtnClick);
    EndungHinzu.OnClick = bind(this, &TVerknuepfungsDlg::EndungHinzuClick);
    BeschreibungAendern.OnClick = bind(this, &TVerknuepfungsDlg::BeschreibungAendernClick);
    VerknuepfungAendern.OnClick = bind(this, &TVerknuepfungsDlg::VerknuepfungAendernClick);
}

void TVerknuepfungsDlg::FormShow(TObject*) {
    if (m_ersteAnzeige) {
        m_ersteAnzeige = false;
        const std::vector<int> breiten = ReadColumnWidths(L"VerknuepfDlgColumns");
        if (breiten.size() == 2)
            for (int i = 0; i < 2; ++i)
                SendMessageW(ListView.Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                             static_cast<LPARAM>(breiten[static_cast<size_t>(i)]));
        if (IconRoutinen) {
            m_icons.SetHandle(IconRoutinen->SmallImages, true);
            ListView.SmallImages = &m_icons;
            // The list takes its images when its window is made: this one exists.
            SendMessageW(ListView.Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                         reinterpret_cast<LPARAM>(IconRoutinen->SmallImages));
        }
    }
    ListeFuellen();
}

void TVerknuepfungsDlg::FormDestroy(TObject*) {
    if (!m_ersteAnzeige && ListView.HandleAllocated())
        WriteColumnWidths(L"VerknuepfDlgColumns", {ListView.ColumnWidth(0), ListView.ColumnWidth(1)});
}

void TVerknuepfungsDlg::ListeFuellen() {
    Fehlercode = fc::VerknuepfListeFuellen;
    THourGlass hourglass;
    ListView.Clear();
    Endungen.ClearItems();
    m_typen.clear();
    GetFileTypes(m_typen);
    TStringList endungen;
    for (const TEinDateityp& typ : m_typen) endungen.Add(typ.Erweiterung);
    Endungen.SetItems(endungen);
    m_zeilen = VerknuepfungsZeilen(m_typen);
    ListView.Reserve(static_cast<int>(m_zeilen.size()));
    for (TVerknuepfungsZeile& zeile : m_zeilen) {
        TListItem* item = ListView.AddItem(zeile.Beschreibung, &zeile);
        item->AddSubItem(zeile.Endungen);
        if (IconRoutinen)
            item->SetImageIndex(IconRoutinen->GetSystemIconIndex(kIconName + zeile.ErsteEndung, FILE_ATTRIBUTE_NORMAL));
    }
    Endungen.SetText(L"");
    VerknuepftesProgramm.SetFileName(L"");
    Fehlercode = 0;
}

const TVerknuepfungsZeile* TVerknuepfungsDlg::GewaehlteZeile() const {
    TListItem* item = ListView.Selected();
    return item ? static_cast<const TVerknuepfungsZeile*>(item->Data) : nullptr;
}

const TEinDateityp* TVerknuepfungsDlg::ErsterEintrag(const TVerknuepfungsZeile& Zeile) const {
    for (const TEinDateityp& typ : m_typen)
        if (GehoertZu(typ, Zeile)) return &typ;
    return nullptr;
}

const TEinDateityp* TVerknuepfungsDlg::Registriert(const std::wstring& Endung) const {
    return RegistriertIn(m_typen, Endung);
}

void TVerknuepfungsDlg::ListViewChange(TObject*, TListItem*) {
    const TVerknuepfungsZeile* zeile = GewaehlteZeile();
    VerknuepftesProgramm.SetFileName(zeile ? zeile->Befehl : L"");
}

void TVerknuepfungsDlg::EndungenChange(TObject*) {
    const std::wstring text = Lower(Endungen.AktuellerText());
    if (text.empty() || ListView.Count() == 0) return;
    for (const TEinDateityp& typ : m_typen) {
        if (typ.Erweiterung != text) continue;
        for (int i = 0; i < ListView.Count(); ++i) {
            TListItem* item = ListView.Items(i);
            if (!GehoertZu(typ, *static_cast<const TVerknuepfungsZeile*>(item->Data))) continue;
            item->MakeVisible();
            item->SetSelected(true);
            item->SetFocused(true);
            return;
        }
        break;
    }
    for (TListItem* item = ListView.NextSelected(); item; item = ListView.NextSelected(item)) item->SetSelected(false);
    ListView.Items(0)->MakeVisible();
    ListView.Items(0)->SetFocused(true);
}

void TVerknuepfungsDlg::ListViewPopupPopup(TObject*) {
    const bool gewaehlt = GewaehlteZeile() != nullptr;
    EndungHinzu.SetEnabled(gewaehlt);
    BeschreibungAendern.SetEnabled(gewaehlt);
    VerknuepfungAendern.SetEnabled(gewaehlt);
}

void TVerknuepfungsDlg::NeuBtnClick(TObject*) {
    m_neuDlg->Endung.SetText(L"");
    m_neuDlg->Beschreibung.SetText(L"");
    m_neuDlg->OeffnenMit.SetText(L"");
    if (m_neuDlg->ShowModal() != mrOk) return;
    RegisterExtension(m_neuDlg->NeueEndung(), m_neuDlg->Beschreibung.Text(), m_neuDlg->OeffnenMit.Text());
    ListeFuellen();
}

void TVerknuepfungsDlg::GanzenTypLoeschen(const TVerknuepfungsZeile& Zeile) {
    // The row's own records: another type that merely shares the description
    // keeps its keys.
    std::vector<TEinDateityp> weg;
    for (const TEinDateityp& typ : m_typen)
        if (GehoertZu(typ, Zeile)) weg.push_back(typ);
    for (const TEinDateityp& typ : weg) DeleteFileType(typ);
    if (!weg.empty()) ListeFuellen();
}

void TVerknuepfungsDlg::LoeschenBtnClick(TObject*) {
    const TVerknuepfungsZeile* gewaehlt = GewaehlteZeile();
    if (!gewaehlt) return;
    Fehlercode = fc::VerknuepfLoeschen;
    const TVerknuepfungsZeile zeile = *gewaehlt;
    const std::wstring text = Endungen.AktuellerText();
    if (text.empty()) {
        if (MessageDlg(L"Wollen Sie wirklich den Dokumenttyp\r\"" + zeile.Beschreibung + L"\"\rlöschen?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes)
            GanzenTypLoeschen(zeile);
        Fehlercode = 0;
        return;
    }
    std::wstring endung;
    if (!EndungPruefen(text, endung)) {
        MessageDlg(EndungUngueltigText, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    m_loeschDlg->Frage.SetCaption(L"Wollen Sie nur die Verknüpfung der Endung \"" + endung +
                                  L"\"\rmit dem Dokumenttyp\r\"" + zeile.Beschreibung +
                                  L"\"\rlöschen, oder wollen Sie den ganzen Dokumenttyp löschen?");
    const int antwort = m_loeschDlg->ShowModal();
    if (antwort == mrYes) {
        // Only the row's own records with that listed extension, each by its own
        // key: a typed "htm" on a ".html" row never reaches another type's ".htm".
        std::vector<std::wstring> schluessel;
        for (const TEinDateityp& typ : m_typen)
            if (GehoertZu(typ, zeile) && typ.Erweiterung == Lower(endung)) schluessel.push_back(typ.Schluessel);
        for (const std::wstring& key : schluessel) DeleteExtensionKey(key.substr(1));
        ListeFuellen();
    } else if (antwort == mrNo) {
        GanzenTypLoeschen(zeile);
    }
    Fehlercode = 0;
}

bool TVerknuepfungsDlg::Abfragen(const std::wstring& Caption, const std::wstring& Label, TEingabeArt Art,
                                 const std::wstring& Text, std::wstring& Ergebnis) {
    TNeuerDateiTypDlg& eingabe = *m_eingabe;
    eingabe.Einrichten(Caption, Label, Art);
    if (Art == TEingabeArt::Endung) {
        eingabe.Edit.SetMaxLength(3);
        eingabe.SetKleinbuchstaben(true);
    }
    eingabe.Edit.SetText(Text);
    const bool ok = eingabe.ShowModal() == mrOk;
    Ergebnis = eingabe.Edit.Text();
    eingabe.Zuruecksetzen();
    return ok && !Ergebnis.empty();
}

void TVerknuepfungsDlg::EndungHinzuClick(TObject*) {
    const TVerknuepfungsZeile* zeile = GewaehlteZeile();
    std::wstring text, endung;
    if (!zeile || !Abfragen(L"Endung hinzufügen", L"Bitte geben Sie die hinzuzufügende Dateiendung ein",
                            TEingabeArt::Endung, L"", text))
        return;
    Fehlercode = fc::VerknuepfEndungHinzu;
    EndungPruefen(Lower(text), endung);
    if (const TEinDateityp* typ = Registriert(endung)) {
        MessageDlg(BereitsVerknuepftText(L"Zu dieser Endung besteht bereits eine Verknüpfung:", *typ),
                   TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    } else if (const TEinDateityp* typ = ErsterEintrag(*zeile); typ && !typ->Klasse.empty()) {
        SetExtensionClass(endung, typ->Klasse);
    }
    ListeFuellen();
    Fehlercode = 0;
}

void TVerknuepfungsDlg::BeschreibungAendernClick(TObject*) {
    const TVerknuepfungsZeile* zeile = GewaehlteZeile();
    std::wstring text;
    if (!zeile || !Abfragen(L"Neue Beschreibung", L"Neue Beschreibung des Dokumenttyps", TEingabeArt::Name,
                            zeile->Beschreibung, text))
        return;
    Fehlercode = fc::VerknuepfBeschreibung;
    if (const TEinDateityp* typ = ErsterEintrag(*zeile); typ && !typ->Klasse.empty()) SetKeyDefault(text, typ->Klasse);
    ListeFuellen();
    Fehlercode = 0;
}

void TVerknuepfungsDlg::VerknuepfungAendernClick(TObject*) {
    const TVerknuepfungsZeile* zeile = GewaehlteZeile();
    if (!zeile) return;
    Fehlercode = fc::VerknuepfProgramm;
    std::wstring datei;
    if (DateiWaehlen && DateiWaehlen(zeile->Befehl, datei) && FileExists(datei)) {
        if (const TEinDateityp* typ = ErsterEintrag(*zeile))
            SetOpenCommand(datei, typ->Klasse, typ->Schluessel.substr(1));
        ListeFuellen();
    }
    Fehlercode = 0;
}

}  // namespace velmora
