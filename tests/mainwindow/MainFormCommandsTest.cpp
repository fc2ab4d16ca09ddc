// The main window's file commands on logging panes: opening files and shell
// items, the command line, and copy, move and link with their refusals, boxes,
// dialogs and what the panes are told afterwards. Shell starts are recorded,
// never made.

#include <windows.h>

#include <fstream>
#include <typeinfo>
#include <stdexcept>
#include <string>
#include <vector>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "filetools/AttributDialog.h"
#include "filetools/DOSZeilenDialog.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DTeilenVorDlg.h"
#include "filetools/DateiUmbenennenDlg.h"
#include "filetools/DiskNameDlg.h"
#include "filetools/DocListDialog.h"
#include "filetools/ExittoolsDialog.h"
#include "filetools/SpeicherbedarfDlg.h"
#include "filetools/GoToDirDialog.h"
#include "filetools/VolumeInfo.h"
#include "filetools/LoeschDlg.h"
#include "filetools/VerzeichnisErstellenDlg.h"
#include "mainwindow/StatusThreads.h"
#include "foundation/Fehlercode.h"
#include "foundation/Pidl.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"
#include "../foundation/TestFiles.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

struct TStartCall {
    std::wstring File, Verb, Parameters, Folder;
    bool ByPidl = false;
};

class CommandsTest : public MainWindowTest {
protected:
    // The window with logging panes, its shell starts recorded and answered
    // from m_answers (33, started, once they are used up).
    THauptform& StartLogged() {
        THauptform& form = Make();
        UseLogPanes(form, m_log);
        form.ShellStart = [this](HWND, const THauptform::TShellStart& Start) -> INT_PTR {
            m_starts.push_back({Start.File, Start.Verb, Start.Parameters, Start.Folder, Start.Pidl != nullptr});
            if (m_answers.empty())
                return 33;
            const INT_PTR answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        };
        Start();
        Application->SetMainForm(&form);
        return form;
    }
    TLogPane& Active() { return Log(m_form->ActivePane()); }
    // Makes the active side's pane one of Kind.
    TLogPane& ActiveOfKind(TFensterTyp Kind) {
        const int side = m_form->ActivePane() == m_form->LeftPane ? 0 : 1;
        m_form->ShowPaneKind(side, Kind);
        Application->ProcessMessages();
        TDMChildForm* pane = side == 0 ? m_form->LeftPane : m_form->RightPane;
        pane->SetFocus();
        Application->ProcessMessages();
        return Log(pane);
    }
    static TEineDatei Record(const std::wstring& Name, bool InArchive = false) {
        TEineDatei record;
        record.Name = Name;
        record.InArchive = InArchive;
        if (InArchive)
            record.ArchivPfad = L"c:\\a.zip";
        return record;
    }

    TPaneLog m_log;
    std::vector<TStartCall> m_starts;
    std::vector<INT_PTR> m_answers;
};

// ---- Opening

TEST_F(CommandsTest, AProgramAsksForParametersThatGoIntoTheirListAndACancelStartsNothing) {
    THauptform& form = StartLogged();
    form.Settings->Best.OeffnenMitParametern = true;
    form.History->RecentParameters.Clear();
    for (int i = 20; i >= 1; --i)
        form.History->RecentParameters.Add(L"p" + std::to_wstring(i));
    {
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TDOSZeilenDlg&>(f);
            EXPECT_EQ(dlg.Caption(), L"Parameter übergeben");
            EXPECT_EQ(dlg.Label1.Caption(), L"An die Datei zu übergebende Parameter");
            EXPECT_EQ(dlg.HelpContext, 8);
            EXPECT_EQ(dlg.Befehl.Text(), L"");
            EXPECT_EQ(dlg.Befehl.Items().Count(), 20);
            dlg.CancelBtn.Click();
        });
        form.OpenFile(L"c:\\prog\\Tool.EXE");
        EXPECT_FALSE(script.Failed());
    }
    EXPECT_TRUE(m_starts.empty()) << "a cancelled prompt starts nothing";
    // The 21st different text pushes the oldest out.
    auto openWith = [&](const std::wstring& Parameters) {
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TDOSZeilenDlg&>(f);
            dlg.Befehl.SetText(Parameters);
            dlg.OKBtn.Click();
        });
        form.OpenFile(L"c:\\prog\\run.bat");
        EXPECT_FALSE(script.Failed());
    };
    openWith(L"-neu");
    ASSERT_EQ(m_starts.size(), 1u);
    EXPECT_EQ(m_starts[0].File, L"c:\\prog\\run.bat");
    EXPECT_EQ(m_starts[0].Verb, L"");
    EXPECT_EQ(m_starts[0].Parameters, L"-neu");
    EXPECT_EQ(form.History->RecentParameters.Count(), 20);
    EXPECT_EQ(form.History->RecentParameters[0], L"-neu");
    EXPECT_EQ(form.History->RecentParameters[19], L"p2");
    EXPECT_EQ(form.History->RecentParameters.IndexOf(L"p1"), -1) << "the oldest went";
    // The same text in other letter case moves to the top instead of being listed twice.
    openWith(L"P5");
    EXPECT_EQ(form.History->RecentParameters.Count(), 20);
    EXPECT_EQ(form.History->RecentParameters[0], L"P5");
    EXPECT_EQ(form.History->RecentParameters.IndexOf(L"p5", true), 0);
    // Documents are opened without asking.
    form.OpenFile(L"c:\\brief.txt");
    EXPECT_EQ(m_starts.back().Parameters, L"");
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(CommandsTest, AFileWithoutProgramGoesToOpenWithAndFailuresShowTheOpenError) {
    THauptform& form = StartLogged();
    m_answers = {SE_ERR_NOASSOC, 33};
    form.OpenFile(L"c:\\daten\\x.qqq");
    ASSERT_EQ(m_starts.size(), 2u);
    EXPECT_EQ(m_starts[1].File, L"rundll32.exe");
    EXPECT_EQ(m_starts[1].Verb, L"open");
    EXPECT_EQ(m_starts[1].Parameters, L"shell32.dll,OpenAs_RunDLL c:\\daten\\x.qqq");
    EXPECT_TRUE(m_boxes.Calls().empty());

    m_answers = {SE_ERR_NOASSOC, 2};
    form.OpenFile(L"c:\\daten\\x.qqq");
    m_answers = {0};
    // The desktop: the empty list.
    const TPidl pidl = PidlAnlegen(2);
    form.OpenFileEx(pidl.get());
    EXPECT_TRUE(m_starts.back().ByPidl);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    for (const TMessageBoxCall& box : m_boxes.Calls()) {
        EXPECT_EQ(box.Text, L"Fehler beim Öffnen der Datei.");
        EXPECT_EQ(box.Type, TMsgDlgType::mtError);
        EXPECT_EQ(box.HelpContext, 67);
    }
    EXPECT_EQ(Fehlercode, 0);
}

