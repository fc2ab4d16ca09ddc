#pragma once
// TZipRoutinen: the program's archive service. It tells what kind of archive a
// file is, reads the listing of an archive of any kind into file records with
// totals, sorts them, builds an archive pane's folder tree from them, and words
// the results of the zip and RAR libraries as messages.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PackerCommands.h"
#include "ZipLib32.h"
#include "ZipRoutinenHost.h"
#include "archive/formats/ArcLister.h"
#include "foundation/EineDatei.h"
#include "foundation/DMChild_Typen.h"
#include "platform/rtl/StringList.h"

namespace velmora {
class TAppExec;
class TDateiRoutinen;
}

namespace velmora::archive {

struct TDatenSatz;
using TDatenListe = std::vector<std::unique_ptr<TDatenSatz>>;

// A node of an archive pane's folder tree. A folder node owns its sub-list, whose
// first entry is a ".." node pointing back at the list that holds the folder; a
// file node has none.
struct TDatenSatz : TEineDatei {
    TDatenSatz() = default;
    TDatenSatz(const TDatenSatz&) = delete;
    TDatenSatz& operator=(const TDatenSatz&) = delete;
    // Frees the sub-tree level by level: a tree thousands of folders deep never
    // recurses through the destructors.
    ~TDatenSatz() override;

    // The folder's own list, the parent list for a ".." node, nullptr for a file.
    TDatenListe* Unterverzeichnis = nullptr;
    // Set for a folder node only.
    std::unique_ptr<TDatenListe> OwnedList;
};

// Outside packers and their switches, copied in from the archive settings
// whenever those change (the outside-packer operations use them).
struct TPackerSettings {
    std::wstring ZipPath, UnZipPath, Zip2ExePath, ArjPath, RarPath, LhaPath, ZooPath, PkPakPath, PkUnPakPath;
    bool UseInternZip = false;
    bool UseInternUnZip = false;
    bool UseInternUnArj = false;
    bool UseInternUnRar = false;
    bool UseInternUnLha = false;
    bool UseInternUnZoo = false;
    bool UseInternUnArc = false;
    bool ExternePackerImHintergrund = false;
};

// The result classes of ShowZipResult.
enum : int { kZipSuccess = 0, kZipRemark = 1, kZipFailure = 2 };

class TZipRoutinen {
public:
    // XZip and ArcLister are the main window's components: their listing events
    // reach AddXZipEntry, AddArcListerEntry and SetArchiveComment through the
    // window's handlers.
    TZipRoutinen(TZipRoutinenHost& Host, TZipLib& XZip, arc::TArcLister& ArcLister);
    TZipRoutinen(const TZipRoutinen&) = delete;
    TZipRoutinen& operator=(const TZipRoutinen&) = delete;

    // The totals of the last listing.
    TArchivDaten ArchivDaten;
    // Only while set do the listing events of XZip (resp. of ArcLister) add entries.
    bool ZipListing = false;
    bool ReaderListing = false;
    // Set when the user aborted the running ZIP listing.
    bool ListingAborted = false;
    // The caller's lists the running listings fill (borrowed, never owned).
    TDateiListe* ZipTarget = nullptr;
    TDateiListe* ReaderTarget = nullptr;
    TPackerSettings Packer;
    // Name clashes on extraction: 0 ask, 1 skip all, 2 replace all.
    int ReplaceMode = 0;

    static std::wstring ReplaceChar(const std::wstring& S, wchar_t From, wchar_t To);
    static bool IsArchiveExtension(const std::wstring& Ext);
    // Kind (5 to 14, 0 for none) by signature for an existing file, by extension
    // for one about to be made; true for an archive.
    bool GetArchiveType(const std::wstring& FileName, std::uint8_t& Kind);

    // Clears List and reads the archive's entries into it, sorted, with Daten as
    // their totals; ArchiveName comes back with "\" for "/". An archive that gives
    // no entries gets "Fehler beim Öffnen des Archives!" and an empty list; an
    // aborted listing an empty list. Never raises. While a listing runs, a
    // second call only beeps. True when the archive was listed whole: the list
    // then tells which entries it holds; an empty list tells nothing.
    bool OpenArchive(std::uint8_t Kind, std::wstring& ArchiveName, TArchivDaten& Daten, TDateiListe& List);
    bool ListingRunning() const { return m_listing; }

