// The volume information and volume label dialogs, with the drive's answers
// given by the test.

#include <gtest/gtest.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/DiskNameDlg.h"
#include "filetools/Laufwerksabfragen.h"
#include "filetools/VolumeInfo.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

class DriveDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        m_abfrage = FreierPlatzAbfragen;
        m_benennen = LaufwerkBenennen;
        FreierPlatzAbfragen = [this](const std::wstring& root, TFreierPlatz& p) {
            p = m_platz;
            return root != m_nichtBereit;
        };
        LaufwerkBenennen = [this](const std::wstring& root, const std::wstring& name) {
            m_benannt.push_back(root + L"=" + name);
            return m_benennenGelingt;
        };
        m_boxes.Answer(mrOk);
    }
    void TearDown() override {
        FreierPlatzAbfragen = m_abfrage;
        LaufwerkBenennen = m_benennen;
    }
    std::vector<std::wstring> Lines(const TPieChart& pie) {
        std::vector<std::wstring> lines;
        for (const auto& slice : pie.Slices()) lines.push_back(slice.Label);
        return lines;
    }

    std::function<bool(const std::wstring&, TFreierPlatz&)> m_abfrage;
    std::function<bool(const std::wstring&, const std::wstring&)> m_benennen;
    // 8 KiB clusters: 1,000,000 of them, 300,000 free (past 32 bits).
    TFreierPlatz m_platz{16, 512, 300000, 1000000};
    std::wstring m_nichtBereit;
    std::vector<std::wstring> m_benannt;
    bool m_benennenGelingt = true;
    TMessageBoxRecorder m_boxes;
};

}  // namespace

TEST_F(DriveDialogs, TheVolumeShowsItsSpaceAndANotReadyDriveShowsNothing) {
    TVolumeInfoDlg dlg(nullptr);
    dlg.DriveComboBox1.SetDrive(L'c');
    dlg.LaufwerkAnzeigen();
    EXPECT_EQ(dlg.BytesLabel.Caption(), L"512");
    EXPECT_EQ(dlg.SektorenLabel.Caption(), L"16");
    EXPECT_EQ(dlg.ClusterLabel.Caption(), L"1000000");
    EXPECT_EQ(dlg.GesamtLabel.Caption(), L"7812,50 MB");
    EXPECT_EQ(dlg.FreiLabel.Caption(), L"2343,75 MB");
    EXPECT_EQ(dlg.TypLabel.Caption(), L"Festplatte");
    // Used space is the larger slice and lime.
    ASSERT_EQ(dlg.PieChart.Slices().size(), 2u);
    EXPECT_EQ(dlg.PieChart.Slices()[0].Value, 5734400000.0);
    EXPECT_EQ(Lines(dlg.PieChart), (std::vector<std::wstring>{L"5468,75 MB belegt", L"2343,75 MB frei"}));
    EXPECT_EQ(dlg.PieChart.Colour(1), clLime);
    EXPECT_EQ(dlg.PieChart.Colour(2), clYellow);

    m_nichtBereit = L"c:\\";
    dlg.LaufwerkAnzeigen();
    EXPECT_EQ(dlg.NameLabel.Caption(), L"Kein Dateinträger eingelegt!");
    EXPECT_EQ(dlg.GesamtLabel.Caption(), L"");
    EXPECT_TRUE(dlg.PieChart.Slices().empty());
    dlg.Button1.Click();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Laufwerk nicht bereit!");
    EXPECT_EQ(dlg.Button1.Caption(), L"Ü&berhang ermitteln");
}

