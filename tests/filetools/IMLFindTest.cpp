#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "FileRoutinesTestSupport.h"
#include "filetools/IMLFind.h"
#include "foundation/TestFiles.h"

using namespace velmora;
using namespace velmora::test;

namespace {

void Put(const std::wstring& path, const std::string& bytes) { ASSERT_TRUE(WriteFileBytes(path, bytes)); }

// One engine with its events recorded: "S name", "F name", "D folder" in order.
class IMLFindTest : public ::testing::Test {
protected:
    IMLFindTest() {
        m_find.FileMask = L"*.*";
        m_find.StartDirectory = m_folder.Path();
        m_find.OnSearch = [this](gui::TObject*, const std::wstring& n) { Events.push_back(L"S " + n); };
        m_find.OnFound = [this](gui::TObject*, const std::wstring& n, std::int64_t posn) {
            Found.push_back(n);
            Posns.push_back(posn);
            Events.push_back(L"F " + n);
        };
        m_find.OnSearchDirectory = [this](gui::TObject*, const std::wstring& d) { Events.push_back(L"D " + d); };
        m_find.OnFinished = [this](gui::TObject*) { ++Finished; };
    }
    std::wstring P(const std::wstring& name) const { return m_folder.Path() + name; }
    std::vector<std::wstring> Run(const std::wstring& text, TSearchType type, bool matchCase = false) {
        Found.clear();
        Posns.clear();
        Events.clear();
        m_find.SearchText = text;
        m_find.SearchType = type;
        m_find.MatchCase = matchCase;
        m_find.Execute();
        std::sort(Found.begin(), Found.end());
        return Found;
    }
    bool Finds(const std::wstring& text, TSearchType type, bool matchCase = false) {
        return !Run(text, type, matchCase).empty();
    }

