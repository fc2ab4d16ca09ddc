#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "foundation/controls/NumSpin.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"

using namespace velmora;
using namespace velmora::gui;
using Clock = std::chrono::steady_clock;

namespace {

struct SpinEdit : ::testing::Test {
    TForm form{nullptr};
    TNumSpinEdit spin{&form};
    std::vector<Clock::time_point> changes;

    void SetUp() override {
        form.SetBounds(50, 50, 300, 120);
        spin.SetParent(&form);
        spin.SetBounds(10, 10, 100, 22);
        form.Show();
        spin.SetFocus();
        spin.OnChange = [this](TObject*) { changes.push_back(Clock::now()); };
    }
    HWND Edit() { return spin.Handle(); }
    void Type(const std::wstring& keys) {
        for (wchar_t c : keys) SendMessageW(Edit(), WM_CHAR, c, 1);
    }
    void Key(WORD vk) {
        SendMessageW(Edit(), WM_KEYDOWN, vk, 1);
        SendMessageW(Edit(), WM_KEYUP, vk, 0xC0000001);
    }
    // Points of the button in the edit's client coordinates.
    LPARAM UpperPart() { return MAKELPARAM(spin.Button().Left() + 2, 2); }
    LPARAM LowerPart() {
        return MAKELPARAM(spin.Button().Left() + spin.Button().Width() - 3, spin.Button().Height() - 3);
    }
    LPARAM Outside() { return MAKELPARAM(5, spin.Button().Height() / 2); }
    void Press(LPARAM where) { SendMessageW(Edit(), WM_LBUTTONDOWN, MK_LBUTTON, where); }
    void Release(LPARAM where) { SendMessageW(Edit(), WM_LBUTTONUP, 0, where); }
    void MoveTo(LPARAM where) { SendMessageW(Edit(), WM_MOUSEMOVE, MK_LBUTTON, where); }
    // Serves messages for a while: for checks that nothing more happens.
    void Serve(unsigned ms) { WaitUntil([] { return false; }, ms); }
};

}  // namespace

TEST_F(SpinEdit, StartsAtZeroAsAnIntegerWithTheButtonAtTheRightEdge) {
    EXPECT_EQ(spin.Text(), L"0");
    EXPECT_EQ(spin.Decimal, 2);
    EXPECT_TRUE(spin.EditorEnabled);
    EXPECT_EQ(spin.Increment, 1);
    EXPECT_EQ(spin.ValueType(), TValueType::vtInteger);
    EXPECT_EQ(spin.Button().Left() + spin.Button().Width(), spin.ClientWidth());
    EXPECT_EQ(spin.Button().Height(), spin.ClientHeight());
}

TEST_F(SpinEdit, TypingTakesSignsAndDigitsOnly) {
    spin.SetText(L"");
    Type(L"4a5x.,-+ 9");
    EXPECT_EQ(spin.Text(), L"45-+9");
    Type(L"\b");
    EXPECT_EQ(spin.Text(), L"45-+");
}

TEST_F(SpinEdit, FloatValuesAlsoTakeTheDecimalSeparator) {
    ASSERT_EQ(DecimalSeparator(), L',');
    spin.SetValueType(TValueType::vtFloat);
    spin.SetText(L"");
    Type(L"1.2,5");
    EXPECT_EQ(spin.Text(), L"12,5");
    EXPECT_DOUBLE_EQ(spin.GetValue(), 12.5);
}

TEST_F(SpinEdit, WithoutTheEditorOrReadOnlyNothingTypedChangesTheText) {
    spin.SetText(L"12");
    spin.EditorEnabled = false;
    Type(L"7-\b");
    SendMessageW(Edit(), WM_CHAR, 0x16, 1);  // Ctrl+V
    EXPECT_EQ(spin.Text(), L"12");
    spin.EditorEnabled = true;
    spin.SetReadOnly(true);
    Type(L"7\b");
    EXPECT_EQ(spin.Text(), L"12");
    spin.SetReadOnly(false);
    spin.SetSelStart(2);
    Type(L"7");
    EXPECT_EQ(spin.Text(), L"127");
}

namespace {

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
}

}  // namespace

