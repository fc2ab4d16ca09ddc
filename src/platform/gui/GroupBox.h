#pragma once
// TGroupBox: a captioned frame that holds controls. TRadioGroup: a group box
// whose items are radio buttons, one of them chosen (ItemIndex).

#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"

#include "Buttons.h"
#include "Controls.h"

namespace velmora::gui {

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);
    RECT AlignRect() override;
    HBRUSH CtlColor(HDC dc) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
};

class TRadioGroup : public TGroupBox {
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;
    const TStringList& Items() const { return m_items; }
    void SetItems(const TStringList& items);
    int ItemIndex() const { return m_itemIndex; }
    // Fires OnClick when the index changes.
    void SetItemIndex(int index);
    int Columns() const { return m_columns; }
    void SetColumns(int columns);
    void SetEnabled(bool enabled) override;
    TRadioButton* Buttons(int index) const { return m_buttons.at(static_cast<size_t>(index)).get(); }

protected:
    void Resized() override;

private:
    void ArrangeButtons();
    TStringList m_items;
    std::vector<std::unique_ptr<TRadioButton>> m_buttons;
    int m_itemIndex = -1;
    int m_columns = 1;
    bool m_updating = false;
};

}  // namespace velmora::gui
