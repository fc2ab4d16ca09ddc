// TZipRoutinen without archives on disk: kinds by extension, the order of
// entries, the folder tree, dates, the result and RAR messages, and the ZIP
// reader's status and progress over a fake zip library.

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ZipRoutinenRecorder.h"
#include "archive/operations/ZipRoutinen.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/Strings.h"
#include "platform/ziplib/ZlApi.h"

using namespace velmora;
using namespace velmora::archive;
using gui::TMsgDlgType;
using ziproutinentest::TRecorderHost;

namespace {

TDateiListe Records(const std::vector<std::wstring>& names) {
    TDateiListe list;
    for (const auto& n : names) {
        auto e = std::make_unique<TEineDatei>();
        e->Name = n;
        e->InArchive = true;
        list.push_back(std::move(e));
    }
    return list;
}

std::vector<std::wstring> Names(const TDateiListe& list) {
    std::vector<std::wstring> names;
    for (const auto& e : list) names.push_back(e->Name);
    return names;
}

std::vector<std::wstring> Names(const TDatenListe& list) {
    std::vector<std::wstring> names;
    for (const auto& e : list) names.push_back(e->Name);
    return names;
}

// The fake zip library: a count, a comment and the entries it lists.
struct FakeEntry {
    std::string name;
    std::uint8_t attributes = 0x20;
    std::uint16_t date = 0x5A21, time = 0x6000;
};
struct FakeArchive {
    std::vector<FakeEntry> entries;
    std::string comment;
    int listResult = 0;
    std::function<void()> perEntry;
    std::vector<std::vector<std::string>> calls;
};
FakeArchive g_fake;

int __stdcall FakeZip(int, int, char**, zl::ZlCallback, void*) { return 500; }

int __stdcall FakeUnzip(int, int argc, char** argv, zl::ZlCallback cb, void* user) {
    std::vector<std::string> args(argv, argv + argc);
    g_fake.calls.push_back(args);
    if (argc == 1) {
        std::int32_t count = static_cast<std::int32_t>(g_fake.entries.size());
        cb(zl::kMsgCount, &count, user);
        return 0;
    }
    if (args[1] == "-z") {
        zl::ZlCommentData c{g_fake.comment.c_str(), static_cast<std::int32_t>(g_fake.comment.size())};
        cb(zl::kMsgComment, &c, user);
        return 0;
    }
    for (const FakeEntry& e : g_fake.entries) {
        zl::ZlFileStatsBlock b{};
        b.name = e.name.c_str();
        b.size = 100;
        b.packedSize = 40;
        b.attributes = e.attributes;
        b.dosDate = e.date;
        b.dosTime = e.time;
        if (cb(zl::kMsgListing, &b, user)) return 190;
        if (g_fake.perEntry) g_fake.perEntry();
    }
    return g_fake.listResult;
}

std::vector<FakeEntry> Entries(int count) {
    std::vector<FakeEntry> entries;
    for (int i = 0; i < count; ++i) entries.push_back({"dir/file" + std::to_string(i) + ".txt"});
    return entries;
}

class ZipRoutinenFixture : public ::testing::Test {
protected:
    void SetUp() override {
        g_fake = FakeArchive{};
        zip.SetEntries(&FakeZip, &FakeUnzip);
        zip.OnListing = [this](TZipLib*, const TZlFileStats& s) { routines.AddXZipEntry(s); };
        routines.DriveType = [this](const std::wstring& root) {
            drivesAsked.push_back(root);
            return driveType;
        };
    }

    void Open(TDateiListe& list, std::wstring name = L"C:\\daten\\test.zip") {
        routines.OpenArchive(ftZip, name, daten, list);
    }

    TRecorderHost host;
    TZipLib zip{nullptr};
    arc::TArcLister lister;
    TZipRoutinen routines{host, zip, lister};
    TArchivDaten daten;
    gui::TMessageBoxRecorder boxes;
    unsigned driveType = DRIVE_FIXED;
    std::vector<std::wstring> drivesAsked;
};

}  // namespace

