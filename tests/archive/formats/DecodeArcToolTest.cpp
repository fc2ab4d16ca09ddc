#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ArcTestFiles.h"
#include "ArcTool.h"
#include "platform/rtl/Strings.h"

namespace {

namespace fs = std::filesystem;
using arctest::ScratchDir;

std::string FixtureArg(const std::string& name)
{
    return velmora::ToUtf8(arctest::TestDataFile("zip-extract", name));
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result Extract(const std::string& fixture, const std::wstring& folder, std::vector<std::string> extra = {})
{
    std::vector<std::string> args = {"extract", FixtureArg(fixture), velmora::ToUtf8(folder)};
    args.insert(args.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    const int status = arctool::ArcToolMain(args, out, err);
    return {status, out.str(), err.str()};
}

// Every file below Root, as paths relative to it with "/".
std::vector<std::string> FilesBelow(const fs::path& root)
{
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files.push_back(fs::relative(e.path(), root).generic_string());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ArcToolExtract, FolderLadenArchiveExtractsWithItsFolders)
{
    ScratchDir dir("arctool-extract");
    const Result r = Extract("folders.zip", dir.Folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "readme.txt\tok\nsub/liste.txt\tok\nsub/deep/notiz.txt\tok\n");
    EXPECT_EQ(FilesBelow(dir.Folder()),
              (std::vector<std::string>{"readme.txt", "sub/deep/notiz.txt", "sub/liste.txt"}));
}

TEST(ArcToolExtract, EncryptedArchiveWithAndWithoutThePassword)
{
    ScratchDir with("arctool-extract");
    Result r = Extract("password.zip", with.Folder(), {"--password", "geheim"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "readme.txt\tok\nsub/liste.txt\tok\n");

    ScratchDir without("arctool-extract");
    r = Extract("password.zip", without.Folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "readme.txt\t25165\n");
    EXPECT_TRUE(FilesBelow(without.Folder()).empty());

    ScratchDir wrong("arctool-extract");
    r = Extract("password-7z.zip", wrong.Folder(), {"--password", "falsch"});
    EXPECT_EQ(r.out, "data.bin\t25165\n");
}

TEST(ArcToolExtract, NamesThatClimbOutWriteNothingOutsideTheFolder)
{
    ScratchDir outer("arctool-extract");
    const fs::path folder = fs::path(outer.Folder()) / "ziel";
    fs::create_directories(folder);
    const Result r = Extract("climb.zip", folder.wstring());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "oben.txt\tok\nwurzel.txt\tok\nlaufwerk.txt\tok\nsub/raus.txt\tok\ninnen.txt\tok\n");
    for (const std::string& file : FilesBelow(outer.Folder()))
        EXPECT_EQ(file.rfind("ziel/", 0), 0u) << file;
}

TEST(ArcToolExtract, EntryThatInflatesPastItsSizeStopsWithAnError)
{
    ScratchDir dir("arctool-extract");
    const Result r = Extract("oversize.zip", dir.Folder());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "zu-gross.txt\t25109\n");
    EXPECT_EQ(r.err, "error\t25109\tBad block\n");
    EXPECT_LE(fs::file_size(fs::path(dir.Folder()) / "zu-gross.txt"), 20000u);
}

TEST(ArcToolExtract, UnsupportedMethodAndCrcFailureAreTheEntriesCodes)
{
    ScratchDir dir("arctool-extract");
    Result r = Extract("method7.zip", dir.Folder());
    EXPECT_EQ(r.out, "tokenized.dat\t25200\ndanach.txt\tok\n");
    r = Extract("badcrc.zip", dir.Folder());
    EXPECT_EQ(r.out, "kaputt.txt\t25117\nheil.txt\tok\n");
}

TEST(ArcToolExtract, NamesWindowsCannotCreateAreSkippedAndLaterEntriesWritten)
{
    ScratchDir dir("arctool-extract");
    const Result r = Extract("names.zip", dir.Folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "CON\t25138\naux.txt\t25138\nsub/nul/x.txt\t25138\nCom1.log\t25138\nlpt9\t25138\n"
              "glocke%07.txt\t25138\nfrage?.txt\t25138\nstern*.txt\t25138\nrohr|.txt\t25138\n"
              "klein<.txt\t25138\ngross>.txt\t25138\nzitat\".txt\t25138\npunkt.\t25138\nleer \t25138\n"
              "kurz.txt\tok\ndanach.txt\tok\n");
    EXPECT_EQ(FilesBelow(dir.Folder()), (std::vector<std::string>{"danach.txt", "kurz.txt"}));
}

TEST(ArcToolExtract, ReadOnlyHiddenAndSystemFilesAreOverwrittenWhenAccepted)
{
    ScratchDir dir("arctool-extract");
    const fs::path readme = fs::path(dir.Folder()) / "readme.txt";
    const fs::path data = fs::path(dir.Folder()) / "data.bin";
    std::ofstream(readme) << "alt";
    std::ofstream(data) << "alt";
#ifdef _WIN32
    SetFileAttributesW(readme.wstring().c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(data.wstring().c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
#else
    fs::permissions(readme, fs::perms::owner_read | fs::perms::group_read);
#endif
    const Result r = Extract("level6.zip", dir.Folder());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "readme.txt\tok\ndata.bin\tok\n");
    EXPECT_EQ(fs::file_size(readme), fs::file_size(fs::path(FixtureArg("src/readme.txt"))));
    EXPECT_EQ(fs::file_size(data), fs::file_size(fs::path(FixtureArg("src/data.bin"))));
    EXPECT_EQ(FilesBelow(dir.Folder()), (std::vector<std::string>{"data.bin", "readme.txt"}));
}

}  // namespace
