#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#include "ArcTestFiles.h"
#include "archive/formats/UnZIP.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {
namespace {

namespace fs = std::filesystem;
using arctest::Bytes;
using arctest::ScratchDir;

std::wstring Fixture(const std::string& name)
{
    return arctest::TestDataFile("zip-extract", name);
}

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Expected(const std::string& name)
{
    return ReadAll(fs::path(Fixture("src/" + name)));
}

// The file's modification time as local "YYYY-MM-DD hh:mm:ss".
std::string LocalModified(const fs::path& path)
{
    int y, mo, d, h, mi, s;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME local;
    SYSTEMTIME st;
    if (!GetFileAttributesExW(path.wstring().c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &st))
        return "?";
    y = st.wYear, mo = st.wMonth, d = st.wDay, h = st.wHour, mi = st.wMinute, s = st.wSecond;
#else
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return "?";
    std::tm tm{};
    localtime_r(&info.st_mtime, &tm);
    y = tm.tm_year + 1900, mo = tm.tm_mon + 1, d = tm.tm_mday, h = tm.tm_hour, mi = tm.tm_min, s = tm.tm_sec;
#endif
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    return text;
}

// A TUnZIP with recorders on its events.
class UnzipRun {
public:
    explicit UnzipRun(const std::string& fixture, const ScratchDir& dir) : m_dir(dir)
    {
        zip.SetArchiveFile(Fixture(fixture));
        zip.SetExtractDir(dir.Folder());
        zip.OnError = [this](TArcBase*, const std::wstring& fn, const std::wstring&, int code) {
            errors.push_back({Relative(fn), code});
        };
        zip.OnEnd = [this](TArcBase*, const std::wstring& fn, bool pass) { ends.push_back({Relative(fn), pass}); };
    }

    // The raised message, or "" when Extract returned.
    std::wstring Extract()
    {
        try {
            zip.Extract();
        } catch (const E_RAISE& e) {
            return e.Message();
        }
        return L"";
    }

    std::wstring Relative(const std::wstring& name) const
    {
        const std::wstring base = zip.ExtractDir();
        std::wstring rel = name.compare(0, base.size(), base) == 0 ? name.substr(base.size()) : name;
        for (auto& c : rel)
            if (c == L'\\')
                c = L'/';
        return rel;
    }
    fs::path Out(const std::string& name) const { return fs::path(m_dir.Path(name)); }

    TUnZIP zip;
    std::vector<std::pair<std::wstring, int>> errors;
    std::vector<std::pair<std::wstring, bool>> ends;

private:
    const ScratchDir& m_dir;
};

using Ends = std::vector<std::pair<std::wstring, bool>>;
using Errors = std::vector<std::pair<std::wstring, int>>;

TEST(UnZIP, StoredAndDeflatedArchivesExtractByteIdenticalWithTheirDate)
{
    for (const char* fixture : {"level0.zip", "level1.zip", "level6.zip", "level9.zip", "selfextract.exe",
                                "selfextract-27648.exe"}) {
        SCOPED_TRACE(fixture);
        ScratchDir dir("unzip");
        UnzipRun run(fixture, dir);
        EXPECT_EQ(run.Extract(), L"");
        EXPECT_EQ(run.errors, Errors{});
        EXPECT_EQ(run.ends, (Ends{{L"readme.txt", true}, {L"data.bin", true}}));
        EXPECT_TRUE(ReadAll(run.Out("readme.txt")) == Expected("readme.txt"));
        EXPECT_TRUE(ReadAll(run.Out("data.bin")) == Expected("data.bin"));
        EXPECT_EQ(LocalModified(run.Out("data.bin")), "2023-03-14 15:09:26");
    }
}

TEST(UnZIP, OldMethodsExtractWithMatchingCrc)
{
    for (const char* fixture : {"shrink.zip", "reduce.zip", "implode.zip"}) {
        SCOPED_TRACE(fixture);
        ScratchDir dir("unzip");
        UnzipRun run(fixture, dir);
        EXPECT_EQ(run.Extract(), L"");
        EXPECT_EQ(run.errors, Errors{});
        ASSERT_FALSE(run.ends.empty());
        for (const auto& [name, pass] : run.ends) {
            EXPECT_TRUE(pass) << velmora::ToUtf8(name);
            EXPECT_EQ(LocalModified(run.Out(velmora::ToUtf8(name))), "2024-05-17 12:34:56");
        }
    }
}

TEST(UnZIP, StoredFoldersAreCreatedAndFolderEntriesSkipped)
{
    ScratchDir dir("unzip");
    UnzipRun run("folders.zip", dir);
    run.zip.SetUseStoredDirs(true);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.ends, (Ends{{L"readme.txt", true}, {L"sub/liste.txt", true}, {L"sub/deep/notiz.txt", true}}));
    EXPECT_TRUE(ReadAll(run.Out("sub/deep/notiz.txt")) == Expected("sub/deep/notiz.txt"));
}

