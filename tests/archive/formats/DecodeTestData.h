#pragma once
// Fixture access and small memory helpers for the decoder tests.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/formats/BufferedReader.h"
#include "platform/rtl/Exceptions.h"

namespace velmora::arc::test {

using Bytes = std::vector<std::uint8_t>;

// A file below tests/data/zip-extract/.
Bytes ReadFixture(const std::string& name);

// The message of the exception that Run raised, or "" when it returned.
template <typename F>
std::wstring RaisedMessage(F&& run)
{
    try {
        run();
    } catch (const velmora::Exception& e) {
        return e.Message();
    }
    return L"";
}

}  // namespace velmora::arc::test

namespace velmora::arc::test {

// Deterministic mixed data: German-looking text runs, small binary records
// and noise, in the proportions of an ordinary folder's files.
Bytes MixedSample(std::size_t size, unsigned seed);

}  // namespace velmora::arc::test

namespace velmora::arc::test {

// An entry of a fixture ZIP as its central header gives it, with its data.
struct RawZipEntry {
    std::string name;
    std::uint16_t flags;
    std::uint16_t method;
    std::uint32_t crc;
    std::uint32_t size;
    Bytes packed;
};

std::vector<RawZipEntry> ReadZipEntries(const std::string& fixture);

}  // namespace velmora::arc::test

namespace velmora::arc::test {

// Packs values from the least significant bit of each byte up.
class BitPacker {
public:
    void Put(std::uint32_t value, int bits)
    {
        for (int i = 0; i < bits; ++i, value >>= 1) {
            if (m_count % 8 == 0)
                m_bytes.push_back(0);
            m_bytes.back() |= static_cast<std::uint8_t>((value & 1) << (m_count % 8));
            ++m_count;
        }
    }
    Bytes Finish() const { return m_bytes; }

private:
    Bytes m_bytes;
    int m_count = 0;
};

}  // namespace velmora::arc::test
