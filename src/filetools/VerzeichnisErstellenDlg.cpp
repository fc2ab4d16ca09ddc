#include "VerzeichnisErstellenDlg.h"

#include "FileToolsCodes.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

TVerzeichnisErstellenDlg::TVerzeichnisErstellenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"VerzErst"), Label1(this), Label2(this), PfadLabel(this), Edit1(this),
      OrdnerSuchenBtn(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), MyPopup(this), m_kontext(Kontext) {
    SetCaption(L"Ordner erstellen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Neuer Ordner in:");
    lay.Place(Label1, 6, 8, 60, 9);
    lay.Place(PfadLabel, 68, 8, 120, 9);
    OrdnerSuchenBtn.SetCaption(L"&Ändern...");
    lay.Place(OrdnerSuchenBtn, 192, 5, 50, 14);
    Label2.SetCaption(L"&Name des Ordners:");
    Label2.SetFocusControl(&Edit1);
    lay.Place(Label2, 6, 26, 120, 9);
    lay.Place(Edit1, 6, 37, 236, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 56, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 76);
    Edit1.PopupMenu = &MyPopup;
    PopupMenu = &MyPopup;
    SetHelpContextAll(2);
    OrdnerWaehlen = [this](const std::wstring& title, const std::wstring& start, std::wstring& folder) {
        TBrowseDirectoryDlg browser(this);
        browser.Title = title;
        browser.SetSelection(start);
        if (!browser.Execute()) return false;
        folder = browser.Selection();
        return true;
    };
    OrdnerSuchenBtn.OnClick = bind(this, &TVerzeichnisErstellenDlg::OrdnerSuchenBtnClick);
    OnShow = bind(this, &TVerzeichnisErstellenDlg::FormShow);
    OnClose = bind(this, &TVerzeichnisErstellenDlg::FormClose);
}

void TVerzeichnisErstellenDlg::SetPfad(const std::wstring& Folder) { PfadLabel.SetFileName(Folder); }

void TVerzeichnisErstellenDlg::OrdnerSuchenBtnClick(TObject*) {
    Fehlercode = fc::VerzeichnisErstellenOrdnerSuchen;
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(L"Bitte wählen Sie das Verzeichnis, in dem der Ordner erstellt werden soll:",
                                       PfadLabel.FileName(), folder) &&
        !folder.empty())
        SetPfad(SystemLower(folder));
    Fehlercode = 0;
}

void TVerzeichnisErstellenDlg::FormShow(TObject*) {
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TVerzeichnisErstellenDlg::MRUClick));
}

void TVerzeichnisErstellenDlg::FormClose(TObject*, TCloseAction&) { m_mru.GiveBack(); }

void TVerzeichnisErstellenDlg::MRUClick(TObject*, const std::wstring& Path) { SetPfad(Path); }

}  // namespace velmora
