#pragma once
// TUnARC: extracts the entries of ARC and PAK archives, plain or behind a
// program stub (methods 1 to 9; PAK's own methods are passed over).

#include <cstdint>
#include <string>

#include "archive/formats/ArcBase.h"
#include "archive/formats/UnReaderFiles.h"

namespace velmora::arc {

class TUnARC : public TUnBase {
public:
    std::wstring ClassName() const override { return L"TUnARC"; }
    void Extract() override;

private:
    struct Header {
        int method = 0;
        std::wstring name;
        std::uint32_t packed = 0;
        std::uint32_t original = 0;
        std::uint32_t dosTime = 0;
        std::uint16_t crc = 0;
        std::uint32_t dataStart = 0;
    };

    // False at the end mark, or after reporting that no mark was found.
    bool ReadHeader(Header& header);
    void ExtractEntry(const Header& header);
    bool AcceptEntry(const std::wstring& target);
    void SkipData(const Header& header);

    int m_count = 0;
};

}  // namespace velmora::arc
