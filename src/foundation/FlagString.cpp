#include "FlagString.h"

namespace velmora {

TFlagStringReader::TFlagStringReader(std::wstring stored, std::wstring_view defaults)
    : m_text(stored.size() == defaults.size() ? std::move(stored) : std::wstring(defaults)) {}

bool TFlagStringReader::Bool(int pos) const { return At(pos) == L'1'; }

std::uint8_t TFlagStringReader::Tri(int pos) const {
    switch (At(pos)) {
    case L'0': return 0;
    case L'1': return 1;
    default: return 2;
    }
}

std::uint8_t TFlagStringReader::Digit(int pos, std::uint8_t max, std::uint8_t fallback) const {
    wchar_t c = At(pos);
    if (c < L'0' || c > L'9') return fallback;
    auto value = static_cast<std::uint8_t>(c - L'0');
    return value > max ? fallback : value;
}

std::wstring TFlagStringReader::Chars(int pos, int count) const {
    return m_text.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count));
}

TFlagStringWriter& TFlagStringWriter::Bool(bool value) {
    m_text += value ? L'1' : L'0';
    return *this;
}

TFlagStringWriter& TFlagStringWriter::Tri(std::uint8_t value) {
    m_text += value == 0 ? L'0' : value == 1 ? L'1' : L'2';
    return *this;
}

TFlagStringWriter& TFlagStringWriter::Digit(unsigned value, unsigned max, unsigned fallback) {
    m_text += static_cast<wchar_t>(L'0' + (value <= max && value <= 9 ? value : fallback % 10));
    return *this;
}

TFlagStringWriter& TFlagStringWriter::Chars(std::wstring_view text) {
    m_text += text;
    return *this;
}

}  // namespace velmora