TEST(ZipRoutinenKinds, MissingFilesAreJudgedByTheirExtension) {
    TRecorderHost host;
    TZipLib zip(nullptr);
    arc::TArcLister lister;
    TZipRoutinen routines(host, zip, lister);
    const std::pair<const wchar_t*, int> cases[] = {
        {L"C:\\nirgends\\x.zip", 5}, {L"C:\\nirgends\\x.ICE", 7}, {L"C:\\nirgends\\x.tar", 0},
        {L"C:\\nirgends\\x.Arj", 6}, {L"C:\\nirgends\\x.lzh", 7},  {L"C:\\nirgends\\x.rar", 8},
        {L"C:\\nirgends\\x.pak", 9}, {L"C:\\nirgends\\x.arc", 9},  {L"C:\\nirgends\\x.zoo", 10},
        {L"C:\\nirgends\\x.exe", 0}, {L"C:\\nirgends\\zip", 0},
    };
    for (const auto& [name, kind] : cases) {
        std::uint8_t k = 99;
        EXPECT_EQ(routines.GetArchiveType(name, k), kind != 0) << ToUtf8(name);
        EXPECT_EQ(k, kind) << ToUtf8(name);
    }
}

TEST(ZipRoutinenSort, LeadingBackslashIgnoredAndCaseFolded) {
    TDateiListe list = Records({L"\\a\\c.txt", L"Z.txt", L"a\\B.txt", L"\\b.txt", L"0"});
    TZipRoutinen::SortEntries(list, 0, 3);
    EXPECT_EQ(Names(list),
              (std::vector<std::wstring>{L"a\\B.txt", L"\\a\\c.txt", L"\\b.txt", L"Z.txt", L"0"}));  // only 0..3
}

TEST(ZipRoutinenSort, CraftedOrdersStaySortable) {
    const int n = 200000;
    // Each middle element is the smallest of its range, again and again.
    std::vector<int> keys(n);
    for (int i = 0; i < n; ++i) keys[i] = i;
    for (int i = n - 1; i > 0; --i) std::swap(keys[i], keys[i / 2]);
    std::vector<std::wstring> names;
    for (int k : keys) {
        wchar_t text[16];
        swprintf(text, 16, L"%07d", k);
        names.push_back(text);
    }
    TDateiListe list = Records(names);
    TZipRoutinen::SortEntries(list, 0, n - 1);
    for (int i = 0; i < n; ++i) ASSERT_EQ(std::stoi(list[static_cast<size_t>(i)]->Name), i);

    std::wstring deep;
    for (int i = 0; i < 30000; ++i) deep += L"d\\";
    TDateiListe deepList = Records({deep + L"z.txt", L"b.txt", deep + L"a.txt", L"a.txt"});
    TZipRoutinen::SortEntries(deepList, 0, 3);
    EXPECT_EQ(Names(deepList), (std::vector<std::wstring>{L"a.txt", L"b.txt", deep + L"a.txt", deep + L"z.txt"}));
}

TEST(ZipRoutinenTree, FoldersFirstExample) {
    TDateiListe flat = Records({L"a\\b\\c.txt", L"a\\d.txt", L"e.txt"});
    TDatenListe root;
    TZipRoutinen::BuildFolderTree(flat, root, true);
    ASSERT_EQ(Names(root), (std::vector<std::wstring>{L"a", L"e.txt"}));
    TDatenSatz& a = *root[0];
    EXPECT_EQ(a.Attr, 16);
    ASSERT_NE(a.Unterverzeichnis, nullptr);
    EXPECT_EQ(root[1]->Unterverzeichnis, nullptr);
    TDatenListe& inA = *a.Unterverzeichnis;
    ASSERT_EQ(Names(inA), (std::vector<std::wstring>{L"..", L"b", L"d.txt"}));
    EXPECT_EQ(inA[0]->Unterverzeichnis, &root);
    TDatenListe& inB = *inA[1]->Unterverzeichnis;
    ASSERT_EQ(Names(inB), (std::vector<std::wstring>{L"..", L"c.txt"}));
    EXPECT_EQ(inB[0]->Unterverzeichnis, &inA);
    // The flat list keeps only the names inside their folders.
    EXPECT_EQ(Names(flat), (std::vector<std::wstring>{L"c.txt", L"d.txt", L"e.txt"}));

    TZipRoutinen::ClearFolderTree(root);
    EXPECT_TRUE(root.empty());
}

