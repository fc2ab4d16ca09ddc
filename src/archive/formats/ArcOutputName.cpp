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

// The device names that Windows opens in every folder, with any extension.
bool IsDeviceName(const std::wstring& part) {
    std::wstring base = AsciiUpper(part.substr(0, part.find(L'.')));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

// A component that Windows cannot create as it stands: control characters and
// the characters it reserves, a device name, or a trailing dot or blank (which
// Windows drops, so that the file would get another name).
bool IsWritableComponent(const std::wstring& part) {
    for (wchar_t c : part)
        if (c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
    return !IsDeviceName(part) && part.back() != L'.' && part.back() != L' ';
}

// The components of a stored name that may be used, or false when one of them
// cannot be used at all.
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
        if (!IsWritableComponent(part)) return false;
        parts.push_back(part);
    }
    return true;
}

}  // namespace

bool TZipCommon::BuildOutputName(const std::wstring& entryName) {
    m_outputName.clear();
    // A name ends at an embedded NUL, as it does for the system.
    std::wstring name = SlashToBackslash(entryName.substr(0, entryName.find(L'\0')));
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
    if (IsArchiveFile(m_outputName)) {
        ReportArcError(m_outputName, err::OpenError);
        return false;
    }
    return true;
}

}  // namespace velmora::arc
