#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "foundation/DefaultUserStore.h"
#include "foundation/Einstellungen.h"
#include "platform/rtl/Registry.h"

using namespace velmora;

namespace {

const std::wstring kOptionenPfad = L".default\\Software\\Quorin Ashvale\\Velmora\\1.0\\Optionen";

void Store(const std::wstring& name, const std::wstring& value) { RegWriteUserValue(OptionenSchluessel, name, value); }
std::wstring Stored(const std::wstring& name) { return RegReadUserValue(OptionenSchluessel, name); }

bool ValueExists(const std::wstring& name) {
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_USERS);
    return reg.OpenKeyReadOnly(L"\\" + kOptionenPfad) && reg.ValueExists(name);
}

// Loads, lets the test look, and saves again when the object goes.
void LoadSaveRound(const std::function<void(TEinstellungen&)>& change = {}) {
    TEinstellungen e;
    if (change) change(e);
}

// Each test starts from a machine on which the program never ran. The last test's
// state stays in the prefix for the registry listing that runs after this program.
class EinstellungenTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_USERS, kOptionenPfad); }
};

void ExpectAllFilesFilter(const TDateiFilterDatenFuerDateiListe& f) {
    ASSERT_TRUE(f.Masken);
    EXPECT_EQ(f.Masken->Items(), std::vector<std::wstring>{L"*.*"});
    EXPECT_FALSE(f.Datumbeachten);
    EXPECT_FALSE(f.Groessebeachten);
    EXPECT_TRUE(f.ReadOnly && f.Hidden && f.System && f.Normale);
}

}  // namespace

TEST_F(EinstellungenTest, AnEmptyStoreGivesTheDefaultsOfTheFileLists) {
    TEinstellungen e;
    const TOptionen& d = e.Dateiliste;
    EXPECT_EQ(d.Ansicht, 2);
    EXPECT_TRUE(d.IconsAnzeigen && d.StandardIcons && d.GroesseAnzeigen && d.DatumAnzeigen && d.AttrAnzeigen);
    EXPECT_TRUE(d.Statuszeile);
    EXPECT_EQ(d.DateiSchreibweise, 1);
    EXPECT_EQ(d.VSchreibweise, 1);
    EXPECT_TRUE(d.VEinfassen);
    EXPECT_EQ(d.VEinfZeichen, L"[]");
    EXPECT_FALSE(d.TypAnzeigen || d.DOSNameAnzeigen);
    EXPECT_EQ(d.Sortierung, 0);
    ExpectAllFilesFilter(d.Filter);

    const TOptionen& a = e.ADateiliste;
    EXPECT_EQ(a.Ansicht, 3);
    EXPECT_TRUE(a.IconsAnzeigen && a.StandardIcons && a.GroesseAnzeigen && a.DatumAnzeigen);
    EXPECT_FALSE(a.TypAnzeigen || a.AttrAnzeigen || a.DOSNameAnzeigen || a.Statuszeile);
    EXPECT_EQ(a.DateiSchreibweise, 1);
    EXPECT_EQ(a.VSchreibweise, 1);
    EXPECT_TRUE(a.VEinfassen);
    EXPECT_EQ(a.VEinfZeichen, L"[]");
    ExpectAllFilesFilter(a.Filter);

    const TOptionen& v = e.ArcView;
    EXPECT_TRUE(v.IconsAnzeigen && v.StandardIcons && v.Statuszeile && v.VEinfassen);
    EXPECT_EQ(v.DateiSchreibweise, 1);
    EXPECT_EQ(v.VSchreibweise, 1);
    EXPECT_EQ(v.VEinfZeichen, L"[]");
    EXPECT_EQ(v.Filter.Masken, a.Filter.Masken);

    EXPECT_TRUE(e.Sucherg.StandardIcons && e.Sucherg.CheckArchive);
    EXPECT_FALSE(e.Sucherg.Filter.Masken);
    EXPECT_FALSE(e.ZusatzOptionen.Filter.Masken);
    const auto& z = e.ZusatzOptionen.Filter;
    EXPECT_TRUE(z.ReadOnly && z.Hidden && z.System && z.Normale);
    ExpectAllFilesFilter(e.MarkierFilter);
    EXPECT_NE(e.MarkierFilter.Masken, d.Filter.Masken);
    EXPECT_NE(d.Filter.Masken, a.Filter.Masken);
}

