#include "DOSZeilenDialog.h"

#include "platform/gui/Layout.h"

namespace velmora {

using namespace gui;

TDOSZeilenDlg::TDOSZeilenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"DOSZeilen"), Label1(this), Befehl(this), OKBtn(this), CancelBtn(this), HilfeBtn(this) {
    SetCaption(L"DOS-Befehl ausführen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Auszuführender Befehl");
    Label1.SetFocusControl(&Befehl);
    lay.Place(Label1, 6, 6, 200, 9);
    Befehl.Hint = L"Geben Sie hier den auszuführenden DOS-Befehl ein";
    Befehl.ShowHint = true;
    lay.Place(Befehl, 6, 17, 236, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 36, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 56);
}

}  // namespace velmora
