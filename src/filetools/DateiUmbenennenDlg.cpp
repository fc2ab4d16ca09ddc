#include "DateiUmbenennenDlg.h"

#include "foundation/EineDatei.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

TDateiUmbenennenDlg::TDateiUmbenennenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"DUmb"), Label1(this), Label2(this), DateiNameLabel(this), NeuerDateiName(this),
      OKBtn(this), CancelBtn(this), HilfeBtn(this) {
    SetCaption(L"Datei umbenennen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Umbenennen:");
    lay.Place(Label1, 6, 8, 50, 9);
    lay.Place(DateiNameLabel, 58, 8, 184, 9);
    Label2.SetCaption(L"&in:");
    Label2.SetFocusControl(&NeuerDateiName);
    lay.Place(Label2, 6, 26, 50, 9);
    lay.Place(NeuerDateiName, 58, 24, 184, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 44, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 64);
    SetHelpContextAll(15);
}

void TDateiUmbenennenDlg::SetDateiName(const std::wstring& Name) {
    DateiNameLabel.SetFileName(SystemLower(Name));
    NeuerDateiName.SetText(SystemLower(ExtractFileName(Name)));
}

}  // namespace velmora
