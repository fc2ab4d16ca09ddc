// TZipLib over the real stand-in DLLs: writing, listing, testing and
// extracting archives, the safety of every rewrite (a failure at each write or
// an abort at each message leaves the archive as it was, and no temporary
// file), repair, hostile archives and a missing library.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "archive/operations/ZipLib32.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;

namespace {

std::wstring WinePath(const char* unixPath)
{
    std::wstring p = L"Z:" + FromUtf8(unixPath);
    std::replace(p.begin(), p.end(), L'/', L'\\');
    return p;
}

std::string ReadAll(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    return data;
}

void WriteAll(const std::wstring& path, const std::string& data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << ToUtf8(path) << " error " << GetLastError();
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (wcscmp(d.cFileName, L".") && wcscmp(d.cFileName, L"..")) names.push_back(d.cFileName);
    } while (FindNextFileW(h, &d));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveTree(const std::wstring& folder)
{
    for (const std::wstring& n : FilesIn(folder)) {
        const std::wstring p = folder + L"\\" + n;
        if (GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(p);
        else {
            SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(p.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

std::string Noise(size_t size, unsigned seed)
{
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 1103515245 + 12345;
        c = static_cast<char>(seed >> 16);
    }
    return s;
}

class ZipLibDll : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }

    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        CreateDirectoryW(temp, nullptr);  // a fresh prefix may not have it yet
        root = std::wstring(temp) + L"zltest" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(root);
        CreateDirectoryW(root.c_str(), nullptr);
        src = root + L"\\src";
        CreateDirectoryW(src.c_str(), nullptr);
        CreateDirectoryW((src + L"\\sub").c_str(), nullptr);
        WriteAll(src + L"\\Grosse.txt", std::string(5000, 'g') + "Ende");
        WriteAll(src + L"\\sub\\noise.bin", Noise(300000, 7));
        WriteAll(src + L"\\sub\\text.txt", std::string(200000, 'a') + Noise(100, 3));
        WriteAll(src + L"\\empty.txt", "");
        archive = root + L"\\out.zip";
        zip.ZipFileName = archive;
        zip.OnSkippingFile = [this](TZipLib*, const TZlSkipping& s) { skips.push_back(s); };
    }
    void TearDown() override { RemoveTree(root); }

    int AddSources(int level, const std::wstring& password = L"")
    {
        zip.Compression = level;
        zip.Password = password;
        zip.Recurse = true;
        zip.FilesToProcess.Add(src + L"\\*.*");
        return zip.Add(0);
    }
    std::vector<std::wstring> Listed()
    {
        std::vector<std::wstring> names;
        zip.OnListing = [&](TZipLib*, const TZlFileStats& s) { names.push_back(s.FileName); };
        EXPECT_EQ(zip.List(), 0);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::wstring StoredPrefix() const
    {
        std::wstring p = src.substr(3);
        std::replace(p.begin(), p.end(), L'\\', L'/');
        return p + L"/";
    }
    void ExpectExtractedWhole(const std::wstring& target)
    {
        const std::wstring base = target + L"\\" + src.substr(3);
        for (const wchar_t* n : {L"\\Grosse.txt", L"\\sub\\noise.bin", L"\\sub\\text.txt", L"\\empty.txt"})
            EXPECT_EQ(ReadAll(base + n), ReadAll(src + n)) << ToUtf8(n);
    }

    TZipLib zip{nullptr};
    std::wstring root, src, archive;
    std::vector<TZlSkipping> skips;
};

TEST_F(ZipLibDll, EachLevelWritesWhatListsTestsAndExtractsWhole)
{
    for (int level : {0, 1, 6, 9}) {
        DeleteFileW(archive.c_str());
        ASSERT_EQ(AddSources(level), 0) << level;
        const std::wstring p = StoredPrefix();
        EXPECT_EQ(Listed(), (std::vector<std::wstring>{p + L"Grosse.txt", p + L"empty.txt", p + L"sub/noise.bin",
                                                       p + L"sub/text.txt"}));
        EXPECT_EQ(zip.Test(), 0);
        const std::wstring target = root + L"\\x" + std::to_wstring(level);
        zip.ExtractDirectory = target;
        EXPECT_EQ(zip.Extract(0), 0);
        ExpectExtractedWhole(target);
    }
    EXPECT_TRUE(skips.empty());
}

TEST_F(ZipLibDll, EncryptedEntriesNeedTheirPassword)
{
    // A wrong password passes an entry's one-byte check with probability 1/256
    // and then fails its CRC instead: the archive is made again until the check
    // turns the wrong password away at every entry (nearly always at once).
    bool rejectedEverywhere = false;
    for (int attempt = 0; attempt < 8 && !rejectedEverywhere; ++attempt) {
        DeleteFileW(zip.ZipFileName.c_str());
        zip.FilesToProcess.Clear();
        ASSERT_EQ(AddSources(6, L"geheim"), 0);
        skips.clear();
        zip.Password = L"falsch";
        zip.Test();
        rejectedEverywhere = skips.size() == 4 &&
                             std::all_of(skips.begin(), skips.end(), [](const TZlSkipping& s) { return s.Reason == 5; });
    }
    ASSERT_TRUE(rejectedEverywhere);
    skips.clear();
    zip.ExtractDirectory = root + L"\\wrong";
    EXPECT_EQ(zip.Extract(0), 40);
    ASSERT_EQ(skips.size(), 4u);
    EXPECT_EQ(skips[0].Reason, 5);
    EXPECT_EQ(ReadAll(root + L"\\wrong\\" + src.substr(3) + L"\\sub\\text.txt"), "<missing>");

    int asked = 0;
    zip.Password.clear();
    zip.OnPwdQuery = [&](TZipLib*, TZlPwdQuery& q) {
        ++asked;
        q.Password = L"geheim";
        q.Answer = 2;
    };
    zip.ExtractDirectory = root + L"\\right";
    EXPECT_EQ(zip.Extract(0), 0);
    EXPECT_EQ(asked, 1);  // the answer serves the following entries too
    ExpectExtractedWhole(root + L"\\right");
}

TEST_F(ZipLibDll, DeleteRedateAndCountChangeOnlyWhatTheySay)
{
    ASSERT_EQ(AddSources(6), 0);
    std::vector<std::wstring> deleted;
    zip.OnDeleting = [&](TZipLib*, const std::wstring& n) { deleted.push_back(n); };
    zip.FilesToProcess.Add(L"\\" + StoredPrefix() + L"SUB\\*.*");
    EXPECT_EQ(zip.Delete(), 0);
    EXPECT_EQ(deleted.size(), 2u);
    EXPECT_EQ(zip.GetFileCount(), 2);
    EXPECT_EQ(zip.Test(), 0);

    EXPECT_EQ(zip.UpdateDate(), 0);
    TZipLib other(nullptr);
    other.ZipFileName = root + L"\\leer.zip";
    WriteAll(other.ZipFileName, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    EXPECT_EQ(other.UpdateDate(), 380);
    EXPECT_EQ(other.GetFileCount(), 0);
    other.ZipFileName = root + L"\\fehlt.zip";
    EXPECT_EQ(other.Test(), 100);
}

TEST_F(ZipLibDll, ExistingFilesFollowTheOverwriteRule)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::wstring target = root + L"\\t";
    zip.ExtractDirectory = target;
    ASSERT_EQ(zip.Extract(0), 0);
    const std::wstring file = target + L"\\" + src.substr(3) + L"\\Grosse.txt";
    WriteAll(file, "mine");
    zip.Overwrite = TZlOverwrite::zowNever;
    EXPECT_EQ(zip.Extract(0), 40);
    EXPECT_EQ(ReadAll(file), "mine");
    // A read-only file in the way is replaced too.
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    int asked = 0;
    zip.Overwrite = TZlOverwrite::zowAsk;
    zip.OnReplace = [&](TZipLib*, TZlReplace& r) {
        ++asked;
        r.Answer = 4;  // replace this and all following
    };
    EXPECT_EQ(zip.Extract(0), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadAll(file), ReadAll(src + L"\\Grosse.txt"));
    EXPECT_FALSE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    const std::vector<std::wstring> left = FilesIn(file.substr(0, file.find_last_of(L'\\')));
    EXPECT_TRUE(std::none_of(left.begin(), left.end(), [](const std::wstring& n) { return n.starts_with(L"~zl"); }));
}

TEST_F(ZipLibDll, ExtractedFilesGetTheirDatesAndDosAttributes)
{
    ASSERT_TRUE(SetFileAttributesW((src + L"\\Grosse.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(AddSources(6), 0);
    SetFileAttributesW((src + L"\\Grosse.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::wstring target = root + L"\\t";
    zip.ExtractDirectory = target;
    ASSERT_EQ(zip.Extract(0), 0);
    const std::wstring base = target + L"\\" + src.substr(3);
    const DWORD marked = GetFileAttributesW((base + L"\\Grosse.txt").c_str());
    EXPECT_TRUE(marked & FILE_ATTRIBUTE_READONLY);
    const DWORD plain = GetFileAttributesW((base + L"\\sub\\text.txt").c_str());
    EXPECT_FALSE(plain & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(plain & FILE_ATTRIBUTE_ARCHIVE);
    // Stored times have two-second steps.
    WIN32_FILE_ATTRIBUTE_DATA from{}, to{};
    ASSERT_TRUE(GetFileAttributesExW((src + L"\\sub\\text.txt").c_str(), GetFileExInfoStandard, &from));
    ASSERT_TRUE(GetFileAttributesExW((base + L"\\sub\\text.txt").c_str(), GetFileExInfoStandard, &to));
    const auto ticks = [](const FILETIME& t) { return static_cast<long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    EXPECT_LE(std::llabs(ticks(from.ftLastWriteTime) - ticks(to.ftLastWriteTime)), 20000000LL);
    SetFileAttributesW((base + L"\\Grosse.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ZipLibDll, AFailureAtEachWriteLeavesTheArchiveAsItWas)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::string before = ReadAll(archive);
    auto fault = reinterpret_cast<void(__stdcall*)(int)>(GetProcAddress(GetModuleHandleW(L"ZLZIP32.DLL"), "zltestfault"));
    ASSERT_NE(fault, nullptr);
    WriteAll(src + L"\\neu.txt", Noise(600000, 9));
    std::vector<std::function<int()>> operations = {
        [&] { zip.Recurse = true; zip.FilesToProcess.Add(src + L"\\*.*"); return zip.Add(0); },
        [&] { zip.FilesToProcess.Add(L"*.txt"); return zip.Delete(); },
    };
    for (auto& operation : operations) {
        int n = 1;
        for (;; ++n) {
            fault(n);
            const int result = operation();
            fault(0);
            if (result == 0) break;
            EXPECT_EQ(result, 150) << n;
            EXPECT_EQ(ReadAll(archive), before) << n;
            EXPECT_EQ(FilesIn(root), (std::vector<std::wstring>{L"out.zip", L"src"})) << n;
        }
        EXPECT_GT(n, 1);
        // Put the first archive back for the next operation.
        WriteAll(archive, before);
    }
}

TEST_F(ZipLibDll, AnAbortAtEachMessageLeavesTheArchiveAsItWas)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::string before = ReadAll(archive);
    WriteAll(src + L"\\neu.txt", Noise(2000000, 9));
    for (int stopAt = 1;; ++stopAt) {
        int seen = 0;
        auto count = [&](TZipLib* z) {
            if (++seen == stopAt) z->Abort = true;
        };
        zip.OnAdding = [&](TZipLib* z, const TZlFileStats&) { count(z); };
        zip.OnUpdating = [&](TZipLib* z, const TZlFileStats&) { count(z); };
        zip.OnStatus = [&](TZipLib* z, const TZlFileStats&) { count(z); };
        zip.Recurse = true;
        zip.FilesToProcess.Add(src + L"\\*.*");
        const int result = zip.Add(0);
        if (seen < stopAt) {
            EXPECT_EQ(result, 0);
            break;
        }
        EXPECT_EQ(result, 190) << stopAt;
        EXPECT_EQ(ReadAll(archive), before) << stopAt;
        EXPECT_EQ(FilesIn(root), (std::vector<std::wstring>{L"out.zip", L"src"})) << stopAt;
    }
}

// Moves a file's time by Seconds from now.
void SetTimeFromNow(const std::wstring& path, long long seconds)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart = static_cast<unsigned long long>(static_cast<long long>(t.QuadPart) + seconds * 10000000LL);
    const FILETIME when{t.LowPart, t.HighPart};
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << ToUtf8(path);
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &when));
    CloseHandle(h);
}

TEST_F(ZipLibDll, FreshenAndUpdateReplaceOnlyNewerFilesAndOnlyUpdateAdds)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::string grosse = ReadAll(src + L"\\Grosse.txt");
    WriteAll(src + L"\\sub\\text.txt", "neuer Inhalt");
    SetTimeFromNow(src + L"\\sub\\text.txt", 3600);
    WriteAll(src + L"\\Grosse.txt", "alt");  // older than its entry
    SetTimeFromNow(src + L"\\Grosse.txt", -2 * 86400);
    WriteAll(src + L"\\neu.txt", "neu");
    std::vector<std::wstring> added, updated;
    zip.OnAdding = [&](TZipLib*, const TZlFileStats& s) { added.push_back(s.FileName); };
    zip.OnUpdating = [&](TZipLib*, const TZlFileStats& s) { updated.push_back(s.FileName); };
    auto run = [&](int mode) {
        added.clear();
        updated.clear();
        zip.Recurse = true;
        zip.FilesToProcess.Add(src + L"\\*.*");
        return zip.Add(mode);
    };
    const std::wstring p = StoredPrefix();
    // What the rule leaves out is no skip: the result stays 0.
    EXPECT_EQ(run(1), 0);
    EXPECT_EQ(updated, std::vector<std::wstring>{p + L"sub/text.txt"});
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(Listed().size(), 4u);
    const std::string freshened = ReadAll(archive);
    EXPECT_EQ(run(1), 0);
    EXPECT_TRUE(updated.empty());
    EXPECT_EQ(ReadAll(archive), freshened);  // nothing newer: not rewritten

    EXPECT_EQ(run(2), 0);
    EXPECT_EQ(added, std::vector<std::wstring>{p + L"neu.txt"});
    EXPECT_TRUE(updated.empty());
    const std::wstring target = root + L"\\t";
    zip.ExtractDirectory = target;
    ASSERT_EQ(zip.Extract(0), 0);
    const std::wstring base = target + L"\\" + src.substr(3);
    EXPECT_EQ(ReadAll(base + L"\\sub\\text.txt"), "neuer Inhalt");
    EXPECT_EQ(ReadAll(base + L"\\Grosse.txt"), grosse);
    EXPECT_EQ(ReadAll(base + L"\\neu.txt"), "neu");
}

TEST_F(ZipLibDll, MoveDeletesOnlySourcesNowInTheArchiveAsTheyAre)
{
    zip.MoveFiles = true;
    std::vector<std::wstring> added;
    bool stop = false;
    zip.OnAdding = [&](TZipLib* z, const TZlFileStats& s) {
        added.push_back(s.FileName);
        z->Abort = stop;
    };
    const std::wstring p = StoredPrefix();
    auto sourceOf = [&](std::wstring stored) {
        stored = stored.substr(p.size());
        std::replace(stored.begin(), stored.end(), L'/', L'\\');
        return src + L"\\" + stored;
    };
    // An add that fails deletes nothing.
    stop = true;
    EXPECT_EQ(AddSources(6), 190);
    EXPECT_EQ(FilesIn(src), (std::vector<std::wstring>{L"Grosse.txt", L"empty.txt", L"sub"}));
    EXPECT_EQ(FilesIn(src + L"\\sub"), (std::vector<std::wstring>{L"noise.bin", L"text.txt"}));
    EXPECT_EQ(FilesIn(root), std::vector<std::wstring>{L"src"});

    // A file changed after it was written into the archive stays.
    stop = false;
    added.clear();
    std::string firstBefore;
    zip.OnAdding = [&](TZipLib*, const TZlFileStats& s) {
        added.push_back(s.FileName);
        if (added.size() != 3) return;
        const std::wstring first = sourceOf(added.front());
        firstBefore = ReadAll(first);
        WriteAll(first, "geändert");
        SetTimeFromNow(first, 86400);
    };
    ASSERT_EQ(AddSources(6), 0);
    ASSERT_EQ(added.size(), 4u);
    EXPECT_EQ(ReadAll(sourceOf(added[0])), "geändert");
    for (size_t i = 1; i < added.size(); ++i) EXPECT_EQ(ReadAll(sourceOf(added[i])), "<missing>") << ToUtf8(added[i]);
    const std::wstring target = root + L"\\t";
    zip.ExtractDirectory = target;
    ASSERT_EQ(zip.Extract(0), 0);
    EXPECT_EQ(ReadAll(target + L"\\" + sourceOf(added[0]).substr(3)), firstBefore);
}

TEST_F(ZipLibDll, TheAddOptionsChooseTheFilesAndHowTheyAreStored)
{
    WriteAll(src + L"\\versteckt.txt", "versteckt");
    ASSERT_TRUE(SetFileAttributesW((src + L"\\versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    WriteAll(src + L"\\sub\\alt.txt", "alt");
    SetTimeFromNow(src + L"\\sub\\alt.txt", -20LL * 365 * 86400);
    WriteAll(src + L"\\sub\\innen.zip", std::string(4000, 'z'));
    struct Added {
        std::wstring name;
        int attributes, method;
        bool operator==(const Added&) const = default;
    };
    std::vector<Added> added;
    zip.OnAdding = [&](TZipLib*, const TZlFileStats& s) { added.push_back({s.FileName, s.Attributes, s.Bytes[0]}); };
    auto run = [&](const wchar_t* name, std::initializer_list<std::wstring> lines) {
        added.clear();
        zip.ZipFileName = root + L"\\" + name;
        zip.Recurse = true;
        for (const std::wstring& line : lines) zip.FilesToProcess.Add(line);
        const int result = zip.Add(0);
        std::sort(added.begin(), added.end(), [](const Added& a, const Added& b) { return a.name < b.name; });
        return result;
    };
    const std::wstring p = StoredPrefix();

    // Hidden files and old ones stay out; stored extensions are stored; "<" excludes.
    zip.DateLimit = *TryEncodeDateTime(DateParts{2010, 1, 1, 0, 0, 0, 0});
    EXPECT_EQ(run(L"a.zip", {src + L"\\*.*", L"<*.bin"}), 0);
    EXPECT_EQ(added, (std::vector<Added>{{p + L"Grosse.txt", zaArchive, 8},
                                         {p + L"empty.txt", zaArchive, 0},
                                         {p + L"sub/innen.zip", zaArchive, 0},
                                         {p + L"sub/text.txt", zaArchive, 8}}));

    // "-S" and "-D": hidden files and folder entries; ">" includes only what matches.
    zip.DateLimit = *TryEncodeDateTime(DateParts{1980, 1, 1, 0, 0, 0, 0});
    zip.IncludeHiddenFiles = zip.IncludeDirectoryEntries = true;
    EXPECT_EQ(run(L"b.zip", {src + L"\\*.*"}), 0);
    ASSERT_EQ(added.size(), 8u);
    EXPECT_EQ(added[2], (Added{p + L"sub/", zaDirectory, 0}));
    EXPECT_EQ(added.back(), (Added{p + L"versteckt.txt", zaHidden | zaArchive, 8}));
    EXPECT_EQ(run(L"c.zip", {src + L"\\*.*", L">*\\sub\\*.txt"}), 0);
    EXPECT_EQ(added, (std::vector<Added>{{p + L"sub/alt.txt", zaArchive, 8}, {p + L"sub/text.txt", zaArchive, 8}}));

    // Without paths only the names are stored.
    zip.IncludeHiddenFiles = zip.IncludeDirectoryEntries = false;
    zip.UsePaths = false;
    EXPECT_EQ(run(L"d.zip", {src + L"\\sub\\*.txt"}), 0);
    EXPECT_EQ(added, (std::vector<Added>{{L"alt.txt", zaArchive, 8}, {L"text.txt", zaArchive, 8}}));
    zip.UsePaths = true;

    // "-&" is refused before anything is written.
    zip.ClearDisks = true;
    EXPECT_EQ(run(L"e.zip", {src + L"\\*.*"}), 520);
    EXPECT_EQ(ReadAll(root + L"\\e.zip"), "<missing>");
    EXPECT_TRUE(added.empty());
}

TEST_F(ZipLibDll, ATemporaryFolderTakesTheNewArchiveUntilItIsWhole)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::wstring temp = root + L"\\tmp";
    CreateDirectoryW(temp.c_str(), nullptr);
    std::vector<std::wstring> inTemp, inRoot;
    auto look = [&] {
        inTemp = FilesIn(temp);
        inRoot = FilesIn(root);
    };
    zip.OnUpdating = [&](TZipLib*, const TZlFileStats&) { look(); };
    zip.OnDeleting = [&](TZipLib*, const std::wstring&) { look(); };
    for (int deleting = 0; deleting < 2; ++deleting) {
        inTemp.clear();
        zip.TempPath = temp;
        zip.UseTempFile = deleting != 0;  // an add with "-g" goes through the temporary file as well
        zip.Recurse = true;
        zip.FilesToProcess.Add(deleting ? L"*.txt" : src + L"\\Grosse.txt");
        EXPECT_EQ(deleting ? zip.Delete() : zip.Add(0), 0);
        ASSERT_EQ(inTemp.size(), 1u) << deleting;
        EXPECT_TRUE(inTemp[0].starts_with(L"~zl")) << ToUtf8(inTemp[0]);
        EXPECT_EQ(inRoot, (std::vector<std::wstring>{L"out.zip", L"src", L"tmp"})) << deleting;
        EXPECT_TRUE(FilesIn(temp).empty()) << deleting;
    }
    EXPECT_EQ(Listed(), (std::vector<std::wstring>{StoredPrefix() + L"sub/noise.bin"}));
}

TEST_F(ZipLibDll, AnArchiveIsNeverAddedToItself)
{
    // The archive and the temporary folder inside the folder being added,
    // once new and once with the archive there already.
    zip.ZipFileName = src + L"\\sub\\SELBST.ZIP";
    zip.TempPath = src + L"\\sub";
    for (int round = 0; round < 2; ++round) {
        std::vector<std::wstring> added;
        zip.OnAdding = [&](TZipLib*, const TZlFileStats& s) { added.push_back(s.FileName); };
        zip.OnUpdating = zip.OnAdding;
        ASSERT_EQ(AddSources(0), 0) << round;
        EXPECT_EQ(added.size(), 4u) << round;
        const std::wstring p = StoredPrefix();
        EXPECT_EQ(Listed(), (std::vector<std::wstring>{p + L"Grosse.txt", p + L"empty.txt", p + L"sub/noise.bin",
                                                       p + L"sub/text.txt"}));
        EXPECT_EQ(FilesIn(src + L"\\sub"), (std::vector<std::wstring>{L"SELBST.ZIP", L"noise.bin", L"text.txt"}));
    }
}

// A ZIP of stored entries from an MS-DOS host: name, data, DOS attributes.
struct DosEntry {
    std::string name, data;
    std::uint8_t attributes;
};
std::string DosZip(const std::vector<DosEntry>& entries)
{
    auto put = [](std::string& s, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
    };
    auto crc32 = [](const std::string& data) {
        std::uint32_t c = 0xFFFFFFFF;
        for (unsigned char b : data) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ 0xEDB88320 : c >> 1;
        }
        return ~c;
    };
    std::string zip, central;
    for (const DosEntry& e : entries) {
        std::string fields;  // version, flags, method, time, date, CRC, sizes, name and extra lengths
        put(fields, 10, 2);
        put(fields, 0, 2);
        put(fields, 0, 2);
        put(fields, 0x6000, 2);
        put(fields, 0x58A6, 2);
        put(fields, crc32(e.data), 4);
        put(fields, static_cast<std::uint32_t>(e.data.size()), 4);
        put(fields, static_cast<std::uint32_t>(e.data.size()), 4);
        put(fields, static_cast<std::uint32_t>(e.name.size()), 2);
        put(fields, 0, 2);
        put(central, 0x02014B50, 4);
        put(central, 10, 2);  // made by MS-DOS
        central += fields;
        put(central, 0, 2);  // comment length, first disk, internal attributes
        put(central, 0, 2);
        put(central, 0, 2);
        put(central, e.attributes, 4);
        put(central, static_cast<std::uint32_t>(zip.size()), 4);
        central += e.name;
        put(zip, 0x04034B50, 4);
        zip += fields + e.name + e.data;
    }
    const std::uint32_t start = static_cast<std::uint32_t>(zip.size());
    zip += central;
    put(zip, 0x06054B50, 4);
    put(zip, 0, 4);
    put(zip, static_cast<std::uint32_t>(entries.size()), 2);
    put(zip, static_cast<std::uint32_t>(entries.size()), 2);
    put(zip, static_cast<std::uint32_t>(central.size()), 4);
    put(zip, start, 4);
    put(zip, 0, 2);
    return zip;
}

TEST_F(ZipLibDll, AVolumeLabelEntryIsListedAndTestedButNeverExtracted)
{
    WriteAll(archive, DosZip({{"ZLTEST", "", 0x08}, {"daten.txt", "Daten", 0x20}}));
    std::vector<std::pair<std::wstring, int>> listed;
    zip.OnListing = [&](TZipLib*, const TZlFileStats& s) { listed.emplace_back(s.FileName, s.Attributes); };
    EXPECT_EQ(zip.List(), 0);
    EXPECT_EQ(listed, (std::vector<std::pair<std::wstring, int>>{{L"ZLTEST", zaVolumeLabel}, {L"daten.txt", zaArchive}}));
    EXPECT_EQ(zip.Test(), 0);
    const std::wstring target = root + L"\\t";
    zip.ExtractDirectory = target;
    EXPECT_EQ(zip.Extract(0), 0);
    EXPECT_EQ(FilesIn(target), std::vector<std::wstring>{L"daten.txt"});
    EXPECT_EQ(ReadAll(target + L"\\daten.txt"), "Daten");
}

TEST_F(ZipLibDll, ANameTwiceInAnArchiveFollowsTheOverwriteRuleInANewFolder)
{
    // The folders are new, so the first file is not looked up; the second name
    // (the same file on Windows) must be.
    WriteAll(archive, DosZip({{"neu/Datei.txt", "erste", 0x20}, {"NEU/DATEI.TXT", "zweite", 0x20}}));
    int asked = 0;
    zip.OnReplace = [&](TZipLib*, TZlReplace& r) {
        ++asked;
        r.Answer = 0;  // skip
    };
    zip.ExtractDirectory = root + L"\\t";
    EXPECT_EQ(zip.Extract(0), 40);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ReadAll(root + L"\\t\\neu\\Datei.txt"), "erste");
    EXPECT_EQ(FilesIn(root + L"\\t\\neu"), std::vector<std::wstring>{L"Datei.txt"});
}

// The archives a repair starts from: one cut inside its directory, and one
// whose second local header is broken (only the thorough repair passes it).
std::string CutInsideDirectory(const std::string& whole)
{
    return whole.substr(0, whole.find(std::string("PK\x01\x02", 4)) + 10);
}
std::string BrokenSecondHeader(std::string whole)
{
    whole[whole.find(std::string("PK\x03\x04", 4), 4) + 2] = 'X';
    return whole;
}

TEST_F(ZipLibDll, AFailureAtEachWriteOfARepairLeavesTheArchiveAsItWas)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::string whole = ReadAll(archive);
    auto fault = reinterpret_cast<void(__stdcall*)(int)>(GetProcAddress(GetModuleHandleW(L"ZLZIP32.DLL"), "zltestfault"));
    ASSERT_NE(fault, nullptr);
    for (const bool thorough : {false, true}) {
        const std::string start = thorough ? BrokenSecondHeader(whole) : CutInsideDirectory(whole);
        WriteAll(archive, start);
        int n = 1;
        for (; n < 100; ++n) {
            fault(n);
            const int result = zip.Fix(thorough);
            fault(0);
            if (result == 0) break;
            EXPECT_EQ(result, 150) << thorough << " " << n;
            EXPECT_EQ(ReadAll(archive), start) << thorough << " " << n;
            EXPECT_EQ(FilesIn(root), (std::vector<std::wstring>{L"out.zip", L"src"})) << thorough << " " << n;
        }
        EXPECT_GT(n, 2) << thorough;  // the new archive took more than one write
        EXPECT_EQ(zip.Test(), 0) << thorough;
    }
}

TEST_F(ZipLibDll, AnAbortAtEachMessageOfADeleteOrRepairLeavesTheArchiveAsItWas)
{
    ASSERT_EQ(AddSources(6), 0);
    const std::string whole = ReadAll(archive);
    int seen = 0, stopAt = 0;
    auto count = [&](TZipLib* z) {
        if (++seen == stopAt) z->Abort = true;
    };
    zip.OnDeleting = [&](TZipLib* z, const std::wstring&) { count(z); };
    zip.OnFixing = [&](TZipLib* z, const std::wstring&) { count(z); };
    struct Case {
        const char* what;
        std::string start;
        std::function<int()> run;
    };
    const Case cases[] = {
        {"delete", whole, [&] { zip.FilesToProcess.Add(L"*.txt"); return zip.Delete(); }},
        {"-F", CutInsideDirectory(whole), [&] { return zip.Fix(false); }},
        {"-FF", BrokenSecondHeader(whole), [&] { return zip.Fix(true); }},
    };
    for (const Case& c : cases) {
        for (stopAt = 1; stopAt < 100; ++stopAt) {
            WriteAll(archive, c.start);
            seen = 0;
            const int result = c.run();
            if (seen < stopAt) {
                EXPECT_EQ(result, 0) << c.what;
                break;
            }
            EXPECT_EQ(result, 190) << c.what << " " << stopAt;
            EXPECT_EQ(ReadAll(archive), c.start) << c.what << " " << stopAt;
            EXPECT_EQ(FilesIn(root), (std::vector<std::wstring>{L"out.zip", L"src"})) << c.what << " " << stopAt;
        }
        EXPECT_GT(stopAt, 3) << c.what;  // three entries or more went by
    }
}

TEST_F(ZipLibDll, RepairRebuildsACutArchive)
{
    ASSERT_EQ(AddSources(6), 0);
    std::string data = ReadAll(archive);
    const size_t cut = data.rfind(std::string("PK\x01\x02", 4), data.size());
    ASSERT_NE(cut, std::string::npos);
    WriteAll(archive, data.substr(0, data.find(std::string("PK\x01\x02", 4)) + 10));
    EXPECT_NE(zip.Test(), 0);
    std::vector<std::wstring> fixed;
    zip.OnFixing = [&](TZipLib*, const std::wstring& n) { fixed.push_back(n); };
    EXPECT_EQ(zip.Fix(false), 0);
    EXPECT_EQ(fixed.size(), 4u);
    EXPECT_EQ(zip.Test(), 0);

    // A broken local header stops the walk; the thorough repair finds the rest.
    data = ReadAll(archive);
    const size_t second = data.find(std::string("PK\x03\x04", 4), 4);
    data[second + 2] = 'X';
    WriteAll(archive, data);
    const std::string broken = ReadAll(archive);
    EXPECT_EQ(zip.Fix(false), 110);
    EXPECT_EQ(ReadAll(archive), broken);
    fixed.clear();
    EXPECT_EQ(zip.Fix(true), 0);
    EXPECT_EQ(fixed.size(), 3u);
    EXPECT_EQ(zip.Test(), 0);
}

TEST_F(ZipLibDll, ClimbingNamesStayInsideTheTarget)
{
    zip.ZipFileName = WinePath(VELMORA_SOURCE_DIR "/tests/data/zip-extract/climb.zip");
    const std::wstring target = root + L"\\in\\deep";
    zip.ExtractDirectory = target;
    // Roots and drives are dropped and the rest lands inside; a name that climbs
    // is not written (40) and reported as damaged.
    EXPECT_EQ(zip.Extract(0), 40);
    std::vector<std::wstring> climbing;
    for (const TZlSkipping& s : skips) climbing.push_back(s.FileName + L" " + std::to_wstring(s.Reason));
    EXPECT_EQ(climbing, (std::vector<std::wstring>{L"../oben.txt 6", L"sub/../../raus.txt 6"}));
    EXPECT_EQ(FilesIn(root), (std::vector<std::wstring>{L"in", L"src"}));
    EXPECT_EQ(FilesIn(root + L"\\in"), (std::vector<std::wstring>{L"deep"}));
    EXPECT_EQ(FilesIn(target), (std::vector<std::wstring>{L"innen.txt", L"laufwerk.txt", L"wurzel.txt"}));
}

TEST_F(ZipLibDll, HostileArchivesGiveTheirCodesAndWriteNothingHalf)
{
    auto fixture = [](const char* name) {
        return WinePath((std::string(VELMORA_SOURCE_DIR "/tests/data/zip-extract/") + name).c_str());
    };
    // Sizes that lie: nothing beyond the declared size is written, nothing kept.
    zip.ZipFileName = fixture("oversize.zip");
    zip.ExtractDirectory = root + L"\\over";
    EXPECT_EQ(zip.Extract(0), 160);
    EXPECT_EQ(FilesIn(root + L"\\over"), std::vector<std::wstring>{});
    EXPECT_EQ(zip.Test(), 200);
    // An unknown method next to a good entry.
    zip.ZipFileName = fixture("method7.zip");
    EXPECT_EQ(zip.Test(), 210);
    ASSERT_FALSE(skips.empty());
    EXPECT_EQ(skips.back().Reason, 1);
    // A directory that points past the end of the file.
    std::string data = ReadAll(fixture("level6.zip"));
    const size_t end = data.rfind(std::string("PK\x05\x06", 4));
    data[end + 15] = '\x7F';  // the directory's size
    WriteAll(archive, data);
    zip.ZipFileName = archive;
    EXPECT_EQ(zip.Test(), 110);
    EXPECT_EQ(zip.GetFileCount(), 0);
}

TEST_F(ZipLibDll, DebianFixturesListTestAndExtract)
{
    // The expected contents are the files the fixtures were made from.
    const std::string made = VELMORA_SOURCE_DIR "/tests/data/zip-extract/src/";
    const std::vector<std::wstring> pair{L"data.bin", L"readme.txt"};
    // streamed.zip: encrypted, sizes in data descriptors, read from a pipe ("-").
    const std::vector<std::pair<const char*, std::vector<std::wstring>>> fixtures{
        {"level0.zip", pair}, {"level6.zip", pair}, {"level9.zip", pair},
        {"folders.zip", {L"readme.txt", L"sub/", L"sub/deep/", L"sub/deep/notiz.txt", L"sub/liste.txt"}},
        {"streamed.zip", {L"-"}}, {"password.zip", {L"readme.txt", L"sub/liste.txt"}}};
    for (const auto& [name, entries] : fixtures) {
        zip.Password = std::string(name).starts_with("level") || std::string(name) == "folders.zip" ? L"" : L"geheim";
        zip.ZipFileName = WinePath((std::string(VELMORA_SOURCE_DIR "/tests/data/zip-extract/") + name).c_str());
        EXPECT_EQ(Listed(), entries) << name;
        EXPECT_EQ(zip.Test(), 0) << name;
        zip.ExtractDirectory = root + L"\\" + FromUtf8(name);
        EXPECT_EQ(zip.Extract(0), 0) << name;
        for (std::wstring entry : entries) {
            if (entry.ends_with(L"/")) continue;
            const std::wstring source = WinePath((made + ToUtf8(entry == L"-" ? L"readme.txt" : entry)).c_str());
            std::replace(entry.begin(), entry.end(), L'/', L'\\');
            EXPECT_EQ(ReadAll(zip.ExtractDirectory + L"\\" + entry), ReadAll(source)) << name << " " << ToUtf8(entry);
        }
    }
    zip.ZipFileName = WinePath(VELMORA_SOURCE_DIR "/tests/data/zip-extract/badcrc.zip");
    EXPECT_EQ(zip.Test(), 200);
}

TEST(ZipLibMissing, AMissingLibraryGives240WithoutACall)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    SetDllDirectoryW(temp);  // no library there, none beside the test
    TZipLib zip(nullptr);
    zip.ZipFileName = L"x.zip";
    zip.FilesToProcess.Add(L"a");
    EXPECT_EQ(zip.List(), 240);
    EXPECT_EQ(zip.FilesToProcess.Count(), 0);
    EXPECT_EQ(zip.Add(0), 240);
    SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str());
    EXPECT_EQ(zip.GetFileCount(), 0);  // loads now: the failed load was not kept
    EXPECT_EQ(zip.Test(), 100);
}

}  // namespace
