#include "Menus.h"

#include <algorithm>
#include <map>

#include "Application.h"
#include "Controls.h"
#include "Forms.h"

namespace velmora::gui {

// Command ids stay clear of IDOK..IDHELP, which dialogs send without a control.
static std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

static UINT AllocateCommand(TMenuItem* item) {
    static UINT next = 100;
    auto& commands = Commands();
    do {
        if (++next > 0xEFFF) next = 101;
    } while (commands.count(next));
    commands[next] = item;
    return next;
}

TShortCut ShortCut(WORD key, unsigned shift) {
    TShortCut s = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift) s |= scShift;
    if (shift & ssCtrl) s |= scCtrl;
    if (shift & ssAlt) s |= scAlt;
    return s;
}

static std::wstring KeyName(WORD key) {
    switch (key) {
    case VK_BACK: return L"Rück";
    case VK_TAB: return L"Tab";
    case VK_ESCAPE: return L"Esc";
    case VK_RETURN: return L"Eingabe";
    case VK_SPACE: return L"Leer";
    case VK_PRIOR: return L"Bild auf";
    case VK_NEXT: return L"Bild ab";
    case VK_END: return L"Ende";
    case VK_HOME: return L"Pos1";
    case VK_LEFT: return L"Links";
    case VK_UP: return L"Auf";
    case VK_RIGHT: return L"Rechts";
    case VK_DOWN: return L"Ab";
    case VK_INSERT: return L"Einfg";
    case VK_DELETE: return L"Entf";
    case VK_ADD: return L"Num +";
    case VK_SUBTRACT: return L"Num -";
    case VK_MULTIPLY: return L"Num *";
    case VK_DIVIDE: return L"Num /";
    }
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return L"Num " + std::to_wstring(key - VK_NUMPAD0);
    return {};
}

std::wstring ShortCutToText(TShortCut s) {
    std::wstring name = KeyName(s & 0xFF);
    if (name.empty()) return {};
    std::wstring text;
    if (s & scShift) text += L"Umsch+";
    if (s & scCtrl) text += L"Strg+";
    if (s & scAlt) text += L"Alt+";
    return text + name;
}

// ---- TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), m_command(AllocateCommand(this)) {}

TMenuItem::TMenuItem(TComponent* owner, const std::wstring& caption, TNotifyEvent onClick, TShortCut shortCut)
    : TMenuItem(owner) {
    m_caption = caption;
    m_shortCut = shortCut;
    OnClick = std::move(onClick);
}

TMenuItem::~TMenuItem() {
    BeforeDestruction();
    Commands().erase(m_command);
    if (m_parent) m_parent->Remove(this);
    auto children = m_items;
    m_items.clear();
    for (TMenuItem* child : children) {
        child->m_parent = nullptr;
        if (!child->Owner()) delete child;
    }
    if (m_handle && !m_menu) DestroyMenu(m_handle);
}

void TMenuItem::SetCaption(const std::wstring& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    if (shortCut == m_shortCut) return;
    m_shortCut = shortCut;
    Changed();
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == m_checked) return;
    m_checked = checked;
    if (checked && m_radio && m_parent)
        for (TMenuItem* sibling : m_parent->m_items)
            if (sibling != this && sibling->m_radio && sibling->GroupIndex == GroupIndex) sibling->m_checked = false;
    if (m_parent) m_parent->Rebuild();
}

void TMenuItem::SetRadioItem(bool radio) {
    if (radio == m_radio) return;
    m_radio = radio;
    Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    Changed();
}

void TMenuItem::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    Changed();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

int TMenuItem::MenuIndex() const { return m_parent ? m_parent->IndexOf(this) : -1; }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (item->m_parent) item->m_parent->Remove(item);
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
    Rebuild();
    Changed();  // the parent attaches this item's submenu when it gains one
}

void TMenuItem::Remove(TMenuItem* item) {
    int index = IndexOf(item);
    if (index < 0) return;
    m_items.erase(m_items.begin() + index);
    item->m_parent = nullptr;
    Rebuild();
    Changed();
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    item->Free();
}

void TMenuItem::Clear() {
    while (Count() > 0) Delete(Count() - 1);
}

TMenu* TMenuItem::RootMenu() const {
    const TMenuItem* item = this;
    while (item->m_parent) item = item->m_parent;
    return item->m_menu;
}

HMENU TMenuItem::Handle() {
    if (!m_handle) {
        m_handle = m_menu ? m_menu->CreateHandle() : CreatePopupMenu();
        Rebuild();
    }
    return m_handle;
}

