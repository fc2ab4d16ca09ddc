#include "archive/formats/ZipCrypt.h"

#include "archive/formats/Crc32.h"

namespace velmora::arc {
void ZipCrypt::InitKeys(std::string_view password)
{
    m_keys[0] = 0x12345678;
    m_keys[1] = 0x23456789;
    m_keys[2] = 0x34567890;
    for (char c : password)
        UpdateKeys(static_cast<std::uint8_t>(c));
}

void ZipCrypt::UpdateKeys(std::uint8_t plain)
{
    m_keys[0] = Crc32Byte(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = Crc32Byte(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
}

void ZipCrypt::Decrypt(std::uint8_t* data, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t plain = data[i] ^ DecryptByte();
        UpdateKeys(plain);
        data[i] = plain;
    }
}

bool ZipCrypt::CheckPassword(const std::uint8_t (&header)[kHeaderSize], std::uint16_t flags,
                             std::string_view password, std::uint16_t dosTime, std::uint32_t crc)
{
    if (password.empty())
        return false;
    InitKeys(password);
    std::uint8_t plain[kHeaderSize];
    for (std::size_t i = 0; i < kHeaderSize; ++i)
        plain[i] = header[i];
    Decrypt(plain, kHeaderSize);
    const std::uint8_t expected = flags & 0x08 ? static_cast<std::uint8_t>(dosTime >> 8)
                                               : static_cast<std::uint8_t>(crc >> 24);
    return plain[kHeaderSize - 1] == expected;
}

}  // namespace velmora::arc
