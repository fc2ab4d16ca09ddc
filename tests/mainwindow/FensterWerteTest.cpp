#include <gtest/gtest.h>

#include "mainwindow/FensterWerte.h"

using namespace velmora;

TEST(PaneKinds, StoredPairsGiveTheirKinds) {
    EXPECT_EQ(ParsePaneKinds(L"12", false), (TPaneKindRequest{ftVerzeichnisbaum, ftDateiliste, true}));
    EXPECT_EQ(ParsePaneKinds(L"31", false), (TPaneKindRequest{ftAusfDateiliste, ftVerzeichnisbaum, false}));
    EXPECT_EQ(ParsePaneKinds(L"45", false), (TPaneKindRequest{ftSuchergebnis, ftSammelkorb, false}));
    // Two basket panes are allowed.
    EXPECT_EQ(ParsePaneKinds(L"55", false), (TPaneKindRequest{ftSammelkorb, ftSammelkorb, false}));
    // Other characters: a plain file list (the right side may become an archive).
    EXPECT_EQ(ParsePaneKinds(L"x9", false), (TPaneKindRequest{ftDateiliste, ftDateiliste, true}));
    EXPECT_EQ(ParsePaneKinds(L"23", false), (TPaneKindRequest{ftDateiliste, ftAusfDateiliste, false}));
}

TEST(PaneKinds, WrongLengthOrAnArchiveArgumentGiveTreeAndList) {
    const TPaneKindRequest standard{ftVerzeichnisbaum, ftDateiliste, true};
    for (const wchar_t* stored : {L"", L"3", L"345"})
        EXPECT_EQ(ParsePaneKinds(stored, false), standard);
    EXPECT_EQ(ParsePaneKinds(L"55", true), standard);
}

TEST(PaneKinds, StoredCharactersRoundTripAndArchivesBecomeTheirList) {
    for (TFensterTyp kind : {ftVerzeichnisbaum, ftDateiliste, ftAusfDateiliste, ftSuchergebnis, ftSammelkorb}) {
        const std::wstring stored{PaneKindChar(kind, ftDateiliste), PaneKindChar(kind, ftDateiliste)};
        const TPaneKindRequest back = ParsePaneKinds(stored, false);
        EXPECT_EQ(back.Left, kind);
        EXPECT_EQ(back.Right, kind);
    }
    EXPECT_EQ(PaneKindChar(ftZip, ftDateiliste), L'2');
    EXPECT_EQ(PaneKindChar(ftRarExe, ftAusfDateiliste), L'3');
    EXPECT_EQ(PaneKindChar(ftVerzeichnisbaum, ftAusfDateiliste), L'1');
}

TEST(SortStates, StoredValuesBecomeRequests) {
    EXPECT_EQ(SortRequestFromText(L"1"), 0);
    EXPECT_EQ(SortRequestFromText(L"2"), 1);
    EXPECT_EQ(SortRequestFromText(L"6"), 5);
    EXPECT_EQ(SortRequestFromText(L"11"), 10);
    for (const wchar_t* other : {L"", L"0", L"12", L"-3", L"x", L" 5", L"+5"})
        EXPECT_EQ(SortRequestFromText(other), 0);
    EXPECT_EQ(SortStateText(0), L"1");
    EXPECT_EQ(SortStateText(10), L"11");
    EXPECT_FALSE(SortStateText(11));
}

TEST(WindowPosition, NumbersInTurnAndBadPartsCountAsMissing) {
    EXPECT_EQ(ParsePos(L"150,108,640,406"), (std::vector<int>{150, 108, 640, 406}));
    EXPECT_EQ(ParsePos(L"-4,-4,1288,1000"), (std::vector<int>{-4, -4, 1288, 1000}));
    EXPECT_EQ(ParsePos(L"10,20"), (std::vector<int>{10, 20}));
    EXPECT_EQ(ParsePos(L"1,2,3,4,5"), (std::vector<int>{1, 2, 3, 4}));
    for (const wchar_t* bad : {L"", L"10,x,640,406", L"10,,640,406", L"a", L"1;2;3;4", L"99999999999,1,1,1"})
        EXPECT_FALSE(ParsePos(bad)) << std::string(bad, bad + wcslen(bad));
    EXPECT_EQ(PosText(150, 108, 640, 406), L"150,108,640,406");
}

TEST(WindowValues, LeftWidthAndFirstButtonFallBack) {
    EXPECT_EQ(ParseLeftPaneWidth(L"300"), 300);
    EXPECT_EQ(ParseLeftPaneWidth(L""), std::nullopt);
    EXPECT_EQ(ParseLeftPaneWidth(L"breit"), std::nullopt);
    EXPECT_EQ(ParseFirstToolbarButton(L"7"), 7);
    EXPECT_EQ(ParseFirstToolbarButton(L"13"), 13);
    for (const wchar_t* other : {L"0", L"14", L"", L"eins", L"-1"})
        EXPECT_EQ(ParseFirstToolbarButton(other), 1);
}
