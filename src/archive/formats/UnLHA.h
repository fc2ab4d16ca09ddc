#pragma once
// TUnLHA: extracts the entries of an LHA/LZH archive: stored (-lh0-), the
// adaptive-Huffman -lh1- and the static-Huffman -lh4- and -lh5-; header
// levels 0, 1 and 2.

#include <cstdint>
#include <string>

#include "archive/formats/ArcBase.h"
#include "archive/formats/UnReaderFiles.h"

namespace velmora::arc {

class TUnLHA : public TUnBase {
public:
    std::wstring ClassName() const override { return L"TUnLHA"; }
    void Extract() override;

private:
    struct Header {
        std::string method;  // the five characters, "-lh5-"
        std::uint32_t dataStart = 0;
        std::uint32_t dataSize = 0;
        std::uint32_t original = 0;
        std::uint16_t crc = 0;
        std::uint32_t next = 0;  // where the next header begins
        std::wstring name;
    };

    // False at the end of the archive (a zero byte, a short or a bad header).
    bool ReadHeader(std::uint32_t pos, Header& header);
    bool ReadExtendedHeaders(std::uint32_t pos, std::uint32_t firstSize, std::uint32_t& total,
                             std::wstring& name, std::wstring& folder);
    void ExtractEntry(const Header& header);
    void Decode(const Header& header, TargetSink& sink);

    int m_count = 0;
};

}  // namespace velmora::arc
