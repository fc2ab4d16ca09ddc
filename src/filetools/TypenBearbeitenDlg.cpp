#include "TypenBearbeitenDlg.h"

#include "AttributDialog.h"
#include "FileToolsCodes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/LocaleTexts.h"

namespace velmora {

using namespace gui;

// ---- Type editor

TTypenBearbeitenDlg::TTypenBearbeitenDlg(TComponent* Owner, TDateiTypListe& Liste)
    : TPositionsDialog(Owner, L"TypBearb"), Label1(this), Label2(this), Dateityp(this), ListBox(this),
      NeuButton(this), HinzuButton(this), BearbButton(this), EntfButton(this), OKBtn(this), CancelBtn(this),
      HilfeBtn(this), m_liste(Liste) {
    SetCaption(L"Dateitypen bearbeiten");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Dateityp:");
    Label1.SetFocusControl(&Dateityp);
    lay.Place(Label1, 6, 6, 120, 9);
    Dateityp.SetStyle(TComboBoxStyle::csDropDownList);
    lay.Place(Dateityp, 6, 17, 130, 12);
    NeuButton.SetCaption(L"&Neu");
    lay.Place(NeuButton, 142, 16, 70, 14);
    Label2.SetCaption(L"D&ateifilter:");
    Label2.SetFocusControl(&ListBox);
    lay.Place(Label2, 6, 36, 120, 9);
    lay.Place(ListBox, 6, 47, 130, 90);
    HinzuButton.SetCaption(L"Filter hin&zufügen");
    BearbButton.SetCaption(L"Filter &bearbeiten");
    EntfButton.SetCaption(L"Filter &entfernen");
    lay.Column(142, 47, 70, {{&HinzuButton, 14}, {&BearbButton, 14}, {&EntfButton, 14}}, 4);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(56, 146, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 218, 166);
    SetHelpContextAll(25);
    m_eingabe = Create<TNeuerDateiTypDlg>(this);
    OnShow = bind(this, &TTypenBearbeitenDlg::FormShow);
    OnClose = bind(this, &TTypenBearbeitenDlg::FormClose);
    Dateityp.OnChange = bind(this, &TTypenBearbeitenDlg::DateitypChange);
    NeuButton.OnClick = bind(this, &TTypenBearbeitenDlg::NeuButtonClick);
    HinzuButton.OnClick = bind(this, &TTypenBearbeitenDlg::HinzuButtonClick);
    BearbButton.OnClick = bind(this, &TTypenBearbeitenDlg::BearbButtonClick);
    EntfButton.OnClick = bind(this, &TTypenBearbeitenDlg::EntfButtonClick);
    ListBox.OnKeyDown = bind(this, &TTypenBearbeitenDlg::ListBoxKeyDown);
}

int TTypenBearbeitenDlg::GewaehlterTyp() const {
    const int index = Dateityp.ItemIndex();
    return index >= 0 && index + 1 < static_cast<int>(m_liste.size()) ? index + 1 : -1;
}

void TTypenBearbeitenDlg::TypenFuellen(int Typ) {
    TStringList namen;
    for (size_t i = 1; i < m_liste.size(); ++i) namen.Add(m_liste[i]->Name);
    Dateityp.SetItems(namen);
    Dateityp.SetItemIndex(Typ - 1);
    MaskenFuellen(0);
}

void TTypenBearbeitenDlg::MaskenFuellen(int Maske) {
    const int typ = GewaehlterTyp();
    ListBox.SetItems(typ > 0 ? m_liste[static_cast<size_t>(typ)]->Masks : TStringList());
    if (Maske >= ListBox.Items().Count()) Maske = ListBox.Items().Count() - 1;
    ListBox.SetItemIndex(Maske);
    for (TButton* button : {&HinzuButton, &BearbButton, &EntfButton}) button->SetEnabled(typ > 0);
}

void TTypenBearbeitenDlg::FormShow(TObject*) {
    Fehlercode = fc::TypenBearbeitenFormShow;
    m_bearbeitung = std::make_unique<TTypenBearbeitung>(m_liste);
    TypenFuellen(1);
    Fehlercode = 0;
}

void TTypenBearbeitenDlg::FormClose(TObject*, TCloseAction&) {
    if (!m_bearbeitung) return;
    if (ModalResult() == mrOk)
        m_bearbeitung->Ok();
    else
        m_bearbeitung->Abbrechen();
    m_bearbeitung.reset();
}

void TTypenBearbeitenDlg::DateitypChange(TObject*) { MaskenFuellen(0); }

void TTypenBearbeitenDlg::NeuButtonClick(TObject*) {
    if (!m_bearbeitung) return;
    m_eingabe->Einrichten(L"Neuer Dateityp", L"Bitte geben Sie den neuen Dateitypen ein", TEingabeArt::Name);
    m_eingabe->Edit.SetText(L"");
    if (m_eingabe->ShowModal() != mrOk) return;
    TypenFuellen(m_bearbeitung->NeuerTyp(m_eingabe->Edit.Text()));
}

bool TTypenBearbeitenDlg::MaskeAbfragen(const std::wstring& Caption, const std::wstring& Text,
                                        std::wstring& Ergebnis) {
    m_eingabe->Einrichten(Caption, L"Bitte geben Sie den neuen Dateifilter ein:", TEingabeArt::Maske);
    m_eingabe->Edit.SetText(Text);
    if (m_eingabe->ShowModal() != mrOk) return false;
    Ergebnis = m_eingabe->Edit.Text();
    return true;
}

void TTypenBearbeitenDlg::HinzuButtonClick(TObject*) {
    const int typ = GewaehlterTyp();
    std::wstring text;
    if (!m_bearbeitung || typ <= 0 || !MaskeAbfragen(L"Dateifilter hinzufügen", L"", text)) return;
    m_bearbeitung->FilterHinzu(typ, text);
    MaskenFuellen(m_liste[static_cast<size_t>(typ)]->Masks.Count() - 1);
}

void TTypenBearbeitenDlg::BearbButtonClick(TObject*) {
    const int typ = GewaehlterTyp();
    const int maske = ListBox.ItemIndex();
    if (!m_bearbeitung || typ <= 0 || maske < 0) {
        MessageBeep(MB_OK);
        return;
    }
    std::wstring text;
    if (!MaskeAbfragen(L"Dateifilter bearbeiten", ListBox.Items()[maske], text)) return;
    const std::wstring hinweis = m_bearbeitung->FilterAendern(typ, maske, text);
    if (!hinweis.empty()) MessageDlg(hinweis, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
    MaskenFuellen(maske);
}

void TTypenBearbeitenDlg::EntfButtonClick(TObject*) {
    const int typ = GewaehlterTyp();
    const int maske = ListBox.ItemIndex();
    if (!m_bearbeitung || typ <= 0 || maske < 0) {
        MessageBeep(MB_OK);
        return;
    }
    m_bearbeitung->FilterEntfernen(typ, maske);
    MaskenFuellen(maske);
}

void TTypenBearbeitenDlg::ListBoxKeyDown(TObject* Sender, WORD& Key, TShiftState) {
    switch (Key) {
    case VK_DELETE: EntfButtonClick(Sender); break;
    case VK_INSERT: HinzuButtonClick(Sender); break;
    case VK_SPACE: BearbButtonClick(Sender); break;
    default: return;
    }
    Key = 0;
}

// ---- Filter selection

namespace {

std::wstring Heute() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocaleDateText(TryEncodeDateTime({now.wYear, now.wMonth, now.wDay, 0, 0, 0, 0}).value_or(0));
}

}  // namespace

TFilterAuswahlDlg::TFilterAuswahlDlg(TComponent* Owner, TDateiTypListe& Liste)
    : TPositionsDialog(Owner, L"DFilterAusw"), Seiten(this), FilterSeite(this), EigenschaftenSeite(this),
      Label1(this), Label2(this), Label3(this), Label4(this), Label5(this), DateiFilter(this), DateiTypen(this),
      VordefFilterListBox(this), NeuerDateiTypBtn(this), OKBtn(this), CancelBtn(this), Datumbeachten(this),
      Groessebeachten(this), Aelteste(this), Juengste(this), Groessenbereich(this), DateiGroesse(this),
      ReadOnly(this), Hidden(this), System(this), Normale(this), m_liste(Liste) {
    SetCaption(L"Gruppe markieren");
    TDialogLayout lay(*this);
    lay.Place(Seiten, 6, 6, 236, 160);
    FilterSeite.SetCaption(L"Dateifilter");
    EigenschaftenSeite.SetCaption(L"Dateieigenschaften");
    FilterSeite.SetPageControl(&Seiten);
    EigenschaftenSeite.SetPageControl(&Seiten);

    for (TControl* c : std::initializer_list<TControl*>{&Label1, &DateiFilter, &Label2, &DateiTypen,
                                                        &VordefFilterListBox, &NeuerDateiTypBtn})
        c->SetParent(&FilterSeite);
    Label1.SetCaption(L"&Dateifilter der zu markierenden Dateien:");
    Label1.SetFocusControl(&DateiFilter);
    lay.Place(Label1, 4, 4, 200, 9);
    lay.Place(DateiFilter, 4, 15, 220, 12);
    Label2.SetCaption(L"&Vordefinierte Dateitypen:");
    Label2.SetFocusControl(&DateiTypen);
    lay.Place(Label2, 4, 33, 200, 9);
    DateiTypen.MultiSelect = true;
    lay.Place(DateiTypen, 4, 44, 140, 74);
    lay.Place(VordefFilterListBox, 150, 44, 74, 74);
    NeuerDateiTypBtn.SetCaption(L"Dateitypen &bearbeiten");
    lay.Place(NeuerDateiTypBtn, 4, 122, 90, 14);

    for (TControl* c : std::initializer_list<TControl*>{&Datumbeachten, &Aelteste, &Label3, &Juengste,
                                                        &Groessebeachten, &Groessenbereich, &DateiGroesse, &Label4,
                                                        &Label5, &ReadOnly, &Hidden, &System, &Normale})
        c->SetParent(&EigenschaftenSeite);
    Datumbeachten.SetCaption(L"D&atum von");
    lay.Place(Datumbeachten, 4, 6, 56, 10);
    Aelteste.SetEditMask(L"!90/90/9900;1; ");
    lay.Place(Aelteste, 62, 4, 50, 12);
    Label3.SetCaption(L"bis");
    lay.Place(Label3, 116, 6, 14, 9);
    Juengste.SetEditMask(L"!90/90/9900;1; ");
    lay.Place(Juengste, 132, 4, 50, 12);
    Groessebeachten.SetCaption(L"&Größe");
    lay.Place(Groessebeachten, 4, 24, 56, 10);
    Groessenbereich.SetStyle(TComboBoxStyle::csDropDownList);
    Groessenbereich.SetItems({L"Genau", L"Mindestens", L"Höchstens"});
    lay.Place(Groessenbereich, 62, 22, 60, 12);
    DateiGroesse.SetValueType(TValueType::vtInteger);
    DateiGroesse.Decimal = 0;
    lay.Place(DateiGroesse, 126, 22, 50, 12);
    Label4.SetCaption(L"KB");
    lay.Place(Label4, 180, 24, 20, 9);
    Label5.SetCaption(L"Beim Markieren zu beachtende Datei - Eigenschaften:");
    lay.Place(Label5, 4, 35, 220, 9);
    const TStringList wahl{L"... markieren", L"... nicht markieren"};
    int platz = 0;
    for (auto [gruppe, titel] : {std::pair{&ReadOnly, L"Schreibgeschützte Dateien"}, {&Hidden, L"Versteckte Dateien"},
                                 {&System, L"Systemdateien"}, {&Normale, L"Normale Dateien"}}) {
        gruppe->SetCaption(titel);
        gruppe->SetItems(wahl);
        gruppe->SetItemIndex(0);
        lay.Place(*gruppe, 4 + (platz % 2) * 112, 46 + (platz / 2) * 46, 108, 44);
        ++platz;
    }

    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(140, 170, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 248, 190);
    OnShow = bind(this, &TFilterAuswahlDlg::FormShow);
    OnClose = bind(this, &TFilterAuswahlDlg::FormClose);
    OKBtn.OnClick = bind(this, &TFilterAuswahlDlg::OKBtnClick);
    DateiTypen.OnClick = bind(this, &TFilterAuswahlDlg::DateiTypenClick);
    DateiTypen.OnDblClick = bind(this, &TFilterAuswahlDlg::DateiTypenDblClick);
    DateiFilter.OnEnter = [this](TObject*) { m_tippt = true; };
    DateiFilter.OnExit = [this](TObject*) { m_tippt = false; };
    DateiFilter.OnChange = bind(this, &TFilterAuswahlDlg::DateiFilterChange);
    NeuerDateiTypBtn.OnClick = bind(this, &TFilterAuswahlDlg::NeuerDateiTypBtnClick);
    Aelteste.OnChange = bind(this, &TFilterAuswahlDlg::DatumChange);
    Juengste.OnChange = bind(this, &TFilterAuswahlDlg::DatumChange);
    Groessenbereich.OnChange = bind(this, &TFilterAuswahlDlg::GroessenbereichChange);
    DateiGroesse.OnChange = bind(this, &TFilterAuswahlDlg::DateiGroesseChange);
}

void TFilterAuswahlDlg::TypenFuellen() {
    TStringList namen;
    for (const auto& typ : m_liste) namen.Add(typ->Name);
    DateiTypen.SetItems(namen);
    VordefFilterListBox.ClearItems();
}

void TFilterAuswahlDlg::FormShow(TObject*) {
    Fehlercode = fc::FilterAuswahlFormShow;
    m_ok = false;
    m_fuellt = true;
    Aelteste.SetText(Heute());
    Juengste.SetText(Heute());
    m_fuellt = false;
    TypenFuellen();
    Fehlercode = 0;
}

void TFilterAuswahlDlg::DateiTypenClick(TObject*) {
    std::vector<int> gewaehlt;
    for (int i = 0; i < DateiTypen.Items().Count(); ++i)
        if (DateiTypen.Selected(i)) gewaehlt.push_back(i);
    const TStringList masken = MaskenDerTypen(m_liste, gewaehlt);
    VordefFilterListBox.SetItems(masken);
    if (!m_tippt) DateiFilter.SetText(MaskenText(masken));
}

void TFilterAuswahlDlg::DateiTypenDblClick(TObject* Sender) {
    OKBtnClick(Sender);
    SetModalResult(mrOk);
}

void TFilterAuswahlDlg::DateiFilterChange(TObject*) {
    if (!m_tippt) return;
    for (int i = 0; i < DateiTypen.Items().Count(); ++i)
        if (DateiTypen.Selected(i)) DateiTypen.SetSelected(i, false);
    VordefFilterListBox.ClearItems();
}

void TFilterAuswahlDlg::NeuerDateiTypBtnClick(TObject*) {
    if (!m_editor) m_editor = Create<TTypenBearbeitenDlg>(this, m_liste);
    if (m_editor->ShowModal() == mrOk) TypenFuellen();
}

void TFilterAuswahlDlg::DatumChange(TObject*) {
    if (!m_fuellt) Datumbeachten.SetChecked(true);
}

void TFilterAuswahlDlg::GroessenbereichChange(TObject*) { Groessebeachten.SetChecked(true); }

void TFilterAuswahlDlg::DateiGroesseChange(TObject*) {
    Groessebeachten.SetChecked(true);
    if (Groessenbereich.ItemIndex() < 0) Groessenbereich.SetItemIndex(0);
}

void TFilterAuswahlDlg::OKBtnClick(TObject*) {
    m_ok = true;
    if (Groessebeachten.Checked() && Groessenbereich.ItemIndex() < 0) Groessenbereich.SetItemIndex(0);
}

void TFilterAuswahlDlg::FormClose(TObject*, TCloseAction& Action) {
    if (!m_ok) return;
    m_ok = false;
    for (TMaskEdit* datum : {&Aelteste, &Juengste}) {
        if (MaskenDatum(datum->Text())) continue;
        MessageDlg(datum->Text() + L" ist kein gültiges Datum!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Seiten.ShowPageOf(datum);
        datum->SetFocus();
        Action = TCloseAction::caNone;
        return;
    }
}

void TFilterAuswahlDlg::MaskenHolen(TStringList& Masken) {
    if (MaskenAufteilen(DateiFilter.Text(), Masken))
        MessageDlg(L"Ihre Eingabe der zu markierenden Dateien enthält ungültige Angaben! Diese werden ignoriert.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
}

}  // namespace velmora
