#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/FileToolsCodes.h"
#include "foundation/Fehlercode.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;
using namespace velmora::test;
using gui::TMessageBoxRecorder;

namespace {

struct MaskCase {
    const wchar_t* Name;
    const wchar_t* Mask;
    bool Match;
};

class MatchesMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MatchesMaskTest, FollowsTheProgramsWildcardRules) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(TDateiRoutinen::MatchesMask(c.Name, c.Mask), c.Match) << "name " << testing::PrintToString(c.Name)
                                                                     << " mask " << testing::PrintToString(c.Mask);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchesMaskTest,
    ::testing::Values(
        // The extension must be the mask's whole extension, or end where its "*" stands.
        MaskCase{L"a.txt", L"*.txt", true}, MaskCase{L"a.tx", L"*.txt", false}, MaskCase{L"a.t", L"*.txt", false},
        MaskCase{L"a.txtx", L"*.txt", false}, MaskCase{L"a", L"*.txt", false}, MaskCase{L"a.t", L"*.t*", true},
        MaskCase{L"a.txt", L"*.t??", true}, MaskCase{L"a.tx", L"*.t??", false},
        // Masks longer and shorter than the name: a longer mask's rest must be a lone "*".
        MaskCase{L"ab", L"abc", false}, MaskCase{L"ab", L"abc.*", false}, MaskCase{L"ab", L"ab*", true},
        MaskCase{L"ab", L"ab.*", true}, MaskCase{L"read", L"readme", false}, MaskCase{L"readme", L"readme", true},
        MaskCase{L"ab", L"ab?", false}, MaskCase{L"abc.txt", L"ab.txt", false},
        MaskCase{L"ab.txt", L"abc.txt", false}, MaskCase{L"abc", L"ab", false}, MaskCase{L"abc", L"a?", false},
        MaskCase{L"abc", L"a?c", true}, MaskCase{L"abx.doc", L"ab*.doc", true}, MaskCase{L"abx.doc", L"ab*.d?c", true},
        MaskCase{L"abx.dac", L"ab*.dxc", false},
        // The single star and star-dot-star.
        MaskCase{L"readme", L"*", true}, MaskCase{L"readme.txt", L"*", false}, MaskCase{L"readme", L"*.*", true},
        MaskCase{L"readme.txt", L"*.*", true}, MaskCase{L"..", L"*.*", false}, MaskCase{L"..", L"*", false},
        MaskCase{L"..", L"..", false}));

TEST(ExtractExtTest, TakesTheTextAfterTheLastDotOfTheName) {
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"c:\\daten\\brief.doc"), L"doc");
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"c:\\a.b\\brief"), L"");
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"c:ab"), L"");
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"archiv.tar.gz"), L"gz");
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"ende."), L"");
    EXPECT_EQ(TDateiRoutinen::ExtractExt(L"x." + std::wstring(300, L'e')), std::wstring(255, L'e'));
}

TEST(IsValidFileNameTest, RefusesEmptyNamesAndForbiddenCharacters) {
    EXPECT_TRUE(TDateiRoutinen::IsValidFileName(L"Mein Brief.doc"));
    EXPECT_FALSE(TDateiRoutinen::IsValidFileName(L""));
    for (const wchar_t* bad : {L"a:b", L"preis$", L"a*", L"a?", L"\"a\"", L"a/b", L"<a", L"a>", L"a|b"})
        EXPECT_FALSE(TDateiRoutinen::IsValidFileName(bad)) << testing::PrintToString(std::wstring(bad));
}

