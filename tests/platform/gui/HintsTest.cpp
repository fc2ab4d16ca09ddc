#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Panel.h"
#include "platform/gui/SpeedButton.h"
#include "platform/gui/Splitter.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

TEST(Hints, TheLongPartOfTheHintUnderTheMouseReachesOnHint) {
    TForm form(nullptr);
    TSpeedButton copy(&form);
    copy.SetBounds(10, 10, 24, 24);
    copy.Hint = L"Kopieren|Kopiert die markierten Dateien";
    form.Show();
    std::vector<std::wstring> hints;
    Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
    SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    Application->OnHint = nullptr;
    EXPECT_EQ(hints, (std::vector<std::wstring>{L"Kopiert die markierten Dateien", L""}));
    EXPECT_EQ(GetShortHint(copy.Hint), L"Kopieren");
    EXPECT_EQ(GetLongHint(L"ohne Teilung"), L"ohne Teilung");
}

TEST(Hints, MouseEnterAndLeaveReachWindowlessControls) {
    TForm form(nullptr);
    TSpeedButton button(&form);
    button.SetBounds(10, 10, 24, 24);
    int enters = 0, leaves = 0;
    button.OnMouseEnter = [&](TObject*) { ++enters; };
    button.OnMouseLeave = [&](TObject*) { ++leaves; };
    form.Show();
    SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
    SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(16, 16));
    SendMessageW(form.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(leaves, 1);
}

TEST(SpeedButtons, OneButtonOfAGroupIsDown) {
    TForm form(nullptr);
    TSpeedButton a(&form), b(&form), c(&form);
    for (TSpeedButton* s : {&a, &b, &c}) s->GroupIndex = 1;
    a.SetDown(true);
    b.Click();
    EXPECT_FALSE(a.Down());
    EXPECT_TRUE(b.Down());
    b.Click();  // the last one down stays down
    EXPECT_TRUE(b.Down());
    c.AllowAllUp = b.AllowAllUp = true;
    b.Click();
    EXPECT_FALSE(b.Down());
}

TEST(Splitter, DraggingResizesTheControlBeforeIt) {
    TForm form(nullptr);
    form.SetClientSize(400, 200);
    TPanel left(&form);
    left.SetWidth(100);
    left.SetAlign(TAlign::alLeft);
    TSplitter splitter(&form);
    splitter.MinSize = 30;
    TPanel rest(&form);
    rest.SetAlign(TAlign::alClient);
    form.Show();
    ASSERT_EQ(splitter.Left(), 100);
    int moved = 0;
    splitter.OnMoved = [&](TObject*) { ++moved; };
    POINT origin = splitter.ClientToScreen({1, 50});
    SetCursorPos(origin.x, origin.y);
    splitter.MouseDown(TMouseButton::mbLeft, 0, 1, 50);
    SetCursorPos(origin.x + 50, origin.y);
    splitter.MouseMove(ssLeft, 51, 50);
    splitter.MouseUp(TMouseButton::mbLeft, 0, 51, 50);
    EXPECT_EQ(left.Width(), 150);
    EXPECT_EQ(splitter.Left(), 150);
    EXPECT_EQ(rest.Left(), 153);
    EXPECT_EQ(moved, 1);
    origin = splitter.ClientToScreen({1, 50});
    SetCursorPos(origin.x, origin.y);
    splitter.MouseDown(TMouseButton::mbLeft, 0, 1, 50);
    SetCursorPos(origin.x - 300, origin.y);
    splitter.MouseMove(ssLeft, -299, 50);
    splitter.MouseUp(TMouseButton::mbLeft, 0, -299, 50);
    EXPECT_EQ(left.Width(), 30);
}

TEST(Screen, TheHourglassPutsThePreviousCursorBack) {
    EXPECT_EQ(Screen->Cursor(), crDefault);
    {
        THourGlass wait;
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
        {
            THourGlass nested;
        }
        EXPECT_EQ(Screen->Cursor(), crHourGlass);
    }
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

}  // namespace
