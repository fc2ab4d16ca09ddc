// The rules of the orphaned-file search and the folder synchronisation: adding
// a mask, the folder checks and weeding, the cluster rounding, the target names,
// the copy decision on real file times and the stored options.

#include <gtest/gtest.h>

#include <windows.h>

#include "filetools/DateiLeichen.h"
#include "filetools/Synchronisieren.h"
#include "foundation/TestFiles.h"

using namespace velmora;
using namespace velmora::test;

namespace {

struct TFragen {
    std::vector<std::wstring> Hinweise, Fragen;
    bool Antwort = true;
    bool Hinzu(std::vector<std::wstring>& Liste, const std::wstring& New) {
        return EndungHinzufuegen(
            Liste, New, [this](const std::wstring& h) { Hinweise.push_back(h); },
            [this](const std::wstring& f) {
                Fragen.push_back(f);
                return Antwort;
            });
    }
};

}  // namespace

TEST(DateiLeichenRegeln, AddingAMaskRefusesBeforeAskingAndAsksOnlyForAnAcceptedOne) {
    std::vector<std::wstring> list = StandardEndungen();
    TFragen fragen;
    EXPECT_FALSE(fragen.Hinzu(list, L"  *.BAK "));
    EXPECT_EQ(list, StandardEndungen());
    // "*.ba*" covers "*.bak" but "*.b*" covers it: refused before the question
    // that would have cost "*.bak".
    std::vector<std::wstring> breit{L"*.tmp", L"*.b*", L"*.bak"};
    EXPECT_FALSE(fragen.Hinzu(breit, L"*.ba*"));
    EXPECT_EQ(fragen.Hinweise,
              (std::vector<std::wstring>{L"Die eingegebene Endung befindet sich bereits in der Liste.",
                                         L"Die eingegebene Endung \"*.ba*\" wird bereits durch die\rEndung "
                                         L"\"*.b*\" beschrieben."}));
    EXPECT_TRUE(fragen.Fragen.empty());
    EXPECT_EQ(breit, (std::vector<std::wstring>{L"*.tmp", L"*.b*", L"*.bak"}));

    std::vector<std::wstring> kurz{L"*.tmp", L"*.bak", L"*.old"};
    TFragen nein;
    nein.Antwort = false;
    EXPECT_FALSE(nein.Hinzu(kurz, L"*.b*"));
    EXPECT_EQ(kurz, (std::vector<std::wstring>{L"*.tmp", L"*.bak", L"*.old"}));
    TFragen ja;
    EXPECT_TRUE(ja.Hinzu(kurz, L"*.b*"));
    EXPECT_EQ(ja.Fragen, (std::vector<std::wstring>{L"Die eingegebene Endung \"*.b*\" beschreibt die bereits in der "
                                                    L"Liste\rstehende Endung \"*.bak\". Soll \"*.bak\" aus der Liste "
                                                    L"gelöscht werden?"}));
    EXPECT_EQ(kurz, (std::vector<std::wstring>{L"*.tmp", L"*.old", L"*.b*"}));
}

TEST(DateiLeichenRegeln, FoldersBelowAListedFolderAreWeededOut) {
    TStringList folders;
    for (const wchar_t* f : {L"c:\\a\\b\\", L"c:\\a\\", L"c:\\ab\\"}) folders.Add(f);
    UnterordnerEntfernen(folders);
    EXPECT_EQ(folders.Items(), (std::vector<std::wstring>{L"c:\\a\\", L"c:\\ab\\"}));
}

TEST(DateiLeichenRegeln, SpaceIsRoundedToClustersAndAnUnreadableVolumeCountsOneByte) {
    EXPECT_EQ(BelegterPlatz(1, 4096), 4096);
    EXPECT_EQ(BelegterPlatz(4096, 4096), 4096);
    EXPECT_EQ(BelegterPlatz(4097, 4096), 8192);
    EXPECT_EQ(BelegterPlatz(0, 4096), 4096);
    // Beyond 32 bits nothing wraps.
    EXPECT_EQ(BelegterPlatz(0x100000001LL, 4096), 0x100001000LL);
    EXPECT_EQ(VolumeWurzel(L"\\\\server\\share\\tief\\ordner\\"), L"\\\\server\\share\\");
    EXPECT_EQ(VolumeWurzel(L"c:\\temp\\"), L"C:\\");
    EXPECT_EQ(ClusterGroesse(L"\\\\keinserver\\keinshare\\ordner\\"), 1);
    EXPECT_GE(ClusterGroesse(L"c:\\windows\\"), 512);
}

