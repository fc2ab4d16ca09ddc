#include <gtest/gtest.h>

#include <windows.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::test;

namespace {

class WipeFilesTest : public ::testing::Test {
protected:
    void SetUp() override { m_routinen.SetNullSchreiber(&m_writer); }
    static std::wstring Warning(const std::wstring& lowerName) {
        return L"Beim Füllen der Datei\r\"" + lowerName + L"\"\rmit Nullbytes ist ein Fehler aufgetreten.";
    }

    TRecordingOperator m_op;
    TDateiRoutinen m_routinen{m_op};
    TRecordingWriter m_writer;
    gui::TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"wipe"};
};

TEST_F(WipeFilesTest, OverwritesInBlocksOf102400BytesAndKeepsTheLength) {
    const std::wstring f = m_folder.MakeFile(L"a.bin", 250000);
    m_routinen.WipeFiles(Records({f}));
    EXPECT_EQ(m_writer.Writes, (std::vector<DWORD>{102400, 102400, 45200}));
    EXPECT_EQ(m_writer.Flushes, 1);
    const std::string data = ReadAll(f);
    EXPECT_EQ(data.size(), 250000u);
    EXPECT_TRUE(AllZero(data));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(WipeFilesTest, AnEmptyFileIsNeverOpened) {
    const std::wstring f = m_folder.MakeFile(L"leer.txt", 0);
    m_routinen.WipeFiles(Records({f}));
    EXPECT_TRUE(m_writer.Opened.empty());
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(WipeFilesTest, ReadOnlyHiddenAndNestedFilesAndTypedRecordsAreWiped) {
    CreateDirectoryW((m_folder.Path() + L"ordner").c_str(), nullptr);
    CreateDirectoryW((m_folder.Path() + L"ordner\\tief").c_str(), nullptr);
    const std::wstring ro = m_folder.MakeFile(L"ordner\\nur lesen.txt", 1000);
    const std::wstring hidden = m_folder.MakeFile(L"ordner\\tief\\versteckt.txt", 2000);
    const std::wstring typed = m_folder.MakeFile(L"getippt.txt", 1500);
    SetFileAttributesW(ro.c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // The folder's record says "file of size 0"; the typed one knows nothing.
    TDateiListe list = Records({m_folder.Path() + L"ordner", typed});
    list[0]->Attr = 0;
    list[0]->Size = 0;
    m_routinen.WipeFiles(list);
    for (const std::wstring& f : {ro, hidden, typed}) {
        const std::string data = ReadAll(f);
        EXPECT_FALSE(data.empty());
        EXPECT_TRUE(AllZero(data)) << testing::PrintToString(f);
    }
    EXPECT_EQ(ReadAll(ro).size(), 1000u);
    EXPECT_EQ(GetFileAttributesW(ro.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(WipeFilesTest, ASparseFileOfFiveGibibytesIsPlannedWhole) {
    const std::wstring f = m_folder.Path() + L"gross.bin";
    HANDLE h = CreateFileW(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 5LL << 30;
    const bool sized = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    if (!sized)
        GTEST_SKIP() << "the temporary folder takes no 5 GiB sparse file";
    m_writer.RealWrites = false;
    TDateiListe list = Records({f});
    list[0]->Size = 1;  // a stale record
    m_routinen.WipeFiles(list);
    EXPECT_EQ(m_writer.Planned, 5LL << 30);
    EXPECT_EQ(m_writer.Writes.size(), 52429u);
    EXPECT_EQ(m_writer.Writes.back(), (5LL << 30) % 102400);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(WipeFilesTest, AFailingWriteWarnsAndTheRestIsWiped) {
    const std::wstring bad = m_folder.MakeFile(L"Kaputt.bin", 250000), good = m_folder.MakeFile(L"gut.bin", 300);
    m_writer.FailWrite = [&](const std::wstring& file, size_t) { return file == bad; };
    const std::wstring missing = m_folder.Path() + L"weg.txt";
    m_routinen.WipeFiles(Records({bad, missing, good}));
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, Warning(SystemLower(bad)));
    EXPECT_EQ(m_boxes.Calls()[0].Type, gui::TMsgDlgType::mtWarning);
    EXPECT_EQ(m_boxes.Calls()[1].Text, Warning(SystemLower(missing)));
    EXPECT_TRUE(AllZero(ReadAll(good)));
    EXPECT_EQ(ReadAll(good).size(), 300u);
}

TEST_F(WipeFilesTest, LinksToFilesAndFoldersOutsideLeaveTheirTargetsWhole) {
    const std::wstring base = FixtureFolder(L"unit");
    if (base.empty())
        GTEST_SKIP() << "needs the links of the fixture script (run through CTest)";
    m_routinen.WipeFiles(Records({base + L"tree"}));
    EXPECT_EQ(ReadAll(base + L"outside\\secret.txt"), std::string(5000, 'g'));
    EXPECT_EQ(ReadAll(base + L"outside\\folder\\inner.txt"), std::string(700, 'i'));
    EXPECT_TRUE(AllZero(ReadAll(base + L"tree\\own.txt")));
    EXPECT_TRUE(AllZero(ReadAll(base + L"tree\\holder\\own.txt")));
    EXPECT_EQ(ReadAll(base + L"tree\\own.txt").size(), 3000u);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    for (const auto& call : m_boxes.Calls())
        EXPECT_NE(call.Text.find(L"verweist auf eine andere Stelle"), std::wstring::npos);
}

}  // namespace
