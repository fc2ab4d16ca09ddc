#pragma once
// Routines every unit of the archive library shares: CRCs, octal numbers, name
// separators, volume names, progress steps, the entry-name match and time stamps.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/rtl/DateTime.h"

namespace velmora::arc {

// The CRC-32 of ZIP and ARJ (reflected, 0xEDB88320): start with 0xFFFFFFFF and
// invert the result.
void UpdateCrc32(const void* buffer, std::size_t count, std::uint32_t& crc);
// The reflected CRC-16 of LHA, ARC and ZOO (0xA001), started with 0.
void UpdateCrc16(const void* buffer, std::size_t count, std::uint16_t& crc);

// Octal digits to a number; every other character is skipped.
std::uint64_t OctalToInt(std::string_view text);
// Appends "\" to a non-empty text that lacks it.
std::wstring AddBackslash(std::wstring text);
std::wstring SlashToBackslash(std::wstring text);

// The next volume of a multi-volume archive: Number is the decimal number of the
// current volume ("0" for the first) and is increased; the extensions run A01..A99,
// 100..999. At 1000 OutName is empty: there is no further volume.
void NextVolumeName(const std::wstring& archiveName, std::wstring& number, std::wstring& outName);

// True when a progress event is due; LastPercent is updated in any case.
bool ProgressStepReached(bool force, int step, std::uint8_t& lastPercent, std::uint32_t total,
                         std::uint32_t done);

// The match of an entry name against a file pattern. A pattern without
// a folder part is compared with the name's file-name part; one with a folder part
// with the whole name ("/" equals "\"), wildcards included. Case-insensitive.
bool MatchFileSpec(const std::wstring& mask, const std::wstring& name);

// The time-zone bias used for Unix time stamps, in minutes; read from the system
// once, or set by tests.
void InitTimeZoneBias();
void SetTimeZoneBias(int minutes);
int TimeZoneBias();
// Seconds since 1970 (UTC) to the local date and time; a bias of at most 12 in
// absolute value counts as hours.
TDateTime UnixTimeToDateTime(std::int64_t seconds);

// A packed DOS date-time to a date-time; 0 for 0 and for a date that cannot exist.
TDateTime DosToDateTime(std::uint32_t dosDateTime);
// DOS date and time stored as two 16-bit words.
TDateTime DosToDateTime(std::uint16_t date, std::uint16_t time);

// Little-endian fields of a header buffer.
inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace velmora::arc
