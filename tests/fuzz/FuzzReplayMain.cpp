// Runs the fuzz target over files and folders of files given on the command line,
// for compilers without libFuzzer: the fixtures become a regression run.
// "--listed FILE" names the inputs (one name a line, relative to its folder) that list without an
// error: one of them that raises now is a regression and fails the run.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
// Set by the target: whether its last input ended in an error.
extern bool fuzzLastInputRaised;

namespace {

// Whether the whole file raised; its cuts only have to come back.
bool RunFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    const bool raised = fuzzLastInputRaised;
    // Every cut of the first kilobyte as well: truncated archives are the commonest damage.
    for (std::size_t cut = 0; cut < bytes.size() && cut < 1024; cut += 7) LLVMFuzzerTestOneInput(bytes.data(), cut);
    return raised;
}

}  // namespace

int main(int argc, char** argv) {
    std::set<std::string> listedBefore;
    std::map<std::string, bool> raisedNow;  // by name below the folder given
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--listed" && i + 1 < argc) {
            std::ifstream list(argv[++i]);
            if (!list) return std::fprintf(stderr, "cannot read %s\n", argv[i]), 1;
            for (std::string name; std::getline(list, name);)
                if (!name.empty()) listedBefore.insert(name);
            continue;
        }
        std::filesystem::path p(arg);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::recursive_directory_iterator(p))
                if (e.is_regular_file()) raisedNow[e.path().lexically_relative(p).generic_string()] = RunFile(e.path());
        } else {
            raisedNow[p.filename().string()] = RunFile(p);
        }
    }
    int listed = 0, raised = 0, failed = 0;
    for (const auto& [name, r] : raisedNow) {
        r ? ++raised : ++listed;
        if (r) std::printf("raised: %s\n", name.c_str());
        if (r && listedBefore.count(name)) std::printf("FAILED: %s listed before and raises now\n", name.c_str()), ++failed;
    }
    for (const auto& name : listedBefore)
        if (!raisedNow.count(name)) std::printf("FAILED: %s is missing\n", name.c_str()), ++failed;
    std::printf("%zu inputs: %d listed, %d raised; %d failed\n", raisedNow.size(), listed, raised, failed);
    return !raisedNow.empty() && failed == 0 ? 0 : 1;
}
