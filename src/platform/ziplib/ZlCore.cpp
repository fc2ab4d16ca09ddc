#include "platform/ziplib/ZlCore.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace velmora::zl {

// ---- strings and names ---------------------------------------------------------

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Narrow(std::wstring_view text)
{
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsValidUtf8(std::string_view bytes)
{
    if (bytes.empty()) return true;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                               nullptr, 0) > 0;
}

std::wstring LowerWide(std::wstring_view text)
{
    std::wstring out(text);
    if (!out.empty()) CharLowerBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

namespace {

std::wstring NormalisedForMatch(std::string_view text)
{
    std::wstring w = LowerWide(Widen(text));
    std::replace(w.begin(), w.end(), L'\\', L'/');
    size_t start = 0;
    while (start < w.size() && w[start] == L'/') ++start;
    return w.substr(start);
}

bool Wild(const wchar_t* p, const wchar_t* s)
{
    // Iterative matching with one back-track point: linear in practice.
    const wchar_t* star = nullptr;
    const wchar_t* resume = nullptr;
    while (*s) {
        if (*p == L'*') {
            star = p++;
            resume = s;
        } else if (*p == L'?' || *p == *s) {
            ++p;
            ++s;
        } else if (star) {
            p = star + 1;
            s = ++resume;
        } else {
            return false;
        }
    }
    while (*p == L'*') ++p;
    return *p == 0;
}

}  // namespace

bool MatchName(std::string_view pattern, std::string_view name)
{
    const std::wstring p = NormalisedForMatch(pattern);
    const std::wstring n = NormalisedForMatch(name);
    if (p == L"*.*" || p == L"*") return true;
    if (p.size() > 4 && p.compare(p.size() - 4, 4, L"/*.*") == 0) {
        // "folder/*.*": everything below the folder, with or without a dot.
        const std::wstring folder = p.substr(0, p.size() - 3);
        return Wild((folder + L"*").c_str(), n.c_str());
    }
    return Wild(p.c_str(), n.c_str());
}

bool MatchAny(const std::vector<std::string>& patterns, std::string_view name)
{
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return MatchName(p, name); });
}

namespace {

bool IsDeviceName(std::wstring_view part)
{
    std::wstring base = LowerWide(part.substr(0, part.find(L'.')));
    static const wchar_t* const kDevices[] = {L"con", L"prn", L"aux", L"nul", L"clock$"};
    for (const wchar_t* d : kDevices)
        if (base == d) return true;
    return base.size() == 4 && (base.starts_with(L"com") || base.starts_with(L"lpt")) && base[3] >= L'1' &&
           base[3] <= L'9';
}

}  // namespace

std::wstring SafeRelativePath(std::string_view storedName)
{
    std::wstring name = Widen(storedName);
    std::replace(name.begin(), name.end(), L'\\', L'/');
    // A drive ("C:") or a root makes the name absolute: the rest is taken relative.
    if (name.size() >= 2 && name[1] == L':') name.erase(0, 2);
    std::wstring out;
    size_t pos = 0;
    while (pos <= name.size()) {
        size_t end = name.find(L'/', pos);
        if (end == std::wstring::npos) end = name.size();
        std::wstring part = name.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == L".") continue;
        if (part == L"..") return {};
        for (wchar_t& c : part)
            if (c < 32 || wcschr(L"<>:\"|?*", c)) c = L'_';
        while (!part.empty() && (part.back() == L'.' || part.back() == L' ')) part.pop_back();
        if (part.empty()) part = L"_";
        if (IsDeviceName(part)) part.insert(0, L"_");
        if (!out.empty()) out += L'\\';
        out += part;
    }
    return out;
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buffer, nullptr);
    if (n == 0 || n >= MAX_PATH * 2) return path;
    return std::wstring(buffer, n);
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return LowerWide(FullPath(a)) == LowerWide(FullPath(b));
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, slash);
}

bool FileExistsW(const std::wstring& path)
{
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// ---- the session -----------------------------------------------------------------

void Session::Send(int message, void* data)
{
    if (m_callback && m_callback(message, data, m_userData) != 0) throw ZlFailure{kResultAborted};
}

void Session::SendName(int message, const std::string& name)
{
    Send(message, const_cast<char*>(name.c_str()));
}

void Session::Skip(const std::string& name, std::uint8_t reason)
{
    ZlSkippingData data{name.c_str(), reason};
    Send(kMsgSkipping, &data);
}

// ---- files --------------------------------------------------------------------------

InFile::~InFile()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

void InFile::Close()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
}

bool InFile::Open(const std::wstring& path)
{
    // Shared for deletion: the new archive is renamed over this one while it is open.
    m_handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(m_handle, &size);
    m_size = static_cast<std::uint64_t>(size.QuadPart);
    return true;
}

