#include "EnhListView.h"

#include <cmath>

#include "platform/gui/Application.h"
#include "platform/gui/ImageList.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using gui::TListItem;

namespace {

constexpr int kTextIndent = 5;
constexpr int kIconLeft = 2;
constexpr int kImageTextIndent = 20;

int Sign(double v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

std::wstring ColumnsKey(const std::wstring& registryKey) {
    std::wstring key = registryKey;
    if (!key.empty() && key.back() != L'\\')
        key += L'\\';
    return key + L"Columns";
}

}  // namespace

int CompareEnhTexts(const std::wstring& A, const std::wstring& B) {
    const std::wstring separator = LocaleDateSeparator();
    if (A.find(separator) != std::wstring::npos && B.find(separator) != std::wstring::npos) {
        const auto a = TryStrToDateTime(A), b = TryStrToDateTime(B);
        if (a && b)
            return static_cast<int>(std::trunc(*a - *b));
    }
    if (const auto a = TryStrToFloat(A), b = TryStrToFloat(B); a && b)
        return Sign(*a - *b);
    return CompareStringW(LOCALE_USER_DEFAULT, 0, A.c_str(), static_cast<int>(A.size()), B.c_str(),
                          static_cast<int>(B.size())) -
           CSTR_EQUAL;
}

TCustomEnhListView::TCustomEnhListView(gui::TComponent* owner) : gui::TListView(owner) {}

// Here, while DestroyWnd is still ours: the base destructor would skip the save.
TCustomEnhListView::~TCustomEnhListView() { DestroyHandle(); }

void TCustomEnhListView::SetAutoSortAscending(bool value) {
    m_autoSortAscending = value;
    m_currentSortAscending = value;
}

void TCustomEnhListView::SetStyle(TLVStyle style) {
    if (style == m_style)
        return;
    m_style = style;
    OwnerDraw = style == TLVStyle::lvOwnerDrawFixed;
    if (HandleAllocated()) {
        DestroyHandle();
        HandleNeeded();
    }
}

void TCustomEnhListView::InitWnd() {
    gui::TListView::InitWnd();
    if (m_style == TLVStyle::lvOwnerDrawFixed)
        m_canvas = std::make_unique<gui::TCanvas>();
    else
        m_canvas.reset();
    if (SaveSettings.AutoSave)
        LoadColumnSizes();
}

void TCustomEnhListView::DestroyWnd() {
    if (SaveSettings.AutoSave && SaveSettings.SaveColumnSizes)
        SaveColumnSizes();
    gui::TListView::DestroyWnd();
}

std::wstring TCustomEnhListView::ColumnText(TListItem* Item, int Column) {
    if (!Item)
        return {};
    if (Column == 0)
        return Item->Caption();
    const TStringList& sub = Item->SubItems();
    return Column - 1 < sub.Count() ? sub[Column - 1] : std::wstring();
}

// One pass of the comparison; a handler that throws is reported once and leaves
// the order as it was.
void TCustomEnhListView::SortByColumn(int Column, bool Ascending) {
    gui::Fire(OnSortBegin, this);
    m_lastColumn = Column;
    m_currentSortAscending = Ascending;
    const int factor = Ascending ? 1 : -1;
    try {
        CustomSort([this, Column, factor](TListItem* a, TListItem* b) { return CompareItems(a, b, Column) * factor; });
    } catch (...) {
        gui::HandleCallbackException(this);
    }
    gui::Fire(OnSortFinished, this);
}

void TCustomEnhListView::Resort() {
    if (AutoColumnSort != TAutoColumnSort::acsNoSort && m_lastColumn >= 0 && m_lastColumn < ColumnCount())
        SortByColumn(m_lastColumn, m_currentSortAscending);
}

int TCustomEnhListView::CompareItems(TListItem* a, TListItem* b, int column) {
    if (OnSortItems) {
        int result = 0;
        OnSortItems(this, a, b, column, result);
        return result;
    }
    return CompareEnhTexts(ColumnText(a, column), ColumnText(b, column));
}

void TCustomEnhListView::ColumnClicked(int column) {
    if (AutoColumnSort == TAutoColumnSort::acsSortToggle)
        m_currentSortAscending = column == m_lastColumn ? !m_currentSortAscending : m_autoSortAscending;
}

bool TCustomEnhListView::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != LVN_COLUMNCLICK)
        return gui::TListView::CNNotify(header, result);
    const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
    ColumnClicked(column);
    gui::TListView::CNNotify(header, result);
    if (AutoColumnSort != TAutoColumnSort::acsNoSort && column >= 0 && column < ColumnCount())
        SortByColumn(column, m_currentSortAscending);
    return true;
}

