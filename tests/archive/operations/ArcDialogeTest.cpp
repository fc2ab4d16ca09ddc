// The archive dialogs driven inside their modal loops over the real archive
// routines and the stand-in zip library: the checks of closing with OK (text,
// help context, focused field and its page), the format rules, the stored
// settings, the contents dialog and the questions asked while extracting.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "StoredZip.h"
#include "ZipRoutinenRecorder.h"
#include "archive/operations/AddArcDlg.h"
#include "archive/operations/ArcKleineDialoge.h"
#include "archive/operations/ExtractArcDlg.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/DefaultUserStore.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;
using namespace velmora::gui;
using namespace velmora::test;
using ziproutinentest::TRecorderHost;

namespace {

std::wstring WinePath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

std::unique_ptr<TEineDatei> Record(const std::wstring& name, bool inArchive = false) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->InArchive = inArchive;
    return record;
}

std::vector<std::wstring> Names(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& record : list) names.push_back(record->Name);
    return names;
}

class ArcDialoge : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }

    void SetUp() override {
        zip.OnListing = [this](TZipLib*, const TZlFileStats& s) { routines.AddXZipEntry(s); };
        lister.OnRead = [this](arc::TArcBase*, int) { routines.AddArcListerEntry(lister); };
        routines.DriveType = [](const std::wstring& root) {
            return SystemLower(root) == L"a:\\" ? unsigned(DRIVE_REMOVABLE) : unsigned(DRIVE_FIXED);
        };
        kontext.RecentArcs = &recentArcs;
        kontext.RecentFiles = &recentFiles;
        kontext.RecentDirs = &recentDirs;
        kontext.AddArchiveHistory = [this](const std::wstring& a) { arcHistory.push_back(a); };
        kontext.AddDirHistory = [this](const std::wstring& d) { dirHistory.push_back(d); };
        kontext.ZipRoutinen = &routines;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = SystemLower(std::wstring(temp) + L"arcdlg-" + std::to_wstring(GetCurrentProcessId()) + L"\\");
        ForceDirectories(folder);
        RegDeleteUserKey(ProgrammSchluessel, L"AddArcDlg");
        RegDeleteUserKey(ProgrammSchluessel, L"ExArcDlg");
    }
    void TearDown() override {
        for (TForm* form : forms) form->Free();
        for (const std::wstring& file : files) DeleteFileW(file.c_str());
        for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) RemoveDirectoryW(it->c_str());
        RemoveDirectoryW(folder.c_str());
        RegDeleteUserKey(ProgrammSchluessel, L"AddArcDlg");
        RegDeleteUserKey(ProgrammSchluessel, L"ExArcDlg");
    }
    template <typename T, typename... A>
    T& Make(A&&... args) {
        T* form = Create<T>(Application, std::forward<A>(args)...);
        forms.push_back(form);
        return *form;
    }
    void Destroy(TForm& form) {
        std::erase(forms, &form);
        form.Free();
    }
    std::wstring Write(const std::wstring& name, const std::string& data) {
        const std::wstring path = folder + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(h);
        files.push_back(path);
        return path;
    }
    std::wstring Docs() {
        return Write(L"docs.zip", StoredZip({{"my.docs/a.txt", "a"}, {"my.docs/b.txt", "b"},
                                             {"my.other/x.txt", "x"}, {"top.txt", "t"}}));
    }
    // The last box's text, help context and type, with the focus and page it left.
    void ExpectRefused(TArcDialogBasis& dialog, const std::wstring& text, int help, TWinControl& field) {
        ASSERT_FALSE(boxes.Calls().empty());
        EXPECT_EQ(boxes.Calls().back().Text, text);
        EXPECT_EQ(boxes.Calls().back().HelpContext, help);
        EXPECT_TRUE(HasFocus(field)) << ToUtf8(text);
        EXPECT_EQ(dialog.Seiten.ActivePage(), field.Parent()) << ToUtf8(text);
        EXPECT_TRUE(dialog.Visible());
    }

    TRecorderHost host;
    TZipLib zip{nullptr};
    arc::TArcLister lister;
    TZipRoutinen routines{host, zip, lister};
    TStringList recentArcs{L"c:\\alt.zip"}, recentFiles, recentDirs{L"c:\\ziele"};
    std::vector<std::wstring> arcHistory, dirHistory;
    TDateiDialogKontext kontext;
    TMessageBoxRecorder boxes;
    THelpRecorder help;
    std::wstring folder;
    std::vector<std::wstring> files, dirs;
    std::vector<TForm*> forms;
};

