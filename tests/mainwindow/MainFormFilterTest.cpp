// Marking a group and the display filter: what the filter dialog shows, what
// the panes are given, and which settings take the values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../foundation/TestFiles.h"
#include "LogPane.h"
#include "MainWindowFixture.h"
#include "filetools/TypenBearbeitenDlg.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

std::wstring Joined(const TStringList& list) {
    std::wstring text;
    for (int i = 0; i < list.Count(); ++i)
        text += (i ? L"|" : L"") + list[i];
    return text;
}

// A logging pane that also keeps what it was asked to mark and to filter by.
class TFilterPane : public test::TLogPane {
public:
    using TLogPane::TLogPane;
    std::vector<std::wstring> Marked;
    std::vector<TDateiFilterDatenFuerDateiListe> Filters;
    void SelectGroup(const TStringList& Masks, bool, const std::wstring&, const std::wstring&, bool,
                     const std::wstring&, std::int32_t, bool Normale, bool ReadOnly, bool Hidden, bool System) override {
        Marked.push_back(Joined(Masks) + L" " + std::to_wstring(Normale) + std::to_wstring(ReadOnly) +
                         std::to_wstring(Hidden) + std::to_wstring(System));
    }
    void SetFilter(const TDateiFilterDatenFuerDateiListe& Filter) override { Filters.push_back(Filter); }
    std::vector<std::wstring> Selected;
    void SelectFile(const std::wstring& Name) override { Selected.push_back(Name); }
};

TFilterPane& Pane(TDMChildForm* pane) { return *dynamic_cast<TFilterPane*>(pane); }

class FilterTest : public test::MainWindowTest {
protected:
    THauptform& StartWithFilterPanes() {
        THauptform& form = Make();
        form.PaneFactory = [this](TFensterTyp kind, THauptform& host) -> TDMChildForm* {
            return Create<TFilterPane>(&host, m_log, kind);
        };
        Start();
        return form;
    }
    // Runs the command, answering its dialog with Answer and OK.
    void RunWithDialog(TMenuItem& item, const std::function<void(TFilterAuswahlDlg&)>& answer) {
        TModalScript script;
        script.Step([&](TForm& f) {
            auto& dlg = dynamic_cast<TFilterAuswahlDlg&>(f);
            answer(dlg);
            dlg.OKBtn.Click();
        });
        item.Click();
        EXPECT_EQ(script.FormsSeen(), 1);
        EXPECT_FALSE(script.Failed());
    }

    test::TPaneLog m_log;
};

TEST_F(FilterTest, MarkingGoesPastTheTreeWithTheTypedMasksAndNowhereBetweenTwoTrees) {
    THauptform& form = StartWithFilterPanes();
    ASSERT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    form.LeftPane->BringToFront();
    Application->ProcessMessages();
    ASSERT_EQ(form.ActivePane(), form.LeftPane);
    RunWithDialog(form.MarkierungGruppeauswaehlen, [](TFilterAuswahlDlg& dlg) {
        EXPECT_EQ(dlg.Caption(), L"Gruppe markieren");
        EXPECT_EQ(dlg.Label1.Caption(), L"Bitte wählen Sie den/ die &Dateifilter der zu markierenden Dateien:");
        EXPECT_EQ(dlg.Normale.Caption(), L"&Sonstige Dateien ...");
        EXPECT_EQ(dlg.Label5.Caption(), L"Beim Markieren zu beachtende Datei - Eigenschaften:");
        EXPECT_EQ(Joined(dlg.ReadOnly.Items()), L"... markieren|... nicht markieren");
        EXPECT_EQ(dlg.HelpContext, 24);
        EXPECT_EQ(dlg.DateiFilter.HelpContext, 24);
        EXPECT_EQ(dlg.Hidden.HelpContext, 24);
        EXPECT_EQ(dlg.DateiFilter.Text(), L"*.*;");
    });
    RunWithDialog(form.MarkierungGruppeauswaehlen, [](TFilterAuswahlDlg& dlg) {
        dlg.DateiFilter.SetText(L"*.txt; *.doc");
        dlg.Hidden.SetItemIndex(1);
    });
    // The default filter marks every file; the dialog's own way of typing two
    // masks marks both kinds (a blank before the second would mark nothing).
    EXPECT_EQ(Pane(form.RightPane).Marked, (std::vector<std::wstring>{L"*.* 1111", L"*.txt|*.doc 1101"}));
    EXPECT_TRUE(Pane(form.LeftPane).Marked.empty());

    form.ShowPaneKind(1, ftVerzeichnisbaum);
    Application->ProcessMessages();
    RunWithDialog(form.MarkierungGruppeauswaehlen, [](TFilterAuswahlDlg&) {});
    EXPECT_TRUE(Pane(form.LeftPane).Marked.empty());
    EXPECT_TRUE(Pane(form.RightPane).Marked.empty());
}

