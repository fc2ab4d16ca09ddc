#pragma once
// Main and pop-up menus over HMENU. Items are components (usually created on the
// heap for their form); a command reaches its item by id, and the item is never
// touched after its click handler ran, so a handler may free its own item.

#include <windows.h>

#include <string>
#include <vector>

#include "Component.h"
#include "Events.h"

namespace velmora::gui {

class TControl;
class TMenu;

// A virtual key with scShift, scCtrl and scAlt, as the class library packs it.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD key, unsigned shiftState);
// "Strg+Umsch+F5" and the like, as the menu shows it.
std::wstring ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    TMenuItem(TComponent* owner, const std::wstring& caption, TNotifyEvent onClick = {}, TShortCut shortCut = 0);
    ~TMenuItem() override;

    std::wstring Caption() const { return m_caption; }
    void SetCaption(const std::wstring& caption);
    TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut shortCut);
    bool Checked() const { return m_checked; }
    // A radio item unchecks the other radio items of its group index.
    void SetChecked(bool checked);
    bool RadioItem() const { return m_radio; }
    void SetRadioItem(bool radio);
    int GroupIndex = 0;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool IsLine() const { return m_caption == L"-"; }
    std::wstring Hint;
    int HelpContext = 0;
    TNotifyEvent OnClick;

    int Count() const { return static_cast<int>(m_items.size()); }
    TMenuItem* Items(int index) const { return m_items.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return m_parent; }
    // The menu whose root this item is; null for every other item.
    TMenu* Menu() const { return m_menu; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item) { Insert(Count(), item); }
    void Insert(int index, TMenuItem* item);
    // Unlinks the item without freeing it.
    void Remove(TMenuItem* item);
    // Frees the item at Index.
    void Delete(int index);
    void Clear();

    UINT Command() const { return m_command; }
    HMENU Handle();
    HMENU SubmenuHandle() const { return m_handle; }
    virtual void Click();
    // The submenu is opening.
    void InitPopup();
    TMenuItem* FindShortCut(TShortCut shortCut);

private:
    void Rebuild();
    void Changed();
    void SetMenu(TMenu* menu);
    TMenu* RootMenu() const;

    std::wstring m_caption;
    TShortCut m_shortCut = 0;
    bool m_checked = false, m_radio = false, m_enabled = true, m_visible = true;
    std::vector<TMenuItem*> m_items;
    TMenuItem* m_parent = nullptr;
    TMenu* m_menu = nullptr;  // set on the root item only
    HMENU m_handle = nullptr;
    UINT m_command = 0;
    friend class TMenu;
    friend class TMainMenu;
    friend class TPopupMenu;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;
    // The root item; its children are the menu's entries.
    TMenuItem& Items() { return m_root; }
    HMENU Handle() { return m_root.Handle(); }
    bool IsShortCut(TShortCut shortCut);
    virtual void Rebuilt() {}

protected:
    virtual HMENU CreateHandle() = 0;
    TMenuItem m_root;
    friend class TMenuItem;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    void SetWindow(HWND window) { m_window = window; }
    void Rebuilt() override;

protected:
    HMENU CreateHandle() override { return CreateMenu(); }

private:
    HWND m_window = nullptr;
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Shows the menu at a screen point; the chosen item's click is posted, so it
    // runs after the code that opened the menu has returned.
    void Popup(int x, int y, TControl* component = nullptr);
    TControl* PopupComponent() const { return m_popupComponent; }
    TNotifyEvent OnPopup;

protected:
    HMENU CreateHandle() override { return CreatePopupMenu(); }

private:
    TControl* m_popupComponent = nullptr;
};

bool DispatchMenuCommand(UINT command);
TMenuItem* FindMenuItemByCommand(UINT command);
TMenuItem* FindMenuItemBySubmenu(HMENU menu);
// Menus of others (the shell's context menu) reuse our command ids: a menu
// message counts only when the menu it names is ours.
bool IsOwnMenu(HMENU menu);
// Our item with this command in Menu itself; null for another's menu.
TMenuItem* FindMenuItemIn(HMENU menu, UINT command);

}  // namespace velmora::gui
