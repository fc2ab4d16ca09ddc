// The file list's rules without a window: list filter, sort states and row
// order, marking by a filter, folder comparison, status texts, stored column
// widths, name formats and the monitor's folders.

#include <gtest/gtest.h>

#include <algorithm>

#include "foundation/DMChild_Typen.h"
#include "panes/DateiListeModell.h"
#include "platform/rtl/LocaleTexts.h"

using namespace velmora;

namespace {

TDateTime Datum(const wchar_t* text) { return TryStrToDateTime(text).value(); }

// An entry as the reader makes it, with its file data loaded.
std::unique_ptr<TItemData> Eintrag(const std::wstring& name, std::int64_t size = 0, std::int32_t attr = 32,
                                   TDateTime date = 0, ULONG shellAttr = kSfgaoDateisystem) {
    auto item = std::make_unique<TItemData>();
    item->Name = name;
    item->RelPidl = PidlAnlegen(4);
    item->ShellAttr = shellAttr;
    item->Groesse = size;
    item->Attr = attr;
    item->Datum = date;
    item->DatenGeladen = true;
    return item;
}

std::unique_ptr<TItemData> Ordner(const std::wstring& name) {
    return Eintrag(name, 0, FILE_ATTRIBUTE_DIRECTORY, 0, kSfgaoOrdner | kSfgaoDateisystem);
}

std::unique_ptr<TItemData> Elternzeile() {
    auto item = std::make_unique<TItemData>();
    item->Name = L"..";
    item->ShellAttr = kSfgaoOrdner | kSfgaoDateisystem;
    item->DatenGeladen = true;
    return item;
}

TDateiFilterDatenFuerDateiListe AlleDateien() {
    TDateiFilterDatenFuerDateiListe filter;
    filter.Masken = std::make_shared<TStringList>(TStringList{L"*.*"});
    filter.ReadOnly = filter.Hidden = filter.System = filter.Normale = true;
    return filter;
}

TListenFilter Groessenfilter(const wchar_t* word, std::int32_t kb) {
    auto filter = AlleDateien();
    filter.Groessebeachten = true;
    filter.Groessenbereich = word;
    filter.DateiGroesse = kb;
    return TListenFilter::Aus(filter);
}

bool Zeigt(const TListenFilter& filter, const TItemData& item) { return filter.Zulassen(item.Name, item.ShellAttr, &item); }

}  // namespace

// ---- List filter ----------------------------------------------------------------

TEST(DateiListeFilter, ExactOneKilobyteAlsoShowsSmallerAndEmptyFiles) {
    const auto filter = Groessenfilter(L"Genau", 1);
    for (std::int64_t size : {0, 1, 1023, 1024, 2047}) EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a.txt", size))) << size;
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a.txt", 2048)));
}

TEST(DateiListeFilter, ExactZeroKilobytesShowsEveryFileUnderOneKilobyte) {
    const auto filter = Groessenfilter(L"Genau", 0);
    for (std::int64_t size : {0, 1, 1023}) EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a.txt", size))) << size;
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a.txt", 1024)));
}

TEST(DateiListeFilter, AtLeastAtMostAndUnknownWords) {
    EXPECT_FALSE(Zeigt(Groessenfilter(L"Mindestens", 2), *Eintrag(L"a", 2047)));
    EXPECT_TRUE(Zeigt(Groessenfilter(L"Mindestens", 2), *Eintrag(L"a", 2048)));
    EXPECT_TRUE(Zeigt(Groessenfilter(L"Höchstens", 1), *Eintrag(L"a", 2047)));
    EXPECT_FALSE(Zeigt(Groessenfilter(L"Höchstens", 1), *Eintrag(L"a", 2048)));
    EXPECT_TRUE(Zeigt(Groessenfilter(L"Ungefähr", 1), *Eintrag(L"a", 99999)));
    EXPECT_TRUE(Zeigt(Groessenfilter(L"", 1), *Eintrag(L"a", 99999)));
}

