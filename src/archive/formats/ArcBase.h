#pragma once
// The classes every component of the archive library derives from: TArcBase,
// TZipCommon (the archive file and its type) and TUnBase (the extractors), with the
// archive type, the event types and the error report of the whole set.

#include <cstdint>
#include <functional>
#include <string>

#include "ArcErrors.h"
#include "ArcPlatform.h"
#include "platform/rtl/StringList.h"

namespace velmora::arc {

enum class TArcType : std::uint8_t {
    NA, Unsupported, FileError, Unknown, ARJ, ArjExe, ARC, ArcExe, BH, BHExe, CAB, HA, LHA, LZH,
    PAK, PakExe, RAR, RarExe, TAR, ZIP, ZipExe, Zip250, Zip250Exe, ZOO
};
// The name of the value as written in code ("ArjExe").
const wchar_t* ArcTypeName(TArcType type);

enum class TProgressNotify : std::uint8_t { Five, Ten, Fifteen, Twenty, TwentyFive };
enum class TSetDate : std::uint8_t { OrigDate, CurDate };

class TArcBase;

using TNotifyEvent = std::function<void(TArcBase* Sender)>;
using TOnBegin = std::function<void(TArcBase* Sender, const std::wstring& FN, int RecNum, bool& Extract)>;
using TOnEnd = std::function<void(TArcBase* Sender, const std::wstring& FN, bool CRC_PASS)>;
using TOnError = std::function<void(TArcBase* Sender, const std::wstring& FN, const std::wstring& VolumeID, int ECode)>;
using TOnFileExists = std::function<void(TArcBase* Sender, const std::wstring& FN, bool& Accept)>;
using TOnGetPassword = std::function<void(TArcBase* Sender, const std::wstring& FN, std::wstring& Password, bool& TryAgain)>;
using TOnProgress = std::function<void(TArcBase* Sender, const std::wstring& FN, std::uint8_t Progress)>;
using TOnRead = std::function<void(TArcBase* Sender, int Filenum)>;
using TOnTotals = std::function<void(TArcBase* Sender, int NumFiles)>;

class TArcBase {
public:
    TArcBase() = default;
    virtual ~TArcBase() = default;
    TArcBase(const TArcBase&) = delete;
    TArcBase& operator=(const TArcBase&) = delete;

    // The component's name, shown by the program's exception handler.
    const std::wstring& Name() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    // The class name in the manner of the class library ("TUnZIP"); the type check
    // of TZipCommon::SetArcType goes by it.
    virtual std::wstring ClassName() const { return L"TArcBase"; }

    std::wstring About() const;
    // Setting it restores the fixed text.
    void SetAbout(const std::wstring&) {}

private:
    std::wstring m_name;
};

class TZipCommon : public TArcBase {
public:
    std::wstring ClassName() const override { return L"TZipCommon"; }

    // The setter detects the type; a missing file raises 25132, a type the class
    // does not accept raises 25202. Reading it clears the abort flag.
    const std::wstring& ArchiveFile();
    void SetArchiveFile(const std::wstring& name);
    TArcType ArcType() const { return m_arcType; }
    // Any value re-detects from ArchiveFile and checks the type against the class.
    void SetArcType(TArcType);

    // "/" become "\"; a folder part is kept and then names one stored folder.
    const std::wstring& FileSpec() const { return m_fileSpec; }
    void SetFileSpec(const std::wstring& spec);
    const std::wstring& ExtractDir() const { return m_extractDir; }
    bool UseStoredDirs() const { return m_useStoredDirs; }
    void SetUseStoredDirs(bool value) { m_useStoredDirs = value; }

    // Set by the program's Abort button; the loops of the components observe it.
    void Abort() { m_abort = true; }
    bool Aborted() const { return m_abort; }
    // The flag itself, for the input and output of an entry in work.
    const bool& AbortFlag() const { return m_abort; }

    // 1-based position of the first archive header (1 for a plain archive).
    std::uint32_t ArcStart() const { return m_arcStart; }
    // The same as a 0-based file offset.
    std::uint32_t ArcStartOffset() const { return m_arcStart ? m_arcStart - 1 : 0; }
    // True when detection found a ZIP behind a 27648-byte stub whose offsets count
    // from the archive's own start (add 27648 to every offset of it).
    bool ZipOffsetsRelative() const { return m_zipRelative; }
    std::uint32_t FileSize() const { return m_fileSize; }
    // The target name BuildOutputName made for the entry in work.
    const std::wstring& OutputName() const { return m_outputName; }

