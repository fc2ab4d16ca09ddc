// The main window's archive objects: the progress panel and its Abort button,
// the archive settings, opening an archive in a side, and a window started with
// an archive (or something else) on its command line.

#include <gtest/gtest.h>

#include <windows.h>

#include "ArchiveScratch.h"
#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "mainwindow/StatusThreads.h"
#include "panes/ZipView.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora::test {
namespace {

using namespace gui;

class MainFormArchive : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
};

// A main window whose program was started with Argument.
class TStartedWith : public THauptform {
public:
    explicit TStartedWith(TComponent* owner) : THauptform(owner) { CommandLineArgument = Argument; }
    static inline std::wstring Argument;
};

class CommandLine : public MainFormArchive {
protected:
    THauptform& StartWith(const std::wstring& argument) {
        TStartedWith::Argument = argument;
        THauptform& form = Make<TStartedWith>();
        // Room for the recent folder the first showing adds.
        form.Settings->OBV.Clear();
        form.Settings->OftBenVerz = 5;
        form.RefreshMRUList();
        return Start();
    }
    void TearDown() override {
        MainFormArchive::TearDown();
        TStartedWith::Argument.clear();
    }
    static bool IsRecentFolder(THauptform& form, const std::wstring& path) {
        return form.MRUFileList.Items().IndexOf(path, true) >= 0;
    }
};

TEST_F(MainFormArchive, ProgressPanelSetsTheFlagAndRefusesClosing) {
    THauptform& form = Start();
    ASSERT_TRUE(form.ZipRoutinen && form.XZip && form.ArcLister);
    ASSERT_TRUE(form.HauptStatusZeile.Visible());
    form.HauptStatusZeile.SetPanelText(0, L"alt");
    form.ArchiveHost().ShowProgressPanel(true);
    EXPECT_TRUE(form.ArchiveRunning);
    EXPECT_TRUE(form.Panel1.Visible());
    EXPECT_TRUE(form.Panel2.Visible());
    EXPECT_EQ(form.HauptStatusZeile.Panel(0).Text, L"");
    EXPECT_EQ(form.HauptStatusZeile.Panel(0).Width,
              form.HauptStatusZeile.Width() - form.Panel1.Width() - form.Panel2.Width() - 5);
    EXPECT_LT(form.Panel1.Left(), form.Panel2.Left());

    // Closing is refused while the panel shows.
    EXPECT_FALSE(CloseWindow());
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_NE(m_boxes.Calls()[0].Text.find(L"Archivoperation"), std::wstring::npos);
    Application->SetMainForm(&form);

    // Abort asks first; No leaves the call running, Yes stops it.
    m_boxes.Clear();
    m_boxes.Answer(mrNo);
    form.AbortSbClick(&form.AbortSb);
    EXPECT_FALSE(form.XZip->Abort);
    m_boxes.Answer(mrYes);
    form.AbortSbClick(&form.AbortSb);
    EXPECT_TRUE(form.XZip->Abort);
    ASSERT_EQ(m_boxes.Calls().size(), 2u);
    EXPECT_EQ(m_boxes.Calls()[1].Text, L"Sind Sie sicher, daß Sie die momentane Aktion abbrechen möchten?");

    form.ArchiveHost().ShowProgressPanel(false);
    EXPECT_FALSE(form.ArchiveRunning);
    EXPECT_FALSE(form.Panel1.Visible());
    EXPECT_EQ(form.HauptStatusZeile.Panel(0).Width, 250);

    // A search reading archives shows no panel.
    form.SearchReadsArchives = true;
    form.ArchiveHost().ShowProgressPanel(true);
    EXPECT_FALSE(form.ArchiveRunning);
    EXPECT_TRUE(form.ArchiveHost().ArchiveWorkRunning());
    form.SearchReadsArchives = false;
    EXPECT_TRUE(CloseWindow());
}

