#include <gtest/gtest.h>

#include "platform/rtl/LocaleTexts.h"

using namespace velmora;

// The tests run with the German locale: "." between date parts, "," as decimal.
TEST(LocaleTexts, GermanSeparators) {
    EXPECT_EQ(LocaleDateSeparator(), L".");
    EXPECT_EQ(LocaleTimeSeparator(), L":");
    EXPECT_EQ(LocaleDecimalSeparator(), L",");
}

TEST(LocaleTexts, DatesWithAndWithoutTime) {
    auto d = TryStrToDateTime(L"14.3.2021 15:26:08");
    ASSERT_TRUE(d);
    const DateParts p = DecodeDateTime(*d);
    EXPECT_EQ(p.year, 2021);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 14);
    EXPECT_EQ(p.hour, 15);
    EXPECT_EQ(p.minute, 26);
    EXPECT_EQ(p.second, 8);
    EXPECT_EQ(TryStrToDateTime(L"01.02.1999"), TryEncodeDateTime({1999, 2, 1}));
    EXPECT_EQ(TryStrToDateTime(L"1.2.99 7:05"), TryEncodeDateTime({1999, 2, 1, 7, 5}));
    EXPECT_EQ(TryStrToDateTime(L"1.2.07"), TryEncodeDateTime({2007, 2, 1}));
}

TEST(LocaleTexts, TextsThatAreNoDates) {
    for (const wchar_t* text : {L"", L"14", L"31.2.2021", L"1.2.3.4", L"a.b.c", L"1.234", L"14.3.2021 25:00",
                                L"14.3.2021 abends", L"1,5"})
        EXPECT_FALSE(TryStrToDateTime(text)) << std::string(text, text + wcslen(text));
}

TEST(LocaleTexts, NumbersWithTheDecimalComma) {
    EXPECT_EQ(TryStrToFloat(L"10"), 10.0);
    EXPECT_EQ(TryStrToFloat(L" -1,5 "), -1.5);
    EXPECT_EQ(TryStrToFloat(L"2,5E3"), 2500.0);
    for (const wchar_t* text : {L"", L"1.5", L"1.000", L"12 KB", L"abc", L"1,2,3", L"--1"})
        EXPECT_FALSE(TryStrToFloat(text)) << std::string(text, text + wcslen(text));
}
