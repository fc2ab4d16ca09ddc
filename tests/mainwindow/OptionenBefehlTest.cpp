// The options command on a started main window with logging panes: which
// panes hear of which written group, the toolbar, and the packer settings that
// count even when the options are cancelled.

#include <windows.h>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "archive/operations/ExtArcKonfigDlg.h"
#include "filetools/OptionenDialog.h"
#include "foundation/TestFiles.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

// Logs the list calls too.
class TListLogPane : public TLogPane {
public:
    TListLogPane(TComponent* owner, TPaneLog& log, TFensterTyp kind) : TLogPane(owner, log, kind), m_lines(log) {}
    void FillList() override { Write(L"FillList"); }
    void RebuildColumns() override { Write(L"RebuildColumns"); }

private:
    void Write(const std::wstring& what) { m_lines.Lines.push_back(L"#" + std::to_wstring(Number) + L" " + what); }
    TPaneLog& m_lines;
};

void Klick(TControl& c) { MouseClick(ScreenPoint(c, 6, c.Height() / 2)); }

class OptionenBefehlTest : public MainWindowTest {
protected:
    // The window writes its options when it goes: each test starts from the defaults.
    void SetUp() override {
        MainWindowTest::SetUp();
        RegDeleteUserKey(ProgrammSchluessel, L"Optionen");
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        RegDeleteUserKey(ProgrammSchluessel, L"Optionen");
    }
    // A file list on the left, a detailed one on the right.
    THauptform& Starten() {
        THauptform& form = Make();
        form.PaneFactory = [this](TFensterTyp kind, THauptform& host) -> TDMChildForm* {
            return Create<TListLogPane>(&host, m_log, kind);
        };
        Start();
        Log(form.LeftPane).Kind = ftDateiliste;
        Log(form.RightPane).Kind = ftAusfDateiliste;
        m_log.Lines.clear();
        return form;
    }
    std::wstring L() { return L"#" + std::to_wstring(Log(m_form->LeftPane).Number) + L" "; }
    std::wstring R() { return L"#" + std::to_wstring(Log(m_form->RightPane).Number) + L" "; }
    // The options command from its toolbar button, with the steps inside.
    void Optionen(std::vector<std::function<void(TOptionenDlg&, TForm&)>> steps) {
        TModalScript script(15000);
        for (auto& s : steps) script.Step([this, s](TForm& f) { s(*m_form->OptionenDialog(), f); });
        m_form->Button13.Click();
        EXPECT_FALSE(script.Failed());
        EXPECT_EQ(script.StepsLeft(), 0);
    }
    TPaneLog m_log;
};

}  // namespace

TEST_F(OptionenBefehlTest, EachWrittenListGroupReachesOnlyThePanesOfItsKind) {
    THauptform& form = Starten();
    const bool dl = form.Settings->Dateiliste.Statuszeile, adl = form.Settings->ADateiliste.Statuszeile;
    Optionen({[](TOptionenDlg& d, TForm&) {
        EXPECT_EQ(d.Caption(), L"Optionen und Einstellungen");
        d.Seiten.SetActivePageIndex(1);
        Klick(d.ADLStatuszeile);
        d.OKBtn.Click();
    }});
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{R() + L"ApplyOptions"}));
    EXPECT_EQ(form.Settings->ADateiliste.Statuszeile, !adl);
    EXPECT_EQ(form.Settings->Dateiliste.Statuszeile, dl);

    m_log.Lines.clear();
    Optionen({[](TOptionenDlg& d, TForm&) {
        d.Seiten.SetActivePageIndex(1);
        Klick(d.ADLTypAnzeigen);
        d.OKBtn.Click();
    }});
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L() + L"ApplyOptions", L() + L"FillList",
                                                      R() + L"ApplyOptions", R() + L"RebuildColumns",
                                                      R() + L"FillList"}));
}

TEST_F(OptionenBefehlTest, TheToolbarChangesOnlyWhenItsBoxEndsOtherThanStored) {
    THauptform& form = Starten();
    ASSERT_TRUE(form.ToolbarShown());
    const int height = form.Symbolleiste.Height();
    Optionen({[](TOptionenDlg& d, TForm&) {
        Klick(d.SymbolleisteAnzeigen);
        Klick(d.SymbolleisteAnzeigen);
        d.OKBtn.Click();
    }});
    EXPECT_TRUE(form.ToolbarShown());
    EXPECT_EQ(form.Symbolleiste.Height(), height);
    EXPECT_TRUE(form.Button1.Visible());

    Optionen({[](TOptionenDlg& d, TForm&) {
        Klick(d.SymbolleisteAnzeigen);
        Klick(d.StatuszeileAnzeigen);
        d.OKBtn.Click();
    }});
    EXPECT_FALSE(form.ToolbarShown());
    EXPECT_FALSE(form.HauptStatusZeile.Visible());
    EXPECT_FALSE(form.Settings->Ansicht.SymbolleisteAnzeigen);
}

TEST_F(OptionenBefehlTest, CancelAfterThePackerDialogsOkAppliesTheArchiveSettingsAndWritesNothingElse) {
    THauptform& form = Starten();
    TTempFolder folder(L"optbefehl");
    const std::wstring arj = folder.MakeFile(L"arj.exe", 1);
    const bool dl = form.Settings->Dateiliste.Statuszeile;
    TExtArcKonfigDlg* packer = nullptr;
    Optionen({[](TOptionenDlg& d, TForm&) {
                  d.Seiten.SetActivePageIndex(4);
                  d.Button1.Click();
              },
              [&](TOptionenDlg&, TForm& f) {
                  packer = dynamic_cast<TExtArcKonfigDlg*>(&f);
                  ASSERT_NE(packer, nullptr);
                  packer->UnArjPath.SetText(arj);
                  packer->OKBtn.Click();
              },
              [](TOptionenDlg& d, TForm&) {
                  d.Seiten.SetActivePageIndex(1);
                  Klick(d.DLStatuszeile);
                  d.CancelBtn.Click();
              }});
    EXPECT_EQ(form.Settings->Arc.ArjPath, arj);
    EXPECT_EQ(form.ZipRoutinen->Packer.ArjPath, arj);
    EXPECT_EQ(form.Settings->Dateiliste.Statuszeile, dl);
    EXPECT_TRUE(m_log.Lines.empty());
}