TEST_F(MainFormArchive, ANestedOperationLeavesTheOuterOnesPanelShowing) {
    THauptform& form = Start();
    form.ArchiveHost().ShowProgressPanel(true);
    form.ArchiveHost().ShowProgressPanel(true);
    form.ArchiveHost().ShowProgressPanel(false);
    EXPECT_TRUE(form.ArchiveRunning);
    EXPECT_TRUE(form.Panel1.Visible());
    form.ArchiveHost().ShowProgressPanel(false);
    EXPECT_FALSE(form.ArchiveRunning);
    EXPECT_TRUE(CloseWindow());
}

TEST_F(MainFormArchive, ArchiverSettingsReachTheZipComponentAndTheRoutines) {
    THauptform& form = Make();
    TArchivEinstellungen& arc = form.Settings->Arc;
    arc.UseTempFile = true;
    arc.StoredExt = L".ZIP;.RAR";
    arc.ArjPath = L"c:\\packer\\arj.exe";
    arc.UseInternUnRar = true;
    arc.ExternePackerImHintergrund = true;
    arc.UseInternUnArj = false;
    form.XZip->TempPath = L"c:\\temp\\";
    form.ApplyArchiverSettings();
    EXPECT_TRUE(form.XZip->UseTempFile);
    EXPECT_EQ(form.XZip->TempPath, L"c:\\temp");
    EXPECT_EQ(form.XZip->StoredExtensions, L".ZIP;.RAR");
    EXPECT_EQ(form.ZipRoutinen->Packer.ArjPath, L"c:\\packer\\arj.exe");
    EXPECT_TRUE(form.ZipRoutinen->Packer.UseInternUnRar);
    EXPECT_TRUE(form.ZipRoutinen->Packer.ExternePackerImHintergrund);
    EXPECT_FALSE(form.ZipRoutinen->Packer.UseInternUnArj);
}

TEST_F(MainFormArchive, OnlyAnArchiveIsOpenedInASide) {
    THauptform& form = Start();
    ASSERT_TRUE(form.RightPane);
    const TFensterTyp before = form.RightPane->GetPaneKind();
    EXPECT_FALSE(form.OpenPathInPane(1, L""));
    EXPECT_FALSE(form.OpenPathInPane(1, Fixture("text.txt")));
    EXPECT_FALSE(form.OpenPathInPane(1, Fixture("missing.zip")));
    EXPECT_EQ(form.RightPane->GetPaneKind(), before);

    ASSERT_TRUE(form.OpenPathInPane(1, Fixture("proj.zip")));
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftZip);
    ASSERT_TRUE(form.OpenPathInPane(0, Fixture("methods.arj")));
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftArj);
}

TEST_F(CommandLine, AnArchiveShowsTheTreeOnItLeftAndItsEntriesRight) {
    // The stored pane kinds give way to the archive.
    RegWriteUserValue(MainformSchluessel, L"Fenster", L"35");
    const std::wstring archive = Fixture("proj.zip");
    THauptform& form = StartWith(archive);
    ASSERT_TRUE(form.LeftPane && form.RightPane);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    EXPECT_EQ(form.LeftPane->GetDirectory(), SystemLower(archive));
    auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->GetPaneKind(), ftZip);
    EXPECT_EQ(pane->GetArchiveFile(), SystemLower(archive));
    EXPECT_EQ(pane->Prefix(), L"proj\\");
    ASSERT_EQ(pane->Dateiliste.Count(), 2);
    EXPECT_EQ(pane->Dateiliste.Items(1)->Caption(), L"a.txt");
    EXPECT_EQ(form.ActivePane(), form.LeftPane);
    EXPECT_FALSE(form.ArchiveArgument);
    EXPECT_EQ(form.ListKind, ftDateiliste);

    // The status line shows the archive's totals; the recent folders get the
    // folder the archive lies in, not the archive.
    TArchivDaten totals;
    pane->GetArchivDaten(totals);
    EXPECT_EQ(totals.Anzahl, 3);
    EXPECT_EQ(form.HauptStatusZeile.Panel(1).Text, ArchiveStatusText(pane->GetArchiveFile(), totals));
    EXPECT_TRUE(IsRecentFolder(form, ExcludeTrailingBackslash(ExtractFilePath(archive))));
    EXPECT_FALSE(IsRecentFolder(form, archive));
    EXPECT_TRUE(m_boxes.Calls().empty());

    // The next start shows a file list where the archive was.
    EXPECT_TRUE(CloseWindow());
    EXPECT_EQ(RegReadUserValue(MainformSchluessel, L"Fenster"), L"12");
}

