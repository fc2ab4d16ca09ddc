#pragma once
// What both zip libraries share: the session with the caller's callback, names
// and their code pages, name patterns, files, the traditional encryption and
// the ZIP records (reading the directory, writing headers).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ziplib/ZlApi.h"

namespace velmora::zl {

// Ends an operation with a result code; caught at the library's entry.
struct ZlFailure {
    int code;
};

// ---- strings and names ---------------------------------------------------------

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view text);
bool IsAscii(std::string_view bytes);
bool IsValidUtf8(std::string_view bytes);
std::wstring LowerWide(std::wstring_view text);

// A pattern of the caller against a stored name: case-insensitive, "\" equals
// "/", a leading separator ignored, "*" crosses folders, "?" one character,
// "*.*" matches every name.
bool MatchName(std::string_view pattern, std::string_view name);
bool MatchAny(const std::vector<std::string>& patterns, std::string_view name);

// A stored name made safe for a Windows path below the target folder: "/"
// separated parts, each with the characters Windows refuses replaced by "_",
// trailing dots and blanks cut and device names prefixed. Empty when the name
// climbs out ("..") or holds nothing usable.
std::wstring SafeRelativePath(std::string_view storedName);

std::wstring FullPath(const std::wstring& path);
bool SamePath(const std::wstring& a, const std::wstring& b);
std::wstring FolderOf(const std::wstring& path);
bool FileExistsW(const std::wstring& path);

// ---- the session -----------------------------------------------------------------

class Session {
public:
    Session(ZlCallback callback, void* userData) : m_callback(callback), m_userData(userData) {}
    // Sends a message; a "stop" answer ends the operation with 190.
    void Send(int message, void* data);
    void SendName(int message, const std::string& name);
    void Skip(const std::string& name, std::uint8_t reason);

private:
    ZlCallback m_callback;
    void* m_userData;
};

// ---- files --------------------------------------------------------------------------

class InFile {
public:
    InFile() = default;
    ~InFile();
    InFile(const InFile&) = delete;
    InFile& operator=(const InFile&) = delete;
    // False when the file cannot be opened for reading.
    bool Open(const std::wstring& path);
    void Close();
    std::uint64_t Size() const { return m_size; }
    // Reads exactly Count bytes at Offset; false when the file is shorter.
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count);
    // Reads up to Count bytes at Offset; the count read.
    std::size_t ReadSome(std::uint64_t offset, void* buffer, std::size_t count);
    // Opens for reading from the start to the end, without asking for the size
    // (for Fill only): one call less per file.
    bool OpenStream(const std::wstring& path);
    // Reads Count bytes where the last read ended, fewer only at the end of
    // the file (End is set then); the count read.
    std::size_t Fill(void* buffer, std::size_t count, bool& end);
    HANDLE Handle() const { return m_handle; }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::uint64_t m_size = 0;
};

// A new file written through a buffer. Every failure throws ZlFailure (150 for
// a full disk). Test builds inject a failure at the n-th write (SetWriteFault).
class OutFile {
public:
    OutFile() = default;
    ~OutFile();
    OutFile(const OutFile&) = delete;
    OutFile& operator=(const OutFile&) = delete;
    void Create(const std::wstring& path);
    // Creates a file that must not exist yet; false when it does or cannot be made.
    bool CreateNew(const std::wstring& path);
    void Write(const void* data, std::size_t count);
    // Writes at once, past the buffer: for data that comes in large pieces anyway.
    void WriteThrough(const void* data, std::size_t count);
    std::uint64_t Position() const { return m_position; }
    // Overwrites bytes already written (a local header's sizes).
    void Patch(std::uint64_t offset, const void* data, std::size_t count);
    // Drops everything written from Offset on (an entry given up half-way).
    void Rewind(std::uint64_t offset);
    void Close();
    // Closes without writing what is buffered (a file given up).
    void Discard();
    HANDLE Handle() const { return m_handle; }

private:
    void Flush();
    void RawWrite(const void* data, std::size_t count);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_position = 0;
};