TEST_F(FilterTest, TheDisplayFilterReachesEveryKindOfListAndTheArchivePanesMasks) {
    THauptform& form = StartWithFilterPanes();
    form.ShowPaneKind(1, ftAusfDateiliste);
    Application->ProcessMessages();
    TEinstellungen& settings = *form.Settings;
    const TMaskenListe listMasks = settings.Dateiliste.Filter.Masken;
    RunWithDialog(form.Dateiauswahl, [](TFilterAuswahlDlg& dlg) {
        EXPECT_EQ(dlg.Caption(), L"Dateiauswahl");
        EXPECT_EQ(dlg.Label1.Caption(), L"Bitte wählen Sie den/ die &Dateifilter der anzuzeigenden Dateien:");
        EXPECT_EQ(dlg.Normale.Caption(), L"&Verzeichnisse ...");
        EXPECT_EQ(dlg.Label5.Caption(), L"Beim Anzeigen zu beachtende Datei - Eigenschaften:");
        for (TRadioGroup* group : {&dlg.ReadOnly, &dlg.Hidden, &dlg.System, &dlg.Normale}) {
            EXPECT_EQ(Joined(group->Items()), L"... anzeigen|... nicht anzeigen");
            EXPECT_EQ(group->ItemIndex(), 0);
        }
        dlg.DateiFilter.SetText(L"*.txt; *.doc");
        dlg.System.SetItemIndex(1);
    });
    EXPECT_EQ(Joined(*settings.Dateiliste.Filter.Masken), L"*.txt|*.doc");
    EXPECT_EQ(settings.Dateiliste.Filter.Masken, listMasks);
    EXPECT_FALSE(settings.Dateiliste.Filter.System);
    // The detailed lists keep their own list, and the archive panes, sharing it, see the masks.
    EXPECT_NE(settings.ADateiliste.Filter.Masken, settings.Dateiliste.Filter.Masken);
    EXPECT_EQ(Joined(*settings.ArcView.Filter.Masken), L"*.txt|*.doc");
    EXPECT_FALSE(settings.ADateiliste.Filter.System);
    EXPECT_FALSE(settings.ZusatzOptionen.Filter.System);
    EXPECT_TRUE(settings.ZusatzOptionen.Filter.Hidden);

    ASSERT_EQ(Pane(form.LeftPane).Filters.size(), 1u);
    EXPECT_FALSE(Pane(form.LeftPane).Filters[0].System);
    ASSERT_EQ(Pane(form.RightPane).Filters.size(), 1u);
    EXPECT_EQ(Joined(*Pane(form.RightPane).Filters[0].Masken), L"*.txt|*.doc");

    form.ShowPaneKind(1, ftDateiliste);
    Application->ProcessMessages();
    const size_t given = Pane(form.RightPane).Filters.size();
    RunWithDialog(form.Dateiauswahl, [](TFilterAuswahlDlg& dlg) { EXPECT_EQ(dlg.DateiFilter.Text(), L"*.txt;*.doc;"); });
    ASSERT_EQ(Pane(form.RightPane).Filters.size(), given + 1);
    EXPECT_EQ(Pane(form.RightPane).Filters.back().Masken, settings.Dateiliste.Filter.Masken);
}

// Marking and filtering share the records of a search with the found-file steps.
TEST_F(FilterTest, TheFoundFilesAreWalkedRoundInTheirFoldersWithTheTreeFollowing) {
    test::TTempFolder one{L"velmora fund eins"}, two{L"velmora fund zwei"};
    THauptform& form = StartWithFilterPanes();
    ASSERT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    form.RightPane->BringToFront();
    Application->ProcessMessages();
    form.SearchResult->clear();
    for (const std::wstring& name : {one.Path() + L"a.txt", one.Path() + L"b.txt", two.Path() + L"c.txt"}) {
        auto record = std::make_unique<TEineDatei>();
        record->Name = name;
        form.SearchResult->push_back(std::move(record));
    }
    TFilterPane& list = Pane(form.RightPane);
    TFilterPane& tree = Pane(form.LeftPane);
    form.FoundIndex = -1;
    form.VorherigegefundeneDatei.Click();
    EXPECT_EQ(form.FoundIndex, 2);
    EXPECT_EQ(list.Directory, two.Path());
    ASSERT_EQ(list.Selected.size(), 1u);
    EXPECT_EQ(list.Selected.back(), two.Path() + L"c.txt");
    EXPECT_EQ(tree.Directory, two.Path());
    form.NaechstegefundeneDatei.Click();
    EXPECT_EQ(form.FoundIndex, 0);
    EXPECT_EQ(list.Directory, one.Path());
    EXPECT_EQ(list.Selected.back(), one.Path() + L"a.txt");
    // The list was refilled shorter behind the index.
    form.FoundIndex = 7;
    form.NaechstegefundeneDatei.Click();
    EXPECT_EQ(form.FoundIndex, 0);
    form.FoundIndex = 7;
    form.VorherigegefundeneDatei.Click();
    EXPECT_EQ(form.FoundIndex, 2);
    EXPECT_EQ(form.ActivePane(), form.RightPane);
    // A hit whose folder is gone selects nothing where the pane fell back to.
    auto gone = std::make_unique<TEineDatei>();
    gone->Name = one.Path() + L"weg\\c.txt";
    form.SearchResult->push_back(std::move(gone));
    const size_t selected = list.Selected.size();
    form.NaechstegefundeneDatei.Click();
    EXPECT_EQ(form.FoundIndex, 3);
    EXPECT_EQ(list.Selected.size(), selected);
}

}  // namespace
