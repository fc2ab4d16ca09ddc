#include "PackerCommands.h"

#include <windows.h>

#include <cmath>

#include "ZipRoutinen.h"
#include "foundation/DMChild_Typen.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

namespace {

using TWords = std::vector<std::wstring>;

// The batch budgets of the packers that take names on their command line.
constexpr size_t kZooBudget = 110;
constexpr size_t kArcDeleteBudget = 100;
// The folder lines one ARC list file may hold.
constexpr int kArcFolderLines = 23;

std::uint8_t BaseKind(std::uint8_t kind) {
    switch (kind) {
    case ftZipExe: return ftZip;
    case ftArjExe: return ftArj;
    case ftRarExe: return ftRar;
    case ftArcExe: return ftArc;
    default: return kind;
    }
}

std::wstring Join(const TWords& words) {
    std::wstring joined;
    for (const auto& w : words) {
        if (w.empty()) continue;
        if (!joined.empty()) joined += L' ';
        joined += w;
    }
    return joined;
}

// A value option only with its value: a bare switch would make the packer ask
// on its console while the program waits for it.
void AddValue(TWords& words, const wchar_t* option, const std::wstring& value) {
    if (!value.empty()) words.push_back(option + value);
}

std::wstring FolderOf(const std::wstring& archive) { return IncludeTrailingBackslash(ExtractFilePath(archive)); }

// Command word, the joined options as one parameter, the archive.
TPackerRun ListRun(const std::wstring& program, const std::wstring& folder, const std::wstring& command,
                   const TWords& options, const std::wstring& archiveWord, wchar_t mark, const wchar_t* prefix,
                   const TStringList& lines) {
    TPackerRun run;
    run.Program = program;
    run.Folder = folder;
    if (!command.empty()) run.Words.push_back(command);
    const std::wstring joined = Join(options);
    if (!joined.empty()) run.Words.push_back(joined);
    run.Words.push_back(archiveWord);
    run.ListMark = mark;
    run.ListPrefix = prefix;
    run.ListLines = lines.Items();
    return run;
}

const wchar_t* PickByLevel(int level, const wchar_t* l0, const wchar_t* l1, const wchar_t* l3, const wchar_t* l6,
                           const wchar_t* l8, const wchar_t* l9) {
    switch (level) {
    case 0: return l0;
    case 1: return l1;
    case 3: return l3;
    case 6: return l6;
    case 8: return l8;
    case 9: return l9;
    default: return L"";
    }
}

// Runs with the names on the command line: each batch's words, the fixed words
// and the names, each counted with one separator, stay within Budget; a name
// that alone passes it runs alone. With OneFolder a batch holds one folder's names.
std::vector<TPackerRun> BatchRuns(const TPackerRun& frame, size_t fixedLength, const TStringList& names,
                                  size_t budget, bool oneFolder) {
    std::vector<TPackerRun> runs;
    size_t used = 0;
    std::wstring folder;
    for (const auto& name : names.Items()) {
        const std::wstring word = QuotedWord(name);
        const std::wstring nameFolder = SystemLower(ExtractFilePath(name));
        const bool fits = !runs.empty() && used + word.size() + 1 <= budget && (!oneFolder || nameFolder == folder);
        if (!fits) {
            runs.push_back(frame);
            used = fixedLength;
            folder = nameFolder;
        }
        runs.back().Words.push_back(word);
        used += word.size() + 1;
    }
    return runs;
}

// The ARC packer's list files: a "@folder" line before each change of folder,
// the files by name alone, at most 23 folder lines to a list.
std::vector<TPackerRun> ArcListRuns(const TPackerRun& frame, const TStringList& files) {
    std::vector<TPackerRun> runs;
    std::wstring folder;
    int folderLines = 0;
    for (const auto& file : files.Items()) {
        const std::wstring fileFolder = ExtractFilePath(file);
        const bool newFolder = runs.empty() || SystemLower(fileFolder) != SystemLower(folder);
        if (runs.empty() || (newFolder && folderLines == kArcFolderLines)) {
            runs.push_back(frame);
            folderLines = 0;
        }
        if (newFolder) {
            runs.back().ListLines.push_back(L"@" + fileFolder);
            ++folderLines;
            folder = fileFolder;
        }
        runs.back().ListLines.push_back(ExtractFileName(file));
    }
    return runs;
}

std::vector<TPackerRun> ZooBatches(const std::wstring& program, const std::wstring& archive,
                                   const std::wstring& command, const TStringList& names, bool oneFolder) {
    TPackerRun frame;
    frame.Program = program;
    frame.Folder = FolderOf(archive);
    frame.Words = {command, QuotedWord(ExtractFileName(archive))};
    const size_t fixed = program.size() + 1 + command.size() + 1 + frame.Words[1].size() + 1;
    return BatchRuns(frame, fixed, names, kZooBudget, oneFolder);
}

}  // namespace

