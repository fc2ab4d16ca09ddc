#include "DateiLeichen.h"

#include <algorithm>

#include "DateiRoutinen.h"
#include "DatumGroesseTest.h"
#include "FileToolsCodes.h"
#include "LaufDialog.h"
#include "LoeschDlg.h"
#include "foundation/DMChild_Typen.h"
#include "foundation/DefaultUserStore.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kSchluessel[] = L"Velmora\\1.0\\DLeichenDlg";
constexpr ULONGLONG kZahlenIntervall = 100;  // ms between two updates of the labels

std::wstring InAnfuehrung(const std::wstring& Text) { return L"\"" + Text + L"\""; }

// Drive types below "removable" (unknown, no root) and CD-ROMs are never searched.
bool BrauchbarerTyp(UINT Type) { return Type >= DRIVE_REMOVABLE && Type != DRIVE_CDROM; }

bool LaufwerkBereit(wchar_t Drive) {
    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    ULARGE_INTEGER total;
    const std::wstring root{static_cast<wchar_t>(towupper(Drive)), L':', L'\\'};
    const bool ready = GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr) != FALSE;
    SetErrorMode(old);
    return ready;
}

}  // namespace

// ---- Rules ------------------------------------------------------------------

const std::vector<std::wstring>& StandardEndungen() {
    static const std::vector<std::wstring> masks{L"*.tmp", L"*.$$$", L"*.~*",  L"~*.*",  L"*.?\?~", L"*.00?",
                                                 L"*.0?",  L"*.---", L"*.bak", L"*.old", L"*.sik",  L"*.alt"};
    return masks;
}

bool EndungHinzufuegen(std::vector<std::wstring>& Liste, const std::wstring& New,
                       const std::function<void(const std::wstring&)>& Hinweis,
                       const std::function<bool(const std::wstring&)>& Frage) {
    const std::wstring neu = SystemLower(Trim(New));
    if (neu.empty()) return false;
    // Refusals first, over the whole list: a mask that is refused in the end
    // must not have cost the user any listed mask.
    for (size_t i = Liste.size(); i-- > 0;) {
        if (Liste[i] == neu) {
            Hinweis(L"Die eingegebene Endung befindet sich bereits in der Liste.");
            return false;
        }
        if (TDateiRoutinen::MatchesMask(neu, Liste[i])) {
            Hinweis(L"Die eingegebene Endung " + InAnfuehrung(neu) + L" wird bereits durch die\rEndung " +
                    InAnfuehrung(Liste[i]) + L" beschrieben.");
            return false;
        }
    }
    std::vector<std::wstring> rest = Liste;
    for (size_t i = rest.size(); i-- > 0;) {
        if (!TDateiRoutinen::MatchesMask(rest[i], neu)) continue;
        if (!Frage(L"Die eingegebene Endung " + InAnfuehrung(neu) + L" beschreibt die bereits in der Liste\rstehende "
                   L"Endung " + InAnfuehrung(rest[i]) + L". Soll " + InAnfuehrung(rest[i]) +
                   L" aus der Liste gelöscht werden?"))
            return false;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
    }
    rest.push_back(neu);
    Liste = std::move(rest);
    return true;
}

std::int64_t BelegterPlatz(std::int64_t Size, std::int64_t Cluster) {
    if (Cluster < 1) Cluster = 1;
    if (Size <= 0) return Cluster;
    return (Size + Cluster - 1) / Cluster * Cluster;
}

std::wstring VolumeWurzel(const std::wstring& Folder) {
    if (StartsWith(Folder, L"\\\\")) {
        // "\\server\share\": the third "\" after the leading pair ends it.
        size_t end = Folder.find(L'\\', 2);
        if (end != std::wstring::npos) end = Folder.find(L'\\', end + 1);
        return IncludeTrailingBackslash(end == std::wstring::npos ? Folder : Folder.substr(0, end));
    }
    if (Folder.size() >= 2 && Folder[1] == L':') return {static_cast<wchar_t>(towupper(Folder[0])), L':', L'\\'};
    return {};
}

