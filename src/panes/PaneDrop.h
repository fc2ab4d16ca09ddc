#pragma once
// What the panes share of dropping: the effect the held keys ask for, and a drop
// target that asks its pane where a drop at a point goes and hands the drop to
// the main window.

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

#include "foundation/HEDropTarget.h"
#include "platform/gui/ListView.h"
#include "panes/PaneHost.h"

namespace velmora {

// Where a drop at a point goes.
struct TDropZiel {
    DWORD Effect = DROPEFFECT_NONE;
    std::wstring Target;  // a folder with "\" or an archive
    bool Recycle = false;
    bool Basket = false;  // the basket pane's own drop
};

// No key copies, Ctrl moves, Shift links; from an archive Shift counts as no key.
DWORD KeyEffect(DWORD KeyState, bool FromArchive);
// Effect when the source allows it, else none.
DWORD AllowedEffect(DWORD Effect, DWORD Allowed);

// The desktop's file-system folder, or "".
std::wstring DesktopFolder();
// Two folder paths name the same folder (case and a trailing "\" aside).
bool SameFolder(const std::wstring& A, const std::wstring& B);
// Moves a list's drop highlight to Row (null: none).
void SetDropRow(gui::TListView& List, gui::TListItem* Row);

class TPaneDropTarget : public THEOleDropTarget {
public:
    // Judge: the pane's rule for a point of Control (client coordinates); it may
    // set its drop highlight. ClearHighlight takes it away again.
    using TJudge = std::function<TDropZiel(POINT Client, DWORD KeyState)>;
    TPaneDropTarget(gui::TComponent* Pane, gui::TWinControl& Control, TPaneHost* Host, TJudge Judge,
                    std::function<void()> ClearHighlight);
    // Runs after a drop was handed on (the tree restores its selection).
    std::function<void()> AfterDrop;

private:
    void DragEnter(gui::TObject*, IDataObject* Data, DWORD Keys, POINT Pt, DWORD& Effect);
    void DragOver(gui::TObject*, DWORD Keys, POINT Pt, DWORD& Effect);
    void DragLeave(gui::TObject*);
    void Drop(gui::TObject*, IDataObject* Data, DWORD Keys, POINT Pt, DWORD& Effect);
    TDropZiel Judge(DWORD Keys, POINT Screen, DWORD Allowed);
    void ShowHighlight();

    gui::TWinControl& m_control;
    TPaneHost* m_host;
    TJudge m_judge;
    std::function<void()> m_clear;
    bool m_accepted = false;
};

}  // namespace velmora