std::wstring QuotedWord(const std::wstring& Word) {
    if (Word.find(L' ') == std::wstring::npos) return Word;
    return L"\"" + Word + L"\"";
}

std::wstring SafeEntryFolder(const std::wstring& EntryName) {
    std::wstring name = TZipRoutinen::ReplaceChar(EntryName, L'/', L'\\');
    if (name.size() >= 2 && name[1] == L':') name.erase(0, 2);
    std::wstring folder;
    size_t start = 0;
    const size_t last = name.find_last_of(L'\\');
    if (last == std::wstring::npos) return folder;
    while (start <= last) {
        size_t end = name.find(L'\\', start);
        const std::wstring part = name.substr(start, end - start);
        if (!part.empty() && part != L"." && part != L"..") folder += part + L"\\";
        start = end + 1;
    }
    return folder;
}

bool FileStamp(const std::wstring& Path, std::int64_t& Size, TDateTime& Time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(Path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    FILETIME local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &st);
    Time = TryEncodeDateTime({st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, 0}).value_or(0);
    return true;
}

bool SameAsEntry(const std::wstring& Path, const TEineDatei& Entry) {
    std::int64_t size = 0;
    TDateTime time = 0;
    return FileStamp(Path, size, time) && size == Entry.Size && std::fabs(time - Entry.Time) * 86400.0 <= 2.0 + 1e-6;
}

std::wstring StoredEntryName(const std::wstring& Entry) {
    std::wstring name = TZipRoutinen::ReplaceChar(Entry, L'/', L'\\');
    while (!name.empty() && name.front() == L'\\') name.erase(0, 1);
    return name;
}

std::wstring EntryTargetFolder(const std::wstring& Target, const std::wstring& Entry, int PathMode,
                               const std::wstring& BaseFolder) {
    const std::wstring stored = StoredEntryName(Entry);
    if (PathMode == 2) return Target + SafeEntryFolder(stored);
    if (PathMode != 1) return Target;
    std::wstring folder = ExtractFilePath(stored);
    std::wstring lowerBase = SystemLower(StoredEntryName(BaseFolder));
    if (!lowerBase.empty() && lowerBase.back() != L'\\') lowerBase += L'\\';
    if (!lowerBase.empty() && SystemLower(folder).compare(0, lowerBase.size(), lowerBase) == 0)
        folder.erase(0, lowerBase.size());
    return Target + SafeEntryFolder(folder);
}