TEST_F(SpinEdit, WithoutTheEditorPasteCutClearAndDeleteChangeNothing) {
    PutOnClipboard(L"34");
    for (bool readOnly : {false, true}) {
        spin.EditorEnabled = readOnly;
        spin.SetReadOnly(readOnly);
        spin.SetText(L"12");
        spin.SetSelStart(0);
        spin.SetSelLength(1);
        SendMessageW(Edit(), WM_PASTE, 0, 0);
        SendMessageW(Edit(), WM_CUT, 0, 0);
        SendMessageW(Edit(), WM_CLEAR, 0, 0);
        Key(VK_DELETE);
        EXPECT_EQ(spin.Text(), L"12") << (readOnly ? "read-only" : "editor off");
    }
    spin.SetReadOnly(false);
    spin.EditorEnabled = true;
    spin.SetSelStart(0);
    spin.SetSelLength(1);
    Key(VK_DELETE);
    EXPECT_EQ(spin.Text(), L"2");
}

TEST_F(SpinEdit, APasteMustBringANumber) {
    spin.SetText(L"");
    for (const wchar_t* notANumber : {L"abc", L"1a", L"", L"--", L"1,5"}) {
        PutOnClipboard(notANumber);
        SendMessageW(Edit(), WM_PASTE, 0, 0);
        SendMessageW(Edit(), WM_CHAR, 0x16, 1);  // Ctrl+V
        EXPECT_EQ(spin.Text(), L"") << std::string(notANumber, notANumber + wcslen(notANumber));
    }
    PutOnClipboard(L"-17");
    SendMessageW(Edit(), WM_CHAR, 0x16, 1);
    EXPECT_EQ(spin.Text(), L"-17");
    spin.SetValueType(TValueType::vtFloat);
    spin.SetText(L"");
    PutOnClipboard(L"1,5");
    SendMessageW(Edit(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin.Text(), L"1,5");
}

TEST_F(SpinEdit, ATypedValueAboveTheRangeStandsUntilTheValueIsSetAgain) {
    spin.MinValue = 0;
    spin.MaxValue = 30;
    spin.SetText(L"");
    Type(L"45");
    EXPECT_EQ(spin.GetValue(), 45);
    spin.SetValue(spin.GetValue());
    EXPECT_EQ(spin.Text(), L"30");
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), L"30");
    Key(VK_DOWN);
    EXPECT_EQ(spin.Text(), L"29");
    spin.SetValue(-4);
    EXPECT_EQ(spin.Text(), L"0");
}

TEST_F(SpinEdit, WithBothLimitsZeroEveryValueIsAllowed) {
    spin.SetValue(-12);
    EXPECT_EQ(spin.Text(), L"-12");
    spin.SetValue(0);
    Key(VK_DOWN);
    EXPECT_EQ(spin.Text(), L"-1");
    spin.SetValue(1234567890);
    EXPECT_EQ(spin.Text(), L"1234567890");
}

TEST_F(SpinEdit, TextThatIsNoNumberReadsAsTheMinimum) {
    spin.MinValue = 3;
    spin.MaxValue = 9;
    for (const wchar_t* text : {L"", L"abc", L"4x", L"99999999999"}) {
        spin.SetText(text);
        EXPECT_EQ(spin.GetValue(), 3) << text;
    }
    spin.SetText(L" 7 ");
    EXPECT_EQ(spin.GetValue(), 7);
    spin.MinValue = 2.6;
    spin.SetText(L"");
    EXPECT_EQ(spin.GetValue(), 3) << "rounded for integers";
    spin.SetValueType(TValueType::vtFloat);
    spin.SetText(L"");
    EXPECT_DOUBLE_EQ(spin.GetValue(), 2.6);
}

TEST_F(SpinEdit, FloatsAreShownWithTheirDecimalsAndChangingTheTypeRewritesTheValue) {
    spin.SetValueType(TValueType::vtFloat);
    spin.Increment = 0.25;
    spin.SetValue(1.5);
    EXPECT_EQ(spin.Text(), L"1,50");
    Key(VK_UP);
    EXPECT_EQ(spin.Text(), L"1,75");
    spin.Decimal = 3;
    spin.SetValue(spin.GetValue());
    EXPECT_EQ(spin.Text(), L"1,750");
    spin.SetValueType(TValueType::vtInteger);
    EXPECT_EQ(spin.Text(), L"2");
    spin.SetValueType(TValueType::vtFloat);
    EXPECT_EQ(spin.Text(), L"2,000");
    spin.SetText(L"1e300");
    spin.SetValueType(TValueType::vtInteger);
    EXPECT_EQ(spin.Text(), L"9000000000000000") << "a huge float is held at the integers' edge";
}

