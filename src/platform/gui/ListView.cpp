#include "ListView.h"

#include <windowsx.h>

#include <algorithm>

#include "Application.h"
#include "ImageList.h"

namespace velmora::gui {

// ---- TListItem

// In callback mode the item only stores: the window asks for the texts when it
// shows the row, and the caption needs just a repaint of the row.
void TListItem::SetCaption(const std::wstring& caption) {
    m_caption = caption;
    if (m_owner->DisplayCallbacks)
        Update();
    else
        ApplyMain(LVIF_TEXT);
}

// Texts of sub items the new list no longer has are emptied in the window.
void TListItem::SetSubItems(const TStringList& items) {
    const int old = m_subItems.Count();
    m_subItems = items;
    if (m_owner->DisplayCallbacks) return;
    for (int i = 0; i < std::max(old, m_subItems.Count()); ++i) ApplySubItem(i);
}

void TListItem::AddSubItem(const std::wstring& text) {
    m_subItems.Add(text);
    if (!m_owner->DisplayCallbacks) ApplySubItem(m_subItems.Count() - 1);
}

void TListItem::SetImageIndex(int index) {
    m_image = index;
    if (!m_owner->DisplayCallbacks) ApplyMain(LVIF_IMAGE);
}

void TListItem::Update() {
    m_owner->SyncRows();
    if (m_owner->HandleAllocated())
        SendMessageW(m_owner->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(m_index), static_cast<LPARAM>(m_index));
}

void TListItem::ApplyMain(UINT mask) {
    if (!m_owner->HandleAllocated()) return;
    LVITEMW item{};
    item.mask = mask;
    item.iItem = m_index;
    item.pszText = m_caption.data();
    item.iImage = m_image;
    SendMessageW(m_owner->Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TListItem::ApplySubItem(int index) {
    if (!m_owner->HandleAllocated()) return;
    std::wstring text = index < m_subItems.Count() ? m_subItems[index] : std::wstring();
    LVITEMW sub{};
    sub.iSubItem = index + 1;
    sub.pszText = text.data();
    SendMessageW(m_owner->Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(m_index), reinterpret_cast<LPARAM>(&sub));
}

bool TListItem::State(UINT mask) const {
    if (m_owner->KeepsMarks() && (mask & TListView::kItemMarks)) return (m_marks & mask) != 0;
    m_owner->SyncRows();
    return m_owner->HandleAllocated() &&
           (SendMessageW(m_owner->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(m_index), mask) & mask);
}

void TListItem::SetState(UINT mask, bool on) {
    m_owner->SyncRows();
    // A window holding no rows keeps no marks: the item does, and the window
    // asks for them when it draws the row.
    if (m_owner->KeepsMarks() && (mask & TListView::kItemMarks)) {
        const UINT marks = on ? (m_marks | mask) : (m_marks & ~mask);
        if (marks != m_marks) {
            m_marks = marks & TListView::kItemMarks;
            if (m_owner->HandleAllocated() && m_index >= 0)
                SendMessageW(m_owner->Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(m_index), m_index);
        }
        return;
    }
    LVITEMW item{};
    item.stateMask = mask;
    item.state = on ? mask : 0;
    SendMessageW(m_owner->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(m_index), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const { return State(LVIS_SELECTED); }
void TListItem::SetSelected(bool selected) { SetState(LVIS_SELECTED, selected); }
bool TListItem::Focused() const { return State(LVIS_FOCUSED); }
void TListItem::SetFocused(bool focused) { SetState(LVIS_FOCUSED, focused); }
bool TListItem::DropTarget() const { return State(LVIS_DROPHILITED); }
void TListItem::SetDropTarget(bool target) { SetState(LVIS_DROPHILITED, target); }

void TListItem::MakeVisible() {
    m_owner->SyncRows();
    SendMessageW(m_owner->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(m_index), FALSE);
}

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
    if (DisplayCallbacks && RowsOnly) p.Style |= LVS_OWNERDATA;
}

void TListView::InitWnd() {
    if (SmallImages) SendMessageW(m_handle, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SmallImages->Handle()));
    if (LargeImages) SendMessageW(m_handle, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(LargeImages->Handle()));
    for (int i = 0; i < ColumnCount(); ++i) InsertColumnWindow(i);
    if (DisplayCallbacks && RowsOnly) {
        SendMessageW(m_handle, LVM_SETCALLBACKMASK, kItemMarks, 0);
        m_windowRows = 0;
        SyncRows();
        return;
    }
    if (std::max(m_reserved, Count()) > 0)
        SendMessageW(m_handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(std::max(m_reserved, Count())), 0);
    // A visible list redoes its scroll bars after every insert (a server round
    // trip each): the rows go in with redrawing off, which stays off inside an
    // update that began before the window.
    if (m_updateCount > 0 || Count() > 0) SendMessageW(m_handle, WM_SETREDRAW, FALSE, 0);
    if (Count() == 0) return;
    for (int i = 0; i < Count(); ++i) InsertItemWindow(m_items[static_cast<size_t>(i)].get(), i);
    if (m_updateCount == 0) {
        SendMessageW(m_handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_handle, nullptr, TRUE);
    }
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
        // The new layout keeps the old scroll offset, which may leave every
        // row of the focused one's column out of sight.
        SyncRows();
        const auto focused = static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
        if (focused >= 0) SendMessageW(m_handle, LVM_ENSUREVISIBLE, static_cast<WPARAM>(focused), FALSE);
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

void TListView::Renumber(int from) {
    for (size_t i = static_cast<size_t>(from); i < m_items.size(); ++i) m_items[i]->m_index = static_cast<int>(i);
}

// In callback mode a row holds no texts and no image: one message per row, the
// window asks for the rest (a missing sub item is asked for like a callback one).
void TListView::InsertItemWindow(TListItem* item, int index) {
    LVITEMW lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lv.iItem = index;
    lv.pszText = DisplayCallbacks ? LPSTR_TEXTCALLBACKW : item->m_caption.data();
    lv.iImage = DisplayCallbacks ? I_IMAGECALLBACK : item->m_image;
    lv.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageW(m_handle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lv));
    if (DisplayCallbacks) return;
    for (int i = 0; i < item->m_subItems.Count(); ++i) item->ApplySubItem(i);
}

TListItem* TListView::Add() { return AddItem(std::wstring()); }

TListItem* TListView::AddItem(const std::wstring& caption, void* data) {
    m_items.push_back(std::unique_ptr<TListItem>(new TListItem(this)));
    TListItem* item = m_items.back().get();
    item->m_index = Count() - 1;
    item->m_caption = caption;
    item->Data = data;
    if (DisplayCallbacks && RowsOnly) {
        if (m_updateCount == 0) SyncRows();
    } else if (m_handle) {
        InsertItemWindow(item, item->m_index);
    }
    return item;
}

void TListView::Delete(int index) {
    SyncRows();
    if (m_handle && SendMessageW(m_handle, LVM_DELETEITEM, static_cast<WPARAM>(index), 0)) --m_windowRows;
    m_items.erase(m_items.begin() + index);
    Renumber(index);
}

void TListView::Clear() {
    if (m_handle) SendMessageW(m_handle, LVM_DELETEALLITEMS, 0, 0);
    m_items.clear();
    m_windowRows = 0;
}

void TListView::SyncRows() const {
    if (!DisplayCallbacks || !RowsOnly || !m_handle || m_windowRows == Count()) return;
    m_windowRows = Count();
    // The view stays where it is: rows added at the end do not move it.
    SendMessageW(m_handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(m_windowRows), LVSICF_NOSCROLL);
}

void TListView::Reserve(int count) {
    if (count <= Count()) return;
    m_items.reserve(static_cast<size_t>(count));
    m_reserved = count;
    if (m_handle && !(DisplayCallbacks && RowsOnly)) SendMessageW(m_handle, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

// A window that only asks for its rows learns their count once, at the end,
// and draws nothing meanwhile: switching its drawing off and on again would
// only cost (the list view measures all its rows when drawing is switched on).
void TListView::BeginUpdate() {
    if (m_updateCount++ == 0 && m_handle && !(DisplayCallbacks && RowsOnly)) {
        SendMessageW(m_handle, WM_SETREDRAW, FALSE, 0);
        m_redrawOff = true;
    }
}

void TListView::EndUpdate() {
    if (--m_updateCount == 0 && m_handle) {
        SyncRows();
        if (std::exchange(m_redrawOff, false))
            SendMessageW(m_handle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(m_handle, nullptr, TRUE);
    }
}

// The item list follows the window's row order, so a row is its index.
TListItem* TListView::ItemOfRow(int row) const {
    if (row < 0 || row >= Count()) return nullptr;
    return m_items[static_cast<size_t>(row)].get();
}

TListItem* TListView::Selected() const {
    SyncRows();
    if (!m_handle) return nullptr;
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

TListItem* TListView::ItemFocused() const {
    SyncRows();
    if (!m_handle) return nullptr;
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

int TListView::SelCount() const {
    SyncRows();
    return m_handle ? static_cast<int>(SendMessageW(m_handle, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

TListItem* TListView::NextSelected(const TListItem* after) const {
    SyncRows();
    if (!m_handle) return nullptr;
    const WPARAM start = static_cast<WPARAM>(after ? after->m_index : -1);
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, start, LVNI_SELECTED)));
}

void TListView::SelectAll() {
    SyncRows();
    if (!MultiSelect || !m_handle) return;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageW(m_handle, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

// Remembers the selected rows, selects all, then unselects the remembered ones:
// messages for the selected rows only, not for every row.
void TListView::InvertSelection() {
    if (!MultiSelect || !m_handle) return;
    std::vector<int> selected;
    for (TListItem* item = NextSelected(); item; item = NextSelected(item)) selected.push_back(item->m_index);
    SelectAll();
    for (int row : selected) m_items[static_cast<size_t>(row)]->SetSelected(false);
}

TListItem* TListView::DropTarget() const {
    if (KeepsMarks()) {
        for (const auto& item : m_items)
            if (item->m_marks & LVIS_DROPHILITED) return item.get();
        return nullptr;
    }
    SyncRows();
    if (!m_handle) return nullptr;
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_DROPHILITED)));
}

std::unique_ptr<TImageList, TComponentDeleter> TListView::CreateDragImage(TListItem* item, POINT* upperLeft) {
    std::unique_ptr<TImageList, TComponentDeleter> image;
    if (!item || item->m_owner != this || !m_handle) return image;
    SyncRows();
    POINT corner{};
    auto list = reinterpret_cast<HIMAGELIST>(
        SendMessageW(m_handle, LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(item->m_index), reinterpret_cast<LPARAM>(&corner)));
    if (!list) return image;
    image.reset(new TImageList(nullptr));
    image->SetHandle(list, false);
    if (upperLeft) *upperLeft = corner;
    return image;
}

TListItem* TListView::GetItemAt(int x, int y) const {
    SyncRows();
    if (!m_handle) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    return ItemOfRow(static_cast<int>(SendMessageW(m_handle, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))));
}

namespace {

// A stable merge sort of positions that stays inside its ranges whatever the
// comparison answers (a comparison that is no strict ordering cannot run it off
// the ends, as it can std::sort's or std::stable_sort's insertion steps).
std::vector<int> SortedOrder(const std::vector<std::unique_ptr<TListItem>>& items, const TLVCompareEvent& compare) {
    const int n = static_cast<int>(items.size());
    std::vector<int> order(static_cast<size_t>(n)), merged(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
    auto item = [&](int position) { return items[static_cast<size_t>(position)].get(); };
    for (int width = 1; width < n; width *= 2) {
        for (int lo = 0; lo < n; lo += 2 * width) {
            const int mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            int i = lo, j = mid, out = lo;
            // Runs already in order (a folder's enumeration often nearly is) cost
            // one comparison.
            const bool inOrder =
                j < hi && compare(item(order[static_cast<size_t>(j)]), item(order[static_cast<size_t>(j - 1)])) >= 0;
            while (!inOrder && i < mid && j < hi) {
                const bool rightFirst = compare(item(order[static_cast<size_t>(j)]), item(order[static_cast<size_t>(i)])) < 0;
                merged[static_cast<size_t>(out++)] = order[static_cast<size_t>(rightFirst ? j++ : i++)];
            }
            while (i < mid) merged[static_cast<size_t>(out++)] = order[static_cast<size_t>(i++)];
            while (j < hi) merged[static_cast<size_t>(out++)] = order[static_cast<size_t>(j++)];
        }
        order.swap(merged);
    }
    return order;
}

// The window's rows follow the items' new numbers: a strict order, cheap to compare.
// (Only where the rows hold their texts: in callback mode they need not move.)
int CALLBACK CompareByIndex(LPARAM a, LPARAM b, LPARAM) {
    return reinterpret_cast<TListItem*>(a)->Index() - reinterpret_cast<TListItem*>(b)->Index();
}

}  // namespace

// The comparison runs once, over the item list; a comparison that throws leaves
// the order as it was.
void TListView::CustomSort(TLVCompareEvent compare) {
    if (!compare || Count() < 2) return;
    const std::vector<int> order = SortedOrder(m_items, compare);
    const std::vector<TMarkedItem> marked = DisplayCallbacks ? MarkedItems() : std::vector<TMarkedItem>();
    std::vector<std::unique_ptr<TListItem>> sorted;
    sorted.reserve(m_items.size());
    for (int old : order) sorted.push_back(std::move(m_items[static_cast<size_t>(old)]));
    m_items = std::move(sorted);
    Renumber(0);
    if (!m_handle) return;
    if (DisplayCallbacks) {
        MoveMarks(marked);
    } else {
        SendMessageW(m_handle, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareByIndex));
    }
}

// The rows carrying a state (selected, focused, cut, drop highlight) or the
// selection mark, each with its item; walks only those rows.
std::vector<TListView::TMarkedItem> TListView::MarkedItems() const {
    std::vector<TMarkedItem> marked;
    SyncRows();
    if (!m_handle) return marked;
    const int mark = static_cast<int>(SendMessageW(m_handle, LVM_GETSELECTIONMARK, 0, 0));
    std::vector<int> rows;
    // Where the items keep the cut and drop marks, the window would ask every
    // row for them (and the owner would build each row's texts to answer).
    const bool itemMarks = KeepsMarks();
    for (UINT which : {LVNI_SELECTED, LVNI_FOCUSED, LVNI_CUT, LVNI_DROPHILITED}) {
        if (itemMarks && (which == LVNI_CUT || which == LVNI_DROPHILITED)) continue;
        for (int row = static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which)); row >= 0;
             row = static_cast<int>(SendMessageW(m_handle, LVM_GETNEXTITEM, static_cast<WPARAM>(row), which)))
            rows.push_back(row);
    }
    if (mark >= 0) rows.push_back(mark);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        TListItem* item = ItemOfRow(row);
        if (!item) continue;
        const UINT state = static_cast<UINT>(SendMessageW(m_handle, LVM_GETITEMSTATE, static_cast<WPARAM>(row), WindowMovedStates()));
        marked.push_back({item, row, state, row == mark});
    }
    return marked;
}

// In callback mode a row is only a place: row n shows the n-th item whatever the
// window holds for it, so after a sort only the states move to the items' new
// rows (no events), and the window repaints. Moving the window's rows themselves
// costs Wine far more than the comparisons (an in-place merge).
void TListView::MoveMarks(const std::vector<TMarkedItem>& marked) {
    m_movingMarks = true;
    LVITEMW clear{};
    clear.stateMask = WindowMovedStates();
    for (const TMarkedItem& m : marked)
        if (m.State) SendMessageW(m_handle, LVM_SETITEMSTATE, static_cast<WPARAM>(m.Row), reinterpret_cast<LPARAM>(&clear));
    for (const TMarkedItem& m : marked) {
        LVITEMW state{};
        state.stateMask = WindowMovedStates();
        state.state = m.State;
        if (m.State) SendMessageW(m_handle, LVM_SETITEMSTATE, static_cast<WPARAM>(m.Item->m_index), reinterpret_cast<LPARAM>(&state));
        if (m.SelectionMark) SendMessageW(m_handle, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(m.Item->m_index));
    }
    m_movingMarks = false;
    InvalidateRect(m_handle, nullptr, TRUE);
}

// The item a notice speaks of: in callback mode the row's place in the item
// list, else the item the row carries.
TListItem* TListView::ItemOfNotice(const NMLISTVIEW* nm) const {
    if (DisplayCallbacks) return ItemOfRow(nm->iItem);
    return reinterpret_cast<TListItem*>(nm->lParam);
}

void TListView::RequestData(TListItem* item) {
    if (DisplayCallbacks && item) Fire(OnData, this, item);
}

// A request for the caption alone needs nothing from the owner: the list
// styles ask it of every row to size their columns. Texts longer than the
// window's buffer are cut, as the window does itself.
bool TListView::GetDispInfo(NMLVDISPINFOW* info) {
    LVITEMW& lv = info->item;
    TListItem* item = ItemOfRow(lv.iItem);
    if (!item) return true;
    // A question for the marks alone needs nothing from the owner either.
    if (lv.iSubItem != 0 || (lv.mask & ~static_cast<UINT>(LVIF_TEXT | LVIF_STATE)) != 0) RequestData(item);
    if ((lv.mask & LVIF_TEXT) && lv.pszText && lv.cchTextMax > 0) {
        const std::wstring& text = lv.iSubItem == 0 ? item->m_caption
                                   : lv.iSubItem <= item->m_subItems.Count() ? item->m_subItems[lv.iSubItem - 1]
                                                                             : std::wstring();
        const size_t length = std::min(text.size(), static_cast<size_t>(lv.cchTextMax - 1));
        text.copy(lv.pszText, length);
        lv.pszText[length] = L'\0';
    }
    if ((lv.mask & LVIF_IMAGE) && lv.iSubItem == 0) lv.iImage = item->m_image;
    if ((lv.mask & LVIF_STATE) && KeepsMarks())
        lv.state = (lv.state & ~(lv.stateMask & kItemMarks)) | (item->m_marks & lv.stateMask);
    return true;
}

// Typing in a list whose window holds no rows: the window asks for the next row
// whose caption starts with the typed letters (or is them), from a start row on,
// round to the top when asked to.
int TListView::FindCaption(const NMLVFINDITEMW* find) const {
    const LVFINDINFOW& info = find->lvfi;
    if (!(info.flags & (LVFI_STRING | LVFI_PARTIAL)) || !info.psz || Count() == 0) return -1;
    const std::wstring wanted = info.psz;
    const bool partial = (info.flags & LVFI_PARTIAL) != 0;
    const int start = std::clamp(find->iStart, 0, Count());
    const int rows = (info.flags & LVFI_WRAP) ? Count() : Count() - start;
    for (int n = 0; n < rows; ++n) {
        const int row = (start + n) % Count();
        const std::wstring& caption = m_items[static_cast<size_t>(row)]->m_caption;
        if (partial ? caption.size() < wanted.size() : caption.size() != wanted.size()) continue;
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, caption.c_str(), static_cast<int>(wanted.size()),
                           wanted.c_str(), static_cast<int>(wanted.size())) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

// Some list view implementations draw no drop highlight: the row a drag is
// over is drawn in the selection's colours here, so the user sees where the
// drop goes.
bool TListView::DrawDropRow(NMLVCUSTOMDRAW* draw, LRESULT& result) {
    if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    }
    if (draw->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return false;
    const TListItem* row = ItemOfRow(static_cast<int>(draw->nmcd.dwItemSpec));
    if (!row || !row->DropTarget()) return false;
    draw->clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw->clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
    result = CDRF_NEWFONT;
    return true;
}

bool TListView::CNNotify(NMHDR* header, LRESULT& result) {
    result = 0;
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if ((nm->uChanged & LVIF_STATE) && !m_movingMarks) Fire(OnChange, this, ItemOfNotice(nm));
        return true;
    }
    case LVN_ITEMCHANGING: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        bool allow = true;
        if (!m_movingMarks)
            Fire(OnChanging, this, ItemOfNotice(nm), nm->uChanged, nm->uOldState, nm->uNewState, allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    case LVN_BEGINDRAG: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        Fire(OnBeginDrag, this, ItemOfRow(nm->iItem), nm->ptAction);
        return true;
    }
    case LVN_KEYDOWN: Fire(OnKeyNotify, this, reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey); return true;
    case LVN_COLUMNCLICK: Fire(OnColumnClick, this, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem); return true;
    case LVN_GETDISPINFOW: return GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(header));
    case NM_CUSTOMDRAW: return DrawDropRow(reinterpret_cast<NMLVCUSTOMDRAW*>(header), result);
    case LVN_ODFINDITEMW: result = FindCaption(reinterpret_cast<NMLVFINDITEMW*>(header)); return true;
    // A window holding no rows reports a range selected at once (shift and a
    // click) in one notice, where other lists report every row.
    case LVN_ODSTATECHANGED: {
        auto* od = reinterpret_cast<NMLVODSTATECHANGE*>(header);
        if (!m_movingMarks) Fire(OnChange, this, ItemOfRow(od->iFrom));
        return true;
    }
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
