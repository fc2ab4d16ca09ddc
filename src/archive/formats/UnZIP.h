#pragma once
// TUnZIP: extracts the entries of a ZIP archive (also one behind a
// self-extracting program stub) that match FileSpec into ExtractDir, with the
// methods stored, shrunk, reduced, imploded and deflated and the traditional
// password encryption.

#include <cstdint>
#include <string>

#include "archive/formats/ArcBase.h"
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
    };
    struct LocalEntry {
        std::uint16_t flags = 0;
        std::uint16_t dosTime = 0;
        std::uint32_t crc = 0;
        std::uint32_t dataOffset = 0;
    };

private:
    std::uint32_t FindEndRecord();
    bool ReadCentral(std::uint32_t position, CentralEntry& entry, std::wstring& name);
    bool ReadLocal(std::uint32_t offset, LocalEntry& local);
    // One matching entry; false when the walk ends after it.
    bool ExtractEntry(const CentralEntry& central, const LocalEntry& local);
    bool FindPassword(const CentralEntry& central, const LocalEntry& local,
                      const std::uint8_t (&header)[ZipCrypt::kHeaderSize], ZipCrypt& crypt);
    bool PasswordFits(const std::uint8_t (&header)[ZipCrypt::kHeaderSize], std::uint16_t flags,
                      const std::wstring& password, std::uint16_t dosTime, std::uint32_t crc, ZipCrypt& crypt);
    // Decodes the entry into the target file; the running CRC-32, inverted.
    std::uint32_t UnzipEntry(const CentralEntry& central, std::uint32_t dataOffset, ZipCrypt* crypt);

    int m_count = 0;
    std::wstring m_lastPassword;
    // Added to every offset of an archive that counts from its own start.
    std::uint32_t m_offsetBase = 0;
};

}  // namespace velmora::arc
