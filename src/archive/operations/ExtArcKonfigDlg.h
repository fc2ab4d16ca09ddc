#pragma once
// TExtArcKonfigDlg: the outside programs for ARJ, RAR, LHA, ZOO and ARC
// archives, and per format whether the in-process unpacker is used where it can
// be. The options dialog shows it over the archive settings
// (WeiterePackerKonfigurieren) and takes its values after OK.

#include "filetools/DialogBasis.h"
#include "foundation/Einstellungen.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

class TExtArcKonfigDlg : public TPositionsDialog {
public:
    explicit TExtArcKonfigDlg(gui::TComponent* Owner);

    gui::TLabel Label1, Label2, Label3, Label4, Label5, Label6;
    gui::TEdit UnArjPath, UnRarPath, UnLhaPath, UnZooPath, ArcPath, UnArcPath;
    gui::TButton ArjSuchenBtn, RarSuchenBtn, LhaSuchenBtn, ZooSuchenBtn, ArcSuchenBtn, UnArcSuchenBtn;
    gui::TCheckBox UseInternUnArj, UseInternUnRar, UseInternUnLha, UseInternUnZoo, UseInternUnArc;
    gui::TButton OKBtn, CancelBtn, Button1;

    void Laden(const TArchivEinstellungen& Arc);
    void Speichern(TArchivEinstellungen& Arc) const;

    void ArcSuchenBtnClick(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

private:
    bool m_ok = false;
};

// Shows the dialog (made on first use into Dlg) filled from Arc; on OK its
// values go back into Arc and the answer is true.
bool WeiterePackerKonfigurieren(gui::TComponent* Owner, TExtArcKonfigDlg*& Dlg, TArchivEinstellungen& Arc);

}  // namespace velmora
