#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>

#include "foundation/DefaultUserStore.h"
#include "platform/rtl/Registry.h"

using namespace velmora;

namespace {

// Tests run in the build's own Wine prefix; they own this part of the tree.
const std::wstring kMaker = L".default\\Software\\Quorin Ashvale";
const std::wstring kScratch = L"VelmoraStoreTest";

class DefaultUserStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_USERS, kMaker + L"\\" + kScratch); }
    void TearDown() override { DeleteRegistryTree(HKEY_USERS, kMaker + L"\\" + kScratch); }

    static TRegistry OpenRaw(const std::wstring& sub) {
        TRegistry reg;
        reg.SetRootKey(HKEY_USERS);
        EXPECT_TRUE(reg.OpenKey(L"\\" + kMaker + L"\\" + sub, true));
        return reg;
    }
};

}  // namespace

TEST_F(DefaultUserStoreTest, MissingKeysAndValuesReadEmptyAndAreNotCreated) {
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Nie\\Da", L"Wert"), L"");
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    EXPECT_FALSE(reg.KeyExists(L"\\" + kMaker + L"\\" + kScratch));
}

TEST_F(DefaultUserStoreTest, WritingCreatesEveryMissingKeyInOneCall) {
    RegWriteUserValue(kScratch + L"\\Velmora\\1.0\\Dialoge", L"DKopierenDlgPos", L"10,20");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Velmora\\1.0\\Dialoge", L"DKopierenDlgPos"), L"10,20");
    TRegistry reg;
    reg.SetRootKey(HKEY_USERS);
    ASSERT_TRUE(reg.OpenKey(L"\\" + kMaker + L"\\" + kScratch + L"\\Velmora\\1.0\\Dialoge", false));
    EXPECT_EQ(reg.GetDataType(L"DKopierenDlgPos"), TRegDataType::String);
}

TEST_F(DefaultUserStoreTest, DoubleWordsReadAsDecimalTextOtherTypesAsEmpty) {
    {
        TRegistry reg = OpenRaw(kScratch);
        reg.WriteInteger(L"zahl", 5);
        reg.WriteExpandString(L"pfad", L"%TEMP%");
        reg.WriteBinaryData(L"bin", "ab", 2);
    }
    EXPECT_EQ(RegReadUserValue(kScratch, L"zahl"), L"5");
    EXPECT_EQ(RegReadUserValue(kScratch, L"pfad"), L"");
    EXPECT_EQ(RegReadUserValue(kScratch, L"bin"), L"");
}

// Hand-made values whose type does not match their size: none may stop a reader.
TEST_F(DefaultUserStoreTest, ValuesOfAnOddTypeOrSizeReadAsEmpty) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_USERS, (kMaker + L"\\" + kScratch).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const unsigned long long eight = 7;
    const unsigned short two = 7;
    RegSetValueExW(key, L"achtbytes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&eight), sizeof eight);
    RegSetValueExW(key, L"zweibytes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two);
    RegSetValueExW(key, L"qword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&eight), sizeof eight);
    RegSetValueExW(key, L"liste", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(L"a\0b\0"), 6 * sizeof(wchar_t));
    RegCloseKey(key);
    for (const wchar_t* name : {L"achtbytes", L"zweibytes", L"qword", L"liste"}) {
        std::wstring value = L"vorher";
        EXPECT_NO_THROW(RegReadUserValue(kScratch, name, value)) << std::string(name, name + wcslen(name));
        EXPECT_EQ(value, L"") << std::string(name, name + wcslen(name));
    }
}

TEST_F(DefaultUserStoreTest, NamesWithBackslashAddressASubkey) {
    RegWriteUserValue(kScratch, L"Unter\\Wert", L"x");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Unter", L"Wert"), L"x");
    RegRenameUserValue(kScratch + L"\\Unter", L"Wert", L"Neu");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Unter", L"Wert"), L"");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Unter", L"Neu"), L"x");
    RegDeleteUserValue(kScratch + L"\\Unter", L"Neu");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Unter", L"Neu"), L"");
    RegDeleteUserValue(kScratch + L"\\Fehlt", L"Neu");
}

