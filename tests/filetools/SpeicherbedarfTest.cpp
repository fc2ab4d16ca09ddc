// The slack walk on real trees, and the real-space-needed dialog with its
// count thread, inside its modal loop.

#include <gtest/gtest.h>

#include <windows.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/Laufwerksabfragen.h"
#include "filetools/SpeicherbedarfDlg.h"
#include "foundation/DMChild_Typen.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::test::FixtureFolder;
using velmora::test::TTempFolder;

namespace {

constexpr std::uint32_t kCluster = 4096;

TUeberhangSummen Walk(const std::wstring& path, bool subfolders = true) {
    TUeberhangSummen sums;
    UeberhangZaehlen(path, subfolders, true, kCluster, [] { return false; }, sums);
    return sums;
}

// 0, 1, 4096 and 4097 bytes beside a folder holding 100.
struct Baum {
    TTempFolder folder{L"ueberhang"};
    Baum() {
        folder.MakeFile(L"a", 0);
        folder.MakeFile(L"b", 1);
        folder.MakeFile(L"c", 4096);
        folder.MakeFile(L"d", 4097);
        CreateDirectoryW((folder.Path() + L"sub").c_str(), nullptr);
        folder.MakeFile(L"sub\\e", 100);
    }
    std::wstring Ohne() const { return folder.Path().substr(0, folder.Path().size() - 1); }
};

// Slack of the files (4096 + 4095 + 0 + 4095 + 3996) and a whole cluster for
// each folder entry found.
constexpr double kDateiUeberhang = 16282;

}  // namespace

TEST(UeberhangWalk, FilesFoldersAndTheirDotEntriesAddUpAsTheyAreFound) {
    Baum baum;
    // ".", ".." and the files count as files; "sub" as a folder, and is entered.
    TUeberhangSummen all = Walk(baum.folder.Path() + L"*.*");
    EXPECT_EQ(all.Groesse, 8294);
    EXPECT_EQ(all.Dateien, 9);
    EXPECT_EQ(all.Verzeichnisse, 1);
    EXPECT_EQ(all.Ueberhang, kDateiUeberhang + 5 * kCluster);
    // Without subfolders "sub" is one more file, not entered.
    TUeberhangSummen flat = Walk(baum.folder.Path() + L"*.*", false);
    EXPECT_EQ(flat.Dateien, 7);
    EXPECT_EQ(flat.Verzeichnisse, 0);
    EXPECT_EQ(flat.Groesse, 8194);

    // Sizes past 32 bits: a sparse file of 5 GiB and one byte.
    const std::wstring big = baum.folder.Path() + L"gross.bin";
    HANDLE h = CreateFileW(big.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 5368709121LL;
    ASSERT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    TUeberhangSummen one = Walk(big);
    EXPECT_EQ(one.Groesse, 5368709121.0);
    EXPECT_EQ(one.Ueberhang, 4095);
    DeleteFileW(big.c_str());
}

TEST(UeberhangWalk, AFolderLinkToItsParentIsCountedNotEntered) {
    const std::wstring base = FixtureFolder(L"gui");
    if (base.empty())
        GTEST_SKIP() << "needs the folder link of the fixture script (run through CTest)";
    THangGuard guard(L"Überhang über eine Verknüpfung auf den Elternordner");
    TUeberhangSummen sums = Walk(base + L"loop\\*.*");
    // "inner" and its link "up" back to "loop".
    EXPECT_EQ(sums.Verzeichnisse, 2);
    EXPECT_FALSE(sums.Abgebrochen);
}

namespace {

class SpeicherbedarfTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_abfrage = FreierPlatzAbfragen;
        FreierPlatzAbfragen = [this](const std::wstring& root, TFreierPlatz& p) {
            p = {};
            p.BytesProSektor = 512;
            p.SektorenProCluster = (root == L"z:\\" ? m_zCluster : kCluster) / 512;
            return true;
        };
        m_boxes.Answer(mrOk);
    }
    void TearDown() override { FreierPlatzAbfragen = m_abfrage; }

    static TDateiListe Records(std::initializer_list<std::pair<std::wstring, bool>> names) {
        TDateiListe list;
        for (const auto& [name, inArchive] : names) {
            auto record = std::make_unique<TEineDatei>();
            record->Name = name;
            record->InArchive = inArchive;
            list.push_back(std::move(record));
        }
        return list;
    }
    std::vector<std::wstring> Boxes() const {
        std::vector<std::wstring> texts;
        for (const auto& call : m_boxes.Calls()) texts.push_back(call.Text);
        return texts;
    }

    std::function<bool(const std::wstring&, TFreierPlatz&)> m_abfrage;
    std::uint32_t m_zCluster = kCluster;
    TMessageBoxRecorder m_boxes;
};

}  // namespace

TEST_F(SpeicherbedarfTest, PackedNetworkAndForeignClusterEntriesAreToldOnceAndNothingIsCounted) {
    TSpeicherbedarfDlg dlg(nullptr);
    EXPECT_FALSE(dlg.Ermitteln(Records({{L"docs\\a.txt", true}, {L"docs\\b.txt", true}, {L"\\\\server\\x", false},
                                        {L"\\\\server\\y", false}})));
    EXPECT_EQ(Boxes(), (std::vector<std::wstring>{
                           L"Die markierten Dateien sind zum Teil gepackt. Diese Dateien\r\n"
                           L"werden in der Statistik nicht berücksichtigt.",
                           L"Die markierten Dateien befinden sich zum Teil auf Netzwerklaufwerken. Diese Dateien\r\n"
                           L"werden in der Statistik nicht berücksichtigt."}));
    m_zCluster = 2048;
    Baum baum;
    EXPECT_FALSE(dlg.Ermitteln(Records({{baum.folder.Path() + L"b", false}, {L"z:\\etwas.txt", false}})));
    ASSERT_EQ(m_boxes.Calls().size(), 3u);
    EXPECT_EQ(m_boxes.Calls()[2].Text,
              L"Eine oder mehrere von Ihnen markierte Datei(en) befinden sich auf Laufwerk z:.\r\n"
              L"Dieses Laufwerk besitzt jedoch eine andere Clustergröße als die übrigen ausgewählten Laufwerke.\r\n"
              L"Bitte demarkieren Sie diese Dateien und rufen Sie \"Datei/ Speicherbedarf ermitteln\" erneut auf.");
    EXPECT_FALSE(dlg.Zaehlt());
}