// A command that fails half-way leaves its number for the exception box.
TEST_F(CommandsTest, AFailingStartLeavesTheOpenCommandsNumber) {
    THauptform& form = StartLogged();
    form.ShellStart = [](HWND, const THauptform::TShellStart&) -> INT_PTR { throw std::runtime_error("shell"); };
    EXPECT_THROW(form.OpenFile(L"c:\\brief.txt"), std::runtime_error);
    EXPECT_EQ(Fehlercode, 26);
    form.DOSPfad.SetFileName(L"c:>");
    form.DOSBefehlszeile.SetFocus();
    Application->ProcessMessages();
    form.DOSBefehlszeile.SetText(L"dir");
    EXPECT_THROW(form.DateiOeffnenClick(&form.DateiOeffnen), std::runtime_error);
    EXPECT_EQ(Fehlercode, 2402);
    Fehlercode = 0;
}

// ---- The command line

TEST_F(CommandsTest, TheCommandLineRunsInTheRootOfADrivePromptAndKeepsItsHistory) {
    THauptform& form = StartLogged();
    form.DOSPfad.SetFileName(L"c:>");
    form.DOSBefehlszeile.SetItems(TStringList({L"alt", L"DIR"}));
    form.DOSBefehlszeile.SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(form.CommandLineFocused);
    form.DOSBefehlszeile.SetText(L"  dir  ");
    form.DateiOeffnen.Click();
    ASSERT_EQ(m_starts.size(), 1u);
    EXPECT_EQ(m_starts[0].File, L"command.com");
    EXPECT_EQ(m_starts[0].Verb, L"open");
    EXPECT_EQ(m_starts[0].Parameters, L"/c dir");
    EXPECT_EQ(m_starts[0].Folder, L"c:\\");
    EXPECT_EQ(form.DOSBefehlszeile.Items().Items(), (std::vector<std::wstring>{L"dir", L"alt"}));
    EXPECT_EQ(form.DOSBefehlszeile.Text(), L"");
    EXPECT_TRUE(m_boxes.Calls().empty());

    // A blank line starts nothing; a failed start shows where command.com belongs.
    form.DOSBefehlszeile.SetText(L"   ");
    form.DateiOeffnen.Click();
    EXPECT_EQ(m_starts.size(), 1u);
    m_answers = {2};
    form.DOSBefehlszeile.SetText(L"ver");
    form.DateiOeffnen.Click();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Ihre command.com konnte nicht gefunden werden. Stellen Sie sicher,\r"
              L"daß sie sich in Ihrem Windowsverzeichnis befindet.");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 68);

    // Out of the line, the command opens the pane's selection.
    form.RightPane->SetFocus();
    Application->ProcessMessages();
    EXPECT_FALSE(form.CommandLineFocused);
    m_log.Lines.clear();
    form.DateiOeffnen.Click();
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L"#2 OpenSelected"}));
    EXPECT_EQ(m_starts.size(), 2u);
}

// ---- Copy, move and link

TEST_F(CommandsTest, CopyShowsItsDialogAndCopiesTheSelectionIntoTheTarget) {
    TTempFolder folder(L"cmdcopy");
    const std::wstring a = folder.MakeFile(L"A.txt", 10);
    const std::wstring target = folder.Path() + L"ziel";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    THauptform& form = StartLogged();
    form.Settings->Best.NichtAlleUeberschreiben = false;
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Directory = folder.Path();
    pane.Selection = {Record(a)};
    // The status line counts the empty target folder.
    form.StartPathInfoThread(target);
    ASSERT_TRUE(WaitUntil([&] { return form.HauptStatusZeile.Panel(0).Text == PathInfoText(0, 0); }, 10000));
    m_log.Lines.clear();
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
        EXPECT_EQ(dlg.Caption(), L"Kopiervorgang bestätigen");
        EXPECT_EQ(dlg.Label3.Caption(), L"&Kopieren");
        EXPECT_EQ(dlg.HelpContext, 12);
        EXPECT_EQ(dlg.Quellverzeichnis.FileName(), SystemLower(folder.Path()));
        EXPECT_EQ(dlg.ActiveControl(), &dlg.Zielverzeichnis);
        ASSERT_NE(dlg.Dateiliste(), nullptr);
        EXPECT_EQ(dlg.Dateiliste()->size(), 1u);
        dlg.Zielverzeichnis.SetText(target);
        dlg.OKBtn.Click();
    });
    form.DateiKopieren.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(FileExists(target + L"\\A.txt"));
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(Fehlercode, 0);
    // What the window shows is the state after the copy, not before it.
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(pane.Number) + L" ReadContents"), 1);
    EXPECT_TRUE(WaitUntil([&] { return form.HauptStatusZeile.Panel(0).Text == PathInfoText(1, 10); }, 10000))
        << ToUtf8(form.HauptStatusZeile.Panel(0).Text);
}

TEST_F(CommandsTest, MoveFromTheBasketDropsArchivedEntriesWithItsBoxAndReadsTheListsAgain) {
    TTempFolder folder(L"cmdmove");
    const std::wstring a = folder.MakeFile(L"a.txt", 3);
    const std::wstring target = folder.Path() + L"ziel";
    ASSERT_TRUE(CreateDirectoryW(target.c_str(), nullptr));
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftSammelkorb);
    pane.Selection = {Record(a), Record(L"doc\\b.txt", true)};
    m_log.Lines.clear();
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
        EXPECT_EQ(dlg.Caption(), L"Verschiebevorgang bestätigen");
        EXPECT_EQ(dlg.HelpContext, 13);
        EXPECT_EQ(dlg.Dateiliste()->size(), 1u);
        dlg.Zielverzeichnis.SetText(target);
        dlg.OKBtn.Click();
    });
    form.DateiVerschieben.Click();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Einige der ausgewählten Dateien können nicht verschoben werden,\r"
              L"da es sich um archivierte Dateien handelt.\r"
              L"Diese werden bei der folgenden Dateiaktion ignoriert.\r"
              L"Benutzen Sie für diese Dateien den Befehl \"Datei/ Aus Archiv extrahieren\"\r"
              L"und aktivieren Sie die Option \"Quelldateien löschen\".");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 71);
    EXPECT_TRUE(FileExists(target + L"\\a.txt"));
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(pane.Number) + L" ReadContents"), 1);
}

