#include "ArcShared.h"

#include <array>

#include "ArcPlatform.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

int g_bias = 0;

}  // namespace

std::uint64_t OctalToInt(std::string_view text) {
    std::uint64_t value = 0;
    for (char c : text)
        if (c >= '0' && c <= '7') value = (value << 3) | static_cast<std::uint64_t>(c - '0');
    return value;
}

std::wstring AddBackslash(std::wstring text) {
    if (!text.empty() && text.back() != L'\\') text += L'\\';
    return text;
}

std::wstring SlashToBackslash(std::wstring text) {
    for (auto& c : text)
        if (c == L'/') c = L'\\';
    return text;
}

void NextVolumeName(const std::wstring& archiveName, std::wstring& number, std::wstring& outName) {
    long long n = StrToIntDef(number, 0) + 1;
    number = IntToStr(n);
    if (n < 1 || n > 999) {
        outName.clear();
        return;
    }
    std::wstring ext = n < 10 ? L"A0" + number : n < 100 ? L"A" + number : number;
    outName = ChangeFileExt(archiveName, L"") + L"." + ext;
}

bool ProgressStepReached(bool force, int step, std::uint8_t& lastPercent, std::uint32_t total,
                         std::uint32_t done) {
    if (total == 0 || done == 0) return false;
    auto percent = static_cast<std::uint8_t>(static_cast<std::uint64_t>(done) * 100 / total);
    bool due = percent != lastPercent && (force || (step > 0 && percent % step == 0));
    lastPercent = percent;
    return due;
}

void InitTimeZoneBias() { g_bias = ArcSystemTimeZoneBias(); }
void SetTimeZoneBias(int minutes) { g_bias = minutes; }
int TimeZoneBias() { return g_bias; }

TDateTime UnixTimeToDateTime(std::int64_t seconds) {
    std::int64_t local = seconds - g_bias * static_cast<std::int64_t>(g_bias >= -12 && g_bias <= 12 ? 3600 : 60);
    // Every fourth year is a leap year, as the archivers of the time counted.
    std::int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    std::int64_t secs = local - days * 86400;
    // Whole four-year cycles first, so that no stamp, however far off, takes long.
    std::int64_t cycles = days >= 0 ? days / 1461 : (days - 1460) / 1461;
    if (cycles > 2100 || cycles < -500) return 0.0;
    days -= cycles * 1461;
    int year = 1970 + static_cast<int>(cycles) * 4;
    for (;;) {
        int len = year % 4 == 0 ? 366 : 365;
        if (days < len) break;
        days -= len;
        ++year;
    }
    int month = 1;
    for (;; ++month) {
        int len = month == 2 ? (year % 4 == 0 ? 29 : 28) : DaysInMonth(2001, month);
        if (days < len) break;
        days -= len;
    }
    DateParts p{year, month, static_cast<int>(days) + 1, static_cast<int>(secs / 3600),
                static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60), 0};
    return TryEncodeDateTime(p).value_or(0.0);
}

TDateTime DosToDateTime(std::uint32_t dosDateTime) {
    if (dosDateTime == 0) return 0.0;
    return DosDateTimeToDateTime(dosDateTime).value_or(0.0);
}

TDateTime DosToDateTime(std::uint16_t date, std::uint16_t time) {
    return DosToDateTime((static_cast<std::uint32_t>(date) << 16) | time);
}

}  // namespace velmora::arc
