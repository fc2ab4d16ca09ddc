#include <gtest/gtest.h>

#include <memory>

#include "foundation/controls/ExplBtn.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// A 16 by 16 picture: a square of Colour from (4,4) to (11,11) on the
// transparent colour, which the bottom-left pixel gives.
std::unique_ptr<TBitmap> Square(COLORREF colour) {
    auto bitmap = std::make_unique<TBitmap>(16, 16);
    HDC dc = bitmap->Canvas().Handle();
    HBRUSH back = CreateSolidBrush(kTransparent), front = CreateSolidBrush(colour);
    RECT all{0, 0, 16, 16}, square{4, 4, 12, 12};
    FillRect(dc, &all, back);
    FillRect(dc, &square, front);
    DeleteObject(back);
    DeleteObject(front);
    return bitmap;
}

COLORREF Face() { return ColorToRGB(clBtnFace); }
COLORREF Light() { return ColorToRGB(clBtnHighlight); }
COLORREF Dark() { return ColorToRGB(clBtnShadow); }

// A shown form with a row of 30 by 30 icon-only buttons, driven by the mouse
// messages the form receives. The picture of a button sits at (7,7), its
// square at (11,11) to (18,18).
struct ExplorerButtons : ::testing::Test {
    std::unique_ptr<TForm, TComponentDeleter> form{Create<TForm>(nullptr)};
    TExplorerButton* buttons[3]{};

    void SetUp() override {
        form->SetBounds(50, 50, 200, 100);
        for (int i = 0; i < 3; ++i) {
            auto* b = new TExplorerButton(form.get());
            b->SetBounds(10 + i * 40, 10, 30, 30);
            b->SetOptions(boShowBevel | boIconOnly);
            b->Bitmap.SetGraphic(Square(RGB(0, 0, 0)));
            buttons[i] = b;
        }
        form->Show();
    }
    void Send(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageW(form->Handle(), message, keys, MAKELPARAM(x, y));
    }
    // Mouse positions in the form, relative to a button.
    void Move(int i, int x, int y) { Send(WM_MOUSEMOVE, buttons[i]->Left() + x, buttons[i]->Top() + y); }
    void Press(int i, int x = 5, int y = 5) {
        Move(i, x, y);
        Send(WM_LBUTTONDOWN, buttons[i]->Left() + x, buttons[i]->Top() + y, MK_LBUTTON);
    }
    void Release(int i, int x = 5, int y = 5) { Send(WM_LBUTTONUP, buttons[i]->Left() + x, buttons[i]->Top() + y); }
    void ClickOn(int i) {
        Press(i);
        Release(i);
    }
    COLORREF At(int i, int x, int y) {
        TBitmap target(30, 30);
        buttons[i]->PaintControl(target.Canvas());
        return target.Canvas().Pixel(x, y);
    }
};

TEST_F(ExplorerButtons, AnIdleButtonShowsNoBevelAndItsPictureTransparently) {
    EXPECT_EQ(At(0, 0, 0), Face());
    EXPECT_EQ(At(0, 29, 29), Face());
    EXPECT_EQ(At(0, 8, 8), Face());  // the picture's transparent corner
    EXPECT_EQ(At(0, 11, 11), RGB(0, 0, 0));
    EXPECT_EQ(At(0, 18, 18), RGB(0, 0, 0));
}

TEST_F(ExplorerButtons, TheMouseOverAButtonRaisesItsBevelAndBevelStyleSwapsTheEdges) {
    int entered = 0, left = 0;
    buttons[0]->OnEnter = [&](TObject*) { ++entered; };
    buttons[0]->OnExit = [&](TObject*) { ++left; };
    Move(0, 5, 5);
    EXPECT_TRUE(buttons[0]->MouseInside());
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(At(0, 0, 0), Light());
    EXPECT_EQ(At(0, 29, 29), Dark());
    EXPECT_EQ(At(0, 11, 11), RGB(0, 0, 0));  // not shifted

    buttons[0]->SetBevelStyle(TBevelStyle::bsLowered);
    EXPECT_EQ(At(0, 0, 0), Dark());
    EXPECT_EQ(At(0, 29, 29), Light());

    Move(1, 5, 5);
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(buttons[0]->MouseInside());
    EXPECT_EQ(At(0, 0, 0), Face());

    buttons[1]->SetOptions(boIconOnly);  // hot, but without a bevel
    EXPECT_EQ(At(1, 0, 0), Face());

    buttons[1]->SetEnabled(false);  // disabled under the mouse, which then leaves
    Move(2, 5, 5);
    buttons[1]->SetEnabled(true);
    EXPECT_FALSE(buttons[1]->MouseInside());
    EXPECT_EQ(left, 1);
}