std::vector<TPackerRun> AddRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                const TStringList& Files, const TPackerAddOptions& O) {
    const std::wstring folder = FolderOf(Archive);
    const std::wstring archiveWord = QuotedWord(ExtractFileName(Archive));
    const bool move = O.DeleteSources;
    const int mode = O.Mode < 0 || O.Mode > 2 ? 0 : O.Mode;
    const int level = O.Compression;
    TWords opts;
    switch (BaseKind(Kind)) {
    case ftZip: {
        static const wchar_t* const moving[] = {L"-m", L"-mf", L"-mu"};
        static const wchar_t* const plain[] = {L"-a", L"-f", L"-u"};
        opts = {O.StorePaths ? L"-P" : L"-P-", O.Recurse ? L"-r" : L"",
                PickByLevel(level, L"-e0", L"-es", L"-ef", L"-en", L"-ex", L"-ex")};
        AddValue(opts, L"-s", O.Password);
        AddValue(opts, L"-b", C.Temp);
        return {ListRun(C.Packer.ZipPath, folder, move ? moving[mode] : plain[mode], opts, archiveWord, L'@', L"~ZI",
                        Files)};
    }
    case ftArj: {
        static const wchar_t* const plain[] = {L"a", L"f", L"u"};
        static const wchar_t* const moveMode[] = {L"", L"-f", L"-u"};
        if (move) opts.push_back(moveMode[mode]);
        opts.insert(opts.end(), {O.StorePaths ? L"-jf1" : L"-e", O.Recurse ? L"-r" : L"",
                                 PickByLevel(level, L"-m0", L"-m4", L"-m3", L"-m2", L"-m1", L"-m1")});
        AddValue(opts, L"-g", O.Password);
        AddValue(opts, L"-w", C.Temp);
        return {ListRun(C.Packer.ArjPath, folder, move ? L"m" : plain[mode], opts, archiveWord, L'!', L"~AR", Files)};
    }
    case ftRar: {
        static const wchar_t* const modeOption[] = {L"", L"-f", L"-u"};
        opts = {modeOption[mode], O.StorePaths ? L"" : L"-ep", O.Recurse ? L"-r" : L"",
                PickByLevel(level, L"-m0", L"-m1", L"-m2", L"-m3", L"-m4", L"-m5")};
        AddValue(opts, L"-p", O.Password);
        AddValue(opts, L"-w", C.Temp);
        return {ListRun(C.Packer.RarPath, folder, move ? L"mf" : L"a", opts, archiveWord, L'@', L"~RA", Files)};
    }
    case ftLzh: {
        std::wstring command = mode == 1 ? L"f" : move ? L"m" : mode == 0 ? L"a" : L"u";
        if (mode == 0 && move) opts.push_back(L"-c");
        opts.insert(opts.end(), {O.StorePaths ? L"-x1" : L"-x0", O.Recurse ? L"-r" : L"",
                                 C.Temp.empty() ? L"-w0" : L"-w" + C.Temp});
        return {ListRun(C.Packer.LhaPath, folder, command, opts, archiveWord, L'@', L"~LH", Files)};
    }
    case ftArc: {
        static const wchar_t* const plain[] = {L"a", L"f", L"u"};
        std::wstring command = (move ? L"m" : L"") + std::wstring(plain[mode]);
        if (!O.Password.empty()) command += L"g" + O.Password;
        TPackerRun frame;
        frame.Program = C.Packer.PkPakPath;
        frame.Folder = folder;
        if (!C.Temp.empty()) frame.Words.push_back(L"b" + C.Temp);
        frame.Words.insert(frame.Words.end(), {command, archiveWord});
        frame.ListMark = L'@';
        frame.ListPrefix = L"~PA";
        return ArcListRuns(frame, Files);
    }
    case ftZoo: {
        std::wstring command = L"aP";
        if (mode == 1) command += L"u";
        if (mode == 2) command += L"un";
        if (move) command += L"M";
        if (level == 0 || level == 1) command += L"f";
        if (level == 8 || level == 9) command += L"h";
        if (!O.StorePaths) command += L":";
        return ZooBatches(C.Packer.ZooPath, Archive, command, Files, true);
    }
    default: return {};
    }
}

