// zip_bench: adding and extracting through TZipLib (the real ZLZIP32.DLL and
// ZLUNZ32.DLL) against a bare zlib loop doing the same work, in one process,
// alternating, best of several rounds. Run it under Wine on a tmpfs folder:
//
//   zip_bench [-a ROUNDS] [-b ROUNDS] [-w FOLDER] [-nodebian]
//
// FOLDER defaults to Z:\dev\shm\zipbench-<pid>; it is made, filled and removed.
// Tree A: 2,000 files of 20 to 180 KB (half text-like, half random) in 50
// folders; tree B: 20,000 files of 0.2 to 4 KB (the same mix) in 500 folders.
// Both come from a fixed seed. The bare loop writes a valid ZIP (one deflate
// stream reset per file, local headers, central directory) to a temporary file
// renamed into place, and extracts by inflate + CRC per file into a temporary
// file renamed into place, with the entry's time set, as the library does.
// Debian's zip and unzip are timed natively for information, when present.
// Figures count only from an optimised build (the default RelWithDebInfo).

#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "../BenchClock.h"
#include "archive/operations/ZipLib32.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;

namespace {

// ---- timing and small helpers -------------------------------------------------------

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "zip_bench: %s (error %lu)\n", what.c_str(), GetLastError());
    std::exit(1);
}

struct Random {
    std::uint64_t state;
    std::uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(Next() % n); }
};

