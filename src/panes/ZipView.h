#pragma once
// TZipViewForm: the archive pane (kinds 5 to 14). It shows the entries of one
// archive as folders to walk through; the archive routines read the listing and
// build the folder tree. An archive whose entries all lie below one folder opens
// inside it: that folder path is the prefix, the walked folders below it the
// sub-path, each part ending in "\".

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "archive/operations/ZipRoutinen.h"
#include "foundation/controls/EnhListView.h"
#include "panes/DMChild_Vorlage.h"
#include "panes/PaneDrop.h"
#include "panes/PaneHost.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/StatusBar.h"

namespace velmora {

class TZipViewForm : public TDMChildForm {
public:
    // Made by the main window with itself as owner and host; the routines are its own.
    TZipViewForm(gui::TComponent* owner, TPaneHost* Host, archive::TZipRoutinen* Routinen);
    ~TZipViewForm() override;

    TEnhListView Dateiliste;
    // Owned by the pane.
    TPaneDropTarget* DropTarget = nullptr;
    gui::TStatusBar StatusZeile;

    // Pane operations.
    void SetArchiveFile(const std::wstring& Path) override;
    std::wstring GetArchiveFile() override;
    void ReadContents() override;
    void FillList() override;
    void GetArchivDaten(TArchivDaten& Daten) override;
    void ApplyOptions(const TOptionen& Options) override;
    void SetSortOrder(std::uint8_t Request) override;
    std::uint8_t GetSortOrder() override;
    void SelectAll() override;
    void InvertSelection() override;
    void SelectGroup(const TStringList& Masks, bool DatumFiltern, const std::wstring& DatumVon,
                     const std::wstring& DatumBis, bool GroesseFiltern, const std::wstring& GroesseVergleich,
                     std::int32_t GroesseKB, bool Normale, bool ReadOnly, bool Hidden, bool System) override;
    void SelectFile(const std::wstring& Name) override;
    void GetSelection(TDateiListe& List) override;
    bool WholeArchiveSelected() override;
    void OpenSelected() override;
    void BeginUpdate() override;
    void EndUpdate() override;
    HWND GetControlHandle() override;

    // Published handlers.
    void FormDestroy(gui::TObject* Sender);
    void DateilisteData(gui::TObject* Sender, gui::TListItem* Item);
    void DateilisteDblClick(gui::TObject* Sender);
    void DateilisteColumnClick(gui::TObject* Sender, int Column);
    void DateilisteKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateilisteKeyPress(gui::TObject* Sender, wchar_t& Key);
    void DateilisteKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void DateilisteMouseDown(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void DateilisteMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    // Drags the marked entries, a folder as "folder\*.*".
    void DateilisteBeginDrag(gui::TObject* Sender, gui::TListItem* Item, POINT Pt);

    // The skipped single folders and the walked folders below them.
    const std::wstring& Prefix() const { return m_prefix; }
    const std::wstring& SubPath() const { return m_subPath; }

    // The saving column: "0%" for an empty entry, else the whole percent, a half
    // to the even neighbour.
    static std::wstring SavingText(std::int64_t Original, std::int64_t Compressed);
    // The stored column widths: exactly five numbers, else the defaults.
    static std::vector<int> ColumnWidthsOf(const std::wstring& Text);
    // The caption's word of an archive kind.
    static std::wstring KindWord(TFensterTyp Kind);

private:
    void Navigate(archive::TDatenSatz& Folder);
    void LevelUp();
    // Shows the current level with the focus on the folder named FocusName (the
    // one just left), else on the first row.
    void ShowLevel(const std::wstring& FocusName = L"");
    int Compare(const archive::TDatenSatz& A, const archive::TDatenSatz& B) const;
    int CompareNames(const archive::TDatenSatz& A, const archive::TDatenSatz& B) const;
    std::wstring RowCaption(const archive::TDatenSatz& Record) const;
    int FileIcon(const std::wstring& Name);
    int FolderIcon();
    void LoadWidths();
    void SaveWidths();
    static archive::TDatenSatz* Record(const gui::TListItem* Item);

    TPaneHost* m_host;
    archive::TZipRoutinen* m_routinen;
    gui::TImageList m_bilder;
    bool m_bilderGesetzt = false;

    std::wstring m_archive;
    TDateiListe m_flat;
    archive::TDatenListe m_root;
    // The level shown at the root (inside the skipped folders), and the one shown now.
    archive::TDatenListe* m_rootList = &m_root;
    archive::TDatenListe* m_current = &m_root;
    std::wstring m_prefix, m_subPath;
    TArchivDaten m_daten;
    TOptionen m_optionen;
    std::uint8_t m_sort = 10;
    bool m_wholeArchive = false;
    bool m_rightDown = false;
    // Icons by lower-cased extension: one shell look-up each.
    std::unordered_map<std::wstring, int> m_icons;
    int m_folderIcon = -2;
};

}  // namespace velmora
