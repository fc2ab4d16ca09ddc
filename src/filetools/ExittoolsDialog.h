#pragma once
// TExittoolsDlg: whether the two companion programs that shut Windows down or
// restart it start with Windows, which is whether their shortcuts stand in the
// user's Startup folder. There is no other stored setting.

#include <string>

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Label.h"

namespace velmora {

class TExittoolsDlg : public TPositionsDialog {
public:
    // The context's file routines make and delete the shortcuts, its shell
    // start runs the programs, which stand in its program folder.
    TExittoolsDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, Label2;
    gui::TCheckBox Morrick, Tessaly;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);

private:
    const TDateiDialogKontext& m_kontext;
};

// The user's Startup folder with a trailing "\"; empty when the shell has none.
std::wstring AutostartOrdner();

}  // namespace velmora
