#include "ListView.h"

#include <windowsx.h>

#include <algorithm>

#include "Application.h"
#include "ImageList.h"

namespace velmora::gui {

// ---- TListItem

int TListItem::Index() const { return m_owner->IndexOf(this); }

void TListItem::SetCaption(const std::wstring& caption) {
    m_caption = caption;
    Apply();
}

void TListItem::SetSubItems(const TStringList& items) {
    m_subItems = items;
    Apply();
}

void TListItem::AddSubItem(const std::wstring& text) {
    m_subItems.Add(text);
    Apply();
}

void TListItem::SetImageIndex(int index) {
    m_image = index;
    Apply();
}

void TListItem::Apply() {
    if (!m_owner->HandleAllocated()) return;
    int row = Index();
    HWND h = m_owner->Handle();
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = m_caption.data();
    item.iImage = m_image;
    SendMessageW(h, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (int i = 0; i < m_subItems.Count(); ++i) {
        std::wstring text = m_subItems[i];
        LVITEMW sub{};
        sub.iSubItem = i + 1;
        sub.pszText = text.data();
        SendMessageW(h, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
}

bool TListItem::Selected() const {
    return m_owner->HandleAllocated() &&
           (SendMessageW(m_owner->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_SELECTED) & LVIS_SELECTED);
}

void TListItem::SetSelected(bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(m_owner->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Focused() const {
    return m_owner->HandleAllocated() &&
           (SendMessageW(m_owner->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), LVIS_FOCUSED) & LVIS_FOCUSED);
}

void TListItem::SetFocused(bool focused) {
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    item.state = focused ? LVIS_FOCUSED : 0;
    SendMessageW(m_owner->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&item));
}

void TListItem::MakeVisible() { SendMessageW(m_owner->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), FALSE); }

// ---- TListView

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_color = clWindow;
    m_width = 250;
    m_height = 150;
}

TListView::~TListView() {
    BeforeDestruction();
    DestroyHandle();
}

void TListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_LISTVIEWW;
    p.SystemClass = true;
    p.ExStyle = (p.ExStyle & ~WS_EX_CONTROLPARENT) | WS_EX_CLIENTEDGE;
    static const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= styles[static_cast<int>(m_viewStyle)] | LVS_SHAREIMAGELISTS;
    if (!MultiSelect) p.Style |= LVS_SINGLESEL;
    if (!ReadOnly) p.Style |= LVS_EDITLABELS;
    if (!HideSelection) p.Style |= LVS_SHOWSELALWAYS;
    if (!ShowColumnHeaders) p.Style |= LVS_NOCOLUMNHEADER;
    if (OwnerDraw) p.Style |= LVS_OWNERDRAWFIXED;
}

void TListView::InitWnd() {
    if (SmallImages) SendMessageW(m_handle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallImages->Handle()));
    if (LargeImages) SendMessageW(m_handle, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(LargeImages->Handle()));
    for (int i = 0; i < ColumnCount(); ++i) InsertColumnWindow(i);
    for (int i = 0; i < Count(); ++i) InsertItemWindow(m_items[static_cast<size_t>(i)].get(), i);
}

void TListView::DestroyWnd() {
    if (m_viewStyle != TViewStyle::vsReport) return;
    for (int i = 0; i < ColumnCount(); ++i) m_columns[static_cast<size_t>(i)].Width = ColumnWidth(i);
}

// The style switch keeps items and columns: the window is made anew.
void TListView::SetViewStyle(TViewStyle style) {
    if (style == m_viewStyle) return;
    // Column widths mean something else outside the report style: keep them.
    if (m_viewStyle == TViewStyle::vsReport)
        for (int i = 0; i < ColumnCount(); ++i) m_columns[static_cast<size_t>(i)].Width = ColumnWidth(i);
    m_viewStyle = style;
    if (m_handle) {
        static const DWORD styles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        LONG s = GetWindowLongW(m_handle, GWL_STYLE);
        SetWindowLongW(m_handle, GWL_STYLE, (s & ~LVS_TYPEMASK) | styles[static_cast<int>(style)]);
    }
}

void TListView::InsertColumnWindow(int index) {
    TListColumn& c = m_columns[static_cast<size_t>(index)];
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.fmt = c.Alignment == TAlignment::taRightJustify ? LVCFMT_RIGHT
              : c.Alignment == TAlignment::taCenter     ? LVCFMT_CENTER
                                                        : LVCFMT_LEFT;
    col.cx = c.Width;
    col.pszText = c.Caption.data();
    SendMessageW(m_handle, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&col));
}

