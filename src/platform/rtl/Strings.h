#pragma once
// Small string helpers in the manner of the class library's runtime: conversions,
// case mapping of plain ASCII, trimming, splitting and number texts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// Latin-1 bytes to wide characters one to one (names stored by DOS-era archivers
// are shown through this when no code page is known).
std::wstring FromLatin1(std::string_view bytes);

std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);
bool SameTextAscii(std::wstring_view a, std::wstring_view b);

std::wstring Trim(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);
bool StartsWith(std::wstring_view text, std::wstring_view prefix);
bool EndsWith(std::wstring_view text, std::wstring_view suffix);

// Splits at every occurrence of Separator; empty pieces are kept.
std::vector<std::wstring> SplitString(std::wstring_view text, std::wstring_view separator);

// A decimal integer, optionally signed, with nothing else around it.
std::optional<long long> ParseInt(std::wstring_view text);
long long StrToIntDef(std::wstring_view text, long long fallback);
// Raises EConvertError naming the text.
long long StrToInt(std::wstring_view text);
std::wstring IntToStr(long long value);

}  // namespace velmora
