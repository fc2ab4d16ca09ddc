#include <gtest/gtest.h>

#include "foundation/controls/Wordcap.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Exceptions.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

constexpr COLORREF kFrom = RGB(0, 0, 0);
constexpr COLORREF kTo = RGB(255, 128, 10);

struct BandCase {
    int Count, Index, Left, Right;
    COLORREF Color;
};

TEST(GradientBand, BandsSplitTheWidthAndRunFromStartToEnd) {
    const BandCase cases[] = {
        {1, 0, 0, 640, kFrom},                 // one band: the start colour fills it
        {2, 0, 0, 320, kFrom},
        {2, 1, 320, 640, kTo},
        {64, 0, 0, 10, kFrom},
        {64, 1, 10, 20, RGB(4, 2, 0)},          // 255/63, 128/63, 10/63 rounded down
        {64, 32, 320, 330, RGB(129, 65, 5)},
        {64, 63, 630, 640, kTo},
        {256, 1, 2, 5, RGB(1, 0, 0)},
        {256, 128, 320, 322, RGB(128, 64, 5)},
        {256, 255, 637, 640, kTo},
    };
    for (const BandCase& c : cases) {
        TGradientBand band = GradientBand(0, 640, c.Index, c.Count, kFrom, kTo);
        SCOPED_TRACE(testing::Message() << c.Count << " bands, band " << c.Index);
        EXPECT_EQ(band.Left, c.Left);
        EXPECT_EQ(band.Right, c.Right);
        EXPECT_EQ(band.Color, c.Color);
    }
}

TEST(GradientBand, FallingChannelsAndBandsNarrowerThanAPixel) {
    // From white down to black: the steps round towards the start colour.
    EXPECT_EQ(GradientBand(0, 640, 1, 64, RGB(255, 255, 255), kFrom).Color, RGB(251, 251, 251));
    // 100 pixels in 256 bands: some bands are empty, and they still tile the width.
    TGradientBand empty = GradientBand(10, 110, 128, 256, kFrom, kTo);
    EXPECT_EQ(empty.Left, 60);
    EXPECT_EQ(empty.Right, 60);
    EXPECT_EQ(GradientBand(10, 110, 255, 256, kFrom, kTo).Right, 110);
}

TEST(OfficeCaption, BandCountsOutsideOneTo256AreRefused) {
    TForm form(nullptr);
    TMSOfficeCaption caption(&form);
    EXPECT_EQ(caption.NumColors(), 64);
    try {
        caption.SetNumColors(0);
        ADD_FAILURE() << "0 bands accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"The number of colors must be at least 1");
    }
    try {
        caption.SetNumColors(257);
        ADD_FAILURE() << "257 bands accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"The highest number of gradient colors possible is 256");
    }
    EXPECT_EQ(caption.NumColors(), 64);
    caption.SetNumColors(1);
    caption.SetNumColors(256);
    EXPECT_EQ(caption.NumColors(), 256);
}

TEST(OfficeCaption, TheTitleIsTheVisiblePartsJoinedByBlanks) {
    TForm form(nullptr);
    form.SetCaption(L"vorher");
    TMSOfficeCaption caption(&form);
    caption.CompanyText.SetCaption(L"Velmora");
    caption.AppNameText.SetCaption(L"-");
    EXPECT_EQ(form.Caption(), L"Velmora -");
    caption.CaptionText.SetCaption(L"C:\\Daten");
    EXPECT_EQ(form.Caption(), L"Velmora - C:\\Daten");
    caption.AppNameText.SetVisible(false);
    EXPECT_EQ(form.Caption(), L"Velmora C:\\Daten");
}

TEST(OfficeCaption, PartFontsFollowTheSystemCaptionFont) {
    TForm form(nullptr);
    TMSOfficeCaption caption(&form);
    caption.CompanyText.SetFontKind(TFontKind::fkSystemBI);
    caption.AppNameText.SetFontKind(TFontKind::fkSystemB);
    const TFont& system = caption.CaptionText.DrawFont();
    EXPECT_EQ(caption.CompanyText.DrawFont().Name(), system.Name());
    EXPECT_EQ(caption.CompanyText.DrawFont().Style(), system.Style() | fsBold | fsItalic);
    EXPECT_EQ(caption.AppNameText.DrawFont().Style(), system.Style() | fsBold);

    caption.CaptionText.Font.SetSize(30);
    caption.CaptionText.SetFontKind(TFontKind::fkCustom);
    EXPECT_EQ(caption.CaptionText.DrawFont().Size(), 30);
    caption.CaptionText.SetFontKind(TFontKind::fkAutoHeight);
    EXPECT_LT(caption.CaptionText.DrawFont().Size(), 30);
    EXPECT_EQ(caption.CaptionText.Font.Size(), 30);  // the part's own font stays
}