int TCustomEnhListView::TextStart(const RECT& rect) const {
    return rect.left + (SmallImages ? SmallImages->Width() + 2 : 0);
}

bool TCustomEnhListView::CNDrawItem(DRAWITEMSTRUCT* dis) {
    if (m_style != TLVStyle::lvOwnerDrawFixed || !m_canvas)
        return gui::TListView::CNDrawItem(dis);
    if (dis->itemID < static_cast<UINT>(Count()))
        RequestData(Items(static_cast<int>(dis->itemID)));
    m_canvas->Attach(dis->hDC);
    m_canvas->Font = Font;
    m_canvas->Brush.Color = Color();
    m_canvas->Brush.Style = gui::TBrushStyle::bsSolid;
    PaintRow(*m_canvas, static_cast<int>(dis->itemID), dis->rcItem, dis->itemState);
    m_canvas->Detach();
    return true;
}

void TCustomEnhListView::PaintRow(gui::TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state) {
    bool defaultDrawing = false;
    gui::Fire(OnDrawItem, this, canvas, index, rect, state, defaultDrawing);
    if (defaultDrawing) {
        canvas.FillRect(rect);
        RECT textArea = rect;
        textArea.left = TextStart(rect);
        if (state & ODS_SELECTED) {
            canvas.Brush.Color = gui::clHighlight;
            canvas.Font.Color = gui::clHighlightText;
            canvas.FillRect(textArea);
        }
        DefaultDrawItem(index, rect, state);
        if (state & ODS_FOCUS)
            canvas.DrawFocusRect(textArea);
    }
    gui::Fire(OnAfterDefaultDrawItem, this, canvas, index, rect, state);
}

void TCustomEnhListView::DefaultDrawItem(int Index, const RECT& Rect, TOwnerDrawState State) {
    if (!m_canvas || Index < 0 || Index >= Count())
        return;
    TListItem* item = Items(Index);
    const int height = Rect.bottom - Rect.top;
    if (SmallImages && item->ImageIndex() >= 0) {
        const UINT style = (State & ODS_FOCUS) ? ILD_FOCUS : (State & ODS_SELECTED) ? ILD_SELECTED : ILD_NORMAL;
        SmallImages->Draw(*m_canvas, Rect.left + kIconLeft, Rect.top + (height - SmallImages->Height()) / 2,
                          item->ImageIndex(), style);
    }
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    int x = Rect.left;
    for (int column = 0; column < ColumnCount(); ++column) {
        const int width = ColumnWidth(column);
        const int indent = column == 0 && SmallImages ? kImageTextIndent : kTextIndent;
        RECT cell{x + indent, Rect.top, x + width, Rect.bottom};
        if (cell.right > cell.left)
            m_canvas->DrawText(ColumnText(item, column), cell, flags);
        x += width;
    }
}

void TCustomEnhListView::SaveColumnSizes() {
    if (SaveSettings.RegistryKey.empty() || !HandleAllocated())
        return;
    std::wstring sizes;
    for (int i = 0; i < ColumnCount(); ++i)
        sizes += (i ? L"," : L"") + std::to_wstring(ColumnWidth(i));
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (reg.OpenKey(ColumnsKey(SaveSettings.RegistryKey), true))
        reg.WriteString(L"Sizes", sizes);
}

void TCustomEnhListView::LoadColumnSizes() {
    if (SaveSettings.RegistryKey.empty())
        return;
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKeyReadOnly(ColumnsKey(SaveSettings.RegistryKey)) || !reg.ValueExists(L"Sizes"))
        return;
    std::wstring stored;
    try {
        stored = reg.ReadString(L"Sizes");
    } catch (const ERegistryException&) {
        return;  // not a text: as good as missing
    }
    const std::vector<std::wstring> sizes = SplitString(stored, L",");
    for (int i = 0; i < ColumnCount() && i < static_cast<int>(sizes.size()); ++i) {
        const auto width = ParseInt(Trim(sizes[static_cast<size_t>(i)]));
        if (!width)
            break;
        SendMessageW(Handle(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), static_cast<LPARAM>(*width));
    }
}

}  // namespace velmora
