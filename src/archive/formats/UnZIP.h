#pragma once
// TUnZIP: extracts the entries of a ZIP archive (also one behind a
// self-extracting program stub) that match FileSpec into ExtractDir, with the
// methods stored, shrunk, reduced, imploded and deflated and the traditional
// password encryption.

#include <cstdint>
#include <map>
#include <string>

#include "archive/formats/ArcBase.h"
#include "archive/formats/BufferedReader.h"
#include "archive/formats/ZipCrypt.h"

namespace velmora::arc {

class TUnZIP : public TUnBase {
public:
    std::wstring ClassName() const override { return L"TUnZIP"; }

    void Extract() override;

    // The central header fields an entry is extracted by.
    struct CentralEntry {
        std::uint16_t flags = 0;
        std::uint16_t method = 0;
        std::uint16_t dosTime = 0;
        std::uint16_t dosDate = 0;
        std::uint32_t crc = 0;
        std::uint32_t packedSize = 0;
        std::uint32_t size = 0;
        std::uint16_t nameLength = 0;
        std::uint16_t extraLength = 0;
        std::uint16_t commentLength = 0;
        std::uint32_t externalAttributes = 0;
        std::uint32_t localOffset = 0;
        // A size or offset stands in a 64-bit extra field.
        bool zip64 = false;
    };
    struct LocalEntry {
        std::uint16_t flags = 0;
        std::uint16_t dosTime = 0;
        std::uint32_t crc = 0;
        std::uint32_t dataOffset = 0;
    };

private:
    enum class CentralRead { Ok, NotCentral, Short };

    std::uint32_t FindEndRecord();
    CentralRead ReadCentral(std::uint32_t position, CentralEntry& entry, std::wstring& name);
    // 0, or the code to report for an entry whose local header cannot be used.
    int ReadLocal(std::uint32_t offset, LocalEntry& local);
    // Records the entry's span of the archive; true when it overlaps a span
    // recorded before.
    bool OverlapsEarlierEntry(std::uint32_t start, std::uint32_t end);
    // One matching entry; false when the walk ends after it.
    bool ExtractEntry(const CentralEntry& central, const LocalEntry& local);
    bool FindPassword(const CentralEntry& central, const LocalEntry& local,
                      const std::uint8_t (&header)[ZipCrypt::kHeaderSize], ZipCrypt& crypt);
    bool PasswordFits(const std::uint8_t (&header)[ZipCrypt::kHeaderSize], std::uint16_t flags,
                      const std::wstring& password, std::uint16_t dosTime, std::uint32_t crc, ZipCrypt& crypt);
    // Decodes the entry's packed data into Target.
    void UnzipEntry(const CentralEntry& central, std::uint32_t dataOffset, ZipCrypt* crypt, ByteSink& target);

    int m_count = 0;
    std::wstring m_lastPassword;
    // Added to every offset of an archive that counts from its own start.
    std::uint32_t m_offsetBase = 0;
    // Start and end of every entry walked so far, local header to data end.
    std::map<std::uint32_t, std::uint32_t> m_spans;
};

}  // namespace velmora::arc