std::int64_t ClusterGroesse(const std::wstring& Folder) {
    const std::wstring root = VolumeWurzel(Folder);
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool ok = !root.empty() && GetDiskFreeSpaceW(root.c_str(), &sectors, &bytes, &free, &total);
    SetErrorMode(old);
    const std::int64_t size = ok ? static_cast<std::int64_t>(sectors) * bytes : 0;
    return size > 0 ? size : 1;
}

bool DurchsuchbaresLaufwerk(wchar_t Drive, const TLaufwerksTyp& Typ) {
    const std::wstring root{static_cast<wchar_t>(towlower(Drive)), L':', L'\\'};
    return LaufwerkBereit(Drive) && BrauchbarerTyp(Typ ? Typ(root) : GetDriveTypeW(root.c_str()));
}

TOrdnerBefund OrdnerPruefen(const std::wstring& Folder, const TLaufwerksTyp& Typ) {
    if (Folder.size() < 2) return TOrdnerBefund::Weglassen;
    if (StartsWith(Folder, L"\\\\")) return DirectoryExists(Folder) ? TOrdnerBefund::Gut : TOrdnerBefund::Unbrauchbar;
    // "x:" alone is the root; "x:name" is relative to that drive's current folder.
    if (Folder[1] != L':' || (Folder.size() > 2 && Folder[2] != L'\\')) return TOrdnerBefund::KeinAbsoluterPfad;
    if (!DurchsuchbaresLaufwerk(Folder[0], Typ) || !DirectoryExists(IncludeTrailingBackslash(Folder)))
        return TOrdnerBefund::Unbrauchbar;
    return TOrdnerBefund::Gut;
}

void UnterordnerEntfernen(TStringList& Folders) {
    std::vector<std::wstring> list = Folders.Items();
    std::erase_if(list, [&](const std::wstring& folder) {
        return std::any_of(Folders.Items().begin(), Folders.Items().end(), [&](const std::wstring& other) {
            return other.size() < folder.size() && StartsWith(folder, other);
        });
    });
    Folders.Clear();
    for (const auto& folder : list) Folders.Add(folder);
}

// ---- The parameters dialog ----------------------------------------------------

