#include "DateTime.h"

#include <cmath>

namespace velmora {

namespace {

// Days from 0001-01-01 to the given date (proleptic Gregorian).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;  // days since 1970-01-01
}

const long long kDays1899To1970 = 25569;

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

std::optional<TDateTime> TryEncodeDateTime(const DateParts& p) {
    if (!IsValidDate(p.year, p.month, p.day)) return std::nullopt;
    if (p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 || p.second < 0 ||
        p.second > 59 || p.millisecond < 0 || p.millisecond > 999)
        return std::nullopt;
    double days = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) + kDays1899To1970);
    double frac = (p.hour * 3600000.0 + p.minute * 60000.0 + p.second * 1000.0 + p.millisecond) /
                  86400000.0;
    // The class library's convention: before 1899-12-30 the fraction still counts forward.
    return days >= 0 ? days + frac : days - frac;
}

DateParts DecodeDateTime(TDateTime value) {
    DateParts p;
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long long ms = std::llround(frac * 86400000.0);
    if (ms >= 86400000) {
        ms -= 86400000;
        whole += value >= 0 ? 1 : -1;
    }
    long long z = static_cast<long long>(whole) - kDays1899To1970 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    p.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    p.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    p.year = static_cast<int>(y + (p.month <= 2));
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.millisecond = static_cast<int>(ms % 1000);
    return p;
}

std::optional<TDateTime> DosDateTimeToDateTime(std::uint32_t dos) {
    DateParts p;
    p.year = static_cast<int>(((dos >> 25) & 0x7F) + 1980);
    p.month = static_cast<int>((dos >> 21) & 0x0F);
    p.day = static_cast<int>((dos >> 16) & 0x1F);
    p.hour = static_cast<int>((dos >> 11) & 0x1F);
    p.minute = static_cast<int>((dos >> 5) & 0x3F);
    p.second = static_cast<int>((dos & 0x1F) * 2);
    return TryEncodeDateTime(p);
}

std::uint32_t DateTimeToDosDateTime(TDateTime value) {
    DateParts p = DecodeDateTime(value);
    if (p.year < 1980) return (0u << 25) | (1u << 21) | (1u << 16);
    if (p.year > 2107) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    return (static_cast<std::uint32_t>(p.year - 1980) << 25) | (static_cast<std::uint32_t>(p.month) << 21) |
           (static_cast<std::uint32_t>(p.day) << 16) | (static_cast<std::uint32_t>(p.hour) << 11) |
           (static_cast<std::uint32_t>(p.minute) << 5) | static_cast<std::uint32_t>(p.second / 2);
}

TDateTime UnixToDateTime(std::int64_t seconds) {
    return static_cast<double>(kDays1899To1970) + static_cast<double>(seconds) / 86400.0;
}

std::int64_t DateTimeToUnix(TDateTime value) {
    return std::llround((value - static_cast<double>(kDays1899To1970)) * 86400.0);
}

}  // namespace velmora
