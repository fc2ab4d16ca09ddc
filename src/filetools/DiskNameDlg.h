#pragma once
// TNameDiskDlg: gives a drive a new volume label. A CD-ROM drive's label can
// only be read.

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

class TNameDiskDlg : public TPositionsDialog {
public:
    explicit TNameDiskDlg(gui::TComponent* Owner);

    gui::TLabel Label1, DatentraegerLabel, NameLabel;
    gui::TDriveComboBox Datentraeger;
    gui::TEdit NeuerName;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // The drive's type and label; tests put stand-ins here.
    std::function<unsigned(const std::wstring& Root)> Laufwerkstyp;
    std::function<bool(const std::wstring& Root, std::wstring& Name)> NameLesen;

    void FormShow(gui::TObject* Sender);
    void DatentraegerChange(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);

private:
    void LaufwerkZeigen();
    std::wstring Wurzel() const;
};

}  // namespace velmora
