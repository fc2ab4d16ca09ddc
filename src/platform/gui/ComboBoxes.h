#pragma once
// TComboBox (editable drop-down or pick-only list, switchable at run time) and
// TDriveComboBox (the drives with their labels).

#include "platform/rtl/StringList.h"

#include "Controls.h"

namespace velmora::gui {

enum class TComboBoxStyle { csDropDown, csDropDownList, csSimple };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    TComboBoxStyle Style() const { return m_style; }
    // Re-creates the window; items, index and text are kept.
    void SetStyle(TComboBoxStyle style);
    const TStringList& Items() const { return m_items; }
    void SetItems(const TStringList& items);
    void AddItem(const std::wstring& item);
    void ClearItems();
    int ItemIndex() const;
    // Fires nothing, as the class library does.
    void SetItemIndex(int index);
    std::wstring Caption() const override;
    bool DroppedDown() const;
    void SetDroppedDown(bool down);
    int MaxLength = 0;
    int DropDownCount = 8;
    TNotifyEvent OnChange, OnDropDown, OnCloseUp;
    bool CNCommand(WORD code) override;
    HBRUSH CtlColor(HDC dc) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void DestroyWnd() override;
    void TextChanged() override;

private:
    static LRESULT CALLBACK EditKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR data);
    TComboBoxStyle m_style = TComboBoxStyle::csDropDown;
    TStringList m_items;
    int m_itemIndex = -1;
};

class TDriveComboBox : public TComboBox {
public:
    explicit TDriveComboBox(TComponent* owner);
    // Lists the drives as Other lists them: boxes made together look at the
    // drives once.
    TDriveComboBox(TComponent* owner, const TDriveComboBox& Other);
    wchar_t Drive() const;
    // Selects the drive's entry; fires OnChange when it changes.
    void SetDrive(wchar_t drive);
    // Lists the drives again ("c: [LABEL]").
    void BuildList();
    bool CNCommand(WORD code) override;

private:
    void ShowList(const TStringList& list);

    wchar_t m_drive = L'c';
};

}  // namespace velmora::gui