TEST_F(EinstellungenTest, AnEmptyStoreGivesTheDefaultsOfTheOtherGroups) {
    TEinstellungen e;
    EXPECT_TRUE(e.Ansicht.StatuszeileAnzeigen && e.Ansicht.DOSZeileAnzeigen && e.Ansicht.FTastenAnzeigen &&
                e.Ansicht.SymbolleisteAnzeigen);
    EXPECT_TRUE(e.Best.Loeschabfrage && e.Best.NichtAlleUeberschreiben && e.Best.AuswahlDlgVorLoeschen);
    EXPECT_FALSE(e.Best.OeffnenMitParametern);

    const auto& a = e.Arc;
    EXPECT_TRUE(a.UseTempFile && a.ShowOnDoubleClick && a.ExternePackerImHintergrund && a.ArcViewStatuszeile);
    EXPECT_FALSE(a.AskBeforeOpen || a.ExtraNachfragen);
    EXPECT_TRUE(a.UseInternZip && a.UseInternUnZip && a.UseInternUnArj && a.UseInternUnRar && a.UseInternUnLha &&
                a.UseInternUnZoo && a.UseInternUnArc);
    for (const auto* path : {&a.StoredExt, &a.ZipPath, &a.UnZipPath, &a.Zip2ExePath, &a.ArjPath, &a.RarPath,
                             &a.LhaPath, &a.ZooPath, &a.PkPakPath, &a.PkUnPakPath})
        EXPECT_EQ(*path, L"");

    const auto& dd = e.ArcDragDrop;
    EXPECT_FALSE(dd.VerschiebenBestaetigen || dd.NurWennAktueller || dd.NurWennAktuellerUndVorhanden ||
                 dd.PfadeSpeichern || dd.Unterverzeichnisse || dd.DosDateiNamenBenutzen);
    EXPECT_EQ(dd.DropPfadangaben, 3);
    EXPECT_EQ(dd.Methode, 1);

    EXPECT_EQ(e.Sonst.LoeschGroup, 0);
    EXPECT_TRUE(e.Sonst.ClearLists);
    EXPECT_FALSE(e.Sonst.AktPfadSichern);
    EXPECT_EQ(e.Sonst.ExtEdit, L"");
    EXPECT_TRUE(e.DragDrop.KopierDlgZeigen && e.DragDrop.VerschiebDlgZeigen && e.DragDrop.LinkDlgZeigen &&
                e.DragDrop.ArcDlgZeigen);
    EXPECT_EQ(e.OftBenVerz, 5);
    EXPECT_EQ(e.OBV.Count(), 0);
}

TEST_F(EinstellungenTest, FreeingAnUnchangedObjectStoresTheDefaultStrings) {
    LoadSaveRound();
    EXPECT_EQ(Stored(L"Dateiliste"), L"111111111[]");
    EXPECT_EQ(Stored(L"ADateiliste"), L"11101000111[]");
    EXPECT_EQ(Stored(L"Sucherg"), L"11");
    EXPECT_EQ(Stored(L"ArcView"), L"111111[]");
    EXPECT_EQ(Stored(L"Ansicht"), L"1111");
    EXPECT_EQ(Stored(L"Best"), L"1110");
    EXPECT_EQ(Stored(L"Arc"), L"1111001111111");
    EXPECT_EQ(Stored(L"ArcDragDrop"), L"00000031");
    EXPECT_EQ(Stored(L"Sonst"), L"010");
    EXPECT_EQ(Stored(L"DragDrop"), L"1111");
    EXPECT_EQ(Stored(L"OftBenVerz"), L"5");
    EXPECT_TRUE(ValueExists(L"ZipPath"));
    EXPECT_TRUE(ValueExists(L"ExtEdit"));
}

