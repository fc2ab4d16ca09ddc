#include <gtest/gtest.h>

#include "filetools/DatumGroesseTest.h"

using namespace velmora;

namespace {

TDateTime Am(int year, int month, int day, int hour = 0, int minute = 0) {
    return *TryEncodeDateTime({year, month, day, hour, minute});
}

TEST(DatumGroesseTest, ExactSizeCountsWholeKilobytesAndASmallFileAsOne) {
    struct Case {
        std::int32_t kb;
        std::int64_t bytes;
        bool passes;
    };
    const Case cases[] = {{0, 0, true},     {0, 1, true},     {0, 1023, true},  {0, 1024, false},
                          {0, 2047, false}, {0, 2048, false}, {1, 0, true},     {1, 1, true},
                          {1, 1023, true},  {1, 1024, true},  {1, 2047, true},  {1, 2048, false}};
    for (const Case& c : cases) {
        const auto test = TDatumGroesseTest::Aus(false, L"", L"", true, L"Genau", c.kb);
        EXPECT_EQ(test.Passt(c.bytes, Am(2000, 1, 1)), c.passes) << c.kb << " KB against " << c.bytes;
    }
}

TEST(DatumGroesseTest, AReversedRangeIsSwappedAndBothDaysAreWhole) {
    const auto test = TDatumGroesseTest::Aus(true, L"31.12.1997", L"01.01.1997", false, L"", 0);
    EXPECT_TRUE(test.Passt(0, Am(1997, 1, 1, 0, 0)));
    EXPECT_TRUE(test.Passt(0, Am(1997, 12, 31, 23, 59)));
    EXPECT_FALSE(test.Passt(0, Am(1996, 12, 31, 23, 59)));
    EXPECT_FALSE(test.Passt(0, Am(1998, 1, 1, 0, 0)));
}

}  // namespace