    // By name, a leading "\" ignored, lower-cased; entries L..R.
    static void SortEntries(TDateiListe& List, int L, int R);
    // Frees what Root holds and builds the tree of the sorted flat list; the
    // flat list's names are left as the file names in their folders.
    static void BuildFolderTree(TDateiListe& Flat, TDatenListe& Root, bool FoldersFirst);
    static void ClearFolderTree(TDatenListe& Root);
    // No time-zone shift; 1 January 1980 for words that make no date.
    static TDateTime DosDateTimeToDateTime(std::uint16_t Date, std::uint16_t Time);

    // Shows the message for a zip library result and returns its class
    // (kZipSuccess, kZipRemark, kZipFailure). Op is the operation's name.
    static int ShowZipResult(int Code, const std::wstring& Op);
    static void RarOpenErrorText(int Code, const std::wstring& ArchiveName);
    static void RarProcessErrorText(int Code, const std::wstring& Text);

    // Called by the main window's handlers of the listing events.
    void AddXZipEntry(const TZlFileStats& FileStats);
    void AddArcListerEntry(arc::TArcLister& Lister);
    void SetArchiveComment(const std::wstring& Comment);

    // The type of a drive root ("A:\"), as GetDriveTypeW gives it; tests fake it.
    std::function<unsigned(const std::wstring& Root)> DriveType;

    // The main window's process-start component (borrowed): every outside packer
    // runs through it, waited for.
    TAppExec* AppExec = nullptr;

    // Whether the entry Entry of an archive is meant by Name, a name or a mask
    // as the user or a dialog gives it. Both lower-cased, "/" taken as "", a
    // leading "" ignored: a name without "*" or "?" means only the entry of that
    // full name; a mask's folder must be the entry's folder or one above it and
    // its file part match the entry's file name; a mask without folder matches
    // in every folder.
    static bool MatchesArchivePath(const std::wstring& Entry, const std::wstring& Name);
    // A path as the matcher compares it: lower case, "\\" between folders, no
    // leading "\\". An entry matches a mask only if it starts with the mask's
    // folder part in this form, a cheap test before the matcher.
    static std::wstring ArchivePathForm(const std::wstring& Path);

    // Starts the runs one after the other, each waited for, with its list file
    // made before and deleted after it. A missing program gets Operation's
    // message and starts nothing; a failing start its failure message and ends
    // the runs. True when every run ran. Operation as for MissingPackerText.
    bool RunPackers(const std::vector<TPackerRun>& Runs, char Operation, std::uint8_t Kind);
    // The temporary folder the outside packers get (by its short path), or "".
    TPackerContext PackerContext() const;

    // The file routines (borrowed): drive checks and renames.
    TDateiRoutinen* DateiRoutinen = nullptr;
    // Set while the operation of their name runs (the window's event handlers read them).
    bool AddRunning = false;
    bool ExtractRunning = false;
    bool DeleteRunning = false;

    // Adds Files (full paths and masks) to the archive of kind 5 to 10. Mode 0
    // adds, 1 freshens, 2 updates; DeleteSources moves.
    void AddToArchive(const std::wstring& ArchiveName, const TStringList& Files, std::uint8_t Kind,
                      const std::wstring& Password, bool ClearDisks, bool MultidiskMode, int Compression,
                      bool Recurse, bool StorePaths, bool DeleteSources, int Mode);
    // Writes the chosen entries below Target; see TPackerExtractOptions for the
    // path modes. With DeleteAfter only entries that were written leave the
    // archive, and never from a self-extracting program.
    void ExtractFromArchive(const std::wstring& ArchiveName, const TStringList& Entries, bool DeleteAfter,
                            const std::wstring& Target, const std::wstring& Password, int PathMode,
                            TZlOverwrite Overwrite, int Mode, const std::wstring& BaseFolder);
    // Entries dragged out of ArchiveName and dropped on the folder Target: Effect 1
    // copies, 2 moves (AskDelete asks first); PathMode 0 ignores stored paths, 1
    // keeps them relative, 2 whole, 3 asks. Masks in Names are expanded to the
    // entries they mean; afterwards Names holds the items that now stand directly
    // in Target, each once, and Extracted (when given) the entries taken. A
    // cancelled question clears Names and extracts nothing.
    void DropFromArchive(const std::wstring& ArchiveName, int Effect, int PathMode, bool AskDelete,
                         TStringList& Names, const std::wstring& Target, TStringList* Extracted = nullptr);
    // A drop on another program extracts a copy first; once that program has moved
    // the files away (Delivered all gone), the entries leave the archive, after
    // the question when AskDelete. True when they were deleted.
    bool DeleteAfterOutsideMove(const std::wstring& ArchiveName, bool AskDelete, const TStringList& Entries,
                                const TStringList& Delivered);
    void TestArchive(const std::wstring& ArchiveName, const TStringList& Entries, const std::wstring& Password);
    void DeleteFromArchive(const std::wstring& ArchiveName, const TStringList& Entries);
    // For freshening (Mode 1) and updating (Mode 2): drops the entries that are
    // not to be written over the files below Target.
    void CollectSelection(const std::wstring& ArchiveName, std::uint8_t Kind, TStringList& Entries,
                          const std::wstring& Target, const std::wstring& BaseFolder, int PathMode, int Mode);
    void ConvertToSfx(const TStringList& Archives);
    // Each self-extracting program back into the plain archive its converter
    // proposes; a file of that name is replaced only when the host says so.
    void SfxToArchive(const TStringList& Programs);
    void UpdateArchiveDate(const TStringList& Archives);
    void RepairArchive(const TStringList& Archives);

