#pragma once
// TListView: the common list view in list or report style, with items that carry
// sub-items, an image and a data pointer. The enhanced list view builds on it.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/StringList.h"

#include "Controls.h"
#include "ImageList.h"

namespace velmora::gui {

class TImageList;
class TListView;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

class TListItem {
public:
    std::wstring Caption() const { return m_caption; }
    void SetCaption(const std::wstring& caption);
    const TStringList& SubItems() const { return m_subItems; }
    void SetSubItems(const TStringList& items);
    void AddSubItem(const std::wstring& text);
    int ImageIndex() const { return m_image; }
    void SetImageIndex(int index);
    void* Data = nullptr;
    // The row, kept by the list: no search.
    int Index() const { return m_index; }
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    // The highlight of a drop target under a dragged object.
    bool DropTarget() const;
    void SetDropTarget(bool target);
    void MakeVisible();
    // Repaints the row (after its data changed): one message.
    void Update();
    TListView* Owner() const { return m_owner; }

private:
    explicit TListItem(TListView* owner) : m_owner(owner) {}
    void ApplyMain(UINT mask);
    void ApplySubItem(int index);
    bool State(UINT mask) const;
    void SetState(UINT mask, bool on);
    TListView* m_owner;
    int m_index = -1;
    std::wstring m_caption;
    TStringList m_subItems;
    int m_image = -1;
    // Cut and drop highlight, kept here where the window holds no rows.
    UINT m_marks = 0;
    friend class TListView;
};

struct TListColumn {
    std::wstring Caption;
    int Width = 50;
    TAlignment Alignment = TAlignment::taLeftJustify;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item)>;
// Before the window shows a row's texts or image, the list asks the owner once per
// request (a request for the caption alone excepted: the item holds it). The
// handler may set the item's sub items and image; in callback mode these only
// store, no window message. It is called on every request, so it must be cheap
// when nothing is left to build (the owner keeps its own "built" flag).
using TLVDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, int Column)>;
using TLVCompareEvent = std::function<int(TListItem* a, TListItem* b)>;
using TLVDrawItemEvent = std::function<void(TObject* Sender, TListItem* Item, const RECT& Rect, UINT State)>;
// Before a change of an item (Changed: LVIF_STATE, LVIF_TEXT, ...; the states
// are LVIS_ flags): clearing Allow refuses it.
using TLVChangingEvent =
    std::function<void(TObject* Sender, TListItem* Item, UINT Changed, UINT OldState, UINT NewState, bool& Allow)>;
