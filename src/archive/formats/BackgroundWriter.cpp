#include "archive/formats/BackgroundWriter.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace velmora::arc {

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
        m_failed = m_failed || m_file.Write(Block(m_submitted), static_cast<std::uint32_t>(m_fill)) != m_fill;
        m_fill = 0;
        return !m_failed;
    }
    std::unique_lock lock(m_mutex);
    m_sizes[m_submitted % kBlocks] = m_fill;
    ++m_submitted;
    m_toWrite.notify_one();
    m_wasWritten.wait(lock, [this] { return m_failed || m_submitted - m_written < kBlocks; });
    m_fill = 0;
    return !m_failed;
}

void BackgroundWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_toWrite.wait(lock, [this] { return m_stop || m_written < m_submitted; });
        if (m_stop)
            return;
        const std::size_t size = m_sizes[m_written % kBlocks];
        std::uint8_t* const block = Block(m_written);
        lock.unlock();
        const bool ok = m_file.Write(block, static_cast<std::uint32_t>(size)) == size;
        lock.lock();
        if (!ok) {
            m_failed = true;
            m_wasWritten.notify_one();
            return;
        }
        ++m_written;
        m_wasWritten.notify_one();
    }
}

bool BackgroundWriter::Drain()
{
    if (!m_thread.joinable()) {
        // Never outgrew one block: written here, in one piece.
        if (m_fill > 0 && !m_failed)
            m_failed = m_file.Write(Block(m_submitted), static_cast<std::uint32_t>(m_fill)) != m_fill;
        m_fill = 0;
        return !m_failed;
    }
    {
        std::unique_lock lock(m_mutex);
        if (m_fill > 0) {
            m_sizes[m_submitted % kBlocks] = m_fill;
            ++m_submitted;
            m_fill = 0;
            m_toWrite.notify_one();
        }
        m_wasWritten.wait(lock, [this] { return m_failed || m_written == m_submitted; });
    }
    Stop();
    return !m_failed;
}

void BackgroundWriter::Stop()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_toWrite.notify_one();
    m_thread.join();
    // Ready for another round on the same file.
    m_stop = false;
    m_fill = 0;
    m_written = m_submitted;
}

}  // namespace velmora::arc
