#include "archive/formats/ZipCrypt.h"

#include <array>

namespace velmora::arc {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrcTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

std::uint32_t CrcStep(std::uint32_t crc, std::uint8_t byte)
{
    return kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

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
    m_keys[0] = CrcStep(m_keys[0], plain);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = CrcStep(m_keys[2], static_cast<std::uint8_t>(m_keys[1] >> 24));
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
