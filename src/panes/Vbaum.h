#pragma once
// TVbaumForm: the folder tree pane (kind 0). A tree over the shell namespace from
// the desktop down: drives, the shell's folders and archives as leaves. A node's
// children are read when it expands. Each drive has a monitor that runs while a
// node of the drive is expanded; its change starts a watch pass that has the
// parent of the first vanished folder read anew. The main window is reached only
// through the pane's TPaneHost.

#include <windows.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ComPtr.h"
#include "foundation/DiscMon.h"
#include "foundation/Pidl.h"
#include "panes/DMChild_Vorlage.h"
#include "panes/PaneDrop.h"
#include "panes/PaneHost.h"
#include "panes/VbaumRegeln.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Threads.h"
#include "platform/gui/TreeView.h"

namespace velmora {

// The data of one node, owned by it: the folder it was enumerated through (a
// reference held), its ID list relative to that folder and its absolute one
// (none for the root), and its shell attributes.
struct TKnotenDaten {
    TComPtr<IShellFolder> Ordner;
    TPidl RelPidl;
    TPidl AbsPidl;
    ULONG ShellAttr = 0;
};

// One drive's monitor on its root, inactive until a node of the drive expands.
struct TLaufwerkUeberwachung {
    wchar_t Laufwerk = 0;  // lower case
    std::unique_ptr<TDiscMonitor, gui::TComponentDeleter> Monitor;
};

class TVbaumForm;

// The tree view of the pane: it tells whether the selection change it reports is
// the control's own first selection (made when it gets the focus with nothing
// selected), which the pane passes over.
class TVbaumTreeView : public gui::TTreeView {
public:
    using gui::TTreeView::TTreeView;
    bool EigeneErsteAuswahl() const { return m_eigeneErsteAuswahl; }
    bool CNNotify(NMHDR* header, LRESULT& result) override;

private:
    bool m_eigeneErsteAuswahl = false;
};

// One watch pass over a snapshot of the expanded part of a drive, taken in the
// GUI thread; it never touches the tree. At the first vanished entry it has the
// pane read that entry's parent anew, by path, unless it was told to stop.
class TWatchVBaumThread : public gui::TThread {
public:
    TWatchVBaumThread(TVbaumForm* Pane, TWachSchnappschuss Schnappschuss);
    ~TWatchVBaumThread() override;
    // Asks the pass to stop; does not wait (it may be waiting for its refresh).
    void Stoppen();

protected:
    void Execute() override;

private:
    TVbaumForm* m_pane;
    TWachSchnappschuss m_schnappschuss;
    std::atomic<bool> m_stop{false};
};

class TVbaumForm : public TDMChildForm {
public:
    TVbaumForm(gui::TComponent* owner, TPaneHost* Host);
    ~TVbaumForm() override;

    TVbaumTreeView Verzeichnisbaum;
    // Owned by the pane.
    TPaneDropTarget* DropTarget = nullptr;

    // Pane operations.
    void ApplyOptions(const TOptionen& Options) override;
    void SetFilter(const TDateiFilterDatenFuerDateiListe& Filter) override;
    void SetDirectory(const std::wstring& Path) override;
    std::wstring GetDirectory() override;
    void SelectDrive(wchar_t Drive) override;
    void RefreshDirectory(const std::wstring& Path) override;
    void RefreshNode(gui::TTreeNode* Node, bool Flag) override;
    void GetSelection(TDateiListe& List) override;
    void GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes) override;
    void ReadContents() override;
    void ShowVirtualFolder(PCIDLIST_ABSOLUTE PIDL) override;
    HWND GetControlHandle() override;
    void SetSortOrder(std::uint8_t Request) override;
    std::uint8_t GetSortOrder() override;
    void OpenSelected() override;
    void RecycleBinChanged() override;
    void CleanUp() override;
    void BeginUpdate() override;
    void EndUpdate() override;

