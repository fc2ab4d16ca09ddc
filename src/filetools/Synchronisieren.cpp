#include "Synchronisieren.h"

#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "LaufDialog.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/EineDatei.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kOptionenWert[] = L"SynchDlgData";
const wchar_t kZwischenPraefix[] = L".vsync~";
constexpr long long kZweiSekunden = 20000000;  // in 100-ns steps
constexpr ULONGLONG kPumpIntervall = 20, kLogIntervall = 100;  // ms

long long Zeit(const FILETIME& Time) {
    return static_cast<long long>((static_cast<unsigned long long>(Time.dwHighDateTime) << 32) | Time.dwLowDateTime);
}

std::int64_t Groesse(const WIN32_FILE_ATTRIBUTE_DATA& Data) {
    return (static_cast<std::int64_t>(Data.nFileSizeHigh) << 32) | Data.nFileSizeLow;
}

// The entries of Folder at one moment: what the run itself creates there later
// (a temporary name, a file copied back) is not among them.
std::vector<WIN32_FIND_DATAW> Eintraege(const std::wstring& Folder) {
    std::vector<WIN32_FIND_DATAW> entries;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((Folder + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return entries;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") entries.push_back(data);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

bool Absolut(const std::wstring& Text) { return Text.substr(1, 2) == L":\\" || StartsWith(Text, L"\\\\"); }

}  // namespace

// ---- Rules --------------------------------------------------------------------

std::wstring SyncZielName(const std::wstring& Source, const std::wstring& SourceFolder,
                          const std::wstring& TargetFolder) {
    std::wstring rest = Source.size() > SourceFolder.size() ? Source.substr(SourceFolder.size()) : L"";
    while (!rest.empty() && rest.front() == L'\\') rest.erase(0, 1);
    return IncludeTrailingBackslash(TargetFolder) + rest;
}

TSyncSchritt SyncEntscheiden(bool TargetExists, const FILETIME& Source, const FILETIME& Target, bool UpdQuelle,
                             bool NurVorh) {
    if (!TargetExists) return NurVorh ? TSyncSchritt::Nichts : TSyncSchritt::Neu;
    const long long diff = Zeit(Source) - Zeit(Target);
    if (diff >= kZweiSekunden) return TSyncSchritt::Kopieren;
    if (-diff >= kZweiSekunden && UpdQuelle) return TSyncSchritt::Zurueck;
    return TSyncSchritt::Nichts;
}

std::wstring SynchOptionen(const std::wstring& Stored) {
    if (Stored.size() != 3) return L"011";
    return Stored;
}

std::wstring LangerVollerPfad(const std::wstring& Folder) {
    std::wstring name = FullPathName(Folder);
    if (name.empty()) name = Folder;
    const std::wstring lang = LongPathName(name);
    return IncludeTrailingBackslash(SystemLower(lang.empty() ? name : lang));
}

bool IstSyncZwischenname(const std::wstring& Name) { return StartsWith(ExtractFileName(Name), kZwischenPraefix); }

bool ErsetzenDurchKopie(TDateiRoutinen& Routinen, const std::wstring& From, const std::wstring& To) {
    WIN32_FILE_ATTRIBUTE_DATA source, target;
    if (!GetFileAttributesExW(From.c_str(), GetFileExInfoStandard, &source)) return false;
    if (GetFileAttributesExW(To.c_str(), GetFileExInfoStandard, &target) &&
        (target.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    const std::wstring folder = ExtractFilePath(To);
    std::wstring temp;
    for (unsigned n = GetTickCount();; ++n) {
        temp = folder + kZwischenPraefix + std::to_wstring(n % 100000) + L".tmp";
        if (GetFileAttributesW(temp.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    }
    bool ok = Routinen.CopyFilesForSync(From, temp, true, true);
    WIN32_FILE_ATTRIBUTE_DATA copy;
    ok = ok && GetFileAttributesExW(temp.c_str(), GetFileExInfoStandard, &copy) && Groesse(copy) == Groesse(source);
    if (ok) {
        // The time and attributes of the source, set while the copy is writable.
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE file = CreateFileW(temp.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        ok = file != INVALID_HANDLE_VALUE;
        if (ok) {
            ok = SetFileTime(file, &source.ftCreationTime, &source.ftLastAccessTime, &source.ftLastWriteTime) != FALSE;
            CloseHandle(file);
        }
        ok = ok && MoveFileExW(temp.c_str(), To.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    if (!ok) {
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(temp.c_str());
        return false;
    }
    SetFileAttributesW(To.c_str(), source.dwFileAttributes & ~FILE_ATTRIBUTE_DIRECTORY);
    return true;
}

// ---- The parameters dialog ----------------------------------------------------------

TSynchronisierenDlg::TSynchronisierenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"Synch"), Label1(this), Label2(this), Quellverzeichnis(this), Zielverzeichnis(this),
      QuellSuchen(this), ZielSuchen(this), optUpdQuelle(this), optNurVorh(this), optUVerz(this), OKBtn(this),
      CancelBtn(this), Button1(this), MyPopup(this), m_kontext(Kontext) {
    SetCaption(L"Verzeichnisse synchronisieren");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Quellverzeichnis:");
    Label1.SetFocusControl(&Quellverzeichnis);
    lay.Place(Label1, 6, 6, 120, 10);
    lay.Place(Quellverzeichnis, 6, 18, 180, 12);
    lay.Place(QuellSuchen, 190, 17, 50, 14);
    Label2.SetCaption(L"&Zielverzeichnis:");
    Label2.SetFocusControl(&Zielverzeichnis);
    lay.Place(Label2, 6, 36, 120, 10);
    lay.Place(Zielverzeichnis, 6, 48, 180, 12);
    lay.Place(ZielSuchen, 190, 47, 50, 14);
    QuellSuchen.SetCaption(L"&Ordner...");
    ZielSuchen.SetCaption(L"O&rdner...");
    Quellverzeichnis.PopupMenu = &MyPopup;
    Zielverzeichnis.PopupMenu = &MyPopup;
    optUpdQuelle.SetCaption(L"&Wenn Zieldatei neuer, Quelldatei aktualsieren");
    optNurVorh.SetCaption(L"&Nur bereits vorhandene Dateien aktualisieren");
    optUVerz.SetCaption(L"&Unterverzeichnisse einschließen");
    lay.Column(6, 68, 234, {{&optUpdQuelle, 10}, {&optNurVorh, 10}, {&optUVerz, 10}}, 4);
    SetUpButtons(OKBtn, CancelBtn, Button1);
    lay.Row(36, 114, 14, {{&OKBtn, 64}, {&CancelBtn, 64}, {&Button1, 64}});
    lay.SetClientSize(*this, 246, 134);
    SetHelpContextAll(54);

    const std::wstring options = SynchOptionen(RegReadUserValue(DialogeSchluessel, kOptionenWert));
    optUpdQuelle.SetChecked(options[0] == L'1');
    optNurVorh.SetChecked(options[1] == L'1');
    optUVerz.SetChecked(options[2] == L'1');

    OrdnerWaehlen = [this](const std::wstring& title, std::wstring& folder) {
        return OrdnerAuswaehlen(this, title, folder);
    };
    OnShow = bind(this, &TSynchronisierenDlg::FormShow);
    OnClose = bind(this, &TSynchronisierenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TSynchronisierenDlg::OKBtnClick);
    QuellSuchen.OnClick = bind(this, &TSynchronisierenDlg::OrdnerSuchenBtnClick);
    ZielSuchen.OnClick = bind(this, &TSynchronisierenDlg::OrdnerSuchenBtnClick);
    for (TComboBox* box : {&Quellverzeichnis, &Zielverzeichnis}) {
        box->OnKeyPress = [](TObject*, wchar_t& Key) { KleinGetippt(Key); };
        box->OnEnter = [this, box](TObject*) { m_letzteBox = box; };
    }
}

void TSynchronisierenDlg::FormShow(TObject*) {
    m_ok = false;
    m_letzteBox = &Quellverzeichnis;
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TSynchronisierenDlg::MRUClick));
    const TStringList recent = NewestFirst(m_kontext.RecentDirs);
    for (TComboBox* box : {&Quellverzeichnis, &Zielverzeichnis}) {
        const std::wstring text = box->Text();
        box->SetItems(recent);
        box->SetText(text);
    }
}

void TSynchronisierenDlg::MRUClick(TObject*, const std::wstring& Path) {
    if (m_letzteBox) m_letzteBox->SetText(SystemLower(Path));
}

void TSynchronisierenDlg::OrdnerSuchenBtnClick(TObject* Sender) {
    const bool quelle = Sender == &QuellSuchen;
    std::wstring folder;
    if (!OrdnerWaehlen ||
        !OrdnerWaehlen(quelle ? L"Bitte wählen Sie das Quellverzeichnis für die Synchronisation:"
                              : L"Bitte wählen Sie das Zielverzeichnis für die Synchronisation:",
                       folder) ||
        folder.empty())
        return;
    (quelle ? Quellverzeichnis : Zielverzeichnis).SetText(SystemLower(folder));
}

void TSynchronisierenDlg::OKBtnClick(TObject*) { m_ok = true; }

void TSynchronisierenDlg::FormClose(TObject*, TCloseAction& Action) {
    if (m_ok) {
        m_ok = false;
        if (!Pruefen()) {
            Action = TCloseAction::caNone;
            return;
        }
        RegWriteUserValue(DialogeSchluessel, kOptionenWert,
                          std::wstring{optUpdQuelle.Checked() ? L'1' : L'0', optNurVorh.Checked() ? L'1' : L'0',
                                       optUVerz.Checked() ? L'1' : L'0'});
    }
    m_mru.GiveBack();
}

bool TSynchronisierenDlg::Fehler(const std::wstring& Text, TWinControl& Focus, int Help, TMsgDlgType Type) {
    MessageDlg(Text, Type, {TMsgDlgBtn::mbOK}, Help);
    Focus.SetFocus();
    return false;
}

bool TSynchronisierenDlg::Pruefen() {
    Fehlercode = fc::SynchronisierenPruefen;
    std::wstring texte[2] = {Trim(Quellverzeichnis.Text()), Trim(Zielverzeichnis.Text())};
    TComboBox* boxes[2] = {&Quellverzeichnis, &Zielverzeichnis};
    const wchar_t* namen[2] = {L"Quellverzeichnis", L"Zielverzeichnis"};
    for (int i = 0; i < 2; ++i) {
        if (texte[i].size() < 3) {
            texte[i].clear();
        } else if (!Absolut(texte[i])) {
            Fehlercode = 0;
            return Fehler(std::wstring(L"Das von Ihnen angegebene ") + namen[i] +
                              L" stellt keinen absoluten Pfad dar.\rBitte überprüfen Sie Ihre Eingabe.",
                          *boxes[i], 87);
        }
        boxes[i]->SetText(texte[i]);
    }
    Fehlercode = 0;
    if (texte[0].empty()) return Fehler(L"Sie haben noch kein Quellverzeichnis angegeben!", Quellverzeichnis);
    if (texte[1].empty()) return Fehler(L"Sie haben noch kein Zielverzeichnis angegeben!", Zielverzeichnis);
    for (int i = 0; i < 2; ++i) {
        texte[i] = IncludeTrailingBackslash(texte[i]);
        boxes[i]->SetText(texte[i]);
    }
    const std::wstring quelle = LangerVollerPfad(texte[0]), ziel = LangerVollerPfad(texte[1]);
    if (quelle == ziel) return Fehler(L"Quell- und Zielverzeichnis sind identisch!", Zielverzeichnis);
    if (optUVerz.Checked() && ziel.size() > quelle.size() && StartsWith(ziel, quelle))
        return Fehler(L"Das von Ihnen angegebene Zielverzeichnis ist ein Unterverzeichnis des "
                      L"Quellverzeichnisses.\rDa Sie die Option \"Unterverzeichnisse einschließen\" gewählt haben, "
                      L"würde dies\rzu einer Endlos-Schleife bei der Synchronisation führen.",
                      optUVerz, 0, TMsgDlgType::mtWarning);
    if (!DirectoryExists(texte[0]))
        return Fehler(L"Das von Ihnen angegebene Quellverzeichnis existiert nicht!", Quellverzeichnis);
    if (!DirectoryExists(texte[1]))
        return Fehler(L"Das von Ihnen angegebene Zielverzeichnis existiert nicht!", Zielverzeichnis);
    if (m_kontext.AddDirHistory) {
        m_kontext.AddDirHistory(texte[0]);
        m_kontext.AddDirHistory(texte[1]);
    }
    return true;
}

// ---- The run ---------------------------------------------------------------------------

TSynchFortschrittDlg::TSynchFortschrittDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"SynchFort"), QuellLabel(this), ZielLabel(this), QuellPfad(this), ZielPfad(this),
      UpdQuelle(this), UVerz(this), NurVorh(this), Protokoll(this), CancelBtn(this), m_kontext(Kontext) {
    SetCaption(L"Synchronisations-Fortschritt");
    TDialogLayout lay(*this);
    QuellLabel.SetCaption(L"Quelle:");
    ZielLabel.SetCaption(L"Ziel:");
    lay.Place(QuellLabel, 6, 6, 40, 10);
    lay.Place(QuellPfad, 48, 6, 240, 10);
    lay.Place(ZielLabel, 6, 18, 40, 10);
    lay.Place(ZielPfad, 48, 18, 240, 10);
    UpdQuelle.SetCaption(L"Update Quelldatei");
    UVerz.SetCaption(L"inkl. Unterverzeichnisse");
    NurVorh.SetCaption(L"Nur vorhandene Dateien");
    lay.Row(6, 32, 10, {{&UpdQuelle, 84}, {&UVerz, 100}, {&NurVorh, 96}});
    for (TCheckBox* box : {&UpdQuelle, &UVerz, &NurVorh}) box->SetEnabled(false);
    Protokoll.SetReadOnly(true);
    Protokoll.WordWrap = false;
    Protokoll.ScrollBars = TMemo::TScrollStyle::ssBoth;
    lay.Place(Protokoll, 6, 46, 288, 120);
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    lay.Place(CancelBtn, 122, 172, 56, 14);
    lay.SetClientSize(*this, 300, 192);
    OnShow = bind(this, &TSynchFortschrittDlg::FormShow);
    OnActivate = bind(this, &TSynchFortschrittDlg::FormActivate);
    CancelBtn.OnClick = bind(this, &TSynchFortschrittDlg::CancelBtnClick);
}

void TSynchFortschrittDlg::SetParameter(const std::wstring& Quelle, const std::wstring& Ziel, bool UpdateQuelle,
                                        bool Unterverzeichnisse, bool NurVorhandene) {
    m_quelle = IncludeTrailingBackslash(Quelle);
    m_ziel = IncludeTrailingBackslash(Ziel);
    m_upd = UpdateQuelle;
    m_uverz = Unterverzeichnisse;
    m_nurVorh = NurVorhandene;
}

void TSynchFortschrittDlg::FormShow(TObject*) {
    m_stop = false;
    m_gestartet = false;
    m_zeilen.clear();
    m_gezeigtBis = 0;
    Protokoll.SetLines({});
    CancelBtn.SetCaption(L"Abbrechen");
    // While the run goes on the button only stops it: the dialog stays to show
    // the end of the log.
    CancelBtn.ModalResult = mrNone;
    QuellPfad.SetCaption(m_quelle);
    ZielPfad.SetCaption(m_ziel);
    UpdQuelle.SetChecked(m_upd);
    UVerz.SetChecked(m_uverz);
    NurVorh.SetChecked(m_nurVorh);
}

void TSynchFortschrittDlg::FormActivate(TObject*) {
    EinmalProZeigen(*this, m_gestartet, [this] { Synchronisieren(); });
}

void TSynchFortschrittDlg::CancelBtnClick(TObject*) { m_stop = true; }

void TSynchFortschrittDlg::Synchronisieren() {
    if (m_laeuft) return;
    Fehlercode = fc::Synchronisieren;
    m_laeuft = true;
    m_zielLang = LangerVollerPfad(m_ziel);
    if (m_uverz)
        Ordner(m_quelle);
    else
        Dateien(m_quelle);
    Log(m_stop ? L"Synchronisation durch Benutzer abgebrochen." : L"Synchronisation beendet.");
    LogZeigen(true);
    CancelBtn.SetCaption(L"Schließen");
    CancelBtn.ModalResult = mrCancel;
    m_laeuft = false;
    Fehlercode = 0;
}

// Lets messages through (at most every 20 ms) and tells whether to go on. Esc,
// the close box and Alt+F4 leave a modal result: they stop the run too.
bool TSynchFortschrittDlg::Weiter(const std::wstring& Entry) {
    const ULONGLONG now = GetTickCount64();
    if (now - m_gepumpt >= kPumpIntervall && Application) {
        m_gepumpt = now;
        Application->ProcessMessages();
    }
    if (VorEintrag) VorEintrag(Entry);
    if (ModalResult() != mrNone) m_stop = true;
    LogZeigen(false);
    return !m_stop;
}

void TSynchFortschrittDlg::Ordner(const std::wstring& Folder) {
    const std::wstring folder = IncludeTrailingBackslash(Folder);
    for (const WIN32_FIND_DATAW& entry : Eintraege(folder)) {
        const std::wstring name = entry.cFileName;
        if (!Weiter(folder + name)) return;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.front() == L'.') continue;
        // Links lead out of the tree (or back into it); the target itself is
        // never its own source.
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
        const std::wstring sub = folder + name + L"\\";
        if (LangerVollerPfad(sub) == m_zielLang) continue;
        Ordner(sub);
        if (m_stop) return;
    }
    Dateien(folder);
}

void TSynchFortschrittDlg::Dateien(const std::wstring& Folder) {
    const std::wstring folder = IncludeTrailingBackslash(Folder);
    Log(L"Durchsuche " + SystemLower(folder));
    for (const WIN32_FIND_DATAW& entry : Eintraege(folder)) {
        const std::wstring source = folder + entry.cFileName;
        if (!Weiter(source)) return;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IstSyncZwischenname(source)) continue;
        EineDatei(source);
    }
}

void TSynchFortschrittDlg::EineDatei(const std::wstring& Source) {
    if (!m_kontext.Routinen) return;
    const std::wstring target = SyncZielName(Source, m_quelle, m_ziel);
    WIN32_FILE_ATTRIBUTE_DATA s, t{};
    if (!GetFileAttributesExW(Source.c_str(), GetFileExInfoStandard, &s)) return;
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &t) != FALSE;
    const std::wstring source = SystemLower(Source), fehler = L"Fehler beim Kopieren von ";
    auto ersetzen = [this](const std::wstring& From, const std::wstring& To) {
        return ErsetzenDurchKopie(*m_kontext.Routinen, From, To);
    };
    switch (SyncEntscheiden(exists, s.ftLastWriteTime, t.ftLastWriteTime, m_upd, m_nurVorh)) {
    case TSyncSchritt::Kopieren:
        Log(ersetzen(Source, target) ? L"- " + Source + L" kopiert" : fehler + source);
        break;
    case TSyncSchritt::Zurueck:
        Log(ersetzen(target, Source) ? L"- " + source + L" aktualsiert" : fehler + SystemLower(target));
        break;
    case TSyncSchritt::Neu:
        ForceDirectories(ExtractFilePath(target));
        Log(ersetzen(Source, target) ? L"- " + source + L" neu kopiert" : fehler + source);
        break;
    case TSyncSchritt::Nichts:
        break;
    }
}

void TSynchFortschrittDlg::Log(const std::wstring& Line) { m_zeilen.push_back(Line); }

// The memo takes new lines at most every 100 ms.
void TSynchFortschrittDlg::LogZeigen(bool Jetzt) {
    if (m_gezeigtBis == m_zeilen.size()) return;
    const ULONGLONG now = GetTickCount64();
    if (!Jetzt && now - m_gezeigt < kLogIntervall) return;
    m_gezeigt = now;
    for (; m_gezeigtBis < m_zeilen.size(); ++m_gezeigtBis) Protokoll.AddLine(m_zeilen[m_gezeigtBis]);
}

}  // namespace velmora
