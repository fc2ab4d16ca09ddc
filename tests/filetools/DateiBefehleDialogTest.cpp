// The file-command dialogs take typed names in the folder they show, and the
// attribute dialog takes only dates a file can hold; the copy dialog's target
// is selected when shown. Driven inside their modal loops, with the real shell
// behind the routines on the fixture's scratch drive w:.

#include <gtest/gtest.h>

#include <windows.h>

#include "FileRoutinesTestSupport.h"
#include "filetools/AttributDialog.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/LoeschDlg.h"
#include "foundation/FileOperator.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

template <class T>
using Owned = std::unique_ptr<T, TComponentDeleter>;

// The program's current folder is "cwd", the dialogs show "src": both hold a
// "victim.txt".
class DateiBefehleDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (FixtureFolder(L"gui").empty() || !DirectoryExists(L"w:\\lk"))
            GTEST_SKIP() << "needs the scratch drive w: of the fixture script (run through CTest)";
        RemoveTree(kWork);
        ForceDirectories(kWork + L"cwd");
        ForceDirectories(kWork + L"src");
        EXPECT_TRUE(WriteFileOf(kWork + L"cwd\\victim.txt", 50, 'c'));
        EXPECT_TRUE(WriteFileOf(kWork + L"src\\victim.txt", 60, 's'));
        GetCurrentDirectoryW(MAX_PATH, m_savedDir);
        SetCurrentDirectoryW((kWork + L"cwd").c_str());
        m_cwdBefore = Listing(kWork + L"cwd");
    }
    void TearDown() override {
        if (m_savedDir[0])
            SetCurrentDirectoryW(m_savedDir);
        RemoveTree(kWork);
    }

    const std::wstring kWork = L"w:\\dialog\\";
    TFileOperator m_operator{nullptr};
    TDateiRoutinen m_routinen{m_operator};
    TDateiDialogKontext m_kontext;
    TMessageBoxRecorder m_boxes;
    wchar_t m_savedDir[MAX_PATH] = {};
    std::map<std::wstring, std::string> m_cwdBefore;
};

TEST_F(DateiBefehleDialogTest, ANameTypedInTheDeleteDialogIsTakenInTheFolderItShows) {
    m_kontext.Routinen = &m_routinen;
    Owned<TLoeschDlg> dlg{Create<TLoeschDlg>(Application, m_kontext)};
    TDateiListe list;
    dlg->SetDateiliste(&list);
    dlg->SetAktuellesVerzeichnis(kWork + L"src\\");
    TModalScript script;
    script.Step([&](TForm&) {
        dlg->ZLDateien.SetText(L"victim.txt");
        dlg->OKBtn.Click();
    });
    ASSERT_EQ(dlg->ShowModal(), mrOk);
    dlg->SetDateiliste(nullptr);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(SystemLower(list[0]->Name), kWork + L"src\\victim.txt");
    m_routinen.DeleteFiles(list, false, false, 1);
    EXPECT_FALSE(FileExists(kWork + L"src\\victim.txt"));
    EXPECT_EQ(Listing(kWork + L"cwd"), m_cwdBefore) << "the current folder's file stays";
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(DateiBefehleDialogTest, TypedSourceAndTargetOfTheCopyDialogAreTakenInTheFolderItShows) {
    m_kontext.Routinen = &m_routinen;
    Owned<TDateiKopierenDlg> dlg{Create<TDateiKopierenDlg>(Application, m_kontext)};
    ForceDirectories(kWork + L"src\\ziel");
    ForceDirectories(kWork + L"cwd\\ziel");
    m_cwdBefore = Listing(kWork + L"cwd");
    TDateiListe list;
    dlg->SetDateiliste(&list);
    dlg->SetAktuellesVerzeichnis(kWork + L"src\\");
    dlg->Zielverzeichnis.SetText(L"c:\\alt");
    TModalScript script;
    script.Step([&](TForm&) {
        // The old target is selected: typing replaces it.
        DWORD start = 0, end = 0;
        SendMessageW(dlg->Zielverzeichnis.Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 6u);
        dlg->QuellDateien.SetText(L"victim.txt");
        dlg->Zielverzeichnis.SetText(L"ziel");
        dlg->OKBtn.Click();
    });
    ASSERT_EQ(dlg->ShowModal(), mrOk);
    dlg->SetDateiliste(nullptr);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(SystemLower(dlg->Zielverzeichnis.Text()), kWork + L"src\\ziel");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(SystemLower(list[0]->Name), kWork + L"src\\victim.txt");
    m_routinen.CopyFiles(kWork + L"src\\", dlg->Zielverzeichnis.Text(), true, list);
    EXPECT_EQ(ReadAll(kWork + L"src\\ziel\\victim.txt"), std::string(60, 's'));
    EXPECT_EQ(Listing(kWork + L"cwd"), m_cwdBefore);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST(MaskenDatumTest, OnlyTheYearsAFileCanHoldAreDates) {
    EXPECT_FALSE(MaskenDatum(L" 1. 1.1975").has_value());
    EXPECT_FALSE(MaskenDatum(L"31.12.1979").has_value());
    EXPECT_FALSE(MaskenDatum(L" 1. 1.2108").has_value());
    EXPECT_TRUE(MaskenDatum(L" 1. 1.1980").has_value());
    EXPECT_TRUE(MaskenDatum(L"31.12.2107").has_value());
}

TEST_F(DateiBefehleDialogTest, ADateBefore1980IsRefusedAndFoldersKeepingTheirDateAreToldOnce) {
    TDateiListe list;
    for (const wchar_t* name : {L"src", L"cwd"}) {
        list.push_back(std::make_unique<TEineDatei>());
        list.back()->Name = kWork + name;
        list.back()->Attr = FILE_ATTRIBUTE_DIRECTORY;
    }
    list.push_back(std::make_unique<TEineDatei>());
    list.back()->Name = kWork + L"src\\victim.txt";
    Owned<TAttributDialog> dlg{Create<TAttributDialog>(Application)};
    dlg->SetDateien(list, 0);
    std::wstring shown;
    TModalScript script;
    script
        .Step([&](TForm&) {
            dlg->Datum.SetText(L"01.01.1975");
            shown = dlg->Datum.Text();
            dlg->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(dlg->Datum.Focused());
            dlg->Datum.SetText(L"02.03.2001");
            dlg->OKBtn.Click();
        });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, shown + L" ist kein gültiges Datum!");
    EXPECT_NE(shown.find(L"1975"), std::wstring::npos);
    EXPECT_EQ(m_boxes.Calls()[1].Text,
              L"Verzeichnisse behalten ihr Datum; Datum und Uhrzeit werden nur bei Dateien geändert.");
    EXPECT_EQ(m_boxes.Calls()[1].Type, TMsgDlgType::mtInformation);
}

}  // namespace
