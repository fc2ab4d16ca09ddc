// Throughput of the archive library's decoders. Inflate runs against zlib's
// inflate in the same process on the same stream; explode, unshrink and
// unreduce on inputs made by the small encoders beside this file.
//
// Windows build: cmake -DCMAKE_BUILD_TYPE=Release, then run decode_bench.exe
// under Wine. Natively, without the sanitizers of the test build:
//   tools/native-bench.sh
// which compiles the library and this program with -O3 and runs it.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "BenchEncoders.h"
#include "archive/formats/BufferedReader.h"
#include "archive/formats/Inflate.h"

using namespace velmora::arc;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kRuns = 5;

// Copies into a buffer allocated up front, so that the sink costs one memcpy.
class BufferSink : public ByteSink {
public:
    explicit BufferSink(std::vector<std::uint8_t>& buffer) : m_buffer(buffer) {}
    void Write(const std::uint8_t* data, std::size_t count) override
    {
        std::memcpy(m_buffer.data() + m_size, data, count);
        m_size += count;
    }
    std::size_t Size() const { return m_size; }

private:
    std::vector<std::uint8_t>& m_buffer;
    std::size_t m_size = 0;
};

// MB (10^6 bytes) of output per second of one run.
double RunOnce(std::size_t outputSize, const std::function<void()>& run)
{
    const auto start = Clock::now();
    run();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outputSize / seconds / 1e6;
}

// Best of the runs.
double Measure(std::size_t outputSize, const std::function<void()>& run)
{
    double best = 0;
    for (int i = 0; i < kRuns; ++i)
        best = std::max(best, RunOnce(outputSize, run));
    return best;
}

std::vector<std::uint8_t> ZlibDeflate(const std::vector<std::uint8_t>& plain)
{
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    std::vector<std::uint8_t> packed(deflateBound(&z, plain.size()));
    z.next_in = const_cast<Bytef*>(plain.data());
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = packed.data();
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FINISH);
    packed.resize(z.total_out);
    deflateEnd(&z);
    return packed;
}

void ZlibInflate(const std::vector<std::uint8_t>& packed, std::vector<std::uint8_t>& out)
{
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    if (inflate(&z, Z_FINISH) != Z_STREAM_END)
        std::fprintf(stderr, "zlib: stream did not end\n");
    inflateEnd(&z);
}

double MeasureDecoder(const std::vector<std::uint8_t>& packed, const std::vector<std::uint8_t>& plain,
                      const std::function<void(BufferedReader&, ByteSink&)>& decode, const char* name)
{
    std::vector<std::uint8_t> out(plain.size() + 16);
    const double rate = Measure(plain.size(), [&] {
        MemorySource source(packed.data(), packed.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
        BufferSink sink(out);
        decode(reader, sink);
    });
    if (!std::equal(plain.begin(), plain.end(), out.begin()))
        std::printf("%s: OUTPUT DIFFERS\n", name);
    return rate;
}

void BenchInflate()
{
    const std::vector<std::uint8_t> plain = bench::MixedData(64u << 20, 1);
    const std::vector<std::uint8_t> packed = ZlibDeflate(plain);
    std::printf("inflate: %zu bytes from %zu packed bytes, best of %d runs each, interleaved\n", plain.size(),
                packed.size(), kRuns);
    std::vector<std::uint8_t> ours(plain.size() + 16), theirs(plain.size());
    double oursBest = 0, zlibBest = 0;
    // Alternating runs share the machine's passing load between both sides.
    for (int i = 0; i < kRuns; ++i) {
        oursBest = std::max(oursBest, RunOnce(plain.size(), [&] {
            MemorySource source(packed.data(), packed.size());
            BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
            BufferSink sink(ours);
            Inflate(reader, sink, static_cast<std::uint32_t>(plain.size()));
        }));
        zlibBest = std::max(zlibBest, RunOnce(plain.size(), [&] { ZlibInflate(packed, theirs); }));
    }
    if (!std::equal(plain.begin(), plain.end(), ours.begin()))
        std::printf("inflate: OUTPUT DIFFERS\n");
    if (theirs != plain)
        std::printf("zlib: OUTPUT DIFFERS\n");
    std::printf("  this library  %8.1f MB/s\n  zlib %-8s %8.1f MB/s\n  ratio         %8.2f\n", oursBest, zlibVersion(),
                zlibBest, oursBest / zlibBest);
}

void BenchOldMethods()
{
    const std::vector<std::uint8_t> plain = bench::MixedData(16u << 20, 2);
    for (const bench::Method& m : bench::OldMethods()) {
        const std::vector<std::uint8_t> packed = m.encode(plain);
        const double rate = MeasureDecoder(packed, plain, [&](BufferedReader& r, ByteSink& s) {
            m.decode(r, s, static_cast<std::uint32_t>(plain.size()));
        }, m.name);
        std::printf("%-10s %8.1f MB/s (%zu bytes from %zu packed bytes)\n", m.name, rate, plain.size(), packed.size());
    }
}

}  // namespace

int main()
{
    BenchInflate();
    BenchOldMethods();
    return 0;
}
