#include "archive/formats/BitInput.h"

namespace velmora::arc {

BitInput::BitInput(BufferedReader& reader) : m_reader(reader)
{
    FillBits(0);
}

}  // namespace velmora::arc
