// TZipLib: the argument lists of the nine operations (captured by a fake
// library entry), the callback messages and their events, and the binding's
// own results (240, 180, 430).

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "archive/operations/ZipLib32.h"
#include "platform/rtl/DateTime.h"
#include "platform/ziplib/ZlApi.h"

using namespace velmora;
using namespace velmora::archive;
namespace zl = velmora::zl;

namespace {

using Args = std::vector<std::string>;

// What the fake entry saw, and what it does while "running".
struct Fake {
    Args zipArgs, unzipArgs;
    int result = 0;
    std::function<void(int (__stdcall*)(int, void*, void*), void*)> body;
};
Fake g_fake;

int __stdcall FakeEntry(Args& target, int version, int argc, char** argv, int(__stdcall* cb)(int, void*, void*),
                        void* user)
{
    EXPECT_EQ(version, 100);
    target.assign(argv, argv + argc);
    if (g_fake.body) g_fake.body(cb, user);
    return g_fake.result;
}
int __stdcall FakeZip(int v, int c, char** a, int(__stdcall* cb)(int, void*, void*), void* u)
{
    return FakeEntry(g_fake.zipArgs, v, c, a, cb, u);
}
int __stdcall FakeUnzip(int v, int c, char** a, int(__stdcall* cb)(int, void*, void*), void* u)
{
    return FakeEntry(g_fake.unzipArgs, v, c, a, cb, u);
}

class ZipLibArgs : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_fake = Fake{};
        zip.SetEntries(&FakeZip, &FakeUnzip);
        zip.ZipFileName = L"C:\\a\\b.zip";
    }
    TZipLib zip{nullptr};
};

TEST_F(ZipLibArgs, ConstructionValues)
{
    TZipLib fresh(nullptr);
    EXPECT_EQ(fresh.Compression, 6);
    EXPECT_EQ(fresh.StoredExtensions, L".ZIP;.LZH;.ARC;.ARJ;.ZOO");
    EXPECT_TRUE(fresh.UsePaths);
    EXPECT_TRUE(fresh.UseTempFile);
    EXPECT_EQ(fresh.Overwrite, TZlOverwrite::zowAsk);
    EXPECT_FALSE(fresh.Recurse || fresh.MoveFiles || fresh.MultidiskMode || fresh.ClearDisks);
    fresh.SetEntries(&FakeZip, &FakeUnzip);
    fresh.Add(0);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-6", "-n", ".ZIP;.LZH;.ARC;.ARJ;.ZOO", "-t", "010180", ""}));
}

TEST_F(ZipLibArgs, AddWithEveryOptionInOrder)
{
    zip.Password = L"geheim";
    zip.Compression = 9;
    zip.MoveFiles = zip.IncludeHiddenFiles = zip.IncludeDirectoryEntries = zip.IncludeVolumeLabel = true;
    zip.Recurse = true;
    zip.UseTempFile = false;
    zip.TempPath = L"C:\\tmp";
    zip.ClearDisks = true;
    zip.DateLimit = *TryEncodeDateTime(DateParts{2003, 7, 4, 0, 0, 0, 0});
    zip.FilesToProcess = TStringList{L"C:\\x\\*.txt", L">*.doc", L"<*.bak", L"C:\\Größe.txt"};
    EXPECT_EQ(zip.Add(0), 0);
    EXPECT_EQ(g_fake.zipArgs,
              (Args{"geheim", "-e", "-9", "-m", "-S", "-D", "-$", "-r", "-g", "-b", "C:\\tmp", "-n",
                    ".ZIP;.LZH;.ARC;.ARJ;.ZOO", "-&", "-t", "070403", "C:\\a\\b.zip", "C:\\x\\*.txt",
                    "C:\\Gr\xC3\xB6\xC3\x9F" "e.txt", "-i", "*.doc", "-x", "*.bak"}));
    EXPECT_EQ(zip.FilesToProcess.Count(), 0);
}

