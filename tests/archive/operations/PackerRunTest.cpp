// The outside packers through TZipRoutinen, with packrec installed under every
// declared name: the command lines of each operation and format, how the names
// reach the packer, the messages, and that an operation with delete loses
// nothing it did not write.

#include <gtest/gtest.h>

#include "PackerFixture.h"
#include "archive/operations/ZipRoutinen.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/AppExec.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;
using packrectest::Exists;
using packrectest::TRun;
using packrectest::WinePath;
using W = std::vector<std::wstring>;

namespace {

std::wstring Fixture(const char* relative) {
    return WinePath((std::string(VELMORA_SOURCE_DIR "/tests/data/archive/") + relative).c_str());
}

// The words as the packer sees them: the joined options arrive split, as
// they must, being never quoted.
W Split(const W& words) {
    W out;
    for (const auto& w : words) {
        size_t start = 0;
        while (start <= w.size()) {
            size_t end = w.find(L' ', start);
            if (end == std::wstring::npos) end = w.size();
            out.push_back(w.substr(start, end - start));
            start = end + 1;
        }
    }
    return out;
}

class Packers : public ::testing::Test, protected packrectest::TOperationsUnderTest {
protected:
    Packers() : TOperationsUnderTest(L"packrec") {}
    void SetUp() override {
        auto& p = routines.Packer;
        p.ZipPath = rec.Install(L"zip.exe");
        p.UnZipPath = rec.Install(L"unzip.exe");
        p.Zip2ExePath = rec.Install(L"zip2exe.exe");
        p.ArjPath = rec.Install(L"arj.exe");
        p.RarPath = rec.Install(L"rar.exe");
        p.LhaPath = rec.Install(L"lha.exe");
        p.ZooPath = rec.Install(L"zoo.exe");
        p.PkPakPath = rec.Install(L"pkpak.exe");
        p.PkUnPakPath = rec.Install(L"pkunpak.exe");
        ForceDirectories(Archives());
        ForceDirectories(Sources());
    }