std::vector<TPackerRun> DeleteRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                   const TStringList& Entries) {
    const std::wstring folder = FolderOf(Archive);
    const std::wstring archiveWord = QuotedWord(ExtractFileName(Archive));
    TWords temp;
    switch (BaseKind(Kind)) {
    case ftZip:
        AddValue(temp, L"-b", C.Temp);
        return {ListRun(C.Packer.ZipPath, folder, L"-d", temp, archiveWord, L'@', L"~ZI", Entries)};
    case ftLzh:
        return {ListRun(C.Packer.LhaPath, folder, L"d", {C.Temp.empty() ? L"-w0" : L"-w" + C.Temp}, archiveWord,
                        L'@', L"~LH", Entries)};
    case ftArj:
        AddValue(temp, L"-w", C.Temp);
        return {ListRun(C.Packer.ArjPath, folder, L"d", temp, archiveWord, L'!', L"~AR", Entries)};
    case ftRar:
        AddValue(temp, L"-w", C.Temp);
        return {ListRun(C.Packer.RarPath, folder, L"d", temp, archiveWord, L'@', L"~RA", Entries)};
    case ftArc: {
        TPackerRun frame;
        frame.Program = C.Packer.PkPakPath;
        frame.Folder = folder;
        frame.Words = {L"d", archiveWord};
        return BatchRuns(frame, 0, Entries, kArcDeleteBudget, false);
    }
    case ftZoo: return ZooBatches(C.Packer.ZooPath, Archive, L"DP", Entries, false);
    default: return {};
    }
}

std::vector<TPackerRun> TestRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive,
                                 const TStringList& Entries, const std::wstring& Password) {
    const std::wstring folder = FolderOf(Archive);
    const std::wstring archiveWord = QuotedWord(ExtractFileName(Archive));
    TWords opts;
    switch (BaseKind(Kind)) {
    case ftZip:
        AddValue(opts, L"-s", Password);
        return {ListRun(C.Packer.UnZipPath, folder, L"-t", opts, archiveWord, L'@', L"~ZI", Entries)};
    case ftLzh:
        return {ListRun(C.Packer.LhaPath, folder, L"t", {C.Temp.empty() ? L"-w0" : L"-w" + C.Temp}, archiveWord,
                        L'@', L"~LH", Entries)};
    case ftArj:
        AddValue(opts, L"-g", Password);
        return {ListRun(C.Packer.ArjPath, folder, L"t", opts, archiveWord, L'!', L"~AR", Entries)};
    case ftRar:
        AddValue(opts, L"-p", Password);
        return {ListRun(C.Packer.RarPath, folder, L"t", opts, archiveWord, L'@', L"~RA", Entries)};
    case ftArc:
        AddValue(opts, L"-g", Password);
        return {ListRun(C.Packer.PkUnPakPath, folder, L"-t", opts, archiveWord, L'@', L"~PA", Entries)};
    default: return {};
    }
}

namespace {

// The entries grouped into runs by the folder each is written to.
std::vector<TPackerRun> FolderRuns(const TPackerRun& frame, const TStringList& entries, const std::wstring& target,
                                   const std::wstring& base, int pathMode) {
    const bool perFolder = pathMode == 1;
    std::vector<TPackerRun> runs;
    for (const auto& entry : entries.Items()) {
        const std::wstring folder = EntryTargetFolder(target, entry, perFolder ? 1 : 0, base);
        TPackerRun* run = nullptr;
        for (auto& r : runs)
            if (SystemLower(r.Folder) == SystemLower(folder)) run = &r;
        if (!run) {
            runs.push_back(frame);
            run = &runs.back();
            run->Folder = folder;
        }
        run->ListLines.push_back(entry);
        if (pathMode == 2 && !SafeEntryFolder(entry).empty())
            run->MakeFolders.push_back(target + SafeEntryFolder(entry));
    }
    return runs;
}

// Freshening: an entry whose file is not in its run's folder is not extracted.
void DropMissingTargets(std::vector<TPackerRun>& runs) {
    for (auto& run : runs) {
        std::vector<std::wstring> kept;
        for (const auto& line : run.ListLines)
            if (FileExists(run.Folder + ExtractFileName(line))) kept.push_back(line);
        run.ListLines = std::move(kept);
    }
    std::erase_if(runs, [](const TPackerRun& r) { return r.ListLines.empty(); });
}

}  // namespace

