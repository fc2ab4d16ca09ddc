#include "DMChild_Vorlage.h"

#include "foundation/IconRoutinen.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/ListView.h"
#include "platform/gui/StatusBar.h"

namespace velmora {

TDMChildForm::TDMChildForm(gui::TComponent* owner) : TForm(owner) { SetFormStyle(gui::TFormStyle::fsMDIChild); }

void TDMChildForm::PlaceListAndStatus(gui::TListView& List, gui::TStatusBar& Status) {
    Status.SetParent(this);
    Status.SizeGrip = false;
    Status.SetAlign(gui::TAlign::alBottom);
    List.SetParent(this);
    List.SetAlign(gui::TAlign::alClient);
    List.ReadOnly = true;
    List.MultiSelect = true;
    List.HideSelection = false;
    List.DisplayCallbacks = true;
}

void TDMChildForm::ShowSmallIcons(gui::TListView& List, gui::TImageList& Images, bool& Attached,
                                  const TIconRoutinen* Icons, bool Show) {
    if (Icons && !Attached) {
        Images.SetHandle(Icons->SmallImages, true);
        Attached = true;
    }
    List.SmallImages = Show && Attached ? &Images : nullptr;
    if (List.HandleAllocated())
        SendMessageW(List.Handle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(List.SmallImages ? Images.Handle() : nullptr));
}

TFensterTyp TDMChildForm::GetPaneKind() { return m_paneKind; }
void TDMChildForm::SetPaneKind(TFensterTyp Kind) { m_paneKind = Kind; }

void TDMChildForm::ApplyOptions(const TOptionen&) {}
void TDMChildForm::ReadContents() {}
void TDMChildForm::ReadDeferred() {}
std::wstring TDMChildForm::GetDirectory() { return {}; }
void TDMChildForm::SetDirectory(const std::wstring&) {}
void TDMChildForm::BeginUpdate() {}
void TDMChildForm::EndUpdate() {}
void TDMChildForm::SelectAll() {}
void TDMChildForm::InvertSelection() {}
void TDMChildForm::SelectGroup(const TStringList&, bool, const std::wstring&, const std::wstring&, bool,
                               const std::wstring&, std::int32_t, bool, bool, bool, bool) {}
void TDMChildForm::SelectDrive(wchar_t) {}
void TDMChildForm::RefreshDirectory(const std::wstring&) {}
void TDMChildForm::OpenSelected() {}
void TDMChildForm::GetSelection(TDateiListe&) {}
void TDMChildForm::SelectFile(const std::wstring&) {}
void TDMChildForm::SetPathCaption(const std::wstring&) {}
void TDMChildForm::SetSortOrder(std::uint8_t) {}
std::uint8_t TDMChildForm::GetSortOrder() { return 0; }
void TDMChildForm::SetFilter(const TDateiFilterDatenFuerDateiListe&) {}
void TDMChildForm::FillList() {}
void TDMChildForm::RebuildColumns() {}
void TDMChildForm::SetArchiveFile(const std::wstring&) {}
std::wstring TDMChildForm::GetArchiveFile() { return {}; }
void TDMChildForm::GetArchivDaten(TArchivDaten& Daten) { Daten = TArchivDaten{}; }
void TDMChildForm::ShowVirtualFolder(PCIDLIST_ABSOLUTE) {}
HWND TDMChildForm::GetControlHandle() { return nullptr; }
void TDMChildForm::RefreshNode(gui::TTreeNode*, bool) {}
bool TDMChildForm::WholeArchiveSelected() { return false; }
bool TDMChildForm::ShowsRecycleBin() { return false; }
bool TDMChildForm::FolderTotals(const std::wstring&, std::int64_t&, std::int64_t&) { return false; }

void TDMChildForm::GetSelectedShellItem(IShellFolder*& Folder, PITEMID_CHILD& PIDL, SFGAOF& Attributes) {
    Folder = nullptr;
    PIDL = nullptr;
    Attributes = 0;
}

std::int32_t TDMChildForm::MarkDifferences(const TDateiListe&) { return 0; }
void TDMChildForm::GetAllEntries(TDateiListe&) {}
void TDMChildForm::RecycleBinChanged() {}
void TDMChildForm::RemoveMarkedFromBasket() {}
void TDMChildForm::CleanUp() {}

LRESULT TDMChildForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND) {
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW: return 0;
        }
    }
    return TForm::WndProc(message, wParam, lParam);
}

}  // namespace velmora
