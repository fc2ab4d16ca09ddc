// The file-type list in the user store of the build's own prefix: the test owns
// the key "Filter" while it runs and removes it afterwards.

#include <gtest/gtest.h>

#include "filetools/DateiTypListe.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/RegTool.h"

using namespace velmora;

namespace {

const std::wstring kFilter = ProgrammSchluessel + L"\\Filter";
const std::wstring kFilterTool = L"HKU\\" + HerstellerSchluessel + kFilter;

class PrefixGuard : public ::testing::Environment {
public:
    void SetUp() override { velmora::test::RequireBuildPrefix(); }
};
const auto* const kPrefixGuard = ::testing::AddGlobalTestEnvironment(new PrefixGuard);

std::vector<std::wstring> Names(const TDateiTypListe& list) {
    std::vector<std::wstring> names;
    for (const auto& t : list) names.push_back(t->Name);
    return names;
}

int IndexOfName(const TDateiTypListe& list, const std::wstring& name) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i]->Name == name) return static_cast<int>(i);
    return -1;
}

class DateiTypListeTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteUserKey(ProgrammSchluessel, L"Filter"); }
    void TearDown() override { RegDeleteUserKey(ProgrammSchluessel, L"Filter"); }
};

const std::vector<std::wstring> kDefaults = {L"Alle Dateien",   L"Text-Dateien",   L"Grafik-Dateien",
                                             L"Multimedia-Dateien", L"System-Dateien", L"Archiv-Dateien",
                                             L"Datenbanken",    L"Tabellenkalkulationen"};

}  // namespace

TEST_F(DateiTypListeTest, AMissingFirstTypeGivesTheDefaults) {
    RegWriteUserValue(kFilter + L"\\2", L"Typ", L"Verwaist");
    RegWriteUserValue(kFilter + L"\\2", L"0", L"*.zqx");
    TDateiTypListe list;
    DateiTypenLaden(list);
    EXPECT_EQ(Names(list), kDefaults);
    EXPECT_EQ(list[0]->Masks, TStringList({L"*.*"}));
    EXPECT_EQ(list[2]->Masks, TStringList({L"*.bmp", L"*.ico", L"*.pcx", L"*.gif", L"*.jpg", L"*.pcd", L"*.tif",
                                           L"*.wmf", L"*.art", L"*.tif"}));
    EXPECT_EQ(list[4]->Masks,
              TStringList({L"*.dll", L"*.sys", L"*.vxd", L"*.386", L"*.drv", L"*.pcd", L"*.inf"}));
    EXPECT_EQ(list[7]->Masks, TStringList({L"*.xls", L"*.wks"}));
}

TEST_F(DateiTypListeTest, StoredTypesLoadInOrderUpToTheFirstGap) {
    RegWriteUserValue(kFilter + L"\\1", L"Typ", L"Eins");
    RegWriteUserValue(kFilter + L"\\1", L"0", L"*.a");
    RegWriteUserValue(kFilter + L"\\1", L"1", L"*.b");
    RegWriteUserValue(kFilter + L"\\1", L"3", L"*.nach-luecke");
    RegWriteUserValue(kFilter + L"\\2", L"Typ", L"Zwei");
    RegWriteUserValue(kFilter + L"\\4", L"Typ", L"Nach Luecke");
    TDateiTypListe list;
    DateiTypenLaden(list);
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Alle Dateien", L"Eins", L"Zwei"}));
    EXPECT_EQ(list[1]->Masks, TStringList({L"*.a", L"*.b"}));
    EXPECT_TRUE(list[2]->Masks.Empty());
}

TEST_F(DateiTypListeTest, SavingAfterARemovalRewritesTheRemainingTypesOnly) {
    TDateiTypListe list;
    DateiTypenLaden(list);
    list.resize(6);  // "Alle Dateien" and five types
    DateiTypenSpeichern(list);
    ASSERT_TRUE(velmora::test::RegKeyExists(kFilterTool + L"\\5"));
    list.erase(list.begin() + 3);
    DateiTypenSpeichern(list);
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(velmora::test::RegKeyExists(kFilterTool + L"\\" + std::to_wstring(i)));
    EXPECT_FALSE(velmora::test::RegKeyExists(kFilterTool + L"\\5"));
    EXPECT_FALSE(velmora::test::RegKeyExists(kFilterTool + L"\\0")) << "\"Alle Dateien\" is never stored";
    TDateiTypListe again;
    DateiTypenLaden(again);
    EXPECT_EQ(Names(again), (std::vector<std::wstring>{L"Alle Dateien", L"Text-Dateien", L"Grafik-Dateien",
                                                        L"System-Dateien", L"Archiv-Dateien"}));
    EXPECT_EQ(again[2]->Masks, list[2]->Masks) << "both \"*.tif\" are kept";
    EXPECT_EQ(RegReadUserValue(kFilter + L"\\1", L"Typ"), L"Text-Dateien");
}

