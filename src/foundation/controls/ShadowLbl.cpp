#include "ShadowLbl.h"

#include <cwctype>

#include "platform/gui/Buttons.h"

namespace velmora {

using namespace gui;

TShadowLabel::TShadowLabel(TComponent* owner) : TGraphicControl(owner) {
    m_width = 65;
    m_height = 17;
    ParentColor = true;
}

void TShadowLabel::Changed() {
    AdjustBounds();
    Invalidate();
}

void TShadowLabel::SetAlignment(TAlignment v) { if (v != m_alignment) { m_alignment = v; Changed(); } }
void TShadowLabel::SetAutoSize(bool v) { if (v != m_autoSize) { m_autoSize = v; Changed(); } }
void TShadowLabel::SetLayout(TTextLayout v) { if (v != m_layout) { m_layout = v; Invalidate(); } }
void TShadowLabel::SetShadowColor(TColor v) { if (v != m_shadowColor) { m_shadowColor = v; Invalidate(); } }
void TShadowLabel::SetShadowSize(unsigned char v) { if (v != m_shadowSize) { m_shadowSize = v; Changed(); } }
void TShadowLabel::SetShadowPos(TShadowPosition v) { if (v != m_shadowPos) { m_shadowPos = v; Invalidate(); } }
void TShadowLabel::SetShowAccelChar(bool v) { if (v != m_showAccelChar) { m_showAccelChar = v; Changed(); } }
void TShadowLabel::SetShowFocus(bool v) { if (v != m_showFocus) { m_showFocus = v; Invalidate(); } }
void TShadowLabel::SetTransparent(bool v) { if (v != m_transparent) { m_transparent = v; Invalidate(); } }
void TShadowLabel::SetWordWrap(bool v) { if (v != m_wordWrap) { m_wordWrap = v; Changed(); } }

void TShadowLabel::SetFocusControl(TWinControl* control) {
    if (control == m_focusControl) return;
    if (m_focusControl) RemoveFreeNotification(m_focusControl);
    m_focusControl = control;
    if (control) FreeNotification(control);
    Invalidate();
}

void TShadowLabel::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == m_focusControl) m_focusControl = nullptr;
}

UINT TShadowLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (m_wordWrap) flags |= DT_WORDBREAK;
    if (m_alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    if (m_alignment == TAlignment::taCenter) flags |= DT_CENTER;
    return flags;
}

void TShadowLabel::DoDrawText(TCanvas& canvas, RECT& r, UINT flags) {
    std::wstring text = m_caption;
    bool measuring = (flags & DT_CALCRECT) != 0;
    if (measuring && (text.empty() || (m_showAccelChar && text == L"&"))) text = L" ";
    if (!m_showAccelChar) flags |= DT_NOPREFIX;
    canvas.Brush.Style = TBrushStyle::bsClear;
    int s = m_shadowSize;
    if (measuring) {
        canvas.DrawText(text, r, flags);
        r.bottom += s;
        return;
    }
    TColor textColor = m_enabled ? Font.Color : clGrayText;
    TColor shadowColor = m_enabled ? m_shadowColor : clBtnHighlight;
    RECT textRect = r, shadowRect = r;
    switch (m_shadowPos) {
    case TShadowPosition::spLeftTop: OffsetRect(&textRect, s, s); break;
    case TShadowPosition::spLeftBottom: OffsetRect(&textRect, s, 0); OffsetRect(&shadowRect, 0, s); break;
    case TShadowPosition::spRightBottom: OffsetRect(&shadowRect, s, s); break;
    case TShadowPosition::spRightTop: OffsetRect(&textRect, 0, s); OffsetRect(&shadowRect, s, 0); break;
    }
    canvas.Font.Color = shadowColor;
    canvas.DrawText(text, shadowRect, flags);
    canvas.Font.Color = textColor;
    canvas.DrawText(text, textRect, flags);
}

void TShadowLabel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!m_transparent) {
        canvas.Brush.Color = EffectiveColor();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect(r);
    }
    RECT measured = r;
    DoDrawText(canvas, measured, DrawFlags() | DT_CALCRECT);
    int textHeight = measured.bottom - measured.top;
    if (m_layout == TTextLayout::tlBottom) OffsetRect(&r, 0, Height() - textHeight);
    else if (m_layout == TTextLayout::tlCenter) OffsetRect(&r, 0, (Height() - textHeight) / 2);
    DoDrawText(canvas, r, DrawFlags());
    if (m_showFocus && m_focusControl && m_focusControl->Focused()) {
        // The frame hugs the measured text, two pixels out, inside the label.
        int width = measured.right - measured.left;
        int left = m_alignment == TAlignment::taRightJustify ? Width() - width
                   : m_alignment == TAlignment::taCenter     ? (Width() - width) / 2
                                                             : 0;
        RECT frame{left, r.top, left + width, r.top + textHeight};
        InflateRect(&frame, 2, 2);
        RECT client = ClientRect();
        IntersectRect(&frame, &frame, &client);
        canvas.DrawFocusRect(frame);
    }
}

void TShadowLabel::AdjustBounds() {
    if (!m_autoSize) return;
    HDC dc = GetDC(nullptr);
    {
        TCanvas canvas(dc);
        canvas.Font = Font;
        RECT r = ClientRect();
        if (!m_wordWrap) r.right = 0;
        DoDrawText(canvas, r, DrawFlags() | DT_CALCRECT);
        int left = Left();
        if (m_alignment == TAlignment::taRightJustify) left += Width() - r.right;
        SetBounds(left, Top(), r.right, r.bottom);
    }
    ReleaseDC(nullptr, dc);
}

bool TShadowLabel::DialogChar(wchar_t key) {
    if (!m_showAccelChar || !m_focusControl || !m_focusControl->CanFocus()) return false;
    if (AccelChar(m_caption) != static_cast<wchar_t>(std::towlower(key))) return false;
    m_focusControl->SetFocus();
    return true;
}

void TShadowLabel::FocusChanged(TWinControl*) {
    if (m_showFocus && m_focusControl) Invalidate();
}

void TShadowLabel::TextChanged() { Changed(); }
void TShadowLabel::FontChanged() { Changed(); }

}  // namespace velmora