TEST_F(SpeicherbedarfTest, QuickClicksGiveTheResultOfTheLastStateShownAfterTheDialogCameUp) {
    Baum baum;
    TSpeicherbedarfDlg dlg(nullptr);
    // A second drive of the same cluster size is counted together.
    ASSERT_TRUE(dlg.Ermitteln(Records({{baum.Ohne(), false}, {L"z:\\gibt es nicht.txt", false}})));
    EXPECT_FALSE(dlg.InclSubDirs.Checked());
    // The first count may end before the dialog shows: its result still shows.
    ASSERT_TRUE(WaitUntil([&] { return !dlg.Zaehlt(); }, 10000));
    std::vector<std::wstring> shown, afterClicks;
    TModalScript script(20000);
    script.Step([&](TForm&) {
        shown = dlg.Memo.Lines().Items();
        for (int i = 0; i < 51; ++i) dlg.InclSubDirs.SetChecked(!dlg.InclSubDirs.Checked());
        ASSERT_TRUE(dlg.InclSubDirs.Checked());
        WaitUntil([&] { return !dlg.Zaehlt(); }, 15000);
        Application->ProcessMessages();
        afterClicks = dlg.Memo.Lines().Items();
        dlg.SetModalResult(mrOk);
    });
    dlg.ShowModal();
    EXPECT_FALSE(script.Failed());
    // The folder alone: one file entry of one cluster.
    ASSERT_GT(shown.size(), 1u);
    EXPECT_EQ(shown[1], FormatByteSize(0) + L" in 1 Datei(en),");
    // With subfolders: the folder, its contents and its subfolder.
    const double slack = kDateiUeberhang + 6 * kCluster;
    EXPECT_EQ(afterClicks,
              (std::vector<std::wstring>{
                  L"Mindestplatzbedarf:", FormatByteSize(8294) + L" in 9 Datei(en),", L"verteilt auf 2 Verzeichnis(se).",
                  L"", L"Der Überhang dieser Datei(en) beträgt " + FormatByteSize(slack) + L".", L"",
                  L"Damit ergibt sich ein tatsächlicher Platzverbrauch von " + FormatByteSize(8294 + slack) + L"."}));
    // The size slice is lime, the slack slice red, whichever is larger.
    ASSERT_EQ(dlg.PieChart.Slices().size(), 2u);
    EXPECT_EQ(dlg.PieChart.Slices()[0].Value, slack);
    EXPECT_EQ(dlg.PieChart.Slices()[0].Label, Trim(FormatByteSize(slack) + L" Überhang"));
    EXPECT_EQ(dlg.PieChart.Colour(1), clRed);
    EXPECT_EQ(dlg.PieChart.Colour(2), clLime);
}

TEST_F(SpeicherbedarfTest, TheSizeSliceStaysLimeWhenItIsTheLarger) {
    Baum baum;
    const std::wstring big = baum.folder.MakeFile(L"gross.bin", 100000);
    TSpeicherbedarfDlg dlg(nullptr);
    TDateiListe marked;
    marked.push_back(std::make_unique<TEineDatei>());
    marked.back()->Name = big;
    ASSERT_TRUE(dlg.Ermitteln(marked));
    TModalScript script(20000);
    script.Step([&](TForm&) {
        WaitUntil([&] { return !dlg.Zaehlt() && !dlg.PieChart.Slices().empty(); }, 15000);
        dlg.SetModalResult(mrOk);
    });
    dlg.ShowModal();
    ASSERT_EQ(dlg.PieChart.Slices().size(), 2u);
    EXPECT_EQ(dlg.PieChart.Slices()[0].Value, 100000);
    EXPECT_EQ(dlg.PieChart.Colour(1), clLime);
    EXPECT_EQ(dlg.PieChart.Colour(2), clRed);
}

TEST_F(SpeicherbedarfTest, ClosingTheDialogAmidACountStopsItAtOnce) {
    TTempFolder tree{L"ueberhang gross"};
    for (int f = 0; f < 200; ++f) {
        const std::wstring folder = L"o" + std::to_wstring(f);
        CreateDirectoryW((tree.Path() + folder).c_str(), nullptr);
        for (int i = 0; i < 10; ++i) tree.MakeFile(folder + L"\\d" + std::to_wstring(i), static_cast<size_t>(i));
    }
    auto dlg = std::make_unique<TSpeicherbedarfDlg>(nullptr);
    ASSERT_TRUE(dlg->Ermitteln(Records({{tree.Path().substr(0, tree.Path().size() - 1), false}})));
    // The count with subfolders takes a while; the walk asks to stop at every entry.
    dlg->InclSubDirs.SetChecked(true);
    ASSERT_TRUE(dlg->Zaehlt());
    THangGuard guard(L"Dialog mitten in der Zählung geschlossen", 2000);
    dlg.reset();
}
