#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

TEST(Strings, Utf8RoundTripKeepsUmlautsAndCharactersOutsideTheBasicPlane) {
    const std::wstring text = L"Größe \u20AC \U0001F600";
    EXPECT_EQ(ToUtf8(text), "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Strings, BrokenUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xC3"), L"a\xFFFD");
    EXPECT_EQ(FromUtf8("\xFF" "b"), L"\xFFFD" L"b");
}

TEST(Strings, ParseIntAcceptsOnlyWholeDecimalNumbers) {
    EXPECT_EQ(ParseInt(L"42"), 42);
    EXPECT_EQ(ParseInt(L"-7"), -7);
    EXPECT_FALSE(ParseInt(L""));
    EXPECT_FALSE(ParseInt(L"-"));
    EXPECT_FALSE(ParseInt(L"12a"));
    EXPECT_FALSE(ParseInt(L" 12"));
    EXPECT_FALSE(ParseInt(L"99999999999999999999"));
    EXPECT_FALSE(ParseInt(L"20000000000000000000"));
    EXPECT_EQ(ParseInt(L"9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(StrToIntDef(L"x", 5), 5);
    EXPECT_THROW(StrToInt(L"1,5"), EConvertError);
}

TEST(Strings, SplitKeepsEmptyPieces) {
    EXPECT_EQ(SplitString(L"a,,b,", L","), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
    EXPECT_EQ(SplitString(L"", L","), (std::vector<std::wstring>{L""}));
}

TEST(StringList, TextAndNameValuePairs) {
    TStringList list;
    list.SetText(L"eins\r\nzwei\nName=Wert\r\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1], L"zwei");
    EXPECT_EQ(list.Values(L"name"), L"Wert");
    EXPECT_EQ(list.Text(), L"eins\r\nzwei\r\nName=Wert\r\n");
    EXPECT_EQ(list.IndexOf(L"ZWEI"), -1);
    EXPECT_EQ(list.IndexOf(L"ZWEI", true), 1);
}
