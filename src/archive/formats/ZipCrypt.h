#pragma once
// The traditional ZIP encryption: password keys, byte decryption and the check
// of the 12-byte encryption header in front of an entry's data.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::arc {

class ZipCrypt {
public:
    static constexpr std::size_t kHeaderSize = 12;

    void InitKeys(std::string_view password);
    void UpdateKeys(std::uint8_t plain);
    std::uint8_t DecryptByte() const
    {
        const std::uint32_t t = (m_keys[2] & 0xFFFF) | 2;
        return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
    }
    // Decrypts a block of entry data in place.
    void Decrypt(std::uint8_t* data, std::size_t count);

    // Initialises the keys from Password and decrypts a copy of Header (the
    // caller's bytes stay as they are, ready for the next try). True when the
    // last plain byte is the high byte of the DOS time (flag bit 3) or of the
    // CRC-32; the keys are then ready for the entry's data. An empty password
    // never fits.
    bool CheckPassword(const std::uint8_t (&header)[kHeaderSize], std::uint16_t flags,
                       std::string_view password, std::uint16_t dosTime, std::uint32_t crc);

private:
    std::uint32_t m_keys[3] = {};
};

}  // namespace velmora::arc
