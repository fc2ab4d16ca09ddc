#pragma once
// What the main window keeps under "Velmora\1.0\Mainform" and its numbered
// lists, loaded and saved apart from the window itself: the window hands over
// and takes back plain values.

#include <optional>
#include <string>
#include <vector>

#include "foundation/DMChild_Typen.h"
#include "platform/rtl/StringList.h"

namespace velmora {

inline const std::wstring MainformSchluessel = L"Velmora\\1.0\\Mainform";

struct THistoryLists {
    TStringList RecentDirs;
    TStringList RecentFiles;
    TStringList RecentArcs;
    TStringList RecentParameters;
};

// As loaded at creation.
struct TGeladeneFensterWerte {
    // The numbers of "Pos" in turn (left, top, width, height); missing: the form's own.
    std::optional<std::vector<int>> Pos;
    bool Max = false;
    std::wstring PaneKinds;
    // Missing: the window's own, half its client width minus 2 once "Pos" is applied.
    std::optional<int> LeftPaneWidth;
    int FirstToolbarButton = 1;
    std::wstring StartFolderLeft, StartFolderRight;
    bool UseStartFolderLeft = false, UseStartFolderRight = false;
    std::wstring SortLeft, SortRight;
};

// One side as it is at close; nothing is written for a side without a pane.
struct TPaneZustand {
    TFensterTyp Kind = ftDateiliste;
    std::wstring Directory;
    int SortOrder = 0;
};

struct TZuSpeicherndeFensterWerte {
    bool Max = false;
    int LeftPaneWidth = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;  // the normal (not maximised) placement
    int FirstToolbarButton = 1;
    TFensterTyp ListKind = ftDateiliste;
    std::optional<TPaneZustand> LeftPane, RightPane;
};

// DOSBefehlszeile is the command line's history; AktPfadSichern decides over the folders.
void LoadFensterWerte(TGeladeneFensterWerte& Werte, TStringList& DOSBefehlszeile, THistoryLists& Lists,
                      bool AktPfadSichern);
void SaveFensterWerte(const TZuSpeicherndeFensterWerte& Werte, const TStringList& DOSBefehlszeile,
                      const THistoryLists& Lists, bool AktPfadSichern);

}  // namespace velmora