TEST(DateiListeFilter, ReversedDatesAreSwappedAndBothEndDaysIncluded) {
    auto stored = AlleDateien();
    stored.Datumbeachten = true;
    stored.Aelteste = L"20.3.2021";
    stored.Juengste = L"10.3.2021";
    const auto filter = TListenFilter::Aus(stored);
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"10.3.2021 0:00"))));
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"20.3.2021 23:59"))));
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"9.3.2021 23:59"))));
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"21.3.2021 0:00"))));
}

TEST(DateiListeFilter, AnUnreadableDateLeavesItsEndOpen) {
    auto stored = AlleDateien();
    stored.Datumbeachten = true;
    stored.Aelteste = L"kein Datum";
    stored.Juengste = L"10.3.2021";
    const auto filter = TListenFilter::Aus(stored);
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"1.1.1990"))));
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a", 0, 32, Datum(L"11.3.2021"))));
}

TEST(DateiListeFilter, FoldersFollowTheShowFoldersFlagNotTheMasks) {
    auto stored = AlleDateien();
    stored.Masken = std::make_shared<TStringList>(TStringList{L"*.txt"});
    EXPECT_TRUE(Zeigt(TListenFilter::Aus(stored), *Ordner(L"unter")));
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Eintrag(L"bild.bmp")));
    stored.Normale = false;
    stored.Masken = std::make_shared<TStringList>(TStringList{L"*.*"});
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Ordner(L"unter")));
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Ordner(L"unter.txt")));
}

TEST(DateiListeFilter, WithoutMasksOnlyFoldersAreShown) {
    auto stored = AlleDateien();
    stored.Masken = std::make_shared<TStringList>();
    EXPECT_TRUE(Zeigt(TListenFilter::Aus(stored), *Ordner(L"unter")));
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Eintrag(L"a.txt")));
    stored.Masken = nullptr;
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Eintrag(L"a.txt")));
    stored.Normale = false;
    EXPECT_FALSE(Zeigt(TListenFilter::Aus(stored), *Ordner(L"unter")));
}

TEST(DateiListeFilter, ClearAttributeFlagsHideFilesButNotEntriesWithoutData) {
    auto stored = AlleDateien();
    stored.Hidden = false;
    auto filter = TListenFilter::Aus(stored);
    EXPECT_TRUE(filter.BrauchtDaten());
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_HIDDEN)));
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_READONLY)));
    EXPECT_TRUE(filter.Zulassen(L"a.txt", kSfgaoDateisystem, nullptr));
    stored.Hidden = true;
    stored.ReadOnly = false;
    stored.System = false;
    filter = TListenFilter::Aus(stored);
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_READONLY)));
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_SYSTEM)));
    EXPECT_FALSE(TListenFilter::Aus(AlleDateien()).BrauchtDaten());
}

TEST(DateiListeFilter, NamesAndMasksMatchWhateverTheirCase) {
    auto stored = AlleDateien();
    stored.Masken = std::make_shared<TStringList>(TStringList{L"*.TXT", L"bild.*"});
    const auto filter = TListenFilter::Aus(stored);
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"Liesmich.txt")));
    EXPECT_TRUE(Zeigt(filter, *Eintrag(L"BILD.BMP")));
    EXPECT_FALSE(Zeigt(filter, *Eintrag(L"text.doc")));
}

// ---- Sorting ----------------------------------------------------------------------

TEST(DateiListeSortierung, EveryRequestFromTheUnsortedStateLandsOnItsFirstState) {
    const std::uint8_t expected[] = {0, 0, 2, 2, 5, 5, 6, 6, 8, 8, 10};
    for (std::uint8_t request = 0; request <= 10; ++request)
        EXPECT_EQ(NaechsterSortZustand(kUnsortiert, request), expected[request]) << int(request);
}

