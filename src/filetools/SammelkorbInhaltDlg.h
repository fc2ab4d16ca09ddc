#pragma once
// TSammelkorbInhaltDlg: lists the collection basket and lets the user mark the
// entries to take; AuswahlHolen hands copies of the marked records to the caller.

#include "DialogBasis.h"
#include "foundation/EineDatei.h"
#include "foundation/controls/EnhListView.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"

namespace velmora {

class TSammelkorbInhaltDlg : public TPositionsDialog {
public:
    TSammelkorbInhaltDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1;
    TEnhListView Dateiliste;
    gui::TLabel StatusLabel;
    gui::TButton OKBtn, CancelBtn;

    // Appends a copy of the record of each marked row (in-archive ones included).
    void AuswahlHolen(TDateiListe& Liste) const;

    void FormShow(gui::TObject* Sender);
    void DateiListeChange(gui::TObject* Sender, gui::TListItem* Item);
    void DateiListeDblClick(gui::TObject* Sender);

private:
    const TDateiDialogKontext& m_kontext;
    gui::TImageList m_icons;
};

// The row of a basket record: name (with " in " and the archive for an archived
// entry), size in KB and date with time.
std::wstring SammelkorbZeile(const TEineDatei& Datei);

}  // namespace velmora
