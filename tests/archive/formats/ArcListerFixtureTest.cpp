// Every fixture listed through arctool's list command, in-process: the lines are
// what the packer's own listing shows for the archive.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ArcTestFiles.h"
#include "ArcTool.h"
#include "archive/formats/ArcShared.h"
#include "platform/rtl/Strings.h"

using namespace arctest;

namespace {

struct ToolRun {
    int status = -1;
    std::vector<std::string> out, err;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

ToolRun List(const std::wstring& file) {
    velmora::arc::SetTimeZoneBias(0);
    std::ostringstream out, err;
    ToolRun r;
    r.status = arctool::ArcToolMain({"list", velmora::ToUtf8(file)}, out, err);
    r.out = Lines(out.str());
    r.err = Lines(err.str());
    return r;
}

ToolRun ListFixture(const std::string& name) { return List(DataFile(name)); }

// "*" as a whole field matches any value (the HA date is the time of listing).
bool SameLine(const std::string& expected, const std::string& actual) {
    auto e = velmora::SplitString(velmora::FromUtf8(expected), L"\t");
    auto a = velmora::SplitString(velmora::FromUtf8(actual), L"\t");
    if (e.size() != a.size()) return false;
    for (size_t i = 0; i < e.size(); ++i)
        if (e[i] != L"*" && e[i] != a[i]) return false;
    return true;
}

void ExpectListing(const std::string& fixture, const std::vector<std::string>& lines, const std::string& total) {
    ToolRun r = ListFixture(fixture);
    EXPECT_EQ(r.status, 0) << fixture;
    ASSERT_EQ(r.out.size(), lines.size()) << fixture;
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(SameLine(lines[i], r.out[i])) << fixture << ": " << r.out[i];
    ASSERT_FALSE(r.err.empty()) << fixture;
    EXPECT_EQ(r.err.back(), total) << fixture;
}

const std::vector<std::string> kZipMethods = {
    "readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile",
    "data.bin\t5000\t488\t6d24be3b\tDeflateX\t2023-11-02 08:00:00\tfile",
    "runs.dat\t9574\t432\t30b07ef9\tDeflateF\t2022-01-31 23:59:58\tfile",
    "docs/\t0\t0\t00000000\tStored\t2021-07-04 12:35:00\tdir",
    "docs/guide.txt\t3212\t353\t9d50d834\tDeflateN\t2021-07-04 12:34:56\tfile",
};

const std::vector<std::string> kArjMethods = {
    "readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile",
    "data.bin\t5000\t497\t6d24be3b\tMost\t2023-11-02 08:00:00\tfile",
    "runs.dat\t9574\t750\t30b07ef9\tFastest\t2022-01-31 23:59:58\tfile",
    "docs/guide.txt\t3212\t356\t9d50d834\t2nd Most\t2021-07-04 12:34:56\tfile",
};

const std::vector<std::string> kArcMethods = {
    "big.txt\t128509\t17352\t3c93\tCrunched\t2020-02-29 06:07:08\tfile",
    "data.bin\t5000\t1933\tbb7d\tCrunched\t2023-11-02 08:00:00\tfile",
    "readme.txt\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile",
    "runs.dat\t9574\t511\t5db6\tCrunched\t2022-01-31 23:59:58\tfile",
};

const std::vector<std::string> kLha = {
    "readme.txt\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile",
    "docs/guide.txt\t3212\t356\tec9b\tFrozen-5\t2021-07-04 12:34:56\tfile",
    "data.bin\t5000\t5000\tbb7d\tStored\t2023-11-02 08:00:00\tfile",
};

const std::vector<std::string> kRar = {
    "readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile",
    "docs\t0\t0\t00000000\tStored\t2021-07-04 12:34:56\tdir",
    "docs/guide.txt\t3212\t3212\t9d50d834\tStored\t2021-07-04 12:34:56\tfile",
    "hdronly-best.bin\t4000\t40\t12345678\tBest\t1999-12-31 23:59:58\tfile",
};

const std::vector<std::string> kBH = {
    "readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile",
    "DOCS/GUIDE.TXT\t3212\t3212\t9d50d834\tStored\t2021-07-04 12:34:56\tfile",
    "HDRONLY.FUS\t900\t60\tcafebabe\tFused\t1999-12-31 23:59:58\tfile",
};

const std::vector<std::string> kPak = {
    "HDRONLY.CRU\t300\t20\tae23\tCrushed\t2024-03-15 10:20:30\tfile",
    "HDRONLY.DIS\t400\t21\t8b5a\tDistill\t2021-07-04 12:34:56\tfile",
    "README.TXT\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile",
};

}  // namespace

TEST(ListFixtures, ZipFamily) {
    ExpectListing("methods.zip", kZipMethods, "total\t5\t17833\t1320\t93");
    ExpectListing("zipsfx.exe", kZipMethods, "total\t5\t17833\t1320\t93");
    ExpectListing("ziprel.exe",
                  {"readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile",
                   "docs/guide.txt\t3212\t353\t9d50d834\tDeflateN\t2021-07-04 12:34:56\tfile"},
                  "total\t2\t3259\t400\t88");
    ExpectListing("comment.zip", {"readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile"},
                  "total\t1\t47\t47\t0");
    // Only folders: they are listed, not refused.
    ExpectListing("folders.zip",
                  {"only/\t0\t0\t00000000\tStored\t2024-01-01 00:00:00\tdir",
                   "only/one/\t0\t0\t00000000\tStored\t2024-01-01 00:00:00\tdir",
                   "only/two/\t0\t0\t00000000\tStored\t2024-01-01 00:00:00\tdir"},
                  "total\t3\t0\t0\t0");
}

// A level-2 header whose size is a multiple of 256 has a 0 in its first byte.
TEST(ListFixtures, LhaLevelTwoHeaderOf256Bytes) {
    ToolRun r = ListFixture("level2-256.lzh");
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.out.size(), 2u);
    EXPECT_EQ(r.out[0].substr(0, 13), "lang.txt\t184\t");
    EXPECT_EQ(r.out[1].substr(0, 12), "kurz.txt\t21\t");
}

