// The document list over the prefix's Recent folder and the "RecentDocMonitor"
// key, with an empty stand-in for the watcher program and the starts recorded.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "FileRoutinesTestSupport.h"
#include "filetools/DocListDialog.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/FileOperator.h"
#include "foundation/ShellLink.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::wstring Ordner(int csidl) {
    wchar_t path[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
    return IncludeTrailingBackslash(path);
}

std::wstring Wert(const std::wstring& name) { return RegReadUserValue(DokumentMonitorSchluessel, name); }

class DocListTest : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        recent = Ordner(CSIDL_RECENT);
        autostart = Ordner(CSIDL_STARTUP);
        Leeren();
        DeleteRegistryTree(HKEY_USERS, HerstellerSchluessel + DokumentMonitorSchluessel);
        DeleteFileW((autostart + L"Überwachung der Dokumentenliste.lnk").c_str());
        pellwick = programme.MakeFile(L"Pellwick.exe");
        kontext.ProgramFolder = programme.Path();
        kontext.ShellStart = [this](const std::wstring& file, const std::wstring& verb) -> INT_PTR {
            starts.push_back(verb + L" " + file);
            return 42;
        };
        kontext.Routinen = &routinen;
        kontext.Sammelkorb = &korb;
        a = docs.MakeFile(L"Anna.txt", 1);
        b = docs.MakeFile(L"Bert.txt", 1);
        dlg = Create<TDocListDlg>(Application, kontext);
    }
    void TearDown() override {
        dlg->Free();
        Leeren();
        DeleteRegistryTree(HKEY_USERS, HerstellerSchluessel + DokumentMonitorSchluessel);
        DeleteFileW((autostart + L"Überwachung der Dokumentenliste.lnk").c_str());
        OleUninitialize();
    }
    void Leeren() {
        for (const auto& f : Inhalt()) DeleteFileW((recent + f).c_str());
    }
    std::vector<std::wstring> Inhalt() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        const HANDLE find = FindFirstFileW((recent + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        while (FindNextFileW(find, &found));
        FindClose(find);
        return names;
    }
    // The documents the Recent folder's shortcuts point at, sorted.
    std::vector<std::wstring> Dokumente() const {
        std::vector<std::wstring> targets;
        for (const auto& f : Inhalt()) {
            std::wstring target;
            ReadShellLink(recent + f, target);
            targets.push_back(AsciiLower(LongPathName(target)));
        }
        std::sort(targets.begin(), targets.end());
        return targets;
    }
    std::vector<std::wstring> Liste() const {
        std::vector<std::wstring> shown;
        for (int i = 0; i < dlg->Dateiliste.Count(); ++i)
            shown.push_back(AsciiLower(TDocListDlg::Dokument(*dlg->Dateiliste.Items(i))));
        std::sort(shown.begin(), shown.end());
        return shown;
    }
    void Link(const std::wstring& target, const std::wstring& name) {
        ASSERT_TRUE(CreateShellLink(target, recent + name, L""));
    }
    void Waehlen(const std::wstring& doc) {
        for (int i = 0; i < dlg->Dateiliste.Count(); ++i) {
            TListItem* item = dlg->Dateiliste.Items(i);
            item->SetSelected(AsciiLower(TDocListDlg::Dokument(*item)) == AsciiLower(doc));
        }
    }
    TModalResult Zeigen(std::vector<std::function<void(TForm&)>> steps) {
        TModalScript script(20000);
        for (auto& s : steps) script.Step(s);
        const TModalResult result = dlg->ShowModal();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.StepsLeft(), 0);
        return result;
    }
    int Boxen(const std::wstring& anfang) const {
        return static_cast<int>(std::count_if(boxes.Calls().begin(), boxes.Calls().end(),
                                              [&](const TMessageBoxCall& c) { return c.Text.starts_with(anfang); }));
    }

    TTempFolder programme{L"docprog"}, docs{L"docs"};
    std::wstring recent, autostart, pellwick, a, b;
    std::vector<std::wstring> starts;
    TDateiListe korb;
    TDateiDialogKontext kontext;
    TFileOperator fileOperator{nullptr};
    TDateiRoutinen routinen{fileOperator};
    TMessageBoxRecorder boxes;
    TDocListDlg* dlg = nullptr;
};

}  // namespace