TEST(DateiListeSortierung, RepeatedHeaderClicksToggleTheDirection) {
    auto klicks = [](std::uint8_t state, const wchar_t* caption, int count) {
        std::vector<int> states;
        for (int i = 0; i < count; ++i) {
            state = NaechsterSortZustand(state, SpaltenKlickAnfrage(caption).value());
            states.push_back(state);
        }
        return states;
    };
    EXPECT_EQ(klicks(0, L"Datei", 3), (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(klicks(0, L"Datum", 3), (std::vector<int>{5, 4, 5}));  // newest first
    EXPECT_EQ(klicks(0, L"Größe", 2), (std::vector<int>{2, 3}));
    EXPECT_EQ(klicks(0, L"Typ", 2), (std::vector<int>{6, 7}));
    EXPECT_EQ(klicks(0, L"Attr.", 2), (std::vector<int>{8, 9}));
    EXPECT_FALSE(SpaltenKlickAnfrage(L"DOS-Name"));
    EXPECT_EQ(NaechsterSortZustand(4, 11), 4);
}

TEST(DateiListeSortierung, StatesGiveColumnAndDirection) {
    const int columns[] = {0, 0, 1, 1, 3, 3, 2, 2, 4, 4, 5};
    for (std::uint8_t state = 0; state <= 10; ++state) {
        EXPECT_EQ(SortSpalte(state), columns[state]) << int(state);
        EXPECT_EQ(SortRichtung(state), state % 2 == 1 ? -1 : 1) << int(state);
    }
}

namespace {

// Sorts rows with the pane's comparison over a folder that compares names, or
// fails for the columns in Scheitert.
std::vector<std::wstring> Sortiert(std::vector<std::unique_ptr<TItemData>>& rows, std::uint8_t state,
                                   std::vector<int> scheitert = {}) {
    TOrdnerVergleich vergleich = [&](const TItemData& a, const TItemData& b, int column) -> std::optional<int> {
        if (std::find(scheitert.begin(), scheitert.end(), column) != scheitert.end())
            return std::nullopt;
        return a.Name.compare(b.Name) * 1000;  // only the sign may count
    };
    TDatenLader laden = [](TItemData& item) { return item.DatenGeladen.load(); };
    std::vector<TItemData*> order;
    for (auto& row : rows) order.push_back(row.get());
    std::stable_sort(order.begin(), order.end(), [&](TItemData* a, TItemData* b) {
        return ZeilenVergleich(a, b, state, vergleich, laden) < 0;
    });
    std::vector<std::wstring> names;
    for (auto* row : order) names.push_back(row->Name);
    return names;
}

std::vector<std::unique_ptr<TItemData>> Zeilen() {
    std::vector<std::unique_ptr<TItemData>> rows;
    rows.push_back(Eintrag(L"b.txt", 10, FILE_ATTRIBUTE_ARCHIVE));
    rows.push_back(Ordner(L"y"));
    rows.push_back(Eintrag(L"a.txt", 20, FILE_ATTRIBUTE_ARCHIVE));
    rows.push_back(Elternzeile());
    rows.push_back(Eintrag(L"c.txt", 5, FILE_ATTRIBUTE_READONLY));
    rows.push_back(Ordner(L"x"));
    return rows;
}

}  // namespace

TEST(DateiListeSortierung, ParentRowAndFoldersComeFirstInBothDirections) {
    auto rows = Zeilen();
    EXPECT_EQ(Sortiert(rows, 0), (std::vector<std::wstring>{L"..", L"x", L"y", L"a.txt", L"b.txt", L"c.txt"}));
    EXPECT_EQ(Sortiert(rows, 1), (std::vector<std::wstring>{L"..", L"y", L"x", L"c.txt", L"b.txt", L"a.txt"}));
}

TEST(DateiListeSortierung, AttributesSortFilesAndTiesGoByName) {
    auto rows = Zeilen();
    // Read-only (1) before archive (32); the two archive files by name.
    EXPECT_EQ(Sortiert(rows, 8), (std::vector<std::wstring>{L"..", L"x", L"y", L"c.txt", L"a.txt", L"b.txt"}));
    EXPECT_EQ(Sortiert(rows, 9), (std::vector<std::wstring>{L"..", L"y", L"x", L"b.txt", L"a.txt", L"c.txt"}));
}

TEST(DateiListeSortierung, FileSizesAndDatesComeFromTheirDataTiesFromTheFolder) {
    auto rows = Zeilen();  // sizes: b 10, a 20, c 5
    rows.push_back(Eintrag(L"d.txt", 10));
    EXPECT_EQ(Sortiert(rows, 2),
              (std::vector<std::wstring>{L"..", L"x", L"y", L"c.txt", L"b.txt", L"d.txt", L"a.txt"}));
    EXPECT_EQ(Sortiert(rows, 3),
              (std::vector<std::wstring>{L"..", L"y", L"x", L"a.txt", L"d.txt", L"b.txt", L"c.txt"}));
    rows[0]->Datum = 3, rows[2]->Datum = 1, rows[4]->Datum = 2, rows[6]->Datum = 2;
    EXPECT_EQ(Sortiert(rows, 5),  // newest first
              (std::vector<std::wstring>{L"..", L"y", L"x", L"b.txt", L"d.txt", L"c.txt", L"a.txt"}));
    rows[6]->DatenGeladen = false;  // d.txt goes by the folder's comparison
    EXPECT_EQ(Sortiert(rows, 4)[6], L"d.txt");
}

TEST(DateiListeSortierung, FilesWithoutDataTieOnAttributes) {
    auto rows = Zeilen();
    rows[4]->DatenGeladen = false;  // c.txt, read-only, now unknown
    EXPECT_EQ(Sortiert(rows, 8), (std::vector<std::wstring>{L"..", L"x", L"y", L"a.txt", L"b.txt", L"c.txt"}));
}

TEST(DateiListeSortierung, AFailedFolderComparisonCountsAsEqual) {
    auto rows = Zeilen();
    // Unsorted keeps the given order within folders and within files.
    EXPECT_EQ(Sortiert(rows, kUnsortiert, {5}),
              (std::vector<std::wstring>{L"..", L"y", L"x", L"b.txt", L"a.txt", L"c.txt"}));
    EXPECT_EQ(Sortiert(rows, 6, {2}), (std::vector<std::wstring>{L"..", L"y", L"x", L"b.txt", L"a.txt", L"c.txt"}));
    TItemData* a = rows[0].get();
    EXPECT_EQ(ZeilenVergleich(a, a, 0, nullptr, nullptr), 0);
    EXPECT_LT(ZeilenVergleich(nullptr, a, 0, nullptr, nullptr), 0);
}

// ---- Marking by a filter -------------------------------------------------------------

TEST(DateiListeGruppe, TheDefaultFilterMarksEveryFileButNotTheParentRow) {
    TGruppenFilter filter;
    filter.Masken = TStringList{L"*.*"};
    for (std::int32_t attr : {0, FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
                              FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_DIRECTORY})
        EXPECT_TRUE(filter.Markieren(L"datei.txt", Eintrag(L"datei.txt", 0, attr).get())) << attr;
    EXPECT_TRUE(filter.Markieren(L"ohnepunkt", Eintrag(L"ohnepunkt").get()));
    EXPECT_FALSE(filter.Markieren(L"..", Elternzeile().get()));
}

TEST(DateiListeGruppe, AClearFlagLeavesFilesWithThatAttribute) {
    TGruppenFilter filter;
    filter.Masken = TStringList{L"*.txt"};
    filter.Hidden = false;
    EXPECT_FALSE(filter.Markieren(L"a.txt", Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_HIDDEN).get()));
    EXPECT_FALSE(filter.Markieren(L"a.txt", Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY).get()));
    EXPECT_TRUE(filter.Markieren(L"a.txt", Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_READONLY).get()));
    filter.Hidden = true;
    filter.Normale = false;
    EXPECT_FALSE(filter.Markieren(L"a.txt", Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_ARCHIVE).get()));
    EXPECT_TRUE(filter.Markieren(L"a.txt", Eintrag(L"a.txt", 0, FILE_ATTRIBUTE_SYSTEM).get()));
    EXPECT_TRUE(filter.Markieren(L"a.txt", nullptr));  // no data: only the name counts
    EXPECT_FALSE(filter.Markieren(L"a.doc", nullptr));
}

