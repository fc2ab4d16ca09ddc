#include <gtest/gtest.h>

#include <windows.h>

#include "autostart/common/AutostartList.h"
#include "autostart/manager/Unit1.h"
#include "foundation/DefaultUserStore.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::manager::TForm1;
using velmora::manager::TPrgBearbeitenDlg;

namespace {

const std::wstring kListKey = L".default\\Software\\Quorin Ashvale\\Autostartman";

// The manager's window on the real list key of the build's prefix, with a
// question that is recorded and answered No.
class KelvaneFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteRegistryTree(HKEY_USERS, kListKey);
        // The file name field keeps everything in lower case.
        m_dir = AsciiLower(TempDirectory()) + L"kelvane form test\\";
        ForceDirectories(m_dir);
        m_program = m_dir + L"prog.exe";
        HANDLE h = CreateFileW(m_program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    void TearDown() override {
        if (form) form->Free();
        DeleteRegistryTree(HKEY_USERS, kListKey);
        DeleteFileW(m_program.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }
    void Open() {
        form = Create<TForm1>(Application, m_dir, [this](const std::wstring& q) {
            questions.push_back(q);
            return false;
        });
        form->Show();
    }
    std::vector<std::wstring> Row(int i) const {
        TListItem* item = form->Dateien.Items(i);
        std::vector<std::wstring> row{item->Caption()};
        for (const auto& s : item->SubItems()) row.push_back(s);
        return row;
    }
    TPrgBearbeitenDlg& Dlg() { return *form->PrgBearbeitenDlg; }
    void Fill(const std::wstring& beschreibung, const std::wstring& datei, const std::wstring& wait, int aktion) {
        Dlg().Beschreibung.SetText(beschreibung);
        Dlg().Dateiname.SetText(datei);
        Dlg().Wartezeit.SetText(wait);
        Dlg().Aktion.SetItemIndex(aktion);
    }

    TForm1* form = nullptr;
    std::wstring m_dir, m_program;
    std::vector<std::wstring> questions;
};

}  // namespace

TEST_F(KelvaneFormTest, ShowingLoadsOneRowPerEntry) {
    SaveAutostartList({TEintrag{L"Editor", L"c:\\win\\notiz.exe", L"", 12, 0},
                       TEintrag{L"Rechner", L"c:\\calc.exe", L"/x", 3, 1}});
    Open();
    ASSERT_EQ(form->Dateien.Count(), 2);
    EXPECT_EQ(Row(0), (std::vector<std::wstring>{L"Editor", L"notiz.exe", L"12", L"ja"}));
    EXPECT_EQ(Row(1), (std::vector<std::wstring>{L"Rechner", L"calc.exe", L"3", L"nein"}));
    EXPECT_EQ(form->Dateien.ColumnCount(), 4);
    EXPECT_EQ(form->Dateien.Column(0).Caption, L"Beschreibung");
    EXPECT_EQ(form->Dateien.Column(3).Width, 35);
}

TEST_F(KelvaneFormTest, NewEntryMeetsTheFiveChecksInOrderBeforeItIsAdded) {
    Open();
    std::wstring relative = L"kelvane-relativ.exe";
    HANDLE h = CreateFileW(relative.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    TMessageBoxRecorder boxes;
    TModalScript script;
    script.Step([&](TForm& f) { EXPECT_EQ(f.Caption(), L"Neuer Eintrag"); Fill(L"  ", L"", L"5", 0); Dlg().OKBtn.Click(); })
        .Step([&](TForm& f) {
            EXPECT_EQ(f.ActiveControl(), &Dlg().Beschreibung);
            Fill(L"Programm", L"   ", L"5", 0);
            Dlg().OKBtn.Click();
        })
        .Step([&](TForm& f) {
            EXPECT_EQ(f.ActiveControl(), &Dlg().Dateiname);
            Fill(L"Programm", L"c:\\gibt es nicht.exe", L"5", 0);
            Dlg().OKBtn.Click();
        })
        .Step([&](TForm& f) {
            EXPECT_EQ(f.ActiveControl(), &Dlg().Dateiname);
            Fill(L"Programm", relative, L"5", 0);
            Dlg().OKBtn.Click();
        })
        .Step([&](TForm& f) {
            EXPECT_EQ(f.ActiveControl(), &Dlg().Dateiname);
            Fill(L"Programm", L"  " + m_program + L" ", L"0", 1);
            Dlg().OKBtn.Click();
        })
        .Step([&](TForm& f) {
            EXPECT_EQ(f.ActiveControl(), Dlg().Aktion.Buttons(0));
            EXPECT_EQ(Dlg().Aktion.ItemIndex(), 0) << "the warning turned the action to start";
            EXPECT_EQ(Dlg().Dateiname.Text(), m_program) << "written back trimmed";
            Dlg().OKBtn.Click();
        });
    form->Button1Click(&form->Button1);
    DeleteFileW(relative.c_str());
    EXPECT_FALSE(script.Failed());

    std::vector<std::pair<TMsgDlgType, std::wstring>> expected{
        {TMsgDlgType::mtError, L"Sie haben vergessen eine Beschreibung des zu startenden Programms einzugeben."},
        {TMsgDlgType::mtError, L"Sie haben vergessen, das zu startende Programm auszuwählen."},
        {TMsgDlgType::mtError, L"Das zu startende Programm existiert nicht."},
        {TMsgDlgType::mtError, L"Sie dürfen nur absolute Dateinamen eingeben (\"x:\\dir1\\dir2\\name.ext\")."},
        {TMsgDlgType::mtWarning,
         L"Bei einer Wartezeit von 0 Sekunden kann die Aktion nach Zeitabluaf nur \"Starten\" sein"},
    };
    ASSERT_EQ(boxes.Calls().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(boxes.Calls()[i].Type, expected[i].first) << i;
        EXPECT_EQ(boxes.Calls()[i].Text, expected[i].second) << i;
        EXPECT_EQ(boxes.Calls()[i].Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK}) << i;
    }
    ASSERT_EQ(form->Dateien.Count(), 1);
    EXPECT_EQ(form->Entries()[0], (TEintrag{L"Programm", m_program, L"", 0, 0}));
}

TEST_F(KelvaneFormTest, CancelAndTheCloseBoxCheckNothingAndAddNothing) {
    Open();
    TMessageBoxRecorder boxes;
    TModalScript script;
    script.Step([&](TForm&) { Dlg().CancelBtn.Click(); });
    form->Button1Click(&form->Button1);
    TModalScript again;
    again.Step([&](TForm& f) { f.Close(); });
    form->Button1Click(&form->Button1);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(form->Dateien.Count(), 0);
}

TEST_F(KelvaneFormTest, TheWaitIsKeptWithinZeroToThirtyWhateverWasTyped) {
    Open();
    TModalScript script;
    script.Step([&](TForm&) { Fill(L"Lang", m_program, L"45", 1); Dlg().OKBtn.Click(); });
    form->Button1Click(&form->Button1);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(form->Dateien.Count(), 1);
    EXPECT_EQ(form->Entries()[0].Wartezeit, 30);
    EXPECT_EQ(Row(0)[2], L"30");

    // Text that is no number reads as 0, so "do not start" is refused.
    TMessageBoxRecorder boxes;
    TModalScript second;
    second.Step([&](TForm&) { Fill(L"Kurz", m_program, L"x", 1); Dlg().OKBtn.Click(); })
        .Step([&](TForm&) { Dlg().OKBtn.Click(); });
    form->Button1Click(&form->Button1);
    EXPECT_FALSE(second.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtWarning);
    EXPECT_EQ(form->Entries()[1].Wartezeit, 0);
    EXPECT_EQ(form->Entries()[1].Aktion, 0);
}

TEST_F(KelvaneFormTest, AProgramNameTypedInCapitalsIsStoredInLowerCase) {
    Open();
    TModalScript script;
    script.Step([&](TForm&) {
              Fill(L"Gross", L"", L"5", 0);
              for (wchar_t c : m_program) SendMessageW(Dlg().Dateiname.Handle(), WM_CHAR, towupper(c), 0);
          })
        .Step([&](TForm&) { Dlg().OKBtn.Click(); });
    form->Button1Click(&form->Button1);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(form->Dateien.Count(), 1);
    EXPECT_EQ(form->Entries()[0].Dateiname, m_program);
}

TEST_F(KelvaneFormTest, EditShowsTheSelectedEntryAndRebuildsItsRow) {
    SaveAutostartList({TEintrag{L"Eins", m_program, L"-a", 7, 1}, TEintrag{L"Zwei", m_program, L"", 2, 0}});
    Open();
    TModalScript none;
    form->Button2Click(&form->Button2);
    EXPECT_EQ(none.FormsSeen(), 0) << "nothing selected, no dialog";

    form->Dateien.Items(0)->SetSelected(true);
    TModalScript script;
    script.Step([&](TForm& f) {
        EXPECT_EQ(f.Caption(), L"Eintrag bearbeiten");
        EXPECT_EQ(Dlg().Beschreibung.Text(), L"Eins");
        EXPECT_EQ(Dlg().Parameter.Text(), L"-a");
        EXPECT_EQ(Dlg().WartezeitValue(), 7);
        EXPECT_EQ(Dlg().Aktion.ItemIndex(), 1);
        Dlg().Beschreibung.SetText(L"Eins neu");
        Dlg().Aktion.SetItemIndex(0);
        Dlg().OKBtn.Click();
    });
    form->Button2Click(&form->Button2);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Row(0), (std::vector<std::wstring>{L"Eins neu", L"prog.exe", L"7", L"ja"}));
    EXPECT_EQ(form->Dateien.Count(), 2);
}

