#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "DecodeTestData.h"
#include "archive/formats/Inflate.h"

namespace velmora::arc::test {
namespace {

// Raw deflate made by zlib with the given level, strategy and window.
Bytes Deflate(const Bytes& plain, int level, int strategy = Z_DEFAULT_STRATEGY, int windowBits = 15,
              int memLevel = 8)
{
    z_stream z{};
    EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, -windowBits, memLevel, strategy), Z_OK);
    Bytes packed(deflateBound(&z, plain.size()) + 16);
    z.next_in = const_cast<Bytef*>(plain.data());
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = packed.data();
    z.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    packed.resize(z.total_out);
    deflateEnd(&z);
    return packed;
}

Bytes Inflated(const Bytes& packed, std::uint32_t size)
{
    MemorySource source(packed.data(), packed.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
    MemorySink sink;
    Inflate(reader, sink, size);
    return sink.bytes;
}

std::wstring InflateError(const Bytes& packed, std::uint32_t size)
{
    return RaisedMessage([&] { Inflated(packed, size); });
}

struct Variant {
    const char* name;
    int level;
    int strategy;
    int windowBits;
};

TEST(Inflate, DecodesWhatZlibMakesWithEveryLevelAndStrategy)
{
    const Bytes plain = MixedSample(300000, 7);
    const Variant variants[] = {
        {"stored", 0, Z_DEFAULT_STRATEGY, 15}, {"fast", 1, Z_DEFAULT_STRATEGY, 15},
        {"normal", 6, Z_DEFAULT_STRATEGY, 15}, {"best", 9, Z_DEFAULT_STRATEGY, 15},
        {"fixed", 6, Z_FIXED, 15},             {"huffman only", 6, Z_HUFFMAN_ONLY, 15},
        {"runs", 6, Z_RLE, 15},                {"small window", 9, Z_DEFAULT_STRATEGY, 9},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        const Bytes out = Inflated(Deflate(plain, v.level, v.strategy, v.windowBits), plain.size());
        ASSERT_EQ(out.size(), plain.size());
        EXPECT_TRUE(out == plain);
    }
}

TEST(Inflate, DecodesSmallAndEmptyInputs)
{
    for (std::size_t size : {0u, 1u, 2u, 257u, 258u, 259u, 32768u, 32769u}) {
        SCOPED_TRACE(size);
        const Bytes plain = MixedSample(size, 3);
        EXPECT_TRUE(Inflated(Deflate(plain, 9), plain.size()) == plain);
    }
}

TEST(Inflate, DecodesLongRunsAndFarMatches)
{
    Bytes plain(200000, 'x');
    const Bytes noise = MixedSample(40000, 11);
    std::copy(noise.begin(), noise.end(), plain.begin() + 1000);
    std::copy(noise.begin(), noise.begin() + 30000, plain.begin() + 1000 + 40000 + 2767);
    EXPECT_TRUE(Inflated(Deflate(plain, 9), plain.size()) == plain);
}

// Many small dynamic blocks whose statistics change from segment to segment:
// skewed bytes give codes up to 15 bits (entries behind the root tables),
// even ones give short codes, so that an entry left over from the block
// before would show. Over a megabyte, the output buffer moves many times.
TEST(Inflate, EachBlocksCodesReplaceThoseOfTheBlockBefore)
{
    std::mt19937 rng(5);
    Bytes plain;
    while (plain.size() < 1500000) {
        const unsigned kind = rng() % 3;
        const std::size_t length = 2000 + rng() % 30000;
        if (kind == 0) {
            std::geometric_distribution<int> skewed(0.35);
            for (std::size_t i = 0; i < length; ++i)
                plain.push_back(static_cast<std::uint8_t>(std::min(skewed(rng), 255) + 40 * (rng() % 2)));
        } else if (kind == 1) {
            for (std::size_t i = 0; i < length; ++i)
                plain.push_back(static_cast<std::uint8_t>(rng()));
        } else {
            const Bytes text = MixedSample(length, static_cast<unsigned>(rng()));
            plain.insert(plain.end(), text.begin(), text.end());
        }
    }
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_HUFFMAN_ONLY}) {
        SCOPED_TRACE(strategy);
        const Bytes packed = Deflate(plain, 9, strategy, 15, 1);
        EXPECT_TRUE(Inflated(packed, static_cast<std::uint32_t>(plain.size())) == plain);
    }
}