TEST(ZipRoutinenTree, FilesAndFoldersInNameOrderWithoutFoldersFirst) {
    TDateiListe flat = Records({L"a.txt", L"B\\x.txt", L"b\\y.txt", L"c.txt", L"d\\z.txt"});
    TDatenListe root;
    TZipRoutinen::BuildFolderTree(flat, root, false);
    // Folders compare case-insensitively: "B" and "b" are one folder.
    ASSERT_EQ(Names(root), (std::vector<std::wstring>{L"a.txt", L"B", L"c.txt", L"d"}));
    EXPECT_EQ(Names(*root[1]->Unterverzeichnis), (std::vector<std::wstring>{L"..", L"x.txt", L"y.txt"}));
    // Building again frees the old tree first.
    TDateiListe again = Records({L"q.txt"});
    TZipRoutinen::BuildFolderTree(again, root, false);
    EXPECT_EQ(Names(root), (std::vector<std::wstring>{L"q.txt"}));
}

TEST(ZipRoutinenTree, ThirtyThousandFoldersDeepNeitherOverflowNorCrawl) {
    std::wstring deep;
    const int depth = 30000;
    for (int i = 0; i < depth; ++i) deep += L"d\\";
    TDateiListe flat = Records({deep + L"a.txt", deep + L"b.txt", L"top.txt"});
    TDatenListe root;
    TZipRoutinen::BuildFolderTree(flat, root, true);
    int levels = 0;
    TDatenListe* list = &root;
    while (list && !list->empty() && (*list)[list == &root ? 0 : 1]->Name == L"d") {
        list = (*list)[list == &root ? 0 : 1]->Unterverzeichnis;
        ++levels;
    }
    EXPECT_EQ(levels, depth);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"..", L"a.txt", L"b.txt"}));
    EXPECT_EQ(Names(flat), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"top.txt"}));
    TZipRoutinen::ClearFolderTree(root);
    EXPECT_TRUE(root.empty());
    // A tree let go without ClearFolderTree frees itself the same way.
    TDateiListe flat2 = Records({deep + L"a.txt"});
    auto owner = std::make_unique<TDatenListe>();
    TZipRoutinen::BuildFolderTree(flat2, *owner, false);
    owner.reset();
}

TEST(ZipRoutinenDates, DatesThatDoNotExistGiveFirstOf1980) {
    const TDateTime first1980 = *TryEncodeDateTime({1980, 1, 1});
    EXPECT_EQ(TZipRoutinen::DosDateTimeToDateTime(0, 0), first1980);
    EXPECT_EQ(TZipRoutinen::DosDateTimeToDateTime((10 << 9) | (2 << 5) | 31, 0), first1980);   // 31 February
    EXPECT_EQ(TZipRoutinen::DosDateTimeToDateTime((10 << 9) | (13 << 5) | 1, 0), first1980);   // month 13
    EXPECT_EQ(TZipRoutinen::DosDateTimeToDateTime((10 << 9) | (1 << 5) | 1, 24 << 11), first1980);
    const DateParts p =
        DecodeDateTime(TZipRoutinen::DosDateTimeToDateTime((45 << 9) | (3 << 5) | 7, (13 << 11) | (14 << 5) | 15));
    EXPECT_EQ(p.year, 2025);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 7);
    EXPECT_EQ(p.hour, 13);
    EXPECT_EQ(p.minute, 14);
    EXPECT_EQ(p.second, 30);
}

