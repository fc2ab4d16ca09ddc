// The orphaned-file search and the folder synchronisation driven inside their
// modal loops on temporary trees with the real shell: what the parameter dialogs
// refuse, what a run finds, copies, deletes or leaves alone, and how it stops.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <deque>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiLeichen.h"
#include "filetools/LoeschDlg.h"
#include "filetools/Synchronisieren.h"
#include "foundation/FileOperator.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

// Acts on modal forms in turn, each once it is the innermost one and ready. A
// timer looks: its messages come only when the queue is empty, so that a run's
// message pump is never kept busy by the looking.
class TFormFolge {
public:
    TFormFolge() : m_timer(nullptr) {
        m_timer.SetInterval(10);
        m_timer.OnTimer = [this](TObject*) { Tick(); };
    }
    template <class T>
    TFormFolge& Auf(std::function<void(T&)> action, std::function<bool(T&)> ready = {}) {
        m_steps.push_back([action, ready](TForm& form) -> std::function<void()> {
            auto* wanted = dynamic_cast<T*>(&form);
            if (!wanted || (ready && !ready(*wanted))) return {};
            return [action, wanted] { action(*wanted); };
        });
        return *this;
    }

private:
    void Tick() {
        if (m_steps.empty() || Application->ModalStack.empty()) return;
        auto run = m_steps.front()(*Application->ModalStack.back());
        if (!run) return;
        // Taken off first: the action may open a modal form of its own.
        m_steps.pop_front();
        run();
    }
    TTimer m_timer;
    std::deque<std::function<std::function<void()>(TForm&)>> m_steps;
};

// Closes the synchronisation's window with its button once the run has ended.
void NachDemLaufSchliessen(TFormFolge& folge) {
    folge.Auf<TSynchFortschrittDlg>([](TSynchFortschrittDlg& d) { d.CancelBtn.Click(); },
                                    [](TSynchFortschrittDlg& d) { return d.CancelBtn.Caption() == L"Schließen"; });
}

void SetTime(const std::wstring& name, long long secondsFromBase) {
    const unsigned long long stamp = 0x01D7000000000000ULL + secondsFromBase * 10000000LL;
    const FILETIME time{static_cast<DWORD>(stamp), static_cast<DWORD>(stamp >> 32)};
    const DWORD attributes = GetFileAttributesW(name.c_str());
    SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &time);
    CloseHandle(h);
    SetFileAttributesW(name.c_str(), attributes);
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> list) {
    std::sort(list.begin(), list.end());
    return list;
}

std::vector<std::wstring> TempNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do
        if (IstSyncZwischenname(data.cFileName)) names.push_back(data.cFileName);
    while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

class DateiLeichenDlgTest : public ::testing::Test {
protected:
    DateiLeichenDlgTest() {
        m_kontext.RecentFiles = &m_recent;
        m_kontext.RecentDirs = &m_recent;
        m_kontext.AddDirHistory = [this](const std::wstring& d) { m_history.push_back(d); };
        m_kontext.Routinen = &m_routinen;
        m_kontext.Suchergebnis = &m_ergebnis;
        for (int i = 0; i < 12; ++i) m_boxes.Answer(mrOk);
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& call : m_boxes.Calls()) texts.push_back(call.Text);
        return texts;
    }
    std::wstring Lower(const std::wstring& name) const { return SystemLower(name); }
    std::wstring Dir(const std::wstring& name) const {
        const std::wstring path = m_folder.Path() + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return IncludeTrailingBackslash(path);
    }
    std::wstring File(const std::wstring& name, size_t bytes) const { return m_folder.MakeFile(name, bytes); }

    TStringList m_recent;
    TDateiDialogKontext m_kontext;
    TFileOperator m_operator{nullptr};
    TDateiRoutinen m_routinen{m_operator};
    TDateiListe m_ergebnis;
    std::vector<std::wstring> m_history;
    TMessageBoxRecorder m_boxes;
    TTempFolder m_folder{L"leichen"};
};

}  // namespace

