#include <gtest/gtest.h>

#include <windows.h>

#include "autostart/common/AutostartList.h"
#include "autostart/starter/StarterForm.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Registry.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::starter::TForm1;

namespace {

const std::wstring kListKey = L".default\\Software\\Quorin Ashvale\\Autostartman";

// The autostarter's window on the real list key, with recorded starts and boxes.
class DrommelFormTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_USERS, kListKey); }
    void TearDown() override {
        if (form) form->Free();
        DeleteRegistryTree(HKEY_USERS, kListKey);
    }
    void Open(const TEintragList& list) {
        SaveAutostartList(list);
        form = Create<TForm1>(
            Application,
            [this](const std::wstring& file, const std::wstring&) -> long long {
                starts.push_back(file);
                return file == L"c:\\fehlt.exe" ? 2 : 42;
            },
            [this](const std::wstring& text) { boxes.push_back(text); });
        form->Show();
    }

    TForm1* form = nullptr;
    std::vector<std::wstring> starts, boxes;
};

// Paints the display into a bitmap of its own size.
struct PaintProbe : TRCADigital {
    using TRCADigital::TRCADigital;
    COLORREF PixelAfterPaint(int x, int y) {
        HDC dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width(), -Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PaintWindow(dc);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return c;
    }
};

}  // namespace

TEST_F(DrommelFormTest, TheWindowIsTheStayOnTopAutostarterWithoutBorderIcons) {
    Open({TEintrag{L"Editor", L"c:\\windows\\notepad.exe", L"", 9, 0}});
    EXPECT_EQ(form->Caption(), L"Autostarter");
    EXPECT_EQ(form->BorderIcons, 0u);
    EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(form->Countdown.Width(), 45);
    EXPECT_EQ(form->Countdown.Height(), 33);
    EXPECT_EQ(form->Countdown.NumberWidth(), 16);
    EXPECT_EQ(form->Countdown.Inset(), 6);
}

TEST_F(DrommelFormTest, AnEntryIsShownWithItsCountdownAndPassedOverAfterIt) {
    Open({TEintrag{L"Editor", L"c:\\windows\\notepad.exe", L"", 3, 1}});
    EXPECT_EQ(form->Beschreibung.Caption(), L" Editor");
    EXPECT_EQ(form->Label3.Caption(), L"Sekunden bis das Programm NICHT gestartet wird...");
    EXPECT_EQ(form->Countdown.DigitText(), L"03");
    EXPECT_TRUE(form->Timer.Enabled());
    EXPECT_EQ(form->Timer.Interval(), 1000u);
    EXPECT_NE(form->Image1.Picture.Graphic(), nullptr) << "the program's icon";
    for (int i = 0; i < 3; ++i) form->Timer.Tick();
    EXPECT_EQ(form->Countdown.DigitText(), L"00");
    EXPECT_TRUE(form->Visible());
    form->Timer.Tick();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(starts.empty());
}

TEST_F(DrommelFormTest, ButtonsChooseAndStopStartsTheChosenOnesAsTheWindowCloses) {
    Open({TEintrag{L"A", L"c:\\a.exe", L"", 5, 1}, TEintrag{L"B", L"c:\\b.exe", L"", 5, 0},
          TEintrag{L"C", L"c:\\c.exe", L"", 5, 0}});
    form->Button1.Click();
    EXPECT_EQ(form->Beschreibung.Caption(), L" B");
    EXPECT_EQ(form->Label3.Caption(), L"Sekunden bis das Programm GESTARTET wird...");
    form->Button2.Click();
    EXPECT_EQ(form->Beschreibung.Caption(), L" C");
    EXPECT_TRUE(starts.empty());
    form->Button4.Click();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(starts, std::vector<std::wstring>{L"c:\\a.exe"});
}

TEST_F(DrommelFormTest, RunAllStartsEveryEntryAndNamesTheOneThatFailed) {
    Open({TEintrag{L"A", L"c:\\a.exe", L"", 5, 1}, TEintrag{L"Fehlt", L"c:\\fehlt.exe", L"", 5, 1},
          TEintrag{L"C", L"c:\\c.exe", L"", 5, 1}});
    form->Button3.Click();
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(starts, (std::vector<std::wstring>{L"c:\\a.exe", L"c:\\fehlt.exe", L"c:\\c.exe"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(L"\rFehlt\r(\"c:\\fehlt.exe\")\r"), std::wstring::npos);
}

TEST_F(DrommelFormTest, AnEmptyListClosesTheWindowOnceShowingIsOver) {
    Open({});
    EXPECT_TRUE(WaitUntil([&] { return !form->Visible(); }));
    EXPECT_TRUE(starts.empty());
}

TEST_F(DrommelFormTest, TheErrorBoxOfAFailedStartHasOnlyOk) {
    TMessageBoxRecorder recorder;
    starter::ShowStartError(L"Das Programm\rX");
    ASSERT_EQ(recorder.Calls().size(), 1u);
    EXPECT_EQ(recorder.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(recorder.Calls()[0].Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK});
}

TEST(RcadigiTest, HeightFollowsTheStripAndTheInsets) {
    TRCADigital display(nullptr);
    EXPECT_EQ(display.Inset(), 8) << "raised outer and lowered inner bevel of 3, margin 2";
    EXPECT_EQ(display.DigitText(), L"0");
    ASSERT_TRUE(display.LoadNumbers(GetModuleHandleW(nullptr), L"DIGITS"));
    EXPECT_EQ(display.NumberWidth(), 16);
    EXPECT_EQ(display.Height(), 21 + 16);
    display.SetBevelWidth(2);
    display.SetMargin(2);
    EXPECT_EQ(display.Height(), 33);
    display.SetAutoSize(false);
    display.SetMargin(0);
    EXPECT_EQ(display.Height(), 33);
    display.SetAutoSize(true);
    EXPECT_EQ(display.Height(), 29);
    display.SetHeight(50);
    EXPECT_EQ(display.Height(), 29) << "a resize gives the height back to the strip";
}

TEST(RcadigiTest, FormatWidthReformatsTheValue) {
    TRCADigital display(nullptr);
    display.SetValue(5);
    EXPECT_EQ(display.DigitText(), L"5");
    display.SetFormatWidth(2);
    EXPECT_EQ(display.DigitText(), L"05");
    display.SetValue(-3);
    EXPECT_EQ(display.DigitText(), L"-03");
}

TEST(RcadigiTest, PaintsTheDigitsInsideTheBevelsOnBlack) {
    PaintProbe display(nullptr);
    display.SetBevelWidth(2);
    ASSERT_TRUE(display.LoadNumbers(GetModuleHandleW(nullptr), L"DIGITS"));
    display.SetBounds(0, 0, 45, 33);
    display.SetFormatWidth(2);
    display.SetValue(7);
    // "7": its top segment lit in the right cell (x 23), the left cell "0" with a
    // dark middle segment; the margin inside the bevels stays black.
    EXPECT_EQ(display.PixelAfterPaint(23 + 7, 6 + 1), RGB(0xff, 0x2a, 0x1a));
    EXPECT_EQ(display.PixelAfterPaint(7 + 7, 6 + 10), RGB(0x3a, 0x08, 0x06));
    EXPECT_EQ(display.PixelAfterPaint(5, 16), RGB(0, 0, 0));
}
