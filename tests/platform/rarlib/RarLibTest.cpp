#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/rarlib/RarLib.h"
#include "platform/rarlib/RarReader.h"

namespace fs = std::filesystem;

namespace {

std::string Fixture(const std::string& name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/data/archive/" + name; }

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned Dos(int y, int mo, int d, int h, int mi, int s) {
    return static_cast<unsigned>(y - 1980) << 25 | mo << 21 | d << 16 | h << 11 | mi << 5 | s / 2;
}

// RAR 5 keeps Unix times; the calls give them as local DOS times.
unsigned LocalDos(std::time_t t) {
    std::tm tm = *std::localtime(&t);
    return Dos(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
}

const unsigned kT1 = Dos(2024, 3, 15, 10, 20, 30);
const unsigned kT2 = Dos(2021, 7, 4, 12, 34, 56);
const unsigned kT3 = Dos(1999, 12, 31, 23, 59, 58);

std::string StoredText() {
    std::string s;
    for (int i = 0; i < 40; ++i) s += "Gespeichert, nicht gepackt.\r\n";
    return s;
}

struct Listed {
    std::string name;
    unsigned flags, packSize, packHigh, unpSize, unpHigh, time, attr, method;
    std::string comment;
};

struct Listing {
    unsigned openResult = 0;
    unsigned flags = 0;
    unsigned commentState = 0;
    std::string comment;
    std::vector<Listed> entries;
    int lastRead = 0;
};

Listing List(const std::string& archive) {
    Listing out;
    std::vector<char> cmt(16384);
    RAROpenArchiveData open{archive.c_str(), RarOpenList, 99, cmt.data(), 16384, 0, 0, 0};
    void* h = RAROpenArchive(&open);
    out.openResult = open.OpenResult;
    if (!h) return out;
    out.flags = open.Flags;
    out.commentState = open.CmtState;
    if (open.CmtState == 1) out.comment = cmt.data();
    RARHeaderData hd{};
    std::vector<char> entryCmt(16384);
    for (;;) {
        hd.CmtBuf = entryCmt.data();
        hd.CmtBufSize = 16384;
        out.lastRead = RARReadHeader(h, &hd);
        if (out.lastRead != 0) break;
        out.entries.push_back({hd.FileName, hd.Flags, hd.PackSize, hd.PackSizeHigh, hd.UnpSize, hd.UnpSizeHigh,
                               hd.FileTime, hd.FileAttr, hd.Method, hd.CmtState == 1 ? entryCmt.data() : ""});
        EXPECT_EQ(RARProcessFile(h, RarSkip, nullptr, nullptr), 0);
    }
    EXPECT_EQ(RARCloseArchive(h), 0);
    return out;
}

std::vector<std::string> Names(const Listing& l) {
    std::vector<std::string> names;
    for (const auto& e : l.entries) names.push_back(e.name);
    return names;
}

// Runs one operation over every entry; gives each entry's result by name.
std::vector<std::pair<std::string, int>> ProcessAll(const std::string& archive, int op, const std::string& dest) {
    std::vector<std::pair<std::string, int>> results;
    RAROpenArchiveData open{archive.c_str(), RarOpenExtract, 99, nullptr, 0, 0, 0, 0};
    void* h = RAROpenArchive(&open);
    EXPECT_EQ(open.OpenResult, 0u);
    if (!h) return results;
    RARHeaderData hd{};
    while (RARReadHeader(h, &hd) == 0) results.emplace_back(hd.FileName, RARProcessFile(h, op, dest.c_str(), nullptr));
    RARCloseArchive(h);
    return results;
}

// Of the fixtures' entries only the stored, unencrypted ones can be tested or
// extracted.
int ExpectedResult(const std::string& name) {
    if (name.rfind("hdronly", 0) == 0) return RarUnknownFormat;
    return name == "locked.txt" ? static_cast<int>(RarBadData) : 0;
}

class RarLibFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("velmora-rarlib-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::vector<std::string> FilesBelow() const {
        std::vector<std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(m_dir))
            files.push_back(fs::relative(e.path(), m_dir).generic_string());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path m_dir;
};

}  // namespace

TEST(RarLib, Rar4ListsNamesSizesTimesFlagsAndComments) {
    Listing l = List(Fixture("stored4.rar"));
    ASSERT_EQ(l.openResult, 0u);
    EXPECT_EQ(l.commentState, 1u);
    EXPECT_EQ(l.comment, "Kommentar des Archivs");
    EXPECT_TRUE(l.flags & RarArcComment);
    EXPECT_FALSE(l.flags & RarArcVersion5);
    EXPECT_EQ(l.lastRead, RarEndArchive);
    ASSERT_EQ(Names(l), (std::vector<std::string>{"docs", "docs\\guide.txt", "stored.txt", "noted.txt",
                                                  "hdronly-best.bin", "locked.txt", "hdronly-huge.bin"}));
    const auto& docs = l.entries[0];
    EXPECT_EQ(docs.flags & RarEntryFolder, RarEntryFolder);
    EXPECT_EQ(docs.attr, 0x10u);
    EXPECT_EQ(docs.time, kT2);
    const auto& stored = l.entries[2];
    EXPECT_EQ(stored.unpSize, StoredText().size());
    EXPECT_EQ(stored.packSize, StoredText().size());
    EXPECT_EQ(stored.time, kT3);
    EXPECT_EQ(stored.method, 0x30u);
    EXPECT_EQ(l.entries[3].comment, "Dateikommentar");
    EXPECT_TRUE(l.entries[3].flags & RarEntryComment);
    EXPECT_EQ(l.entries[4].unpSize, 4000u);
    EXPECT_EQ(l.entries[4].packSize, 40u);
    EXPECT_EQ(l.entries[4].method, 0x35u);
    EXPECT_EQ(l.entries[4].time, kT1);
    EXPECT_TRUE(l.entries[5].flags & RarEntryEncrypted);
    const auto& huge = l.entries[6];
    EXPECT_EQ(huge.unpSize, 0x10u);
    EXPECT_EQ(huge.unpHigh, 1u);
    EXPECT_EQ(huge.packSize, 16u);
    EXPECT_EQ(huge.packHigh, 0u);
}

TEST(RarLib, Rar5ListsNamesSizesTimesFlagsAndComments) {
    Listing l = List(Fixture("stored5.rar"));
    ASSERT_EQ(l.openResult, 0u);
    EXPECT_EQ(l.commentState, 1u);
#ifdef _WIN32
    EXPECT_EQ(l.comment, "Kommentar f\xFCr RAR 5");  // UTF-8 in the archive, ANSI for the caller
#else
    EXPECT_EQ(l.comment, "Kommentar f\xC3\xBCr RAR 5");
#endif
    EXPECT_TRUE(l.flags & RarArcVersion5);
    EXPECT_EQ(l.lastRead, RarEndArchive);
    // "cut.txt" is stored with a NUL and more behind it.
    ASSERT_EQ(Names(l), (std::vector<std::string>{"docs", "docs/guide.txt", "stored.txt", "cut.txt",
                                                  "hdronly-best.bin", "locked.txt"}));
    EXPECT_EQ(l.entries[0].flags & RarEntryFolder, RarEntryFolder);
    EXPECT_EQ(l.entries[0].attr, 0x10u);
    EXPECT_EQ(l.entries[0].time, LocalDos(1625402096));
    EXPECT_EQ(l.entries[2].time, LocalDos(1710498030));
    EXPECT_EQ(l.entries[2].unpSize, StoredText().size());
    EXPECT_EQ(l.entries[2].method, 0x30u);
    EXPECT_EQ(l.entries[2].attr, 0x20u);
    const auto& best = l.entries[4];
    EXPECT_EQ(best.method, 0x35u);
    EXPECT_EQ(best.packSize, 40u);
    EXPECT_EQ(best.unpSize, 0x80000000u);  // 6 GiB
    EXPECT_EQ(best.unpHigh, 1u);
    EXPECT_TRUE(l.entries[5].flags & RarEntryEncrypted);
}

TEST(RarLib, TheOldCommentInsideTheMainHeaderIsRead) {
    Listing l = List(Fixture("oldcomment.rar"));
    ASSERT_EQ(l.openResult, 0u);
    EXPECT_EQ(l.commentState, 1u);
    EXPECT_EQ(l.comment, "Alter Kommentar");
    EXPECT_EQ(Names(l), std::vector<std::string>{"readme.txt"});
}

TEST(RarLib, ProgramStubsArePassedOver) {
    for (const auto& [plain, sfx] : {std::pair{"stored4.rar", "stored4sfx.exe"}, std::pair{"stored5.rar", "stored5sfx.exe"},
                                     std::pair{"blocks.rar", "rarsfx.exe"}}) {
        SCOPED_TRACE(sfx);
        Listing a = List(Fixture(plain)), b = List(Fixture(sfx));
        ASSERT_EQ(b.openResult, 0u);
        EXPECT_EQ(Names(b), Names(a));
        EXPECT_EQ(b.comment, a.comment);
    }
}

TEST(RarLib, BrokenHeadersAndForeignFilesGiveTheirCodes) {
    Listing broken4 = List(Fixture("brokenhead.rar"));
    EXPECT_EQ(Names(broken4), std::vector<std::string>{"readme.txt"});
    EXPECT_EQ(broken4.lastRead, RarBadData);
    Listing broken5 = List(Fixture("brokenhead5.rar"));
    EXPECT_EQ(Names(broken5), (std::vector<std::string>{"docs", "docs/guide.txt"}));
    EXPECT_EQ(broken5.lastRead, RarBadData);
    EXPECT_EQ(List(Fixture("rar5.rar")).openResult, RarBadData);  // a RAR 5 marker, then no valid header
    EXPECT_EQ(List(Fixture("text.txt")).openResult, RarBadArchive);
    EXPECT_EQ(List(Fixture("missing.rar")).openResult, RarOpenError);
}

// RAR 5 pieces for crafted archives.
void PutVInt(std::string& s, std::uint64_t v) {
    do {
        s += static_cast<char>((v & 0x7F) | (v > 0x7F ? 0x80 : 0));
        v >>= 7;
    } while (v);
}

std::string Block5(const std::string& body) {
    std::string sized;
    PutVInt(sized, body.size());
    sized += body;
    const std::uint32_t crc = velmora::rar::Crc32(sized.data(), sized.size());
    std::string out;
    for (int i = 0; i < 4; ++i) out += static_cast<char>(crc >> (8 * i));
    return out + sized;
}

TEST_F(RarLibFiles, AHeaderOfManyExtraRecordsListsAtOnce) {
    // A file header of 100,000 tiny extra records (about 200 KB, well below
    // the 2 MiB a header may have): each is read in place.
    std::string extra;
    for (int i = 0; i < 100000; ++i) extra += "\x01\x7F";  // size 1, an unknown type
    const std::string data = "Inhalt";
    std::string file;
    PutVInt(file, 2);     // file header
    PutVInt(file, 0x03);  // extra area and data follow
    PutVInt(file, extra.size());
    PutVInt(file, data.size());
    PutVInt(file, 0);  // no time, no CRC
    PutVInt(file, data.size());
    PutVInt(file, 0x20);
    PutVInt(file, 0);  // stored
    PutVInt(file, 0);
    PutVInt(file, 9);
    file += "viele.txt" + extra;
    const std::string archive = std::string("Rar!\x1A\x07\x01\x00", 8) + Block5(std::string("\x01\x00\x00", 3)) +
                                Block5(file) + data + Block5(std::string("\x05\x00\x00", 3));
    const fs::path path = m_dir / "viele.rar";
    std::ofstream(path, std::ios::binary) << archive;
    const auto start = std::chrono::steady_clock::now();
    const Listing l = List(path.string());
    const auto took = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(l.openResult, 0u);
    EXPECT_EQ(Names(l), std::vector<std::string>{"viele.txt"});
    EXPECT_EQ(l.lastRead, RarEndArchive);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(took).count(), 1000);
}