TEST(CommonPathTest, FindsTheLongestSharedFolderLowerCased) {
    std::wstring path;
    TDateiRoutinen::CommonPathOfList(Records({L"C:\\Daten\\Briefe\\a.doc", L"c:\\daten\\briefe\\alt\\b.doc",
                                              L"C:\\DATEN\\Briefe\\c.doc"}),
                                     path);
    EXPECT_EQ(path, L"c:\\daten\\briefe\\");
    TDateiRoutinen::CommonPathOfList(Records({L"c:\\daten\\briefe\\a.doc", L"c:\\daten\\bilder\\b.jpg"}), path);
    EXPECT_EQ(path, L"c:\\daten\\");
    // "c:\daten\b" is a prefix of the text, but no folder.
    TDateiRoutinen::CommonPathOfList(Records({L"c:\\daten\\b\\a.doc", L"c:\\daten\\bb\\b.doc"}), path);
    EXPECT_EQ(path, L"c:\\daten\\");
    TDateiRoutinen::CommonPathOfList(Records({L"c:\\a.doc", L"d:\\b.doc"}), path);
    EXPECT_EQ(path, L"");
    TDateiRoutinen::CommonPathOfList(TDateiListe{}, path);
    EXPECT_EQ(path, L"");

    TStringList lines{L"D:\\Spiele\\x\\1.sav", L"d:\\spiele\\x\\2.sav"};
    TDateiRoutinen::CommonPathOfStrings(lines, path);
    EXPECT_EQ(path, L"d:\\spiele\\x\\");
    TDateiRoutinen::CommonPathOfStrings(TStringList{L"datei.txt"}, path);
    EXPECT_EQ(path, L"");
}

TEST(NormalizePathTest, MakesRelativeNamesAbsolute) {
    auto normalized = [](std::wstring path, const std::wstring& current) {
        TDateiRoutinen::NormalizePath(path, current);
        return path;
    };
    EXPECT_EQ(normalized(L"brief.doc", L"c:\\daten"), L"c:\\daten\\brief.doc");
    EXPECT_EQ(normalized(L"alt\\brief.doc", L"c:\\daten\\"), L"c:\\daten\\alt\\brief.doc");
    EXPECT_EQ(normalized(L"d:\\brief.doc", L"c:\\daten"), L"d:\\brief.doc");
    EXPECT_EQ(normalized(L"\\\\server\\teil\\a.doc", L"c:\\daten"), L"\\\\server\\teil\\a.doc");
    EXPECT_EQ(normalized(L"brief.doc", L""), L"C:\\brief.doc");
    // A drive alone, or a name after it, on the shown folder's drive means that
    // folder, as it does for the system's current folder; another drive's is
    // the system's to say.
    EXPECT_EQ(normalized(L"c:", L"c:\\daten"), L"c:\\daten");
    EXPECT_EQ(normalized(L"C:alt\\brief.doc", L"c:\\daten"), L"c:\\daten\\alt\\brief.doc");
    EXPECT_EQ(normalized(L"d:", L"c:\\daten"), FullPathName(L"d:"));
    EXPECT_NE(normalized(L"d:", L"c:\\daten"), L"d:");
}

TEST(NormalizePathTest, RootedAndDriveRelativeNamesFollowTheSystem) {
    TTempFolder folder(L"normalize");
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    const std::wstring drive = folder.Path().substr(0, 2);
    std::wstring rooted = L"\\temp\\x.txt", driveRelative = drive + L"sub\\x.txt";
    TDateiRoutinen::NormalizePath(rooted);
    TDateiRoutinen::NormalizePath(driveRelative);
    SetCurrentDirectoryW(saved);
    EXPECT_EQ(rooted, drive + L"\\temp\\x.txt");
    EXPECT_EQ(driveRelative, folder.Path() + L"sub\\x.txt");
}

TEST(FileOperatorTest, StartsAsACopyWithUndoAndNoFolderQuestion) {
    TFileOperator op(nullptr);
    EXPECT_EQ(op.Operation(), TFileOperation::foCopy);
    EXPECT_EQ(op.RawFlags(), 0x240);
    EXPECT_EQ(op.ProgressTitle(), L"File  Operation");
    EXPECT_FALSE(op.WantMappingHandle());
    op.SetWantMappingHandle(true);
    EXPECT_EQ(op.RawFlags(), 0x260);
    EXPECT_EQ(op.Flags(), foAllowUndo | foNoConfirmMkDir);
    op.SetFlags(foSilent);
    EXPECT_EQ(op.RawFlags(), 0x24);
    for (auto [code, operation] : {std::pair{1u, TFileOperation::foMove}, std::pair{2u, TFileOperation::foCopy},
                                   std::pair{3u, TFileOperation::foDelete}, std::pair{4u, TFileOperation::foRename},
                                   std::pair{9u, TFileOperation::foCopy}}) {
        op.SetRawOperation(code);
        EXPECT_EQ(op.Operation(), operation) << code;
    }
    op.SetOperation(TFileOperation::foMove);
    EXPECT_EQ(op.RawOperation(), 1u);
}