TEST_F(DateiLeichenDlgTest, TheOrphanParametersRefuseWithTheirBoxesAndHandOnLowerCasedFolders) {
    const std::wstring ordner = Dir(L"Suchen");
    TStringList masks, folders;
    TDateiLeichenSuchenDlg dlg(nullptr, m_kontext);
    dlg.SetParameter(&masks, &folders);
    std::vector<bool> focus;
    auto ok = [&](const std::wstring& text) {
        return [&, text](TForm&) {
            focus.push_back(HasFocus(dlg.Verzeichnisse));
            dlg.Verzeichnisse.SetText(text);
            dlg.OKBtn.Click();
        };
    };
    TModalScript script(10000);
    script.Step(ok(L"")).Step(ok(L"temp")).Step(ok(L"n:\\")).Step(ok(ordner)).Step([&](TForm&) {
        focus.push_back(HasFocus(dlg.Verzeichnisse));
        dlg.Endungen.SetSelected(8, true);
        dlg.OKBtn.Click();
    });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Texts(),
              (std::vector<std::wstring>{
                  L"Sie haben vergessen, das zu durchsuchende Verzeichnis anzugeben.",
                  L"Ein von Ihnen angegebener Pfadname stellt keinen absoluten Pfad dar.\rEr wurde deshalb aus der "
                  L"Liste gelöscht.\rBitte überprüfen Sie, ob alle zu durchsuchenden Verzeichnisse noch in der Liste "
                  L"stehen.",
                  L"Ein von Ihnen angegebenes Verzeichnis existiert nicht oder befindet sich auf einem nicht "
                  L"beschreibbaren Datenträger (CD-ROM). Es wurde deshalb aus der Liste gelöscht.\rBitte überprüfen "
                  L"Sie, ob alle zu durchsuchenden Verzeichnisse noch in der Liste stehen.",
                  L"Sie haben vergessen anzugeben, nach welchen Dateien gesucht werden soll."}));
    // After each box the folder box has the focus.
    ASSERT_EQ(focus.size(), 5u);
    EXPECT_TRUE(std::all_of(focus.begin() + 1, focus.end(), [](bool f) { return f; }));
    EXPECT_EQ(masks.Items(), (std::vector<std::wstring>{L"*.bak"}));
    EXPECT_EQ(folders.Items(), (std::vector<std::wstring>{Lower(ordner)}));
}

