// The listing readers of TZipRoutinen: ZIP through the zip library, RAR through
// the RAR library, ZOO by a reader of its own, the other formats through the
// archive lister.

#include <windows.h>

#include <cstring>

#include "ZipRoutinen.h"
#include "ZipRoutinenScope.h"
#include "platform/gui/Dialogs.h"
#include "RarAccess.h"
#include "platform/rarlib/RarLib.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

constexpr unsigned kCommentSize = 16384;

}  // namespace

void TZipRoutinen::ReadZip(const std::wstring& ArchiveName, TDateiListe& List) {
    TReaderScope scope(m_host);
    // Multi-disk archives live on removable drives: read every archive there so.
    struct MultidiskOff {
        TZipLib& zip;
        ~MultidiskOff() { zip.MultidiskMode = false; }
    } multidiskOff{m_zip};
    m_zip.MultidiskMode = ArchiveName.size() >= 3 && ArchiveName.compare(1, 2, L":\\") == 0 &&
                          DriveType(ArchiveName.substr(0, 3)) == DRIVE_REMOVABLE;

    ZipTarget = &List;
    ArchivDaten = TArchivDaten{};
    m_zip.ZipFileName.clear();
    m_zip.ZipFileName = ArchiveName;
    std::wstring comment;
    // A failed call would leave its error text ("Error #...") as the comment.
    if (m_zip.GetComment(comment) == 0) ArchivDaten.Kommentar = comment;
    m_zip.FilesToProcess.Clear();
    ArchivDaten.Anzahl = m_zip.GetFileCount();

    const bool panel = ArchivDaten.Anzahl > 50 && !m_host.ArchiveWorkRunning();
    m_progressMax = 0;
    m_progressCount = m_progressShown = 0;
    scope.ProgressUsed(panel);
    if (panel) {
        m_host.SetStatusText(0, L"Lese " + std::to_wstring(ArchivDaten.Anzahl) + L" Einträge...");
        m_host.SetProgressMax(ArchivDaten.Anzahl);
        m_progressMax = ArchivDaten.Anzahl;
        m_host.ShowProgressPanel(true);
        m_host.SetAbortEnabled(true);
    }

    ZipListing = true;
    const int result = m_zip.List();
    ZipListing = false;
    m_progressMax = 0;
    if (m_readFailed) return;  // an entry could not be taken; the library was stopped for it
    if (result != 100) ShowZipResult(result, L"Lesevorgang");
    ListingAborted = result == 190;
}

void TZipRoutinen::ReadRar(const std::wstring& ArchiveName, TDateiListe& List) {
    TReaderScope scope(m_host);
    ArchivDaten = TArchivDaten{};
    scope.ShowText(L"Lese Rar-Archiv...");

    const std::string ansiName = AnsiPath(ArchiveName);
    std::vector<char> comment(kCommentSize, '\0');
    RAROpenArchiveData open{};
    open.ArcName = ansiName.c_str();
    open.OpenMode = RarOpenList;
    open.CmtBuf = comment.data();
    open.CmtBufSize = kCommentSize;
    std::unique_ptr<void, RarCloser> handle(RAROpenArchive(&open));
    if (!handle || open.OpenResult != RarOk) {
        const unsigned code = open.OpenResult != RarOk ? open.OpenResult : static_cast<unsigned>(RarOpenError);
        RarOpenErrorText(static_cast<int>(code), ArchiveName);
        return;
    }
    if (open.CmtState == 1) ArchivDaten.Kommentar = FromAnsiBuffer(comment.data(), kCommentSize);

    std::vector<char> entryComment(kCommentSize, '\0');
    int read = 0;
    for (;;) {
        RARHeaderData header{};
        header.CmtBuf = entryComment.data();
        header.CmtBufSize = kCommentSize;
        read = RARReadHeader(handle.get(), &header);
        if (read != RarOk) break;
        std::wstring name = ReplaceChar(FromAnsiBuffer(header.FileName, sizeof header.FileName), L'/', L'\\');
        const bool folder = (header.Flags & RarEntryFolder) == RarEntryFolder;
        if (!folder && !name.empty() && name.back() != L'\\') {
            auto entry = std::make_unique<TEineDatei>();
            entry->Name = std::move(name);
            entry->Time = DosDateTimeToDateTime(static_cast<std::uint16_t>(header.FileTime >> 16),
                                                static_cast<std::uint16_t>(header.FileTime));
            entry->CompressedSize =
                static_cast<std::int64_t>((static_cast<std::uint64_t>(header.PackSizeHigh) << 32) | header.PackSize);
            entry->Size =
                static_cast<std::int64_t>((static_cast<std::uint64_t>(header.UnpSizeHigh) << 32) | header.UnpSize);
            if (header.CmtState == 1) entry->Kommentar = FromAnsiBuffer(entryComment.data(), kCommentSize);
            entry->InArchive = true;
            entry->ArchivPfad = ArchiveName;
            AddEntry(List, std::move(entry));
            ++ArchivDaten.Anzahl;
        }
        const int skip = RARProcessFile(handle.get(), RarSkip, nullptr, nullptr);
        if (skip != RarOk) {
            RarProcessErrorText(skip, L"Fehler beim Lesen des Archives");
            break;
        }
    }
    if (read == RarBadData)
        gui::MessageDlg(L"Fehler beim Lesen des Archives: Archivheader ist defekt.", gui::TMsgDlgType::mtError,
                        {gui::TMsgDlgBtn::mbOK});
}

void TZipRoutinen::ReadWithLister(const std::wstring& ArchiveName, TDateiListe& List) {
    TReaderScope scope(m_host);
    ArchivDaten = TArchivDaten{};
    ReaderTarget = &List;
    scope.ShowText(L"Lese Dateien aus Archiv...");
    struct ListingOff {
        bool& flag;
        ~ListingOff() { flag = false; }
    } listingOff{ReaderListing};
    try {
        m_lister.SetArchiveFile(ArchiveName);
        m_lister.SetFileSpec(L"*.*");
        ReaderListing = true;
        m_lister.Activate();
    } catch (const std::exception&) {
        m_readFailed = true;
    }
}

}  // namespace velmora::archive
