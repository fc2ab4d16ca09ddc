#pragma once
// TSuchergebnisForm: the pane of the last search's result (kind 3) and of the
// collection basket (kind 4). It shows fresh copies of the main window's list
// on every read; reading the basket prunes the records whose files are gone.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "SuchergebnisRegeln.h"
#include "foundation/controls/EnhListView.h"
#include "panes/DMChild_Vorlage.h"
#include "panes/PaneDrop.h"
#include "panes/PaneHost.h"
#include "platform/gui/ImageList.h"

namespace velmora {

class TSuchergebnisForm : public TDMChildForm {
public:
    TSuchergebnisForm(gui::TComponent* owner, TPaneHost* Host, TFensterTyp Kind);
    ~TSuchergebnisForm() override;

    TEnhListView DateiListe;
    // Owned by the pane.
    TPaneDropTarget* DropTarget = nullptr;

    // Pane operations.
    void ReadContents() override;
    void ApplyOptions(const TOptionen& Options) override;
    void SetSortOrder(std::uint8_t Request) override;
    std::uint8_t GetSortOrder() override;
    void SetPaneKind(TFensterTyp Kind) override;
    void SelectAll() override;
    void InvertSelection() override;
    void SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                     const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                     std::int32_t GroesseKB, bool Normale, bool ReadOnly, bool Hidden, bool System) override;
    void GetSelection(TDateiListe& List) override;
    void RemoveMarkedFromBasket() override;
    void OpenSelected() override;
    void BeginUpdate() override;
    void EndUpdate() override;
    HWND GetControlHandle() override;

    // Published handlers.
    void FormDestroy(gui::TObject* Sender);
    void DateiListeData(gui::TObject* Sender, gui::TListItem* Item);
    void DateiListeDblClick(gui::TObject* Sender);
    void DateiListeColumnClick(gui::TObject* Sender, int Column);
    void DateiListeKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateiListeKeyPress(gui::TObject* Sender, wchar_t& Key);
    void DateiListeKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateiListeMouseDown(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void DateiListeMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void DateiListeMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);

    // The file system as the pane sees it; tests replace the look-up.
    TSuchZugriff Zugriff;
    const TDateiListe& Records() const { return m_records; }

private:
    void Refresh();
    void FillRows();
    void Sort();
    int FileIcon(const TEineDatei& Record);
    void LoadWidths();
    void SaveWidths();
    static TEineDatei* Record(const gui::TListItem* Item);

    TPaneHost* m_host;
    gui::TImageList m_bilder;
    bool m_bilderGesetzt = false;
    TDateiListe m_records;
    TOptionen m_optionen;
    std::uint8_t m_sort = 10;
    // A read asked for while one runs (an archive listing lets messages through)
    // runs once after it.
    bool m_reading = false;
    bool m_readAgain = false;
    bool m_dragArmed = false;
    bool m_rightDown = false;
    std::unordered_map<std::wstring, int> m_icons;
};

}  // namespace velmora
