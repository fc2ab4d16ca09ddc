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

// The table steps and the carry-less fold (where the processor has it) on
// every length around the fold's 64-byte steps and 16-byte tail, at every
// alignment, from a running CRC that is not the start value.
TEST(Crc32, TableAndFoldAgreeWithZlibOnEveryLengthAndAlignment)
{
    const Bytes data = MixedSample(700, 14);
    const std::uint32_t prefix = ZlibCrc(data.data(), 5);
    for (std::size_t start = 0; start < 16; ++start) {
        for (std::size_t size = 0; start + size <= data.size(); ++size) {
            const std::uint32_t expected = static_cast<std::uint32_t>(
                crc32(prefix, data.data() + start, static_cast<uInt>(size)));
            std::uint32_t tables = ~prefix;
            crc32detail::UpdateTables(data.data() + start, size, tables);
            ASSERT_EQ(~tables, expected) << start << " " << size;
            if (!crc32detail::FoldAvailable())
                continue;
            std::uint32_t folded = ~prefix;
            crc32detail::UpdateFolded(data.data() + start, size, folded);
            ASSERT_EQ(~folded, expected) << start << " " << size;
        }
    }
}

TEST(Crc32, FoldAgreesWithZlibOnLongBuffersOfZerosOnesAndNoise)
{
    if (!crc32detail::FoldAvailable())
        GTEST_SKIP() << "no carry-less multiplication on this processor";
    Bytes noise = MixedSample(1 << 20, 15);
    for (const Bytes& data : {Bytes(100003, 0), Bytes(100003, 0xFF), noise}) {
        std::uint32_t folded = 0xFFFFFFFF;
        crc32detail::UpdateFolded(data.data(), data.size(), folded);
        EXPECT_EQ(~folded, ZlibCrc(data.data(), data.size()));
    }
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
