#include <gtest/gtest.h>

#include <chrono>
#include <iterator>
#include <thread>

#include "ArcTestFiles.h"
#include "DecodeTestData.h"
#include "archive/formats/BackgroundWriter.h"

namespace velmora::arc::test {
namespace {

using arctest::ScratchDir;
constexpr std::size_t kBlock = BackgroundWriter::kBlockSize;

Bytes ReadBack(const std::wstring& name)
{
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sizes below one block (written without the thread), at its edge, and over
// more blocks than the ring holds, handed over in pieces of changing size.
TEST(BackgroundWriter, FileHoldsEveryPieceInOrderWhateverItsSize)
{
    ScratchDir dir("bgwriter");
    const Bytes data = MixedSample(BackgroundWriter::kBlocks * kBlock * 2 + 4099, 31);
    for (std::size_t size : {std::size_t(0), std::size_t(1), kBlock - 1, kBlock, kBlock + 1, data.size()}) {
        const std::wstring name = dir.Path("out" + std::to_string(size));
        TArcFile file;
        ASSERT_TRUE(file.CreateNew(name));
        {
            BackgroundWriter writer(file);
            for (std::size_t at = 0, piece = 1; at < size; at += piece, piece = piece * 7 % 300007 + 1)
                ASSERT_TRUE(writer.Put(data.data() + at, std::min(piece, size - at)));
            EXPECT_TRUE(writer.Drain());
        }
        ASSERT_TRUE(file.Close());
        const Bytes back = ReadBack(name);
        EXPECT_EQ(back.size(), size);
        EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin())) << size;
    }
}

// A second round on the same file after the first was drained: the ring
// starts where the first round left it.
TEST(BackgroundWriter, WritesOnAfterADrain)
{
    ScratchDir dir("bgwriter");
    const Bytes data = MixedSample(kBlock * 3 + 100, 34);
    TArcFile file;
    ASSERT_TRUE(file.CreateNew(dir.Path("rounds")));
    BackgroundWriter writer(file);
    ASSERT_TRUE(writer.Put(data.data(), kBlock + 50));
    ASSERT_TRUE(writer.Drain());
    ASSERT_TRUE(writer.Put(data.data() + kBlock + 50, 50));
    ASSERT_TRUE(writer.Drain());
    ASSERT_TRUE(writer.Put(data.data() + kBlock + 100, data.size() - kBlock - 100));
    ASSERT_TRUE(writer.Drain());
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(ReadBack(dir.Path("rounds")) == data);
}

// Blocks handed over slowly: the thread has stopped yielding and sleeps each
// time, and must be woken by the next block and by the drain (a lost wake-up
// hangs here).
TEST(BackgroundWriter, ASleepingThreadIsWokenByEachBlock)
{
    ScratchDir dir("bgwriter");
    const Bytes data = MixedSample(kBlock * 5 + 7, 35);
    TArcFile file;
    ASSERT_TRUE(file.CreateNew(dir.Path("slow")));
    {
        BackgroundWriter writer(file);
        for (std::size_t at = 0; at < data.size(); at += kBlock) {
            ASSERT_TRUE(writer.Put(data.data() + at, std::min(kBlock, data.size() - at)));
            // Longer than the thread's spell of yielding, on purpose.
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        ASSERT_TRUE(writer.Drain());
    }
    ASSERT_TRUE(file.Close());
    EXPECT_TRUE(ReadBack(dir.Path("slow")) == data);
}

TEST(BackgroundWriter, FailedWritesAreReportedByPutAndByDrain)
{
    const Bytes data = MixedSample(BackgroundWriter::kBlocks * kBlock * 3, 32);
    {
        TArcFile notOpen;
        BackgroundWriter writer(notOpen);
        EXPECT_TRUE(writer.Put(data.data(), 100));
        EXPECT_FALSE(writer.Drain());
    }
    TArcFile notOpen;
    BackgroundWriter writer(notOpen);
    bool refused = false;
    for (std::size_t at = 0; at < data.size() && !refused; at += 65536)
        refused = !writer.Put(data.data() + at, 65536);
    EXPECT_TRUE(refused);
    EXPECT_FALSE(writer.Drain());
}

TEST(BackgroundWriter, StopDropsWhatWasNotWrittenAndLeavesTheFileToTheCaller)
{
    ScratchDir dir("bgwriter");
    const Bytes data = MixedSample(BackgroundWriter::kBlocks * kBlock * 2, 33);
    TArcFile file;
    ASSERT_TRUE(file.CreateNew(dir.Path("dropped")));
    BackgroundWriter writer(file);
    ASSERT_TRUE(writer.Put(data.data(), data.size()));
    writer.Stop();
    const Bytes tail = arctest::Text("end");
    EXPECT_EQ(file.Write(tail.data(), 3), 3u);
    ASSERT_TRUE(file.Close());
    const Bytes back = ReadBack(dir.Path("dropped"));
    ASSERT_GE(back.size(), 3u);
    EXPECT_LE(back.size(), data.size() + 3);
    EXPECT_EQ((back.size() - 3) % kBlock, 0u);
    EXPECT_TRUE(std::equal(back.end() - 3, back.end(), tail.begin()));
}

}  // namespace
}  // namespace velmora::arc::test
