#include "RcadigiLayout.h"

namespace velmora {

std::wstring FormatDigitText(std::int32_t value, std::uint16_t formatWidth) {
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    std::wstring digits = std::to_wstring(magnitude);
    if (digits.size() < formatWidth) digits.insert(0, formatWidth - digits.size(), L'0');
    return value < 0 ? L"-" + digits : digits;
}

int DigitCellIndex(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c == L'-') return 10;
    return 0;
}

std::vector<TDigitCell> LayoutDigits(const std::wstring& text, const TDigitMetrics& m) {
    std::vector<TDigitCell> cells;
    int left = m.Width - m.Inset - m.NumberWidth;
    for (auto it = text.rbegin(); it != text.rend() && left > m.Inset; ++it) {
        TDigitCell cell{left, std::nullopt};
        int source = DigitCellIndex(*it) * m.NumberWidth;
        if (m.NumberWidth > 0 && source + m.NumberWidth <= m.StripWidth) cell.SourceLeft = source;
        cells.push_back(cell);
        left -= m.NumberWidth + m.Gap;
    }
    return cells;
}

}  // namespace velmora
