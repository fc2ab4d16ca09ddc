#include <gtest/gtest.h>

#include <cstdint>

#include "foundation/Fehlercode.h"
#include "foundation/DMChild_Typen.h"

using namespace velmora;

TEST(FormatByteSizeTest, TextsAtTheUnitBoundaries) {
    const std::pair<double, const wchar_t*> cases[] = {
        {0, L"0 Bytes"},
        {1, L"1 Bytes"},
        {999, L"999 Bytes"},
        {1000, L"1000 Bytes"},
        {1023, L"1023 Bytes"},
        {1024, L"1.00 KBytes"},
        {1536, L"1.50 KBytes"},
        {1048575, L"1024.00 KBytes"},
        {1048576, L"1.00 MBytes"},
        {1073741760, L"1024.00 MBytes"},  // the largest float below 2^30
        {1073741824, L"1.00 GBytes"},
    };
    for (auto [bytes, text] : cases) EXPECT_EQ(FormatByteSize(static_cast<float>(bytes)), text) << bytes;
}

TEST(FormatByteSizeTest, CountsAboveFourGibibytesStayInGigabytes) {
    const std::pair<std::int64_t, const wchar_t*> cases[] = {
        {4294967296LL, L"4.00 GBytes"},
        {5368709120LL, L"5.00 GBytes"},
        {4398046511104LL, L"4096.00 GBytes"},
        {1125899906842624LL, L"1048576.00 GBytes"},
    };
    for (auto [bytes, text] : cases) EXPECT_EQ(FormatByteSize(static_cast<float>(bytes)), text) << bytes;
}

TEST(FormatByteSizeTest, TheSinglePrecisionArgumentLosesTheLastDigitsOfLargeCounts) {
    EXPECT_EQ(FormatByteSize(16777217.0f), FormatByteSize(16777216.0f));
    EXPECT_EQ(FormatByteSize(16777217.0f), L"16.00 MBytes");
}

TEST(FormatByteSizeTest, FractionsRoundToTwoDecimalsWithAPointAndNoGrouping) {
    EXPECT_EQ(FormatByteSize(1024.0f * 1023.4f), L"1023.40 KBytes");
    EXPECT_EQ(FormatByteSize(1234567.0f * 1024.0f * 1024.0f), L"1205.63 GBytes");
    EXPECT_EQ(FormatByteSize(2047.0f), L"2.00 KBytes");
}

TEST(FormatByteSizeTest, ValuesBelowTheFieldWidthArePadded) {
    // Byte counts are whole numbers, so only a fraction of a byte is ever shorter.
    EXPECT_EQ(FormatByteSize(9.4f), L" 9 Bytes");
}

TEST(FormatByteSizeTest, LeavesTheTraceWordClearAfterANormalRun) {
    Fehlercode = 77;
    FormatByteSize(1.0f);
    EXPECT_EQ(Fehlercode, 0);
}

TEST(PaneKindTest, ArchivesAreTheKindsFiveToFifteen) {
    for (int k = 0; k <= 16; ++k) {
        auto kind = static_cast<TFensterTyp>(k);
        EXPECT_EQ(ZeigtArchiv(kind), k >= 5 && k <= 15) << k;
        EXPECT_EQ(IstVerzeichnisFenster(kind), k <= 2) << k;
    }
}
