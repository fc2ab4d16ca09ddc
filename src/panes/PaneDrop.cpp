#include "panes/PaneDrop.h"

#include <shlobj.h>

#include "foundation/DropSource.h"
#include "foundation/EineDatei.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

std::wstring DesktopFolder() {
    wchar_t path[MAX_PATH] = {};
    return SHGetSpecialFolderPathW(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE) ? std::wstring(path) : std::wstring();
}

bool SameFolder(const std::wstring& A, const std::wstring& B) {
    return !A.empty() && !B.empty() &&
           SystemLower(IncludeTrailingBackslash(A)) == SystemLower(IncludeTrailingBackslash(B));
}

void SetDropRow(gui::TListView& List, gui::TListItem* Row) {
    gui::TListItem* old = List.DropTarget();
    if (old == Row) return;
    if (old) old->SetDropTarget(false);
    if (Row) Row->SetDropTarget(true);
}

DWORD KeyEffect(DWORD KeyState, bool FromArchive) {
    if (KeyState & MK_CONTROL) return DROPEFFECT_MOVE;
    if ((KeyState & MK_SHIFT) && !FromArchive) return DROPEFFECT_LINK;
    return DROPEFFECT_COPY;
}

DWORD AllowedEffect(DWORD Effect, DWORD Allowed) { return (Effect & Allowed) ? Effect : DROPEFFECT_NONE; }

TPaneDropTarget::TPaneDropTarget(gui::TComponent* Pane, gui::TWinControl& Control, TPaneHost* Host, TJudge Judge,
                                 std::function<void()> ClearHighlight)
    : THEOleDropTarget(Pane), m_control(Control), m_host(Host), m_judge(std::move(Judge)),
      m_clear(std::move(ClearHighlight)) {
    OnOleDragEnter = gui::bind(this, &TPaneDropTarget::DragEnter);
    OnOleDragOver = gui::bind(this, &TPaneDropTarget::DragOver);
    OnOleDragLeave = gui::bind(this, &TPaneDropTarget::DragLeave);
    OnOleDrop = gui::bind(this, &TPaneDropTarget::Drop);
    SetTargetWinControl(&Control);
}

TDropZiel TPaneDropTarget::Judge(DWORD Keys, POINT Screen, DWORD Allowed) {
    POINT client = Screen;
    ScreenToClient(m_control.Handle(), &client);
    TDropZiel ziel = m_judge(client, Keys);
    ziel.Effect = AllowedEffect(ziel.Effect, Allowed);
    if (ziel.Effect == DROPEFFECT_NONE && m_clear) m_clear();
    ShowHighlight();
    return ziel;
}

// The system's drag loop paints nothing while the mouse moves: a changed
// highlight is drawn at once, or the user would see it only after the drop.
// Costs nothing when nothing changed.
void TPaneDropTarget::ShowHighlight() { m_control.Update(); }

void TPaneDropTarget::DragEnter(gui::TObject*, IDataObject* Data, DWORD Keys, POINT Pt, DWORD& Effect) {
    m_accepted = OffersDropFiles(Data);
    if (m_host) m_host->SetDragLeftWindow(false);
    DragOver(this, Keys, Pt, Effect);
}

void TPaneDropTarget::DragOver(gui::TObject*, DWORD Keys, POINT Pt, DWORD& Effect) {
    Effect = m_accepted ? Judge(Keys, Pt, Effect).Effect : DROPEFFECT_NONE;
}

void TPaneDropTarget::DragLeave(gui::TObject*) {
    if (m_clear) m_clear();
    ShowHighlight();
    if (m_host) m_host->SetDragLeftWindow(true);
}

void TPaneDropTarget::Drop(gui::TObject*, IDataObject* Data, DWORD Keys, POINT Pt, DWORD& Effect) {
    const TDropZiel ziel = m_accepted ? Judge(Keys, Pt, Effect) : TDropZiel{};
    if (m_clear) m_clear();
    Effect = ziel.Effect;
    if (ziel.Effect == DROPEFFECT_NONE || !m_host) return;
    TStringList names = ReadDroppedNames(Data);
    if (names.Empty()) {
        Effect = DROPEFFECT_NONE;
        return;
    }
    if (ziel.Basket)
        m_host->DropOnBasket(names);
    else
        m_host->PaneDragDrop(ziel.Recycle, names, ziel.Target, ziel.Effect);
    if (AfterDrop) AfterDrop();
}

}  // namespace velmora
