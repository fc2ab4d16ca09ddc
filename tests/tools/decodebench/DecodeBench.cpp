// Throughput of the archive library's decoders, against zlib in the same
// process on the same data:
//  - what a user waits for: TUnZIP extracting a ZIP of the data into a
//    temporary folder (reading the archive, inflating, the CRC-32 and writing
//    the file) against zlib's inflate plus its crc32 in memory;
//  - inflate alone, memory to memory, against zlib's inflate;
//  - the CRC-32 against zlib's crc32;
//  - explode, unshrink and unreduce on inputs made by the small encoders
//    beside this file.
//
// Windows build (-O2, the default build type): run decode_bench.exe under
// Wine (tools/wine-run.sh). Natively, without the sanitizers of the test
// build: tools/native-bench.sh, which compiles the library and this program
// with -O2 and runs it.

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "BenchEncoders.h"
#include "archive/formats/BufferedReader.h"
#include "archive/formats/Crc32.h"
#include "archive/formats/Inflate.h"
#include "archive/formats/UnZIP.h"

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

// The one figure with a pass mark.
void PrintRatio(const char* what, double ours, double zlib, double passMark, double aim)
{
    std::printf("  %-28s ratio %5.2f (pass mark %.1f, aim %.1f)\n", what, ours / zlib, passMark, aim);
}

// A figure for information, without a pass mark.
void PrintSpeedUp(const char* what, double ours, double zlib)
{
    std::printf("  %-28s %5.2f times zlib's speed\n", what, ours / zlib);
}

void Put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A ZIP archive with one deflated entry.
std::vector<std::uint8_t> ZipOf(const std::string& name, const std::vector<std::uint8_t>& plain,
                                const std::vector<std::uint8_t>& packed)
{
    const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, plain.data(), static_cast<uInt>(plain.size())));
    auto header = [&](std::vector<std::uint8_t>& out, bool central) {
        Put32(out, central ? 0x02014B50 : 0x04034B50);
        if (central)
            Put16(out, 20);
        Put16(out, 20);                // version needed
        Put16(out, 0);                 // flags
        Put16(out, 8);                 // deflated
        Put16(out, 0x6000);            // 12:00
        Put16(out, (45 << 9) | (6 << 5) | 1);  // 2025-06-01
        Put32(out, crc);
        Put32(out, static_cast<std::uint32_t>(packed.size()));
        Put32(out, static_cast<std::uint32_t>(plain.size()));
        Put16(out, static_cast<unsigned>(name.size()));
        Put16(out, 0);                 // extra field
        if (central) {
            Put16(out, 0);             // comment
            Put16(out, 0);             // disk
            Put16(out, 0);             // internal attributes
            Put32(out, 0x20);          // archive bit
            Put32(out, 0);             // local header offset
        }
        out.insert(out.end(), name.begin(), name.end());
    };
    std::vector<std::uint8_t> zip;
    header(zip, false);
    zip.insert(zip.end(), packed.begin(), packed.end());
    const std::uint32_t centralOffset = static_cast<std::uint32_t>(zip.size());
    header(zip, true);
    const std::uint32_t centralSize = static_cast<std::uint32_t>(zip.size()) - centralOffset;
    Put32(zip, 0x06054B50);
    Put16(zip, 0);
    Put16(zip, 0);
    Put16(zip, 1);
    Put16(zip, 1);
    Put32(zip, centralSize);
    Put32(zip, centralOffset);
    Put16(zip, 0);
    return zip;
}

bool FileEquals(const std::filesystem::path& path, const std::vector<std::uint8_t>& expected)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return bytes == expected;
}

