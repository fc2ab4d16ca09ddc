#include "archive/formats/BufferedReader.h"

#include <algorithm>
#include <cstring>


namespace velmora::arc {

void RaiseDecodeErrorText(int code)
{
    throw E_RAISE(code, ArcErrorText(code));
}

std::size_t MemorySource::Read(std::uint8_t* buffer, std::size_t count)
{
    const std::size_t n = std::min(count, m_size - m_pos);
    if (n)
        std::memcpy(buffer, m_data + m_pos, n);
    m_pos += n;
    return n;
}

void MemorySink::Write(const std::uint8_t* data, std::size_t count)
{
    bytes.insert(bytes.end(), data, data + count);
}

BufferedReader::BufferedReader(ByteSource& source, std::uint32_t packedSize)
    : m_source(source), m_total(packedSize), m_unread(packedSize), m_buffer(kBlockSize)
{
}

void BufferedReader::SetProgress(ProgressHook hook, unsigned stepPercent)
{
    m_progress = std::move(hook);
    m_step = std::clamp(stepPercent, 1u, 100u);
}

std::size_t BufferedReader::ChunkLimit(std::size_t count) const
{
    std::size_t limit = std::min<std::size_t>(count, m_unread);
    if (!m_progress || m_total == 0)
        return limit;
    const std::uint64_t done = m_total - m_unread;
    const std::uint64_t percent = done * 100 / m_total;
    const std::uint64_t next = (percent / m_step + 1) * m_step;
    // The first byte count at which the percent reaches the next step.
    const std::uint64_t boundary = (next * m_total + 99) / 100;
    if (boundary > done)
        limit = static_cast<std::size_t>(std::min<std::uint64_t>(limit, boundary - done));
    return limit;
}

std::size_t BufferedReader::ReadChunk(std::uint8_t* dest, std::size_t count)
{
    const std::size_t want = ChunkLimit(count);
    if (want == 0)
        return 0;
    // A failed or short read counts as the end of the packed data.
    const std::size_t got = m_source.Read(dest, want);
    m_unread = got < want ? 0 : m_unread - static_cast<std::uint32_t>(got);
    if (got && m_transform)
        m_transform(dest, got);
    if (m_progress)
        m_progress(m_total - m_unread, m_total);
    return got;
}

std::uint8_t BufferedReader::Underflow()
{
    m_pos = 0;
    m_fill = ReadChunk(m_buffer.data(), kBlockSize);
    if (m_fill == 0) {
        ++m_overrun;
        return 0;
    }
    return m_buffer[m_pos++];
}

std::size_t BufferedReader::Read(std::uint8_t* dest, std::size_t count)
{
    std::size_t done = std::min(count, m_fill - m_pos);
    std::memcpy(dest, m_buffer.data() + m_pos, done);
    m_pos += done;
    while (done < count) {
        const std::size_t got = ReadChunk(dest + done, count - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

}  // namespace velmora::arc