TEST(UnZIP, CurDateKeepsTheTimeOfCreation)
{
    ScratchDir dir("unzip");
    UnzipRun run("level6.zip", dir);
    run.zip.SetSetDateTo(TSetDate::CurDate);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_NE(LocalModified(run.Out("readme.txt")).substr(0, 4), "2023");
    run.zip.SetSetDateTo(TSetDate::OrigDate);
}

TEST(UnZIP, PasswordFromTheListOpensEntriesCheckedByTimeAndByCrc)
{
    for (const char* fixture : {"password.zip", "password-7z.zip"}) {
        SCOPED_TRACE(fixture);
        ScratchDir dir("unzip");
        UnzipRun run(fixture, dir);
        run.zip.SetPasswords(TStringList{L"falsch", L"geheim"});
        EXPECT_EQ(run.Extract(), L"");
        EXPECT_EQ(run.errors, Errors{});
        EXPECT_EQ(run.ends.size(), 2u);
        EXPECT_TRUE(ReadAll(run.Out("readme.txt")) == Expected("readme.txt"));
    }
}

TEST(UnZIP, StreamedEntryTakesItsSizesFromTheCentralHeader)
{
    ScratchDir dir("unzip");
    UnzipRun run("streamed.zip", dir);
    run.zip.SetPasswords(TStringList{L"geheim"});
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.ends, (Ends{{L"-", true}}));
    EXPECT_TRUE(ReadAll(run.Out("-")) == Expected("readme.txt"));
}

TEST(UnZIP, ProgressFiresAtEveryPercentWhenStoredAndAtEachStepOtherwise)
{
    ScratchDir dir("unzip");
    for (const char* fixture : {"level0.zip", "level9.zip"}) {
        UnzipRun run(fixture, dir);
        run.zip.SetFileSpec(L"readme.txt");
        run.zip.SetProgressNotify(TProgressNotify::TwentyFive);
        run.zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
        std::vector<int> percents;
        run.zip.OnProgress = [&](TArcBase*, const std::wstring&, std::uint8_t p) { percents.push_back(p); };
        EXPECT_EQ(run.Extract(), L"");
        if (std::string(fixture) == "level0.zip") {
            ASSERT_EQ(percents.size(), 100u);
            EXPECT_EQ(percents.front(), 1);
            EXPECT_EQ(percents.back(), 100);
        } else {
            EXPECT_EQ(percents, (std::vector<int>{25, 50, 75, 100}));
        }
    }
}

TEST(UnZIP, SecondEntryOpensWithoutAskingAgain)
{
    ScratchDir dir("unzip");
    UnzipRun run("password.zip", dir);
    int asked = 0;
    run.zip.OnGetPassword = [&](TArcBase*, const std::wstring&, std::wstring& password, bool&) {
        ++asked;
        password = L"geheim";
    };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(run.ends, (Ends{{L"readme.txt", true}, {L"liste.txt", true}}));
    EXPECT_EQ(run.zip.Passwords().Count(), 1);
    EXPECT_EQ(run.zip.Passwords()[0], L"geheim");
}

TEST(UnZIP, DecliningThePasswordPromptEndsTheRunWithoutAFile)
{
    ScratchDir dir("unzip");
    UnzipRun run("password.zip", dir);
    run.zip.OnGetPassword = [](TArcBase*, const std::wstring&, std::wstring&, bool& tryAgain) { tryAgain = false; };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.errors, (Errors{{L"readme.txt", err::PasswordFailed}}));
    EXPECT_EQ(run.ends, (Ends{{L"readme.txt", false}}));
    EXPECT_FALSE(fs::exists(run.Out("readme.txt")));
    EXPECT_FALSE(fs::exists(run.Out("liste.txt")));
}