TDateiLeichenSuchenDlg::TDateiLeichenSuchenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L""), Label1(this), Label2(this), Endungen(this), NullDateien(this),
      Verzeichnisse(this), BitBtn1(this), OrdnerSuchenBtn(this), AlleLWs(this), AddBtn(this), AlleBtn(this),
      Button1(this), Button2(this), OKBtn(this), CancelBtn(this), Button3(this), MyPopup(this), m_kontext(Kontext),
      m_quelle(Verzeichnisse, BitBtn1) {
    SetCaption(L"Dateileichen suchen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Endungen:");
    Label1.SetFocusControl(&Endungen);
    lay.Place(Label1, 6, 6, 100, 10);
    Endungen.MultiSelect = true;
    lay.Place(Endungen, 6, 18, 120, 100);
    lay.Column(132, 18, 80, {{&AddBtn, 14}, {&AlleBtn, 14}, {&Button1, 14}, {&Button2, 14}});
    AddBtn.SetCaption(L"Endung hin&zufügen");
    AlleBtn.SetCaption(L"&Alle auswählen");
    Button1.SetCaption(L"Alle ab&wählen");
    Button2.SetCaption(L"Endung(en) l&öschen");
    NullDateien.SetCaption(L"0 &Bytes große Dateien suchen");
    lay.Place(NullDateien, 6, 122, 200, 10);
    Label2.SetCaption(L"&Verzeichnisse:");
    Label2.SetFocusControl(&Verzeichnisse);
    lay.Place(Label2, 6, 138, 100, 10);
    lay.Place(Verzeichnisse, 6, 150, 206, 12);
    Verzeichnisse.PopupMenu = &MyPopup;
    BitBtn1.SetCaption(L"&Liste...");
    OrdnerSuchenBtn.SetCaption(L"&Ordner...");
    AlleLWs.SetCaption(L"Alle &Laufwerke");
    lay.Row(6, 166, 14, {{&BitBtn1, 64}, {&OrdnerSuchenBtn, 64}, {&AlleLWs, 70}});
    SetUpButtons(OKBtn, CancelBtn, Button3);
    lay.Row(6, 190, 14, {{&OKBtn, 64}, {&CancelBtn, 64}, {&Button3, 70}});
    lay.SetClientSize(*this, 218, 210);
    SetHelpContextAll(32);

    if (auto pos = ReadDialogPos(kSchluessel, L"Pos")) {
        Position = TPosition::poDesigned;
        SetBounds(pos->Left, pos->Top, Width(), Height());
    }
    const TStringList stored = ReadNumberedList(kSchluessel);
    SetMasken(stored.Count() > 0 ? stored.Items() : StandardEndungen());

    OrdnerWaehlen = [this](const std::wstring& title, std::wstring& folder) {
        return OrdnerAuswaehlen(this, title, folder);
    };
    EndungErfragen = [](std::wstring& text) {
        return InputQuery(L"Endung hinzufügen", L"Zur Liste hinzuzufügende Endung:", text);
    };
    OnShow = bind(this, &TDateiLeichenSuchenDlg::FormShow);
    OnClose = bind(this, &TDateiLeichenSuchenDlg::FormClose);
    OKBtn.OnClick = bind(this, &TDateiLeichenSuchenDlg::OKBtnClick);
    AddBtn.OnClick = bind(this, &TDateiLeichenSuchenDlg::AddBtnClick);
    AlleBtn.OnClick = bind(this, &TDateiLeichenSuchenDlg::AlleBtnClick);
    Button1.OnClick = bind(this, &TDateiLeichenSuchenDlg::Button1Click);
    Button2.OnClick = bind(this, &TDateiLeichenSuchenDlg::Button2Click);
    AlleLWs.OnClick = bind(this, &TDateiLeichenSuchenDlg::AlleLWsClick);
    OrdnerSuchenBtn.OnClick = bind(this, &TDateiLeichenSuchenDlg::OrdnerSuchenBtnClick);
    BitBtn1.OnClick = bind(this, &TDateiLeichenSuchenDlg::BitBtn1Click);
    Verzeichnisse.OnExit = [this](TObject*) {
        if (Visible()) m_quelle.Commit();
    };
    Verzeichnisse.OnChange = [this](TObject*) { m_quelle.Change(); };
    Verzeichnisse.OnDropDown = [this](TObject*) { m_quelle.DropDown(); };
    Verzeichnisse.OnKeyPress = [](TObject*, wchar_t& Key) { KleinGetippt(Key); };
    Verzeichnisse.OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) { m_quelle.KeyUp(Key, Shift); };
    m_quelle.SetListe(&m_ordner);
}

// The masks before the position: writing the list deletes the key first.
void TDateiLeichenSuchenDlg::DoDestroy() {
    TStringList masks;
    for (const auto& mask : Masken()) masks.Add(mask);
    WriteNumberedList(kSchluessel, masks);
    WriteDialogPos(kSchluessel, L"Pos", TDialogPos{Left(), Top()});
    TPositionsDialog::DoDestroy();
}

std::vector<std::wstring> TDateiLeichenSuchenDlg::Masken() const { return Endungen.Items().Items(); }

void TDateiLeichenSuchenDlg::SetMasken(const std::vector<std::wstring>& Masks) {
    TStringList items;
    for (const auto& mask : Masks) items.Add(mask);
    Endungen.SetItems(items);
}

void TDateiLeichenSuchenDlg::SetParameter(TStringList* Masken, TStringList* Ordner) {
    m_masken = Masken;
    m_ordnerErgebnis = Ordner;
}

void TDateiLeichenSuchenDlg::FormShow(TObject*) {
    m_ok = false;
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TDateiLeichenSuchenDlg::MRUClick));
    m_quelle.SetRecent(NewestFirst(m_kontext.RecentDirs));
    m_quelle.Rebuild();
}