// Stored strings unlike the defaults come back unchanged after a load and a save.
TEST_F(EinstellungenTest, EveryGroupRoundTrips) {
    const std::pair<const wchar_t*, const wchar_t*> groups[] = {
        {L"Dateiliste", L"010100201<>"}, {L"ADateiliste", L"01010110201{}"}, {L"Sucherg", L"01"},
        {L"ArcView", L"010210()"},       {L"Ansicht", L"0100"},              {L"Best", L"0001"},
        {L"Arc", L"0010110100100"},      {L"ArcDragDrop", L"10100125"},       {L"Sonst", L"201"},
        {L"DragDrop", L"0010"},
    };
    for (auto [name, text] : groups) Store(name, text);
    const wchar_t* paths[] = {L"StoredExt", L"ZipPath",  L"UnZipPath", L"Zip2ExePath", L"ArjPath",
                              L"RarPath",   L"LhaPath",  L"ZooPath",   L"PkPakPath",   L"PkUnPakPath",
                              L"ExtEdit"};
    for (auto* name : paths) Store(name, std::wstring(L"C:\\Programme\\") + name + L".exe");
    LoadSaveRound();
    for (auto [name, text] : groups) EXPECT_EQ(Stored(name), text) << name;
    for (auto* name : paths) EXPECT_EQ(Stored(name), std::wstring(L"C:\\Programme\\") + name + L".exe");
}

TEST_F(EinstellungenTest, ChangesReachTheRegistryOnlyWhenTheObjectIsFreed) {
    {
        TEinstellungen e;
        e.Best.OeffnenMitParametern = true;
        e.Arc.ZipPath = L"c:\\zip\\zip.exe";
        EXPECT_EQ(Stored(L"Best"), L"");
        EXPECT_EQ(Stored(L"ZipPath"), L"");
    }
    EXPECT_EQ(Stored(L"Best"), L"1111");
    EXPECT_EQ(Stored(L"ZipPath"), L"c:\\zip\\zip.exe");
    TEinstellungen again;
    EXPECT_TRUE(again.Best.OeffnenMitParametern);
    EXPECT_EQ(again.Arc.ZipPath, L"c:\\zip\\zip.exe");
}

