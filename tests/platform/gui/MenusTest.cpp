#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

class TMenuForm : public TForm {
public:
    explicit TMenuForm(TComponent* owner) : TForm(owner), MainMenu(this), Edit(this) {
        SetCaption(L"Menütest");
        Position = TPosition::poScreenCenter;
        File = new TMenuItem(this, L"&Datei");
        Refresh = new TMenuItem(this, L"&Aktualisieren", bind(this, &TMenuForm::RefreshClick), VK_F5);
        Hidden = new TMenuItem(this, L"Verborgen", bind(this, &TMenuForm::HiddenClick), ShortCut('X', ssCtrl));
        Hidden->SetVisible(false);
        Disabled = new TMenuItem(this, L"Gesperrt", bind(this, &TMenuForm::HiddenClick), VK_F6);
        Disabled->SetEnabled(false);
        MainMenu.Items().Add(File);
        File->Add(Refresh);
        File->Add(Hidden);
        File->Add(Disabled);
        SetMenu(&MainMenu);
        Edit.SetBounds(8, 8, 120, 21);
        Edit.OnKeyDown = [this](TObject*, WORD& key, TShiftState) { EditKeys.push_back(key); };
    }
    void RefreshClick(TObject* sender) {
        ++Refreshes;
        LastSender = sender;
    }
    void HiddenClick(TObject*) { ++HiddenClicks; }
    TMainMenu MainMenu;
    TEdit Edit;
    TMenuItem *File, *Refresh, *Hidden, *Disabled;
    int Refreshes = 0, HiddenClicks = 0;
    TObject* LastSender = nullptr;
    std::vector<WORD> EditKeys;
};

void PressKey(HWND target, WORD key, bool ctrl = false) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageW(target, WM_KEYDOWN, key, 1);
    Application->ProcessMessages();
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

TEST(Menus, ShortCutsReachTheirItemsBeforeTheFocusedEdit) {
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    form->Show();
    form->Edit.SetFocus();
    ASSERT_EQ(GetFocus(), form->Edit.Handle());
    PressKey(form->Edit.Handle(), VK_F5);
    EXPECT_EQ(form->Refreshes, 1);
    EXPECT_EQ(form->LastSender, form->Refresh);
    // An invisible item's shortcut still works; a disabled one's does not, and
    // its key goes on to the edit.
    PressKey(form->Edit.Handle(), 'X', true);
    EXPECT_EQ(form->HiddenClicks, 1);
    PressKey(form->Edit.Handle(), VK_F6);
    EXPECT_EQ(form->HiddenClicks, 1);
    EXPECT_EQ(form->EditKeys, (std::vector<WORD>{VK_F6}));
}

TEST(Menus, AnItemFreedFromItsOwnClickLeavesTheRunningHandlerIntact) {
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    form->Show();
    // The handler's captured state tells whether its function object survived.
    struct Probe {
        bool* destroyed = nullptr;
        ~Probe() {
            if (destroyed) *destroyed = true;
        }
    };
    bool destroyed = false, aliveAfterFree = false;
    auto probe = std::make_shared<Probe>();
    probe->destroyed = &destroyed;
    auto* item = new TMenuItem(form.get(), L"Weg damit");
    UINT command = item->Command();
    form->File->Add(item);
    item->OnClick = [probe, &destroyed, &aliveAfterFree, item](TObject* sender) {
        EXPECT_EQ(sender, item);
        item->Free();
        aliveAfterFree = !destroyed && probe->destroyed == &destroyed;
    };
    probe.reset();
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    EXPECT_TRUE(aliveAfterFree);
    EXPECT_TRUE(destroyed);  // freed with the last copy, after the handler
    EXPECT_EQ(form->File->Count(), 3);
    EXPECT_EQ(FindMenuItemByCommand(command), nullptr);
    // A second command with the stale id reaches nothing.
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

TEST(Menus, F1OnAHighlightedItemAsksForItsHelpContext) {
    Application->HelpFile = L"Velmora.hlp";
    THelpRecorder help;
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    form->Refresh->HelpContext = 31;
    form->Show();
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_MENUITEM;
    info.iCtrlId = static_cast<int>(form->Refresh->Command());
    info.hItemHandle = form->File->Handle();
    SendMessageW(form->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].Data, 31u);
    Application->HelpFile.clear();
}