    std::wstring Archives() const { return rec.Folder.Path() + L"arc\\"; }
    std::wstring Sources() const { return rec.Folder.Path() + L"src\\"; }
    std::wstring Target() const { return rec.Folder.Path() + L"ziel\\"; }
    // Words of the run without its last one (the list word), which ListWord checks.
    static W Words(const TRun& run) { return W(run.Args.begin(), run.Args.end() - (run.List.empty() ? 0 : 1)); }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> t;
        for (const auto& c : boxes.Calls()) t.push_back(c.Text);
        return t;
    }
    bool ListFilesLeft(const std::wstring& folder) const {
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((folder + L"~*").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return false;
        FindClose(h);
        return true;
    }
    void Add(std::uint8_t kind, const std::wstring& archive, const TStringList& files, const std::wstring& pw,
             int level, bool recurse, bool paths, bool move, int mode) {
        routines.AddToArchive(archive, files, kind, pw, false, false, level, recurse, paths, move, mode);
    }

};

TEST_F(Packers, AddRunsEveryFormatWithTheWordsOfItsOptions) {
    const std::wstring temp = rec.Folder.Path() + L"Temp Ordner\\";
    ForceDirectories(temp);
    const std::wstring t = ShortPathName(temp);
    struct Case {
        std::uint8_t kind;
        const wchar_t* archive;
        bool pw, recurse, paths, move, useTemp;
        int level, mode;
        W words;
    };
    const Case cases[] = {
        {ftZip, L"t.zip", false, false, true, false, false, 5, 0, {L"-a", L"-P", L"t.zip"}},
        {ftZip, L"t.zip", true, true, false, true, true, 9, 1, {L"-mf", L"-P- -r -ex -sgeheim -b" + t, L"t.zip"}},
        {ftZip, L"t.zip", false, false, true, true, false, 0, 2, {L"-mu", L"-P -e0", L"t.zip"}},
        {ftZip, L"t.zip", false, false, true, true, false, 1, 0, {L"-m", L"-P -es", L"t.zip"}},
        {ftZip, L"t.zip", false, false, true, false, false, 3, 1, {L"-f", L"-P -ef", L"t.zip"}},
        {ftZip, L"t.zip", false, false, true, false, false, 6, 2, {L"-u", L"-P -en", L"t.zip"}},
        {ftZip, L"t.zip", false, false, true, false, false, 8, 0, {L"-a", L"-P -ex", L"t.zip"}},
        {ftArj, L"t.arj", false, false, true, false, false, 8, 0, {L"a", L"-jf1 -m1", L"t.arj"}},
        {ftArj, L"t.arj", true, true, false, true, true, 1, 1, {L"m", L"-f -e -r -m4 -ggeheim -w" + t, L"t.arj"}},
        {ftArj, L"t.arj", false, false, true, true, false, 6, 2, {L"m", L"-u -jf1 -m2", L"t.arj"}},
        {ftArj, L"t.arj", false, false, true, true, false, 9, 0, {L"m", L"-jf1 -m1", L"t.arj"}},
        {ftArj, L"t.arj", false, false, true, false, false, 3, 1, {L"f", L"-jf1 -m3", L"t.arj"}},
        {ftArj, L"t.arj", false, false, true, false, false, 0, 2, {L"u", L"-jf1 -m0", L"t.arj"}},
        {ftRar, L"t.rar", false, false, true, false, false, 0, 0, {L"a", L"-m0", L"t.rar"}},
        {ftRar, L"t.rar", true, true, false, true, true, 9, 1, {L"mf", L"-f -ep -r -m5 -pgeheim -w" + t, L"t.rar"}},
        {ftRar, L"t.rar", false, false, true, false, false, 1, 2, {L"a", L"-u -m1", L"t.rar"}},
        {ftRar, L"t.rar", false, false, true, false, false, 3, 0, {L"a", L"-m2", L"t.rar"}},
        {ftRar, L"t.rar", false, false, true, false, false, 6, 0, {L"a", L"-m3", L"t.rar"}},
        {ftRar, L"t.rar", false, false, true, false, false, 8, 0, {L"a", L"-m4", L"t.rar"}},
        {ftRar, L"t.rar", false, false, true, false, false, 5, 0, {L"a", L"t.rar"}},
        {ftLzh, L"t.lzh", false, false, true, false, false, 5, 0, {L"a", L"-x1 -w0", L"t.lzh"}},
        {ftLzh, L"t.lzh", false, true, false, true, true, 5, 0, {L"m", L"-c -x0 -r -w" + t, L"t.lzh"}},
        {ftLzh, L"t.lzh", false, false, true, false, false, 5, 1, {L"f", L"-x1 -w0", L"t.lzh"}},
        {ftLzh, L"t.lzh", false, false, true, true, false, 5, 2, {L"m", L"-x1 -w0", L"t.lzh"}},
        {ftLzh, L"t.lzh", false, false, true, false, false, 5, 2, {L"u", L"-x1 -w0", L"t.lzh"}},
        {ftArc, L"t.arc", false, false, true, false, false, 5, 0, {L"a", L"t.arc"}},
        {ftArc, L"t.pak", true, false, true, true, true, 5, 1, {L"b" + t, L"mfggeheim", L"t.pak"}},
        {ftArc, L"t.arc", false, false, true, true, false, 5, 2, {L"mu", L"t.arc"}},
        {ftArc, L"t.arc", false, false, true, true, false, 5, 0, {L"ma", L"t.arc"}},
        {ftArc, L"t.arc", false, false, true, false, false, 5, 2, {L"u", L"t.arc"}},
    };
    const std::wstring a = Sources() + L"a.txt", b = Sources() + L"b.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.archive) + L" " + c.words[0] + L" " + c.words[1]);
        DeleteFileW(rec.Log().c_str());
        zip.TempPath = c.useTemp ? temp : L"";
        Add(c.kind, Archives() + c.archive, {a, b}, c.pw ? L"geheim" : L"", c.level, c.recurse, c.paths, c.move,
            c.mode);
        const auto runs = rec.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(Words(runs[0]), Split(c.words));
        EXPECT_EQ(runs[0].Dir + L"\\", Archives());
        const W list = c.kind == ftArc ? W{L"@" + Sources(), L"a.txt", L"b.txt"} : W{a, b};
        EXPECT_EQ(runs[0].List, list);
        const wchar_t mark = c.kind == ftArj ? L'!' : L'@';
        EXPECT_EQ(runs[0].Args.back().substr(0, 4), std::wstring(1, mark) + (c.kind == ftZip ? L"~ZI"
                                                                         : c.kind == ftArj ? L"~AR"
                                                                         : c.kind == ftRar ? L"~RA"
                                                                         : c.kind == ftLzh ? L"~LH" : L"~PA"));
        EXPECT_FALSE(ListFilesLeft(Archives()));
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(Packers, ZooAddTakesNamesOnTheCommandLineInBatchesOfOneFolder) {
    // Names relative to the archive's folder, where the packer runs: short
    // enough for several to share a batch beside the program's path.
    routines.Packer.ZooPath = ShortPathName(routines.Packer.ZooPath);
    TStringList files;
    for (int i = 0; i < 6; ++i) files.Add(L"eins\\d" + std::to_wstring(i) + L".txt");
    files.Add(L"an der\\x.txt");
    files.Add(L"eins\\" + std::wstring(120, L'l') + L".txt");  // beyond the budget alone
    Add(ftZoo, Archives() + L"t.zoo", files, L"", 0, false, false, true, 1);
    const auto runs = rec.Runs();
    ASSERT_GE(runs.size(), 4u);
    W names;
    for (const auto& run : runs) {
        ASSERT_GE(run.Args.size(), 3u);
        EXPECT_EQ(run.Args[0], L"aPuMf:");
        EXPECT_EQ(run.Args[1], L"t.zoo");
        size_t used = routines.Packer.ZooPath.size() + 1 + 7 + 6;
        for (size_t i = 2; i < run.Args.size(); ++i) {
            EXPECT_EQ(ExtractFilePath(run.Args[i]), ExtractFilePath(run.Args[2]));
            used += QuotedWord(run.Args[i]).size() + 1;
            names.push_back(run.Args[i]);
        }
        if (run.Args.size() > 3) {
            EXPECT_LE(used, 110u);
        }
    }
    // Every name once, in order, the one with a blank as one word.
    EXPECT_EQ(names, files.Items());
}

TEST_F(Packers, ZooModesAndLevelsMakeTheCommandWord) {
    const std::pair<std::tuple<int, int, bool, bool>, const wchar_t*> cases[] = {
        {{0, 5, true, false}, L"aP"}, {{2, 9, true, false}, L"aPunh"}, {{0, 1, true, false}, L"aPf"},
        {{1, 8, false, false}, L"aPuh:"}, {{0, 0, true, true}, L"aPMf"}};
    for (const auto& [o, word] : cases) {
        DeleteFileW(rec.Log().c_str());
        const auto [mode, level, paths, move] = o;
        Add(ftZoo, Archives() + L"t.zoo", {Sources() + L"a.txt"}, L"", level, false, paths, move, mode);
        ASSERT_EQ(rec.Runs().size(), 1u);
        EXPECT_EQ(rec.Runs()[0].Args, (W{word, L"t.zoo", Sources() + L"a.txt"}));
    }
}

TEST_F(Packers, ArcListFilesNameEachFolderOnceAndHoldAtMost23) {
    TStringList files;
    for (int i = 0; i < 25; ++i) {
        files.Add(Sources() + L"o" + std::to_wstring(i) + L"\\a.txt");
        files.Add(Sources() + L"O" + std::to_wstring(i) + L"\\b.txt");  // the same folder, other case
    }
    Add(ftArc, Archives() + L"t.arc", files, L"", 5, false, true, false, 0);
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].List.size(), 23u * 3);
    EXPECT_EQ(runs[0].List[0], L"@" + Sources() + L"o0\\");
    EXPECT_EQ(runs[0].List[2], L"b.txt");
    EXPECT_EQ(runs[1].List, (W{L"@" + Sources() + L"o23\\", L"a.txt", L"b.txt", L"@" + Sources() + L"o24\\",
                               L"a.txt", L"b.txt"}));
}