namespace {

// Each flag of a group, flipped alone in its stored string, flips exactly its field.
struct FlagPosition {
    const wchar_t* Group;
    const wchar_t* Default;
    int Pos;
    std::function<bool(const TEinstellungen&)> Field;
};

#define FLAG(group, def, pos, expr) FlagPosition{group, def, pos, [](const TEinstellungen& e) { return e.expr; }}

const FlagPosition kFlagPositions[] = {
    FLAG(L"Dateiliste", L"111111111[]", 1, Dateiliste.IconsAnzeigen),
    FLAG(L"Dateiliste", L"111111111[]", 2, Dateiliste.StandardIcons),
    FLAG(L"Dateiliste", L"111111111[]", 3, Dateiliste.GroesseAnzeigen),
    FLAG(L"Dateiliste", L"111111111[]", 4, Dateiliste.DatumAnzeigen),
    FLAG(L"Dateiliste", L"111111111[]", 5, Dateiliste.AttrAnzeigen),
    FLAG(L"Dateiliste", L"111111111[]", 6, Dateiliste.Statuszeile),
    FLAG(L"Dateiliste", L"111111111[]", 9, Dateiliste.VEinfassen),
    FLAG(L"ADateiliste", L"11101000111[]", 1, ADateiliste.IconsAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 2, ADateiliste.StandardIcons),
    FLAG(L"ADateiliste", L"11101000111[]", 3, ADateiliste.GroesseAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 4, ADateiliste.TypAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 5, ADateiliste.DatumAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 6, ADateiliste.AttrAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 7, ADateiliste.DOSNameAnzeigen),
    FLAG(L"ADateiliste", L"11101000111[]", 8, ADateiliste.Statuszeile),
    FLAG(L"ADateiliste", L"11101000111[]", 11, ADateiliste.VEinfassen),
    FLAG(L"Sucherg", L"11", 1, Sucherg.StandardIcons),
    FLAG(L"Sucherg", L"11", 2, Sucherg.CheckArchive),
    FLAG(L"ArcView", L"111111[]", 1, ArcView.IconsAnzeigen),
    FLAG(L"ArcView", L"111111[]", 2, ArcView.StandardIcons),
    FLAG(L"ArcView", L"111111[]", 3, ArcView.Statuszeile),
    FLAG(L"ArcView", L"111111[]", 6, ArcView.VEinfassen),
    FLAG(L"Ansicht", L"1111", 1, Ansicht.StatuszeileAnzeigen),
    FLAG(L"Ansicht", L"1111", 2, Ansicht.DOSZeileAnzeigen),
    FLAG(L"Ansicht", L"1111", 3, Ansicht.FTastenAnzeigen),
    FLAG(L"Ansicht", L"1111", 4, Ansicht.SymbolleisteAnzeigen),
    FLAG(L"Best", L"1110", 1, Best.Loeschabfrage),
    FLAG(L"Best", L"1110", 2, Best.NichtAlleUeberschreiben),
    FLAG(L"Best", L"1110", 3, Best.AuswahlDlgVorLoeschen),
    FLAG(L"Best", L"1110", 4, Best.OeffnenMitParametern),
    FLAG(L"Arc", L"1111001111111", 1, Arc.UseTempFile),
    FLAG(L"Arc", L"1111001111111", 2, Arc.ShowOnDoubleClick),
    FLAG(L"Arc", L"1111001111111", 3, Arc.ExternePackerImHintergrund),
    FLAG(L"Arc", L"1111001111111", 4, Arc.ArcViewStatuszeile),
    FLAG(L"Arc", L"1111001111111", 5, Arc.AskBeforeOpen),
    FLAG(L"Arc", L"1111001111111", 6, Arc.ExtraNachfragen),
    FLAG(L"Arc", L"1111001111111", 7, Arc.UseInternZip),
    FLAG(L"Arc", L"1111001111111", 8, Arc.UseInternUnZip),
    FLAG(L"Arc", L"1111001111111", 9, Arc.UseInternUnArj),
    FLAG(L"Arc", L"1111001111111", 10, Arc.UseInternUnRar),
    FLAG(L"Arc", L"1111001111111", 11, Arc.UseInternUnLha),
    FLAG(L"Arc", L"1111001111111", 12, Arc.UseInternUnZoo),
    FLAG(L"Arc", L"1111001111111", 13, Arc.UseInternUnArc),
    FLAG(L"ArcDragDrop", L"00000031", 1, ArcDragDrop.VerschiebenBestaetigen),
    FLAG(L"ArcDragDrop", L"00000031", 2, ArcDragDrop.NurWennAktueller),
    FLAG(L"ArcDragDrop", L"00000031", 3, ArcDragDrop.NurWennAktuellerUndVorhanden),
    FLAG(L"ArcDragDrop", L"00000031", 4, ArcDragDrop.PfadeSpeichern),
    FLAG(L"ArcDragDrop", L"00000031", 5, ArcDragDrop.Unterverzeichnisse),
    FLAG(L"ArcDragDrop", L"00000031", 6, ArcDragDrop.DosDateiNamenBenutzen),
    FLAG(L"Sonst", L"010", 2, Sonst.ClearLists),
    FLAG(L"Sonst", L"010", 3, Sonst.AktPfadSichern),
    FLAG(L"DragDrop", L"1111", 1, DragDrop.KopierDlgZeigen),
    FLAG(L"DragDrop", L"1111", 2, DragDrop.VerschiebDlgZeigen),
    FLAG(L"DragDrop", L"1111", 3, DragDrop.LinkDlgZeigen),
    FLAG(L"DragDrop", L"1111", 4, DragDrop.ArcDlgZeigen),
};
#undef FLAG

}  // namespace

