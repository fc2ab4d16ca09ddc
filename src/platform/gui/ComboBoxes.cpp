#include "ComboBoxes.h"

#include <commctrl.h>

#include <cwctype>

#include "Application.h"

namespace velmora::gui {

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_color = clWindow;
    m_width = 145;
    m_height = 21;
}

void TComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"COMBOBOX";
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.Style &= ~WS_CLIPCHILDREN;
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL |
               (m_style == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST
                : m_style == TComboBoxStyle::csSimple     ? CBS_SIMPLE
                                                          : CBS_DROPDOWN);
}

// An editable box's keys go to its edit window, which the system made: they
// reach the box's key events (and the form's preview) through this hook, as a
// key of the box itself would. A key used up there goes no further.
LRESULT CALLBACK TComboBox::EditKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data) {
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &TComboBox::EditKeys, id);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    auto* box = reinterpret_cast<TComboBox*>(data);
    try {
        switch (message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            WORD key = static_cast<WORD>(wParam);
            const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
            if (down ? box->DoKeyDown(key, KeyShiftState()) : box->DoKeyUp(key, KeyShiftState())) return 0;
            wParam = key;
            break;
        }
        case WM_CHAR: {
            wchar_t key = static_cast<wchar_t>(wParam);
            if (box->DoKeyPress(key)) return 0;
            wParam = key;
            break;
        }
        }
    } catch (...) {
        HandleCallbackException(box);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The list part is as tall as DropDownCount items: the window height includes it.
void TComboBox::InitWnd() {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (m_style != TComboBoxStyle::csDropDownList && GetComboBoxInfo(m_handle, &info) && info.hwndItem &&
        info.hwndItem != m_handle)
        SetWindowSubclass(info.hwndItem, &TComboBox::EditKeys, 1, reinterpret_cast<DWORD_PTR>(this));
    for (const auto& item : m_items) SendMessageW(m_handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(m_handle, CB_SETCURSEL, static_cast<WPARAM>(m_itemIndex), 0);
    if (m_itemIndex < 0 && m_style != TComboBoxStyle::csDropDownList) SetWindowTextW(m_handle, m_caption.c_str());
    if (MaxLength) SendMessageW(m_handle, CB_LIMITTEXT, static_cast<WPARAM>(MaxLength), 0);
    int itemHeight = static_cast<int>(SendMessageW(m_handle, CB_GETITEMHEIGHT, 0, 0));
    RECT r;
    GetWindowRect(m_handle, &r);
    SetWindowPos(m_handle, nullptr, 0, 0, m_width, (r.bottom - r.top) + itemHeight * DropDownCount + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(m_handle, &r);
    m_height = r.bottom - r.top;
}

void TComboBox::DestroyWnd() {
    m_itemIndex = ItemIndex();
    m_caption = Caption();
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    if (style == m_style) return;
    bool recreate = HandleAllocated();
    if (recreate) DestroyHandle();
    m_style = style;
    if (recreate) HandleNeeded();
}

void TComboBox::SetItems(const TStringList& items) {
    ClearItems();
    for (const auto& item : items) AddItem(item);
}

void TComboBox::AddItem(const std::wstring& item) {
    m_items.Add(item);
    if (m_handle) SendMessageW(m_handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TComboBox::ClearItems() {
    m_items.Clear();
    m_itemIndex = -1;
    if (m_handle) SendMessageW(m_handle, CB_RESETCONTENT, 0, 0);
}

int TComboBox::ItemIndex() const {
    if (!m_handle) return m_itemIndex;
    return static_cast<int>(SendMessageW(m_handle, CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int index) {
    m_itemIndex = index;
    if (index >= 0 && index < m_items.Count()) m_caption = m_items[index];
    if (m_handle) SendMessageW(m_handle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring TComboBox::Caption() const {
    if (!m_handle && m_itemIndex >= 0 && m_itemIndex < m_items.Count()) return m_items[m_itemIndex];
    return TWinControl::Caption();
}

void TComboBox::TextChanged() {
    if (m_style == TComboBoxStyle::csDropDownList) SetItemIndex(m_items.IndexOf(m_caption));
}

bool TComboBox::DroppedDown() const { return m_handle && SendMessageW(m_handle, CB_GETDROPPEDSTATE, 0, 0); }

void TComboBox::SetDroppedDown(bool down) { SendMessageW(Handle(), CB_SHOWDROPDOWN, down, 0); }

bool TComboBox::CNCommand(WORD code) {
    switch (code) {
    case CBN_EDITCHANGE:
    case CBN_SELCHANGE:
        if (code == CBN_SELCHANGE) Click();
        Fire(OnChange, this);
        return true;
    case CBN_DROPDOWN: Fire(OnDropDown, this); return true;
    case CBN_CLOSEUP: Fire(OnCloseUp, this); return true;
    // An editable box's focus is in its edit window, whose focus messages the
    // box only hears of through these; a pick-only box gets its own.
    case CBN_SETFOCUS:
        if (m_style != TComboBoxStyle::csDropDownList) Fire(OnEnter, this);
        return true;
    case CBN_KILLFOCUS:
        if (m_style != TComboBoxStyle::csDropDownList) Fire(OnExit, this);
        return true;
    }
    return false;
}

HBRUSH TComboBox::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

// ---- TDriveComboBox

TDriveComboBox::TDriveComboBox(TComponent* owner) : TComboBox(owner) {
    SetStyle(TComboBoxStyle::csDropDownList);
    BuildList();
}

void TDriveComboBox::BuildList() {
    TStringList list;
    DWORD drives = GetLogicalDrives();
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i))) continue;
        wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        std::wstring entry = std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L":";
        UINT type = GetDriveTypeW(root);
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
            wchar_t label[MAX_PATH + 1] = {};
            if (GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
                entry += std::wstring(L" [") + label + L"]";
        } else if (type == DRIVE_REMOTE) {
            wchar_t remote[MAX_PATH + 1] = {};
            DWORD size = MAX_PATH + 1;
            wchar_t local[] = {root[0], L':', 0};
            if (WNetGetConnectionW(local, remote, &size) == NO_ERROR) entry += std::wstring(L" ") + remote;
        }
        list.Add(entry);
    }
    SetErrorMode(oldMode);
    ShowList(list);
}

TDriveComboBox::TDriveComboBox(TComponent* owner, const TDriveComboBox& Other) : TComboBox(owner) {
    SetStyle(TComboBoxStyle::csDropDownList);
    ShowList(Other.Items());
}

void TDriveComboBox::ShowList(const TStringList& list) {
    SetItems(list);
    for (int i = 0; i < list.Count(); ++i)
        if (list[i][0] == m_drive) SetItemIndex(i);
}

wchar_t TDriveComboBox::Drive() const { return m_drive; }

void TDriveComboBox::SetDrive(wchar_t drive) {
    drive = static_cast<wchar_t>(std::towlower(drive));
    for (int i = 0; i < Items().Count(); ++i)
        if (Items()[i][0] == drive) {
            SetItemIndex(i);
            if (drive != m_drive) {
                m_drive = drive;
                Fire(OnChange, this);
            }
            return;
        }
}

bool TDriveComboBox::CNCommand(WORD code) {
    if (code == CBN_SELCHANGE) {
        int index = ItemIndex();
        if (index >= 0) {
            m_drive = Items()[index][0];
            Click();
            Fire(OnChange, this);
        }
        return true;
    }
    return TComboBox::CNCommand(code);
}

}  // namespace velmora::gui