TEST_F(KelvaneFormTest, DeleteRemovesEverySelectedRow) {
    SaveAutostartList({TEintrag{L"A", m_program, L"", 1, 0}, TEintrag{L"B", m_program, L"", 2, 0},
                       TEintrag{L"C", m_program, L"", 3, 0}});
    Open();
    form->Dateien.Items(0)->SetSelected(true);
    form->Dateien.Items(2)->SetSelected(true);
    form->Button3Click(&form->Button3);
    ASSERT_EQ(form->Dateien.Count(), 1);
    EXPECT_EQ(form->Entries()[0].Beschreibung, L"B");
}

TEST_F(KelvaneFormTest, OkSavesTheListAndCancelLeavesItAlone) {
    SaveAutostartList({TEintrag{L"A", m_program, L"", 1, 0}, TEintrag{L"B", m_program, L"", 2, 0}});
    Open();
    form->Dateien.Items(0)->SetSelected(true);
    form->Button3Click(&form->Button3);
    form->CancelBtnClick(&form->CancelBtn);
    EXPECT_EQ(LoadAutostartList().size(), 2u);
    EXPECT_FALSE(form->Visible());

    form->Show();
    form->Dateien.Items(0)->SetSelected(true);
    form->Button3Click(&form->Button3);
    form->OKBtnClick(&form->OKBtn);
    EXPECT_EQ(LoadAutostartList(), (TEintragList{TEintrag{L"B", m_program, L"", 2, 0}}));
    EXPECT_FALSE(form->Visible());
}

