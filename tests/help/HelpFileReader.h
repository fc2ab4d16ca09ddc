// Reads a WinHelp 3.1 file the way the help viewer does, checking every size and
// offset on the way: the directory, |SYSTEM, |FONT, the topic records, |CONTEXT
// and |CTXOMAP. Texts stay in the file's code page (Windows-1252).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::helptest {

class THelpFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct THelpPage {
    std::uint32_t Offset = 0;  // the topic offset that maps and hashes point at
    std::string Title;
    std::vector<std::string> Paragraphs;  // plain text of each paragraph
    std::vector<std::int32_t> Jumps;       // context hashes of the jumps in the text
    std::uint32_t BrowseBack = 0, BrowseForward = 0;
};

struct THelpFile {
    std::vector<std::uint8_t> Bytes;
    std::map<std::string, std::uint32_t> Files;  // internal file name -> offset of its header
    std::string Title;
    std::uint32_t ContentsOffset = 0xFFFFFFFF;
    std::map<std::string, std::string> WindowCaptions;  // |SYSTEM window name -> caption
    unsigned Fonts = 0;
    std::vector<THelpPage> Pages;
    std::map<std::uint32_t, std::uint32_t> ContextMap;  // |CTXOMAP: number -> topic offset

    // The page that holds a topic offset: the last one starting at or before it.
    const THelpPage* PageByOffset(std::uint32_t offset) const;
    // |CONTEXT, searched from its root as the viewer does.
    std::optional<std::uint32_t> OffsetOfHash(std::int32_t hash) const;
};

THelpFile ReadHelpFile(const std::filesystem::path& path);
THelpFile ParseHelpFile(std::vector<std::uint8_t> bytes);

}  // namespace velmora::helptest
