#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"

using namespace velmora::gui;

namespace {

TEST(Canvas, PatternBrushesPiesAndClippingOnAnOffScreenBitmap) {
    TBitmap pattern(2, 2);
    pattern.Canvas().Brush.Color = clWhite;
    pattern.Canvas().FillRect({0, 0, 2, 2});
    SetPixel(pattern.Canvas().Handle(), 0, 0, RGB(0, 0, 0));
    SetPixel(pattern.Canvas().Handle(), 1, 1, RGB(0, 0, 0));

    TBitmap target(40, 40);
    TCanvas& canvas = target.Canvas();
    canvas.Brush.Bitmap = &pattern;
    canvas.FillRect({0, 0, 40, 40});
    EXPECT_NE(canvas.Pixel(0, 0), canvas.Pixel(1, 0));
    EXPECT_EQ(canvas.Pixel(0, 0), canvas.Pixel(1, 1));

    canvas.Brush.Bitmap = nullptr;
    canvas.Brush.Color = clRed;
    canvas.Pen.Style = TPenStyle::psClear;
    int saved = canvas.SaveDC();
    canvas.IntersectClip({0, 0, 20, 40});
    canvas.Ellipse(0, 0, 40, 40);
    canvas.RestoreDC(saved);
    EXPECT_EQ(canvas.Pixel(15, 20), RGB(255, 0, 0));
    EXPECT_NE(canvas.Pixel(25, 20), RGB(255, 0, 0));  // clipped away
    canvas.Brush.Color = clBlue;
    // A quarter pie: from 3 o'clock counter-clockwise to 12 o'clock.
    canvas.Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(canvas.Pixel(30, 10), RGB(0, 0, 255));
    EXPECT_NE(canvas.Pixel(10, 30), RGB(0, 0, 255));
}

TEST(Canvas, TextExtentFollowsTheFont) {
    TBitmap target(10, 10);
    TCanvas& canvas = target.Canvas();
    SIZE small = canvas.TextExtent(L"Dateien");
    canvas.Font.SetSize(16);
    SIZE large = canvas.TextExtent(L"Dateien");
    EXPECT_GT(large.cx, small.cx);
    EXPECT_GT(large.cy, small.cy);
    canvas.Font.SetStyle(fsBold);
    EXPECT_GE(canvas.TextWidth(L"Dateien"), large.cx);
}

TEST(Keys, AKeyPressHandlerCanChangeOrSwallowTheCharacter) {
    TForm form(nullptr);
    TEdit edit(&form);
    edit.OnKeyPress = [](TObject*, wchar_t& key) {
        if (key == L'x') key = 0;
        else if (key >= L'A' && key <= L'Z') key = static_cast<wchar_t>(key + 32);
    };
    std::vector<std::wstring> changes;
    edit.OnChange = [&](TObject*) { changes.push_back(edit.Text()); };
    form.Show();
    for (wchar_t c : std::wstring(L"AxB")) SendMessageW(edit.Handle(), WM_CHAR, c, 1);
    EXPECT_EQ(edit.Text(), L"ab");
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"a", L"ab"}));
    edit.SetText(L"ab");  // the same text: no change event
    EXPECT_EQ(changes.size(), 2u);
}

TEST(Keys, WithKeyPreviewTheFormSeesAndMaySwallowTheKeyFirst) {
    TForm form(nullptr);
    TEdit edit(&form);
    std::vector<std::wstring> order;
    form.KeyPreview = true;
    form.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        order.push_back(L"form");
        if (key == VK_F3) key = 0;
    };
    edit.OnKeyDown = [&](TObject*, WORD&, TShiftState) { order.push_back(L"edit"); };
    form.Show();
    SendMessageW(edit.Handle(), WM_KEYDOWN, VK_F2, 0);
    SendMessageW(edit.Handle(), WM_KEYDOWN, VK_F3, 0);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"form", L"edit", L"form"}));
}

TEST(Application, ActivationOfTheProgramReachesOnActivate) {
    int activations = 0, deactivations = 0;
    Application->OnActivate = [&](TObject*) { ++activations; };
    Application->OnDeactivate = [&](TObject*) { ++deactivations; };
    SendMessageW(Application->UtilityWindow(), WM_ACTIVATEAPP, FALSE, 0);
    SendMessageW(Application->UtilityWindow(), WM_ACTIVATEAPP, TRUE, 0);
    Application->OnActivate = Application->OnDeactivate = nullptr;
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(deactivations, 1);
    EXPECT_TRUE(Application->Active());
}

}  // namespace
