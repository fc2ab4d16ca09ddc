#include "Layout.h"

namespace velmora::gui {

TDialogLayout::TDialogLayout(TControl& reference) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, reference.Font.Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE size{};
    static const wchar_t sample[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32W(dc, sample, 52, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (size.cx > 0) m_baseX = (size.cx / 26 + 1) / 2;
    if (tm.tmHeight > 0) m_baseY = tm.tmHeight;
}

int TDialogLayout::X(int units) const { return MulDiv(units, m_baseX, 4); }
int TDialogLayout::Y(int units) const { return MulDiv(units, m_baseY, 8); }

void TDialogLayout::Place(TControl& c, int x, int y, int width, int height) const {
    c.SetBounds(X(x), Y(y), X(width), Y(height));
}

void TDialogLayout::Row(int x, int y, int height, std::initializer_list<std::pair<TControl*, int>> items, int gap) const {
    for (auto& [control, width] : items) {
        Place(*control, x, y, width, height);
        x += width + gap;
    }
}

void TDialogLayout::Column(int x, int y, int width, std::initializer_list<std::pair<TControl*, int>> items,
                           int gap) const {
    for (auto& [control, height] : items) {
        Place(*control, x, y, width, height);
        y += height + gap;
    }
}

void TDialogLayout::SetClientSize(TControl& form, int width, int height) const {
    form.SetClientSize(X(width), Y(height));
}

}  // namespace velmora::gui