TEST(FileOperatorTest, ListsEndInTwoNulsAndKeepCommasOfWholeNames) {
    TFileOperator op(nullptr);
    op.SetSource(std::wstring(L"c:\\a.txt,c:\\b.txt"));
    EXPECT_EQ(op.SourceList(), std::wstring(L"c:\\a.txt\0c:\\b.txt\0\0", 19));
    op.SetDestination(std::wstring());
    EXPECT_EQ(op.DestinationList(), std::wstring(1, L'\0'));
    op.SetSource(std::vector<std::wstring>{L"c:\\rechnung 12,50.doc"});
    EXPECT_EQ(SplitShellList(op.SourceList()), std::vector<std::wstring>{L"c:\\rechnung 12,50.doc"});
}

class DateiRoutinenTest : public ::testing::Test {
protected:
    TRecordingOperator m_op;
    TDateiRoutinen m_routinen{m_op};
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"dateiroutinen"};
};

TEST_F(DateiRoutinenTest, DrivesAreListedFromTheLogicalDriveMask) {
    ASSERT_FALSE(m_routinen.LaufwerksWurzeln.Empty());
    EXPECT_NE(m_routinen.LaufwerksWurzeln.IndexOf(L"c:\\"), -1);
    ASSERT_EQ(m_routinen.Laufwerke.size(), static_cast<size_t>(m_routinen.LaufwerksWurzeln.Count()));
    EXPECT_EQ(m_routinen.Laufwerke[0].Buchstabe, m_routinen.LaufwerksWurzeln[0][0]);
    EXPECT_EQ(m_routinen.Laufwerke[0].Seriennummer, 0xFFFFFFFFu);
}

TEST_F(DateiRoutinenTest, PathsRememberTheOtherDrive) {
    m_routinen.ResetPaths(L"c:\\daten");
    m_routinen.SetCurrentPath(L"C:\\daten\\briefe");
    EXPECT_EQ(m_routinen.GetOtherDrivePath(), L"c:\\daten");
    m_routinen.SetCurrentPath(L"d:\\spiele");
    EXPECT_EQ(m_routinen.GetCurrentPath(), L"d:\\spiele");
    EXPECT_EQ(m_routinen.GetOtherDrivePath(), L"C:\\daten\\briefe");
    m_routinen.SetCurrentPath(L"");
    EXPECT_EQ(m_routinen.GetCurrentPath(), L"d:\\spiele");
}

TEST_F(DateiRoutinenTest, CopyTakesAbsoluteNamesAsTheyAreAndCommasStayInTheName) {
    const std::wstring a = m_folder.MakeFile(L"rechnung 12,50.doc", 10);
    m_op.Shell = [&] { CopyFileW(a.c_str(), (m_folder.Path() + L"ziel\\rechnung 12,50.doc").c_str(), FALSE); };
    CreateDirectoryW((m_folder.Path() + L"ziel").c_str(), nullptr);
    auto list = Records({a, L"rel.txt"});
    m_boxes.Answer(gui::mrOk);
    m_routinen.CopyFiles(L"d:\\quelle\\", m_folder.Path() + L"ziel", false, list);
    ASSERT_EQ(m_op.Calls.size(), 1u);
    const auto& call = m_op.Calls[0];
    EXPECT_EQ(call.Operation, TFileOperation::foCopy);
    EXPECT_EQ(call.Sources, (std::vector<std::wstring>{a, L"d:\\quelle\\rel.txt"}));
    EXPECT_EQ(call.Destinations, std::vector<std::wstring>{m_folder.Path() + L"ziel"});
    EXPECT_EQ(call.Flags, foAllowUndo);
    EXPECT_TRUE(call.Laeuft);
    EXPECT_FALSE(DateiOperationLaeuft);
    // The shell said nothing of the missing source; the check after it does.
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht vollständig kopiert:\rd:\\quelle\\rel.txt");
    EXPECT_EQ(m_boxes.Calls()[0].Type, gui::TMsgDlgType::mtError);
}