void TDateiLeichenSuchenDlg::OKBtnClick(TObject*) {
    m_ok = true;
    m_quelle.Commit();
}

void TDateiLeichenSuchenDlg::FormClose(TObject*, TCloseAction& Action) {
    if (m_ok) {
        m_ok = false;
        if (!Pruefen()) {
            Action = TCloseAction::caNone;
            Verzeichnisse.SetFocus();
            return;
        }
    }
    m_mru.GiveBack();
}

bool TDateiLeichenSuchenDlg::Pruefen() {
    if (m_ordner.empty()) {
        MessageDlg(L"Sie haben vergessen, das zu durchsuchende Verzeichnis anzugeben.", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        return false;
    }
    for (size_t i = m_ordner.size(); i-- > 0;) {
        const TOrdnerBefund befund = OrdnerPruefen(m_ordner[i]->Name, LaufwerksTyp);
        if (befund == TOrdnerBefund::Gut) continue;
        m_ordner.erase(m_ordner.begin() + static_cast<std::ptrdiff_t>(i));
        m_quelle.Rebuild();
        if (befund == TOrdnerBefund::Weglassen) continue;
        MessageDlg(befund == TOrdnerBefund::KeinAbsoluterPfad
                       ? L"Ein von Ihnen angegebener Pfadname stellt keinen absoluten Pfad dar.\rEr wurde deshalb aus "
                         L"der Liste gelöscht.\rBitte überprüfen Sie, ob alle zu durchsuchenden Verzeichnisse noch "
                         L"in der Liste stehen."
                       : L"Ein von Ihnen angegebenes Verzeichnis existiert nicht oder befindet sich auf einem nicht "
                         L"beschreibbaren Datenträger (CD-ROM). Es wurde deshalb aus der Liste gelöscht.\rBitte "
                         L"überprüfen Sie, ob alle zu durchsuchenden Verzeichnisse noch in der Liste stehen.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        return false;
    }
    if (m_ordner.empty()) {
        // Only names too short to be folders were given.
        MessageDlg(L"Sie haben vergessen, das zu durchsuchende Verzeichnis anzugeben.", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        return false;
    }
    if (Endungen.SelCount() == 0 && !NullDateien.Checked()) {
        MessageDlg(L"Sie haben vergessen anzugeben, nach welchen Dateien gesucht werden soll.", TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbOK});
        return false;
    }
    if (m_ordner.size() == 1 && m_kontext.AddDirHistory) m_kontext.AddDirHistory(m_ordner.front()->Name);
    if (m_ordnerErgebnis) {
        m_ordnerErgebnis->Clear();
        for (const auto& record : m_ordner) m_ordnerErgebnis->Add(IncludeTrailingBackslash(SystemLower(record->Name)));
    }
    if (m_masken) {
        m_masken->Clear();
        for (int i = 0; i < Endungen.Items().Count(); ++i)
            if (Endungen.Selected(i)) m_masken->Add(Endungen.Items()[i]);
    }
    return true;
}

void TDateiLeichenSuchenDlg::AddBtnClick(TObject*) {
    std::wstring text;
    if (!EndungErfragen || !EndungErfragen(text)) return;
    std::vector<std::wstring> masks = Masken();
    const bool added = EndungHinzufuegen(
        masks, text,
        [](const std::wstring& hint) { MessageDlg(hint, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}); },
        [](const std::wstring& question) {
            return MessageDlg(question, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes;
        });
    if (added) SetMasken(masks);
}

void TDateiLeichenSuchenDlg::AlleBtnClick(TObject*) {
    for (int i = 0; i < Endungen.Items().Count(); ++i) Endungen.SetSelected(i, true);
}

void TDateiLeichenSuchenDlg::Button1Click(TObject*) {
    for (int i = 0; i < Endungen.Items().Count(); ++i) Endungen.SetSelected(i, false);
}

void TDateiLeichenSuchenDlg::Button2Click(TObject*) {
    if (Endungen.SelCount() == 0) return;
    if (MessageDlg(L"Sind Sie sicher, daß die markierten Endungen aus der Liste gelöscht werden sollen?",
                   TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbCancel}) != mrYes)
        return;
    std::vector<std::wstring> kept;
    for (int i = 0; i < Endungen.Items().Count(); ++i)
        if (!Endungen.Selected(i)) kept.push_back(Endungen.Items()[i]);
    SetMasken(kept);
}

void TDateiLeichenSuchenDlg::AlleLWsClick(TObject*) {
    if (!m_kontext.Routinen) return;
    m_quelle.Clear();
    for (const std::wstring& root : m_kontext.Routinen->LaufwerksWurzeln.Items())
        if (!root.empty() && DurchsuchbaresLaufwerk(root[0], LaufwerksTyp)) m_quelle.AddName(SystemLower(root));
    m_quelle.Rebuild();
}

void TDateiLeichenSuchenDlg::OrdnerSuchenBtnClick(TObject*) {
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(L"In welchem Verzeichnis soll gesucht werden?", folder) && !folder.empty()) {
        m_quelle.AddName(SystemLower(ExcludeTrailingBackslash(folder)));
        m_quelle.Rebuild();
    }
}

