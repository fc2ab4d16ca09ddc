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
    form.SetBounds(400, 100, 420, 240);
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
    POINT grip = ScreenPoint(splitter, 1, 50);
    MouseDown(grip);
    EXPECT_EQ(GetCapture(), form.Handle()) << "the form holds the mouse for its bar";
    MouseMoveTo({grip.x + 50, grip.y});
    MouseUp({grip.x + 50, grip.y});
    EXPECT_EQ(left.Width(), 150);
    EXPECT_EQ(splitter.Left(), 150);
    EXPECT_EQ(rest.Left(), 153);
    EXPECT_EQ(moved, 1);
    grip = ScreenPoint(splitter, 1, 50);
    MouseDrag(grip, {grip.x - 300, grip.y});  // released outside the form
    EXPECT_EQ(left.Width(), 30);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(Splitter, AWindowedControlThatFollowsMovesGetsItsButtonUpOutside) {
    TForm form(nullptr);
    form.SetBounds(400, 100, 300, 200);
    TPanel bar(&form);
    bar.SetBounds(100, 0, 8, 150);
    std::vector<std::wstring> seen;
    bar.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int) { seen.push_back(L"down " + std::to_wstring(x)); };
    bar.OnMouseMove = [&](TObject*, TShiftState, int, int) {};
    bar.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int) { seen.push_back(L"up " + std::to_wstring(x)); };
    int clicks = 0;
    bar.OnClick = [&](TObject*) { ++clicks; };
    form.Show();
    const POINT grip = ScreenPoint(bar, 2, 40);
    MouseDown(grip);
    EXPECT_EQ(GetCapture(), bar.Handle());
    MouseUp({grip.x + 250, grip.y});
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"down 2", L"up 252"}));
    EXPECT_EQ(clicks, 0) << "released outside: no click";
    EXPECT_EQ(GetCapture(), nullptr);
    // A drag cut off by another window taking the mouse ends with a button-up too.
    MouseDown(grip);
    SendMessageW(bar.Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_EQ(seen.size(), 4u);
    MouseUp({grip.x + 250, grip.y});
    EXPECT_EQ(seen.size(), 4u) << "the drag ended before";
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