void TMenuItem::Changed() {
    if (m_parent) m_parent->Rebuild();
}

// Re-lists the visible children in this item's HMENU. Submenus are only detached
// (RemoveMenu), never destroyed, since their items keep them.
void TMenuItem::Rebuild() {
    if (!m_handle) return;
    while (GetMenuItemCount(m_handle) > 0) RemoveMenu(m_handle, 0, MF_BYPOSITION);
    for (TMenuItem* item : m_items) {
        if (!item->m_visible) continue;
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        if (item->IsLine()) {
            mi.fMask = MIIM_FTYPE;
            mi.fType = MFT_SEPARATOR;
        } else {
            std::wstring text = item->m_caption;
            if (std::wstring keys = ShortCutToText(item->m_shortCut); !keys.empty()) text += L"\t" + keys;
            mi.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
            mi.fType = item->m_radio ? MFT_RADIOCHECK : 0;
            mi.fState = (item->m_checked ? MFS_CHECKED : 0) | (item->m_enabled ? 0 : MFS_GRAYED);
            mi.wID = item->m_command;
            mi.dwTypeData = text.data();
            if (!item->m_items.empty()) {
                mi.fMask |= MIIM_SUBMENU;
                mi.hSubMenu = item->Handle();
            }
            InsertMenuItemW(m_handle, GetMenuItemCount(m_handle), TRUE, &mi);
            continue;
        }
        InsertMenuItemW(m_handle, GetMenuItemCount(m_handle), TRUE, &mi);
    }
    if (!m_parent && m_menu) m_menu->Rebuilt();
}

void TMenuItem::Click() {
    if (!m_enabled) return;
    Fire(OnClick, this);
}

void TMenuItem::InitPopup() {
    if (!m_menu) Fire(OnClick, this);
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) {
    for (TMenuItem* item : m_items) {
        if (item->m_shortCut == shortCut && item->m_enabled) return item;
        if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
    }
    return nullptr;
}

// ---- menus

TMenu::TMenu(TComponent* owner) : TComponent(owner), m_root(nullptr) { m_root.m_menu = this; }

TMenu::~TMenu() {
    BeforeDestruction();
    if (m_root.m_handle) {
        while (GetMenuItemCount(m_root.m_handle) > 0) RemoveMenu(m_root.m_handle, 0, MF_BYPOSITION);
        DestroyMenu(m_root.m_handle);
        m_root.m_handle = nullptr;
    }
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    TMenuItem* item = m_root.FindShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

void TMainMenu::Rebuilt() {
    if (m_window) DrawMenuBar(m_window);
}

void TPopupMenu::Popup(int x, int y, TControl* component) {
    m_popupComponent = component;
    Fire(OnPopup, this);
    // The owner is the visible top-level window that holds the control, else
    // the main form: a menu owned by a hidden window closes as soon as it opens.
    HWND owner = nullptr;
    if (component)
        if (TForm* form = component->ParentForm(); form && form->HandleAllocated())
            owner = GetAncestor(form->Handle(), GA_ROOT);
    if (!owner || !IsWindowVisible(owner))
        if (TForm* main = Application->MainForm(); main && main->HandleAllocated() && IsWindowVisible(main->Handle()))
            owner = main->Handle();
    if (!owner) owner = Application->UtilityWindow();
    SetForegroundWindow(owner);
    UINT command = static_cast<UINT>(
        TrackPopupMenu(Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, x, y, 0, owner, nullptr));
    if (command) Application->Post([command] { DispatchMenuCommand(command); });
}

bool DispatchMenuCommand(UINT command) {
    TMenuItem* item = FindMenuItemByCommand(command);
    if (!item) return false;
    item->Click();  // may free the item: nothing touches it afterwards
    return true;
}

TMenuItem* FindMenuItemByCommand(UINT command) {
    auto& commands = Commands();
    auto it = commands.find(command);
    return it == commands.end() ? nullptr : it->second;
}

TMenuItem* FindMenuItemBySubmenu(HMENU menu) {
    if (!menu) return nullptr;
    for (auto& [id, item] : Commands())
        if (item->SubmenuHandle() == menu) return item;
    return nullptr;
}

bool IsOwnMenu(HMENU menu) { return FindMenuItemBySubmenu(menu) != nullptr; }

TMenuItem* FindMenuItemIn(HMENU menu, UINT command) {
    TMenuItem* item = FindMenuItemByCommand(command);
    return menu && item && item->Parent() && item->Parent()->SubmenuHandle() == menu ? item : nullptr;
}

}  // namespace velmora::gui
