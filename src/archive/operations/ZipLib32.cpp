#include "archive/operations/ZipLib32.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

#include "platform/gui/Application.h"
#include "platform/rtl/Strings.h"
#include "platform/ziplib/ZlApi.h"

namespace velmora::archive {

namespace {

// One comment buffer for every instance, as the library's message 130 fills it.
std::string g_comment;

constexpr int kResultMissingLibrary = 240;
constexpr int kResultMultidisk = 430;
constexpr int kResultBusy = 180;

std::wstring FromLibrary(const char* text, std::size_t length)
{
    return text ? FromUtf8(std::string_view(text, length)) : std::wstring();
}

std::wstring FromLibrary(const char* text) { return text ? FromUtf8(text) : std::wstring(); }

// Copies UTF-8 into a fixed buffer, cut at Limit bytes without splitting a character.
void CopyOut(const std::wstring& text, char* buffer, std::size_t limit)
{
    std::string utf8 = ToUtf8(text);
    if (utf8.size() > limit) {
        utf8.resize(limit);
        while (!utf8.empty() && (static_cast<unsigned char>(utf8.back()) & 0xC0) == 0x80) utf8.pop_back();
        if (!utf8.empty() && static_cast<unsigned char>(utf8.back()) >= 0xC0) utf8.pop_back();
    }
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
}

}  // namespace

TDateTime ZlDosDateTime(std::uint16_t date, std::uint16_t time)
{
    const DateParts parts{1980 + (date >> 9), (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63,
                          (time & 31) * 2, 0};
    // A date that does not exist (31 February, month 13) gives 1 January 1980.
    if (auto value = TryEncodeDateTime(parts)) return *value;
    return *TryEncodeDateTime(DateParts{1980, 1, 1, 0, 0, 0, 0});
}

TZlFileStats StatsFromBlock(const void* data)
{
    const auto& b = *static_cast<const zl::ZlFileStatsBlock*>(data);
    TZlFileStats s;
    s.FileName = FromLibrary(b.name);
    s.ThirdValue = b.sizeHigh;
    s.Value = b.packedHigh;
    s.Size = static_cast<std::uint64_t>(b.sizeHigh) << 32 | b.size;
    s.CompressedSize = static_cast<std::uint64_t>(b.packedHigh) << 32 | b.packedSize;
    s.Attributes = b.attributes & 0x3F;
    s.DateTime = ZlDosDateTime(b.dosDate, b.dosTime);
    s.Bytes[0] = b.method;
    s.Bytes[1] = b.percent;
    s.Bytes[2] = b.ratio;
    s.Flag = b.encrypted != 0;
    s.Comment = FromLibrary(b.comment, b.comment ? b.commentLength : 0);
    return s;
}

TZipLib::TZipLib(gui::TComponent* owner)
    : gui::TComponent(owner), DateLimit(*TryEncodeDateTime(DateParts{1980, 1, 1, 0, 0, 0, 0}))
{
}

TZipLib::~TZipLib()
{
    for (Library* library : {&m_zip, &m_unzip})
        if (library->module) FreeLibrary(library->module);
}

void TZipLib::SetEntries(TZlEntryFunction zip, TZlEntryFunction unzip)
{
    m_zip.fake = zip;
    m_unzip.fake = unzip;
}

TZlEntryFunction TZipLib::Load(Library& library)
{
    if (library.fake) return library.fake;
    if (library.entry) return library.entry;
    // No critical-error box for a missing library.
    const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(library.file);
    SetErrorMode(oldMode);
    if (reinterpret_cast<UINT_PTR>(module) < 32) return nullptr;
    auto entry = reinterpret_cast<TZlEntryFunction>(GetProcAddress(module, library.entryName));
    if (!entry) {
        FreeLibrary(module);
        return nullptr;
    }
    library.module = module;
    library.entry = entry;
    return entry;
}

int TZipLib::Call(Library& library, std::vector<std::string> args)
{
    FilesToProcess.Clear();
    if (m_running) return kResultBusy;
    const TZlEntryFunction entry = Load(library);
    if (!entry) return kResultMissingLibrary;
    std::vector<char*> argList;
    for (std::string& a : args) argList.push_back(a.data());
    Abort = false;
    m_running = true;
    m_lastMessagePump = GetTickCount() - kMessageInterval;
    const int result = entry(zl::kInterfaceVersion, static_cast<int>(argList.size()), argList.data(), &Callback, this);
    m_running = false;
    Abort = false;
    m_resultHigh = static_cast<std::uint16_t>(static_cast<unsigned>(result) >> 16);
    return result & 0xFFFF;
}

void TZipLib::AppendFileList(std::vector<std::string>& args, ListKind kind) const
{
    std::vector<std::string> includes, excludes;
    bool named = false;
    for (const std::wstring& line : FilesToProcess) {
        if (!line.empty() && line[0] == L'<') {
            excludes.push_back(ToUtf8(line.substr(1)));
        } else if (kind == ListKind::AddDelete && !line.empty() && line[0] == L'>') {
            includes.push_back(ToUtf8(line.substr(1)));
        } else {
            args.push_back(ToUtf8(line));
            named = true;
        }
    }
    if (!named) return;
    if (!includes.empty()) {
        args.emplace_back("-i");
        args.insert(args.end(), includes.begin(), includes.end());
    }
    if (!excludes.empty()) {
        args.emplace_back("-x");
        args.insert(args.end(), excludes.begin(), excludes.end());
    }
}

std::string TZipLib::DateLimitText() const
{
    const DateParts d = DecodeDateTime(DateLimit);
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d", d.month, d.day, d.year % 100);
    return text;
}

int TZipLib::Add(int Mode)
{
    if (MultidiskMode && Mode != 0) return kResultMultidisk;
    std::vector<std::string> a{ToUtf8(Password)};
    if (Mode == 1) a.emplace_back("-f");
    if (Mode == 2) a.emplace_back("-u");
    if (!Password.empty()) a.emplace_back("-e");
    a.push_back("-" + std::to_string(std::clamp(Compression, 0, 9)));
    if (MoveFiles) a.emplace_back("-m");
    if (Mode != 1) {
        if (IncludeHiddenFiles) a.emplace_back("-S");
        if (UsePaths && IncludeDirectoryEntries) a.emplace_back("-D");
    }
    if (Mode == 0 && IncludeVolumeLabel) a.emplace_back("-$");
    if (Recurse) a.emplace_back("-r");
    if (!UsePaths) a.emplace_back("-j");
    if (!UseTempFile || MultidiskMode) a.emplace_back("-g");
    if (!TempPath.empty()) {
        a.emplace_back("-b");
        a.push_back(ToUtf8(TempPath));
    }
    if (!StoredExtensions.empty()) {
        a.emplace_back("-n");
        a.push_back(ToUtf8(StoredExtensions));
    }
    if (MultidiskMode) a.emplace_back("-!");
    if (ClearDisks) a.emplace_back("-&");
    a.emplace_back("-t");
    a.push_back(DateLimitText());
    a.push_back(ToUtf8(ZipFileName));
    AppendFileList(a, ListKind::AddDelete);
    return Call(m_zip, std::move(a));
}

int TZipLib::Delete()
{
    if (MultidiskMode) return kResultMultidisk;
    std::vector<std::string> a{ToUtf8(Password), "-d"};
    if (!TempPath.empty()) {
        a.emplace_back("-b");
        a.push_back(ToUtf8(TempPath));
    }
    a.push_back(ToUtf8(ZipFileName));
    AppendFileList(a, ListKind::AddDelete);
    return Call(m_zip, std::move(a));
}

int TZipLib::Extract(int Mode)
{
    if (MultidiskMode && Mode != 0) return kResultMultidisk;
    std::vector<std::string> a{ToUtf8(Password)};
    if (Mode == 1) a.emplace_back("-f");
    if (Mode == 2) a.emplace_back("-u");
    if (!UsePaths) a.emplace_back("-j");
    if (MultidiskMode) a.emplace_back("-!");
    if (Overwrite == TZlOverwrite::zowNever) a.emplace_back("-n");
    if (Overwrite == TZlOverwrite::zowAlways) a.emplace_back("-o");
    a.push_back(ToUtf8(ZipFileName));
    AppendFileList(a, ListKind::Reading);
    if (!ExtractDirectory.empty()) {
        a.emplace_back("-d");
        a.push_back(ToUtf8(ExtractDirectory));
    }
    return Call(m_unzip, std::move(a));
}

int TZipLib::Test()
{
    std::vector<std::string> a{ToUtf8(Password)};
    if (MultidiskMode) a.emplace_back("-!");
    a.emplace_back("-t");
    a.push_back(ToUtf8(ZipFileName));
    AppendFileList(a, ListKind::Reading);
    return Call(m_unzip, std::move(a));
}

int TZipLib::List()
{
    std::vector<std::string> a{ToUtf8(Password), "-v"};
    if (MultidiskMode) a.emplace_back("-!");
    a.push_back(ToUtf8(ZipFileName));
    AppendFileList(a, ListKind::Reading);
    return Call(m_unzip, std::move(a));
}

int TZipLib::Fix(bool Thorough)
{
    if (MultidiskMode) return kResultMultidisk;
    return Call(m_zip, {ToUtf8(Password), Thorough ? "-FF" : "-F", ToUtf8(ZipFileName)});
}

int TZipLib::UpdateDate()
{
    if (MultidiskMode) return kResultMultidisk;
    return Call(m_zip, {ToUtf8(Password), "-o", ToUtf8(ZipFileName)});
}

int TZipLib::GetComment(std::wstring& Comment)
{
    // Cleared first: a library that sends nothing must not leave another archive's comment.
    g_comment.clear();
    const int result = Call(m_unzip, {"", "-z", ToUtf8(ZipFileName)});
    Comment = result == 0 ? FromUtf8(g_comment) : L"Error #" + std::to_wstring(result);
    return result;
}

int TZipLib::GetFileCount()
{
    m_count = 0;
    const int result = Call(m_unzip, {ToUtf8(ZipFileName)});
    return result == 0 ? m_count : 0;
}

int __stdcall TZipLib::Callback(int message, void* data, void* userData)
{
    auto* self = static_cast<TZipLib*>(userData);
    try {
        return self->Dispatch(message, data);
    } catch (...) {
        // No exception may unwind through the library's frames.
        self->Abort = true;
        if (gui::Application) gui::Application->HandleException(self, std::current_exception());
        return 1;
    }
}

int TZipLib::Dispatch(int message, void* data)
{
    // A queue check costs tens of microseconds under Wine: at most every 20 ms.
    const DWORD now = GetTickCount();
    if (gui::Application && now - m_lastMessagePump >= kMessageInterval) {
        m_lastMessagePump = now;
        gui::Application->ProcessMessages();
    }
    switch (message) {
    case zl::kMsgReplace:
        if (OnReplace) {
            auto* q = static_cast<zl::ZlReplaceData*>(data);
            TZlReplace r{FromLibrary(q->name), L"", q->answer};
            OnReplace(this, r);
            CopyOut(r.NewName, q->newName, sizeof q->newName - 1);
            q->answer = r.Answer;
        }
        break;
    case zl::kMsgTesting:
        if (OnTesting) OnTesting(this, StatsFromBlock(data));
        break;
    case zl::kMsgExtracting:
        if (OnExtracting) OnExtracting(this, StatsFromBlock(data));
        break;
    case zl::kMsgCount:
        m_count = *static_cast<const std::int32_t*>(data);
        break;
    case zl::kMsgListing:
        if (OnListing) OnListing(this, StatsFromBlock(data));
        break;
    case zl::kMsgComment: {
        const auto* c = static_cast<const zl::ZlCommentData*>(data);
        g_comment.assign(c->text ? c->text : "", c->text ? static_cast<std::size_t>(std::max(c->length, 0)) : 0);
        // Cut at 255 characters.
        std::wstring text = FromUtf8(g_comment);
        if (text.size() > 255) g_comment = ToUtf8(text.substr(0, 255));
        break;
    }
    case zl::kMsgCommentQuery: {
        auto* c = static_cast<zl::ZlCommentData*>(data);
        c->text = g_comment.c_str();
        c->length = static_cast<std::int32_t>(g_comment.size());
        return Abort ? 1 : 0;
    }
    case zl::kMsgTotals:
        m_lastStats = StatsFromBlock(data);
        break;
    case zl::kMsgPassword: {
        auto* q = static_cast<zl::ZlPasswordData*>(data);
        if (!Password.empty()) {
            CopyOut(Password.substr(0, 80), q->password, 80);
            q->answer = zl::kPasswordGiven;
        } else if (OnPwdQuery) {
            TZlPwdQuery r{FromLibrary(q->name), L"", q->answer};
            OnPwdQuery(this, r);
            CopyOut(r.Password.substr(0, 80), q->password, 80);
            q->answer = r.Answer;
        }
        break;
    }
    case zl::kMsgNewDisk:
        if (OnNewdisk) OnNewdisk(this, *static_cast<const std::int32_t*>(data));
        break;
    case zl::kMsgEntryComment:
        if (OnFileComment) {
            auto* c = static_cast<zl::ZlEntryCommentData*>(data);
            TZlFileComment r{FromLibrary(c->name), FromLibrary(c->comment, std::min<std::size_t>(c->length, 255))};
            OnFileComment(this, r);
            CopyOut(r.Comment.substr(0, 255), c->comment, 255);
            c->length = static_cast<std::uint8_t>(std::strlen(c->comment));
        }
        break;
    case zl::kMsgUpdating:
        if (OnUpdating) OnUpdating(this, StatsFromBlock(data));
        break;
    case zl::kMsgAdding:
        if (OnAdding) OnAdding(this, StatsFromBlock(data));
        break;
    case zl::kMsgDeleting:
        if (OnDeleting) OnDeleting(this, FromLibrary(static_cast<const char*>(data)));
        break;
    case zl::kMsgProgress:
        if (OnStatus) OnStatus(this, StatsFromBlock(data));
        break;
    case zl::kMsgSkipping:
        if (OnSkippingFile) {
            const auto* s = static_cast<const zl::ZlSkippingData*>(data);
            OnSkippingFile(this, TZlSkipping{FromLibrary(s->name), s->reason});
        }
        break;
    case zl::kMsgFixing:
        if (OnFixing) OnFixing(this, FromLibrary(static_cast<const char*>(data)));
        break;
    default:
        break;
    }
    return Abort ? 1 : 0;
}

}  // namespace velmora::archive