TEST_F(DocListTest, DeadEntriesGoOnceAndARemovedProtectedDocumentStaysUnprotectedAfterOk) {
    Link(a, L"Anna.txt.lnk");
    Link(b, L"Bert.txt.lnk");
    const std::wstring tot = docs.MakeFile(L"Tot.txt", 1);
    Link(tot, L"Tot.txt.lnk");
    DeleteFileW(tot.c_str());
    const std::wstring weg = docs.Path() + L"Weg.txt";
    RegWriteUserValue(DokumentMonitorSchluessel, L"0", b);
    RegWriteUserValue(DokumentMonitorSchluessel, L"1", weg);
    RegWriteUserValue(DokumentMonitorSchluessel, L"2", a);
    RegWriteUserValue(DokumentMonitorSchluessel, L"DocListActive", L"1");
    ASSERT_EQ(Zeigen({[&](TForm&) {
                  // The dead shortcut's item stays until the next fill.
                  EXPECT_EQ(Liste(), (std::vector<std::wstring>{L"", AsciiLower(a), AsciiLower(b)}));
                  EXPECT_FALSE(FileExists(recent + L"Tot.txt.lnk"));
                  EXPECT_EQ(dlg->Geschuetzt(), (TStringList{b, a}));
                  Waehlen(b);
                  dlg->Button2.Click();
                  // The values close up at once.
                  EXPECT_EQ(Wert(L"0"), weg);
                  EXPECT_EQ(Wert(L"1"), a);
                  EXPECT_EQ(Wert(L"2"), L"");
                  dlg->OKBtn.Click();
              }}),
              mrOk);
    EXPECT_EQ(Boxen(L"Das mit \"Tot.txt.lnk\" verknüpfte Dokument existiert nicht mehr."), 1);
    EXPECT_EQ(Boxen(L"Die Datei\r\"" + AsciiLower(weg) + L"\"\rist als geschützt markiert."), 1);
    EXPECT_EQ(Dokumente(), std::vector<std::wstring>{AsciiLower(a)});
    EXPECT_EQ(Wert(L"0"), a);
    EXPECT_EQ(Wert(L"1"), L"");
    EXPECT_EQ(Wert(L"DocListActive"), L"1");
    // OK starts the watcher and, on Yes, puts it into the Startup folder.
    EXPECT_EQ(starts, std::vector<std::wstring>{L"open " + pellwick});
    EXPECT_EQ(Boxen(L"Das Programm zur Überwachung der Dokumentenliste"), 1);
    std::wstring ziel;
    ReadShellLink(autostart + L"Überwachung der Dokumentenliste.lnk", ziel);
    EXPECT_EQ(AsciiLower(LongPathName(ziel)), AsciiLower(pellwick));
}

TEST_F(DocListTest, CancelBringsTheOpeningDocumentsBackAndTheRemovedOneUnprotected) {
    Link(a, L"Anna.txt.lnk");
    Link(b, L"Bert.txt.lnk");
    RegWriteUserValue(DokumentMonitorSchluessel, L"0", b);
    ASSERT_EQ(Zeigen({[&](TForm&) {
                  Waehlen(b);
                  dlg->Button2.Click();
                  EXPECT_EQ(Liste(), std::vector<std::wstring>{AsciiLower(a)});
                  dlg->CancelBtn.Click();
              }}),
              mrCancel);
    EXPECT_EQ(Wert(L"0"), L"");
    if (Dokumente().size() < 2) GTEST_SKIP() << "this Wine makes no shortcut for a document added to the list";
    EXPECT_EQ(Dokumente(), (std::vector<std::wstring>{AsciiLower(a), AsciiLower(b)}));
}

TEST_F(DocListTest, DocumentsAddedFromTheOpenDialogAndTheBasketShowAfterTheTimer) {
    const std::wstring c = docs.MakeFile(L"Carl.txt", 1), d = docs.MakeFile(L"Dora.txt", 1);
    korb = Records({d});
    auto archiviert = std::make_unique<TEineDatei>();
    archiviert->Name = L"\\innen.txt";
    archiviert->InArchive = true;
    archiviert->ArchivPfad = docs.Path() + L"x.zip";
    korb.push_back(std::move(archiviert));
    TOpenDialogRecorder offen;
    offen.Answer(c);
    ASSERT_EQ(Zeigen({[&](TForm&) {
                          EXPECT_TRUE(dlg->Sammelkorbinhalt.Enabled());
                          dlg->Button1.Click();
                          dlg->Sammelkorbinhalt.OnClick(&dlg->Sammelkorbinhalt);
                      },
                      [&](TForm& f) {
                          auto* korbDlg = dynamic_cast<TSammelkorbInhaltDlg*>(&f);
                          ASSERT_NE(korbDlg, nullptr);
                          korbDlg->Dateiliste.SelectAll();
                          korbDlg->OKBtn.Click();
                      },
                      [&](TForm&) {
                          EXPECT_TRUE(WaitUntil([&] { return !dlg->Timer.Enabled(); }, 10000));
                          if (!Dokumente().empty())
                              EXPECT_EQ(Liste(), (std::vector<std::wstring>{AsciiLower(c), AsciiLower(d)}));
                          dlg->OKBtn.Click();
                      }}),
              mrOk);
    EXPECT_EQ(Boxen(L"Ihre Auswahl enthält komprimierte Dateien.\rDiese können nicht der Dokumentenlsite"), 1);
    ASSERT_EQ(offen.Calls().size(), 1u);
    EXPECT_EQ(offen.Calls()[0].Filter, L"Alle Dateien (*.*)|*.*");
    if (Dokumente().empty()) GTEST_SKIP() << "this Wine makes no shortcut for a document added to the list";
    EXPECT_EQ(Dokumente(), (std::vector<std::wstring>{AsciiLower(c), AsciiLower(d)}));
}

TEST_F(DocListTest, SwitchedOffOkStoresZeroAndClearsTheProtectedList) {
    Link(a, L"Anna.txt.lnk");
    RegWriteUserValue(DokumentMonitorSchluessel, L"0", a);
    RegWriteUserValue(DokumentMonitorSchluessel, L"DocListActive", L"1");
    boxes.Answer(mrNo);
    ASSERT_EQ(Zeigen({[&](TForm&) {
                  EXPECT_FALSE(dlg->CheckBox1.Checked());
                  dlg->CheckBox1.SetChecked(true);
                  EXPECT_FALSE(dlg->Button2.Enabled());
                  dlg->OKBtn.Click();
              }}),
              mrOk);
    EXPECT_EQ(Wert(L"DocListActive"), L"0");
    EXPECT_EQ(Wert(L"0"), L"");
    EXPECT_FALSE(FileExists(autostart + L"Überwachung der Dokumentenliste.lnk"));
}