TEST_F(SpinEdit, AReadOnlyEditDoesNotStep) {
    spin.SetValue(5);
    spin.SetReadOnly(true);
    spin.UpClick(nullptr);
    Key(VK_DOWN);
    Press(UpperPart());
    Release(UpperPart());
    EXPECT_EQ(spin.Text(), L"5");
}

TEST_F(SpinEdit, TheButtonsPartsLieEitherSideOfItsDiagonal) {
    auto& b = spin.Button();
    using P = TNumSpinButton::TSpinPart;
    EXPECT_EQ(b.PartAt(1, 1), P::Top);
    EXPECT_EQ(b.PartAt(b.Width() - 2, b.Height() - 2), P::Bottom);
    EXPECT_EQ(b.PartAt(b.Width() / 2 - 2, b.Height() / 2 - 2), P::Top);
    EXPECT_EQ(b.PartAt(b.Width() / 2 + 2, b.Height() / 2 + 2), P::Bottom);
    EXPECT_EQ(b.PartAt(-1, 1), P::None);
}

TEST_F(SpinEdit, ClickingAPartStepsOnceAndTheLowerPartStepsDown) {
    spin.SetValue(10);
    Press(UpperPart());
    EXPECT_EQ(spin.Text(), L"11");
    EXPECT_EQ(spin.Button().Pressed(), TNumSpinButton::TSpinPart::Top);
    Release(UpperPart());
    EXPECT_EQ(spin.Button().Pressed(), TNumSpinButton::TSpinPart::None);
    Press(LowerPart());
    Release(LowerPart());
    Press(LowerPart());
    Release(LowerPart());
    EXPECT_EQ(spin.Text(), L"9");
    Serve(600);
    EXPECT_EQ(spin.Text(), L"9") << "no repeat after the release";
}

TEST_F(SpinEdit, HoldingAPartStepsAtOnceAfter400MsAndThenEvery100Ms) {
    spin.SetValue(0);
    changes.clear();
    Press(UpperPart());
    EXPECT_EQ(changes.size(), 1u) << "the press steps at once";
    // The repeat timer driven by hand (no messages are served here, so the
    // system's own ticks cannot come between): one step per tick.
    auto* timer = const_cast<TTimer*>(spin.Button().RepeatTimer());
    ASSERT_TRUE(timer->Enabled());
    EXPECT_EQ(timer->Interval(), 400u);
    for (size_t tick = 1; tick <= 4; ++tick) {
        timer->Tick();
        EXPECT_EQ(changes.size(), 1 + tick);
        EXPECT_EQ(timer->Interval(), 100u) << tick;
    }
    Release(UpperPart());
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(spin.GetValue(), 5.0);
}

TEST_F(SpinEdit, LosingTheMouseWhileHeldStopsTheRepeat) {
    TForm other(nullptr);
    other.SetBounds(400, 50, 100, 100);
    other.Show();
    spin.SetValue(0);
    Press(UpperPart());
    ASSERT_EQ(GetCapture(), Edit());
    // Another window takes the mouse, as a window popping up under it would.
    SetCapture(other.Handle());
    EXPECT_EQ(spin.Button().Pressed(), TNumSpinButton::TSpinPart::None);
    EXPECT_FALSE(spin.Button().RepeatTimer()->Enabled());
    ReleaseCapture();

    // The system cancelling the mode (a dialog coming up) does the same.
    Press(LowerPart());
    EXPECT_EQ(spin.Text(), L"0");
    SendMessageW(Edit(), WM_CANCELMODE, 0, 0);
    EXPECT_NE(GetCapture(), Edit());
    EXPECT_FALSE(spin.Button().RepeatTimer()->Enabled());
    Serve(600);
    EXPECT_EQ(spin.Text(), L"0");
}

TEST_F(SpinEdit, MovingOffThePartShowsItUnpressedAndPausesTheRepeat) {
    spin.SetValue(0);
    Press(LowerPart());
    EXPECT_EQ(spin.Text(), L"-1");
    MoveTo(Outside());
    EXPECT_EQ(spin.Button().Pressed(), TNumSpinButton::TSpinPart::None);
    Serve(700);
    EXPECT_EQ(spin.Text(), L"-1");
    MoveTo(LowerPart());
    EXPECT_EQ(spin.Button().Pressed(), TNumSpinButton::TSpinPart::Bottom);
    ASSERT_TRUE(WaitUntil([&] { return spin.GetValue() <= -3; }, 2000));
    Release(Outside());
    double held = spin.GetValue();
    Serve(300);
    EXPECT_EQ(spin.GetValue(), held);
}
