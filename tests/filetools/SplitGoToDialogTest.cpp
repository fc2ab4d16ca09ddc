// The split preparation and go-to dialogs, driven inside their modal loops:
// what they refuse after OK, and what they hand on.

#include <gtest/gtest.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/DTeilenVorDlg.h"
#include "filetools/GoToDirDialog.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

class SplitGoToDialogTest : public ::testing::Test {
protected:
    SplitGoToDialogTest() {
        m_kontext.RecentFiles = &m_recent;
        m_kontext.RecentDirs = &m_recent;
        m_kontext.AddPathHistory = [this](const std::wstring& p) { m_history.push_back(p); };
        m_kontext.AddDirHistory = [this](const std::wstring& d) { m_history.push_back(d); };
        m_boxes.Answer(mrOk);
        m_boxes.Answer(mrOk);
        m_boxes.Answer(mrOk);
        m_boxes.Answer(mrOk);
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& call : m_boxes.Calls()) texts.push_back(call.Text);
        return texts;
    }

    TStringList m_recent;
    TDateiDialogKontext m_kontext;
    std::vector<std::wstring> m_history;
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"teilenvor"};
};

}  // namespace

TEST_F(SplitGoToDialogTest, TheSplitDialogTakesOnlyAFileLargerThanOnePieceByItsFullName) {
    m_folder.MakeFile(L"daten.bin", 100000);
    CreateDirectoryW((m_folder.Path() + L"ordner").c_str(), nullptr);
    TDateiTeilenvorbereitenDlg dlg(nullptr, m_kontext);
    dlg.SetAktuellesVerzeichnis(m_folder.Path());
    // Each try: the field's texts, then OK; a refused one keeps the dialog open.
    auto tryOk = [&](const std::wstring& datei, const std::wstring& groesse) {
        return [&dlg, datei, groesse](TForm&) {
            dlg.Datei.SetText(datei);
            dlg.Groesse.SetText(groesse);
            dlg.OKBtn.Click();
        };
    };
    TModalScript script(10000);
    script.Step(tryOk(L"daten.bin", L"0"))
        .Step(tryOk(L"*.bin", L"1000"))
        .Step(tryOk(L"ordner", L"1000"))
        .Step(tryOk(L"daten.bin", L"100000"))
        .Step(tryOk(L"daten.bin", L"99999"));
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{
                           L"Die Fragmentgröße muß mindestens 1 Byte betragen.",
                           L"Die ausgewählte Datei existiert nicht. Bitte überprüfen Sie Ihre Eingabe",
                           L"Die ausgewählte Datei existiert nicht. Bitte überprüfen Sie Ihre Eingabe",
                           L"Die Größe der ausgewählten Datei ist kleiner oder gleich der gewünschten Fragmentgröße.\r\n"
                           L"Bitte verringern Sie die Fragmentgröße oder wählen Sie eine andere Datei."}));
    // Beside the source, not in the process's current folder.
    EXPECT_EQ(dlg.Ergebnis().Name, m_folder.Path() + L"daten.bin");
    EXPECT_EQ(dlg.Ergebnis().Size, 100000);
    EXPECT_EQ(dlg.Fragment(), 99999);
    EXPECT_EQ(m_history, (std::vector<std::wstring>{m_folder.Path() + L"daten.bin"}));
}

TEST_F(SplitGoToDialogTest, GoToTakesABareDriveAsItsRootAndRefusesARelativeName) {
    TGoToDirDlg dlg(nullptr, m_kontext);
    TModalScript script(10000);
    script
        .Step([&](TForm&) {
            dlg.Verzeichnis.SetText(L"windows");
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            dlg.Verzeichnis.SetText(L"c:");
            dlg.OKBtn.Click();
        });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Texts(),
              (std::vector<std::wstring>{L"Das ausgewählte Verzeichnis existiert nicht! Bitte überprüfen Sie Ihre Eingabe."}));
    EXPECT_EQ(dlg.Ziel(), L"c:\\");
    EXPECT_EQ(m_history, (std::vector<std::wstring>{L"c:\\"}));
}
