#include "DecodeTestData.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmora::arc::test {

Bytes ReadFixture(const std::string& name)
{
    const std::string path = std::string(VELMORA_SOURCE_DIR) + "/tests/data/zip-extract/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace velmora::arc::test

namespace velmora::arc::test {

Bytes MixedSample(std::size_t size, unsigned seed)
{
    static const char* const kWords[] = {"Datei ", "Ordner ", "Archiv ", "entpacken ", "Laufwerk ",
                                         "Größe ", "und ", "der ", "die ", "das ", "\r\n", "Fehler "};
    std::uint32_t state = seed * 2654435761u + 1;
    auto next = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    Bytes out;
    out.reserve(size);
    while (out.size() < size) {
        const std::uint32_t kind = next() % 10;
        if (kind < 6) {
            for (int i = 0; i < 40; ++i) {
                const char* w = kWords[next() % 12];
                out.insert(out.end(), w, w + std::char_traits<char>::length(w));
            }
        } else if (kind < 9) {
            for (std::uint32_t i = 0, n = next() % 64; i < n; ++i) {
                const std::uint32_t v = i * 16 + (next() % 4);
                out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8), 0, 0});
            }
        } else {
            for (int i = 0; i < 200; ++i)
                out.push_back(static_cast<std::uint8_t>(next()));
        }
    }
    out.resize(size);
    return out;
}

}  // namespace velmora::arc::test

namespace velmora::arc::test {
namespace {

std::uint32_t Le(const Bytes& b, std::size_t at, int n)
{
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = (v << 8) | b.at(at + i);
    return v;
}

}  // namespace

std::vector<RawZipEntry> ReadZipEntries(const std::string& fixture)
{
    const Bytes zip = ReadFixture(fixture);
    const std::size_t end = zip.size() - 22;
    std::size_t pos = Le(zip, end + 16, 4);
    const std::uint32_t count = Le(zip, end + 10, 2);
    std::vector<RawZipEntry> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        RawZipEntry e;
        e.flags = static_cast<std::uint16_t>(Le(zip, pos + 8, 2));
        e.method = static_cast<std::uint16_t>(Le(zip, pos + 10, 2));
        e.crc = Le(zip, pos + 16, 4);
        const std::uint32_t packed = Le(zip, pos + 20, 4);
        e.size = Le(zip, pos + 24, 4);
        const std::uint32_t nameLength = Le(zip, pos + 28, 2);
        e.name.assign(zip.begin() + pos + 46, zip.begin() + pos + 46 + nameLength);
        const std::uint32_t local = Le(zip, pos + 42, 4);
        const std::size_t data = local + 30 + Le(zip, local + 26, 2) + Le(zip, local + 28, 2);
        e.packed.assign(zip.begin() + data, zip.begin() + data + packed);
        pos += 46 + nameLength + Le(zip, pos + 30, 2) + Le(zip, pos + 32, 2);
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace velmora::arc::test