TEST_F(EinstellungenTest, EachFlagSitsAtItsPosition) {
    for (const auto& f : kFlagPositions) {
        SetUp();
        std::wstring text = f.Default;
        wchar_t& c = text[static_cast<size_t>(f.Pos - 1)];
        bool byDefault = c == L'1';
        c = byDefault ? L'0' : L'1';
        Store(f.Group, text);
        TEinstellungen e;
        EXPECT_EQ(f.Field(e), !byDefault) << f.Group << L" position " << f.Pos;
        // Every other flag of the same group kept its default.
        for (const auto& other : kFlagPositions) {
            if (&other == &f || std::wstring(other.Group) != f.Group) continue;
            EXPECT_EQ(other.Field(e), other.Default[other.Pos - 1] == L'1') << f.Group << L" " << other.Pos;
        }
    }
}

TEST_F(EinstellungenTest, AGroupOfTheWrongLengthReadsAsItsDefaultAndTouchesNoOther) {
    Store(L"Dateiliste", L"000000000<>0");
    Store(L"ADateiliste", L"00000000001<>");
    Store(L"Best", L"0001");
    Store(L"Arc", L"");
    TEinstellungen e;
    EXPECT_TRUE(e.Dateiliste.IconsAnzeigen);
    EXPECT_EQ(e.Dateiliste.VEinfZeichen, L"[]");
    EXPECT_FALSE(e.ADateiliste.IconsAnzeigen);
    EXPECT_EQ(e.ADateiliste.VEinfZeichen, L"<>");
    EXPECT_FALSE(e.Best.Loeschabfrage);
    EXPECT_TRUE(e.Best.OeffnenMitParametern);
    EXPECT_TRUE(e.Arc.UseTempFile);
    EXPECT_FALSE(e.Arc.AskBeforeOpen);
}

TEST_F(EinstellungenTest, TriStatesReadAnythingButZeroAndOneAsTwoAndWriteItBackAsTwo) {
    Store(L"Dateiliste", L"111111x0111");
    Store(L"ArcView", L"1110?1[]");
    {
        TEinstellungen e;
        EXPECT_EQ(e.Dateiliste.DateiSchreibweise, 2);
        EXPECT_EQ(e.Dateiliste.VSchreibweise, 0);
        EXPECT_EQ(e.ArcView.DateiSchreibweise, 0);
        EXPECT_EQ(e.ArcView.VSchreibweise, 2);
        e.ADateiliste.DateiSchreibweise = 2;
        e.ADateiliste.VSchreibweise = 0;
    }
    EXPECT_EQ(Stored(L"Dateiliste"), L"111111201" L"11");
    EXPECT_EQ(Stored(L"ADateiliste"), L"11101000201[]");
    EXPECT_EQ(Stored(L"ArcView"), L"111021[]");
}

TEST_F(EinstellungenTest, DigitsAboveTheirRangeReadAsTheFieldsDefault) {
    Store(L"ArcDragDrop", L"10000199");
    Store(L"Sonst", L"711");
    {
        TEinstellungen e;
        EXPECT_EQ(e.ArcDragDrop.DropPfadangaben, 3);
        EXPECT_EQ(e.ArcDragDrop.Methode, 1);
        EXPECT_TRUE(e.ArcDragDrop.VerschiebenBestaetigen);
        EXPECT_TRUE(e.ArcDragDrop.DosDateiNamenBenutzen);
        EXPECT_EQ(e.Sonst.LoeschGroup, 0);
        EXPECT_TRUE(e.Sonst.ClearLists && e.Sonst.AktPfadSichern);
    }
    EXPECT_EQ(Stored(L"ArcDragDrop"), L"10000131");
    EXPECT_EQ(Stored(L"Sonst"), L"011");

    Store(L"ArcDragDrop", L"00000025");
    Store(L"Sonst", L"200");
    TEinstellungen e;
    EXPECT_EQ(e.ArcDragDrop.DropPfadangaben, 2);
    EXPECT_EQ(e.ArcDragDrop.Methode, 5);
    EXPECT_EQ(e.Sonst.LoeschGroup, 2);
}

