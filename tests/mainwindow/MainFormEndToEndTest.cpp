// The main window's file commands end to end: the window as the program makes
// it, with real file-list panes on both sides, the real file routines, the
// shell's file operation and the kept dialogs, answered by the modal script as
// a user would answer them, on a tree below "c:\vel-e2e". After each command
// the disk and the rows of both panes must show the new state.
//
// Nothing is cleared at the end: the dialog positions and the history lists of
// the run stay in the registry for fileops-regquery.sh to list. Each dialog is
// moved to a place of its own while shown, so that its stored position is known.

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "filetools/AttributDialog.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiUmbenennenDlg.h"
#include "filetools/FileRoutinesTestSupport.h"
#include "filetools/LoeschDlg.h"
#include "filetools/VerzeichnisErstellenDlg.h"
#include "foundation/ShellLink.h"
#include "foundation/TestFiles.h"
#include "panes/DateiListe.h"
#include "panes/Vbaum.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

const std::wstring kRoot = L"c:\\vel-e2e\\";

// Where each dialog is put while shown; fileops-regquery.sh expects these.
struct TPlatz {
    int Left, Top;
};
constexpr TPlatz kKopierenPlatz{101, 102}, kLoeschenPlatz{111, 112}, kOrdnerPlatz{121, 122},
    kUmbenennenPlatz{131, 132}, kAttributPlatz{141, 142};

void Platzieren(TForm& Dialog, TPlatz Platz) {
    Dialog.SetBounds(Platz.Left, Platz.Top, Dialog.Width(), Dialog.Height());
}

std::wstring Environment(const wchar_t* Name) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(Name, buffer, 1024);
    return n && n < 1024 ? std::wstring(buffer) : std::wstring();
}

// Names compared as the file system compares them.
std::set<std::wstring> Lower(const std::vector<std::wstring>& Names) {
    std::set<std::wstring> lower;
    for (const std::wstring& name : Names)
        lower.insert(SystemLower(name));
    return lower;
}

