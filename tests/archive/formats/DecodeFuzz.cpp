// Fuzz target for the decoders and for ZIP extraction. The first input byte
// picks the routine (for inflate also the loop: an odd multiple of 13 forces
// the plain one), the next three the declared unpacked size (at most 1 MiB);
// for extraction the rest is the archive file. Every outcome but a crash, a
// hang or a sanitizer report is fine: E_RAISE is the normal answer to damage.
//
// Built with libFuzzer by tools/fuzz-decode.sh (clang); the native test build
// compiles it with a small driver that runs it over files, so it stays in step.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "archive/formats/BufferedReader.h"
#include "archive/formats/Explode.h"
#include "archive/formats/Inflate.h"
#include "archive/formats/LzhDecode.h"
#include "archive/formats/UnZIP.h"
#include "archive/formats/Unreduce.h"
#include "archive/formats/Unshrink.h"

using namespace velmora::arc;

namespace {

// Counts instead of keeping: the bound on the output is what matters.
class CountingSink : public ByteSink {
public:
    explicit CountingSink(std::uint32_t limit) : m_limit(limit) {}
    void Write(const std::uint8_t*, std::size_t count) override
    {
        m_total += count;
        if (m_total > m_limit)
            __builtin_trap();  // a decoder wrote more than declared
    }

private:
    std::uint64_t m_total = 0;
    std::uint32_t m_limit;
};

void Decode(int routine, const std::uint8_t* data, std::size_t size, std::uint32_t unpacked)
{
    MemorySource source(data, size);
    BufferedReader reader(source, static_cast<std::uint32_t>(size));
    CountingSink sink(unpacked);
    switch (routine) {
    case 0: Inflate(reader, sink, unpacked); break;
    case 1: LzhDecode(reader, sink, kLzhLh5, unpacked); break;
    case 2: LzhDecode(reader, sink, kLzhArj, unpacked); break;
    case 3: LzhDecode(reader, sink, kLzhLh4, unpacked); break;
    case 4: Unshrink(reader, sink, unpacked); break;
    case 5: case 6: case 7: case 8: Unreduce(reader, sink, routine - 4, unpacked); break;
    default: Explode(reader, sink, static_cast<std::uint16_t>((routine - 9) << 1), unpacked, nullptr); break;
    }
}

void ExtractArchive(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "out");
    const std::filesystem::path archive = folder / "fuzz.zip";
    std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    TUnZIP zip;
    zip.SetArchiveFile(archive.wstring());
    zip.SetExtractDir((folder / "out").wstring());
    zip.SetUseStoredDirs(true);
    zip.SetPasswords(velmora::TStringList{L"geheim"});
    zip.OnFileExists = [](TArcBase*, const std::wstring&, bool& accept) { accept = true; };
    zip.Extract();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4)
        return 0;
    const int routine = data[0] % 13;
    const std::uint32_t unpacked = (data[1] | (data[2] << 8) | (data[3] << 16)) & 0xFFFFF;
    inflatedetail::UseLoop(data[0] / 13 % 2 ? inflatedetail::Loop::Plain : inflatedetail::Loop::Best);
    try {
        if (data[0] >= 0xF0)
            ExtractArchive(data + 4, size - 4);
        else
            Decode(routine, data + 4, size - 4, unpacked);
    } catch (const velmora::Exception&) {
    }
    return 0;
}