TEST_F(CommandsTest, CopyAndLinkBoxesForArchivedEntriesAndACancelDoesNothing) {
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftSuchergebnis);
    pane.Selection = {Record(L"x.txt", true)};
    struct TCase {
        TMenuItem* Item;
        const wchar_t* Caption;
        int DialogHelp, BoxHelp;
        std::wstring Text;
    };
    const TCase cases[] = {
        {&form.DateiKopieren, L"Kopiervorgang bestätigen", 12, 70,
         L"Einige der ausgewählten Dateien können nicht kopiert werden,\r"
         L"da es sich um archivierte Dateien handelt.\r"
         L"Diese werden bei der folgenden Dateiaktion ignoriert.\r"
         L"Benutzen Sie für diese Dateien den Befehl \"Datei/ Aus Archiv extrahieren\"."},
        {&form.Verknpfung1, L"Verknüpfungsvorgang bestätigen", 4, 72,
         L"Einige der ausgewählten Dateien können nicht verknüpft werden,\r"
         L"da es sich um archivierte Dateien handelt.\r"
         L"Diese werden bei der folgenden Dateiaktion ignoriert."},
    };
    for (const TCase& c : cases) {
        m_boxes.Clear();
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
            EXPECT_EQ(dlg.Caption(), c.Caption);
            EXPECT_EQ(dlg.HelpContext, c.DialogHelp);
            EXPECT_TRUE(dlg.Dateiliste()->empty());
            EXPECT_EQ(dlg.ActiveControl(), &dlg.QuellDateien) << "an empty list starts in the source box";
            dlg.CancelBtn.Click();
        });
        c.Item->Click();
        EXPECT_FALSE(script.Failed());
        ASSERT_EQ(m_boxes.Calls().size(), 1u);
        EXPECT_EQ(m_boxes.Calls()[0].Text, c.Text);
        EXPECT_EQ(m_boxes.Calls()[0].HelpContext, c.BoxHelp);
    }
}

TEST_F(CommandsTest, FromTheTreeThePopUpWorksOnTheContextFolderFromItsParent) {
    TTempFolder folder(L"cmdtree");
    const std::wstring sub = folder.Path() + L"Unter";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    THauptform& form = StartLogged();
    TLogPane& tree = ActiveOfKind(ftVerzeichnisbaum);
    tree.Directory = L"c:\\anderswo\\";
    form.ContextFolder = sub + L"\\";
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDateiKopierenDlg&>(f);
        ASSERT_EQ(dlg.Dateiliste()->size(), 1u);
        EXPECT_EQ(dlg.Dateiliste()->front()->Name, sub);
        EXPECT_TRUE(dlg.Dateiliste()->front()->Attr & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(dlg.Quellverzeichnis.FileName(), SystemLower(folder.Path()));
        dlg.CancelBtn.Click();
    });
    form.Kopieren1.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(form.ContextFolder, sub + L"\\");

    // A drive root is never moved, and a box says so; an archive pane copies
    // through its own command.
    form.ContextFolder = L"c:";
    TModalScript none;
    form.Verschieben1.Click();
    ActiveOfKind(ftZip);
    form.DateiKopieren.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Ein ganzes Laufwerk kann nicht verschoben werden:\rc:\\");
}

TEST_F(CommandsTest, EveryLinkItemAndTheShortCutsOfCopyAndMoveShowTheirDialog) {
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Selection = {Record(L"c:\\x.txt")};
    std::vector<std::wstring> captions;
    auto shown = [&](const std::function<void()>& Action) {
        TModalScript script;
        script.Step([&](TForm& f) {
            captions.push_back(f.Caption());
            dynamic_cast<TDateiKopierenDlg&>(f).CancelBtn.Click();
        });
        Action();
        EXPECT_FALSE(script.Failed());
    };
    for (TMenuItem* item : {&form.DateiVerknuepfungerstellen, &form.Verknpfung1, &form.NeueVerknpfung1})
        shown([&] { item->Click(); });
    shown([&] { form.Button2.Click(); });
    shown([&] { form.Button3.Click(); });
    shown([&] { form.Button4.Click(); });
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Verknüpfungsvorgang bestätigen", L"Verknüpfungsvorgang bestätigen",
                                                   L"Verknüpfungsvorgang bestätigen", L"Verknüpfungsvorgang bestätigen",
                                                   L"Kopiervorgang bestätigen", L"Verschiebevorgang bestätigen"}));
}

// ---- New folder and rename

