#pragma once
// TGoToDirDlg: asks for a folder for the active pane to show, typed, chosen
// from the recent folders or the borrowed recent-folders menu, or browsed.

#include <functional>

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"

namespace velmora {

class TGoToDirDlg : public TPositionsDialog {
public:
    TGoToDirDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, VerzeichnisLabel;
    gui::TComboBox Verzeichnis;
    gui::TButton OrdnerSuchenBtn, OKBtn, CancelBtn, HilfeBtn;
    gui::TPopupMenu MyPopup;

    // The folder browser; tests put a stand-in here.
    std::function<bool(const std::wstring& Title, const std::wstring& Start, std::wstring& Folder)> OrdnerWaehlen;
    // After OK: the folder to show, with its drive ("x:" alone is its root).
    const std::wstring& Ziel() const { return m_ziel; }

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void VerzeichnisKeyPress(gui::TObject* Sender, wchar_t& Key);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

private:
    const TDateiDialogKontext& m_kontext;
    TMRUAusleihe m_mru;
    bool m_ok = false;
    std::wstring m_ziel;
};

}  // namespace velmora
