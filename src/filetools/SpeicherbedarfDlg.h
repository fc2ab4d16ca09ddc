#pragma once
// TSpeicherbedarfDlg: what the marked files really take on their drive, their
// sizes and the slack of their last clusters, counted by a thread of its own
// and shown as text and as a pie. One count at a time: a new one, or closing
// the dialog, stops the running count and waits for it.

#include <memory>

#include "DialogBasis.h"
#include "Ueberhang.h"
#include "foundation/EineDatei.h"
#include "foundation/controls/PieChart.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"

namespace velmora {

class TSpeicherbedarfDlg : public TPositionsDialog {
public:
    explicit TSpeicherbedarfDlg(gui::TComponent* Owner);
    ~TSpeicherbedarfDlg() override;

    TPieChart PieChart;
    gui::TLabel Label1;
    gui::TCheckBox InclSubDirs;
    gui::TMemo Memo;
    gui::TButton OKBtn, HilfeBtn;

    // Takes the marked files of one cluster size and starts a count; false
    // (after telling why, where there is a reason) when there is nothing to count.
    bool Ermitteln(const TDateiListe& Markiert);

    void InclSubDirsClick(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void ThreadBeendet(gui::TObject* Sender);

    // For tests: whether a count runs.
    bool Zaehlt() const { return m_thread && !m_thread->Finished(); }

private:
    void ZaehlungStarten();
    void ZaehlungBeenden();
    void ErgebnisZeigen();

    TStringList m_pfade;
    TStringList m_tortenZeilen;
    std::uint32_t m_cluster = 0;
    std::unique_ptr<TUeberhangErmittelnThread> m_thread;
    TUeberhangSummen m_ergebnis;
    // A result that came before the dialog was shown waits for FormShow.
    bool m_ergebnisWartet = false;
    bool m_gezeigt = false;
    // Set while Ermitteln clears the check box: that click starts no count.
    bool m_stillesKlicken = false;
};

}  // namespace velmora
