// arctool extract for the ARJ, LHA, ARC and ZOO readers and arctool unsfx,
// run in-process as the command line runs them.

#include <gtest/gtest.h>

#include <sstream>

#include "ArcTestFiles.h"
#include "ArcTool.h"
#include "ReadersTestFiles.h"
#include "platform/rtl/Strings.h"

using namespace readertest;

namespace {

struct Result {
    int status;
    std::string out, err;
};

Result Tool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = arctool::ArcToolMain(args, out, err);
    return {status, out.str(), err.str()};
}

std::string Name(const std::wstring& name)
{
    return velmora::ToUtf8(name);
}

}  // namespace

TEST(ReadersArcTool, ExtractCoversEveryReaderFormat)
{
    struct Case {
        const char* archive;
        int status;
        const char* out;
    };
    const Case cases[] = {
        {"vol.arj", 0, "text.txt\tok\n"},
        {"arj_garbled.arj", 1, "readme.txt\t25190\n"},
        {"lh1_level1.lzh", 0, "readme.txt\tok\ntext.txt\tok\ndata.bin\tok\nsub/note.txt\tok\n"},
        {"pak10.arc", 0, "CRUSHED.TXT\t25200\nRUNS.TXT\tok\n"},
        {"zoo_special.zoo", 0, "odd.txt\t25200\nreadme.txt\tok\nbadcrc.txt\t25117\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        arctest::ScratchDir scratch("arctool");
        const Result r = Tool({"extract", Name(Archive(c.archive)), Name(WindowsName(scratch.Folder()))});
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
}

TEST(ReadersArcTool, UnsfxWritesThePlainArchiveOrSaysWhyNot)
{
    arctest::ScratchDir scratch("arctool");
    const std::string out = Name(WindowsName(scratch.Path("plain.arj")));
    Result r = Tool({"unsfx", Name(Archive("sfx_arj.exe")), out});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadBytes(scratch.Path("plain.arj")), ArchiveBytes("sfx_arj_expected.arj"));

    r = Tool({"unsfx", Name(Archive("sfx_noend.exe")), Name(WindowsName(scratch.Path("none.zip")))});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "message\twarning\tInvalid Archive.\n");
    EXPECT_FALSE(std::filesystem::exists(scratch.Path("none.zip")));

    EXPECT_EQ(Tool({"unsfx", Name(Archive("sfx_arj.exe"))}).status, 2);
}