std::vector<std::wstring> DiskNames(const std::wstring& Folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((IncludeTrailingBackslash(Folder) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

TItemData* RowData(TDateiListeForm& Pane, int Index) {
    return static_cast<TItemData*>(Pane.Dateiliste.Items(Index)->Data);
}

// The names of a pane's rows, without the parent row.
std::vector<std::wstring> RowNames(TDateiListeForm& Pane) {
    std::vector<std::wstring> names;
    for (int i = 0; i < Pane.Dateiliste.Count(); ++i)
        if (Pane.Dateiliste.Items(i)->Caption() != L"[ .. ]")
            names.push_back(RowData(Pane, i)->Name);
    return names;
}

std::wstring Joined(const std::set<std::wstring>& Names) {
    std::wstring text;
    for (const std::wstring& name : Names)
        text += (text.empty() ? L"" : L", ") + name;
    return text;
}

std::string Narrow(const std::wstring& Text) {
    std::string out;
    for (wchar_t c : Text)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

FILETIME LocalWriteTime(const std::wstring& Name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(Name.c_str(), GetFileExInfoStandard, &data);
    FILETIME local{};
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    return local;
}

class EndToEnd : public ::testing::Test {
protected:
    // The run's lists and positions start empty; every test adds to them. The
    // list editor's place goes too: the copy and delete dialogs make it, and
    // never showing it, it must keep none.
    static void SetUpTestSuite() {
        for (auto list : {L"RecentDirs", L"RecentFiles", L"RecentArcs", L"RecentParameters"})
            RegDeleteUserKey(ProgrammSchluessel, list);
        for (auto dialog : {L"DKopieren", L"DLoeschen", L"VerzErst", L"DUmb", L"Attr", L"DBearb"})
            RegDeleteUserValue(DialogeSchluessel, std::wstring(dialog) + L"DlgPos");
        RemoveTree(kRoot);
    }
    void TearDown() override {
        if (m_form) {
            Application->SetMainForm(m_previousMain);
            m_form->Close();
            Application->ProcessMessages();
            EXPECT_FALSE(m_form->Visible());
            // Freeing the window frees its kept dialogs, which store their places.
            m_form->Free();
        }
    }

    // A folder of the tree, made, with its "\".
    static std::wstring Folder(const std::wstring& Name) {
        const std::wstring path = kRoot + Name + L"\\";
        ForceDirectories(path);
        return path;
    }

    // The window as the program starts it, a file list on the left and a
    // detailed file list on the right, each showing its folder.
    THauptform& Open(const std::wstring& LeftFolder, const std::wstring& RightFolder) {
        m_previousMain = Application->MainForm();
        m_form = Create<THauptform>(nullptr);
        Application->SetMainForm(m_form);
        m_form->Show();
        Application->ProcessMessages();
        m_form->ShowPaneKind(0, ftDateiliste);
        m_form->ShowPaneKind(1, ftAusfDateiliste);
        Application->ProcessMessages();
        EXPECT_TRUE(m_form->ShowDirectory(m_form->RightPane, RightFolder));
        EXPECT_TRUE(m_form->ShowDirectory(m_form->LeftPane, LeftFolder));
        Application->ProcessMessages();
        // The delete dialog is shown; copy and move overwrite without asking.
        m_form->Settings->Best.AuswahlDlgVorLoeschen = true;
        m_form->Settings->Best.NichtAlleUeberschreiben = false;
        return *m_form;
    }

    TDateiListeForm& Left() { return dynamic_cast<TDateiListeForm&>(*m_form->LeftPane); }
    TDateiListeForm& Right() { return dynamic_cast<TDateiListeForm&>(*m_form->RightPane); }

    // The pane becomes the active one and exactly Names are marked in it.
    void Mark(TDateiListeForm& Pane, const std::vector<std::wstring>& Names) {
        Pane.SetFocus();
        Application->ProcessMessages();
        ASSERT_EQ(m_form->ActivePane(), &Pane);
        const std::set<std::wstring> wanted = Lower(Names);
        int marked = 0;
        for (int i = 0; i < Pane.Dateiliste.Count(); ++i) {
            const bool mark = Pane.Dateiliste.Items(i)->Caption() != L"[ .. ]" &&
                              wanted.count(SystemLower(RowData(Pane, i)->Name)) != 0;
            Pane.Dateiliste.Items(i)->SetSelected(mark);
            marked += mark;
        }
        ASSERT_EQ(marked, static_cast<int>(wanted.size())) << "rows to mark";
    }

    // Waits until the pane's rows are Names, as its folder monitor brings them.
    static ::testing::AssertionResult Shows(TDateiListeForm& Pane, const std::vector<std::wstring>& Names) {
        const std::set<std::wstring> wanted = Lower(Names);
        if (WaitUntil([&] { return Lower(RowNames(Pane)) == wanted; }, 15000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Narrow(Pane.GetDirectory()) << " shows [" << Narrow(Joined(Lower(RowNames(Pane))))
                                             << "], not [" << Narrow(Joined(wanted)) << "]";
    }

    static ::testing::AssertionResult OnDisk(const std::wstring& Folder, const std::vector<std::wstring>& Names) {
        const std::set<std::wstring> found = Lower(DiskNames(Folder)), wanted = Lower(Names);
        if (found == wanted)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Narrow(Folder) << " holds [" << Narrow(Joined(found)) << "], not ["
                                             << Narrow(Joined(wanted)) << "]";
    }

    // Runs a menu command whose one dialog the step answers.
    static void Run(TMenuItem& Item, std::function<void(TForm&)> Step) {
        TModalScript script(15000);
        script.Step(std::move(Step));
        Item.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.StepsLeft(), 0) << "the dialog was shown";
    }

    // The copy dialog's answer: the target typed, then OK.
    static std::function<void(TForm&)> TypeTarget(const std::wstring& Target) {
        return [Target](TForm& f) {
            auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
            Platzieren(dlg, kKopierenPlatz);
            dlg.Zielverzeichnis.SetFocus();
            dlg.Zielverzeichnis.SetText(Target);
            dlg.OKBtn.Click();
        };
    }

    // The delete dialog's answer: no confirmations, Mode, and a typed name
    // when one is given.
    static std::function<void(TForm&)> DeleteAs(int Mode, const std::wstring& Typed = L"") {
        return [Mode, Typed](TForm& f) {
            auto& dlg = dynamic_cast<TLoeschDlg&>(f);
            Platzieren(dlg, kLoeschenPlatz);
            if (!Typed.empty()) {
                dlg.ZLDateien.SetFocus();
                dlg.ZLDateien.SetText(Typed);
            }
            dlg.Sicherheitsabfragen.SetChecked(false);
            dlg.LoeschGroup.SetItemIndex(Mode);
            dlg.OKBtn.Click();
        };
    }

    // The boxes shown so far, for the failure text.
    std::string Boxes() const {
        std::wstring text;
        for (const TMessageBoxCall& box : m_boxes.Calls())
            text += L"[" + box.Text + L"] ";
        return Narrow(text);
    }

    TMessageBoxRecorder m_boxes;
    THelpRecorder m_help;
    THauptform* m_form = nullptr;
    TForm* m_previousMain = nullptr;
};

// ---- Exactly what the user chose, by the keys
//
// These run first: the suite below starts the history lists and dialog places
// afresh, and fileops-regquery.sh checks what that suite left.

// A key pressed in a pane, as the message loop gets it from the keyboard; a
// dialog it opens is answered by Step.
void PressInPane(HWND Target, WORD Key, std::function<void(TForm&)> Step = nullptr) {
    TModalScript script(15000);
    if (Step)
        script.Step(std::move(Step));
    PostMessageW(Target, WM_KEYDOWN, Key, 1);
    PostMessageW(Target, WM_KEYUP, Key, 0xC0000001);
    Application->ProcessMessages();
    if (Step) {
        EXPECT_TRUE(WaitUntil([&] { return script.StepsLeft() == 0; }, 15000)) << "the dialog was shown";
        EXPECT_FALSE(script.Failed());
    }
}

class ChosenByKeys : public EndToEnd {
protected:
    void SetUp() override {
        if (FixtureFolder(L"gui").empty() || !DirectoryExists(L"w:\\lk"))
            GTEST_SKIP() << "needs the scratch drive w: of the fixture script (run through CTest)";
        RemoveTree(kWork);
        ForceDirectories(kWork);
        m_outside = FixtureFolder(L"woutside");
    }
    void TearDown() override {
        EndToEnd::TearDown();
        RemoveTree(kWork);
    }
    void Remember() {
        m_drive = Listing(L"w:\\");
        m_linked = Listing(m_outside);
    }
    void ExpectUntouched() {
        EXPECT_EQ(Listing(L"w:\\"), m_drive);
        EXPECT_EQ(Listing(m_outside), m_linked);
    }
    HWND ListOf(TDateiListeForm& Pane) { return Pane.Dateiliste.Handle(); }

    const std::wstring kWork = L"w:\\fenster\\";
    std::wstring m_outside;
    std::map<std::wstring, std::string> m_drive, m_linked;
};

TEST_F(ChosenByKeys, F8AndF6OnADriveInTheTreeAreRefusedWithABox) {
    EXPECT_TRUE(WriteFileOf(kWork + L"a.txt", 20, 'a'));
    THauptform& form = Open(kWork, kWork);
    form.Settings->Best.AuswahlDlgVorLoeschen = false;
    form.ShowPaneKind(0, ftVerzeichnisbaum);
    Application->ProcessMessages();
    auto& tree = dynamic_cast<TVbaumForm&>(*form.LeftPane);
    tree.SetDirectory(L"w:\\");
    ASSERT_EQ(SystemLower(tree.GetDirectory()), L"w:\\");
    tree.Verzeichnisbaum.SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(form.ActivePane(), form.LeftPane);
    Remember();

    PressInPane(tree.Verzeichnisbaum.Handle(), VK_F8);
    ASSERT_TRUE(WaitUntil([&] { return !m_boxes.Calls().empty(); }, 15000));
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Ein ganzes Laufwerk kann nicht gelöscht werden:\rw:\\");
    m_boxes.Clear();
    PressInPane(tree.Verzeichnisbaum.Handle(), VK_F6);
    ASSERT_TRUE(WaitUntil([&] { return !m_boxes.Calls().empty(); }, 15000));
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Ein ganzes Laufwerk kann nicht verschoben werden:\rw:\\");
    ExpectUntouched();
}

TEST_F(ChosenByKeys, F8WithALinkTypedWithATrailingSeparatorLeavesTheLinkedFolderWhole) {
    EXPECT_TRUE(WriteFileOf(kWork + L"a.txt", 20, 'a'));
    Open(kWork, kWork);
    ASSERT_TRUE(Shows(Left(), {L"a.txt"}));
    Mark(Left(), {L"a.txt"});
    Remember();
    PressInPane(ListOf(Left()), VK_F8, DeleteAs(1, L"w:\\lk\\outlink\\"));
    ASSERT_TRUE(WaitUntil([&] { return !m_boxes.Calls().empty(); }, 15000));
    EXPECT_EQ(m_boxes.Calls()[0].Text.find(L"Folgende Verzeichnisse enthalten Verknüpfungen"), 0u) << Boxes();
    ExpectUntouched();
}

TEST_F(ChosenByKeys, F8WithANameTypedTakesItInTheShownFolderNotTheCurrentOne) {
    ForceDirectories(kWork + L"src");
    ForceDirectories(kWork + L"cwd");
    EXPECT_TRUE(WriteFileOf(kWork + L"src\\victim.txt", 30, 's'));
    EXPECT_TRUE(WriteFileOf(kWork + L"src\\bleibt.txt", 31, 'b'));
    EXPECT_TRUE(WriteFileOf(kWork + L"cwd\\victim.txt", 32, 'c'));
    Open(kWork + L"src\\", kWork + L"cwd\\");
    ASSERT_TRUE(Shows(Left(), {L"victim.txt", L"bleibt.txt"}));
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW((kWork + L"cwd").c_str());
    const auto cwdBefore = Listing(kWork + L"cwd");
    Mark(Left(), {L"bleibt.txt"});
    PressInPane(ListOf(Left()), VK_F8, DeleteAs(1, L"victim.txt"));
    SetCurrentDirectoryW(saved);
    EXPECT_TRUE(Shows(Left(), {L"bleibt.txt"}));
    EXPECT_EQ(Listing(kWork + L"cwd"), cwdBefore);
    EXPECT_TRUE(m_boxes.Calls().empty()) << Boxes();
}

TEST_F(ChosenByKeys, F5AndF6WithTwoNamesLandingOnOneTargetAreRefused) {
    ForceDirectories(kWork + L"s1");
    ForceDirectories(kWork + L"s2");
    ForceDirectories(kWork + L"ziel");
    EXPECT_TRUE(WriteFileOf(kWork + L"s1\\x.txt", 10, '1'));
    EXPECT_TRUE(WriteFileOf(kWork + L"s2\\x.txt", 20, '2'));
    Open(kWork + L"s1\\", kWork + L"ziel\\");
    ASSERT_TRUE(Shows(Left(), {L"x.txt"}));
    Remember();
    for (WORD key : {WORD(VK_F5), WORD(VK_F6)}) {
        m_boxes.Clear();
        Mark(Left(), {L"x.txt"});
        // The second name comes into the list as the list editor would bring it.
        PressInPane(ListOf(Left()), key, [this](TForm& f) {
            auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
            Platzieren(dlg, kKopierenPlatz);
            auto record = std::make_unique<TEineDatei>();
            record->Name = kWork + L"s2\\x.txt";
            dlg.Dateiliste()->push_back(std::move(record));
            dlg.SetDateiliste(dlg.Dateiliste());
            dlg.Zielverzeichnis.SetFocus();
            dlg.Zielverzeichnis.SetText(kWork + L"ziel");
            dlg.OKBtn.Click();
        });
        ASSERT_TRUE(WaitUntil([&] { return !m_boxes.Calls().empty(); }, 15000));
        EXPECT_EQ(m_boxes.Calls()[0].Text.find(L"Folgende Dateien erhielten im Ziel denselben Namen"), 0u) << Boxes();
    }
    ExpectUntouched();
}

// ---- Copy and move

TEST_F(EndToEnd, CopyAndMoveOfFilesAndAFolderReachDiskAndBothPanes) {
    const std::wstring quelle = Folder(L"kopie\\quelle"), ziel = Folder(L"kopie\\ziel");
    EXPECT_TRUE(WriteFileOf(quelle + L"a.txt", 100, 'a'));
    EXPECT_TRUE(WriteFileOf(quelle + L"b.txt", 200, 'b'));
    EXPECT_TRUE(WriteFileOf(quelle + L"c.txt", 300, 'c'));
    ForceDirectories(quelle + L"Ordner");
    EXPECT_TRUE(WriteFileOf(quelle + L"Ordner\\innen.txt", 50, 'i'));
    THauptform& form = Open(quelle, ziel);
    ASSERT_TRUE(Shows(Left(), {L"a.txt", L"b.txt", L"c.txt", L"Ordner"}));
    ASSERT_TRUE(Shows(Right(), {}));

    Mark(Left(), {L"a.txt"});
    Run(form.DateiKopieren, TypeTarget(ziel));
    EXPECT_EQ(ReadAll(ziel + L"a.txt"), std::string(100, 'a'));
    EXPECT_EQ(ReadAll(quelle + L"a.txt"), std::string(100, 'a'));
    EXPECT_TRUE(Shows(Right(), {L"a.txt"}));

    Mark(Left(), {L"b.txt", L"c.txt", L"Ordner"});
    Run(form.DateiVerschieben, TypeTarget(ziel));
    EXPECT_TRUE(OnDisk(quelle, {L"a.txt"}));
    EXPECT_TRUE(OnDisk(ziel, {L"a.txt", L"b.txt", L"c.txt", L"Ordner"}));
    EXPECT_EQ(ReadAll(ziel + L"Ordner\\innen.txt"), std::string(50, 'i'));
    EXPECT_EQ(ReadAll(ziel + L"c.txt"), std::string(300, 'c'));
    EXPECT_TRUE(Shows(Left(), {L"a.txt"}));
    EXPECT_TRUE(Shows(Right(), {L"a.txt", L"b.txt", L"c.txt", L"Ordner"}));
    EXPECT_TRUE(m_boxes.Calls().empty()) << Boxes();
}

// One file to a target with an extension that is no folder: a copy and a move
// under that name, nothing reported missing.
TEST_F(EndToEnd, OneFileCopiedAndMovedUnderANewName) {
    const std::wstring quelle = Folder(L"neuername\\quelle"), ziel = Folder(L"neuername\\ziel");
    EXPECT_TRUE(WriteFileOf(quelle + L"brief.txt", 40, 'k'));
    EXPECT_TRUE(WriteFileOf(quelle + L"notiz.txt", 60, 'v'));
    THauptform& form = Open(quelle, ziel);
    ASSERT_TRUE(Shows(Left(), {L"brief.txt", L"notiz.txt"}));

    Mark(Left(), {L"brief.txt"});
    Run(form.DateiKopieren, TypeTarget(ziel + L"kopie.txt"));
    EXPECT_EQ(ReadAll(ziel + L"kopie.txt"), std::string(40, 'k'));
    EXPECT_TRUE(Shows(Right(), {L"kopie.txt"}));

    Mark(Left(), {L"notiz.txt"});
    Run(form.DateiVerschieben, TypeTarget(ziel + L"verschoben.txt"));
    EXPECT_EQ(ReadAll(ziel + L"verschoben.txt"), std::string(60, 'v'));
    EXPECT_TRUE(OnDisk(quelle, {L"brief.txt"}));
    EXPECT_TRUE(Shows(Left(), {L"brief.txt"}));
    EXPECT_TRUE(Shows(Right(), {L"kopie.txt", L"verschoben.txt"}));
    EXPECT_TRUE(m_boxes.Calls().empty()) << Boxes();
}

// The shell says nothing when the target runs full: the copy command names the file.
TEST_F(EndToEnd, ACopyOntoAFullDriveIsNamedInItsBox) {
    const std::wstring reason = NoSmallDriveReason();
    if (!reason.empty())
        GTEST_SKIP() << Narrow(reason);
    const std::wstring quelle = Folder(L"voll");
    const std::wstring gross = quelle + L"Gross.bin";
    EXPECT_TRUE(WriteFileOf(gross, 3 << 20, 'g'));
    ASSERT_TRUE(DirectoryExists(L"s:\\")) << "the fixture's small drive";
    DeleteFileW(L"s:\\Gross.bin");
    THauptform& form = Open(quelle, L"s:\\");
    ASSERT_TRUE(Shows(Left(), {L"Gross.bin"}));
    Mark(Left(), {L"Gross.bin"});
    Run(form.DateiKopieren, TypeTarget(L"s:\\"));
    ASSERT_EQ(m_boxes.Calls().size(), 1u) << Boxes();
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Folgende Dateien wurden nicht vollständig kopiert:\r" + SystemLower(gross));
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(ReadAll(gross).size(), 3u << 20) << "the source stays whole";
    DeleteFileW(L"s:\\Gross.bin");
}

// ---- Delete

TEST_F(EndToEnd, DeleteToTheBinForGoodAndWipedLeavesWhatAHardLinkOutsideReads) {
    const std::wstring baum = Folder(L"loeschen"), aussen = Folder(L"aussen");
    EXPECT_TRUE(WriteFileOf(baum + L"papierkorb-e2e.txt", 17, 'p'));
    EXPECT_TRUE(WriteFileOf(baum + L"endgueltig.txt", 5, 'e'));
    ForceDirectories(baum + L"Weg");
    EXPECT_TRUE(WriteFileOf(baum + L"Weg\\x.txt", 3, 'x'));
    EXPECT_TRUE(WriteFileOf(baum + L"bleibt.txt", 10, 'b'));
    EXPECT_TRUE(WriteFileOf(baum + L"geheim.bin", 5000, 'g'));
    ForceDirectories(baum + L"Geheimordner");
    EXPECT_TRUE(WriteFileOf(baum + L"Geheimordner\\eins.txt", 700, '1'));
    EXPECT_TRUE(WriteFileOf(baum + L"Geheimordner\\zwei.txt", 800, '2'));
    // Made beforehand, outside the tree: they keep the data the wipe leaves.
    ASSERT_TRUE(CreateHardLinkW((aussen + L"geheim.bin").c_str(), (baum + L"geheim.bin").c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkW((aussen + L"eins.txt").c_str(), (baum + L"Geheimordner\\eins.txt").c_str(), nullptr));
    ASSERT_EQ(ReadAll(aussen + L"geheim.bin"), std::string(5000, 'g'));

    const std::wstring xdg = Environment(L"XDG_DATA_HOME");
    std::wstring bin;
    if (!xdg.empty()) {
        bin = L"Z:" + xdg + L"\\Trash\\";
        std::replace(bin.begin(), bin.end(), L'/', L'\\');
        DeleteFileW((bin + L"files\\papierkorb-e2e.txt").c_str());
        DeleteFileW((bin + L"info\\papierkorb-e2e.txt.trashinfo").c_str());
    }

    THauptform& form = Open(baum, aussen);
    ASSERT_TRUE(Shows(Left(), {L"papierkorb-e2e.txt", L"endgueltig.txt", L"Weg", L"bleibt.txt", L"geheim.bin",
                               L"Geheimordner"}));

    Mark(Left(), {L"papierkorb-e2e.txt"});
    Run(form.DateiLoeschen, DeleteAs(0));
    EXPECT_FALSE(FileExists(baum + L"papierkorb-e2e.txt"));
    if (!bin.empty()) {
        EXPECT_EQ(ReadAll(bin + L"files\\papierkorb-e2e.txt"), std::string(17, 'p')) << "in the recycle bin";
        DeleteFileW((bin + L"files\\papierkorb-e2e.txt").c_str());
        DeleteFileW((bin + L"info\\papierkorb-e2e.txt.trashinfo").c_str());
    }
    EXPECT_TRUE(Shows(Left(), {L"endgueltig.txt", L"Weg", L"bleibt.txt", L"geheim.bin", L"Geheimordner"}));

    Mark(Left(), {L"endgueltig.txt", L"Weg"});
    Run(form.DateiLoeschen, DeleteAs(1));
    EXPECT_TRUE(OnDisk(baum, {L"bleibt.txt", L"geheim.bin", L"Geheimordner"}));
    if (!bin.empty()) {
        EXPECT_FALSE(FileExists(bin + L"files\\endgueltig.txt")) << "not in the recycle bin";
    }
    EXPECT_TRUE(Shows(Left(), {L"bleibt.txt", L"geheim.bin", L"Geheimordner"}));
    EXPECT_TRUE(m_boxes.Calls().empty()) << Boxes();

    // The marked file is replaced in the dialog by the name the user types.
    Mark(Left(), {L"bleibt.txt"});
    Run(form.DateiLoeschen, DeleteAs(2, baum + L"geheim.bin"));
    // A file with another name is not zeroed (the other name would show the
    // zeros); this name goes only after a question naming it (answered yes).
    ASSERT_EQ(m_boxes.Calls().size(), 2u) << Boxes();
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Wollen Sie wirklich die ausgewählten Dateien vor dem Löschen mit Nullbytes\r"
              L"überschreiben? Sie sind dann nicht wiederherstellbar.");
    EXPECT_NE(m_boxes.Calls()[1].Text.find(SystemLower(baum + L"geheim.bin")), std::wstring::npos) << Boxes();
    EXPECT_EQ(ReadAll(aussen + L"geheim.bin"), std::string(5000, 'g')) << "the other name keeps its data";
    EXPECT_EQ(ReadAll(baum + L"bleibt.txt"), std::string(10, 'b'));
    EXPECT_TRUE(Shows(Left(), {L"bleibt.txt", L"Geheimordner"}));

    Mark(Left(), {L"Geheimordner"});
    Run(form.DateiLoeschen, DeleteAs(2));
    EXPECT_EQ(m_boxes.Calls().size(), 4u) << Boxes();
    EXPECT_EQ(ReadAll(aussen + L"eins.txt"), std::string(700, '1')) << "a hard-linked file inside a folder keeps its data";
    EXPECT_TRUE(OnDisk(baum, {L"bleibt.txt"}));
    EXPECT_TRUE(Shows(Left(), {L"bleibt.txt"}));
    EXPECT_TRUE(Shows(Right(), {L"geheim.bin", L"eins.txt"}));
}

// ---- Rename, new folder, attributes and date

TEST_F(EndToEnd, RenameNewFolderAndAttributesWithTheListOfTheRenamedFolderFollowing) {
    const std::wstring baum = Folder(L"umbenennen");
    ForceDirectories(baum + L"Alt");
    EXPECT_TRUE(WriteFileOf(baum + L"Alt\\drin.txt", 4, 'd'));
    EXPECT_TRUE(WriteFileOf(baum + L"datei.txt", 6, 'f'));
    THauptform& form = Open(baum, baum + L"Alt\\");
    ASSERT_TRUE(Shows(Left(), {L"Alt", L"datei.txt"}));
    ASSERT_TRUE(Shows(Right(), {L"drin.txt"}));

    Mark(Left(), {L"Alt"});
    Run(form.DateiUmbenennen, [](TForm& f) {
        auto& dlg = dynamic_cast<TDateiUmbenennenDlg&>(f);
        Platzieren(dlg, kUmbenennenPlatz);
        EXPECT_EQ(dlg.NeuerDateiName.Text(), L"alt");
        dlg.NeuerDateiName.SetText(L"Neu");
        dlg.OKBtn.Click();
    });
    EXPECT_TRUE(OnDisk(baum, {L"Neu", L"datei.txt"}));
    EXPECT_TRUE(Shows(Left(), {L"Neu", L"datei.txt"}));
    EXPECT_EQ(SystemLower(Right().GetDirectory()), SystemLower(baum + L"Neu\\"));
    // The right pane goes on in the renamed folder.
    EXPECT_TRUE(WriteFileOf(baum + L"Neu\\spaeter.txt", 1, 's'));
    Right().ReadContents();
    EXPECT_TRUE(Shows(Right(), {L"drin.txt", L"spaeter.txt"}));

    // A list in a folder below the renamed one follows too.
    ForceDirectories(baum + L"Neu\\Tief");
    EXPECT_TRUE(WriteFileOf(baum + L"Neu\\Tief\\unten.txt", 2, 'u'));
    ASSERT_TRUE(form.ShowDirectory(form.RightPane, baum + L"Neu\\Tief\\"));
    ASSERT_TRUE(Shows(Right(), {L"unten.txt"}));
    ASSERT_TRUE(Shows(Left(), {L"Neu", L"datei.txt"}));
    Mark(Left(), {L"Neu"});
    Run(form.DateiUmbenennen, [](TForm& f) {
        auto& dlg = dynamic_cast<TDateiUmbenennenDlg&>(f);
        Platzieren(dlg, kUmbenennenPlatz);
        dlg.NeuerDateiName.SetText(L"Neuer");
        dlg.OKBtn.Click();
    });
    EXPECT_TRUE(OnDisk(baum, {L"Neuer", L"datei.txt"}));
    EXPECT_EQ(SystemLower(Right().GetDirectory()), SystemLower(baum + L"Neuer\\Tief\\"));
    EXPECT_TRUE(WriteFileOf(baum + L"Neuer\\Tief\\spaeter.txt", 1, 's'));
    Right().ReadContents();
    EXPECT_TRUE(Shows(Right(), {L"unten.txt", L"spaeter.txt"}));
    EXPECT_TRUE(Shows(Left(), {L"Neuer", L"datei.txt"}));

    Left().SetFocus();
    Application->ProcessMessages();
    Run(form.DateiVerzeichnisErstellen, [](TForm& f) {
        auto& dlg = dynamic_cast<TVerzeichnisErstellenDlg&>(f);
        Platzieren(dlg, kOrdnerPlatz);
        dlg.Edit1.SetText(L"Frisch");
        dlg.OKBtn.Click();
    });
    EXPECT_TRUE(DirectoryExists(baum + L"Frisch"));
    EXPECT_TRUE(Shows(Left(), {L"Neuer", L"datei.txt", L"Frisch"}));

    Mark(Left(), {L"datei.txt"});
    Run(form.AttributeSetzen1, [](TForm& f) {
        auto& dlg = dynamic_cast<TAttributDialog&>(f);
        Platzieren(dlg, kAttributPlatz);
        dlg.ReadOnly.SetState(TCheckBoxState::cbChecked);
        dlg.Datum.SetText(L" 1. 2.2020");
        dlg.DatumAendern.SetChecked(true);
        dlg.Zeit.SetText(L"13:45:00");
        dlg.ZeitAendern.SetChecked(true);
        dlg.OKBtn.Click();
    });
    const std::wstring datei = baum + L"datei.txt";
    EXPECT_TRUE(GetFileAttributesW(datei.c_str()) & FILE_ATTRIBUTE_READONLY);
    SYSTEMTIME stamp{};
    const FILETIME local = LocalWriteTime(datei);
    FileTimeToSystemTime(&local, &stamp);
    EXPECT_EQ(stamp.wYear, 2020);
    EXPECT_EQ(stamp.wMonth, 2);
    EXPECT_EQ(stamp.wDay, 1);
    EXPECT_EQ(stamp.wHour, 13);
    EXPECT_EQ(stamp.wMinute, 45);
    // The row of the file gets the new attributes and date.
    auto rowShows = [&] {
        for (int i = 0; i < Left().Dateiliste.Count(); ++i) {
            TItemData* row = RowData(Left(), i);
            if (row && SystemLower(row->Name) == L"datei.txt" && row->DatenGeladen)
                return (row->Attr & FILE_ATTRIBUTE_READONLY) != 0 &&
                       DateTimeToDosDateTime(row->Datum) == DateTimeToDosDateTime(*TryEncodeDateTime({2020, 2, 1, 13, 45, 0, 0}));
        }
        return false;
    };
    EXPECT_TRUE(WaitUntil(rowShows, 15000));
    SetFileAttributesW(datei.c_str(), FILE_ATTRIBUTE_NORMAL);
    // The attributes go first: the date asks about the file now read-only, and Yes sets it.
    ASSERT_EQ(m_boxes.Calls().size(), 1u) << Boxes();
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"\"c:\\vel-e2e\\umbenennen\\datei.txt\"\rist schreibgeschützt. Soll ihr Datum trotzdem geändert werden?");
}

// ---- Links

TEST_F(EndToEnd, LinksOfTwoFilesOfOneBaseNameBesideAnExistingShortcutGetNumbers) {
    const std::wstring baum = Folder(L"links"), ziel = Folder(L"links\\ziel");
    EXPECT_TRUE(WriteFileOf(baum + L"a.txt", 1, 't'));
    EXPECT_TRUE(WriteFileOf(baum + L"a.doc", 2, 'd'));
    EXPECT_TRUE(WriteFileOf(baum + L"b.txt", 3, 'b'));
    ASSERT_TRUE(CreateShellLink(baum + L"b.txt", ziel + L"a.lnk", L"schon da"));
    THauptform& form = Open(baum, ziel);
    ASSERT_TRUE(Shows(Left(), {L"a.txt", L"a.doc", L"b.txt", L"ziel"}));
    ASSERT_TRUE(Shows(Right(), {L"a.lnk"}));

    Mark(Left(), {L"a.txt", L"a.doc"});
    {
        // The copy dialog; the link job's progress window then closes by itself.
        TModalScript script(15000);
        script.Step(TypeTarget(ziel));
        form.DateiVerknuepfungerstellen.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.FormsSeen(), 2);
    }
    EXPECT_TRUE(OnDisk(ziel, {L"a.lnk", L"a (2).lnk", L"a (3).lnk"}));
    std::wstring target;
    ReadShellLink(ziel + L"a.lnk", target);
    EXPECT_EQ(SystemLower(target), SystemLower(baum + L"b.txt")) << "the existing shortcut is left alone";
    std::set<std::wstring> targets;
    for (const wchar_t* link : {L"a (2).lnk", L"a (3).lnk"}) {
        target.clear();
        ReadShellLink(ziel + link, target);
        targets.insert(SystemLower(target));
    }
    EXPECT_EQ(targets, (std::set<std::wstring>{SystemLower(baum + L"a.doc"), SystemLower(baum + L"a.txt")}));
    EXPECT_TRUE(Shows(Right(), {L"a.lnk", L"a (2).lnk", L"a (3).lnk"}));
    EXPECT_TRUE(m_boxes.Calls().empty()) << Boxes();
}

}  // namespace
