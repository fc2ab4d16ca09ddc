// Fuzz target of the ARJ, LHA, ARC and ZOO readers, the self-extracting
// program converter and their own decoders (libFuzzer; tools/fuzz-readers.sh).
// The first byte chooses: 0 to 4 a component over the rest as an archive file,
// 5 and up a raw decoder over the rest as a packed stream.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "archive/formats/ArcUnpack.h"
#include "archive/formats/ArjFastestDecode.h"
#include "archive/formats/Lh1Decode.h"
#include "archive/formats/UnARC.h"
#include "archive/formats/UnARJ.h"
#include "archive/formats/UnLHA.h"
#include "archive/formats/UnSFX.h"
#include "archive/formats/UnZoo.h"
#include "archive/formats/ZooLzwDecode.h"

using namespace velmora;

namespace {

const std::filesystem::path& Folder()
{
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velmora-readers-fuzz-" + std::to_string(getpid()));
    return folder;
}

std::wstring Name(const std::filesystem::path& p)
{
    return p.wstring();
}

void RunComponent(int kind, const std::uint8_t* data, std::size_t size)
{
    std::filesystem::remove_all(Folder());
    std::filesystem::create_directories(Folder() / "out");
    const auto archive = Folder() / "in.exe";
    std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    arc::SetArcMessageBoxHook([](const std::wstring&, arc::TArcMsgKind, arc::TArcMsgButtons) { return 7; });
    try {
        if (kind == 4) {
            arc::TUnSFX sfx;
            sfx.SetArchiveFile(Name(archive));
            sfx.SetOutFilename(Name(Folder() / "out" / "plain.bin"));
            sfx.Activate();
            return;
        }
        std::unique_ptr<arc::TUnBase> reader;
        switch (kind) {
        case 0: reader = std::make_unique<arc::TUnARJ>(); break;
        case 1: reader = std::make_unique<arc::TUnLHA>(); break;
        case 2: reader = std::make_unique<arc::TUnARC>(); break;
        default: reader = std::make_unique<arc::TUnZOO>(); break;
        }
        reader->SetArchiveFile(Name(archive));
        reader->SetExtractDir(Name(Folder() / "out"));
        reader->SetUseStoredDirs(true);
        reader->Extract();
    } catch (const Exception&) {
    }
}

void RunDecoder(int kind, const std::uint8_t* data, std::size_t size)
{
    arc::MemorySource source(data, size);
    arc::BufferedReader input(source, static_cast<std::uint32_t>(size));
    // Declared sizes far beyond the data: the decoders must stop on their own.
    arc::MemorySink sink;
    const std::uint32_t unpacked = static_cast<std::uint32_t>(size * 300 + 1000);
    try {
        if (kind <= 13)
            ArcUnpack(kind - 4, input, sink, unpacked);
        else if (kind == 14)
            ArjFastestDecode(input, sink, unpacked);
        else if (kind == 15)
            ZooLzwDecode(input, sink, unpacked);
        else
            Lh1Decode(input, sink, unpacked);
    } catch (const Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int kind = data[0] % 17;
    if (kind <= 4)
        RunComponent(kind, data + 1, size - 1);
    else
        RunDecoder(kind, data + 1, size - 1);
    return 0;
}
