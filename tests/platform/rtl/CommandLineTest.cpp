#include <gtest/gtest.h>

#include "platform/rtl/FileSystem.h"

using namespace velmora;

TEST(CommandLine, QuotesGroupAndBackslashesStayAsTheyAre) {
    EXPECT_EQ(SplitCommandLine(L"prog.exe \"C:\\\" x"), (std::vector<std::wstring>{L"prog.exe", L"C:\\", L"x"}));
    EXPECT_EQ(SplitCommandLine(L"  \"C:\\Program Files\\v.exe\"   a\"b c\"d  "),
              (std::vector<std::wstring>{L"C:\\Program Files\\v.exe", L"ab cd"}));
    EXPECT_EQ(SplitCommandLine(L"p \"\""), (std::vector<std::wstring>{L"p", L""}));
}

TEST(CommandLine, ParamStrZeroIsTheProgramFile) {
    std::wstring self = ParamStr(0);
    EXPECT_NE(self.find(L"rtl_win32_test.exe"), std::wstring::npos);
    EXPECT_TRUE(FileExists(self));
}
