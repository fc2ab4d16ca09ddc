// The main window's menus and toolbar: shortcuts from a pane and from the
// command line, shared and hidden shortcuts, radio groups, the texts the menus
// really show, and the toolbar fitting a narrow window.

#include <windows.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/Einstellungen.h"
#include "CommandRecorder.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

using TItemField = TMenuItem THauptform::*;

constexpr TShortCut Key(WORD key) { return key; }
constexpr TShortCut Ctrl(WORD key) { return static_cast<TShortCut>(scCtrl | key); }
constexpr TShortCut Alt(WORD key) { return static_cast<TShortCut>(scAlt | key); }
constexpr TShortCut CtrlShift(WORD key) { return static_cast<TShortCut>(scCtrl | scShift | key); }

// A key pressed at Target with the shortcut's modifiers held, as the message
// loop gets it from the keyboard.
void Press(HWND Target, TShortCut ShortCut) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ShortCut & scCtrl ? 0x80 : 0;
    state[VK_SHIFT] = ShortCut & scShift ? 0x80 : 0;
    state[VK_MENU] = ShortCut & scAlt ? 0x80 : 0;
    SetKeyboardState(state);
    const bool alt = ShortCut & scAlt;
    PostMessageW(Target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, ShortCut & 0xFF, alt ? (1 | (1 << 29)) : 1);
    Application->ProcessMessages();
    state[VK_CONTROL] = state[VK_SHIFT] = state[VK_MENU] = 0;
    SetKeyboardState(state);
}

std::wstring MenuText(HMENU Menu, UINT Command) {
    wchar_t text[256] = L"";
    GetMenuStringW(Menu, Command, text, 256, MF_BYCOMMAND);
    return text;
}

std::vector<std::wstring> MenuTexts(HMENU Menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(Menu); ++i) {
        wchar_t text[256] = L"";
        GetMenuStringW(Menu, i, text, 256, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

UINT MenuState(TMenuItem& Item) {
    return GetMenuState(Item.Parent()->Handle(), Item.Command(), MF_BYCOMMAND);
}

class MenusTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        PlaceholderCalls().clear();
    }
    void TearDown() override {
        PlaceholderCalls().clear();
        Application->SetMainForm(m_previousMain);
        MainWindowTest::TearDown();
    }
    // The window as the program's main window, with a pane that has the focus.
    // Its own panes log: a real tree pane, once active, switches the type sort off.
    THauptform& StartWithPane() {
        THauptform& form = Make();
        UseLogPanes(form, m_log);
        Start();
        Application->SetMainForm(&form);
        m_pane = new TTestPane(&form);
        m_pane->Show();
        m_pane->SetFocus();
        Application->ProcessMessages();
        // Sorting, the filter dialog and the found files are built (their own tests show what they
        // do): here their items only record that their shortcut reached them.
        for (auto [item, handler] : {std::pair{&form.NachName, L"NachNameClick"}, {&form.NachTyp, L"NachNameClick"},
                                     {&form.NachDatum, L"NachNameClick"}, {&form.NachGroesse, L"NachNameClick"},
                                     {&form.Unsortiert, L"NachNameClick"}, {&form.NachAttributen, L"NachNameClick"},
                                     {&form.NachAttributen1, L"NachNameClick"}, {&form.Dateiauswahl, L"DateiauswahlClick"},
                                     {&form.MarkierungGruppeauswaehlen, L"MarkierungGruppeauswaehlenClick"},
                                     {&form.NaechstegefundeneDatei, L"NaechstegefundeneDateiClick"},
                                     {&form.VorherigegefundeneDatei, L"VorherigegefundeneDateiClick"},
                                     {&form.Schnellansicht, L"SchnellansichtClick"}, {&form.Bearbeiten, L"BearbeitenClick"},
                                     {&form.Teilen, L"TeilenClick"}, {&form.DOSBefehlausfhren1, L"DOSBefehlausfhren1Click"},
                                     {&form.Gehezu1, L"Gehezu1Click"}, {&form.Zusammenfgen1, L"Zusammenfgen1Click"},
                                     {&form.Verzeichnissevergleichen1, L"Verzeichnissevergleichen1Click"}})
            item->OnClick = [handler](TObject* Sender) { RecordPlaceholder(handler, Sender); };
        return form;
    }
    // The command line's edit box, where typed keys arrive.
    HWND CommandLine() {
        HWND combo = m_form->DOSBefehlszeile.Handle();
        HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
        return edit ? edit : combo;
    }
    // Presses the key and gives the one handler call it caused, if any.
    std::optional<TPlaceholderCall> PressAndSee(HWND Target, TShortCut ShortCut) {
        PlaceholderCalls().clear();
        Press(Target, ShortCut);
        EXPECT_LE(PlaceholderCalls().size(), 1u) << "for " << ShortCutText(ShortCut);
        if (PlaceholderCalls().empty())
            return std::nullopt;
        return PlaceholderCalls().front();
    }
    static std::string ShortCutText(TShortCut ShortCut) {
        std::string text;
        for (wchar_t c : ShortCutToText(ShortCut))
            text += static_cast<char>(c);
        return text;
    }

    TTestPane* m_pane = nullptr;
    // The panes write into it until the window goes, after the test.
    TPaneLog m_log;
    TForm* m_previousMain = Application->MainForm();
};