#ifdef _WIN32
TEST_F(RarLibFiles, ANameBeyondTheAnsiCodePageIsExtractedByItsWideName) {
    // The header record is ANSI and shows "?" for the Cyrillic letters; the
    // full name made of it still writes the file by its real name.
    const std::string name = "\xD0\x9A\xD0\xB8\xD1\x80.txt";
    const std::string data = "Inhalt";
    const std::uint32_t crc = velmora::rar::Crc32(data.data(), data.size());
    std::string file;
    PutVInt(file, 2);     // file header
    PutVInt(file, 0x02);  // data follows
    PutVInt(file, data.size());
    PutVInt(file, 0x04);  // a CRC, no time
    PutVInt(file, data.size());
    PutVInt(file, 0x20);
    for (int i = 0; i < 4; ++i) file += static_cast<char>(crc >> (8 * i));
    PutVInt(file, 0);  // stored
    PutVInt(file, 0);
    PutVInt(file, name.size());
    file += name;
    const std::string archive = std::string("Rar!\x1A\x07\x01\x00", 8) + Block5(std::string("\x01\x00\x00", 3)) +
                                Block5(file) + data + Block5(std::string("\x05\x00\x00", 3));
    const fs::path path = m_dir / "kyrillisch.rar";
    std::ofstream(path, std::ios::binary) << archive;
    const std::string arcName = path.string();
    RAROpenArchiveData open{arcName.c_str(), RarOpenExtract, 99, nullptr, 0, 0, 0, 0};
    void* h = RAROpenArchive(&open);
    ASSERT_NE(h, nullptr);
    RARHeaderData hd{};
    ASSERT_EQ(RARReadHeader(h, &hd), 0);
    EXPECT_STREQ(hd.FileName, "???.txt");
    const std::string target = m_dir.string() + "\\" + hd.FileName;
    EXPECT_EQ(RARProcessFile(h, RarExtract, nullptr, target.c_str()), 0);
    RARCloseArchive(h);
    EXPECT_EQ(ReadFile(m_dir / L"\u041A\u0438\u0440.txt"), data);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);  // the archive and the file
}
#endif