// The commands and the options dialog may leave any number in a digit field; the
// group must keep its length, or every flag in it would fall back at the next start.
TEST_F(EinstellungenTest, NumbersOutOfRangeAreSavedAsTheFieldsDefault) {
    LoadSaveRound([](TEinstellungen& e) {
        e.ArcDragDrop.VerschiebenBestaetigen = true;
        e.ArcDragDrop.DropPfadangaben = 12;
        e.ArcDragDrop.Methode = 6;
        e.Sonst.LoeschGroup = 3;
        e.Sonst.ClearLists = false;
        e.Sonst.AktPfadSichern = true;
    });
    EXPECT_EQ(Stored(L"ArcDragDrop"), L"10000031");
    EXPECT_EQ(Stored(L"Sonst"), L"001");
    LoadSaveRound([](TEinstellungen& e) {
        e.ArcDragDrop.DropPfadangaben = 255;
        e.ArcDragDrop.Methode = 250;
    });
    EXPECT_EQ(Stored(L"ArcDragDrop"), L"10000031");
    TEinstellungen e;
    EXPECT_TRUE(e.ArcDragDrop.VerschiebenBestaetigen);
    EXPECT_TRUE(e.Sonst.AktPfadSichern);
    EXPECT_FALSE(e.Sonst.ClearLists);
}

TEST_F(EinstellungenTest, ANonDigitAtADigitPositionReadsAsTheFieldsDefaultInsteadOfFailing) {
    Store(L"ArcDragDrop", L"000000x-");
    Store(L"Sonst", L"a01");
    Store(L"DragDrop", L"0000");
    std::optional<TEinstellungen> e;
    ASSERT_NO_THROW(e.emplace());
    EXPECT_EQ(e->ArcDragDrop.DropPfadangaben, 3);
    EXPECT_EQ(e->ArcDragDrop.Methode, 1);
    EXPECT_EQ(e->Sonst.LoeschGroup, 0);
    EXPECT_FALSE(e->Sonst.ClearLists);
    EXPECT_TRUE(e->Sonst.AktPfadSichern);
    EXPECT_FALSE(e->DragDrop.KopierDlgZeigen) << "the groups after the bad one are loaded too";
    e.reset();
    EXPECT_EQ(Stored(L"ArcDragDrop"), L"00000031");
    EXPECT_EQ(Stored(L"Sonst"), L"001");
}

TEST_F(EinstellungenTest, ArcViewSharesTheMaskListOfTheDetailedList) {
    TEinstellungen e;
    e.ADateiliste.Filter.Masken->Clear();
    e.ADateiliste.Filter.Masken->Add(L"*.zip");
    EXPECT_EQ(e.ArcView.Filter.Masken->Items(), std::vector<std::wstring>{L"*.zip"});
    EXPECT_EQ(e.Dateiliste.Filter.Masken->Items(), std::vector<std::wstring>{L"*.*"});
}

TEST_F(EinstellungenTest, APanesCopyOfItsOptionsSharesTheListsAndOutlivesTheSettings) {
    TOptionen paneCopy;
    {
        TEinstellungen e;
        paneCopy = e.ADateiliste;
        e.ADateiliste.Filter.Masken->Add(L"*.txt");
        EXPECT_EQ(paneCopy.Filter.Masken->Count(), 2);
    }
    ASSERT_TRUE(paneCopy.Filter.Masken);
    EXPECT_EQ(paneCopy.Filter.Masken->Items(), (std::vector<std::wstring>{L"*.*", L"*.txt"}));
}

