// "ZLUNZ32.DLL": the reading half of the zip library. Entry "zlunzip": count,
// comment, list, test and extract.

#include <windows.h>

#include <memory>
#include <optional>
#include <set>

#include "platform/ziplib/ZlCore.h"

namespace velmora::zl {
namespace {

enum class UnzipOp { Extract, Test, List, Comment };

struct UnzipArgs {
    std::string password;
    UnzipOp op = UnzipOp::Extract;
    int mode = 0;  // 0 all, 1 freshen, 2 update
    bool usePaths = true;
    int overwrite = 0;  // 0 ask, 1 never, 2 always
    std::wstring archive;
    std::vector<std::string> names, excludes;
    std::wstring folder;
};

UnzipArgs ParseUnzip(const std::vector<std::string>& args)
{
    UnzipArgs a;
    a.password = args.at(0);
    size_t i = 1;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& o = args[i];
        if (o == "-f") a.mode = 1;
        else if (o == "-u") a.mode = 2;
        else if (o == "-j") a.usePaths = false;
        else if (o == "-!") {}  // one volume is read like any archive
        else if (o == "-n") a.overwrite = 1;
        else if (o == "-o") a.overwrite = 2;
        else if (o == "-t") a.op = UnzipOp::Test;
        else if (o == "-v") a.op = UnzipOp::List;
        else if (o == "-z") a.op = UnzipOp::Comment;
        else throw ZlFailure{kResultBadArguments};
    }
    if (i >= args.size() || args[i].empty()) throw ZlFailure{kResultBadArguments};
    a.archive = Widen(args[i++]);
    bool excluding = false;
    for (; i < args.size(); ++i) {
        if (args[i] == "-x") excluding = true;
        else if (args[i] == "-d" && i + 1 < args.size()) a.folder = Widen(args[++i]);
        else (excluding ? a.excludes : a.names).push_back(args[i]);
    }
    return a;
}

// The DOS attribute of a volume label entry.
constexpr std::uint8_t kVolumeLabel = 0x08;

// Opens the archive and reads its directory; throws the reason it cannot.
void OpenArchive(const std::wstring& path, InFile& file, ZipDirectory& dir)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) throw ZlFailure{kResultNotFound};
    if (!file.Open(path)) throw ZlFailure{kResultNoAccess};
    if (const int rc = ReadDirectory(file, dir)) throw ZlFailure{rc};
}

bool Chosen(const UnzipArgs& a, const ZipEntry& e)
{
    return (a.names.empty() || MatchAny(a.names, e.name)) && !MatchAny(a.excludes, e.name);
}

// The result of an operation: the worst that happened, and the entries done.
struct Outcome {
    int code = kResultOk;
    int processed = 0;
    void Raise(int c)
    {
        // Data errors outrank "not tested", which outranks "skipped".
        auto rank = [](int r) { return r == kResultOk ? 0 : r == kResultSkipped ? 1 : r == kResultUntested ? 2 : 3; };
        if (rank(c) > rank(code)) code = c;
    }
};

// Passwords: the preset one, then the ones the user gave; each entry is asked
// for at most once.
class PasswordSource {
public:
    PasswordSource(Session& session, std::string preset) : m_session(session), m_preset(std::move(preset)) {}

    // Keys for the entry's data, or empty when the entry is to be skipped
    // (Reason then says why, or is empty for a skip the user chose).
    std::optional<ZipKeys> KeysFor(InFile& file, const ZipEntry& e, std::optional<std::uint8_t>& reason)
    {
        std::optional<ZipKeys> keys;
        reason.reset();
        if (CheckPassword(file, e, m_preset, keys)) return keys;
        if (!m_given.empty() && CheckPassword(file, e, m_given, keys)) return keys;
        if (m_skipAll) return std::nullopt;
        ZlPasswordData q{};
        q.name = e.name.c_str();
        m_session.Send(kMsgPassword, &q);
        q.password[80] = 0;
        if (q.answer == kPasswordGiven) {
            if (CheckPassword(file, e, q.password, keys)) {
                m_given = q.password;
                return keys;
            }
            reason = kSkipPassword;
        } else if (q.answer == kPasswordSkipAll) {
            m_skipAll = true;
        }
        return std::nullopt;
    }

private:
    Session& m_session;
    std::string m_preset, m_given;
    bool m_skipAll = false;
};

