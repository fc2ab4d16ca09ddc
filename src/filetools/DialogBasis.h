#pragma once
// What the file dialogs share: the main window's state they work with, handed in
// by the caller (this library does not link the main window), the borrowing of
// the recent-folders menu list, the screen position kept under "Dialoge", and the
// German date and time texts of the user's locale.

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/EineDatei.h"
#include "foundation/controls/MRUList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace velmora {

class TDateiRoutinen;
namespace archive {
class TZipRoutinen;
}

// The dialogs keep a reference to it: it lives as long as they do (the main
// window's member), and the caller keeps its two options up to date.
struct TDateiDialogKontext {
    // The history lists, oldest first, as the main window keeps them; the
    // dialogs offer them newest first.
    const TStringList* RecentFiles = nullptr;
    const TStringList* RecentDirs = nullptr;
    // The main window's AddDirHistory and AddPathHistory.
    std::function<void(const std::wstring&)> AddDirHistory;
    std::function<void(const std::wstring&)> AddPathHistory;
    // The recent-folders menu list that the dialogs borrow while shown.
    TMRUFileList* MRUList = nullptr;
    // The collection basket.
    const TDateiListe* Sammelkorb = nullptr;
    // Creates missing target folders.
    TDateiRoutinen* Routinen = nullptr;
    // The options "empty lists before adding" and "standard icons in search results".
    bool ClearLists = false;
    bool StandardIcons = false;
    // The file search's result list, and the archive routines its archive pass
    // uses: an archive's kind, and its entries (false when it was not listed
    // whole). SucheLiestArchive brackets the archive pass.
    TDateiListe* Suchergebnis = nullptr;
    std::function<bool(const std::wstring& Archive, std::uint8_t& Kind)> ArchivTyp;
    std::function<bool(std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries)> ArchivLesen;
    std::function<void(bool Laeuft)> SucheLiestArchive;

    // ---- The orphaned-file search's delete: the main window's delete options
    // (confirmations, show the delete dialog first, the delete mode 0..2).
    bool Loeschabfrage = false;
    bool AuswahlDlgVorLoeschen = false;
    int LoeschGroup = 0;

    // ---- For the document list and the exit tools: starts through the shell
    // (the main window's ShellStart: a file with a verb, empty for the default
    // one; above 32 when it started) and the program's own folder, with "".
    std::function<INT_PTR(const std::wstring& File, const std::wstring& Verb)> ShellStart;
    std::wstring ProgramFolder;

    // ---- The archive dialogs (add, extract, contents, delete entries) ----
    // The recent archives, oldest first, and the main window's AddArchiveHistory.
    const TStringList* RecentArcs = nullptr;
    std::function<void(const std::wstring&)> AddArchiveHistory;
    // The archive routines: an archive's kind, its listing, which formats
    // unpack in-process, and the drive types.
    archive::TZipRoutinen* ZipRoutinen = nullptr;
    // Whether the main window's lists show icons.
    std::function<bool()> GetShowIcons;
    // ---- end of the archive dialogs' part ----
};

// The recent-folders menu list lent to a dialog's pop-up menu: Borrow points its
// items and clicks at the dialog, GiveBack returns both to where they were.
class TMRUAusleihe {
public:
    TMRUAusleihe() = default;
    TMRUAusleihe(const TMRUAusleihe&) = delete;
    TMRUAusleihe& operator=(const TMRUAusleihe&) = delete;
    ~TMRUAusleihe() { GiveBack(); }

    void Borrow(TMRUFileList* List, gui::TMenuItem* Menu, TMRUClickEvent OnClick);
    void GiveBack();
    bool Borrowed() const { return m_list != nullptr; }

private:
    TMRUFileList* m_list = nullptr;
    gui::TMenuItem* m_home = nullptr;
    TMRUClickEvent m_homeClick;
    bool m_homeSeparator = true;
};

// A dialog whose position is stored as PositionName + "DlgPos" under "Dialoge":
// read when it is made (centred when missing), written when it is freed once it
// has a place (it was read or the dialog was shown). An empty name keeps no
// position.
class TPositionsDialog : public gui::TForm {
public:
    TPositionsDialog(gui::TComponent* Owner, std::wstring PositionName);
    void SetVisible(bool Visible) override;

protected:
    void DoDestroy() override;
    // The form's and every control's help context.
    void SetHelpContextAll(int Context);
    // OK (the default button) and "Abbrechen", each closing the dialog with its
    // result; the second form adds "&Hilfe", which opens the dialog's help context.
    void SetUpButtons(gui::TButton& OKBtn, gui::TButton& CancelBtn);
    void SetUpButtons(gui::TButton& OKBtn, gui::TButton& CancelBtn, gui::TButton& HilfeBtn);

private:
    std::wstring m_positionName;
    // A dialog never shown has no place of its own: it writes none, and the
    // next one made is centred again.
    bool m_placeKnown = false;
};


// Whether the keyboard focus is in Control or one of its windows (an editable
// combo box has its focus in its edit window).
bool HasFocus(gui::TWinControl& Control);

// A typed character in lower case (the dialogs' path fields).
void KleinGetippt(wchar_t& Key);

// The histories newest first.
TStringList NewestFirst(const TStringList* List);

}  // namespace velmora
