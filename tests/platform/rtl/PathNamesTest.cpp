#include <gtest/gtest.h>

#include "platform/rtl/PathNames.h"

using namespace velmora;

TEST(PathNames, SplittingAPath) {
    EXPECT_EQ(ExtractFilePath(L"C:\\Daten\\brief.txt"), L"C:\\Daten\\");
    EXPECT_EQ(ExtractFileDir(L"C:\\Daten\\brief.txt"), L"C:\\Daten");
    EXPECT_EQ(ExtractFileDir(L"C:\\brief.txt"), L"C:\\");
    EXPECT_EQ(ExtractFileName(L"C:\\Daten\\brief.txt"), L"brief.txt");
    EXPECT_EQ(ExtractFileName(L"C:brief.txt"), L"brief.txt");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\datei"), L"");
    EXPECT_EQ(ExtractFileExt(L"archiv.tar.gz"), L".gz");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\datei", L".zip"), L"C:\\a.b\\datei.zip");
    EXPECT_EQ(ChangeFileExt(L"x.exe", L".zip"), L"x.zip");
}

// Wine shows a Unix file "a:b.txt" under that name: only "\" and the drive's
// colon split a name.
TEST(PathNames, AColonInsideANameIsPartOfTheName) {
    EXPECT_EQ(ExtractFileName(L"t:\\src\\a:b.txt"), L"a:b.txt");
    EXPECT_EQ(ExtractFilePath(L"t:\\src\\a:b.txt"), L"t:\\src\\");
    EXPECT_EQ(ExtractFileDir(L"t:\\src\\a:b.txt"), L"t:\\src");
    EXPECT_EQ(ExtractFileName(L"a:b:c.txt"), L"b:c.txt");
    EXPECT_EQ(ExtractFilePath(L"a:b:c.txt"), L"a:");
    EXPECT_EQ(ExtractFileName(L"ab:c.txt"), L"ab:c.txt");
    EXPECT_EQ(ExtractFilePath(L"ab:c.txt"), L"");
}

TEST(PathNames, TrailingBackslashIsAddedOrRemovedOnce) {
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\x"), L"C:\\x\\");
    EXPECT_EQ(IncludeTrailingBackslash(L"C:\\x\\"), L"C:\\x\\");
    EXPECT_EQ(IncludeTrailingBackslash(L""), L"\\");
    EXPECT_EQ(ExcludeTrailingBackslash(L"C:\\x\\"), L"C:\\x");
}
