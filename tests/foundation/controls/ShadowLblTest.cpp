#include <gtest/gtest.h>

#include "foundation/controls/ShadowLbl.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

struct Box {
    int left = 1000, top = 1000, right = -1, bottom = -1;
    void Add(int x, int y) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
};

// Paints the label on white and finds the boxes of the text and shadow colours.
std::pair<Box, Box> Render(TShadowLabel& label, COLORREF text, COLORREF shadow) {
    TBitmap bitmap(label.Width(), label.Height());
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.Color = clWhite;
    canvas.FillRect({0, 0, label.Width(), label.Height()});
    label.PaintControl(canvas);
    Box t, s;
    for (int y = 0; y < label.Height(); ++y)
        for (int x = 0; x < label.Width(); ++x) {
            COLORREF c = canvas.Pixel(x, y);
            if (c == text) t.Add(x, y);
            if (c == shadow) s.Add(x, y);
        }
    return {t, s};
}

TShadowLabel& Prepare(TShadowLabel& label, TShadowPosition pos) {
    label.SetTransparent(true);
    label.SetCaption(L"|");
    label.Font.Color = clBlack;
    label.SetShadowColor(clRed);
    label.SetShadowSize(4);
    label.SetShadowPos(pos);
    label.SetAutoSize(false);
    label.SetBounds(0, 0, 30, 30);
    return label;
}

TEST(ShadowLabel, DefaultsAreThoseOfTheClassLibrary) {
    TShadowLabel label(nullptr);
    EXPECT_EQ(label.ShadowSize(), 1);
    EXPECT_EQ(label.ShadowPos(), TShadowPosition::spLeftTop);
    EXPECT_EQ(label.ShadowColor(), clBtnHighlight);
    EXPECT_EQ(label.Layout(), TTextLayout::tlTop);
    EXPECT_TRUE(label.AutoSize());
    EXPECT_TRUE(label.ShowAccelChar());
    EXPECT_FALSE(label.Transparent());
}

TEST(ShadowLabel, TextAndShadowAreOffsetByThePosition) {
    struct Case {
        TShadowPosition pos;
        int dx, dy;  // text box minus shadow box
    } cases[] = {{TShadowPosition::spLeftTop, 4, 4},
                 {TShadowPosition::spLeftBottom, 4, -4},
                 {TShadowPosition::spRightBottom, -4, -4},
                 {TShadowPosition::spRightTop, -4, 4}};
    for (const Case& c : cases) {
        TShadowLabel label(nullptr);
        auto [text, shadow] = Render(Prepare(label, c.pos), RGB(0, 0, 0), RGB(255, 0, 0));
        ASSERT_GE(text.right, 0) << static_cast<int>(c.pos);
        ASSERT_GE(shadow.right, 0) << static_cast<int>(c.pos);
        EXPECT_EQ(text.left - shadow.left, c.dx) << static_cast<int>(c.pos);
        EXPECT_EQ(text.top - shadow.top, c.dy) << static_cast<int>(c.pos);
    }
}

TEST(ShadowLabel, ADisabledLabelIsGreyOverAHighlightShadow) {
    TShadowLabel label(nullptr);
    Prepare(label, TShadowPosition::spLeftTop).SetEnabled(false);
    auto [text, shadow] = Render(label, ColorToRGB(clGrayText), ColorToRGB(clBtnHighlight));
    EXPECT_GE(text.right, 0);
    EXPECT_GE(shadow.right, 0);
    auto [black, red] = Render(label, RGB(0, 0, 0), RGB(255, 0, 0));
    EXPECT_LT(black.right, 0);
    EXPECT_LT(red.right, 0);
}

TEST(ShadowLabel, MeasuredHeightGrowsByTheShadowAndEmptyTextMeasuresAsABlank) {
    TShadowLabel plain(nullptr), shadowed(nullptr);
    plain.SetShadowSize(0);
    plain.SetCaption(L"Version 1.0");
    shadowed.SetShadowSize(5);
    shadowed.SetCaption(L"Version 1.0");
    EXPECT_EQ(shadowed.Height(), plain.Height() + 5);
    TShadowLabel empty(nullptr), amp(nullptr);
    empty.SetShadowSize(0);
    empty.SetCaption(L"x");
    empty.SetCaption(L"");
    amp.SetShadowSize(0);
    amp.SetCaption(L"&");
    EXPECT_EQ(empty.Height(), plain.Height());
    EXPECT_EQ(amp.Height(), plain.Height());
    EXPECT_GT(empty.Width(), 0);
}

TEST(ShadowLabel, WithoutAccelCharsAnAmpersandShows) {
    TShadowLabel label(nullptr);
    Prepare(label, TShadowPosition::spLeftTop).SetCaption(L"&ii");
    label.SetBounds(0, 0, 60, 30);
    Box prefixed = Render(label, RGB(0, 0, 0), RGB(255, 0, 0)).first;
    label.SetShowAccelChar(false);
    Box literal = Render(label, RGB(0, 0, 0), RGB(255, 0, 0)).first;
    EXPECT_GT(literal.right - literal.left, prefixed.right - prefixed.left + 2);
}

TEST(ShadowLabel, LayoutCentresTheTextVertically) {
    TShadowLabel label(nullptr);
    Prepare(label, TShadowPosition::spLeftTop).SetShadowSize(0);
    label.SetBounds(0, 0, 30, 60);
    int top = Render(label, RGB(0, 0, 0), RGB(255, 0, 0)).first.top;
    label.SetLayout(TTextLayout::tlCenter);
    int centred = Render(label, RGB(0, 0, 0), RGB(255, 0, 0)).first.top;
    label.SetLayout(TTextLayout::tlBottom);
    int bottom = Render(label, RGB(0, 0, 0), RGB(255, 0, 0)).first.top;
    EXPECT_GT(centred, top + 10);
    EXPECT_GT(bottom, centred + 10);
}

TEST(ShadowLabel, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
    TShadowLabel label(nullptr);
    label.SetAlignment(TAlignment::taRightJustify);
    label.SetBounds(100, 0, 50, 20);
    label.SetCaption(L"Ein längerer Text");
    EXPECT_EQ(label.Left() + label.Width(), 150);
}

TEST(ShadowLabel, TheAcceleratorFocusesTheFocusControlAndItsRemovalIsNoticed) {
    TForm form(nullptr);
    auto* edit = new TEdit(&form);
    TShadowLabel label(&form);
    label.SetCaption(L"&Name");
    label.SetFocusControl(edit);
    form.Show();
    EXPECT_FALSE(label.DialogChar(L'x'));
    EXPECT_TRUE(form.DialogChar(L'n'));
    EXPECT_EQ(GetFocus(), edit->Handle());
    edit->Free();
    EXPECT_EQ(label.FocusControl(), nullptr);
    EXPECT_FALSE(label.DialogChar(L'n'));
}

}  // namespace
