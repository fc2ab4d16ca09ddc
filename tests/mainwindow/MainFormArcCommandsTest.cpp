// The main window's archive commands over the real routines and the stand-in
// zip library: extracting and deleting entries through their dialogs, the
// questions of a running extraction, the busy guard, the saving texts and
// opening an entry through a folder of the program's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "ArchiveScratch.h"
#include "LogPane.h"
#include "MainWindowFixture.h"
#include "archive/operations/StoredZip.h"
#include "panes/ZipView.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::test {
namespace {

using namespace gui;

class ArcCommands : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    void SetUp() override {
        MainWindowTest::SetUp();
        for (const wchar_t* key : {L"AddArcDlg", L"ExArcDlg"}) RegDeleteUserKey(ProgrammSchluessel, key);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        for (const wchar_t* key : {L"AddArcDlg", L"ExArcDlg"}) RegDeleteUserKey(ProgrammSchluessel, key);
    }
    // The archive in the right side, active, all its entries marked.
    TZipViewForm& OpenMarked(THauptform& form, const std::wstring& archive) {
        EXPECT_TRUE(form.OpenPathInPane(1, archive));
        auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
        EXPECT_NE(pane, nullptr);
        pane->BringToFront();
        Application->ProcessMessages();
        EXPECT_EQ(form.ActivePane(), pane);
        pane->SelectAll();
        return *pane;
    }
    std::wstring Docs(TScratchFiles& scratch) {
        return SystemLower(scratch.Write(StoredZip({{"a.txt", "alpha"}, {"b.txt", "beta"}}), L"docs.zip"));
    }
    std::vector<std::wstring> Rows(TZipViewForm& pane) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < pane.Dateiliste.Count(); ++i) rows.push_back(pane.Dateiliste.Items(i)->Caption());
        return rows;
    }
};

TEST_F(ArcCommands, ExtractsIntoTheTypedFolderAndAsksOnEachClash) {
    TScratchFiles scratch(L"arccmd");
    const std::wstring archive = Docs(scratch);
    // "ziel" typed without "\": the files land in it, not beside it.
    const std::wstring target = scratch.Folder() + L"ziel";
    ASSERT_TRUE(ForceDirectories(target));
    scratch.Write("alt", L"ziel\\a.txt");
    scratch.Write("alt", L"ziel\\b.txt");
    THauptform& form = Start();
    OpenMarked(form, archive);
    TModalScript script;
    int busyForms = 0;
    script
        .Step([&](TForm& f) {
            auto& dlg = dynamic_cast<archive::TExtractArcDlg&>(f);
            EXPECT_EQ(dlg.ArchivName.Text(), archive);
            dlg.Zielverzeichnis.SetText(target);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm& f) {
            // While the extraction asks, every archive command only beeps.
            auto& clash = dynamic_cast<archive::TZipReplaceDlg&>(f);
            EXPECT_TRUE(form.ArchiveBusy());
            TModalScript nothing;
            const size_t boxesBefore = m_boxes.Calls().size();
            for (TMenuItem* item : {&form.ZuArchivhinzufgen1, &form.AusArchivextrahieren1, &form.Testen1, &form.Fix1,
                                    &form.Archivdatumaktualisieren1, &form.InEXEDateiumwandeln1,
                                    &form.EXEArchivzurckumwandeln1, &form.DateiLoeschen})
                item->Click();
            form.OpenArchivedFile(form.RightPane, archive, L"a.txt");
            // The pane keeps its rows: a reading now would nest the zip component.
            auto* pane = dynamic_cast<TZipViewForm*>(form.RightPane);
            pane->Dateiliste.Clear();
            pane->ReadContents();
            EXPECT_EQ(pane->Dateiliste.Count(), 0);
            busyForms = nothing.FormsSeen() + static_cast<int>(m_boxes.Calls().size() - boxesBefore);
            // An invalid new name skips the file.
            clash.RadioGroup1.SetItemIndex(4);
            clash.NeuerName.SetText(L"x<y.txt");
            clash.OKBtn.Click();
        })
        .Step([&](TForm& f) {
            auto& clash = dynamic_cast<archive::TZipReplaceDlg&>(f);
            EXPECT_EQ(clash.FileLabel.FileName(), L"b.txt");
            clash.RadioGroup1.SetItemIndex(1);
            clash.OKBtn.Click();
        });
    form.AusArchivextrahieren1.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.StepsLeft(), 0);
    EXPECT_EQ(busyForms, 0);
    EXPECT_FALSE(form.ArchiveBusy());
    EXPECT_FALSE(form.Panel1.Visible());
    std::string data;
    auto read = [](const std::wstring& path) {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        char buffer[64] = {};
        DWORD got = 0;
        ReadFile(h, buffer, sizeof buffer, &got, nullptr);
        CloseHandle(h);
        return std::string(buffer, got);
    };
    EXPECT_EQ(read(target + L"\\a.txt"), "alt");
    EXPECT_EQ(read(target + L"\\b.txt"), "beta");
    EXPECT_FALSE(FileExists(target + L"\\x<y.txt"));
    DeleteFileW((target + L"\\b.txt").c_str());
    DeleteFileW((target + L"\\a.txt").c_str());
    RemoveDirectoryW(target.c_str());
}