std::vector<TPackerRun> ExtractRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& ShortArchive,
                                    const TStringList& Entries, const std::wstring& Target,
                                    const TPackerExtractOptions& O) {
    const std::wstring archiveWord = QuotedWord(ShortArchive);
    const bool always = O.Overwrite == 2, never = O.Overwrite == 1;
    TPackerRun frame;
    frame.ListMark = L'@';
    TWords opts;
    std::wstring command;
    std::wstring base = O.BaseFolder;
    int pathMode = O.PathMode;
    bool dropMissing = false;
    switch (BaseKind(Kind)) {
    case ftZip:
        frame.Program = C.Packer.UnZipPath;
        frame.ListPrefix = L"~ZI";
        command = pathMode == 2 ? L"-d" : L"";
        opts = {O.Mode == 1 ? L"-f" : O.Mode == 2 ? L"-n" : L"", never ? L"-o-" : always ? L"-o" : L""};
        AddValue(opts, L"-s", O.Password);
        break;
    case ftArj:
        frame.Program = C.Packer.ArjPath;
        frame.ListPrefix = L"~AR";
        frame.ListMark = L'!';
        command = pathMode == 2 ? L"x" : L"e";
        opts = {O.Mode == 1 ? L"-f" : O.Mode == 2 ? L"-u" : L"", O.DeleteAfter ? L"-d" : L"", always ? L"-y" : L""};
        AddValue(opts, L"-g", O.Password);
        break;
    case ftRar:
        frame.Program = C.Packer.RarPath;
        frame.ListPrefix = L"~RA";
        command = pathMode == 2 ? L"x" : L"e";
        opts = {O.Mode == 1 ? L"-f" : O.Mode == 2 ? L"-u" : L"", never ? L"-o-" : always ? L"-o+" : L""};
        AddValue(opts, L"-p", O.Password);
        break;
    case ftLzh:
        frame.Program = C.Packer.LhaPath;
        frame.ListPrefix = L"~LH";
        command = L"e";
        opts = {O.Mode == 0 ? L"-c" : L"", L"-x0", always ? L"-m2" : L""};
        dropMissing = O.Mode == 1;
        // "e" with "-x0" writes every entry flat: full paths are had by one run
        // per stored folder, each into that folder below the target.
        if (pathMode == 2) {
            pathMode = 1;
            base.clear();
        }
        break;
    case ftArc:
        frame.Program = C.Packer.PkUnPakPath;
        frame.ListPrefix = L"~PA";
        frame.ListFullPath = true;
        opts = {always ? L"-r" : L"", O.Mode != 0 ? L"-n" : L""};
        AddValue(opts, L"-g", O.Password);
        dropMissing = O.Mode == 1;
        break;
    case ftZoo: {
        // The unpacker's suffixes: ":" flat, "." into the current folder,
        // "S" only newer entries, "O" replacing without asking.
        command = L"x";
        if (pathMode == 0) command += L":";
        if (pathMode == 1) command += L".";
        if (O.Mode == 2) command += L"S";
        if (always) command += L"O";
        frame.Program = C.Packer.ZooPath;
        frame.ListMark = 0;
        break;
    }
    default: return {};
    }
    if (!command.empty()) frame.Words.push_back(command);
    const std::wstring joined = Join(opts);
    if (!joined.empty()) frame.Words.push_back(joined);
    frame.Words.push_back(archiveWord);
    std::vector<TPackerRun> runs = FolderRuns(frame, Entries, Target, base, pathMode);
    if (dropMissing) DropMissingTargets(runs);
    if (BaseKind(Kind) == ftZoo) {
        // No list file: the entries go on the command line in batches.
        std::vector<TPackerRun> batched;
        for (auto& run : runs) {
            TStringList names;
            for (auto& line : run.ListLines) names.Add(line);
            TPackerRun runFrame = run;
            runFrame.ListLines.clear();
            const size_t fixed = run.Program.size() + 1 + command.size() + 1 + archiveWord.size() + 1;
            for (auto& b : BatchRuns(runFrame, fixed, names, kZooBudget, false)) batched.push_back(std::move(b));
        }
        return batched;
    }
    return runs;
}

