// The search-result pane's rules: which records the refresh keeps, shows and
// drops, the basket removal of a marked row, and the row order.

#include <gtest/gtest.h>

#include <map>

#include "panes/SuchergebnisRegeln.h"

using namespace velmora;

namespace {

std::unique_ptr<TEineDatei> Datei(const std::wstring& name, std::int64_t size = 0) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->Size = size;
    return record;
}

std::unique_ptr<TEineDatei> Eintrag(const std::wstring& archive, const std::wstring& name) {
    auto record = Datei(name);
    record->InArchive = true;
    record->ArchivPfad = archive;
    return record;
}

// A file system of named answers and archives of named entries; every listing
// is counted.
struct TWelt {
    std::map<std::wstring, DWORD> Fehler;  // by path; missing: found
    std::map<std::wstring, std::vector<std::wstring>> Archive;
    std::map<std::wstring, bool> Gelesen;  // the listing's answer; missing: true
    std::map<std::wstring, int> Listings;

    TSuchZugriff Zugriff() {
        TSuchZugriff z;
        z.Nachsehen = [this](const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& data) -> DWORD {
            data = {};
            data.nFileSizeLow = 77;
            const auto it = Fehler.find(path);
            return it == Fehler.end() ? ERROR_SUCCESS : it->second;
        };
        z.ArchivTyp = [this](const std::wstring& archive, std::uint8_t& kind) {
            kind = 5;
            return Archive.count(archive) > 0;
        };
        z.ArchivLesen = [this](std::uint8_t, const std::wstring& archive, TDateiListe& entries) {
            ++Listings[archive];
            for (const auto& name : Archive[archive]) entries.push_back(Datei(name, 5));
            const auto it = Gelesen.find(archive);
            return it == Gelesen.end() || it->second;
        };
        return z;
    }
};

std::vector<std::wstring> Texte(const TDateiListe& rows) {
    std::vector<std::wstring> texts;
    for (const auto& row : rows) texts.push_back(SuchZeilenText(*row));
    return texts;
}

std::vector<std::wstring> Namen(const std::vector<TSatzSchluessel>& keys) {
    std::vector<std::wstring> names;
    for (const auto& key : keys) names.push_back(key.Name);
    return names;
}

TEST(SuchergebnisRegeln, OnlyAFileReportedMissingLeavesTheBasket) {
    TWelt welt;
    welt.Fehler = {{L"c:\\weg.txt", ERROR_FILE_NOT_FOUND},
                   {L"c:\\ordner\\weg.txt", ERROR_PATH_NOT_FOUND},
                   {L"a:\\nicht bereit.txt", ERROR_NOT_READY},
                   {L"c:\\gesperrt.txt", ERROR_ACCESS_DENIED}};
    TDateiListe quelle;
    for (const wchar_t* name : {L"c:\\da.txt", L"c:\\weg.txt", L"c:\\ordner\\weg.txt", L"a:\\nicht bereit.txt",
                                L"c:\\gesperrt.txt"})
        quelle.push_back(Datei(name, 1));
    for (const bool korb : {true, false}) {
        std::vector<TSatzSchluessel> gone;
        const TDateiListe rows = SuchergebnisLesen(quelle, korb, false, welt.Zugriff(), gone);
        // Walked from the last record to the first.
        EXPECT_EQ(Texte(rows), (std::vector<std::wstring>{L"c:\\gesperrt.txt", L"a:\\nicht bereit.txt",
                                                           L"c:\\da.txt"}));
        EXPECT_EQ(rows.back()->Size, 77);  // a found file shows what the look-up says
        EXPECT_EQ(Namen(gone), korb ? (std::vector<std::wstring>{L"c:\\ordner\\weg.txt", L"c:\\weg.txt"})
                                    : std::vector<std::wstring>{});
    }
}