void ListArchive(const UnzipArgs& a, Session& s, Outcome& out)
{
    InFile file;
    ZipDirectory dir;
    OpenArchive(a.archive, file, dir);
    StatsHolder stats;
    for (const ZipEntry& e : dir.entries) {
        if (!Chosen(a, e)) continue;
        FillStats(stats, e);
        s.Send(kMsgListing, &stats.block);
        ++out.processed;
    }
}

void TestArchive(const UnzipArgs& a, Session& s, Outcome& out)
{
    InFile file;
    ZipDirectory dir;
    OpenArchive(a.archive, file, dir);
    PasswordSource passwords(s, a.password);
    StatsHolder stats;
    EntryReader reader;
    for (const ZipEntry& e : dir.entries) {
        if (!Chosen(a, e)) continue;
        FillStats(stats, e);
        s.Send(kMsgTesting, &stats.block);
        if (e.IsFolder() && e.size == 0) continue;
        std::optional<ZipKeys> keys;
        if (e.Encrypted()) {
            std::optional<std::uint8_t> reason;
            keys = passwords.KeysFor(file, e, reason);
            if (!keys) {
                s.Skip(e.name, kSkipPassword);
                out.Raise(kResultSkipped);
                continue;
            }
        }
        DataResult r;
        try {
            r = reader.Read(file, e, keys ? &*keys : nullptr, [](const std::uint8_t*, std::size_t) {},
                              [&](int percent) {
                                  stats.block.percent = static_cast<std::uint8_t>(percent);
                                  s.Send(kMsgProgress, &stats.block);
                              });
        } catch (const ZlFailure& f) {
            if (f.code == kResultAborted) throw;
            r = DataResult::Damaged;
        }
        if (r == DataResult::UnknownMethod) {
            s.Skip(e.name, kSkipUnknownMethod);
            out.Raise(kResultUntested);
        } else if (r != DataResult::Ok) {
            s.Skip(e.name, r == DataResult::BadCrc ? kSkipBadCrc : kSkipDamaged);
            out.Raise(kResultTestFailed);
        } else {
            ++out.processed;
        }
    }
}

// ---- extraction ------------------------------------------------------------------

std::uint32_t FileDosTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    FILETIME local{};
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return static_cast<std::uint32_t>(date) << 16 | time;
}

