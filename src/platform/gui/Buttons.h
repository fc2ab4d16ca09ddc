#pragma once
// The BUTTON class controls: push button, check box and radio button.

#include "Controls.h"
#include "Forms.h"

namespace velmora::gui {

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    // Enter clicks the default button, Esc the cancel button.
    bool Default = false;
    bool Cancel = false;
    // Set on the form when clicked (before OnClick, which may clear it again).
    TModalResult ModalResult = mrNone;
    void Click() override;
    bool DialogChar(wchar_t key) override;
    bool CNCommand(WORD code) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return State() == TCheckBoxState::cbChecked; }
    // Setting a new state fires OnClick, as the class library does.
    void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const;
    void SetState(TCheckBoxState state);
    // A user's click also passes through the grey state.
    bool AllowGrayed = false;
    TAlignment Alignment = TAlignment::taRightJustify;
    bool CNCommand(WORD code) override;
    HBRUSH CtlColor(HDC dc) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    TCheckBoxState m_state = TCheckBoxState::cbUnchecked;
};

class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    // Checking unchecks the other radio buttons of the same parent; fires OnClick.
    void SetChecked(bool checked);
    bool CNCommand(WORD code) override;
    HBRUSH CtlColor(HDC dc) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    bool m_checked = false;
};

// The accelerator letter of a caption ("&Ja" gives 'j'), or 0.
wchar_t AccelChar(const std::wstring& caption);

}  // namespace velmora::gui