// A dynamic block: 258 literal/length codes (256 and 257 two bits long, every
// literal nine) and the given distance code lengths, all sent through a
// code-length code that gives 0 to 15 four bits each.
void PutDynamicHeader(BitPacker& bits, bool last, const std::vector<int>& distLengths)
{
    auto putCode = [&](unsigned code, int length) {
        for (int i = length - 1; i >= 0; --i)
            bits.Put((code >> i) & 1, 1);
    };
    bits.Put(last, 1);
    bits.Put(2, 2);
    bits.Put(1, 5);
    bits.Put(static_cast<std::uint32_t>(distLengths.size() - 1), 5);
    bits.Put(15, 4);
    for (int symbol : {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15})
        bits.Put(symbol >= 16 ? 0 : 4, 3);
    for (int i = 0; i < 256; ++i)
        putCode(9, 4);
    putCode(2, 4);
    putCode(2, 4);
    for (int length : distLengths)
        putCode(static_cast<unsigned>(length), 4);
}

void PutLiteralA(BitPacker& bits)
{
    for (int i = 8; i >= 0; --i)
        bits.Put(((256u + 'a') >> i) & 1, 1);
}

// A block whose distance code is a single one-bit code follows a block with
// a full distance code: the other bit pattern is no code at all, whatever
// the table of the block before held there.
TEST(Inflate, SingleDistanceCodeAfterAFullOneLeavesTheOtherCodeInvalid)
{
    // Distances 1 and 2, both one bit: the stale one would be a valid match.
    const std::vector<int> full = {1, 1};
    for (unsigned distanceBit : {0u, 1u}) {
        BitPacker bits;
        PutDynamicHeader(bits, false, full);
        PutLiteralA(bits);
        bits.Put(0, 2);  // end of block
        PutDynamicHeader(bits, true, {1});
        PutLiteralA(bits);
        bits.Put(2, 2);  // length 3 (symbol 257, code 01 sent high bit first)
        bits.Put(distanceBit, 1);
        bits.Put(0, 2);
        if (distanceBit == 0)
            EXPECT_TRUE(Inflated(bits.Finish(), 5) == Bytes(5, 'a'));
        else
            EXPECT_EQ(InflateError(bits.Finish(), 5), L"25109");
    }
}

TEST(Inflate, BlockTypeThreeIsABadBlock)
{
    // Last-block bit, then type 3.
    EXPECT_EQ(InflateError({0x07, 0x00}, 10), L"25109");
}

TEST(Inflate, StoredLengthWithoutItsComplementIsABadBlock)
{
    EXPECT_EQ(InflateError({0x01, 0x05, 0x00, 0xFA, 0xFE, 'a', 'b', 'c', 'd', 'e'}, 5), L"25109");
    EXPECT_TRUE(Inflated({0x01, 0x05, 0x00, 0xFA, 0xFF, 'a', 'b', 'c', 'd', 'e'}, 5) == (Bytes{'a', 'b', 'c', 'd', 'e'}));
}

TEST(Inflate, OverSubscribedCodeLengthsCannotBeBuilt)
{
    // Dynamic block, 257 + 1 codes, 4 code-length codes all of length 1.
    EXPECT_EQ(InflateError({0x05, 0x00, 0x92, 0x04, 0x00}, 10), L"25116");
}

TEST(Inflate, DistanceBeforeTheStartIsABadBlock)
{
    // Fixed block: a match of length 3 at distance 1 with no output yet.
    // Bits: 1 (last), 01 (fixed), code 257 = 0000001, distance code 0 = 00000.
    EXPECT_EQ(InflateError({0x03, 0x02, 0x00, 0x00}, 10), L"25109");
}

