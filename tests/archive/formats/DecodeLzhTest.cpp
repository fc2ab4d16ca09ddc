#include <gtest/gtest.h>

#include "DecodeTestData.h"
#include "archive/formats/BitInput.h"
#include "archive/formats/LzhDecode.h"
#include "platform/rtl/Exceptions.h"

namespace velmora::arc::test {
namespace {

Bytes Decode(const Bytes& packed, const LzhParams& params, std::uint32_t size)
{
    MemorySource source(packed.data(), packed.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
    MemorySink sink;
    LzhDecode(reader, sink, params, size);
    return sink.bytes;
}

TEST(LzhDecode, DecodesAnLh5StreamWithFourPositionBits)
{
    const Bytes plain = ReadFixture("lzh-sample.dat");
    const Bytes out = Decode(ReadFixture("lzh-sample.lh5"), kLzhLh5, plain.size());
    ASSERT_EQ(out.size(), plain.size());
    EXPECT_TRUE(out == plain);
}

TEST(LzhDecode, DecodesAnArjMethodOneStreamWhoseMatchesWrapTheWindow)
{
    const Bytes plain = ReadFixture("lzh-sample.dat");
    const Bytes out = Decode(ReadFixture("lzh-sample.arj1"), kLzhArj, plain.size());
    ASSERT_EQ(out.size(), plain.size());
    EXPECT_TRUE(out == plain);
}

TEST(LzhDecode, TruncatedInputStillEndsAtTheUnpackedSize)
{
    const Bytes plain = ReadFixture("lzh-sample.dat");
    Bytes packed = ReadFixture("lzh-sample.lh5");
    packed.resize(packed.size() / 2);
    // Zero bits past the end either decode to wrong bytes or to a bad table;
    // they never run past the unpacked size.
    try {
        const Bytes out = Decode(packed, kLzhLh5, plain.size());
        EXPECT_EQ(out.size(), plain.size());
        EXPECT_FALSE(out == plain);
    } catch (const velmora::Exception& e) {
        EXPECT_EQ(e.Message(), L"Bad Huffman code");
    }
}

// A hand-made block: temporary code with a single symbol, a character table
// of a single literal, a single position code; every code then takes 0 bits.
TEST(LzhDecode, SingleCodeTablesConsumeNoLengths)
{
    // 16 bits block size 3, then 5 bits count 0 + 5 bits symbol 0 (temporary),
    // 9 bits count 0 + 9 bits symbol 'A', 4 bits count 0 + 4 bits symbol 0.
    const Bytes packed = {0x00, 0x03, 0x00, 0x00, 0x04, 0x10, 0x00, 0x00};
    const Bytes out = Decode(packed, kLzhLh5, 3);
    EXPECT_EQ(out, (Bytes{'A', 'A', 'A'}));
}

TEST(LzhDecode, IncompleteCodeTableIsABadHuffmanCode)
{
    // Temporary code count 1 with one length of 1: half of the code space.
    const Bytes packed = {0x00, 0x03, 0x09, 0x00, 0x00, 0x00};
    EXPECT_EQ(RaisedMessage([&] { Decode(packed, kLzhLh5, 3); }), L"Bad Huffman code");
}

TEST(BitInput, PeeksSixteenBitsAndShiftsNewOnesIn)
{
    const Bytes data = {0xA5, 0x3C, 0xF0};
    MemorySource source(data.data(), data.size());
    BufferedReader reader(source, 3);
    BitInput bits(reader);
    EXPECT_EQ(bits.Peek(), 0xA53C);
    EXPECT_EQ(bits.GetBits(4), 0xAu);
    EXPECT_EQ(bits.Peek(), 0x53CF);
    EXPECT_EQ(bits.GetBits(16), 0x53CFu);
    EXPECT_EQ(bits.Peek(), 0x0000);  // past the end: zero bits
}

TEST(BufferedReader, StopsAtThePackedSizeAndReportsEachProgressStep)
{
    Bytes data(1000, 7);
    MemorySource source(data.data(), data.size());
    BufferedReader reader(source, 400);
    std::vector<std::uint32_t> reported;
    reader.SetProgress([&](std::uint32_t done, std::uint32_t) { reported.push_back(done * 100 / 400); }, 25);
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(reader.ReadByte(), 7);
    EXPECT_EQ(reader.ReadByte(), 0);
    EXPECT_EQ(reader.Overrun(), 1u);
    EXPECT_EQ(reported, (std::vector<std::uint32_t>{25, 50, 75, 100}));
}

}  // namespace
}  // namespace velmora::arc::test