TEST_F(CommandLine, AnArchiveGoneBeforeTheFirstShowingLeavesAPlainFileList) {
    TScratchFiles scratch(L"cmdline");
    const std::wstring archive = scratch.Copy("proj.zip", L"weg.zip");
    TStartedWith::Argument = archive;
    THauptform& form = Make<TStartedWith>();
    EXPECT_TRUE(form.ArchiveArgument);
    ASSERT_TRUE(DeleteFileW(archive.c_str()));
    Start();
    ASSERT_TRUE(form.LeftPane && form.RightPane);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftDateiliste);
    EXPECT_FALSE(form.ArchiveArgument);
    EXPECT_TRUE(m_boxes.Calls().empty());
    // Later pane changes on the left no longer go to the argument.
    form.ShowPaneKind(0, ftDateiliste);
    EXPECT_NE(form.LeftPane->GetDirectory(), SystemLower(archive));
}

TEST_F(CommandLine, AFolderStartsBothSidesThere) {
    TScratchFiles scratch(L"cmdline");
    THauptform& form = StartWith(scratch.Folder());
    ASSERT_TRUE(form.LeftPane && form.RightPane);
    EXPECT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    EXPECT_EQ(form.RightPane->GetPaneKind(), ftDateiliste);
    EXPECT_EQ(SystemLower(IncludeTrailingBackslash(form.LeftPane->GetDirectory())), SystemLower(scratch.Folder()));
    EXPECT_EQ(SystemLower(IncludeTrailingBackslash(form.RightPane->GetDirectory())), SystemLower(scratch.Folder()));
    EXPECT_TRUE(IsRecentFolder(form, ExcludeTrailingBackslash(scratch.Folder())));
    EXPECT_FALSE(form.ArchiveArgument);
    EXPECT_TRUE(m_boxes.Calls().empty());
}

// What is neither an archive nor a folder starts the window as without an
// argument; only a file named like an archive that cannot be read as one is
// reported.
TEST_F(CommandLine, WhatIsNoArchiveNorFolderIsPassedOver) {
    TScratchFiles scratch(L"cmdline");
    const std::wstring missing = scratch.Folder() + L"gibt es nicht.zip";
    const std::wstring text = scratch.Copy("text.txt", L"liesmich.txt");
    const std::wstring fake = scratch.Copy("text.txt", L"kaputt.zip");
    for (const std::wstring& argument : {missing, text, fake}) {
        SCOPED_TRACE(std::string(argument.begin(), argument.end()));
        m_boxes.Clear();
        THauptform& form = StartWith(argument);
        ASSERT_TRUE(form.LeftPane && form.RightPane);
        EXPECT_FALSE(form.CreateFailed());
        EXPECT_FALSE(form.ArchiveArgument);
        EXPECT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
        EXPECT_EQ(form.RightPane->GetPaneKind(), ftDateiliste);
        if (argument == fake) {
            ASSERT_EQ(m_boxes.Calls().size(), 1u);
            EXPECT_EQ(m_boxes.Calls()[0].Text, L"Das Archiv\r\n\"" + fake + L"\"\r\nkann nicht gelesen werden.");
            EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtWarning);
        } else {
            EXPECT_TRUE(m_boxes.Calls().empty());
        }
        EXPECT_TRUE(CloseWindow());
        m_form->Free();
        m_form = nullptr;
        Clear();
    }
}

}  // namespace
}  // namespace velmora::test
