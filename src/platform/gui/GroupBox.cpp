#include "GroupBox.h"

#include <algorithm>

namespace velmora::gui {

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    m_width = 185;
    m_height = 105;
    ParentColor = true;
}

void TGroupBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = L"BUTTON";
    p.SystemClass = true;
    p.Style |= BS_GROUPBOX;
}

// The frame's caption takes the top line.
RECT TGroupBox::AlignRect() {
    RECT r = ClientRect();
    r.top += 15;
    InflateRect(&r, -2, -2);
    return r;
}

HBRUSH TGroupBox::CtlColor(HDC dc) {
    SetBkColor(dc, ColorToRGB(EffectiveColor()));
    SetTextColor(dc, ColorToRGB(Font.Color));
    return ColorBrush();
}

LRESULT TGroupBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The button class would not erase behind its children's captions.
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(m_handle, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, ColorBrush());
        return 1;
    }
    // A group box says it is transparent to hit tests; its children must get the mouse.
    if (message == WM_NCHITTEST) return HTCLIENT;
    return TWinControl::WndProc(message, wParam, lParam);
}

TRadioGroup::TRadioGroup(TComponent* owner) : TGroupBox(owner) {}

TRadioGroup::~TRadioGroup() {
    m_buttons.clear();
}

void TRadioGroup::SetItems(const TStringList& items) {
    m_items = items;
    m_buttons.clear();
    for (int i = 0; i < items.Count(); ++i) {
        auto button = std::make_unique<TRadioButton>(nullptr);
        button->SetParent(this);
        button->SetCaption(items[i]);
        button->SetEnabled(m_enabled);
        button->OnClick = [this, i](TObject*) {
            if (!m_updating) SetItemIndex(i);
        };
        m_buttons.push_back(std::move(button));
    }
    if (m_itemIndex >= items.Count()) m_itemIndex = -1;
    if (m_itemIndex >= 0) {
        m_updating = true;
        m_buttons[static_cast<size_t>(m_itemIndex)]->SetChecked(true);
        m_updating = false;
    }
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= m_items.Count()) index = -1;
    if (index == m_itemIndex) return;
    m_itemIndex = index;
    m_updating = true;
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) m_buttons[static_cast<size_t>(i)]->SetChecked(i == index);
    m_updating = false;
    Click();
}

void TRadioGroup::SetColumns(int columns) {
    m_columns = std::clamp(columns, 1, 16);
    ArrangeButtons();
}

void TRadioGroup::SetEnabled(bool enabled) {
    TGroupBox::SetEnabled(enabled);
    for (auto& b : m_buttons) b->SetEnabled(enabled);
}

void TRadioGroup::Resized() {
    ArrangeButtons();
    TGroupBox::Resized();
}

void TRadioGroup::ArrangeButtons() {
    if (m_buttons.empty()) return;
    RECT r = AlignRect();
    int rows = (static_cast<int>(m_buttons.size()) + m_columns - 1) / m_columns;
    int width = (r.right - r.left) / m_columns, height = std::max<int>(1, (r.bottom - r.top) / rows);
    for (int i = 0; i < static_cast<int>(m_buttons.size()); ++i) {
        int column = i / rows, row = i % rows;
        m_buttons[static_cast<size_t>(i)]->SetBounds(r.left + 6 + column * width, r.top + row * height,
                                                     width - 8, std::min(height, 17));
    }
}

}  // namespace velmora::gui