// The n-th write (1-based) from now fails as a full disk; 0 switches it off.
void SetWriteFault(int writeNumber);

// A temporary file in Folder that is deleted unless Commit renamed it.
class TempFile {
public:
    explicit TempFile(const std::wstring& folder);
    // Names a new file in Folder and opens it in Out, in one step: for many
    // small files, where the extra open and close of the other way counts.
    TempFile(const std::wstring& folder, OutFile& out);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::wstring& Path() const { return m_path; }
    // Puts the file in place of Target in one rename on Target's volume:
    // from another volume through a copy beside Target first.
    void Commit(const std::wstring& target);
    // Puts the file at Target, which must not exist; false when it does.
    bool CommitNew(const std::wstring& target);

private:
    std::wstring m_path;
    bool m_committed = false;
};

// ---- traditional encryption ---------------------------------------------------------

class ZipKeys {
public:
    explicit ZipKeys(std::string_view password);
    std::uint8_t Decrypt(std::uint8_t c);
    std::uint8_t Encrypt(std::uint8_t p);

private:
    void Update(std::uint8_t p);
    std::uint8_t Stream() const;
    std::uint32_t m_k0 = 0x12345678, m_k1 = 0x23456789, m_k2 = 0x34567890;
};

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t count);

// ---- ZIP records -------------------------------------------------------------------

inline constexpr std::uint32_t kLocalSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralSignature = 0x02014B50;
inline constexpr std::uint32_t kEndSignature = 0x06054B50;
inline constexpr std::uint32_t kEnd64Signature = 0x06064B50;
inline constexpr std::uint32_t kLocator64Signature = 0x07064B50;
inline constexpr std::uint32_t kDescriptorSignature = 0x08074B50;
inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagUtf8 = 0x0800;

struct ZipEntry {
    std::string rawName;     // as stored
    std::string name;        // UTF-8
    std::string comment;     // UTF-8
    std::uint16_t madeBy = 0, needed = 20, flags = 0, method = 0;
    std::uint16_t dosTime = 0, dosDate = 0;
    std::uint32_t crc = 0;
    std::uint64_t packedSize = 0, size = 0, localOffset = 0;
    std::uint16_t internalAttributes = 0;
    std::uint32_t externalAttributes = 0;
    std::string extra;       // the central extra fields without the Zip64 field
    std::string rawComment;

    bool IsFolder() const;
    bool Encrypted() const { return flags & kFlagEncrypted; }
    std::uint8_t DosAttributes() const;
};

struct ZipDirectory {
    std::vector<ZipEntry> entries;
    std::string comment;       // UTF-8
    std::string rawComment;
    std::uint64_t dataStart = 0;  // where the first entry begins (after a program stub)
};

// Reads the end record and the central directory. Result 0, or 100 (missing),
// 400 (cannot be opened), 110 (no ZIP or a directory past the end). Local
// offsets come back adjusted for a program stub in front of the archive.
int ReadDirectory(InFile& file, ZipDirectory& directory);

// The data of an entry: where it starts after its local header. Throws 110.
std::uint64_t DataOffset(InFile& file, const ZipEntry& entry);

// Stored names: UTF-8 when flagged, or valid UTF-8 from a Unix host, else OEM.
std::string DecodeName(std::string_view raw, std::uint16_t flags, std::uint16_t madeBy);

// Reads an entry's data, decrypting with Keys when given, and hands the
// uncompressed bytes to Sink; never more than the entry's size. Progress gets
// the percent done for large entries.
enum class DataResult { Ok, BadCrc, Damaged, UnknownMethod };
using DataSink = std::function<void(const std::uint8_t*, std::size_t)>;
DataResult ReadEntryData(InFile& file, const ZipEntry& entry, ZipKeys* keys, const DataSink& sink,
                         const std::function<void(int)>& progress);

