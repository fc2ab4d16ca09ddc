#pragma once
// TDateienBearbeitenDlg: the list editor of the source boxes. One name per line;
// OK drops empty lines and, when the names must exist, stops at the first line
// that names nothing on disk and holds no wildcard. DateilisteAbgleichen merges
// the lines back into the caller's record list.

#include "DialogBasis.h"
#include "foundation/EineDatei.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

class TDateienBearbeitenDlg : public TPositionsDialog {
public:
    explicit TDateienBearbeitenDlg(gui::TComponent* Owner);

    gui::TLabel ListLabel;
    gui::TMemo Dateiliste;
    gui::TLabel StatusLabel;
    gui::TButton OKBtn, CancelBtn;
    // Set by the caller: every line must name an existing file or folder.
    bool NamenMuessenExistieren = false;

    // The heading above the memo, and one line per record.
    void SetListe(const std::wstring& Heading, const TDateiListe& Liste);
    // Records without a line go, lines without a record become records (lower-cased).
    // Unless NurNamen, a new record without wildcards takes size, date and
    // attributes from the disk.
    void DateilisteAbgleichen(TDateiListe& Liste, bool NurNamen);

    void DateilisteChange(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

private:
    bool m_ok = false;
};

// The start of line Index in a memo whose lines are joined by CR LF.
int ZeilenAnfang(const TStringList& Lines, int Index);

}  // namespace velmora