// The shortcuts of commands not built yet; the built ones are checked by what
// they do (below).
struct TShortCutCase {
    TShortCut ShortCut;
    const wchar_t* Handler;
    TItemField Item;
};

const TShortCutCase kShortCuts[] = {
    {Key(VK_F3), L"SchnellansichtClick", &THauptform::Schnellansicht},
    {Key(VK_F4), L"BearbeitenClick", &THauptform::Bearbeiten},
    {Alt(VK_F3), L"TeilenClick", &THauptform::Teilen},
    {Alt(VK_F8), L"DOSBefehlausfhren1Click", &THauptform::DOSBefehlausfhren1},
    {Alt(VK_F10), L"Gehezu1Click", &THauptform::Gehezu1},
    {Ctrl(VK_F2), L"DateiauswahlClick", &THauptform::Dateiauswahl},
    {Ctrl(VK_F3), L"NachNameClick", &THauptform::NachName},
    {Ctrl(VK_F4), L"NachNameClick", &THauptform::NachTyp},
    {Ctrl(VK_F5), L"NachNameClick", &THauptform::NachDatum},
    {Ctrl(VK_F6), L"NachNameClick", &THauptform::NachGroesse},
    {Ctrl(VK_F7), L"NachNameClick", &THauptform::Unsortiert},
    {Ctrl(VK_F8), L"NachNameClick", &THauptform::NachAttributen},
    {Ctrl('N'), L"NaechstegefundeneDateiClick", &THauptform::NaechstegefundeneDatei},
    {Ctrl('V'), L"VorherigegefundeneDateiClick", &THauptform::VorherigegefundeneDatei},
    {Ctrl('Z'), L"Zusammenfgen1Click", &THauptform::Zusammenfgen1},
    {CtrlShift('G'), L"MarkierungGruppeauswaehlenClick", &THauptform::MarkierungGruppeauswaehlen},
    {CtrlShift('V'), L"Verzeichnissevergleichen1Click", &THauptform::Verzeichnissevergleichen1},
};

}  // namespace

TEST_F(MenusTest, EveryShortCutReachesItsHandlerFromAPaneAndFromTheCommandLine) {
    THauptform& form = StartWithPane();
    ASSERT_TRUE(form.DOSZeilenPanel.Visible());
    // Emptying the basket is offered once the basket holds something, the quick
    // viewer's item only where a quick viewer is installed.
    for (TMenuItem* item : {&form.Sammelkorbleeren1, &form.Sammelkorbleeren2, &form.AlleEintrgeausListeentfernen,
                            &form.Schnellansicht})
        item->SetEnabled(true);
    for (const bool fromPane : {true, false}) {
        const HWND target = fromPane ? m_pane->Handle() : CommandLine();
        for (const TShortCutCase& c : kShortCuts) {
            const auto call = PressAndSee(target, c.ShortCut);
            ASSERT_TRUE(call) << ShortCutText(c.ShortCut) << (fromPane ? " in the pane" : " in the command line");
            EXPECT_EQ(call->Handler, c.Handler) << ShortCutText(c.ShortCut);
            EXPECT_EQ(call->Sender, &(form.*c.Item)) << ShortCutText(c.ShortCut);
        }
    }
}

