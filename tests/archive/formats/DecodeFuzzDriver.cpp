// Runs the fuzz target over the files named on the command line, or over the
// committed fixtures when none is named (the native test build's smoke run).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs(argv + 1, argv + argc);
    if (inputs.empty()) {
        for (const auto& e : std::filesystem::directory_iterator(std::string(VELMORA_SOURCE_DIR) + "/tests/data/zip-extract"))
            if (e.is_regular_file())
                inputs.push_back(e.path());
    }
    for (const auto& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        // Once as an archive, once through each raw routine.
        for (std::uint8_t selector = 0; selector < 13; ++selector) {
            std::vector<std::uint8_t> input = {selector, 0x00, 0x00, 0x01};
            input.insert(input.end(), bytes.begin(), bytes.end());
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
        std::vector<std::uint8_t> archive = {0xF0, 0, 0, 0};
        archive.insert(archive.end(), bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(archive.data(), archive.size());
    }
    return 0;
}
