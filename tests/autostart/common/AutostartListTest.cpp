#include <gtest/gtest.h>

#include <algorithm>

#include "autostart/common/AutostartList.h"
#include "foundation/DefaultUserStore.h"
#include "platform/rtl/Registry.h"

using namespace velmora;

namespace {

// The build's own Wine prefix: the tests own the real "Autostartman" key.
const std::wstring kListKey = L".default\\Software\\Quorin Ashvale\\Autostartman";

class AutostartListTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_USERS, kListKey); }
    void TearDown() override { DeleteRegistryTree(HKEY_USERS, kListKey); }

    static std::vector<std::wstring> SubkeyNames() {
        TStringList names;
        ListUserSubKeys(AutostartKey, names);
        std::vector<std::wstring> sorted(names.begin(), names.end());
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }
    static TEintrag Entry(int n, std::uint8_t wait = 5, std::uint8_t action = 0) {
        std::wstring s = std::to_wstring(n);
        return TEintrag{L"Programm " + s, L"c:\\prog\\p" + s + L".exe", L"/p" + s, wait, action};
    }
};

}  // namespace

TEST_F(AutostartListTest, NoKeyReadsAsAnEmptyList) {
    EXPECT_TRUE(LoadAutostartList().empty());
}

TEST_F(AutostartListTest, ListRoundTripsThroughTheRegistryAsDecimalStrings) {
    TEintragList list{Entry(0, 0, 0), Entry(1, 30, 1), Entry(2, 12, 0)};
    SaveAutostartList(list);
    EXPECT_EQ(LoadAutostartList(), list);

    TRegistry raw;
    raw.SetRootKey(HKEY_USERS);
    ASSERT_TRUE(raw.OpenKeyReadOnly(L"\\" + kListKey + L"\\1"));
    EXPECT_EQ(raw.GetDataType(L"Wartezeit"), TRegDataType::String);
    EXPECT_EQ(raw.ReadString(L"Wartezeit"), L"30");
    EXPECT_EQ(raw.ReadString(L"Aktion"), L"1");
    EXPECT_EQ(raw.ReadString(L"Dateiname"), L"c:\\prog\\p1.exe");
}

TEST_F(AutostartListTest, SavingThreeOverFiveLeavesExactlyTheFirstThreeSubkeys) {
    SaveAutostartList({Entry(0), Entry(1), Entry(2), Entry(3), Entry(4)});
    // A stray value of an old entry must not survive into the new one.
    RegWriteUserValue(AutostartKey + L"\\1", L"Alt", L"x");
    TEintragList three{Entry(7), Entry(8), Entry(9)};
    SaveAutostartList(three);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::wstring>{L"0", L"1", L"2"}));
    EXPECT_EQ(RegReadUserValue(AutostartKey + L"\\1", L"Alt"), L"");
    EXPECT_EQ(LoadAutostartList(), three);
}

TEST_F(AutostartListTest, SavingAnEmptyListLeavesNoSubkeys) {
    SaveAutostartList({Entry(0), Entry(1)});
    SaveAutostartList({});
    EXPECT_TRUE(SubkeyNames().empty());
    EXPECT_TRUE(LoadAutostartList().empty());
}

TEST_F(AutostartListTest, MissingValuesReadEmptyAndNumbersFallBackWithoutFailing) {
    RegWriteUserValue(AutostartKey + L"\\0", L"Beschreibung", L"Nur Beschreibung");
    RegWriteUserValue(AutostartKey + L"\\1", L"Dateiname", L"c:\\a.exe");
    RegWriteUserValue(AutostartKey + L"\\1", L"Wartezeit", L"zehn");
    RegWriteUserValue(AutostartKey + L"\\1", L"Aktion", L"ja");
    RegWriteUserValue(AutostartKey + L"\\2", L"Wartezeit", L"45");
    RegWriteUserValue(AutostartKey + L"\\2", L"Aktion", L"0");

    TEintragList list = LoadAutostartList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Beschreibung, L"Nur Beschreibung");
    EXPECT_EQ(list[0].Dateiname, L"");
    EXPECT_EQ(list[0].Parameter, L"");
    EXPECT_EQ(list[0].Wartezeit, TEintrag::kDefaultWartezeit);
    EXPECT_EQ(list[0].Aktion, TEintrag::kAktionNichtStarten);
    EXPECT_EQ(list[1].Wartezeit, TEintrag::kDefaultWartezeit);
    EXPECT_EQ(list[1].Aktion, TEintrag::kAktionNichtStarten);
    EXPECT_EQ(list[2].Wartezeit, 30);
    EXPECT_EQ(list[2].Aktion, TEintrag::kAktionStarten);

    // What the manager's OK writes back keeps every entry.
    SaveAutostartList(list);
    EXPECT_EQ(LoadAutostartList(), list);
    EXPECT_EQ(RegReadUserValue(AutostartKey + L"\\1", L"Dateiname"), L"c:\\a.exe");
}

TEST_F(AutostartListTest, HandNamedSubkeysAreAllReadNumberedOnesInNumericOrder) {
    RegWriteUserValue(AutostartKey + L"\\10", L"Beschreibung", L"zehn");
    RegWriteUserValue(AutostartKey + L"\\Extra", L"Beschreibung", L"extra");
    RegWriteUserValue(AutostartKey + L"\\2", L"Beschreibung", L"zwei");
    RegWriteUserValue(AutostartKey + L"\\0", L"Beschreibung", L"null");

    TEintragList list = LoadAutostartList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].Beschreibung, L"null");
    EXPECT_EQ(list[1].Beschreibung, L"zwei");
    EXPECT_EQ(list[2].Beschreibung, L"zehn");
    EXPECT_EQ(list[3].Beschreibung, L"extra");

    SaveAutostartList(list);
    EXPECT_EQ(SubkeyNames(), (std::vector<std::wstring>{L"0", L"1", L"2", L"3"}));
    EXPECT_EQ(RegReadUserValue(AutostartKey + L"\\3", L"Beschreibung"), L"extra");
}

TEST(AutostartValueTest, WaitAndActionConversions) {
    struct Case {
        const wchar_t* text;
        int wait;
        int action;
    } cases[] = {
        {L"0", 0, 0}, {L"1", 1, 1}, {L"30", 30, 1}, {L" 7 ", 7, 1}, {L"31", 30, 1}, {L"-4", 0, 1},
        {L"", TEintrag::kDefaultWartezeit, 1}, {L"5x", TEintrag::kDefaultWartezeit, 1},
        {L"99999999999999999999", TEintrag::kDefaultWartezeit, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseWartezeit(c.text), c.wait) << "\"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
        EXPECT_EQ(ParseAktion(c.text), c.action) << "\"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
    }
}
