#pragma once
// The main window's stored window values read and written as texts, apart from
// the window itself: the pane kinds of "Fenster", the sort states of "LSM" and
// "RSM", the position "Pos", the left pane's width and the first toolbar button.

#include <optional>
#include <string>
#include <vector>

#include "foundation/DMChild_Typen.h"

namespace velmora {

// What the first showing makes of "Fenster". The right side's other characters
// leave the choice between an archive pane (for an archive on the command line)
// and a plain file list to the caller.
struct TPaneKindRequest {
    TFensterTyp Left = ftVerzeichnisbaum;
    TFensterTyp Right = ftDateiliste;
    bool RightArchiveOrList = false;
    bool operator==(const TPaneKindRequest&) const = default;
};
TPaneKindRequest ParsePaneKinds(const std::wstring& Fenster, bool ArchiveArgument);

// The character one side is stored as; an archive pane is stored as the file list
// it returns to.
wchar_t PaneKindChar(TFensterTyp Kind, TFensterTyp ListKind);

// "2" to "11" give the sort requests 1 to 10; anything else request 0.
int SortRequestFromText(const std::wstring& Stored);
// The state plus one; nothing for a state above 10.
std::optional<std::wstring> SortStateText(int State);

// "left,top,width,height": the numbers in turn, as many as there are (at most
// four). A part that is not a decimal number makes the whole value count as
// missing, as does an empty one.
std::optional<std::vector<int>> ParsePos(const std::wstring& Stored);
std::wstring PosText(int Left, int Top, int Width, int Height);

// Missing or not a number: none (the window then takes half its client width minus 2).
std::optional<int> ParseLeftPaneWidth(const std::wstring& Stored);
// Missing, not a number, or outside 1 to 13: 1.
int ParseFirstToolbarButton(const std::wstring& Stored);

}  // namespace velmora