// Reads entry after entry like ReadEntryData, keeping its buffers and its
// inflate stream from one to the next: with thousands of small entries the
// allocations and the stream set-up would cost more than the data.
class EntryReader {
public:
    EntryReader();
    ~EntryReader();
    EntryReader(const EntryReader&) = delete;
    EntryReader& operator=(const EntryReader&) = delete;
    DataResult Read(InFile& file, const ZipEntry& entry, ZipKeys* keys, const DataSink& sink,
                    const std::function<void(int)>& progress);

private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
    std::vector<std::uint8_t> m_in, m_out;
};
// Checks a password against the entry's 12-byte header; on success Keys is
// ready for the data that follows.
bool CheckPassword(InFile& file, const ZipEntry& entry, const std::string& password,
                   std::optional<ZipKeys>& keys);

void WriteLocalHeader(OutFile& out, const ZipEntry& entry);
void WriteDescriptor(OutFile& out, const ZipEntry& entry);
void WriteCentralDirectory(OutFile& out, const std::vector<ZipEntry>& entries,
                           const std::string& rawComment);

// Copies an entry's local header, data and descriptor to Out as it stands;
// the entry's local offset becomes its new place.
void CopyEntry(InFile& in, std::uint64_t dataOffset, OutFile& out, ZipEntry& entry);

// A new archive written beside the old one and renamed into its place by
// Finish; until then the old archive is untouched, and a failure leaves no
// temporary file behind.
class Rewriter {
public:
    Rewriter(const std::wstring& archive, const std::wstring& tempFolder);
    const std::wstring& TempPath() const { return m_temp.Path(); }
    OutFile& Out() { return m_out; }
    std::vector<ZipEntry>& Entries() { return m_entries; }
    // Copies the first Length bytes of the old archive (a program stub in
    // front of the entries); before any entry.
    void KeepStub(InFile& old, std::uint64_t length);
    // Copies an entry of the old archive as it stands.
    void Keep(InFile& old, ZipEntry entry);
    // Writes the directory and renames the new archive into place; Old (the
    // archive being replaced) is closed first, as an open file cannot be replaced.
    void Finish(const std::string& rawComment, InFile& old);

private:
    std::wstring m_archive;
    DWORD m_attributes;
    TempFile m_temp;
    OutFile m_out;
    std::vector<ZipEntry> m_entries;
};

// Which file a name or handle reaches, whatever the name: the volume and
// the file's index on it. Two names of one file (a short name, a link) agree.
struct FileIdentity {
    bool valid = false;
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity& o) const { return valid && o.valid && volume == o.volume && index == o.index; }
};
FileIdentity IdentityOf(HANDLE handle);
FileIdentity IdentityOf(const std::wstring& path);

// A file time as a local DOS date (high word) and time.
std::uint32_t DosTimeOf(const FILETIME& utc);

// The statistics block of an entry; Holder keeps the strings alive.
struct StatsHolder {
    ZlFileStatsBlock block{};
    std::string name, comment;
};
void FillStats(StatsHolder& holder, const ZipEntry& entry);

// Little-endian helpers.
inline std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t Get32(const std::uint8_t* p) { return Get16(p) | static_cast<std::uint32_t>(Get16(p + 2)) << 16; }
inline std::uint64_t Get64(const std::uint8_t* p) { return Get32(p) | static_cast<std::uint64_t>(Get32(p + 4)) << 32; }
void Put16(std::string& s, std::uint16_t v);
void Put32(std::string& s, std::uint32_t v);
void Put64(std::string& s, std::uint64_t v);

// Arguments as the caller passes them.
std::vector<std::string> Arguments(int argCount, char** argList);

// A library entry: checks the interface version and turns what escapes the
// operation into its result code, so that nothing unwinds into the caller.
template <class Operation>
int RunEntry(int version, int argCount, char** argList, ZlCallback callback, void* userData, Operation run) {
    if (version != kInterfaceVersion)
        return kResultBadArguments;
    Session session(callback, userData);
    try {
        return run(argCount, argList, session);
    } catch (const ZlFailure& f) {
        return f.code;
    } catch (const std::bad_alloc&) {
        return kResultNoMemory;
    } catch (...) {
        return kResultDamaged;
    }
}

}  // namespace velmora::zl