std::vector<TPackerRun> ToExeRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive) {
    TPackerRun run;
    run.Folder = FolderOf(Archive);
    switch (BaseKind(Kind)) {
    case ftZip: run.Program = C.Packer.Zip2ExePath; break;
    case ftLzh: run.Program = C.Packer.LhaPath; run.Words = {L"s"}; break;
    case ftArj: run.Program = C.Packer.ArjPath; run.Words = {L"y", L"-je"}; break;
    case ftRar: run.Program = C.Packer.RarPath; run.Words = {L"s"}; break;
    default: return {};
    }
    run.Words.push_back(QuotedWord(ExtractFileName(Archive)));
    return {run};
}

std::vector<TPackerRun> DateRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive) {
    TPackerRun run;
    run.Folder = FolderOf(Archive);
    switch (BaseKind(Kind)) {
    case ftArj: {
        run.Program = C.Packer.ArjPath;
        TWords opts = {L"-s"};
        AddValue(opts, L"-w", C.Temp);
        run.Words = {L"y", Join(opts)};
        break;
    }
    case ftZoo: run.Program = C.Packer.ZooPath; run.Words = {L"T"}; break;
    default: return {};
    }
    run.Words.push_back(QuotedWord(ExtractFileName(Archive)));
    return {run};
}

std::vector<TPackerRun> RepairRuns(const TPackerContext& C, std::uint8_t Kind, const std::wstring& Archive) {
    if (BaseKind(Kind) != ftRar) return {};
    TPackerRun run;
    run.Program = C.Packer.RarPath;
    run.Folder = FolderOf(Archive);
    run.Words = {L"r", QuotedWord(ExtractFileName(Archive))};
    return {run};
}

std::wstring MissingPackerText(char Operation, std::uint8_t Kind) {
    const std::uint8_t kind = BaseKind(Kind);
    const wchar_t* x = kind == ftZip ? L"Zip" : kind == ftArj ? L"Arj" : kind == ftLzh ? L"Lha"
                     : kind == ftRar ? L"Rar" : kind == ftArc ? L"Arc" : L"Zoo";
    const std::wstring tail = L",\rda Sie diesen noch nicht deklariert haben oder der bereits deklarierte ";
    auto pattern = [&](const std::wstring& w, const wchar_t* v, const wchar_t* p) {
        return L"Es können leider keine Dateien mit dem externen " + w + L" " + v + L" werden" + tail + p +
               L"\rnicht mehr existiert.";
    };
    const std::wstring packer = std::wstring(x) + L"-Packer";
    const std::wstring unpacker = (kind == ftZip || kind == ftArc) ? std::wstring(x) + L"-Entpacker" : packer;
    switch (Operation) {
    case 'a': return pattern(packer, L"archiviert", L"Packer");
    case 'x': return pattern(unpacker, L"extrahiert", kind == ftZip ? L"Entpacker" : L"Packer");
    case 't': return pattern(unpacker, L"getestet", L"Packer");
    case 'd':
        return L"Es können leider keine Dateien mit Hilfe des externen " + packer + L"s gelöscht werden" + tail +
               L"Packer\rnicht mehr existiert.";
    case 's':
        if (kind == ftZip)
            return L"Das Archiv kann leider nicht mit dem Zip-nach-Exe-Konverter in eine Exe-Datei umgewandelt "
                   L"werden, da Sie diesen noch nicht deklariert haben oder der bereits deklarierte Konverter nicht "
                   L"mehr existiert.";
        return L"Das Archiv kann leider nicht mit dem externen " + packer + L" in eine Exe-Datei umgewandelt werden" +
               tail + L"Packer\rnicht mehr existiert.";
    case 'y':
        return L"Das Archivdatum kann leider nicht mit dem externen " + packer + L" aktualisiert werden" + tail +
               L"Packer\rnicht mehr existiert.";
    default:
        return L"Das Archiv kann leider nicht mit dem externen Rar-Packer repariert werden" + tail +
               L"Packer\rnicht mehr existiert.";
    }
}

}  // namespace velmora::archive
