#pragma once
// TDateiTeilenvorbereitenDlg: asks for the file to split and the size of its
// pieces. The file is checked once OK is pressed: it must exist (a name
// without folder lies in the folder shown) and be larger than one piece.

#include <cstdint>
#include <functional>

#include "DialogBasis.h"
#include "SammelkorbInhaltDlg.h"
#include "foundation/EineDatei.h"
#include "foundation/controls/FileLbl.h"
#include "foundation/controls/NumSpin.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Label.h"

namespace velmora {

class TDateiTeilenvorbereitenDlg : public TPositionsDialog {
public:
    TDateiTeilenvorbereitenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, DateiLabel, GroesseLabel, ParameterLabel;
    TFileLabel Quellverzeichnis;
    gui::TComboBox Datei;
    gui::TButton DateiSuchenBtn2, SammelkorbBtn;
    TNumSpinEdit Groesse;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;

    void SetAktuellesVerzeichnis(const std::wstring& Folder) { Quellverzeichnis.SetFileName(Folder); }
    // After OK: the file (its full name, size, attributes and date) and the piece size.
    const TEineDatei& Ergebnis() const { return m_ergebnis; }
    std::int32_t Fragment() const { return m_fragment; }

    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OKBtnClick(gui::TObject* Sender);
    void DateiKeyPress(gui::TObject* Sender, wchar_t& Key);
    void DateiSuchenBtn2Click(gui::TObject* Sender);
    void SammelkorbBtnClick(gui::TObject* Sender);

private:
    bool Pruefen();

    const TDateiDialogKontext& m_kontext;
    TSammelkorbInhaltDlg* m_sammelkorb = nullptr;
    bool m_ok = false;
    TEineDatei m_ergebnis;
    std::int32_t m_fragment = 0;
};

}  // namespace velmora
