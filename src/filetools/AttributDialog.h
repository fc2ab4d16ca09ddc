#pragma once
// TAttributDialog: the attributes (three states: grey leaves a file's bit as it
// is) and the date and time of a selection. SetDateien presets it from the
// records, Anwenden applies the result to them.

#include <optional>

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/MaskEdit.h"

namespace velmora {

class TDateiRoutinen;

class TAttributDialog : public TPositionsDialog {
public:
    explicit TAttributDialog(gui::TComponent* Owner);

    gui::TGroupBox GroupBox1, GroupBox2;
    gui::TCheckBox Archive, ReadOnly, Hidden, SysFile;
    gui::TCheckBox DatumAendern, ZeitAendern;
    gui::TMaskEdit Datum, Zeit;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // Each box checked when every record has its bit, empty when none has it,
    // grey otherwise; the date and time of the one record, or Jetzt for several;
    // both change boxes empty.
    void SetDateien(const TDateiListe& Liste, TDateTime Jetzt);
    // Per record: new attributes unless nothing changed for a single record (a
    // volume label is left alone), and for a file the new date or time when asked.
    void Anwenden(const TDateiListe& Liste, TDateiRoutinen& Routinen) const;

    void OKBtnClick(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void DatumChange(gui::TObject* Sender);
    void ZeitChange(gui::TObject* Sender);
    void DatumExit(gui::TObject* Sender);
    void ZeitExit(gui::TObject* Sender);

private:
    // Both texts, the date first; a bad one is reported and gets the focus.
    bool TexteGueltig();

    bool m_ok = false;
    bool m_checking = false;
    bool m_ordnerDabei = false;
    gui::TCheckBoxState m_start[4] = {};
};

// The date of a masked date text (blanks ignored; day, month and year needed).
std::optional<TDateTime> MaskenDatum(const std::wstring& Text);
// The time of day of a masked time text (hours, minutes, optional seconds).
std::optional<TDateTime> MaskenZeit(const std::wstring& Text);

}  // namespace velmora
