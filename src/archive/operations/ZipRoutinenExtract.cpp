// Extraction of TZipRoutinen: the zip library and the outside unpackers.
#include <windows.h>


#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

bool IsSelfExtracting(std::uint8_t kind) { return kind >= ftZipExe && kind <= ftArcExe; }

// Where extraction in PathMode puts the entry.
std::wstring TargetOf(const std::wstring& target, const std::wstring& entry, int pathMode, const std::wstring& base) {
    return EntryTargetFolder(target, entry, pathMode, base) + ExtractFileName(StoredEntryName(entry));
}

bool IsRemovableArchive(const std::wstring& archive, const std::function<unsigned(const std::wstring&)>& type) {
    return archive.size() > 2 && archive[1] == L':' && archive[2] == L'\\' &&
           type(archive.substr(0, 3)) == DRIVE_REMOVABLE;
}

}  // namespace

void TZipRoutinen::ExtractFromArchive(const std::wstring& ArchiveName, const TStringList& Entries,
                                      bool DeleteAfter, const std::wstring& Target, const std::wstring& Password,
                                      int PathMode, TZlOverwrite Overwrite, int Mode,
                                      const std::wstring& BaseFolder) {
    Fehlercode = fc::ExtractFromArchive;
    std::uint8_t kind = 0;
    GetArchiveType(ArchiveName, kind);
    if (kind == 0) return;
    const std::wstring target = IncludeTrailingBackslash(Target);
    ForceDirectories(target);
    // A self-extracting program is never changed by an extraction.
    const bool deleteAfter = DeleteAfter && !IsSelfExtracting(kind);
    TPackerExtractOptions options;
    options.Password = Password;
    options.PathMode = PathMode;
    options.Overwrite = static_cast<int>(Overwrite);
    options.Mode = Mode;
    options.DeleteAfter = deleteAfter;
    options.BaseFolder = BaseFolder;
    // The format library's unpackers take no password for ARJ and ARC.
    const bool inProcess = (kind == ftZipExe && Packer.UseInternUnZip) ||
                           ((kind == ftArj || kind == ftArjExe) && Packer.UseInternUnArj && Password.empty()) ||
                           (kind == ftLzh && Packer.UseInternUnLha) ||
                           ((kind == ftArc || kind == ftArcExe) && Packer.UseInternUnArc && Password.empty()) ||
                           (kind == ftZoo && Packer.UseInternUnZoo);
    if (kind == ftZip && Packer.UseInternUnZip)
        ZipExtract(ArchiveName, Entries, deleteAfter, target, Password, PathMode, Overwrite, Mode, BaseFolder);
    else if (inProcess)
        InProcessExtract(kind, ArchiveName, Entries, target, options);
    else if ((kind == ftRar || kind == ftRarExe) && Packer.UseInternUnRar)
        RarLibExtract(kind, ArchiveName, Entries, target, options);
    else
        OutsideExtract(kind, ArchiveName, Entries, target, options);
    Fehlercode = 0;
}

// Records the entries the zip library reports as written (its message 60),
// passing them on to the handler set before; the handler comes back at the end.
class TWrittenEntries {
public:
    explicit TWrittenEntries(TZipLib& zip) : m_zip(zip), m_previous(zip.OnExtracting) {
        zip.OnExtracting = [this](TZipLib* lib, const TZlFileStats& stats) {
            m_names.Add(stats.FileName);
            if (m_previous) m_previous(lib, stats);
        };
    }
    ~TWrittenEntries() { m_zip.OnExtracting = m_previous; }
    TWrittenEntries(const TWrittenEntries&) = delete;
    TWrittenEntries& operator=(const TWrittenEntries&) = delete;

    // The written entries that one of Chosen names; the list starts afresh.
    TStringList Take(const TStringList& chosen) {
        // Each mask brought to the matcher's form once, its folder compared
        // first: thousands of written entries against hundreds of masks.
        std::vector<std::pair<std::wstring, std::wstring>> masks;
        for (const auto& c : chosen.Items()) {
            std::wstring form = TZipRoutinen::ArchivePathForm(c);
            std::wstring folder = ExtractFilePath(form);
            masks.emplace_back(std::move(form), std::move(folder));
        }
        TStringList taken;
        for (const auto& name : m_names.Items()) {
            const std::wstring form = TZipRoutinen::ArchivePathForm(name);
            for (const auto& [mask, folder] : masks)
                if (StartsWith(form, folder) && TZipRoutinen::MatchesArchivePath(form, mask)) {
                    taken.Add(StoredEntryName(name));
                    break;
                }
        }
        m_names.Clear();
        return taken;
    }

private:
    TZipLib& m_zip;
    TZlFileStatsEvent m_previous;
    TStringList m_names;
};

