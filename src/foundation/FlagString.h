#pragma once
// Flag strings: a whole group of settings held in one fixed-length string value.
// A stored string of any other length (a missing value included) stands for the
// group's whole default, so one damaged group never disturbs another.

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Reads the positions of one group; positions count from 1.
class TFlagStringReader {
public:
    TFlagStringReader(std::wstring stored, std::wstring_view defaults);

    const std::wstring& Text() const { return m_text; }
    // True exactly for "1".
    bool Bool(int pos) const;
    // "0" is 0, "1" is 1, anything else 2.
    std::uint8_t Tri(int pos) const;
    // A decimal digit; one above Max, or a character that is no digit at all,
    // gives Fallback.
    std::uint8_t Digit(int pos, std::uint8_t max, std::uint8_t fallback) const;
    // Count characters from Pos on, as they stand.
    std::wstring Chars(int pos, int count) const;

private:
    wchar_t At(int pos) const { return m_text[static_cast<size_t>(pos - 1)]; }
    std::wstring m_text;
};

// Builds a group's string position by position.
class TFlagStringWriter {
public:
    TFlagStringWriter& Bool(bool value);
    // 0 and 1 as they are, every other value as "2".
    TFlagStringWriter& Tri(std::uint8_t value);
    // One decimal digit; a value above Max is written as Fallback, so that the
    // group keeps its length.
    TFlagStringWriter& Digit(unsigned value, unsigned max, unsigned fallback);
    TFlagStringWriter& Chars(std::wstring_view text);
    const std::wstring& Text() const { return m_text; }

private:
    std::wstring m_text;
};

}  // namespace velmora
