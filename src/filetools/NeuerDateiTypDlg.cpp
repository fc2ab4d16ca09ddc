#include "NeuerDateiTypDlg.h"

#include "DateiTypListe.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"

namespace velmora {

using namespace gui;

bool EndungPruefen(const std::wstring& Text, std::wstring& Endung) {
    Endung = !Text.empty() && Text[0] == L'.' ? Text.substr(1) : Text;
    if (Endung.empty()) return false;
    for (wchar_t c : Endung)
        if (c <= L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
    return true;
}

TNeuerDateiTypDlg::TNeuerDateiTypDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), Label1(this), Edit(this), OKBtn(this), CancelBtn(this) {
    TDialogLayout lay(*this);
    Label1.SetFocusControl(&Edit);
    lay.Place(Label1, 6, 8, 200, 9);
    lay.Place(Edit, 6, 19, 200, 12);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(102, 38, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 212, 58);
    Zuruecksetzen();
    OnClose = bind(this, &TNeuerDateiTypDlg::FormClose);
}

void TNeuerDateiTypDlg::Einrichten(const std::wstring& Caption, const std::wstring& Label, TEingabeArt Was) {
    SetCaption(Caption);
    Label1.SetCaption(Label);
    Art = Was;
}

void TNeuerDateiTypDlg::Zuruecksetzen() {
    Einrichten(L"Neuer Dateityp", L"Bitte geben Sie den neuen Dateitypen ein", TEingabeArt::Name);
    Edit.SetMaxLength(0);
    SetKleinbuchstaben(false);
    Edit.SetText(L"");
}

void TNeuerDateiTypDlg::SetKleinbuchstaben(bool Klein) {
    Edit.CharCase = Klein ? TEditCharCase::ecLowerCase : TEditCharCase::ecNormal;
    if (!Edit.HandleAllocated()) return;
    LONG_PTR style = GetWindowLongPtrW(Edit.Handle(), GWL_STYLE);
    style = Klein ? (style | ES_LOWERCASE) : (style & ~static_cast<LONG_PTR>(ES_LOWERCASE));
    SetWindowLongPtrW(Edit.Handle(), GWL_STYLE, style);
}

void TNeuerDateiTypDlg::FormClose(TObject*, TCloseAction& Action) {
    if (ModalResult() != mrOk) return;
    const std::wstring text = Edit.Text();
    std::wstring fehler = EingabePruefen(text, Art == TEingabeArt::Maske);
    std::wstring endung;
    if (fehler.empty() && Art == TEingabeArt::Endung && !EndungPruefen(text, endung)) fehler = EndungUngueltigText;
    if (fehler.empty()) return;
    MessageDlg(fehler, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    Edit.SetFocus();
    Action = TCloseAction::caNone;
}

}  // namespace velmora
