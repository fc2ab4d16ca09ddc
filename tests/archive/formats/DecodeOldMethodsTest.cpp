#include <gtest/gtest.h>
#include <zlib.h>

#include "DecodeTestData.h"
#include "archive/formats/Explode.h"
#include "archive/formats/Unreduce.h"
#include "archive/formats/Unshrink.h"

namespace velmora::arc::test {
namespace {

std::vector<std::wstring> g_warnings;

Bytes DecodeEntry(const RawZipEntry& e, std::uint32_t size)
{
    MemorySource source(e.packed.data(), e.packed.size());
    BufferedReader reader(source, static_cast<std::uint32_t>(e.packed.size()));
    MemorySink sink;
    if (e.method == 1)
        Unshrink(reader, sink, size);
    else if (e.method >= 2 && e.method <= 5)
        Unreduce(reader, sink, e.method - 1, size);
    else
        Explode(reader, sink, e.flags, size, [](const std::wstring& text) { g_warnings.push_back(text); });
    return sink.bytes;
}

std::uint32_t Crc(const Bytes& b)
{
    return static_cast<std::uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size())));
}

void ExpectEveryEntryDecodes(const std::string& fixture, std::size_t expectedEntries)
{
    const auto entries = ReadZipEntries(fixture);
    ASSERT_EQ(entries.size(), expectedEntries);
    for (const RawZipEntry& e : entries) {
        SCOPED_TRACE(e.name);
        const Bytes out = DecodeEntry(e, e.size);
        EXPECT_EQ(out.size(), e.size);
        EXPECT_EQ(Crc(out), e.crc);
    }
}

TEST(Unshrink, DecodesEntriesWithWideningAndPartialClearing)
{
    ExpectEveryEntryDecodes("shrink.zip", 2);
}

TEST(Unreduce, DecodesEveryFactorIncludingLongLengthFields)
{
    ExpectEveryEntryDecodes("reduce.zip", 4);
}

TEST(Explode, DecodesBothWindowsWithTwoAndThreeTrees)
{
    ExpectEveryEntryDecodes("implode.zip", 4);
}

TEST(Explode, AmbiguousTreeWarnsThenFailsAsBadBlock)
{
    g_warnings.clear();
    const auto entries = ReadZipEntries("implode-ambiguous.zip");
    EXPECT_EQ(RaisedMessage([&] { DecodeEntry(entries.at(0), entries[0].size); }), L"25109");
    EXPECT_EQ(g_warnings, (std::vector<std::wstring>{L"Ambiguous Shannon-Fano decode tree encountered!"}));
}

TEST(OldMethods, DamagedStreamsStopAtTheDeclaredSize)
{
    for (const char* fixture : {"shrink.zip", "reduce.zip", "implode.zip"}) {
        for (RawZipEntry e : ReadZipEntries(fixture)) {
            SCOPED_TRACE(e.name);
            for (std::size_t at = 40; at < e.packed.size(); at += e.packed.size() / 7)
                e.packed[at] ^= 0x5A;
            e.packed.resize(e.packed.size() * 2 / 3);
            Bytes out;
            const std::wstring error = RaisedMessage([&] { out = DecodeEntry(e, e.size); });
            EXPECT_LE(out.size(), e.size);
            if (error.empty()) {
                EXPECT_NE(Crc(out), e.crc);
            }
        }
    }
}

TEST(Unshrink, ControlCodeOtherThanWidenOrClearIsABadBlock)
{
    // 9-bit codes: 'A', then 256 followed by 3.
    BitPacker bits;
    bits.Put('A', 9);
    bits.Put(256, 9);
    bits.Put(3, 9);
    RawZipEntry e{"x", 0, 1, 0, 10, bits.Finish()};
    EXPECT_EQ(RaisedMessage([&] { DecodeEntry(e, 10); }), L"25109");
}

TEST(Unshrink, UndefinedFirstCodeIsAnInvalidCode)
{
    BitPacker bits;
    bits.Put(300, 9);
    RawZipEntry e{"x", 0, 1, 0, 10, bits.Finish()};
    EXPECT_EQ(RaisedMessage([&] { DecodeEntry(e, 10); }), L"25111");
}

TEST(Unreduce, FollowerSetLongerThanThirtyTwoIsABadBlock)
{
    BitPacker bits;
    bits.Put(33, 6);
    RawZipEntry e{"x", 0, 2, 0, 10, bits.Finish()};
    EXPECT_EQ(RaisedMessage([&] { DecodeEntry(e, 10); }), L"25109");
}

}  // namespace
}  // namespace velmora::arc::test
