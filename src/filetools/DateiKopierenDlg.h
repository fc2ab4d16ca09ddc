#pragma once
// TDateiKopierenDlg: the question before copying, moving and linking: the
// source list and the target folder. SetVorgang gives it the texts and help
// context of one of the three commands.

#include "QuellDialog.h"

namespace velmora {

enum class TKopierVorgang { Kopieren, Verschieben, Verknuepfen };

class TDateiKopierenDlg : public TQuellDialog {
public:
    TDateiKopierenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label3, Label1, Label2;
    gui::TComboBox QuellDateien;
    TFileLabel Quellverzeichnis;
    gui::TComboBox Zielverzeichnis;
    gui::TButton DurchsuchenButton;
    // The prompt of the folder browser for the target.
    std::wstring ZielPrompt;

    // Caption, Label3, the four prompts and the help context of a command.
    void SetVorgang(TKopierVorgang Vorgang);

    void QuellDateienExit(gui::TObject* Sender);
    void QuellDateienKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void QuellDateienChange(gui::TObject* Sender);
    void QuellDateienDropDown(gui::TObject* Sender);
    void ZielverzeichnisKeyPress(gui::TObject* Sender, wchar_t& Key);
    void DurchsuchenButtonClick(gui::TObject* Sender);

protected:
    bool Pruefen() override;
    void Fuellen() override;
    bool RecentToOther(const std::wstring& Path) override;
    std::wstring ArchivHinweis() const override { return L"Diese werden beim Kopiervorgang ignoriert."; }

private:
    bool Refuse(const std::wstring& Text, gui::TWinControl& Focus);
    // Offers to create a missing folder; true when it exists afterwards.
    bool ZielAnlegen(const std::wstring& Folder);
};

}  // namespace velmora
