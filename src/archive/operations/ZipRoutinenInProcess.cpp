// Extraction through the archive format library's unpackers, one run per
// chosen entry, and the choice of entries for freshening and updating.
#include <windows.h>

#include <memory>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "archive/formats/UnARC.h"
#include "archive/formats/UnARJ.h"
#include "archive/formats/UnLHA.h"
#include "archive/formats/UnZIP.h"
#include "archive/formats/UnZoo.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

std::unique_ptr<arc::TUnBase> MakeUnpacker(std::uint8_t kind) {
    switch (kind) {
    case ftArj: case ftArjExe: return std::make_unique<arc::TUnARJ>();
    case ftLzh: return std::make_unique<arc::TUnLHA>();
    case ftArc: case ftArcExe: return std::make_unique<arc::TUnARC>();
    case ftZoo: return std::make_unique<arc::TUnZOO>();
    case ftZipExe: return std::make_unique<arc::TUnZIP>();
    default: return nullptr;
    }
}

}  // namespace

void TZipRoutinen::CollectSelection(const std::wstring& ArchiveName, std::uint8_t Kind, TStringList& Entries,
                                    const std::wstring& Target, const std::wstring& BaseFolder, int PathMode,
                                    int Mode) {
    if (Mode != 1 && Mode != 2) return;
    Fehlercode = fc::CollectSelection;
    const std::wstring panel = m_host.StatusText(0);
    m_host.SetStatusText(0, L"Bereite Entpacken des Archives vor...");
    TDateiListe listed;
    bool read = false;
    for (int i = Entries.Count() - 1; i >= 0; --i) {
        const std::wstring entry = Entries[i];
        const std::wstring path =
            EntryTargetFolder(Target, entry, PathMode, BaseFolder) + ExtractFileName(StoredEntryName(entry));
        TDateTime fileTime = 0;
        std::int64_t fileSize = 0;
        if (!FileStamp(path, fileSize, fileTime)) {
            if (Mode == 1) Entries.Delete(i);
            continue;
        }
        if (!read) {
            std::wstring name = ArchiveName;
            TArchivDaten daten;
            OpenArchive(Kind, name, daten, listed);
            read = true;
        }
        bool newer = false;
        for (const auto& e : listed)
            if (SystemLower(StoredEntryName(e->Name)) == SystemLower(StoredEntryName(entry))) {
                // Archive times go in two-second steps.
                newer = (e->Time - fileTime) * 86400.0 > 2.0;
                break;
            }
        if (!newer) Entries.Delete(i);
    }
    m_host.SetStatusText(0, panel);
    Fehlercode = 0;
}

void TZipRoutinen::InProcessExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                                    const std::wstring& Target, const TPackerExtractOptions& Options) {
    TStringList chosen = Entries;
    CollectSelection(ArchiveName, Kind, chosen, Target, Options.BaseFolder, Options.PathMode, Options.Mode);
    ReplaceMode = Options.Mode != 0 ? 2 : Options.Overwrite == 1 ? 1 : Options.Overwrite == 2 ? 2 : 0;
    TStringList written;
    {
        TOperationScope scope(m_host, true, ExtractRunning);
        BeginAbortableRun();
        for (const auto& entry : chosen.Items()) {
            if (Aborted()) break;
            std::unique_ptr<arc::TUnBase> unpacker = MakeUnpacker(Kind);
            if (!unpacker) break;
            const std::wstring stored = StoredEntryName(entry);
            const std::wstring folder = EntryTargetFolder(Target, entry, Options.PathMode, Options.BaseFolder);
            // The one entry of that full name: a name without folder means the
            // archive's root, not that name in any folder.
            const std::wstring fileSpec = ExtractFilePath(stored).empty() ? L"\\" + stored : stored;
            const std::wstring expected =
                SystemLower(folder + ExtractFileName(stored));
            bool passed = false;
            unpacker->OnFileExists = [this](arc::TArcBase*, const std::wstring& fn, bool& accept) {
                if (ReplaceMode == 0) {
                    const int answer = AskClash(fn);
                    if (answer == 3) ReplaceMode = 1;
                    if (answer == 4) ReplaceMode = 2;
                    accept = answer == 1 || answer == 4;
                } else {
                    accept = ReplaceMode == 2;
                }
            };
            unpacker->OnBegin = [&](arc::TArcBase*, const std::wstring& fn, int, bool& extract) {
                extract = extract && SystemLower(fn) == expected;
                if (extract) m_host.UnpackerBegins(fn);
            };
            unpacker->OnEnd = [&](arc::TArcBase*, const std::wstring& fn, bool crcPass) {
                if (SystemLower(fn) == expected && crcPass) passed = true;
            };
            try {
                ForceDirectories(folder);
                unpacker->SetArchiveFile(ArchiveName);
                unpacker->SetExtractDir(Options.PathMode == 2 ? Target : folder);
                unpacker->SetUseStoredDirs(Options.PathMode == 2);
                unpacker->SetSetDateTo(arc::TSetDate::OrigDate);
                unpacker->SetFileSpec(fileSpec);
                if (!Options.Password.empty()) unpacker->SetPasswords(TStringList{Options.Password});
                unpacker->Extract();
            } catch (const std::exception& e) {
                gui::MessageDlg(L"Fehler beim Entpacken des Archives", gui::TMsgDlgType::mtError,
                                {gui::TMsgDlgBtn::mbOK});
                (void)e;
                break;
            }
            if (passed) written.Add(entry);
        }
    }
    ReplaceMode = 0;
    if (Options.DeleteAfter) DeleteExtracted(Kind, ArchiveName, written);
}

}  // namespace velmora::archive
