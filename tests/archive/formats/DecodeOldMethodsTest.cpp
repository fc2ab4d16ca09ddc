#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>

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

// Decodes on a thread of its own, so that a decoder that takes (nearly)
// forever fails the test instead of hanging the run.
std::optional<Bytes> DecodeWithin(const RawZipEntry& e, std::chrono::seconds bound)
{
    auto done = std::make_shared<std::promise<Bytes>>();
    std::future<Bytes> result = done->get_future();
    std::thread([e, done] {
        try {
            done->set_value(DecodeEntry(e, e.size));
        } catch (...) {
            done->set_exception(std::current_exception());
        }
    }).detach();
    if (result.wait_for(bound) != std::future_status::ready)
        return std::nullopt;
    return result.get();
}

TEST(Unshrink, StormOfPartialClearsEndsInBoundedTime)
{
    // 4 MiB of partial clears, and 1 MiB with a new code between each two.
    // Each clear used to cost a pass over the whole code table: half a
    // minute for this input.
    for (bool growing : {false, true}) {
        SCOPED_TRACE(growing);
        BitPacker bits;
        bits.Put('A', 9);
        bits.Put('B', 9);
        Bytes expected{'A', 'B'};
        for (int i = 0; i < (growing ? 300000 : 1900000); ++i) {
            bits.Put(256, 9);
            bits.Put(2, 9);
            if (growing) {
                bits.Put('C', 9);
                expected.push_back('C');
            }
        }
        bits.Put('D', 9);
        expected.push_back('D');
        RawZipEntry e{"x", 0, 1, 0, static_cast<std::uint32_t>(expected.size()), bits.Finish()};
        const std::optional<Bytes> out = DecodeWithin(e, std::chrono::seconds(10));
        ASSERT_TRUE(out.has_value());
        EXPECT_TRUE(*out == expected);
    }
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
