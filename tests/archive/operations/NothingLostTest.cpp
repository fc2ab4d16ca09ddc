// Operations that delete as they go lose nothing they did not write: sources
// a packer did not take, entries an unpacker or the zip library did not write,
// and never a byte of a self-extracting program.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "ArcTool.h"

#include "PackerFixture.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/AppExec.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;
using packrectest::Exists;
using packrectest::ReadAll;
using packrectest::WinePath;

namespace {

std::wstring Fixture(const char* relative) {
    return WinePath((std::string(VELMORA_SOURCE_DIR "/tests/data/") + relative).c_str());
}

// A file as an entry would be written: its size and its (local) time.
void MakeLike(const std::wstring& path, const TEineDatei& entry) {
    ForceDirectories(ExtractFilePath(path));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string data(static_cast<size_t>(entry.Size), 'x');
    DWORD put = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
    const DateParts p = DecodeDateTime(entry.Time);
    SYSTEMTIME st{static_cast<WORD>(p.year), static_cast<WORD>(p.month), 0, static_cast<WORD>(p.day),
                  static_cast<WORD>(p.hour), static_cast<WORD>(p.minute), static_cast<WORD>(p.second), 0};
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
}

class NothingLost : public ::testing::Test, protected packrectest::TOperationsUnderTest {
protected:
    NothingLost() : TOperationsUnderTest(L"nothinglost") {}
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    void SetUp() override {
        routines.Packer.LhaPath = rec.Install(L"lha.exe");
        routines.Packer.RarPath = rec.Install(L"rar.exe");
        routines.Packer.UnZipPath = rec.Install(L"unzip.exe");
        routines.Packer.UseInternZip = routines.Packer.UseInternUnZip = true;
        ForceDirectories(Dir());
    }
    std::wstring Dir() const { return rec.Folder.Path() + L"arbeit\\"; }
    std::wstring Copy(const char* fixture, const wchar_t* name) const {
        const std::wstring path = Dir() + name;
        CopyFileW(Fixture(fixture).c_str(), path.c_str(), FALSE);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return path;
    }

};

TEST_F(NothingLost, LhaFreshenWithMoveDeletesOnlyTheSourcesThePackerTook) {
    const std::wstring taken = Copy("archive/level1.lzh", L"genommen.lzh");
    const TDateiListe entries = Listing(ftLzh, taken);
    ASSERT_GE(entries.size(), 2u);
    const std::wstring src = Dir() + L"quellen\\";
    MakeLike(src + entries[0]->Name, *entries[0]);
    MakeLike(src + entries[1]->Name, *entries[1]);
    TEineDatei other;
    other.Size = entries[0]->Size;
    other.Time = entries[0]->Time;
    MakeLike(src + L"dritte.txt", other);
    // The packer "freshens" the archive into one holding two of the three.
    SetEnvironmentVariableW(L"PACKREC_WRITE", (L"t.lzh<" + taken).c_str());
    routines.AddToArchive(Dir() + L"t.lzh", {src + L"*.*"}, ftLzh, L"", false, false, 5, true, true, true, 1);
    ASSERT_EQ(rec.Runs().size(), 1u);
    EXPECT_FALSE(Exists(src + entries[0]->Name));
    EXPECT_FALSE(Exists(src + entries[1]->Name));
    EXPECT_TRUE(Exists(src + L"dritte.txt"));
}

TEST_F(NothingLost, AnUnpackerThatWroteOneOfTwoTargetsLosesOnlyThatEntry) {
    const std::wstring archive = Copy("archive/blocks.rar", L"t.rar");
    const TDateiListe entries = Listing(ftRar, archive);
    ASSERT_GE(entries.size(), 2u);
    const std::wstring like = Dir() + L"wie.bin";
    MakeLike(like, *entries[0]);
    const std::wstring target = Dir() + L"ziel\\";
    SetEnvironmentVariableW(L"PACKREC_WRITE", (ExtractFileName(entries[0]->Name) + L"<" + like).c_str());
    routines.ExtractFromArchive(archive, {entries[0]->Name, entries[1]->Name}, true, target, L"", 0,
                                TZlOverwrite::zowAsk, 0, L"");
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Args[0], L"d");
    EXPECT_EQ(runs[1].List, std::vector<std::wstring>{entries[0]->Name});
}