void TListView::AddColumn(const TListColumn& column) {
    m_columns.push_back(column);
    if (m_handle) InsertColumnWindow(ColumnCount() - 1);
}

void TListView::ClearColumns() {
    if (m_handle)
        while (SendMessageW(m_handle, LVM_DELETECOLUMN, 0, 0)) {
        }
    m_columns.clear();
}

int TListView::ColumnWidth(int index) const {
    if (!m_handle || m_viewStyle != TViewStyle::vsReport) return m_columns.at(static_cast<size_t>(index)).Width;
    return static_cast<int>(SendMessageW(m_handle, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
}

int TListView::IndexOf(const TListItem* item) const {
    auto it = std::find_if(m_items.begin(), m_items.end(), [&](const auto& p) { return p.get() == item; });
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void TListView::InsertItemWindow(TListItem* item, int index) {
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lv.iItem = index;
    lv.pszText = item->m_caption.data();
    lv.iImage = item->m_image;
    lv.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageW(m_handle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    item->Apply();
}

TListItem* TListView::Add() {
    m_items.push_back(std::unique_ptr<TListItem>(new TListItem(this)));
    TListItem* item = m_items.back().get();
    if (m_handle) InsertItemWindow(item, Count() - 1);
    return item;
}

void TListView::Delete(int index) {
    if (m_handle) SendMessageW(m_handle, LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    m_items.erase(m_items.begin() + index);
}

void TListView::Clear() {
    if (m_handle) SendMessageW(m_handle, LVM_DELETEALLITEMS, 0, 0);
    m_items.clear();
}

void TListView::BeginUpdate() {
    if (m_updateCount++ == 0 && m_handle) SendMessageW(m_handle, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
    if (--m_updateCount == 0 && m_handle) {
        SendMessageW(m_handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_handle, nullptr, TRUE);
    }
}

TListItem* TListView::ItemOfRow(int row) const {
    if (row < 0 || !m_handle) return nullptr;
    LVITEMW lv{};
    lv.mask = LVIF_PARAM;
    lv.iItem = row;
    if (!SendMessageW(m_handle, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv))) return nullptr;
    return reinterpret_cast<TListItem*>(lv.lParam);
}

TListItem* TListView::Selected() const {
    if (!m_handle) return nullptr;
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

TListItem* TListView::ItemFocused() const {
    if (!m_handle) return nullptr;
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

int TListView::SelCount() const {
    return m_handle ? static_cast<int>(SendMessageW(m_handle, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

TListItem* TListView::GetItemAt(int x, int y) const {
    if (!m_handle) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
}

namespace {
int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM data) {
    auto* compare = reinterpret_cast<TLVCompareEvent*>(data);
    try {
        return (*compare)(reinterpret_cast<TListItem*>(a), reinterpret_cast<TListItem*>(b));
    } catch (...) {
        HandleCallbackException(nullptr);
        return 0;
    }
}
}  // namespace

// Sorts the window's rows and the item list alike.
void TListView::CustomSort(TLVCompareEvent compare) {
    if (!compare) return;
    std::stable_sort(m_items.begin(), m_items.end(),
                     [&](const auto& a, const auto& b) { return compare(a.get(), b.get()) < 0; });
    if (m_handle) SendMessageW(m_handle, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare), reinterpret_cast<LPARAM>(&CompareItems));
}

bool TListView::CNNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if (nm->uChanged & LVIF_STATE) Fire(OnChange, this, reinterpret_cast<TListItem*>(nm->lParam));
        return true;
    }
    case LVN_COLUMNCLICK: Fire(OnColumnClick, this, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); return true;
    case NM_DBLCLK: DblClick(); return true;
    case NM_CLICK: Click(); return true;
    }
    return false;
}

bool TListView::CNDrawItem(DRAWITEMSTRUCT* dis) {
    if (!OnDrawItem) return false;
    Fire(OnDrawItem, this, ItemOfRow(static_cast<int>(dis->itemID)), dis->rcItem, dis->itemState);
    return true;
}

bool TListView::CNMeasureItem(MEASUREITEMSTRUCT* mis) {
    mis->itemHeight = std::max<UINT>(mis->itemHeight, 17);
    return true;
}

LRESULT TListView::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The list view reports the double click itself (NM_DBLCLK); the mouse
    // event still carries the double-click flag.
    if (message == WM_LBUTTONDBLCLK) {
        MouseDown(TMouseButton::mbLeft, KeyShiftState() | ssLeft | ssDouble, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return DefaultHandler(message, wParam, lParam);
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace velmora::gui
