// helpgen SOURCE.txt OUTPUT.hlp: writes the product's help file from its German
// text source. The output is replaced only once the new file is whole.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "HelpSource.h"
#include "WinHelpWriter.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: helpgen SOURCE.txt OUTPUT.hlp\n";
        return 2;
    }
    const std::filesystem::path source = argv[1], output = argv[2];
    std::filesystem::path temp = output;
    temp += ".new";
    try {
        std::ifstream in(source, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + source.string());
        std::ostringstream text;
        text << in.rdbuf();
        const auto bytes = helpgen::WriteWinHelp(helpgen::ParseHelpSource(text.str()));

        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) throw std::runtime_error("cannot write " + temp.string());
        }
        if (std::filesystem::file_size(temp) != bytes.size()) throw std::runtime_error("short write " + temp.string());
        std::filesystem::rename(temp, output);
    } catch (const std::exception& e) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);  // a half-written file must not be mistaken for output
        std::cerr << source.string() << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