TEST(MaskenAufteilen, BlanksAndEmptyPiecesGoAndAFolderPartIsDropped) {
    TStringList masks;
    EXPECT_TRUE(MaskenAufteilen(L" *.txt ;*.doc;; c:\\temp\\*.bak", masks));
    EXPECT_EQ(masks, TStringList({L"*.txt", L"*.doc"}));
    TStringList clean;
    EXPECT_FALSE(MaskenAufteilen(L"*.a;  b?.c  ;", clean));
    EXPECT_EQ(clean, TStringList({L"*.a", L"b?.c"}));
}

TEST(MaskenDerTypen, ChosenTypesGiveTheirMasksOnceInListOrder) {
    TDateiTypListe list;
    list.push_back(std::make_unique<TVordefFilter>(TVordefFilter{AlleDateienName, {L"*.*"}}));
    StandardTypenAnhaengen(list);
    const int text = IndexOfName(list, L"Text-Dateien"), archiv = IndexOfName(list, L"Archiv-Dateien");
    TStringList masks = MaskenDerTypen(list, {archiv, text});
    ASSERT_EQ(masks.Count(), 15);
    EXPECT_EQ(MaskenText(masks),
              L"*.txt; *.doc; *.asc; *.log; *.rtf; *.sdw; *.wri; *.wps; "
              L"*.zip; *.lha; *.arc; *.arj; *.rar; *.pak; *.zoo");

    TStringList shared =
        MaskenDerTypen(list, {IndexOfName(list, L"Grafik-Dateien"), IndexOfName(list, L"System-Dateien")});
    EXPECT_EQ(MaskenText(shared),
              L"*.bmp; *.ico; *.pcx; *.gif; *.jpg; *.pcd; *.tif; *.wmf; *.art; "
              L"*.dll; *.sys; *.vxd; *.386; *.drv; *.inf");
}

namespace {

TDateiTypListe ZweiTypen() {
    TDateiTypListe list;
    list.push_back(std::make_unique<TVordefFilter>(TVordefFilter{AlleDateienName, {L"*.*"}}));
    list.push_back(std::make_unique<TVordefFilter>(TVordefFilter{L"Text-Dateien", {L"*.txt", L"*.doc"}}));
    return list;
}

}  // namespace

TEST(TypenBearbeitung, OkDropsTheTypesWithoutMasks) {
    TDateiTypListe list = ZweiTypen();
    TTypenBearbeitung edit(list);
    const int leer = edit.NeuerTyp(L"Leer");
    const int voll = edit.NeuerTyp(L"Bilder");
    edit.FilterHinzu(voll, L"*.BMP");
    edit.FilterHinzu(1, L"*.Log");
    edit.FilterEntfernen(1, 0);
    ASSERT_EQ(leer, 2);
    edit.Ok();
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{AlleDateienName, L"Text-Dateien", L"Bilder"}));
    EXPECT_EQ(list[2]->Masks, TStringList({L"*.bmp"})) << "masks are kept lower-cased";
    EXPECT_EQ(list[1]->Masks, TStringList({L"*.doc", L"*.log"}));
}

TEST(TypenBearbeitung, CancelDropsTheNewTypesAndKeepsTheOldTypesMaskChanges) {
    TDateiTypListe list = ZweiTypen();
    const TVordefFilter* text = list[1].get();
    TTypenBearbeitung edit(list);
    const int neu = edit.NeuerTyp(L"Bilder");
    edit.FilterHinzu(neu, L"*.bmp");
    edit.FilterHinzu(1, L"*.LOG");
    edit.Abbrechen();
    EXPECT_EQ(Names(list), (std::vector<std::wstring>{AlleDateienName, L"Text-Dateien"}));
    EXPECT_EQ(list[1].get(), text) << "the old record itself stays";
    EXPECT_EQ(list[1]->Masks, TStringList({L"*.txt", L"*.doc", L"*.log"}));
}

TEST(TypenBearbeitung, AChangedMaskThatAnotherMaskAlreadyHasIsRefused) {
    TDateiTypListe list = ZweiTypen();
    TTypenBearbeitung edit(list);
    EXPECT_EQ(edit.FilterAendern(1, 1, L"*.TXT"), L"Der angegebene Filter <*.txt> gehört bereits zum Dateitypen Text-Dateien");
    EXPECT_EQ(list[1]->Masks, TStringList({L"*.txt", L"*.doc"}));
    EXPECT_EQ(edit.FilterAendern(1, 1, L"*.DOC"), L"") << "unchanged";
    EXPECT_EQ(edit.FilterAendern(1, 1, L"*.Rtf"), L"");
    EXPECT_EQ(list[1]->Masks, TStringList({L"*.txt", L"*.rtf"}));
}

TEST(EingabePruefen, AnEmptyTextAndAMaskWithAFolderAreRefused) {
    EXPECT_EQ(EingabePruefen(L"", false), L"Sie haben Ihre Eingabe vergessen!");
    EXPECT_EQ(EingabePruefen(L"", true), L"Sie haben Ihre Eingabe vergessen!");
    EXPECT_EQ(EingabePruefen(L"c:\\temp\\*.txt", true),
              L"Der von Ihnen angegebene Dateifilter ist ungültig.\rBitte überprüfen Sie Ihre Eingabe nochmal.");
    EXPECT_EQ(EingabePruefen(L"*.txt", true), L"");
    EXPECT_EQ(EingabePruefen(L"HTML: Seiten", false), L"") << "a type name is no mask";
}
