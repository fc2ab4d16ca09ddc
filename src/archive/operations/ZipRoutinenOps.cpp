// The archive operations of TZipRoutinen: add, extract, test, delete, and the
// whole-archive commands, through the zip library or the outside packers.
#include <windows.h>


#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "archive/formats/UnSFX.h"
#include "filetools/DateiRoutinen.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

using gui::TMsgDlgBtn;
using gui::TMsgDlgType;

using detail::ErrorBox;
using detail::InformationBox;
using detail::IsPlainFile;

namespace {



// The files Files names now: masks expanded in their folder (and below it when
// recursing).
void ExpandSources(const std::wstring& pattern, bool recurse, std::vector<std::wstring>& out) {
    const std::wstring folder = ExtractFilePath(pattern);
    const std::wstring mask = ExtractFileName(pattern);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(folder + found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (!recurse) return;
    search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            ExpandSources(folder + name + L"\\" + mask, true, out);
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

// Whether the entry's name is the end of the source's path, at a folder border.
bool NameEndsPath(const std::wstring& source, const std::wstring& entry) {
    std::wstring e = SystemLower(TZipRoutinen::ReplaceChar(entry, L'/', L'\\'));
    while (!e.empty() && e.front() == L'\\') e.erase(0, 1);
    const std::wstring s = SystemLower(source);
    if (e.empty() || e.size() > s.size() || s.compare(s.size() - e.size(), e.size(), e) != 0) return false;
    return e.size() == s.size() || s[s.size() - e.size() - 1] == L'\\';
}

}  // namespace

void TZipRoutinen::AddToArchive(const std::wstring& ArchiveName, const TStringList& Files, std::uint8_t Kind,
                                const std::wstring& Password, bool ClearDisks, bool MultidiskMode, int Compression,
                                bool Recurse, bool StorePaths, bool DeleteSources, int Mode) {
    Fehlercode = fc::AddToArchive;
    if (ArchiveName.size() < 2) return;
    const bool network = ArchiveName.compare(0, 2, L"\\\\") == 0;
    if (ArchiveName[1] != L':' && !network) return;
    if (!network) {
        const unsigned type = DriveType(ArchiveName.substr(0, 1) + L":\\");
        if (type == DRIVE_CDROM) {
            ErrorBox(L"Das ausgewählte Laufwerk ist ein CD-ROM-Laufwerk.\rEs ist leider nicht möglich, darauf ein "
                     L"Archiv anzulegen");
            return;
        }
        if (type == DRIVE_REMOVABLE && DateiRoutinen && !DateiRoutinen->CheckDriveAccess(ArchiveName[0])) return;
        if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR) {
            ErrorBox(L"Auf Laufwerk " + ArchiveName.substr(0, 1) + L": kann leider nicht zugegriffen werden.");
            return;
        }
    }
    TPackerAddOptions options{Password, Compression, Recurse, StorePaths, DeleteSources, Mode};
    if (Kind == ftZip && Packer.UseInternZip)
        ZipAdd(ArchiveName, Files, Password, ClearDisks, MultidiskMode, Compression, Recurse, StorePaths,
               DeleteSources, Mode);
    else if (Kind >= ftZip && Kind <= ftZoo)
        OutsideAdd(Kind, ArchiveName, Files, options);
    else
        m_host.Beep();
    Fehlercode = 0;
}

void TZipRoutinen::ZipAdd(const std::wstring& ArchiveName, const TStringList& Files, const std::wstring& Password,
                          bool ClearDisks, bool MultidiskMode, int Compression, bool Recurse, bool StorePaths,
                          bool DeleteSources, int Mode) {
    {
        TOperationScope scope(m_host, m_zip.UseTempFile, AddRunning);
        m_zip.ZipFileName = ArchiveName;
        m_zip.Password = Password;
        m_zip.MultidiskMode = MultidiskMode;
        m_zip.ClearDisks = ClearDisks;
        m_zip.MoveFiles = DeleteSources;
        m_zip.UsePaths = StorePaths;
        m_zip.Recurse = Recurse;
        m_zip.Compression = Compression;
        m_zip.FilesToProcess.Assign(Files);
        m_host.SetStatusText(0, L"Ausgewählte Dateien dem Archiv hinzufügen");
        const int result = m_zip.Add(Mode);
        ShowZipResult(result, Mode == 0 ? L"Hinzufügen" : L"Aktualisiervorgang");
    }
    if (MultidiskMode) {
        m_zip.ZipFileName.clear();
        m_zip.MultidiskMode = false;
    }
    m_zip.Password.clear();
}

void TZipRoutinen::OutsideAdd(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Files,
                              const TPackerAddOptions& Options) {
    // The LHA packer cannot move while freshening: the sources it took are
    // deleted here, and only those, found again in the archive afterwards.
    const bool deleteTaken = Kind == ftLzh && Options.Mode == 1 && Options.DeleteSources;
    std::vector<std::wstring> sources;
    if (deleteTaken)
        for (const auto& f : Files.Items()) ExpandSources(f, Options.Recurse, sources);
    if (!RunPackers(AddRuns(PackerContext(), Kind, ArchiveName, Files, Options), 'a', Kind) || !deleteTaken) return;

    std::wstring name = ArchiveName;
    TArchivDaten daten;
    TDateiListe listed;
    OpenArchive(ftLzh, name, daten, listed);
    for (const auto& source : sources) {
        for (const auto& entry : listed)
            if (NameEndsPath(source, entry->Name) && SameAsEntry(source, *entry)) {
                DeleteFileW(source.c_str());
                break;
            }
    }
}

void TZipRoutinen::DeleteFromArchive(const std::wstring& ArchiveName, const TStringList& Entries) {
    Fehlercode = fc::DeleteFromArchive;
    std::uint8_t kind = 0;
    GetArchiveType(ArchiveName, kind);
    if (kind == ftZip)
        ZipDelete(ArchiveName, Entries);
    else if (kind > ftZip && kind <= ftZoo)
        RunPackers(DeleteRuns(PackerContext(), kind, ArchiveName, Entries), 'd', kind);
    Fehlercode = 0;
}

void TZipRoutinen::ZipDelete(const std::wstring& ArchiveName, const TStringList& Entries) {
    if (!Packer.UseInternZip) {
        RunPackers(DeleteRuns(PackerContext(), ftZip, ArchiveName, Entries), 'd', ftZip);
        return;
    }
    // A delete rewrites the archive: never in multi-disk mode, whoever calls it.
    const bool multidisk = m_zip.MultidiskMode;
    m_zip.MultidiskMode = false;
    {
        TOperationScope scope(m_host, m_zip.UseTempFile, DeleteRunning);
        m_zip.ZipFileName = ArchiveName;
        m_zip.FilesToProcess.Assign(Entries);
        m_host.SetStatusText(0, L"Ausgewählte Datei(en) aus dem Archiv löschen");
        ShowZipResult(m_zip.Delete(), L"Löschvorgang");
    }
    m_zip.MultidiskMode = multidisk;
}

void TZipRoutinen::TestArchive(const std::wstring& ArchiveName, const TStringList& Entries,
                               const std::wstring& Password) {
    Fehlercode = fc::TestArchive;
    std::uint8_t kind = 0;
    GetArchiveType(ArchiveName, kind);
    switch (kind) {
    case ftZip: case ftZipExe: ZipTest(ArchiveName, Entries, Password); break;
    case ftRar: case ftRarExe:
        if (Packer.UseInternUnRar)
            RarLibTest(ArchiveName, Entries, Password);
        else
            RunPackers(TestRuns(PackerContext(), kind, ArchiveName, Entries, Password), 't', kind);
        break;
    case ftArj: case ftArjExe: case ftLzh: case ftArc:
        RunPackers(TestRuns(PackerContext(), kind, ArchiveName, Entries, Password), 't', kind);
        break;
    default: break;
    }
    Fehlercode = 0;
}

void TZipRoutinen::ZipTest(const std::wstring& ArchiveName, const TStringList& Entries,
                           const std::wstring& Password) {
    std::uint8_t kind = ftZip;
    GetArchiveType(ArchiveName, kind);
    if (!Packer.UseInternUnZip || kind == ftZipExe) {
        RunPackers(TestRuns(PackerContext(), ftZip, ArchiveName, Entries, Password), 't', ftZip);
        return;
    }
    bool testing = false;
    TOperationScope scope(m_host, true, testing);
    m_zip.ZipFileName = ArchiveName;
    m_zip.FilesToProcess.Assign(Entries);
    m_zip.Password = Password;
    m_host.SetStatusText(0, ExtractFileName(ArchiveName) + L" wird getestet.");
    const int result = m_zip.Test();
    m_zip.Password.clear();
    if (result == 0)
        InformationBox(L"Alle Dateien im Archiv sind OK.");
    else if (result == 40)
        InformationBox(L"Alle getesteten Dateien im Archiv sind OK.\r(Einige wurden jedoch übersprungen)");
    else
        ShowZipResult(result, L"Testvorgang");
}

void TZipRoutinen::ConvertToSfx(const TStringList& Archives) {
    Fehlercode = fc::ConvertToSfx;
    for (const auto& archive : Archives.Items()) {
        std::uint8_t kind = 0;
        if (!IsPlainFile(archive) || !GetArchiveType(archive, kind) || kind < ftZip || kind > ftRar) continue;
        std::wstring shortName = ShortPathName(archive);
        if (shortName.empty()) shortName = archive;
        const std::wstring folder = ExtractFilePath(archive);
        const std::wstring longExe = ChangeFileExt(archive, L".exe");
        const std::wstring shortExe = folder + ChangeFileExt(ExtractFileName(shortName), L".exe");
        const bool differ = SystemLower(ExtractFileName(archive)) != SystemLower(ExtractFileName(shortName));
        // The converter writes under the short name, which is then renamed to the
        // long one: neither may hit a program that is already there.
        if (differ) {
            const std::wstring existing = FileExists(shortExe) ? shortExe : FileExists(longExe) ? longExe : L"";
            if (!existing.empty()) {
                ErrorBox(L"Die Datei " + ExtractFileName(existing) + L" existiert bereits und wird nicht "
                         L"überschrieben.");
                continue;
            }
        }
        if (!RunPackers(ToExeRuns(PackerContext(), kind, shortName), 's', kind)) continue;
        if (differ && FileExists(shortExe)) {
            if (DateiRoutinen)
                DateiRoutinen->RenameFile(shortExe, longExe);
            else
                MoveFileW(shortExe.c_str(), longExe.c_str());
        }
    }
    Fehlercode = 0;
}

void TZipRoutinen::SfxToArchive(const TStringList& Programs) {
    Fehlercode = fc::SfxToArchive;
    ReplaceMode = 0;
    for (const auto& program : Programs.Items()) {
        arc::TUnSFX converter;
        converter.OnFileExists = [this, &converter](arc::TArcBase*, const std::wstring& fn, bool& accept) {
            // Answers for all hold for the following programs; a new name is
            // written instead of the file that is there.
            if (ReplaceMode != 0) {
                accept = ReplaceMode == 2;
                return;
            }
            std::wstring newName;
            const int answer = m_host.AskReplaceOrRename(fn, newName);
            if (answer == 3) ReplaceMode = 1;
            if (answer == 4) ReplaceMode = 2;
            if (answer == 2 && !newName.empty()) converter.SetOutFilename(newName);
            accept = answer == 1 || answer == 4 || (answer == 2 && !newName.empty());
        };
        try {
            converter.SetArchiveFile(program);
            converter.SetOutFilename(L"");
            converter.Activate();
        } catch (const Exception& e) {
            ErrorBox(e.Message());
        }
    }
    ReplaceMode = 0;
    Fehlercode = 0;
}

void TZipRoutinen::UpdateArchiveDate(const TStringList& Archives) {
    Fehlercode = fc::UpdateArchiveDate;
    for (const auto& archive : Archives.Items()) {
        std::uint8_t kind = 0;
        GetArchiveType(archive, kind);
        if (kind == ftZip) {
            if (!Packer.UseInternZip &&
                gui::MessageDlg(L"Das Archivdatum eines zip-kompatiblen Archives kann nur mit dem internen\rPacker "
                                L"aktualisiert werden. Wollen Sie für diese Aktion den internen\rPacker verwenden?",
                                TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != gui::mrYes)
                continue;
            m_host.SetStatusText(0, L"Aktualisiere Archivdatum von " + ExtractFileName(archive));
            m_zip.ZipFileName = archive;
            ShowZipResult(m_zip.UpdateDate(), L"Aktualisiervorgang");
        } else if (kind == ftArj || kind == ftArjExe || kind == ftZoo) {
            RunPackers(DateRuns(PackerContext(), kind, archive), 'y', kind);
        }
    }
    Fehlercode = 0;
}

void TZipRoutinen::RepairArchive(const TStringList& Archives) {
    Fehlercode = fc::RepairArchive;
    for (const auto& archive : Archives.Items()) {
        std::uint8_t kind = 0;
        GetArchiveType(archive, kind);
        if (kind == ftRar || kind == ftRarExe) {
            RunPackers(RepairRuns(PackerContext(), kind, archive), 'r', kind);
            continue;
        }
        if (kind != ftZip) continue;
        if (!Packer.UseInternZip &&
            gui::MessageDlg(L"Zip-kompatible Archive können nur mit dem internen Packer\rrepariert werden. Wollen "
                            L"Sie für diese Aktion den internen\rPacker verwenden?",
                            TMsgDlgType::mtWarning, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) != gui::mrYes)
            continue;
        const gui::TCursor cursor = m_host.Cursor();
        m_host.SetAbortEnabled(false);
        m_host.SetCursor(gui::crHourGlass);
        m_zip.ZipFileName = archive;
        int result = m_zip.Fix(false);
        if (result == 110 &&
            gui::MessageDlg(archive + L" ist zu beschädigt, um repariert zu werden.\rSoll eine aggressivere "
                            L"Reparatur versucht werden?",
                            TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 88) == gui::mrYes)
            result = m_zip.Fix(true);
        m_host.SetCursor(cursor);
        if (result == 0)
            InformationBox(archive + L" konnte repariert werden.");
        else if (result == 110)
            InformationBox(archive + L" ist zu beschädigt, um repariert zu werden.");
        else
            ShowZipResult(result, L"Repariervorgang");
    }
    Fehlercode = 0;
}

}  // namespace velmora::archive
