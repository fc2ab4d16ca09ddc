#include <gtest/gtest.h>

#include "mainwindow/SplashScreen.h"
#include "platform/gui/Application.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

TEST(Splash, IsABorderlessCentredTopmostWindowOf412By112) {
    std::unique_ptr<TSplash, TComponentDeleter> splash(Create<TSplash>(Application));
    splash->Show();
    HWND h = splash->Handle();
    EXPECT_EQ(splash->ClientWidth(), 412);
    EXPECT_EQ(splash->ClientHeight(), 112);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongW(h, GWL_STYLE) & WS_CAPTION);
    RECT r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 412) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 112) / 2);
}

TEST(Splash, LaysOutFramesPicturesAndLabelsAsDrawn) {
    std::unique_ptr<TSplash, TComponentDeleter> splash(Create<TSplash>(Application));
    splash->HandleNeeded();
    EXPECT_TRUE(Same(splash->Wallpaper1.BoundsRect(), RECT{0, 0, 412, 112}));
    EXPECT_GT(splash->Wallpaper1.Wallpaper().Width(), 0);
    EXPECT_TRUE(Same(splash->Bevel1.BoundsRect(), RECT{15, 15, 97, 97}));
    EXPECT_TRUE(Same(splash->Bevel2.BoundsRect(), RECT{109, 15, 397, 42}));
    EXPECT_TRUE(Same(splash->Bevel3.BoundsRect(), RECT{109, 45, 397, 97}));
    // One pixel inside each frame.
    EXPECT_TRUE(Same(splash->Panel1.BoundsRect(), RECT{16, 16, 96, 96}));
    EXPECT_TRUE(Same(splash->Panel2.BoundsRect(), RECT{110, 16, 396, 41}));
    EXPECT_EQ(splash->Image1.Picture.Width(), 80);
    EXPECT_EQ(splash->Image1.Picture.Height(), 80);
    EXPECT_EQ(splash->Image2.Picture.Width(), 286);
    EXPECT_EQ(splash->Image2.Picture.Height(), 24);
    EXPECT_EQ(splash->ShadowLabel2.Caption(), L"Version 1.0");
    RECT frame = splash->Bevel3.BoundsRect();
    for (TShadowLabel* label : {&splash->ShadowLabel2, &splash->ShadowLabel3, &splash->ShadowLabel1}) {
        RECT both;
        RECT bounds = label->BoundsRect();
        IntersectRect(&both, &bounds, &frame);
        EXPECT_TRUE(Same(both, bounds)) << label->Name();
        EXPECT_EQ(label->ShadowSize(), 0);
        EXPECT_TRUE(label->Transparent());
        EXPECT_EQ(label->Layout(), TTextLayout::tlCenter);
        EXPECT_EQ(label->ShadowColor(), clGray);
        EXPECT_FALSE(label->Caption().empty());
    }
}

// The splash is shown while the main window is made, with no message loop:
// showing and updating it paints everything, the picture panels included.
TEST(Splash, IsPaintedAtOnceWithoutAMessageLoop) {
    std::unique_ptr<TSplash, TComponentDeleter> splash(Create<TSplash>(Application));
    splash->Show();
    splash->Update();
    HDC dc = GetDC(splash->Panel2.Handle());
    COLORREF title = GetPixel(dc, 2, 12);
    ReleaseDC(splash->Panel2.Handle(), dc);
    EXPECT_GT(GetBValue(title), 100) << std::hex << title;  // the title's blue
    EXPECT_LT(GetRValue(title), 60) << std::hex << title;
}

}  // namespace
