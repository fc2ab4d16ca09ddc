// Writes a help book as a WinHelp 3.1 file: the internal file system with its
// B+-tree directory, |SYSTEM, |FONT, |TOPIC (uncompressed topic blocks),
// |CONTEXT (context-string hashes) and |CTXOMAP (the program's context numbers).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "HelpBook.h"

namespace helpgen {

class TWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::uint8_t> WriteWinHelp(const THelpBook& book);

}  // namespace helpgen
