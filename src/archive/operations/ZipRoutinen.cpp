#include "ZipRoutinen.h"

#include <windows.h>

#include "ArchiveCodes.h"
#include "ZipRoutinenScope.h"
#include "foundation/ArchiveExtension.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora::archive {

using gui::TMsgDlgBtn;
using gui::TMsgDlgType;

using detail::ErrorBox;
using detail::InformationBox;
using detail::IsPlainFile;

namespace {



std::uint8_t KindOfType(arc::TArcType type) {
    using arc::TArcType;
    switch (type) {
    case TArcType::ARJ: return ftArj;
    case TArcType::ArjExe: return ftArjExe;
    case TArcType::ARC: case TArcType::PAK: return ftArc;
    case TArcType::ArcExe: case TArcType::PakExe: return ftArcExe;
    case TArcType::LHA: case TArcType::LZH: return ftLzh;
    case TArcType::RAR: return ftRar;
    case TArcType::RarExe: return ftRarExe;
    case TArcType::ZIP: return ftZip;
    case TArcType::ZipExe: return ftZipExe;
    case TArcType::ZOO: return ftZoo;
    default: return 0;
    }
}

std::uint8_t KindOfExtension(const std::wstring& fileName) {
    std::wstring ext = SystemLower(ExtractFileExt(fileName));
    if (!ext.empty() && ext.front() == L'.') ext.erase(0, 1);
    if (ext == L"zip") return ftZip;
    if (ext == L"arj") return ftArj;
    if (ext == L"lzh" || ext == L"ice") return ftLzh;
    if (ext == L"rar") return ftRar;
    if (ext == L"arc" || ext == L"pak") return ftArc;
    if (ext == L"zoo") return ftZoo;
    return 0;
}


// The archive's name as the RAR messages show it.
std::wstring ShownName(const std::wstring& archiveName) { return SystemLower(ExtractFileName(archiveName)); }

}  // namespace

TZipRoutinen::TZipRoutinen(TZipRoutinenHost& Host, TZipLib& XZip, arc::TArcLister& ArcLister)
    : m_host(Host), m_zip(XZip), m_lister(ArcLister) {
    Fehlercode = fc::ZipRoutinenCreate;
    DriveType = [](const std::wstring& root) { return static_cast<unsigned>(GetDriveTypeW(root.c_str())); };
    // The questions of every call go to the window, whoever started the call.
    m_zip.OnReplace = [this](TZipLib*, TZlReplace& Replace) { AnswerReplace(Replace); };
    m_zip.OnPwdQuery = [this](TZipLib*, TZlPwdQuery& Query) { AnswerPassword(Query); };
    m_zip.OnNewdisk = [this](TZipLib*, int Disk) {
        if (!m_host.AskNewDisk(Disk)) m_zip.Abort = true;
    };
    Fehlercode = 0;
}

int TZipRoutinen::AskClash(const std::wstring& FileName) {
    const int answer = m_host.AskReplace(FileName);
    if (answer < 0) m_zip.Abort = true;
    return answer == 1 || answer == 3 || answer == 4 ? answer : 0;
}

void TZipRoutinen::AnswerReplace(TZlReplace& Replace) {
    std::wstring newName;
    int answer = m_host.AskReplaceOrRename(Replace.FileName, newName);
    if (answer < 0) {
        m_zip.Abort = true;
        answer = 0;
    }
    if (answer == 2 && newName.empty()) answer = 0;
    if (answer < 0 || answer > 4) answer = 0;
    Replace.NewName = answer == 2 ? newName : std::wstring();
    Replace.Answer = static_cast<std::uint8_t>(answer);
}

void TZipRoutinen::AnswerPassword(TZlPwdQuery& Query) {
    std::wstring password;
    const int answer = m_host.AskPassword(Query.FileName, password);
    // An empty password is no answer: the entry is skipped.
    Query.Answer = static_cast<std::uint8_t>(answer == 2 && password.empty() ? 0 : answer == 1 || answer == 2 ? answer : 0);
    Query.Password = Query.Answer == 2 ? password.substr(0, 80) : std::wstring();
}

void TZipRoutinen::BeginAbortableRun() {
    m_zip.Abort = false;
    m_lastMessagePump = GetTickCount();
}

bool TZipRoutinen::Aborted() {
    const DWORD now = GetTickCount();
    if (gui::Application && now - m_lastMessagePump >= TZipLib::kMessageInterval) {
        m_lastMessagePump = now;
        gui::Application->ProcessMessages();
    }
    return m_zip.Abort || m_host.AbortRequested();
}

std::wstring TZipRoutinen::ReplaceChar(const std::wstring& S, wchar_t From, wchar_t To) {
    std::wstring result = S;
    for (wchar_t& c : result)
        if (c == From) c = To;
    return result;
}

bool TZipRoutinen::IsArchiveExtension(const std::wstring& Ext) { return velmora::IsArchiveExtension(Ext); }