TEST(ZipRoutinenMessages, EveryZipResult) {
    struct Case {
        int code;
        int result;
        TMsgDlgType type;
        const wchar_t* text;  // nullptr: no box
    };
    const auto E = TMsgDlgType::mtError;
    const auto I = TMsgDlgType::mtInformation;
    const Case cases[] = {
        {0, 0, E, nullptr},
        {-3, 0, E, nullptr},
        {10, 1, E, nullptr},
        {30, 1, E, nullptr},
        {140, 1, E, nullptr},
        {40, 1, I, L"Einige Dateien wurden während des Testvorgangs übersprungen."},
        {100, 2, E, L"Archivdatei wurde nicht gefunden."},
        {110, 2, E, L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren."},
        {160, 2, E, L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren."},
        {120, 2, E, L"Nicht genügend Speicher für Testvorgang."},
        {150, 2, E, L"Nicht genügend Speicher auf Datenträger für Testvorgang."},
        {180, 2, E,
         L"Eine andere Anwendung führt gerade eine ähnliche Aktion aus. Warten Sie bis diese Anwendung seine "
         L"Aktionen beendet hat."},
        {190, 2, I, L"Der Testvorgang wurde abgebrochen."},
        {200, 2, E, L"Test mißlang, Archiv fehlerhaft!"},
        {210, 2, E, L"Nicht alle Dateien im Archiv konnten getestet werden."},
        {240, 2, E,
         L"Die Laufzeitbibliotheken des Zip-Packers, \"ZLZIP32.DLL\" und \"ZLUNZ32.DLL\", wurden nicht gefunden."},
        {280, 2, E, L"Problem mit der temporären Datei."},
        {350, 2, E, L"Versuch, ein übergeordnetes Verzeichnis zu löschen."},
        {370, 2, E, L"Einige Dateinamen kommen im Archiv doppelt vor."},
        {380, 2, E, L"Konnte Archivdatum nicht aktualisieren. Das Archiv ist vermutlich leer."},
        {400, 2, E, L"Auf das Archiv oder eine zu bearbeitende Datei konnte nicht zugegriffen werden."},
        {430, 2, E, L"Fehler während des Testvorgangs."},
        {1, 2, E, L"Fehler während des Testvorgangs."},
    };
    for (const Case& c : cases) {
        gui::TMessageBoxRecorder boxes;
        EXPECT_EQ(TZipRoutinen::ShowZipResult(c.code, L"Testvorgang"), c.result) << c.code;
        if (!c.text) {
            EXPECT_TRUE(boxes.Calls().empty()) << c.code;
            continue;
        }
        ASSERT_EQ(boxes.Calls().size(), 1u) << c.code;
        EXPECT_EQ(boxes.Calls()[0].Text, c.text);
        EXPECT_EQ(boxes.Calls()[0].Type, c.type) << c.code;
        EXPECT_EQ(boxes.Calls()[0].Buttons, gui::TMsgDlgButtons{gui::TMsgDlgBtn::mbOK}) << c.code;
        EXPECT_EQ(boxes.Calls()[0].HelpContext, 0) << c.code;
    }
}

TEST(ZipRoutinenMessages, EveryRarText) {
    const std::pair<int, const wchar_t*> open[] = {
        {11, L"Nicht genügend Speicher zum Öffnen des Archives."},
        {12, L"Archivheader von \"mein archiv.rar\" beschädigt."},
        {13, L"\"mein archiv.rar\" ist kein RAR-Archiv."},
        {15, L"Konnte Archiv \"mein archiv.rar\" nicht öffnen."},
        {99, L""},
    };
    for (const auto& [code, text] : open) {
        gui::TMessageBoxRecorder boxes;
        TZipRoutinen::RarOpenErrorText(code, L"C:\\Ablage\\Mein Archiv.RAR");
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].Text, text);
        EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
    }
    const std::pair<int, const wchar_t*> process[] = {
        {12, L"Fehler beim Lesen des Archives:\rArchiv ist fehlerhaft oder verschlüsselt (unkorrekte Checksumme)."},
        {13, L"Fehler beim Lesen des Archives: Archiv defekt."},
        {14, L"Fehler beim Lesen des Archives: Unbekanntes Archivformat."},
        {15, L"Fehler beim Öffnen des Archives."},
        {16, L"Fehler beim Erstellen einer neuen Datei."},
        {17, L"Fehler beim Schließen des Archives."},
        {18, L"Fehler beim Lesen aus dem Archiv."},
        {19, L"Fehler beim Schreiben in das Zielverzeichnis."},
        {20, L""},
    };
    for (const auto& [code, text] : process) {
        gui::TMessageBoxRecorder boxes;
        TZipRoutinen::RarProcessErrorText(code, L"Fehler beim Lesen des Archives");
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].Text, text);
        EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
    }
}

