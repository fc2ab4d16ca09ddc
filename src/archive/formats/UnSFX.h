#pragma once
// TUnSFX: turns a self-extracting program that carries an ARJ, ARC, BH, PAK,
// RAR or ZIP archive back into a plain archive file.

#include <cstdint>
#include <string>

#include "archive/formats/ArcBase.h"

namespace velmora::arc {

class TUnSFX : public TZipCommon {
public:
    std::wstring ClassName() const override { return L"TUnSFX"; }

    // Detects the type and proposes OutFilename; messages for a missing file,
    // an invalid archive or an unsupported type.
    void SetArchiveFile(const std::wstring& name);
    const std::wstring& ArchiveFile() { return TZipCommon::ArchiveFile(); }
    const std::wstring& OutFilename() const { return m_outFilename; }
    void SetOutFilename(const std::wstring& value);

    // Writes OutFilename; true when it was written. Never writes over the
    // program being converted.
    bool Activate();

private:
    std::wstring Proposal() const;
    void WriteZip(TArcFile& in, TArcFile& out);
    bool FindZipEnd(TArcFile& in, std::uint32_t& endPos);

    std::wstring m_outFilename;
};

// The full form of a file name: absolute, "\" separated, without "." and ".."
// steps. Two names denote the same file when these compare equal ignoring case.
std::wstring FullPathName(const std::wstring& name);

}  // namespace velmora::arc