TEST(DateiListeGruppe, DateAndSizeAsInTheListFilter) {
    TGruppenFilter filter;
    filter.Masken = TStringList{L"*.*"};
    filter.DatumGroesse = TDatumGroesseTest::Aus(true, L"1.1.2020", L"31.12.2020", true, L"Mindestens", 1);
    EXPECT_TRUE(filter.Markieren(L"a", Eintrag(L"a", 1024, 32, Datum(L"31.12.2020 12:00")).get()));
    EXPECT_FALSE(filter.Markieren(L"a", Eintrag(L"a", 1023, 32, Datum(L"31.12.2020 12:00")).get()));
    EXPECT_FALSE(filter.Markieren(L"a", Eintrag(L"a", 1024, 32, Datum(L"1.1.2021")).get()));
}

// ---- Compare folders -------------------------------------------------------------------

TEST(DateiListeVergleich, NewerAndMissingFilesAreMarked) {
    auto neu = Eintrag(L"Neu.txt", 0, 32, 100), alt = Eintrag(L"alt.txt", 0, 32, 100);
    auto fehlt = Eintrag(L"fehlt.txt", 0, 32, 100), gleich = Eintrag(L"gleich.txt", 0, 32, 100);
    auto ordner = Ordner(L"unter");
    TDateiListe other;
    auto add = [&](const wchar_t* name, TDateTime time, std::int32_t attr = 32) {
        other.push_back(std::make_unique<TEineDatei>());
        other.back()->Name = name;
        other.back()->Time = time;
        other.back()->Attr = attr;
    };
    add(L"d:\\b\\NEU.TXT", 50);
    add(L"d:\\b\\alt.txt", 150);
    add(L"d:\\b\\gleich.txt", 100);
    add(L"d:\\b\\fehlt.txt", 10, FILE_ATTRIBUTE_DIRECTORY);  // a folder does not count
    add(L"d:\\b\\unter", 10, FILE_ATTRIBUTE_DIRECTORY);
    const auto marks =
        UnterschiedeMarkieren({neu.get(), alt.get(), fehlt.get(), gleich.get(), ordner.get(), nullptr}, other);
    EXPECT_EQ(marks, (std::vector<bool>{true, false, true, false, false, false}));
    EXPECT_EQ(other.size(), 5u);  // the caller's list stays whole
}