TEST_F(Packers, NamesWithBlanksReachThePackerWhole) {
    routines.Packer.ExternePackerImHintergrund = true;
    const std::wstring folder = rec.Folder.Path() + L"Eigene Archive\\";
    ForceDirectories(folder);
    Add(ftZip, folder + L"Mein Archiv.zip", {Sources() + L"a b.txt"}, L"", 5, false, true, false, 0);
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_EQ(runs[0].Args.size(), 4u);
    EXPECT_EQ(runs[0].Args[2], L"Mein Archiv.zip");
    EXPECT_EQ(runs[0].Args[3].substr(0, 4), L"@~ZI");
    EXPECT_EQ(runs[0].List, W{Sources() + L"a b.txt"});
    EXPECT_EQ(runs[0].Show, SW_SHOWMINIMIZED);
}

TEST_F(Packers, DeleteTestAndWholeArchiveCommands) {
    const std::wstring temp = rec.Folder.Path() + L"tmp\\";
    ForceDirectories(temp);
    zip.TempPath = temp;
    const std::wstring t = ShortPathName(temp);
    routines.Packer.UseInternZip = false;
    struct Case {
        char op;
        const wchar_t* archive;
        W words;
        const wchar_t* program;
    };
    const Case cases[] = {
        {'d', L"t.zip", {L"-d", L"-b" + t, L"t.zip"}, L"zip.exe"},
        {'d', L"t.lzh", {L"d", L"-w" + t, L"t.lzh"}, L"lha.exe"},
        {'d', L"t.arj", {L"d", L"-w" + t, L"t.arj"}, L"arj.exe"},
        {'d', L"t.rar", {L"d", L"-w" + t, L"t.rar"}, L"rar.exe"},
        {'d', L"t.arc", {L"d", L"t.arc", L"a.txt", L"b.txt"}, L"pkpak.exe"},
        {'d', L"t.zoo", {L"DP", L"t.zoo", L"a.txt", L"b.txt"}, L"zoo.exe"},
        {'t', L"t.zip", {L"-t", L"-sgeheim", L"t.zip"}, L"unzip.exe"},
        {'t', L"t.lzh", {L"t", L"-w" + t, L"t.lzh"}, L"lha.exe"},
        {'t', L"t.arj", {L"t", L"-ggeheim", L"t.arj"}, L"arj.exe"},
        {'t', L"t.rar", {L"t", L"-pgeheim", L"t.rar"}, L"rar.exe"},
        {'t', L"t.pak", {L"-t", L"-ggeheim", L"t.pak"}, L"pkunpak.exe"},
        {'s', L"t.zip", {L"t.zip"}, L"zip2exe.exe"},
        {'s', L"t.lzh", {L"s", L"t.lzh"}, L"lha.exe"},
        {'s', L"t.arj", {L"y", L"-je", L"t.arj"}, L"arj.exe"},
        {'s', L"t.rar", {L"s", L"t.rar"}, L"rar.exe"},
        {'y', L"t.arj", {L"y", L"-s -w" + t, L"t.arj"}, L"arj.exe"},
        {'y', L"t.zoo", {L"T", L"t.zoo"}, L"zoo.exe"},
        {'r', L"t.rar", {L"r", L"t.rar"}, L"rar.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(1, c.op) + L" " + c.archive);
        DeleteFileW(rec.Log().c_str());
        const std::wstring archive = Archives() + c.archive;
        // Kinds by extension: the archives need not exist but for the conversion.
        const std::string ext = ToUtf8(ExtractFileExt(c.archive));
        const char* fixture = ext == ".zip" ? "comment.zip" : ext == ".lzh" ? "level1.lzh"
                            : ext == ".arj" ? "methods.arj" : "blocks.rar";
        if (c.op == 's') CopyFileW(Fixture(fixture).c_str(), archive.c_str(), FALSE);
        const TStringList entries = {L"a.txt", L"b.txt"};
        switch (c.op) {
        case 'd': routines.DeleteFromArchive(archive, entries); break;
        case 't': routines.TestArchive(archive, entries, L"geheim"); break;
        case 's': routines.ConvertToSfx({archive}); break;
        case 'y': routines.UpdateArchiveDate({archive}); break;
        default: routines.RepairArchive({archive}); break;
        }
        if (c.op == 's') DeleteFileW(archive.c_str());
        const auto runs = rec.Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].Program, c.program);
        EXPECT_EQ(Words(runs[0]), Split(c.words));
        if (!runs[0].List.empty()) {
            EXPECT_EQ(runs[0].List, entries.Items());
        }
    }
}

