#pragma once
// Rules of pane management that need no window: which kind changes keep the pane
// object, which routine number a pane change runs under, which option group a
// kind takes, what the view menu's items ask for, and where Backspace leads.

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/Einstellungen.h"
#include "foundation/DMChild_Typen.h"

namespace velmora {

// A plain or detailed file list.
bool IsFileListKind(TFensterTyp Kind);

// The file lists change kind in place, and so do the search result and the
// basket; every other change of kind makes a new pane.
bool KeepsPaneObject(TFensterTyp Old, TFensterTyp New);

// The routine number while a side's pane of Kind is made (left 1 to 6, right
// 8 to 13; every archive kind counts as one), and while its folder is chosen.
std::uint16_t PaneKindCode(int Side, TFensterTyp Kind);
std::uint16_t PaneFolderCode(int Side);

// The option group a pane of Kind gets.
const TOptionen& OptionsForKind(const TEinstellungen& Settings, TFensterTyp Kind);

// What a view-menu item asks for.
enum class TViewAction { Nothing, ShowKind, ShowMarked };
struct TViewChoice {
    TViewAction Action = TViewAction::Nothing;
    int Side = 0;
    TFensterTyp Kind = ftVerzeichnisbaum;
    bool operator==(const TViewChoice&) const = default;
};
// Item is a view-menu or search/tools-menu item by name; Ticked tells whether a
// named item carries its tick mark.
TViewChoice ViewItemChoice(const std::wstring& Item, const std::function<bool(const wchar_t*)>& Ticked);
// The pane pop-up's "Fenstertyp" items stand for the view-menu item of the
// active pane's side; any other name comes back unchanged.
std::wstring ViewItemForPopupItem(const std::wstring& Item, bool ActiveSideLeft);

// Where Backspace leads from what a pane shows. Shown is a folder (IsFolder) or
// an archive file, or empty. Parent is empty at a drive's root and for nothing
// shown; Folder is the archive's folder (for an archive) or Shown itself.
struct TParentStep {
    std::wstring Parent;
    std::wstring FocusName;
    std::wstring Folder;
};
TParentStep ParentStepOf(const std::wstring& Shown, bool IsFolder);

// The splitter's new left width: 10 to ClientWidth - 10 as it comes, less gives
// 6, more gives ClientWidth - 10.
int SplitterWidth(int Wanted, int ClientWidth);

}  // namespace velmora
