#include "archive/formats/BackgroundWriter.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace velmora::arc {

namespace {
// Yields before a side goes to sleep: about a block's decoding time.
constexpr int kYields = 4096;
}  // namespace

bool BackgroundWriter::Put(const std::uint8_t* data, std::size_t count)
{
    if (!m_memory)
        m_memory.reset(new std::uint8_t[kBlocks * kBlockSize]);
    while (count > 0) {
        if (m_fill == kBlockSize && !Submit())
            return false;
        const std::size_t piece = std::min(count, kBlockSize - m_fill);
        std::memcpy(Block(m_submitted) + m_fill, data, piece);
        m_fill += piece;
        data += piece;
        count -= piece;
    }
    return true;
}

template <class Ready>
void BackgroundWriter::WaitFor(std::atomic<bool>& Asleep, std::condition_variable& Wakeup, Ready ready)
{
    for (int i = 0; i < kYields; ++i) {
        if (ready())
            return;
        std::this_thread::yield();
    }
    // The flag is set before the last look, the other side changes the state
    // before it looks at the flag: one of the two sees the other.
    std::unique_lock lock(m_mutex);
    Asleep = true;
    if (&Asleep == &m_writerAsleep && OnWriterAsleep)
        OnWriterAsleep();
    Wakeup.wait(lock, ready);
    Asleep = false;
}

void BackgroundWriter::Wake(std::atomic<bool>& Asleep, std::condition_variable& Wakeup)
{
    if (!Asleep)
        return;
    // Under the mutex, the sleeper is either still before its last look or
    // already waiting.
    std::lock_guard lock(m_mutex);
    Wakeup.notify_one();
}

bool BackgroundWriter::WriteBlock(const std::uint8_t* data, std::size_t count)
{
    if (OnBlock)
        OnBlock(data, count);
    return m_file.Write(data, static_cast<std::uint32_t>(count)) == count;
}

void BackgroundWriter::HandOver()
{
    m_sizes[m_submitted % kBlocks] = m_fill;
    ++m_submitted;
    m_fill = 0;
    Wake(m_writerAsleep, m_toWrite);
}

// Hands the full block to the thread and waits until the next one is free.
bool BackgroundWriter::Submit()
{
    if (!m_thread.joinable() && !m_noThread) {
        try {
            m_thread = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            // No thread to be had: this file is written here, block by block.
            m_noThread = true;
        }
    }
    if (m_noThread) {
        if (!m_failed && !WriteBlock(Block(m_submitted), m_fill))
            m_failed = true;
        m_fill = 0;
        return !m_failed;
    }
    HandOver();
    WaitFor(m_fillerAsleep, m_wasWritten, [this] { return m_failed || m_submitted - m_written < kBlocks; });
    return !m_failed;
}

void BackgroundWriter::Run()
{
    for (;;) {
        WaitFor(m_writerAsleep, m_toWrite, [this] { return m_stop || m_written != m_submitted; });
        if (m_stop)
            return;
        const std::uint32_t number = m_written;
        const std::size_t size = m_sizes[number % kBlocks];
        const bool ok = WriteBlock(Block(number), size);
        if (!ok)
            m_failed = true;
        else
            m_written = number + 1;
        Wake(m_fillerAsleep, m_wasWritten);
        if (!ok)
            return;
    }
}

bool BackgroundWriter::Flush()
{
    if (!m_thread.joinable()) {
        // No thread yet (or none to be had): written here, in one piece.
        if (m_fill > 0 && !m_failed && !WriteBlock(Block(m_submitted), m_fill))
            m_failed = true;
        m_fill = 0;
        return !m_failed;
    }
    if (m_fill > 0)
        HandOver();
    WaitFor(m_fillerAsleep, m_wasWritten, [this] { return m_failed || m_written == m_submitted; });
    return !m_failed;
}

bool BackgroundWriter::Drain()
{
    Flush();
    Stop();
    return !m_failed;
}

void BackgroundWriter::Stop()
{
    if (!m_thread.joinable())
        return;
    m_stop = true;
    {
        std::lock_guard lock(m_mutex);
        m_toWrite.notify_one();
    }
    m_thread.join();
    // Ready for another round on the same file.
    m_stop = false;
    m_fill = 0;
    m_written = m_submitted.load();
}

}  // namespace velmora::arc
