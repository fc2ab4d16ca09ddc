// Extraction of every reader fixture: byte-identical output, dates, the event
// order of each format and the codes of damaged or unsupported entries.

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>

#include "ArcTestFiles.h"
#include "ReadersTestFiles.h"
#include "archive/formats/UnARC.h"
#include "archive/formats/UnARJ.h"
#include "archive/formats/UnLHA.h"
#include "archive/formats/UnZoo.h"

using namespace velmora::arc;
using namespace readertest;

namespace {

struct Entry {
    std::string target;  // relative to the extraction folder
    std::string input;   // the input file it must equal
};

struct Case {
    const char* archive;
    std::vector<Entry> entries;
};

std::unique_ptr<TUnBase> ReaderFor(const std::string& archive)
{
    const std::string ext = archive.substr(archive.rfind('.'));
    if (archive == "sfx_arc.exe")
        return std::make_unique<TUnARC>();
    if (ext == ".arj" || ext == ".exe")
        return std::make_unique<TUnARJ>();
    if (ext == ".lzh")
        return std::make_unique<TUnLHA>();
    if (ext == ".zoo")
        return std::make_unique<TUnZOO>();
    return std::make_unique<TUnARC>();
}

// The year, month, day, hour and minute of a file's modification time, local.
std::string LocalStamp(const std::filesystem::path& path)
{
    const auto written = std::filesystem::last_write_time(path);
    const auto system = std::chrono::file_clock::to_sys(written);
    const std::time_t t = std::chrono::system_clock::to_time_t(system);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&t));
    return text;
}

class Extraction {
public:
    explicit Extraction(const std::string& archive, const std::wstring& spec = L"*.*")
        : scratch("readers"), log(scratch.Folder()), reader(ReaderFor(archive))
    {
        log.Attach(*reader);
        reader->SetArchiveFile(Archive(archive));
        reader->SetFileSpec(spec);
        reader->SetExtractDir(scratch.Folder());
        reader->SetUseStoredDirs(true);
    }

    // The code Extract raised, or 0.
    int Run()
    {
        try {
            reader->Extract();
        } catch (const E_RAISE& e) {
            return e.Code();
        } catch (const velmora::Exception& e) {
            return ErrorCodeOf(e);
        }
        return 0;
    }

    std::filesystem::path Out(const std::string& name) const { return scratch.Path(name); }
    Bytes Read(const std::string& name) const { return ReadBytes(Out(name)); }

    arctest::ScratchDir scratch;
    EventLog log;
    std::unique_ptr<TUnBase> reader;
};

const std::vector<Entry> kAll = {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"},
                                 {"data.bin", "data.bin"},     {"empty.txt", "empty.txt"},
                                 {"tiny.txt", "tiny.txt"}};

const std::vector<Case> kCases = {
    {"arj_m0.arj", {{"readme.txt", "readme.txt"}, {"data.bin", "data.bin"}, {"empty.txt", "empty.txt"},
                    {"tiny.txt", "tiny.txt"}}},
    {"arj_m1.arj", kAll},
    {"arj_m2.arj", kAll},
    {"arj_m3.arj", kAll},
    {"arj_m4.arj", kAll},
    {"arj_dirs.arj", {{"sub/note.txt", "sub/note.txt"}, {"readme.txt", "readme.txt"}}},
    {"sfx_arj.exe", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"tiny.txt", "tiny.txt"}}},
    {"sfx_arjbig.exe", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"tiny.txt", "tiny.txt"}}},
    {"vol.arj", {{"text.txt", "text.txt"}}},
    {"lh0_level0.lzh", {{"readme.txt", "readme.txt"}, {"data.bin", "data.bin"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh0_level1.lzh", {{"readme.txt", "readme.txt"}, {"data.bin", "data.bin"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh0_level2.lzh", {{"readme.txt", "readme.txt"}, {"data.bin", "data.bin"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh5_level0.lzh", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                        {"empty.txt", "empty.txt"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh5_level1.lzh", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                        {"empty.txt", "empty.txt"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh5_level2.lzh", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                        {"empty.txt", "empty.txt"}, {"sub/note.txt", "sub/note.txt"}}},
    {"lh1_level0.lzh", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                        {"sub/note.txt", "sub/note.txt"}}},
    {"lh1_level1.lzh", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                        {"sub/note.txt", "sub/note.txt"}}},
    {"lh4.lzh", {{"readme.txt", "readme.txt"}, {"sub/note.txt", "sub/note.txt"}}},
    {"arcmix.arc", {{"data.bin", "data.bin"}, {"empty.txt", "empty.txt"}, {"readme.txt", "readme.txt"},
                    {"text.txt", "text.txt"}, {"tiny.txt", "tiny.txt"}}},
    {"arcsqsh.arc", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}}},
    {"arcsqz.arc", {{"runs.txt", "runs.txt"}, {"squeeze.bin", "squeeze.bin"}}},
    {"old1.arc", {{"README.TXT", "readme.txt"}, {"RUNS.TXT", "runs.txt"}}},
    {"crunch5.arc", {{"README.TXT", "readme.txt"}, {"DATA.BIN", "data.bin"}}},
    {"crunch6.arc", {{"README.TXT", "readme.txt"}, {"RUNS.TXT", "runs.txt"}, {"DATA.BIN", "data.bin"}}},
    {"crunch7.arc", {{"README.TXT", "readme.txt"}, {"RUNS.TXT", "runs.txt"}, {"DATA.BIN", "data.bin"}}},
    {"junk3.arc", {{"README.TXT", "readme.txt"}, {"RUNS.TXT", "runs.txt"}}},
    {"sfx_arc.exe", {{"data.bin", "data.bin"}, {"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}}},
    {"zoo_methods.zoo", {{"readme.txt", "readme.txt"}, {"text.txt", "text.txt"}, {"data.bin", "data.bin"},
                         {"runs.txt", "runs.txt"}, {"empty.txt", "empty.txt"}, {"text2.txt", "text.txt"},
                         {"data2.bin", "data.bin"}}},
};

}  // namespace

TEST(ReadersExtract, EveryFixtureExtractsByteIdenticalWithItsDate)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.archive);
        const std::string archive = c.archive;
        Extraction x(archive);
        ASSERT_EQ(x.Run(), 0);
        for (const Entry& e : c.entries) {
            SCOPED_TRACE(e.target);
            ASSERT_TRUE(std::filesystem::exists(x.Out(e.target)));
            EXPECT_EQ(x.Read(e.target), Input(e.input));
            const bool keepsExtractionTime = archive.ends_with(".lzh");
            EXPECT_EQ(LocalStamp(x.Out(e.target)) == "1997-06-15 12:34", !keepsExtractionTime);
        }
        for (const auto& line : x.log.lines)
            EXPECT_EQ(line.find(" crc"), std::string::npos) << line;
    }
}