    // Published handlers.
    void FormCreate(gui::TObject* Sender);
    void FormActivate(gui::TObject* Sender);
    void VerzeichnisBaumChange(gui::TObject* Sender, gui::TTreeNode* Node);
    void VerzeichnisBaumExpanding(gui::TObject* Sender, gui::TTreeNode* Node, bool& Allow);
    void VerzeichnisBaumCollapsing(gui::TObject* Sender, gui::TTreeNode* Node, bool& Allow);
    void VerzeichnisBaumCollapsed(gui::TObject* Sender, gui::TTreeNode* Node);
    void VerzeichnisBaumKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void VerzeichnisBaumKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void VerzeichnisBaumMouseDown(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                  int Y);
    void VerzeichnisBaumMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void VerzeichnisBaumMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                int Y);
    void LaufwerkGeaendert(gui::TObject* Sender);

    // Expands or collapses a node as the user's click does, with its handlers.
    void ExpandNode(gui::TTreeNode* Node);
    void CollapseNode(gui::TTreeNode* Node);
    // The path of a node ("" for one without), as GetDirectory gives it but in the
    // name's own case.
    static std::wstring NodePath(gui::TTreeNode* Node);
    static TKnotenDaten* Daten(gui::TTreeNode* Node);
    // The loaded node of a path, without reading or expanding anything; nullptr
    // when the path is not (yet) in the tree.
    gui::TTreeNode* LoadedNodeOf(const std::wstring& Path);
    // Whether the monitor of a drive (any case) is switched on.
    bool MonitorActive(wchar_t Drive) const;
    int ActiveMonitors() const;
    // The paths the watch passes had read anew, in order.
    const std::vector<std::wstring>& WatchRefreshes() const { return m_wachAuffrischungen; }
    // True while a watch pass runs.
    bool WatchRunning() const;
    // The shell icon look-ups and archive searches made for nodes, counted so
    // that a test sees which nodes cost them.
    int ShellAbfragen = 0;

private:
    friend class TWatchVBaumThread;
    gui::TTreeNode* Wurzel() const;
    void BilderSetzen();
    void KnotenAnlegen(IShellFolder* Folder, TPidl RelPidl, gui::TTreeNode* Parent);
    void KnotenZeigen(gui::TObject* Sender, gui::TTreeNode* Node);
    int ShellBild(LPCITEMIDLIST Pidl, UINT Flags);
    bool ArchivSuche(const std::wstring& Pfad);
    bool OrdnerBinden(gui::TTreeNode* Node, TComPtr<IShellFolder>& Folder);
    gui::TTreeNode* Locate(LPCITEMIDLIST Abs, bool Expandieren);
    TPidl PfadParsen(const std::wstring& Path);
    void Sortieren();
    void KinderSortieren(gui::TTreeNode* Node);
    int Vergleich(gui::TTreeNode* A, gui::TTreeNode* B);
    TLaufwerkUeberwachung* Ueberwachung(wchar_t Drive);
    void MonitorSchalten(gui::TTreeNode* Node, bool An);
    bool LaufwerkNochOffen(wchar_t Drive);
    void KnotenDatenFreigeben(gui::TTreeNode* Node);
    void AlleDatenFreigeben();
    void SchnappschussVon(gui::TTreeNode* Node, TWachSchnappschuss& Out);
    // Run in the GUI thread by a watch pass.
    void WachAuffrischen(const std::wstring& ElternPfad);
    void WachPaesseStoppen(bool Warten);
    void Vorlaeufig(gui::TTreeNode* Node, const std::function<void()>& Call);
    // Where a drop on a node goes; the node gets the drop highlight.
    TDropZiel DropZiel(POINT Client, DWORD KeyState);
    bool IstPapierkorb(const TKnotenDaten* d) const;
    // After a drop: the selected folder or archive may have gone.
    void NachDrop();

    TPaneHost* m_host;
    gui::TImageList m_bilder;
    bool m_bilderGesetzt = false;
    std::vector<TLaufwerkUeberwachung> m_laufwerke;
    std::vector<std::unique_ptr<TWatchVBaumThread>> m_waechter;
    std::vector<std::wstring> m_wachAuffrischungen;
    // A watch refresh held while a node's menu is open.
    std::wstring m_aufgeschoben;

    bool m_readOnly = true, m_hidden = true, m_system = true;
    std::uint8_t m_sortZustand = kVbaumUnsortiert;
    bool m_lokalisiert = false;
    bool m_rechtsklick = false;
    bool m_frischeAuswahl = false;
    bool m_neuBeimLokalisieren = false;
    bool m_liestNeu = false;
    bool m_ohneEreignis = false;
    bool m_dragBereit = false;
    bool m_abgebaut = false;
};

}  // namespace velmora
