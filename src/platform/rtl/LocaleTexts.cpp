#include "LocaleTexts.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "Strings.h"

namespace velmora {

namespace {

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
    wchar_t buffer[80];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 80) <= 1)
        return fallback;
    return buffer;
}

enum class TDateOrder { DMY, MDY, YMD };

TDateOrder LocaleDateOrder() {
    const std::wstring format = AsciiLower(LocaleText(LOCALE_SSHORTDATE, L"d.M.yyyy"));
    const size_t d = format.find(L'd'), m = format.find(L'm'), y = format.find(L'y');
    if (y < d && y < m)
        return TDateOrder::YMD;
    return m < d ? TDateOrder::MDY : TDateOrder::DMY;
}

std::optional<std::vector<int>> Numbers(std::wstring_view text, std::wstring_view separator) {
    std::vector<int> result;
    for (const std::wstring& part : SplitString(text, separator)) {
        const std::wstring trimmed = Trim(part);
        if (trimmed.empty() || trimmed.size() > 4 || trimmed.find_first_not_of(L"0123456789") != std::wstring::npos)
            return std::nullopt;
        result.push_back(std::stoi(trimmed));
    }
    return result;
}

std::optional<DateParts> ReadDate(std::wstring_view text) {
    auto n = Numbers(text, LocaleDateSeparator());
    if (!n || n->size() < 2 || n->size() > 3)
        return std::nullopt;
    SYSTEMTIME today;
    GetLocalTime(&today);
    DateParts p;
    const TDateOrder order = LocaleDateOrder();
    if (n->size() == 2) {
        // Day and month alone, in the format's order; the year is this one.
        p.year = today.wYear;
        const bool dayFirst = order == TDateOrder::DMY;
        p.day = dayFirst ? (*n)[0] : (*n)[1];
        p.month = dayFirst ? (*n)[1] : (*n)[0];
    } else if (order == TDateOrder::YMD) {
        p.year = (*n)[0], p.month = (*n)[1], p.day = (*n)[2];
    } else {
        p.year = (*n)[2];
        p.day = order == TDateOrder::DMY ? (*n)[0] : (*n)[1];
        p.month = order == TDateOrder::DMY ? (*n)[1] : (*n)[0];
    }
    if (p.year < 100)
        p.year += p.year < 50 ? 2000 : 1900;
    return p;
}

bool ReadTime(std::wstring_view text, DateParts& p) {
    auto n = Numbers(text, LocaleTimeSeparator());
    if (!n || n->size() < 2 || n->size() > 3)
        return false;
    p.hour = (*n)[0];
    p.minute = (*n)[1];
    p.second = n->size() == 3 ? (*n)[2] : 0;
    return true;
}

}  // namespace

std::wstring LocaleDateSeparator() { return LocaleText(LOCALE_SDATE, L"."); }
std::wstring LocaleTimeSeparator() { return LocaleText(LOCALE_STIME, L":"); }
std::wstring LocaleDecimalSeparator() { return LocaleText(LOCALE_SDECIMAL, L","); }

std::optional<TDateTime> TryStrToDateTime(std::wstring_view text) {
    const std::wstring trimmed = Trim(text);
    const size_t blank = trimmed.find(L' ');
    auto date = ReadDate(std::wstring_view(trimmed).substr(0, blank));
    if (!date)
        return std::nullopt;
    if (blank != std::wstring::npos && !ReadTime(Trim(std::wstring_view(trimmed).substr(blank + 1)), *date))
        return std::nullopt;
    return TryEncodeDateTime(*date);
}

std::optional<double> TryStrToFloat(std::wstring_view text) {
    std::wstring s = Trim(text);
    const std::wstring decimal = LocaleDecimalSeparator();
    // The C runtime reads a "." only; the locale's separator stands in for it, and
    // a "." of the user's own text must not sneak through.
    if (s.empty() || (decimal != L"." && s.find(L'.') != std::wstring::npos))
        return std::nullopt;
    if (const size_t at = s.find(decimal); at != std::wstring::npos)
        s.replace(at, decimal.size(), L".");
    if (s.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos)
        return std::nullopt;
    wchar_t* end = nullptr;
    const double value = std::wcstod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

SYSTEMTIME ToSystemTime(TDateTime value) {
    const DateParts p = DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(p.year);
    st.wMonth = static_cast<WORD>(p.month);
    st.wDay = static_cast<WORD>(p.day);
    st.wHour = static_cast<WORD>(p.hour);
    st.wMinute = static_cast<WORD>(p.minute);
    st.wSecond = static_cast<WORD>(p.second);
    return st;
}

}  // namespace

std::wstring LocaleDateText(TDateTime value) {
    const SYSTEMTIME st = ToSystemTime(value);
    wchar_t buffer[80];
    return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 80) > 0 ? std::wstring(buffer)
                                                                                              : std::wstring();
}

std::wstring LocaleTimeText(TDateTime value) {
    const SYSTEMTIME st = ToSystemTime(value);
    wchar_t buffer[80];
    return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, 80) > 0 ? std::wstring(buffer)
                                                                                 : std::wstring();
}

std::wstring LocaleDateTimeText(TDateTime value) {
    const std::wstring date = LocaleDateText(value);
    const std::wstring time = LocaleTimeText(value);
    return date.empty() || time.empty() ? std::wstring() : date + L" " + time;
}

}  // namespace velmora