TEST_F(Packers, ArcDeleteBatchesStayWithinTheirBudget) {
    TStringList entries;
    for (int i = 0; i < 30; ++i) entries.Add(L"eintrag" + std::to_wstring(i) + L".txt");
    entries.Add(std::wstring(120, L'l') + L".txt");
    routines.DeleteFromArchive(Archives() + L"t.arc", entries);
    const auto runs = rec.Runs();
    ASSERT_GE(runs.size(), 4u);
    W names;
    for (const auto& run : runs) {
        size_t used = 0;
        for (size_t i = 2; i < run.Args.size(); ++i) {
            used += run.Args[i].size() + 1;
            names.push_back(run.Args[i]);
        }
        if (run.Args.size() > 3) {
            EXPECT_LE(used, 100u);
        }
    }
    EXPECT_EQ(names, entries.Items());
}

TEST_F(Packers, ExtractRunsEveryFormatWithTheWordsOfItsOptions) {
    const std::wstring archiveFolder = Archives();
    struct Case {
        const wchar_t* archive;
        int pathMode, overwrite, mode;
        bool pw, del;
        W words;
    };
    const Case cases[] = {
        {L"t.zip", 2, 1, 1, true, false, {L"-d", L"-f -o- -sgeheim"}},
        {L"t.zip", 0, 2, 2, false, false, {L"-n -o"}},
        {L"t.zip", 0, 0, 0, false, false, {}},
        {L"t.arj", 2, 2, 1, true, true, {L"x", L"-f -d -y -ggeheim"}},
        {L"t.arj", 0, 0, 2, false, false, {L"e", L"-u"}},
        {L"t.rar", 2, 1, 1, true, false, {L"x", L"-f -o- -pgeheim"}},
        {L"t.rar", 0, 2, 2, false, false, {L"e", L"-u -o+"}},
        {L"t.lzh", 0, 2, 0, false, false, {L"e", L"-c -x0 -m2"}},
        {L"t.lzh", 0, 0, 2, false, false, {L"e", L"-x0"}},
        {L"t.arc", 0, 2, 2, true, false, {L"-r -n -ggeheim"}},
        {L"t.pak", 0, 0, 0, false, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::wstring(c.archive) + L" " + std::to_wstring(c.pathMode));
        DeleteFileW(rec.Log().c_str());
        // Not there: the kind goes by the extension.
        const std::wstring archive = Archives() + c.archive;
        routines.ExtractFromArchive(archive, {L"a.txt"}, c.del, Target(), c.pw ? L"geheim" : L"", c.pathMode,
                                    static_cast<TZlOverwrite>(c.overwrite), c.mode, L"");
        const auto runs = rec.Runs();
        ASSERT_EQ(runs.size(), 1u);
        W words = c.words;
        words.push_back(archive);
        EXPECT_EQ(Words(runs[0]), Split(words));
        EXPECT_EQ(runs[0].Dir + L"\\", Target());
        EXPECT_EQ(runs[0].List, W{L"a.txt"});
        const bool arc = ExtractFileExt(c.archive) == L".arc" || ExtractFileExt(c.archive) == L".pak";
        if (arc) {
            EXPECT_EQ(runs[0].Args.back().substr(0, Target().size() + 4), L"@" + Target() + L"~PA");
        }
        EXPECT_FALSE(ListFilesLeft(Target()));
    }
}

