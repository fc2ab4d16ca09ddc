#include <gtest/gtest.h>

#include <cstring>

#include "archive/formats/ArcErrors.h"
#include "archive/formats/ArcShared.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::arc;

TEST(ArcCrc, KnownAnswers) {
    const char* text = "123456789";
    std::uint32_t crc32 = 0xFFFFFFFF;
    UpdateCrc32(text, 9, crc32);
    EXPECT_EQ(~crc32, 0xCBF43926u);
    std::uint16_t crc16 = 0;
    UpdateCrc16(text, 9, crc16);
    EXPECT_EQ(crc16, 0xBB3D);
}

TEST(ArcCrc, RunsOverPiecesLikeOneBuffer) {
    const char* text = "The quick brown fox";
    std::uint32_t whole = 0xFFFFFFFF, parts = 0xFFFFFFFF;
    UpdateCrc32(text, std::strlen(text), whole);
    UpdateCrc32(text, 4, parts);
    UpdateCrc32(text + 4, std::strlen(text) - 4, parts);
    EXPECT_EQ(whole, parts);
}

TEST(ArcShared, OctalSkipsEverythingButDigits) {
    EXPECT_EQ(OctalToInt("0000644 "), 0644u);
    EXPECT_EQ(OctalToInt(" 17 7"), 0177u);
    EXPECT_EQ(OctalToInt("89x"), 0u);
    EXPECT_EQ(OctalToInt("77777777777"), 077777777777u);
}