TEST_F(KelvaneFormTest, OkWithAnEmptyListSavesItAndOffersNothing) {
    SaveAutostartList({TEintrag{L"A", m_program, L"", 1, 0}});
    Open();
    form->Dateien.Items(0)->SetSelected(true);
    form->Button3Click(&form->Button3);
    form->OKBtnClick(&form->OKBtn);
    EXPECT_TRUE(LoadAutostartList().empty());
    EXPECT_TRUE(questions.empty());
}

TEST_F(KelvaneFormTest, OkAfterHandEditedValuesKeepsEveryReadableEntry) {
    RegWriteUserValue(AutostartKey + L"\\0", L"Beschreibung", L"ohne Zahlen");
    RegWriteUserValue(AutostartKey + L"\\0", L"Dateiname", m_program);
    RegWriteUserValue(AutostartKey + L"\\1", L"Beschreibung", L"Unsinn");
    RegWriteUserValue(AutostartKey + L"\\1", L"Wartezeit", L"bald");
    RegWriteUserValue(AutostartKey + L"\\1", L"Aktion", L"vielleicht");
    RegWriteUserValue(AutostartKey + L"\\2", L"Beschreibung", L"normal");
    RegWriteUserValue(AutostartKey + L"\\2", L"Wartezeit", L"4");
    RegWriteUserValue(AutostartKey + L"\\2", L"Aktion", L"0");
    Open();
    ASSERT_EQ(form->Dateien.Count(), 3);
    form->OKBtnClick(&form->OKBtn);

    TEintragList list = LoadAutostartList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Beschreibung, L"ohne Zahlen");
    EXPECT_EQ(list[0].Dateiname, m_program);
    EXPECT_EQ(list[1].Beschreibung, L"Unsinn");
    EXPECT_EQ(list[2], (TEintrag{L"normal", L"", L"", 4, 0}));
    EXPECT_EQ(RegReadUserValue(AutostartKey + L"\\1", L"Wartezeit"), std::to_wstring(TEintrag::kDefaultWartezeit));
    EXPECT_EQ(questions.size(), 1u) << "a non-empty list without the shortcut asks";
}

TEST_F(KelvaneFormTest, HelpOpensTheProductHelpBesideTheProgram) {
    Open();
    THelpRecorder help;
    form->Button4Click(&form->Button4);
    Dlg().Button1Click(&Dlg().Button1);
    ASSERT_EQ(help.Calls().size(), 2u);
    EXPECT_EQ(help.Calls()[0].File, m_dir + L"Velmora.HLP");
    EXPECT_EQ(help.Calls()[0].Data, 57u);
    EXPECT_EQ(help.Calls()[1].Data, 58u);
    EXPECT_EQ(Dlg().Wartezeit.HelpContext, 58);
}