// TUnZIP extracting the archive into a temporary folder, against zlib's
// inflate and crc32 in memory.
void BenchExtract(const std::vector<std::uint8_t>& plain, const std::vector<std::uint8_t>& packed)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "velmora-decode-bench";
    fs::remove_all(folder);
    fs::create_directories(folder / "out");
    const fs::path archive = folder / "bench.zip";
    {
        const std::vector<std::uint8_t> zip = ZipOf("bench.dat", plain, packed);
        std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(zip.data()), zip.size());
    }
    std::printf("extract: TUnZIP, %zu bytes from a %zu-byte archive into %s, best of %d runs each, interleaved\n",
                plain.size(), packed.size(), folder.string().c_str(), kRuns);
    const std::uint32_t expectedCrc = static_cast<std::uint32_t>(crc32(0, plain.data(), static_cast<uInt>(plain.size())));
    std::vector<std::uint8_t> theirs(plain.size());
    std::uint32_t theirCrc = 0;
    double oursBest = 0, zlibBest = 0;
    bool ok = true;
    for (int i = 0; i < kRuns; ++i) {
        fs::remove(folder / "out" / "bench.dat");
        velmora::arc::TUnZIP zip;
        zip.SetArchiveFile(archive.wstring());
        zip.SetExtractDir((folder / "out").wstring());
        zip.OnError = [&](velmora::arc::TArcBase*, const std::wstring&, const std::wstring&, int code) {
            std::printf("TUnZIP: error %d\n", code);
            ok = false;
        };
        oursBest = std::max(oursBest, RunOnce(plain.size(), [&] {
            try {
                zip.Extract();
            } catch (...) {
                ok = false;
            }
        }));
        zlibBest = std::max(zlibBest, RunOnce(plain.size(), [&] {
            ZlibInflate(packed, theirs);
            theirCrc = static_cast<std::uint32_t>(crc32(0, theirs.data(), static_cast<uInt>(theirs.size())));
        }));
    }
    if (!ok || !FileEquals(folder / "out" / "bench.dat", plain))
        std::printf("TUnZIP: OUTPUT DIFFERS\n");
    if (theirCrc != expectedCrc)
        std::printf("zlib: CRC DIFFERS\n");
    fs::remove_all(folder);
    std::printf("  TUnZIP extract              %8.1f MB/s\n  zlib inflate and crc32      %8.1f MB/s\n", oursBest,
                zlibBest);
    PrintRatio("extract against zlib", oursBest, zlibBest, 1.5, 2.0);
}

void BenchInflate(const std::vector<std::uint8_t>& plain, const std::vector<std::uint8_t>& packed)
{
    std::printf("inflate: %zu bytes from %zu packed bytes in memory, best of %d runs each, interleaved\n",
                plain.size(), packed.size(), kRuns);
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
    std::printf("  this library, %s loop    %8.1f MB/s\n  zlib %-8s               %8.1f MB/s\n",
                inflatedetail::Bmi2Available() ? "BMI2 " : "plain", oursBest, zlibVersion(), zlibBest);
    PrintSpeedUp("inflate against zlib", oursBest, zlibBest);
    if (!inflatedetail::Bmi2Available())
        return;
    // The loop for processors without BMI2, on its own.
    inflatedetail::UseLoop(inflatedetail::Loop::Plain);
    const double plainBest = Measure(plain.size(), [&] {
        MemorySource source(packed.data(), packed.size());
        BufferedReader reader(source, static_cast<std::uint32_t>(packed.size()));
        BufferSink sink(ours);
        Inflate(reader, sink, static_cast<std::uint32_t>(plain.size()));
    });
    inflatedetail::UseLoop(inflatedetail::Loop::Best);
    if (!std::equal(plain.begin(), plain.end(), ours.begin()))
        std::printf("inflate, plain loop: OUTPUT DIFFERS\n");
    std::printf("  this library, plain loop    %8.1f MB/s, %.2f times zlib\n", plainBest, plainBest / zlibBest);
}

void BenchCrc(const std::vector<std::uint8_t>& plain)
{
    std::uint32_t ours = 0, theirs = 0;
    double oursBest = 0, zlibBest = 0;
    for (int i = 0; i < kRuns; ++i) {
        oursBest = std::max(oursBest, RunOnce(plain.size(), [&] {
            std::uint32_t crc = 0xFFFFFFFF;
            UpdateCrc32(plain.data(), plain.size(), crc);
            ours = ~crc;
        }));
        zlibBest = std::max(zlibBest, RunOnce(plain.size(), [&] {
            theirs = static_cast<std::uint32_t>(crc32(0, plain.data(), static_cast<uInt>(plain.size())));
        }));
    }
    if (ours != theirs)
        std::printf("crc32: DIFFERS\n");
    std::printf("crc32: this library %8.1f MB/s, zlib %8.1f MB/s\n", oursBest, zlibBest);
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
    const std::vector<std::uint8_t> plain = bench::MixedData(64u << 20, 1);
    const std::vector<std::uint8_t> packed = ZlibDeflate(plain);
    BenchExtract(plain, packed);
    BenchInflate(plain, packed);
    BenchCrc(plain);
    BenchOldMethods();
    return 0;
}