bool InFile::OpenStream(const std::wstring& path)
{
    m_handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

std::size_t InFile::Fill(void* buffer, std::size_t count, bool& end)
{
    std::size_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(m_handle, static_cast<char*>(buffer) + done, static_cast<DWORD>(count - done), &got, nullptr))
            throw ZlFailure{kResultNoAccess};
        if (got == 0) {
            end = true;
            break;
        }
        done += got;
    }
    return done;
}

std::size_t InFile::ReadSome(std::uint64_t offset, void* buffer, std::size_t count)
{
    if (offset >= m_size) return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_size - offset));
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_handle, where, nullptr, FILE_BEGIN)) return 0;
    std::size_t done = 0;
    while (done < count) {
        DWORD got = 0;
        if (!ReadFile(m_handle, static_cast<char*>(buffer) + done, static_cast<DWORD>(count - done), &got, nullptr) ||
            got == 0)
            break;
        done += got;
    }
    return done;
}

bool InFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count)
{
    return ReadSome(offset, buffer, count) == count;
}

namespace {
int g_writeFault = 0;
constexpr std::size_t kOutBuffer = 256 * 1024;
}  // namespace

void SetWriteFault(int writeNumber) { g_writeFault = writeNumber; }

OutFile::~OutFile()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
}

void OutFile::Create(const std::wstring& path)
{
    m_handle = CreateFileW(path.c_str(), GENERIC_WRITE | GENERIC_READ, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) throw ZlFailure{kResultTempFile};
}

bool OutFile::CreateNew(const std::wstring& path)
{
    m_handle = CreateFileW(path.c_str(), GENERIC_WRITE | GENERIC_READ, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

void OutFile::RawWrite(const void* data, std::size_t count)
{
    if (g_writeFault > 0 && --g_writeFault == 0) throw ZlFailure{kResultDiskFull};
    DWORD written = 0;
    if (!WriteFile(m_handle, data, static_cast<DWORD>(count), &written, nullptr) || written != count) {
        const DWORD error = GetLastError();
        throw ZlFailure{error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || written != count
                            ? kResultDiskFull
                            : kResultNoAccess};
    }
}

void OutFile::Write(const void* data, std::size_t count)
{
    m_position += count;
    if (m_buffer.size() + count > kOutBuffer) {
        Flush();
        if (count >= kOutBuffer) {
            RawWrite(data, count);
            return;
        }
    }
    // Taken only once something goes through the buffer: an extracted file
    // is written past it.
    if (m_buffer.capacity() == 0) m_buffer.reserve(kOutBuffer);
    const auto* p = static_cast<const std::uint8_t*>(data);
    m_buffer.insert(m_buffer.end(), p, p + count);
}

void OutFile::WriteThrough(const void* data, std::size_t count)
{
    Flush();
    RawWrite(data, count);
    m_position += count;
}

void OutFile::Flush()
{
    if (m_buffer.empty()) return;
    RawWrite(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
}

void OutFile::Patch(std::uint64_t offset, const void* data, std::size_t count)
{
    const std::uint64_t flushed = m_position - m_buffer.size();
    if (offset >= flushed) {
        std::memcpy(m_buffer.data() + (offset - flushed), data, count);
        return;
    }
    Flush();
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(m_handle, where, nullptr, FILE_BEGIN);
    RawWrite(data, count);
    where.QuadPart = static_cast<LONGLONG>(m_position);
    SetFilePointerEx(m_handle, where, nullptr, FILE_BEGIN);
}

void OutFile::Rewind(std::uint64_t offset)
{
    const std::uint64_t flushed = m_position - m_buffer.size();
    if (offset >= flushed) {
        m_buffer.resize(static_cast<size_t>(offset - flushed));
        m_position = offset;
        return;
    }
    m_buffer.clear();
    LARGE_INTEGER where;
    where.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(m_handle, where, nullptr, FILE_BEGIN) || !SetEndOfFile(m_handle))
        throw ZlFailure{kResultNoAccess};
    m_position = offset;
}

void OutFile::Discard()
{
    if (m_handle != INVALID_HANDLE_VALUE) CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    m_buffer.clear();
}

void OutFile::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE) return;
    Flush();
    const BOOL ok = CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (!ok) throw ZlFailure{kResultDiskFull};
}

TempFile::TempFile(const std::wstring& folder)
{
    wchar_t buffer[MAX_PATH];
    if (!GetTempFileNameW(folder.c_str(), L"~zl", 0, buffer)) throw ZlFailure{kResultTempFile};
    m_path = buffer;
}

