#include "Edits.h"

namespace velmora::gui {

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_color = clWindow;
    m_width = 121;
    m_height = 21;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"EDIT";
    p.SystemClass = true;
    p.ExStyle = (p.ExStyle & ~WS_EX_CONTROLPARENT) | WS_EX_CLIENTEDGE;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= EditStyle();
    if (m_readOnly) p.Style |= ES_READONLY;
    if (CharCase == TEditCharCase::ecLowerCase) p.Style |= ES_LOWERCASE;
    if (CharCase == TEditCharCase::ecUpperCase) p.Style |= ES_UPPERCASE;
    if (Alignment == TAlignment::taRightJustify) p.Style |= ES_RIGHT;
    if (Alignment == TAlignment::taCenter) p.Style |= ES_CENTER;
    if (PasswordChar) p.Style |= ES_PASSWORD;
}

void TCustomEdit::InitWnd() {
    SendMessageW(m_handle, EM_LIMITTEXT, static_cast<WPARAM>(m_maxLength), 0);
    if (PasswordChar) SendMessageW(m_handle, EM_SETPASSWORDCHAR, PasswordChar, 0);
    if (m_rightMargin) SendMessageW(m_handle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, m_rightMargin));
}

void TCustomEdit::SetMaxLength(int length) {
    m_maxLength = length;
    if (m_handle) SendMessageW(m_handle, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void TCustomEdit::SetReadOnly(bool readOnly) {
    m_readOnly = readOnly;
    if (m_handle) SendMessageW(m_handle, EM_SETREADONLY, readOnly, 0);
}

int TCustomEdit::SelStart() const {
    DWORD start = 0;
    if (m_handle) SendMessageW(m_handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
    DWORD start = 0, end = 0;
    if (m_handle) SendMessageW(m_handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelStart(int start) { SendMessageW(Handle(), EM_SETSEL, start, start); }

void TCustomEdit::SetSelLength(int length) {
    int start = SelStart();
    SendMessageW(Handle(), EM_SETSEL, start, start + length);
}

void TCustomEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::SetRightMargin(int pixels) {
    m_rightMargin = pixels;
    if (m_handle) SendMessageW(m_handle, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, pixels));
}

bool TCustomEdit::CNCommand(WORD code) {
    if (code != EN_CHANGE) return false;
    Fire(OnChange, this);
    return true;
}

void TCustomEdit::TextChanged() {
    // With a window, EN_CHANGE reports the change.
    if (!m_handle) Fire(OnChange, this);
}

HBRUSH TCustomEdit::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {}

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
    m_width = 185;
    m_height = 89;
}

DWORD TMemo::EditStyle() const {
    DWORD style = ES_MULTILINE | ES_AUTOVSCROLL;
    if (!WordWrap) style |= ES_AUTOHSCROLL;
    if (WantReturns) style |= ES_WANTRETURN;
    if (ScrollBars == TScrollStyle::ssVertical || ScrollBars == TScrollStyle::ssBoth) style |= WS_VSCROLL;
    if (ScrollBars == TScrollStyle::ssHorizontal || ScrollBars == TScrollStyle::ssBoth) style |= WS_HSCROLL;
    return style;
}

TStringList TMemo::Lines() const {
    TStringList lines;
    lines.SetText(Caption());
    return lines;
}

void TMemo::SetLines(const TStringList& lines) {
    std::wstring text = lines.Text();
    if (text.size() >= 2) text.resize(text.size() - 2);
    SetCaption(text);
}

void TMemo::AddLine(const std::wstring& line) {
    TStringList lines = Lines();
    lines.Add(line);
    SetLines(lines);
}

}  // namespace velmora::gui
