#pragma once
// TDateiUmbenennenDlg: the old name and a field for the new one; the caller
// renames through the file routines.

#include "DialogBasis.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

class TDateiUmbenennenDlg : public TPositionsDialog {
public:
    explicit TDateiUmbenennenDlg(gui::TComponent* Owner);

    gui::TLabel Label1, Label2;
    TFileLabel DateiNameLabel;
    gui::TEdit NeuerDateiName;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // The old name lower-cased in the label, its file part in the field.
    void SetDateiName(const std::wstring& Name);
};

}  // namespace velmora