TEST_F(CommandsTest, ANewFolderTakesEachNameFormAndTellsBothPanesItsBaseFolder) {
    TTempFolder folder(L"cmdneu");
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Directory = folder.Path();
    const std::wstring base = folder.Path();
    auto make = [&](const std::wstring& Name) {
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TVerzeichnisErstellenDlg&>(f);
            EXPECT_EQ(dlg.PfadLabel.FileName(), base);
            EXPECT_EQ(dlg.Edit1.Text(), L"");
            EXPECT_EQ(dlg.ActiveControl(), &dlg.Edit1);
            dlg.Edit1.SetText(Name);
            dlg.OKBtn.Click();
        });
        m_log.Lines.clear();
        form.DateiVerzeichnisErstellen.Click();
        EXPECT_FALSE(script.Failed());
    };
    // Both panes are told the base folder, and nothing else.
    auto refreshed = [&](const std::wstring& Folder) {
        int n = 0;
        for (const std::wstring& line : m_log.Lines)
            n += line.ends_with(L" RefreshDirectory " + Folder);
        return n == 2 && m_log.Lines.size() == 2;
    };
    make(L"Eins");
    EXPECT_TRUE(DirectoryExists(base + L"Eins"));
    EXPECT_TRUE(refreshed(base));
    make(base.substr(2) + L"Drei");
    EXPECT_TRUE(DirectoryExists(base + L"Drei")) << "on the base folder's drive";
    EXPECT_TRUE(refreshed(base));
    make(base + L"Eins\\Vier");
    EXPECT_TRUE(DirectoryExists(base + L"Eins\\Vier"));
    EXPECT_TRUE(refreshed(base + L"Eins\\")) << "split behind the deepest existing folder";
    make(base.substr(0, 2) + L"Fuenf");
    EXPECT_TRUE(DirectoryExists(base + L"Fuenf")) << "a drive without root stays relative";
    EXPECT_FALSE(OrdnerWirdErstellt);

    // List panes make no folders; the tree's pop-up starts at a root as "x:\".
    ActiveOfKind(ftSuchergebnis);
    TModalScript none;
    form.Button1.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
    ActiveOfKind(ftVerzeichnisbaum);
    form.ContextFolder = L"c:";
    TModalScript script;
    script.Step([&](TForm& f) {
        EXPECT_EQ(dynamic_cast<TVerzeichnisErstellenDlg&>(f).PfadLabel.FileName(), L"c:\\");
        dynamic_cast<TVerzeichnisErstellenDlg&>(f).CancelBtn.Click();
    });
    form.Ordner1.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(CommandsTest, RenameAsksAgainAfterAFailureAndTheListOfTheRenamedFolderFollows) {
    TTempFolder folder(L"cmdren");
    const std::wstring alt = folder.Path() + L"Alt";
    ASSERT_TRUE(CreateDirectoryW(alt.c_str(), nullptr));
    folder.MakeFile(L"da.txt");
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Selection = {Record(alt)};
    TLogPane& other = Log(form.InactivePane());
    other.Kind = ftAusfDateiliste;
    other.Directory = SystemLower(alt) + L"\\";
    auto step = [](const std::wstring& Name, bool Ok) {
        return [Name, Ok](TForm& f) {
            auto& dlg = dynamic_cast<TDateiUmbenennenDlg&>(f);
            dlg.NeuerDateiName.SetText(Name);
            (Ok ? dlg.OKBtn : dlg.CancelBtn).Click();
        };
    };
    {
        // The same name in other letter case is nothing to do.
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TDateiUmbenennenDlg&>(f);
            EXPECT_EQ(dlg.DateiNameLabel.FileName(), SystemLower(alt));
            EXPECT_EQ(dlg.NeuerDateiName.Text(), L"alt");
            step(L"ALT", true)(f);
        });
        form.DateiUmbenennen.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_TRUE(DirectoryExists(alt));
    }
    m_log.Lines.clear();
    {
        TModalScript script;
        script.Step(step(L"da.txt", true)).Step(step(L"Neu", true));
        form.Button6.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.FormsSeen(), 2);
    }
    ASSERT_EQ(m_boxes.Calls().size(), 1u) << "the failed rename reported by the file routines";
    EXPECT_TRUE(DirectoryExists(folder.Path() + L"Neu"));
    // The other list follows to the new name, then both show the state after the rename.
    ASSERT_FALSE(m_log.Lines.empty());
    EXPECT_EQ(m_log.Lines.front(), L"#" + std::to_wstring(other.Number) + L" SetPathCaption " + folder.Path() + L"Neu\\");
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(other.Number) + L" ReadContents"), 1);
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(pane.Number) + L" ReadContents"), 1);
    // A drive root and several records are never renamed.
    pane.Selection = {Record(L"c:\\")};
    TModalScript none;
    form.DateiUmbenennen.Click();
    pane.Selection = {Record(folder.Path() + L"Neu"), Record(folder.Path() + L"da.txt")};
    form.DateiUmbenennen.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
}

// ---- Attributes

TEST_F(CommandsTest, AttributesDropArchivedEntriesWithTheirBoxAndGreyLeavesEachFilesBit) {
    TTempFolder folder(L"cmdattr");
    std::vector<std::wstring> files;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"})
        files.push_back(folder.MakeFile(name, 1));
    SetFileAttributesW(files[1].c_str(), FILE_ATTRIBUTE_HIDDEN);
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftSuchergebnis);
    for (const std::wstring& file : files) {
        TEineDatei record = Record(file);
        record.Attr = static_cast<std::int32_t>(GetFileAttributesW(file.c_str()));
        pane.Selection.push_back(record);
    }
    pane.Selection.push_back(Record(L"x.txt", true));
    m_log.Lines.clear();
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TAttributDialog&>(f);
        EXPECT_EQ(dlg.Hidden.State(), TCheckBoxState::cbGrayed);
        EXPECT_EQ(dlg.ReadOnly.State(), TCheckBoxState::cbUnchecked);
        dlg.ReadOnly.SetState(TCheckBoxState::cbChecked);
        dlg.OKBtn.Click();
    });
    form.AttributeSetzen1.Click();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text,
              L"Unter den ausgewählten Dateien befinden sich einige, deren\r"
              L"Attribute nicht geändert werden können, da es sich um archivierte\r"
              L"Dateien handelt.\r"
              L"Diese werden bei der folgenden Dateiaktion ignoriert.");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 69);
    for (size_t i = 0; i < files.size(); ++i) {
        const DWORD attributes = GetFileAttributesW(files[i].c_str());
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY) << i;
        EXPECT_EQ((attributes & FILE_ATTRIBUTE_HIDDEN) != 0, i == 1) << i;
        SetFileAttributesW(files[i].c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(pane.Number) + L" ReadContents"), 1);

    // Nothing but archived entries: the box, and no dialog.
    pane.Selection = {Record(L"y.txt", true)};
    TModalScript none;
    form.AttributeSetzen1.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
    EXPECT_EQ(m_boxes.Calls().size(), 2u);
}

// ---- Delete