TEST_F(DateiRoutinenTest, EachRoutineHandsTheShellItsFlags) {
    const std::wstring f = m_folder.MakeFile(L"a.txt", 1);
    auto list = Records({f});
    m_op.ReportAborted = true;  // no checks afterwards: only the flags count here
    m_routinen.CopyFiles(L"", L"c:\\ziel", true, list);
    m_routinen.CopyFilesForSync(f, L"c:\\ziel\\a.txt", false, true);
    m_routinen.CopyFilesForSync(f, L"c:\\ziel\\a.txt", true, false);
    m_routinen.MoveFiles(L"", L"c:\\ziel", false, list);
    m_routinen.MoveFiles(L"", L"c:\\ziel", true, list);
    m_routinen.DeleteFiles(list, true, false, 0);
    m_routinen.DeleteFiles(list, false, true, 0);
    m_routinen.DeleteFiles(list, true, false, 1);
    m_routinen.DeleteFiles(list, false, true, 1);
    const std::vector<FILEOP_FLAGS> expected = {
        foAllowUndo | foNoConfirmation,
        foAllowUndo | foSilent | foNoErrorUI,
        foAllowUndo | foNoConfirmation,
        foAllowUndo | foMultiDestFiles,
        foAllowUndo | foMultiDestFiles | foNoConfirmation,
        foAllowUndo,
        foAllowUndo | foNoConfirmation | foSilent | foNoErrorUI,
        0,
        foNoConfirmation | foSilent | foNoErrorUI,
    };
    ASSERT_EQ(m_op.Calls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_op.Calls[i].Flags, expected[i]) << "call " << i;
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(DateiRoutinenTest, MoveGivesEveryNameItsOwnDestination) {
    const std::wstring a = m_folder.MakeFile(L"a,b.txt", 3), b = m_folder.MakeFile(L"b.txt", 3);
    const std::wstring target = m_folder.Path() + L"ziel";
    CreateDirectoryW(target.c_str(), nullptr);
    m_op.Shell = [&] { MoveFileW(a.c_str(), (target + L"\\a,b.txt").c_str()); };
    m_routinen.MoveFiles(L"", target, false, Records({a, b}));
    ASSERT_EQ(m_op.Calls.size(), 1u);
    EXPECT_EQ(m_op.Calls[0].Operation, TFileOperation::foMove);
    EXPECT_EQ(m_op.Calls[0].Sources, (std::vector<std::wstring>{a, b}));
    EXPECT_EQ(m_op.Calls[0].Destinations, (std::vector<std::wstring>{target + L"\\a,b.txt", target + L"\\b.txt"}));
    // b.txt stayed where it was: named, lower-cased.
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht verschoben:\r" + SystemLower(b));
}

// The copy dialog lets one file go to a target with an extension as a new name.
TEST_F(DateiRoutinenTest, OneNameToATargetThatIsNoFolderLandsUnderThatName) {
    const std::wstring a = m_folder.MakeFile(L"a.txt", 7), b = m_folder.MakeFile(L"b.txt", 9);
    const std::wstring kopie = m_folder.Path() + L"kopie.txt", neu = m_folder.Path() + L"neu.txt";
    m_op.Shell = [&] { CopyFileW(a.c_str(), kopie.c_str(), FALSE); };
    m_routinen.CopyFiles(L"", kopie, true, Records({a}));
    EXPECT_EQ(m_op.Calls.back().Destinations, std::vector<std::wstring>{kopie});
    m_op.Shell = [&] { MoveFileW(b.c_str(), neu.c_str()); };
    m_routinen.MoveFiles(L"", neu, true, Records({b}));
    EXPECT_EQ(m_op.Calls.back().Destinations, std::vector<std::wstring>{neu});
    EXPECT_TRUE(m_boxes.Calls().empty()) << "both landed where asked";

    // Into an existing folder the name is kept; a half copy there is still named.
    const std::wstring ziel = m_folder.Path() + L"ziel";
    CreateDirectoryW(ziel.c_str(), nullptr);
    m_op.Shell = [&] {
        HANDLE h = CreateFileW((ziel + L"\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    };
    m_routinen.CopyFiles(L"", ziel, true, Records({a}));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht vollständig kopiert:\r" + SystemLower(a));
    m_op.Shell = nullptr;
    m_routinen.MoveFiles(L"", ziel, true, Records({neu}));
    EXPECT_EQ(m_op.Calls.back().Destinations, std::vector<std::wstring>{ziel + L"\\neu.txt"});
}

TEST_F(DateiRoutinenTest, DeleteChecksThatEveryNameIsGone) {
    const std::wstring a = m_folder.MakeFile(L"A.txt", 3), b = m_folder.MakeFile(L"b.txt", 3);
    m_op.Shell = [&] { DeleteFileW(b.c_str()); };
    m_routinen.DeleteFiles(Records({a, b}), false, false, 1);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht gelöscht:\r" + SystemLower(a));
    // Silent: nothing asks or tells.
    m_boxes.Clear();
    m_routinen.DeleteFiles(Records({a}), false, true, 1);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(DateiRoutinenTest, SyncCopyIsFalseWhenTheTargetIsNotWhole) {
    const std::wstring source = m_folder.MakeFile(L"quelle.txt", 5000);
    const std::wstring target = m_folder.Path() + L"ziel.txt";
    m_op.Shell = [&] {
        HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(h, "abc", 3, &written, nullptr);
        CloseHandle(h);
    };
    EXPECT_FALSE(m_routinen.CopyFilesForSync(source, target, true, true));
    EXPECT_TRUE(m_boxes.Calls().empty());
    m_op.Shell = [&] { CopyFileW(source.c_str(), target.c_str(), FALSE); };
    EXPECT_TRUE(m_routinen.CopyFilesForSync(source, target, true, true));
    m_op.Result = false;
    EXPECT_FALSE(m_routinen.CopyFilesForSync(source, target, true, true));
}

TEST_F(DateiRoutinenTest, TheRunningFlagIsClearedAlsoWhenTheShellRaises) {
    m_op.Shell = [] { throw std::runtime_error("shell"); };
    auto list = Records({L"c:\\gibtsnicht.txt"});
    EXPECT_THROW(m_routinen.DeleteFiles(list, true, false, 0), std::runtime_error);
    EXPECT_FALSE(DateiOperationLaeuft);
    EXPECT_TRUE(m_op.Calls.at(0).Laeuft);
}

TEST_F(DateiRoutinenTest, WipeModeCancelDoesNothingNoRecyclesYesWipesThenDeletesForGood) {
    const std::wstring f = m_folder.MakeFile(L"geheim.txt", 3000);
    const std::wstring question =
        L"Wollen Sie wirklich die ausgewählten Dateien vor dem Löschen mit Nullbytes\r"
        L"überschreiben? Sie sind dann nicht wiederherstellbar.";
    m_boxes.Answer(gui::mrCancel);
    m_routinen.DeleteFiles(Records({f}), true, false, 2);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, question);
    EXPECT_EQ(m_boxes.Calls()[0].Buttons,
              (gui::TMsgDlgButtons{gui::TMsgDlgBtn::mbYes, gui::TMsgDlgBtn::mbNo, gui::TMsgDlgBtn::mbCancel}));
    EXPECT_TRUE(m_op.Calls.empty());
    EXPECT_EQ(ReadAll(f), std::string(3000, 'x'));

    m_op.ReportAborted = true;
    m_boxes.Answer(gui::mrNo);
    m_routinen.DeleteFiles(Records({f}), true, false, 2);
    ASSERT_EQ(m_op.Calls.size(), 1u);
    EXPECT_EQ(m_op.Calls[0].Flags, foAllowUndo);
    EXPECT_EQ(ReadAll(f), std::string(3000, 'x'));

    m_boxes.Answer(gui::mrYes);
    m_routinen.DeleteFiles(Records({f}), true, false, 2);
    ASSERT_EQ(m_op.Calls.size(), 2u);
    EXPECT_EQ(m_op.Calls[1].Flags, foNoConfirmation);
    EXPECT_EQ(m_op.Calls[1].Sources, std::vector<std::wstring>{f});
    const std::string wiped = ReadAll(f);
    EXPECT_EQ(wiped.size(), 3000u);
    EXPECT_TRUE(AllZero(wiped));
}

TEST_F(DateiRoutinenTest, EveryRoutineLeavesTheTraceWordAtZero) {
    Fehlercode = 77;
    TDateiRoutinen::MatchesMask(L"a", L"*");
    EXPECT_EQ(Fehlercode, 0);
    Fehlercode = 77;
    m_routinen.DeleteFiles(Records({L"c:\\gibtsnicht.txt"}), true, true, 0);
    EXPECT_EQ(Fehlercode, 0);
}

}  // namespace
