#include "Bevel.h"

#include "Panel.h"

namespace velmora::gui {

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    m_width = 50;
    m_height = 50;
}

void TBevel::Paint() {
    TCanvas& canvas = Canvas();
    TColor light = Style == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    TColor dark = Style == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    RECT r = ClientRect();
    auto line = [&](int x1, int y1, int x2, int y2, TColor c) {
        canvas.Pen.Color = c;
        canvas.MoveTo(x1, y1);
        canvas.LineTo(x2, y2);
    };
    switch (Shape) {
    case TBevelShape::bsBox: Frame3D(canvas, r, light, dark, 1); break;
    case TBevelShape::bsFrame: {
        RECT outer = r;
        outer.right -= 1;
        outer.bottom -= 1;
        Frame3D(canvas, outer, light, light, 1);
        RECT inner = r;
        inner.left += 1;
        inner.top += 1;
        Frame3D(canvas, inner, dark, dark, 1);
        break;
    }
    case TBevelShape::bsTopLine: line(0, 0, m_width, 0, light); line(0, 1, m_width, 1, dark); break;
    case TBevelShape::bsBottomLine:
        line(0, m_height - 2, m_width, m_height - 2, light);
        line(0, m_height - 1, m_width, m_height - 1, dark);
        break;
    case TBevelShape::bsLeftLine: line(0, 0, 0, m_height, light); line(1, 0, 1, m_height, dark); break;
    case TBevelShape::bsRightLine:
        line(m_width - 2, 0, m_width - 2, m_height, light);
        line(m_width - 1, 0, m_width - 1, m_height, dark);
        break;
    }
}

}  // namespace velmora::gui
