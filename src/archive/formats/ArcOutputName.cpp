// BuildOutputName: where an extracted entry goes. Stored names come from anywhere,
// so nothing of them may lead out of the target folder: drives, roots, UNC
// prefixes, "." and ".." are dropped before the name is placed below the base.

#include <vector>

#include "ArcBase.h"
#include "ArcShared.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

// A component of dots and blanks only: Windows would read "..." or ". ." as a step
// up or as the folder itself.
bool IsDotsOnly(const std::wstring& part) {
    return part.find_first_not_of(L". ") == std::wstring::npos;
}

// The components of a stored name that may be used, or false when one of them
// cannot be used at all (a ":" inside a folder or file name).
bool SafeComponents(std::wstring name, std::vector<std::wstring>& parts) {
    if (name.size() >= 2 && name[0] == L'\\' && name[1] == L'\\') {
        // "\\server\share\..." loses server and share.
        size_t server = name.find(L'\\', 2);
        size_t share = server == std::wstring::npos ? server : name.find(L'\\', server + 1);
        name = share == std::wstring::npos ? std::wstring() : name.substr(share + 1);
    }
    if (name.size() >= 2 && name[1] == L':') name.erase(0, 2);
    for (const auto& part : SplitString(name, L"\\")) {
        if (part.empty() || IsDotsOnly(part)) continue;
        if (part.find(L':') != std::wstring::npos) return false;
        parts.push_back(part);
    }
    return true;
}

}  // namespace

bool TZipCommon::BuildOutputName(const std::wstring& entryName) {
    m_outputName.clear();
    std::wstring name = SlashToBackslash(entryName);
    const std::wstring& dir = m_extractDir;
    if (!dir.empty() && name.size() > dir.size() && SameTextAscii(name.substr(0, dir.size()), dir))
        name.erase(0, dir.size());

    std::wstring base = dir;
    if (base.empty()) {
        std::wstring archiveDir = ExtractFileDir(SlashToBackslash(m_archiveFile));
        base = archiveDir.empty() ? ArcCurrentDirectory() : AddBackslash(archiveDir);
    }
    std::vector<std::wstring> parts;
    if (!SafeComponents(name, parts) || parts.empty() || (!name.empty() && name.back() == L'\\')) {
        ReportArcError(entryName, err::InvalidFileName);
        return false;
    }
    std::wstring folder = base;
    if (m_useStoredDirs)
        for (size_t i = 0; i + 1 < parts.size(); ++i) folder += parts[i] + L"\\";
    m_outputName = folder + parts.back();
    return true;
}

}  // namespace velmora::arc
