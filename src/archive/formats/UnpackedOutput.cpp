#include "archive/formats/UnpackedOutput.h"

namespace velmora::arc {

namespace {
constexpr std::size_t kBlock = 16384;
constexpr std::uint32_t kLookAhead = 8;
}  // namespace

UnpackedOutput::UnpackedOutput(ByteSink& sink, std::uint32_t unpackedSize)
    : m_sink(sink), m_left(unpackedSize), m_block(kBlock)
{
}

void UnpackedOutput::Flush()
{
    if (m_fill)
        m_sink.Write(m_block.data(), m_fill);
    m_fill = 0;
}

void CheckPackedInput(const BufferedReader& input)
{
    if (input.Overrun() > kLookAhead)
        RaiseDecodeError(25134);
}

}  // namespace velmora::arc