TEST_F(Packers, RelativePathsRunOncePerFolderAndNeverLeaveTheTarget) {
    const std::wstring archive = Archives() + L"t.rar";
    routines.ExtractFromArchive(archive, {L"docs\\a\\b.txt", L"docs\\c.txt", L"..\\..\\x.txt", L"C:\\win\\y.txt"},
                                false, Target(), L"", 1, TZlOverwrite::zowAsk, 0, L"docs\\");
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Dir + L"\\", Target() + L"a\\");
    EXPECT_EQ(runs[0].List, W{L"docs\\a\\b.txt"});
    EXPECT_EQ(runs[1].Dir + L"\\", Target());
    EXPECT_EQ(runs[1].List, (W{L"docs\\c.txt", L"..\\..\\x.txt"}));
    EXPECT_EQ(runs[2].Dir + L"\\", Target() + L"win\\");
    EXPECT_FALSE(Exists(rec.Folder.Path() + L"x.txt"));
}

TEST_F(Packers, LhaWithFullPathsRunsPerStoredFolder) {
    const std::wstring archive = Archives() + L"t.lzh";
    // Run flat in one go, equal names of two folders would land on each other.
    routines.ExtractFromArchive(archive, {L"eins\\a.txt", L"zwei\\a.txt"}, false, Target(), L"", 2,
                                TZlOverwrite::zowAsk, 0, L"eins\\");
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Dir + L"\\", Target() + L"eins\\");
    EXPECT_EQ(runs[1].Dir + L"\\", Target() + L"zwei\\");
    EXPECT_EQ(runs[1].Args[0], L"e");
}

