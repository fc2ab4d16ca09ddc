// "ZLZIP32.DLL": the writing half of the zip library. Entry "zlzip": add
// (freshen, update, move), delete, re-date and repair. Every change is
// written to a temporary file that one rename puts in place of the archive.

#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "platform/ziplib/ZlCore.h"
#include "platform/ziplib/ZlRepair.h"

namespace velmora::zl {
namespace {

enum class ZipOp { Add, Delete, Fix, FixThorough, Date };

struct ZipArgs {
    std::string password;
    ZipOp op = ZipOp::Add;
    int mode = 0;  // 0 add, 1 freshen, 2 update
    bool encrypt = false, move = false, hidden = false, folders = false, label = false, recurse = false;
    bool usePaths = true, clearDisks = false;
    int level = 6;
    std::wstring tempFolder;
    std::vector<std::wstring> storedExtensions;
    std::uint16_t dateLimit = 0;  // DOS date; files from that day on
    std::wstring archive;
    std::vector<std::string> names, includes, excludes;
};

std::uint16_t ParseDateLimit(const std::string& mmddyy)
{
    if (mmddyy.size() != 6 || !std::all_of(mmddyy.begin(), mmddyy.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw ZlFailure{kResultBadArguments};
    const int month = std::stoi(mmddyy.substr(0, 2)), day = std::stoi(mmddyy.substr(2, 2));
    int year = std::stoi(mmddyy.substr(4, 2));
    year += year >= 80 ? 1900 : 2000;
    if (month < 1 || month > 12 || day < 1 || day > 31) throw ZlFailure{kResultBadArguments};
    return static_cast<std::uint16_t>((year - 1980) << 9 | month << 5 | day);
}

std::vector<std::wstring> ExtensionList(const std::string& list)
{
    std::vector<std::wstring> out;
    std::string part;
    for (char c : list + ";") {
        if (c != ';' && c != ':') {
            part += c;
            continue;
        }
        if (!part.empty()) out.push_back(LowerWide(Widen(part[0] == '.' ? part : "." + part)));
        part.clear();
    }
    return out;
}

ZipArgs ParseZip(const std::vector<std::string>& args)
{
    ZipArgs a;
    a.password = args.at(0);
    size_t i = 1;
    auto value = [&]() -> const std::string& {
        if (i + 1 >= args.size()) throw ZlFailure{kResultBadArguments};
        return args[++i];
    };
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string& o = args[i];
        if (o == "-f") a.mode = 1;
        else if (o == "-u") a.mode = 2;
        else if (o == "-e") a.encrypt = true;
        else if (o.size() == 2 && o[1] >= '0' && o[1] <= '9') a.level = o[1] - '0';
        else if (o == "-m") a.move = true;
        else if (o == "-S") a.hidden = true;
        else if (o == "-D") a.folders = true;
        else if (o == "-$") a.label = true;
        else if (o == "-r") a.recurse = true;
        else if (o == "-j") a.usePaths = false;
        else if (o == "-g" || o == "-!") {}  // always through a temporary file; one volume
        else if (o == "-&") a.clearDisks = true;
        else if (o == "-b") a.tempFolder = Widen(value());
        else if (o == "-n") a.storedExtensions = ExtensionList(value());
        else if (o == "-t") a.dateLimit = ParseDateLimit(value());
        else if (o == "-d") a.op = ZipOp::Delete;
        else if (o == "-F") a.op = ZipOp::Fix;
        else if (o == "-FF") a.op = ZipOp::FixThorough;
        else if (o == "-o") a.op = ZipOp::Date;
        else throw ZlFailure{kResultBadArguments};
    }
    if (i >= args.size() || args[i].empty()) throw ZlFailure{kResultBadArguments};
    a.archive = FullPath(Widen(args[i++]));
    std::vector<std::string>* list = &a.names;
    for (; i < args.size(); ++i) {
        if (args[i] == "-i") list = &a.includes;
        else if (args[i] == "-x") list = &a.excludes;
        else list->push_back(args[i]);
    }
    return a;
}

struct Outcome {
    int code = kResultOk;
    int processed = 0;
};

bool ReadExisting(const std::wstring& path, InFile& file, ZipDirectory& dir)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    if (!file.Open(path)) throw ZlFailure{kResultNoAccess};
    if (const int rc = ReadDirectory(file, dir)) throw ZlFailure{rc};
    return true;
}

std::wstring TempFolderFor(const ZipArgs& a)
{
    return a.tempFolder.empty() ? FolderOf(a.archive) : a.tempFolder;
}

// ---- gathering the files to add ------------------------------------------------------

// The DOS attribute of a volume label entry.
constexpr DWORD kLabelAttribute = 0x08;

struct Source {
    std::wstring path;
    std::wstring key;    // the full path in lower case
    std::string stored;  // "/" separated, folders end in "/"
    std::uint64_t size = 0;
    FILETIME time{};
    std::uint32_t dosTime = 0;  // local DOS date (high word) and time
    DWORD attributes = 0;
    bool label = false;  // the volume label ("-$"), not a file
};

class Gatherer {
public:
    // Archive and Temp are the files the archive is read from and written to
    // (either may be closed): never sources, whatever name reaches them.
    Gatherer(const ZipArgs& a, InFile& archive, OutFile& temp, const std::wstring& tempPath, Session& s,
             Outcome& out)
        : m_args(a),
          m_archiveKey(LowerWide(FullPath(a.archive))),
          m_tempKey(LowerWide(FullPath(tempPath))),
          m_archiveId(IdentityOf(archive.Handle())),
          m_tempId(IdentityOf(temp.Handle())),
          m_archiveSize(archive.Size()),
          m_session(s),
          m_out(out)
    {
    }