TEST(DateiListeVergleich, EachRecordDecidesForOneRowTheLastOneFirst) {
    auto erste = Eintrag(L"x.txt", 0, 32, 100), zweite = Eintrag(L"x.txt", 0, 32, 100);
    TDateiListe other;
    for (TDateTime time : {50.0, 150.0}) {
        other.push_back(std::make_unique<TEineDatei>());
        other.back()->Name = L"c:\\x.txt";
        other.back()->Time = time;
    }
    EXPECT_EQ(UnterschiedeMarkieren({erste.get(), zweite.get()}, other), (std::vector<bool>{false, true}));
}

// ---- Status line ----------------------------------------------------------------------

TEST(DateiListeStatus, TextsOfTheStatusLine) {
    EXPECT_EQ(MarkiertText(12), L"12 Dateien/ Verzeichnisse markiert");
    EXPECT_EQ(KurzeGroesse(FormatByteSize(1536)), L"1.50 KB");
    EXPECT_EQ(KurzeGroesse(FormatByteSize(1023)), L"1023 Bytes");
    EXPECT_EQ(KurzeGroesse(FormatByteSize(3 * 1048576.0f)), L"3.00 MB");
    EXPECT_EQ(KurzeGroesse(FormatByteSize(2 * 1073741824.0f)), L"2.00 GB");
    EXPECT_EQ(KurzeGroesse(L"0 Bytes"), L"0 Bytes");
    EXPECT_EQ(DatumZeitText(Datum(L"14.3.2021 15:26:08")), L"14.3.2021 15:26:08");
    EXPECT_EQ(OrdnerArt(false, 0), L"Verzeichnis");
    EXPECT_EQ(OrdnerArt(true, kSfgaoDateisystem | kSfgaoDateisystemVorfahr), L"Laufwerk");
    EXPECT_EQ(OrdnerArt(true, kSfgaoDateisystem), L"Verzeichnis");
    EXPECT_EQ(OrdnerArt(true, kSfgaoDateisystemVorfahr), L"Virt. Verz.");
}

