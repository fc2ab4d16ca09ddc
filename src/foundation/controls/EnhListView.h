#pragma once
// TEnhListView: the list view of every file list. It adds owner drawing of report
// rows with a per-item icon, sorting by a column, rows whose texts are built only
// when shown, and saving of the column widths.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/gui/Graphics.h"
#include "platform/gui/ListView.h"

namespace velmora {

enum class TAutoColumnSort { acsNoSort, acsSort, acsSortToggle };
enum class TLVStyle { lvStandard, lvOwnerDrawFixed };
// ODS_SELECTED, ODS_FOCUS, ... of the draw request.
using TOwnerDrawState = UINT;

struct TEnhLVSaveSettings {
    bool AutoSave = false;
    // Below the current user's branch; the widths go to its "Columns" key.
    std::wstring RegistryKey;
    bool SaveColumnSizes = true;
};

using TLVDrawItemEvent = std::function<void(gui::TWinControl* Control, gui::TCanvas& Canvas, int Index, RECT Rect,
                                            TOwnerDrawState State, bool& DefaultDrawing)>;
using TLVAfterDrawItemEvent =
    std::function<void(gui::TWinControl* Control, gui::TCanvas& Canvas, int Index, RECT Rect, TOwnerDrawState State)>;
using TLVSortItemsEvent = std::function<void(gui::TObject* Sender, gui::TListItem* Item1, gui::TListItem* Item2,
                                             int SortColumn, int& CompResult)>;

// The built-in comparison of two texts, ascending: whole days when both are dates
// of the locale, then numbers by value, then the locale's case-sensitive order.
// It is no strict ordering ("1.5.2020" equals "1.5.2020 23:00", which a number
// or text may not), so it only ever feeds the list view's sort, which allows that.
int CompareEnhTexts(const std::wstring& A, const std::wstring& B);

class TCustomEnhListView : public gui::TListView {
public:
    explicit TCustomEnhListView(gui::TComponent* owner);
    ~TCustomEnhListView() override;

    TAutoColumnSort AutoColumnSort = TAutoColumnSort::acsNoSort;
    bool AutoSortAscending() const { return m_autoSortAscending; }
    void SetAutoSortAscending(bool value);
    bool CurrentSortAscending() const { return m_currentSortAscending; }
    int LastColumnSorted() const { return m_lastColumn; }
    TEnhLVSaveSettings SaveSettings;
    TLVStyle Style() const { return m_style; }
    // Makes the window anew when it exists.
    void SetStyle(TLVStyle style);

    gui::TNotifyEvent OnSortBegin, OnSortFinished;
    TLVDrawItemEvent OnDrawItem;
    TLVAfterDrawItemEvent OnAfterDefaultDrawItem;
    TLVSortItemsEvent OnSortItems;

    // Column 0 sorts by the caption, n by the n-th sub item.
    void SortByColumn(int Column, bool Ascending);
    void Resort();
    void DefaultDrawItem(int Index, const RECT& Rect, TOwnerDrawState State);
    void SaveColumnSizes();
    void LoadColumnSizes();
    // The text a column shows for an item: caption or sub item, empty beyond them.
    static std::wstring ColumnText(gui::TListItem* Item, int Column);

    bool CNDrawItem(DRAWITEMSTRUCT* item) override;
    bool CNNotify(NMHDR* header, LRESULT& result) override;

protected:
    void InitWnd() override;
    void DestroyWnd() override;

private:
    // Ascending, by OnSortItems or else by the column's texts.
    int CompareItems(gui::TListItem* a, gui::TListItem* b, int column);
    void ColumnClicked(int column);
    void PaintRow(gui::TCanvas& canvas, int index, const RECT& rect, TOwnerDrawState state);
    int TextStart(const RECT& rect) const;

    bool m_autoSortAscending = true;
    bool m_currentSortAscending = true;
    int m_lastColumn = -1;
    TLVStyle m_style = TLVStyle::lvStandard;
    std::unique_ptr<gui::TCanvas> m_canvas;
};

class TEnhListView : public TCustomEnhListView {
public:
    using TCustomEnhListView::TCustomEnhListView;
};

}  // namespace velmora