TEST(OfficeCaption, FreeingPutsTheWindowProcedureBack) {
    TForm form(nullptr);
    LONG_PTR before = GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC);
    auto* caption = gui::Create<TMSOfficeCaption>(&form);
    EXPECT_NE(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC), before);
    EXPECT_THROW(TMSOfficeCaption second(&form), Exception);
    caption->Free();
    EXPECT_EQ(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC), before);
    form.SetCaption(L"weiter");  // the form still hears its messages
    wchar_t text[16]{};
    GetWindowTextW(form.Handle(), text, 16);
    EXPECT_STREQ(text, L"weiter");
}

TEST(OfficeCaption, AFormFreedBeforeItsCaptionBarTakesItsHookAlong) {
    auto* form = gui::Create<TForm>(nullptr);
    form->SetBounds(50, 50, 300, 120);
    auto* caption = gui::Create<TMSOfficeCaption>(form);
    caption->CompanyText.SetCaption(L"Velmora");
    form->Show();
    form->Free();  // frees the caption bar too, after the window is gone
    SUCCEED();
}

// A shown form with a gradient from red and nothing else in its title bar (no
// icon, no buttons, no text), so that every caption pixel is a band colour.
struct CaptionPixels : ::testing::Test {
    TForm form{nullptr};
    TForm other{nullptr};
    TMSOfficeCaption* caption = nullptr;

    void SetUp() override {
        form.BorderIcons = 0;
        form.SetBounds(20, 20, 420, 150);
        other.SetBounds(700, 600, 200, 100);
        caption = gui::Create<TMSOfficeCaption>(&form);
        caption->SetColor(clRed);
        caption->SetEnabled(TGradEnabled::geAlways);
        form.Show();
        SetForegroundWindow(form.Handle());
        ASSERT_TRUE(WaitUntil([&] { return caption->FormActive(); }));
    }

    COLORREF Pixel(int x, int y) {
        HDC dc = GetWindowDC(form.Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(form.Handle(), dc);
        return color;
    }

    COLORREF Expected(int x, bool active) {
        RECT bar = caption->CaptionRect();
        COLORREF to = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        for (int i = 0; i < caption->NumColors(); ++i) {
            TGradientBand band = GradientBand(bar.left, bar.right, i, caption->NumColors(), RGB(255, 0, 0), to);
            if (x >= band.Left && x < band.Right) return band.Color;
        }
        return CLR_INVALID;
    }

    // Left, middle and right of the caption bar, each with its expected colour.
    bool FollowsGradient(bool active) {
        RECT bar = caption->CaptionRect();
        int y = (bar.top + bar.bottom) / 2;
        for (int x : {bar.left + 1, (bar.left + bar.right) / 2, bar.right - 2})
            if (Pixel(x, y) != Expected(x, active)) return false;
        return true;
    }

    void ExpectGradient(bool active) {
        RECT bar = caption->CaptionRect();
        int y = (bar.top + bar.bottom) / 2;
        for (int x : {bar.left + 1, (bar.left + bar.right) / 2, bar.right - 2}) {
            SCOPED_TRACE(testing::Message() << "x = " << x);
            EXPECT_EQ(Pixel(x, y), Expected(x, active));
        }
    }
};

TEST_F(CaptionPixels, TheCaptionShowsTheGradientAndFadesWhenAnotherWindowIsActive) {
    ASSERT_NE(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_INACTIVECAPTION));
    WaitUntil([&] { return FollowsGradient(true); });
    ExpectGradient(true);
    EXPECT_EQ(Pixel(caption->CaptionRect().left + 1, caption->CaptionRect().top + 1), RGB(255, 0, 0));

    other.Show();
    SetForegroundWindow(other.Handle());
    ASSERT_TRUE(WaitUntil([&] { return !caption->FormActive(); }));
    WaitUntil([&] { return FollowsGradient(false); });
    ExpectGradient(false);
}

TEST_F(CaptionPixels, FewerBandsAndThePlainColour) {
    caption->SetNumColors(2);
    WaitUntil([&] { return FollowsGradient(true); });
    ExpectGradient(true);

    caption->SetEnabled(TGradEnabled::geNever);
    RECT bar = caption->CaptionRect();
    int middle = (bar.left + bar.right) / 2, y = (bar.top + bar.bottom) / 2;
    EXPECT_TRUE(WaitUntil([&] { return Pixel(middle, y) == GetSysColor(COLOR_ACTIVECAPTION); }));
    EXPECT_EQ(Pixel(bar.left + 1, y), GetSysColor(COLOR_ACTIVECAPTION));
}

}  // namespace