TEST_F(ZipLibArgs, FreshenAndUpdateLeaveOutWhatTheyMust)
{
    zip.IncludeHiddenFiles = zip.IncludeDirectoryEntries = zip.IncludeVolumeLabel = true;
    zip.StoredExtensions.clear();
    zip.Add(1);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-f", "-6", "-t", "010180", "C:\\a\\b.zip"}));
    zip.Add(2);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-u", "-6", "-S", "-D", "-t", "010180", "C:\\a\\b.zip"}));
    zip.UsePaths = false;
    zip.Add(2);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-u", "-6", "-S", "-j", "-t", "010180", "C:\\a\\b.zip"}));
}

TEST_F(ZipLibArgs, InclusionsAloneGiveNoList)
{
    zip.FilesToProcess = TStringList{L">*.txt", L"<*.bak"};
    zip.Delete();
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-d", "C:\\a\\b.zip"}));
    zip.TempPath = L"T:\\";
    zip.FilesToProcess = TStringList{L"a.txt", L">*.txt"};
    zip.Delete();
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-d", "-b", "T:\\", "C:\\a\\b.zip", "a.txt", "-i", "*.txt"}));
}

TEST_F(ZipLibArgs, ExtractPassesInclusionMarksAndFolderLast)
{
    zip.FilesToProcess = TStringList{L">x", L"<*.bak", L"docs\\a.txt"};
    zip.ExtractDirectory = L"D:\\ziel";
    zip.Overwrite = TZlOverwrite::zowNever;
    zip.UsePaths = false;
    zip.Extract(1);
    EXPECT_EQ(g_fake.unzipArgs,
              (Args{"", "-f", "-j", "-n", "C:\\a\\b.zip", ">x", "docs\\a.txt", "-x", "*.bak", "-d", "D:\\ziel"}));
    zip.Overwrite = TZlOverwrite::zowAlways;
    zip.UsePaths = true;
    zip.Extract(2);
    EXPECT_EQ(g_fake.unzipArgs, (Args{"", "-u", "-o", "C:\\a\\b.zip", "-d", "D:\\ziel"}));
}

TEST_F(ZipLibArgs, ReadingOperations)
{
    zip.Password = L"pw";
    zip.MultidiskMode = true;
    zip.Test();
    EXPECT_EQ(g_fake.unzipArgs, (Args{"pw", "-!", "-t", "C:\\a\\b.zip"}));
    zip.List();
    EXPECT_EQ(g_fake.unzipArgs, (Args{"pw", "-v", "-!", "C:\\a\\b.zip"}));
    std::wstring comment;
    zip.GetComment(comment);
    EXPECT_EQ(g_fake.unzipArgs, (Args{"", "-z", "C:\\a\\b.zip"}));
    zip.GetFileCount();
    EXPECT_EQ(g_fake.unzipArgs, (Args{"C:\\a\\b.zip"}));
}

TEST_F(ZipLibArgs, WritingOperationsAndMultidisk)
{
    zip.Fix(false);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-F", "C:\\a\\b.zip"}));
    zip.Fix(true);
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-FF", "C:\\a\\b.zip"}));
    zip.UpdateDate();
    EXPECT_EQ(g_fake.zipArgs, (Args{"", "-o", "C:\\a\\b.zip"}));

    zip.MultidiskMode = true;
    g_fake.zipArgs.clear();
    EXPECT_EQ(zip.Delete(), 430);
    EXPECT_EQ(zip.Fix(true), 430);
    EXPECT_EQ(zip.UpdateDate(), 430);
    EXPECT_EQ(zip.Add(1), 430);
    EXPECT_EQ(zip.Extract(2), 430);
    EXPECT_TRUE(g_fake.zipArgs.empty());
    EXPECT_EQ(zip.Add(0), 0);
    EXPECT_EQ(g_fake.zipArgs[2], "-g");
}

TEST_F(ZipLibArgs, ResultLowWordReturnedHighWordKept)
{
    g_fake.result = 0x00070028;
    EXPECT_EQ(zip.Test(), 40);
    EXPECT_EQ(zip.ResultHighWord(), 7);
}

