// The copy and delete dialogs driven inside their modal loops: the source box,
// the ways of adding sources, the borrowed recent-folders menu and the checks
// of closing with OK.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "FileRoutinesTestSupport.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/LoeschDlg.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::unique_ptr<TEineDatei> Record(const std::wstring& name, bool inArchive = false,
                                   const std::wstring& archive = L"") {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->InArchive = inArchive;
    record->ArchivPfad = archive;
    record->Size = 10;
    return record;
}

std::vector<std::wstring> Names(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& record : list) names.push_back(record->Name);
    return names;
}

std::vector<std::wstring> Items(const TComboBox& box) { return box.Items().Items(); }

// The dialogs with the main window's part played by the fixture: histories,
// a recent-folders menu list at home in a menu of its own, a basket.
class QuellDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_mru->AutoSave = false;
        m_mru->SetFileMenu(&m_home->Items());
        m_mru->OnMRUItemClick = [this](TObject*, const std::wstring& path) { homeClicks.push_back(path); };
        m_mru->AddItem(L"c:\\favorit\\");
        kontext.RecentFiles = &recentFiles;
        kontext.RecentDirs = &recentDirs;
        kontext.AddDirHistory = [this](const std::wstring& d) { dirHistory.push_back(d); };
        kontext.AddPathHistory = [this](const std::wstring& p) { pathHistory.push_back(p); };
        kontext.MRUList = m_mru.get();
        kontext.Sammelkorb = &korb;
        kontext.Routinen = &routinen;
        GetCurrentDirectoryW(MAX_PATH, m_savedDir);
        SetCurrentDirectoryW(m_folder.Path().c_str());
        m_base = SystemLower(m_folder.Path());
    }
    void TearDown() override {
        SetCurrentDirectoryW(m_savedDir);
        if (kopieren) kopieren->Free();
        if (loeschen) loeschen->Free();
    }
    TDateiKopierenDlg& Kopieren() {
        if (!kopieren) kopieren = Create<TDateiKopierenDlg>(Application, kontext);
        return *kopieren;
    }
    TLoeschDlg& Loeschen() {
        if (!loeschen) loeschen = Create<TLoeschDlg>(Application, kontext);
        return *loeschen;
    }
    TDateiListe Three() {
        TDateiListe list;
        list.push_back(Record(m_base + L"a.txt"));
        list.push_back(Record(m_base + L"b.txt"));
        list.push_back(Record(m_base + L"c.txt"));
        return list;
    }

    TRecordingOperator m_operator;
    TDateiRoutinen routinen{m_operator};
    std::unique_ptr<TPopupMenu, TComponentDeleter> m_home{Create<TPopupMenu>(nullptr)};
    std::unique_ptr<TMRUFileList, TComponentDeleter> m_mru{Create<TMRUFileList>(nullptr)};
    TStringList recentFiles{L"c:\\alt.txt", L"c:\\neu.txt"};
    TStringList recentDirs{L"c:\\altes", L"c:\\neues"};
    TDateiListe korb;
    TDateiDialogKontext kontext;
    std::vector<std::wstring> dirHistory, pathHistory, homeClicks;
    TMessageBoxRecorder boxes;
    TTempFolder m_folder{L"quelldlg"};
    std::wstring m_base;
    wchar_t m_savedDir[MAX_PATH] = {};
    TDateiKopierenDlg* kopieren = nullptr;
    TLoeschDlg* loeschen = nullptr;
};

