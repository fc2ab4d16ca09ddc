#pragma once
// TQuellDialog: what the copy and the delete dialog share. The caller hands in
// the record list (SetDateiliste) and the current folder; the user edits the
// list through the source box, the list editor, the file-open dialog, the
// folder browser, the basket and the borrowed recent-folders menu. OK runs the
// dialog's own checks (Pruefen) and keeps it open while one fails.

#include <functional>
#include <memory>

#include "DateienBearbeitenDlg.h"
#include "DialogBasis.h"
#include "QuellBox.h"
#include "SammelkorbInhaltDlg.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"

namespace velmora {

class TQuellDialog : public TPositionsDialog {
public:
    // The caller owns the list; it must outlive the showing.
    void SetDateiliste(TDateiListe* Liste);
    TDateiListe* Dateiliste() const { return m_quelle->Liste(); }
    // The folder the dialog starts its browsers in, shown in its file label.
    void SetAktuellesVerzeichnis(const std::wstring& Folder);
    const std::wstring& AktuellesVerzeichnis() const { return m_folder; }
    // A typed name made absolute against the folder the dialog shows (the
    // program's current folder only while it shows none).
    void Absolut(std::wstring& Name) const;
    // The heading of the list editor.
    std::wstring ListLabelText;
    // The prompt of the folder browser for sources.
    std::wstring QuellPrompt;

    gui::TPopupMenu MyPopup;
    gui::TButton BitBtn1, DateiSuchenBtn2, BitBtn2, SammelkorbBtn;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    // Made on first use, kept with the dialog.
    TDateienBearbeitenDlg* ListEditor();
    TSammelkorbInhaltDlg* SammelkorbDlg();

    // The file-open dialog and the folder browser; tests put stand-ins here.
    std::function<bool(const std::wstring& InitialDir, TStringList& Files)> DateienWaehlen;
    std::function<bool(const std::wstring& Title, const std::wstring& Start, std::wstring& Folder)> OrdnerWaehlen;

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void BitBtn1Click(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void BitBtn2Click(gui::TObject* Sender);
    void SammelkorbBtnClick(gui::TObject* Sender);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

protected:
    TQuellDialog(gui::TComponent* Owner, const TDateiDialogKontext& Kontext, const std::wstring& PositionName);
    // Called from the derived constructor, once its controls exist.
    void Bind(gui::TComboBox& Box, TFileLabel& FolderLabel);
    void LowerKey(gui::TObject* Sender, wchar_t& Key);
    TQuellBox& Quelle() { return *m_quelle; }
    const TDateiDialogKontext& Kontext() const { return m_kontext; }
    gui::TComboBox& QuellBox() { return *m_box; }

    // The checks of closing with OK; false keeps the dialog open.
    virtual bool Pruefen() = 0;
    // More to fill at every showing (the target's items).
    virtual void Fuellen() {}
    // A recent folder clicked while the box other than the source box has the focus.
    virtual bool RecentToOther(const std::wstring& Path) { (void)Path; return false; }
    // The second line of the box about archived basket entries.
    virtual std::wstring ArchivHinweis() const = 0;

    void HilfeBtnClick(gui::TObject* Sender);

private:
    // Starts an adding action: the list emptied first when the option says so.
    void BeginAdding();

    const TDateiDialogKontext& m_kontext;
    std::unique_ptr<TQuellBox> m_quelle;
    gui::TComboBox* m_box = nullptr;
    TFileLabel* m_folderLabel = nullptr;
    std::wstring m_folder;
    bool m_ok = false;
    TMRUAusleihe m_mru;
    TDateienBearbeitenDlg* m_editor = nullptr;
    TSammelkorbInhaltDlg* m_sammelkorb = nullptr;
};

}  // namespace velmora