void TDateiLeichenSuchenDlg::BitBtn1Click(TObject*) {
    if (!m_editor) {
        m_editor = Create<TDateienBearbeitenDlg>(this);
        m_editor->NamenMuessenExistieren = true;
    }
    m_quelle.Commit();
    m_editor->SetListe(L"In folgenden Verzeichnissen soll gesucht werden:", m_ordner);
    if (m_editor->ShowModal() == mrOk) {
        m_editor->DateilisteAbgleichen(m_ordner, true);
        m_quelle.Rebuild();
    }
}

void TDateiLeichenSuchenDlg::MRUClick(TObject*, const std::wstring& Path) {
    m_quelle.AddName(SystemLower(ExcludeTrailingBackslash(Path)));
    m_quelle.Rebuild();
}

// ---- The chooser ----------------------------------------------------------------

TDateileichenAuswahlDlg::TDateileichenAuswahlDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L""), Label1(this), Label2(this), Suchergebnis(this), Loeschen(this), Abbrechen(this) {
    SetCaption(L"Dateileichen suchen");
    TDialogLayout lay(*this);
    Label2.SetCaption(L"Suche beendet");
    lay.Place(Label2, 6, 6, 200, 10);
    Label1.SetCaption(L"Die Suche nach Dateileichen ist beendet.\rWollen Sie die gefundenen Dateien sofort löschen, "
                      L"oder wollen Sie sie als allgemeines Suchergebnis speichern?");
    Label1.SetWordWrap(true);
    lay.Place(Label1, 6, 20, 220, 36);
    Suchergebnis.SetCaption(L"Allg. &Suchergebnis");
    Suchergebnis.ModalResult = mrYes;
    Suchergebnis.Default = true;
    Loeschen.SetCaption(L"Sofort &löschen");
    Loeschen.ModalResult = mrNo;
    Abbrechen.SetCaption(L"Abbrechen");
    Abbrechen.ModalResult = mrCancel;
    Abbrechen.Cancel = true;
    lay.Row(6, 62, 14, {{&Suchergebnis, 76}, {&Loeschen, 70}, {&Abbrechen, 70}});
    lay.SetClientSize(*this, 232, 82);
    SetHelpContextAll(63);
}

// ---- The search run ---------------------------------------------------------------