TEST_F(CommandsTest, DeleteShowsItsDialogWithTheStoredChoicesAndACancelKeepsTheFiles) {
    TTempFolder folder(L"cmddel");
    const std::wstring a = folder.MakeFile(L"a.txt", 4);
    THauptform& form = StartLogged();
    form.Settings->Best.AuswahlDlgVorLoeschen = true;
    form.Settings->Best.Loeschabfrage = true;
    form.Settings->Sonst.LoeschGroup = 2;
    TLogPane& pane = ActiveOfKind(ftAusfDateiliste);
    pane.Directory = folder.Path();
    pane.Selection = {Record(a)};
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TLoeschDlg&>(f);
        EXPECT_EQ(dlg.Caption(), L"Löschvorgang bestätigen");
        EXPECT_EQ(dlg.HelpContext, 14);
        EXPECT_EQ(dlg.FileLabel.FileName(), SystemLower(folder.Path()));
        EXPECT_TRUE(dlg.Sicherheitsabfragen.Checked());
        EXPECT_EQ(dlg.LoeschGroup.ItemIndex(), 2);
        EXPECT_EQ(dlg.ActiveControl(), &dlg.ZLDateien);
        EXPECT_EQ(dlg.Dateiliste()->size(), 1u);
        dlg.CancelBtn.Click();
    });
    form.DateiLoeschen.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(FileExists(a));

    // With the dialog switched off the stored choices act at once.
    form.Settings->Best.AuswahlDlgVorLoeschen = false;
    form.Settings->Best.Loeschabfrage = false;
    form.Settings->Sonst.LoeschGroup = 1;
    TModalScript none;
    form.Button5.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
    EXPECT_FALSE(FileExists(a));
    EXPECT_TRUE(m_boxes.Calls().empty());
}

TEST_F(CommandsTest, DeleteDoesNothingInTheRecycleBinViewOrForADriveRoot) {
    TTempFolder folder(L"cmddel2");
    const std::wstring a = folder.MakeFile(L"a.txt", 4);
    THauptform& form = StartLogged();
    form.Settings->Best.AuswahlDlgVorLoeschen = false;
    form.Settings->Sonst.LoeschGroup = 1;
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Selection = {Record(a)};
    pane.RecycleBin = true;
    form.DateiLoeschen.Click();
    EXPECT_TRUE(FileExists(a));
    TLogPane& tree = ActiveOfKind(ftVerzeichnisbaum);
    tree.Selection = {Record(a)};
    form.ContextFolder = L"c:";
    form.Lschen1.Click();
    EXPECT_TRUE(FileExists(a));
    EXPECT_EQ(form.ContextFolder, L"c:\\");
    // The drive root is refused with a box.
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Ein ganzes Laufwerk kann nicht gelöscht werden:\rc:\\");
}

// (Plain files among them go to the shell with its confirmations on, which a
// test cannot answer; the end-to-end run covers them.)
TEST_F(CommandsTest, ABasketWithArchiveEntriesAsksOnceThenDeletesFromEachArchiveOnce) {
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftSammelkorb);
    pane.Selection = {Record(L"x\\eins.txt", true), Record(L"zwei.txt", true)};
    // The outside zip packer, not there: each call to the archive routines
    // shows its message and changes nothing.
    form.ZipRoutinen->Packer.UseInternZip = false;
    form.ZipRoutinen->Packer.ZipPath = L"c:\\fehlt\\zip.exe";
    m_boxes.Answer(mrNo);
    form.DateiLoeschen.Click();
    EXPECT_EQ(m_boxes.Calls().size(), 1u);
    m_log.Lines.clear();
    m_boxes.Clear();
    m_boxes.Answer(mrYes);
    form.DateiLoeschen.Click();
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Soll(en) die ausgewählte(n) Datei(en) wirklich gelöscht werden?");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 0);
    EXPECT_EQ(m_boxes.Calls()[1].Text,
              L"Es können leider keine Dateien mit Hilfe des externen Zip-Packers gelöscht werden,\rda Sie diesen "
              L"noch nicht deklariert haben oder der bereits deklarierte Packer\rnicht mehr existiert.");
    EXPECT_EQ(m_log.Count(L"#" + std::to_wstring(pane.Number) + L" ReadContents"), 1);
}

TEST_F(CommandsTest, AnArchivePaneDeletesTheArchiveFileOnlyWhenWholeAndGiven) {
    TTempFolder folder(L"cmddel4");
    const std::wstring zip = folder.MakeFile(L"paket.zip", 22);
    THauptform& form = StartLogged();
    form.Settings->Best.AuswahlDlgVorLoeschen = true;
    TLogPane& pane = ActiveOfKind(ftZip);
    pane.ArchiveFile = zip;
    pane.WholeArchive = true;
    TModalScript none;
    form.DateiLoeschen.Click();
    EXPECT_EQ(none.FormsSeen(), 0) << "an empty selection hands on nothing";
    pane.Selection = {Record(L"inhalt.txt")};
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TLoeschDlg&>(f);
        ASSERT_EQ(dlg.Dateiliste()->size(), 1u);
        EXPECT_EQ(dlg.Dateiliste()->front()->Name, zip);
        EXPECT_EQ(dlg.FileLabel.FileName(), SystemLower(folder.Path()));
        dlg.CancelBtn.Click();
    });
    form.DateiLoeschen.Click();
    EXPECT_FALSE(script.Failed());
    // Entries of an archive go to the archive's own delete dialog.
    pane.WholeArchive = false;
    TModalScript entries;
    entries.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<archive::TDeleteFromArcDlg&>(f);
        EXPECT_EQ(dlg.Dateien.Text(), L"inhalt.txt");
        dlg.CancelBtn.Click();
    });
    form.DateiLoeschen.Click();
    EXPECT_FALSE(entries.Failed());
    EXPECT_EQ(entries.FormsSeen(), 1);
    EXPECT_TRUE(FileExists(zip));
}

}  // namespace

// ---- Tools and outside programs