TEST(Menus, AnotherOwnersMenuWithOurIdsReachesNoneOfOurItems) {
    Application->HelpFile = L"Velmora.hlp";
    THelpRecorder help;
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    form->Refresh->Hint = L"Aktualisieren|Liest den Ordner neu ein";
    form->Refresh->HelpContext = 31;
    form->Show();
    // As the shell's context menu: its own ids, one the same as an item of ours.
    const UINT shared = form->Refresh->Command();
    HMENU foreign = CreatePopupMenu();
    AppendMenuW(foreign, MF_STRING, shared, L"Fremd");
    std::wstring seen = L"unberührt";
    Application->OnHint = [&](TObject*) { seen = Application->Hint(); };
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(shared, MF_HILITE), reinterpret_cast<LPARAM>(foreign));
    EXPECT_NE(seen, L"Liest den Ordner neu ein");

    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_MENUITEM;
    info.iCtrlId = static_cast<int>(shared);
    info.hItemHandle = foreign;
    SendMessageW(form->Handle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_TRUE(help.Calls().empty());

    // Chosen in that menu, its command reaches the form as ours would.
    SetForegroundWindow(form->Handle());
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    TrackPopupMenu(foreign, TPM_LEFTALIGN, 100, 100, 0, form->Handle(), nullptr);
    Application->ProcessMessages();
    EXPECT_EQ(form->Refreshes, 0);
    // Our own menu's commands still arrive afterwards.
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(shared, MF_HILITE),
                 reinterpret_cast<LPARAM>(form->File->Handle()));
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(shared, 0), 0);
    EXPECT_EQ(form->Refreshes, 1);
    DestroyMenu(foreign);
    Application->OnHint = nullptr;
    Application->HelpFile.clear();
}

TEST(Menus, ARightClickOpensTheControlsPopupWhoseChoiceRunsAfterItHasClosed) {
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    auto* popup = new TPopupMenu(form.get());
    HWND menuWindow = nullptr;
    bool clicked = false, clickedWhileOpen = false;
    popup->Items().Add(new TMenuItem(form.get(), L"&Öffnen", [&](TObject*) {
        clicked = true;
        clickedWhileOpen = menuWindow && IsWindowVisible(menuWindow);
    }));
    popup->Items().Add(new TMenuItem(form.get(), L"&Löschen"));
    form->Edit.PopupMenu = popup;
    form->Show();
    SetForegroundWindow(form->Handle());
    std::vector<std::wstring> shown;
    TMenuLoopWatch open([&](HWND window, HMENU menu) {
        menuWindow = window;
        shown = TMenuLoopWatch::ItemTexts(menu);
        TMenuLoopWatch::ClickItem(window, menu, L"Öffnen");
    });
    MouseClick(ScreenPoint(form->Edit, 10, 10), TMouseButton::mbRight);
    ASSERT_TRUE(open.Ran()) << "no menu window was open";
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Öffnen", L"Löschen"}));
    EXPECT_EQ(popup->PopupComponent(), &form->Edit);
    EXPECT_TRUE(WaitUntil([&] { return clicked; }, 2000));
    EXPECT_FALSE(clickedWhileOpen);
}

TEST(Menus, RadioItemsOfAGroupUncheckEachOther) {
    TMenuItem parent(nullptr);
    auto* a = new TMenuItem(nullptr, L"Name");
    auto* b = new TMenuItem(nullptr, L"Größe");
    for (TMenuItem* i : {a, b}) {
        i->SetRadioItem(true);
        i->GroupIndex = 1;
        parent.Add(i);
    }
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
}

TEST(Menus, ShortCutTextsAreGerman) {
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, ssCtrl | ssShift)), L"Umsch+Strg+F5");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_RETURN, ssAlt)), L"Alt+Eingabe");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, 0)), L"Entf");
}

TEST(Menus, HintsOfSelectedItemsReachTheApplication) {
    std::unique_ptr<TMenuForm, TComponentDeleter> form(Create<TMenuForm>(nullptr));
    form->Refresh->Hint = L"Aktualisieren|Liest den Ordner neu ein";
    form->Show();
    std::wstring seen;
    Application->OnHint = [&](TObject*) { seen = Application->Hint(); };
    SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(form->Refresh->Command(), MF_HILITE),
                 reinterpret_cast<LPARAM>(form->File->Handle()));
    EXPECT_EQ(seen, L"Liest den Ordner neu ein");
    Application->OnHint = nullptr;
}

}  // namespace