TDateileichenFortschrittDlg::TDateileichenFortschrittDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L""), Label1(this), FileLabel(this), EndungLabel(this), AnzahlLabel(this),
      FreiLabel(this), GesamtLabel(this), CancelBtn(this), SuchKomp(this), m_kontext(Kontext) {
    SetCaption(L"Dateileichen suchen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Durchsuche momentan das Verzeichnis/ die Datei");
    lay.Column(6, 6, 236, {{&Label1, 10}, {&FileLabel, 10}, {&EndungLabel, 10}, {&AnzahlLabel, 10},
                           {&FreiLabel, 10}, {&GesamtLabel, 10}}, 4);
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    CancelBtn.ModalResult = mrCancel;
    lay.Place(CancelBtn, 96, 92, 56, 14);
    lay.SetClientSize(*this, 248, 112);
    SuchKomp.OnFound = bind(this, &TDateileichenFortschrittDlg::SuchKompFound);
    SuchKomp.OnSearchDirectory = bind(this, &TDateileichenFortschrittDlg::SuchKompSearchDirectory);
    SuchKomp.Pump = [this] { Pumpen(); };
    OnShow = bind(this, &TDateileichenFortschrittDlg::FormShow);
    OnActivate = bind(this, &TDateileichenFortschrittDlg::FormActivate);
    CancelBtn.OnClick = bind(this, &TDateileichenFortschrittDlg::CancelBtnClick);
}

TDateileichenAuswahlDlg& TDateileichenFortschrittDlg::Auswahl() {
    if (!m_auswahl) m_auswahl = Create<TDateileichenAuswahlDlg>(this);
    return *m_auswahl;
}

void TDateileichenFortschrittDlg::SetParameter(const TStringList& Masken, const TStringList& Ordner,
                                               bool NullDateien) {
    m_masken = Masken;
    m_ordner = Ordner;
    m_nullDateien = NullDateien;
}

void TDateileichenFortschrittDlg::FormShow(TObject*) {
    m_gefunden.clear();
    m_gelistet.clear();
    m_cluster.clear();
    m_gesamt = m_frei = 0;
    m_stop = m_nullLauf = m_gestartet = m_uebergeben = false;
    EndungLabel.SetCaption(L"Gesuchte Endung:");
    FileLabel.SetFileName(L"");
    m_ordnerText.clear();
    AnzahlLabel.SetCaption(L"Gefundene Dateien: 0");
    FreiLabel.SetCaption(L"Bei Löschung frei werdender Platz: 0 Bytes");
    GesamtLabel.SetCaption(L"Gesamtgröße aller Dateien:");
}

void TDateileichenFortschrittDlg::FormActivate(TObject*) {
    EinmalProZeigen(*this, m_gestartet, [this] { Suchen(); });
}

void TDateileichenFortschrittDlg::CancelBtnClick(TObject*) {
    m_stop = true;
    SuchKomp.Stop();
}

// Cancel, Esc and the close box all leave a modal result behind: each stops
// the run, and the dialog closes once it has returned.
void TDateileichenFortschrittDlg::Pumpen() {
    if (Application) Application->ProcessMessages();
    if (ModalResult() != mrNone) {
        m_stop = true;
        SuchKomp.Stop();
    }
    ZahlenZeigen(false);
}

void TDateileichenFortschrittDlg::Durchlauf() {
    for (const std::wstring& folder : m_ordner.Items()) {
        if (m_stop) return;
        const std::wstring root = SystemLower(VolumeWurzel(folder));
        auto cached = m_cluster.find(root);
        if (cached == m_cluster.end()) cached = m_cluster.emplace(root, ClusterGroesse(folder)).first;
        m_aktuellerCluster = cached->second;
        SuchKomp.StartDirectory = folder;
        try {
            SuchKomp.Execute();
        } catch (const EFindError&) {
            // The folder went away after the dialog checked it.
        }
    }
}

void TDateileichenFortschrittDlg::Suchen() {
    Fehlercode = fc::DateileichenSuchen;
    if (m_laeuft) return;
    m_laeuft = true;
    SuchKomp.SearchText.clear();
    SuchKomp.SubDirectories = true;
    for (const std::wstring& mask : m_masken.Items()) {
        if (m_stop) break;
        EndungLabel.SetCaption(L"Gesuchte Endung: " + mask);
        m_maske = SystemLower(mask);
        SuchKomp.FileMask = mask;
        Durchlauf();
    }
    if (m_nullDateien && !m_stop) {
        m_nullLauf = true;
        SuchKomp.FileMask = L"*.*";
        EndungLabel.SetCaption(L"Suche nach 0 Byte großen Dateien...");
        Durchlauf();
        m_nullLauf = false;
    }
    // A close asked for while the last folder was searched still counts.
    Pumpen();
    ZahlenZeigen(true);
    m_laeuft = false;
    if (!m_stop) Anbieten();
    SetModalResult(m_stop ? mrCancel : mrOk);
    Fehlercode = 0;
}

