// zlrepairfuzz DLLFOLDER WORKFOLDER SECONDS SEED...: mutates the seed archives
// at random and runs "-F" and "-FF" of the real zip library on each, then
// tests what a repair reported as done. Every outcome but a crash, a call that
// does not end within its bound, or a repaired archive the unzip half refuses
// is fine. The input of the running call stays in WORKFOLDER\current.zip, so
// that a crash leaves it behind; a slow one is kept as slow-N.zip.
// Exit 0 when clean, 1 with a finding.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Entry = int(__stdcall*)(int, int, char**, int(__stdcall*)(int, void*, void*), void*);

int __stdcall Quiet(int, void*, void*) { return 0; }

std::string ReadAll(const std::string& path)
{
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) data.append(buffer, n);
        std::fclose(f);
    }
    return data;
}

bool WriteAll(const std::string& path, const std::string& data)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

std::string Mutate(std::string s, std::mt19937& rng)
{
    const int count = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = s.empty() ? 0 : rng() % s.size();
        switch (rng() % 7) {
        case 0:
            if (!s.empty()) s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8)));
            break;
        case 1: {
            static const unsigned char kValues[] = {0, 0xFF, 0x7F, 0x80, 'P', 'K', 1, 8};
            if (!s.empty()) s[at] = static_cast<char>(kValues[rng() % sizeof kValues]);
            break;
        }
        case 2: {
            static const char* const kSignatures[] = {"PK\x03\x04", "PK\x01\x02", "PK\x05\x06", "PK\x07\x08",
                                                      "PK\x06\x06", "PK\x06\x07"};
            s.insert(at, kSignatures[rng() % 6], 4);
            break;
        }
        case 3:
            s.resize(at);
            break;
        case 4:
            if (!s.empty()) {
                const std::size_t length = std::min<std::size_t>(s.size() - at, 1 + rng() % 512);
                s.insert(rng() % s.size(), s.substr(at, length));
            }
            break;
        case 5:
            if (!s.empty()) s.erase(at, std::min<std::size_t>(s.size() - at, 1 + rng() % 64));
            break;
        default:
            // A 16- or 32-bit field set to a large value.
            if (s.size() >= at + 4) {
                const std::uint32_t v = rng() % 2 ? 0xFFFFFFFFu : rng();
                std::memcpy(&s[at], &v, rng() % 2 ? 2 : 4);
            }
            break;
        }
    }
    return s;
}

int Call(Entry entry, const std::vector<std::string>& args)
{
    std::vector<char*> list;
    for (const std::string& a : args) list.push_back(const_cast<char*>(a.c_str()));
    return entry(100, static_cast<int>(list.size()), list.data(), Quiet, nullptr) & 0xFFFF;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fputs("zlrepairfuzz DLLFOLDER WORKFOLDER SECONDS SEED...\n", stderr);
        return 2;
    }
    const std::string dlls = argv[1], work = argv[2];
    const DWORD seconds = static_cast<DWORD>(std::stoul(argv[3]));
    HMODULE zip = LoadLibraryA((dlls + "\\ZLZIP32.DLL").c_str());
    HMODULE unzip = LoadLibraryA((dlls + "\\ZLUNZ32.DLL").c_str());
    if (!zip || !unzip) {
        std::fprintf(stderr, "the libraries do not load (error %lu)\n", GetLastError());
        return 2;
    }
    const auto zlzip = reinterpret_cast<Entry>(GetProcAddress(zip, "zlzip"));
    const auto zlunzip = reinterpret_cast<Entry>(GetProcAddress(unzip, "zlunzip"));
    std::vector<std::string> seeds;
    for (int i = 4; i < argc; ++i)
        if (std::string s = ReadAll(argv[i]); !s.empty()) seeds.push_back(std::move(s));
    if (!zlzip || !zlunzip || seeds.empty()) return 2;
    CreateDirectoryA(work.c_str(), nullptr);
    const std::string current = work + "\\current.zip", input = work + "\\input.zip";
    // A fixed seed (ZLFUZZ_SEED) makes a run repeatable, as the short test's is.
    char seedText[32] = {};
    const DWORD seedLength = GetEnvironmentVariableA("ZLFUZZ_SEED", seedText, sizeof seedText);
    const unsigned seed = seedLength > 0 && seedLength < sizeof seedText ? std::strtoul(seedText, nullptr, 10)
                                                                         : GetTickCount();
    std::printf("seed %u\n", seed);
    std::mt19937 rng(seed);
    const DWORD start = GetTickCount();
    int runs = 0, repaired = 0, slow = 0;
    while (GetTickCount() - start < seconds * 1000) {
        const std::string data = Mutate(seeds[rng() % seeds.size()], rng);
        const bool thorough = rng() % 2;
        if (!WriteAll(current, data) || !WriteAll(input, data)) return 2;
        const DWORD before = GetTickCount();
        const int result = Call(zlzip, {"", thorough ? "-FF" : "-F", input});
        const DWORD took = GetTickCount() - before;
        ++runs;
        if (took > 10000) {
            std::fprintf(stderr, "%s took %lu ms: kept as slow-%d.zip\n", thorough ? "-FF" : "-F", took, slow);
            WriteAll(work + "\\slow-" + std::to_string(slow++) + ".zip", data);
        }
        if (result == 0) {
            ++repaired;
            // What a repair wrote must read as an archive again.
            const int test = Call(zlunzip, {"", "-t", input});
            if (test != 0 && test != 40 && test != 200 && test != 210) {
                std::fprintf(stderr, "a repaired archive tests with %d: kept as bad-repair.zip\n", test);
                WriteAll(work + "\\bad-repair.zip", data);
                return 1;
            }
        }
    }
    DeleteFileA(current.c_str());
    DeleteFileA(input.c_str());
    std::printf("%d runs, %d repaired, %d slow\n", runs, repaired, slow);
    return slow ? 1 : 0;
}
