#pragma once
// TExtractArcDlg: the question before extracting: the archive (or, in list
// mode, the archives of the caller's records), the entries, the target folder
// and the options, kept under its own key across runs. TArchivInhaltDlg lists
// an archive's entries for the user to pick some.

#include <string>
#include <unordered_map>

#include "ArcDialogBasis.h"
#include "foundation/controls/EnhListView.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/GroupBox.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"

namespace velmora::archive {

class TArchivInhaltDlg : public TPositionsDialog {
public:
    TArchivInhaltDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    TEnhListView Dateiliste;
    gui::TLabel StatusLabel;
    gui::TButton OKBtn, CancelBtn;

    void SetArchivName(const std::wstring& Name) { m_archiv = Name; }
    const std::wstring& ArchivName() const { return m_archiv; }
    // Fills the list; false (after its box) for a file that is no archive.
    bool ArchivLaden();
    // The rows of a finished listing: lower-cased name and folder, and the
    // icon when the main window shows icons.
    void ZeilenFuellen(const TDateiListe& Entries);
    // The marked entries in list order, lower-cased, with their folders.
    void AuswahlHolen(TStringList& Liste) const;

    void FormShow(gui::TObject* Sender);
    void DateiListeChange(gui::TObject* Sender, gui::TListItem* Item);
    void DateiListeDblClick(gui::TObject* Sender);

private:
    int IconIndex(const std::wstring& Name);
    const TDateiDialogKontext& m_kontext;
    std::wstring m_archiv;
    gui::TImageList m_icons;
    // One look-up per lower-cased extension.
    std::unordered_map<std::wstring, int> m_iconCache;
};

class TExtractArcDlg : public TArcDialogBasis {
public:
    TExtractArcDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel ZielLabel;
    gui::TEdit Dateien;
    gui::TComboBox Zielverzeichnis;
    gui::TButton SammelkorbBtn, DateiSuchenBtn2, BitBtn1, OrdnerSuchenBtn;
    gui::TCheckBox CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5;
    gui::TRadioGroup RadioGroup1;

    // The caller owns the list; it must outlive the showing.
    void SetDateiliste(TDateiListe* Liste);
    TDateiListe* Dateiliste() const { return m_eintraege.Liste(); }
    // List mode: the records carry their own archives; the archive box shows
    // "Ausgewählte Archive..." and the archive and entry controls are locked.
    // Switching it off gives them back.
    void SetListenModus(bool An);
    bool ListenModus() const { return m_listenModus; }
    // The checked target folder with a trailing "\" (after OK).
    const std::wstring& Zielordner() const { return m_zielordner; }
    TArchivInhaltDlg* InhaltDlg();

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void ArchivNameExit(gui::TObject* Sender);
    void DateienExit(gui::TObject* Sender);
    void DateienKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void CheckBox1Click(gui::TObject* Sender);
    void CheckBox3Click(gui::TObject* Sender);
    void CheckBox4Click(gui::TObject* Sender);
    void CheckBox5Click(gui::TObject* Sender);
    void DateiSuchenBtn1Click(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void SammelkorbBtnClick(gui::TObject* Sender);

protected:
    void DoDestroy() override;
    void MRUClick(gui::TObject* Sender, const std::wstring& Path) override;

    bool Pruefen() override;

private:
    bool ZielAnlegen(const std::wstring& Folder);
    // Replaces each entry with "*" or "?" by the archive's entries it matches.
    bool MusterAufloesen(const std::wstring& Archiv, std::uint8_t Kind);

    TEintragsFeld m_eintraege;
    TArchivInhaltDlg* m_inhalt = nullptr;
    bool m_listenModus = false;
    std::wstring m_zielordner;
};

}  // namespace velmora::archive
