#include <gtest/gtest.h>

#include "foundation/controls/Wall.h"
#include "platform/gui/Forms.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// A 4 by 3 tile whose top-left pixel is red and the rest blue.
TPicture Tile(int width = 4, int height = 3) {
    TPicture picture;
    TBitmap& bitmap = picture.Bitmap();
    bitmap.SetSize(width, height);
    bitmap.Canvas().Brush.Color = clBlue;
    bitmap.Canvas().FillRect({0, 0, width, height});
    SetPixel(bitmap.Canvas().Handle(), 0, 0, RGB(255, 0, 0));
    return picture;
}

struct WallpaperPaint : ::testing::Test {
    TForm form{nullptr};
    TWallpaper wall{&form};
    TBitmap target{40, 30};
    void SetUp() override {
        wall.SetAlign(TAlign::alNone);
        wall.SetBounds(0, 0, 40, 30);
    }
    COLORREF At(int x, int y) {
        wall.PaintTo(target.Canvas().Handle());
        return target.Canvas().Pixel(x, y);
    }
};

TEST_F(WallpaperPaint, ANewPanelIsAlignedToTheTopWithARaisedBevel) {
    TWallpaper fresh(nullptr);
    EXPECT_EQ(fresh.Align(), TAlign::alTop);
    EXPECT_EQ(fresh.BevelOuter(), TBevelCut::bvRaised);
    EXPECT_EQ(fresh.BevelWidth(), 1);
    EXPECT_TRUE(fresh.ShowHint);
    EXPECT_FALSE(fresh.ParentShowHint);
}

TEST_F(WallpaperPaint, AnEmptyPictureLeavesAPlainPanel) {
    EXPECT_EQ(At(10, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(39, 29), ColorToRGB(clBtnShadow));
}

TEST_F(WallpaperPaint, TilesStartInsideBorderAndBothBevels) {
    wall.SetBorderWidth(2);
    wall.SetBevelInner(TBevelCut::bvLowered);
    wall.SetWallpaper(Tile());
    EXPECT_EQ(wall.Inset(), 4);
    EXPECT_EQ(At(4, 4), RGB(255, 0, 0));
    EXPECT_EQ(At(8, 4), RGB(255, 0, 0));
    EXPECT_EQ(At(4, 7), RGB(255, 0, 0));
    EXPECT_EQ(At(5, 4), RGB(0, 0, 255));
    EXPECT_EQ(At(3, 3), ColorToRGB(clBtnShadow));  // the inner bevel stays
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnHighlight));
    // The last tile is cut at the bevel: 40 - 4 = 36 is the first pixel outside.
    EXPECT_EQ(At(35, 25), RGB(0, 0, 255));
    EXPECT_EQ(At(36, 25), ColorToRGB(clBtnHighlight));
}

TEST_F(WallpaperPaint, ALargerPictureShowsItsTopLeftPartInsideTheBevels) {
    wall.SetWallpaper(Tile(100, 100));
    EXPECT_EQ(At(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(At(38, 28), RGB(0, 0, 255));
    EXPECT_EQ(At(39, 29), ColorToRGB(clBtnShadow));
}

TEST_F(WallpaperPaint, TheClipDoesNotOutliveThePaint) {
    wall.SetWallpaper(Tile());
    HDC dc = target.Canvas().Handle();
    wall.PaintTo(dc);
    RECT all{0, 0, 40, 30};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
}

TEST_F(WallpaperPaint, SettingThePictureCopiesIt) {
    TPicture tile = Tile();
    wall.SetWallpaper(tile);
    tile.Bitmap().Canvas().Brush.Color = clGreen;
    tile.Bitmap().Canvas().FillRect({0, 0, 4, 3});
    EXPECT_EQ(At(1, 1), RGB(255, 0, 0));
}

}  // namespace
