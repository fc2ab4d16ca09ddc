#include <gtest/gtest.h>

#include "platform/rtl/Registry.h"

using namespace velmora;

namespace {
const wchar_t* kBase = L"\\Software\\VelmoraTest\\rtl";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, kBase); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kBase); }
};
}  // namespace

TEST_F(RegistryTest, LeadingBackslashPathsOpenAndTypedValuesRoundTrip) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::wstring(kBase) + L"\\a\\b\\", true));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\VelmoraTest\\rtl\\a\\b");
    reg.WriteString(L"s", L"Größe");
    reg.WriteInteger(L"i", -5);
    reg.WriteFloat(L"f", 1.5);
    EXPECT_EQ(reg.ReadString(L"s"), L"Größe");
    EXPECT_EQ(reg.ReadInteger(L"i"), -5);
    EXPECT_EQ(reg.GetDataType(L"f"), TRegDataType::Binary);
    EXPECT_EQ(reg.GetDataSize(L"f"), 8);
    EXPECT_THROW(reg.ReadInteger(L"s"), ERegistryException);
    EXPECT_EQ(reg.ReadString(L"missing"), L"");
}

TEST_F(RegistryTest, RelativeOpenAndRename) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kBase, true));
    ASSERT_TRUE(reg.OpenKey(L"sub", true));
    EXPECT_EQ(reg.CurrentPath(), L"Software\\VelmoraTest\\rtl\\sub");
    reg.WriteString(L"alt", L"x");
    EXPECT_TRUE(reg.RenameValue(L"alt", L"neu"));
    EXPECT_FALSE(reg.ValueExists(L"alt"));
    EXPECT_EQ(reg.ReadString(L"neu"), L"x");
    EXPECT_FALSE(reg.RenameValue(L"fehlt", L"y"));
}

TEST_F(RegistryTest, DeletingAKeyDeletesEverythingBelowIt) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::wstring(kBase) + L"\\top\\mid\\leaf", true));
    reg.WriteString(L"v", L"1");
    ASSERT_TRUE(reg.OpenKey(std::wstring(kBase) + L"\\top\\second", true));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(std::wstring(kBase) + L"\\top"));
    EXPECT_FALSE(reg.KeyExists(std::wstring(kBase) + L"\\top"));
    EXPECT_TRUE(reg.KeyExists(kBase));
    EXPECT_FALSE(reg.DeleteKey(std::wstring(kBase) + L"\\nie"));
}

TEST_F(RegistryTest, KeyNamesInEnumerationOrder) {
    TRegistry reg;
    // Made out of order: the registry hands subkeys out sorted, and so must the list.
    for (auto name : {L"x3", L"x1", L"x2"}) ASSERT_TRUE(reg.OpenKey(std::wstring(kBase) + L"\\" + name, true));
    ASSERT_TRUE(reg.OpenKey(kBase, false));
    TStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names.Text(), L"x1\r\nx2\r\nx3\r\n");
}
