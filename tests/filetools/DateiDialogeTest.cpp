// The list editor, the basket chooser, the attributes dialog, the new-folder,
// rename and DOS command dialogs, and the positions all of them keep.

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "FileRoutinesTestSupport.h"
#include "filetools/AttributDialog.h"
#include "filetools/DOSZeilenDialog.h"
#include "filetools/DateiKopierenDlg.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/DateiUmbenennenDlg.h"
#include "filetools/DateienBearbeitenDlg.h"
#include "filetools/LoeschDlg.h"
#include "filetools/SammelkorbInhaltDlg.h"
#include "filetools/VerzeichnisErstellenDlg.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

std::unique_ptr<TEineDatei> Record(const std::wstring& name, std::int64_t size = 0, std::int32_t attr = 0) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->Size = size;
    record->Attr = attr;
    return record;
}

std::vector<std::wstring> Names(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& record : list) names.push_back(record->Name);
    return names;
}

template <class T>
using Owned = std::unique_ptr<T, TComponentDeleter>;

TDateTime Stamp(int year, int month, int day, int hour, int minute) {
    return *TryEncodeDateTime(DateParts{year, month, day, hour, minute, 0, 0});
}

// The local modification time of a file, to the two seconds a DOS time keeps.
TDateTime ReadFileDate(const std::wstring& name) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data);
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return DosDateTimeToDateTime((static_cast<std::uint32_t>(date) << 16) | time).value_or(0);
}

class DateiDialogeTest : public ::testing::Test {
protected:
    TMessageBoxRecorder boxes;
    TTempFolder m_folder{L"dateidlg"};
};

TEST_F(DateiDialogeTest, TheListEditorStopsAtAMissingNameAndSelectsIt) {
    const std::wstring vorhanden = m_folder.MakeFile(L"da.txt", 1);
    Owned<TDateienBearbeitenDlg> dlg{Create<TDateienBearbeitenDlg>(Application)};
    dlg->NamenMuessenExistieren = true;
    const std::wstring missing = m_folder.Path() + L"fehlt.txt";
    dlg->Dateiliste.SetLines({L"", vorhanden, L"   ", missing, L"", m_folder.Path() + L"*.txt"});
    TModalScript script;
    script
        .Step([&](TForm&) {
            EXPECT_EQ(dlg->StatusLabel.Caption(), L" Dateien insgesamt: 6");
            dlg->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_EQ(dlg->Dateiliste.Lines().Items(),
                      (std::vector<std::wstring>{vorhanden, missing, L"", m_folder.Path() + L"*.txt"}));
            EXPECT_EQ(dlg->Dateiliste.SelStart(), static_cast<int>(vorhanden.size()) + 2);
            EXPECT_EQ(dlg->Dateiliste.SelLength(), static_cast<int>(missing.size()));
            EXPECT_EQ(dlg->StatusLabel.Caption(), L" Dateien insgesamt: 4");
            dlg->Dateiliste.SetLines({vorhanden, m_folder.Path(), L"", m_folder.Path() + L"f?hlt.*"});
            dlg->OKBtn.Click();
        });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Sie haben eine Datei eingegeben, die nicht existiert!\rBitte überprüfen Sie Ihre Eingabe.");
    EXPECT_EQ(dlg->Dateiliste.Lines().Items(),
              (std::vector<std::wstring>{vorhanden, m_folder.Path(), m_folder.Path() + L"f?hlt.*"}));
}

TEST_F(DateiDialogeTest, MergingKeepsListedRecordsDropsOthersAndLooksNewNamesUp) {
    const std::wstring neu = m_folder.MakeFile(L"Neu.TXT", 1536);
    Owned<TDateienBearbeitenDlg> dlg{Create<TDateienBearbeitenDlg>(Application)};
    TDateiListe list;
    list.push_back(Record(L"c:\\a.txt", 5));
    list.push_back(Record(L"c:\\b.txt", 6));
    list.push_back(Record(L"c:\\c.txt", 7));
    dlg->SetListe(L"Kopf", list);
    EXPECT_EQ(dlg->ListLabel.Caption(), L"Kopf");
    EXPECT_EQ(dlg->Dateiliste.Lines().Items(), Names(list));
    dlg->Dateiliste.SetLines({L"C:\\A.TXT", L"c:\\c.txt", neu, neu, L"c:\\x*.txt"});
    dlg->DateilisteAbgleichen(list, false);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"c:\\a.txt", L"c:\\c.txt", SystemLower(neu), L"c:\\x*.txt"}));
    EXPECT_EQ(list[0]->Size, 5);
    EXPECT_EQ(list[2]->Size, 1536);
    EXPECT_EQ(list[2]->Attr & FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_GT(list[2]->Time, 40000.0);
    EXPECT_EQ(list[3]->Size, 0);
    EXPECT_FALSE(list[3]->InArchive);
}

