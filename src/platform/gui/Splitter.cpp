#include "Splitter.h"

#include <algorithm>

#include "Application.h"

namespace velmora::gui {

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    m_align = TAlign::alLeft;
    m_width = 3;
    m_height = 100;
}

static bool Horizontal(TAlign a) { return a == TAlign::alLeft || a == TAlign::alRight; }

// The control aligned the same way that touches this splitter's leading edge.
TControl* TSplitter::Neighbour() const {
    if (!m_parent) return nullptr;
    for (int i = 0; i < m_parent->ControlCount(); ++i) {
        TControl* c = m_parent->Controls(i);
        if (c == this || c->Align() != m_align || !c->Visible()) continue;
        switch (m_align) {
        case TAlign::alLeft: if (c->Left() + c->Width() == m_left) return c; break;
        case TAlign::alRight: if (c->Left() == m_left + m_width) return c; break;
        case TAlign::alTop: if (c->Top() + c->Height() == m_top) return c; break;
        case TAlign::alBottom: if (c->Top() == m_top + m_height) return c; break;
        default: break;
        }
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TControl* n = Neighbour();
    if (button == TMouseButton::mbLeft && n) {
        m_dragging = true;
        GetCursorPos(&m_start);
        m_startSize = Horizontal(m_align) ? n->Width() : n->Height();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    if (m_dragging) {
        if (TControl* n = Neighbour()) {
            POINT p;
            GetCursorPos(&p);
            int delta = Horizontal(m_align) ? p.x - m_start.x : p.y - m_start.y;
            if (m_align == TAlign::alRight || m_align == TAlign::alBottom) delta = -delta;
            int size = std::max(MinSize, m_startSize + delta);
            if (Horizontal(m_align)) n->SetWidth(size);
            else n->SetHeight(size);
        }
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (m_dragging) {
        m_dragging = false;
        Fire(OnMoved, this);
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSplitter::MouseEnter() {
    if (Screen) ::SetCursor(LoadCursorW(nullptr, Horizontal(m_align) ? IDC_SIZEWE : IDC_SIZENS));
    TGraphicControl::MouseEnter();
}

void TSplitter::MouseLeave() { TGraphicControl::MouseLeave(); }

void TSplitter::Paint() {
    Canvas().Brush.Color = EffectiveColor();
    Canvas().FillRect(ClientRect());
}

}  // namespace velmora::gui