TEST_F(ArcDialoge, AddDialogRefusesEachFaultInOrderOnItsFieldAndPage) {
    routines.Packer.UseInternZip = true;
    TAddArcDlg& dlg = Make<TAddArcDlg>(kontext);
    TDateiListe list;
    dlg.SetDateiliste(&list);
    const std::wstring source = Write(L"b.txt", "b");
    const std::wstring archive = folder + L"neu.arj";
    TModalScript script;
    script
        .Step([&](TForm&) {
            dlg.ArchivName.SetText(L"");
            dlg.Seiten.SetActivePageIndex(2);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Sie haben noch nicht das Archiv angegeben,\rdem die Dateien hinzugefügt werden "
                               L"sollen.\rBitte holen Sie dies nach.",
                          0, dlg.ArchivName);
            dlg.FormatAnwenden(1);
            dlg.ArchivName.SetText(folder + L"verylongname.arj");
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Das gewählte Komprimierungsformat unterstützt für den Archivnamen\rnur das alte "
                               L"8.3-Format. Bitte ändern Sie ihn entsprechend.",
                          83, dlg.ArchivName);
            dlg.ArchivName.SetText(archive);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Sie haben keine Dateien angegeben,\rdie dem Archiv hinzugefügt werden sollen.\rBitte "
                               L"holen Sie dies nach.",
                          0, dlg.Dateien);
            // The archive itself as the only source leaves nothing to add.
            list.push_back(Record(archive));
            dlg.SetDateiliste(&list);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(list.empty());
            ExpectRefused(dlg, L"Sie haben keine Dateien angegeben,\rdie dem Archiv hinzugefügt werden sollen.\rBitte "
                               L"holen Sie dies nach.",
                          0, dlg.Dateien);
            list.push_back(Record(source));
            list.push_back(Record(folder + L"a.txt"));
            dlg.SetDateiliste(&list);
            dlg.FormatAnwenden(0);
            dlg.ArchivName.SetText(folder + L"neu.zip");
            dlg.Multidiskmode.SetChecked(true);
            dlg.NurWennAktuellerUndVorhanden.SetChecked(true);
            dlg.Seiten.SetActivePageIndex(0);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Im Multidiskmode können die Optionen \"Nur wenn aktueller...\" nicht verwendet werden!",
                          0, dlg.NurWennAktuellerUndVorhanden);
            dlg.Multidiskmode.SetChecked(false);
            boxes.Answer(mrCancel);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Das von Ihnen angegebene Archiv\r" + folder + L"neu.zip\rexistiert nicht!\rSoll es "
                                   L"neu erstellt werden?",
                          0, dlg.ArchivName);
            // After a refused OK, Cancel closes at once.
            dlg.CancelBtn.Click();
        });
    EXPECT_EQ(dlg.ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(arcHistory.empty());

    boxes.Answer(mrYes);
    TModalScript yes;
    yes.Step([&](TForm&) { dlg.OKBtn.Click(); });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(yes.Failed());
    // Sorted, absolute, and the archive in the history.
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{folder + L"a.txt", source}));
    EXPECT_EQ(arcHistory, (std::vector<std::wstring>{folder + L"neu.zip"}));
}