void MakeFolders(const std::wstring& path)
{
    for (size_t p = path.find(L'\\', 3); p != std::wstring::npos; p = path.find(L'\\', p + 1))
        CreateDirectoryW(path.substr(0, p).c_str(), nullptr);
    CreateDirectoryW(path.c_str(), nullptr);
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = path + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

void WriteWhole(const std::wstring& path, const void* data, DWORD size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("cannot create " + ToUtf8(path));
    DWORD written = 0;
    if (!WriteFile(h, data, size, &written, nullptr) || written != size) Fail("cannot write " + ToUtf8(path));
    CloseHandle(h);
}

// ---- the trees ----------------------------------------------------------------------

struct TreeShape {
    const wchar_t* name;
    int folders;
    int files;
    std::uint32_t minSize;
    std::uint32_t maxSize;
};

struct TreeSum {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    std::uint32_t crc = 0;  // of every file's CRC in name order, so that trees compare
};

// Text-like content: lines of words from a fixed vocabulary, about 3:1 under deflate.
void FillText(Random& r, const std::vector<std::string>& words, std::vector<char>& out, size_t size)
{
    out.clear();
    size_t column = 0;
    while (out.size() < size) {
        const std::string& w = words[r.Below(static_cast<std::uint32_t>(words.size()))];
        out.insert(out.end(), w.begin(), w.end());
        column += w.size() + 1;
        if (column > 70) {
            out.push_back('\r');
            out.push_back('\n');
            column = 0;
        } else {
            out.push_back(' ');
        }
    }
    out.resize(size);
}

void Generate(const std::wstring& root, const TreeShape& shape, std::uint64_t seed)
{
    Random r{seed};
    std::vector<std::string> words;
    for (int i = 0; i < 400; ++i) {
        std::string w;
        const std::uint32_t length = 2 + r.Below(9);
        for (std::uint32_t k = 0; k < length; ++k) w.push_back(static_cast<char>('a' + r.Below(26)));
        words.push_back(w);
    }
    std::vector<char> data;
    const int perFolder = shape.files / shape.folders;
    for (int f = 0; f < shape.folders; ++f) {
        wchar_t folder[32];
        std::swprintf(folder, 32, L"\\d%03d", f);
        const std::wstring dir = root + folder;
        MakeFolders(dir);
        for (int i = 0; i < perFolder; ++i) {
            const size_t size = shape.minSize + r.Below(shape.maxSize - shape.minSize + 1);
            const bool text = (i % 2) == 0;
            if (text) {
                FillText(r, words, data, size);
            } else {
                data.resize(size);
                for (size_t k = 0; k < size; k += 8) {
                    const std::uint64_t v = r.Next();
                    std::memcpy(data.data() + k, &v, std::min<size_t>(8, size - k));
                }
            }
            wchar_t file[32];
            std::swprintf(file, 32, L"\\f%04d.%ls", i, text ? L"txt" : L"bin");
            WriteWhole(dir + file, data.data(), static_cast<DWORD>(data.size()));
        }
    }
}

struct FoundFile {
    std::wstring path;
    std::uint32_t size = 0, attributes = 0;
    FILETIME written{};
};

// Every file under root with what the folder walk tells of it, in the order
// FindFirstFile gives them.
void ListFiles(const std::wstring& root, std::vector<FoundFile>& out)
{
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((root + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(root + L"\\" + name, out);
        else
            out.push_back({root + L"\\" + name, data.nFileSizeLow, data.dwFileAttributes, data.ftLastWriteTime});
    } while (FindNextFileW(h, &data));
    FindClose(h);
}

TreeSum SumTree(const std::wstring& root)
{
    std::vector<FoundFile> files;
    ListFiles(root, files);
    std::vector<std::pair<std::wstring, std::uint32_t>> crcs;
    std::vector<unsigned char> buffer(1 << 16);
    TreeSum sum;
    for (const FoundFile& file : files) {
        const std::wstring& path = file.path;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) Fail("cannot open " + ToUtf8(path));
        std::uint32_t crc = 0;
        DWORD got = 0;
        while (ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
            crc = crc32(crc, buffer.data(), got);
            sum.bytes += got;
        }
        CloseHandle(h);
        crcs.emplace_back(path.substr(root.size()), crc);
    }
    std::sort(crcs.begin(), crcs.end());
    for (const auto& [name, crc] : crcs) {
        const std::string n = ToUtf8(name);
        sum.crc = crc32(sum.crc, reinterpret_cast<const Bytef*>(n.data()), static_cast<uInt>(n.size()));
        sum.crc = crc32(sum.crc, reinterpret_cast<const Bytef*>(&crc), 4);
    }
    sum.files = files.size();
    return sum;
}

// ---- the bare zlib loop -------------------------------------------------------------

class BufferedOut {
public:
    explicit BufferedOut(const std::wstring& path)
    {
        m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) Fail("cannot create " + ToUtf8(path));
        m_buffer.reserve(kSize);
    }
    ~BufferedOut() { Close(); }
    void Put(const void* data, size_t size)
    {
        if (m_buffer.size() + size > kSize) Flush();
        if (size >= kSize) return Write(data, size);
        const auto* p = static_cast<const unsigned char*>(data);
        m_buffer.insert(m_buffer.end(), p, p + size);
    }
    void U16(std::uint16_t v) { Put(&v, 2); }
    void U32(std::uint32_t v) { Put(&v, 4); }
    std::uint64_t Offset() const { return m_written + m_buffer.size(); }
    void Close()
    {
        if (m_handle == INVALID_HANDLE_VALUE) return;
        Flush();
        CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    static constexpr size_t kSize = 1 << 18;
    void Flush()
    {
        if (!m_buffer.empty()) Write(m_buffer.data(), m_buffer.size());
        m_buffer.clear();
    }
    void Write(const void* data, size_t size)
    {
        DWORD written = 0;
        if (!WriteFile(m_handle, data, static_cast<DWORD>(size), &written, nullptr) || written != size)
            Fail("write failed");
        m_written += size;
    }
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    std::vector<unsigned char> m_buffer;
    std::uint64_t m_written = 0;
};

struct BareEntry {
    std::string name;
    std::uint32_t dosTime = 0, crc = 0, packed = 0, size = 0, offset = 0, attributes = 0;
};

std::uint32_t DosTime(const FILETIME& utc)
{
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return static_cast<std::uint32_t>(date) << 16 | time;
}

std::string StoredName(const std::wstring& path)
{
    std::wstring name = path.substr(2);  // without the drive, as the library stores it
    std::replace(name.begin(), name.end(), L'\\', L'/');
    while (!name.empty() && name[0] == L'/') name.erase(0, 1);
    return ToUtf8(name);
}

void BareAdd(const std::wstring& root, const std::wstring& archive)
{
    std::vector<FoundFile> files;
    ListFiles(root, files);
    const std::wstring temp = archive + L".tmp";
    BufferedOut out(temp);
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) Fail("deflateInit2");
    std::vector<unsigned char> input, packed;
    std::vector<BareEntry> entries;
    entries.reserve(files.size());
    for (const FoundFile& file : files) {
        // Size, time and attributes come from the folder walk, as they do in the library.
        HANDLE h = CreateFileW(file.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) Fail("cannot open " + ToUtf8(file.path));
        input.resize(file.size);
        DWORD got = 0;
        if (!ReadFile(h, input.data(), file.size, &got, nullptr) || got != file.size)
            Fail("cannot read " + ToUtf8(file.path));
        CloseHandle(h);

        BareEntry e;
        e.name = StoredName(file.path);
        e.dosTime = DosTime(file.written);
        e.attributes = file.attributes & 0x3f;
        e.size = got;
        e.crc = crc32(0, input.data(), got);
        deflateReset(&z);
        packed.resize(deflateBound(&z, got));
        z.next_in = input.data();
        z.avail_in = got;
        z.next_out = packed.data();
        z.avail_out = static_cast<uInt>(packed.size());
        if (deflate(&z, Z_FINISH) != Z_STREAM_END) Fail("deflate");
        e.packed = static_cast<std::uint32_t>(z.total_out);
        e.offset = static_cast<std::uint32_t>(out.Offset());

        out.U32(0x04034b50);
        out.U16(20);
        out.U16(0);
        out.U16(8);
        out.U32(e.dosTime);
        out.U32(e.crc);
        out.U32(e.packed);
        out.U32(e.size);
        out.U16(static_cast<std::uint16_t>(e.name.size()));
        out.U16(0);
        out.Put(e.name.data(), e.name.size());
        out.Put(packed.data(), e.packed);
        entries.push_back(std::move(e));
    }
    deflateEnd(&z);
    const std::uint64_t directory = out.Offset();
    for (const BareEntry& e : entries) {
        out.U32(0x02014b50);
        out.U16(20);
        out.U16(20);
        out.U16(0);
        out.U16(8);
        out.U32(e.dosTime);
        out.U32(e.crc);
        out.U32(e.packed);
        out.U32(e.size);
        out.U16(static_cast<std::uint16_t>(e.name.size()));
        out.U16(0);
        out.U16(0);
        out.U16(0);
        out.U16(0);
        out.U32(e.attributes);
        out.U32(e.offset);
        out.Put(e.name.data(), e.name.size());
    }
    const std::uint64_t end = out.Offset();
    out.U32(0x06054b50);
    out.U16(0);
    out.U16(0);
    out.U16(static_cast<std::uint16_t>(std::min<size_t>(entries.size(), 0xffff)));
    out.U16(static_cast<std::uint16_t>(std::min<size_t>(entries.size(), 0xffff)));
    out.U32(static_cast<std::uint32_t>(end - directory));
    out.U32(static_cast<std::uint32_t>(directory));
    out.U16(0);
    out.Close();
    if (!MoveFileExW(temp.c_str(), archive.c_str(), MOVEFILE_REPLACE_EXISTING)) Fail("cannot rename the archive");
}