TEST_F(QuellDialogTest, ThreeRecordsShowTheSelectionUntilDeleteEmptiesTheBox) {
    TDateiListe list = Three();
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script
        .Step([&](TForm&) {
            TComboBox& box = kopieren->QuellDateien;
            EXPECT_EQ(box.Style(), TComboBoxStyle::csDropDownList);
            EXPECT_EQ(Items(box), (std::vector<std::wstring>{L"Aktuelle Auswahl (3 Dateien)", L"c:\\neu.txt",
                                                             L"c:\\alt.txt"}));
            EXPECT_EQ(box.ItemIndex(), 0);
            EXPECT_EQ(box.Text(), L"Aktuelle Auswahl (3 Dateien)");
            EXPECT_TRUE(kopieren->BitBtn1.Enabled());
            EXPECT_EQ(Items(kopieren->Zielverzeichnis), (std::vector<std::wstring>{L"c:\\neues", L"c:\\altes"}));
            box.SetFocus();
            PostKey(VK_DELETE);
            EXPECT_TRUE(WaitUntil([&] { return list.empty(); }));
        })
        .Step([&](TForm&) {
            TComboBox& box = kopieren->QuellDateien;
            EXPECT_EQ(box.Style(), TComboBoxStyle::csDropDown);
            EXPECT_EQ(box.Text(), L"");
            EXPECT_EQ(Items(box), (std::vector<std::wstring>{L"c:\\neu.txt", L"c:\\alt.txt"}));
            EXPECT_FALSE(kopieren->BitBtn1.Enabled());
            EXPECT_TRUE(HasFocus(box));
            kopieren->CancelBtn.Click();
        });
    EXPECT_EQ(kopieren->ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.StepsLeft(), 0);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(QuellDialogTest, TypedTextRenamesReplacesOrEmptiesTheListOnLeavingTheBox) {
    TDateiListe list;
    list.push_back(Record(L"c:\\a.txt"));
    list[0]->Size = 77;
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) {
        TComboBox& box = kopieren->QuellDateien;
        EXPECT_EQ(box.Text(), L"c:\\a.txt");
        box.SetFocus();
        box.SetText(L"C:\\B.TXT");
        kopieren->Zielverzeichnis.SetFocus();
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0]->Name, L"c:\\b.txt");
        EXPECT_EQ(list[0]->Size, 77);
        EXPECT_EQ(box.Text(), L"c:\\b.txt");

        box.SetFocus();
        box.SetText(L"   ");
        kopieren->Zielverzeichnis.SetFocus();
        EXPECT_TRUE(list.empty());

        box.SetFocus();
        box.SetText(L"D:\\Neu.doc");
        kopieren->Zielverzeichnis.SetFocus();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"d:\\neu.doc"}));
        EXPECT_FALSE(list[0]->InArchive);
        kopieren->CancelBtn.Click();
    });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
}

TEST_F(QuellDialogTest, ChoosingARecentFileInThePickOnlyBoxMakesItTheOneSource) {
    TDateiListe list = Three();
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) {
        TComboBox& box = kopieren->QuellDateien;
        box.SetFocus();
        box.SetItemIndex(2);
        kopieren->QuellDateienChange(&box);
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(Items(box), (std::vector<std::wstring>{L"c:\\neu.txt", L"c:\\alt.txt"}));
        kopieren->Zielverzeichnis.SetFocus();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\alt.txt"}));
        EXPECT_EQ(box.Style(), TComboBoxStyle::csDropDown);
        EXPECT_EQ(box.Text(), L"c:\\alt.txt");
        kopieren->CancelBtn.Click();
    });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
}

TEST_F(QuellDialogTest, BrowsedAndChosenFilesAreAddedOnceOrReplaceTheListWithClearLists) {
    TDateiListe list;
    list.push_back(Record(L"c:\\a.txt"));
    Kopieren().SetDateiliste(&list);
    std::vector<std::wstring> starts;
    kopieren->OrdnerWaehlen = [&](const std::wstring& title, const std::wstring& start, std::wstring& folder) {
        starts.push_back(title + L"|" + start);
        folder = L"C:\\Daten\\";
        return true;
    };
    kopieren->DateienWaehlen = [&](const std::wstring& dir, TStringList& files) {
        starts.push_back(dir);
        files = {L"C:\\Daten\\X.TXT", L"c:\\a.txt"};
        return true;
    };
    kopieren->SetAktuellesVerzeichnis(L"C:\\Quelle\\");
    TModalScript script;
    script.Step([&](TForm&) {
        kopieren->BitBtn2.Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\a.txt", L"c:\\daten"}));
        kopieren->BitBtn2.Click();
        kopieren->DateiSuchenBtn2.Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\a.txt", L"c:\\daten", L"c:\\daten\\x.txt"}));
        EXPECT_EQ(kopieren->QuellDateien.Text(), L"Aktuelle Auswahl (3 Dateien)");
        kontext.ClearLists = true;
        kopieren->DateiSuchenBtn2.Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\daten\\x.txt", L"c:\\a.txt"}));
        kopieren->BitBtn2.Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\daten"}));
        EXPECT_EQ(kopieren->QuellDateien.Text(), L"c:\\daten");
        kopieren->CancelBtn.Click();
    });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(starts[0], L"Bitte wählen Sie das zu kopierende Verzeichnis:|C:\\Quelle\\");
    EXPECT_EQ(starts[2], L"C:\\Quelle\\");
    EXPECT_EQ(kopieren->Quellverzeichnis.FileName(), L"c:\\quelle\\");
}

