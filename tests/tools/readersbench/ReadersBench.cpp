// Throughput of the static-Huffman decoder on the two streams the readers
// feed it most: LHA -lh5- and ARJ method 1, each at least 16 MiB unpacked.
// The inputs come from the packers (tests/tools/readersbench/make-inputs.sh):
//   readers_bench BIG.LZH BIG.ARJ
// Each archive's first entry is decoded from memory, best of five runs.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "archive/formats/BufferedReader.h"
#include "archive/formats/LzhDecode.h"

using namespace velmora::arc;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kRuns = 5;

struct Stream {
    std::size_t offset = 0;
    std::uint32_t packed = 0;
    std::uint32_t unpacked = 0;
};

std::uint32_t U32(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint32_t U16(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8;
}

// A level-0 LHA header: size, checksum, method, sizes; the data follows.
Stream FirstLhaEntry(const Bytes& b)
{
    return {static_cast<std::size_t>(b[0]) + 2, U32(b, 7), U32(b, 11)};
}

// An ARJ header and its extended headers; the data of the first file header.
std::size_t ArjHeaderEnd(const Bytes& b, std::size_t pos)
{
    std::size_t end = pos + 4 + U16(b, pos + 2) + 4;
    while (U16(b, end))
        end += 2 + U16(b, end) + 4;
    return end + 2;
}

Stream FirstArjEntry(const Bytes& b)
{
    const std::size_t file = ArjHeaderEnd(b, 0);
    return {ArjHeaderEnd(b, file), U32(b, file + 16), U32(b, file + 20)};
}

class CountingSink : public ByteSink {
public:
    void Write(const std::uint8_t*, std::size_t count) override { size += count; }
    std::size_t size = 0;
};

void Bench(const char* name, const Bytes& archive, const Stream& s, const LzhParams& params)
{
    double best = 0;
    std::size_t produced = 0;
    for (int i = 0; i < kRuns; ++i) {
        MemorySource source(archive.data() + s.offset, s.packed);
        BufferedReader reader(source, s.packed);
        CountingSink sink;
        const auto start = std::chrono::steady_clock::now();
        LzhDecode(reader, sink, params, s.unpacked);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = std::max(best, s.unpacked / seconds / 1e6);
        produced = sink.size;
    }
    std::printf("%-8s %8.1f MB/s (%u bytes from %u packed bytes%s)\n", name, best, s.unpacked, s.packed,
                produced == s.unpacked ? "" : ", SIZE DIFFERS");
}

Bytes Slurp(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: readers_bench LEVEL0.LZH METHOD1.ARJ\n");
        return 2;
    }
    const Bytes lzh = Slurp(argv[1]);
    const Bytes arj = Slurp(argv[2]);
    if (lzh.size() < 64 || arj.size() < 128) {
        std::fprintf(stderr, "readers_bench: cannot read the inputs\n");
        return 2;
    }
    Bench("-lh5-", lzh, FirstLhaEntry(lzh), kLzhLh5);
    Bench("ARJ -m1", arj, FirstArjEntry(arj), kLzhArj);
    return 0;
}