TEST(DateiListeStatus, PanelWidthsAroundThreeHundredPixels) {
    EXPECT_EQ(ZaehlPanels(299), (std::array<int, 2>{209, 90}));
    EXPECT_EQ(ZaehlPanels(300), (std::array<int, 2>{210, 90}));
    EXPECT_EQ(ZaehlPanels(500), (std::array<int, 2>{210, 290}));
    EXPECT_EQ(ZaehlPanels(50), (std::array<int, 2>{0, 50}));
    EXPECT_EQ(EinzelPanels(300, true, true, true), (std::vector<int>{95, 65, 110, 30}));
    EXPECT_EQ(EinzelPanels(250, true, true, true), (std::vector<int>{75, 65, 110, 30}));
    EXPECT_EQ(EinzelPanels(400, false, true, false), (std::vector<int>{195, 110}));
}

// ---- Columns and names -------------------------------------------------------------------

TEST(DateiListeSpalten, StoredWidthsAndTheirDefaults) {
    EXPECT_EQ(BreitenText(BreitenLesen(L"")), L"125,125,50,115,35,85");
    EXPECT_EQ(BreitenLesen(L"10,20,30,40,50,60"), (TSpaltenBreiten{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(BreitenLesen(L"10,20"), (TSpaltenBreiten{10, 20, 50, 115, 35, 85}));
    EXPECT_EQ(BreitenLesen(L"x,-5,99999,40"), (TSpaltenBreiten{125, 125, 50, 40, 35, 85}));
    EXPECT_EQ(BreitenText({1, 2, 3, 4, 5, 6}), L"1,2,3,4,5,6");
}

TEST(DateiListeNamen, CaseAndEnclosing) {
    TOptionen o;
    o.VSchreibweise = 0;
    o.DateiSchreibweise = 1;
    EXPECT_EQ(OrdnerName(L"Übersicht", o), L"ÜBERSICHT");
    EXPECT_EQ(DateiName(L"Größe.TXT", o), L"größe.txt");
    o.DateiSchreibweise = 2;
    EXPECT_EQ(DateiName(L"Größe.TXT", o), L"Größe.TXT");
    o.VSchreibweise = 1;
    o.VEinfassen = true;
    o.VEinfZeichen = L"[]";
    EXPECT_EQ(OrdnerName(L"Übersicht", o), L"[übersicht]");
    o.VEinfZeichen = L"<";
    EXPECT_EQ(OrdnerName(L"A", o), L"<a");
    o.VEinfZeichen = L"";
    EXPECT_EQ(OrdnerName(L"A", o), L"a");
    o.VEinfassen = false;
    o.VEinfZeichen = L"[]";
    EXPECT_EQ(OrdnerName(L"A", o), L"a");
}

TEST(DateiListeOrdner, TheMonitorsFolderAndTheFallbackChain) {
    EXPECT_EQ(UeberwachterOrdner(L"c:\\windows\\"), L"c:\\windows");
    EXPECT_EQ(UeberwachterOrdner(L"c:\\"), L"c:\\");
    EXPECT_EQ(UeberwachterOrdner(L""), L"");

    std::vector<std::wstring> present;
    auto exists = [&](const std::wstring& p) { return std::find(present.begin(), present.end(), p) != present.end(); };
    auto fallback = [&] { return ErsatzOrdner(L"d:\\weg\\", L"e:\\akt\\", L"f:\\anders\\", exists); };
    EXPECT_EQ(fallback(), L"C:\\");
    present = {L"f:\\anders\\"};
    EXPECT_EQ(fallback(), L"f:\\anders\\");
    present.push_back(L"e:\\akt\\");
    EXPECT_EQ(fallback(), L"e:\\akt\\");
    present.push_back(L"d:\\");
    EXPECT_EQ(fallback(), L"d:\\");
}
