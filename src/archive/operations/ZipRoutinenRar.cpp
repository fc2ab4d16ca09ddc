// Extraction and test of RAR archives through the RAR library.
#include <windows.h>

#include <memory>

#include "RarAccess.h"
#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

const wchar_t kBrokenHeader[] = L"Fehler beim Entpacken des Archives: Archivheader ist defekt.";

bool IsChosen(const std::wstring& name, const TStringList& entries) {
    for (const auto& e : entries.Items())
        if (TZipRoutinen::MatchesArchivePath(name, e)) return true;
    return false;
}

// Opens the archive for extracting or testing; nullptr after the library's message.
std::unique_ptr<void, RarCloser> OpenRar(const std::wstring& archive, const std::wstring& password) {
    const std::string ansiName = AnsiPath(archive);
    RAROpenArchiveData open{};
    open.ArcName = ansiName.c_str();
    open.OpenMode = RarOpenExtract;
    std::unique_ptr<void, RarCloser> handle(RAROpenArchive(&open));
    if (!handle || open.OpenResult != RarOk) {
        TZipRoutinen::RarOpenErrorText(static_cast<int>(open.OpenResult != RarOk ? open.OpenResult : RarOpenError),
                                       archive);
        return nullptr;
    }
    if (!password.empty()) RARSetPassword(handle.get(), AnsiPath(password).c_str());
    return handle;
}

// The next header's entry name as stored and whether it is a chosen file;
// false at the end of the headers, Read then holding the library's result.
bool NextHeader(void* handle, const TStringList& entries, RARHeaderData& header, std::wstring& name, bool& chosen,
                int& read) {
    header = RARHeaderData{};
    read = RARReadHeader(handle, &header);
    if (read != RarOk) return false;
    name = StoredEntryName(FromAnsiBuffer(header.FileName, sizeof header.FileName));
    chosen = (header.Flags & RarEntryFolder) != RarEntryFolder && IsChosen(name, entries);
    return true;
}

bool NewerThanFile(const std::wstring& path, const RARHeaderData& header, bool& exists) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != 0;
    if (!exists) return true;
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return header.FileTime > ((static_cast<unsigned>(date) << 16) | time);
}

}  // namespace

void TZipRoutinen::RarLibExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                              const std::wstring& Target, const TPackerExtractOptions& Options) {
    TStringList written;
    {
        TOperationScope scope(m_host, true, ExtractRunning);
        BeginAbortableRun();
        auto handle = OpenRar(ArchiveName, Options.Password);
        if (!handle) return;
        int overwrite = Options.Overwrite;
        int read = RarOk;
        RARHeaderData header;
        std::wstring name;
        bool chosen = false;
        while (NextHeader(handle.get(), Entries, header, name, chosen, read)) {
            bool extract = chosen && !Aborted();
            const std::wstring dest =
                EntryTargetFolder(Target, name, Options.PathMode, Options.BaseFolder) + ExtractFileName(name);
            bool exists = false;
            if (extract && Options.Mode != 0) extract = NewerThanFile(dest, header, exists) && (exists || Options.Mode == 2);
            if (extract && Options.Mode == 0 && FileExists(dest)) {
                if (overwrite == 0) {
                    const int answer = AskClash(dest);
                    if (answer == 3) overwrite = 1;
                    if (answer == 4) overwrite = 2;
                    extract = answer == 1 || answer == 4;
                } else {
                    extract = overwrite == 2;
                }
            }
            if (!extract) {
                RARProcessFile(handle.get(), RarSkip, nullptr, nullptr);
                continue;
            }
            m_host.SetStatusText(0, name + L" wird entpackt...");
            ForceDirectories(ExtractFilePath(dest));
            const int result = RARProcessFile(handle.get(), RarExtract, nullptr, AnsiPath(dest).c_str());
            if (result != RarOk) {
                RarProcessErrorText(result, L"Fehler beim Entpacken des Archives");
                read = RarEndArchive;
                break;
            }
            written.Add(name);
        }
        if (read != RarEndArchive)
            gui::MessageDlg(kBrokenHeader, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
    }
    if (Options.DeleteAfter) DeleteExtracted(Kind, ArchiveName, written);
}

void TZipRoutinen::RarLibTest(const std::wstring& ArchiveName, const TStringList& Entries,
                           const std::wstring& Password) {
    bool testing = false;
    TOperationScope scope(m_host, true, testing);
    BeginAbortableRun();
    auto handle = OpenRar(ArchiveName, Password);
    if (!handle) return;
    int read = RarOk;
    RARHeaderData header;
    std::wstring name;
    bool chosen = false;
    while (NextHeader(handle.get(), Entries, header, name, chosen, read)) {
        if (!chosen || Aborted()) {
            RARProcessFile(handle.get(), RarSkip, nullptr, nullptr);
            continue;
        }
        m_host.SetStatusText(0, L"Teste " + name + L"...");
        const int result = RARProcessFile(handle.get(), RarTest, nullptr, nullptr);
        if (result != RarOk) {
            RarProcessErrorText(result, L"Fehler beim Testen des Archives");
            return;
        }
    }
    if (read != RarEndArchive)
        gui::MessageDlg(kBrokenHeader, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
}

}  // namespace velmora::archive
