#pragma once
// What the add and extract dialogs share: three pages, their settings key with
// the stored position "Pos", the archive's file dialog, the basket's one-archive
// choice, the borrowed recent-folders menu, the list editor, "&Hilfe" and
// "Hin&weis", and a refused close that focuses the field on its page.

#include <cstdint>
#include <functional>
#include <string>

#include "filetools/DateienBearbeitenDlg.h"
#include "filetools/DialogBasis.h"
#include "filetools/SammelkorbInhaltDlg.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Menus.h"
#include "platform/gui/PageControl.h"

namespace velmora::archive {

class TZipRoutinen;

// "Alle Dateien", "Alle Archive" and one filter per format.
extern const wchar_t* const ArchivFilter;

// Whether the format library unpacks Kind in-process (by the archive settings);
// a plain ZIP goes to the zip library and counts as not.
bool EntpacktImProzess(const TZipRoutinen& Routinen, std::uint8_t Kind);

class TArcDialogBasis : public TPositionsDialog {
public:
    gui::TPageControl Seiten;
    gui::TTabSheet Allgemein, Seite2, PasswortSeite;
    gui::TPopupMenu MyPopup;
    gui::TButton OKBtn, CancelBtn, Button2, Button1;
    // The archive row, the label of the entries and the password page, the same
    // in both dialogs.
    gui::TLabel ArchivLabel, DateienLabel, PasswortLabel;
    gui::TComboBox ArchivName;
    gui::TButton DateiSuchenBtn1;
    gui::TEdit Passwort;

    // The folder browser; tests put a stand-in here.
    std::function<bool(const std::wstring& Title, const std::wstring& Start, std::wstring& Folder)> OrdnerWaehlen;

    TDateienBearbeitenDlg* ListEditor();
    TSammelkorbInhaltDlg* SammelkorbDlg();

    void SetVisible(bool Visible) override;
    // With the OK flag the checks run; a failing one keeps the dialog open and
    // clears the flag, so that Cancel afterwards closes unchecked.
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

protected:
    // The checks of closing with OK; false keeps the dialog open.
    virtual bool Pruefen() = 0;
    // The routine number of the checks.
    int m_schliessCode = 0;
    TArcDialogBasis(gui::TComponent* Owner, const TDateiDialogKontext& Kontext, std::wstring Schluessel,
                    const std::wstring& Seite2Name, int Hilfe);
    void DoDestroy() override;
    // Places the archive row with Korb, the basket button, the label of Dateien
    // and the password page.
    void KopfAnlegen(gui::TButton& Korb, gui::TWinControl& Dateien);
    // The values of the dialog's key (the "Pos" is handled here).
    std::wstring Lesen(const std::wstring& Name) const;
    void Schreiben(const std::wstring& Name, const std::wstring& Value) const;

    const TDateiDialogKontext& Kontext() const { return m_kontext; }
    TZipRoutinen* Routinen() const { return m_kontext.ZipRoutinen; }
    // The archive's kind by the routines (0 for none, or without routines).
    std::uint8_t ArchivArt(const std::wstring& Name) const;

    // Shows the box, shows Feld's page and focuses Feld; false for the caller's check.
    bool Verweigern(const std::wstring& Text, gui::TMsgDlgType Type, int Hilfe, gui::TWinControl& Feld);
    // The archive file dialog; true with a chosen file in Datei.
    bool ArchivWaehlen(std::wstring& Datei);
    // The basket chooser for one archive: true with its name; Grund ends the
    // second line of the box about an entry inside an archive.
    bool ArchivAusSammelkorb(const std::wstring& Grund, std::wstring& Datei);
    // The recent-folders menu, lent while shown, its clicks to MRUClick.
    void MenuLeihen();
    void MenuZurueck() { m_mru.GiveBack(); }
    virtual void MRUClick(gui::TObject* Sender, const std::wstring& Path) = 0;

    bool m_ok = false;

private:
    const TDateiDialogKontext& m_kontext;
    std::wstring m_schluessel;
    bool m_platzBekannt = false;
    TMRUAusleihe m_mru;
    TDateienBearbeitenDlg* m_editor = nullptr;
    TSammelkorbInhaltDlg* m_sammelkorb = nullptr;
};

// The entry field of the extract and delete dialogs over a record list: more
// than one record makes it read-only with the count (in Mehrere's words) and
// the list editor enabled; one or none an editable field with the name.
class TEintragsFeld {
public:
    TEintragsFeld(gui::TEdit& Feld, gui::TButton& Editor, std::function<std::wstring(size_t)> Mehrere)
        : m_feld(Feld), m_editor(Editor), m_mehrere(std::move(Mehrere)) {}
    void SetListe(TDateiListe* Liste) { m_liste = Liste; }
    TDateiListe* Liste() const { return m_liste; }
    // The archive path new records carry.
    std::wstring Archiv;
    // Read-only whatever the count (the extract dialog's list mode).
    bool Gesperrt = false;

    void Anzeigen();
    // Leaving the field: the text becomes the list (editable field only).
    void Uebernehmen();
    // Delete without shift keys in the read-only field empties the list.
    void KeyUp(WORD Key, gui::TShiftState Shift);
    // Replaces the list by the names, each lower-cased and inside the archive.
    void Ersetzen(const TStringList& Namen);
    // The list editor with Ueberschrift; the lines merged back without file data.
    void Bearbeiten(TDateienBearbeitenDlg& Editor, const std::wstring& Ueberschrift);

private:
    std::unique_ptr<TEineDatei> Eintrag(const std::wstring& Name) const;
    gui::TEdit& m_feld;
    gui::TButton& m_editor;
    std::function<std::wstring(size_t)> m_mehrere;
    TDateiListe* m_liste = nullptr;
};

}  // namespace velmora::archive