TEST_F(ExplorerButtons, APressedButtonIsLoweredWithItsPictureShiftedWhileTheMouseIsInside) {
    Press(0);
    EXPECT_TRUE(buttons[0]->Pressing());
    EXPECT_EQ(At(0, 0, 0), Dark());
    EXPECT_EQ(At(0, 29, 29), Light());
    EXPECT_EQ(At(0, 11, 11), Face());
    EXPECT_EQ(At(0, 19, 19), RGB(0, 0, 0));

    Move(0, 35, 5);  // dragged off while held: the plain look again
    EXPECT_TRUE(buttons[0]->Pressing());
    EXPECT_EQ(At(0, 0, 0), Face());
    EXPECT_EQ(At(0, 11, 11), RGB(0, 0, 0));

    Move(0, 5, 5);
    EXPECT_EQ(At(0, 0, 0), Dark());
    Release(0);
    EXPECT_FALSE(buttons[0]->Pressing());
}

TEST_F(ExplorerButtons, ADownButtonIsFilledWithTheDitherOfItsShade) {
    buttons[0]->SetOptions(boShowBevel);
    buttons[0]->Bitmap.SetGraphic(nullptr);
    buttons[0]->SetDown(true);
    EXPECT_EQ(At(0, 0, 0), Dark());
    auto lightPixels = [&] {
        TBitmap target(30, 30);
        buttons[0]->PaintControl(target.Canvas());
        int n = 0;
        for (int y = 1; y < 29; ++y)
            for (int x = 1; x < 29; ++x) {
                COLORREF c = target.Canvas().Pixel(x, y);
                EXPECT_TRUE(c == Light() || c == Face()) << x << "," << y;
                n += c == Light();
            }
        return n;
    };
    EXPECT_NE(At(0, 2, 2), At(0, 3, 2));  // medium: a checkerboard
    EXPECT_EQ(lightPixels(), 28 * 28 / 2);
    buttons[0]->SetShadingType(TExplorerButtonShadingType::stLight);
    EXPECT_EQ(lightPixels(), 28 * 28 * 3 / 4);
    buttons[0]->SetShadingType(TExplorerButtonShadingType::stDark);
    EXPECT_EQ(lightPixels(), 28 * 28 / 4);
    buttons[0]->SetShowDownPattern(false);
    EXPECT_EQ(lightPixels(), 0);
}

TEST_F(ExplorerButtons, ADisabledButtonEmbossesItsPictureOrShowsTheDisabledOne) {
    buttons[0]->SetEnabled(false);
    EXPECT_EQ(At(0, 11, 11), Dark());
    EXPECT_EQ(At(0, 18, 18), Dark());
    EXPECT_EQ(At(0, 19, 19), Light());  // the highlight copy, one pixel down and right
    EXPECT_EQ(At(0, 10, 10), Face());

    buttons[0]->DisabledBitmap.SetGraphic(Square(RGB(0, 0, 255)));
    EXPECT_EQ(At(0, 11, 11), RGB(0, 0, 255));
    EXPECT_EQ(At(0, 19, 19), Face());

    Press(0);  // the mouse reaches no disabled button
    EXPECT_FALSE(buttons[0]->Pressing());
    EXPECT_EQ(At(0, 0, 0), Face());
}

TEST_F(ExplorerButtons, AwayFromTheMouseAMonoButtonShowsItsGreyOrNoFocusPicture) {
    buttons[0]->SetOptions(boShowBevel | boIconOnly | boMonoDisplay);
    buttons[0]->Bitmap.SetGraphic(Square(RGB(255, 0, 0)));
    COLORREF grey = At(0, 11, 11);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    buttons[0]->NoFocusBitmap.SetGraphic(Square(RGB(0, 128, 0)));
    EXPECT_EQ(At(0, 11, 11), RGB(0, 128, 0));
    Move(0, 5, 5);
    EXPECT_EQ(At(0, 11, 11), RGB(255, 0, 0));
}

TEST_F(ExplorerButtons, TheCaptionTakesTheUnselectedColourAwayFromTheMouse) {
    TExplorerButton& b = *buttons[0];
    b.SetOptions(boShowBevel);
    b.Bitmap.SetGraphic(nullptr);
    b.SetCaption(L"W");
    b.Font.Color = clRed;
    b.SetUnselectedFontColor(clBlue);
    auto count = [&](COLORREF colour) {
        TBitmap target(30, 30);
        b.PaintControl(target.Canvas());
        int n = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) n += target.Canvas().Pixel(x, y) == colour;
        return n;
    };
    EXPECT_GT(count(RGB(0, 0, 255)), 0);
    EXPECT_EQ(count(RGB(255, 0, 0)), 0);
    Move(0, 5, 5);
    EXPECT_GT(count(RGB(255, 0, 0)), 0);
    EXPECT_EQ(count(RGB(0, 0, 255)), 0);
}