TEST_F(ArcCommands, ALongExtractionSpacesItsStatusTextsAndStopsOnAbort) {
    TScratchFiles scratch(L"arclong");
    std::vector<TZipEintrag> entries;
    for (int i = 0; i < 6000; ++i)
        entries.push_back({"d" + std::to_string(i / 100) + "/f" + std::to_string(i) + ".txt", "x"});
    const std::wstring archive = SystemLower(scratch.Write(StoredZip(entries), L"lang.zip"));
    // Wine's process ids repeat from run to run, and so would these folders.
    const std::wstring ganz = scratch.Folder() + L"ganz", halb = scratch.Folder() + L"halb";
    auto wegraeumen = [&] {
        std::error_code ignored;
        for (const std::wstring* folder : {&ganz, &halb}) std::filesystem::remove_all(*folder, ignored);
    };
    wegraeumen();
    struct TAmEnde {
        std::function<void()> Tun;
        ~TAmEnde() { Tun(); }
    } amEnde{wegraeumen};
    THauptform& form = Start();
    OpenMarked(form, archive);
    auto extractInto = [&](const std::wstring& folder) {
        TModalScript script(60000);
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<archive::TExtractArcDlg&>(f);
            dlg.Zielverzeichnis.SetText(folder);
            // With its folders: Wine looks through a folder's names for every
            // file made in it, and thousands in one folder would take minutes.
            dlg.RadioGroup1.SetItemIndex(2);
            dlg.OKBtn.Click();
        });
        m_boxes.Answer(mrYes);  // the target folder is made
        form.AusArchivextrahieren1.Click();
        EXPECT_FALSE(script.Failed()) << ToUtf8(script.Failures().empty() ? L"" : script.Failures()[0]);
    };
    const DWORD start = GetTickCount();
    extractInto(ganz);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(FileExists(ganz + L"\\d59\\f5999.txt"));
    EXPECT_GT(form.ArchiveStatusTexts, 0);
    EXPECT_LE(form.ArchiveStatusTexts, static_cast<int>(elapsed / 20) + 2) << elapsed << " ms";
    // The last entry's text is shown even when it came within 20 ms.
    EXPECT_TRUE(EndsWith(form.LastArchiveStatus, L"f5999.txt wird entpackt.")) << ToUtf8(form.LastArchiveStatus);

    // Abort asks, and Yes stops the run and hides the panel.
    m_boxes.Clear();
    TTimer abort(&form);
    abort.SetInterval(1);
    abort.OnTimer = [&](TObject*) {
        if (!form.Panel1.Visible()) return;
        abort.SetEnabled(false);
        m_boxes.Answer(mrYes);
        form.AbortSb.Click();
    };
    abort.SetEnabled(true);
    extractInto(halb);
    abort.SetEnabled(false);
    EXPECT_FALSE(form.Panel1.Visible());
    EXPECT_FALSE(form.ArchiveBusy());
    bool asked = false;
    for (const auto& call : m_boxes.Calls())
        asked = asked || call.Text == L"Sind Sie sicher, daß Sie die momentane Aktion abbrechen möchten?";
    EXPECT_TRUE(asked);
    EXPECT_FALSE(FileExists(halb + L"\\d59\\f5999.txt")) << "the run stopped";
}