    std::vector<Source> Run()
    {
        for (const std::string& name : m_args.names) {
            const size_t before = m_sources.size();
            Take(FullPath(Widen(name)));
            if (m_sources.size() == before && !m_matchedOther) {
                m_session.Skip(name, kSkipNotFound);
                m_out.code = kResultSkipped;
            }
            m_matchedOther = false;
        }
        return std::move(m_sources);
    }

private:
    std::string StoredName(const std::wstring& path, bool folder) const
    {
        std::wstring name = path;
        if (!m_args.usePaths) {
            name = name.substr(name.find_last_of(L"\\/") + 1);
        } else if (name.starts_with(L"\\\\")) {
            // \\server\share\ goes like a drive.
            size_t p = name.find(L'\\', 2);
            p = p == std::wstring::npos ? p : name.find(L'\\', p + 1);
            name = p == std::wstring::npos ? L"" : name.substr(p);
        } else if (name.size() >= 2 && name[1] == L':') {
            name.erase(0, 2);
        }
        std::replace(name.begin(), name.end(), L'\\', L'/');
        while (!name.empty() && name[0] == L'/') name.erase(0, 1);
        if (folder && !name.empty()) name += L'/';
        return Narrow(name);
    }

    void Add(const std::wstring& path, const WIN32_FIND_DATAW& data, bool named)
    {
        const bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        // Files left out on purpose still count as found (no "not found" remark).
        m_matchedOther = true;
        if (!named && !m_args.hidden && (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
            return;
        // Never the archive itself, nor the file that becomes it. Paths here are
        // full already: one lower-case copy serves every comparison of the file.
        Source s;
        s.key = LowerWide(path);
        if (s.key == m_archiveKey || s.key == m_tempKey) return;
        s.path = path;
        s.stored = StoredName(path, folder);
        if (s.stored.empty()) return;
        if (!m_args.includes.empty() || !m_args.excludes.empty()) {
            const std::string bare = Narrow(data.cFileName);
            if (!m_args.includes.empty() && !MatchAny(m_args.includes, s.stored) && !MatchAny(m_args.includes, bare))
                return;
            if (MatchAny(m_args.excludes, s.stored) || MatchAny(m_args.excludes, bare)) return;
        }
        s.size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        // Another name of the archive or of the new file (a short name, a
        // link): only a file of the archive's size, or an empty one like the
        // new file so far, can be either; the others cost no extra open.
        if (!folder && (s.size == 0 || (m_archiveId.valid && s.size == m_archiveSize))) {
            const FileIdentity id = IdentityOf(path);
            if (id == m_archiveId || id == m_tempId) return;
        }
        s.time = data.ftLastWriteTime;
        s.dosTime = DosTimeOf(s.time);
        s.attributes = data.dwFileAttributes;
        if ((s.dosTime >> 16) < m_args.dateLimit) return;
        if (!m_seen.insert(s.key).second) return;
        m_sources.push_back(std::move(s));
    }

    void Walk(const std::wstring& folder, const std::wstring& mask, bool recurse)
    {
        // Files first, then the subfolders. With a mask that takes every name
        // one pass over the folder sees both; each pass costs a round trip.
        const bool everything = mask == L"*" || mask == L"*.*";
        std::vector<WIN32_FIND_DATAW> subfolders;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((folder + L"\\" + mask).c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) Add(folder + L"\\" + data.cFileName, data, false);
                else if (everything && recurse && WalkInto(data)) subfolders.push_back(data);
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        if (!recurse) return;
        if (!everything) {
            h = FindFirstFileW((folder + L"\\*").c_str(), &data);
            if (h == INVALID_HANDLE_VALUE) return;
            do {
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && WalkInto(data)) subfolders.push_back(data);
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        for (const WIN32_FIND_DATAW& sub : subfolders) {
            const std::wstring path = folder + L"\\" + sub.cFileName;
            if (m_args.folders) Add(path, sub, false);
            Walk(path, mask, true);
        }
    }

    bool WalkInto(const WIN32_FIND_DATAW& data) const
    {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") return false;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
        return m_args.hidden || !(data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    }

    void Take(const std::wstring& path)
    {
        const bool wild = path.find_first_of(L"*?") != std::wstring::npos;
        WIN32_FIND_DATAW data;
        if (!wild) {
            HANDLE h = FindFirstFileW(path.c_str(), &data);
            if (h == INVALID_HANDLE_VALUE) return;
            FindClose(h);
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return Add(path, data, true);
            if (m_args.folders) Add(path, data, true);
            if (m_args.recurse) Walk(path, L"*", true);
            return;
        }
        Walk(FolderOf(path), path.substr(path.find_last_of(L"\\/") + 1), m_args.recurse);
    }

    const ZipArgs& m_args;
    std::wstring m_archiveKey, m_tempKey;
    FileIdentity m_archiveId, m_tempId;
    std::uint64_t m_archiveSize;
    Session& m_session;
    Outcome& m_out;
    std::vector<Source> m_sources;
    std::set<std::wstring> m_seen;
    bool m_matchedOther = false;
};

// ---- writing new entries ----------------------------------------------------------

class EntryWriter {
public:
    EntryWriter(const ZipArgs& a, Session& s, OutFile& out) : m_args(a), m_session(s), m_out(out) {}

    ZipEntry Describe(const Source& src) const
    {
        ZipEntry e;
        e.rawName = e.name = src.stored;
        e.madeBy = 20;  // MS-DOS attributes, version 2.0
        e.needed = 20;
        if (!IsAscii(e.rawName)) e.flags |= kFlagUtf8;
        const std::uint32_t dos = src.dosTime;
        e.dosDate = static_cast<std::uint16_t>(dos >> 16);
        e.dosTime = static_cast<std::uint16_t>(dos);
        e.externalAttributes = src.attributes & 0x3F;
        e.size = src.size;
        const bool folder = src.attributes & (FILE_ATTRIBUTE_DIRECTORY | kLabelAttribute);
        e.method = folder || Stored(src) ? 0 : 8;
        if (m_args.encrypt && !m_args.password.empty() && !folder) e.flags |= kFlagEncrypted | kFlagDescriptor;
        return e;
    }

    // Writes the entry; false when the source cannot be read (nothing of it
    // stays written).
    bool Write(const Source& src, ZipEntry& e)
    {
        InFile in;
        const bool noData = src.attributes & (FILE_ATTRIBUTE_DIRECTORY | kLabelAttribute);
        if (!noData && !in.OpenStream(src.path)) return false;
        e.localOffset = m_out.Position();
        WriteLocalHeader(m_out, e);
        std::optional<ZipKeys> keys;
        std::uint64_t packed = 0;
        if (e.Encrypted()) {
            keys.emplace(m_args.password);
            std::uint8_t header[12];
            LARGE_INTEGER seed;
            QueryPerformanceCounter(&seed);
            for (int i = 0; i < 11; ++i)
                header[i] = static_cast<std::uint8_t>((seed.QuadPart >> (i % 8 * 8)) ^ (GetTickCount() >> i) ^ (i * 37));
            // With a data descriptor the check byte is the high byte of the time.
            header[11] = static_cast<std::uint8_t>(e.dosTime >> 8);
            for (std::uint8_t& b : header) b = keys->Encrypt(b);
            m_out.Write(header, 12);
            packed += 12;
        }
        StatsHolder stats;
        FillStats(stats, e);
        std::uint32_t crc = 0;
        std::uint64_t size = 0;
        auto emit = [&](std::uint8_t* p, std::size_t n) {
            if (keys)
                for (std::size_t i = 0; i < n; ++i) p[i] = keys->Encrypt(p[i]);
            m_out.Write(p, n);
            packed += n;
        };
        const bool deflating = e.method == 8;
        z_stream& z = m_stream.z;
        if (deflating) m_stream.Ready(m_args.level);
        // Read and packed in pieces of up to 256 KB; a small file needs small
        // buffers. A piece one byte longer than the file was meets its end in
        // the first piece, and deflate gets it whole with the finish.
        const size_t piece = static_cast<size_t>(std::clamp<std::uint64_t>(src.size + 1, 1, 256 * 1024));
        if (m_in.size() < piece) m_in.resize(piece);
        if (m_buffer.size() < piece + 1024) m_buffer.resize(piece + 1024);
        int lastPercent = -1;
        for (bool more = !noData;;) {
            bool end = !more;
            std::size_t got = 0;
            if (more) {
                try {
                    got = in.Fill(m_in.data(), piece, end);
                } catch (const ZlFailure&) {
                    // The source cannot be read after all (locked in part,
                    // gone): the entry is given up, nothing of it stays.
                    m_out.Rewind(e.localOffset);
                    return false;
                }
            }
            size += got;
            if (end) more = false;
            crc = Crc32(crc, m_in.data(), got);
            if (!deflating) {
                if (got) emit(m_in.data(), got);
            } else {
                z.next_in = m_in.data();
                z.avail_in = static_cast<uInt>(got);
                int rc;
                do {
                    z.next_out = m_buffer.data();
                    z.avail_out = static_cast<uInt>(m_buffer.size());
                    rc = deflate(&z, more ? Z_NO_FLUSH : Z_FINISH);
                    emit(m_buffer.data(), m_buffer.size() - z.avail_out);
                } while (z.avail_out == 0 || (!more && rc != Z_STREAM_END));
            }
            if (src.size >= (1u << 20)) {
                const int percent = static_cast<int>(std::min<std::uint64_t>(size * 100 / src.size, 100));
                if (percent != lastPercent) {
                    stats.block.percent = static_cast<std::uint8_t>(lastPercent = percent);
                    m_session.Send(kMsgProgress, &stats.block);
                }
            }
            if (!more) break;
        }
        if (size >= 0xFFFFFFFF - 0x10000 || packed >= 0xFFFFFFFF) throw ZlFailure{kResultTooLarge};
        e.size = size;
        e.packedSize = packed;
        e.crc = crc;
        std::string fields;
        Put32(fields, crc);
        Put32(fields, static_cast<std::uint32_t>(packed));
        Put32(fields, static_cast<std::uint32_t>(size));
        m_out.Patch(e.localOffset + 14, fields.data(), fields.size());
        if (e.flags & kFlagDescriptor) WriteDescriptor(m_out, e);
        return true;
    }

private:
    bool Stored(const Source& src) const
    {
        if (m_args.level == 0 || src.size == 0) return true;
        return std::any_of(m_args.storedExtensions.begin(), m_args.storedExtensions.end(),
                           [&](const std::wstring& ext) { return src.key.ends_with(ext); });
    }

    // One deflate stream for every entry, reset in between: setting one up
    // takes more than packing a small file.
    struct Deflater {
        z_stream z{};
        bool ready = false;
        void Ready(int level)
        {
            const int rc = ready ? deflateReset(&z) : deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            if (rc != Z_OK) throw ZlFailure{kResultNoMemory};
            ready = true;
        }
        ~Deflater()
        {
            if (ready) deflateEnd(&z);
        }
    };

    const ZipArgs& m_args;
    Session& m_session;
    OutFile& m_out;
    std::vector<std::uint8_t> m_in, m_buffer;
    Deflater m_stream;
};

std::string LowerUtf8(const std::string& s) { return Narrow(LowerWide(Widen(s))); }

bool IsLabel(const ZipEntry& e) { return !e.IsFolder() && (e.DosAttributes() & kLabelAttribute); }

// The root that names the volume of a path: "c:\" or "\\server\share\".
std::wstring VolumeRoot(const std::wstring& path)
{
    if (!path.starts_with(L"\\\\")) return path.substr(0, 3);
    size_t end = path.find(L'\\', 2);
    if (end != std::wstring::npos) end = path.find(L'\\', end + 1);
    return end == std::wstring::npos ? path + L"\\" : path.substr(0, end + 1);
}

// "-$": the label of the drive the first name is on, as an entry of its own
// ahead of the files. Nothing is labelled when no file is added.
void VolumeLabel(const ZipArgs& a, std::vector<Source>& sources)
{
    if (a.names.empty() || sources.empty()) return;
    const std::wstring root = VolumeRoot(FullPath(Widen(a.names.front())));
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) || !label[0])
        return;
    Source s;
    s.stored = Narrow(label);
    s.attributes = kLabelAttribute;
    s.label = true;
    GetSystemTimeAsFileTime(&s.time);
    s.dosTime = DosTimeOf(s.time);
    sources.insert(sources.begin(), std::move(s));
}

// "-m": only sources now in the archive with the time and size they had when read.
void DeleteMovedSources(const std::vector<const Source*>& added)
{
    for (const Source* s : added) {
        WIN32_FILE_ATTRIBUTE_DATA now{};
        if (s->attributes & (FILE_ATTRIBUTE_DIRECTORY | kLabelAttribute)) continue;
        if (!GetFileAttributesExW(s->path.c_str(), GetFileExInfoStandard, &now)) continue;
        if (CompareFileTime(&now.ftLastWriteTime, &s->time) != 0 ||
            (static_cast<std::uint64_t>(now.nFileSizeHigh) << 32 | now.nFileSizeLow) != s->size)
            continue;
        if (now.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(s->path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(s->path.c_str());
    }
}

void AddFiles(const ZipArgs& a, Session& session, Outcome& out)
{
    if (a.clearDisks) throw ZlFailure{kResultNoDisks};
    InFile old;
    ZipDirectory dir;
    ReadExisting(a.archive, old, dir);
    Rewriter rewriter(a.archive, TempFolderFor(a));
    std::vector<Source> sources = Gatherer(a, old, rewriter.Out(), rewriter.TempPath(), session, out).Run();
    if (a.label && a.mode == 0) VolumeLabel(a, sources);

    // Everything is decided before the first byte is written.
    std::map<std::string, size_t> oldByName;
    for (size_t i = 0; i < dir.entries.size(); ++i)
        if (!IsLabel(dir.entries[i])) oldByName.emplace(LowerUtf8(dir.entries[i].name), i);
    std::map<std::string, bool> storedNames;
    struct Work {
        const Source* source;
        bool replacing;
        std::optional<size_t> old;  // the entry it replaces, kept when the source cannot be read
    };
    std::vector<Work> work;
    std::vector<bool> replaced(dir.entries.size());
    for (const Source& s : sources) {
        if (s.label) {
            // One label per archive: the new one takes the old one's place. A
            // label shares no names with the files, so neither replaces the other.
            bool any = false;
            for (size_t i = 0; i < dir.entries.size(); ++i)
                if (IsLabel(dir.entries[i])) any = replaced[i] = true;
            work.push_back({&s, any, std::nullopt});
            continue;
        }
        const std::string key = LowerUtf8(s.stored);
        if (!storedNames.emplace(key, true).second) throw ZlFailure{kResultDuplicates};
        if (s.size >= 0xFFFFFFFF - 0x10000) throw ZlFailure{kResultTooLarge};
        const auto found = oldByName.find(key);
        const bool inArchive = found != oldByName.end();
        if (a.mode == 1 && !inArchive) continue;
        if (a.mode != 0 && inArchive) {
            const ZipEntry& e = dir.entries[found->second];
            if (s.dosTime <= (static_cast<std::uint32_t>(e.dosDate) << 16 | e.dosTime)) continue;
        }
        if (inArchive) replaced[found->second] = true;
        work.push_back({&s, inArchive, inArchive ? std::optional<size_t>(found->second) : std::nullopt});
    }
    if (work.empty()) return;  // nothing newer, nothing found: the archive stays as it was

    // A program stub in front of the entries (a self-extracting archive) stays.
    rewriter.KeepStub(old, dir.dataStart);
    for (size_t i = 0; i < dir.entries.size(); ++i)
        if (!replaced[i]) rewriter.Keep(old, dir.entries[i]);
    EntryWriter writer(a, session, rewriter.Out());
    std::vector<const Source*> added;
    for (const Work& w : work) {
        const Source* source = w.source;
        ZipEntry e = writer.Describe(*source);
        StatsHolder stats;
        FillStats(stats, e);
        session.Send(w.replacing ? kMsgUpdating : kMsgAdding, &stats.block);
        if (!writer.Write(*source, e)) {
            // An entry is replaced only by new data written whole: the old one stays.
            if (w.old) rewriter.Keep(old, dir.entries[*w.old]);
            session.Skip(source->stored, kSkipCannotOpen);
            out.code = kResultSkipped;
            continue;
        }
        rewriter.Entries().push_back(std::move(e));
        added.push_back(source);
        ++out.processed;
    }
    rewriter.Finish(dir.rawComment, old);
    if (a.move) DeleteMovedSources(added);
}

void DeleteEntries(const ZipArgs& a, Session& session, Outcome& out)
{
    InFile old;
    ZipDirectory dir;
    if (!ReadExisting(a.archive, old, dir)) throw ZlFailure{kResultNotFound};
    std::vector<bool> gone(dir.entries.size());
    std::vector<bool> used(a.names.size());
    for (size_t i = 0; i < dir.entries.size(); ++i) {
        const std::string& name = dir.entries[i].name;
        for (size_t n = 0; n < a.names.size(); ++n) {
            if (!MatchName(a.names[n], name)) continue;
            used[n] = true;
            if ((a.includes.empty() || MatchAny(a.includes, name)) && !MatchAny(a.excludes, name)) gone[i] = true;
        }
    }
    for (size_t n = 0; n < a.names.size(); ++n) {
        if (used[n]) continue;
        session.Skip(a.names[n], kSkipNotFound);
        out.code = kResultSkipped;
    }
    if (std::none_of(gone.begin(), gone.end(), [](bool b) { return b; })) return;
    Rewriter rewriter(a.archive, TempFolderFor(a));
    rewriter.KeepStub(old, dir.dataStart);
    for (size_t i = 0; i < dir.entries.size(); ++i) {
        if (!gone[i]) {
            rewriter.Keep(old, dir.entries[i]);
            continue;
        }
        session.SendName(kMsgDeleting, dir.entries[i].name);
        ++out.processed;
    }
    rewriter.Finish(dir.rawComment, old);
}

// "-o": the archive's file time becomes the newest entry's.
void Redate(const ZipArgs& a, Outcome& out)
{
    ZipDirectory dir;
    {
        InFile file;
        if (!ReadExisting(a.archive, file, dir)) throw ZlFailure{kResultNotFound};
    }
    if (dir.entries.empty()) throw ZlFailure{kResultEmptyArchive};
    std::uint32_t newest = 0;
    for (const ZipEntry& e : dir.entries)
        newest = std::max(newest, static_cast<std::uint32_t>(e.dosDate) << 16 | e.dosTime);
    FILETIME local{}, utc{};
    if (!DosDateTimeToFileTime(static_cast<WORD>(newest >> 16), static_cast<WORD>(newest), &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        throw ZlFailure{kResultEmptyArchive};
    HANDLE h = CreateFileW(a.archive.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw ZlFailure{kResultNoAccess};
    const BOOL ok = SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    if (!ok) throw ZlFailure{kResultNoAccess};
    out.processed = static_cast<int>(dir.entries.size());
}

int Run(int argCount, char** argList, Session& s)
{
    const std::vector<std::string> args = Arguments(argCount, argList);
    if (args.size() < 2) return kResultBadArguments;
    const ZipArgs a = ParseZip(args);
    Outcome out;
    switch (a.op) {
    case ZipOp::Add: AddFiles(a, s, out); break;
    case ZipOp::Delete: DeleteEntries(a, s, out); break;
    case ZipOp::Date: Redate(a, out); break;
    case ZipOp::Fix:
    case ZipOp::FixThorough:
        out.processed = Repair(a.password, a.archive, TempFolderFor(a), a.op == ZipOp::FixThorough, s);
        break;
    }
    return static_cast<int>(static_cast<unsigned>(std::min(out.processed, 0xFFFF)) << 16 |
                            static_cast<unsigned>(out.code));
}

}  // namespace
}  // namespace velmora::zl

extern "C" __declspec(dllexport) int __stdcall zlzip(int version, int argCount, char** argList,
    velmora::zl::ZlCallback callback, void* userData)
{
    return velmora::zl::RunEntry(version, argCount, argList, callback, userData, velmora::zl::Run);
}

// For tests: the n-th write from now fails as a full disk (0: off).
extern "C" __declspec(dllexport) void __stdcall zltestfault(int writeNumber)
{
    velmora::zl::SetWriteFault(writeNumber);
}