TEST_F(DateiLeichenDlgTest, AnOrphanRunListsEachLongNameMatchOnceAndSkipsABigSparseFile) {
    const std::wstring root = Dir(L"baum");
    Dir(L"baum\\sub");
    File(L"baum\\x.bak", 0);
    File(L"baum\\b.tmp", 5);
    File(L"baum\\sub\\y.bak", 4097);
    File(L"baum\\setup.bakup", 3);
    File(L"baum\\a.tmpl", 3);
    File(L"baum\\leer.txt", 0);
    {
        // 4 GiB, sparse: the low 32 bits of its size read 0.
        HANDLE h = CreateFileW((root + L"gross.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = 0x100000000LL;
        SetFilePointerEx(h, end, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        CloseHandle(h);
    }
    TStringList masks, folders;
    masks.Add(L"*.bak");
    masks.Add(L"*.tmp");
    folders.Add(Lower(root));
    folders.Add(Lower(root) + L"weg\\");  // removed before the run
    TDateileichenFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(masks, folders, true);
    TModalScript script(20000);
    TFormFolge folge;
    folge.Auf<TDateileichenAuswahlDlg>([](TDateileichenAuswahlDlg& d) { d.Suchergebnis.Click(); });
    EXPECT_EQ(run.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    std::vector<std::wstring> names;
    for (const auto& record : m_ergebnis) names.push_back(record->Name);
    const std::wstring r = Lower(root);
    EXPECT_EQ(Sorted(names), Sorted({r + L"x.bak", r + L"b.tmp", r + L"sub\\y.bak", r + L"leer.txt"}));
    EXPECT_TRUE(run.ErgebnisUebergeben());
    EXPECT_EQ(run.Gesamt(), 4102);
    const std::int64_t cluster = ClusterGroesse(root);
    EXPECT_EQ(run.Frei(), 3 * cluster + BelegterPlatz(4097, cluster));
    EXPECT_TRUE(Texts().empty());
    DeleteFileW((root + L"gross.dat").c_str());
}

TEST_F(DateiLeichenDlgTest, DeletingAtOnceShowsTheDeleteDialogAsSetAndItsCancelDeletesNothing) {
    const std::wstring root = Dir(L"loeschen");
    const std::wstring a = File(L"loeschen\\a.bak", 10), b = File(L"loeschen\\b.bak", 10);
    const std::wstring keep = File(L"loeschen\\c.txt", 10);
    TStringList masks, folders;
    masks.Add(L"*.bak");
    folders.Add(Lower(root));
    m_kontext.AuswahlDlgVorLoeschen = true;
    m_kontext.Loeschabfrage = false;
    m_kontext.LoeschGroup = 1;
    TDateileichenFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(masks, folders, false);
    std::vector<std::pair<bool, int>> shown;
    // One run ending in the delete dialog, left with OK or Cancel.
    auto loeschen = [&](bool ok) {
        TModalScript script(20000);
        TFormFolge folge;
        folge.Auf<TDateileichenAuswahlDlg>([](TDateileichenAuswahlDlg& d) { d.Loeschen.Click(); });
        folge.Auf<TLoeschDlg>([&](TLoeschDlg& d) {
            shown.push_back({d.Sicherheitsabfragen.Checked(), d.LoeschGroup.ItemIndex()});
            (ok ? d.OKBtn : d.CancelBtn).Click();
        });
        run.ShowModal();
        EXPECT_FALSE(script.Failed());
    };
    loeschen(false);
    EXPECT_TRUE(FileExists(a) && FileExists(b));
    loeschen(true);
    EXPECT_EQ(shown, (std::vector<std::pair<bool, int>>{{false, 1}, {false, 1}}));
    EXPECT_FALSE(FileExists(a) || FileExists(b));
    EXPECT_TRUE(FileExists(keep));
}

TEST_F(DateiLeichenDlgTest, TheCloseBoxStopsAnOrphanRunAndNothingIsOffered) {
    const std::wstring root = Dir(L"abbruch");
    for (int i = 0; i < 5; ++i) File(L"abbruch\\d" + std::to_wstring(i) + L".bak", 1);
    TStringList masks, folders;
    masks.Add(L"*.bak");
    folders.Add(Lower(root));
    TDateileichenFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(masks, folders, false);
    auto onward = run.SuchKomp.OnSearchDirectory;
    run.SuchKomp.OnSearchDirectory = [&](TObject* s, const std::wstring& d) {
        onward(s, d);
        PostMessageW(run.Handle(), WM_CLOSE, 0, 0);
    };
    TModalScript script(20000);
    EXPECT_EQ(run.ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(Texts().empty());
    EXPECT_FALSE(run.ErgebnisUebergeben());
}

TEST_F(DateiLeichenDlgTest, TheSyncParametersRefuseWithTheirBoxesAndFocus) {
    const std::wstring quelle = Dir(L"Quelle mit langem Namen"), ziel = Dir(L"Quelle mit langem Namen\\ziel");
    const std::wstring kurz = ShortPathName(quelle);
    ASSERT_NE(Lower(kurz), Lower(quelle));
    TSynchronisierenDlg dlg(nullptr, m_kontext);
    dlg.optUVerz.SetChecked(true);
    std::vector<std::wstring> focus;
    auto name = [&]() -> std::wstring {
        if (HasFocus(dlg.Quellverzeichnis)) return L"quelle";
        if (HasFocus(dlg.Zielverzeichnis)) return L"ziel";
        if (HasFocus(dlg.optUVerz)) return L"uverz";
        return L"?";
    };
    auto ok = [&](const std::wstring& q, const std::wstring& z) {
        return [&, q, z](TForm&) {
            if (!m_boxes.Calls().empty()) focus.push_back(name());
            dlg.Quellverzeichnis.SetText(q);
            dlg.Zielverzeichnis.SetText(z);
            dlg.OKBtn.Click();
        };
    };
    TModalScript script(10000);
    script.Step(ok(L"temp", ziel))
        .Step(ok(L"ab", ziel))
        .Step(ok(quelle, L""))
        .Step(ok(Lower(quelle), ExcludeTrailingBackslash(quelle)))
        .Step(ok(kurz, ziel))
        .Step(ok(L"c:\\gibt\\es\\nicht", m_folder.Path()))
        .Step(ok(quelle, L"c:\\gibt\\es\\nicht"))
        .Step([&](TForm&) {
            focus.push_back(name());
            dlg.optUVerz.SetChecked(false);
            dlg.Quellverzeichnis.SetText(quelle);
            dlg.Zielverzeichnis.SetText(ziel);
            dlg.OKBtn.Click();
        });
    EXPECT_EQ(dlg.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Texts(),
              (std::vector<std::wstring>{
                  L"Das von Ihnen angegebene Quellverzeichnis stellt keinen absoluten Pfad dar.\rBitte überprüfen Sie "
                  L"Ihre Eingabe.",
                  L"Sie haben noch kein Quellverzeichnis angegeben!", L"Sie haben noch kein Zielverzeichnis angegeben!",
                  L"Quell- und Zielverzeichnis sind identisch!",
                  L"Das von Ihnen angegebene Zielverzeichnis ist ein Unterverzeichnis des Quellverzeichnisses.\rDa Sie "
                  L"die Option \"Unterverzeichnisse einschließen\" gewählt haben, würde dies\rzu einer "
                  L"Endlos-Schleife bei der Synchronisation führen.",
                  L"Das von Ihnen angegebene Quellverzeichnis existiert nicht!",
                  L"Das von Ihnen angegebene Zielverzeichnis existiert nicht!"}));
    EXPECT_EQ(m_boxes.Calls().front().HelpContext, 87);
    EXPECT_EQ(focus, (std::vector<std::wstring>{L"quelle", L"quelle", L"ziel", L"ziel", L"uverz", L"quelle",
                                                L"ziel"}));
    EXPECT_EQ(m_history, (std::vector<std::wstring>{quelle, ziel}));
}

TEST_F(DateiLeichenDlgTest, ASyncRunCopiesWholeFilesLogsVerbatimAndLeavesTheRestAlone) {
    const std::wstring q = Dir(L"q"), z = Dir(L"z");
    Dir(L"q\\sub");
    Dir(L"q\\.git");
    Dir(L"z\\sub");
    const std::wstring alt = File(L"q\\sub\\alt.txt", 300), altZiel = File(L"z\\sub\\alt.txt", 100);
    SetTime(alt, 100);
    SetTime(altZiel, 90);
    const std::wstring zurueck = File(L"q\\zurueck.txt", 10), zurueckZiel = File(L"z\\zurueck.txt", 20);
    SetTime(zurueck, 100);
    SetTime(zurueckZiel, 110);
    const std::wstring gleich = File(L"q\\gleich.txt", 10), gleichZiel = File(L"z\\gleich.txt", 20);
    SetTime(gleich, 100);
    SetTime(gleichZiel, 101);
    const std::wstring ro = File(L"q\\ro.txt", 10), roZiel = File(L"z\\ro.txt", 20);
    SetTime(ro, 100);
    SetTime(roZiel, 50);
    SetFileAttributesW(roZiel.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::wstring nurZiel = File(L"z\\nurziel.txt", 7);
    File(L"q\\.punkt", 3);
    const std::wstring versteckt = File(L"q\\versteckt.txt", 4);
    SetFileAttributesW(versteckt.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    File(L"q\\.git\\config", 5);

    TSynchFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(q, z, true, true, false);
    // A second activation mid-run (back from a box) starts no second run.
    bool reaktiviert = false;
    run.VorEintrag = [&](const std::wstring&) {
        if (!std::exchange(reaktiviert, true)) SendMessageW(run.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    };
    TModalScript script(20000);
    TFormFolge folge;
    NachDemLaufSchliessen(folge);
    run.ShowModal();
    EXPECT_FALSE(script.Failed());
    const std::wstring lq = Lower(q), lz = Lower(z);
    const std::vector<std::wstring> lines = run.Zeilen();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), L"Synchronisation beendet.");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), L"Synchronisation beendet."), 1);
    EXPECT_EQ(Sorted({lines.begin(), lines.end() - 1}),
              Sorted({L"Durchsuche " + lq + L"sub\\", L"- " + q + L"sub\\alt.txt kopiert", L"Durchsuche " + lq,
                      L"- " + lq + L"zurueck.txt aktualsiert", L"Fehler beim Kopieren von " + lq + L"ro.txt",
                      L"- " + lq + L".punkt neu kopiert", L"- " + lq + L"versteckt.txt neu kopiert"}));
    EXPECT_EQ(ReadAll(altZiel).size(), 300u);
    EXPECT_EQ(ReadAll(zurueck).size(), 20u);
    EXPECT_EQ(ReadAll(gleichZiel).size(), 20u);
    EXPECT_EQ(ReadAll(roZiel).size(), 20u);
    EXPECT_EQ(ReadAll(nurZiel).size(), 7u);
    EXPECT_EQ(GetFileAttributesW((z + L"versteckt.txt").c_str()) & 7u, 7u);
    EXPECT_FALSE(DirectoryExists(z + L".git"));
    EXPECT_TRUE(TempNames(q).empty() && TempNames(z).empty() && TempNames(z + L"sub\\").empty());
    EXPECT_TRUE(Texts().empty());
    SetFileAttributesW(roZiel.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW(versteckt.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesW((z + L"versteckt.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DateiLeichenDlgTest, AFailedOverwriteOnAFullDriveKeepsTheOldTargetAndTheRunGoesOn) {
    if (GetFileAttributesW(L"s:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no small drive s: (no tmpfs mount)";
    const std::wstring q = Dir(L"voll"), z = L"s:\\syncvoll\\";
    CreateDirectoryW(z.c_str(), nullptr);
    const std::wstring gross = File(L"voll\\gross.bin", 2 * 1024 * 1024), klein = File(L"voll\\klein.bin", 100);
    const std::wstring grossZiel = z + L"gross.bin", kleinZiel = z + L"klein.bin";
    CloseHandle(CreateFileW(grossZiel.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    {
        HANDLE h = CreateFileW(grossZiel.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD written = 0;
        const std::string old(5000, 'o');
        WriteFile(h, old.data(), 5000, &written, nullptr);
        CloseHandle(h);
    }
    CloseHandle(CreateFileW(kleinZiel.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetTime(gross, 100);
    SetTime(grossZiel, 10);
    SetTime(klein, 100);
    SetTime(kleinZiel, 10);
    TSynchFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(q, z, false, false, true);
    TModalScript script(20000);
    TFormFolge folge;
    NachDemLaufSchliessen(folge);
    run.ShowModal();
    EXPECT_FALSE(script.Failed());
    const auto& lines = run.Zeilen();
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"Fehler beim Kopieren von " + Lower(gross)), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), L"- " + klein + L" kopiert"), lines.end());
    EXPECT_EQ(ReadAll(grossZiel), std::string(5000, 'o'));
    EXPECT_EQ(ReadAll(kleinZiel).size(), 100u);
    EXPECT_TRUE(TempNames(z).empty());
    RemoveTree(z);
}

TEST_F(DateiLeichenDlgTest, EscMidSyncStopsTheRunAndLeavesNoPartialFile) {
    const std::wstring q = Dir(L"esc"), z = Dir(L"escziel");
    for (int i = 0; i < 4; ++i) File(L"esc\\f" + std::to_wstring(i) + L".txt", 1000);
    TSynchFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(q, z, false, true, false);
    int eintraege = 0;
    run.VorEintrag = [&](const std::wstring&) {
        if (++eintraege == 2) PostMessageW(run.CancelBtn.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    TModalScript script(20000);
    TFormFolge folge;
    NachDemLaufSchliessen(folge);
    run.ShowModal();
    EXPECT_FALSE(script.Failed());
    ASSERT_FALSE(run.Zeilen().empty());
    EXPECT_EQ(run.Zeilen().back(), L"Synchronisation durch Benutzer abgebrochen.");
    EXPECT_LT(std::count_if(run.Zeilen().begin(), run.Zeilen().end(),
                            [](const std::wstring& l) { return EndsWith(l, L"neu kopiert"); }),
              4);
    EXPECT_TRUE(TempNames(z).empty());
}

TEST_F(DateiLeichenDlgTest, AnOrphanRunDoesNotFollowAFolderLinkAndSaysWhenItFoundNothing) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(L"VELMORA_FILETOOLS_FIXTURE", buffer, 1024);
    if (!n || n >= 1024) GTEST_SKIP() << "no fixture tree";
    std::wstring tree = L"Z:" + std::wstring(buffer) + L"/gui/tree/";
    std::replace(tree.begin(), tree.end(), L'/', L'\\');
    // Behind the link "holder\folder-link" lies "inner.txt".
    TStringList masks, folders;
    masks.Add(L"inner.*");
    folders.Add(Lower(tree));
    TDateileichenFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(masks, folders, false);
    TModalScript script(20000);
    EXPECT_EQ(run.ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Texts(), (std::vector<std::wstring>{L"Es wurden keine Dateileichen gefunden."}));
}

TEST_F(DateiLeichenDlgTest, WithoutTheDeleteDialogTheFoundFilesGoToTheRecycleBin) {
    wchar_t buffer[1024];
    const DWORD n = GetEnvironmentVariableW(L"XDG_DATA_HOME", buffer, 1024);
    if (!n || n >= 1024) GTEST_SKIP() << "XDG_DATA_HOME is not set (run through CTest)";
    std::wstring trash = L"Z:" + std::wstring(buffer) + L"/Trash/";
    std::replace(trash.begin(), trash.end(), L'/', L'\\');
    const std::wstring name = L"leiche-im-korb.bak";
    // The bin gives a taken name a suffix: forget earlier runs first.
    auto forget = [&] {
        DeleteFileW((trash + L"files\\" + name).c_str());
        DeleteFileW((trash + L"info\\" + name + L".trashinfo").c_str());
    };
    forget();
    const std::wstring root = Dir(L"korb");
    const std::wstring leiche = File(L"korb\\" + name, 23), keep = File(L"korb\\bleibt.txt", 5);
    TStringList masks, folders;
    masks.Add(L"*.bak");
    folders.Add(Lower(root));
    m_kontext.AuswahlDlgVorLoeschen = false;
    m_kontext.LoeschGroup = 0;
    TDateileichenFortschrittDlg run(nullptr, m_kontext);
    run.SetParameter(masks, folders, false);
    TModalScript script(20000);
    TFormFolge folge;
    folge.Auf<TDateileichenAuswahlDlg>([](TDateileichenAuswahlDlg& d) { d.Loeschen.Click(); });
    run.ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_FALSE(FileExists(leiche));
    EXPECT_EQ(ReadAll(trash + L"files\\" + name).size(), 23u);
    EXPECT_TRUE(FileExists(keep));
    forget();
}