TEST_F(QuellDialogTest, TheListEditorEditsTheSourcesAndTheBoxFollows) {
    TDateiListe list;
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt"}) list.push_back(Record(m_folder.MakeFile(name, 1)));
    const std::wstring d = m_folder.MakeFile(L"d.txt", 1);
    Kopieren().SetVorgang(TKopierVorgang::Kopieren);
    kopieren->SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) { kopieren->BitBtn1.Click(); })
        .Step([&](TForm& form) {
            auto& editor = dynamic_cast<TDateienBearbeitenDlg&>(form);
            EXPECT_EQ(editor.Caption(), L"Zu kopierende Datei(en)");
            EXPECT_EQ(editor.ListLabel.Caption(), L"Folgende Dateien sind für den Kopiervorgang ausgewählt:");
            EXPECT_EQ(editor.StatusLabel.Caption(), L" Dateien insgesamt: 3");
            TStringList lines = editor.Dateiliste.Lines();
            lines.Delete(1);
            lines.Add(d);
            editor.Dateiliste.SetLines(lines);
            editor.OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_EQ(kopieren->QuellDateien.Text(), L"Aktuelle Auswahl (3 Dateien)");
            kopieren->CancelBtn.Click();
        });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{m_folder.Path() + L"a.txt", m_folder.Path() + L"c.txt",
                                                      SystemLower(d)}));
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(QuellDialogTest, TheBasketAddsItsPlainFilesAndTellsOnceAboutArchivedOnes) {
    korb.push_back(Record(L"C:\\Korb\\Eins.txt"));
    korb.push_back(Record(L"\\innen\\a.txt", true, L"c:\\arc.zip"));
    korb.push_back(Record(L"C:\\Korb\\Zwei.txt"));
    korb.push_back(Record(L"\\innen\\b.txt", true, L"c:\\arc.zip"));
    TDateiListe list;
    list.push_back(Record(L"c:\\korb\\eins.txt"));
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script
        .Step([&](TForm&) {
            EXPECT_TRUE(kopieren->SammelkorbBtn.Enabled());
            kopieren->SammelkorbBtn.Click();
        })
        .Step([&](TForm& form) {
            auto& chooser = dynamic_cast<TSammelkorbInhaltDlg&>(form);
            chooser.Dateiliste.SelectAll();
            chooser.OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\korb\\eins.txt", L"c:\\korb\\zwei.txt"}));
            kopieren->CancelBtn.Click();
        });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Ihre Auswahl enthält komprimierte Dateien.\rDiese werden beim Kopiervorgang ignoriert.");
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(boxes.Calls()[0].HelpContext, 70);
}

TEST_F(QuellDialogTest, TheDeleteDialogSaysItIgnoresArchivedBasketEntriesWhenDeleting) {
    korb.push_back(Record(L"\\innen\\a.txt", true, L"c:\\arc.zip"));
    TDateiListe list;
    kontext.ClearLists = true;
    list.push_back(Record(L"c:\\weg.txt"));
    Loeschen().SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) { loeschen->SammelkorbBtn.Click(); })
        .Step([&](TForm& form) {
            auto& chooser = dynamic_cast<TSammelkorbInhaltDlg&>(form);
            chooser.Dateiliste.SelectAll();
            chooser.OKBtn.Click();
        })
        .Step([&](TForm&) { loeschen->CancelBtn.Click(); });
    loeschen->ShowModal();
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Ihre Auswahl enthält komprimierte Dateien.\rDiese werden beim Löschvorgang ignoriert.");
    EXPECT_EQ(boxes.Calls()[0].HelpContext, 70);
    // Emptied before adding, and nothing plain was chosen.
    EXPECT_TRUE(list.empty());
}

