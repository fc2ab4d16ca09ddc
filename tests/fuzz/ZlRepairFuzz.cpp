// Fuzz target: the zip library's repair over one file, whatever its bytes:
// "-F" and "-FF", each on a fresh copy, natively through the Win32 shim.
// Besides a crash, a hang or a sanitizer report, it stops at a repair that
// changed the archive and then failed, one that left a temporary file behind,
// and a repaired archive whose directory does not read back with as many
// entries as the repair counted (or, after "-FF", an entry it checked that no
// longer reads whole).

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ziplib/ZlRepair.h"

namespace {

using namespace velmora::zl;

const std::string& WorkFolder() {
    static const std::string folder = [] {
        char dir[] = "/dev/shm/zlrepairfuzz-XXXXXX";
        char fallback[] = "/tmp/zlrepairfuzz-XXXXXX";
        const char* made = mkdtemp(dir);
        if (!made) made = mkdtemp(fallback);
        if (!made) std::abort();
        return std::string(made);
    }();
    return folder;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

[[noreturn]] void Finding(const char* what, bool thorough) {
    std::fprintf(stderr, "%s: %s\n", thorough ? "-FF" : "-F", what);
    std::abort();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The names in the work folder other than the archive: what a repair left behind.
int Leftovers(const std::string& archiveName) {
    int count = 0;
    DIR* dir = opendir(WorkFolder().c_str());
    if (!dir) std::abort();
    while (const dirent* e = readdir(dir))
        if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, "..") && e->d_name != archiveName) ++count;
    closedir(dir);
    return count;
}

// Reads the messages as a caller would: names and statistics blocks are walked.
int __stdcall Callback(int message, void* data, void*) {
    volatile std::size_t sink = 0;
    if (message == kMsgFixing) sink = std::strlen(static_cast<const char*>(data));
    if (message == kMsgProgress) {
        const auto* block = static_cast<const ZlFileStatsBlock*>(data);
        sink = std::strlen(block->name) + std::strlen(block->comment);
    }
    (void)sink;
    return 0;
}

void RepairOnce(const std::uint8_t* data, std::size_t size, bool thorough) {
    const std::string path = WorkFolder() + "/input.zip";
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        if (std::fclose(f) != 0) std::abort();
    } else {
        std::abort();
    }
    Session session(Callback, nullptr);
    int count = -1;
    try {
        count = Repair(thorough ? "secret" : "", Wide(path), Wide(WorkFolder()), thorough, session);
    } catch (const ZlFailure&) {
    }
    if (Leftovers("input.zip") != 0) Finding("a temporary file was left behind", thorough);
    if (count < 0) {
        if (ReadAll(path) != input) Finding("the archive changed although the repair failed", thorough);
    } else {
        InFile file;
        ZipDirectory dir;
        if (!file.Open(Wide(path)) || ReadDirectory(file, dir) != kResultOk)
            Finding("the repaired archive has no readable directory", thorough);
        if (dir.entries.size() != static_cast<std::size_t>(count))
            Finding("the repaired archive holds another count of entries", thorough);
        EntryReader reader;
        for (const ZipEntry& e : dir.entries) {
            try {
                const DataResult r = reader.Read(file, e, nullptr, [](const std::uint8_t*, std::size_t) {}, {});
                // "-FF" kept only entries it read whole, or ones it could not check.
                if (thorough && !e.Encrypted() && r != DataResult::Ok && r != DataResult::UnknownMethod)
                    Finding("a checked entry no longer reads whole", thorough);
            } catch (const ZlFailure&) {
                Finding("an entry of the repaired archive has no local header or data", thorough);
            }
        }
    }
    unlink(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RepairOnce(data, size, false);
    RepairOnce(data, size, true);
    return 0;
}
