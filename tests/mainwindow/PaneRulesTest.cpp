// The view menu's items: which side and kind each asks for, and when a tick
// mark makes an item do nothing.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "mainwindow/PaneRules.h"

using namespace velmora;

namespace {

TViewChoice Choose(const std::wstring& item, std::set<std::wstring> ticked = {}) {
    return ViewItemChoice(item, [&](const wchar_t* name) { return ticked.count(name) > 0; });
}

const TViewChoice kNothing{};

TViewChoice Show(int side, TFensterTyp kind) { return {TViewAction::ShowKind, side, kind}; }

}  // namespace

TEST(ViewMenuItems, EachItemNamesItsSideAndKindUnlessItIsTicked) {
    EXPECT_EQ(Choose(L"AnsichtVbaumL"), Show(0, ftVerzeichnisbaum));
    EXPECT_EQ(Choose(L"AnsichtVbaumR"), Show(1, ftVerzeichnisbaum));
    EXPECT_EQ(Choose(L"AnsichtDListeR"), Show(1, ftDateiliste));
    EXPECT_EQ(Choose(L"AnsichtAusDlisteL"), Show(0, ftAusfDateiliste));
    EXPECT_EQ(Choose(L"AnsichtAusDlisteL", {L"AnsichtAusDlisteL"}), kNothing);
    EXPECT_EQ(Choose(L"AnsichtDListeL", {L"AnsichtDListeR"}), Show(0, ftDateiliste)) << "the other side's tick";
    EXPECT_EQ(Choose(L"Unbekannt"), kNothing);
}

TEST(ViewMenuItems, TheSearchResultIsShownOnOneSideOnly) {
    EXPECT_EQ(Choose(L"SuchergebnisAnzeigenLinkesFenster"), Show(0, ftSuchergebnis));
    EXPECT_EQ(Choose(L"AnsichtSuchergebnisR"), Show(1, ftSuchergebnis));
    EXPECT_EQ(Choose(L"AnsichtSuchergebnisL", {L"AnsichtSuchergebnisR"}), kNothing);
    EXPECT_EQ(Choose(L"SuchergebnisAnzeigenRechtesFenster", {L"AnsichtSuchergebnisL"}), kNothing);
}

TEST(ViewMenuItems, TheViewMenusBasketItemsAlwaysActTheToolsMenusOnlyWithoutABasketShown) {
    EXPECT_EQ(Choose(L"AnsichtSammelKorbL", {L"AnsichtSammelKorbL"}), Show(0, ftSammelkorb));
    EXPECT_EQ(Choose(L"AnsichtSammelkorbR", {L"AnsichtSammelKorbL"}), Show(1, ftSammelkorb));
    EXPECT_EQ(Choose(L"SammelkorbLinks"), Show(0, ftSammelkorb));
    EXPECT_EQ(Choose(L"SammelkorbRechts", {L"AnsichtSammelKorbL"}), kNothing);
    EXPECT_EQ(Choose(L"SammelkorbLinks", {L"AnsichtSammelkorbR"}), kNothing);
}

TEST(ViewMenuItems, TheArchiveItemsShowTheMarkedArchiveAndThePopupItemsActOnTheActiveSide) {
    EXPECT_EQ(Choose(L"AnsichtFileViewR").Action, TViewAction::ShowMarked);
    EXPECT_EQ(Choose(L"AnsichtFileViewR").Side, 1);
    EXPECT_EQ(ViewItemForPopupItem(L"Archivinhalt1", true), L"AnsichtFileViewL");
    EXPECT_EQ(ViewItemForPopupItem(L"InhaltdesSammelkorbes1", false), L"AnsichtSammelkorbR");
    EXPECT_EQ(ViewItemForPopupItem(L"LetztesSuchergebnis1", true), L"AnsichtSuchergebnisL");
    EXPECT_EQ(ViewItemForPopupItem(L"AnsichtVbaumL", false), L"AnsichtVbaumL");
}