namespace {

const std::wstring kProgramFolder = ExtractFilePath(ParamStr(0));

TEST_F(CommandsTest, TheDiskToolsAndTheHelperProgramsStartThroughTheShellAndReportAFailedStart) {
    TTempFolder folder(L"cmdtools");
    const std::wstring a = folder.MakeFile(L"teil.001", 3);
    const std::wstring b = folder.MakeFile(L"teil.002", 3);
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Selection = {Record(a)};
    const std::vector<TMenuItem*> items = {&form.DiskFormatieren, &form.DiskKopieren, &form.Prfen1,
                                           &form.Optimieren1,     &form.Zusammenfgen1, &form.Autostartmanageraufrufen1};
    for (TMenuItem* item : items)
        item->Click();
    // Grenlo takes the one marked file quoted; with two marked, nothing.
    pane.Selection = {Record(a), Record(b)};
    form.Zusammenfgen1.Click();
    const std::vector<std::pair<std::wstring, std::wstring>> expected = {
        {L"rundll32.exe", L"shell32.dll,SHFormatDrive"},
        {L"rundll32.exe", L"diskcopy.dll,DiskCopyRunDll"},
        {L"SCANDSKW.EXE", L""},
        {L"DEFRAG.EXE", L""},
        {kProgramFolder + L"Grenlo.exe", L"\"" + a + L"\""},
        {kProgramFolder + L"Kelvane.exe", L""},
        {kProgramFolder + L"Grenlo.exe", L""}};
    ASSERT_EQ(m_starts.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(m_starts[i].File, expected[i].first) << i;
        EXPECT_EQ(m_starts[i].Parameters, expected[i].second) << i;
        EXPECT_EQ(m_starts[i].Verb, L"open") << i;
        EXPECT_EQ(m_starts[i].Folder, L"") << i;
    }
    EXPECT_TRUE(m_boxes.Calls().empty());

    // Every start fails: each shows its own box.
    m_answers.assign(items.size(), 2);
    for (TMenuItem* item : items)
        item->Click();
    const std::vector<std::pair<std::wstring, int>> boxes = {
        {L"Dialog zum Formatieren von Datenträgern konnte nicht aufgerufen\rwerden. Stellen Sie sicher, daß sich die "
         L"Dateien \"rundll32.exe\"\rund \"shell32.dll\" in Ihrem Windows-System-Verzeichnis befinden.", 78},
        {L"Dialog zum Kopieren von Datenträgern konnte nicht aufgerufen\rwerden. Stellen Sie sicher, daß sich die "
         L"Dateien \"rundll32.exe\"\rund \"diskcopy.dll\" in Ihrem Windows-System-Verzeichnis befinden.", 79},
        {L"Dialog zum Prüfen von Datenträgern konnte nicht aufgerufen\rwerden. Stellen Sie sicher, daß sich die Datei "
         L"\"scandskw.exe\"\rin Ihrem Windows-System-Verzeichnis befindet.", 80},
        {L"Dialog zum Optimieren von Datenträgern konnte nicht aufgerufen\rwerden. Stellen Sie sicher, daß sich die "
         L"Datei \"defrag.exe\"\rin Ihrem Windows-System-Verzeichnis befindet.", 81},
        {L"Dialog zum Zusammenfügen von Dateien konnte nicht aufgerufen\rwerden. Stellen Sie sicher, daß sich die "
         L"Datei \"Grenlo.exe\"\rin Ihrem Programm-Verzeichnis befindet.", 0},
        {L"Der Autostartmanager konnte nicht aufgerufen werden.\rStellen Sie sicher, daß sich die Datei "
         L"\"Kelvane.exe\"\rin Ihrem Programm-Verzeichnis befindet.", 0}};
    ASSERT_EQ(m_boxes.Calls().size(), boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(m_boxes.Calls()[i].Text, boxes[i].first) << i;
        EXPECT_EQ(m_boxes.Calls()[i].HelpContext, boxes[i].second) << i;
        EXPECT_EQ(m_boxes.Calls()[i].Type, TMsgDlgType::mtError) << i;
    }
    EXPECT_EQ(Fehlercode, 0);
}

TEST_F(CommandsTest, QuickViewerAndEditorStartOncePerMarkedFileAndSayWhatIsMissing) {
    TTempFolder folder(L"cmdview");
    const std::wstring a = folder.MakeFile(L"a.txt", 1);
    const std::wstring b = folder.MakeFile(L"b.txt", 1);
    const std::wstring editor = folder.MakeFile(L"edit.exe", 1);
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftSuchergebnis);
    // Folders, archive entries and names without their folder are skipped.
    pane.Selection = {Record(a), Record(folder.Path() + L"."), Record(L"a.txt"), Record(b), Record(L"c.txt", true)};
    // Without a quick viewer the item is disabled, but F3 on the function-key bar
    // and the item with a viewer registered later still reach the command.
    form.Schnellansicht.SetEnabled(true);
    form.QuickViewerCommand.clear();
    form.Schnellansicht.Click();
    form.QuickViewerCommand = L"c:\\windows\\viewers\\quikview.exe";
    m_answers = {33, 2};
    form.Schnellansicht.Click();
    form.Settings->Sonst.ExtEdit.clear();
    form.Bearbeiten.Click();
    form.Settings->Sonst.ExtEdit = folder.Path() + L"fehlt.exe";
    form.Bearbeiten.Click();
    form.Settings->Sonst.ExtEdit = editor;
    m_answers = {2, 33};
    form.Bearbeiten.Click();
    ASSERT_EQ(m_starts.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(m_starts[i].File, i < 2 ? form.QuickViewerCommand : editor) << i;
        EXPECT_EQ(m_starts[i].Parameters, L"\"" + (i % 2 ? b : a) + L"\"") << i;
        EXPECT_EQ(m_starts[i].Verb, L"open") << i;
    }
    const std::vector<std::tuple<std::wstring, TMsgDlgType, int>> boxes = {
        {L"Kann Windows-Schnellansicht nicht finden.", TMsgDlgType::mtError, 82},
        {L"Die Windows-Schnellansicht konnte nicht aufgerufen werden.\rStellen Sie sicher, daß Sie sie installiert "
         L"haben.", TMsgDlgType::mtError, 82},
        {L"Sie haben noch keinen externen Editor angegeben. Wenn Sie Dateien bearbeiten wollen, holen Sie dies bitte "
         L"im Optionen-Dialog (Menü: Extras-Optionen) nach.", TMsgDlgType::mtWarning, 0},
        {L"Der angegebene externe Editor existiert nicht. Bitte überprüfen Sie Ihre Einstellungen im "
         L"Optionen-Dialog (Menü: Extras-Optionen).", TMsgDlgType::mtWarning, 0},
        {L"Der externe Editor konnte nicht aufgerufen werden.\rBitte überprüfen Sie Ihre Einstellungen im "
         L"Optionen-Dialog (Menü: Extras-Optionen).", TMsgDlgType::mtError, 0}};
    ASSERT_EQ(m_boxes.Calls().size(), boxes.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(m_boxes.Calls()[i].Text, std::get<0>(boxes[i])) << i;
        EXPECT_EQ(m_boxes.Calls()[i].Type, std::get<1>(boxes[i])) << i;
        EXPECT_EQ(m_boxes.Calls()[i].HelpContext, std::get<2>(boxes[i])) << i;
    }
    // An archive pane's entries are no files to view or edit.
    TLogPane& archive = ActiveOfKind(ftZip);
    archive.Selection = {Record(a)};
    form.Schnellansicht.Click();
    form.Bearbeiten.Click();
    EXPECT_EQ(m_starts.size(), 4u);
}

