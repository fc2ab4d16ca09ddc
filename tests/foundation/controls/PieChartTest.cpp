#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/controls/PieChart.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Picture.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kWhite = RGB(255, 255, 255);

// The point at Degrees (counter-clockwise from three o'clock) and at Share of the radius.
POINT At(const TPieChart& pie, double degrees, double share = 0.6) {
    const double a = degrees * std::numbers::pi / 180;
    const double r = share * pie.Width() / 2;
    return {static_cast<int>(std::lround(pie.Width() / 2 + r * std::cos(a))),
            static_cast<int>(std::lround(pie.Height() / 2 - r * std::sin(a)))};
}

std::vector<std::wstring> Labels(const TPieChart& pie) {
    std::vector<std::wstring> labels;
    for (const auto& slice : pie.Slices()) labels.push_back(slice.Label);
    return labels;
}

// The chart painted on white; the colours found at the given points.
class Painted {
public:
    explicit Painted(TPieChart& pie) : m_bitmap(pie.Width(), pie.Height()) {
        TCanvas& canvas = m_bitmap.Canvas();
        canvas.Brush.Color = kWhite;
        canvas.FillRect({0, 0, pie.Width(), pie.Height()});
        pie.PaintControl(canvas);
    }
    COLORREF At(POINT p) { return m_bitmap.Canvas().Pixel(p.x, p.y); }
    int Count(COLORREF colour) {
        int n = 0;
        for (int y = 0; y < m_bitmap.Height(); ++y)
            for (int x = 0; x < m_bitmap.Width(); ++x) n += m_bitmap.Canvas().Pixel(x, y) == colour;
        return n;
    }

private:
    TBitmap m_bitmap;
};

class PieChartTest : public ::testing::Test {
protected:
    PieChartTest() {
        m_pie.SetBounds(0, 0, 101, 101);
        m_pie.SetColour1(kGreen);
        m_pie.SetColour2(kRed);
    }
    TPieChart m_pie{nullptr};
};

}  // namespace

TEST_F(PieChartTest, LinesAreParsedSkippedAndOrderedLargestFirstWithTiesExchanged) {
    m_pie.LoadData({L"abc nix", L"  300   Drei Teile ", L"100 Eins", L"200", L"-20 zu gross", L""});
    EXPECT_EQ(Labels(m_pie), (std::vector<std::wstring>{L"Drei Teile", L"", L"Eins"}));
    EXPECT_EQ(m_pie.Total(), 600);
    // The dialogs colour equal size and slack knowing that the two change places.
    m_pie.LoadData({L"5 Dateigrösse", L"5 Überhang"});
    EXPECT_EQ(Labels(m_pie), (std::vector<std::wstring>{L"Überhang", L"Dateigrösse"}));
    // Sizes past 32 bits stay whole.
    m_pie.LoadData({L"5368709120 gross", L"1 klein"});
    EXPECT_EQ(m_pie.Slices()[0].Value, 5368709120.0);
}

TEST_F(PieChartTest, HitsFollowThePaintedSlicesAndOnlyHitsFireEvents) {
    m_pie.LoadData({L"100 klein", L"300 gross"});
    // "gross" spans 0 to 270 degrees, "klein" the last quarter.
    EXPECT_EQ(m_pie.SliceAt(At(m_pie, 135).x, At(m_pie, 135).y), 0);
    EXPECT_EQ(m_pie.SliceAt(At(m_pie, 315).x, At(m_pie, 315).y), 1);
    EXPECT_EQ(m_pie.SliceAt(0, 0), -1);
    Painted painted(m_pie);
    // Away from the labels, which sit near the middle of each slice.
    EXPECT_EQ(painted.At(At(m_pie, 135, 0.85)), kGreen);
    EXPECT_EQ(painted.At(At(m_pie, 315, 0.85)), kRed);

    std::vector<std::wstring> fired;
    m_pie.OnDblClick = [&](TObject*) { fired.push_back(L"dbl " + m_pie.HitLabel()); };
    m_pie.OnRightClick = [&](TObject*) { fired.push_back(L"rechts " + m_pie.HitLabel()); };
    const POINT inKlein = At(m_pie, 300);
    m_pie.MouseMove(0, inKlein.x, inKlein.y);
    m_pie.DblClick();
    m_pie.MouseUp(TMouseButton::mbRight, 0, At(m_pie, 20).x, At(m_pie, 20).y);
    m_pie.MouseMove(0, 1, 1);
    m_pie.DblClick();
    m_pie.MouseUp(TMouseButton::mbRight, 0, 1, 1);
    m_pie.MouseUp(TMouseButton::mbLeft, 0, inKlein.x, inKlein.y);
    EXPECT_EQ(fired, (std::vector<std::wstring>{L"dbl klein", L"rechts gross"}));
}

TEST_F(PieChartTest, EmptyZeroAndNegativeLinesPaintNoFalseSlices) {
    for (const TStringList& lines : {TStringList{}, TStringList{L"0 Dateigrösse", L"0 Überhang"}}) {
        m_pie.LoadData(lines);
        Painted painted(m_pie);
        EXPECT_EQ(painted.Count(kGreen) + painted.Count(kRed), 0);
        EXPECT_EQ(m_pie.SliceAt(50, 50), -1);
    }
    // A zero slice paints nothing (GDI would paint it as the whole disc), and a
    // negative line counts nowhere: one whole slice either way.
    for (const TStringList& lines : {TStringList{L"100 belegt", L"0 frei"}, TStringList{L"100 belegt", L"-20 frei"}}) {
        m_pie.LoadData(lines);
        Painted painted(m_pie);
        EXPECT_EQ(painted.Count(kRed), 0);
        for (double degrees : {10.0, 100.0, 200.0, 300.0, 359.0}) EXPECT_EQ(painted.At(At(m_pie, degrees, 0.85)), kGreen);
        EXPECT_EQ(m_pie.SliceAt(At(m_pie, 359.5, 0.9).x, At(m_pie, 359.5, 0.9).y), 0);
    }
}
