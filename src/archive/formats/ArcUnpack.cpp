#include "archive/formats/ArcUnpack.h"

#include "archive/formats/ArcUncrunch.h"
#include "archive/formats/ArcUnsqueeze.h"

namespace velmora::arc {

namespace {

constexpr std::uint8_t kRepeatMark = 0x90;

void CopyStored(BufferedReader& input, ArcOutput& out)
{
    while (!out.Full()) {
        CheckPackedInput(input);
        out.Put(input.ReadByte());
    }
}

}  // namespace

void ArcOutput::PutCoded(std::uint8_t byte)
{
    if (!m_repeat) {
        if (byte == kRepeatMark) {
            m_repeat = true;
            return;
        }
        m_last = byte;
        m_out.Put(byte);
        return;
    }
    m_repeat = false;
    // A mark taken literally is not the byte that a later run repeats.
    if (byte == 0) {
        m_out.Put(kRepeatMark);
        return;
    }
    for (int n = byte - 1; n > 0 && !m_out.Full(); --n)
        m_out.Put(m_last);
}

bool ArcMethodSupported(int method)
{
    return method >= 1 && method <= 9;
}

void ArcUnpack(int method, BufferedReader& input, ByteSink& output, std::uint32_t unpackedSize)
{
    const bool runLength = method == 3 || method == 4 || method == 6 || method == 7 || method == 8;
    ArcOutput out(output, unpackedSize, runLength);
    switch (method) {
    case 1:
    case 2:
    case 3:
        CopyStored(input, out);
        break;
    case 4:
        ArcUnsqueeze(input, out);
        break;
    case 5:
    case 6:
        ArcUncrunchOld(input, out, OldCrunchHash::Original);
        break;
    case 7:
        ArcUncrunchOld(input, out, OldCrunchHash::Newer);
        break;
    case 8:
        ArcUncrunch(input, out, 12, true);
        break;
    case 9:
        ArcUncrunch(input, out, 13, false);
        break;
    default:
        RaiseDecodeError(25200);
    }
    out.Finish();
}

}  // namespace velmora::arc