TEST_F(Packers, FreshenDropsEntriesWithoutAFileForLhaAndArc) {
    ForceDirectories(Target());
    rec.Folder.MakeFile(L"ziel\\da.txt", 1);
    for (const wchar_t* name : {L"t.lzh", L"t.arc"}) {
        DeleteFileW(rec.Log().c_str());
        const std::wstring archive = Archives() + name;
        routines.ExtractFromArchive(archive, {L"da.txt", L"fehlt.txt"}, false, Target(), L"", 0,
                                    TZlOverwrite::zowAsk, 1, L"");
        ASSERT_EQ(rec.Runs().size(), 1u);
        EXPECT_EQ(rec.Runs()[0].List, W{L"da.txt"});
    }
}

TEST_F(Packers, AMissingPackerStartsNothingAndSaysSo) {
    const std::wstring tail = L",\rda Sie diesen noch nicht deklariert haben oder der bereits deklarierte ";
    routines.Packer.LhaPath = rec.Bin() + L"weg.exe";
    routines.Packer.PkUnPakPath.clear();
    routines.Packer.Zip2ExePath.clear();
    routines.Packer.ZooPath.clear();
    routines.Packer.ArjPath.clear();
    routines.Packer.RarPath.clear();
    Add(ftLzh, Archives() + L"t.lzh", {L"a.txt"}, L"", 5, false, true, false, 0);
    routines.ExtractFromArchive(Archives() + L"t.arc", {L"a.txt"}, false, Target(), L"", 0,
                                TZlOverwrite::zowAsk, 0, L"");
    routines.TestArchive(Archives() + L"t.lzh", {L"a.txt"}, L"");
    routines.DeleteFromArchive(Archives() + L"t.zoo", {L"a.txt"});
    CopyFileW(Fixture("comment.zip").c_str(), (Archives() + L"s.zip").c_str(), FALSE);
    CopyFileW(Fixture("methods.arj").c_str(), (Archives() + L"s.arj").c_str(), FALSE);
    routines.ConvertToSfx({Archives() + L"s.zip"});
    routines.ConvertToSfx({Archives() + L"s.arj"});
    routines.UpdateArchiveDate({Archives() + L"t.zoo"});
    routines.RepairArchive({Archives() + L"t.rar"});
    EXPECT_TRUE(rec.Runs().empty());
    const W expected = {
        L"Es können leider keine Dateien mit dem externen Lha-Packer archiviert werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Es können leider keine Dateien mit dem externen Arc-Entpacker extrahiert werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Es können leider keine Dateien mit dem externen Lha-Packer getestet werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Es können leider keine Dateien mit Hilfe des externen Zoo-Packers gelöscht werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Das Archiv kann leider nicht mit dem Zip-nach-Exe-Konverter in eine Exe-Datei umgewandelt werden, da Sie "
        L"diesen noch nicht deklariert haben oder der bereits deklarierte Konverter nicht mehr existiert.",
        L"Das Archiv kann leider nicht mit dem externen Arj-Packer in eine Exe-Datei umgewandelt werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Das Archivdatum kann leider nicht mit dem externen Zoo-Packer aktualisiert werden" + tail +
            L"Packer\rnicht mehr existiert.",
        L"Das Archiv kann leider nicht mit dem externen Rar-Packer repariert werden" + tail +
            L"Packer\rnicht mehr existiert.",
    };
    EXPECT_EQ(Texts(), expected);
    EXPECT_EQ(MissingPackerText('x', ftZip),
              L"Es können leider keine Dateien mit dem externen Zip-Entpacker extrahiert werden" + tail +
                  L"Entpacker\rnicht mehr existiert.");
}

