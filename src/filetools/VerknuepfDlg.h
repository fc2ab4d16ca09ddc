#pragma once
// The association editor: the document types registered under the classes root,
// one row per description and program with all their extensions, and the
// dialogs to make a new association and to choose what a delete takes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DialogBasis.h"
#include "NeuerDateiTypDlg.h"
#include "foundation/DateiTypen.h"
#include "foundation/controls/EnhListView.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Edits.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"

namespace velmora {

// One row of the editor: a description with the lower-cased program of its
// records and their listed extensions joined by "; ".
struct TVerknuepfungsZeile {
    std::wstring Beschreibung;
    std::wstring Endungen;
    std::wstring Befehl;
    // The first record of the row, for its icon.
    std::wstring ErsteEndung;
};

// The rows of the records: sorted by description (locale order, case-sensitive,
// stable), neighbours with one description and one program merged.
std::vector<TVerknuepfungsZeile> VerknuepfungsZeilen(const std::vector<TEinDateityp>& Typen);

// Whether Typ belongs to Zeile: the same description and the same program.
bool GehoertZu(const TEinDateityp& Typ, const TVerknuepfungsZeile& Zeile);

// Chooses a file: Start is where the dialog begins, the choice comes back in
// Datei. The open dialog in the program; tests put a stand-in here.
using TDateiWahl = std::function<bool(const std::wstring& Start, std::wstring& Datei)>;

class TNeueDokVerknuepfungDlg : public TPositionsDialog {
public:
    // Typen: the editor's records, for the "already registered" test.
    TNeueDokVerknuepfungDlg(gui::TComponent* Owner, const std::vector<TEinDateityp>& Typen);

    gui::TLabel CaptionLabel, Label1, Label2, Label3;
    gui::TEdit Endung, Beschreibung, OeffnenMit;
    gui::TButton DateiSuchenBtn2, OKBtn, CancelBtn, HilfeBtn;
    TDateiWahl DateiWaehlen;

    // The extension as it is registered: the text with one leading "." dropped.
    std::wstring NeueEndung() const;

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);

private:
    const std::vector<TEinDateityp>& m_typen;
    bool m_ok = false;
};

class TVerknuepfungLoeschenDlg : public TPositionsDialog {
public:
    explicit TVerknuepfungLoeschenDlg(gui::TComponent* Owner);

    gui::TLabel CaptionLabel, Frage;
    gui::TButton EndungBtn, TypBtn;
};

// The extension box: a chosen entry reaches the edit only after the change is
// reported, so the box remembers whether the report was of a choice.
class TEndungenBox : public gui::TComboBox {
public:
    using TComboBox::TComboBox;
    bool CNCommand(WORD code) override;
    // The text the box is about to show.
    std::wstring AktuellerText() const;

private:
    bool m_auswahl = false;
};

class TVerknuepfungsDlg : public TPositionsDialog {
public:
    explicit TVerknuepfungsDlg(gui::TComponent* Owner);

    gui::TLabel Label1, Label2, Label3;
    TEndungenBox Endungen;
    TFileLabel VerknuepftesProgramm;
    TEnhListView ListView;
    gui::TPopupMenu ListViewPopup;
    gui::TMenuItem EndungHinzu, BeschreibungAendern, VerknuepfungAendern;
    gui::TButton NeuBtn, LoeschenBtn, SchliessenBtn, HilfeBtn;
    TDateiWahl DateiWaehlen;

    const std::vector<TEinDateityp>& Typen() const { return m_typen; }
    TNeueDokVerknuepfungDlg& NeuDlg() { return *m_neuDlg; }
    TVerknuepfungLoeschenDlg& LoeschDlg() { return *m_loeschDlg; }
    TNeuerDateiTypDlg& Eingabe() { return *m_eingabe; }

    void ListeFuellen();
    void FormShow(gui::TObject* Sender);
    void FormDestroy(gui::TObject* Sender);
    void ListViewChange(gui::TObject* Sender, gui::TListItem* Item);
    void EndungenChange(gui::TObject* Sender);
    void ListViewPopupPopup(gui::TObject* Sender);
    void NeuBtnClick(gui::TObject* Sender);
    void LoeschenBtnClick(gui::TObject* Sender);
    void EndungHinzuClick(gui::TObject* Sender);
    void BeschreibungAendernClick(gui::TObject* Sender);
    void VerknuepfungAendernClick(gui::TObject* Sender);

private:
    const TVerknuepfungsZeile* GewaehlteZeile() const;
    // The first record of the row (it gives the class and the extension key).
    const TEinDateityp* ErsterEintrag(const TVerknuepfungsZeile& Zeile) const;
    // The record whose own extension key is "." + Endung, case aside.
    const TEinDateityp* Registriert(const std::wstring& Endung) const;
    void GanzenTypLoeschen(const TVerknuepfungsZeile& Zeile);
    // Lends the input dialog for one question and puts its own setup back; true
    // with a text after OK.
    bool Abfragen(const std::wstring& Caption, const std::wstring& Label, TEingabeArt Art, const std::wstring& Text,
                  std::wstring& Ergebnis);

    std::vector<TEinDateityp> m_typen;
    std::vector<TVerknuepfungsZeile> m_zeilen;
    gui::TImageList m_icons;
    TNeueDokVerknuepfungDlg* m_neuDlg;
    TVerknuepfungLoeschenDlg* m_loeschDlg;
    TNeuerDateiTypDlg* m_eingabe;
    bool m_ersteAnzeige = true;
};

// The information box's text for an extension that is already registered; Kopf
// is its first line.
std::wstring BereitsVerknuepftText(const std::wstring& Kopf, const TEinDateityp& Typ);

}  // namespace velmora