TEST(Inflate, StreamThatOutgrowsItsDeclaredSizeStopsWithoutWritingMore)
{
    const Bytes plain = MixedSample(100000, 5);
    const Bytes packed = Deflate(plain, 6);
    MemorySource source(packed.data(), packed.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
    MemorySink sink;
    EXPECT_EQ(RaisedMessage([&] { Inflate(reader, sink, 99999); }), L"25109");
    EXPECT_LE(sink.bytes.size(), 99999u);
}

TEST(Inflate, CutStreamEndsWithAnError)
{
    const Bytes plain = MixedSample(100000, 5);
    Bytes packed = Deflate(plain, 6);
    packed.resize(packed.size() / 2);
    MemorySource source(packed.data(), packed.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
    MemorySink sink;
    EXPECT_EQ(RaisedMessage([&] { Inflate(reader, sink, static_cast<std::uint32_t>(plain.size())); }), L"25109");
    EXPECT_LE(sink.bytes.size(), plain.size());
}

TEST(Inflate, EveryCutOfAFixedCodeStreamIsABadBlock)
{
    // Zero bits decode as the fixed end-of-block code: a cut stream must not
    // end "cleanly" on the zeros behind its data.
    const Bytes plain = MixedSample(3000, 4);
    const Bytes packed = Deflate(plain, 6, Z_FIXED);
    for (std::size_t size = 0; size < packed.size(); ++size) {
        SCOPED_TRACE(size);
        const Bytes cut(packed.begin(), packed.begin() + size);
        MemorySource source(cut.data(), cut.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(cut.size()));
        MemorySink sink;
        EXPECT_EQ(RaisedMessage([&] { Inflate(reader, sink, static_cast<std::uint32_t>(plain.size())); }), L"25109");
        EXPECT_LE(sink.bytes.size(), plain.size());
    }
}

TEST(Inflate, CutsOfStoredAndDynamicStreamsAreBadBlocks)
{
    const Bytes plain = MixedSample(70000, 6);
    for (int level : {0, 6}) {
        const Bytes packed = Deflate(plain, level);
        for (std::size_t size = 0; size < packed.size(); size += 1 + size / 3) {
            SCOPED_TRACE(testing::Message() << "level " << level << ", cut at " << size);
            EXPECT_EQ(InflateError(Bytes(packed.begin(), packed.begin() + size), static_cast<std::uint32_t>(plain.size())),
                      L"25109");
        }
        // The last byte holds the end of the final block.
        EXPECT_EQ(InflateError(Bytes(packed.begin(), packed.end() - 1), static_cast<std::uint32_t>(plain.size())), L"25109");
    }
}

TEST(Inflate, ShortMatchesAtEveryDistanceCopyTheirPattern)
{
    // Runs with periods 1 to 20 and lengths 3 to 300, packed as matches.
    Bytes plain;
    for (unsigned period = 1; period <= 20; ++period) {
        for (unsigned length : {3u, 4u, 7u, 8u, 9u, 15u, 16u, 17u, 31u, 258u, 300u}) {
            const Bytes seed = MixedSample(period, period * 31 + length);
            for (unsigned i = 0; i < period + length; ++i)
                plain.push_back(seed[i % period]);
            plain.push_back(static_cast<std::uint8_t>(length));
        }
    }
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_RLE}) {
        SCOPED_TRACE(strategy);
        EXPECT_TRUE(Inflated(Deflate(plain, 9, strategy), static_cast<std::uint32_t>(plain.size())) == plain);
    }
}

TEST(Inflate, RandomDamageNeverRunsPastTheDeclaredSize)
{
    const Bytes plain = MixedSample(20000, 9);
    const Bytes packed = Deflate(plain, 6);
    std::mt19937 rng(42);
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = packed;
        for (int k = 0; k < 3; ++k)
            damaged[rng() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        MemorySource source(damaged.data(), damaged.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(damaged.size()));
        MemorySink sink;
        const std::wstring error = RaisedMessage([&] { Inflate(reader, sink, 20000); });
        EXPECT_TRUE(error.empty() || error == L"25109" || error == L"25116") << round;
        EXPECT_LE(sink.bytes.size(), 20000u);
    }
}