void TDateileichenFortschrittDlg::SuchKompSearchDirectory(TObject*, const std::wstring& DirName) {
    m_ordnerText = SystemLower(DirName);
    ZahlenZeigen(false);
}

void TDateileichenFortschrittDlg::SuchKompFound(TObject*, const std::wstring& FileName, std::int64_t) {
    if (ModalResult() != mrNone) CancelBtnClick(this);
    if (m_stop) return;
    const std::wstring name = SystemLower(FileName);
    // The system's wildcards also match the short alias ("*.bak" finds
    // "setup.bakup"): only the long name counts.
    if (!m_nullLauf && !TDateiRoutinen::MatchesMask(ExtractFileName(name), m_maske)) return;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(FileName.c_str(), GetFileExInfoStandard, &data)) return;
    const std::int64_t size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (m_nullLauf && size != 0) return;
    if (!m_gelistet.insert(name).second) return;
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    record->Size = size;
    record->Time = LokaleDateiZeit(data.ftLastWriteTime);
    record->Attr = static_cast<std::int32_t>(data.dwFileAttributes);
    m_gefunden.push_back(std::move(record));
    m_gesamt += size;
    m_frei += BelegterPlatz(size, m_aktuellerCluster);
    ZahlenZeigen(false);
}

void TDateileichenFortschrittDlg::ZahlenZeigen(bool Jetzt) {
    const ULONGLONG now = GetTickCount64();
    if (!Jetzt && now - m_gezeigt < kZahlenIntervall) return;
    m_gezeigt = now;
    FileLabel.SetFileName(m_ordnerText);
    AnzahlLabel.SetCaption(L"Gefundene Dateien: " + std::to_wstring(m_gefunden.size()));
    FreiLabel.SetCaption(L"Bei Löschung frei werdender Platz: " + FormatByteSize(static_cast<float>(m_frei)));
    GesamtLabel.SetCaption(L"Gesamtgröße aller Dateien: " + FormatByteSize(static_cast<float>(m_gesamt)));
}

void TDateileichenFortschrittDlg::Anbieten() {
    if (m_gefunden.empty()) {
        MessageDlg(L"Es wurden keine Dateileichen gefunden.", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        return;
    }
    const TModalResult choice = Auswahl().ShowModal();
    if (choice == mrYes && m_kontext.Suchergebnis) {
        m_kontext.Suchergebnis->clear();
        for (const auto& record : m_gefunden) m_kontext.Suchergebnis->push_back(std::make_unique<TEineDatei>(*record));
        m_uebergeben = true;
    } else if (choice == mrNo) {
        Loeschen();
    }
}

void TDateileichenFortschrittDlg::Loeschen() {
    TDateiListe list;
    for (const auto& record : m_gefunden) list.push_back(std::make_unique<TEineDatei>(*record));
    std::unique_ptr<TLoeschDlg, TComponentDeleter> dlg(Create<TLoeschDlg>(this, m_kontext));
    dlg->SetDateiliste(&list);
    dlg->SetActiveControl(&dlg->ZLDateien);
    dlg->Sicherheitsabfragen.SetChecked(m_kontext.Loeschabfrage);
    dlg->LoeschGroup.SetItemIndex(m_kontext.LoeschGroup);
    const bool go = !m_kontext.AuswahlDlgVorLoeschen || dlg->ShowModal() == mrOk;
    dlg->SetDateiliste(nullptr);
    if (go && !list.empty() && m_kontext.Routinen)
        m_kontext.Routinen->DeleteFiles(list, dlg->Sicherheitsabfragen.Checked(), false,
                                        std::max(0, dlg->LoeschGroup.ItemIndex()));
}

}  // namespace velmora