TEST_F(ArcDialoge, AddDialogFormatsAndArchiveNames) {
    TAddArcDlg& dlg = Make<TAddArcDlg>(kontext);
    dlg.FormatAnwenden(4);
    EXPECT_FALSE(dlg.CheckBox1.Enabled());
    EXPECT_FALSE(dlg.Unterverzeichnisse.Enabled());
    EXPECT_TRUE(dlg.Passwort.Enabled());
    dlg.FormatAnwenden(3);
    EXPECT_FALSE(dlg.Methode.Enabled());
    EXPECT_FALSE(dlg.Passwort.Enabled());
    EXPECT_TRUE(dlg.CheckBox1.Enabled());
    // Multi-disk needs ZIP through the zip library.
    dlg.FormatAnwenden(0);
    EXPECT_FALSE(dlg.Multidiskmode.Enabled());
    EXPECT_TRUE(AltesArchivFormat(L"abc.arj"));
    EXPECT_FALSE(AltesArchivFormat(L"verylongname.arj"));

    // A new format replaces the extension.
    dlg.ArchivName.SetText(L"C:\\Daten\\Sicher.ZIP");
    dlg.ArcFormat.SetItemIndex(2);
    dlg.ArcFormatChange(nullptr);
    EXPECT_EQ(dlg.ArchivName.Text(), L"c:\\daten\\sicher.rar");

    // A foreign extension asks once per showing.
    dlg.FormatAnwenden(0);
    boxes.Answer(mrNo);
    dlg.ArchivName.SetText(folder + L"test.lha");
    dlg.ArchivNameExit(nullptr);
    dlg.ArchivNameExit(nullptr);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].HelpContext, 84);
    EXPECT_EQ(dlg.ArchivName.Text(), folder + L"test.lha");
    TModalScript script;
    script.Step([&](TForm&) {
        EXPECT_EQ(boxes.Calls().size(), 2u);
        EXPECT_EQ(dlg.ArchivName.Text(), folder + L"test.zip");
        dlg.CancelBtn.Click();
    });
    boxes.Answer(mrYes);
    dlg.ShowModal();
    EXPECT_FALSE(script.Failed());

    // A self-extracting archive and a file that is no archive are refused.
    boxes.Clear();
    const std::wstring sfx = folder + L"sfx.exe";
    files.push_back(sfx);
    ASSERT_TRUE(CopyFileW(WinePath(VELMORA_SOURCE_DIR "/tests/data/archive/zipsfx.exe").c_str(), sfx.c_str(), FALSE));
    for (const std::wstring& name : {sfx, Write(L"kein.zip", "kein Archiv")}) {
        dlg.ArchivName.SetText(name);
        dlg.ArchivNameExit(nullptr);
        EXPECT_EQ(dlg.ArchivName.Text(), L"");
    }
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Zu diesem Archiv können leider keine Dateien hinzugefügt werden! Bitte wählen Sie ein anderes aus.");
    EXPECT_EQ(boxes.Calls()[1].Text, L"Die ausgewählte Datei ist kein Archiv! Bitte wählen Sie eine andere.");
    // An existing ARJ chooses its format.
    dlg.ArchivName.SetText(WinePath(VELMORA_SOURCE_DIR "/tests/data/archive/methods.arj"));
    dlg.ArchivNameExit(nullptr);
    EXPECT_EQ(dlg.ArcFormat.ItemIndex(), 1);
}

TEST_F(ArcDialoge, SettingsRoundTripAndBadValuesGiveTheDefaults) {
    const std::wstring add = ProgrammSchluessel + L"\\AddArcDlg", ex = ProgrammSchluessel + L"\\ExArcDlg";
    RegWriteUserValue(add, L"Data", L"1111111");
    RegWriteUserValue(add, L"Methode", L"9");
    RegWriteUserValue(add, L"ArcFormat", L"x");
    RegWriteUserValue(add, L"Pos", L"12,34");
    RegWriteUserValue(ex, L"Data", L"10100");
    RegWriteUserValue(ex, L"Pfade", L"3");
    TAddArcDlg& dlg = Make<TAddArcDlg>(kontext);
    EXPECT_TRUE(dlg.CheckBox1.Checked());
    EXPECT_FALSE(dlg.QuelldateienLoeschen.Checked() || dlg.Unterverzeichnisse.Checked());
    EXPECT_EQ(dlg.Methode.ItemIndex(), 1);
    EXPECT_EQ(dlg.ArcFormat.ItemIndex(), 0);
    EXPECT_EQ(dlg.Left(), 12);
    TExtractArcDlg& ex1 = Make<TExtractArcDlg>(kontext);
    // Both ticked: the exclusion acts on clicks only.
    EXPECT_TRUE(ex1.CheckBox1.Checked() && ex1.CheckBox3.Checked());
    EXPECT_EQ(ex1.RadioGroup1.ItemIndex(), 0);
    ex1.CheckBox1.SetChecked(false);
    ex1.CheckBox1.SetChecked(true);
    EXPECT_FALSE(ex1.CheckBox3.Checked());

    dlg.Unterverzeichnisse.SetChecked(true);
    dlg.Methode.SetItemIndex(4);
    dlg.ArcFormat.SetItemIndex(5);
    ex1.RadioGroup1.SetItemIndex(2);
    Destroy(dlg);
    Destroy(ex1);
    EXPECT_EQ(RegReadUserValue(add, L"Data"), L"00011000");
    EXPECT_EQ(RegReadUserValue(add, L"Methode"), L"4");
    EXPECT_EQ(RegReadUserValue(add, L"ArcFormat"), L"5");
    EXPECT_EQ(RegReadUserValue(add, L"Pos"), L"12,34");
    EXPECT_EQ(RegReadUserValue(ex, L"Data"), L"10000");
    TExtractArcDlg& ex2 = Make<TExtractArcDlg>(kontext);
    EXPECT_EQ(ex2.RadioGroup1.ItemIndex(), 2);
}