TEST_F(NothingLost, ASelfExtractingProgramStaysByteIdentical) {
    const std::wstring program = Copy("archive/zipsfx.exe", L"sfx.exe");
    const std::string before = ReadAll(program);
    const TDateiListe entries = Listing(ftZipExe, program);
    ASSERT_FALSE(entries.empty());
    routines.ExtractFromArchive(program, {entries[0]->Name}, true, Dir() + L"ziel\\", L"", 2, TZlOverwrite::zowAlways,
                                0, L"");
    EXPECT_TRUE(Exists(Dir() + L"ziel\\" + entries[0]->Name));
    EXPECT_EQ(ReadAll(program), before);
}

TEST_F(NothingLost, ZipFreshenWithDeleteTakesOutOnlyTheEntryItWrote) {
    const std::wstring archive = Copy("zip-extract/folders.zip", L"t.zip");
    const std::wstring target = Dir() + L"ziel\\";
    // Only readme.txt has an older file to freshen; the others have none.
    TEineDatei old;
    old.Size = 1;
    old.Time = 32874;  // 1990
    MakeLike(target + L"readme.txt", old);
    routines.ExtractFromArchive(archive, {L"readme.txt", L"sub\\liste.txt"}, true, target, L"", 0,
                                TZlOverwrite::zowAlways, 1, L"");
    std::vector<std::wstring> left;
    for (const auto& e : Listing(ftZip, archive)) left.push_back(e->Name);
    EXPECT_EQ(left, (std::vector<std::wstring>{L"sub\\deep\\notiz.txt", L"sub\\liste.txt"}));
}

TEST_F(NothingLost, RelativePathsWithDeleteKeepTheOperationRunningBetweenEntries) {
    const std::wstring archive = Copy("zip-extract/folders.zip", L"t.zip");
    std::vector<bool> running;
    zip.OnExtracting = [&](TZipLib*, const TZlFileStats&) { running.push_back(host.PanelShown); };
    routines.ExtractFromArchive(archive, {L"sub\\liste.txt", L"sub\\deep\\notiz.txt"}, true, Dir() + L"ziel\\", L"",
                                1, TZlOverwrite::zowAlways, 0, L"sub\\");
    EXPECT_EQ(running, (std::vector<bool>{true, true}));
    EXPECT_TRUE(Exists(Dir() + L"ziel\\deep\\notiz.txt"));
    EXPECT_FALSE(host.PanelShown);
}

}  // namespace