TEST(ArcShared, Separators) {
    EXPECT_EQ(AddBackslash(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(AddBackslash(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(AddBackslash(L""), L"");
    EXPECT_EQ(SlashToBackslash(L"a/b/c"), L"a\\b\\c");
}

TEST(ArcShared, VolumeNamesRunA01ToA99ThenDigits) {
    struct Case {
        const wchar_t* before;
        const wchar_t* after;
        const wchar_t* name;
    } cases[] = {
        {L"0", L"1", L"C:\\x\\V.A01"}, {L"8", L"9", L"C:\\x\\V.A09"}, {L"9", L"10", L"C:\\x\\V.A10"},
        {L"98", L"99", L"C:\\x\\V.A99"}, {L"99", L"100", L"C:\\x\\V.100"}, {L"998", L"999", L"C:\\x\\V.999"},
        {L"999", L"1000", L""},
    };
    for (const auto& c : cases) {
        std::wstring number = c.before, name = L"unchanged";
        NextVolumeName(L"C:\\x\\V.ARJ", number, name);
        EXPECT_EQ(number, c.after);
        EXPECT_EQ(name, c.name) << c.before;
    }
}

TEST(ArcShared, ProgressFiresAtStepsOrWhenForced) {
    std::uint8_t last = 0;
    EXPECT_FALSE(ProgressStepReached(false, 10, last, 1000, 5));
    EXPECT_EQ(last, 0);
    EXPECT_TRUE(ProgressStepReached(false, 10, last, 1000, 100));
    EXPECT_EQ(last, 10);
    EXPECT_FALSE(ProgressStepReached(false, 10, last, 1000, 105));
    EXPECT_FALSE(ProgressStepReached(false, 10, last, 1000, 150));
    EXPECT_EQ(last, 15);
    EXPECT_TRUE(ProgressStepReached(true, 10, last, 1000, 170));
    EXPECT_FALSE(ProgressStepReached(true, 10, last, 1000, 170));
    EXPECT_FALSE(ProgressStepReached(true, 10, last, 0, 0));
    // No overflow for sizes near the 32-bit limit.
    last = 0;
    EXPECT_TRUE(ProgressStepReached(false, 25, last, 0xFFFFFFFF, 0xC0000000));
    EXPECT_EQ(last, 75);
}

TEST(ArcMatchFileSpec, TableOfCases) {
    struct Case {
        const wchar_t* mask;
        const wchar_t* name;
        bool match;
    } cases[] = {
        {L"*.*", L"README", true},
        {L"*.*", L"readme.txt", true},
        {L"*.TXT", L"docs\\readme.txt", true},
        {L"*.TXT", L"readme.doc", false},
        {L"read?e.*", L"README.TXT", true},
        {L"*", L"a.b", true},
        {L"a*", L"b.txt", false},
        {L"name.", L"NAME", true},
        {L"*.txt", L"dir/", false},
        {L"", L"", false},
        {L"", L"***", true},
        {L"x\\", L"x.txt", false},
        {L"*e*e*e*e*e*e*e*e*e*e*e*e*e*e*e*f", L"eeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeeee", false},
        // A folder part names the folder: same-named entries elsewhere stay out.
        {L"docs\\readme.txt", L"docs/README.TXT", true},
        {L"docs\\readme.txt", L"src\\readme.txt", false},
        {L"docs\\readme.txt", L"readme.txt", false},
        {L"docs/*.txt", L"docs\\a.txt", true},
        {L"d*\\*.txt", L"docs\\a.txt", true},
        {L"docs\\*.txt", L"docs\\sub\\a.txt", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchFileSpec(c.mask, c.name), c.match) << "mask " << ToUtf8(c.mask) << " name " << ToUtf8(c.name);
}

TEST(ArcTime, UnixStampsWithHourAndMinuteBias) {
    SetTimeZoneBias(0);
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), *TryEncodeDateTime({1970, 1, 1, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(951782400), *TryEncodeDateTime({2000, 2, 29, 0, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(1700000000), *TryEncodeDateTime({2023, 11, 14, 22, 13, 20, 0}));
    // Local = UTC - bias; up to 12 counts as hours.
    SetTimeZoneBias(-1);
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), *TryEncodeDateTime({1970, 1, 1, 1, 0, 0, 0}));
    SetTimeZoneBias(-60);
    EXPECT_DOUBLE_EQ(UnixTimeToDateTime(0), *TryEncodeDateTime({1970, 1, 1, 1, 0, 0, 0}));
    SetTimeZoneBias(0);
    // Far-off stamps end quickly, with date 0 outside the calendar.
    EXPECT_EQ(UnixTimeToDateTime(INT64_MAX / 2), 0.0);
    EXPECT_EQ(UnixTimeToDateTime(-INT64_MAX / 2), 0.0);
}

TEST(ArcTime, ImpossibleDosDatesGiveZero) {
    EXPECT_EQ(DosToDateTime(0u), 0.0);
    // Month 13 and 30 February.
    EXPECT_EQ(DosToDateTime(static_cast<std::uint16_t>((20 << 9) | (13 << 5) | 1), 0), 0.0);
    EXPECT_EQ(DosToDateTime(static_cast<std::uint16_t>((20 << 9) | (2 << 5) | 30), 0), 0.0);
    // Hour 25.
    EXPECT_EQ(DosToDateTime(static_cast<std::uint16_t>((20 << 9) | (1 << 5) | 1), static_cast<std::uint16_t>(25 << 11)), 0.0);
    EXPECT_DOUBLE_EQ(DosToDateTime(static_cast<std::uint16_t>((20 << 9) | (5 << 5) | 17),
                                   static_cast<std::uint16_t>((13 << 11) | (45 << 5) | 10)),
                     *TryEncodeDateTime({2000, 5, 17, 13, 45, 20, 0}));
}

TEST(ArcErrors, TextsAndDecimalDecodeErrors) {
    EXPECT_EQ(ArcErrorText(25202), L"Unknown file type");
    EXPECT_EQ(ArcErrorText(25111), L"Invalid code incountered");
    EXPECT_EQ(ArcErrorText(25145), L"Inconsistant local header");
    EXPECT_EQ(ArcErrorText(26999), L"Nothing to do");
    EXPECT_EQ(ArcErrorText(12345), L"12345");
    try {
        RaiseDecodeError(25109);
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25109);
        EXPECT_EQ(e.Message(), L"25109");
    }
}
