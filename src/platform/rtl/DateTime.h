#pragma once
// TDateTime: days since 1899-12-30 with the time of day as the fraction, and its
// conversion to and from the packed DOS date and time of FAT and archive headers.

#include <cstdint>
#include <optional>

namespace velmora {

using TDateTime = double;

struct DateParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);

// Empty when the parts do not make a date (month 13, 30 February, hour 24 ...).
std::optional<TDateTime> TryEncodeDateTime(const DateParts& parts);
DateParts DecodeDateTime(TDateTime value);

// DOS packing: date in the high word (bits 15-9 year-1980, 8-5 month, 4-0 day),
// time in the low word (15-11 hour, 10-5 minute, 4-0 seconds/2).
std::optional<TDateTime> DosDateTimeToDateTime(std::uint32_t dosDateTime);
// Years outside 1980..2107 are clamped to the nearest end of the range.
std::uint32_t DateTimeToDosDateTime(TDateTime value);

// Seconds since 1970-01-01 UTC.
TDateTime UnixToDateTime(std::int64_t seconds);
std::int64_t DateTimeToUnix(TDateTime value);

}  // namespace velmora