TEST_F(ArcDialoge, ExtractDialogRefusesEachFaultAndHandsOverTheCheckedFolder) {
    const std::wstring archive = Docs();
    TExtractArcDlg& dlg = Make<TExtractArcDlg>(kontext);
    TDateiListe list;
    dlg.SetDateiliste(&list);
    const std::wstring target = folder + L"ziel";
    dirs.push_back(target);
    TModalScript script;
    script
        .Step([&](TForm&) {
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Sie haben noch nicht das Archiv angegeben,\raus dem die Dateien extrahiert werden "
                               L"sollen.\rBitte holen Sie dies nach.",
                          0, dlg.ArchivName);
            dlg.ArchivName.SetText(archive);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Sie haben keine Dateien angegeben,\rdie aus dem Archiv extrahiert werden "
                               L"sollen.\rBitte holen Sie dies nach.",
                          0, dlg.Dateien);
            // The folder's mask means that folder only, not a name that begins alike.
            dlg.Dateien.SetText(L"My.Docs\\*.*");
            dlg.RadioGroup1.SetItemIndex(1);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ExpectRefused(dlg, L"Sie haben noch nicht den Zielordner angegeben,\rin den die Dateien extrahiert werden "
                               L"sollen.\rBitte holen Sie dies nach.",
                          0, dlg.Zielverzeichnis);
            dlg.Zielverzeichnis.SetText(target);
            boxes.Answer(mrNo);
            dlg.OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_FALSE(DirectoryExists(target));
            EXPECT_TRUE(HasFocus(dlg.Zielverzeichnis));
            boxes.Answer(mrYes);
            dlg.OKBtn.Click();
        });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(DirectoryExists(target));
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"my.docs\\a.txt", L"my.docs\\b.txt"}));
    EXPECT_TRUE(list[0]->InArchive);
    EXPECT_EQ(list[0]->ArchivPfad, archive);
    // Typed without "\", handed over as the folder itself.
    EXPECT_EQ(dlg.Zielordner(), target + L"\\");
    EXPECT_EQ(dirHistory, (std::vector<std::wstring>{target}));
    EXPECT_EQ(arcHistory, (std::vector<std::wstring>{archive}));
}

TEST_F(ArcDialoge, ExtractDialogJudgesTheArchiveName) {
    TExtractArcDlg& dlg = Make<TExtractArcDlg>(kontext);
    struct Case {
        std::wstring Name, Box;
        bool Kept;
    };
    const Case cases[] = {
        {L"a:\\x.zip", L"Die gewählte Datei existiert nicht!", false},
        // A floppy may hold an archive of any name.
        {L"a:\\x.dat", L"", true},
        {Write(L"x.dat", "kein Archiv"), L"Die ausgewählte Datei ist kein Archiv! Bitte wählen Sie eine andere.", false},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        dlg.ArchivName.SetText(c.Name);
        dlg.ArchivNameExit(nullptr);
        EXPECT_EQ(dlg.ArchivName.Text(), c.Kept ? c.Name : L"") << ToUtf8(c.Name);
        EXPECT_EQ(boxes.Calls().empty() ? L"" : boxes.Calls()[0].Text, c.Box) << ToUtf8(c.Name);
    }
    boxes.Clear();
    dlg.ArchivName.SetText(folder + L"Fehlt.ZIP");
    dlg.DateiSuchenBtn2Click(nullptr);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Das angegeben Archiv\r" + folder +
                                         L"fehlt.zip\rexistiert leider nicht.\rBitte überprüfen Sie Ihre Eingabe.");
    // An LZH archive unpacked by an outside program keeps "never overwrite" off.
    dlg.ArchivName.SetText(WinePath(VELMORA_SOURCE_DIR "/tests/data/archive/level1.lzh"));
    dlg.ArchivNameExit(nullptr);
    EXPECT_FALSE(dlg.CheckBox3.Enabled());
    EXPECT_FALSE(dlg.Passwort.Enabled());
}

