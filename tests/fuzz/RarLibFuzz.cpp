// Fuzz target: the RAR calls over one file, whatever its bytes: open, read every
// header, test every entry. Every outcome but a crash, a hang or a sanitizer
// report is fine.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/rarlib/RarLib.h"

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        char dir[] = "/tmp/rarfuzz-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        return std::string(dir) + "/input.rar";
    }();
    return path;
}

}  // namespace

bool fuzzLastInputRaised = false;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    char comment[256];
    RAROpenArchiveData open{InputPath().c_str(), RarOpenExtract, 0, comment, sizeof comment, 0, 0, 0};
    void* h = RAROpenArchive(&open);
    fuzzLastInputRaised = !h;
    if (!h) return 0;
    char entryComment[16];
    RARHeaderData header{};
    header.CmtBuf = entryComment;
    header.CmtBufSize = sizeof entryComment;
    bool failed = false;
    int result;
    while ((result = RARReadHeader(h, &header)) == RarOk) failed |= RARProcessFile(h, RarTest, nullptr, nullptr) != RarOk;
    fuzzLastInputRaised = failed || result != RarEndArchive;
    RARCloseArchive(h);
    return 0;
}
