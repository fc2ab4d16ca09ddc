#pragma once
// TNeuerDateiTypDlg: the one-line input of the file-type editor, also lent to the
// association editor. The caller sets caption, label and what the text stands
// for (Art); OK closes only with a text that passes the check of that kind.

#include <string>

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

// What the input asks for: a type name or description (only not empty), a mask
// (no folder part) or an extension.
enum class TEingabeArt { Name, Maske, Endung };

inline const std::wstring EndungUngueltigText =
    L"Die angegebene Endung ist ungültig.\rBitte überprüfen Sie Ihre Eingabe.";

// An extension as typed, with one leading "." dropped. False for an empty result
// and for blanks, control characters and \ / : * ? " < > |: such a name is no
// extension the shell looks up, and a "\" would reach into another key.
bool EndungPruefen(const std::wstring& Text, std::wstring& Endung);

class TNeuerDateiTypDlg : public TPositionsDialog {
public:
    explicit TNeuerDateiTypDlg(gui::TComponent* Owner);

    gui::TLabel Label1;
    gui::TEdit Edit;
    gui::TButton OKBtn, CancelBtn;
    TEingabeArt Art = TEingabeArt::Name;

    // The editor's own setup again: its caption and label, no length limit, an
    // empty text in normal letter case, a name asked for.
    void Zuruecksetzen();
    void Einrichten(const std::wstring& Caption, const std::wstring& Label, TEingabeArt Was);
    // Typed letters become lower case, also in a window that exists already.
    void SetKleinbuchstaben(bool Klein);

    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
};

}  // namespace velmora