namespace {

// The format library's unpackers, entry by entry, write what arctool extract
// writes, in every path mode.
TEST_F(NothingLost, InProcessUnpackersWriteWhatArcToolWritesInEveryPathMode) {
    auto& p = routines.Packer;
    p.UseInternUnArj = p.UseInternUnLha = p.UseInternUnArc = p.UseInternUnZoo = true;
    const std::pair<const char*, std::uint8_t> fixtures[] = {
        {"archive/folders.arj", ftArj}, {"archive/level1.lzh", ftLzh}, {"archive/methods.arc", ftArc},
        {"archive/files.pak", ftArc},   {"archive/files.zoo", ftZoo}, {"archive/zipsfx.exe", ftZipExe},
    };
    int n = 0;
    for (const auto& [fixture, kind] : fixtures) {
        SCOPED_TRACE(fixture);
        const std::wstring base = Dir() + std::to_wstring(++n) + L"\\";
        ForceDirectories(base);
        const std::wstring archive = base + ExtractFileName(Fixture(fixture));
        CopyFileW(Fixture(fixture).c_str(), archive.c_str(), FALSE);
        std::ostringstream out, err;
        ASSERT_EQ(arctool::ArcToolMain({"extract", ToUtf8(archive), ToUtf8(base + L"ref")}, out, err), 0);
        // The entries arctool wrote (a volume label, say, is none).
        std::map<std::wstring, bool> written;
        std::istringstream lines(out.str());
        std::string line;
        while (std::getline(lines, line))
            if (line.size() > 3 && line.compare(line.size() - 3, 3, "\tok") == 0)
                written[SystemLower(TZipRoutinen::ReplaceChar(FromUtf8(line.substr(0, line.size() - 3)), L'/', L'\\'))] =
                    true;
        TStringList all;
        std::map<std::wstring, int> names;
        std::wstring folder;
        for (const auto& e : Listing(kind, archive)) {
            if (!written.count(SystemLower(e->Name))) continue;
            all.Add(e->Name);
            ++names[SystemLower(ExtractFileName(e->Name))];
            if (folder.empty()) folder = ExtractFilePath(e->Name);
        }
        ASSERT_FALSE(all.Empty()) << out.str();
        for (int mode = 0; mode < 3; ++mode) {
            const std::wstring target = base + L"m" + std::to_wstring(mode) + L"\\";
            routines.ExtractFromArchive(archive, all, false, target, L"", mode, TZlOverwrite::zowAlways, 0,
                                        mode == 1 ? folder : L"");
            for (const auto& entry : all.Items()) {
                ASSERT_TRUE(Exists(base + L"ref\\" + entry)) << ToUtf8(entry);
                const std::string ref = ReadAll(base + L"ref\\" + entry);
                if (mode == 2) {
                    EXPECT_EQ(ReadAll(target + entry), ref) << ToUtf8(entry);
                }
                if (mode == 0 && names[SystemLower(ExtractFileName(entry))] == 1) {
                    EXPECT_EQ(ReadAll(target + ExtractFileName(entry)), ref) << ToUtf8(entry);
                }
                if (mode == 1 && !folder.empty() && SystemLower(entry).rfind(SystemLower(folder), 0) == 0) {
                    EXPECT_EQ(ReadAll(target + entry.substr(folder.size())), ref) << ToUtf8(entry);
                }
            }
        }
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

}  // namespace

namespace {

TEST_F(NothingLost, TheRarLibraryWritesOnlyTheChosenEntryAndTestsReportDamage) {
    routines.Packer.UseInternUnRar = true;
    const std::wstring archive = Copy("archive/blocks.rar", L"t.rar");
    const TDateiListe entries = Listing(ftRar, archive);
    ASSERT_GE(entries.size(), 2u);
    const std::wstring target = Dir() + L"ziel\\";
    routines.ExtractFromArchive(archive, {entries[0]->Name}, false, target, L"", 2, TZlOverwrite::zowAlways, 0, L"");
    EXPECT_EQ(static_cast<std::int64_t>(ReadAll(target + entries[0]->Name).size()), entries[0]->Size);
    EXPECT_FALSE(Exists(target + entries[1]->Name));
    routines.TestArchive(archive, {entries[0]->Name}, L"");
    EXPECT_TRUE(boxes.Calls().empty());
    routines.TestArchive(Copy("archive/badcrc.rar", L"b.rar"), {L"*.*"}, L"");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text.rfind(L"Fehler beim Testen des Archives", 0), 0u);
}

}  // namespace

namespace {

TEST_F(NothingLost, ALongNamedArchiveBecomesALongNamedProgramAndBack) {
    routines.Packer.Zip2ExePath = rec.Install(L"zip2exe.exe");
    const std::wstring archive = Copy("archive/comment.zip", L"Langer Name.zip");
    const std::wstring shortExe = ChangeFileExt(ExtractFileName(ShortPathName(archive)), L".exe");
    ASSERT_NE(SystemLower(shortExe), L"langer name.exe");
    // The converter writes under the short name it was given.
    SetEnvironmentVariableW(L"PACKREC_WRITE", (shortExe + L"<" + Fixture("archive/zipsfx.exe")).c_str());
    const std::wstring program = Dir() + L"Langer Name.exe";
    CopyFileW(Fixture("archive/zipsfx.exe").c_str(), program.c_str(), FALSE);
    routines.ConvertToSfx({archive});
    EXPECT_TRUE(rec.Runs().empty()) << "a program of that name is never overwritten";
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Die Datei Langer Name.exe existiert bereits und wird nicht überschrieben.");

    DeleteFileW(program.c_str());
    routines.ConvertToSfx({archive});
    ASSERT_EQ(rec.Runs().size(), 1u);
    EXPECT_EQ(rec.Runs()[0].Args, std::vector<std::wstring>{ExtractFileName(ShortPathName(archive))});
    // One program, by the long name.
    std::vector<std::wstring> programs;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Dir() + L"*.exe").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do programs.push_back(found.cFileName);
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    EXPECT_EQ(programs, std::vector<std::wstring>{L"Langer Name.exe"});

