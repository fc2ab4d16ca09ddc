#include <gtest/gtest.h>

#include "foundation/Fehlercode.h"
#include "foundation/RegistryEnhanced.h"

using namespace velmora;

namespace {

const std::wstring kTestKey = L"Software\\VelmoraTest\\enhanced";

class RegistryEnhancedTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, kTestKey); }

    static void MakeKey(const std::wstring& path) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(L"\\" + kTestKey + L"\\" + path, true));
    }
    static void WriteString(const std::wstring& path, const std::wstring& name, const std::wstring& value) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(L"\\" + kTestKey + L"\\" + path, true));
        reg.WriteString(name, value);
    }
};

std::vector<std::wstring> Pieces(const std::wstring& text, bool allowEmpty) {
    TBrkApart b;
    b.BreakString = L"\\";
    b.BaseString = text;
    b.AllowEmptyString = allowEmpty;
    b.Split();
    return b.StringList.Items();
}

}  // namespace

TEST(BrkApart, EmptyPiecesAreDroppedUnlessAllowed) {
    EXPECT_EQ(Pieces(L"a\\\\b\\", false), (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(Pieces(L"a\\\\b\\", true), (std::vector<std::wstring>{L"a", L"", L"b", L""}));
    EXPECT_EQ(Pieces(L"", false), std::vector<std::wstring>{});
    EXPECT_EQ(Pieces(L"ganz", false), std::vector<std::wstring>{L"ganz"});
}

TEST(BrkApart, SplittingAgainReplacesThePieces) {
    TBrkApart b;
    b.BreakString = L", ";
    b.BaseString = L"x, y";
    b.Split();
    b.BaseString = L"z";
    b.Split();
    EXPECT_EQ(b.StringList.Items(), std::vector<std::wstring>{L"z"});
}

TEST(RegistryEnhanced, NamesSplitIntoKeyPartAndValueName) {
    TRegistryEnhanced reg;
    auto p = reg.SplitName(L"Sub\\Deeper\\Wert");
    EXPECT_EQ(p.KeyPart, L"\\Sub\\Deeper");
    EXPECT_EQ(p.ValueName, L"Wert");
    p = reg.SplitName(L"Wert");
    EXPECT_EQ(p.KeyPart, L"");
    EXPECT_EQ(p.ValueName, L"Wert");
    p = reg.SplitName(L"\\\\Sub\\\\Wert\\");
    EXPECT_EQ(p.KeyPart, L"\\Sub");
    EXPECT_EQ(p.ValueName, L"Wert");
}

TEST(RegistryEnhanced, KeyLosesOneTrailingAndOneLeadingBackslash) {
    TRegistryEnhanced reg;
    reg.Key = L"\\a\\b\\";
    EXPECT_EQ(reg.TrimmedKey(), L"a\\b");
    reg.Key = L"\\";
    EXPECT_EQ(reg.TrimmedKey(), L"");
    reg.Key = L"\\\\a\\\\";
    EXPECT_EQ(reg.TrimmedKey(), L"\\a\\");
}

TEST_F(RegistryEnhancedTest, EmptyKeyTouchesNothing) {
    TRegistryEnhanced reg;
    TRegVariant v = std::wstring(L"vorher");
    reg.ReadValue(L"x", v);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(v));
    reg.WriteValue(L"Software\\VelmoraTest\\enhanced\\x", std::wstring(L"y"));
    EXPECT_FALSE(TRegistry().KeyExists(L"\\" + kTestKey));
}

TEST_F(RegistryEnhancedTest, ValueWithSubkeyUnderAKeyWithBothBackslashes) {
    WriteString(L"top\\sub", L"wert", L"gefunden");
    TRegistryEnhanced reg;
    reg.Key = L"\\" + kTestKey + L"\\top\\";
    TRegVariant v;
    reg.ReadValue(L"sub\\wert", v);
    ASSERT_TRUE(std::holds_alternative<std::wstring>(v));
    EXPECT_EQ(std::get<std::wstring>(v), L"gefunden");
}

TEST_F(RegistryEnhancedTest, VariantsAreWrittenByTheirType) {
    TRegistryEnhanced reg;
    reg.Key = kTestKey;
    reg.WriteValue(L"s", std::wstring(L"text"));
    reg.WriteValue(L"i", std::int32_t{42});
    reg.WriteValue(L"b", true);
    reg.WriteValue(L"d", TRegDate{36526.5});
    reg.WriteValue(L"c", TRegCurrency{12345});
    reg.WriteValue(L"f", 1.25);  // plain floating point: not written
    TRegistry raw;
    ASSERT_TRUE(raw.OpenKey(L"\\" + kTestKey, false));
    EXPECT_EQ(raw.GetDataType(L"s"), TRegDataType::String);
    EXPECT_EQ(raw.ReadInteger(L"i"), 42);
    EXPECT_EQ(raw.ReadInteger(L"b"), 1);
    EXPECT_EQ(raw.GetDataType(L"d"), TRegDataType::Binary);
    EXPECT_EQ(raw.GetDataSize(L"c"), 8);
    EXPECT_FALSE(raw.ValueExists(L"f"));

    TRegVariant v;
    reg.ReadValue(L"i", v);
    EXPECT_EQ(std::get<std::int32_t>(v), 42);
    reg.ReadValue(L"d", v);  // binary reads as nothing
    EXPECT_TRUE(std::holds_alternative<std::monostate>(v));
}

TEST_F(RegistryEnhancedTest, KeyNamesDeleteAndRename) {
    MakeKey(L"list\\eins");
    MakeKey(L"list\\zwei\\tief");
    WriteString(L"list", L"alt", L"1");
    TRegistryEnhanced reg;
    reg.Key = kTestKey;
    TStringList names;
    reg.GetKeyNames(L"\\list\\", names);
    EXPECT_EQ(names.Count(), 2);

    reg.Key = kTestKey + L"\\list";
    reg.RenameValue(L"alt", L"neu");
    TRegVariant v;
    reg.ReadValue(L"neu", v);
    EXPECT_EQ(std::get<std::wstring>(v), L"1");

    reg.DeleteKey(L"zwei");  // has a subkey of its own
    reg.GetKeyNames(L"", names);
    EXPECT_EQ(names.Items(), std::vector<std::wstring>{L"eins"});
    reg.DeleteKey(L"gibtsnicht");
}

TEST(RegWildcard, QuestionMarkAndStar) {
    EXPECT_TRUE(RegWildcardMatch(L"A?C", L"ABC"));
    EXPECT_TRUE(RegWildcardMatch(L"A?C", L"A.C"));
    EXPECT_FALSE(RegWildcardMatch(L"A?C", L"AC"));
    EXPECT_FALSE(RegWildcardMatch(L"A?C", L"ABCD"));
    EXPECT_TRUE(RegWildcardMatch(L".*", L".TXT"));
    EXPECT_TRUE(RegWildcardMatch(L".*", L"."));
    EXPECT_FALSE(RegWildcardMatch(L".*", L"TXTFILE"));
    EXPECT_TRUE(RegWildcardMatch(L"*FILE", L"TXTFILE"));
    EXPECT_TRUE(RegWildcardMatch(L"", L""));
    EXPECT_FALSE(RegWildcardMatch(L"", L"A"));
}

TEST_F(RegistryEnhancedTest, ExpandedLevelsComeInReverseEnumerationOrderAndHonourConditions) {
    WriteString(L".abc", L"Content Type", L"text/plain");
    WriteString(L".abd", L"Content Type", L"image/png");
    WriteString(L".xyz", L"", L"xyzfile");
    MakeKey(L"abc");
    MakeKey(L".abc\\shell\\open");
    HKEY root;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey.c_str(), 0, KEY_READ, &root), ERROR_SUCCESS);

    TStringList all, filtered, excluded, values, nested;
    RegExpandKeyPattern(root, L".*", L"", all, {});
    EXPECT_EQ(all.Items(), (std::vector<std::wstring>{L".xyz", L".abd", L".abc"}));

    RegExpandKeyPattern(root, L".ab?", L"", filtered, {L"Content Type=text/plain"});
    EXPECT_EQ(filtered.Items(), std::vector<std::wstring>{L".abc"});
    RegExpandKeyPattern(root, L".ab?", L"", excluded, {L"Content Type<>text/plain"});
    EXPECT_EQ(excluded.Items(), std::vector<std::wstring>{L".abd"});
    RegExpandKeyPattern(root, L".ab?", L"Content Type", values, {});
    EXPECT_EQ(values.Items(), (std::vector<std::wstring>{L"image/png", L"text/plain"}));
    RegExpandKeyPattern(root, L"*\\SHELL\\*", L"", nested, {});
    EXPECT_EQ(nested.Items(), std::vector<std::wstring>{L".abc\\shell\\open"});
    RegCloseKey(root);
}