TEST_F(Packers, AFailedStartSaysSoAndLeavesNoListFile) {
    routines.Packer.ArjPath = rec.Folder.MakeFile(L"arj.txt", 10);
    Add(ftArj, Archives() + L"t.arj", {L"a.txt"}, L"", 5, false, true, false, 0);
    EXPECT_EQ(Texts(), W{L"Beim Packen des Archives ist ein Fehler aufgetreten!"});
    EXPECT_FALSE(ListFilesLeft(Archives()));
}

TEST_F(Packers, DrivesThatTakeNoArchiveAreRefusedBeforeAnyRun) {
    TFileOperator op(nullptr);
    TDateiRoutinen files(op);
    routines.DateiRoutinen = &files;
    routines.DriveType = [](const std::wstring& root) {
        return root == L"E:\\" ? 5u : root == L"Q:\\" ? 1u : root == L"A:\\" ? 2u : 3u;
    };
    boxes.Answer(gui::mrAbort);
    Add(ftArj, L"E:\\t.arj", {L"a.txt"}, L"", 5, false, true, false, 0);
    Add(ftArj, L"Q:\\t.arj", {L"a.txt"}, L"", 5, false, true, false, 0);
    Add(ftArj, L"A:\\t.arj", {L"a.txt"}, L"", 5, false, true, false, 0);
    Add(ftArj, L"t.arj", {L"a.txt"}, L"", 5, false, true, false, 0);
    Add(ftZipExe, Archives() + L"t.exe", {L"a.txt"}, L"", 5, false, true, false, 0);
    EXPECT_TRUE(rec.Runs().empty());
    EXPECT_EQ(Texts(), (W{L"Das ausgewählte Laufwerk ist ein CD-ROM-Laufwerk.\rEs ist leider nicht möglich, darauf "
                          L"ein Archiv anzulegen",
                          L"Auf Laufwerk Q: kann leider nicht zugegriffen werden.",
                          L"Auf das Laufwerk A:\\ kann nicht zugegriffen werden!\rVermutlich ist kein Datenträger "
                          L"eingelegt."}));
    EXPECT_EQ(host.Beeps, 1);
}

}  // namespace
