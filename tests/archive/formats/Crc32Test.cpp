#include <gtest/gtest.h>
#include <zlib.h>

#include "DecodeTestData.h"
#include "archive/formats/Crc32.h"

namespace velmora::arc::test {
namespace {

std::uint32_t ZlibCrc(const std::uint8_t* data, std::size_t size)
{
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

TEST(Crc32, EveryLengthAndAlignmentMatchesZlib)
{
    const Bytes data = MixedSample(300, 12);
    for (std::size_t start = 0; start < 8; ++start) {
        for (std::size_t size = 0; start + size <= data.size(); ++size) {
            std::uint32_t crc = 0xFFFFFFFF;
            UpdateCrc32(data.data() + start, size, crc);
            ASSERT_EQ(~crc, ZlibCrc(data.data() + start, size)) << start << " " << size;
        }
    }
}

TEST(Crc32, PiecesOfAnySizeGiveTheWholeBuffersCrc)
{
    const Bytes data = MixedSample(100000, 13);
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t at = 0, piece = 1; at < data.size(); at += piece, piece = piece * 3 % 1000 + 1)
        UpdateCrc32(data.data() + at, std::min(piece, data.size() - at), crc);
    EXPECT_EQ(~crc, ZlibCrc(data.data(), data.size()));
}

TEST(Crc32, ByteStepIsTheTableStep)
{
    std::uint32_t bytewise = 0xFFFFFFFF;
    for (char c : std::string("123456789"))
        bytewise = Crc32Byte(bytewise, static_cast<std::uint8_t>(c));
    EXPECT_EQ(~bytewise, 0xCBF43926u);
}

}  // namespace
}  // namespace velmora::arc::test