TEST(UnZIP, WrongPasswordsAreReportedThreeTimesThenFailed)
{
    ScratchDir dir("unzip");
    UnzipRun run("password.zip", dir);
    std::vector<std::wstring> offered;
    run.zip.OnGetPassword = [&](TArcBase*, const std::wstring&, std::wstring& password, bool&) {
        offered.push_back(password);
        password = L"falsch";
    };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(offered, (std::vector<std::wstring>{L"", L"", L""}));
    EXPECT_EQ(run.errors, (Errors{{L"readme.txt", err::InvalidPassword},
                                  {L"readme.txt", err::InvalidPassword},
                                  {L"readme.txt", err::InvalidPassword},
                                  {L"readme.txt", err::PasswordFailed}}));
}

TEST(UnZIP, NoPasswordAndNoPromptReportsTheMissingEvent)
{
    ScratchDir dir("unzip");
    UnzipRun run("password-7z.zip", dir);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.errors, (Errors{{L"data.bin", err::OnPasswordNotAssigned}}));
}

TEST(UnZIP, UnsupportedMethodIsSkippedBeforeAnExistingFileIsTouched)
{
    ScratchDir dir("unzip");
    dir.Write("readme.txt", arctest::Text("alt"));
    UnzipRun run("deflate64.zip", dir);
    bool asked = false;
    run.zip.OnFileExists = [&](TArcBase*, const std::wstring&, bool&) { asked = true; };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_FALSE(asked);
    EXPECT_EQ(run.errors, (Errors{{L"readme.txt", err::UnknownMethod}}));
    EXPECT_TRUE(ReadAll(run.Out("readme.txt")) == arctest::Text("alt"));
}

TEST(UnZIP, MethodSevenIsSkippedAndTheNextEntryExtracted)
{
    ScratchDir dir("unzip");
    UnzipRun run("method7.zip", dir);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.errors, (Errors{{L"tokenized.dat", err::UnknownMethod}}));
    EXPECT_EQ(run.ends, (Ends{{L"danach.txt", true}}));
    EXPECT_FALSE(fs::exists(run.Out("tokenized.dat")));
}

TEST(UnZIP, CrcFailureIsReportedAndTheRunGoesOn)
{
    ScratchDir dir("unzip");
    UnzipRun run("badcrc.zip", dir);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.errors, (Errors{{L"kaputt.txt", err::CrcError}}));
    EXPECT_EQ(run.ends, (Ends{{L"kaputt.txt", false}, {L"heil.txt", true}}));
}

TEST(UnZIP, BadDeflateBlockRaisesAndLeavesWhatWasWritten)
{
    ScratchDir dir("unzip");
    UnzipRun run("badblock.zip", dir);
    EXPECT_EQ(run.Extract(), L"25109");
    EXPECT_EQ(run.errors, Errors{});  // decoding errors bypass OnError
    EXPECT_TRUE(ReadAll(run.Out("block.txt")) == arctest::Text("Hallo"));
}

TEST(UnZIP, EntryThatInflatesPastItsSizeStopsWithoutWritingMore)
{
    ScratchDir dir("unzip");
    UnzipRun run("oversize.zip", dir);
    EXPECT_EQ(run.Extract(), L"25109");
    EXPECT_LE(fs::file_size(run.Out("zu-gross.txt")), 20000u);

    // A stored entry whose packed size exceeds its size.
    run.zip.SetFileSpec(L"zu-lang.txt");
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(fs::file_size(run.Out("zu-lang.txt")), 20000u);
    EXPECT_EQ(run.errors, (Errors{{L"zu-lang.txt", err::CrcError}}));
}

TEST(UnZIP, AmbiguousExplodeTreeWarnsThroughTheMessageBoxThenRaises)
{
    std::vector<std::wstring> boxes;
    SetArcMessageBoxHook([&](const std::wstring& text, TArcMsgKind kind, TArcMsgButtons) {
        EXPECT_EQ(kind, TArcMsgKind::Warning);
        boxes.push_back(text);
        return 1;
    });
    ScratchDir dir("unzip");
    UnzipRun run("implode-ambiguous.zip", dir);
    EXPECT_EQ(run.Extract(), L"25109");
    SetArcMessageBoxHook(nullptr);
    EXPECT_EQ(boxes, (std::vector<std::wstring>{L"Ambiguous Shannon-Fano decode tree encountered!"}));
}