    TNotifyEvent OnActivate, OnDeactivate;
    TOnBegin OnBegin;
    TOnEnd OnEnd;
    TOnFileExists OnFileExists;
    TOnError OnError;

    // OnError, then E_RAISE with the code's text. VolumeID is "0" unless a volume
    // name is at hand.
    [[noreturn]] void RaiseArcError(const std::wstring& fileName, int code, const std::wstring& volumeID = L"0");
    // The same report without raising: the work goes on.
    void ReportArcError(const std::wstring& fileName, int code, const std::wstring& volumeID = L"0");

    // The shared archive file, open only inside an operation. Results: 0 or the
    // system's error.
    int OpenArchiveFile();
    int CloseArchiveFile();
    TArcFile& ArcFile() { return m_file; }

    // Sets OutputName() for an entry: below ExtractDir (else the archive's folder),
    // with the stored folders when UseStoredDirs, never outside that base. False,
    // after a report, for a name that cannot be placed there or be written on
    // Windows (25138) and for a target that is the archive itself (25133): skip
    // the entry.
    bool BuildOutputName(const std::wstring& entryName);
    // True when Target is the archive file or one of its volumes, compared as
    // files and not as names: no entry may overwrite the archive it comes from.
    bool IsArchiveFile(const std::wstring& target) const;

protected:
    // The detection result (type, archive start, file size) without any check.
    void DetectArcType();
    void SetExtractDirValue(std::wstring dir) { m_extractDir = std::move(dir); }
    void ResetPositions();

    std::wstring m_archiveFile;
    TArcType m_arcType = TArcType::NA;
    bool m_abort = false;
    std::uint32_t m_arcStart = 1;
    std::uint32_t m_headerEnd = 0;
    std::uint32_t m_headerPos = 0;
    std::uint32_t m_fileSize = 0;
    std::uint32_t m_headerSize = 0;
    // The running entry number of the set.
    int m_entryNumber = 0;
    bool m_zipRelative = false;

private:
    bool AcceptsType(TArcType type) const;

    std::wstring m_extractDir;
    std::wstring m_outputName;
    std::wstring m_fileSpec = L"*.*";
    bool m_useStoredDirs = false;
    TArcFile m_file;
};

// Base of the extractors.
class TUnBase : public TZipCommon {
public:
    std::wstring ClassName() const override { return L"TUnBase"; }

    // Extracts the entries of ArchiveFile that match FileSpec into ExtractDir.
    virtual void Extract() {}

    // "/" become "\" and a trailing "\" is added; empty: the archive's folder.
    void SetExtractDir(const std::wstring& dir);

    TSetDate SetDateTo() const { return m_setDateTo; }
    void SetSetDateTo(TSetDate value);
    TProgressNotify ProgressNotify() const { return m_progressNotify; }
    void SetProgressNotify(TProgressNotify value) { m_progressNotify = value; }
    // The percent step of OnProgress.
    int ProgressStep() const { return (static_cast<int>(m_progressNotify) + 1) * 5; }
    const TStringList& Passwords() const { return m_passwords; }
    TStringList& Passwords() { return m_passwords; }
    void SetPasswords(const TStringList& list) { m_passwords.Assign(list); }

    TOnGetPassword OnGetPassword;
    TOnProgress OnProgress;

    // Fires OnProgress when a step is due (ProgressStepReached); LastPercent is
    // the caller's per-entry state, 0 at the entry's start.
    void DoProgress(const std::wstring& fileName, std::uint32_t total, std::uint32_t done,
                    std::uint8_t& lastPercent, bool force = false);

private:
    TSetDate m_setDateTo = TSetDate::OrigDate;
    TProgressNotify m_progressNotify = TProgressNotify::Ten;
    TStringList m_passwords;
};

// The set-wide date flag that SetDateTo also sets, read by the extractors.
TSetDate SetWideDateFlag();

}  // namespace velmora::arc