    DeleteFileW(archive.c_str());
    routines.SfxToArchive({program});
    std::uint8_t kind = 0;
    EXPECT_TRUE(routines.GetArchiveType(archive, kind) && kind == ftZip);
}

}  // namespace

namespace {

TEST_F(NothingLost, AReplaceAllAnswerHoldsForTheRestOfTheRun) {
    routines.Packer.UseInternUnLha = true;
    const std::wstring archive = Copy("archive/level1.lzh", L"t.lzh");
    const TDateiListe entries = Listing(ftLzh, archive);
    ASSERT_GE(entries.size(), 2u);
    const std::wstring target = Dir() + L"ziel\\";
    TEineDatei old;
    old.Size = 1;
    old.Time = 32874;
    MakeLike(target + entries[0]->Name, old);
    MakeLike(target + entries[1]->Name, old);
    host.ReplaceAnswers = {4};
    routines.ExtractFromArchive(archive, {entries[0]->Name, entries[1]->Name}, false, target, L"", 2,
                                TZlOverwrite::zowAsk, 0, L"");
    EXPECT_EQ(host.ReplaceQuestions, 1);
    EXPECT_EQ(static_cast<std::int64_t>(ReadAll(target + entries[1]->Name).size()), entries[1]->Size);
}

}  // namespace

namespace {

std::vector<std::wstring> EntryNames(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& e : list) names.push_back(e->Name);
    return names;
}
// The zip component's questions reach the window; with delete, no entry that
// was not written leaves the archive.
TEST_F(NothingLost, ZipClashesAndPasswordsAreAnsweredByTheWindow) {
    const std::wstring target = Dir() + L"ziel\\";
    TEineDatei old;
    old.Size = 1;
    old.Time = 32874;
    {
        // Skip the first clash, write the second under another name.
        const std::wstring archive = Copy("zip-extract/folders.zip", L"t.zip");
        MakeLike(target + L"readme.txt", old);
        MakeLike(target + L"sub\\liste.txt", old);
        host.RenameAnswers = {{0, L""}, {2, target + L"anders.txt"}};
        routines.ExtractFromArchive(archive, {L"readme.txt", L"sub\\liste.txt"}, true, target, L"", 2,
                                    TZlOverwrite::zowAsk, 0, L"");
        EXPECT_EQ(host.ReplaceQuestions, 2);
        EXPECT_EQ(ReadAll(target + L"readme.txt").size(), 1u);
        EXPECT_EQ(ReadAll(target + L"sub\\liste.txt").size(), 1u);
        EXPECT_EQ(ReadAll(target + L"anders.txt").size(), 3000u);
        // A skipped file makes the run one with remarks: it deletes nothing.
        EXPECT_EQ(EntryNames(Listing(ftZip, archive)),
                  (std::vector<std::wstring>{L"readme.txt", L"sub\\deep\\notiz.txt", L"sub\\liste.txt"}));
    }
    {
        // Cancel at the first clash stops the run: nothing written, nothing deleted.
        const std::wstring archive = Copy("zip-extract/folders.zip", L"c.zip");
        const std::string before = ReadAll(archive);
        host.ReplaceQuestions = 0;
        host.RenameAnswers = {{-1, L""}};
        routines.ExtractFromArchive(archive, {L"readme.txt", L"sub\\deep\\notiz.txt"}, true, target, L"", 2,
                                    TZlOverwrite::zowAsk, 0, L"");
        EXPECT_EQ(host.ReplaceQuestions, 1);
        EXPECT_FALSE(Exists(target + L"sub\\deep\\notiz.txt"));
        EXPECT_EQ(ReadAll(archive), before);
        EXPECT_FALSE(host.PanelShown);
    }
    {
        // A wrong password writes nothing and deletes nothing; the right one serves both entries.
        const std::wstring archive = Copy("zip-extract/password.zip", L"p.zip");
        const std::string before = ReadAll(archive);
        const std::wstring secret = Dir() + L"geheim\\";
        host.PasswordAnswers = {{2, L"falsch"}, {2, L"falsch"}};
        routines.ExtractFromArchive(archive, {L"readme.txt", L"sub\\liste.txt"}, true, secret, L"", 2,
                                    TZlOverwrite::zowAsk, 0, L"");
        EXPECT_FALSE(Exists(secret + L"readme.txt"));
        EXPECT_EQ(ReadAll(archive), before);
        host.PasswordQuestions = 0;
        host.PasswordAnswers = {{2, L"geheim"}};
        routines.ExtractFromArchive(archive, {L"readme.txt", L"sub\\liste.txt"}, false, secret, L"", 2,
                                    TZlOverwrite::zowAsk, 0, L"");
        EXPECT_EQ(host.PasswordQuestions, 1);
        EXPECT_EQ(ReadAll(secret + L"readme.txt").size(), 24000u);
        EXPECT_EQ(ReadAll(secret + L"sub\\liste.txt").size(), 3000u);
    }
}

