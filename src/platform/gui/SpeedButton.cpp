#include "SpeedButton.h"

namespace velmora::gui {

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    m_width = 23;
    m_height = 22;
}

void TSpeedButton::SetDown(bool down) {
    if (GroupIndex == 0) down = false;
    if (down == m_down) return;
    if (!down && !AllowAllUp) {
        // The last button of a group stays down unless all may be up.
        bool otherDown = false;
        if (m_parent)
            for (int i = 0; i < m_parent->ControlCount(); ++i)
                if (auto* b = dynamic_cast<TSpeedButton*>(m_parent->Controls(i)); b && b != this &&
                                                                                   b->GroupIndex == GroupIndex && b->m_down)
                    otherDown = true;
        if (!otherDown) return;
    }
    m_down = down;
    if (down && m_parent)
        for (int i = 0; i < m_parent->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TSpeedButton*>(m_parent->Controls(i)); b && b != this && b->GroupIndex == GroupIndex) {
                b->m_down = false;
                b->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::Click() {
    if (GroupIndex != 0) SetDown(AllowAllUp ? !m_down : true);
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        m_pressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    m_pressed = false;
    Invalidate();
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::MouseEnter() {
    Invalidate();
    TGraphicControl::MouseEnter();
}

void TSpeedButton::MouseLeave() {
    Invalidate();
    TGraphicControl::MouseLeave();
}

void TSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    canvas.Brush.Color = EffectiveColor();
    canvas.FillRect(r);
    bool sunken = m_down || m_pressed;
    if (!Flat || sunken || m_mouseInside) canvas.DrawEdge(r, sunken ? EDGE_SUNKEN : (Flat ? BDR_RAISEDINNER : EDGE_RAISED), BF_RECT);
    int shift = sunken ? 1 : 0;
    int textWidth = m_caption.empty() ? 0 : canvas.TextWidth(m_caption);
    int gw = Glyph.Empty() ? 0 : Glyph.Width(), gh = Glyph.Height();
    int total = gw + (gw && textWidth ? 4 : 0) + textWidth;
    int x = (m_width - total) / 2 + shift;
    if (gw) {
        canvas.Draw(x, (m_height - gh) / 2 + shift, Glyph);
        x += gw + 4;
    }
    if (textWidth) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.Font.Color = m_enabled ? Font.Color : clGrayText;
        RECT t{x, shift, x + textWidth, m_height + shift};
        canvas.DrawText(m_caption, t, DT_SINGLELINE | DT_VCENTER);
    }
}

}  // namespace velmora::gui