// The loop built for processors with BMI2 and the plain one, each forced,
// over what their fast paths touch: runs of short literal codes, every
// strategy, the hand-over to the careful path at the declared size, cut and
// damaged data.
class InflateLoops : public testing::TestWithParam<inflatedetail::Loop> {
protected:
    void SetUp() override
    {
        if (GetParam() == inflatedetail::Loop::Bmi2 && !inflatedetail::Bmi2Available())
            GTEST_SKIP() << "no BMI2 on this processor";
        inflatedetail::UseLoop(GetParam());
    }
    void TearDown() override { inflatedetail::UseLoop(inflatedetail::Loop::Best); }
};

// Literals only, from a few letters: codes of one to four bits, several of
// them to a refill.
Bytes FewLetters(std::size_t size, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes plain(size);
    for (auto& b : plain) {
        const unsigned r = rng() % 16;
        b = static_cast<std::uint8_t>(r < 8 ? 'e' : r < 12 ? 'n' : r < 14 ? 'r' : r < 15 ? 's' : 't');
    }
    return plain;
}

TEST_P(InflateLoops, DecodeEveryKindOfStream)
{
    const Bytes mixed = MixedSample(300000, 21);
    const Bytes letters = FewLetters(300000, 22);
    for (const Bytes* plain : {&mixed, &letters}) {
        for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED, Z_HUFFMAN_ONLY, Z_RLE}) {
            for (int level : {1, 9}) {
                SCOPED_TRACE(testing::Message() << "strategy " << strategy << ", level " << level);
                const Bytes out = Inflated(Deflate(*plain, level, strategy), static_cast<std::uint32_t>(plain->size()));
                ASSERT_EQ(out.size(), plain->size());
                EXPECT_TRUE(out == *plain);
            }
        }
    }
}

TEST_P(InflateLoops, LiteralRunsNeverWritePastTheDeclaredSize)
{
    const Bytes plain = FewLetters(5000, 23);
    const Bytes packed = Deflate(plain, 6, Z_HUFFMAN_ONLY);
    EXPECT_TRUE(Inflated(packed, 5000) == plain);
    for (std::uint32_t size = 4960; size < 5000; ++size) {
        SCOPED_TRACE(size);
        MemorySource source(packed.data(), packed.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
        MemorySink sink;
        EXPECT_EQ(RaisedMessage([&] { Inflate(reader, sink, size); }), L"25109");
        ASSERT_LE(sink.bytes.size(), size);
        EXPECT_TRUE(std::equal(sink.bytes.begin(), sink.bytes.end(), plain.begin()));
    }
}

TEST_P(InflateLoops, CutAndDamagedStreamsStopWithAnError)
{
    const Bytes plain = FewLetters(40000, 24);
    const Bytes packed = Deflate(plain, 6);
    for (std::size_t size = 0; size < packed.size(); size += 1 + size / 5) {
        SCOPED_TRACE(size);
        EXPECT_EQ(InflateError(Bytes(packed.begin(), packed.begin() + size), 40000), L"25109");
    }
    std::mt19937 rng(25);
    for (int round = 0; round < 200; ++round) {
        Bytes damaged = packed;
        damaged[rng() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        MemorySource source(damaged.data(), damaged.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(damaged.size()));
        MemorySink sink;
        const std::wstring error = RaisedMessage([&] { Inflate(reader, sink, 40000); });
        EXPECT_TRUE(error.empty() || error == L"25109" || error == L"25116") << round;
        EXPECT_LE(sink.bytes.size(), 40000u);
    }
}

INSTANTIATE_TEST_SUITE_P(Loops, InflateLoops,
                         testing::Values(inflatedetail::Loop::Plain, inflatedetail::Loop::Bmi2),
                         [](const testing::TestParamInfo<inflatedetail::Loop>& info) {
                             return info.param == inflatedetail::Loop::Plain ? "Plain" : "Bmi2";
                         });

}  // namespace
}  // namespace velmora::arc::test