// A cancel at a clash stops the format library's unpackers between entries.
TEST_F(NothingLost, ACancelledClashStopsTheUnpackersRun) {
    routines.Packer.UseInternUnLha = true;
    const std::wstring archive = Copy("archive/level1.lzh", L"t.lzh");
    const TDateiListe entries = Listing(ftLzh, archive);
    ASSERT_GE(entries.size(), 2u);
    const std::wstring target = Dir() + L"abbruch\\";
    TEineDatei old;
    old.Size = 1;
    old.Time = 32874;
    MakeLike(target + entries[0]->Name, old);
    host.ReplaceAnswers = {-1};
    routines.ExtractFromArchive(archive, {entries[0]->Name, entries[1]->Name}, false, target, L"", 2,
                                TZlOverwrite::zowAsk, 0, L"");
    EXPECT_EQ(host.ReplaceQuestions, 1);
    EXPECT_EQ(ReadAll(target + entries[0]->Name).size(), 1u);
    EXPECT_FALSE(Exists(target + entries[1]->Name));
}

}  // namespace

namespace {

// Back from a program to an archive: a file of the archive's name is skipped,
// kept beside a new name, or replaced whole; no temporary file stays.
TEST_F(NothingLost, AProgramBackToAnArchiveAsksBeforeTouchingAFileOfItsName) {
    const std::wstring program = Copy("archive/zipsfx.exe", L"sfx.exe");
    const std::wstring archive = Dir() + L"sfx.zip";
    TEineDatei old;
    old.Size = 3;
    old.Time = 32874;
    MakeLike(archive, old);
    host.RenameAnswers = {{0, L""}};
    routines.SfxToArchive({program});
    EXPECT_EQ(ReadAll(archive), "xxx");
    host.RenameAnswers = {{2, Dir() + L"anders.zip"}};
    routines.SfxToArchive({program});
    EXPECT_EQ(ReadAll(archive), "xxx");
    std::uint8_t kind = 0;
    EXPECT_TRUE(routines.GetArchiveType(Dir() + L"anders.zip", kind) && kind == ftZip);
    host.RenameAnswers = {{1, L""}};
    routines.SfxToArchive({program});
    EXPECT_EQ(ReadAll(archive), ReadAll(Dir() + L"anders.zip"));
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Dir() + L"~vlm*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

}  // namespace