// The built commands behind shortcuts: F1 asks for the help contents, Alt+F4
// asks the window to close, Alt+F1 and Alt+F2 drop a drive box down, Ctrl+A
// reads both panes, and the marking keys go past the tree to the list.
TEST_F(MenusTest, TheShortCutsOfBuiltCommandsRunThemFromAPaneAndFromTheCommandLine) {
    THauptform& form = Make();
    UseLogPanes(form, m_log);
    Start();
    Application->SetMainForm(&form);
    ASSERT_EQ(form.LeftPane->GetPaneKind(), ftVerzeichnisbaum);
    int closesAsked = 0;
    const TCloseEvent close = form.OnClose;
    form.OnClose = [&](TObject*, TCloseAction& Action) {
        ++closesAsked;
        Action = TCloseAction::caNone;
    };
    auto dropped = [&](TDriveComboBox& box) {
        const bool down = box.DroppedDown() && box.Focused();
        box.SetDroppedDown(false);
        return down;
    };
    for (const bool fromPane : {true, false}) {
        const HWND target = fromPane ? form.RightPane->Handle() : CommandLine();
        const std::string where = fromPane ? "in the pane" : "in the command line";
        const size_t helpCalls = m_help.Calls().size();
        Press(target, Key(VK_F1));
        ASSERT_EQ(m_help.Calls().size(), helpCalls + 1) << where;
        EXPECT_EQ(m_help.Calls().back().Command, static_cast<UINT>(HELP_FINDER));
        const int closes = closesAsked;
        Press(target, Alt(VK_F4));
        EXPECT_EQ(closesAsked, closes + 1) << where;
        EXPECT_TRUE(form.Visible());
        m_log.Lines.clear();
        Press(target, Ctrl('A'));
        Press(target, CtrlShift('A'));
        Press(target, CtrlShift('U'));
        EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L"#1 ReadContents", L"#2 ReadContents", L"#2 SelectAll",
                                                        L"#2 InvertSelection"}))
            << where;
        // With one drive bar both keys open it.
        Press(target, Alt(VK_F1));
        EXPECT_TRUE(dropped(form.LWAuswahl)) << where;
        Press(target, Alt(VK_F2));
        EXPECT_TRUE(dropped(form.LWAuswahl)) << where;
    }
    form.ShowPaneKind(0, ftDateiliste);
    ASSERT_TRUE(form.LWPanel2.Visible());
    Press(form.RightPane->Handle(), Alt(VK_F2));
    EXPECT_TRUE(dropped(form.LWAuswahl2));
    form.OnClose = close;
}

// Items that share a shortcut take it in turn: whichever enabled one comes first
// runs the one handler, a disabled one never does, and with all disabled the
// key reaches nothing.
TEST_F(MenusTest, ItemsSharingAShortCutAllRunTheirHandlerAndDisabledOnesNever) {
    THauptform& form = StartWithPane();
    struct TShared {
        TShortCut ShortCut;
        const wchar_t* Handler;
        std::vector<TMenuItem*> Items;
    };
    const TShared shared[] = {
        {Alt(VK_F5), L"ZuArchivhinzufgen1Click",
         {&form.Archiv1, &form.ZuArchivhinzufgen1, &form.Archiv2, &form.ZuArchivhinzufgen2}},
    };
    for (const TShared& s : shared) {
        // The command is built and shows its dialog: a recorder stands in for
        // it, so that what is checked is the shortcut's way to the items.
        for (TMenuItem* item : s.Items)
            item->OnClick = [handler = s.Handler](TObject* sender) { RecordPlaceholder(handler, sender); };
        std::set<const TObject*> senders;
        while (auto call = PressAndSee(m_pane->Handle(), s.ShortCut)) {
            EXPECT_EQ(call->Handler, s.Handler);
            auto* item = const_cast<TMenuItem*>(dynamic_cast<const TMenuItem*>(call->Sender));
            ASSERT_NE(item, nullptr);
            ASSERT_TRUE(item->Enabled());
            ASSERT_TRUE(senders.insert(item).second) << ShortCutText(s.ShortCut);
            item->SetEnabled(false);
        }
        EXPECT_EQ(senders, std::set<const TObject*>(s.Items.begin(), s.Items.end())) << ShortCutText(s.ShortCut);
    }
}