    // The per-format operations the ones above dispatch to.
    void ZipAdd(const std::wstring& ArchiveName, const TStringList& Files, const std::wstring& Password,
                bool ClearDisks, bool MultidiskMode, int Compression, bool Recurse, bool StorePaths,
                bool DeleteSources, int Mode);
    void ZipDelete(const std::wstring& ArchiveName, const TStringList& Entries);
    void ZipTest(const std::wstring& ArchiveName, const TStringList& Entries, const std::wstring& Password);

private:
    // The drop paths dialog, made on first use and kept.
    std::unique_ptr<gui::TComponent, gui::TComponentDeleter> m_dropPfadeDlg;
    // Replaces the mask lines of Names by the entries of the archive they mean.
    void ExpandDropMasks(const std::wstring& ArchiveName, TStringList& Names);

    class TReaderScope;
    class TOperationScope;

    void OutsideAdd(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Files,
                    const TPackerAddOptions& Options);
    void OutsideExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                        const std::wstring& Target, const TPackerExtractOptions& Options);
    void ZipExtract(const std::wstring& ArchiveName, const TStringList& Entries, bool DeleteAfter,
                    const std::wstring& Target, const std::wstring& Password, int PathMode, TZlOverwrite Overwrite,
                    int Mode, const std::wstring& BaseFolder);
    // The archive format library's unpacker of Kind, entry by entry.
    void InProcessExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                          const std::wstring& Target, const TPackerExtractOptions& Options);
    // The RAR library: the chosen entries written, or tested.
    void RarLibExtract(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Entries,
                    const std::wstring& Target, const TPackerExtractOptions& Options);
    void RarLibTest(const std::wstring& ArchiveName, const TStringList& Entries, const std::wstring& Password);
    // The format's delete for entries extraction wrote.
    void DeleteExtracted(std::uint8_t Kind, const std::wstring& ArchiveName, const TStringList& Written);

    void ReadZip(const std::wstring& ArchiveName, TDateiListe& List);
    void ReadRar(const std::wstring& ArchiveName, TDateiListe& List);
    void ReadZoo(const std::wstring& ArchiveName, TDateiListe& List);
    void ReadWithLister(const std::wstring& ArchiveName, TDateiListe& List);
    // Appends a record and counts it into the totals.
    void AddEntry(TDateiListe& List, std::unique_ptr<TEineDatei> Entry);

    // The zip component's questions, put to the host.
    void AnswerReplace(TZlReplace& Replace);
    void AnswerPassword(TZlPwdQuery& Query);
    // A clash put to the host: 0 skip, 1 replace, 3 skip all, 4 replace all; a
    // cancel raises the abort flag and skips.
    int AskClash(const std::wstring& FileName);
    // Starts a run that is not a call of the zip component: no old abort holds.
    void BeginAbortableRun();
    // Lets the window's messages through at most every 20 ms, so that the Abort
    // button can be pressed, and tells whether the run is to stop.
    bool Aborted();

    TZipRoutinenHost& m_host;
    TZipLib& m_zip;
    arc::TArcLister& m_lister;
    bool m_listing = false;
    // The running reader met damaged data: its entries stay, with a message.
    bool m_readFailed = false;
    // The ZIP listing's progress: entries seen and the bar's last position.
    int m_progressMax = 0;
    int m_progressCount = 0;
    int m_progressShown = 0;
    unsigned long m_lastMessagePump = 0;
};

}  // namespace velmora::archive