TEST_F(ZipRoutinenFixture, FiftyEntriesShowNoCountAndNoPanel) {
    g_fake.entries = Entries(50);
    g_fake.comment = "Kommentar";
    TDateiListe list;
    Open(list);
    EXPECT_EQ(list.size(), 50u);
    EXPECT_EQ(daten.Anzahl, 50);
    EXPECT_EQ(daten.OrigGroesse, 5000);
    EXPECT_EQ(daten.KompGroesse, 2000);
    EXPECT_EQ(daten.Kommentar, L"Kommentar");
    EXPECT_FALSE(host.Logged(L"panel shown"));
    for (const auto& l : host.Log) EXPECT_NE(l.rfind(L"panel0=Lese", 0), 0u) << ToUtf8(l);
    EXPECT_TRUE(host.Restored());
    EXPECT_TRUE(boxes.Calls().empty());
    // The records: "\" for "/", sorted, the archive's path, a 1980-or-later date.
    EXPECT_EQ(list[0]->Name, L"dir\\file0.txt");
    EXPECT_EQ(list[1]->Name, L"dir\\file1.txt");
    EXPECT_EQ(list[2]->Name, L"dir\\file10.txt");
    EXPECT_EQ(list[0]->ArchivPfad, L"C:\\daten\\test.zip");
    EXPECT_TRUE(list[0]->InArchive);
    EXPECT_EQ(list[0]->Attr, 0);
}

TEST_F(ZipRoutinenFixture, FiftyOneEntriesShowTheCountAndThePanelButNoSteps) {
    g_fake.entries = Entries(51);
    std::vector<std::wstring> seenDuringListing;
    g_fake.perEntry = [&] {
        if (seenDuringListing.empty())
            seenDuringListing = {host.Panels[0], host.PanelShown ? L"shown" : L"hidden",
                                 host.AbortEnabled ? L"abort" : L"-", std::to_wstring(host.ProgressMax)};
    };
    TDateiListe list;
    Open(list);
    EXPECT_EQ(seenDuringListing, (std::vector<std::wstring>{L"Lese 51 Einträge...", L"shown", L"abort", L"51"}));
    EXPECT_EQ(host.PositionChanges, 1);  // only the reset at the end
    EXPECT_TRUE(host.Restored());
    EXPECT_EQ(list.size(), 51u);
}

TEST_F(ZipRoutinenFixture, ProgressMovesByWholePercents) {
    g_fake.entries = Entries(5000);
    int highest = 0;
    g_fake.perEntry = [&] { highest = std::max(highest, host.ProgressPosition); };
    TDateiListe list;
    Open(list);
    EXPECT_EQ(highest, 5000);
    EXPECT_EQ(host.PositionChanges, 100 + 1);
    EXPECT_TRUE(host.Restored());
}

TEST_F(ZipRoutinenFixture, NoStatusOrProgressDuringOtherArchiveWork) {
    g_fake.entries = Entries(500);
    host.WorkRunning = true;
    TDateiListe list;
    Open(list);
    EXPECT_EQ(list.size(), 500u);
    EXPECT_FALSE(host.Logged(L"panel shown"));
    EXPECT_FALSE(host.Logged(L"panel0=Lese 500 Einträge..."));
    EXPECT_EQ(host.PositionChanges, 1);
}

TEST_F(ZipRoutinenFixture, FolderEntriesAndNamelessEntriesGiveNoRows) {
    g_fake.entries = {{"proj/", 0x10}, {"proj/sub/", 0x20}, {"", 0x20}, {"proj/a.txt"}};
    TDateiListe list;
    Open(list);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"proj\\a.txt"}));
    EXPECT_EQ(daten.Anzahl, 4);  // the library's count, folders and all
}