std::uint16_t Get16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Get32(const unsigned char* p) { return Get16(p) | static_cast<std::uint32_t>(Get16(p + 2)) << 16; }

bool ReadAt(HANDLE h, std::uint64_t offset, void* data, DWORD size)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && ReadFile(h, data, size, &got, nullptr) && got == size;
}

void BareExtract(const std::wstring& archive, const std::wstring& target)
{
    HANDLE h = CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("cannot open the archive");
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    unsigned char eocd[22];
    if (!ReadAt(h, static_cast<std::uint64_t>(size.QuadPart) - 22, eocd, 22) || Get32(eocd) != 0x06054b50)
        Fail("no end record (the bare loop reads only archives without a comment)");
    const std::uint32_t count = Get16(eocd + 10), dirSize = Get32(eocd + 12), dirOffset = Get32(eocd + 16);
    std::vector<unsigned char> directory(dirSize);
    if (!ReadAt(h, dirOffset, directory.data(), dirSize)) Fail("cannot read the directory");

    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) Fail("inflateInit2");
    std::vector<unsigned char> packed, output(1 << 16);
    std::set<std::wstring> made;
    size_t p = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const unsigned char* c = directory.data() + p;
        if (p + 46 > directory.size() || Get32(c) != 0x02014b50) Fail("bad directory");
        const std::uint16_t method = Get16(c + 10);
        const std::uint32_t dosTime = Get32(c + 12), crc = Get32(c + 16), packedSize = Get32(c + 20);
        const std::uint32_t fullSize = Get32(c + 24);
        const std::uint16_t nameLength = Get16(c + 28), extraLength = Get16(c + 30), commentLength = Get16(c + 32);
        const std::uint32_t local = Get32(c + 42);
        std::string name(reinterpret_cast<const char*>(c + 46), nameLength);
        p += 46 + nameLength + extraLength + commentLength;
        if (method != 8 || name.empty() || name.back() == '/') continue;

        unsigned char header[30];
        if (!ReadAt(h, local, header, 30) || Get32(header) != 0x04034b50) Fail("bad local header");
        packed.resize(packedSize);
        if (!ReadAt(h, local + 30 + Get16(header + 26) + Get16(header + 28), packed.data(), packedSize))
            Fail("cannot read entry data");

        std::replace(name.begin(), name.end(), '/', '\\');
        const std::wstring path = target + L"\\" + FromUtf8(name);
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
        if (made.insert(folder).second) MakeFolders(folder);
        const std::wstring temp = folder + L"\\~zb" + std::to_wstring(i) + L".tmp";
        HANDLE f = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) Fail("cannot create " + ToUtf8(temp));
        inflateReset(&z);
        z.next_in = packed.data();
        z.avail_in = packedSize;
        std::uint32_t sum = 0, total = 0;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            z.next_out = output.data();
            z.avail_out = static_cast<uInt>(output.size());
            status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) Fail("inflate: bad data in " + name);
            const DWORD produced = static_cast<DWORD>(output.size() - z.avail_out);
            if (produced == 0 && status != Z_STREAM_END) Fail("inflate: truncated " + name);
            sum = crc32(sum, output.data(), produced);
            total += produced;
            DWORD written = 0;
            if (produced && (!WriteFile(f, output.data(), produced, &written, nullptr) || written != produced))
                Fail("cannot write " + ToUtf8(temp));
        }
        if (sum != crc || total != fullSize) Fail("CRC or size mismatch in " + name);
        FILETIME localTime, utc;
        DosDateTimeToFileTime(static_cast<WORD>(dosTime >> 16), static_cast<WORD>(dosTime), &localTime);
        LocalFileTimeToFileTime(&localTime, &utc);
        SetFileTime(f, nullptr, nullptr, &utc);
        CloseHandle(f);
        if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) Fail("cannot rename " + name);
    }
    inflateEnd(&z);
    CloseHandle(h);
}

