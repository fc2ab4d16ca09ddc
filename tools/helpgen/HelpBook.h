// The help book as the generator sees it: topics made of paragraphs made of runs,
// every text already in the help file's code page (Windows-1252).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace helpgen {

enum class TFont : std::uint16_t { Normal = 0, Bold = 1, Title = 2 };

struct TRun {
    std::string Text;
    TFont Font = TFont::Normal;
    // A run that jumps to another topic names that topic's context string.
    std::string LinkTo;
};

struct TParagraph {
    std::vector<TRun> Runs;
    bool Indented = false;
};

struct TTopic {
    std::string ContextName;  // the topic's context string ("inhalt", "hilfe_12")
    std::vector<std::uint32_t> MapIds;  // the program's help context numbers
    std::string Title;
    std::vector<TParagraph> Paragraphs;
};

struct THelpBook {
    std::string Title;
    std::vector<TTopic> Topics;  // the first one is the contents topic
};

// WinHelp's hash of a context string: letters, digits, "." and "_" count, base 43.
std::int32_t ContextHash(const std::string& name);

}  // namespace helpgen
