#pragma once
// TDateiListeForm: the file list pane (kinds 1 list view and 2 report view). It
// shows one folder of the shell namespace, a real one by its path or a virtual
// one by its absolute ID list, and reaches the main window only through its
// TPaneHost. Row texts and icons are built when the window first shows a row.
// A real folder is read in one pass over the file system that gives every
// entry its name and file data (and the folder's totals for the status line);
// an entry gets its shell item only when an action needs one. A virtual folder
// is enumerated by the shell, its file data come from an idle reader thread or
// are loaded on demand.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ComPtr.h"
#include "foundation/DiscMon.h"
#include "foundation/ItemData.h"
#include "foundation/controls/EnhListView.h"
#include "panes/DMChild_Vorlage.h"
#include "panes/DateiListeDaten.h"
#include "panes/DateiListeModell.h"
#include "panes/PaneDrop.h"
#include "panes/PaneHost.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/StatusBar.h"

namespace velmora {

class TDateiListeForm : public TDMChildForm {
public:
    // Made by the main window with itself as owner (an MDI child) and host.
    TDateiListeForm(gui::TComponent* owner, TPaneHost* Host);
    ~TDateiListeForm() override;

    TEnhListView Dateiliste;
    gui::TStatusBar DLStatusZeile;
    TDiscMonitor DiscMonitor;
    // Owned by the pane.
    TPaneDropTarget* DropTarget = nullptr;

