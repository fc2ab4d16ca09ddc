// The file search dialogs inside their modal loops: the checks of "&Suchen",
// and the progress dialog's run over a temporary tree with stand-ins for the
// archive routines.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiSuchenDlg.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

void Put(const std::wstring& path, const std::string& bytes) { ASSERT_TRUE(WriteFileBytes(path, bytes)); }

std::vector<std::wstring> Sorted(std::vector<std::wstring> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::wstring> Captions(const TListView& list) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < list.Count(); ++i) captions.push_back(list.Items(i)->Caption());
    std::sort(captions.begin(), captions.end());
    return captions;
}

class DateiSuchenTest : public ::testing::Test {
protected:
    void SetUp() override {
        kontext.RecentDirs = &recentDirs;
        kontext.AddDirHistory = [this](const std::wstring& d) { dirHistory.push_back(d); };
        kontext.Suchergebnis = &ergebnis;
        kontext.ArchivTyp = [](const std::wstring& archive, std::uint8_t& kind) {
            kind = 5;
            return SystemLower(archive).ends_with(L".zip");
        };
        kontext.ArchivLesen = [this](std::uint8_t, const std::wstring& archive, TDateiListe& entries) {
            listed.push_back(SystemLower(archive));
            for (const wchar_t* name : {L"\\Innen.TXT", L"ordner\\innen.doc"}) {
                auto entry = std::make_unique<TEineDatei>();
                entry->Name = name;
                entries.push_back(std::move(entry));
            }
            return true;
        };
        kontext.SucheLiestArchive = [this](bool on) { archivePass.push_back(on); };
        suchen = Create<TDateiSuchenDlg>(Application, kontext);
        fortschritt = Create<TSuchFortschritt>(Application, kontext, *suchen);
        suchen->OrdnerWaehlen = [this](const std::wstring&, std::wstring& folder) {
            folder = nextFolder;
            return true;
        };
    }
    void TearDown() override {
        fortschritt->Free();
        suchen->Free();
    }
    std::wstring Folder(const std::wstring& name) {
        const std::wstring path = m_folder.Path() + name;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    // The search dialog closed with OK over Folders, run through the given steps first.
    void Choose(const std::vector<std::wstring>& folders, std::function<void()> more = {}) {
        TModalScript script;
        script.Step([&](TForm&) {
            for (const auto& folder : folders) {
                nextFolder = folder;
                suchen->OrdnerSuchenBtn.Click();
            }
            if (more) more();
            suchen->OKBtn.Click();
        });
        ASSERT_EQ(suchen->ShowModal(), mrOk);
        ASSERT_FALSE(script.Failed());
    }
    // Shows the progress dialog; Mid runs once, at the first hit, while the
    // search is under way. Without it the dialog is closed once it says
    // "Schließen".
    TModalResult Run(std::function<void()> mid = {}) {
        const auto found = fortschritt->SuchKomp.OnFound;
        bool acted = false;
        fortschritt->SuchKomp.OnFound = [&, found](TObject* s, const std::wstring& f, std::int64_t p) {
            found(s, f, p);
            if (mid && !acted) {
                acted = true;
                mid();
            }
        };
        TTimer closer(nullptr);
        closer.SetInterval(20);
        closer.OnTimer = [&](TObject*) {
            if (!mid && fortschritt->CancelBtn.Caption() == L"Schließen") {
                closer.SetEnabled(false);
                fortschritt->CancelBtn.Click();
            }
        };
        TModalScript watchdog(20000);
        const TModalResult result = fortschritt->ShowModal();
        fortschritt->SuchKomp.OnFound = found;
        EXPECT_FALSE(watchdog.Failed());
        return result;
    }

    TStringList recentDirs{L"c:\\altes"};
    std::vector<std::wstring> dirHistory, listed;
    std::vector<bool> archivePass;
    TDateiListe ergebnis;
    TDateiDialogKontext kontext;
    TMessageBoxRecorder boxes;
    TTempFolder m_folder{L"dsuchen"};
    std::wstring nextFolder;
    TDateiSuchenDlg* suchen = nullptr;
    TSuchFortschritt* fortschritt = nullptr;
};

TEST_F(DateiSuchenTest, EachCheckOfSearchShowsItsBoxAndKeepsTheDialogOpen) {
    const std::wstring da = Folder(L"Da");
    TModalScript script;
    script
        .Step([&](TForm&) {
            EXPECT_EQ(suchen->Seiten.ActivePageIndex(), 0);
            EXPECT_EQ(suchen->DateiFilter.Text(), L"*.*");
            suchen->DateiFilter.SetText(L"c:\\*.txt");
            suchen->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(suchen->Visible());
            suchen->DateiFilter.SetText(L"*.txt");
            suchen->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(suchen->Visible());
            for (const std::wstring& folder : {m_folder.Path() + L"fehlt", da}) {
                nextFolder = folder;
                suchen->OrdnerSuchenBtn.Click();
            }
            suchen->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(suchen->Visible());
            EXPECT_EQ(suchen->GetVerzeichnisse(), (std::vector<std::wstring>{SystemLower(da)}));
            suchen->Aelteste.SetText(L"31.02.1997");
            suchen->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(suchen->Visible());
            EXPECT_EQ(suchen->Seiten.ActivePageIndex(), 1);
            suchen->Aelteste.SetText(L"31.12.1997");
            suchen->OKBtn.Click();
        });
    EXPECT_EQ(suchen->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    std::vector<std::wstring> texts;
    for (const auto& call : boxes.Calls()) texts.push_back(call.Text);
    EXPECT_EQ(texts,
              (std::vector<std::wstring>{
                  L"Das Dateifilter-Feld enthält eine unerlaubte Eingabe.\rBitte geben Sie einen Filter wie *.*, "
                  L"*.pas, ... ein.",
                  L"Sie haben vergessen, das zu durchsuchende Verzeichnis anzugeben.",
                  L"Ein von Ihnen angegebenes Verzeichnis existiert nicht. Es wurde deshalb aus der Liste "
                  L"gelöscht.\rBitte überprüfen Sie, ob alle zu durchsuchenden Verzeichnisse noch in der Liste "
                  L"stehen.",
                  L"31.02.1997 ist kein gültiges Datum!"}));
    EXPECT_EQ(dirHistory, (std::vector<std::wstring>{SystemLower(da)}));
}

TEST_F(DateiSuchenTest, TwoFoldersWithArchivesEachSearchTheUsersMaskAndArchiveEntriesByName) {
    const std::wstring a = Folder(L"a"), b = Folder(L"b");
    for (const std::wstring& f : {a, b}) {
        Put(f + L"\\treffer.txt", "hier steht Wort");
        Put(f + L"\\leer.txt", "nichts");
        Put(f + L"\\pack.zip", "kein Wort");
    }
    // The second folder lies inside the first: its files are listed once.
    const std::wstring inner = Folder(L"a\\innen");
    Put(inner + L"\\treffer.txt", "Wort");
    Choose({a, b, inner}, [&] {
        suchen->DateiFilter.SetText(L"*.txt");
        suchen->InclArchive.SetChecked(true);
        suchen->TextSuchen.SetChecked(true);
        suchen->Text.SetText(L"wort");
    });
    Run();
    const std::wstring la = SystemLower(a), lb = SystemLower(b), li = SystemLower(inner);
    EXPECT_EQ(Captions(fortschritt->Dateiliste),
              Sorted({la + L"\\innen\\treffer.txt", la + L"\\treffer.txt", L"innen.txt in " + la + L"\\pack.zip",
                      lb + L"\\treffer.txt", L"innen.txt in " + lb + L"\\pack.zip"}));
    EXPECT_EQ(ergebnis.size(), 5u);
    EXPECT_EQ(listed, (std::vector<std::wstring>{la + L"\\pack.zip", lb + L"\\pack.zip"}));
    EXPECT_EQ(archivePass, (std::vector<bool>{true, false, true, false, true, false}));
    EXPECT_TRUE(fortschritt->LinkesFenster.Visible());
    EXPECT_EQ(fortschritt->Label1.Caption(), L"Gefundene Dateien:");
}

TEST_F(DateiSuchenTest, AFolderGoneSinceOKIsSkippedAndTheSearchEnds) {
    const std::wstring gone = Folder(L"weg"), kept = Folder(L"da");
    Put(kept + L"\\x.txt", "x");
    Choose({gone, kept});
    RemoveDirectoryW(gone.c_str());
    Run();
    EXPECT_EQ(Captions(fortschritt->Dateiliste), (std::vector<std::wstring>{SystemLower(kept) + L"\\x.txt"}));
    EXPECT_EQ(fortschritt->CancelBtn.Caption(), L"Schließen");
}

TEST_F(DateiSuchenTest, CancelEscapeAndTheCloseBoxStopTheSearchAtOnce) {
    const std::wstring tree = Folder(L"viele");
    for (int i = 0; i < 40; ++i) Put(tree + L"\\f" + std::to_wstring(i) + L".txt", "x");
    Choose({tree});
    const std::vector<std::function<void()>> ways{
        [&] { MouseClick(ScreenPoint(fortschritt->CancelBtn, 5, 5)); },
        [&] {
            fortschritt->Dateiliste.SetFocus();
            PressKey(VK_ESCAPE);
        },
        [&] {
            PostMessageW(fortschritt->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
            Application->ProcessMessages();
        }};
    for (size_t i = 0; i < ways.size(); ++i) {
        ergebnis.clear();
        EXPECT_EQ(Run(ways[i]), mrCancel) << i;
        EXPECT_EQ(ergebnis.size(), 1u) << i;
        EXPECT_FALSE(fortschritt->Visible()) << i;
    }
}

}  // namespace
