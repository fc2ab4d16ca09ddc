// The folder tree's rules: which items become nodes, the attribute filter, the
// archive probe behind the expand mark, node paths, sort requests and the watch
// pass over a snapshot.

#include <gtest/gtest.h>

#include "foundation/TestFiles.h"
#include "panes/VbaumRegeln.h"

using namespace velmora;

TEST(VbaumRegeln, FoldersAndArchivesBecomeNodesOtherFilesDoNot) {
    EXPECT_EQ(KnotenArt(kAttrOrdner | kAttrDateisystem, L"c:\\a"), TKnotenArt::Ordner);
    EXPECT_EQ(KnotenArt(kAttrDateisystemVorfahr, L"::{20D04FE0}"), TKnotenArt::Ordner);
    EXPECT_EQ(KnotenArt(kAttrDateisystem, L"c:\\a\\X.RAR"), TKnotenArt::Archiv);
    EXPECT_EQ(KnotenArt(kAttrDateisystem, L"c:\\a\\b.ice"), TKnotenArt::Archiv);
    EXPECT_EQ(KnotenArt(kAttrDateisystem, L"c:\\a\\b.txt"), TKnotenArt::Keiner);
    // The extension is the name's, not a dotted folder's.
    EXPECT_EQ(KnotenArt(kAttrDateisystem, L"c:\\x.zip\\readme"), TKnotenArt::Keiner);
    // An archive extension outside the file system is no node.
    EXPECT_EQ(KnotenArt(0, L"x.zip"), TKnotenArt::Keiner);
}

TEST(VbaumRegeln, AttributeFilterHidesByTheFlagsThatAreOff) {
    EXPECT_FALSE(DurchAttributeAusgeblendet(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true, true, true));
    EXPECT_TRUE(DurchAttributeAusgeblendet(FILE_ATTRIBUTE_READONLY, false, true, true));
    EXPECT_TRUE(DurchAttributeAusgeblendet(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY, true, false, true));
    EXPECT_TRUE(DurchAttributeAusgeblendet(FILE_ATTRIBUTE_SYSTEM, true, true, false));
    EXPECT_FALSE(DurchAttributeAusgeblendet(FILE_ATTRIBUTE_DIRECTORY, false, false, false));
}

// Wine marks every folder as having sub-folders, so the probe is tried here alone.
TEST(VbaumRegeln, ArchiveProbeFindsAnyArchiveKindAndNothingElse) {
    test::TTempFolder dir(L"vbaum-probe");
    CreateDirectoryW((dir.Path() + L"leer").c_str(), nullptr);
    CreateDirectoryW((dir.Path() + L"text").c_str(), nullptr);
    CreateDirectoryW((dir.Path() + L"rar").c_str(), nullptr);
    CreateDirectoryW((dir.Path() + L"zoo").c_str(), nullptr);
    dir.MakeFile(L"text\\a.txt", 3);
    dir.MakeFile(L"text\\b.zip.txt", 3);
    dir.MakeFile(L"rar\\x.rar", 3);
    dir.MakeFile(L"zoo\\Y.ZOO", 3);
    EXPECT_FALSE(HaeltArchive(dir.Path() + L"leer"));
    EXPECT_FALSE(HaeltArchive(dir.Path() + L"text\\"));
    EXPECT_TRUE(HaeltArchive(dir.Path() + L"rar"));
    EXPECT_TRUE(HaeltArchive(dir.Path() + L"zoo\\"));
    EXPECT_FALSE(HaeltArchive(dir.Path() + L"fehlt"));
    EXPECT_FALSE(HaeltArchive(L""));
}

TEST(VbaumRegeln, FolderPathsEndInABackslashArchivePathsDoNot) {
    EXPECT_EQ(KnotenPfad(L"C:\\", kAttrDateisystemVorfahr | kAttrDateisystem), L"C:\\");
    EXPECT_EQ(KnotenPfad(L"c:\\Daten", kAttrOrdner | kAttrDateisystem), L"c:\\Daten\\");
    EXPECT_EQ(KnotenPfad(L"c:\\a\\x.zip", kAttrDateisystem), L"c:\\a\\x.zip");
    EXPECT_EQ(KnotenPfad(L"", kAttrOrdner), L"");
}

TEST(VbaumRegeln, SortRequests) {
    // Name toggles, size alike; requests 1 and 3 act as 0 and 2.
    EXPECT_EQ(VbaumSortZustand(10, 0), 0);
    EXPECT_EQ(VbaumSortZustand(0, 0), 1);
    EXPECT_EQ(VbaumSortZustand(1, 0), 0);
    EXPECT_EQ(VbaumSortZustand(0, 1), 1);
    EXPECT_EQ(VbaumSortZustand(10, 1), 0);
    EXPECT_EQ(VbaumSortZustand(2, 2), 3);
    EXPECT_EQ(VbaumSortZustand(0, 3), 2);
    EXPECT_EQ(VbaumSortZustand(2, 3), 3);
    // Date: 5 toggles, 4 gives descending.
    EXPECT_EQ(VbaumSortZustand(0, 5), 5);
    EXPECT_EQ(VbaumSortZustand(5, 5), 4);
    EXPECT_EQ(VbaumSortZustand(4, 4), 5);
    // Type, attributes and "unsorted" leave the tree unsorted.
    for (std::uint8_t r = 6; r <= 10; ++r) EXPECT_EQ(VbaumSortZustand(0, r), kVbaumUnsortiert);
    EXPECT_EQ(VbaumSortSpalte(1), 0);
    EXPECT_EQ(VbaumSortSpalte(2), 1);
    EXPECT_EQ(VbaumSortSpalte(5), 3);
    EXPECT_EQ(VbaumSortRichtung(4), 1);
    EXPECT_EQ(VbaumSortRichtung(3), -1);
}

TEST(VbaumRegeln, WatchPassReportsTheParentOfTheFirstVanishedEntryOnly) {
    test::TTempFolder dir(L"vbaum-wach");
    const std::wstring p = dir.Path();
    CreateDirectoryW((p + L"a").c_str(), nullptr);
    CreateDirectoryW((p + L"a\\b").c_str(), nullptr);
    dir.MakeFile(L"a\\x.zip", 1);
    const TWachSchnappschuss alle = {
        {p + L"a\\", true, p}, {p + L"a\\b\\", true, p + L"a\\"}, {p + L"a\\x.zip", false, p + L"a\\"}};
    std::atomic<bool> stop{false};
    EXPECT_EQ(ErsterVerschwundenerElternpfad(alle, stop), std::nullopt);

    // A file where a folder was, and a folder where an archive was, count as vanished.
    TWachSchnappschuss vertauscht = alle;
    vertauscht[2].Ordner = true;
    EXPECT_EQ(ErsterVerschwundenerElternpfad(vertauscht, stop), p + L"a\\");

    // Only the first vanished entry counts; a path that could not be got is vanished.
    TWachSchnappschuss zwei = {{p + L"a\\", true, p}, {L"", true, L"eltern1"}, {p + L"fehlt\\", true, L"eltern2"}};
    EXPECT_EQ(ErsterVerschwundenerElternpfad(zwei, stop), L"eltern1");

    // A pass told to stop reports nothing.
    stop = true;
    EXPECT_EQ(ErsterVerschwundenerElternpfad(zwei, stop), std::nullopt);
}
