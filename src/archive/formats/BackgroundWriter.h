#pragma once
// Writes an output file on a thread of its own, so that the decoder goes on
// while the system takes the previous block. Blocks are copied into a small
// ring; the thread starts only once a file outgrows one block, so that small
// files are written in one piece without it.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "archive/formats/ArcPlatform.h"

namespace velmora::arc {

class BackgroundWriter {
public:
    static constexpr std::size_t kBlockSize = 512 * 1024;
    static constexpr std::size_t kBlocks = 4;

    explicit BackgroundWriter(TArcFile& file) : m_file(file) {}
    // Drops what is not written yet.
    ~BackgroundWriter() { Stop(); }
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // Takes a copy of the bytes; false once a write has failed.
    bool Put(const std::uint8_t* data, std::size_t count);
    // Writes everything taken so far, the block being filled included, and
    // keeps the thread; false once a write has failed.
    bool Flush();
    // Writes everything taken and ends the thread; false when a write failed.
    // The file is the caller's alone afterwards.
    bool Drain();
    // Ends the thread and drops what is not written yet.
    void Stop();
    // Called with each block just before it is written, in the file's order,
    // on the thread that writes it: work on the written data (a checksum)
    // runs there, beside the decoder, instead of in its way.
    std::function<void(const std::uint8_t* data, std::size_t count)> OnBlock;
    // For tests: called on the thread, under the lock, as it goes to sleep for
    // want of blocks.
    std::function<void()> OnWriterAsleep;

private:
    std::uint8_t* Block(std::uint32_t number) { return m_memory.get() + (number % kBlocks) * kBlockSize; }
    bool Submit();
    // Writes one block on the calling thread; false when the write failed.
    bool WriteBlock(const std::uint8_t* data, std::size_t count);
    // Hands the block being filled to the thread, even when not full.
    void HandOver();
    void Run();
    // Waits until Ready() holds: first a short spell of yielding, since the
    // other side mostly answers within a block's time, then asleep with
    // `Asleep` set, so that the other side knows to wake it. A kernel wait
    // and wake per block cost two server round trips under Wine, more than
    // the copy into the ring.
    template <class Ready>
    void WaitFor(std::atomic<bool>& Asleep, std::condition_variable& Wakeup, Ready ready);
    void Wake(std::atomic<bool>& Asleep, std::condition_variable& Wakeup);

    TArcFile& m_file;
    std::unique_ptr<std::uint8_t[]> m_memory;
    // The block being filled is number m_submitted; the thread writes
    // m_written up to it. Only the filling side changes m_submitted, m_fill
    // and the sizes, only the thread m_written.
    std::size_t m_fill = 0;
    // Block numbers wrap; their difference stays right.
    std::atomic<std::uint32_t> m_submitted{0};
    std::atomic<std::uint32_t> m_written{0};
    std::size_t m_sizes[kBlocks] = {};
    std::atomic<bool> m_stop{false};
    // The system had no thread to give: every block is written on the spot.
    bool m_noThread = false;
    std::atomic<bool> m_failed{false};
    // A side sleeps only under the mutex, with its flag set.
    std::mutex m_mutex;
    std::atomic<bool> m_writerAsleep{false};
    std::atomic<bool> m_fillerAsleep{false};
    std::condition_variable m_toWrite;
    std::condition_variable m_wasWritten;
    std::thread m_thread;
};

}  // namespace velmora::arc
