#include <gtest/gtest.h>

#include <windows.h>

#include "foundation/DefaultUserStore.h"
#include "mainwindow/FensterEinstellungen.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;

namespace {

class FensterEinstellungenTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        RegDeleteUserKey(ProgrammSchluessel, L"Mainform");
        for (auto list : {L"RecentDirs", L"RecentFiles", L"RecentArcs", L"RecentParameters"})
            RegDeleteUserKey(ProgrammSchluessel, list);
    }
    static std::wstring Stored(const std::wstring& name) { return RegReadUserValue(MainformSchluessel, name); }
    static void Store(const std::wstring& name, const std::wstring& value) {
        RegWriteUserValue(MainformSchluessel, name, value);
    }
    static TZuSpeicherndeFensterWerte Closing() {
        TZuSpeicherndeFensterWerte w;
        w.Max = true;
        w.LeftPaneWidth = 280;
        w.Left = 150, w.Top = 108, w.Width = 700, w.Height = 500;
        w.FirstToolbarButton = 4;
        w.ListKind = ftAusfDateiliste;
        w.LeftPane = TPaneZustand{ftVerzeichnisbaum, L"c:\\windows\\", 0};
        w.RightPane = TPaneZustand{ftZip, L"c:\\temp\\", 5};
        return w;
    }
};

}  // namespace

TEST_F(FensterEinstellungenTest, WindowValuesRoundTrip) {
    TStringList dos;
    THistoryLists lists;
    SaveFensterWerte(Closing(), dos, lists, false);
    EXPECT_EQ(Stored(L"Pos"), L"150,108,700,500");
    EXPECT_EQ(Stored(L"Fenster"), L"13");  // the archive pane as the detailed list it returns to

    TGeladeneFensterWerte w;
    LoadFensterWerte(w, dos, lists, false);
    EXPECT_EQ(w.Pos, (std::vector<int>{150, 108, 700, 500}));
    EXPECT_TRUE(w.Max);
    EXPECT_EQ(w.LeftPaneWidth, 280);
    EXPECT_EQ(w.FirstToolbarButton, 4);
    EXPECT_EQ(w.PaneKinds, L"13");
    EXPECT_EQ(w.SortLeft, L"1");
    EXPECT_EQ(w.SortRight, L"6");
    EXPECT_FALSE(w.UseStartFolderLeft);
    EXPECT_EQ(Stored(L"LPfad"), L"");
}

TEST_F(FensterEinstellungenTest, BadValuesCountAsMissingAndStillLoad) {
    Store(L"Pos", L"10,zehn,640,406");
    Store(L"Max", L"ja");
    Store(L"BreiteLinkesFenster", L"breit");
    Store(L"LeftBtn", L"14");
    TStringList dos;
    THistoryLists lists;
    TGeladeneFensterWerte w;
    LoadFensterWerte(w, dos, lists, false);
    EXPECT_FALSE(w.Pos);
    EXPECT_FALSE(w.Max);
    EXPECT_FALSE(w.LeftPaneWidth);
    EXPECT_EQ(w.FirstToolbarButton, 1);
}

TEST_F(FensterEinstellungenTest, ASideWithoutPaneLeavesItsStoredValuesAlone) {
    Store(L"Fenster", L"45");
    Store(L"LSM", L"3");
    Store(L"RSM", L"9");
    Store(L"LPfad", L"c:\\links\\");
    Store(L"RPfad", L"c:\\rechts\\");
    TZuSpeicherndeFensterWerte none = Closing();
    none.LeftPane.reset();
    none.RightPane.reset();
    SaveFensterWerte(none, TStringList{}, THistoryLists{}, true);
    EXPECT_EQ(Stored(L"Fenster"), L"45");
    EXPECT_EQ(Stored(L"LSM"), L"3");
    EXPECT_EQ(Stored(L"RSM"), L"9");
    EXPECT_EQ(Stored(L"LPfad"), L"c:\\links\\");
    EXPECT_EQ(Stored(L"RPfad"), L"c:\\rechts\\");

    TZuSpeicherndeFensterWerte leftOnly = Closing();
    leftOnly.RightPane.reset();
    SaveFensterWerte(leftOnly, TStringList{}, THistoryLists{}, true);
    EXPECT_EQ(Stored(L"Fenster"), L"15");
    EXPECT_EQ(Stored(L"LSM"), L"1");
    EXPECT_EQ(Stored(L"RSM"), L"9");
    EXPECT_EQ(Stored(L"LPfad"), L"c:\\windows\\");
    EXPECT_EQ(Stored(L"RPfad"), L"c:\\rechts\\");
}

TEST_F(FensterEinstellungenTest, FoldersOnlyWithTheOptionAndAnArchiveAsItsFolder) {
    const std::wstring archive = TempDirectory() + L"velmora fensterwerte.zip";
    HANDLE h = CreateFileW(archive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    TZuSpeicherndeFensterWerte w = Closing();
    w.LeftPane->Directory = archive;
    w.RightPane->SortOrder = 11;  // no stored form
    Store(L"RSM", L"2");
    SaveFensterWerte(w, TStringList{}, THistoryLists{}, true);
    DeleteFileW(archive.c_str());
    EXPECT_EQ(Stored(L"LPfad"), TempDirectory());
    EXPECT_EQ(Stored(L"RSM"), L"2");

    TStringList dos;
    THistoryLists lists;
    TGeladeneFensterWerte on;
    LoadFensterWerte(on, dos, lists, true);
    EXPECT_TRUE(on.UseStartFolderLeft && on.UseStartFolderRight);
    EXPECT_EQ(on.StartFolderLeft, TempDirectory());
    EXPECT_EQ(on.StartFolderRight, L"c:\\temp\\");
    TGeladeneFensterWerte off;
    LoadFensterWerte(off, dos, lists, false);
    EXPECT_FALSE(off.UseStartFolderLeft || off.UseStartFolderRight);
    EXPECT_EQ(off.StartFolderLeft, L"");
}