TEST(DateiLeichenRegeln, TheFolderCheckDropsRelativeMissingUnreadyAndCdRomFolders) {
    const TLaufwerksTyp echt;
    EXPECT_EQ(OrdnerPruefen(L"x", echt), TOrdnerBefund::Weglassen);
    EXPECT_EQ(OrdnerPruefen(L"temp", echt), TOrdnerBefund::KeinAbsoluterPfad);
    EXPECT_EQ(OrdnerPruefen(L"c:windows", echt), TOrdnerBefund::KeinAbsoluterPfad);
    EXPECT_EQ(OrdnerPruefen(L"\\\\keinserver\\keinshare", echt), TOrdnerBefund::Unbrauchbar);
    EXPECT_EQ(OrdnerPruefen(L"c:\\windows", echt), TOrdnerBefund::Gut);
    EXPECT_EQ(OrdnerPruefen(L"c:", echt), TOrdnerBefund::Gut);
    // The fixture's letter n: points at a folder that does not exist.
    EXPECT_EQ(OrdnerPruefen(L"n:\\", echt), TOrdnerBefund::Unbrauchbar);
    const TLaufwerksTyp cdrom = [](const std::wstring&) { return UINT(DRIVE_CDROM); };
    EXPECT_EQ(OrdnerPruefen(L"c:\\windows", cdrom), TOrdnerBefund::Unbrauchbar);
    EXPECT_FALSE(DurchsuchbaresLaufwerk(L'c', cdrom));
}

TEST(SyncRegeln, TargetNamesJoinWithOneBackslash) {
    EXPECT_EQ(SyncZielName(L"c:\\q\\a\\b.txt", L"c:\\q\\", L"d:\\z\\"), L"d:\\z\\a\\b.txt");
    EXPECT_EQ(SyncZielName(L"c:\\q\\b.txt", L"c:\\q\\", L"d:\\z"), L"d:\\z\\b.txt");
    EXPECT_EQ(SyncZielName(L"\\\\srv\\sh\\a\\b.txt", L"\\\\srv\\sh\\", L"c:\\z\\"), L"c:\\z\\a\\b.txt");
    EXPECT_EQ(SyncZielName(L"c:\\q\\b.txt", L"c:\\q\\", L"\\\\srv\\sh\\"), L"\\\\srv\\sh\\b.txt");
}

TEST(SyncRegeln, TimesTwoSecondsApartDecideTheDirection) {
    TTempFolder folder(L"syncregeln");
    const std::wstring source = folder.MakeFile(L"q.txt", 10), target = folder.MakeFile(L"z.txt", 10);
    // Sets the target's time that many seconds after the source's, and reads both back.
    auto zeiten = [&](long long targetMinusSourceSeconds) {
        const unsigned long long base = 0x01D7000000000000ULL;
        const unsigned long long stamps[2] = {base, base + targetMinusSourceSeconds * 10000000LL};
        FILETIME read[2];
        for (int i = 0; i < 2; ++i) {
            const std::wstring& name = i ? target : source;
            const FILETIME time{static_cast<DWORD>(stamps[i]), static_cast<DWORD>(stamps[i] >> 32)};
            HANDLE h = CreateFileW(name.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            SetFileTime(h, nullptr, nullptr, &time);
            CloseHandle(h);
            WIN32_FILE_ATTRIBUTE_DATA data{};
            GetFileAttributesExW(name.c_str(), GetFileExInfoStandard, &data);
            read[i] = data.ftLastWriteTime;
        }
        return std::pair{read[0], read[1]};
    };
    struct Fall {
        long long seconds;
        bool upd;
        TSyncSchritt want;
    };
    for (const Fall& fall : {Fall{-3, false, TSyncSchritt::Kopieren}, Fall{-1, true, TSyncSchritt::Nichts},
                             Fall{0, true, TSyncSchritt::Nichts}, Fall{1, true, TSyncSchritt::Nichts},
                             Fall{3, false, TSyncSchritt::Nichts}, Fall{3, true, TSyncSchritt::Zurueck}}) {
        const auto [s, t] = zeiten(fall.seconds);
        EXPECT_EQ(SyncEntscheiden(true, s, t, fall.upd, true), fall.want) << fall.seconds << " " << fall.upd;
    }
    const FILETIME any{};
    EXPECT_EQ(SyncEntscheiden(false, any, any, true, true), TSyncSchritt::Nichts);
    EXPECT_EQ(SyncEntscheiden(false, any, any, false, false), TSyncSchritt::Neu);
}

TEST(SyncRegeln, StoredOptionsOfAnotherLengthReadAsTheDefaults) {
    EXPECT_EQ(SynchOptionen(L"01"), L"011");
    EXPECT_EQ(SynchOptionen(L""), L"011");
    EXPECT_EQ(SynchOptionen(L"100"), L"100");
}