TEST(UnZIP, NothingToDoOnlyWhenNoEntryMatches)
{
    ScratchDir dir("unzip");
    UnzipRun run("level6.zip", dir);
    run.zip.SetFileSpec(L"*.xyz");
    EXPECT_EQ(run.Extract(), L"Nothing to do");
    EXPECT_EQ(run.errors, (Errors{{run.Relative(Fixture("level6.zip")), err::NothingToDo}}));

    dir.Write("readme.txt", arctest::Text("alt"));
    run.errors.clear();
    run.zip.SetFileSpec(L"readme.txt");
    run.zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = false; };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.errors, (Errors{{L"readme.txt", err::SkippedFile}}));
    EXPECT_EQ(run.ends, Ends{});
    EXPECT_TRUE(ReadAll(run.Out("readme.txt")) == arctest::Text("alt"));
}

TEST(UnZIP, NamesThatClimbOutStayInsideTheTargetFolder)
{
    ScratchDir outer("unzip");
    fs::create_directories(fs::path(outer.Path("ziel")));
    ScratchDir& dir = outer;
    UnzipRun run("climb.zip", dir);
    run.zip.SetExtractDir(outer.Path("ziel"));
    run.zip.SetUseStoredDirs(true);
    EXPECT_EQ(run.Extract(), L"");
    for (const auto& [name, pass] : run.ends)
        EXPECT_TRUE(pass);
    EXPECT_EQ(run.ends.size(), 5u);
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(outer.Folder())))
        EXPECT_EQ(*fs::relative(entry.path(), fs::path(outer.Folder())).begin(), "ziel") << entry.path();
}

// Temporary files of an extraction left in the folder.
std::vector<std::string> Leftovers(const fs::path& folder)
{
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename().string().rfind("~vlm", 0) == 0)
            left.push_back(e.path().filename().string());
    return left;
}

TEST(UnZIPSafety, ArchiveHoldingItsOwnNameIsNeverItsOwnTarget)
{
    ScratchDir dir("unzip");
    const Bytes original = ReadAll(fs::path(Fixture("self.zip")));
    const std::wstring archive = dir.Write("self.zip", original);
    TUnZIP zip;
    zip.SetArchiveFile(archive);
    zip.SetExtractDir(dir.Folder());
    Errors errors;
    zip.OnError = [&](TArcBase*, const std::wstring& fn, const std::wstring&, int code) {
        errors.push_back({ExtractFileName(fn), code});
    };
    zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    zip.Extract();
    EXPECT_EQ(errors, (Errors{{L"SELF.ZIP", err::OpenError}}));
    EXPECT_TRUE(ReadAll(fs::path(archive)) == original);
    EXPECT_EQ(fs::file_size(fs::path(dir.Path("danach.txt"))), 320u);
}

#ifdef _WIN32
TEST(UnZIPSafety, ArchiveReachedThroughAShortFolderNameIsNotATargetEither)
{
    ScratchDir dir("unzip-short-alias");
    const Bytes original = ReadAll(fs::path(Fixture("self.zip")));
    const std::wstring archive = dir.Write("self.zip", original);
    wchar_t alias[MAX_PATH];
    const DWORD n = GetShortPathNameW(dir.Folder().c_str(), alias, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH);
    ASSERT_NE(std::wstring(alias), dir.Folder());
    TUnZIP zip;
    zip.SetArchiveFile(archive);
    zip.SetExtractDir(alias);
    std::vector<int> codes;
    zip.OnError = [&](TArcBase*, const std::wstring&, const std::wstring&, int code) { codes.push_back(code); };
    zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    zip.Extract();
    EXPECT_EQ(codes, std::vector<int>{err::OpenError});
    EXPECT_TRUE(ReadAll(fs::path(archive)) == original);
}
#endif

TEST(UnZIPSafety, OldMethodSizeBombsStopSoonAfterTheirPackedData)
{
    for (const char* fixture : {"bomb-shrink.zip", "bomb-reduce.zip", "bomb-implode.zip"}) {
        SCOPED_TRACE(fixture);
        ScratchDir dir("unzip");
        UnzipRun run(fixture, dir);
        EXPECT_EQ(run.Extract(), L"25134");
        // The packed data is under 2 KB; one output block may follow its end.
        const auto written = fs::exists(run.Out("bombe.txt")) ? fs::file_size(run.Out("bombe.txt")) : 0;
        EXPECT_LE(written, 2000u + 65536u);
        EXPECT_TRUE(Leftovers(dir.Folder()).empty());
    }
}