// ---- through the library ------------------------------------------------------------

void LibraryAdd(const std::wstring& root, const std::wstring& archive)
{
    TZipLib zip(nullptr);
    zip.ZipFileName = archive;
    zip.Compression = 6;
    zip.Recurse = true;
    zip.FilesToProcess.Add(root);
    const int result = zip.Add(0);
    if (result != 0) Fail("TZipLib::Add gave " + std::to_string(result));
}

void LibraryExtract(const std::wstring& archive, const std::wstring& target)
{
    TZipLib zip(nullptr);
    zip.ZipFileName = archive;
    zip.ExtractDirectory = target;
    zip.Overwrite = TZlOverwrite::zowAlways;
    const int result = zip.Extract(0);
    if (result != 0) Fail("TZipLib::Extract gave " + std::to_string(result));
}

// ---- Debian's tools, natively -------------------------------------------------------

// The Unix path of a folder on Z: (Wine maps / there); empty elsewhere.
std::string UnixPath(const std::wstring& path)
{
    if (path.size() < 3 || (path[0] != L'Z' && path[0] != L'z') || path[1] != L':') return {};
    std::string p = ToUtf8(path.substr(2));
    std::replace(p.begin(), p.end(), '\\', '/');
    return p;
}

// Runs a shell command natively in the Unix folder unixWork and gives the
// seconds it took, or a negative number when it failed. Wine starts a Unix
// program given by its Unix path, but its process handle does not wait for
// it: the shell times the command itself and leaves the figure in a file
// renamed into place at the end, which this side polls for.
double RunNative(const std::wstring& work, const std::string& unixWork, const std::string& command)
{
    const std::wstring result = work + L"\\native-time";
    DeleteFileW(result.c_str());
    const std::string script = "cd '" + unixWork + "' && s=$(date +%s%N) && { " + command +
                               "; } >/dev/null 2>&1 && echo $(( $(date +%s%N) - s )) > native-time.tmp "
                               "|| echo -1 > native-time.tmp; mv native-time.tmp native-time";
    std::wstring line = L"/bin/sh -c \"" + FromUtf8(script) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    for (int waited = 0; waited < 120 * 50; ++waited) {  // two minutes at most
        HANDLE h = CreateFileW(result.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            char text[32] = {};
            DWORD got = 0;
            ReadFile(h, text, sizeof text - 1, &got, nullptr);
            CloseHandle(h);
            DeleteFileW(result.c_str());
            const long long nanoseconds = std::atoll(text);
            return nanoseconds < 0 ? -1 : static_cast<double>(nanoseconds) / 1e9;
        }
        Sleep(20);
    }
    return -1;
}