TEST(RegExpand, ClassesRootDotStarGivesOnlyExtensionKeys) {
    TStringList keys;
    RegExpandKeyPattern(HKEY_CLASSES_ROOT, L".*", L"", keys, {});
    ASSERT_GT(keys.Count(), 5);
    for (const auto& k : keys) EXPECT_EQ(k[0], L'.') << std::string(k.begin(), k.end());
    EXPECT_NE(keys.IndexOf(L".ini", true), -1);
}

TEST_F(RegistryEnhancedTest, ExpandableStringRaisesAndLeavesTheTraceWord) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(L"\\" + kTestKey + L"\\.exp", true));
        reg.WriteExpandString(L"Pfad", L"%TEMP%");
    }
    HKEY root;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey.c_str(), 0, KEY_READ, &root), ERROR_SUCCESS);
    TStringList result;
    Fehlercode = 0;
    try {
        RegExpandKeyPattern(root, L".*", L"Pfad", result, {});
        FAIL() << "no exception";
    } catch (const ERegError& e) {
        EXPECT_EQ(e.Message(), L"Read: Type=ExpandString. Please Email for Implementation!");
    }
    EXPECT_EQ(Fehlercode, fc::RegExpandKeyPattern);

    RegExpandKeyPattern(root, L".*", L"", result, {});
    EXPECT_EQ(Fehlercode, 0);
    RegCloseKey(root);
}
