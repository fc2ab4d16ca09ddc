#include <gtest/gtest.h>

#include <windows.h>

#include "autostart/starter/DigitStrip.h"
#include "StartRecorder.h"

using namespace velmora;

namespace {

const COLORREF kLit = RGB(0xff, 0x2a, 0x1a);
const COLORREF kUnlit = RGB(0x3a, 0x08, 0x06);
const COLORREF kBackground = RGB(0, 0, 255);

// A 45 x 33 picture, as the autostarter's display, painted blue first so that
// whatever the strip did not cover shows.
class DigitStripTest : public ::testing::Test {
protected:
    void SetUp() override {
        HBITMAP file = static_cast<HBITMAP>(LoadImageW(
            nullptr, HostPathToWindows(VELMORA_SOURCE_DIR "/src/autostart/starter/res/digits.bmp").c_str(),
            IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        ASSERT_NE(file, nullptr);
        strip.Assign(file);
        DeleteObject(file);  // the strip keeps its own copy

        // A DIB section needs no display.
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 45, -33, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(target, nullptr);
        old = SelectObject(dc, target);
        HBRUSH blue = CreateSolidBrush(kBackground);
        RECT all{0, 0, 45, 33};
        FillRect(dc, &all, blue);
        DeleteObject(blue);
    }
    void TearDown() override {
        SelectObject(dc, old);
        DeleteObject(target);
        DeleteDC(dc);
    }
    void Draw(const std::wstring& text) {
        TDigitMetrics m{45, 6, strip.Width() / 10, 0, strip.Width()};
        strip.DrawCells(dc, LayoutDigits(text, m), m.NumberWidth, 6);
    }
    // A pixel of the cell whose left edge is CellLeft, in cell coordinates.
    COLORREF At(int cellLeft, int x, int y) const { return GetPixel(dc, cellLeft + x, 6 + y); }

    TDigitStrip strip;
    HDC dc = nullptr;
    HBITMAP target = nullptr;
    HGDIOBJ old = nullptr;
};

}  // namespace

TEST_F(DigitStripTest, TheStripIsTenCellsOf16By21) {
    EXPECT_EQ(strip.Width(), 160);
    EXPECT_EQ(strip.Height(), 21);
}

TEST_F(DigitStripTest, DrawsZeroAndFiveFromTheirCells) {
    Draw(L"05");
    // The middle segment: dark in 0, lit in 5; the upper right one the other way.
    EXPECT_EQ(At(7, 7, 10), kUnlit);
    EXPECT_EQ(At(23, 7, 10), kLit);
    EXPECT_EQ(At(7, 13, 5), kLit);
    EXPECT_EQ(At(23, 13, 5), kUnlit);
    // Only the cells are covered; the insets keep what was there.
    EXPECT_EQ(GetPixel(dc, 3, 3), kBackground);
    EXPECT_EQ(GetPixel(dc, 41, 16), kBackground);
    EXPECT_EQ(GetPixel(dc, 20, 30), kBackground);
}

TEST_F(DigitStripTest, AMinusWithoutItsCellLeavesTheCellBlank) {
    Draw(L"-7");
    EXPECT_EQ(At(23, 7, 1), kLit);
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 21; ++y) ASSERT_EQ(At(7, x, y), kBackground) << x << "," << y;
}

TEST_F(DigitStripTest, AnEmptyStripDrawsNothing) {
    TDigitStrip empty;
    empty.Assign(nullptr);
    EXPECT_TRUE(empty.Empty());
    empty.DrawCells(dc, {TDigitCell{7, 0}}, 16, 6);
    EXPECT_EQ(At(7, 7, 1), kBackground);
}
