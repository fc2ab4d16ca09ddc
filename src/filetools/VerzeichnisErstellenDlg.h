#pragma once
// TVerzeichnisErstellenDlg: asks for the name of a new folder inside a folder
// that the caller presets (SetPfad) and the user may change by browsing or
// through the borrowed recent-folders menu. The caller creates the folder.

#include <functional>

#include "DialogBasis.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"

namespace velmora {

class TVerzeichnisErstellenDlg : public TPositionsDialog {
public:
    TVerzeichnisErstellenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, Label2;
    TFileLabel PfadLabel;
    gui::TEdit Edit1;
    gui::TButton OrdnerSuchenBtn, OKBtn, CancelBtn, HilfeBtn;
    gui::TPopupMenu MyPopup;

    void SetPfad(const std::wstring& Folder);
    const std::wstring& Pfad() const { return PfadLabel.FileName(); }

    // The folder browser; tests put a stand-in here.
    std::function<bool(const std::wstring& Title, const std::wstring& Start, std::wstring& Folder)> OrdnerWaehlen;

    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

private:
    const TDateiDialogKontext& m_kontext;
    TMRUAusleihe m_mru;
};

}  // namespace velmora
