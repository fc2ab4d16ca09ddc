#pragma once
// Writes an output file on a thread of its own, so that the decoder goes on
// while the system takes the previous block. Blocks are copied into a small
// ring; the thread starts only once a file outgrows one block, so that small
// files are written in one piece without it.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
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
    // Writes everything taken and ends the thread; false when a write failed.
    // The file is the caller's alone afterwards.
    bool Drain();
    // Ends the thread and drops what is not written yet.
    void Stop();

private:
    std::uint8_t* Block(std::uint64_t number) { return m_memory.get() + (number % kBlocks) * kBlockSize; }
    bool Submit();
    void Run();

    TArcFile& m_file;
    std::unique_ptr<std::uint8_t[]> m_memory;
    // The block being filled is number m_submitted; the thread writes
    // m_written up to it. Only the filling side changes m_submitted and
    // m_fill, only the thread m_written.
    std::size_t m_fill = 0;
    std::uint64_t m_submitted = 0;
    std::uint64_t m_written = 0;
    std::size_t m_sizes[kBlocks] = {};
    bool m_stop = false;
    // The system had no thread to give: every block is written on the spot.
    bool m_noThread = false;
    bool m_failed = false;
    std::mutex m_mutex;
    std::condition_variable m_toWrite;
    std::condition_variable m_wasWritten;
    std::thread m_thread;
};

}  // namespace velmora::arc