TEST(SuchergebnisRegeln, EachArchiveIsListedOnceAndOnlyAWholeListingDropsAnEntry) {
    TWelt welt;
    welt.Archive = {{L"c:\\a.zip", {L"\\drin.txt", L"sub\\auch.txt"}}, {L"c:\\kaputt.zip", {}}};
    welt.Gelesen = {{L"c:\\kaputt.zip", false}};
    TDateiListe quelle;
    quelle.push_back(Eintrag(L"c:\\a.zip", L"drin.txt"));
    quelle.push_back(Eintrag(L"c:\\a.zip", L"SUB\\auch.txt"));
    quelle.push_back(Eintrag(L"c:\\a.zip", L"fehlt.txt"));
    quelle.push_back(Eintrag(L"c:\\kaputt.zip", L"x.txt"));
    quelle.push_back(Eintrag(L"c:\\keins.zip", L"y.txt"));
    for (const bool korb : {true, false}) {
        welt.Listings.clear();
        std::vector<TSatzSchluessel> gone;
        const TDateiListe rows = SuchergebnisLesen(quelle, korb, true, welt.Zugriff(), gone);
        EXPECT_EQ(welt.Listings, (std::map<std::wstring, int>{{L"c:\\a.zip", 1}, {L"c:\\kaputt.zip", 1}}));
        EXPECT_EQ(Texte(rows), (std::vector<std::wstring>{L"x.txt in c:\\kaputt.zip", L"sub\\auch.txt in c:\\a.zip",
                                                           L"drin.txt in c:\\a.zip"}));
        // A file that is no archive leaves the basket only; an entry its
        // archive's whole listing lacks leaves both lists.
        EXPECT_EQ(Namen(gone), korb ? (std::vector<std::wstring>{L"y.txt", L"fehlt.txt"})
                                    : std::vector<std::wstring>{L"fehlt.txt"});
    }
}

TEST(SuchergebnisRegeln, AMarkedEntrySparesItsNamesakesInOtherArchives) {
    const TSatzSchluessel row = KorbSchluessel(*Eintrag(L"C:\\X.zip", L"\\Liesmich.txt"));
    EXPECT_TRUE(KorbTreffer(row, *Eintrag(L"c:\\x.zip", L"liesmich.txt")));
    EXPECT_FALSE(KorbTreffer(row, *Eintrag(L"c:\\y.zip", L"liesmich.txt")));
    EXPECT_FALSE(KorbTreffer(KorbSchluessel(*Datei(L"c:\\liesmich.txt")), *Eintrag(L"c:\\x.zip", L"c:\\liesmich.txt")));
    EXPECT_TRUE(KorbTreffer(KorbSchluessel(*Datei(L"C:\\Liesmich.txt")), *Datei(L"c:\\liesmich.txt")));
}

TEST(SuchergebnisRegeln, TheSortTable) {
    auto make = [](const wchar_t* name, std::int64_t size, double time, std::int32_t attr) {
        auto r = Datei(name, size);
        r->Time = time;
        r->Attr = attr;
        return r;
    };
    const auto a = make(L"c:\\a.txt", 10, 3, 1), b = make(L"c:\\B.doc", 10, 2, 32), c = make(L"c:\\c.txt", 5, 3, 1);
    struct Case {
        std::uint8_t mode;
        int ab, ac;  // sign of the comparison of a with b, of a with c
    };
    const Case cases[] = {{0, -1, -1}, {1, 1, 1},  {2, -1, 1}, {3, 1, -1}, {5, 1, -1}, {4, -1, 1},
                          {6, 1, -1},  {7, -1, 1}, {8, -1, -1}, {9, 1, 1}, {10, 0, 0}};
    for (const Case& k : cases) {
        EXPECT_EQ(SuchZeilenVergleich(*a, *b, k.mode), k.ab) << int(k.mode);
        EXPECT_EQ(SuchZeilenVergleich(*a, *c, k.mode), k.ac) << int(k.mode);
    }
}

}  // namespace