TEST_F(QuellDialogTest, TheBorrowedRecentFoldersFeedTheFocusedBoxAndGoHomeAtClose) {
    TDateiListe list;
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) {
        EXPECT_FALSE(kopieren->SammelkorbBtn.Enabled());
        TMenuItem& popup = kopieren->MyPopup.Items();
        ASSERT_EQ(popup.Count(), 1);
        EXPECT_EQ(m_home->Items().Count(), 0);
        kopieren->QuellDateien.SetFocus();
        popup.Items(0)->Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\favorit"}));
        m_mru->AddItem(L"c:\\Ziel\\Ordner");
        kopieren->Zielverzeichnis.SetFocus();
        popup.Items(0)->Click();
        EXPECT_EQ(kopieren->Zielverzeichnis.Text(), L"c:\\ziel\\ordner");
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\favorit"}));
        // With the option set, the chosen folder replaces the sources.
        kontext.ClearLists = true;
        m_mru->AddItem(L"c:\\zweiter\\");
        kopieren->QuellDateien.SetFocus();
        popup.Items(0)->Click();
        EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\zweiter"}));
        kopieren->CancelBtn.Click();
    });
    kopieren->ShowModal();
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(homeClicks.empty());
    EXPECT_EQ(m_mru->FileMenu(), &m_home->Items());
    EXPECT_EQ(kopieren->MyPopup.Items().Count(), 0);
    m_mru->AddItem(L"c:\\wieder");
    ASSERT_GE(m_home->Items().Count(), 1);
    m_home->Items().Items(m_home->Items().Count() - 1)->Click();
    EXPECT_EQ(homeClicks.size(), 1u);
}

TEST_F(QuellDialogTest, CopyOkRefusesAnEmptyTargetThenAnEmptySourceEachWithItsFocus) {
    TDateiListe list;
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script
        .Step([&](TForm&) {
            kopieren->Zielverzeichnis.SetText(L"  ");
            kopieren->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(HasFocus(kopieren->Zielverzeichnis));
            kopieren->Zielverzeichnis.SetText(L"ziel");
            kopieren->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_EQ(SystemLower(kopieren->Zielverzeichnis.Text()), m_base + L"ziel");
            EXPECT_TRUE(HasFocus(kopieren->QuellDateien));
            // Cancel closes without checking.
            kopieren->CancelBtn.Click();
        });
    EXPECT_EQ(kopieren->ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Sie haben noch kein Zielverzeichnis angegeben!");
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes.Calls()[1].Text, L"Sie haben noch keine Datei(en) für die Dateioperation angegeben!");
    EXPECT_TRUE(dirHistory.empty());
}

