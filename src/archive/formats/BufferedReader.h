#pragma once
// The packed-data side of every decoder: a byte source bounded by the entry's
// packed size, read in blocks, optionally decrypted block by block, with a
// progress hook at the step boundaries of the packed total.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "archive/formats/ArcErrors.h"

namespace velmora::arc {

// Where packed bytes come from (the archive file, or memory in tests).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fewer bytes than asked only at the end of the source.
    virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
};

// Where decoded bytes go (the target file with its running CRC, or memory).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(const std::uint8_t* data, std::size_t count) = 0;
};

// The decoders raise E_RAISE through RaiseDecodeError (the code in decimal)
// or, where the code's text is the message, RaiseDecodeErrorText.
[[noreturn]] void RaiseDecodeErrorText(int code);

class MemorySource : public ByteSource {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override;

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

class MemorySink : public ByteSink {
public:
    void Write(const std::uint8_t* data, std::size_t count) override;
    std::vector<std::uint8_t> bytes;
};

class BufferedReader {
public:
    static constexpr std::size_t kBlockSize = 32768;
    // Called with the packed bytes read so far and the packed total.
    using ProgressHook = std::function<void(std::uint32_t done, std::uint32_t total)>;
    // Turns a block of packed bytes into plain bytes in place (decryption).
    using Transform = std::function<void(std::uint8_t* data, std::size_t count)>;

    BufferedReader(ByteSource& source, std::uint32_t packedSize);

    void SetTransform(Transform transform) { m_transform = std::move(transform); }
    // Blocks end at every multiple of StepPercent of the packed total, so
    // that each step is reported exactly once.
    void SetProgress(ProgressHook hook, unsigned stepPercent);

    // The next packed byte; 0 once the packed data is used up.
    std::uint8_t ReadByte()
    {
        if (m_pos < m_fill)
            return m_buffer[m_pos++];
        return Underflow();
    }

    // Up to Count packed bytes into Dest; fewer only at the end of the data.
    std::size_t Read(std::uint8_t* dest, std::size_t count);

    std::uint32_t PackedSize() const { return m_total; }
    // Packed bytes not yet taken by ReadByte or Read.
    std::uint32_t Remaining() const { return m_unread + static_cast<std::uint32_t>(m_fill - m_pos); }
    // Bytes handed out as zeros after the end of the packed data.
    std::uint32_t Overrun() const { return m_overrun; }

private:
    std::uint8_t Underflow();
    std::size_t ReadChunk(std::uint8_t* dest, std::size_t count);
    std::size_t ChunkLimit(std::size_t count) const;

    ByteSource& m_source;
    std::uint32_t m_total;
    std::uint32_t m_unread;
    std::uint32_t m_overrun = 0;
    std::vector<std::uint8_t> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_fill = 0;
    Transform m_transform;
    ProgressHook m_progress;
    unsigned m_step = 0;
};

// The output side of the old ZIP methods: a ring of history in front of the
// sink. Looking back before the first byte written yields zeros.
class WindowWriter {
public:
    static constexpr std::size_t kSize = 32768;

    explicit WindowWriter(ByteSink& sink) : m_sink(sink), m_ring(kSize, 0) {}
    void Put(std::uint8_t byte)
    {
        m_ring[m_pos++] = byte;
        ++m_total;
        if (m_pos == kSize)
            Flush();
    }
    // Copies Length bytes from Distance (1 to kSize) back.
    void Copy(std::size_t distance, std::size_t length)
    {
        std::size_t from = (m_pos + kSize - distance) & (kSize - 1);
        while (length--) {
            Put(m_ring[from]);
            from = (from + 1) & (kSize - 1);
        }
    }
    // Writes what the sink has not seen yet.
    void Flush()
    {
        m_sink.Write(m_ring.data() + m_flushed, m_pos - m_flushed);
        if (m_pos == kSize)
            m_pos = 0;
        m_flushed = m_pos;
    }
    std::uint32_t Total() const { return m_total; }

    // Runs a decoding loop and writes its output, also what came before a
    // damaged spot when the loop raises.
    template <typename Loop>
    void Decode(Loop&& loop)
    {
        try {
            loop();
        } catch (const E_RAISE&) {
            Flush();
            throw;
        }
        Flush();
    }

private:
    ByteSink& m_sink;
    std::vector<std::uint8_t> m_ring;
    std::size_t m_pos = 0;
    std::size_t m_flushed = 0;
    std::uint32_t m_total = 0;
};

}  // namespace velmora::arc

