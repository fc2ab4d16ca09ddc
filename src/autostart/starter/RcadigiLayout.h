#pragma once
// Where the digit display puts each character of its text and which cell of the
// strip it copies; kept apart from the control so the arithmetic can be checked
// without a window.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The value in decimal with at least FormatWidth digits (leading zeros), a minus
// sign before them for a negative value.
std::wstring FormatDigitText(std::int32_t value, std::uint16_t formatWidth);

// The strip's cell for a character: digits 0..9, "-" the cell after them, any
// other character the cell of 0.
int DigitCellIndex(wchar_t c);

struct TDigitMetrics {
    int Width = 0;        // of the control
    int Inset = 0;        // bevels, border and margin on each side
    int NumberWidth = 0;  // of one cell
    int Gap = 0;
    int StripWidth = 0;
};

struct TDigitCell {
    int Left = 0;  // in the control
    // The cell's left column in the strip; none when that cell does not lie wholly
    // inside the strip, and the character is left blank.
    std::optional<int> SourceLeft;
};

// Right-aligned, from the last character to the first; characters whose cell does
// not start strictly right of the left inset are dropped. The result runs from the
// rightmost cell leftwards.
std::vector<TDigitCell> LayoutDigits(const std::wstring& text, const TDigitMetrics& m);

}  // namespace velmora