TEST_F(DateiDialogeTest, TheBasketChooserListsSizesInKilobytesAndArchivedEntriesWithTheirArchive) {
    TDateiListe korb;
    korb.push_back(Record(L"C:\\Eins.txt", 1));
    korb.push_back(Record(L"C:\\Mitte.txt", 1536));
    korb.push_back(Record(L"C:\\Gerade.txt", 2560));
    korb.push_back(Record(L"C:\\Leer.txt", 0));
    korb.push_back(Record(L"\\Innen\\A.TXT", 100));
    korb.back()->InArchive = true;
    korb.back()->ArchivPfad = L"C:\\Arc.ZIP";
    korb[0]->Time = Stamp(2026, 1, 9, 14, 5);
    TDateiDialogKontext kontext;
    kontext.Sammelkorb = &korb;
    Owned<TSammelkorbInhaltDlg> dlg{Create<TSammelkorbInhaltDlg>(Application, kontext)};
    TDateiListe chosen;
    TModalScript script;
    script.Step([&](TForm&) {
        TEnhListView& view = dlg->Dateiliste;
        ASSERT_EQ(view.Count(), 5);
        std::vector<std::wstring> rows;
        for (int i = 0; i < view.Count(); ++i)
            rows.push_back(view.Items(i)->Caption() + L"|" + view.Items(i)->SubItems()[0]);
        EXPECT_EQ(rows, (std::vector<std::wstring>{L"c:\\eins.txt|1 KB", L"c:\\mitte.txt|2 KB",
                                                   L"c:\\gerade.txt|2 KB", L"c:\\leer.txt|0 KB",
                                                   L"innen\\a.txt in c:\\arc.zip|1 KB"}));
        EXPECT_EQ(view.Items(0)->SubItems()[1], L"9.1.2026 14:05:00");
        EXPECT_EQ(view.Column(0).Caption, L"Pfad & Name");
        EXPECT_EQ(view.Column(1).Width, 60);
        EXPECT_EQ(view.Column(2).Caption, L"Datum");
        EXPECT_EQ(dlg->StatusLabel.Caption(), L" 0 Datei(en) ausgewählt.");
        view.Items(1)->SetSelected(true);
        view.Items(4)->SetSelected(true);
        EXPECT_EQ(dlg->StatusLabel.Caption(), L" 2 Datei(en) ausgewählt.");
        dlg->DateiListeDblClick(&view);
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    dlg->AuswahlHolen(chosen);
    EXPECT_EQ(Names(chosen), (std::vector<std::wstring>{L"C:\\Mitte.txt", L"\\Innen\\A.TXT"}));
    EXPECT_TRUE(chosen[1]->InArchive);
    EXPECT_NE(chosen[0].get(), korb[1].get());
    EXPECT_EQ(dlg->Caption(), L"Inhalt des Sammelkorbes");
}

class AttributDialogTest : public DateiDialogeTest {
protected:
    void TearDown() override {
        for (const auto& record : list) SetFileAttributesW(record->Name.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::wstring File(const std::wstring& name, DWORD attributes) {
        const std::wstring path = m_folder.MakeFile(name, 3);
        SetFileAttributesW(path.c_str(), attributes);
        list.push_back(Record(path, 3, static_cast<std::int32_t>(GetFileAttributesW(path.c_str()))));
        return path;
    }

    TRecordingOperator m_operator;
    TDateiRoutinen routinen{m_operator};
    TDateiListe list;
    Owned<TAttributDialog> dlg{Create<TAttributDialog>(Application)};
};

TEST_F(AttributDialogTest, AHiddenFileAmongThreeGraysHiddenAndLeftGreyEachKeepsItsBit) {
    const std::wstring a = File(L"a.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN);
    const std::wstring b = File(L"b.txt", FILE_ATTRIBUTE_ARCHIVE);
    const std::wstring c = File(L"c.txt", FILE_ATTRIBUTE_ARCHIVE);
    dlg->SetDateien(list, Stamp(2026, 3, 4, 5, 6));
    EXPECT_EQ(dlg->Hidden.State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(dlg->Archive.State(), TCheckBoxState::cbChecked);
    EXPECT_EQ(dlg->ReadOnly.State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(dlg->SysFile.State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(dlg->Datum.Text(), L" 4. 3.2026");
    EXPECT_EQ(dlg->Zeit.Text(), L"05:06:00");
    EXPECT_FALSE(dlg->DatumAendern.Checked());
    EXPECT_FALSE(dlg->ZeitAendern.Checked());
    TModalScript script;
    script.Step([&](TForm&) {
        dlg->ReadOnly.SetState(TCheckBoxState::cbChecked);
        dlg->OKBtn.Click();
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    dlg->Anwenden(list, routinen);
    EXPECT_EQ(GetFileAttributesW(a.c_str()),
              DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(b.c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesW(c.c_str()), DWORD(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(AttributDialogTest, ABadDateIsReportedBeforeABadTimeAndEachKeepsTheDialogOpen) {
    File(L"a.txt", FILE_ATTRIBUTE_ARCHIVE);
    dlg->SetDateien(list, 0);
    TModalScript script;
    script
        .Step([&](TForm&) {
            dlg->Datum.SetText(L"31.2.2026");
            dlg->Zeit.SetText(L"25:00:00");
            EXPECT_TRUE(dlg->DatumAendern.Checked());
            EXPECT_TRUE(dlg->ZeitAendern.Checked());
            dlg->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(dlg->Datum.Focused());
            dlg->Datum.SetText(L"28.2.2026");
            dlg->OKBtn.Click();
        })
        .Step([&](TForm&) {
            EXPECT_TRUE(dlg->Zeit.Focused());
            dlg->Zeit.SetText(L"23:59:59");
            dlg->OKBtn.Click();
        });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"31. 2.2026 ist kein gültiges Datum!");
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes.Calls()[1].Text, L"25:00:00 ist keine gültige Zeitangabe!");
    dlg->Anwenden(list, routinen);
    const auto date = ReadFileDate(list[0]->Name);
    EXPECT_EQ(LocaleDateTimeText(date), L"28.2.2026 23:59:58");
}

TEST_F(AttributDialogTest, TheUntouchedPresetOfOneFilePassesAndChangesNothing) {
    File(L"a.txt", FILE_ATTRIBUTE_ARCHIVE);
    list[0]->Time = Stamp(2026, 1, 9, 14, 5);
    dlg->SetDateien(list, 0);
    EXPECT_EQ(dlg->Datum.Text(), L" 9. 1.2026");
    EXPECT_EQ(dlg->Zeit.Text(), L"14:05:00");
    TModalScript script;
    script.Step([&](TForm&) { dlg->OKBtn.Click(); });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(MaskenDatum(dlg->Datum.Text()), Stamp(2026, 1, 9, 0, 0));
    EXPECT_FALSE(dlg->DatumAendern.Checked());
    EXPECT_EQ(dlg->HelpContext, 17);
    EXPECT_EQ(dlg->Caption(), L"Dateieigenschaften verändern");
}

TEST_F(DateiDialogeTest, TheNewFolderDialogTakesABrowsedOrRecentFolderAndGivesTheMenuBack) {
    Owned<TPopupMenu> home{Create<TPopupMenu>(nullptr)};
    Owned<TMRUFileList> mru{Create<TMRUFileList>(nullptr)};
    mru->AutoSave = false;
    mru->SetFileMenu(&home->Items());
    mru->AddItem(L"c:\\favorit");
    TDateiDialogKontext kontext;
    kontext.MRUList = mru.get();
    Owned<TVerzeichnisErstellenDlg> dlg{Create<TVerzeichnisErstellenDlg>(Application, kontext)};
    dlg->SetPfad(L"c:\\basis\\");
    std::wstring browsedFrom;
    dlg->OrdnerWaehlen = [&](const std::wstring&, const std::wstring& start, std::wstring& folder) {
        browsedFrom = start;
        folder = L"D:\\Gewählt\\";
        return true;
    };
    TModalScript script;
    script.Step([&](TForm&) {
        EXPECT_EQ(home->Items().Count(), 0);
        dlg->OrdnerSuchenBtn.Click();
        EXPECT_EQ(dlg->Pfad(), L"d:\\gewählt\\");
        ASSERT_EQ(dlg->MyPopup.Items().Count(), 1);
        dlg->MyPopup.Items().Items(0)->Click();
        EXPECT_EQ(dlg->Pfad(), L"c:\\favorit");
        dlg->Edit1.SetText(L"Neu");
        dlg->OKBtn.Click();
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(browsedFrom, L"c:\\basis\\");
    EXPECT_EQ(mru->FileMenu(), &home->Items());
    EXPECT_EQ(dlg->MyPopup.Items().Count(), 0);
    EXPECT_EQ(dlg->Caption(), L"Ordner erstellen");
    EXPECT_EQ(dlg->HelpContext, 2);
}

TEST_F(DateiDialogeTest, RenameShowsTheOldNameAndOffersItsFilePart) {
    Owned<TDateiUmbenennenDlg> dlg{Create<TDateiUmbenennenDlg>(Application)};
    dlg->SetDateiName(L"C:\\Daten\\Brief.DOC");
    EXPECT_EQ(dlg->DateiNameLabel.FileName(), L"c:\\daten\\brief.doc");
    EXPECT_EQ(dlg->NeuerDateiName.Text(), L"brief.doc");
    EXPECT_EQ(dlg->Caption(), L"Datei umbenennen");
    EXPECT_EQ(dlg->HelpContext, 15);
}

TEST_F(DateiDialogeTest, TheDosLineTakesItsCaptionsFromTheCallerAndHelpShowsItsContext) {
    THelpRecorder help;
    Application->HelpFile = L"Velmora.hlp";
    Owned<TDOSZeilenDlg> dlg{Create<TDOSZeilenDlg>(Application)};
    EXPECT_EQ(dlg->Caption(), L"DOS-Befehl ausführen");
    EXPECT_EQ(dlg->Label1.Caption(), L"Auszuführender Befehl");
    EXPECT_EQ(dlg->Befehl.Hint, L"Geben Sie hier den auszuführenden DOS-Befehl ein");
    dlg->SetCaption(L"Parameter übergeben");
    dlg->Label1.SetCaption(L"An die Datei zu übergebende Parameter");
    dlg->Befehl.SetItems({L"-x", L"/y"});
    dlg->SetHilfe(8);
    TModalScript script;
    script.Step([&](TForm&) {
        dlg->HilfeBtn.Click();
        dlg->Befehl.SetText(L"/q");
        dlg->OKBtn.Click();
    });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(dlg->Befehl.Text(), L"/q");
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].Data, 8u);
    EXPECT_EQ(help.Calls()[0].File, L"Velmora.hlp");
    Application->HelpFile.clear();
    EXPECT_EQ(dlg->Befehl.HelpContext, 8);
}

TEST_F(DateiDialogeTest, EveryDialogKeepsItsPositionUnderItsOwnName) {
    const std::vector<std::wstring> names{L"DKopieren", L"DLoeschen", L"VerzErst", L"Attr",
                                          L"DUmb",      L"DBearb",    L"DOSZeilen"};
    TDateiDialogKontext kontext;
    for (const std::wstring& name : names) WriteDlgPos(name, TDialogPos{40, 50});
    WriteDlgPos(L"DUmb", TDialogPos{100, 120});
    std::vector<TForm*> forms{Create<TDateiKopierenDlg>(Application, kontext),
                              Create<TLoeschDlg>(Application, kontext),
                              Create<TVerzeichnisErstellenDlg>(Application, kontext),
                              Create<TAttributDialog>(Application),
                              Create<TDateiUmbenennenDlg>(Application),
                              Create<TDateienBearbeitenDlg>(Application),
                              Create<TDOSZeilenDlg>(Application)};
    EXPECT_EQ(forms[4]->Left(), 100);
    EXPECT_EQ(forms[4]->Top(), 120);
    forms[4]->SetBounds(70, 80, forms[4]->Width(), forms[4]->Height());
    for (TForm* form : forms) form->Free();
    for (const std::wstring& name : names) EXPECT_TRUE(ReadDlgPos(name).has_value()) << name;
    EXPECT_EQ(ReadDlgPos(L"DUmb"), (TDialogPos{70, 80}));
    EXPECT_EQ(ReadDlgPos(L"DKopieren"), (TDialogPos{40, 50}));
}

// The copy dialog makes its list editor at once; freed unshown, the editor has no
// place to keep, and the next one still opens in the middle of the screen.
TEST_F(DateiDialogeTest, ADialogNeverShownKeepsNoPositionAndAShownOneKeepsWhereItWas) {
    TDateiDialogKontext kontext;
    for (const wchar_t* name : {L"DKopieren", L"DBearb", L"DUmb"})
        RegDeleteUserValue(DialogeSchluessel, std::wstring(name) + L"DlgPos");
    Create<TDateiKopierenDlg>(Application, kontext)->Free();
    EXPECT_FALSE(ReadDlgPos(L"DKopieren").has_value());
    EXPECT_FALSE(ReadDlgPos(L"DBearb").has_value());

    Owned<TDateiUmbenennenDlg> first{Create<TDateiUmbenennenDlg>(Application)};
    TModalScript script;
    script.Step([&](TForm& f) {
        f.SetBounds(33, 44, f.Width(), f.Height());
        dynamic_cast<TDateiUmbenennenDlg&>(f).CancelBtn.Click();
    });
    first->ShowModal();
    EXPECT_FALSE(script.Failed());
    first.reset();
    EXPECT_EQ(ReadDlgPos(L"DUmb"), (TDialogPos{33, 44}));
    RegDeleteUserValue(DialogeSchluessel, L"DUmbDlgPos");
}

}  // namespace
