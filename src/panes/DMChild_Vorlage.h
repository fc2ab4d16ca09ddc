#pragma once
// TDMChildForm: the base of the four pane classes. The main window and the commands
// reach a pane only through these operations, so any of them may be called on any
// pane; here each does nothing and gives the empty value, and a pane kind that has
// something to do for one overrides it.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "foundation/EineDatei.h"
#include "foundation/Einstellungen.h"
#include "foundation/DMChild_Typen.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/StringList.h"

namespace velmora {

class TIconRoutinen;

namespace gui {
class TImageList;
class TListView;
class TStatusBar;
class TTreeNode;
}

class TDMChildForm : public gui::TForm {
public:
    // Made with the main window as owner, as an MDI child of it.
    explicit TDMChildForm(gui::TComponent* owner);

    virtual TFensterTyp GetPaneKind();
    virtual void SetPaneKind(TFensterTyp Kind);
    virtual void ApplyOptions(const TOptionen& Options);
    virtual void ReadContents();
    // Reads what the pane put off while its host deferred reading, then takes
    // the focus row and status line as a read does; nothing when nothing waits
    // (a file list takes the icons that came meanwhile in any case).
    virtual void ReadDeferred();
    virtual std::wstring GetDirectory();
    virtual void SetDirectory(const std::wstring& Path);
    virtual void BeginUpdate();
    virtual void EndUpdate();
    virtual void SelectAll();
    virtual void InvertSelection();
    virtual void SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                             const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                             std::int32_t GroesseKB, bool Normale, bool ReadOnly, bool Hidden, bool System);
    virtual void SelectDrive(wchar_t Drive);
    virtual void RefreshDirectory(const std::wstring& Path);
    virtual void OpenSelected();
    // Appends one new record per marked entry; the caller owns them.
    virtual void GetSelection(TDateiListe& List);
    virtual void SelectFile(const std::wstring& Name);
    virtual void SetPathCaption(const std::wstring& Path);
    // Requests 0/1 name, 2/3 size, 4/5 date, 6/7 type, 8/9 attributes, 10 unsorted.
    virtual void SetSortOrder(std::uint8_t Request);
    virtual std::uint8_t GetSortOrder();
    virtual void SetFilter(const TDateiFilterDatenFuerDateiListe& Filter);
    virtual void FillList();
    virtual void RebuildColumns();
    virtual void SetArchiveFile(const std::wstring& Path);
    virtual std::wstring GetArchiveFile();
    virtual void GetArchivDaten(TArchivDaten& Daten);
    virtual void ShowVirtualFolder(PCIDLIST_ABSOLUTE PIDL);
    virtual HWND GetControlHandle();
    virtual void RefreshNode(gui::TTreeNode* Node, bool Flag);
    virtual bool WholeArchiveSelected();
    virtual bool ShowsRecycleBin();
    // The number and bytes of all entries of Folder (any case, trailing "\" or
    // not) as the pane's own read of it found them; false when the pane has not
    // read that folder through the file system.
    virtual bool FolderTotals(const std::wstring& Folder, std::int64_t& Count, std::int64_t& Bytes);
    // Folder and PIDL stay the pane's: valid while the selection stands, never
    // released or freed by the caller. Both null when nothing is selected.
    virtual void GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes);
    // Appends new records the caller owns.
    virtual std::int32_t MarkDifferences(const TDateiListe& List);
    virtual void GetAllEntries(TDateiListe& List);
    virtual void RecycleBinChanged();
    virtual void RemoveMarkedFromBasket();
    virtual void CleanUp();

    // Each side keeps exactly one pane: the system's keyboard commands that would
    // close a pane (Ctrl+F4) or step to the other one (Ctrl+F6, Ctrl+Tab) are
    // refused. The main window replaces panes itself.
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A pane that lists entries: the status line along the bottom, the list over
    // the rest, read-only, several entries marked at a time, the marks kept when
    // the pane loses the focus, and a row's texts asked for only when it shows.
    void PlaceListAndStatus(gui::TListView& List, gui::TStatusBar& Status);
    // Shows the small icons of Icons in List, or none. Images takes their shared
    // list the first time Icons exist (the main window may make the icon routines
    // after the pane); Attached tells whether it has.
    void ShowSmallIcons(gui::TListView& List, gui::TImageList& Images, bool& Attached, const TIconRoutinen* Icons,
                        bool Show);

private:
    TFensterTyp m_paneKind = ftVerzeichnisbaum;
};

}  // namespace velmora
