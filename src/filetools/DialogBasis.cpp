#include "DialogBasis.h"

#include <windows.h>

#include "foundation/DefaultUserStore.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

void TMRUAusleihe::Borrow(TMRUFileList* List, TMenuItem* Menu, TMRUClickEvent OnClick) {
    GiveBack();
    if (!List) return;
    m_list = List;
    m_home = List->FileMenu();
    m_homeClick = List->OnMRUItemClick;
    m_homeSeparator = List->InsertSeparator();
    // A pop-up of its own needs no line in front of the entries.
    List->SetInsertSeparator(false);
    List->OnMRUItemClick = std::move(OnClick);
    List->SetFileMenu(Menu);
}

void TMRUAusleihe::GiveBack() {
    if (!m_list) return;
    TMRUFileList* list = m_list;
    m_list = nullptr;
    list->OnMRUItemClick = std::move(m_homeClick);
    list->SetInsertSeparator(m_homeSeparator);
    list->SetFileMenu(m_home);
    m_home = nullptr;
}

TPositionsDialog::TPositionsDialog(TComponent* Owner, std::wstring PositionName)
    : TForm(Owner), m_positionName(std::move(PositionName)) {
    BorderStyle = TBorderStyle::bsDialog;
    BorderIcons = biSystemMenu;
    Position = TPosition::poScreenCenter;
    if (m_positionName.empty()) return;
    if (auto pos = ReadDlgPos(m_positionName)) {
        Position = TPosition::poDesigned;
        SetBounds(pos->Left, pos->Top, Width(), Height());
        m_placeKnown = true;
    }
}

void TPositionsDialog::SetVisible(bool Visible) {
    if (Visible) m_placeKnown = true;
    TForm::SetVisible(Visible);
}

void TPositionsDialog::SetUpButtons(TButton& OKBtn, TButton& CancelBtn) {
    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    OKBtn.ModalResult = mrOk;
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    CancelBtn.ModalResult = mrCancel;
}

void TPositionsDialog::SetUpButtons(TButton& OKBtn, TButton& CancelBtn, TButton& HilfeBtn) {
    SetUpButtons(OKBtn, CancelBtn);
    HilfeBtn.SetCaption(L"&Hilfe");
    HilfeBtn.OnClick = [this](TObject*) { Application->HelpContext(HelpContext); };
}

void TPositionsDialog::DoDestroy() {
    if (!m_positionName.empty() && m_placeKnown) WriteDlgPos(m_positionName, TDialogPos{Left(), Top()});
    TForm::DoDestroy();
}

namespace {

void SetHelpContextOf(TWinControl& parent, int context) {
    for (int i = 0; i < parent.ControlCount(); ++i) {
        TControl* control = parent.Controls(i);
        control->HelpContext = context;
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) SetHelpContextOf(*windowed, context);
    }
}

}  // namespace

void TPositionsDialog::SetHelpContextAll(int Context) {
    HelpContext = Context;
    SetHelpContextOf(*this, Context);
}

bool HasFocus(TWinControl& Control) {
    if (!Control.HandleAllocated()) return false;
    const HWND focus = GetFocus();
    return focus && (focus == Control.Handle() || IsChild(Control.Handle(), focus));
}

TStringList NewestFirst(const TStringList* List) {
    TStringList result;
    if (List)
        for (int i = List->Count() - 1; i >= 0; --i) result.Add((*List)[i]);
    return result;
}

void KleinGetippt(wchar_t& Key) {
    const std::wstring lower = SystemLower(std::wstring(1, Key));
    if (lower.size() == 1)
        Key = lower[0];
}

}  // namespace velmora
