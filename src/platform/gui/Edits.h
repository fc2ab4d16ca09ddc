#pragma once
// The EDIT class controls: one-line edit and memo.

#include "platform/rtl/StringList.h"

#include "Controls.h"

namespace velmora::gui {

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    TEditCharCase CharCase = TEditCharCase::ecNormal;
    TAlignment Alignment = TAlignment::taLeftJustify;
    wchar_t PasswordChar = 0;
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    void SelectAll();
    // Room kept free inside the right edge (for a button placed on the edit).
    void SetRightMargin(int pixels);
    TNotifyEvent OnChange;
    bool CNCommand(WORD code) override;
    HBRUSH CtlColor(HDC dc) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void TextChanged() override;
    virtual DWORD EditStyle() const { return ES_AUTOHSCROLL; }

private:
    int m_maxLength = 0;
    bool m_readOnly = false;
    int m_rightMargin = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner);
};

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);
    TStringList Lines() const;
    void SetLines(const TStringList& lines);
    void AddLine(const std::wstring& line);
    bool WordWrap = true;
    bool WantReturns = true;
    enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth } ScrollBars = TScrollStyle::ssNone;

protected:
    DWORD EditStyle() const override;
};

}  // namespace velmora::gui