bool TZipRoutinen::GetArchiveType(const std::wstring& FileName, std::uint8_t& Kind) {
    Fehlercode = fc::GetArchiveType;
    Kind = 0;
    if (!IsPlainFile(FileName)) {
        Kind = KindOfExtension(FileName);
        Fehlercode = 0;
        return Kind != 0;
    }
    // The lister judges by signature; whatever it was set to before is put back.
    std::wstring kept = m_lister.ArchiveFile();
    if (!kept.empty() && !IsPlainFile(kept)) kept.clear();
    try {
        m_lister.SetArchiveFile(FileName);
        Kind = KindOfType(m_lister.ArcType());
    } catch (const std::exception&) {
        Kind = 0;
    }
    try {
        m_lister.SetArchiveFile(kept);
    } catch (const std::exception&) {
        m_lister.SetArchiveFile(L"");
    }
    Fehlercode = 0;
    return Kind != 0;
}

bool TZipRoutinen::OpenArchive(std::uint8_t Kind, std::wstring& ArchiveName, TArchivDaten& Daten, TDateiListe& List) {
    if (m_listing) {
        m_host.Beep();
        return false;
    }
    Fehlercode = fc::OpenArchive;
    m_listing = true;
    m_readFailed = false;
    ListingAborted = false;
    ArchiveName = ReplaceChar(ArchiveName, L'/', L'\\');
    List.clear();
    try {
        switch (Kind) {
        case ftZip: ReadZip(ArchiveName, List); break;
        case ftZoo: ReadZoo(ArchiveName, List); break;
        case ftRar: case ftRarExe: ReadRar(ArchiveName, List); break;
        case ftArj: case ftLzh: case ftArc: case ftZipExe: case ftArjExe: case ftArcExe:
            ReadWithLister(ArchiveName, List);
            break;
        default: break;
        }
    } catch (const std::exception&) {
        // Whatever a reader met, the entries read so far stay.
        m_readFailed = true;
    }
    ZipListing = ReaderListing = false;
    ZipTarget = ReaderTarget = nullptr;
    try {
        if (ListingAborted) {
            List.clear();
            Daten = TArchivDaten{};
        } else if (!List.empty()) {
            if (List.size() > 1) SortEntries(List, 0, static_cast<int>(List.size()) - 1);
            Daten = ArchivDaten;
            if (m_readFailed) ErrorBox(L"Fehler beim Öffnen des Archives!");
        } else {
            ErrorBox(L"Fehler beim Öffnen des Archives!");
            List.clear();
            Daten = TArchivDaten{};
        }
    } catch (const std::exception&) {
        List.clear();
        Daten = TArchivDaten{};
    }
    m_listing = false;
    Fehlercode = 0;
    return !List.empty() && !m_readFailed && !ListingAborted;
}

TDateTime TZipRoutinen::DosDateTimeToDateTime(std::uint16_t Date, std::uint16_t Time) {
    return ZlDosDateTime(Date, Time);
}

void TZipRoutinen::AddEntry(TDateiListe& List, std::unique_ptr<TEineDatei> Entry) {
    ArchivDaten.OrigGroesse += Entry->Size;
    ArchivDaten.KompGroesse += Entry->CompressedSize;
    List.push_back(std::move(Entry));
}

void TZipRoutinen::AddXZipEntry(const TZlFileStats& FileStats) {
    if (!ZipListing || !ZipTarget) return;
    try {
        if (!(FileStats.Attributes & zaDirectory) && !FileStats.FileName.empty()) {
            std::wstring name = ReplaceChar(FileStats.FileName, L'/', L'\\');
            if (name.back() != L'\\') {
                auto entry = std::make_unique<TEineDatei>();
                entry->Name = std::move(name);
                entry->Size = static_cast<std::int64_t>(FileStats.Size);
                entry->CompressedSize = static_cast<std::int64_t>(FileStats.CompressedSize);
                entry->Time = FileStats.DateTime;
                entry->InArchive = true;
                entry->ArchivPfad = m_zip.ZipFileName;
                entry->Kommentar = FileStats.Comment;
                AddEntry(*ZipTarget, std::move(entry));
            }
        }
        if (m_progressMax > 100) {
            ++m_progressCount;
            // A bar step costs a millisecond under Wine: move it by whole percents.
            if (static_cast<std::int64_t>(m_progressCount - m_progressShown) * 100 >= m_progressMax) {
                m_progressShown = m_progressCount;
                m_host.SetProgressPosition(m_progressCount);
            }
        }
    } catch (const std::exception&) {
        // The listing ends here with what it has; the library sees an abort.
        m_readFailed = true;
        m_zip.Abort = true;
    }
}