TEST(ListFixtures, ArjPlainStubVolumesAndFolders) {
    ExpectListing("methods.arj", kArjMethods, "total\t4\t17833\t1650\t91");
    ExpectListing("arjsfx.exe", kArjMethods, "total\t4\t17833\t1650\t91");
    // The entry continued over three volumes is listed once, its sizes summed.
    ExpectListing("vol.arj",
                  {"big.txt\t128509\t128509\t94caccc0\tStored\t2020-02-29 06:07:08\tfile",
                   "readme.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile"},
                  "total\t2\t128556\t128556\t0");
    ExpectListing("folders.arj",
                  {"VOLUMELABEL\t0\t0\t00000000\tStored\t2024-03-15 10:20:30\tfile",
                   "DOCS\t0\t0\t00000000\tStored\t2021-07-04 12:34:56\tdir",
                   "DOCS/GUIDE.TXT\t3212\t3212\t9d50d834\tStored\t2021-07-04 12:34:56\tfile",
                   "README.TXT\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile"},
                  "total\t4\t3259\t3259\t0");
}

TEST(ListFixtures, ArcAndPak) {
    ExpectListing("methods.arc", kArcMethods, "total\t4\t143130\t19843\t86");
    ExpectListing("arcsfx.exe", kArcMethods, "total\t4\t143130\t19843\t86");
    ExpectListing("squash.arc", {"big.txt\t128509\t15126\t3c93\tSquashed\t2020-02-29 06:07:08\tfile"},
                  "total\t1\t128509\t15126\t88");
    // A method-1 entry has the short header: the entries behind it are found.
    ExpectListing("oldmethods.arc",
                  {"README.TXT\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile",
                   "HDRONLY5.DAT\t500\t30\t581c\tcrunched\t2021-07-04 12:34:56\tfile",
                   "HDRONLY6.DAT\t600\t31\te7e4\tcrunched\t2021-07-04 12:34:56\tfile",
                   "HDRONLY7.DAT\t700\t32\t201a\tcrunched\t1999-12-31 23:59:58\tfile",
                   "GUIDE.TXT\t3212\t3212\tec9b\tStored\t2021-07-04 12:34:56\tfile"},
                  "total\t5\t5059\t3352\t34");
    ExpectListing("arcsfx7717.exe", {"README.TXT\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile"},
                  "total\t1\t47\t47\t0");
    ExpectListing("files.pak", kPak, "total\t3\t747\t88\t88");
    ExpectListing("paksfx.exe", kPak, "total\t3\t747\t88\t88");
}

TEST(ListFixtures, LhaLevelsZeroToTwo) {
    for (const char* f : {"level0.lzh", "level1.lzh", "level2.lzh"}) ExpectListing(f, kLha, "total\t3\t8259\t5403\t35");
}

TEST(ListFixtures, ZooRarBhHa) {
    ExpectListing("files.zoo",
                  {"readme.txt\t47\t47\tee6d\tStored\t2024-03-15 10:20:30\tfile",
                   "guide.txt\t3212\t356\tec9b\tGreatest\t2021-07-04 12:34:56\tfile"},
                  "total\t2\t3259\t403\t88");
    ExpectListing("blocks.rar", kRar, "total\t4\t7259\t3299\t55");
    ExpectListing("rarsfx.exe", kRar, "total\t4\t7259\t3299\t55");
    // The Unicode form behind the first NUL is not part of the name.
    ExpectListing("unicode.rar", {"umlaut.txt\t47\t47\t5d92017c\tStored\t2024-03-15 10:20:30\tfile"},
                  "total\t1\t47\t47\t0");
    ExpectListing("files.bh", kBH, "total\t3\t4159\t3319\t20");
    ExpectListing("bhsfx.exe", kBH, "total\t3\t4159\t3319\t20");
    ExpectListing("files.ha",
                  {"readme.txt\t47\t47\t5d92017c\tCpy\t*\tfile", "docs\t0\t0\t00000000\tDir\t*\tdir",
                   "guide.txt\t3212\t3212\t9d50d834\tCpy\t*\tfile"},
                  "total\t3\t3259\t3259\t0");
}