void SetFileDate(HANDLE h, const ZipEntry& e)
{
    FILETIME local{}, utc{};
    if (DosDateTimeToFileTime(e.dosDate, e.dosTime, &local) && LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(h, nullptr, nullptr, &utc);
}

class Extractor {
public:
    Extractor(const UnzipArgs& a, Session& s, Outcome& out) : m_args(a), m_session(s), m_out(out), m_passwords(s, a.password)
    {
        m_target = FullPath(a.folder.empty() ? std::wstring(L".") : a.folder);
        while (m_target.size() > 3 && (m_target.back() == L'\\' || m_target.back() == L'/')) m_target.pop_back();
        m_overwrite = a.overwrite;
        m_archiveKey = LowerWide(FullPath(a.archive));
    }

    void Run()
    {
        OpenArchive(m_args.archive, m_file, m_dir);
        if (!MakeFolder(m_target)) throw ZlFailure{kResultNoAccess};
        for (const ZipEntry& e : m_dir.entries)
            if (Chosen(m_args, e)) One(e);
    }

private:
    void NotWritten(const ZipEntry& e, std::optional<std::uint8_t> reason)
    {
        if (reason) m_session.Skip(e.name, *reason);
        m_out.Raise(kResultSkipped);
    }

    std::wstring TargetOf(const ZipEntry& e)
    {
        std::wstring relative = SafeRelativePath(e.name);
        if (!m_args.usePaths) relative = relative.substr(relative.find_last_of(L'\\') + 1);
        if (relative.empty()) return {};
        return m_target + (m_target.back() == L'\\' ? L"" : L"\\") + relative;
    }

    // TrustNewFolders: a file in a folder this extraction made can only be one
    // it wrote itself (or one that another program put there since, which the
    // final rename refuses to replace: the entry then comes here again, without
    // that trust).
    void One(const ZipEntry& e, bool trustNewFolders = true)
    {
        // A volume label is listed and tested, but it is no file to write.
        if (!e.IsFolder() && (e.DosAttributes() & kVolumeLabel)) return;
        const std::wstring path = TargetOf(e);
        if (e.IsFolder()) {
            if (m_args.usePaths && !path.empty() && !MakeFolder(path)) NotWritten(e, kSkipCannotOpen);
            return;
        }
        if (path.empty()) return NotWritten(e, kSkipDamaged);
        // The target is the full path already (made of the full target folder and safe parts).
        const std::wstring key = LowerWide(path);
        if (key == m_archiveKey) return NotWritten(e, kSkipCannotOpen);
        std::wstring destination = path;
        // Each look-up costs a round trip under Wine, and a failing one reads the
        // whole folder: the target is looked at once, and again only when another
        // name was given; not at all in a folder made by this extraction, unless
        // an entry before went to the same name.
        const bool unseen = trustNewFolders && m_newFolders.count(LowerWide(FolderOf(path))) && !m_written.count(key);
        DWORD found = unseen ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(path.c_str());
        const bool exists = found != INVALID_FILE_ATTRIBUTES;
        if (m_args.mode != 0) {
            // Freshen and update write only what is newer, replacing without a question.
            const std::uint32_t entryTime = static_cast<std::uint32_t>(e.dosDate) << 16 | e.dosTime;
            if ((m_args.mode == 1 && !exists) || (exists && entryTime <= FileDosTime(path))) return;
        } else if (exists) {
            if (m_overwrite == 1) return NotWritten(e, std::nullopt);
            if (m_overwrite == 0) {
                const std::string name = Narrow(path);
                ZlReplaceData q{};
                q.name = name.c_str();
                m_session.Send(kMsgReplace, &q);
                q.newName[259] = 0;
                switch (q.answer) {
                case kReplaceYes: break;
                case kReplaceAll: m_overwrite = 2; break;
                case kReplaceSkipAll: m_overwrite = 1; return NotWritten(e, std::nullopt);
                case kReplaceNewName: {
                    const std::wstring other = FullPath(Widen(q.newName));
                    if (q.newName[0] == 0 || SamePath(other, m_args.archive)) return NotWritten(e, std::nullopt);
                    destination = other;
                    found = GetFileAttributesW(destination.c_str());
                    break;
                }
                default: return NotWritten(e, std::nullopt);
                }
            }
        }
        if (found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY))
            return NotWritten(e, kSkipCannotOpen);
        std::optional<ZipKeys> keys;
        if (e.Encrypted()) {
            std::optional<std::uint8_t> reason;
            keys = m_passwords.KeysFor(m_file, e, reason);
            if (!keys) return NotWritten(e, reason);
        }
        if (e.method != 0 && e.method != 8) return NotWritten(e, kSkipUnknownMethod);
        if (!Write(e, destination, found != INVALID_FILE_ATTRIBUTES, unseen && destination == path, keys))
            One(e, false);
    }

    // Folder, made with the folders above it as needed; the ones made are noted.
    bool MakeFolder(const std::wstring& folder)
    {
        std::wstring key = LowerWide(folder);
        if (m_newFolders.count(key)) return true;
        const DWORD a = GetFileAttributesW(folder.c_str());
        if (a != INVALID_FILE_ATTRIBUTES) return (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring parent = FolderOf(folder);
        if (parent != folder && parent != L"." && !MakeFolder(parent)) return false;
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            const DWORD now = GetFileAttributesW(folder.c_str());
            return now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY);
        }
        m_newFolders.insert(std::move(key));
        return true;
    }

    // Writes into a temporary file beside the target; the target is replaced
    // by a rename only once the data checked. False when the target was taken
    // for absent (MustBeNew) but is there now: nothing was written.
    bool Write(const ZipEntry& e, const std::wstring& destination, bool replacing, bool mustBeNew,
               std::optional<ZipKeys>& keys)
    {
        const std::wstring folder = FolderOf(destination);
        // Entries come folder by folder: the folder of the last one written is there.
        if (folder != m_lastFolder && !MakeFolder(folder)) {
            NotWritten(e, kSkipCannotOpen);
            return true;
        }
        StatsHolder stats;
        FillStats(stats, e);
        m_session.Send(kMsgExtracting, &stats.block);
        // The file is closed (out, made last, goes first) before an unfinished one is removed.
        std::unique_ptr<TempFile> temp;
        OutFile out;
        try {
            temp = std::make_unique<TempFile>(folder, out);
        } catch (const ZlFailure&) {
            NotWritten(e, kSkipCannotOpen);
            return true;
        }
        DataResult r;
        {
            try {
                r = m_reader.Read(m_file, e, keys ? &*keys : nullptr,
                                  [&](const std::uint8_t* p, std::size_t n) { out.WriteThrough(p, n); },
                                  [&](int percent) {
                                      stats.block.percent = static_cast<std::uint8_t>(percent);
                                      m_session.Send(kMsgProgress, &stats.block);
                                  });
            } catch (const ZlFailure& f) {
                if (f.code != kResultDamaged) throw;
                r = DataResult::Damaged;
            }
            if (r == DataResult::Ok) SetFileDate(out.Handle(), e);
            out.Close();
        }
        if (r != DataResult::Ok) {
            m_session.Skip(e.name, r == DataResult::BadCrc ? kSkipBadCrc : kSkipDamaged);
            m_out.Raise(kResultBadData);
            return true;
        }
        if (mustBeNew) {
            if (!temp->CommitNew(destination)) return false;
        } else {
            // A read-only file in the way would refuse the rename.
            if (replacing) SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
            temp->Commit(destination);
        }
        m_written.insert(LowerWide(destination));
        const DWORD attributes = e.DosAttributes() & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        // A new file has the archive bit already: setting it alone would cost one more
        // round trip for every file.
        if (attributes != FILE_ATTRIBUTE_ARCHIVE)
            SetFileAttributesW(destination.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
        m_lastFolder = folder;
        ++m_out.processed;
        return true;
    }

    const UnzipArgs& m_args;
    Session& m_session;
    Outcome& m_out;
    PasswordSource m_passwords;
    InFile m_file;
    ZipDirectory m_dir;
    EntryReader m_reader;
    std::wstring m_lastFolder;
    std::wstring m_target;
    std::wstring m_archiveKey;
    // Lower case: the folders this extraction made, and the files it wrote.
    std::set<std::wstring> m_newFolders, m_written;
    int m_overwrite;
};

