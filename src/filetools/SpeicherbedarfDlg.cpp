#include "SpeicherbedarfDlg.h"

#include <set>

#include "FileToolsCodes.h"
#include "Laufwerksabfragen.h"
#include "foundation/DMChild_Typen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

// The whole number heading a pie line, fraction dropped.
std::wstring Ganzzahl(double value) { return std::to_wstring(static_cast<long long>(value)); }

}  // namespace

TSpeicherbedarfDlg::TSpeicherbedarfDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), PieChart(this), Label1(this), InclSubDirs(this), Memo(this), OKBtn(this),
      HilfeBtn(this) {
    SetCaption(L"Tatsächlicher Speicherbedarf");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Dateigröße und Überhang");
    lay.Place(Label1, 6, 6, 120, 9);
    lay.Place(PieChart, 6, 18, 66, 66);
    PieChart.SetColour1(clLime);
    PieChart.SetColour2(clRed);
    Memo.SetReadOnly(true);
    Memo.WordWrap = true;
    Memo.ScrollBars = TMemo::TScrollStyle::ssVertical;
    lay.Place(Memo, 78, 18, 164, 84);
    InclSubDirs.SetCaption(L"&Unterverzeichnisse einschließen");
    lay.Place(InclSubDirs, 6, 108, 150, 10);
    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    OKBtn.Cancel = true;
    OKBtn.ModalResult = mrOk;
    HilfeBtn.SetCaption(L"&Hilfe");
    HilfeBtn.OnClick = [this](TObject*) { Application->HelpContext(HelpContext); };
    lay.Row(138, 124, 14, {{&OKBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 144);
    SetHelpContextAll(16);
    InclSubDirs.OnClick = bind(this, &TSpeicherbedarfDlg::InclSubDirsClick);
    OnShow = bind(this, &TSpeicherbedarfDlg::FormShow);
    OnClose = bind(this, &TSpeicherbedarfDlg::FormClose);
}

TSpeicherbedarfDlg::~TSpeicherbedarfDlg() { ZaehlungBeenden(); }

bool TSpeicherbedarfDlg::Ermitteln(const TDateiListe& Markiert) {
    Fehlercode = fc::SpeicherbedarfErmitteln;
    m_pfade.Clear();
    std::set<wchar_t> laufwerke;
    bool gepacktGesagt = false, netzGesagt = false;
    m_cluster = 0;
    for (const auto& datei : Markiert) {
        if (datei->InArchive) {
            if (!std::exchange(gepacktGesagt, true))
                MessageDlg(L"Die markierten Dateien sind zum Teil gepackt. Diese Dateien\r\n"
                           L"werden in der Statistik nicht berücksichtigt.",
                           TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
            continue;
        }
        if (StartsWith(datei->Name, L"\\\\")) {
            if (!std::exchange(netzGesagt, true))
                MessageDlg(L"Die markierten Dateien befinden sich zum Teil auf Netzwerklaufwerken. Diese Dateien\r\n"
                           L"werden in der Statistik nicht berücksichtigt.",
                           TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
            continue;
        }
        const std::wstring wurzel = LaufwerkswurzelVon(datei->Name);
        if (wurzel.empty())
            continue;
        if (!laufwerke.count(wurzel[0])) {
            TFreierPlatz platz;
            const std::uint32_t cluster = FreierPlatzAbfragen(wurzel, platz) ? platz.ClusterGroesse() : 0;
            if (laufwerke.empty()) {
                m_cluster = cluster;
            } else if (cluster != m_cluster) {
                MessageDlg(L"Eine oder mehrere von Ihnen markierte Datei(en) befinden sich auf Laufwerk " +
                               std::wstring(1, wurzel[0]) + L":.\r\n"
                               L"Dieses Laufwerk besitzt jedoch eine andere Clustergröße als die übrigen "
                               L"ausgewählten Laufwerke.\r\n"
                               L"Bitte demarkieren Sie diese Dateien und rufen Sie \"Datei/ Speicherbedarf "
                               L"ermitteln\" erneut auf.",
                           TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
                m_pfade.Clear();
                break;
            }
            laufwerke.insert(wurzel[0]);
        }
        m_pfade.Add(datei->Name);
    }
    m_stillesKlicken = true;
    InclSubDirs.SetChecked(false);
    m_stillesKlicken = false;
    m_gezeigt = false;
    m_ergebnisWartet = false;
    Fehlercode = 0;
    if (m_pfade.Empty())
        return false;
    ZaehlungStarten();
    return true;
}

// The running count is stopped and waited for first: only one reports here.
void TSpeicherbedarfDlg::ZaehlungStarten() {
    ZaehlungBeenden();
    auto thread = std::make_unique<TUeberhangErmittelnThread>();
    thread->OnTerminate = bind(this, &TSpeicherbedarfDlg::ThreadBeendet);
    thread->Pfade = m_pfade;
    thread->InclSubDirs = InclSubDirs.Checked();
    thread->ClusterGroesse = m_cluster;
    m_thread = std::move(thread);
    Screen->SetCursor(crHourGlass);
    m_thread->Resume();
}

void TSpeicherbedarfDlg::ZaehlungBeenden() {
    std::unique_ptr<TUeberhangErmittelnThread> alt = std::move(m_thread);
    if (!alt)
        return;
    // Its end is told while we wait; the handler no longer takes it as current.
    alt->Terminate();
    alt->WaitFor();
    Screen->SetCursor(crDefault);
}

void TSpeicherbedarfDlg::InclSubDirsClick(TObject*) {
    if (m_stillesKlicken || m_pfade.Empty())
        return;
    ZaehlungStarten();
}

void TSpeicherbedarfDlg::FormShow(TObject*) {
    Memo.SetLines({});
    m_gezeigt = true;
    if (std::exchange(m_ergebnisWartet, false))
        ErgebnisZeigen();
}

void TSpeicherbedarfDlg::FormClose(TObject*, TCloseAction&) {
    ZaehlungBeenden();
    m_gezeigt = false;
}

void TSpeicherbedarfDlg::ThreadBeendet(TObject* Sender) {
    if (!m_thread || Sender != m_thread.get())
        return;
    Screen->SetCursor(crDefault);
    if (m_thread->Summen().Abgebrochen)
        return;
    m_ergebnis = m_thread->Summen();
    if (m_gezeigt)
        ErgebnisZeigen();
    else
        m_ergebnisWartet = true;
}

void TSpeicherbedarfDlg::ErgebnisZeigen() {
    Fehlercode = fc::SpeicherbedarfErgebnis;
    const TUeberhangSummen& s = m_ergebnis;
    m_tortenZeilen.Clear();
    m_tortenZeilen.Add(Ganzzahl(s.Groesse) + L" " + FormatByteSize(static_cast<float>(s.Groesse)) + L" Dateigrösse");
    m_tortenZeilen.Add(Ganzzahl(s.Ueberhang) + L" " + FormatByteSize(static_cast<float>(s.Ueberhang)) +
                       L" Überhang");
    // The chart colours by rank: the size stays lime, the slack red.
    const bool ueberhangKleiner = s.Ueberhang < s.Groesse;
    PieChart.SetColour1(ueberhangKleiner ? clLime : clRed);
    PieChart.SetColour2(ueberhangKleiner ? clRed : clLime);
    PieChart.LoadData(m_tortenZeilen);
    TStringList zeilen;
    zeilen.Add(L"Mindestplatzbedarf:");
    zeilen.Add(FormatByteSize(static_cast<float>(s.Groesse)) + L" in " + std::to_wstring(s.Dateien) +
               L" Datei(en),");
    if (s.Verzeichnisse > 0)
        zeilen.Add(L"verteilt auf " + std::to_wstring(s.Verzeichnisse) + L" Verzeichnis(se).");
    zeilen.Add(L"");
    zeilen.Add(L"Der Überhang dieser Datei(en) beträgt " + FormatByteSize(static_cast<float>(s.Ueberhang)) + L".");
    zeilen.Add(L"");
    zeilen.Add(L"Damit ergibt sich ein tatsächlicher Platzverbrauch von " +
               FormatByteSize(static_cast<float>(s.Groesse + s.Ueberhang)) + L".");
    Memo.SetLines(zeilen);
    Fehlercode = 0;
}

}  // namespace velmora