// ---- callback messages ------------------------------------------------------------

struct Block {
    zl::ZlFileStatsBlock b{};
    std::string name, comment;
    Block(std::string n, std::uint16_t date, std::uint16_t time) : name(std::move(n))
    {
        b.name = name.c_str();
        b.dosDate = date;
        b.dosTime = time;
    }
};

TEST_F(ZipLibArgs, StatisticsBlockBecomesTheEventRecord)
{
    Block blk("Gr\xC3\xB6\xC3\x9F" "e.txt", (2001 - 1980) << 9 | 2 << 5 | 3, 0 << 11 | 4 << 5 | 5);
    blk.b.size = 5;
    blk.b.sizeHigh = 1;
    blk.b.packedSize = 7;
    blk.b.packedHigh = 2;
    blk.b.attributes = 0x21;
    blk.b.percent = 42;
    blk.comment = "Notiz";
    blk.b.comment = blk.comment.c_str();
    blk.b.commentLength = 5;
    std::vector<TZlFileStats> seen;
    zip.OnListing = [&](TZipLib*, const TZlFileStats& s) { seen.push_back(s); };
    zip.OnStatus = [&](TZipLib*, const TZlFileStats& s) { seen.push_back(s); };
    g_fake.body = [&](auto cb, void* user) {
        EXPECT_EQ(cb(zl::kMsgListing, &blk.b, user), 0);
        cb(zl::kMsgProgress, &blk.b, user);
    };
    zip.List();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].FileName, L"Größe.txt");
    EXPECT_EQ(seen[0].Size, 0x100000005ull);
    EXPECT_EQ(seen[0].CompressedSize, 0x200000007ull);
    EXPECT_EQ(seen[0].Attributes, zaReadOnly | zaArchive);
    EXPECT_EQ(seen[0].Comment, L"Notiz");
    EXPECT_EQ(seen[1].Bytes[1], 42);
    const DateParts d = DecodeDateTime(seen[0].DateTime);
    EXPECT_EQ((std::vector<int>{d.year, d.month, d.day, d.hour, d.minute, d.second}),
              (std::vector<int>{2001, 2, 3, 0, 4, 10}));
}

TEST(ZlDosDateTime, ImpossibleDatesGiveNewYear1980)
{
    const TDateTime newYear = *TryEncodeDateTime(DateParts{1980, 1, 1, 0, 0, 0, 0});
    EXPECT_EQ(ZlDosDateTime((10 << 9) | (13 << 5) | 1, 0), newYear);  // month 13
    EXPECT_EQ(ZlDosDateTime((10 << 9) | (2 << 5) | 31, 0), newYear);  // 31 February
    EXPECT_EQ(ZlDosDateTime((10 << 9) | (1 << 5) | 1, 24 << 11), newYear);
    EXPECT_NE(ZlDosDateTime((10 << 9) | (1 << 5) | 1, 0), newYear);
}

TEST_F(ZipLibArgs, CommentAndCountAreClearedAndCut)
{
    std::string longText(300, 'k');
    g_fake.body = [&](auto cb, void* user) {
        zl::ZlCommentData c{longText.c_str(), 300};
        cb(zl::kMsgComment, &c, user);
        std::int32_t count = 12;
        cb(zl::kMsgCount, &count, user);
    };
    std::wstring comment;
    EXPECT_EQ(zip.GetComment(comment), 0);
    EXPECT_EQ(comment, std::wstring(255, L'k'));
    EXPECT_EQ(zip.GetFileCount(), 12);
    g_fake.body = nullptr;
    EXPECT_EQ(zip.GetComment(comment), 0);
    EXPECT_EQ(comment, L"");
    EXPECT_EQ(zip.GetFileCount(), 0);
    g_fake.result = 100;
    EXPECT_EQ(zip.GetComment(comment), 100);
    EXPECT_EQ(comment, L"Error #100");
}

