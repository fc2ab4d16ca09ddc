#pragma once
// TAddArcDlg: the question before adding files to an archive: the archive, the
// files (a source box over the caller's record list), the format, the packing
// level and the options. It keeps its options, level and format under its own
// key across runs; the password is never stored.

#include <array>
#include <memory>

#include "ArcDialogBasis.h"
#include "filetools/QuellBox.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"

namespace velmora::archive {

class TAddArcDlg : public TArcDialogBasis {
public:
    TAddArcDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel FormatLabel, MethodeLabel;
    gui::TComboBox Dateien, ArcFormat, Methode;
    gui::TButton SammelkorbBtn2, BitBtn1, DateiSuchenBtn2, OrdnerSuchenBtn, SammelkorbBtn;
    gui::TCheckBox QuelldateienLoeschen, NurWennAktueller, NurWennAktuellerUndVorhanden, CheckBox1,
        Unterverzeichnisse, DosDateiNamenBenutzen, Multidiskmode, ClearDisks;

    // The caller owns the list; it must outlive the showing.
    void SetDateiliste(TDateiListe* Liste);
    TDateiListe* Dateiliste() const { return m_quelle.Liste(); }
    // Selects the format (0 ZIP to 5 ZOO) and enables what it supports.
    void FormatAnwenden(int Index);
    // The current format's extension (".zip" ...).
    const std::wstring& Endung() const { return m_endung; }

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void ArcFormatChange(gui::TObject* Sender);
    void ArchivNameExit(gui::TObject* Sender);
    void DateienExit(gui::TObject* Sender);
    void NurWennAktuellerClick(gui::TObject* Sender);
    void NurWennAktuellerUndVorhandenClick(gui::TObject* Sender);
    void MultidiskmodeClick(gui::TObject* Sender);
    void DateiSuchenBtn1Click(gui::TObject* Sender);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void BitBtn1Click(gui::TObject* Sender);
    void SammelkorbBtnClick(gui::TObject* Sender);
    void SammelkorbBtn2Click(gui::TObject* Sender);

protected:
    void DoDestroy() override;
    void MRUClick(gui::TObject* Sender, const std::wstring& Path) override;

    bool Pruefen() override;

private:
    void BeginAdding();
    // The eight options in the order of the stored "Data".
    std::array<gui::TCheckBox*, 8> Optionen();

    TQuellBox m_quelle;
    std::wstring m_endung = L".zip";
    bool m_nichtFragen = false;
};

// The 8.3 rule of the formats other than ZIP for an archive's file name.
bool AltesArchivFormat(const std::wstring& FileName);

}  // namespace velmora::archive