    // Pane operations.
    void SetPaneKind(TFensterTyp Kind) override;
    void ApplyOptions(const TOptionen& Options) override;
    void ReadContents() override;
    void ReadDeferred() override;
    std::wstring GetDirectory() override;
    void SetDirectory(const std::wstring& Path) override;
    void ShowVirtualFolder(PCIDLIST_ABSOLUTE PIDL) override;
    void SetPathCaption(const std::wstring& Path) override;
    void FillList() override;
    void RebuildColumns() override;
    void SetFilter(const TDateiFilterDatenFuerDateiListe& Filter) override;
    void SetSortOrder(std::uint8_t Request) override;
    std::uint8_t GetSortOrder() override;
    void SelectAll() override;
    void InvertSelection() override;
    void SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                     const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                     std::int32_t GroesseKB, bool Normale, bool ReadOnly, bool Hidden, bool System) override;
    void SelectFile(const std::wstring& Name) override;
    void OpenSelected() override;
    void GetSelection(TDateiListe& List) override;
    void GetAllEntries(TDateiListe& List) override;
    std::int32_t MarkDifferences(const TDateiListe& List) override;
    void GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes) override;
    bool ShowsRecycleBin() override;
    bool FolderTotals(const std::wstring& Folder, std::int64_t& Count, std::int64_t& Bytes) override;
    void RecycleBinChanged() override;
    void BeginUpdate() override;
    void EndUpdate() override;
    HWND GetControlHandle() override;

    // Published handlers.
    void FormCreate(gui::TObject* Sender);
    void FormDestroy(gui::TObject* Sender);
    void FormResize(gui::TObject* Sender);
    void FormActivate(gui::TObject* Sender);
    // Builds a row's texts and icon the first time the window shows it.
    void DateilisteDrawItem(gui::TObject* Sender, gui::TListItem* Item);
    void DateiListeDblClick(gui::TObject* Sender);
    void DateiListeChange(gui::TObject* Sender, gui::TListItem* Item);
    void DateiListeColumnClick(gui::TObject* Sender, int Column);
    void DateiListeKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateiListeKeyPress(gui::TObject* Sender, wchar_t& Key);
    void DateiListeKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateiListeMouseDown(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void DateiListeMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void DateiListeMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void DiscMonitorChange(gui::TObject* Sender);
    void DiscMonitorInvalid(gui::TObject* Sender);

    // The status line: brought up to date, or only its panel widths.
    void UpdateStatusLine();
    // What the pane shows: its entries (enumeration order, ".." not included),
    // virtual mode, and its reader (nullptr when none was started).
    const TEintragListe& Eintraege() const { return m_eintraege; }
    bool Virtuell() const { return m_virtuell; }
    TReadFileDataThread* Leser() const { return m_leser.get(); }

private:
    void PfadSetzen(const std::wstring& Path);
    // Enumerates the shown folder into the entries; sets the caption to show.
    void Aufzaehlen(std::wstring& Caption);
    void AddEntry(IShellFolder* Folder, TPidl RelPidl, TPidl AbsPidl);
    // An entry of a real folder from the pass over it.
    void AddFound(const WIN32_FIND_DATAW& Found);
    // Makes the entry's shell item (relative and absolute ID lists, the shell's
    // attributes) unless it has one; false when there is none (the ".." row, a
    // vanished file).
    bool ShellItem(TItemData& Item) const;
    void ZeilenFuellen();
    void ElternzeileAnlegen();
    // A file-system folder that is no drive.
    bool SchlichterOrdner(const TItemData& Item) const;
    std::wstring ZeilenText(const TItemData& Item) const;
    void LeserStoppen();
    void Abbauen();
    void LeserStarten();
    void Sortieren();
    std::optional<int> OrdnerVergleich(const TItemData& A, const TItemData& B, int Spalte) const;
    bool Laden(TItemData& Item) const;
    // The data of many entries in one pass.
    void DatenLadenFuer(const std::vector<TItemData*>& Items) const;
    std::vector<TItemData*> MarkierteEintraege() const;
    std::wstring VollerPfad(const TItemData& Item) const;
    void NachLesenFokus(bool VirtuellerOrdner);
    void Fokussieren(gui::TListItem* Item);
    void SpaltenAufbauen(bool BreitenZuruecknehmen);
    void BreitenZuruecknehmen();
    void BreitenLaden();
    void BreitenSpeichern();
    void PanelBreitenSetzen();
    std::int64_t SumSelectedSizes();
    void DragStarten();
    // Where a drop at a point of the list goes; a folder row gets the highlight.
    TDropZiel DropZiel(POINT Client, DWORD KeyState);
    // Opens a file row; Einzeln: the only marked row (an archive may open in a pane).
    void Oeffnen(TItemData& Item, bool Einzeln);
    void RechtsklickMenue(gui::TShiftState Shift, int X, int Y);
    TEineDatei* Datensatz(TItemData& Item) const;
    static TItemData* Daten(const gui::TListItem* Item);

    TPaneHost* m_host;
    gui::TImageList m_bilder;
    bool m_bilderGesetzt = false;

    TEintragListe m_eintraege;
    // The ".." row's record: it lives only in its row, not among the entries.
    std::unique_ptr<TItemData> m_elternzeile;
    std::wstring m_pfad;
    TPidl m_virtPidl;
    bool m_virtuell = false;
    bool m_zeigtPapierkorb = false;
    bool m_zeigtDesktop = false;
    TComPtr<IShellFolder> m_ordner;
    // The shown real folder's absolute ID list, for its entries' shell items.
    TPidl m_ordnerPidl;
    // All entries of the shown real folder as its last read found them.
    struct TSumme {
        bool Gelesen = false;
        std::int64_t Anzahl = 0;
        std::int64_t Bytes = 0;
    } m_summe;
    // The real folder read ahead while the host defers reading, and whether a
    // read waits for ReadDeferred.
    std::shared_ptr<TOrdnerVorauslesen> m_voraus;
    bool m_lesenOffen = false;

    TOptionen m_optionen;
    TListenFilter m_filter;
    std::uint8_t m_sortZustand = kUnsortiert;
    TSpaltenBreiten m_breiten = kStandardBreiten;

    bool m_einzelLayout = false;
    bool m_auswahlGeaendert = false;
    bool m_linksGedrueckt = false;
    bool m_rechtsGedrueckt = false;
    gui::TShiftState m_shiftBeimDruck = 0;
    bool m_doppelklick = false;
    bool m_dragMoeglich = false;

    // Waiting for the reader serves the monitor's reports: one that comes then
    // is held until the read or fill is through (or dropped at the end).
    bool m_leserWarten = false;
    bool m_meldungOffen = false;
    bool m_endet = false;

    // Declared last: it walks the entries, so it goes first.
    std::unique_ptr<TReadFileDataThread> m_leser;
};

}  // namespace velmora