TEST_F(ZipLibArgs, PresetPasswordAnswersWithoutEvent)
{
    int asked = 0;
    zip.OnPwdQuery = [&](TZipLib*, TZlPwdQuery& q) {
        ++asked;
        q.Password = std::wstring(100, L'p');
        q.Answer = 2;
    };
    zl::ZlPasswordData q{};
    g_fake.body = [&](auto cb, void* user) {
        q = zl::ZlPasswordData{};
        q.name = "a.txt";
        cb(zl::kMsgPassword, &q, user);
    };
    zip.Password = L"geheim";
    zip.Test();
    EXPECT_EQ(asked, 0);
    EXPECT_STREQ(q.password, "geheim");
    EXPECT_EQ(q.answer, 2);
    zip.Password.clear();
    zip.Test();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(std::string(q.password), std::string(80, 'p'));
}

TEST_F(ZipLibArgs, QuestionsAndNamedEvents)
{
    std::vector<std::wstring> log;
    zip.OnReplace = [&](TZipLib*, TZlReplace& r) {
        log.push_back(L"replace " + r.FileName);
        r.NewName = L"C:\\neu.txt";
        r.Answer = 2;
    };
    zip.OnDeleting = [&](TZipLib*, const std::wstring& n) { log.push_back(L"delete " + n); };
    zip.OnFixing = [&](TZipLib*, const std::wstring& n) { log.push_back(L"fix " + n); };
    zip.OnSkippingFile = [&](TZipLib*, const TZlSkipping& s) {
        log.push_back(L"skip " + s.FileName + L" " + std::to_wstring(s.Reason));
    };
    zip.OnNewdisk = [&](TZipLib*, int disk) { log.push_back(L"disk " + std::to_wstring(disk)); };
    zl::ZlReplaceData r{};
    g_fake.body = [&](auto cb, void* user) {
        r.name = "C:\\alt.txt";
        cb(zl::kMsgReplace, &r, user);
        cb(zl::kMsgDeleting, const_cast<char*>("x.txt"), user);
        cb(zl::kMsgFixing, const_cast<char*>("y.txt"), user);
        zl::ZlSkippingData s{"z.txt", 5};
        cb(zl::kMsgSkipping, &s, user);
        std::int32_t disk = 2;
        cb(zl::kMsgNewDisk, &disk, user);
    };
    zip.Extract(0);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"replace C:\\alt.txt", L"delete x.txt", L"fix y.txt", L"skip z.txt 5",
                                              L"disk 2"}));
    EXPECT_STREQ(r.newName, "C:\\neu.txt");
    EXPECT_EQ(r.answer, 2);
}

TEST_F(ZipLibArgs, AbortFlagStopsAndIsClearedAfterTheCall)
{
    std::vector<int> answers;
    zip.OnTesting = [&](TZipLib* z, const TZlFileStats&) { z->Abort = true; };
    Block blk("a", 0, 0);
    g_fake.body = [&](auto cb, void* user) {
        answers.push_back(cb(zl::kMsgCount, &blk.b.size, user));
        answers.push_back(cb(zl::kMsgTesting, &blk.b, user));
        answers.push_back(cb(zl::kMsgCount, &blk.b.size, user));
    };
    zip.Test();
    EXPECT_EQ(answers, (std::vector<int>{0, 1, 1}));
    EXPECT_FALSE(zip.Abort);
}

TEST_F(ZipLibArgs, NestedCallGives180WithoutCallingTheLibrary)
{
    int inner = -1;
    int calls = 0;
    Block blk("a", 0, 0);
    zip.OnListing = [&](TZipLib* z, const TZlFileStats&) {
        z->FilesToProcess.Add(L"x");
        inner = z->Delete();
    };
    g_fake.body = [&](auto cb, void* user) {
        ++calls;
        cb(zl::kMsgListing, &blk.b, user);
    };
    zip.List();
    EXPECT_EQ(inner, 180);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(g_fake.zipArgs.empty());
}

}  // namespace