void TZipRoutinen::ZipExtract(const std::wstring& ArchiveName, const TStringList& Entries, bool DeleteAfter,
                              const std::wstring& Target, const std::wstring& Password, int PathMode,
                              TZlOverwrite Overwrite, int Mode, const std::wstring& BaseFolder) {
    const bool removable = IsRemovableArchive(ArchiveName, DriveType);
    m_zip.MultidiskMode = removable;
    TOperationScope scope(m_host, true, ExtractRunning);
    TWrittenEntries written(m_zip);
    m_zip.ZipFileName = ArchiveName;
    m_host.SetStatusText(0, L"Ausgewählte Dateien aus Archiv extrahieren");
    m_zip.Overwrite = Overwrite;
    m_zip.Password = Password;
    if (PathMode == 1) {
        m_zip.UsePaths = false;
        for (const auto& entry : Entries.Items()) {
            m_zip.FilesToProcess.Clear();
            m_zip.FilesToProcess.Add(entry);
            m_zip.ExtractDirectory = EntryTargetFolder(Target, entry, 1, BaseFolder);
            ForceDirectories(m_zip.ExtractDirectory);
            const int result = m_zip.Extract(Mode);
            if (ShowZipResult(result, L"Extrahiervorgang") != kZipSuccess) break;
            const TStringList taken = written.Take(m_zip.FilesToProcess);
            if (DeleteAfter && !taken.Empty()) {
                ZipDelete(ArchiveName, taken);
                m_zip.ZipFileName = ArchiveName;
                m_zip.MultidiskMode = removable;
            }
        }
    } else {
        m_zip.UsePaths = PathMode == 2;
        if (PathMode == 2)
            for (const auto& entry : Entries.Items()) ForceDirectories(EntryTargetFolder(Target, entry, 2, L""));
        m_zip.FilesToProcess.Assign(Entries);
        m_zip.ExtractDirectory = Target;
        const int result = m_zip.Extract(Mode);
        const TStringList taken = written.Take(Entries);
        if (ShowZipResult(result, L"Extrahiervorgang") == kZipSuccess && DeleteAfter && !taken.Empty())
            ZipDelete(ArchiveName, taken);
    }
    m_zip.Password.clear();
}

void TZipRoutinen::OutsideExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                                  const std::wstring& Target, const TPackerExtractOptions& Options) {
    // What extraction with delete may take out of the archive: only entries now
    // standing at their target with their size and time. The outside ARJ packer
    // deletes what it wrote itself.
    const bool arjDeletes = Kind == ftArj;
    const bool checkWritten = Options.DeleteAfter && !arjDeletes;
    TDateiListe listed;
    if (checkWritten) {
        std::wstring name = ArchiveName;
        TArchivDaten daten;
        OpenArchive(Kind, name, daten, listed);
    }
    std::wstring shortName = ShortPathName(ArchiveName);
    if (shortName.empty()) shortName = ArchiveName;
    if (!RunPackers(ExtractRuns(PackerContext(), Kind, shortName, Entries, Target, Options), 'x', Kind) ||
        !checkWritten)
        return;

    const int pathMode = Kind == ftLzh && Options.PathMode == 2 ? 1 : Options.PathMode;
    const std::wstring base = Kind == ftLzh && Options.PathMode == 2 ? L"" : Options.BaseFolder;
    TStringList written;
    for (const auto& entry : Entries.Items()) {
        const std::wstring stored = SystemLower(StoredEntryName(entry));
        for (const auto& e : listed)
            if (SystemLower(StoredEntryName(e->Name)) == stored) {
                if (SameAsEntry(TargetOf(Target, entry, pathMode, base), *e)) written.Add(entry);
                break;
            }
    }
    DeleteExtracted(Kind, ArchiveName, written);
}

void TZipRoutinen::DeleteExtracted(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Written) {
    if (Written.Empty() || IsSelfExtracting(Kind)) return;
    if (Kind == ftZip)
        ZipDelete(ArchiveName, Written);
    else
        RunPackers(DeleteRuns(PackerContext(), Kind, ArchiveName, Written), 'd', Kind);
}

}  // namespace velmora::archive