TEST_F(DriveDialogs, TheSlackCountColoursEachPartAndStopChangesNothing) {
    const std::wstring base = velmora::test::FixtureFolder(L"gui");
    if (base.empty())
        GTEST_SKIP() << "needs the scratch drive w: of the fixture script (run through CTest)";
    TVolumeInfoDlg dlg(nullptr);
    dlg.DriveComboBox1.SetDrive(L'w');
    dlg.LaufwerkAnzeigen();
    const auto before = Lines(dlg.PieChart);
    // Started and stopped at once: the chart stays as it was.
    dlg.Button1.Click();
    EXPECT_EQ(dlg.Button1.Caption(), L"&Stop");
    dlg.Button1.Click();
    EXPECT_FALSE(dlg.Zaehlt());
    Application->ProcessMessages();
    EXPECT_EQ(Lines(dlg.PieChart), before);
    EXPECT_EQ(dlg.Button1.Caption(), L"Ü&berhang ermitteln");

    dlg.Button1.Click();
    ASSERT_TRUE(WaitUntil([&] { return dlg.Button1.Caption() == L"Ü&berhang ermitteln"; }, 15000));
    ASSERT_EQ(dlg.PieChart.Slices().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const std::wstring& label = dlg.PieChart.Slices()[static_cast<size_t>(i)].Label;
        const TColor expected = label.ends_with(L"tatsächlich belegt") ? clLime
                                : label.ends_with(L"frei")             ? clYellow
                                                                       : clRed;
        EXPECT_EQ(dlg.PieChart.Colour(i + 1), expected) << i;
    }
    EXPECT_TRUE(Lines(dlg.PieChart)[2].ends_with(L"MB Überhang"));
}

TEST_F(DriveDialogs, ALabelIsSetOnlyWhereTheDriveTakesOne) {
    TNameDiskDlg dlg(nullptr);
    dlg.NameLesen = [](const std::wstring&, std::wstring& name) {
        name = L"ALT";
        return true;
    };
    unsigned typ = DRIVE_FIXED;
    dlg.Laufwerkstyp = [&](const std::wstring&) { return typ; };
    dlg.Datentraeger.SetDrive(L'c');
    dlg.FormShow(nullptr);
    EXPECT_EQ(dlg.NeuerName.Text(), L"ALT");
    EXPECT_FALSE(dlg.NeuerName.ReadOnly());
    dlg.NeuerName.SetText(L"NEU");
    dlg.OKBtn.Click();
    m_benennenGelingt = false;
    dlg.OKBtn.Click();
    EXPECT_EQ(m_benannt, (std::vector<std::wstring>{L"c:\\=NEU", L"c:\\=NEU"}));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Beim Umbenennen des Laufwerks c: ist ein Fehler aufgetreten");

    // A CD-ROM keeps its label; a drive without a medium says so.
    typ = DRIVE_CDROM;
    dlg.FormShow(nullptr);
    EXPECT_TRUE(dlg.NeuerName.ReadOnly());
    dlg.OKBtn.Click();
    m_nichtBereit = L"c:\\";
    typ = DRIVE_FIXED;
    dlg.FormShow(nullptr);
    EXPECT_EQ(dlg.NeuerName.Text(), L"Laufwerk nicht bereit!");
    EXPECT_TRUE(dlg.NeuerName.ReadOnly());
    dlg.OKBtn.Click();
    EXPECT_EQ(m_benannt.size(), 2u);
}

TEST_F(DriveDialogs, ADriveChangeMidCountShowsTheNewDriveOnly) {
    const std::wstring base = velmora::test::FixtureFolder(L"gui");
    if (base.empty())
        GTEST_SKIP() << "needs the scratch drive w: of the fixture script (run through CTest)";
    TVolumeInfoDlg dlg(nullptr);
    dlg.DriveComboBox1.SetDrive(L'c');
    dlg.LaufwerkAnzeigen();
    dlg.Button1.Click();
    dlg.DriveComboBox1.SetDrive(L'w');
    EXPECT_FALSE(dlg.Zaehlt());
    EXPECT_EQ(dlg.Button1.Caption(), L"Ü&berhang ermitteln");
    Application->ProcessMessages();
    EXPECT_EQ(Lines(dlg.PieChart), (std::vector<std::wstring>{L"5468,75 MB belegt", L"2343,75 MB frei"}));
}
