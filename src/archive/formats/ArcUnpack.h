#pragma once
// The ARC and PAK methods 1 to 9: stored, run-length packed (repeat mark
// 0x90), squeezed, the old 12-bit crunch with and without run-length coding,
// crunched (9 to 12 bits) and squashed (9 to 13 bits).

#include <cstdint>

#include "archive/formats/BufferedReader.h"
#include "archive/formats/UnpackedOutput.h"

namespace velmora::arc {

bool ArcMethodSupported(int method);

// Decodes an entry of a supported method; raises the decoders' codes (25118,
// 25113, 25193, 25134) on damaged data.
void ArcUnpack(int method, BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize);

// Where the ARC decoders put their bytes: the run-length decoding of methods
// 3, 4, 6, 7 and 8 when asked for, bounded by the unpacked size.
class ArcOutput {
public:
    ArcOutput(ByteSink& sink, std::uint32_t unpackedSize, bool runLength)
        : m_out(sink, unpackedSize), m_runLength(runLength)
    {
    }

    bool Full() const { return m_out.Full(); }
    void Put(std::uint8_t byte)
    {
        if (!m_runLength)
            m_out.Put(byte);
        else
            PutCoded(byte);
    }
    void Finish() { m_out.Flush(); }

private:
    void PutCoded(std::uint8_t byte);

    UnpackedOutput m_out;
    bool m_runLength;
    bool m_repeat = false;
    std::uint8_t m_last = 0;
};

}  // namespace velmora::arc