TEST_F(ArcCommands, DelInAnArchivePaneDeletesThroughTheDialogAndReadsAgain) {
    TScratchFiles scratch(L"arcdel");
    const std::wstring archive = Docs(scratch);
    THauptform& form = Start();
    form.Settings->Best.AuswahlDlgVorLoeschen = true;
    TZipViewForm& pane = OpenMarked(form, archive);
    for (int i = 0; i < pane.Dateiliste.Count(); ++i)
        pane.Dateiliste.Items(i)->SetSelected(pane.Dateiliste.Items(i)->Caption() == L"a.txt");
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<archive::TDeleteFromArcDlg&>(f);
        EXPECT_EQ(dlg.Caption(), L"Aus Archiv löschen");
        EXPECT_EQ(dlg.HelpContext, 14);
        EXPECT_EQ(dlg.FileLabel.FileName(), archive);
        EXPECT_EQ(dlg.Dateien.Text(), L"a.txt");
        dlg.OKBtn.Click();
    });
    form.DateiLoeschen.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"b.txt"}));
}

TEST_F(ArcCommands, AnOpenedEntryLivesInTheProgramsOwnFolderUntilClose) {
    TScratchFiles scratch(L"arcopen");
    const std::wstring archive = SystemLower(scratch.Write(StoredZip({{"notiz.arj", "kein arj"}}), L"open.zip"));
    // A file of the entry's name in the temporary folder stays as it is.
    const std::wstring stranger = TempDirectory() + L"notiz.arj";
    {
        HANDLE h = CreateFileW(stranger.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "fremd", 5, &written, nullptr);
        CloseHandle(h);
    }
    THauptform& form = Start();
    form.Settings->Arc.AskBeforeOpen = false;
    form.Settings->Arc.ExtraNachfragen = false;
    const std::wstring own = form.ExtractFolder();
    EXPECT_NE(SystemLower(own), SystemLower(TempDirectory()));
    form.OpenArchivedFile(form.RightPane, archive, L"notiz.arj");
    EXPECT_TRUE(FileExists(own + L"notiz.arj"));
    ASSERT_EQ(form.ExtractedFiles->Count(), 1);
    EXPECT_EQ(form.ExtractedFiles->Items()[0], own + L"notiz.arj");
    EXPECT_EQ(GetFileAttributesW(stranger.c_str()) != INVALID_FILE_ATTRIBUTES, true);
    // What the user saved there survives the close, and so does the folder.
    const std::wstring saved = own + L"gesichert.txt";
    {
        HANDLE h = CreateFileW(saved.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    }
    EXPECT_TRUE(CloseWindow());
    EXPECT_FALSE(FileExists(own + L"notiz.arj"));
    EXPECT_TRUE(FileExists(saved));
    HANDLE h = CreateFileW(stranger.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[8] = {};
    DWORD got = 0;
    ReadFile(h, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(std::string(buffer, got), "fremd");
    DeleteFileW(stranger.c_str());
    DeleteFileW(saved.c_str());
    RemoveDirectoryW(own.c_str());
}

TEST_F(ArcCommands, AddFromAnArchivePaneTakesItAsTheTargetAndReadsItAgain) {
    TScratchFiles scratch(L"arcadd");
    const std::wstring archive = Docs(scratch);
    const std::wstring source = SystemLower(scratch.Write("gamma", L"c.txt"));
    THauptform& form = Start();
    form.Settings->Arc.UseInternZip = true;
    form.ApplyArchiverSettings();
    TZipViewForm& pane = OpenMarked(form, archive);
    TModalScript script;
    script.Step([&](TForm& f) {
        auto& dlg = dynamic_cast<archive::TAddArcDlg&>(f);
        EXPECT_EQ(dlg.ArchivName.Text(), archive);
        EXPECT_TRUE(dlg.Dateiliste()->empty());
        dlg.Dateien.SetText(source);
        // Without its folders the file lands at the archive's root.
        dlg.CheckBox1.SetChecked(false);
        dlg.OKBtn.Click();
    });
    form.ZuArchivhinzufgen1.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.StepsLeft(), 0);
    EXPECT_EQ(Rows(pane), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));
    // The status line counts the new contents.
    EXPECT_TRUE(form.HauptStatusZeile.Panel(1).Text.starts_with(L"docs.zip enthält 3 Dateien"))
        << ToUtf8(form.HauptStatusZeile.Panel(1).Text);
}

TEST_F(ArcCommands, PrepareArchiveTargetTakesShortNamesAndMapsTheChoices) {
    TScratchFiles scratch(L"arcprep");
    const std::wstring longFolder = scratch.Folder() + L"Langer Ordnername";
    ASSERT_TRUE(ForceDirectories(longFolder));
    const std::wstring longFile = scratch.Write("x", L"Langer Ordnername\\Ein langer Name.text");
    THauptform& form = Start();
    archive::TAddArcDlg& dlg = *form.AddArcDialog();
    TDateiListe list;
    for (const std::wstring& name : {longFile, longFolder + L"\\*.text", scratch.Folder() + L"fehlt.txt",
                                     scratch.Folder() + L"fehlt\\*.txt", std::wstring(L"*\\*.txt")}) {
        list.push_back(std::make_unique<TEineDatei>());
        list.back()->Name = name;
    }
    dlg.SetDateiliste(&list);
    dlg.ArchivName.SetText(scratch.Folder() + L"neu.arj");
    dlg.FormatAnwenden(1);
    dlg.Methode.SetItemIndex(3);
    dlg.NurWennAktuellerUndVorhanden.SetChecked(true);
    TStringList names;
    std::uint8_t format = 0;
    int level = -1, mode = -1;
    ASSERT_TRUE(form.PrepareArchiveTarget(names, format, level, mode));
    // Wine's short names are hashed: what the system gives, lower-cased.
    const std::wstring shortFolder = SystemLower(ShortPathName(longFolder));
    EXPECT_NE(shortFolder, SystemLower(longFolder));
    EXPECT_EQ(names.Items(), (std::vector<std::wstring>{SystemLower(ShortPathName(longFile)),
                                                        shortFolder + L"\\*.text", L"*\\*.txt"}));
    EXPECT_EQ(format, ftArj);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(mode, 1);

    // Nothing left: refused with its box.
    list.resize(1);
    list[0]->Name = scratch.Folder() + L"fehlt.txt";
    EXPECT_FALSE(form.PrepareArchiveTarget(names, format, level, mode));
    ASSERT_FALSE(m_boxes.Calls().empty());
    EXPECT_EQ(m_boxes.Calls().back().Text, L"Fehler bei Archivoperation: Übergebene Dateien sind ungültig!");
    EXPECT_EQ(m_boxes.Calls().back().HelpContext, 73);
    dlg.SetDateiliste(nullptr);
    DeleteFileW(longFile.c_str());
    RemoveDirectoryW(longFolder.c_str());
}

// The commands over a stand-in pane whose marking the test sets.
class ArcListCommands : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    TLogPane& StartWith(TFensterTyp Kind) {
        THauptform& form = Make();
        UseLogPanes(form, m_log);
        Start();
        Application->SetMainForm(&form);
        const int side = form.ActivePane() == form.LeftPane ? 0 : 1;
        form.ShowPaneKind(side, Kind);
        Application->ProcessMessages();
        TDMChildForm* pane = side == 0 ? form.LeftPane : form.RightPane;
        pane->SetFocus();
        Application->ProcessMessages();
        return Log(pane);
    }
    static TEineDatei Entry(const std::wstring& name, std::int64_t size, std::int64_t packed) {
        TEineDatei record;
        record.Name = name;
        record.Size = size;
        record.CompressedSize = packed;
        record.InArchive = true;
        record.ArchivPfad = L"c:\\Daten\\Brief.ZIP";
        return record;
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& call : m_boxes.Calls()) texts.push_back(call.Text);
        return texts;
    }
    TPaneLog m_log;
};