TEST_F(ArcDialoge, ContentsDialogListsAndHandsBackTheMarkedEntries) {
    const std::wstring archive = Docs();
    TArchivInhaltDlg& dlg = Make<TArchivInhaltDlg>(kontext);
    dlg.SetArchivName(archive);
    TStringList chosen;
    TModalScript script;
    script.Step([&](TForm&) {
        EXPECT_EQ(dlg.Caption(), L"Inhalt von [docs.zip]");
        ASSERT_EQ(dlg.Dateiliste.Count(), 4);
        EXPECT_EQ(dlg.Dateiliste.Items(0)->Caption(), L"a.txt");
        EXPECT_EQ(dlg.Dateiliste.Items(0)->SubItems()[0], L"my.docs\\");
        EXPECT_EQ(dlg.Dateiliste.Items(3)->Caption(), L"top.txt");
        dlg.Dateiliste.Items(1)->SetSelected(true);
        dlg.Dateiliste.Items(3)->SetSelected(true);
        EXPECT_TRUE(WaitUntil([&] { return dlg.StatusLabel.Caption() == L" 2 Datei(en) ausgewählt."; }));
        dlg.OKBtn.Click();
    });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    dlg.AuswahlHolen(chosen);
    EXPECT_EQ(chosen.Items(), (std::vector<std::wstring>{L"my.docs\\b.txt", L"top.txt"}));

    // A file that is no archive closes the dialog after its box.
    dlg.SetArchivName(Write(L"kein.zip", "nichts"));
    EXPECT_EQ(dlg.ShowModal(), mrCancel);
    ASSERT_FALSE(boxes.Calls().empty());
    EXPECT_EQ(boxes.Calls().back().Text,
              L"Die Datei\r" + folder + L"kein.zip\rist kein Archiv.\rBitte überprüfen Sie Ihre Angaben.");
}

TEST_F(ArcDialoge, NameClashAndPasswordQuestions) {
    TZipReplaceDlg& clash = Make<TZipReplaceDlg>();
    clash.FileLabel.SetFileName(L"c:\\ziel\\a.txt");
    clash.NeuerNameErlaubt = false;
    clash.AbbrechenErlaubt = false;
    clash.RadioGroup1.SetItemIndex(4);
    TModalScript script;
    script
        .Step([&](TForm&) {
            // Never the fifth action while no new name is allowed.
            EXPECT_EQ(clash.RadioGroup1.ItemIndex(), 0);
            clash.RadioGroup1.SetItemIndex(3);
            clash.RadioGroup1.SetItemIndex(4);
            EXPECT_EQ(clash.RadioGroup1.ItemIndex(), 3);
            EXPECT_FALSE(clash.CancelBtn.Enabled());
            clash.Close();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(clash.Visible());
            clash.OKBtn.Click();
        });
    EXPECT_EQ(clash.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(clash.RadioGroup1.ItemIndex(), 3);

    clash.NeuerNameErlaubt = true;
    clash.AbbrechenErlaubt = true;
    TModalScript rename;
    rename
        .Step([&](TForm&) {
            clash.RadioGroup1.SetItemIndex(4);
            EXPECT_TRUE(clash.NeuerName.Enabled());
            clash.NeuerName.SetText(L"A.TXT");
            clash.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].Text,
                      L"Der neue Name für die zu extrahierende Datei muß anders lauten als der Originalname!");
            clash.NeuerName.SetText(L"b.txt");
            clash.OKBtn.Click();
        });
    EXPECT_EQ(clash.ShowModal(), mrOk);
    EXPECT_FALSE(rename.Failed());

    boxes.Clear();
    TArcPassWortEingebenDlg& pwd = Make<TArcPassWortEingebenDlg>();
    TModalScript password;
    password
        .Step([&](TForm&) {
            pwd.Passwort.SetText(L"");
            pwd.OKBtn.Click();
        })
        .Step([&](TForm&) {
            ASSERT_EQ(boxes.Calls().size(), 1u);
            EXPECT_EQ(boxes.Calls()[0].Text,
                      L"Bitte geben Sie ein Passwort ein oder wählen Sie einen Übergehen-Button!");
            EXPECT_TRUE(HasFocus(pwd.Passwort));
            pwd.AlleBtn.Click();
        });
    EXPECT_EQ(pwd.ShowModal(), 3);
    EXPECT_FALSE(password.Failed());
}

