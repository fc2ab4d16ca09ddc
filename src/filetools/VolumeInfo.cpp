#include "VolumeInfo.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "FileToolsCodes.h"
#include "Laufwerksabfragen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/LocaleTexts.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kUeberhangErmitteln[] = L"Ü&berhang ermitteln";
const wchar_t kStop[] = L"&Stop";

// Two decimals with the user's decimal separator.
std::wstring ZweiStellen(double value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.2f", value);
    std::wstring result = text;
    const size_t point = result.find(L'.');
    if (point != std::wstring::npos)
        result.replace(point, 1, LocaleDecimalSeparator());
    return result;
}

std::wstring Megabytes(double bytes) { return ZweiStellen(bytes / 1048576.0); }

// The whole number heading a pie line, fraction dropped, never below zero.
std::wstring Ganzzahl(double value) { return std::to_wstring(static_cast<long long>(std::max(value, 0.0))); }

}  // namespace

TVolumeInfoDlg::TVolumeInfoDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"VolInfo"), Label1(this), LaufwerkLabel(this), DriveComboBox1(this),
      PageControl1(this), AllgemeinSeite(this), SpeicherSeite(this), NameTitel(this), NummerTitel(this),
      TypTitel(this), DateisystemTitel(this), GesamtTitel(this), FreiTitel(this), DateisystemCaption(this),
      NameLabel(this), NummerLabel(this), TypLabel(this), DateisystemLabel(this), GesamtLabel(this),
      FreiLabel(this), Memo(this), BytesTitel(this), SektorenTitel(this), ClusterTitel(this), BytesLabel(this),
      SektorenLabel(this), ClusterLabel(this), PieChart(this), Button1(this), OKBtn(this) {
    SetCaption(L"Datenträger-Information");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Ein Laufwerk und seine Eigenschaften");
    lay.Place(Label1, 6, 6, 200, 9);
    LaufwerkLabel.SetCaption(L"&Laufwerk:");
    LaufwerkLabel.SetFocusControl(&DriveComboBox1);
    lay.Place(LaufwerkLabel, 6, 21, 40, 9);
    lay.Place(DriveComboBox1, 48, 19, 100, 60);
    lay.Place(PageControl1, 6, 36, 236, 122);
    AllgemeinSeite.SetCaption(L"Allgemeine Daten");
    AllgemeinSeite.SetPageControl(&PageControl1);
    SpeicherSeite.SetCaption(L"Speicherinfo");
    SpeicherSeite.SetPageControl(&PageControl1);

    int y = 6;
    const std::array<std::pair<TLabel*, TLabel*>, 6> allgemein{{{&NameTitel, &NameLabel},
                                                               {&NummerTitel, &NummerLabel},
                                                               {&TypTitel, &TypLabel},
                                                               {&DateisystemTitel, &DateisystemLabel},
                                                               {&GesamtTitel, &GesamtLabel},
                                                               {&FreiTitel, &FreiLabel}}};
    const wchar_t* titel[] = {L"Name:", L"Laufwerksnummer:", L"Laufwerkstyp:", L"Dateisystemtyp:",
                              L"Geamter Speicher:", L"Freier Speicher:"};
    for (size_t i = 0; i < allgemein.size(); ++i) {
        allgemein[i].first->SetParent(&AllgemeinSeite);
        allgemein[i].second->SetParent(&AllgemeinSeite);
        allgemein[i].first->SetCaption(titel[i]);
        lay.Place(*allgemein[i].first, 6, y, 64, 9);
        lay.Place(*allgemein[i].second, 72, y, 150, 9);
        y += 11;
    }
    DateisystemCaption.SetParent(&AllgemeinSeite);
    DateisystemCaption.SetCaption(L"Dateisystem...");
    lay.Place(DateisystemCaption, 6, y + 1, 100, 9);
    Memo.SetParent(&AllgemeinSeite);
    Memo.SetReadOnly(true);
    Memo.ScrollBars = TMemo::TScrollStyle::ssVertical;
    lay.Place(Memo, 6, y + 11, 220, 30);

    y = 6;
    const std::array<std::pair<TLabel*, TLabel*>, 3> speicher{
        {{&BytesTitel, &BytesLabel}, {&SektorenTitel, &SektorenLabel}, {&ClusterTitel, &ClusterLabel}}};
    const wchar_t* speicherTitel[] = {L"Bytes pro Sektor:", L"Sektoren pro Cluster:", L"Anzahl Cluster:"};
    for (size_t i = 0; i < speicher.size(); ++i) {
        speicher[i].first->SetParent(&SpeicherSeite);
        speicher[i].second->SetParent(&SpeicherSeite);
        speicher[i].first->SetCaption(speicherTitel[i]);
        lay.Place(*speicher[i].first, 6, y, 76, 9);
        lay.Place(*speicher[i].second, 84, y, 60, 9);
        y += 11;
    }
    PieChart.SetParent(&SpeicherSeite);
    PieChart.SetColour1(clLime);
    PieChart.SetColour2(clYellow);
    PieChart.SetColour3(clRed);
    lay.Place(PieChart, 150, 6, 70, 70);
    Button1.SetParent(&SpeicherSeite);
    Button1.SetCaption(kUeberhangErmitteln);
    lay.Place(Button1, 6, 44, 76, 14);

    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    OKBtn.Cancel = true;
    OKBtn.ModalResult = mrOk;
    lay.Place(OKBtn, 192, 162, 50, 14);
    lay.SetClientSize(*this, 248, 182);
    SetHelpContextAll(41);

    Laufwerkstyp = [](const std::wstring& root) { return static_cast<unsigned>(GetDriveTypeW(root.c_str())); };
    DriveComboBox1.OnChange = bind(this, &TVolumeInfoDlg::DriveComboBox1Change);
    Button1.OnClick = bind(this, &TVolumeInfoDlg::Button1Click);
    OnShow = bind(this, &TVolumeInfoDlg::FormShow);
    OnClose = bind(this, &TVolumeInfoDlg::FormClose);
}

