// Fuzz target: type detection and the listing of one archive, whatever its bytes.
// Every outcome but a crash, a hang or a sanitizer report is fine: the library
// answers damage with its error codes.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "archive/formats/ArcLister.h"
#include "platform/rtl/Strings.h"

namespace {

// A folder of its own, so that the volume and cabinet names an input asks for
// find nothing but the input itself.
const std::string& InputPath() {
    static const std::string path = [] {
        char dir[] = "/tmp/arcfuzz-XXXXXX";
        if (!mkdtemp(dir)) std::abort();
        return std::string(dir) + "/input.arc";
    }();
    return path;
}

}  // namespace

bool fuzzLastInputRaised = false;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = InputPath();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        std::abort();
    }
    velmora::arc::TArcLister lister;
    int entries = 0;
    lister.OnRead = [&](velmora::arc::TArcBase*, int) { ++entries; };
    lister.OnTotals = [](velmora::arc::TArcBase*, int) {};
    lister.OnError = [](velmora::arc::TArcBase*, const std::wstring&, const std::wstring&, int) {};
    fuzzLastInputRaised = false;
    try {
        lister.SetArchiveFile(velmora::FromUtf8(path));
        // The first byte picks a pattern with or without a folder part.
        lister.SetFileSpec(size > 0 && (data[0] & 1) ? L"d*\\*.t?t" : L"*.*");
        lister.Activate();
    } catch (const velmora::Exception&) {
        fuzzLastInputRaised = true;
    }
    return 0;
}
