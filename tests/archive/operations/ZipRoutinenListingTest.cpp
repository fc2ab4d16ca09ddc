// TZipRoutinen on real archives: every kind from 5 to 14 lists what arctool
// lists (RAR 5 and ZOO folders what their generators wrote), with kinds,
// comments and totals; damaged and hostile archives end with their German
// messages, leave the status line as it was and change nothing on disk.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "ArcTool.h"
#include "ZipRoutinenRecorder.h"
#include "archive/operations/ZipRoutinen.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;
using ziproutinentest::TRecorderHost;

namespace {

std::wstring WinePath(const std::string& unixPath) {
    std::wstring p = L"Z:" + FromUtf8(unixPath);
    std::replace(p.begin(), p.end(), L'/', L'\\');
    return p;
}

std::string Fixture(const std::string& relative) { return std::string(VELMORA_SOURCE_DIR "/tests/data/") + relative; }

std::string DateText(TDateTime date) {
    const DateParts p = DecodeDateTime(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                  p.second);
    return text;
}

struct Row {
    std::wstring name;
    long long size = 0, packed = 0;
    std::string date;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& r) {
    return os << ToUtf8(r.name) << " " << r.size << " " << r.packed << " " << r.date;
}

std::wstring Key(const std::wstring& name) {
    return SystemLower(!name.empty() && name.front() == L'\\' ? name.substr(1) : name);
}

void SortRows(std::vector<Row>& rows) {
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return std::make_tuple(Key(a.name), a.size, a.date) < std::make_tuple(Key(b.name), b.size, b.date);
    });
}

// arctool list, in-process: the entries that are no folders.
std::vector<Row> ArcToolRows(const std::string& archive, int& allLines) {
    std::ostringstream out, err;
    EXPECT_EQ(arctool::ArcToolMain({"list", ToUtf8(WinePath(archive))}, out, err), 0) << archive << err.str();
    std::vector<Row> rows;
    std::istringstream lines(out.str());
    std::string line;
    allLines = 0;
    while (std::getline(lines, line)) {
        ++allLines;
        std::vector<std::string> f;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) f.push_back(cell);
        if (f.size() != 7 || f[6] == "dir") continue;
        std::wstring name = FromUtf8(f[0]);
        std::replace(name.begin(), name.end(), L'/', L'\\');
        rows.push_back({name, std::stoll(f[1]), std::stoll(f[2]), f[5]});
    }
    return rows;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class ZipRoutinenListing : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }

    void SetUp() override {
        zip.OnListing = [this](TZipLib*, const TZlFileStats& s) { routines.AddXZipEntry(s); };
        lister.OnRead = [this](arc::TArcBase*, int) { routines.AddArcListerEntry(lister); };
        lister.OnTotals = [this](arc::TArcBase*, int) { routines.SetArchiveComment(lister.ArchiveComment); };
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        scratch = std::wstring(temp) + L"ziproutinen-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(scratch.c_str(), nullptr);
    }
    void TearDown() override {
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((scratch + L"\\*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileW((scratch + L"\\" + d.cFileName).c_str());
            while (FindNextFileW(h, &d));
            FindClose(h);
        }
        RemoveDirectoryW(scratch.c_str());
    }

    std::vector<Row> List(std::uint8_t kind, const std::wstring& archive) {
        list.clear();
        std::wstring name = archive;
        routines.OpenArchive(kind, name, daten, list);
        std::vector<Row> rows;
        for (const auto& e : list) {
            rows.push_back({e->Name, e->Size, e->CompressedSize, DateText(e->Time)});
            EXPECT_EQ(e->ArchivPfad, archive);
            EXPECT_TRUE(e->InArchive);
        }
        // OpenArchive hands the entries over sorted.
        for (size_t i = 1; i < list.size(); ++i)
            EXPECT_LE(Key(list[i - 1]->Name), Key(list[i]->Name)) << ToUtf8(archive);
        return rows;
    }

    // A copy of a fixture cut to Size bytes, or with Data as its whole contents.
    std::wstring Scratch(const std::string& name, const std::string& data) {
        const std::wstring path = scratch + L"\\" + FromUtf8(name);
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(h);
        return path;
    }

    bool ShowedReading() const {
        for (const auto& line : host.Log)
            if (line.find(L"=Lese") != std::wstring::npos) return true;
        return false;
    }

    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const auto& c : boxes.Calls()) texts.push_back(c.Text);
        return texts;
    }

    TRecorderHost host;
    TZipLib zip{nullptr};
    arc::TArcLister lister;
    TZipRoutinen routines{host, zip, lister};
    TArchivDaten daten;
    TDateiListe list;
    gui::TMessageBoxRecorder boxes;
    std::wstring scratch;
};

}  // namespace

