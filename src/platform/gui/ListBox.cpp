#include "ListBox.h"

namespace velmora::gui {

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_color = clWindow;
    m_width = 121;
    m_height = 97;
}

void TListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"LISTBOX";
    p.SystemClass = true;
    p.ExStyle = (p.ExStyle & ~WS_EX_CONTROLPARENT) | WS_EX_CLIENTEDGE;
    p.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | (MultiSelect ? LBS_EXTENDEDSEL : 0) |
               (Sorted ? LBS_SORT : 0);
}

void TListBox::InitWnd() {
    for (const auto& item : m_items) SendMessageW(m_handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SetItemIndex(m_itemIndex);
}

void TListBox::DestroyWnd() { m_itemIndex = ItemIndex(); }

void TListBox::SetItems(const TStringList& items) {
    ClearItems();
    for (const auto& item : items) AddItem(item);
}

void TListBox::AddItem(const std::wstring& item) {
    m_items.Add(item);
    if (m_handle) SendMessageW(m_handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TListBox::DeleteItem(int index) {
    m_items.Delete(index);
    if (m_handle) SendMessageW(m_handle, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::ClearItems() {
    m_items.Clear();
    m_itemIndex = -1;
    if (m_handle) SendMessageW(m_handle, LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemIndex() const {
    if (!m_handle) return m_itemIndex;
    return static_cast<int>(SendMessageW(m_handle, MultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TListBox::SetItemIndex(int index) {
    m_itemIndex = index;
    if (!m_handle) return;
    if (MultiSelect) SendMessageW(m_handle, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    else SendMessageW(m_handle, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool TListBox::Selected(int index) const {
    return m_handle && SendMessageW(m_handle, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TListBox::SetSelected(int index, bool selected) {
    if (MultiSelect) SendMessageW(Handle(), LB_SETSEL, selected, index);
    else SendMessageW(Handle(), LB_SETCURSEL, selected ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1), 0);
}

int TListBox::SelCount() const {
    if (!m_handle) return 0;
    if (MultiSelect) return static_cast<int>(SendMessageW(m_handle, LB_GETSELCOUNT, 0, 0));
    return SendMessageW(m_handle, LB_GETCURSEL, 0, 0) >= 0 ? 1 : 0;
}

bool TListBox::CNCommand(WORD code) {
    if (code == LBN_SELCHANGE) Click();
    else if (code == LBN_DBLCLK) DblClick();
    else return false;
    return true;
}

HBRUSH TListBox::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

}  // namespace velmora::gui
