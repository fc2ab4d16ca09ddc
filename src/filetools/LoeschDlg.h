#pragma once
// TLoeschDlg: the question before deleting: the list, whether special files are
// to be confirmed, and how (recycle bin, for good, wiped with zeros first).

#include "QuellDialog.h"
#include "platform/gui/GroupBox.h"

namespace velmora {

class TLoeschDlg : public TQuellDialog {
public:
    TLoeschDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, Label2;
    gui::TComboBox ZLDateien;
    TFileLabel FileLabel;
    gui::TCheckBox Sicherheitsabfragen;
    // 0 recycle bin, 1 for good, 2 zero-fill first: the mode of DeleteFiles.
    gui::TRadioGroup LoeschGroup;

    void ZLDateienExit(gui::TObject* Sender);
    void ZLDateienKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void ZLDateienChange(gui::TObject* Sender);
    void ZLDateienDropDown(gui::TObject* Sender);
    void ZLDateienKeyPress(gui::TObject* Sender, wchar_t& Key);

protected:
    bool Pruefen() override;
    std::wstring ArchivHinweis() const override { return L"Diese werden beim Löschvorgang ignoriert."; }
};

}  // namespace velmora