    TTempFolder m_folder{L"imlfind"};
    TIMLFindText m_find{nullptr};
    std::vector<std::wstring> Found, Events;
    std::vector<std::int64_t> Posns;
    int Finished = 0;
};

TEST_F(IMLFindTest, ParameterChecksRaiseTheirTexts) {
    auto message = [this] {
        try {
            m_find.Execute();
        } catch (const EFindError& e) {
            return e.Message();
        }
        return std::wstring(L"(none)");
    };
    m_find.FileMask.clear();
    EXPECT_EQ(message(), L"File mask not specified");
    m_find.FileMask = L"*.*";
    m_find.StartDirectory.clear();
    EXPECT_EQ(message(), L"Start directory not specified");
    m_find.StartDirectory = P(L"fehlt");
    EXPECT_EQ(message(), L"Start directory \"" + P(L"fehlt") + L"\" does not exist");
    EXPECT_EQ(Finished, 0);
}

TEST_F(IMLFindTest, WithoutTextEveryFileIsReportedAfterItsSearchEvent) {
    Put(P(L"a.txt"), "x");
    CreateDirectoryW(P(L"unter").c_str(), nullptr);
    Put(P(L"unter\\b.dat"), "");
    std::wstring start = m_folder.Path();
    start.pop_back();  // without "\": the names still get exactly one
    m_find.StartDirectory = start;
    Run(L"", TSearchType::stText);
    EXPECT_EQ(Events, (std::vector<std::wstring>{L"D " + start, L"S " + P(L"a.txt"), L"F " + P(L"a.txt"),
                                                  L"D " + P(L"unter"), L"S " + P(L"unter\\b.dat"),
                                                  L"F " + P(L"unter\\b.dat")}));
    EXPECT_EQ(Finished, 1);
}

TEST_F(IMLFindTest, LineSearch) {
    Put(P(L"drei.txt"), "eins\r\nzwei\r\nhier steht Suchtext\r\n");
    Put(P(L"andere.txt"), "nichts\r\n");
    Put(P(L"getrennt.txt"), "Such\r\ntext\r\n");
    EXPECT_EQ(Run(L"suchtext", TSearchType::stText), (std::vector<std::wstring>{P(L"drei.txt")}));
    EXPECT_EQ(Posns, (std::vector<std::int64_t>{24}));
    EXPECT_FALSE(Finds(L"suchtext", TSearchType::stText, true));
    EXPECT_TRUE(Finds(L"Suchtext", TSearchType::stText, true));
}

TEST_F(IMLFindTest, BlockSearchOffsetsAndBlockBorders) {
    std::string data(40000, 'x');
    data.replace(16380, 10, "0123456789");
    Put(P(L"grenze.bin"), data);
    Run(L"0123456789", TSearchType::stAll);
    EXPECT_EQ(Posns, (std::vector<std::int64_t>{16381}));
    data = std::string(TIMLFindText::kBlock * 2, 'x');
    data.replace(TIMLFindText::kBlock - 3, 6, "ABCDEF");
    Put(P(L"grenze.bin"), data);
    Run(L"abcdef", TSearchType::stAll);
    EXPECT_EQ(Posns, (std::vector<std::int64_t>{static_cast<std::int64_t>(TIMLFindText::kBlock - 2)}));
    Put(P(L"grenze.bin"), "Anfang");
    Run(L"anfang", TSearchType::stAll);
    EXPECT_EQ(Posns, (std::vector<std::int64_t>{1}));
}

TEST_F(IMLFindTest, CaseAndCodePage) {
    Put(P(L"t.bin"), std::string("Gr\xE4") + "\xDF" + "e\tTab\x01Wert");
    for (TSearchType type : {TSearchType::stAll, TSearchType::stText}) {
        SCOPED_TRACE(static_cast<int>(type));
        EXPECT_TRUE(Finds(L"GRäßE", type));   // a to z fold, the rest is bytes of 1252
        EXPECT_FALSE(Finds(L"GRÄßE", type));  // "Ä" is not "ä"
        EXPECT_TRUE(Finds(L"Gräße", type, true));
        EXPECT_FALSE(Finds(L"gräße", type, true));
        EXPECT_FALSE(Finds(L"Ω", type));  // no such byte
    }
    EXPECT_TRUE(Finds(L"e\tTab Wert", TSearchType::stAll));  // control bytes of both sides become blanks
    EXPECT_TRUE(Finds(L"e\tTab", TSearchType::stText));
}

TEST_F(IMLFindTest, HiddenAndSystemFilesAndHiddenFolders) {
    Put(P(L"versteckt.txt"), "wort");
    Put(P(L"system.txt"), "wort");
    SetFileAttributesW(P(L"versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(P(L"system.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    if (!(GetFileAttributesW(P(L"system.txt").c_str()) & FILE_ATTRIBUTE_SYSTEM))
        GTEST_SKIP() << "this file system keeps no system attribute";
    CreateDirectoryW(P(L"geheim").c_str(), nullptr);
    Put(P(L"geheim\\innen.txt"), "wort");
    SetFileAttributesW(P(L"geheim").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::vector<std::wstring> both{P(L"system.txt"), P(L"versteckt.txt")};
    EXPECT_EQ(Run(L"", TSearchType::stText), both);
    EXPECT_EQ(Run(L"wort", TSearchType::stAll), both);
    EXPECT_EQ(Run(L"wort", TSearchType::stText), (std::vector<std::wstring>{P(L"versteckt.txt")}));
}

TEST_F(IMLFindTest, AFileOpenForWritingIsRead) {
    Put(P(L"offen.log"), "laufendes protokoll");
    HANDLE writer = CreateFileW(P(L"offen.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(Finds(L"protokoll", TSearchType::stText));
    EXPECT_TRUE(Finds(L"protokoll", TSearchType::stAll));
    CloseHandle(writer);
}

TEST_F(IMLFindTest, StopFromTheFoundEventEndsTheRunAndASecondRunInsideReturns) {
    for (const wchar_t* n : {L"a.txt", L"b.txt", L"c.txt"}) Put(P(n), "treffer");
    m_find.OnFound = [this](gui::TObject*, const std::wstring& n, std::int64_t) {
        Found.push_back(n);
        m_find.Execute();  // as a message let through by the walk would
        m_find.Stop();
    };
    EXPECT_EQ(Run(L"treffer", TSearchType::stAll).size(), 1u);
    EXPECT_EQ(Finished, 1);
}

TEST_F(IMLFindTest, ALinkBackUpTheTreeIsNotEntered) {
    const std::wstring fixture = FixtureFolder(L"search");
    if (fixture.empty())
        GTEST_SKIP() << "runs with the fixture script";
    m_find.StartDirectory = fixture + L"tree";
    EXPECT_EQ(Run(L"", TSearchType::stText),
              (std::vector<std::wstring>{fixture + L"tree\\oben.txt", fixture + L"tree\\sub\\unten.txt"}));
}

TEST_F(IMLFindTest, ALineOfThreeGibibytesIsReadThroughABoundedWindow) {
    const std::wstring f = P(L"riesig.txt");
    HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER at;
    at.QuadPart = 3LL << 30;
    DWORD written = 0;
    const bool made = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && WriteFile(h, "am Ende", 7, &written, nullptr);
    CloseHandle(h);
    if (!made)
        GTEST_SKIP() << "the temporary folder takes no 3 GiB sparse file";
    Run(L"ende", TSearchType::stText);
    EXPECT_EQ(Posns, (std::vector<std::int64_t>{(3LL << 30) + 4}));
}

TEST_F(IMLFindTest, AFolderOfMaximalLengthListsNothingOfItsParent) {
    // The parent holds a file whose name begins with the folder's name.
    std::wstring parent = m_folder.Path();
    while (parent.size() < 150) {
        parent += std::wstring(20, L'p') + L"\\";
        ASSERT_TRUE(CreateDirectoryW(parent.c_str(), nullptr));
    }
    const std::wstring name(255 - parent.size(), L'n');
    ASSERT_TRUE(CreateDirectoryW((parent + name).c_str(), nullptr));
    Put(parent + name + L"x.tmp", "");
    m_find.FileMask = L"*.tmp";
    m_find.StartDirectory = parent + name;
    ASSERT_EQ(m_find.StartDirectory.size(), 255u);
    EXPECT_TRUE(Run(L"", TSearchType::stText).empty());
}

}  // namespace