TempFile::TempFile(const std::wstring& folder, OutFile& out)
{
    static unsigned counter = GetTickCount() & 0xFFFF;
    const std::wstring base = folder + (folder.empty() || folder.back() == L'\\' ? L"" : L"\\");
    for (int tries = 0; tries < 100; ++tries) {
        wchar_t name[16];
        std::swprintf(name, 16, L"~zl%04X.tmp", ++counter & 0xFFFF);
        m_path = base + name;
        if (out.CreateNew(m_path)) return;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    m_committed = true;  // nothing of ours to remove
    throw ZlFailure{kResultTempFile};
}

TempFile::~TempFile()
{
    if (!m_committed) DeleteFileW(m_path.c_str());
}

namespace {

// Copies the whole of Source to Out; a full disk throws 150.
void CopyWhole(const std::wstring& source, OutFile& out)
{
    InFile in;
    if (!in.OpenStream(source)) throw ZlFailure{kResultTempFile};
    std::vector<std::uint8_t> buffer(256 * 1024);
    for (bool end = false; !end;) {
        const std::size_t got = in.Fill(buffer.data(), buffer.size(), end);
        if (got) out.WriteThrough(buffer.data(), got);
    }
    out.Close();
}

}  // namespace

void TempFile::Commit(const std::wstring& target)
{
    // Only ever a rename: a copy over the target would leave it cut short
    // when the copy fails half-way (a full disk), with no whole archive left.
    if (MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        m_committed = true;
        return;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) throw ZlFailure{kResultDiskFull};
    if (error != ERROR_NOT_SAME_DEVICE) throw ZlFailure{kResultNoAccess};
    // The temporary folder is on another volume: the new archive is copied
    // beside the target first, and that copy is renamed on the target's own
    // volume. Until the rename the old archive stays as it was.
    OutFile out;
    TempFile beside(FolderOf(target), out);
    try {
        CopyWhole(m_path, out);
    } catch (const ZlFailure&) {
        out.Discard();  // closed, so that the copy can be deleted
        throw;
    }
    if (!MoveFileExW(beside.m_path.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD again = GetLastError();
        throw ZlFailure{again == ERROR_DISK_FULL || again == ERROR_HANDLE_DISK_FULL ? kResultDiskFull
                                                                                   : kResultNoAccess};
    }
    beside.m_committed = true;
    DeleteFileW(m_path.c_str());
    m_committed = true;
}

bool TempFile::CommitNew(const std::wstring& target)
{
    if (MoveFileExW(m_path.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        m_committed = true;
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
    throw ZlFailure{kResultNoAccess};
}

// ---- traditional encryption ---------------------------------------------------------

std::uint32_t Crc32(std::uint32_t crc, const void* data, std::size_t count)
{
    return static_cast<std::uint32_t>(crc32(crc, static_cast<const Bytef*>(data), static_cast<uInt>(count)));
}

namespace {
std::uint32_t CrcByte(std::uint32_t crc, std::uint8_t b)
{
    static const z_crc_t* const table = get_crc_table();
    return table[(crc ^ b) & 0xFF] ^ (crc >> 8);
}
}  // namespace

ZipKeys::ZipKeys(std::string_view password)
{
    for (char c : password) Update(static_cast<std::uint8_t>(c));
}

void ZipKeys::Update(std::uint8_t p)
{
    m_k0 = CrcByte(m_k0, p);
    m_k1 = (m_k1 + (m_k0 & 0xFF)) * 134775813 + 1;
    m_k2 = CrcByte(m_k2, static_cast<std::uint8_t>(m_k1 >> 24));
}

std::uint8_t ZipKeys::Stream() const
{
    const std::uint32_t t = (m_k2 & 0xFFFF) | 2;
    return static_cast<std::uint8_t>((t * (t ^ 1)) >> 8);
}

std::uint8_t ZipKeys::Decrypt(std::uint8_t c)
{
    const std::uint8_t p = c ^ Stream();
    Update(p);
    return p;
}

std::uint8_t ZipKeys::Encrypt(std::uint8_t p)
{
    const std::uint8_t c = p ^ Stream();
    Update(p);
    return c;
}

// ---- ZIP records -------------------------------------------------------------------

void Put16(std::string& s, std::uint16_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
void Put32(std::string& s, std::uint32_t v)
{
    Put16(s, static_cast<std::uint16_t>(v));
    Put16(s, static_cast<std::uint16_t>(v >> 16));
}
void Put64(std::string& s, std::uint64_t v)
{
    Put32(s, static_cast<std::uint32_t>(v));
    Put32(s, static_cast<std::uint32_t>(v >> 32));
}

bool ZipEntry::IsFolder() const
{
    return (!name.empty() && (name.back() == '/' || name.back() == '\\')) || (externalAttributes & 0x10);
}

std::uint8_t ZipEntry::DosAttributes() const
{
    const int host = madeBy >> 8;
    std::uint8_t a = 0;
    if (host == 0 || host == 11 || host == 14 || host == 10) a = static_cast<std::uint8_t>(externalAttributes & 0x3F);
    else if (host == 3) a = (externalAttributes >> 16) & 0200 ? 0 : 1;  // no owner write bit: read-only
    if (IsFolder()) a |= 0x10;
    return a;
}

std::string DecodeName(std::string_view raw, std::uint16_t flags, std::uint16_t madeBy)
{
    if (IsAscii(raw)) return std::string(raw);
    if ((flags & kFlagUtf8) || ((madeBy >> 8) == 3 && IsValidUtf8(raw))) {
        if (IsValidUtf8(raw)) return std::string(raw);
    }
    const int n = MultiByteToWideChar(CP_OEMCP, 0, raw.data(), static_cast<int>(raw.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, raw.data(), static_cast<int>(raw.size()), w.data(), n);
    return Narrow(w);
}

namespace {

// Removes the Zip64 field from Extra, and reads the values it holds for the
// fields that overflowed.
std::string TakeZip64(const std::string& extra, ZipEntry& e, bool sizeFull, bool packedFull, bool offsetFull)
{
    std::string rest;
    size_t pos = 0;
    while (pos + 4 <= extra.size()) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(extra.data() + pos);
        const std::uint16_t id = Get16(p), length = Get16(p + 2);
        if (pos + 4 + length > extra.size()) break;
        if (id == 0x0001) {
            size_t q = 4;
            auto take = [&](bool wanted, std::uint64_t& field) {
                if (wanted && q + 8 <= 4u + length) {
                    field = Get64(p + q);
                    q += 8;
                }
            };
            take(sizeFull, e.size);
            take(packedFull, e.packedSize);
            take(offsetFull, e.localOffset);
        } else {
            rest.append(extra, pos, 4 + length);
        }
        pos += 4 + length;
    }
    return rest;
}

bool FindEnd(InFile& file, std::uint64_t& endPos, std::vector<std::uint8_t>& tail)
{
    const std::uint64_t size = file.Size();
    if (size < 22) return false;
    const std::uint64_t span = std::min<std::uint64_t>(size, 22 + 65535);
    tail.resize(static_cast<size_t>(span));
    if (!file.ReadAt(size - span, tail.data(), tail.size())) return false;
    for (size_t i = tail.size() - 22 + 1; i-- > 0;) {
        if (Get32(&tail[i]) != kEndSignature) continue;
        const std::uint16_t commentLength = Get16(&tail[i + 20]);
        if (i + 22 + commentLength > tail.size()) continue;
        endPos = size - span + i;
        tail.erase(tail.begin(), tail.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

}  // namespace

int ReadDirectory(InFile& file, ZipDirectory& dir)
{
    std::uint64_t endPos = 0;
    std::vector<std::uint8_t> end;
    if (!FindEnd(file, endPos, end)) return kResultDamaged;
    std::uint64_t count = Get16(&end[10]);
    std::uint64_t cdSize = Get32(&end[12]);
    std::uint64_t cdOffset = Get32(&end[16]);
    dir.rawComment.assign(reinterpret_cast<const char*>(&end[22]), Get16(&end[20]));
    dir.comment = DecodeName(dir.rawComment, 0, 0);
    std::uint64_t cdEnd = endPos;
    // Without a Zip64 record the 16-bit count may have wrapped (older writers
    // stored the count modulo 65,536): the directory's size tells how many
    // headers there are, and the count must agree with them modulo 65,536.
    bool wrappingCount = true;
    std::uint8_t locator[20];
    if (endPos >= 20 && file.ReadAt(endPos - 20, locator, 20) && Get32(locator) == kLocator64Signature) {
        std::uint8_t e64[56];
        std::uint64_t e64Pos = Get64(locator + 8);
        // Behind a stub the stated place is off; the record sits right before the locator.
        if (!file.ReadAt(e64Pos, e64, 56) || Get32(e64) != kEnd64Signature) {
            e64Pos = endPos - 20 - 56;
            if (!file.ReadAt(e64Pos, e64, 56) || Get32(e64) != kEnd64Signature) return kResultDamaged;
        }
        count = Get64(e64 + 32);
        wrappingCount = false;
        cdSize = Get64(e64 + 40);
        cdOffset = Get64(e64 + 48);
        cdEnd = e64Pos;
    }
    if (cdSize > cdEnd) return kResultDamaged;
    const std::uint64_t cdStart = cdEnd - cdSize;
    // A program stub in front moves everything: the difference applies to the
    // local offsets when they do not point at a local header as they stand.
    const std::int64_t shift = static_cast<std::int64_t>(cdStart) - static_cast<std::int64_t>(cdOffset);
    if (cdSize > 64u * 1024 * 1024 || count > cdSize / 46 + 1) return kResultDamaged;
    std::vector<std::uint8_t> cd(static_cast<size_t>(cdSize));
    if (!file.ReadAt(cdStart, cd.data(), cd.size())) return kResultDamaged;
    size_t pos = 0;
    dir.entries.clear();
    dir.dataStart = UINT64_MAX;
    while (pos + 46 <= cd.size() && Get32(&cd[pos]) == kCentralSignature) {
        const std::uint8_t* p = &cd[pos];
        ZipEntry e;
        e.madeBy = Get16(p + 4);
        e.needed = Get16(p + 6);
        e.flags = Get16(p + 8);
        e.method = Get16(p + 10);
        e.dosTime = Get16(p + 12);
        e.dosDate = Get16(p + 14);
        e.crc = Get32(p + 16);
        e.packedSize = Get32(p + 20);
        e.size = Get32(p + 24);
        const std::uint16_t nameLength = Get16(p + 28), extraLength = Get16(p + 30), commentLength = Get16(p + 32);
        e.internalAttributes = Get16(p + 36);
        e.externalAttributes = Get32(p + 38);
        e.localOffset = Get32(p + 42);
        if (pos + 46u + nameLength + extraLength + commentLength > cd.size()) return kResultDamaged;
        const char* text = reinterpret_cast<const char*>(p + 46);
        e.rawName.assign(text, nameLength);
        const std::string extra(text + nameLength, extraLength);
        e.rawComment.assign(text + nameLength + extraLength, commentLength);
        e.extra = TakeZip64(extra, e, e.size == 0xFFFFFFFF, e.packedSize == 0xFFFFFFFF, e.localOffset == 0xFFFFFFFF);
        e.name = DecodeName(e.rawName, e.flags, e.madeBy);
        e.comment = DecodeName(e.rawComment, e.flags, e.madeBy);
        std::uint8_t sig[4];
        if (shift != 0 && !(file.ReadAt(e.localOffset, sig, 4) && Get32(sig) == kLocalSignature))
            e.localOffset = static_cast<std::uint64_t>(static_cast<std::int64_t>(e.localOffset) + shift);
        if (e.localOffset >= cdStart || e.packedSize > cdStart - e.localOffset) return kResultDamaged;
        dir.dataStart = std::min(dir.dataStart, e.localOffset);
        dir.entries.push_back(std::move(e));
        pos += 46u + nameLength + extraLength + commentLength;
    }
    const std::uint64_t read = dir.entries.size();
    if (wrappingCount ? (read & 0xFFFF) != (count & 0xFFFF) : read != count) return kResultDamaged;
    if (dir.dataStart == UINT64_MAX) dir.dataStart = cdStart;
    return kResultOk;
}

std::uint64_t DataOffset(InFile& file, const ZipEntry& entry)
{
    std::uint8_t h[30];
    if (!file.ReadAt(entry.localOffset, h, 30) || Get32(h) != kLocalSignature) throw ZlFailure{kResultDamaged};
    const std::uint64_t data = entry.localOffset + 30 + Get16(h + 26) + Get16(h + 28);
    if (data + entry.packedSize > file.Size()) throw ZlFailure{kResultDamaged};
    return data;
}

bool CheckPassword(InFile& file, const ZipEntry& entry, const std::string& password, std::optional<ZipKeys>& keys)
{
    if (password.empty() || entry.packedSize < 12) return false;
    std::uint8_t header[12];
    if (!file.ReadAt(DataOffset(file, entry), header, 12)) return false;
    keys.emplace(password);
    std::uint8_t last = 0;
    for (std::uint8_t b : header) last = keys->Decrypt(b);
    const std::uint8_t expected = (entry.flags & kFlagDescriptor) ? static_cast<std::uint8_t>(entry.dosTime >> 8)
                                                                  : static_cast<std::uint8_t>(entry.crc >> 24);
    if (last != expected) keys.reset();
    return keys.has_value();
}

struct EntryReader::Stream {
    z_stream z{};
    bool ready = false;
    ~Stream()
    {
        if (ready) inflateEnd(&z);
    }
};

EntryReader::EntryReader() : m_stream(std::make_unique<Stream>()) {}
EntryReader::~EntryReader() = default;

DataResult EntryReader::Read(InFile& file, const ZipEntry& entry, ZipKeys* keys, const DataSink& sink,
                             const std::function<void(int)>& progress)
{
    if (entry.method != 0 && entry.method != 8) return DataResult::UnknownMethod;
    std::uint64_t offset = DataOffset(file, entry);
    std::uint64_t remaining = entry.packedSize;
    if (keys) {
        if (remaining < 12) return DataResult::Damaged;
        offset += 12;
        remaining -= 12;
    }
    z_stream& z = m_stream->z;
    if (entry.method == 8) {
        if (!m_stream->ready) {
            if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw ZlFailure{kResultNoMemory};
            m_stream->ready = true;
        } else if (inflateReset(&z) != Z_OK) {
            throw ZlFailure{kResultNoMemory};
        }
    }
    // The buffers grow to what the entries need, up to 256 KB each, and stay:
    // one read and one hand-over for most entries.
    static constexpr std::uint64_t kChunk = 256 * 1024;
    const auto grow = [](std::vector<std::uint8_t>& buffer, std::uint64_t want) {
        const size_t size = static_cast<size_t>(std::clamp<std::uint64_t>(want, 1, kChunk));
        if (buffer.size() < size) buffer.resize(size);
    };
    grow(m_in, remaining);
    if (entry.method == 8) grow(m_out, entry.size + 1);
    std::uint64_t produced = 0;
    std::uint32_t crc = 0;
    int lastPercent = -1;
    bool ended = false;
    auto emit = [&](const std::uint8_t* data, std::size_t count) -> bool {
        if (produced + count > entry.size) return false;  // more than the entry claims
        produced += count;
        crc = Crc32(crc, data, count);
        sink(data, count);
        if (progress && entry.size >= (1u << 20)) {
            const int percent = static_cast<int>(produced * 100 / entry.size);
            if (percent != lastPercent) progress(lastPercent = percent);
        }
        return true;
    };
    while (remaining > 0 && !ended) {
        const size_t chunk = static_cast<size_t>(std::min<std::uint64_t>(remaining, m_in.size()));
        if (!file.ReadAt(offset, m_in.data(), chunk)) return DataResult::Damaged;
        offset += chunk;
        remaining -= chunk;
        if (keys)
            for (size_t i = 0; i < chunk; ++i) m_in[i] = keys->Decrypt(m_in[i]);
        if (entry.method == 0) {
            if (!emit(m_in.data(), chunk)) return DataResult::Damaged;
            continue;
        }
        z.next_in = m_in.data();
        z.avail_in = static_cast<uInt>(chunk);
        do {
            z.next_out = m_out.data();
            z.avail_out = static_cast<uInt>(m_out.size());
            const int rc = inflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return DataResult::Damaged;
            if (!emit(m_out.data(), m_out.size() - z.avail_out)) return DataResult::Damaged;
            if (rc == Z_STREAM_END) {
                ended = true;
                break;
            }
            if (rc == Z_BUF_ERROR) break;
        } while (z.avail_in > 0 || z.avail_out == 0);
    }
    if (entry.method == 8 && !ended) return DataResult::Damaged;
    if (produced != entry.size) return DataResult::Damaged;
    return crc == entry.crc ? DataResult::Ok : DataResult::BadCrc;
}

DataResult ReadEntryData(InFile& file, const ZipEntry& entry, ZipKeys* keys, const DataSink& sink,
                         const std::function<void(int)>& progress)
{
    EntryReader reader;
    return reader.Read(file, entry, keys, sink, progress);
}

namespace {

bool NeedsZip64(const ZipEntry& e)
{
    return e.size >= 0xFFFFFFFF || e.packedSize >= 0xFFFFFFFF || e.localOffset >= 0xFFFFFFFF;
}

std::uint32_t Clip(std::uint64_t v) { return v >= 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<std::uint32_t>(v); }

constexpr std::uint16_t kUnicodePath = 0x7075;

// The field Id of Extra, header included; empty when there is none.
std::string FieldOf(const std::string& extra, std::uint16_t id)
{
    for (size_t pos = 0; pos + 4 <= extra.size();) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(extra.data() + pos);
        const size_t length = 4u + Get16(p + 2);
        if (Get16(p) == id) return extra.substr(pos, length);
        pos += length;
    }
    return {};
}

// A name beyond ASCII goes into the Unicode path field as well, in the local
// header and in the directory: unzip programs that read the names of an
// MS-DOS host as OEM text, flag or not, take this one instead. An entry that
// came with one keeps it.
std::string UnicodePathField(const ZipEntry& e)
{
    if (std::string kept = FieldOf(e.extra, kUnicodePath); !kept.empty()) return kept;
    if (!(e.flags & kFlagUtf8) || IsAscii(e.rawName)) return {};
    std::string field;
    Put16(field, kUnicodePath);
    Put16(field, static_cast<std::uint16_t>(5 + e.rawName.size()));
    field += '\x01';
    Put32(field, Crc32(0, e.rawName.data(), e.rawName.size()));
    field += e.rawName;
    return field;
}

// Extra without the field Id.
std::string WithoutField(const std::string& extra, std::uint16_t id)
{
    std::string rest;
    for (size_t pos = 0; pos + 4 <= extra.size();) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(extra.data() + pos);
        const size_t length = 4u + Get16(p + 2);
        if (Get16(p) != id) rest.append(extra, pos, length);
        pos += length;
    }
    return rest;
}

// An extra field block holds at most 65,535 bytes: the Unicode path field is
// left out where it would not fit (the name itself is stored anyway); where
// the fields that must stay do not fit, the entry cannot be written.
std::string FitExtra(const std::string& needed, const std::string& optional)
{
    if (needed.size() > 0xFFFF) throw ZlFailure{kResultDamaged};
    return needed.size() + optional.size() > 0xFFFF ? needed : needed + optional;
}

}  // namespace

void WriteLocalHeader(OutFile& out, const ZipEntry& e)
{
    std::string h;
    const bool big = e.size >= 0xFFFFFFFF || e.packedSize >= 0xFFFFFFFF;
    Put32(h, kLocalSignature);
    Put16(h, big ? 45 : e.needed);
    Put16(h, e.flags);
    Put16(h, e.method);
    Put16(h, e.dosTime);
    Put16(h, e.dosDate);
    Put32(h, e.crc);
    Put32(h, big ? 0xFFFFFFFF : Clip(e.packedSize));
    Put32(h, big ? 0xFFFFFFFF : Clip(e.size));
    std::string extra;
    if (big) {
        Put16(extra, 1);
        Put16(extra, 16);
        Put64(extra, e.size);
        Put64(extra, e.packedSize);
    }
    extra = FitExtra(extra, UnicodePathField(e));
    Put16(h, static_cast<std::uint16_t>(e.rawName.size()));
    Put16(h, static_cast<std::uint16_t>(extra.size()));
    h += e.rawName;
    h += extra;
    out.Write(h.data(), h.size());
}

void WriteDescriptor(OutFile& out, const ZipEntry& e)
{
    std::string d;
    Put32(d, kDescriptorSignature);
    Put32(d, e.crc);
    if (e.size >= 0xFFFFFFFF || e.packedSize >= 0xFFFFFFFF) {
        Put64(d, e.packedSize);
        Put64(d, e.size);
    } else {
        Put32(d, static_cast<std::uint32_t>(e.packedSize));
        Put32(d, static_cast<std::uint32_t>(e.size));
    }
    out.Write(d.data(), d.size());
}

void WriteCentralDirectory(OutFile& out, const std::vector<ZipEntry>& entries, const std::string& rawComment)
{
    const std::uint64_t start = out.Position();
    std::string c;
    for (const ZipEntry& e : entries) {
        std::string z64;
        if (e.size >= 0xFFFFFFFF) Put64(z64, e.size);
        if (e.packedSize >= 0xFFFFFFFF) Put64(z64, e.packedSize);
        if (e.localOffset >= 0xFFFFFFFF) Put64(z64, e.localOffset);
        std::string extra;
        if (!z64.empty()) {
            Put16(extra, 1);
            Put16(extra, static_cast<std::uint16_t>(z64.size()));
            extra += z64;
        }
        extra += WithoutField(e.extra, kUnicodePath);
        extra = FitExtra(extra, UnicodePathField(e));
        Put32(c, kCentralSignature);
        Put16(c, e.madeBy);
        Put16(c, NeedsZip64(e) ? std::max<std::uint16_t>(e.needed, 45) : e.needed);
        Put16(c, e.flags);
        Put16(c, e.method);
        Put16(c, e.dosTime);
        Put16(c, e.dosDate);
        Put32(c, e.crc);
        Put32(c, Clip(e.packedSize));
        Put32(c, Clip(e.size));
        Put16(c, static_cast<std::uint16_t>(e.rawName.size()));
        Put16(c, static_cast<std::uint16_t>(extra.size()));
        Put16(c, static_cast<std::uint16_t>(e.rawComment.size()));
        Put16(c, 0);
        Put16(c, e.internalAttributes);
        Put32(c, e.externalAttributes);
        Put32(c, Clip(e.localOffset));
        c += e.rawName;
        c += extra;
        c += e.rawComment;
        if (c.size() >= 64 * 1024) {
            out.Write(c.data(), c.size());
            c.clear();
        }
    }
    out.Write(c.data(), c.size());
    const std::uint64_t size = out.Position() - start;
    const std::uint64_t count = entries.size();
    std::string end;
    if (count >= 0xFFFF || size >= 0xFFFFFFFF || start >= 0xFFFFFFFF) {
        const std::uint64_t e64 = out.Position();
        Put32(end, kEnd64Signature);
        Put64(end, 44);
        Put16(end, 45);
        Put16(end, 45);
        Put32(end, 0);
        Put32(end, 0);
        Put64(end, count);
        Put64(end, count);
        Put64(end, size);
        Put64(end, start);
        Put32(end, kLocator64Signature);
        Put32(end, 0);
        Put64(end, e64);
        Put32(end, 1);
    }
    Put32(end, kEndSignature);
    Put32(end, 0);
    Put16(end, static_cast<std::uint16_t>(std::min<std::uint64_t>(count, 0xFFFF)));
    Put16(end, static_cast<std::uint16_t>(std::min<std::uint64_t>(count, 0xFFFF)));
    Put32(end, Clip(size));
    Put32(end, Clip(start));
    Put16(end, static_cast<std::uint16_t>(rawComment.size()));
    end += rawComment;
    out.Write(end.data(), end.size());
}

void CopyEntry(InFile& in, std::uint64_t dataOffset, OutFile& out, ZipEntry& entry)
{
    entry.localOffset = out.Position();
    WriteLocalHeader(out, entry);
    std::vector<std::uint8_t> buffer(static_cast<size_t>(std::clamp<std::uint64_t>(entry.packedSize, 1, 256 * 1024)));
    std::uint64_t remaining = entry.packedSize;
    while (remaining > 0) {
        const size_t chunk = static_cast<size_t>(std::min<std::uint64_t>(remaining, buffer.size()));
        if (!in.ReadAt(dataOffset, buffer.data(), chunk)) throw ZlFailure{kResultDamaged};
        out.Write(buffer.data(), chunk);
        dataOffset += chunk;
        remaining -= chunk;
    }
    if (entry.flags & kFlagDescriptor) WriteDescriptor(out, entry);
}

Rewriter::Rewriter(const std::wstring& archive, const std::wstring& tempFolder)
    : m_archive(archive), m_attributes(GetFileAttributesW(archive.c_str())), m_temp(tempFolder)
{
    // A read-only archive is not replaced, as Windows would refuse the
    // rename anyway: nothing is written at all.
    if (m_attributes != INVALID_FILE_ATTRIBUTES && (m_attributes & FILE_ATTRIBUTE_READONLY))
        throw ZlFailure{kResultNoAccess};
    m_out.Create(m_temp.Path());
}

void Rewriter::KeepStub(InFile& old, std::uint64_t length)
{
    if (m_out.Position() != 0) throw ZlFailure{kResultDamaged};
    std::vector<std::uint8_t> buffer(static_cast<size_t>(std::clamp<std::uint64_t>(length, 1, 256 * 1024)));
    for (std::uint64_t done = 0; done < length;) {
        const size_t chunk = static_cast<size_t>(std::min<std::uint64_t>(length - done, buffer.size()));
        if (!old.ReadAt(done, buffer.data(), chunk)) throw ZlFailure{kResultDamaged};
        m_out.Write(buffer.data(), chunk);
        done += chunk;
    }
}

void Rewriter::Keep(InFile& old, ZipEntry entry)
{
    const std::uint64_t data = DataOffset(old, entry);
    CopyEntry(old, data, m_out, entry);
    m_entries.push_back(std::move(entry));
}

void Rewriter::Finish(const std::string& rawComment, InFile& old)
{
    WriteCentralDirectory(m_out, m_entries, rawComment);
    m_out.Close();
    old.Close();
    m_temp.Commit(m_archive);
    // The new file keeps the old one's hidden and system attributes.
    if (m_attributes != INVALID_FILE_ATTRIBUTES &&
        (m_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesW(m_archive.c_str(),
                           (m_attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) | FILE_ATTRIBUTE_ARCHIVE);
}

FileIdentity IdentityOf(HANDLE handle)
{
    FileIdentity id;
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(handle, &info)) return id;
    id.volume = info.dwVolumeSerialNumber;
    id.index = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    id.valid = true;
    return id;
}

FileIdentity IdentityOf(const std::wstring& path)
{
    // No access asked for: the identity can be read even of a file another
    // program (or this library) holds open without sharing.
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    const FileIdentity id = IdentityOf(h);
    CloseHandle(h);
    return id;
}

std::uint32_t DosTimeOf(const FILETIME& utc)
{
    FILETIME local{};
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&utc, &local);
    if (!FileTimeToDosDateTime(&local, &date, &time)) return 0x00210000;  // 1 January 1980
    return static_cast<std::uint32_t>(date) << 16 | time;
}

void FillStats(StatsHolder& holder, const ZipEntry& e)
{
    holder.name = e.name;
    holder.comment = e.comment.substr(0, 255);
    ZlFileStatsBlock& b = holder.block;
    b = ZlFileStatsBlock{};
    b.name = holder.name.c_str();
    b.size = static_cast<std::uint32_t>(e.size);
    b.sizeHigh = static_cast<std::uint32_t>(e.size >> 32);
    b.packedSize = static_cast<std::uint32_t>(e.packedSize);
    b.packedHigh = static_cast<std::uint32_t>(e.packedSize >> 32);
    b.attributes = e.DosAttributes();
    b.dosTime = e.dosTime;
    b.dosDate = e.dosDate;
    b.method = static_cast<std::uint8_t>(e.method);
    b.ratio = e.size ? static_cast<std::uint8_t>(std::min<std::uint64_t>(e.packedSize * 100 / e.size, 255)) : 0;
    b.encrypted = e.Encrypted() ? 1 : 0;
    b.comment = holder.comment.c_str();
    b.commentLength = static_cast<std::uint8_t>(holder.comment.size());
}

std::vector<std::string> Arguments(int argCount, char** argList)
{
    std::vector<std::string> args;
    for (int i = 0; i < argCount && argList; ++i) args.emplace_back(argList[i] ? argList[i] : "");
    return args;
}

}  // namespace velmora::zl
