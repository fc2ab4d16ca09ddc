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
    int Index() const;
    bool Selected() const;
    void SetSelected(bool selected);
    bool Focused() const;
    void SetFocused(bool focused);
    void MakeVisible();
    TListView* Owner() const { return m_owner; }

private:
    explicit TListItem(TListView* owner) : m_owner(owner) {}
    void Apply();
    TListView* m_owner;
    std::wstring m_caption;
    TStringList m_subItems;
    int m_image = -1;
    friend class TListView;
};

struct TListColumn {
    std::wstring Caption;
    int Width = 50;
    TAlignment Alignment = TAlignment::taLeftJustify;
};

using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, int Column)>;
using TLVCompareEvent = std::function<int(TListItem* a, TListItem* b)>;
using TLVDrawItemEvent = std::function<void(TObject* Sender, TListItem* Item, const RECT& Rect, UINT State)>;

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

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    void AddColumn(const TListColumn& column);
    void ClearColumns();
    // The width as the user left it.
    int ColumnWidth(int index) const;
    const TListColumn& Column(int index) const { return m_columns.at(static_cast<size_t>(index)); }

    int Count() const { return static_cast<int>(m_items.size()); }
    TListItem* Items(int index) const { return m_items.at(static_cast<size_t>(index)).get(); }
    TListItem* Add();
    void Delete(int index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    TListItem* Selected() const;
    TListItem* ItemFocused() const;
    int SelCount() const;
    TListItem* GetItemAt(int x, int y) const;
    void CustomSort(TLVCompareEvent compare);

    TLVChangeEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TLVDrawItemEvent OnDrawItem;

    bool CNNotify(NMHDR* header, LRESULT& result) override;
    bool CNDrawItem(DRAWITEMSTRUCT* item) override;
    bool CNMeasureItem(MEASUREITEMSTRUCT* item) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void DestroyWnd() override;

private:
    int IndexOf(const TListItem* item) const;
    void InsertItemWindow(TListItem* item, int index);
    void InsertColumnWindow(int index);
    TListItem* ItemOfRow(int row) const;
    TViewStyle m_viewStyle = TViewStyle::vsIcon;
    std::vector<TListColumn> m_columns;
    std::vector<std::unique_ptr<TListItem>> m_items;
    int m_updateCount = 0;
    friend class TListItem;
};

}  // namespace velmora::gui
