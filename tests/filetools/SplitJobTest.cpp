// The split job of the progress window on real files: the pieces, the names
// they get, and what stays after a cancel, a full drive or a locked source.

#include <gtest/gtest.h>

#include <windows.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

using Dlg = TDateiAktionFortschrittDlg;

std::string Bytes(size_t n) {
    std::string data(n, '\0');
    unsigned v = 12345;
    for (char& c : data) c = static_cast<char>((v = v * 1103515245 + 12345) >> 16);
    return data;
}

void WriteBytes(const std::wstring& path, const std::string& data) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
    ASSERT_EQ(written, data.size());
}

class SplitJobTest : public ::testing::Test {
protected:
    // A file of the given bytes in Folder.
    TEineDatei File(const std::wstring& folder, const std::wstring& name, const std::string& data) {
        TEineDatei record;
        record.Name = folder + name;
        WriteBytes(record.Name, data);
        record.Size = static_cast<std::int64_t>(data.size());
        return record;
    }
    void Split(const TEineDatei& file, std::int32_t fragment) {
        TModalScript script(20000);
        m_dlg->SplitFile(file, fragment);
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.FormsSeen(), 1);
    }
    // The pieces Base.0, Base.1 ... that exist, joined.
    std::string Joined(const std::wstring& base, int* count = nullptr) {
        std::string all;
        int n = 0;
        for (; FileExists(base + L"." + std::to_wstring(n)); ++n) all += ReadAll(base + L"." + std::to_wstring(n));
        if (count)
            *count = n;
        return all;
    }

    TRecordingOperator m_operator;
    TDateiRoutinen m_routinen{m_operator};
    std::unique_ptr<Dlg, TComponentDeleter> m_dlg{Create<Dlg>(Application, m_routinen)};
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"teilen"};
};

}  // namespace

TEST(SplitPlan, PiecesAndBaseNames) {
    EXPECT_EQ(Dlg::Teile(102399, 102400), 1);
    EXPECT_EQ(Dlg::Teile(102400, 102400), 1);
    EXPECT_EQ(Dlg::Teile(102401, 102400), 2);
    EXPECT_EQ(Dlg::Teile(5LL << 30, 999999999), 6);
    EXPECT_EQ(Dlg::Teile(3LL << 30, 1000000), 3222);
    EXPECT_EQ(Dlg::Teile(100, 0), 0);

    // The source alone is no piece; any piece of a base, in any case, takes it.
    EXPECT_EQ(Dlg::TeilBasis(L"c:\\v\\film.avi", {L"film.avi"}), L"c:\\v\\film.avi");
    EXPECT_EQ(Dlg::TeilBasis(L"c:\\v\\film.avi", {L"film.avi", L"FILM.AVI.0"}), L"c:\\v\\film1.avi");
    EXPECT_EQ(Dlg::TeilBasis(L"c:\\v\\film.avi", {L"film.avi.3", L"film1.avi.0"}), L"c:\\v\\film2.avi");
    EXPECT_EQ(Dlg::TeilBasis(L"c:\\v\\README", {L"README.0", L"README1.0"}), L"c:\\v\\README2");
    EXPECT_EQ(Dlg::TeilBasis(L"c:\\my.dir\\readme", {L"readme.0"}), L"c:\\my.dir\\readme1");
}

TEST_F(SplitJobTest, ThePiecesJoinedGiveTheFileBackAndASecondSplitTakesANewBase) {
    const std::string data = Bytes(250000);
    const TEineDatei file = File(m_folder.Path(), L"daten.bin", data);
    Split(file, 100000);
    int count = 0;
    EXPECT_TRUE(Joined(m_folder.Path() + L"daten.bin", &count) == data);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(ReadAll(m_folder.Path() + L"daten.bin.2").size(), 50000u);
    EXPECT_EQ(m_dlg->Caption(), L"Fortschritt beim Datei teilen");
    Split(file, 120000);
    EXPECT_TRUE(Joined(m_folder.Path() + L"daten1.bin", &count) == data);
    EXPECT_EQ(count, 3);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(SplitJobTest, ACancelKeepsTheWholePiecesAndDropsTheOneBeingWritten) {
    const std::string data = Bytes(600000);
    const TEineDatei file = File(m_folder.Path(), L"gross.bin", data);
    int blocks = 0;
    // Three blocks to a piece: the cancel comes in the second piece.
    m_dlg->OnBlockGeschrieben = [&] {
        if (++blocks == 4)
            m_dlg->CancelBtn.Click();
    };
    Split(file, 250000);
    m_dlg->OnBlockGeschrieben = nullptr;
    int count = 0;
    EXPECT_TRUE(Joined(m_folder.Path() + L"gross.bin", &count) == data.substr(0, 250000));
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(ReadAll(file.Name) == data);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(SplitJobTest, AFullDriveAndALockedSourceAreToldAndLeaveNoCutPiece) {
    m_boxes.Answer(mrOk);
    const std::string data = Bytes(300000);
    const TEineDatei locked = File(m_folder.Path(), L"gesperrt.bin", data);
    HANDLE lock = CreateFileW(locked.Name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Split(locked, 100000);
    CloseHandle(lock);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Beim Einlesen der zu teilenden Datei ist ein Fehler aufgetreten.");
    EXPECT_FALSE(FileExists(locked.Name + L".0"));

    const std::wstring reason = NoSmallDriveReason();
    if (!reason.empty())
        GTEST_SKIP() << std::string(reason.begin(), reason.end());
    const std::string big = Bytes(600000);
    const TEineDatei full = File(L"s:\\", L"voll.bin", big);
    Split(full, 250000);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text, L"Beim Teilen der Datei\r\n\"s:\\voll.bin\"\r\nist ein Fehler aufgetreten.");
    int count = 0;
    const std::string pieces = Joined(L"s:\\voll.bin", &count);
    EXPECT_LT(count, 3);
    EXPECT_TRUE(pieces == big.substr(0, static_cast<size_t>(count) * 250000));
    EXPECT_TRUE(ReadAll(full.Name) == big);
    for (int i = 0; i < 3; ++i) DeleteFileW((full.Name + L"." + std::to_wstring(i)).c_str());
    DeleteFileW(full.Name.c_str());
}
