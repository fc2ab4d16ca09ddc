#pragma once
// TDOSZeilenDlg: one line with a history, for a DOS command or a program's
// parameters. Callers set the captions, the items and the help context, empty
// the text, show it and read the text on OK.

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"

namespace velmora {

class TDOSZeilenDlg : public TPositionsDialog {
public:
    explicit TDOSZeilenDlg(gui::TComponent* Owner);

    gui::TLabel Label1;
    gui::TComboBox Befehl;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // The form's and its controls' help context (8 parameters, 9 DOS command).
    void SetHilfe(int Context) { SetHelpContextAll(Context); }
};

}  // namespace velmora