TVolumeInfoDlg::~TVolumeInfoDlg() { ZaehlungBeenden(); }

std::wstring TVolumeInfoDlg::Wurzel() const { return std::wstring(1, DriveComboBox1.Drive()) + L":\\"; }

void TVolumeInfoDlg::FormShow(TObject*) {
    Button1.SetCaption(kUeberhangErmitteln);
    LaufwerkAnzeigen();
}

void TVolumeInfoDlg::FormClose(TObject*, TCloseAction&) {
    ZaehlungBeenden();
    Button1.SetCaption(kUeberhangErmitteln);
}

// A count of the drive shown before says nothing about the new one.
void TVolumeInfoDlg::DriveComboBox1Change(TObject*) {
    ZaehlungBeenden();
    Button1.SetCaption(kUeberhangErmitteln);
    LaufwerkAnzeigen();
}

void TVolumeInfoDlg::LaufwerkAnzeigen() {
    Fehlercode = fc::VolumeInfoAnzeigen;
    const std::wstring root = Wurzel();
    static const wchar_t* const typen[] = {L"Unbekannter Typ", L"Existiert nicht", L"Diskettenlaufwerk",
                                           L"Festplatte", L"Netzwerklaufwerk", L"CD-ROM Laufwerk", L"RAM-Disk"};
    const unsigned typ = Laufwerkstyp(root);
    if (typ < std::size(typen))
        TypLabel.SetCaption(typen[typ]);
    Memo.SetLines({});
    TFreierPlatz platz;
    if (!FreierPlatzAbfragen(root, platz)) {
        NameLabel.SetCaption(L"Kein Dateinträger eingelegt!");
        for (TLabel* label : {&NummerLabel, &DateisystemLabel, &GesamtLabel, &FreiLabel, &BytesLabel,
                              &SektorenLabel, &ClusterLabel})
            label->SetCaption(L"");
        m_gesamt = m_frei = 0;
        m_cluster = 0;
        m_tortenZeilen.Clear();
        PieChart.LoadData(m_tortenZeilen);
        Fehlercode = 0;
        return;
    }
    wchar_t name[MAX_PATH + 1] = {}, dateisystem[MAX_PATH + 1] = {};
    DWORD nummer = 0, laenge = 0, flags = 0;
    if (GetVolumeInformationW(root.c_str(), name, MAX_PATH + 1, &nummer, &laenge, &flags, dateisystem,
                              MAX_PATH + 1)) {
        NameLabel.SetCaption(name);
        NummerLabel.SetCaption(std::to_wstring(static_cast<std::int32_t>(nummer)));
        DateisystemLabel.SetCaption(dateisystem);
        TStringList zeilen;
        static const std::pair<DWORD, const wchar_t*> merkmale[] = {
            {0x2, L"...behält Dateischreibweise bei."},     {0x1, L"...unterstützt Groß-/Kleinschreibung."},
            {0x4, L"...unterstützt Unicode-Zeichensätze."}, {0x8, L"...speichert und erzwingt ACLs."},
            {0x10, L"...unterstützt Dateikompression."},     {0x8000, L"...ist gepackt (z.B. Doublespace)."}};
        for (const auto& [bit, text] : merkmale)
            if (flags & bit)
                zeilen.Add(text);
        if (laenge >= 9)
            zeilen.Add(L"...unterstützt lange Dateinamen.");
        Memo.SetLines(zeilen);
    }
    m_cluster = platz.ClusterGroesse();
    m_gesamt = static_cast<double>(m_cluster) * platz.ClusterGesamt;
    m_frei = static_cast<double>(m_cluster) * platz.FreieCluster;
    GesamtLabel.SetCaption(Megabytes(m_gesamt) + L" MB");
    FreiLabel.SetCaption(Megabytes(m_frei) + L" MB");
    BytesLabel.SetCaption(std::to_wstring(platz.BytesProSektor));
    SektorenLabel.SetCaption(std::to_wstring(platz.SektorenProCluster));
    ClusterLabel.SetCaption(std::to_wstring(platz.ClusterGesamt));
    const double belegt = m_gesamt - m_frei;
    m_tortenZeilen.Clear();
    m_tortenZeilen.Add(Ganzzahl(belegt) + L" " + Megabytes(belegt) + L" MB belegt");
    m_tortenZeilen.Add(Ganzzahl(m_frei) + L" " + FreiLabel.Caption() + L" frei");
    // Used space stays lime, free space yellow, whichever is larger.
    PieChart.SetColour1(belegt > m_frei ? clLime : clYellow);
    PieChart.SetColour2(belegt > m_frei ? clYellow : clLime);
    PieChart.LoadData(m_tortenZeilen);
    Fehlercode = 0;
}