// ---- the rounds ---------------------------------------------------------------------

struct Best {
    double ourAdd = 1e30, bareAdd = 1e30, ourExtract = 1e30, bareExtract = 1e30;
};

void Keep(double& best, double value) { best = std::min(best, value); }

void Check(const TreeSum& want, const std::wstring& root, const char* who)
{
    const TreeSum got = SumTree(root);
    if (got.files != want.files || got.bytes != want.bytes || got.crc != want.crc) {
        std::fprintf(stderr, "zip_bench: %s extracted %llu files, %llu bytes, sum %08x; the tree has %llu, %llu, %08x\n",
                     who, static_cast<unsigned long long>(got.files), static_cast<unsigned long long>(got.bytes),
                     got.crc, static_cast<unsigned long long>(want.files), static_cast<unsigned long long>(want.bytes),
                     want.crc);
        std::exit(1);
    }
}

std::uint64_t FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

void RunTree(const std::wstring& work, const TreeShape& shape, int rounds, double mark, bool debian)
{
    const std::wstring tree = work + L"\\" + shape.name;
    const std::wstring ours = work + L"\\ours.zip", bare = work + L"\\bare.zip";
    const std::wstring outOurs = work + L"\\out-ours", outBare = work + L"\\out-bare";
    double t = BenchNow();
    Generate(tree, shape, 0x5eed0000u + shape.files);
    const TreeSum sum = SumTree(tree);
    // The extracted tree sits under the stored path, which is the tree's path without the drive.
    const std::wstring below = tree.substr(2);
    std::printf("tree %ls: %llu files, %.1f MB, made in %.1f s\n", shape.name,
                static_cast<unsigned long long>(sum.files), static_cast<double>(sum.bytes) / 1e6, BenchNow() - t);
    std::fflush(stdout);

    Best best;
    for (int round = 0; round < rounds; ++round) {
        // Alternate who goes first, so that neither always meets a warm or a cold cache.
        for (int side = 0; side < 2; ++side) {
            const bool library = (side == 0) == (round % 2 == 0);
            const std::wstring& archive = library ? ours : bare;
            const std::wstring& out = library ? outOurs : outBare;
            DeleteFileW(archive.c_str());
            RemoveTree(out);
            CreateDirectoryW(out.c_str(), nullptr);
            t = BenchNow();
            if (library) LibraryAdd(tree, archive);
            else BareAdd(tree, archive);
            const double add = BenchNow() - t;
            t = BenchNow();
            if (library) LibraryExtract(archive, out);
            else BareExtract(archive, out);
            const double extract = BenchNow() - t;
            std::printf("  round %d %-7s add %7.3f s  extract %7.3f s\n", round + 1, library ? "TZipLib" : "bare",
                        add, extract);
            std::fflush(stdout);
            if (round == 0) Check(sum, out + below, library ? "TZipLib" : "the bare loop");
            Keep(library ? best.ourAdd : best.bareAdd, add);
            Keep(library ? best.ourExtract : best.bareExtract, extract);
        }
    }
    const std::uint64_t ourSize = FileSize(ours), bareSize = FileSize(bare);
    std::printf("tree %ls archive: TZipLib %.2f MB, bare loop %.2f MB\n", shape.name,
                static_cast<double>(ourSize) / 1e6, static_cast<double>(bareSize) / 1e6);
    std::printf("tree %ls add:     TZipLib %.3f s, bare loop %.3f s, ratio %.2f (pass mark %.2f) %s\n", shape.name,
                best.ourAdd, best.bareAdd, best.ourAdd / best.bareAdd, mark,
                best.ourAdd / best.bareAdd <= mark ? "pass" : "FAIL");
    std::printf("tree %ls extract: TZipLib %.3f s, bare loop %.3f s, ratio %.2f (pass mark %.2f) %s\n", shape.name,
                best.ourExtract, best.bareExtract, best.ourExtract / best.bareExtract, mark,
                best.ourExtract / best.bareExtract <= mark ? "pass" : "FAIL");
    std::fflush(stdout);
    RemoveTree(outOurs);
    RemoveTree(outBare);

    const std::string unixWork = UnixPath(work);
    if (debian && !unixWork.empty()) {
        // Once each, for information: Debian's zip and unzip run natively, outside Wine.
        const std::string name = ToUtf8(shape.name);
        RunNative(work, unixWork, "rm -rf debian.zip out-debian");
        const double zip = RunNative(work, unixWork, "zip -q -r -6 debian.zip " + name);
        const double unzip = RunNative(work, unixWork, "unzip -q debian.zip -d out-debian");
        if (zip < 0 || unzip < 0) {
            std::printf("tree %ls Debian zip/unzip: not run (not installed, or Wine cannot start them)\n", shape.name);
        } else {
            std::printf("tree %ls Debian zip -r -6 %.3f s (TZipLib / it %.2f, bare / it %.2f); unzip %.3f s "
                        "(TZipLib / it %.2f, bare / it %.2f), natively, one run\n",
                        shape.name, zip, best.ourAdd / zip, best.bareAdd / zip, unzip, best.ourExtract / unzip,
                        best.bareExtract / unzip);
        }
        RunNative(work, unixWork, "rm -rf out-debian debian.zip");
        std::fflush(stdout);
    }
    DeleteFileW(ours.c_str());
    DeleteFileW(bare.c_str());
    RemoveTree(tree);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int roundsA = 5, roundsB = 5;
    bool debian = true;
    std::wstring work = L"Z:\\dev\\shm\\zipbench-" + std::to_wstring(GetCurrentProcessId());
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"-a" && i + 1 < argc) roundsA = std::stoi(argv[++i]);
        else if (a == L"-b" && i + 1 < argc) roundsB = std::stoi(argv[++i]);
        else if (a == L"-w" && i + 1 < argc) work = argv[++i];
        else if (a == L"-nodebian") debian = false;
        else {
            std::fputs("zip_bench [-a ROUNDS] [-b ROUNDS] [-w FOLDER] [-nodebian]\n", stderr);
            return 2;
        }
    }
    MakeFolders(work);
    std::printf("zip_bench in %ls; best of %d rounds on A, %d on B, alternating\n", work.c_str(), roundsA, roundsB);
    const double start = BenchNow();
    if (roundsA > 0) RunTree(work, TreeShape{L"A", 50, 2000, 20 * 1024, 180 * 1024}, roundsA, 1.15, debian);
    if (roundsB > 0) RunTree(work, TreeShape{L"B", 500, 20000, 200, 4096}, roundsB, 1.3, debian);
    RemoveTree(work);
    std::printf("total %.1f s\n", BenchNow() - start);
    return 0;
}