TEST(UnZIPSafety, EntriesSharingTheirDataAreRefused)
{
    ScratchDir dir("unzip");
    UnzipRun run("overlap.zip", dir);
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.ends, (Ends{{L"eins.bin", true}}));
    EXPECT_EQ(run.errors, (Errors{{L"zwei.bin", err::ArchiveError},
                                  {L"drei.bin", err::ArchiveError},
                                  {L"vier.bin", err::ArchiveError},
                                  {L"fuenf.bin", err::ArchiveError}}));
    EXPECT_FALSE(fs::exists(run.Out("zwei.bin")));
}

TEST(UnZIPSafety, WrongPasswordThatPassesTheCheckByteLeavesTheOldFile)
{
    ScratchDir dir("unzip");
    dir.Write("geheim.txt", arctest::Text("alt"));
    UnzipRun run("wrongpass.zip", dir);
    // Found by the fixture's generator: its check byte fits, the key does not.
    run.zip.SetPasswords(TStringList{L"falsch456"});
    run.zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    run.Extract();
    EXPECT_TRUE(ReadAll(run.Out("geheim.txt")) == arctest::Text("alt"));
    EXPECT_TRUE(Leftovers(dir.Folder()).empty());
}

TEST(UnZIPSafety, DamagedEntryLeavesTheOldFileAndSalvagesWhereThereWasNone)
{
    ScratchDir dir("unzip");
    dir.Write("block.txt", arctest::Text("alt"));
    dir.Write("kaputt.txt", arctest::Text("alt"));
    for (const char* fixture : {"badblock.zip", "badcrc.zip"}) {
        UnzipRun run(fixture, dir);
        run.zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
        run.Extract();
    }
    EXPECT_TRUE(ReadAll(fs::path(dir.Path("block.txt"))) == arctest::Text("alt"));
    EXPECT_TRUE(ReadAll(fs::path(dir.Path("kaputt.txt"))) == arctest::Text("alt"));
    EXPECT_TRUE(fs::exists(fs::path(dir.Path("heil.txt"))));
    EXPECT_TRUE(Leftovers(dir.Folder()).empty());

    // Without an old file the damaged output stays for salvage.
    ScratchDir fresh("unzip");
    UnzipRun run("badcrc.zip", fresh);
    run.Extract();
    EXPECT_EQ(fs::file_size(run.Out("kaputt.txt")), 320u);
}

TEST(UnZIPSafety, AbortDuringAnEntryKeepsTheOldFile)
{
    ScratchDir dir("unzip");
    dir.Write("readme.txt", arctest::Text("alt"));
    UnzipRun run("level0.zip", dir);
    run.zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    run.zip.OnProgress = [&](TArcBase*, const std::wstring&, std::uint8_t p) {
        if (p >= 50)
            run.zip.Abort();
    };
    EXPECT_EQ(run.Extract(), L"");
    EXPECT_EQ(run.ends, Ends{});
    EXPECT_TRUE(ReadAll(run.Out("readme.txt")) == arctest::Text("alt"));
    EXPECT_FALSE(fs::exists(run.Out("data.bin")));
    EXPECT_TRUE(Leftovers(dir.Folder()).empty());
}

TEST(UnZIPSafety, UnsupportedAndUnreadableStructuresSaySo)
{
    ScratchDir dir("unzip");
    UnzipRun zip64("zip64.zip", dir);
    EXPECT_EQ(zip64.Extract(), L"");
    EXPECT_EQ(zip64.errors, (Errors{{L"riesig.bin", err::UnsupportedVersion}}));
    EXPECT_EQ(zip64.ends, (Ends{{L"danach.txt", true}}));

    UnzipRun cut("cutdir.zip", dir);
    EXPECT_EQ(cut.Extract(), L"Error reading file or unexpected end of file");

    UnzipRun old("zip250.zip", dir);
    EXPECT_EQ(old.zip.ArcType(), TArcType::Zip250);
    EXPECT_EQ(old.Extract(), ArcErrorText(err::UnsupportedVersion));
    EXPECT_FALSE(fs::exists(old.Out("ALT.TXT")));
}

}  // namespace
}  // namespace velmora::arc