TEST_F(MenusTest, HiddenItemsKeepTheirShortCutsAndSortingByTypeCanBeSwitchedOff) {
    THauptform& form = StartWithPane();
    EXPECT_FALSE(form.UnsichtbaresMen1.Visible());
    EXPECT_FALSE(form.ImLinkesFensterAnzeigen1.Visible());
    EXPECT_EQ(GetMenuItemCount(form.MainMenu.Handle()), 6);
    // The show-marked command is written: its shortcuts stay on the hidden items.
    EXPECT_EQ(form.ImLinkesFensterAnzeigen1.ShortCut(), Ctrl(VK_LEFT));
    EXPECT_EQ(form.MarkierungimRechtenFensterAnzeigen.ShortCut(), Ctrl(VK_RIGHT));

    form.EnableSortByType(true);
    for (TMenuItem* item : {&form.NachTyp, &form.NachTyp1, &form.NachAttributen, &form.NachAttributen1})
        EXPECT_TRUE(MenuState(*item) & MF_GRAYED) << item->Name();
    EXPECT_FALSE(PressAndSee(m_pane->Handle(), Ctrl(VK_F8)));
    form.EnableSortByType(false);
    const auto sort = PressAndSee(m_pane->Handle(), Ctrl(VK_F8));
    ASSERT_TRUE(sort);
    EXPECT_EQ(sort->Sender, &form.NachAttributen);
}

