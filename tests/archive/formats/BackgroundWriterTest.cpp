#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <mutex>
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

// Ends the run with a message when a step hangs, as a lost wake-up would.
class HangBound {
public:
    explicit HangBound(const char* what)
        : m_watch([this, what] {
              std::unique_lock lock(m_mutex);
              if (!m_ended.wait_for(lock, std::chrono::seconds(30), [this] { return m_done; })) {
                  std::fprintf(stderr, "Hangs: %s\n", what);
                  std::abort();
              }
          })
    {
    }
    ~HangBound()
    {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_ended.notify_one();
        m_watch.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ended;
    bool m_done = false;
    std::thread m_watch;
};

// Each block is handed over only once the thread has gone to sleep, so it must
// be woken by the next block and by the drain (a lost wake-up hangs here).
TEST(BackgroundWriter, ASleepingThreadIsWokenByEachBlock)
{
    ScratchDir dir("bgwriter");
    const Bytes data = MixedSample(kBlock * 5 + 7, 35);
    TArcFile file;
    ASSERT_TRUE(file.CreateNew(dir.Path("slow")));
    {
        HangBound bound("a sleeping writer is not woken");
        std::mutex mutex;
        std::condition_variable slept;
        std::size_t sleeps = 0;
        BackgroundWriter writer(file);
        writer.OnWriterAsleep = [&] {
            std::lock_guard lock(mutex);
            ++sleeps;
            slept.notify_one();
        };
        for (std::size_t at = 0, block = 0; at < data.size(); at += kBlock, ++block) {
            ASSERT_TRUE(writer.Put(data.data() + at, std::min(kBlock, data.size() - at)));
            // This piece handed the one before over: it is written and the thread asleep again.
            std::unique_lock lock(mutex);
            slept.wait(lock, [&] { return sleeps >= block; });
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
