#include <gtest/gtest.h>

#include <climits>

#include "autostart/starter/RcadigiLayout.h"

using namespace velmora;

namespace {

// The autostarter's instance: 45 wide, two bevels of 2 and a margin of 2 on each
// side, a ten-cell strip of 16-pixel digits.
const TDigitMetrics kStarter{45, 6, 16, 0, 160};

}  // namespace

TEST(RcadigiLayoutTest, FormatsWithLeadingZerosAndSign) {
    EXPECT_EQ(FormatDigitText(5, 2), L"05");
    EXPECT_EQ(FormatDigitText(5, 1), L"5");
    EXPECT_EQ(FormatDigitText(123, 2), L"123");
    EXPECT_EQ(FormatDigitText(0, 0), L"0");
    EXPECT_EQ(FormatDigitText(-7, 3), L"-007");
    EXPECT_EQ(FormatDigitText(INT_MIN, 1), L"-2147483648");
}

TEST(RcadigiLayoutTest, TwoDigitsFitTheStartersDisplayRightAligned) {
    auto cells = LayoutDigits(L"05", kStarter);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].Left, 23);
    EXPECT_EQ(cells[0].SourceLeft, 5 * 16);
    EXPECT_EQ(cells[1].Left, 7);
    EXPECT_EQ(cells[1].SourceLeft, 0);
}

TEST(RcadigiLayoutTest, AThirdDigitIsDroppedSoTheLastDigitsShow) {
    auto cells = LayoutDigits(L"123", kStarter);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].SourceLeft, 3 * 16);
    EXPECT_EQ(cells[1].SourceLeft, 2 * 16);
}

TEST(RcadigiLayoutTest, ACellMustStartStrictlyRightOfTheLeftInset) {
    // Right edge 39: cells at 23 and 7; with an inset of 7 the second would start on it.
    TDigitMetrics m = kStarter;
    m.Width = 46;
    m.Inset = 7;
    EXPECT_EQ(LayoutDigits(L"12", m).size(), 1u);
    m.Inset = 6;
    m.Width = 44;  // cells at 22 and 6
    EXPECT_EQ(LayoutDigits(L"12", m).size(), 1u);
}

TEST(RcadigiLayoutTest, GapMovesEachFurtherCellLeft) {
    TDigitMetrics m{100, 6, 10, 3, 110};
    auto cells = LayoutDigits(L"987", m);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].Left, 84);
    EXPECT_EQ(cells[1].Left, 71);
    EXPECT_EQ(cells[2].Left, 58);
}

TEST(RcadigiLayoutTest, MinusUsesTheCellAfterTheDigitsAndIsBlankWhenTheStripHasNone) {
    TDigitMetrics eleven{100, 6, 16, 0, 176};
    auto cells = LayoutDigits(L"-5", eleven);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[1].SourceLeft, 160);

    auto ten = LayoutDigits(L"-5", TDigitMetrics{100, 6, 16, 0, 160});
    ASSERT_EQ(ten.size(), 2u);
    EXPECT_EQ(ten[0].SourceLeft, 80);
    EXPECT_FALSE(ten[1].SourceLeft.has_value());
}

TEST(RcadigiLayoutTest, CellsReachingPastTheStripOrWithoutWidthAreBlank) {
    // A cell width set by hand wider than the strip allows.
    auto cells = LayoutDigits(L"91", TDigitMetrics{100, 6, 20, 0, 160});
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].SourceLeft, 20);
    EXPECT_FALSE(cells[1].SourceLeft.has_value());

    auto none = LayoutDigits(L"5", TDigitMetrics{45, 6, 0, 0, 0});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_FALSE(none[0].SourceLeft.has_value());
}

TEST(RcadigiLayoutTest, OtherCharactersUseTheCellOfZero) {
    EXPECT_EQ(DigitCellIndex(L'7'), 7);
    EXPECT_EQ(DigitCellIndex(L'-'), 10);
    EXPECT_EQ(DigitCellIndex(L'x'), 0);
    EXPECT_EQ(DigitCellIndex(L' '), 0);
}