TEST_F(ArcDialoge, DeleteDialogEditsTheEntriesOfItsArchive) {
    TDeleteFromArcDlg& dlg = Make<TDeleteFromArcDlg>(kontext);
    EXPECT_EQ(dlg.Caption(), L"Aus Archiv löschen");
    EXPECT_EQ(dlg.HelpContext, 14);
    dlg.SetTexte(L"Parameter für Testoperation", L"&Testen", L"Datei(en) in Archiv testen",
                 L"Folgende Dateien im Archiv sollen getestet werden:", 19);
    EXPECT_EQ(dlg.ListLabel.Caption(), L"&Testen");
    EXPECT_EQ(dlg.Dateien.HelpContext, 19);
    dlg.FileLabel.SetFileName(L"c:\\x.zip");
    TDateiListe list;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) list.push_back(Record(name, true));
    dlg.SetDateiliste(&list);
    TModalScript script;
    script
        .Step([&](TForm&) {
            EXPECT_EQ(dlg.Dateien.Text(), L"(3 Dateien ausgewählt)");
            EXPECT_TRUE(dlg.Dateien.ReadOnly());
            EXPECT_TRUE(dlg.BitBtn1.Enabled());
            dlg.Dateien.SetFocus();
            PostKey(VK_DELETE);
            EXPECT_TRUE(WaitUntil([&] { return list.empty(); }));
        })
        .Step([&](TForm&) {
            EXPECT_FALSE(dlg.Dateien.ReadOnly());
            dlg.Dateien.SetText(L"  ReadMe.txt");
            dlg.OKBtn.Click();
        });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->Name, L"readme.txt");
    EXPECT_TRUE(list[0]->InArchive);
    EXPECT_EQ(list[0]->ArchivPfad, L"c:\\x.zip");
}

// ---- Entries dragged out of an archive onto a folder ------------------------

class DropAusArchiv : public ArcDialoge {
protected:
    void SetUp() override {
        ArcDialoge::SetUp();
        routines.Packer.UseInternZip = routines.Packer.UseInternUnZip = true;
        archive = Docs();
        before = Bytes(archive);
        target = folder + L"ziel\\";
        ForceDirectories(target);
        dirs.push_back(target);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"a.txt", L"b.txt", L"top.txt", L"my.docs\\a.txt", L"my.docs\\b.txt"})
            DeleteFileW((target + name).c_str());
        RemoveDirectoryW((target + L"my.docs").c_str());
        ArcDialoge::TearDown();
    }
    static std::string Bytes(const std::wstring& path) {
        std::string data;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return data;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got) data.append(buffer, got);
        CloseHandle(h);
        return data;
    }
    std::vector<std::wstring> Entries() {
        std::uint8_t kind = 0;
        routines.GetArchiveType(archive, kind);
        std::wstring name = archive;
        TArchivDaten daten;
        TDateiListe list;
        routines.OpenArchive(kind, name, daten, list);
        return Names(list);
    }
    bool InTarget(const std::wstring& name) const { return FileExists(target + name); }

    std::wstring archive, target;
    std::string before;
};

TEST_F(DropAusArchiv, ACancelledQuestionOrPathsDialogTouchesNothing) {
    TStringList names{L"my.docs\\a.txt"};
    boxes.Answer(mrCancel);
    routines.DropFromArchive(archive, 2, 0, true, names, target);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Sollen die abgelegten Dateien anschließend wirklich aus dem\rArchiv gelöscht werden?");
    EXPECT_TRUE(names.Empty());

    names = TStringList{L"my.docs\\a.txt"};
    TModalScript script;
    script.Step([&](TForm& form) {
        EXPECT_EQ(form.Caption(), L"Pfadangaben komprimierter Dateien");
        EXPECT_FALSE(InTarget(L"a.txt")) << "the dialog comes before any file is written";
        form.Close();
    });
    routines.DropFromArchive(archive, 1, 3, false, names, target);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(names.Empty());
    EXPECT_FALSE(InTarget(L"a.txt"));
    EXPECT_FALSE(InTarget(L"my.docs\\a.txt"));
    EXPECT_EQ(Bytes(archive), before);
}

TEST_F(DropAusArchiv, AMoveAnsweredNoOnlyCopies) {
    TStringList names{L"my.docs\\a.txt", L"top.txt"};
    boxes.Answer(mrNo);
    routines.DropFromArchive(archive, 2, 0, true, names, target);
    EXPECT_TRUE(InTarget(L"a.txt"));
    EXPECT_TRUE(InTarget(L"top.txt"));
    EXPECT_EQ(Bytes(archive), before);
}

