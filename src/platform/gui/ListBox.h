#pragma once
// TListBox: a list of strings, single or multiple selection.

#include "platform/rtl/StringList.h"

#include "Controls.h"

namespace velmora::gui {

class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    const TStringList& Items() const { return m_items; }
    void SetItems(const TStringList& items);
    void AddItem(const std::wstring& item);
    void DeleteItem(int index);
    void ClearItems();
    bool MultiSelect = false;
    bool Sorted = false;
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    bool CNCommand(WORD code) override;
    HBRUSH CtlColor(HDC dc) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void DestroyWnd() override;

private:
    TStringList m_items;
    int m_itemIndex = -1;
};

}  // namespace velmora::gui