TEST_F(MenusTest, TheSortMarkFollowsThePanesModeInMenuAndPopup) {
    THauptform& form = Start();
    const std::vector<TMenuItem*> menu{&form.NachName,    &form.NachTyp,    &form.NachDatum,
                                       &form.NachGroesse, &form.Unsortiert, &form.NachAttributen};
    const std::vector<TMenuItem*> popup{&form.NachName1,    &form.NachTyp1,    &form.NachDatum1,
                                        &form.NachGroesse1, &form.Unsortiert1, &form.NachAttributen1};
    const std::pair<int, int> modes[] = {{0, 0}, {1, 0}, {2, 3}, {3, 3}, {4, 2}, {5, 2}, {6, 1},
                                         {7, 1}, {8, 5}, {9, 5}, {10, 4}, {11, 4}, {255, 4}};
    for (auto [mode, index] : modes) {
        form.CheckSortMenu(static_cast<std::uint8_t>(mode));
        for (size_t i = 0; i < menu.size(); ++i) {
            const bool ticked = static_cast<int>(i) == index;
            EXPECT_EQ(menu[i]->Checked(), ticked) << "mode " << mode << ", " << menu[i]->Name();
            EXPECT_EQ(popup[i]->Checked(), ticked) << "mode " << mode << ", " << popup[i]->Name();
            EXPECT_EQ((MenuState(*menu[i]) & MF_CHECKED) != 0, ticked) << "mode " << mode;
        }
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(form.Dateianordnung.Handle(), form.NachName.Command(), FALSE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
}

TEST_F(MenusTest, RadioItemsExcludeEachOtherOnlyWithinTheirSubmenu) {
    THauptform& form = Start();
    form.AnsichtVbaumL.SetChecked(true);
    form.AnsichtVbaumR.SetChecked(true);
    form.AnsichtDListeL.SetChecked(true);
    EXPECT_FALSE(form.AnsichtVbaumL.Checked());
    EXPECT_TRUE(form.AnsichtVbaumR.Checked());
    form.AnsichtFileViewR.SetChecked(true);
    EXPECT_FALSE(form.AnsichtVbaumR.Checked());
    EXPECT_TRUE(form.AnsichtDListeL.Checked());

    form.SuchergebnisAnzeigenLinkesFenster.SetChecked(true);
    form.SammelkorbLinks.SetChecked(true);
    form.SuchergebnisAnzeigenRechtesFenster.SetChecked(true);
    EXPECT_FALSE(form.SuchergebnisAnzeigenLinkesFenster.Checked());
    EXPECT_TRUE(form.SammelkorbLinks.Checked());
    form.SammelkorbRechts.SetChecked(true);
    EXPECT_FALSE(form.SammelkorbLinks.Checked());

    form.Verzeichnisbaum1.SetChecked(true);
    form.Archivinhalt1.SetChecked(true);
    EXPECT_FALSE(form.Verzeichnisbaum1.Checked());
    EXPECT_TRUE(form.AnsichtFileViewR.Checked());
}

TEST_F(MenusTest, TheMenusShowTheirTextsAsWritten) {
    THauptform& form = Start();
    EXPECT_EQ(MenuTexts(form.MainMenu.Handle()),
              (std::vector<std::wstring>{L"&Datei", L"&Markierung", L"&Suchen", L"&Ansicht", L"&Extras", L"&Hilfe"}));
    EXPECT_EQ(MenuText(form.Extras1.Handle(), form.InhaltdesSamelkorbesanzeigen1.Command()),
              L"&Inhalt des Samelkorbes anzeigen");
    EXPECT_EQ(MenuText(form.DateiMenu.Handle(), form.DateiDrucken.Command()), L"&Drucken\tStrg+F9");
    EXPECT_EQ(MenuText(form.DateiMenu.Handle(), form.DateiEigenschaften.Command()),
              L"&Eigenschaften...\tAlt+Eingabe");
    EXPECT_EQ(MenuText(form.DateiMenu.Handle(), form.AttributeSetzen1.Command()),
              L"A&ttribute/ Datum verändern...\tStrg+F1");
    EXPECT_EQ(MenuText(form.MarkierungMenu.Handle(), form.MarkierungGruppeauswaehlen.Command()),
              L"&Gruppe auswählen...\tUmsch+Strg+G");
    EXPECT_EQ(MenuText(form.DateiMenu.Handle(), form.DateiOeffnen.Command()), L"&Öffnen\tEingabe");
    EXPECT_EQ(MenuText(form.Suchen1.Handle(), form.VorherigegefundeneDatei.Command()),
              L"&Vorherige gefundene Datei\tStrg+V");
    EXPECT_TRUE(MenuState(form.MarkierteDateienausSammelkorbentfernen1) & MF_GRAYED);

    // The pane menu leaves out its hidden items; its delete item has no dots.
    const std::vector<std::wstring> pane = MenuTexts(form.StandardMDIPopUp.Handle());
    for (const wchar_t* hidden : {L"&Neue Verknüpfung...\tF2", L"Sammelkorb l&eeren\tStrg+L",
                                  L"&Markierte Dateien aus Sammelkorb entfernen\tStrg+E"})
        EXPECT_EQ(std::count(pane.begin(), pane.end(), hidden), 0) << hidden;
    EXPECT_EQ(std::count(pane.begin(), pane.end(), L"&Löschen\tF8"), 1);
    EXPECT_EQ(MenuTexts(form.SammelkorbMenu.Handle()), (std::vector<std::wstring>{L"&Sammelkorb leeren\tStrg+L"}));
    EXPECT_EQ(MenuTexts(form.MRUPopup.Handle()), (std::vector<std::wstring>{L"&Gehe zu...\tAlt+F10"}));
}

// The status line shows an item's hint exactly: the extract hint keeps its
// double and its trailing blank, in the menu and on the toolbar.
TEST_F(MenusTest, HintsKeepTheirBlanks) {
    THauptform& form = Start();
    const std::wstring extract = L"Dekomprimiert Dateien aus einem Archiv (ZIP, ARJ, LHA, RAR,  ARC, ZOO) ";
    SendMessageW(form.Handle(), WM_MENUSELECT, MAKEWPARAM(form.AusArchivextrahieren1.Command(), MF_HILITE),
                 reinterpret_cast<LPARAM>(form.DateiMenu.Handle()));
    EXPECT_EQ(Application->Hint(), extract);
    EXPECT_EQ(form.Button8.Hint, L"Aus Archiv extrahieren|" + extract);
    EXPECT_EQ(GetLongHint(form.Button8.Hint), extract);
    EXPECT_EQ(form.InhaltdesSamelkorbesanzeigen1.Hint, L"Zeigt den Inhalt des Sammelkorbes an");
}

TEST_F(MenusTest, AllButtonsStandInARowWhenTheWindowIsWideEnough) {
    THauptform& form = Start();
    ASSERT_GE(form.Symbolleiste.Width(), 600);
    EXPECT_FALSE(form.LeftButton.Visible());
    EXPECT_FALSE(form.RightButton.Visible());
    for (int i = 1; i <= 13; ++i) {
        EXPECT_TRUE(form.ToolbarButton(i).Visible()) << i;
        EXPECT_EQ(form.ToolbarButton(i).Left(), form.LeftButton.Left() + (i - 1) * (form.Button1.Width() + 1)) << i;
    }
    EXPECT_LT(form.Button13.Left() + form.Button13.Width(), form.Sammelbutton.Left());
}

TEST_F(MenusTest, TheToolbarButtonsRunTheCommandsOfTheirMenuItems) {
    THauptform& form = Start();
    const wchar_t* handlers[] = {
        nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr,
        nullptr,                           nullptr,                            nullptr,
        nullptr,                           nullptr,                            nullptr,
        nullptr};
    for (int i = 1; i <= 13; ++i) {
        // The built commands' tests show their dialogs.
        if (!handlers[i - 1])
            continue;
        PlaceholderCalls().clear();
        form.ToolbarButton(i).Click();
        ASSERT_EQ(PlaceholderCalls().size(), 1u) << i;
        EXPECT_EQ(PlaceholderCalls()[0].Handler, handlers[i - 1]) << i;
        EXPECT_EQ(PlaceholderCalls()[0].Sender, &form.ToolbarButton(i)) << i;
        EXPECT_EQ(form.ToolbarButton(i).Name(), L"Button" + std::to_wstring(i));
    }
}

TEST_F(MenusTest, ANarrowWindowScrollsTheToolbarWithinOneToThirteen) {
    THauptform& form = Start();
    form.SetWidth(300);
    Application->ProcessMessages();
    const int step = form.Button1.Width() + 1;
    const int fit = (form.Sammelbutton.Left() - 2 - form.RightButton.Width() -
                     (form.LeftButton.Left() + form.LeftButton.Width() + 1)) / step;
    ASSERT_GT(fit, 0);
    ASSERT_LT(fit, 13);
    auto shown = [&] {
        std::vector<int> numbers;
        for (int i = 1; i <= 13; ++i)
            if (form.ToolbarButton(i).Visible())
                numbers.push_back(i);
        return numbers;
    };
    auto run = [](int from, int count) {
        std::vector<int> numbers;
        for (int i = from; i < from + count; ++i)
            numbers.push_back(i);
        return numbers;
    };
    EXPECT_EQ(shown(), run(1, fit));
    EXPECT_TRUE(form.LeftButton.Visible());
    EXPECT_FALSE(form.LeftButton.Enabled());
    EXPECT_TRUE(form.RightButton.Visible());
    EXPECT_TRUE(form.RightButton.Enabled());
    EXPECT_EQ(form.RightButton.Left(), form.ToolbarButton(fit).Left() + step);
    EXPECT_LE(form.RightButton.Left() + form.RightButton.Width(), form.Sammelbutton.Left() - 2);

    // Scrolling right stops once Button13 is in the row.
    while (form.RightButton.Enabled())
        form.RightButton.Click();
    EXPECT_EQ(form.FirstToolbarButton, 14 - fit);
    EXPECT_EQ(shown(), run(14 - fit, fit));
    EXPECT_TRUE(form.LeftButton.Enabled());
    form.RightButtonClick(&form.RightButton);
    EXPECT_EQ(form.FirstToolbarButton, 14 - fit);

    form.LeftButton.Click();
    EXPECT_EQ(shown(), run(13 - fit, fit));
    EXPECT_TRUE(form.RightButton.Enabled());
    while (form.LeftButton.Enabled())
        form.LeftButton.Click();
    EXPECT_EQ(form.FirstToolbarButton, 1);
    form.LeftButtonClick(&form.LeftButton);
    EXPECT_EQ(form.FirstToolbarButton, 1);
    EXPECT_EQ(shown(), run(1, fit));

    // A first button from the stored values beyond what can be scrolled to is
    // lowered, so that the left arrow moves the row at its first click.
    form.FirstToolbarButton = 13;
    form.ArrangeToolbar();
    EXPECT_EQ(form.FirstToolbarButton, 14 - fit);
    EXPECT_FALSE(form.RightButton.Enabled());

    form.SetWidth(700);
    Application->ProcessMessages();
    EXPECT_EQ(shown(), run(1, 13));
    EXPECT_FALSE(form.LeftButton.Visible());
    EXPECT_FALSE(form.RightButton.Visible());
}

TEST_F(MenusTest, HidingTheToolbarTakesTheButtonsArrowsAndBasketAndGivesTheRowsHeight) {
    THauptform& form = Start();
    form.SetWidth(300);
    Application->ProcessMessages();
    ASSERT_TRUE(form.RightButton.Visible());
    const int height = form.Symbolleiste.Height();
    form.EnableToolbar(false);
    form.EnableToolbar(false);
    // One pixel row stays above the drive bar.
    EXPECT_EQ(form.Symbolleiste.Height(), form.LWPanel.Height() + 1);
    for (TControl* c : std::initializer_list<TControl*>{&form.LeftButton, &form.RightButton, &form.Button1,
                                                       &form.Button13, &form.Sammelbutton})
        EXPECT_FALSE(c->Visible()) << std::string(c->Name().begin(), c->Name().end());
    EXPECT_EQ(form.SizePanel.Top(), form.Symbolleiste.Height());
    form.SetWidth(320);
    Application->ProcessMessages();
    EXPECT_FALSE(form.RightButton.Visible());

    form.EnableToolbar(true);
    EXPECT_EQ(form.Symbolleiste.Height(), height);
    EXPECT_TRUE(form.Sammelbutton.Visible());
    EXPECT_TRUE(form.Button1.Visible());
    EXPECT_TRUE(form.RightButton.Visible());
    EXPECT_FALSE(form.Button13.Visible());
}

TEST_F(MenusTest, AWindowWhoseOptionsHideTheToolbarStartsWithoutIt) {
    const std::wstring before = RegReadUserValue(OptionenSchluessel, L"Ansicht");
    RegWriteUserValue(OptionenSchluessel, L"Ansicht", L"1110");
    THauptform& form = Start();
    EXPECT_FALSE(form.ToolbarShown());
    EXPECT_EQ(form.Symbolleiste.Height(), form.LWPanel.Height() + 1);
    EXPECT_FALSE(form.Sammelbutton.Visible());
    EXPECT_FALSE(form.Button7.Visible());
    EXPECT_FALSE(form.LeftButton.Visible());
    EXPECT_FALSE(form.RightButton.Visible());
    // The settings are saved as the window goes.
    m_form->Free();
    m_form = nullptr;
    if (before.empty())
        RegDeleteUserValue(OptionenSchluessel, L"Ansicht");
    else
        RegWriteUserValue(OptionenSchluessel, L"Ansicht", before);
}

// The orphan search from its menu item, the synchronisation from Ctrl+F10 and
// from its toolbar button: each shows its parameters dialog.
TEST_F(MenusTest, TheOrphanSearchAndTheSynchronisationShowTheirDialogs) {
    THauptform& form = StartWithPane();
    std::vector<std::wstring> captions;
    TModalScript script(10000);
    for (int i = 0; i < 3; ++i)
        script.Step([&](TForm& dialog) {
            captions.push_back(dialog.Caption());
            dialog.SetModalResult(mrCancel);
        });
    form.Dateileichensuchen1.Click();
    Press(m_pane->Handle(), Ctrl(VK_F10));
    form.Button11.Click();
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Dateileichen suchen", L"Verzeichnisse synchronisieren",
                                                   L"Verzeichnisse synchronisieren"}));
}