TEST_F(DropAusArchiv, NamesBecomeTheItemsDirectlyInTheTargetForEachPathMode) {
    struct {
        int mode;
        TStringList dragged, items;
    } cases[] = {
        {0, {L"my.docs\\a.txt", L"top.txt"}, {target + L"a.txt", target + L"top.txt"}},
        {1, {L"my.docs\\a.txt", L"my.docs\\b.txt"}, {target + L"a.txt", target + L"b.txt"}},
        {1, {L"my.docs\\a.txt", L"top.txt"}, {target + L"my.docs", target + L"top.txt"}},
        {2, {L"my.docs\\a.txt", L"my.docs\\b.txt", L"top.txt"}, {target + L"my.docs", target + L"top.txt"}},
    };
    for (auto& c : cases) {
        TStringList names = c.dragged;
        routines.DropFromArchive(archive, 1, c.mode, true, names, target);
        EXPECT_EQ(names, c.items) << "path mode " << c.mode;
        for (const std::wstring& item : names) EXPECT_TRUE(FileExists(item) || DirectoryExists(item)) << ToUtf8(item);
    }
    EXPECT_TRUE(boxes.Calls().empty()) << "a copy asks nothing";
    EXPECT_EQ(Bytes(archive), before);
}

TEST_F(DropAusArchiv, MovingAFolderMaskTakesOnlyThatFolder) {
    TStringList names{L"my.docs\\*.*"};
    TStringList extracted;
    routines.DropFromArchive(archive, 2, 2, false, names, target, &extracted);
    EXPECT_EQ(names, TStringList{target + L"my.docs"});
    EXPECT_EQ(extracted, (TStringList{L"my.docs\\a.txt", L"my.docs\\b.txt"}));
    EXPECT_TRUE(InTarget(L"my.docs\\a.txt"));
    EXPECT_TRUE(InTarget(L"my.docs\\b.txt"));
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"my.other\\x.txt", L"top.txt"}));
}

TEST_F(DropAusArchiv, AnOutsideMoveDeletesOnlyWhenTheFilesAreGoneAndTheUserSaysYes) {
    TStringList names{L"top.txt"};
    TStringList extracted;
    routines.DropFromArchive(archive, 1, 0, true, names, target, &extracted);
    ASSERT_TRUE(InTarget(L"top.txt"));
    // A target that only copied (or moved "optimised" and said none) leaves the file.
    EXPECT_FALSE(routines.DeleteAfterOutsideMove(archive, true, extracted, names));
    EXPECT_TRUE(boxes.Calls().empty());

    DeleteFileW((target + L"top.txt").c_str());
    boxes.Answer(mrNo);
    EXPECT_FALSE(routines.DeleteAfterOutsideMove(archive, true, extracted, names));
    boxes.Answer(mrCancel);
    EXPECT_FALSE(routines.DeleteAfterOutsideMove(archive, true, extracted, names));
    EXPECT_EQ(Bytes(archive), before);
    boxes.Answer(mrYes);
    EXPECT_TRUE(routines.DeleteAfterOutsideMove(archive, true, extracted, names));
    EXPECT_EQ(boxes.Calls().size(), 3u);
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"my.docs\\a.txt", L"my.docs\\b.txt", L"my.other\\x.txt"}));
}

TEST_F(DropAusArchiv, AMoveOntoAFullDriveLosesNoEntry) {
    if (GetFileAttributesW(L"s:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no small drive s: (no tmpfs mount)";
    std::string big(1536 * 1024, 'g');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>('a' + i % 23);
    archive = Write(L"gross.zip", StoredZip({{"klein.txt", "k"}, {"gross.bin", big}}));
    before = Bytes(archive);
    const std::wstring target = L"s:\\dropvoll\\";
    TStringList names{L"klein.txt", L"gross.bin"};
    routines.DropFromArchive(archive, 2, 0, false, names, target);
    EXPECT_EQ(Bytes(archive), before) << "the entry that was not written stays, and so does the archive";
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Nicht genügend Speicher auf Datenträger für Extrahiervorgang.");
    DeleteFileW((target + L"klein.txt").c_str());
    DeleteFileW((target + L"gross.bin").c_str());
    RemoveDirectoryW(target.c_str());
}

}  // namespace