TEST_F(ExplorerButtons, OnClickFiresOnlyWhenTheButtonIsReleasedInside) {
    int clicks = 0;
    buttons[0]->OnClick = [&](TObject*) { ++clicks; };
    ClickOn(0);
    EXPECT_EQ(clicks, 1);

    Press(0);
    Move(0, 35, 5);
    Release(0, 35, 5);  // over the next button
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(buttons[0]->Pressing());

    Press(0);
    Move(0, 35, 5);
    Move(0, 5, 5);
    Release(0);
    EXPECT_EQ(clicks, 2);

    Press(0);
    ReleaseCapture();  // another window takes the mouse: no release follows
    EXPECT_FALSE(buttons[0]->Pressing());
    Release(0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ExplorerButtons, AButtonOfAGroupGoesDownAndReleasesItsSiblings) {
    buttons[0]->SetGroupIndex(1);
    buttons[1]->SetGroupIndex(1);
    buttons[2]->SetGroupIndex(2);
    buttons[2]->SetDown(true);
    ClickOn(0);
    EXPECT_TRUE(buttons[0]->Down());
    ClickOn(1);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_TRUE(buttons[2]->Down());  // another group

    ClickOn(1);  // stays down ...
    EXPECT_TRUE(buttons[1]->Down());
    buttons[1]->AllowAllUp = true;
    ClickOn(1);  // ... unless all may be up
    EXPECT_FALSE(buttons[1]->Down());

    Press(0);
    Release(0, 35, 5);  // released outside: no toggle
    EXPECT_FALSE(buttons[0]->Down());
}

TEST_F(ExplorerButtons, APlainButtonNeverStaysDown) {
    ClickOn(0);
    EXPECT_FALSE(buttons[0]->Down());
}

TEST_F(ExplorerButtons, ALeftPressOpensTheDropDownMenuAndNoClickFollows) {
    auto* menu = new TPopupMenu(form.get());
    menu->Items().Add(new TMenuItem(form.get(), L"&Eintrag"));
    bool opened = false;
    menu->OnPopup = [&](TObject*) { opened = true; };
    int clicks = 0;
    buttons[0]->OnClick = [&](TObject*) { ++clicks; };
    buttons[0]->SetDropDownMenu(menu);
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // read by the menu's own loop
    Press(0);
    EXPECT_TRUE(opened);
    EXPECT_EQ(menu->PopupComponent(), buttons[0]);
    EXPECT_FALSE(buttons[0]->Pressing());
    Release(0);
    EXPECT_EQ(clicks, 0);

    delete menu;  // the button forgets a freed menu
    EXPECT_EQ(buttons[0]->DropDownMenu(), nullptr);
    ClickOn(0);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ExplorerButtons, ThePopupMarkNeedsAMenu) {
    TPopupMenu menu(nullptr);
    buttons[0]->SetOptions(boShowBevel | boIconOnly | boPopupMark);
    // Picture and mark are centred together: the mark's tip row lies right of the picture.
    auto markPixels = [&] {
        TBitmap target(30, 30);
        buttons[0]->PaintControl(target.Canvas());
        int n = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 20; x < 30; ++x) n += target.Canvas().Pixel(x, y) == ColorToRGB(clWindowText);
        return n;
    };
    EXPECT_EQ(markPixels(), 0);
    buttons[0]->SetDropDownMenu(&menu);
    EXPECT_EQ(markPixels(), 9);
    buttons[0]->SetDropDownMenu(nullptr);
}

TEST_F(ExplorerButtons, TheAcceleratorPressesAndReleasesAnEnabledButton) {
    int clicks = 0;
    buttons[0]->SetCaption(L"&Neu");
    buttons[0]->SetGroupIndex(3);
    buttons[0]->OnClick = [&](TObject*) { ++clicks; };
    EXPECT_TRUE(form->DialogChar(L'N'));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(buttons[0]->Down());
    EXPECT_FALSE(buttons[0]->Pressing());
    EXPECT_FALSE(form->DialogChar(L'x'));
    buttons[0]->SetEnabled(false);
    EXPECT_FALSE(form->DialogChar(L'n'));
    EXPECT_EQ(clicks, 1);
}

}  // namespace