TEST_F(QuellDialogTest, OneFileToANewNameInAnExistingFolderAsksNothing) {
    TDateiListe list;
    list.push_back(Record(m_folder.MakeFile(L"quelle.txt", 3)));
    Kopieren().SetDateiliste(&list);
    TModalScript script;
    script.Step([&](TForm&) {
        kopieren->Zielverzeichnis.SetText(L"x.txt");
        kopieren->OKBtn.Click();
    });
    EXPECT_EQ(kopieren->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(boxes.Calls().empty());
    ASSERT_EQ(dirHistory.size(), 1u);
    EXPECT_EQ(SystemLower(dirHistory[0]), m_base + L"x.txt");
    EXPECT_EQ(pathHistory, (std::vector<std::wstring>{SystemLower(m_folder.Path() + L"quelle.txt")}));
}

TEST_F(QuellDialogTest, AMissingFolderOfANewFileNameIsOfferedNoKeepsItOpenYesCreatesIt) {
    TDateiListe list;
    list.push_back(Record(m_folder.MakeFile(L"quelle.txt", 3)));
    Kopieren().SetDateiliste(&list);
    const std::wstring target = m_base + L"neu\\x.txt";
    boxes.Answer(mrNo);
    boxes.Answer(mrYes);
    TModalScript script;
    script
        .Step([&](TForm&) {
            kopieren->Zielverzeichnis.SetText(target);
            kopieren->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(HasFocus(kopieren->Zielverzeichnis));
            EXPECT_FALSE(DirectoryExists(m_base + L"neu"));
            kopieren->OKBtn.Click();
        });
    EXPECT_EQ(kopieren->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    const std::wstring question = L"Das von Ihnen angegebene Zielverzeichnis \r\"" + m_base +
                                  L"neu\"\rexistiert nicht! Möchten Sie, daß es erstellt wird?";
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text, question);
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(boxes.Calls()[1].Text, question);
    EXPECT_TRUE(DirectoryExists(m_base + L"neu"));
    EXPECT_FALSE(DirectoryExists(target));
}

TEST_F(QuellDialogTest, AFolderThatCannotBeCreatedShowsWhyAndKeepsTheDialogOpen) {
    TDateiListe list = Three();
    m_folder.MakeFile(L"datei.txt", 1);
    Kopieren().SetDateiliste(&list);
    boxes.Answer(mrYes);
    TModalScript script;
    script
        .Step([&](TForm&) {
            kopieren->Zielverzeichnis.SetText(m_base + L"datei.txt\\neu");
            kopieren->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(HasFocus(kopieren->Zielverzeichnis));
            kopieren->CancelBtn.Click();
        });
    EXPECT_EQ(kopieren->ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Das von Ihnen angegebene Zielverzeichnis \r\"" + m_base +
                                         L"datei.txt\\neu\"\rexistiert nicht! Möchten Sie, daß es erstellt wird?");
    EXPECT_EQ(boxes.Calls()[1].Text,
              L"Fehler beim Erstellen des gewünschten Verzeichnisses!\rDer angegebene Verzeichnisname ist nicht "
              L"zulässig oder existiert bereits.");
    EXPECT_TRUE(dirHistory.empty());
}

TEST_F(QuellDialogTest, SeveralFilesNeedTheTargetItselfAsAFolder) {
    TDateiListe list = Three();
    Kopieren().SetDateiliste(&list);
    boxes.Answer(mrYes);
    TModalScript script;
    script.Step([&](TForm&) {
        kopieren->Zielverzeichnis.SetText(m_base + L"ordner.neu");
        kopieren->OKBtn.Click();
    });
    EXPECT_EQ(kopieren->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_TRUE(DirectoryExists(m_base + L"ordner.neu"));
    EXPECT_EQ(dirHistory, (std::vector<std::wstring>{m_base + L"ordner.neu"}));
    EXPECT_TRUE(pathHistory.empty());
}

TEST_F(QuellDialogTest, DeleteOkRefusesAnEmptyListAndMakesEveryNameAbsolute) {
    TDateiListe list;
    Loeschen().SetDateiliste(&list);
    TModalScript script;
    script
        .Step([&](TForm&) { loeschen->OKBtn.Click(); })
        .Step([&](TForm&) {
            EXPECT_TRUE(HasFocus(loeschen->ZLDateien));
            loeschen->ZLDateien.SetText(L"Weg.TXT");
            loeschen->OKBtn.Click();
        });
    EXPECT_EQ(loeschen->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Sie haben noch keine Datei(en) für die Löschoperation angegeben!");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(SystemLower(list[0]->Name), m_base + L"weg.txt");
    EXPECT_EQ(pathHistory, (std::vector<std::wstring>{L"weg.txt"}));
    EXPECT_TRUE(loeschen->Sicherheitsabfragen.Checked());
    EXPECT_EQ(loeschen->LoeschGroup.Items()[2], L"... löschen und vorher mit &Nullbytes überschreiben");
    EXPECT_EQ(loeschen->HelpContext, 14);
}

TEST_F(QuellDialogTest, TheThreeCommandsGiveTheirTextsAndHelpContexts) {
    Kopieren().SetVorgang(TKopierVorgang::Verschieben);
    EXPECT_EQ(kopieren->Caption(), L"Verschiebevorgang bestätigen");
    EXPECT_EQ(kopieren->Label3.Caption(), L"&Verschieben");
    EXPECT_EQ(kopieren->ListLabelText, L"Folgende Dateien sind für den Verschiebevorgang ausgewählt:");
    EXPECT_EQ(kopieren->ListEditor()->Caption(), L"Zu verschiebende Datei(en)");
    EXPECT_EQ(kopieren->HelpContext, 13);
    EXPECT_EQ(kopieren->Zielverzeichnis.HelpContext, 13);
    kopieren->SetVorgang(TKopierVorgang::Verknuepfen);
    EXPECT_EQ(kopieren->ZielPrompt, L"Bitte wählen Sie das Verzeichnis, in dem die Verknüpfung(en) erstellt werden sollen:");
    EXPECT_EQ(kopieren->QuellPrompt, L"Bitte wählen Sie das zu verknüpfende Verzeichnis:");
    EXPECT_EQ(kopieren->HelpContext, 4);
}

}  // namespace
