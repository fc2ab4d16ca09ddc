#pragma once
// TUnZOO: extracts the entries of a ZOO archive (methods 0 stored, 1 LZW and
// 2 the static-Huffman method of LHA), walking the chain of entries.

#include <cstdint>
#include <string>

#include "archive/formats/ArcBase.h"
#include "archive/formats/UnReaderFiles.h"

namespace velmora::arc {

class TUnZOO : public TUnBase {
public:
    std::wstring ClassName() const override { return L"TUnZOO"; }
    void Extract() override;

private:
    struct Header {
        int method = 0;
        std::uint32_t next = 0;
        std::uint32_t dataStart = 0;
        std::uint32_t dosTime = 0;
        std::uint16_t crc = 0;
        std::uint32_t original = 0;
        std::uint32_t packed = 0;
        bool deleted = false;
        std::wstring name;
    };

    std::uint32_t ReadArchiveHeader();
    void ReadHeader(std::uint32_t pos, Header& header);
    void ExtractEntry(const Header& header);
    void DecodeEntry(const Header& header, const std::wstring& target);

    int m_count = 0;
};

}  // namespace velmora::arc