TEST(RarLib, NamesEndAtTheirFirstNul) {
    Listing l = List(Fixture("unicode.rar"));
    EXPECT_EQ(Names(l), std::vector<std::string>{"umlaut.txt"});
}

TEST_F(RarLibFiles, StoredEntriesExtractWithTheirDataAndOthersAnswerTheirCodes) {
    const std::string guide = ReadFile(Fixture("src/docs/guide.txt"));
    for (const char* archive : {"stored4.rar", "stored5.rar"}) {
        SCOPED_TRACE(archive);
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        auto results = ProcessAll(Fixture(archive), RarExtract, m_dir.string());
        for (const auto& [name, result] : results) {
            SCOPED_TRACE(name);
            int expected = ExpectedResult(name);
            EXPECT_EQ(result, expected);
        }
        EXPECT_EQ(ReadFile(m_dir / "docs" / "guide.txt"), guide);
        EXPECT_EQ(ReadFile(m_dir / "stored.txt"), StoredText());
        EXPECT_FALSE(fs::exists(m_dir / "locked.txt"));
        EXPECT_FALSE(fs::exists(m_dir / "hdronly-best.bin"));
    }
    EXPECT_EQ(FilesBelow(), (std::vector<std::string>{"cut.txt", "docs", "docs/guide.txt", "stored.txt"}));
}

