#include <gtest/gtest.h>

#include "platform/rtl/DateTime.h"

using namespace velmora;

TEST(DateTime, DayZeroIsTheLastDayOf1899) {
    EXPECT_EQ(*TryEncodeDateTime({1899, 12, 30}), 0.0);
    EXPECT_EQ(*TryEncodeDateTime({2000, 1, 1}), 36526.0);
    DateParts p = DecodeDateTime(36526.5);
    EXPECT_EQ(p.year, 2000);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 12);
}

TEST(DateTime, ImpossibleDatesAreRefused) {
    EXPECT_FALSE(TryEncodeDateTime({2001, 2, 29}));
    EXPECT_TRUE(TryEncodeDateTime({2000, 2, 29}));
    EXPECT_FALSE(TryEncodeDateTime({1900, 2, 29}));
    EXPECT_FALSE(TryEncodeDateTime({2000, 13, 1}));
    EXPECT_FALSE(TryEncodeDateTime({2000, 1, 1, 24, 0, 0}));
}

TEST(DateTime, DosDateTimeRoundTripsAtTwoSecondResolution) {
    // 2024-02-29 13:45:58
    std::uint32_t dos = (44u << 25) | (2u << 21) | (29u << 16) | (13u << 11) | (45u << 5) | 29u;
    auto value = DosDateTimeToDateTime(dos);
    ASSERT_TRUE(value);
    DateParts p = DecodeDateTime(*value);
    EXPECT_EQ(p.year, 2024);
    EXPECT_EQ(p.second, 58);
    EXPECT_EQ(DateTimeToDosDateTime(*value), dos);
}

TEST(DateTime, DosValuesThatCannotExistGiveNoDate) {
    EXPECT_FALSE(DosDateTimeToDateTime(0));                             // month 0
    EXPECT_FALSE(DosDateTimeToDateTime((1u << 21) | (1u << 16) | (30u << 5) * 2));  // minute 60
    EXPECT_FALSE(DosDateTimeToDateTime((2u << 21) | (30u << 16)));      // 30 February
}

TEST(DateTime, UnixSecondsMapOntoDays) {
    EXPECT_EQ(UnixToDateTime(0), 25569.0);
    EXPECT_EQ(DateTimeToUnix(UnixToDateTime(1700000000)), 1700000000);
}
