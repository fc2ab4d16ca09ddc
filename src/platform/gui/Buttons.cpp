#include "Buttons.h"

#include <cwctype>

namespace velmora::gui {

wchar_t AccelChar(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towlower(caption[i + 1]));
    }
    return 0;
}

// ---- TButton

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_width = 75;
    m_height = 25;
}

void TButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    p.Style &= ~WS_CLIPCHILDREN;
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* form = ParentForm()) form->SetModalResult(ModalResult);
    TWinControl::Click();
}

bool TButton::DialogChar(wchar_t key) {
    if (AccelChar(m_caption) != std::towlower(key) || !CanFocus()) return false;
    SetFocus();
    Click();
    return true;
}

bool TButton::CNCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}

// ---- TCheckBox

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_width = 97;
    m_height = 17;
    ParentColor = true;
}

void TCheckBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= BS_3STATE | (Alignment == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCheckBox::InitWnd() {
    SendMessageW(m_handle, BM_SETCHECK, static_cast<WPARAM>(m_state), 0);
}

TCheckBoxState TCheckBox::State() const { return m_state; }

void TCheckBox::SetState(TCheckBoxState state) {
    if (state == m_state) return;
    m_state = state;
    if (m_handle) SendMessageW(m_handle, BM_SETCHECK, static_cast<WPARAM>(state), 0);
    Click();
}

bool TCheckBox::CNCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    switch (m_state) {
    case TCheckBoxState::cbUnchecked: SetState(TCheckBoxState::cbChecked); break;
    case TCheckBoxState::cbChecked:
        SetState(AllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbUnchecked);
        break;
    case TCheckBoxState::cbGrayed: SetState(TCheckBoxState::cbUnchecked); break;
    }
    return true;
}

HBRUSH TCheckBox::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

// ---- TRadioButton

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    m_width = 113;
    m_height = 17;
    ParentColor = true;
}

void TRadioButton::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= BS_RADIOBUTTON;
    if (m_checked) p.Style |= WS_TABSTOP;
}

void TRadioButton::InitWnd() { SendMessageW(m_handle, BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0); }

bool TRadioButton::Checked() const { return m_checked; }

void TRadioButton::SetChecked(bool checked) {
    if (checked == m_checked) return;
    m_checked = checked;
    if (m_handle) {
        SendMessageW(m_handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        LONG style = GetWindowLongW(m_handle, GWL_STYLE);
        SetWindowLongW(m_handle, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    if (!checked) return;
    if (m_parent)
        for (int i = 0; i < m_parent->ControlCount(); ++i)
            if (auto* other = dynamic_cast<TRadioButton*>(m_parent->Controls(i)); other && other != this)
                other->SetChecked(false);
    Click();
}

bool TRadioButton::CNCommand(WORD code) {
    if (code != BN_CLICKED) return false;
    SetChecked(true);
    return true;
}

HBRUSH TRadioButton::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

}  // namespace velmora::gui
