#include "DMChild_Typen.h"

#include <charconv>

#include "Fehlercode.h"

namespace velmora {

namespace {

const wchar_t* const kUnits[] = {L" Bytes", L" KBytes", L" MBytes", L" GBytes"};

int FieldWidth(float value) {
    if (value > 999.0f) return 4;
    if (value > 99.0f) return 3;
    if (value > 9.0f) return 2;
    return 1;
}

}  // namespace

std::wstring FormatByteSize(float Bytes) {
    Fehlercode = fc::FormatByteSize;
    int unit = 0;
    float value = Bytes;
    while (value >= 1024.0f && unit < 3) {
        value *= 0.0009765625f;
        ++unit;
    }
    char digits[64];
    auto end = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value),
                             std::chars_format::fixed, unit == 0 ? 0 : 2).ptr;
    std::wstring text(digits, end);
    int width = FieldWidth(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, static_cast<size_t>(width) - text.size(), L' ');
    text += kUnits[unit];
    Fehlercode = 0;
    return text;
}

}  // namespace velmora
