#pragma once
// TPaneHost: everything a pane asks of the main window. The panes know the main
// window only through this interface: THauptform implements it, tests hand in a
// recorder. Calls a pane kind does not make are simply never made by it.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "foundation/DMChild_Typen.h"
#include "foundation/EineDatei.h"
#include "platform/gui/Controls.h"

namespace velmora {

class TDMChildForm;
class TStringList;

class TPaneHost {
public:
    virtual ~TPaneHost() = default;

    // A drive change from a drive bar is in progress: activation does nothing.
    virtual bool LaufwerkWirdGewechselt() const = 0;
    // The recycle bin's display name and shell attributes, found at start-up.
    virtual std::wstring RecycleBinName() const = 0;
    virtual ULONG RecycleBinAttributes() const = 0;
    // While the program's window first shows: a pane takes its folder but reads
    // it only when told (TDMChildForm::ReadDeferred), reading ahead meanwhile.
    virtual bool PaneReadingDeferred() const { return false; }
    // The archive option "show on double click": a double-clicked archive opens
    // in an archive pane instead of its program. (Not pure, so that a host made
    // before it was added still builds; THauptform answers from its settings.)
    virtual bool ShowArchiveOnDoubleClick() const { return false; }
    // The window that owns menus and shell dialogs a pane opens.
    virtual HWND OwnerWindow() const = 0;

    virtual void PaneActivated(TDMChildForm* Pane) = 0;
    // Shows Path in Pane's side; false when it could not be shown.
    virtual bool ShowDirectory(TDMChildForm* Pane, const std::wstring& Path) = 0;
    // Shows a folder without a path (an absolute ID list, the pane keeps it).
    virtual void SyncPanes(TDMChildForm* Pane, PCIDLIST_ABSOLUTE Pidl) = 0;
    virtual void GoToParentDir(TDMChildForm* Pane) = 0;
    virtual void OpenFile(const std::wstring& FileName) = 0;
    virtual void OpenFileEx(PCIDLIST_ABSOLUTE Pidl) = 0;
    // Opens an archive in an archive pane on Pane's side.
    virtual void PaneDirChanged(TDMChildForm* Pane, const std::wstring& Archive) = 0;
    virtual void UpdatePaneStatus(const std::wstring& Archive) = 0;
    // Counts a folder for the status line; an empty path clears the count.
    virtual void StartQuickViewThread(const std::wstring& Folder) = 0;
    virtual void CheckSortMenu(std::uint8_t State) = 0;
    // The one-shot flag that keeps the tree from taking the focus on its next
    // selection change: read and cleared.
    virtual bool TakeTreeKeepInactive() { return false; }
    // The folder (or archive) a pane's popup menu is about to act on; "" for none.
    virtual void SetContextFolder(const std::wstring&) {}

    virtual void FormKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) = 0;
    virtual void FormKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) = 0;
    virtual void PaneKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) = 0;
    virtual void PaneKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) = 0;

    // Popups at a screen point: the recent-files list, and a pane's popup
    // (one for the list view kind, one for the report kind).
    virtual void ShowRecentFilesPopup(POINT Screen) = 0;
    virtual void ShowPanePopup(TDMChildForm* Pane, POINT Screen) = 0;

    // An archive pane's file: Entry is its path inside Archive. (Not pure, so that
    // hosts without archive commands still build; they open nothing.)
    virtual void OpenArchivedFile(TDMChildForm*, const std::wstring&, const std::wstring&) {}
    // An archive routine is at work: a second reading beside it would nest the
    // zip component, so an archive pane then keeps what it shows.
    virtual bool ArchiveRoutineRunning() const { return false; }
    // The archive pane's popup at a screen point, with the entries that do not
    // apply to archive entries hidden.
    virtual void ShowArchivePopup(TDMChildForm*, POINT) {}

    // The search-result pane's lists and archive routines (not pure, as above):
    // the main window's search result (kind 3) or basket (kind 4), null for none;
    // an archive's kind; its entries, false when it could not be listed whole.
    virtual TDateiListe* PaneRecords(TFensterTyp) { return nullptr; }
    virtual bool ArchiveKind(const std::wstring&, std::uint8_t&) { return false; }
    virtual bool ListArchive(std::uint8_t, const std::wstring&, TDateiListe&) { return false; }
    // The basket list changed (its icon shows whether it is empty).
    virtual void BasketChanged() {}

    // Starts dragging Files (full paths, never empty) out of Pane.
    virtual void StartDrag(TDMChildForm* Pane, const TStringList& Files) = 0;

    // Starts dragging entries of Archive (their paths inside it; a folder as
    // "folder\*.*") out of Pane.
    virtual void StartArchiveDrag(TDMChildForm* Pane, const std::wstring& Archive, const TStringList& Entries) {
        (void)Pane, (void)Archive, (void)Entries;
    }

    // The drag state the panes' drop rules read (not pure, as above): whether the
    // running drag offers archive entries, and its folder (the archive for those,
    // else the dragged items' parent folder). A drag that came from outside the
    // program reads as neither.
    virtual bool DragFromArchive() const { return false; }
    virtual std::wstring DragFolder() const { return {}; }
    // The pointer entered (false) or left (true) a drop target of the program.
    virtual void SetDragLeftWindow(bool) {}
    // A drop on a pane: Target is a folder (with "\") or an archive; Effect one
    // of DROPEFFECT_COPY, _MOVE, _LINK.
    virtual void PaneDragDrop(bool Recycle, TStringList& Names, const std::wstring& Target, DWORD Effect) {
        (void)Recycle, (void)Names, (void)Target, (void)Effect;
    }
    virtual void DropOnBasket(const TStringList& Names) { (void)Names; }
};

// Where a pane's list sends a released key: the pane switches (Ctrl+F4, Ctrl+F6)
// to the pane key-up handler, Delete and Tab to the pane key-down handler,
// everything else to the window's.
inline void ForwardListKeyUp(TPaneHost& Host, gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) {
    const gui::TShiftState mods = Shift & (gui::ssShift | gui::ssAlt | gui::ssCtrl);
    if ((Key == VK_F4 && mods == gui::ssCtrl) || (Key == VK_F6 && (mods & gui::ssCtrl)))
        Host.PaneKeyUp(Sender, Key, Shift);
    else if ((Key == VK_DELETE && mods == 0) || (Key == VK_TAB && (mods == 0 || mods == gui::ssShift)))
        Host.PaneKeyDown(Sender, Key, Shift);
    else
        Host.FormKeyUp(Sender, Key, Shift);
}

}  // namespace velmora