int Count(const std::string& archive, Session& s)
{
    InFile file;
    ZipDirectory dir;
    OpenArchive(Widen(archive), file, dir);
    std::int32_t count = static_cast<std::int32_t>(dir.entries.size());
    s.Send(kMsgCount, &count);
    return count;
}

void Comment(const UnzipArgs& a, Session& s)
{
    InFile file;
    ZipDirectory dir;
    OpenArchive(a.archive, file, dir);
    ZlCommentData data{dir.comment.c_str(), static_cast<std::int32_t>(dir.comment.size())};
    s.Send(kMsgComment, &data);
}

int Run(int argCount, char** argList, Session& s)
{
    const std::vector<std::string> args = Arguments(argCount, argList);
    if (args.empty()) return kResultBadArguments;
    Outcome out;
    if (args.size() == 1) {
        const int count = Count(args[0], s);
        return static_cast<int>(static_cast<unsigned>(std::min(count, 0xFFFF)) << 16);
    }
    const UnzipArgs a = ParseUnzip(args);
    switch (a.op) {
    case UnzipOp::List: ListArchive(a, s, out); break;
    case UnzipOp::Test: TestArchive(a, s, out); break;
    case UnzipOp::Comment: Comment(a, s); break;
    case UnzipOp::Extract: Extractor(a, s, out).Run(); break;
    }
    return static_cast<int>(static_cast<unsigned>(std::min(out.processed, 0xFFFF)) << 16 | static_cast<unsigned>(out.code));
}

}  // namespace
}  // namespace velmora::zl

extern "C" __declspec(dllexport) int __stdcall zlunzip(int version, int argCount, char** argList,
    velmora::zl::ZlCallback callback, void* userData)
{
    return velmora::zl::RunEntry(version, argCount, argList, callback, userData, velmora::zl::Run);
}
