#include "Rcadigi.h"

namespace velmora {

using gui::TBevelCut;

TRCADigital::TRCADigital(gui::TComponent* owner) : gui::TPanel(owner) {
    SetBevelInner(TBevelCut::bvLowered);
    SetBevelWidth(3);
    SetColor(gui::clBlack);
    SetCaption(L"");
}

int TRCADigital::Inset() const {
    int inset = BorderWidth() + m_margin;
    if (BevelInner() != TBevelCut::bvNone) inset += BevelWidth();
    if (BevelOuter() != TBevelCut::bvNone) inset += BevelWidth();
    return inset;
}

void TRCADigital::SetNumbers(HBITMAP bitmap) {
    m_numbers.Assign(bitmap);
    m_numberWidth = static_cast<std::uint16_t>(m_numbers.Width() / 10);
    UpdateHeight();
    Invalidate();
}

bool TRCADigital::LoadNumbers(HINSTANCE module, const wchar_t* resourceName) {
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(module, resourceName, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    SetNumbers(loaded);
    if (loaded) DeleteObject(loaded);
    return !m_numbers.Empty();
}

void TRCADigital::SetNumberWidth(std::uint16_t width) {
    m_numberWidth = width;
    Invalidate();
}

void TRCADigital::SetValue(std::int32_t value) {
    m_value = value;
    m_text = FormatDigitText(m_value, m_formatWidth);
    Invalidate();
}

void TRCADigital::SetMargin(std::uint16_t margin) {
    m_margin = margin;
    UpdateHeight();
    Invalidate();
}

void TRCADigital::SetAutoSize(bool autoSize) {
    m_autoSize = autoSize;
    UpdateHeight();
    Invalidate();
}

void TRCADigital::SetGap(std::int32_t gap) {
    m_gap = gap;
    Invalidate();
}

void TRCADigital::SetFormatWidth(std::uint16_t width) {
    m_formatWidth = width;
    SetValue(m_value);
}

void TRCADigital::UpdateHeight() {
    if (!m_autoSize) return;
    int height = m_numbers.Height() + 2 * Inset();
    if (height != Height()) SetHeight(height);
}

void TRCADigital::Resized() {
    gui::TPanel::Resized();
    UpdateHeight();
}

void TRCADigital::Paint() {
    gui::TPanel::Paint();
    int inset = Inset();
    TDigitMetrics metrics{Width(), inset, m_numberWidth, m_gap, m_numbers.Width()};
    m_numbers.DrawCells(Canvas().Handle(), LayoutDigits(m_text, metrics), m_numberWidth, inset);
}

}  // namespace velmora