TEST_F(ZipRoutinenFixture, MultidiskModeOnRemovableDrivesOnly) {
    g_fake.entries = Entries(2);
    bool multidiskDuringListing = false;
    g_fake.perEntry = [&] { multidiskDuringListing = zip.MultidiskMode; };
    driveType = DRIVE_REMOVABLE;
    TDateiListe list;
    Open(list, L"A:\\x.zip");
    EXPECT_TRUE(multidiskDuringListing);
    EXPECT_FALSE(zip.MultidiskMode);
    EXPECT_EQ(drivesAsked, (std::vector<std::wstring>{L"A:\\"}));
    EXPECT_EQ(g_fake.calls.back()[1], "-v");
    EXPECT_EQ(g_fake.calls.back()[2], "-!");

    driveType = DRIVE_FIXED;
    Open(list, L"C:\\x.zip");
    EXPECT_FALSE(multidiskDuringListing);
    drivesAsked.clear();
    Open(list, L"\\\\server\\share\\x.zip");
    EXPECT_TRUE(drivesAsked.empty());
}

TEST_F(ZipRoutinenFixture, FailedListingKeepsItsEntriesAndSaysSo) {
    g_fake.entries = Entries(3);
    g_fake.listResult = 110;
    TDateiListe list;
    Open(list);
    EXPECT_EQ(list.size(), 3u);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren.");

    // Nothing listed, "not found" stays silent: only the reading's own message.
    boxes.Clear();
    g_fake.entries.clear();
    g_fake.listResult = 100;
    Open(list);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Fehler beim Öffnen des Archives!");
    EXPECT_TRUE(host.Restored());
}

TEST_F(ZipRoutinenFixture, SecondOpenWhileListingOnlyBeeps) {
    g_fake.entries = Entries(3);
    TDateiListe inner = Records({L"bleibt"});
    TArchivDaten innerDaten;
    innerDaten.Anzahl = 7;
    bool runningSeen = false;
    g_fake.perEntry = [&] {
        if (runningSeen) return;
        runningSeen = routines.ListingRunning();
        std::wstring name = L"C:\\other.zip";
        routines.OpenArchive(ftZip, name, innerDaten, inner);
    };
    TDateiListe list;
    Open(list);
    EXPECT_TRUE(runningSeen);
    EXPECT_EQ(host.Beeps, 1);
    EXPECT_EQ(Names(inner), (std::vector<std::wstring>{L"bleibt"}));
    EXPECT_EQ(innerDaten.Anzahl, 7);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_FALSE(routines.ListingRunning());
}

TEST_F(ZipRoutinenFixture, EventsOutsideAListingAddNothing) {
    TDateiListe list;
    routines.ZipTarget = &list;
    TZlFileStats stats;
    stats.FileName = L"x.txt";
    routines.AddXZipEntry(stats);
    EXPECT_TRUE(list.empty());
}

TEST_F(ZipRoutinenFixture, KindsWithoutAReaderGiveTheMessage) {
    TDateiListe list = Records({L"alt"});
    std::wstring name = L"C:/daten/x.tar";
    routines.OpenArchive(0, name, daten, list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(name, L"C:\\daten\\x.tar");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Fehler beim Öffnen des Archives!");
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
}

namespace {

TEST(ArchivePathMatcher, ANameMeansOneEntryAndAMaskItsFolderAndThoseBelow) {
    struct Case {
        const wchar_t* entry;
        const wchar_t* name;
        bool match;
    };
    const Case cases[] = {
        {L"a.txt", L"a.txt", true},
        {L"docs\\a.txt", L"a.txt", false},
        {L"\\Docs\\A.TXT", L"docs/a.txt", true},
        {L"my.docs\\x.txt", L"my.docs\\*.*", true},
        {L"my.docs\\sub\\x.txt", L"my.docs\\*.*", true},
        {L"my.other\\x.txt", L"my.docs\\*.*", false},
        {L"my.docsx\\x.txt", L"my.docs\\*.*", false},
        {L"tief\\unten\\x.txt", L"*.txt", true},
        {L"x.doc", L"*.txt", false},
        {L"docs\\a.txt", L"\\docs\\?.txt", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TZipRoutinen::MatchesArchivePath(c.entry, c.name), c.match) << ToUtf8(c.entry) << " " << ToUtf8(c.name);
}

}  // namespace