TEST_F(ZipRoutinenListing, EveryKindListsWhatArcToolLists) {
    struct Case {
        const char* fixture;
        int kind;
    };
    // Each reader's own text in panel 1 (the ZIP reader shows counts only above 50 entries).
    const std::wstring lister = L"Lese Dateien aus Archiv...", rar = L"Lese Rar-Archiv...";
    const std::wstring texts[] = {L"", lister, lister, rar, lister, L"Lese Zoo-Archiv...", lister, lister, rar, lister};
    const Case cases[] = {
        {"archive/comment.zip", 5},   {"archive/methods.zip", 5},  {"zip-extract/folders.zip", 5},
        {"zip-extract/zip64.zip", 5},
        {"archive/folders.arj", 6},   {"archive/methods.arj", 6},  {"archive/level1.lzh", 7},
        {"archive/level2.lzh", 7},    {"archive/blocks.rar", 8},
        {"archive/methods.arc", 9},   {"archive/files.pak", 9},    {"archive/files.zoo", 10},
        {"readers/archives/zoo_methods.zoo", 10},                  {"readers/archives/zoo_special.zoo", 10},
        {"archive/zipsfx.exe", 11},   {"archive/arjsfx.exe", 12},  {"archive/rarsfx.exe", 13},
        {"archive/arcsfx.exe", 14}, {"archive/paksfx.exe", 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::wstring path = WinePath(Fixture(c.fixture));
        const std::string before = ReadAll(Fixture(c.fixture));
        WIN32_FILE_ATTRIBUTE_DATA attrBefore{}, attrAfter{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attrBefore);
        host.Log.clear();
        std::uint8_t kind = 0;
        EXPECT_TRUE(routines.GetArchiveType(path, kind));
        EXPECT_EQ(kind, c.kind);
        int allLines = 0;
        std::vector<Row> expected = ArcToolRows(Fixture(c.fixture), allLines);
        ASSERT_FALSE(expected.empty());
        std::vector<Row> rows = List(static_cast<std::uint8_t>(c.kind), path);
        SortRows(expected);
        SortRows(rows);
        EXPECT_EQ(rows, expected);
        long long size = 0, packed = 0;
        for (const Row& r : rows) size += r.size, packed += r.packed;
        EXPECT_EQ(daten.OrigGroesse, size);
        EXPECT_EQ(daten.KompGroesse, packed);
        // ZIP counts what the library counts, folders and all; the others their file rows.
        EXPECT_EQ(daten.Anzahl, c.kind == 5 ? allLines : static_cast<int>(rows.size()));
        EXPECT_TRUE(boxes.Calls().empty()) << ToUtf8(boxes.Calls().empty() ? L"" : boxes.Calls()[0].Text);
        EXPECT_TRUE(host.Restored());
        const std::wstring& text = texts[c.kind - 5];
        EXPECT_TRUE(text.empty() ? !ShowedReading() : host.Logged(L"panel1=" + text));
        // Listing reads only.
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attrAfter);
        EXPECT_EQ(ReadAll(Fixture(c.fixture)), before);
        EXPECT_EQ(CompareFileTime(&attrBefore.ftLastWriteTime, &attrAfter.ftLastWriteTime), 0);
    }
    // No reader texts while other archive work runs.
    host.Log.clear();
    host.WorkRunning = true;
    List(ftRar, WinePath(Fixture("archive/blocks.rar")));
    EXPECT_FALSE(ShowedReading());
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(ZipRoutinenListing, CommentsOfEveryFormatThatHasThem) {
    List(ftZip, WinePath(Fixture("archive/comment.zip")));
    EXPECT_EQ(daten.Kommentar, L"An archive comment.");
    List(ftRar, WinePath(Fixture("archive/stored4.rar")));
    EXPECT_EQ(daten.Kommentar, L"Kommentar des Archivs");
    auto noted = std::find_if(list.begin(), list.end(), [](const auto& e) { return e->Name == L"noted.txt"; });
    ASSERT_NE(noted, list.end());
    EXPECT_EQ((*noted)->Kommentar, L"Dateikommentar");
    List(ftRar, WinePath(Fixture("archive/oldcomment.rar")));
    EXPECT_EQ(daten.Kommentar, L"Alter Kommentar");
    List(ftZip, WinePath(Fixture("archive/methods.zip")));
    EXPECT_EQ(daten.Kommentar, L"");
    EXPECT_TRUE(boxes.Calls().empty());
}

// The lister reads the entry with high size words wrongly (an empty name of 16
// bytes): these RAR 4 archives are checked against their generator instead.
TEST_F(ZipRoutinenListing, RarFourWithHighSizesAsItsGeneratorWroteIt) {
    const long long guide = static_cast<long long>(ReadAll(Fixture("archive/src/docs/guide.txt")).size());
    for (const char* fixture : {"archive/stored4.rar", "archive/stored4sfx.exe"}) {
        SCOPED_TRACE(fixture);
        std::uint8_t kind = 0;
        const std::wstring path = WinePath(Fixture(fixture));
        routines.GetArchiveType(path, kind);
        const std::vector<Row> expected = {
            {L"docs\\guide.txt", guide, guide, "2021-07-04 12:34:56"},
            {L"hdronly-best.bin", 4000, 40, "2024-03-15 10:20:30"},
            {L"hdronly-huge.bin", (1LL << 32) + 16, 16, "1999-12-31 23:59:58"},
            {L"locked.txt", 6, 6, "2024-03-15 10:20:30"},
            {L"noted.txt", 4, 4, "2024-03-15 10:20:30"},
            {L"stored.txt", 1160, 1160, "1999-12-31 23:59:58"},
        };
        EXPECT_EQ(List(kind, path), expected);
        EXPECT_EQ(daten.Anzahl, 6);
        EXPECT_EQ(daten.OrigGroesse, guide + 4000 + (1LL << 32) + 16 + 6 + 4 + 1160);
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ZipRoutinenListing, RarFiveAsItsGeneratorWroteIt) {
    const long long guide = static_cast<long long>(ReadAll(Fixture("archive/src/docs/guide.txt")).size());
    const long long readme = static_cast<long long>(ReadAll(Fixture("archive/src/readme.txt")).size());
    for (const char* fixture : {"archive/stored5.rar", "archive/stored5sfx.exe"}) {
        SCOPED_TRACE(fixture);
        std::uint8_t kind = 0;
        const std::wstring path = WinePath(Fixture(fixture));
        routines.GetArchiveType(path, kind);
        std::vector<Row> rows = List(kind, path);
        ASSERT_EQ(rows.size(), 5u);
        // The folder "docs" gives no row; a name ends at its first NUL.
        EXPECT_EQ(rows[0].name, L"cut.txt");
        EXPECT_EQ(rows[0].size, readme);
        EXPECT_EQ(rows[1].name, L"docs\\guide.txt");
        EXPECT_EQ(rows[1].size, guide);
        EXPECT_EQ(rows[2].name, L"hdronly-best.bin");
        EXPECT_EQ(rows[2].size, 6LL << 30);
        EXPECT_EQ(rows[2].packed, 40);
        EXPECT_EQ(rows[3].name, L"locked.txt");
        EXPECT_EQ(rows[4].name, L"stored.txt");
        EXPECT_EQ(rows[4].size, 1160);
        EXPECT_EQ(daten.Kommentar, L"Kommentar für RAR 5");
        EXPECT_EQ(daten.OrigGroesse, readme + guide + (6LL << 30) + 6 + 1160);
        EXPECT_EQ(daten.Anzahl, 5);
    }
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ZipRoutinenListing, ZooFoldersLongNamesAndDates) {
    const std::wstring path = WinePath(Fixture("archive/folders.zoo"));
    std::uint8_t kind = 0;
    EXPECT_TRUE(routines.GetArchiveType(path, kind));
    EXPECT_EQ(kind, ftZoo);
    std::vector<Row> rows = List(ftZoo, path);
    const long long readme = static_cast<long long>(ReadAll(Fixture("archive/src/readme.txt")).size());
    const long long guide = static_cast<long long>(ReadAll(Fixture("archive/src/docs/guide.txt")).size());
    const std::vector<Row> expected = {
        {L"docs\\guide.txt", guide, guide, "2021-07-04 12:34:56"},
        {L"docs\\sub\\LANGER~1.TXT", 4, 4, "2021-07-04 12:34:56"},
        {L"nodate.txt", 1, 1, "1980-01-01 00:00:00"},   // 31 February
        {L"old.txt", 3, 3, "2024-03-15 10:20:30"},      // deleted entries are listed too
        {L"readme.txt", readme, readme, "2024-03-15 10:20:30"},  // no variable part: no folder
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(daten.Anzahl, 5);
    EXPECT_TRUE(boxes.Calls().empty());

    // A short name without its end is read up to 255 bytes.
    rows = List(ftZoo, WinePath(Fixture("archive/longname.zoo")));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].name, std::wstring(255, L'N'));
}

TEST_F(ZipRoutinenListing, BadInputsEndWithTheirMessages) {
    const std::string zipData = ReadAll(Fixture("archive/methods.zip"));
    const std::string arjData = ReadAll(Fixture("archive/methods.arj"));
    const std::string rarData = ReadAll(Fixture("archive/stored4.rar"));
    const std::string garbage(3000, '\x5A');
    struct Case {
        std::wstring path;
        int kind;
        std::vector<std::wstring> texts;
        size_t entries;
    };
    const std::wstring open = L"Fehler beim Öffnen des Archives!";
    const std::wstring damaged = L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren.";
    const Case cases[] = {
        {Scratch("garbage.zip", garbage), ftZip, {damaged, open}, 0},
        {Scratch("cut.zip", zipData.substr(0, zipData.size() - 30)), ftZip, {damaged, open}, 0},
        // The lister ends silently where a header is cut off: the entries before it stay.
        {Scratch("cut.arj", arjData.substr(0, 120)), ftArj, {open}, 0},
        {Scratch("cut2.arj", arjData.substr(0, 600)), ftArj, {}, 2},
        {Scratch("cut.rar", rarData.substr(0, rarData.size() - 200)), ftRar,
         {L"Fehler beim Lesen des Archives: Archivheader ist defekt."}, 3},
        {Scratch("kein.rar", garbage), ftRar, {L"\"kein.rar\" ist kein RAR-Archiv.", open}, 0},
        {WinePath(Fixture("archive/brokenhead.rar")), ftRar,
         {L"Fehler beim Lesen des Archives: Archivheader ist defekt."}, 1},
        {WinePath(Fixture("readers/archives/zoo_loop.zoo")), ftZoo, {open}, 2},
        {WinePath(Fixture("archive/selfloop.zoo")), ftZoo, {open}, 1},
        {WinePath(Fixture("archive/pastend.zoo")), ftZoo, {open}, 3},
        {WinePath(Fixture("readers/archives/zoo_badtag.zoo")), ftZoo, {}, 1},
        {WinePath(Fixture("archive/firstnext0.zoo")), ftZoo, {open}, 0},
        {scratch + L"\\fehlt.zoo", ftZoo, {open}, 0},
        {scratch + L"\\fehlt.arj", ftArj, {open}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.path));
        boxes.Clear();
        List(static_cast<std::uint8_t>(c.kind), c.path);
        EXPECT_EQ(Texts(), c.texts);
        EXPECT_EQ(list.size(), c.entries);
        if (list.empty()) {
            EXPECT_EQ(daten.Anzahl, 0);
        }
        EXPECT_TRUE(host.Restored());
    }
}

