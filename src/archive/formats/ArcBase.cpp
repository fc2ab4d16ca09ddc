#include "ArcBase.h"

#include "ArcShared.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::arc {

namespace {

TSetDate g_setDate = TSetDate::OrigDate;

const wchar_t* const kTypeNames[] = {
    L"NA", L"Unsupported", L"FileError", L"Unknown", L"ARJ", L"ArjExe", L"ARC", L"ArcExe",
    L"BH", L"BHExe", L"CAB", L"HA", L"LHA", L"LZH", L"PAK", L"PakExe", L"RAR", L"RarExe",
    L"TAR", L"ZIP", L"ZipExe", L"Zip250", L"Zip250Exe", L"ZOO"};

}  // namespace

const wchar_t* ArcTypeName(TArcType type) {
    auto i = static_cast<size_t>(type);
    return i < std::size(kTypeNames) ? kTypeNames[i] : L"?";
}

TSetDate SetWideDateFlag() { return g_setDate; }

std::wstring TArcBase::About() const { return L"Velmora archive components"; }

const std::wstring& TZipCommon::ArchiveFile() {
    m_abort = false;
    return m_archiveFile;
}

void TZipCommon::SetArchiveFile(const std::wstring& name) {
    if (!name.empty() && ArcFileExists(name)) {
        m_arcStart = 1;
        m_archiveFile = name;
        m_entryNumber = 0;
        SetArcType(TArcType::NA);
        return;
    }
    m_archiveFile.clear();
    m_entryNumber = 0;
    m_fileSize = 0;
    m_headerSize = 0;
    if (!name.empty()) {
        m_arcType = TArcType::NA;
        RaiseArcError(name, err::FileNotFound);
    }
    SetArcType(TArcType::NA);
}

bool TZipCommon::IsArchiveFile(const std::wstring& target) const {
    TArcFileId targetId, archiveId;
    if (!ArcFileIdentity(target, targetId)) return false;
    if (ArcFileIdentity(m_archiveFile, archiveId) && archiveId == targetId) return true;
    if (m_arcType != TArcType::ARJ && m_arcType != TArcType::ArjExe) return false;
    std::wstring number = L"0", volume;
    for (;;) {
        NextVolumeName(m_archiveFile, number, volume);
        if (volume.empty() || !ArcFileIdentity(volume, archiveId)) return false;
        if (archiveId == targetId) return true;
    }
}

void TZipCommon::SetArcType(TArcType) {
    DetectArcType();
    if (AcceptsType(m_arcType)) return;
    m_arcType = TArcType::NA;
    std::wstring name = m_archiveFile;
    m_archiveFile.clear();
    RaiseArcError(name, err::UnknownFileType);
}

bool TZipCommon::AcceptsType(TArcType t) const {
    auto in = [t](TArcType lo, TArcType hi) { return t >= lo && t <= hi; };
    std::wstring cls = AsciiUpper(ClassName());
    if (cls == L"TUNZIP") return in(TArcType::ZIP, TArcType::Zip250Exe);
    // The archive routines send PAK archives to the ARC reader too.
    if (cls == L"TUNARC") return in(TArcType::ARC, TArcType::ArcExe) || in(TArcType::PAK, TArcType::PakExe);
    if (cls == L"TUNARJ") return in(TArcType::ARJ, TArcType::ArjExe);
    if (cls == L"TUNLHA") return in(TArcType::LHA, TArcType::LZH);
    if (cls == L"TUNBH") return in(TArcType::BH, TArcType::BHExe);
    return true;
}

void TZipCommon::SetFileSpec(const std::wstring& spec) { m_fileSpec = SlashToBackslash(spec); }

void TZipCommon::RaiseArcError(const std::wstring& fileName, int code, const std::wstring& volumeID) {
    if (OnError) OnError(this, fileName, volumeID, code);
    throw E_RAISE(code, ArcErrorText(code));
}

void TZipCommon::ReportArcError(const std::wstring& fileName, int code, const std::wstring& volumeID) {
    if (OnError) OnError(this, fileName, volumeID, code);
}

int TZipCommon::OpenArchiveFile() {
    if (m_file.OpenRead(m_archiveFile)) return 0;
    return m_file.LastError() ? static_cast<int>(m_file.LastError()) : 2;
}

int TZipCommon::CloseArchiveFile() {
    if (m_file.Close()) return 0;
    return m_file.LastError() ? static_cast<int>(m_file.LastError()) : 1;
}

void TZipCommon::ResetPositions() {
    m_headerPos = 0;
    m_headerEnd = 0;
    m_headerSize = 0;
}

void TUnBase::SetExtractDir(const std::wstring& dir) {
    if (!dir.empty())
        SetExtractDirValue(AddBackslash(SlashToBackslash(dir)));
    else if (!m_archiveFile.empty())
        SetExtractDirValue(AddBackslash(ExtractFileDir(m_archiveFile)));
    else
        SetExtractDirValue(std::wstring());
}

void TUnBase::SetSetDateTo(TSetDate value) {
    m_setDateTo = value;
    g_setDate = value;
}

void TUnBase::DoProgress(const std::wstring& fileName, std::uint32_t total, std::uint32_t done,
                         std::uint8_t& lastPercent, bool force) {
    if (ProgressStepReached(force, ProgressStep(), lastPercent, total, done) && OnProgress)
        OnProgress(this, fileName, lastPercent);
}

}  // namespace velmora::arc
