// The outside packers' run and the archive-path matcher of TZipRoutinen.
#include <windows.h>

#include <memory>

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "filetools/DateiRoutinen.h"
#include "foundation/AppExec.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

std::wstring RunFailureText(char operation) {
    switch (operation) {
    case 'x': return L"Beim Entpacken des Archives ist ein Fehler aufgetreten!";
    case 't': return L"Beim Testen des Archives ist ein Fehler aufgetreten!";
    case 'd': return L"Beim Löschen von Dateien aus dem Archiv ist ein Fehler aufgetreten!";
    case 'y': return L"Beim Aktualisieren des Archivdatums ist ein Fehler aufgetreten!";
    case 'r': return L"Beim Reparieren des Archives ist ein Fehler aufgetreten!";
    default: return L"Beim Packen des Archives ist ein Fehler aufgetreten!";
    }
}

// Packers read their list files in the system's ANSI code page.
std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Makes the list file of a run and deletes it however the run ends.
class TListFile {
public:
    TListFile(const std::wstring& folder, const std::wstring& prefix, const std::vector<std::wstring>& lines) {
        wchar_t name[MAX_PATH] = {};
        if (GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, name) != 0) {
            m_path = name;
        } else {
            for (int n = 0; n <= 99999 && m_path.empty(); ++n) {
                const std::wstring candidate = folder + L"~fl" + std::to_wstring(n) + L".tmp";
                if (!FileExists(candidate)) m_path = candidate;
            }
        }
        if (m_path.empty()) throw Exception(L"list file");
        std::string text;
        for (const auto& line : lines) text += ToAnsi(line) + "\r\n";
        HANDLE h = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            DeleteFileW(m_path.c_str());
            throw Exception(L"list file");
        }
        DWORD put = 0;
        const bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr) && put == text.size();
        CloseHandle(h);
        if (!ok) {
            DeleteFileW(m_path.c_str());
            throw Exception(L"list file");
        }
    }
    ~TListFile() { DeleteFileW(m_path.c_str()); }
    TListFile(const TListFile&) = delete;
    TListFile& operator=(const TListFile&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Puts the process's current folder back after the packers ran in theirs.
class TCurrentFolderKeeper {
public:
    TCurrentFolderKeeper() {
        wchar_t dir[MAX_PATH] = {};
        if (GetCurrentDirectoryW(MAX_PATH, dir)) m_dir = dir;
    }
    ~TCurrentFolderKeeper() {
        if (!m_dir.empty()) SetCurrentDirectoryW(m_dir.c_str());
    }
    TCurrentFolderKeeper(const TCurrentFolderKeeper&) = delete;
    TCurrentFolderKeeper& operator=(const TCurrentFolderKeeper&) = delete;

private:
    std::wstring m_dir;
};

}  // namespace

std::wstring TZipRoutinen::ArchivePathForm(const std::wstring& Path) {
    std::wstring p = SystemLower(ReplaceChar(Path, L'/', L'\\'));
    while (!p.empty() && p.front() == L'\\') p.erase(0, 1);
    return p;
}

bool TZipRoutinen::MatchesArchivePath(const std::wstring& Entry, const std::wstring& Name) {
    const std::wstring entry = ArchivePathForm(Entry);
    const std::wstring name = ArchivePathForm(Name);
    if (name.find_first_of(L"*?") == std::wstring::npos) return entry == name;
    const std::wstring maskFolder = ExtractFilePath(name);
    const std::wstring entryFolder = ExtractFilePath(entry);
    // Whole folder names only: "my.docs\" is no folder above "my.other\".
    if (!maskFolder.empty() && entryFolder.compare(0, maskFolder.size(), maskFolder) != 0) return false;
    return TDateiRoutinen::MatchesMask(ExtractFileName(entry), ExtractFileName(name));
}

TPackerContext TZipRoutinen::PackerContext() const {
    std::wstring temp;
    if (m_zip.UseTempFile && !m_zip.TempPath.empty()) {
        // By its short path: the packers take it glued to their option.
        temp = ShortPathName(m_zip.TempPath);
        if (temp.empty()) temp = m_zip.TempPath;
    }
    return TPackerContext{Packer, temp};
}

bool TZipRoutinen::RunPackers(const std::vector<TPackerRun>& Runs, char Operation, std::uint8_t Kind) {
    if (Runs.empty()) return false;
    if (Runs.front().Program.empty() || !FileExists(Runs.front().Program)) {
        gui::MessageDlg(MissingPackerText(Operation, Kind), gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
        return false;
    }
    Fehlercode = fc::RunPackers;
    TCurrentFolderKeeper keeper;
    try {
        if (!AppExec) throw Exception(L"AppExec");
        for (const auto& run : Runs) {
            for (const auto& folder : run.MakeFolders) ForceDirectories(folder);
            ForceDirectories(run.Folder);
            if (!SetCurrentDirectoryW(run.Folder.c_str())) throw Exception(L"folder");
            AppExec->ExeName = run.Program;
            AppExec->WindowState =
                Packer.ExternePackerImHintergrund ? gui::TWindowState::wsMinimized : gui::TWindowState::wsNormal;
            AppExec->Wait = true;
            AppExec->ExeParams.Clear();
            for (const auto& word : run.Words) AppExec->ExeParams.Add(word);
            std::unique_ptr<TListFile> list;
            if (run.ListMark) {
                list = std::make_unique<TListFile>(run.Folder, run.ListPrefix, run.ListLines);
                const std::wstring name = run.ListFullPath ? list->Path() : ExtractFileName(list->Path());
                AppExec->ExeParams.Add(QuotedWord(run.ListMark + name));
            }
            AppExec->Execute();
        }
    } catch (const std::exception&) {
        gui::MessageDlg(RunFailureText(Operation), gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return false;
    }
    Fehlercode = 0;
    return true;
}

}  // namespace velmora::archive
