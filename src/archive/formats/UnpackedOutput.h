#pragma once
// The output side of the decoders that only the ARJ, LHA, ARC and ZOO readers
// use: bytes are gathered in a block and handed to the sink, and never more
// than the entry's unpacked size, however the packed data is damaged.

#include <cstdint>
#include <vector>

#include "archive/formats/BufferedReader.h"

namespace velmora::arc {

class UnpackedOutput {
public:
    UnpackedOutput(ByteSink& sink, std::uint32_t unpackedSize);
    ~UnpackedOutput() = default;
    UnpackedOutput(const UnpackedOutput&) = delete;
    UnpackedOutput& operator=(const UnpackedOutput&) = delete;

    bool Full() const { return m_left == 0; }
    std::uint32_t Left() const { return m_left; }
    // Drops the byte once the unpacked size is reached.
    void Put(std::uint8_t byte)
    {
        if (m_left == 0)
            return;
        --m_left;
        m_block[m_fill++] = byte;
        if (m_fill == m_block.size())
            Flush();
    }
    void Flush();

private:
    ByteSink& m_sink;
    std::uint32_t m_left;
    std::vector<std::uint8_t> m_block;
    std::size_t m_fill = 0;
};

// Packed data that ran out long before the output was complete: a bit reader
// may look a few bytes ahead, anything beyond is damage (25134).
void CheckPackedInput(const BufferedReader& input);

}  // namespace velmora::arc
