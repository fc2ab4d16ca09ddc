#pragma once
// TTypenBearbeitenDlg: edits the program's file types (names and masks) in place;
// OK drops the types left without masks, Cancel drops the types added in this
// showing. TFilterAuswahlDlg: chooses the entries a pane marks, by masks (typed
// or from the file types) and by date, size and attributes.

#include <memory>

#include "DateiTypListe.h"
#include "DialogBasis.h"
#include "NeuerDateiTypDlg.h"
#include "foundation/controls/NumSpin.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Edits.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListBox.h"
#include "platform/gui/MaskEdit.h"
#include "platform/gui/PageControl.h"

namespace velmora {

class TTypenBearbeitenDlg : public TPositionsDialog {
public:
    TTypenBearbeitenDlg(gui::TComponent* Owner, TDateiTypListe& Liste);

    gui::TLabel Label1, Label2;
    gui::TComboBox Dateityp;
    gui::TListBox ListBox;
    gui::TButton NeuButton, HinzuButton, BearbButton, EntfButton, OKBtn, CancelBtn, HilfeBtn;
    TNeuerDateiTypDlg& Eingabe() { return *m_eingabe; }

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void DateitypChange(gui::TObject* Sender);
    void NeuButtonClick(gui::TObject* Sender);
    void HinzuButtonClick(gui::TObject* Sender);
    void BearbButtonClick(gui::TObject* Sender);
    void EntfButtonClick(gui::TObject* Sender);
    void ListBoxKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);

private:
    // The chosen type's place in the list (the box leaves out "Alle Dateien").
    int GewaehlterTyp() const;
    void TypenFuellen(int Typ);
    void MaskenFuellen(int Maske);
    // The input dialog set up for a mask; the text after OK, else nothing.
    bool MaskeAbfragen(const std::wstring& Caption, const std::wstring& Text, std::wstring& Ergebnis);

    TDateiTypListe& m_liste;
    std::unique_ptr<TTypenBearbeitung> m_bearbeitung;
    TNeuerDateiTypDlg* m_eingabe;
};

class TFilterAuswahlDlg : public TPositionsDialog {
public:
    TFilterAuswahlDlg(gui::TComponent* Owner, TDateiTypListe& Liste);

    gui::TPageControl Seiten;
    gui::TTabSheet FilterSeite, EigenschaftenSeite;
    gui::TLabel Label1, Label2, Label3, Label4;
    // The heading over the attribute groups, worded by the caller.
    gui::TLabel Label5;
    gui::TEdit DateiFilter;
    gui::TListBox DateiTypen, VordefFilterListBox;
    gui::TButton NeuerDateiTypBtn, OKBtn, CancelBtn;
    gui::TCheckBox Datumbeachten, Groessebeachten;
    gui::TMaskEdit Aelteste, Juengste;
    gui::TComboBox Groessenbereich;
    TNumSpinEdit DateiGroesse;
    gui::TRadioGroup ReadOnly, Hidden, System, Normale;

    // The masks of the filter text; a mask with a folder part is dropped, with
    // one error box for all.
    void MaskenHolen(TStringList& Masken);

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void DateiTypenClick(gui::TObject* Sender);
    void DateiTypenDblClick(gui::TObject* Sender);
    void DateiFilterChange(gui::TObject* Sender);
    void NeuerDateiTypBtnClick(gui::TObject* Sender);
    void DatumChange(gui::TObject* Sender);
    void GroessenbereichChange(gui::TObject* Sender);
    void DateiGroesseChange(gui::TObject* Sender);

private:
    void TypenFuellen();

    TDateiTypListe& m_liste;
    TTypenBearbeitenDlg* m_editor = nullptr;
    bool m_ok = false;
    bool m_tippt = false;
    bool m_fuellt = false;
};

}  // namespace velmora