void TZipRoutinen::AddArcListerEntry(arc::TArcLister& Lister) {
    if (!ReaderListing || !ReaderTarget) return;
    std::wstring name = ReplaceChar(Lister.FileName, L'/', L'\\');
    if (Lister.IsFolder || name.empty() || name.back() == L'\\') return;
    auto entry = std::make_unique<TEineDatei>();
    entry->Name = std::move(name);
    entry->Size = Lister.UnpackedSize;
    entry->CompressedSize = Lister.PackedSize;
    entry->Time = Lister.FileDate;
    entry->InArchive = true;
    entry->ArchivPfad = ReplaceChar(Lister.ArchiveFile(), L'/', L'\\');
    entry->Kommentar = Lister.FileComment;
    AddEntry(*ReaderTarget, std::move(entry));
    ++ArchivDaten.Anzahl;
}

void TZipRoutinen::SetArchiveComment(const std::wstring& Comment) {
    if (ReaderListing) ArchivDaten.Kommentar = Comment;
}

int TZipRoutinen::ShowZipResult(int Code, const std::wstring& Op) {
    Fehlercode = fc::ShowZipResult;
    int result = kZipFailure;
    switch (Code) {
    case 10: case 30: case 140: result = kZipRemark; break;
    case 40:
        InformationBox(L"Einige Dateien wurden während des " + Op + L"s übersprungen.");
        result = kZipRemark;
        break;
    case 100: ErrorBox(L"Archivdatei wurde nicht gefunden."); break;
    case 110: case 160: ErrorBox(L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren."); break;
    case 120: ErrorBox(L"Nicht genügend Speicher für " + Op + L"."); break;
    case 150: ErrorBox(L"Nicht genügend Speicher auf Datenträger für " + Op + L"."); break;
    case 180:
        ErrorBox(L"Eine andere Anwendung führt gerade eine ähnliche Aktion aus. Warten Sie bis diese Anwendung "
                 L"seine Aktionen beendet hat.");
        break;
    case 190: InformationBox(L"Der " + Op + L" wurde abgebrochen."); break;
    case 200: ErrorBox(L"Test mißlang, Archiv fehlerhaft!"); break;
    case 210: ErrorBox(L"Nicht alle Dateien im Archiv konnten getestet werden."); break;
    case 240:
        ErrorBox(L"Die Laufzeitbibliotheken des Zip-Packers, \"ZLZIP32.DLL\" und \"ZLUNZ32.DLL\", wurden nicht "
                 L"gefunden.");
        break;
    case 280: ErrorBox(L"Problem mit der temporären Datei."); break;
    case 350: ErrorBox(L"Versuch, ein übergeordnetes Verzeichnis zu löschen."); break;
    case 370: ErrorBox(L"Einige Dateinamen kommen im Archiv doppelt vor."); break;
    case 380: ErrorBox(L"Konnte Archivdatum nicht aktualisieren. Das Archiv ist vermutlich leer."); break;
    case 400:
        ErrorBox(L"Auf das Archiv oder eine zu bearbeitende Datei konnte nicht zugegriffen werden.");
        break;
    default:
        if (Code <= 0)
            result = kZipSuccess;
        else
            ErrorBox(L"Fehler während des " + Op + L"s.");
        break;
    }
    Fehlercode = 0;
    return result;
}

void TZipRoutinen::RarOpenErrorText(int Code, const std::wstring& ArchiveName) {
    Fehlercode = fc::RarOpenErrorText;
    const std::wstring name = ShownName(ArchiveName);
    switch (Code) {
    case 11: ErrorBox(L"Nicht genügend Speicher zum Öffnen des Archives."); break;
    case 12: ErrorBox(L"Archivheader von \"" + name + L"\" beschädigt."); break;
    case 13: ErrorBox(L"\"" + name + L"\" ist kein RAR-Archiv."); break;
    case 15: ErrorBox(L"Konnte Archiv \"" + name + L"\" nicht öffnen."); break;
    default: ErrorBox(L""); break;
    }
    Fehlercode = 0;
}

void TZipRoutinen::RarProcessErrorText(int Code, const std::wstring& Text) {
    Fehlercode = fc::RarProcessErrorText;
    switch (Code) {
    case 12:
        ErrorBox(Text + L":\rArchiv ist fehlerhaft oder verschlüsselt (unkorrekte Checksumme).");
        break;
    case 13: ErrorBox(Text + L": Archiv defekt."); break;
    case 14: ErrorBox(Text + L": Unbekanntes Archivformat."); break;
    case 15: ErrorBox(L"Fehler beim Öffnen des Archives."); break;
    case 16: ErrorBox(L"Fehler beim Erstellen einer neuen Datei."); break;
    case 17: ErrorBox(L"Fehler beim Schließen des Archives."); break;
    case 18: ErrorBox(L"Fehler beim Lesen aus dem Archiv."); break;
    case 19: ErrorBox(L"Fehler beim Schreiben in das Zielverzeichnis."); break;
    default: ErrorBox(L""); break;
    }
    Fehlercode = 0;
}

}  // namespace velmora::archive
