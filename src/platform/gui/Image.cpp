#include "Image.h"

namespace velmora::gui {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    m_width = 105;
    m_height = 105;
    Picture.OnChange = [this] {
        if (AutoSize && Picture.Graphic()) SetBounds(m_left, m_top, Picture.Width(), Picture.Height());
        Invalidate();
    };
}

void TImage::Paint() {
    const TGraphic* graphic = Picture.Graphic();
    if (!graphic || graphic->Empty()) return;
    RECT r = ClientRect();
    if (!Stretch) {
        int x = Center ? (m_width - graphic->Width()) / 2 : 0;
        int y = Center ? (m_height - graphic->Height()) / 2 : 0;
        r = {x, y, x + graphic->Width(), y + graphic->Height()};
    }
    Canvas().StretchDraw(r, *graphic);
}

}  // namespace velmora::gui
