#include <gtest/gtest.h>

#include "mainwindow/HistoryRules.h"

using namespace velmora;

namespace {

TStringList Numbered(const std::wstring& prefix, int count) {
    TStringList list;
    for (int i = 0; i < count; ++i)
        list.Add(prefix + std::to_wstring(i));
    return list;
}

}  // namespace

TEST(HistoryRules, AFolderAddedTwiceInOtherFormsEndsOnceAtTheEndInBothLists) {
    THistoryLists lists;
    lists.RecentDirs = {L"c:\\alt"};
    AddDirHistory(lists, L"C:\\Daten\\Briefe\\");
    AddDirHistory(lists, L"c:\\temp");
    AddDirHistory(lists, L"c:\\daten\\briefe");
    EXPECT_EQ(lists.RecentDirs, (TStringList{L"c:\\alt", L"c:\\temp", L"c:\\daten\\briefe"}));
    EXPECT_EQ(lists.RecentFiles, (TStringList{L"c:\\temp", L"c:\\daten\\briefe"}));
}

TEST(HistoryRules, ADriveRootIsStoredAsLetterAndColon) {
    THistoryLists lists;
    AddDirHistory(lists, L"C:\\");
    EXPECT_EQ(lists.RecentDirs, (TStringList{L"c:"}));
    EXPECT_EQ(lists.RecentFiles, (TStringList{L"c:"}));
}

TEST(HistoryRules, UmlautsAreLowerCasedToo) {
    THistoryLists lists;
    AddPathHistory(lists, L"C:\\ÄRGER\\Übersicht.TXT");
    EXPECT_EQ(lists.RecentFiles, (TStringList{L"c:\\ärger\\übersicht.txt"}));
}

TEST(HistoryRules, TheTwentiethDistinctFolderDropsTheOldest) {
    THistoryLists lists;
    for (int i = 0; i < 19; ++i)
        AddDirHistory(lists, L"c:\\d" + std::to_wstring(i));
    EXPECT_EQ(lists.RecentDirs.Count(), 19);
    AddDirHistory(lists, L"c:\\d19");
    ASSERT_EQ(lists.RecentDirs.Count(), 19);
    EXPECT_EQ(lists.RecentDirs[0], L"c:\\d1");
    EXPECT_EQ(lists.RecentDirs[18], L"c:\\d19");
    EXPECT_EQ(lists.RecentFiles.Count(), 19);
}

TEST(HistoryRules, AListLoadedWithMoreThanTwentyIsNotCutByAdding) {
    THistoryLists lists;
    lists.RecentDirs = Numbered(L"c:\\d", 25);
    lists.RecentArcs = Numbered(L"c:\\a", 25);
    AddDirHistory(lists, L"c:\\neu");
    AddArchiveHistory(lists, L"C:\\Neu.ZIP");
    EXPECT_EQ(lists.RecentDirs.Count(), 26);
    EXPECT_EQ(lists.RecentDirs[25], L"c:\\neu");
    EXPECT_EQ(lists.RecentArcs.Count(), 26);
    EXPECT_EQ(lists.RecentArcs[25], L"c:\\neu.zip");
    EXPECT_EQ(lists.RecentFiles, (TStringList{L"c:\\neu", L"c:\\neu.zip"}));
}

TEST(HistoryRules, AnArchiveKeepsItsBackslashlessNameAndJoinsThePaths) {
    THistoryLists lists;
    AddArchiveHistory(lists, L"D:\\Pakete\\Test.ZIP");
    AddArchiveHistory(lists, L"d:\\pakete\\test.zip");
    EXPECT_EQ(lists.RecentArcs, (TStringList{L"d:\\pakete\\test.zip"}));
    EXPECT_EQ(lists.RecentFiles, (TStringList{L"d:\\pakete\\test.zip"}));
    EXPECT_TRUE(lists.RecentDirs.Empty());
}

TEST(HistoryRules, AParameterDifferingOnlyInCaseReplacesTheOldOneAtTheTopAsTyped) {
    TStringList parameters{L"/a", L"-Datei.TXT", L"/b"};
    AddNewestFirst(parameters, L"-datei.txt");
    EXPECT_EQ(parameters, (TStringList{L"-datei.txt", L"/a", L"/b"}));
    AddNewestFirst(parameters, L"");
    EXPECT_EQ(parameters.Count(), 3);
}

TEST(HistoryRules, TheNewestFirstListsKeepAtMostTwentyEvenWhenLoadedWithMore) {
    TStringList lines = Numbered(L"dir ", 25);
    AddNewestFirst(lines, L"cls");
    ASSERT_EQ(lines.Count(), 20);
    EXPECT_EQ(lines[0], L"cls");
    EXPECT_EQ(lines[19], L"dir 18");
}

TEST(HistoryRules, FavouritesAreComparedLowerCased) {
    const TStringList favourites{L"C:\\Daten", L"d:\\spiele"};
    EXPECT_TRUE(IsFavouriteFolder(favourites, HistoryFolder(L"c:\\DATEN\\")));
    EXPECT_TRUE(IsFavouriteFolder(favourites, L"d:\\spiele"));
    EXPECT_FALSE(IsFavouriteFolder(favourites, L"c:\\daten\\briefe"));
}
