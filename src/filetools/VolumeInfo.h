#pragma once
// TVolumeInfoDlg: a drive's properties, its space as a pie and, on request,
// the slack of all its files counted by a thread. One count at a time: a new
// one, a change of drive or closing the dialog stops it and waits for it.

#include <memory>

#include "DialogBasis.h"
#include "Ueberhang.h"
#include "foundation/controls/PieChart.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"
#include "platform/gui/PageControl.h"

namespace velmora {

class TVolumeInfoDlg : public TPositionsDialog {
public:
    explicit TVolumeInfoDlg(gui::TComponent* Owner);
    ~TVolumeInfoDlg() override;

    gui::TLabel Label1, LaufwerkLabel;
    gui::TDriveComboBox DriveComboBox1;
    gui::TPageControl PageControl1;
    gui::TTabSheet AllgemeinSeite, SpeicherSeite;
    gui::TLabel NameTitel, NummerTitel, TypTitel, DateisystemTitel, GesamtTitel, FreiTitel, DateisystemCaption;
    gui::TLabel NameLabel, NummerLabel, TypLabel, DateisystemLabel, GesamtLabel, FreiLabel;
    gui::TMemo Memo;
    gui::TLabel BytesTitel, SektorenTitel, ClusterTitel;
    gui::TLabel BytesLabel, SektorenLabel, ClusterLabel;
    TPieChart PieChart;
    gui::TButton Button1, OKBtn;

    // The drive's type as GetDriveTypeW gives it; tests put a stand-in here.
    std::function<unsigned(const std::wstring& Root)> Laufwerkstyp;

    void LaufwerkAnzeigen();
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void DriveComboBox1Change(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void ThreadBeendet(gui::TObject* Sender);

    // For tests: whether a count runs.
    bool Zaehlt() const { return m_thread && !m_thread->Finished(); }

private:
    std::wstring Wurzel() const;
    void ZaehlungBeenden();

    double m_gesamt = 0, m_frei = 0;
    std::uint32_t m_cluster = 0;
    TStringList m_tortenZeilen;
    std::unique_ptr<TUeberhangErmittelnThread> m_thread;
};

}  // namespace velmora