TEST_F(EinstellungenTest, EnclosingCharactersShorterThanTwoKeepTheirGroup) {
    {
        TEinstellungen e;
        e.Dateiliste.VEinfZeichen = L"";
        e.Dateiliste.IconsAnzeigen = false;
        e.ADateiliste.VEinfZeichen = L"<";
        e.ADateiliste.StandardIcons = false;
        e.ArcView.VEinfZeichen = L"{}]";
        e.ArcView.Statuszeile = false;
    }
    EXPECT_EQ(Stored(L"Dateiliste"), L"011111111  ");
    EXPECT_EQ(Stored(L"ADateiliste"), L"10101000111< ");
    EXPECT_EQ(Stored(L"ArcView"), L"110111{}");
    TEinstellungen e;
    EXPECT_EQ(e.Dateiliste.VEinfZeichen, L"");
    EXPECT_FALSE(e.Dateiliste.IconsAnzeigen);
    EXPECT_EQ(e.Dateiliste.EinfZeichen(0), L"");
    EXPECT_EQ(e.Dateiliste.EinfZeichen(1), L"");
    EXPECT_EQ(e.ADateiliste.VEinfZeichen, L"<");
    EXPECT_FALSE(e.ADateiliste.StandardIcons);
    EXPECT_EQ(e.ADateiliste.EinfZeichen(0), L"<");
    EXPECT_EQ(e.ADateiliste.EinfZeichen(1), L"");
    EXPECT_EQ(e.ArcView.VEinfZeichen, L"{}");
    EXPECT_FALSE(e.ArcView.Statuszeile);
}

TEST_F(EinstellungenTest, ALeadingBlankOfTheEnclosingCharactersIsKept) {
    Store(L"Dateiliste", L"111111111 |");
    TEinstellungen e;
    EXPECT_EQ(e.Dateiliste.VEinfZeichen, L" |");
    EXPECT_EQ(e.Dateiliste.EinfZeichen(1), L"|");
}

TEST_F(EinstellungenTest, TheCountOfRecentEntriesIsReadInTheOptionsRange) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"", 5}, {L"0", 0}, {L"7", 7}, {L"20", 20}, {L"21", 20}, {L"300", 20}, {L"-9", 0},
        {L"abc", 5}, {L"7 ", 5}, {L"99999999999", 5},
    };
    for (auto [stored, expected] : cases) {
        Store(L"OftBenVerz", stored);
        TEinstellungen e;
        EXPECT_EQ(e.OftBenVerz, expected) << stored;
    }
}

TEST_F(EinstellungenTest, FrequentFoldersAreReadUpToTheFirstEmptyValue) {
    Store(L"OBV0", L"c:\\daten");
    Store(L"OBV1", L"d:\\");
    Store(L"OBV2", L"");
    Store(L"OBV3", L"e:\\spaeter");
    TEinstellungen e;
    EXPECT_EQ(e.OBV.Items(), (std::vector<std::wstring>{L"c:\\daten", L"d:\\"}));
}

TEST_F(EinstellungenTest, StoringFewerFoldersLeavesNoStaleValues) {
    Store(L"OBV5", L"x:\\hinter der luecke");
    {
        TEinstellungen e;
        e.OBV = TStringList{L"c:\\eins", L"", L"c:\\zwei", L"c:\\drei"};
    }
    EXPECT_EQ(Stored(L"OBV0"), L"c:\\eins");
    EXPECT_EQ(Stored(L"OBV1"), L"c:\\zwei");
    EXPECT_EQ(Stored(L"OBV2"), L"c:\\drei");
    EXPECT_FALSE(ValueExists(L"OBV3"));
    EXPECT_FALSE(ValueExists(L"OBV5"));
    LoadSaveRound([](TEinstellungen& e) { e.OBV.Delete(0); });
    EXPECT_FALSE(ValueExists(L"OBV2"));
    TEinstellungen e;
    EXPECT_EQ(e.OBV.Items(), (std::vector<std::wstring>{L"c:\\zwei", L"c:\\drei"}));
}

// Runs last: its state stays for the registry listing that follows this program.
TEST_F(EinstellungenTest, TwoStoredFoldersLeaveTheFixedValuesAndOBV0AndOBV1) {
    LoadSaveRound([](TEinstellungen& e) {
        e.OBV = TStringList{L"c:\\a", L"c:\\b", L"c:\\c"};
        e.OftBenVerz = 8;
    });
    LoadSaveRound([](TEinstellungen& e) { e.OBV.Delete(2); });
    EXPECT_EQ(Stored(L"OBV0"), L"c:\\a");
    EXPECT_EQ(Stored(L"OBV1"), L"c:\\b");
    EXPECT_FALSE(ValueExists(L"OBV2"));
    EXPECT_EQ(Stored(L"OftBenVerz"), L"8");
}
