#pragma once
// Reading dates and numbers typed in the user's locale (for German: "14.3.2021
// 15:26:08" and "1,5"), as the class library's conversion functions read them.

#include <optional>
#include <string>
#include <string_view>

#include "DateTime.h"

namespace velmora {

std::wstring LocaleDateSeparator();
std::wstring LocaleTimeSeparator();
std::wstring LocaleDecimalSeparator();

// The locale's short date ("9.1.2026"), its time ("14:05:00"), and both with a
// blank between; empty where the system cannot format the value.
std::wstring LocaleDateText(TDateTime value);
std::wstring LocaleTimeText(TDateTime value);
std::wstring LocaleDateTimeText(TDateTime value);

// A date in the order of the locale's short date format with its separator,
// day and month alone taking the current year, optionally followed by a blank and
// a time "h:m" or "h:m:s". Two-digit years are 1950 to 2049.
std::optional<TDateTime> TryStrToDateTime(std::wstring_view text);
// An optionally signed decimal number with the locale's decimal separator and an
// optional exponent; blanks around it are allowed, thousands separators are not.
std::optional<double> TryStrToFloat(std::wstring_view text);

}  // namespace velmora
