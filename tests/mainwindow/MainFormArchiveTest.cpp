// The main window's archive objects: the progress panel and its Abort button,
// the archive settings, and opening an archive in a side.

#include <gtest/gtest.h>

#include <windows.h>

#include "MainWindowFixture.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"

namespace velmora::test {
namespace {

using namespace gui;

std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath)
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}
std::wstring Fixture(const char* relative) {
    return WinePath(std::string(VELMORA_SOURCE_DIR "/tests/data/archive/") + relative);
}

class MainFormArchive : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
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

}  // namespace
}  // namespace velmora::test
