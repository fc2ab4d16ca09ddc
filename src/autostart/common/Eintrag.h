#pragma once
// One program of the autostart list, shared by the manager and the autostarter.

#include <cstdint>
#include <string>

namespace velmora {

struct TEintrag {
    std::wstring Beschreibung;
    // Full path of the program file, with a drive.
    std::wstring Dateiname;
    std::wstring Parameter;
    // Countdown in seconds, always within kMinWartezeit..kMaxWartezeit.
    std::uint8_t Wartezeit = kDefaultWartezeit;
    // kAktionStarten or kAktionNichtStarten: what happens when the countdown runs out.
    std::uint8_t Aktion = 0;

    static constexpr std::uint8_t kMinWartezeit = 0;
    static constexpr std::uint8_t kMaxWartezeit = 30;
    static constexpr std::uint8_t kDefaultWartezeit = 5;
    static constexpr std::uint8_t kAktionStarten = 0;
    static constexpr std::uint8_t kAktionNichtStarten = 1;

    bool operator==(const TEintrag&) const = default;
};

}  // namespace velmora