TEST_F(ZipRoutinenListing, SignatureDecidesOverTheExtensionAndTheListerIsPutBack) {
    const std::wstring arjAsZip = Scratch("arj.zip", ReadAll(Fixture("archive/folders.arj")));
    const std::wstring kept = WinePath(Fixture("archive/files.pak"));
    lister.SetArchiveFile(kept);
    std::uint8_t kind = 0;
    EXPECT_TRUE(routines.GetArchiveType(arjAsZip, kind));
    EXPECT_EQ(kind, ftArj);
    EXPECT_FALSE(routines.GetArchiveType(Scratch("text.zip", "kein Archiv"), kind));
    EXPECT_EQ(kind, 0);
    EXPECT_FALSE(routines.GetArchiveType(WinePath(Fixture("archive/www.tar")), kind));
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(lister.ArchiveFile(), kept);
}

TEST_F(ZipRoutinenListing, ListerExceptionKeepsTheEntriesReadSoFar) {
    int read = 0;
    lister.OnRead = [&](arc::TArcBase*, int) {
        routines.AddArcListerEntry(lister);
        if (++read == 2) throw std::runtime_error("Lesefehler");
    };
    host.CurrentCursor = gui::crDefault;
    std::vector<Row> rows = List(ftArj, WinePath(Fixture("archive/methods.arj")));
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(daten.Anzahl, 2);
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"Fehler beim Öffnen des Archives!"});
    EXPECT_TRUE(host.Restored());
    EXPECT_FALSE(routines.ReaderListing);

    // A volume set whose next part is missing: the lister raises before any entry.
    boxes.Clear();
    lister.OnRead = [this](arc::TArcBase*, int) { routines.AddArcListerEntry(lister); };
    const std::wstring lonely = Scratch("vol.arj", ReadAll(Fixture("archive/vol.arj")));
    EXPECT_TRUE(List(ftArj, lonely).empty());
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"Fehler beim Öffnen des Archives!"});
    EXPECT_TRUE(host.Restored());
}

TEST_F(ZipRoutinenListing, AbortOfARealZipListing) {
    int seen = 0;
    zip.OnListing = [&](TZipLib*, const TZlFileStats& s) {
        routines.AddXZipEntry(s);
        if (++seen == 2) zip.Abort = true;
    };
    EXPECT_TRUE(List(ftZip, WinePath(Fixture("archive/methods.zip"))).empty());
    EXPECT_EQ(Texts(), std::vector<std::wstring>{L"Der Lesevorgang wurde abgebrochen."});
    EXPECT_EQ(daten.Anzahl, 0);
    EXPECT_TRUE(host.Restored());
    // The next listing starts afresh.
    boxes.Clear();
    zip.OnListing = [this](TZipLib*, const TZlFileStats& s) { routines.AddXZipEntry(s); };
    EXPECT_FALSE(List(ftZip, WinePath(Fixture("archive/methods.zip"))).empty());
    EXPECT_TRUE(boxes.Calls().empty());
}
