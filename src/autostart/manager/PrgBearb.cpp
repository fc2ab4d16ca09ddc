#include "PrgBearb.h"

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"

namespace velmora::manager {

using namespace gui;

namespace {
constexpr int kHelpContext = 58;
}

TPrgBearbeitenDlg::TPrgBearbeitenDlg(TComponent* owner)
    : TForm(owner),
      Label1(this), Beschreibung(this), Label2(this), Dateiname(this), DateiSuchenBtn2(this), Label3(this),
      Parameter(this), Label4(this), Wartezeit(this), Aktion(this), OKBtn(this), CancelBtn(this), Button1(this),
      OpenDialog1(this) {
    BorderStyle = TBorderStyle::bsDialog;
    BorderIcons = biSystemMenu;
    Position = TPosition::poScreenCenter;
    HelpContext = kHelpContext;

    Label1.SetCaption(L"&Beschreibung:");
    Label1.SetFocusControl(&Beschreibung);
    Label2.SetCaption(L"&Dateiname:");
    Label2.SetFocusControl(&Dateiname);
    Dateiname.CharCase = TEditCharCase::ecLowerCase;
    DateiSuchenBtn2.SetCaption(L"...");
    DateiSuchenBtn2.Hint = L"Nach Datei(en) suchen|Klicken Sie hier, um eine oder mehrere Quelldatei(en) auszuwählen";
    DateiSuchenBtn2.ShowHint = true;
    Label3.SetCaption(L"&Parameter (wahlweise):");
    Label3.SetFocusControl(&Parameter);
    Label4.SetCaption(L"&Wartezeit in Sekunden:");
    Label4.SetFocusControl(&Wartezeit);
    Wartezeit.SetMaxLength(2);
    Wartezeit.MinValue = TEintrag::kMinWartezeit;
    Wartezeit.MaxValue = TEintrag::kMaxWartezeit;
    Wartezeit.Increment = 1;
    SetWartezeitValue(TEintrag::kDefaultWartezeit);
    Aktion.SetCaption(L"Nach Zeitablauf...");
    Aktion.SetColumns(2);
    Aktion.SetItems(TStringList{L"&Starten", L"&Nicht Starten"});
    Aktion.SetItemIndex(0);
    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    OKBtn.ModalResult = mrOk;
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    CancelBtn.ModalResult = mrCancel;
    Button1.SetCaption(L"&Hilfe");
    OpenDialog1.Title = L"Datei wählen";
    OpenDialog1.Filter = L"Alle Dateien (*.*)|*.*|Anwendungen|*.exe; *.com; *.bat; *.pif";
    OpenDialog1.FileMustExist = true;
    OpenDialog1.PathMustExist = true;
    LayoutControls();

    OnShow = bind(this, &TPrgBearbeitenDlg::FormShow);
    OnClose = bind(this, &TPrgBearbeitenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TPrgBearbeitenDlg::OKBtnClick);
    DateiSuchenBtn2.OnClick = bind(this, &TPrgBearbeitenDlg::DateiSuchenBtn2Click);
    Button1.OnClick = bind(this, &TPrgBearbeitenDlg::Button1Click);
}

void TPrgBearbeitenDlg::LayoutControls() {
    TDialogLayout l(*this);
    for (TControl* c : std::initializer_list<TControl*>{&Label1, &Beschreibung, &Label2, &Dateiname, &DateiSuchenBtn2,
                                                        &Label3, &Parameter, &Label4, &Wartezeit, &Aktion, &OKBtn,
                                                        &CancelBtn, &Button1}) {
        c->SetParent(this);
        c->HelpContext = kHelpContext;
    }
    for (TWinControl* c : std::initializer_list<TWinControl*>{&Beschreibung, &Dateiname, &DateiSuchenBtn2, &Parameter,
                                                              &Wartezeit, &Aktion, &OKBtn, &CancelBtn, &Button1})
        c->TabStop = true;
    l.Place(Label1, 6, 8, 82, 8);
    l.Place(Beschreibung, 90, 6, 140, 12);
    l.Place(Label2, 6, 24, 82, 8);
    l.Place(Dateiname, 90, 22, 124, 12);
    l.Place(DateiSuchenBtn2, 216, 22, 14, 12);
    l.Place(Label3, 6, 40, 82, 8);
    l.Place(Parameter, 90, 38, 140, 12);
    l.Place(Label4, 6, 56, 82, 8);
    l.Place(Wartezeit, 90, 54, 24, 12);
    l.Place(Aktion, 6, 72, 224, 26);
    l.Row(80, 106, 14, {{&OKBtn, 48}, {&CancelBtn, 48}, {&Button1, 48}});
    l.SetClientSize(*this, 236, 126);
}

int TPrgBearbeitenDlg::WartezeitValue() const {
    return static_cast<int>(Wartezeit.CheckValue(Wartezeit.GetValue()));
}

void TPrgBearbeitenDlg::SetWartezeitValue(int seconds) { Wartezeit.SetValue(seconds); }

TEntryFields TPrgBearbeitenDlg::Fields() const {
    return TEntryFields{Beschreibung.Text(), Dateiname.Text(), Parameter.Text(), WartezeitValue(),
                        Aktion.ItemIndex() == 1 ? TEintrag::kAktionNichtStarten : TEintrag::kAktionStarten};
}

void TPrgBearbeitenDlg::SetFields(const TEntryFields& f) {
    Beschreibung.SetText(f.Beschreibung);
    Dateiname.SetText(f.Dateiname);
    Parameter.SetText(f.Parameter);
    SetWartezeitValue(f.Wartezeit);
    Aktion.SetItemIndex(f.Aktion == TEintrag::kAktionNichtStarten ? 1 : 0);
}

void TPrgBearbeitenDlg::FormShow(TObject*) { m_okPressed = false; }

void TPrgBearbeitenDlg::OKBtnClick(TObject*) { m_okPressed = true; }

void TPrgBearbeitenDlg::FormClose(TObject*, TCloseAction& Action) {
    if (!m_okPressed) return;
    TEntryFields fields = Fields();
    auto problem = CheckEntry(fields, [](const std::wstring& name) { return FileExists(name); });
    Dateiname.SetText(fields.Dateiname);
    Aktion.SetItemIndex(fields.Aktion == TEintrag::kAktionNichtStarten ? 1 : 0);
    if (!problem) return;
    ShowProblem(*problem);
    m_okPressed = false;
    Action = TCloseAction::caNone;
}

void TPrgBearbeitenDlg::ShowProblem(const TEntryProblem& problem) {
    MessageDlg(problem.Text, problem.Warning ? TMsgDlgType::mtWarning : TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    switch (problem.Focus) {
    case TEntryField::Beschreibung: FocusControl(&Beschreibung); break;
    case TEntryField::Dateiname: FocusControl(&Dateiname); break;
    case TEntryField::Aktion: FocusControl(Aktion.Buttons(Aktion.ItemIndex())); break;
    }
}

void TPrgBearbeitenDlg::DateiSuchenBtn2Click(TObject*) {
    OpenDialog1.FileName.clear();
    if (OpenDialog1.Execute()) Dateiname.SetText(OpenDialog1.FileName);
}

void TPrgBearbeitenDlg::Button1Click(TObject*) { Application->HelpContext(HelpContext); }

}  // namespace velmora::manager
