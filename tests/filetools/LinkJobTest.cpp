// The link job of the progress window, driven through the file routines as the
// link command drives it, on a temporary tree with real shortcuts.

#include <gtest/gtest.h>

#include <windows.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/ShellLink.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::wstring LinkTargetOf(const std::wstring& link) {
    std::wstring target;
    ReadShellLink(link, target);
    return SystemLower(LongPathName(target));
}

class LinkJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        m_routinen.SetLinkErsteller(m_dlg.get());
        m_quelle = m_folder.Path() + L"quelle\\";
        m_ziel = m_folder.Path() + L"ziel\\";
        ForceDirectories(m_quelle);
    }
    void TearDown() override { OleUninitialize(); }
    // Runs the command; the window must close itself.
    void Run(const std::wstring& source, const TDateiListe& list) {
        TModalScript script(10000);
        m_routinen.CreateLinks(source, m_ziel, list);
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.FormsSeen(), 1);
    }

    TRecordingOperator m_operator;
    TDateiRoutinen m_routinen{m_operator};
    std::unique_ptr<TDateiAktionFortschrittDlg, TComponentDeleter> m_dlg{
        Create<TDateiAktionFortschrittDlg>(Application, m_routinen)};
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"linkjob"};
    std::wstring m_quelle, m_ziel;
};

TEST_F(LinkJobTest, TwoFilesOfOneNameBesideAnExistingLinkEachGetAFreeName) {
    ForceDirectories(m_ziel);
    const std::wstring txt = m_folder.MakeFile(L"quelle\\a.txt", 1);
    const std::wstring doc = m_folder.MakeFile(L"quelle\\a.doc", 2);
    const std::wstring own = m_folder.MakeFile(L"ziel\\a.lnk", 17);
    const std::string ownBefore = ReadAll(own);
    TDateiListe list = Records({txt, doc});
    // Full names are linked as they are, whatever the source folder says.
    Run(L"c:\\anderswo\\", list);
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(ReadAll(own), ownBefore);
    EXPECT_EQ(LinkTargetOf(m_ziel + L"a (2).lnk"), SystemLower(txt));
    EXPECT_EQ(LinkTargetOf(m_ziel + L"a (3).lnk"), SystemLower(doc));
    EXPECT_FALSE(FileExists(m_ziel + L"a (4).lnk"));
    EXPECT_EQ(m_dlg->Caption(), L"Fortschritt beim Verknüpfungen erstellen");
    EXPECT_EQ(m_dlg->Aktion.Caption(), L"Dateien werden verknüpft...");
    EXPECT_EQ(m_dlg->ProgressBar.Position(), 2);
    EXPECT_EQ(m_dlg->FileLabel.FileName(), SystemLower(m_ziel + L"a (3).lnk"));
}

TEST_F(LinkJobTest, AMissingTargetIsOfferedAndRelativeNamesLieInTheSourceFolder) {
    const std::wstring b = m_folder.MakeFile(L"quelle\\b.txt", 1);
    TDateiListe list = Records({L"b.txt"});
    m_boxes.Answer(mrYes);
    Run(m_quelle, list);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Das angegebene Zielverzeichnis existiert nicht! Soll es erstellt werden?");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(LinkTargetOf(m_ziel + L"b.lnk"), SystemLower(b));
}

TEST_F(LinkJobTest, ARecordWithoutANameBeforeItsDotGetsTheGermanWord) {
    ForceDirectories(m_ziel);
    // Wine writes names outside ASCII only where the host has a UTF-8 locale of its own.
    m_folder.MakeFile(L"ziel\\ü", 0);
    if (!FileExists(m_ziel + L"ü"))
        GTEST_SKIP() << "this file system takes no names outside ASCII under Wine";
    m_folder.MakeFile(L"quelle\\.profile", 1);
    TDateiListe list = Records({m_quelle + L".profile"});
    Run(L"", list);
    EXPECT_TRUE(m_boxes.Calls().empty());
    EXPECT_EQ(LinkTargetOf(m_ziel + L"Verknüpfung.lnk"), SystemLower(m_quelle + L".profile"));
}

TEST_F(LinkJobTest, AShortcutThatCannotBeSavedIsReportedAndTheNextFollows) {
    ForceDirectories(m_ziel);
    const std::wstring d = m_folder.MakeFile(L"quelle\\d.txt", 1);
    // "|" is no character of a file name: that shortcut cannot be written.
    TDateiListe list = Records({m_quelle + L"A|B.txt", d});
    Run(L"", list);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Mit der Datei " + SystemLower(m_quelle) + L"a|b.txt konnte keine Verknüpfung erstellt werden!");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(LinkTargetOf(m_ziel + L"d.lnk"), SystemLower(d));
    EXPECT_EQ(m_dlg->ProgressBar.Position(), 2);
}

TEST_F(LinkJobTest, NoToAMissingTargetMakesNothing) {
    TDateiListe list = Records({m_folder.MakeFile(L"quelle\\c.txt", 1)});
    m_boxes.Answer(mrNo);
    Run(L"", list);
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_FALSE(DirectoryExists(m_ziel));
}

TEST(LinkNames, TheFileNamePartUpToItsFirstDotNamesTheLink) {
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkName(L"c:\\nirgends\\", L"c:\\a.b\\brief.2026.doc"), L"brief.lnk");
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkName(L"c:\\nirgends\\", L"c:\\daten\\ordner\\"), L"ordner.lnk");
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkName(L"c:\\nirgends\\", L"README"), L"README.lnk");
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkTarget(L"c:\\q", L"x.txt"), L"c:\\q\\x.txt");
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkTarget(L"c:\\q\\", L"\\\\srv\\x.txt"), L"\\\\srv\\x.txt");
    EXPECT_EQ(TDateiAktionFortschrittDlg::LinkTarget(L"", L"x.txt"), L"x.txt");
}

}  // namespace
