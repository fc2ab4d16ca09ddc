#include "SplashScreen.h"

namespace velmora {

using namespace gui;

static void LoadBitmap(TPicture& picture, const wchar_t* name) {
    auto bitmap = std::make_unique<TBitmap>();
    if (bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), name)) picture.SetGraphic(std::move(bitmap));
}

TSplash::TSplash(TComponent* owner)
    : TForm(owner),
      Wallpaper1(this),
      Bevel1(&Wallpaper1),
      Bevel2(&Wallpaper1),
      Bevel3(&Wallpaper1),
      Panel1(&Wallpaper1),
      Image1(&Panel1),
      Panel2(&Wallpaper1),
      Image2(&Panel2),
      ShadowLabel2(&Wallpaper1),
      ShadowLabel3(&Wallpaper1),
      ShadowLabel1(&Wallpaper1) {
    SetName(L"Splash");
    SetCaption(L"Velmora");
    BorderStyle = TBorderStyle::bsNone;
    SetFormStyle(TFormStyle::fsStayOnTop);
    Position = TPosition::poScreenCenter;
    SetClientSize(412, 112);

    Wallpaper1.SetName(L"Wallpaper1");
    Wallpaper1.SetAlign(TAlign::alClient);
    TPicture tile;
    LoadBitmap(tile, L"TAPETE");
    Wallpaper1.SetWallpaper(tile);

    Bevel1.SetName(L"Bevel1");
    Bevel1.SetBounds(15, 15, 82, 82);
    Bevel2.SetName(L"Bevel2");
    Bevel2.SetBounds(109, 15, 288, 27);
    Bevel3.SetName(L"Bevel3");
    Bevel3.SetBounds(109, 45, 288, 52);

    Panel1.SetName(L"Panel1");
    Panel1.SetBevelOuter(TBevelCut::bvNone);
    Image1.SetName(L"Image1");
    Image1.SetBounds(0, 0, 80, 80);
    LoadBitmap(Image1.Picture, L"LOGO");
    Panel2.SetName(L"Panel2");
    Panel2.SetBevelOuter(TBevelCut::bvNone);
    Image2.SetName(L"Image2");
    Image2.SetBounds(0, 0, 286, 24);
    LoadBitmap(Image2.Picture, L"TITEL");

    PlaceLabel(ShadowLabel2, L"Version 1.0", 47);
    PlaceLabel(ShadowLabel3, L"Copyright \u00A9 1997 Quorin Ashvale", 63);
    PlaceLabel(ShadowLabel1, L"Alle Rechte vorbehalten.", 79);
    ShadowLabel2.SetName(L"ShadowLabel2");
    ShadowLabel3.SetName(L"ShadowLabel3");
    ShadowLabel1.SetName(L"ShadowLabel1");

    OnCreate = bind(this, &TSplash::FormCreate);
}

void TSplash::PlaceLabel(TShadowLabel& label, const std::wstring& text, int top) {
    label.SetAutoSize(false);
    label.SetTransparent(true);
    label.SetLayout(TTextLayout::tlCenter);
    label.SetShadowColor(clGray);
    label.SetShadowSize(0);
    label.SetCaption(text);
    label.SetBounds(117, top, 272, 16);
}

// Each picture panel sits one pixel inside its frame.
void TSplash::FormCreate(TObject*) {
    Panel1.SetBounds(Bevel1.Left() + 1, Bevel1.Top() + 1, Bevel1.Width() - 2, Bevel1.Height() - 2);
    Panel2.SetBounds(Bevel2.Left() + 1, Bevel2.Top() + 1, Bevel2.Width() - 2, Bevel2.Height() - 2);
}

}  // namespace velmora
