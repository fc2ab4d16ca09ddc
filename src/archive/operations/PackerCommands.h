#pragma once
// The command lines of the outside packers: for each operation and format, the
// program, the folder it runs in, its parameter words and the lines of its list
// file. Nothing here starts a program; TZipRoutinen runs what these give.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/EineDatei.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace velmora::archive {

struct TPackerSettings;

// One start of an outside packer.
struct TPackerRun {
    std::wstring Program;
    // The current folder of the run, with a trailing "\".
    std::wstring Folder;
    // The parameters in order; the list word follows them when ListMark is set.
    std::vector<std::wstring> Words;
    // "@" or "!" in front of the list file's name; 0 for a run without a list file.
    wchar_t ListMark = 0;
    std::wstring ListPrefix;
    // The list word names the list file by its full path, not by its name alone.
    bool ListFullPath = false;
    std::vector<std::wstring> ListLines;
    // Folders to make before the run (the stored folders of a run with paths).
    std::vector<std::wstring> MakeFolders;
};

// What the outside packers take from the zip component: the temporary folder
// ("" when the temporary file is not used) and the packer settings.
struct TPackerContext {
    const TPackerSettings& Packer;
    std::wstring Temp;
};

struct TPackerAddOptions {
    std::wstring Password;
    int Compression = 5;
    bool Recurse = false;
    bool StorePaths = true;
    bool DeleteSources = false;
    int Mode = 0;  // 0 add, 1 freshen, 2 update
};

struct TPackerExtractOptions {
    std::wstring Password;
    int PathMode = 0;   // 0 flat, 1 relative to BaseFolder, 2 full stored paths
    int Overwrite = 0;  // 0 ask, 1 never, 2 always
    int Mode = 0;       // 0 all, 1 freshen, 2 update
    bool DeleteAfter = false;
    std::wstring BaseFolder;
};

// A command-line word as a packer must get it: quoted when it holds a blank.
std::wstring QuotedWord(const std::wstring& Word);
// Folder parts of an entry name that may go below a target folder: drive,
// root, "." and ".." parts are dropped; "" or a relative folder with "\".
std::wstring SafeEntryFolder(const std::wstring& EntryName);

// The entry's name as stored: "\\" for "/", no leading "\\".
std::wstring StoredEntryName(const std::wstring& Entry);
// The folder an entry is written to: Target, plus in PathMode 1 its stored
// folder less BaseFolder (when it lies below it), in PathMode 2 its whole
// stored folder, both made safe.
std::wstring EntryTargetFolder(const std::wstring& Target, const std::wstring& Entry, int PathMode,
                               const std::wstring& BaseFolder);

// Size and local time of a file on disk; false when there is no such file.
bool FileStamp(const std::wstring& Path, std::int64_t& Size, TDateTime& Time);
// Whether the file at Path is the entry as written: its size, and its time
// within the two-second steps archives keep.
bool SameAsEntry(const std::wstring& Path, const TEineDatei& Entry);

// Kind is the archive kind (ftZip ... ftZoo). Each returns the runs in order;
// no runs for a kind the operation has no outside packer for.
std::vector<TPackerRun> AddRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                const TStringList& Files, const TPackerAddOptions& O);
std::vector<TPackerRun> DeleteRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                   const TStringList& Entries);
std::vector<TPackerRun> TestRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                 const TStringList& Entries, const std::wstring& Password);
// Target ends in "\"; ShortArchive is the archive's short path. Mode 1 of the
// LHA and ARC unpackers drops entries with no file in their run's folder.
std::vector<TPackerRun> ExtractRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& ShortArchive,
                                    const TStringList& Entries, const std::wstring& Target,
                                    const TPackerExtractOptions& O);
// Conversion to a self-extracting program, archive date and repair: one run
// on the archive's file name in its folder.
std::vector<TPackerRun> ToExeRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive);
std::vector<TPackerRun> DateRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive);
std::vector<TPackerRun> RepairRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive);

// The message for a packer that is not declared or gone. Operation: 'a' add,
// 'x' extract, 't' test, 'd' delete, 's' to self-extracting, 'y' archive date,
// 'r' repair.
std::wstring MissingPackerText(char Operation, std::uint8_t Kind);

}  // namespace velmora::archive
