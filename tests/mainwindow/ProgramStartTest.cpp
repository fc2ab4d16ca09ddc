#include <gtest/gtest.h>

#include "mainwindow/ProgramStart.h"

using namespace velmora;

namespace {

TEST(ProgramStart, OnlyExactlyTheOneSpecialArgumentIsTheFirstRun) {
    EXPECT_TRUE(IsFirstRunCall({L"/ALLERALLERERSTERAUFRUF"}));
    EXPECT_FALSE(IsFirstRunCall({L"/allerallererster­aufruf"}));
    EXPECT_FALSE(IsFirstRunCall({L"/Allerallerersteraufruf"}));
    EXPECT_FALSE(IsFirstRunCall({L"/ALLERALLERERSTERAUFRUF", L"c:\\"}));
    EXPECT_FALSE(IsFirstRunCall({L"c:\\", L"/ALLERALLERERSTERAUFRUF"}));
    EXPECT_FALSE(IsFirstRunCall({}));
}

TEST(ProgramStart, TheProgramFolderHasExactlyOneTrailingBackslash) {
    EXPECT_EQ(ProgramFolder(L"C:\\Programme\\Velmora\\Velmora.exe"), L"C:\\Programme\\Velmora\\");
    EXPECT_EQ(ProgramFolder(L"C:\\Programme\\Velmora\\\\Velmora.exe"), L"C:\\Programme\\Velmora\\");
    EXPECT_EQ(ProgramFolder(L"C:\\Velmora.exe"), L"C:\\");
}

}  // namespace
