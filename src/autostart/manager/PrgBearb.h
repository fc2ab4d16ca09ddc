#pragma once
// The entry dialog of the autostart manager: one program of the list, checked on OK.

#include "autostart/manager/EntryCheck.h"
#include "foundation/controls/NumSpin.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/OpenDialog.h"

namespace velmora::manager {

class TPrgBearbeitenDlg : public gui::TForm {
public:
    explicit TPrgBearbeitenDlg(gui::TComponent* owner);

    gui::TLabel Label1;
    gui::TEdit Beschreibung;
    gui::TLabel Label2;
    gui::TEdit Dateiname;
    gui::TButton DateiSuchenBtn2;
    gui::TLabel Label3;
    gui::TEdit Parameter;
    gui::TLabel Label4;
    // 0 to 30, step 1, two characters at most; read through WartezeitValue.
    TNumSpinEdit Wartezeit;
    gui::TRadioGroup Aktion;
    gui::TButton OKBtn;
    gui::TButton CancelBtn;
    gui::TButton Button1;
    gui::TOpenDialog OpenDialog1;

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);

    // The wait forced into 0..30 by the spin edit's own check, whatever was typed.
    int WartezeitValue() const;
    void SetWartezeitValue(int seconds);
    TEntryFields Fields() const;
    void SetFields(const TEntryFields& fields);

private:
    void LayoutControls();
    void ShowProblem(const TEntryProblem& problem);

    bool m_okPressed = false;
};

}  // namespace velmora::manager
