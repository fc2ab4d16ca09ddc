#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "ArcTestFiles.h"
#include "archive/formats/ArcLister.h"
#include "archive/formats/ArcShared.h"

using namespace velmora::arc;
using namespace arctest;

namespace {

struct Listing {
    std::vector<std::wstring> names;
    std::vector<std::wstring> comments;
    std::vector<int> reports;
    int totals = -1;
    std::uint32_t totalPacked = 0, totalUnpacked = 0;
    std::uint8_t totalRatio = 0;
    std::wstring archiveComment;
};

Listing ListWith(TArcLister& l, const std::wstring& file, const std::wstring& spec = L"*.*") {
    Listing r;
    l.OnError = [&](TArcBase*, const std::wstring&, const std::wstring&, int code) { r.reports.push_back(code); };
    l.OnRead = [&](TArcBase*, int n) {
        EXPECT_EQ(n, static_cast<int>(r.names.size()) + 1);
        r.names.push_back(l.FileName);
        r.comments.push_back(l.FileComment);
    };
    l.OnTotals = [&](TArcBase*, int n) {
        r.totals = n;
        r.totalPacked = l.PackedSize;
        r.totalUnpacked = l.UnpackedSize;
        r.totalRatio = l.Ratio;
        r.archiveComment = l.ArchiveComment;
    };
    l.SetArchiveFile(file);
    l.SetFileSpec(spec);
    l.Activate();
    return r;
}

// The offset of the ZIP end record.
std::size_t EndRecord(const Bytes& zip) {
    for (std::size_t i = zip.size() - 22; i > 0; --i)
        if (GetU32(&zip[i]) == 0x06054B50) return i;
    return 0;
}

Bytes ReadAll(const std::wstring& file) {
    std::ifstream in(std::filesystem::path(file), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(ArcLister, FileSpecFiltersCountsAndTotals) {
    TArcLister l;
    Listing r = ListWith(l, DataFile("methods.zip"), L"*.TXT");
    EXPECT_EQ(r.names, (std::vector<std::wstring>{L"readme.txt", L"docs\\guide.txt"}));
    EXPECT_EQ(r.totals, 2);
    EXPECT_EQ(r.totalUnpacked, 47u + 3212u);
    EXPECT_EQ(r.totalPacked, 47u + 353u);
    EXPECT_EQ(r.totalRatio, TArcLister::RatioOf(400, 3259));
    // A folder part selects that folder's entries only.
    Listing docs = ListWith(l, DataFile("methods.zip"), L"docs/*.*");
    EXPECT_EQ(docs.names, std::vector<std::wstring>{L"docs\\guide.txt"});
}

TEST(ArcLister, ChecksBeforeListing) {
    TArcLister l;
    l.Activate();  // no archive: nothing happens
    l.SetArchiveFile(DataFile("methods.zip"));
    try {
        l.Activate();
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25164);
        EXPECT_EQ(e.Message(), L"OnRead event not assigned");
    }
}

TEST(ArcLister, RatioRoundsHalfToEven) {
    EXPECT_EQ(TArcLister::RatioOf(0, 100), 0);
    EXPECT_EQ(TArcLister::RatioOf(100, 100), 0);
    EXPECT_EQ(TArcLister::RatioOf(150, 100), 0);
    EXPECT_EQ(TArcLister::RatioOf(25, 100), 75);
    // 0.5 percent rounds to the even neighbour: 12.5 -> 12, 13.5 -> 14.
    EXPECT_EQ(TArcLister::RatioOf(1, 8), 88);
    EXPECT_EQ(TArcLister::RatioOf(27, 200), 86);
    // Nearly nothing saved still shows 1.
    EXPECT_EQ(TArcLister::RatioOf(999, 1000), 1);
    EXPECT_EQ(TArcLister::RatioOf(0xFFFFFFF0u, 0xFFFFFFFFu), 1);
}

TEST(ArcLister, CommentsOfArchivesAndEntries) {
    TArcLister l;
    EXPECT_EQ(ListWith(l, DataFile("comment.zip")).archiveComment, L"An archive comment.");
    EXPECT_EQ(ListWith(l, DataFile("comment.rar")).archiveComment, L"Archive Comment encrypted...");
    EXPECT_EQ(ListWith(l, DataFile("folders.arj")).archiveComment, L"An arj comment.");
    Listing zoo = ListWith(l, DataFile("files.zoo"));
    EXPECT_EQ(zoo.archiveComment, L"A zoo comment.");
    EXPECT_EQ(zoo.comments, (std::vector<std::wstring>{L"An entry comment.", L""}));
}

TEST(ArcLister, ZipEntryCommentIsNotTheExtraField) {
    ScratchDir dir("zipcomment");
    Bytes zip = ReadAll(DataFile("comment.zip"));
    ASSERT_GT(zip.size(), 100u);
    // Rebuild: local entry as it is, then a central header with extra field and comment.
    std::size_t endAt = EndRecord(zip);
    std::uint32_t cd = GetU32(&zip[endAt + 16]);
    ASSERT_EQ(GetU16(&zip[cd + 30]), 0);
    Bytes central(zip.begin() + cd, zip.begin() + cd + 46 + 10);
    Put16(central, 30, 4);
    Put16(central, 32, 7);
    central = Concat(Concat(central, Bin("XXXX")), Text("comment"));
    Bytes end(zip.begin() + static_cast<std::ptrdiff_t>(endAt), zip.begin() + static_cast<std::ptrdiff_t>(endAt) + 22);
    Put32(end, 12, static_cast<std::uint32_t>(central.size()));
    Put16(end, 20, 0);
    Bytes out = Concat(Concat(Bytes(zip.begin(), zip.begin() + cd), central), end);
    TArcLister l;
    Listing r = ListWith(l, dir.Write("c.zip", out));
    ASSERT_EQ(r.names, std::vector<std::wstring>{L"readme.txt"});
    EXPECT_EQ(r.comments[0], L"comment");
}

TEST(ArcLister, ZipCommentLongerThanTheSearchWindow) {
    ScratchDir dir("longcomment");
    Bytes zip = ReadAll(DataFile("comment.zip"));
    std::size_t endAt = EndRecord(zip);
    zip.resize(endAt + 22);
    Put16(zip, endAt + 20, 32746);
    zip.resize(zip.size() + 32746, 'c');
    TArcLister l;
    try {
        ListWith(l, dir.Write("long.zip", zip));
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Code(), 25136);
    }
}

TEST(ArcLister, MissingArjVolumeIsReportedThenRaised) {
    ScratchDir dir("volumes");
    dir.Write("vol.arj", ReadAll(DataFile("vol.arj")));
    dir.Write("vol.a02", ReadAll(DataFile("vol.a02")));
    TArcLister l;
    std::vector<int> codes;
    try {
        Listing r = ListWith(l, dir.Path("vol.arj"));
        FAIL();
    } catch (const E_RAISE& e) {
        EXPECT_EQ(e.Message(), L"File not found");
    }
    // Volume names are formed in upper case; the files on disk are lower case.
    dir.Write("vol.a01", ReadAll(DataFile("vol.a01")));
    Listing r = ListWith(l, dir.Path("vol.arj"));
    EXPECT_EQ(r.names, (std::vector<std::wstring>{L"big.txt", L"readme.txt"}));
    EXPECT_TRUE(r.reports.empty());
}

TEST(ArcLister, ArjVolumeReportsCarryTheVolumeNumber) {
    ScratchDir dir("volreport");
    dir.Write("vol.arj", ReadAll(DataFile("vol.arj")));
    TArcLister l;
    std::vector<std::wstring> volumes;
    std::vector<int> codes;
    l.OnRead = [](TArcBase*, int) {};
    l.OnError = [&](TArcBase*, const std::wstring&, const std::wstring& vol, int code) {
        codes.push_back(code);
        volumes.push_back(vol);
    };
    l.SetArchiveFile(dir.Path("vol.arj"));
    EXPECT_THROW(l.Activate(), E_RAISE);
    EXPECT_EQ(codes, (std::vector<int>{25903, 25132}));
    EXPECT_EQ(volumes, (std::vector<std::wstring>{L"1", L"1"}));
}

TEST(ArcLister, DetectsEveryFixtureType) {
    struct Case {
        const char* fixture;
        TArcType type;
    } cases[] = {
        {"methods.zip", TArcType::ZIP}, {"zipsfx.exe", TArcType::ZipExe}, {"ziprel.exe", TArcType::ZipExe},
        {"zip250.bin", TArcType::Zip250}, {"methods.arj", TArcType::ARJ}, {"arjsfx.exe", TArcType::ArjExe},
        {"methods.arc", TArcType::ARC}, {"oldmethods.arc", TArcType::ARC}, {"arcsfx.exe", TArcType::ArcExe},
        {"arcsfx7717.exe", TArcType::ArcExe}, {"files.pak", TArcType::PAK}, {"paksfx.exe", TArcType::PakExe},
        {"level0.lzh", TArcType::LZH}, {"level2.lzh", TArcType::LZH}, {"files.zoo", TArcType::ZOO},
        {"blocks.rar", TArcType::RAR}, {"rarsfx.exe", TArcType::RarExe}, {"files.bh", TArcType::BH},
        {"bhsfx.exe", TArcType::BHExe}, {"files.ha", TArcType::HA}, {"stored.cab", TArcType::CAB},
        {"www.tar", TArcType::TAR}, {"five.bin", TArcType::FileError}, {"text.txt", TArcType::Unknown},
    };
    for (const auto& c : cases) {
        TArcLister l;
        l.SetArchiveFile(DataFile(c.fixture));
        EXPECT_EQ(l.ArcType(), c.type) << c.fixture << " gave " << static_cast<int>(l.ArcType());
    }
}

TEST(ArcLister, ForeignTypeForAnExtractor) {
    class TUnLHA : public TUnBase {
    public:
        std::wstring ClassName() const override { return L"TUnLHA"; }
    } unlha;
    EXPECT_NO_THROW(unlha.SetArchiveFile(DataFile("level1.lzh")));
    EXPECT_THROW(unlha.SetArchiveFile(DataFile("files.zoo")), E_RAISE);
    EXPECT_EQ(unlha.ArcType(), TArcType::NA);
}