void TVolumeInfoDlg::ZaehlungBeenden() {
    std::unique_ptr<TUeberhangErmittelnThread> alt = std::move(m_thread);
    if (!alt)
        return;
    alt->Terminate();
    alt->WaitFor();
}

void TVolumeInfoDlg::Button1Click(TObject*) {
    Fehlercode = fc::VolumeInfoUeberhang;
    if (Button1.Caption() == kStop) {
        // Stopped and waited for: a count that ended meanwhile changes nothing either.
        ZaehlungBeenden();
        Button1.SetCaption(kUeberhangErmitteln);
        Fehlercode = 0;
        return;
    }
    TFreierPlatz platz;
    if (!FreierPlatzAbfragen(Wurzel(), platz)) {
        MessageDlg(L"Laufwerk nicht bereit!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    Button1.SetCaption(kStop);
    ZaehlungBeenden();
    auto thread = std::make_unique<TUeberhangErmittelnThread>();
    thread->OnTerminate = bind(this, &TVolumeInfoDlg::ThreadBeendet);
    thread->Pfade.Add(Wurzel());
    thread->InclSubDirs = true;
    thread->ClusterGroesse = m_cluster;
    m_thread = std::move(thread);
    m_thread->Resume();
    Fehlercode = 0;
}

void TVolumeInfoDlg::ThreadBeendet(TObject* Sender) {
    if (!m_thread || Sender != m_thread.get())
        return;
    const TUeberhangSummen& s = m_thread->Summen();
    if (!s.Abgebrochen) {
        const double ueberhang = s.Ueberhang;
        const double belegt = std::max(m_gesamt - m_frei - ueberhang, 0.0);
        m_tortenZeilen.Clear();
        m_tortenZeilen.Add(Ganzzahl(belegt) + L" " + Megabytes(belegt) + L" MB tatsächlich belegt");
        m_tortenZeilen.Add(Ganzzahl(m_frei) + L" " + FreiLabel.Caption() + L" frei");
        m_tortenZeilen.Add(Ganzzahl(ueberhang) + L" " + Megabytes(ueberhang) + L" MB Überhang");
        // The chart colours by rank, largest first, ties in the order the
        // chart's sort leaves them: used space lime, free yellow, slack red.
        PieChart.LoadData(m_tortenZeilen);
        for (int i = 0; i < static_cast<int>(PieChart.Slices().size()); ++i) {
            const std::wstring& label = PieChart.Slices()[static_cast<size_t>(i)].Label;
            PieChart.SetColour(i + 1, label.ends_with(L"tatsächlich belegt") ? clLime
                                      : label.ends_with(L" frei")           ? clYellow
                                                                            : clRed);
        }
    }
    Button1.SetCaption(kUeberhangErmitteln);
}

}  // namespace velmora