// The user starts dragging Item with the left button, at Pt (client coordinates).
using TLVBeginDragEvent = std::function<void(TObject* Sender, TListItem* Item, POINT Pt)>;
// A key the list view is about to handle itself (after OnKeyDown let it pass).
using TLVKeyNotifyEvent = std::function<void(TObject* Sender, WORD Key)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TViewStyle ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(TViewStyle style);
    bool MultiSelect = false;
    bool ReadOnly = true;
    bool HideSelection = false;
    bool ShowColumnHeaders = true;
    // Report rows drawn by OnDrawItem.
    bool OwnerDraw = false;
    TImageList* SmallImages = nullptr;
    TImageList* LargeImages = nullptr;
    // Rows whose texts and image the window asks for (OnData) instead of holding
    // them: for long lists whose texts cost. Set before the window is made or
    // before rows are added. The caption is still kept by the item.
    bool DisplayCallbacks = false;
    // With DisplayCallbacks: the window holds no rows at all, only their number
    // and which are selected and focused (no other row states). Filling and
    // emptying then cost nothing per row, where a window holding its rows takes
    // time growing with the square of their number to empty. Set before the
    // window is made.
    bool RowsOnly = false;

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    void AddColumn(const TListColumn& column);
    void ClearColumns();
    // The width as the user left it.
    int ColumnWidth(int index) const;
    const TListColumn& Column(int index) const { return m_columns.at(static_cast<size_t>(index)); }

    int Count() const { return static_cast<int>(m_items.size()); }
    TListItem* Items(int index) const { return m_items.at(static_cast<size_t>(index)).get(); }
    TListItem* Add();
    // An item with its caption and data in one step: one message to the window
    // where Add and SetCaption take two (for long fills).
    TListItem* AddItem(const std::wstring& caption, void* data = nullptr);
    void Delete(int index);
    void Clear();
    // Room for Count items in the list and in the window, before a long fill.
    void Reserve(int count);
    void BeginUpdate();
    void EndUpdate();
    TListItem* Selected() const;
    TListItem* ItemFocused() const;
    int SelCount() const;
    // The next selected item after After (the first with nullptr), nullptr at
    // the end: walks only the selected rows.
    TListItem* NextSelected(const TListItem* after = nullptr) const;
    // Selects every item, or swaps selected and unselected ones; both only
    // with MultiSelect. OnChanging may refuse single items.
    void SelectAll();
    void InvertSelection();
    // The item under the drop highlight, if any.
    TListItem* DropTarget() const;
    // An image of the item (icon and label) to drag, and its upper left corner
    // in client coordinates; nullptr when the list cannot make one.
    std::unique_ptr<TImageList, TComponentDeleter> CreateDragImage(TListItem* item, POINT* upperLeft = nullptr);
    TListItem* GetItemAt(int x, int y) const;
    // One pass of the comparison over the items, which the window then shows in
    // that order; a comparison that is no strict ordering is safe.
    void CustomSort(TLVCompareEvent compare);

    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVBeginDragEvent OnBeginDrag;
    TLVKeyNotifyEvent OnKeyNotify;
    TLVColumnClickEvent OnColumnClick;
    TLVDrawItemEvent OnDrawItem;
    TLVDataEvent OnData;

    bool CNNotify(NMHDR* header, LRESULT& result) override;
    bool CNDrawItem(DRAWITEMSTRUCT* item) override;
    bool CNMeasureItem(MEASUREITEMSTRUCT* item) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void DestroyWnd() override;
    // Lets the owner build the item's data before it is shown (callback mode);
    // for rows drawn by the program, which the window does not ask for.
    void RequestData(TListItem* item);

private:
    static constexpr UINT kMovedStates = LVIS_SELECTED | LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
    static constexpr UINT kItemMarks = LVIS_CUT | LVIS_DROPHILITED;
    bool KeepsMarks() const { return DisplayCallbacks && RowsOnly; }
    // The states a sort moves from row to row in the window itself.
    UINT WindowMovedStates() const { return KeepsMarks() ? kMovedStates & ~kItemMarks : kMovedStates; }
    struct TMarkedItem {
        TListItem* Item;
        int Row;
        UINT State;
        bool SelectionMark;
    };
    bool GetDispInfo(NMLVDISPINFOW* info);
    bool DrawDropRow(NMLVCUSTOMDRAW* draw, LRESULT& result);
    std::vector<TMarkedItem> MarkedItems() const;
    void MoveMarks(const std::vector<TMarkedItem>& marked);
    TListItem* ItemOfNotice(const NMLISTVIEW* nm) const;
    void Renumber(int from);
    void InsertItemWindow(TListItem* item, int index);
    void InsertColumnWindow(int index);
    TListItem* ItemOfRow(int row) const;
    // RowsOnly: the window learns the number of rows added in an update at its
    // end, or before anything asks it about a row.
    void SyncRows() const;
    int FindCaption(const NMLVFINDITEMW* find) const;
    TViewStyle m_viewStyle = TViewStyle::vsIcon;
    std::vector<TListColumn> m_columns;
    std::vector<std::unique_ptr<TListItem>> m_items;
    int m_updateCount = 0;
    // Drawing was switched off for the update running.
    bool m_redrawOff = false;
    int m_reserved = 0;
    mutable int m_windowRows = 0;
    bool m_movingMarks = false;
    friend class TListItem;
};

}  // namespace velmora::gui