TEST_F(CommandsTest, TheDosBoxOpensInThePanesFolderAndTheDosCommandRunsThroughItsDialogWithTheLineHidden) {
    TTempFolder folder(L"cmddos");
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Directory = folder.Path();
    form.Button12.Click();
    ASSERT_EQ(m_starts.size(), 1u);
    EXPECT_EQ(m_starts[0].File, L"command.com");
    EXPECT_EQ(m_starts[0].Parameters, L"");
    EXPECT_EQ(m_starts[0].Folder, L"");
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(SystemLower(IncludeTrailingBackslash(current)), SystemLower(folder.Path()));
    m_answers = {2};
    form.DOSBoxffnen1.Click();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 68);

    // With the line shown the command only puts the focus there.
    ASSERT_TRUE(form.DOSZeilenPanel.Visible());
    form.DOSBefehlausfhren1.Click();
    Application->ProcessMessages();
    EXPECT_TRUE(form.CommandLineFocused);
    pane.SetFocus();
    form.DOSZeilenPanel.SetVisible(false);
    Application->ProcessMessages();
    form.DOSPfad.SetFileName(SystemLower(ExcludeTrailingBackslash(folder.Path())) + L">");
    form.DOSBefehlszeile.SetItems(TStringList({L"alt"}));
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDOSZeilenDlg&>(f);
        EXPECT_EQ(dlg.Caption(), L"DOS-Befehl ausführen");
        EXPECT_EQ(dlg.Label1.Caption(), L"Auszuführender Befehl");
        EXPECT_EQ(dlg.HelpContext, 9);
        EXPECT_EQ(dlg.Befehl.HelpContext, 9);
        EXPECT_EQ(dlg.Befehl.Items().Items(), (std::vector<std::wstring>{L"alt"}));
        EXPECT_EQ(dlg.Befehl.Text(), L"");
        dlg.Befehl.SetText(L"dir /w");
        dlg.OKBtn.Click();
    });
    form.DOSBefehlausfhren1.Click();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(m_starts.size(), 3u);
    EXPECT_EQ(m_starts[2].File, L"command.com");
    EXPECT_EQ(m_starts[2].Parameters, L"/c dir /w");
    EXPECT_EQ(m_starts[2].Folder, SystemLower(ExcludeTrailingBackslash(folder.Path())));
    EXPECT_EQ(form.DOSBefehlszeile.Items().Items(), (std::vector<std::wstring>{L"dir /w", L"alt"}));
    SetCurrentDirectoryW(L"c:\\");
}

TEST_F(CommandsTest, CompareFoldersMarksBothWaysAndGoToShowsTheFolderInAPaneThatShowsFolders) {
    TTempFolder folder(L"cmdcmp");
    THauptform& form = StartLogged();
    // A tree on one side: no comparing.
    form.ShowPaneKind(0, ftVerzeichnisbaum);
    form.ShowPaneKind(1, ftDateiliste);
    form.Verzeichnissevergleichen1.Click();
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Für diesen Befehl müssen beiden Fenster eine Dateiliste darstellen.");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtInformation);
    form.ShowPaneKind(0, ftAusfDateiliste);
    Application->ProcessMessages();
    TLogPane& left = Log(form.LeftPane);
    TLogPane& right = Log(form.RightPane);
    left.Entries = {Record(L"c:\\l\\a.txt")};
    right.Entries = {Record(L"c:\\r\\a.txt"), Record(L"c:\\r\\b.txt")};
    m_log.Lines.clear();
    m_boxes.Clear();
    form.Verzeichnissevergleichen1.Click();
    const std::wstring l = L"#" + std::to_wstring(left.Number), r = L"#" + std::to_wstring(right.Number);
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{l + L" MarkDifferences c:\\r\\a.txt c:\\r\\b.txt",
                                                    r + L" MarkDifferences c:\\l\\a.txt"}));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Die Dateien in beiden Verzeichnissen sind identisch.");
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 0);
    right.Differences = 1;
    form.Verzeichnissevergleichen1.Click();
    EXPECT_EQ(m_boxes.Calls().size(), 1u) << "differences marked: no box";
    EXPECT_EQ(Fehlercode, 0);

    // Go to: the active pane, or the other one when the active one shows no folder.
    auto goTo = [&](TObject* Via) {
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TGoToDirDlg&>(f);
            dlg.Verzeichnis.SetText(folder.Path());
            dlg.OKBtn.Click();
        });
        m_log.Lines.clear();
        if (Via == &form.Button10)
            form.Button10.Click();
        else
            form.Gehezu1.Click();
        EXPECT_FALSE(script.Failed());
        // The shown pane first; with one drive bar the other one follows (the
        // show-folder operation's own rule).
        return m_log.Lines.empty() ? std::wstring() : m_log.Lines.front();
    };
    left.SetFocus();
    Application->ProcessMessages();
    ASSERT_EQ(form.ActivePane(), form.LeftPane);
    EXPECT_EQ(goTo(&form.Button10), l + L" SetDirectory " + folder.Path());
    form.ShowPaneKind(0, ftSuchergebnis);
    form.LeftPane->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(goTo(&form.Gehezu1), r + L" SetDirectory " + folder.Path());
    form.ShowPaneKind(1, ftSammelkorb);
    TModalScript none;
    form.Gehezu1.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
}

