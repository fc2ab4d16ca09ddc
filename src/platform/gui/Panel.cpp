#include "Panel.h"

namespace velmora::gui {

void Frame3D(TCanvas& canvas, RECT& r, TColor topLeft, TColor bottomRight, int width) {
    HDC dc = canvas.Handle();
    for (int i = 0; i < width; ++i) {
        HPEN light = CreatePen(PS_SOLID, 1, ColorToRGB(topLeft));
        HPEN dark = CreatePen(PS_SOLID, 1, ColorToRGB(bottomRight));
        HGDIOBJ old = SelectObject(dc, light);
        MoveToEx(dc, r.left, r.bottom - 1, nullptr);
        LineTo(dc, r.left, r.top);
        LineTo(dc, r.right - 1, r.top);
        SelectObject(dc, dark);
        LineTo(dc, r.right - 1, r.bottom - 1);
        LineTo(dc, r.left - 1, r.bottom - 1);
        SelectObject(dc, old);
        DeleteObject(light);
        DeleteObject(dark);
        InflateRect(&r, -1, -1);
    }
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    m_width = 185;
    m_height = 41;
}

void TPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    if (m_borderStyle == TPanelBorder::bsSingle) p.Style |= WS_BORDER;
}

void TPanel::Changed() {
    Invalidate();
    AlignControls();
}

void TPanel::SetBevelInner(TBevelCut cut) { m_bevelInner = cut; Changed(); }
void TPanel::SetBevelOuter(TBevelCut cut) { m_bevelOuter = cut; Changed(); }
void TPanel::SetBevelWidth(int width) { m_bevelWidth = width; Changed(); }
void TPanel::SetBorderWidth(int width) { m_borderWidth = width; Changed(); }

void TPanel::SetBorderStyle(TPanelBorder style) {
    if (style == m_borderStyle) return;
    m_borderStyle = style;
    if (HandleAllocated()) {
        LONG s = GetWindowLongW(m_handle, GWL_STYLE);
        SetWindowLongW(m_handle, GWL_STYLE, style == TPanelBorder::bsSingle ? s | WS_BORDER : s & ~WS_BORDER);
        SetWindowPos(m_handle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    Changed();
}

RECT TPanel::AlignRect() {
    RECT r = ClientRect();
    int inset = m_borderWidth;
    if (m_bevelOuter != TBevelCut::bvNone) inset += m_bevelWidth;
    if (m_bevelInner != TBevelCut::bvNone) inset += m_bevelWidth;
    InflateRect(&r, -inset, -inset);
    return r;
}

void TPanel::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    auto bevel = [&](TBevelCut cut) {
        if (cut == TBevelCut::bvNone) return;
        TColor tl = cut == TBevelCut::bvLowered ? clBtnShadow : clBtnHighlight;
        TColor br = cut == TBevelCut::bvLowered ? clBtnHighlight : clBtnShadow;
        if (cut == TBevelCut::bvSpace) tl = br = EffectiveColor();
        Frame3D(canvas, r, tl, br, m_bevelWidth);
    };
    bevel(m_bevelOuter);
    Frame3D(canvas, r, EffectiveColor(), EffectiveColor(), m_borderWidth);
    bevel(m_bevelInner);
    canvas.Brush.Color = EffectiveColor();
    canvas.FillRect(r);
    if (m_caption.empty()) return;
    canvas.Brush.Style = TBrushStyle::bsClear;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    canvas.DrawText(m_caption, r, flags);
}

}  // namespace velmora::gui