TEST_F(ArcListCommands, RepairWarnsOncePerRefusedKindAndRepairsNothing) {
    TScratchFiles scratch(L"arcfix");
    TLogPane& pane = StartWith(ftDateiliste);
    for (const auto& [fixture, name] : {std::pair{"level1.lzh", L"a.lzh"}, std::pair{"methods.arj", L"b.arj"},
                                        std::pair{"methods.arj", L"c.arj"}}) {
        TEineDatei record;
        record.Name = scratch.Copy(fixture, name);
        pane.Selection.push_back(record);
    }
    m_form->Fix1.Click();
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Lha-kompatible Archive können leider nicht repariert werden!",
                                                  L"Arj-kompatible Archive können leider nicht repariert werden!",
                                                  L"Es ist kein Archiv markiert, das repariert werden könnte!"}));
    EXPECT_FALSE(m_form->ArchiveBusy());
}

// An exception inside an archive routine reaches the user as the box naming
// that routine, whichever routine it called before: a box the routine shows
// throws, as from the window procedure that ran it.
TEST_F(ArcListCommands, AnExceptionInARoutineNamesIt) {
    TScratchFiles scratch(L"arcexc");
    TLogPane& pane = StartWith(ftDateiliste);
    TEineDatei zip, text;
    zip.Name = SystemLower(scratch.Write(StoredZip({{"a.txt", "alpha"}}), L"a.zip"));
    text.Name = SystemLower(scratch.Write("x", L"b.txt"));
    auto shown = [&] {
        for (const auto& call : m_boxes.Calls())
            if (StartsWith(call.Text, L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: ")) return call.Text;
        return std::wstring(L"kein Fehlerkasten");
    };
    auto code = [](int number) {
        return L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: " + std::to_wstring(number);
    };
    // The list commands, the archive kind asked of each marked file first: the
    // box about the mixed marking (or about nothing to do) throws.
    pane.Selection = {zip, text};
    for (auto [item, number] : {std::pair{&m_form->Archivdatumaktualisieren1, 46}, std::pair{&m_form->Fix1, 48},
                                std::pair{&m_form->InEXEDateiumwandeln1, 51},
                                std::pair{&m_form->EXEArchivzurckumwandeln1, 52}}) {
        m_boxes.Clear();
        m_boxes.Answer(TMessageBoxRecorder::kThrow);
        SendMessageW(m_form->Handle(), WM_COMMAND, item->Command(), 0);
        EXPECT_TRUE(StartsWith(shown(), code(number))) << number << " " << ToUtf8(shown());
        EXPECT_FALSE(m_form->ArchiveBusy()) << number;
    }
    // Routines the panes and dialogs call from their own events.
    m_form->Settings->Arc.AskBeforeOpen = true;
    archive::TAddArcDlg& dlg = *m_form->AddArcDialog();
    TDateiListe missing;
    missing.push_back(std::make_unique<TEineDatei>());
    missing.back()->Name = scratch.Folder() + L"fehlt.txt";
    dlg.SetDateiliste(&missing);
    dlg.ArchivName.SetText(scratch.Folder() + L"neu.arj");
    dlg.FormatAnwenden(1);
    const std::pair<std::function<void()>, int> routines[] = {
        {[&] { m_form->OpenArchivedFile(m_form->ActivePane(), zip.Name, L"a.txt"); }, 53},
        {[&] {
             TStringList names;
             std::uint8_t format = 0;
             int level = 0, mode = 0;
             m_form->PrepareArchiveTarget(names, format, level, mode);
         },
         43}};
    for (const auto& [routine, number] : routines) {
        m_boxes.Clear();
        m_boxes.Answer(TMessageBoxRecorder::kThrow);
        TTimer once(m_form);
        once.SetInterval(1);
        once.OnTimer = [&](TObject*) {
            once.SetEnabled(false);
            routine();
        };
        once.SetEnabled(true);
        EXPECT_TRUE(WaitUntil([&] { return m_boxes.Calls().size() >= 2; }, 10000)) << number;
        EXPECT_TRUE(StartsWith(shown(), code(number))) << number << " " << ToUtf8(shown());
    }
    dlg.SetDateiliste(nullptr);
}

TEST_F(ArcListCommands, PropertiesShowTheSavingAndUnknownTotalsOutsideAnArchivePane) {
    TLogPane& pane = StartWith(ftSuchergebnis);
    struct Case {
        TEineDatei Record;
        std::wstring Packed;
    };
    const Case cases[] = {{Entry(L"\\Texte\\Brief.txt", 4000, 1000), L" (75%)"}, {Entry(L"leer.txt", 0, 0), L" (0%)"}};
    for (const Case& c : cases) {
        pane.Selection = {c.Record};
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<archive::TZippedFileEigenschaftenDlg&>(f);
            EXPECT_TRUE(EndsWith(dlg.PackedSize.Caption(), c.Packed)) << ToUtf8(dlg.PackedSize.Caption());
            EXPECT_EQ(dlg.ArchivName.FileName(), L"c:\\daten\\brief.zip");
            for (TLabel* label : {&dlg.Archivgroesse, &dlg.ArcPackedSize, &dlg.AnzahlDateien})
                EXPECT_EQ(label->Caption(), L"unbekannt");
            dlg.OKBtn.Click();
        });
        m_form->DateiEigenschaften.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.StepsLeft(), 0);
    }
}

}  // namespace
}  // namespace velmora::test
