#include "Wall.h"

namespace velmora {

using namespace gui;

TWallpaper::TWallpaper(TComponent* owner) : TPanel(owner) {
    SetBevelOuter(TBevelCut::bvRaised);
    SetBevelWidth(1);
    ShowHint = true;
    ParentShowHint = false;
    SetAlign(TAlign::alTop);
    m_wallpaper.OnChange = [this] { Invalidate(); };
}

void TWallpaper::SetWallpaper(const TPicture& picture) { m_wallpaper.Assign(picture); }

int TWallpaper::Inset() const {
    int inset = BorderWidth();
    if (BevelOuter() != TBevelCut::bvNone) inset += BevelWidth();
    if (BevelInner() != TBevelCut::bvNone) inset += BevelWidth();
    return inset;
}

void TWallpaper::Paint() {
    TPanel::Paint();
    const TGraphic* graphic = m_wallpaper.Graphic();
    if (!graphic || graphic->Width() < 1 || graphic->Height() < 1) return;
    TCanvas& canvas = Canvas();
    int inset = Inset();
    RECT inside{inset, inset, Width() - inset, Height() - inset};
    int saved = canvas.SaveDC();
    canvas.IntersectClip(inside);
    for (int y = inset; y < inside.bottom; y += graphic->Height())
        for (int x = inset; x < inside.right; x += graphic->Width()) canvas.Draw(x, y, *graphic);
    canvas.RestoreDC(saved);
}

}  // namespace velmora