TEST_F(DefaultUserStoreTest, NumberedListsStopAtTheFirstGap) {
    {
        TRegistry reg = OpenRaw(kScratch + L"\\Luecke");
        reg.WriteString(L"0", L"a");
        reg.WriteString(L"1", L"b");
        reg.WriteString(L"3", L"d");
    }
    EXPECT_EQ(ReadNumberedList(kScratch + L"\\Luecke").Items(), (std::vector<std::wstring>{L"a", L"b"}));
    {
        TRegistry reg = OpenRaw(kScratch + L"\\Leer");
        reg.WriteString(L"0", L"a");
        reg.WriteString(L"1", L"");
        reg.WriteString(L"2", L"c");
    }
    EXPECT_EQ(ReadNumberedList(kScratch + L"\\Leer").Items(), std::vector<std::wstring>{L"a"});
    EXPECT_TRUE(ReadNumberedList(kScratch + L"\\Nichts").Empty());
    // A number reads as its digits, a value of any other kind as a gap.
    {
        TRegistry reg = OpenRaw(kScratch + L"\\Arten");
        reg.WriteString(L"0", L"a");
        reg.WriteInteger(L"1", -42);
        const char raw[] = "xy";
        reg.WriteBinaryData(L"2", raw, 2);
        reg.WriteString(L"3", L"d");
    }
    EXPECT_EQ(ReadNumberedList(kScratch + L"\\Arten").Items(), (std::vector<std::wstring>{L"a", L"-42"}));
}

TEST_F(DefaultUserStoreTest, NumberedListWriterStartsFromNothingAndSkipsEmptyEntries) {
    WriteNumberedList(kScratch + L"\\Liste", {L"1", L"2", L"3", L"4"});
    RegWriteUserValue(kScratch + L"\\Liste\\Unter", L"x", L"y");
    WriteNumberedList(kScratch + L"\\Liste", {L"neu", L"", L"danach"});
    EXPECT_EQ(ReadNumberedList(kScratch + L"\\Liste").Items(), (std::vector<std::wstring>{L"neu", L"danach"}));
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Liste", L"2"), L"");
    EXPECT_EQ(RegReadUserValue(kScratch + L"\\Liste\\Unter", L"x"), L"");
}

TEST_F(DefaultUserStoreTest, DeletingAKeyTakesEverythingBelowAndIsSilentWhenMissing) {
    RegWriteUserValue(kScratch + L"\\Filter\\1", L"Typ", L"Bilder");
    RegWriteUserValue(kScratch + L"\\Filter\\2\\Tief", L"0", L"*.bmp");
    RegDeleteUserKey(kScratch, L"Filter");
    TStringList keys;
    ListUserSubKeys(kScratch, keys);
    EXPECT_TRUE(keys.Empty());
    RegDeleteUserKey(kScratch, L"Filter");
    RegDeleteUserKey(kScratch + L"\\Gibt\\Es\\Nicht", L"x");
}

TEST_F(DefaultUserStoreTest, ListsSubkeyNames) {
    for (auto n : {L"0", L"1", L"2"}) RegWriteUserValue(kScratch + L"\\Auto\\" + n, L"Beschreibung", n);
    TStringList keys;
    ListUserSubKeys(kScratch + L"\\Auto", keys);
    EXPECT_EQ(keys.Count(), 3);
}

TEST(DialogPos, OnlyTwoDecimalNumbersWithACommaCount) {
    EXPECT_EQ(ParseDialogPos(L"10,20"), (TDialogPos{10, 20}));
    EXPECT_EQ(ParseDialogPos(L"-5,0"), (TDialogPos{-5, 0}));
    EXPECT_FALSE(ParseDialogPos(L""));
    EXPECT_FALSE(ParseDialogPos(L"10"));
    EXPECT_FALSE(ParseDialogPos(L"10;20"));
    EXPECT_FALSE(ParseDialogPos(L"a,20"));
    EXPECT_FALSE(ParseDialogPos(L"10,"));
    EXPECT_FALSE(ParseDialogPos(L"10,20,30"));
    EXPECT_FALSE(ParseDialogPos(L"99999999999,1"));
}

TEST(ColumnWidths, CommaListsOfPixels) {
    EXPECT_EQ(ParseColumnWidths(L"120,60,80"), (std::vector<int>{120, 60, 80}));
    EXPECT_TRUE(ParseColumnWidths(L"").empty());
    EXPECT_TRUE(ParseColumnWidths(L"120,,80").empty());
    EXPECT_TRUE(ParseColumnWidths(L"120,x").empty());
}

// Left in place on purpose: the prefix shows where dialog positions and column
// widths live after a test run.
TEST(StoreLayout, DialogPositionsAndColumnWidthsLandUnderDialoge) {
    WriteDlgPos(L"DKopieren", {100, 50});
    EXPECT_EQ(RegReadUserValue(L"Velmora\\1.0\\Dialoge", L"DKopierenDlgPos"), L"100,50");
    EXPECT_EQ(ReadDlgPos(L"DKopieren"), (TDialogPos{100, 50}));
    RegWriteUserValue(L"Velmora\\1.0\\Dialoge", L"GotoDlgPos", L"kaputt");
    EXPECT_FALSE(ReadDlgPos(L"Goto"));
    RegDeleteUserValue(L"Velmora\\1.0\\Dialoge", L"GotoDlgPos");
    WriteColumnWidths(L"DListeColumns", {150, 70, 90});
    EXPECT_EQ(ReadColumnWidths(L"DListeColumns"), (std::vector<int>{150, 70, 90}));
}