TEST(ListFixtures, CabinetsAndTar) {
    ExpectListing("stored.cab",
                  {"readme.txt\t47\t47\t-\tStored\t2024-03-15 10:20:30\tfile",
                   "data.bin\t5000\t5000\t-\tStored\t2023-11-02 08:00:00\tfile"},
                  "total\t2\t5047\t5047\t0");
    ExpectListing("mszip.cab",
                  {"readme.txt\t47\t47\t-\tMSZIP\t2024-03-15 10:20:30\tfile",
                   "docs/guide.txt\t3212\t3212\t-\tMSZIP\t2021-07-04 12:34:56\tfile"},
                  "total\t2\t3259\t3259\t0");
    // A file that spans both cabinets of the set is listed once.
    ExpectListing("set1.cab",
                  {"readme.txt\t47\t47\t-\tMSZIP\t2024-03-15 10:20:30\tfile",
                   "big.txt\t128509\t128509\t-\tMSZIP\t1999-12-31 23:59:58\tfile",
                   "docs/guide.txt\t3212\t3212\t-\tMSZIP\t2021-07-04 12:34:56\tfile"},
                  "total\t3\t131768\t131768\t0");
    // Folders (type 5) are left out and do not end the listing.
    ExpectListing("www.tar",
                  {"www.index.txt\t47\t47\t-\tStored\t2024-03-15 10:20:30\tfile",
                   "docs/guide.txt\t3212\t3212\t-\tStored\t2021-07-04 12:34:56\tfile"},
                  "total\t2\t3259\t3259\t0");
}

TEST(ListFixtures, CabinetSetsThatLoopOrBreak) {
    ToolRun loop = ListFixture("loop1.cab");
    EXPECT_EQ(loop.status, 0);
    EXPECT_EQ(loop.out.size(), 2u);
    EXPECT_EQ(loop.err, (std::vector<std::string>{"report\t25904\tCabinet does not belong with this set",
                                                  "total\t2\t30\t30\t0"}));
    ToolRun lonely = ListFixture("lonely.cab");
    EXPECT_EQ(lonely.status, 1);
    EXPECT_EQ(lonely.out.size(), 1u);
    EXPECT_EQ(lonely.err, (std::vector<std::string>{"report\t25903\tNext volume in set", "error\t25132\tFile not found"}));
    ToolRun bad = ListFixture("badhead.cab");
    EXPECT_EQ(bad.status, 0);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_EQ(bad.err, (std::vector<std::string>{"report\t25108\tBad file header", "total\t0\t0\t0\t0"}));
}

TEST(ListFixtures, FailuresExitOneWithCodeAndText) {
    struct Case {
        const char* fixture;
        const char* error;
    } cases[] = {
        {"cut.zip", "error\t25136\tError in archive"},
        {"text.txt", "error\t25202\tUnknown file type"},
        {"five.bin", "error\t25136\tError in archive"},
        {"rar5.rar", "error\t25204\tUnsupported version"},
        {"no-such-file.zip", "error\t25132\tFile not found"},
    };
    for (const auto& c : cases) {
        ToolRun r = ListFixture(c.fixture);
        EXPECT_EQ(r.status, 1) << c.fixture;
        EXPECT_TRUE(r.out.empty()) << c.fixture;
        EXPECT_EQ(r.err, std::vector<std::string>{c.error}) << c.fixture;
    }
}

TEST(ListFixtures, HostileChainsEnd) {
    ToolRun loop = ListFixture("selfloop.zoo");
    EXPECT_EQ(loop.status, 0);
    EXPECT_EQ(loop.out.size(), 1u);
    ToolRun huge = ListFixture("hugesize.lzh");
    EXPECT_EQ(huge.status, 0);
    EXPECT_EQ(huge.out, std::vector<std::string>{"readme.txt\t47\t4294967280\tee6d\tStored\t2024-03-15 10:20:30\tfile"});
}

TEST(ArcTool, UsageErrorsExitTwo) {
    std::ostringstream out, err;
    EXPECT_EQ(arctool::ArcToolMain({}, out, err), 2);
    EXPECT_EQ(arctool::ArcToolMain({"list"}, out, err), 2);
    EXPECT_EQ(arctool::ArcToolMain({"list", "a", "b"}, out, err), 2);
    EXPECT_EQ(arctool::ArcToolMain({"frobnicate", "a"}, out, err), 2);
    EXPECT_NE(err.str().find("arctool list ARCHIVE"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST(ArcTool, NamesArePrintedByteForByte) {
    EXPECT_EQ(arctool::PrintableName(L"docs\\a b%.txt"), "docs/a b%25.txt");
    EXPECT_EQ(arctool::PrintableName(std::wstring(L"x\x01\x7F\xE4\xFF", 5)), "x%01%7F%E4%FF");
}