TEST_F(CommandsTest, SplitCutsTheMarkedFileAndTheLabelRebuildsEveryDriveListWithoutMovingAPane) {
    TTempFolder folder(L"cmdsplit");
    const std::wstring big = folder.MakeFile(L"Gross.BIN", 10);
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Directory = folder.Path();
    pane.Selection = {Record(big)};
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDateiTeilenvorbereitenDlg&>(f);
        EXPECT_EQ(dlg.Quellverzeichnis.FileName(), SystemLower(folder.Path()));
        EXPECT_EQ(dlg.Datei.Text(), L"gross.bin");
        dlg.Groesse.SetValue(4);
        dlg.OKBtn.Click();
    });
    form.Teilen.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.FormsSeen(), 2) << "the dialog, then the progress window";
    for (const auto& [piece, size] : {std::pair{L".0", 4}, {L".1", 4}, {L".2", 2}}) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW((big + piece).c_str(), GetFileExInfoStandard, &data)) << ToUtf8(piece);
        EXPECT_EQ(data.nFileSizeLow, static_cast<DWORD>(size)) << ToUtf8(piece);
    }
    // Two marked: the dialog starts on the pane's folder with no file.
    pane.Selection = {Record(big), Record(big + L".0")};
    TModalScript two;
    two.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TDateiTeilenvorbereitenDlg&>(f);
        EXPECT_EQ(dlg.Quellverzeichnis.FileName(), SystemLower(folder.Path()));
        EXPECT_EQ(dlg.Datei.Text(), L"");
        dlg.CancelBtn.Click();
    });
    form.Teilen.Click();
    EXPECT_FALSE(two.Failed());

    // The label dialog's OK: the four drive lists rebuilt, no pane moved.
    form.ShowPaneKind(0, ftDateiliste);
    Application->ProcessMessages();
    ASSERT_TRUE(form.LWPanel2.Visible());
    {
        TModalScript info;
        info.Step([](TForm& f) { dynamic_cast<TVolumeInfoDlg&>(f).OKBtn.Click(); });
        form.Datentrgeinfo1.Click();
        EXPECT_FALSE(info.Failed());
        EXPECT_EQ(info.FormsSeen(), 1);
    }
    const std::wstring stale = L"q: [ALT]";
    for (TDriveComboBox* box : {&form.LWAuswahl, &form.LWAuswahl2})
        box->AddItem(stale);
    m_log.Lines.clear();
    std::vector<TDriveComboBox*> dialogBoxes;
    TModalScript label;
    label.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<TNameDiskDlg&>(f);
        dlg.Datentraeger.AddItem(stale);
        dialogBoxes.push_back(&dlg.Datentraeger);
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto* info = dynamic_cast<TVolumeInfoDlg*>(form.Components(i))) {
                info->DriveComboBox1.AddItem(stale);
                dialogBoxes.push_back(&info->DriveComboBox1);
            }
        // Read-only: the drive keeps its label, the lists are rebuilt all the same.
        dlg.NeuerName.SetReadOnly(true);
        dlg.OKBtn.Click();
    });
    form.Benennen1.Click();
    EXPECT_FALSE(label.Failed());
    ASSERT_EQ(dialogBoxes.size(), 2u);
    dialogBoxes.push_back(&form.LWAuswahl);
    dialogBoxes.push_back(&form.LWAuswahl2);
    for (TDriveComboBox* box : dialogBoxes)
        EXPECT_EQ(box->Items().IndexOf(stale), -1) << ToUtf8(box->Name());
    EXPECT_FALSE(form.DriveListsRefreshing);
    for (const std::wstring& line : m_log.Lines)
        EXPECT_EQ(line.find(L"SetDirectory"), std::wstring::npos) << ToUtf8(line);
}

// The remaining tools show their dialogs; space needed only for a pane's files.
TEST_F(CommandsTest, TheDocumentListExitToolsAndSpaceNeededShowTheirDialogs) {
    TTempFolder folder(L"cmdplatz");
    const std::wstring a = folder.MakeFile(L"a.txt", 100);
    THauptform& form = StartLogged();
    TLogPane& pane = ActiveOfKind(ftDateiliste);
    pane.Directory = folder.Path();
    pane.Selection = {Record(a)};
    std::vector<std::string> shown;
    auto show = [&](TMenuItem& Item) {
        TModalScript script;
        script.Step([&](TForm& f) {
            shown.push_back(typeid(f).name());
            f.SetModalResult(mrCancel);
        });
        Item.Click();
        EXPECT_FALSE(script.Failed()) << ToUtf8(Item.Name());
    };
    show(form.ListederzuletztbenutztenDokumente1);
    show(form.Exittoolskonfigurieren1);
    show(form.TatschlichenSpeicherbedarfermitteln1);
    EXPECT_EQ(shown, (std::vector<std::string>{typeid(TDocListDlg).name(), typeid(TExittoolsDlg).name(),
                                               typeid(TSpeicherbedarfDlg).name()}));
    // An archive pane's entries take no space of their own on the drive.
    ActiveOfKind(ftZip).Selection = {Record(a)};
    TModalScript none;
    form.TatschlichenSpeicherbedarfermitteln1.Click();
    EXPECT_EQ(none.FormsSeen(), 0);
}

// The drive bar watches its drive: a file written there shows in its free space.
TEST_F(CommandsTest, AFileWrittenOnADriveBarsDriveUpdatesItsFreeSpaceText) {
    TTempFolder folder(L"cmdfree");
    THauptform& form = StartLogged();
    ASSERT_EQ(form.LWAuswahl.Drive(), folder.Path()[0] | 0x20);
    std::uint64_t free = 1 << 20;
    form.DiskFree = [&](wchar_t, std::uint64_t& Free, std::uint64_t& Total) {
        Free = free;
        Total = 1ull << 30;
        return true;
    };
    form.ShowFreeSpace();
    const std::wstring before = form.LWFreeSpace.Caption();
    free = 2 << 20;
    const std::wstring written = std::wstring(1, folder.Path()[0]) + L":\\velmora-frei.tmp";
    {
        std::ofstream file(written.c_str(), std::ios::binary);
        file << "frei";
    }
    EXPECT_TRUE(WaitUntil([&] { return form.LWFreeSpace.Caption() != before; }, 10000)) << ToUtf8(before);
    DeleteFileW(written.c_str());
}

}  // namespace
