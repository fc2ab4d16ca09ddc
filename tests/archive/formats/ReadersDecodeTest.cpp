// The decoders only the ARJ, LHA, ARC and ZOO readers use, on the packed
// streams of the fixtures (located by streams.txt) and on damaged copies.

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "ReadersTestFiles.h"
#include "archive/formats/ArcUnpack.h"
#include "archive/formats/ArjFastestDecode.h"
#include "archive/formats/Lh1Decode.h"
#include "archive/formats/UnReaderFiles.h"
#include "archive/formats/ZooLzwDecode.h"

using namespace velmora::arc;
using readertest::Bytes;

namespace {

struct Stream {
    std::string archive, method;
    std::size_t offset = 0, packed = 0, unpacked = 0;
    std::string input;
};

std::vector<Stream> Streams()
{
    std::ifstream list(readertest::DataRoot() + "streams.txt");
    std::vector<Stream> streams;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        Stream s;
        fields >> s.archive >> s.method >> s.offset >> s.packed >> s.unpacked >> s.input;
        const bool ours = s.method == "arj4" || s.method == "zoo1" || s.method == "lh1" ||
                          (s.method.rfind("arc", 0) == 0);
        if (ours)
            streams.push_back(s);
    }
    return streams;
}

// Decodes with the decoder of the stream's method; the bytes written.
Bytes Decode(const std::string& method, const Bytes& packed, std::uint32_t unpacked)
{
    MemorySource source(packed.data(), packed.size());
    BufferedReader input(source, static_cast<std::uint32_t>(packed.size()));
    MemorySink sink;
    if (method == "arj4")
        ArjFastestDecode(input, sink, unpacked);
    else if (method == "zoo1")
        ZooLzwDecode(input, sink, unpacked);
    else if (method == "lh1")
        Lh1Decode(input, sink, unpacked);
    else
        ArcUnpack(method[3] - '0', input, sink, unpacked);
    return sink.bytes;
}

Bytes Slice(const Stream& s)
{
    const Bytes archive = readertest::ArchiveBytes(s.archive);
    return Bytes(archive.begin() + static_cast<long>(s.offset),
                 archive.begin() + static_cast<long>(s.offset + s.packed));
}

// The code of what Decode raised, or 0.
int DecodeCode(const std::string& method, const Bytes& packed, std::uint32_t unpacked)
{
    try {
        Decode(method, packed, unpacked);
    } catch (const velmora::Exception& e) {
        return ErrorCodeOf(e);
    }
    return 0;
}

}  // namespace

TEST(ReadersDecode, EveryFixtureStreamDecodesToItsInput)
{
    const auto streams = Streams();
    ASSERT_GE(streams.size(), 30u);
    for (const Stream& s : streams) {
        SCOPED_TRACE(s.archive + " " + s.method + " " + s.input);
        EXPECT_EQ(Decode(s.method, Slice(s), static_cast<std::uint32_t>(s.unpacked)), readertest::Input(s.input));
    }
}

// Damaged data ends with an error or with output no longer than declared,
// and never runs on for long after the packed data is used up.
TEST(ReadersDecode, DamagedStreamsStayBounded)
{
    std::mt19937 random(1995);
    for (const Stream& s : Streams()) {
        if (s.packed < 8)
            continue;
        SCOPED_TRACE(s.archive + " " + s.method);
        for (int round = 0; round < 25; ++round) {
            Bytes packed = Slice(s);
            for (int n = 0; n < 4; ++n)
                packed[random() % packed.size()] = static_cast<std::uint8_t>(random());
            packed.resize(packed.size() / (1 + round % 3));
            const std::uint32_t declared = round % 2 ? static_cast<std::uint32_t>(s.unpacked) : 0x7FFFFFFF;
            try {
                const Bytes out = Decode(s.method, packed, declared);
                EXPECT_LE(out.size(), declared);
                EXPECT_LE(out.size(), 260 * (packed.size() + 64));
            } catch (const velmora::Exception&) {
            }
        }
    }
}

TEST(ReadersDecode, DeclaredSizeEndsTheOutputEvenWhenDataGoesOn)
{
    for (const Stream& s : Streams()) {
        if (s.unpacked < 100)
            continue;
        SCOPED_TRACE(s.archive + " " + s.method);
        const Bytes out = Decode(s.method, Slice(s), 50);
        const Bytes input = readertest::Input(s.input);
        EXPECT_EQ(out, Bytes(input.begin(), input.begin() + 50));
    }
}

TEST(ReadersDecode, ArcDecodersRejectWhatTheyCannotHave)
{
    // A squeeze tree whose node points beyond the tree.
    EXPECT_EQ(DecodeCode("arc4", Bytes{2, 0, 1, 0, 5, 0, 0xFE, 0xFF, 0xFD, 0xFF, 0}, 10), 25118);
    // A tree of node 0 pointing to itself never reaches a leaf.
    EXPECT_EQ(DecodeCode("arc4", Bytes{1, 0, 0, 0, 0, 0, 0, 0}, 10), 25118);
    // Method 8 data names its code width first: only 12 is right.
    EXPECT_EQ(DecodeCode("arc8", Bytes{13, 0x41, 0, 0, 0}, 10), 25113);
    // Packed data that runs out long before the declared size.
    EXPECT_EQ(DecodeCode("arc2", Bytes(20, 'x'), 1000), 25134);
    EXPECT_EQ(DecodeCode("arc1", Bytes(20, 'x'), 20), 0);
}

TEST(ReadersDecode, RunLengthMarkTakenLiterallyIsNotRepeated)
{
    // 'a', mark 0 (a literal 0x90), mark 3: the run repeats 'a', not 0x90.
    EXPECT_EQ(Decode("arc3", Bytes{'a', 0x90, 0, 0x90, 3}, 4), (Bytes{'a', 0x90, 'a', 'a'}));
}

TEST(ReadersDecode, ZooLzwStopsAtItsEndCodeAndRejectsUnknownCodes)
{
    // 9-bit codes, lowest bit first: clear, 'A', end.
    readertest::Bytes packed;
    std::uint32_t bits = 256 | ('A' << 9) | (257u << 18);
    for (int i = 0; i < 4; ++i)
        packed.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    EXPECT_EQ(Decode("zoo1", packed, 100), Bytes{'A'});
    // Clear, 'A', then code 300 long before the table reaches it.
    bits = 256 | ('A' << 9) | (300u << 18);
    packed.clear();
    for (int i = 0; i < 4; ++i)
        packed.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    EXPECT_EQ(DecodeCode("zoo1", packed, 100), 25111);
}
