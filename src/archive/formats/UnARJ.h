#pragma once
// TUnARJ: extracts the entries of an ARJ archive, plain or behind a program
// stub, following entries across the volumes of a multi-volume archive.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/formats/ArcBase.h"
#include "archive/formats/UnReaderFiles.h"

namespace velmora::arc {

class TUnARJ : public TUnBase {
public:
    std::wstring ClassName() const override { return L"TUnARJ"; }
    void Extract() override;

private:
    // One basic header as read, with the position of the data behind it.
    struct Header {
        std::uint8_t version = 0;
        std::uint8_t needed = 0;
        std::uint8_t flags = 0;
        std::uint8_t method = 0;
        std::uint8_t fileType = 0;
        std::uint32_t dosTime = 0;
        std::uint32_t packed = 0;
        std::uint32_t original = 0;
        std::uint32_t crc = 0;
        std::wstring name;
        std::uint32_t dataStart = 0;
    };

    void FindMainHeader();
    bool ReadHeader(Header& header, int badMarkCode);
    bool ExtractEntry(const Header& header);
    bool AcceptEntry(const std::wstring& target);
    void CheckMethod(const Header& header);
    bool DecodeParts(const Header& first, TargetSink& sink);
    void OpenNextVolume();
    void SkipData(const Header& header);

    int m_count = 0;
    std::wstring m_volumeNumber;
    std::wstring m_volumeName;
    // A part continued from the previous volume, reached after its entry was
    // passed over: it is passed over too.
    bool m_skipContinuation = false;
};

}  // namespace velmora::arc
