#include "Label.h"

#include <cwctype>

#include "Buttons.h"

namespace velmora::gui {

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    m_width = 65;
    m_height = 13;
    ParentColor = true;
}

void TLabel::SetAlignment(TAlignment alignment) {
    m_alignment = alignment;
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize) {
    m_autoSize = autoSize;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool wordWrap) {
    m_wordWrap = wordWrap;
    AdjustBounds();
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (m_focusControl) m_focusControl->RemoveFreeNotification(this);
    m_focusControl = control;
    if (control) FreeNotification(control);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == m_focusControl) m_focusControl = nullptr;
}

bool TLabel::DialogChar(wchar_t key) {
    if (!ShowAccelChar || !m_focusControl || AccelChar(m_caption) != std::towlower(key) || !m_focusControl->CanFocus())
        return false;
    m_focusControl->SetFocus();
    return true;
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (m_wordWrap) flags |= DT_WORDBREAK;
    if (!ShowAccelChar) flags |= DT_NOPREFIX;
    if (m_alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (m_alignment == TAlignment::taCenter) flags |= DT_CENTER;
    return flags;
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!Transparent) {
        canvas.Brush.Color = EffectiveColor();
        canvas.FillRect(r);
    }
    canvas.Brush.Style = TBrushStyle::bsClear;
    std::wstring text = m_caption.empty() ? L" " : m_caption;
    if (Layout != TTextLayout::tlTop) {
        RECT measure = r;
        int h = canvas.DrawText(text, measure, DrawFlags() | DT_CALCRECT);
        int offset = Layout == TTextLayout::tlCenter ? (m_height - h) / 2 : m_height - h;
        r.top += offset;
    }
    if (!m_enabled) {
        canvas.Font.Color = clBtnHighlight;
        RECT shadow = r;
        OffsetRect(&shadow, 1, 1);
        canvas.DrawText(text, shadow, DrawFlags());
        canvas.Font.Color = clGrayText;
    }
    canvas.DrawText(text, r, DrawFlags());
}

void TLabel::AdjustBounds() {
    if (!m_autoSize) {
        Invalidate();
        return;
    }
    HDC dc = GetDC(nullptr);
    TCanvas canvas(dc);
    canvas.Font = Font;
    RECT r{0, 0, m_wordWrap ? m_width : 0, 0};
    canvas.DrawText(m_caption.empty() ? L" " : m_caption, r, DrawFlags() | DT_CALCRECT);
    canvas.Detach();
    ReleaseDC(nullptr, dc);
    int left = m_left;
    if (m_alignment == TAlignment::taRightJustify && !m_wordWrap) left = m_left + m_width - r.right;
    SetBounds(left, m_top, r.right, r.bottom);
}

void TLabel::TextChanged() { AdjustBounds(); Invalidate(); }
void TLabel::FontChanged() { AdjustBounds(); Invalidate(); }

}  // namespace velmora::gui