TEST_F(RarLibFiles, TestChecksTheDataAndWritesNothing) {
    for (const char* archive : {"stored4.rar", "stored5.rar", "stored5sfx.exe"}) {
        SCOPED_TRACE(archive);
        for (const auto& [name, result] : ProcessAll(Fixture(archive), RarTest, m_dir.string())) {
            int expected = ExpectedResult(name);
            EXPECT_EQ(result, expected) << name;
        }
    }
    auto bad = ProcessAll(Fixture("badcrc.rar"), RarTest, m_dir.string());
    ASSERT_EQ(bad.size(), 1u);
    EXPECT_EQ(bad[0].second, RarBadData);
    EXPECT_TRUE(FilesBelow().empty());
}

TEST_F(RarLibFiles, ExtractToAFullNameCreatesItsFolders) {
    RAROpenArchiveData open{nullptr, RarOpenExtract, 99, nullptr, 0, 0, 0, 0};
    const std::string archive = Fixture("stored4.rar");
    open.ArcName = archive.c_str();
    void* h = RAROpenArchive(&open);
    ASSERT_NE(h, nullptr);
    RARHeaderData hd{};
    const std::string target = (m_dir / "neu" / "tief" / "kopie.txt").string();
    while (RARReadHeader(h, &hd) == 0) {
        bool chosen = std::string(hd.FileName) == "stored.txt";
        EXPECT_EQ(RARProcessFile(h, chosen ? RarExtract : RarSkip, nullptr, chosen ? target.c_str() : nullptr), 0);
    }
    RARCloseArchive(h);
    EXPECT_EQ(ReadFile(target), StoredText());
    EXPECT_EQ(FilesBelow(), (std::vector<std::string>{"neu", "neu/tief", "neu/tief/kopie.txt"}));
}

TEST_F(RarLibFiles, ABadEntryLeavesTheExistingFileAsItWas) {
    { std::ofstream(m_dir / "readme.txt", std::ios::binary) << "alt"; }
    auto results = ProcessAll(Fixture("badcrc.rar"), RarExtract, m_dir.string());
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].second, RarBadData);
    EXPECT_EQ(ReadFile(m_dir / "readme.txt"), "alt");
    EXPECT_EQ(FilesBelow(), std::vector<std::string>{"readme.txt"});

    // A good entry replaces the file whole.
    { std::ofstream(m_dir / "stored.txt", std::ios::binary) << "alt"; }
    ProcessAll(Fixture("stored4.rar"), RarExtract, m_dir.string());
    EXPECT_EQ(ReadFile(m_dir / "stored.txt"), StoredText());
}

TEST_F(RarLibFiles, UnsafeNamesAreRefusedAndNothingIsWrittenOutside) {
    fs::create_directories(m_dir / "ziel");
    auto results = ProcessAll(Fixture("unsafe.rar"), RarExtract, (m_dir / "ziel").string());
    ASSERT_EQ(results.size(), 7u);
    for (const auto& [name, result] : results) EXPECT_EQ(result, name == "ok.txt" ? 0 : static_cast<int>(RarCreateError)) << name;
    EXPECT_EQ(FilesBelow(), (std::vector<std::string>{"ziel", "ziel/ok.txt"}));
}
