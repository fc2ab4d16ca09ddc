// The handlers the main window installs on the application (activation, hints,
// exceptions), the watch on the recycle folders, the window's one-shot timers
// the small window commands "Beenden", "Hilfethemen" and "Info", the function-key
// bar and the keys, and the marking and display filters.

#include <cmath>

#include "MainForm.h"
#include "MainWindowCodes.h"
#include "filetools/TypenBearbeitenDlg.h"
#include "foundation/ShellRoutinen.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

namespace {

class TInfoForm : public TForm {
public:
    explicit TInfoForm(TComponent* owner)
        : TForm(owner), NameLabel(this), VersionLabel(this), TextLabel(this), OKBtn(this) {
        SetName(L"InfoForm");
        BorderStyle = TBorderStyle::bsDialog;
        Position = TPosition::poMainFormCenter;
        SetCaption(L"Info über Velmora");
        TDialogLayout lay(*this);
        NameLabel.SetCaption(L"Velmora");
        NameLabel.Font.SetStyle(fsBold);
        VersionLabel.SetCaption(L"Version 1.0");
        TextLabel.SetCaption(L"Dateiverwaltung mit zwei Fenstern und Archiven");
        lay.Column(10, 8, 160, {{&NameLabel, 10}, {&VersionLabel, 10}, {&TextLabel, 10}});
        OKBtn.SetCaption(L"OK");
        OKBtn.Default = true;
        OKBtn.Cancel = true;
        OKBtn.ModalResult = mrOk;
        lay.Place(OKBtn, 65, 48, 50, 14);
        lay.SetClientSize(*this, 180, 70);
    }
    TLabel NameLabel, VersionLabel, TextLabel;
    TButton OKBtn;
};

}  // namespace

bool THauptform::LaufwerkWirdGewechselt() const { return velmora::LaufwerkWirdGewechselt; }
// The panes' right clicks: the recent-files list and the pane pop-up menu.
void THauptform::ShowRecentFilesPopup(POINT Screen) { MRUPopup.Popup(Screen.x, Screen.y, this); }
void THauptform::ShowPanePopup(TDMChildForm* Pane, POINT Screen) {
    StandardMDIPopUp.Popup(Screen.x, Screen.y, Pane ? static_cast<TControl*>(Pane) : this);
}
void THauptform::SetContextFolder(const std::wstring& Folder) { ContextFolder = Folder; }

bool THauptform::ShowArchiveOnDoubleClick() const { return Settings && Settings->Arc.ShowOnDoubleClick; }

void THauptform::SetUpTimers() {
    for (auto [timer, name, interval, handler] :
         {std::tuple{&Papierkorbtimer, L"Papierkorbtimer", 1000u, &THauptform::PapierkorbtimerTimer},
          std::tuple{&MRUFileListTimer, L"MRUFileListTimer", 100u, &THauptform::MRUFileListTimerTimer},
          std::tuple{&ArcTimer, L"ArcTimer", 100u, &THauptform::ArcTimerTimer}}) {
        timer->SetEnabled(false);
        timer->SetName(name);
        timer->SetInterval(interval);
        timer->OnTimer = bind(this, handler);
    }
}

// ---- Application handlers

void THauptform::InstallApplicationHandlers() {
    if (m_handlersInstalled)
        return;
    m_previousOnActivate = std::move(Application->OnActivate);
    m_previousOnHint = std::move(Application->OnHint);
    m_previousOnException = std::move(Application->OnException);
    Application->OnActivate = bind(this, &THauptform::AppActivate);
    Application->OnHint = bind(this, &THauptform::ShowHint);
    Application->OnException = bind(this, &THauptform::AppException);
    m_handlersInstalled = true;
}

void THauptform::RemoveApplicationHandlers() {
    if (!m_handlersInstalled || !Application)
        return;
    Application->OnActivate = std::move(m_previousOnActivate);
    Application->OnHint = std::move(m_previousOnHint);
    Application->OnException = std::move(m_previousOnException);
    m_handlersInstalled = false;
}

// The active pane stays on top of the other.
void THauptform::AppActivate(TObject*) {
    if (!LeftPane || !RightPane)
        return;
    Fehlercode = fc::AppActivate;
    const bool leftActive = ActiveMDIChild() == LeftPane;
    (leftActive ? RightPane : LeftPane)->BringToFront();
    (leftActive ? LeftPane : RightPane)->BringToFront();
    Fehlercode = 0;
}

// The shell's context menu reuses our menus' command ids, so its hints would be ours.
void THauptform::ShowHint(TObject*) {
    const std::wstring hint = Application->Hint();
    if (!hint.empty() && !KontextmenueOffen) {
        HauptStatusZeile.SetSimplePanel(true);
        HauptStatusZeile.SetSimpleText(hint);
    } else {
        HauptStatusZeile.SetSimplePanel(false);
    }
}

// The one place where the routine number reaches the user; the exception's own
// text does not.
void THauptform::AppException(TObject* Sender, const Exception&) {
    std::wstring text = L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: " + std::to_wstring(Fehlercode);
    if (const auto* component = dynamic_cast<const TComponent*>(Sender))
        text += L" (" + component->Name() + L")";
    MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 64);
    Fehlercode = 0;
}

// ---- Recycle folders

void THauptform::CreateRecycleMonitors() {
    Fehlercode = fc::CreateRecycleMonitors;
    FreeRecycleMonitors();
    for (const std::wstring& entry : LWAuswahl.Items().Items()) {
        if (entry.empty())
            continue;
        const std::wstring root = std::wstring(1, entry[0]) + L":\\";
        const UINT type = GetDriveTypeW(root.c_str());
        if (type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK)
            continue;
        const std::wstring folder = root + L"Recycled";
        if (!DirectoryExists(folder))
            continue;
        auto* monitor = Create<TDiscMonitor>(this);
        monitor->SetFilters(moFilename);
        monitor->SetSubTree(true);
        monitor->SetDirectory(folder);
        monitor->OnChange = bind(this, &THauptform::RecycleFolderChanged);
        monitor->SetActive(true);
        RecycleMonitors.push_back(monitor);
    }
    Fehlercode = 0;
}

void THauptform::FreeRecycleMonitors() {
    for (TDiscMonitor* monitor : RecycleMonitors) {
        monitor->Close();
        monitor->Free();
    }
    RecycleMonitors.clear();
}

// A burst of changes gives one refresh, a second after the last change.
void THauptform::RecycleFolderChanged(TObject*) {
    Papierkorbtimer.SetEnabled(false);
    Papierkorbtimer.SetEnabled(true);
}

// Stopped first, so that a pane that fails is not asked again every second.
void THauptform::PapierkorbtimerTimer(TObject*) {
    Papierkorbtimer.SetEnabled(false);
    Fehlercode = fc::PapierkorbtimerTimer;
    for (TDMChildForm* pane : {LeftPane, RightPane})
        if (pane)
            pane->RecycleBinChanged();
    Fehlercode = 0;
}

// ---- The other timers

void THauptform::MRUFileListTimerTimer(TObject*) {
    MRUFileListTimer.SetEnabled(false);
    Fehlercode = fc::MRUFileListTimerTimer;
    MRUFileList.SetInsertSeparator(true);
    MRUFileList.SetFileMenu(&AnsichtMenu);
    Fehlercode = 0;
}

void THauptform::ArmArcTimer(int Action, TComponent* Pane, const std::wstring& Folder) {
    ArchiveTimerAction = Action;
    ArchiveTimerPane = Pane;
    ArchiveTimerFolder = Folder;
    FreeNotification(Pane);
    ArcTimer.SetEnabled(false);
    ArcTimer.SetEnabled(true);
}

void THauptform::ArcTimerTimer(TObject*) {
    ArcTimer.SetEnabled(false);
    Fehlercode = fc::ArcTimerTimer;
    TComponent* sender = ArchiveTimerPane;
    const std::wstring folder = ArchiveTimerFolder;
    ArchiveTimerPane = nullptr;
    if (ArchiveTimerAction == 0) {
        if (sender)
            MarkierungAnzeigenClick(sender);
        Fehlercode = 0;
        return;
    }
    // The pane is still the one that was armed: a freed pane was forgotten.
    int side = -1;
    if (sender && sender == LeftPane)
        side = 0;
    else if (sender && sender == RightPane)
        side = 1;
    if (side >= 0) {
        ShowPaneKind(side, ListKind);
        TDMChildForm* pane = side == 0 ? LeftPane : RightPane;
        if (ShowDirectory(pane, folder))
            StartQuickViewThread(folder);
    }
    Fehlercode = 0;
}

// ---- Window commands

void THauptform::DateiBeendenClick(TObject*) { Close(); }

void THauptform::Hilfethemen1Click(TObject*) { Application->HelpCommand(HELP_FINDER, 0); }

void THauptform::InfoClick(TObject*) {
    Fehlercode = fc::InfoClick;
    if (!AboutBox)
        AboutBox = Create<TInfoForm>(this);
    AboutBox->ShowModal();
    Fehlercode = 0;
}

// ---- Function-key bar and keys

namespace {

constexpr int kFKeys = 10;

// The bar's captions, F1 to F10: plain, with Ctrl held, with Alt held.
constexpr const wchar_t* kFKeyCaptions[3][kFKeys] = {
    {L"F1 Hilfe", L"F2 Verknüpfen", L"F3 Anzeigen", L"F4 Bearbeiten", L"F5 Kopieren", L"F6 Verschieben",
     L"F7 Verz. erst.", L"F8 Löschen", L"F9 Umbenennen", L"F10 Menü"},
    {L"F1 Attr. setzen", L"F2 Dateiauswahl", L"F3 Name", L"F4 Typ", L"F5 Datum", L"F6 Größe", L"F7 Unsortiert",
     L"F8 Nach Attr.", L"F9 Drucken", L"F10 Verz. synch."},
    {L"F1 LW links", L"F2 LW rechts", L"F3 Teilen", L"F4 Beenden", L"F5 Kompr.", L"", L"F7 Suchen",
     L"F8 DOS-Befehl", L"F9 Dekompr.", L"F10 Gehe zu"}};

// The menu item whose command a section runs, by caption set; none for plain F10
// (the key opens the menu bar) and for Alt+F6.
constexpr const wchar_t* kFKeyItems[3][kFKeys] = {
    {L"Hilfethemen1", L"DateiVerknuepfungerstellen", L"Schnellansicht", L"Bearbeiten", L"DateiKopieren",
     L"DateiVerschieben", L"DateiVerzeichnisErstellen", L"DateiLoeschen", L"DateiUmbenennen", nullptr},
    {L"AttributeSetzen1", L"Dateiauswahl", L"NachName", L"NachTyp", L"NachDatum", L"NachGroesse", L"Unsortiert",
     L"NachAttributen", L"DateiDrucken", L"Verzeichnissesynchronisieren1"},
    {L"LinkesLaufwerk1", L"RechtesLaufwerk1", L"Teilen", L"DateiBeenden", L"ZuArchivhinzufgen1", nullptr,
     L"DateiSuchen", L"DOSBefehlausfhren1", L"AusArchivextrahieren1", L"Gehezu1"}};

bool SameText(const std::wstring& A, const std::wstring& B) { return lstrcmpiW(A.c_str(), B.c_str()) == 0; }

TShiftState Modifiers(TShiftState Shift) { return Shift & (ssShift | ssAlt | ssCtrl); }

bool HasFocus(TDMChildForm* Pane, HWND Focus) {
    return Pane && Pane->HandleAllocated() && Focus && (Focus == Pane->Handle() || IsChild(Pane->Handle(), Focus));
}

}  // namespace

void THauptform::BindKeyHandlers() {
    KeyPreview = true;
    OnKeyDown = bind(this, &THauptform::FormKeyDown);
    OnKeyUp = bind(this, &THauptform::FormKeyUp);
    ButtonPanel.OnSectionClick = bind(this, &THauptform::ButtonPanelSectionClick);
    for (TWinControl* control : std::initializer_list<TWinControl*>{&DOSBefehlszeile, &LWAuswahl, &LWAuswahl2})
        control->OnKeyUp = bind(this, &THauptform::DOSBefehlszeileKeyUp);
    // In a pane, Ctrl+F4 and Ctrl+F6 sort on their release (PaneKeyUp); taken as
    // the sort items' shortcuts on the press as well, they would sort twice,
    // each undoing the other.
    PassShortCut = [this](TShortCut Key, HWND Focus) {
        return (Key == ShortCut(VK_F4, ssCtrl) || Key == ShortCut(VK_F6, ssCtrl)) &&
               (HasFocus(LeftPane, Focus) || HasFocus(RightPane, Focus));
    };
}

void THauptform::ShowFKeyCaptions() {
    FKeySet = 0;
    FKeyCaptionsChanged = false;
    for (int i = 0; i < kFKeys && i < ButtonPanel.PanelCount(); ++i)
        ButtonPanel.SetPanelText(i, kFKeyCaptions[0][i]);
}

void THauptform::ShowModifierFKeyCaptions(WORD Key) {
    FKeySet = Key == VK_MENU ? 2 : 1;
    FKeyCaptionsChanged = true;
    for (int i = 0; i < kFKeys && i < ButtonPanel.PanelCount(); ++i)
        ButtonPanel.SetPanelText(i, kFKeyCaptions[FKeySet][i]);
}

void THauptform::ButtonPanelSectionClick(TObject*, int Section) {
    if (Section >= 0 && Section < kFKeys && FKeySet < 3)
        if (const wchar_t* name = kFKeyItems[FKeySet][Section])
            if (TMenuItem* item = MenuItem(name))
                item->Click();
    if (!Closing())
        ShowFKeyCaptions();
}

void THauptform::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
    const TShiftState mods = Modifiers(Shift);
    if (Key == VK_TAB && (mods & ssCtrl))
        MessageBeep(MB_OK);
    if ((Key == VK_CONTROL && mods == ssCtrl) || (Key == VK_MENU && mods == ssAlt))
        ShowModifierFKeyCaptions(Key);
    else if (FKeyCaptionsChanged)
        ShowFKeyCaptions();
}

void THauptform::FormKeyUp(TObject*, WORD&, TShiftState) {
    if (FKeyCaptionsChanged)
        ShowFKeyCaptions();
}

void THauptform::PaneKeyDown(TObject* Sender, WORD& Key, TShiftState Shift) {
    const TShiftState mods = Modifiers(Shift);
    if (Key == VK_DELETE && mods == 0) {
        TObject* pane = ActivePane();
        if (auto* control = dynamic_cast<TControl*>(Sender))
            if (auto* own = dynamic_cast<TDMChildForm*>(control->ParentForm()))
                pane = own;
        DateiLoeschenClick(pane);
    } else if (Key == VK_TAB && (mods == 0 || mods == ssShift)) {
        if (TDMChildForm* other = InactivePane())
            other->BringToFront();
    }
}

// The press of these keys passed the menus by (BindKeyHandlers): the release sorts,
// once, and the focus stays in the pane.
void THauptform::PaneKeyUp(TObject*, WORD& Key, TShiftState Shift) {
    const TShiftState mods = Modifiers(Shift);
    if (Key == VK_F4 && mods == ssCtrl)
        NachNameClick(&NachTyp);
    else if (Key == VK_F6 && (mods & ssCtrl))
        NachNameClick(&NachGroesse);
    ShowFKeyCaptions();
}

// Esc leaves the command line or a drive bar for the active pane: the line
// emptied, a bar changed by typing back on its pane's drive. The key is used up.
void THauptform::DOSBefehlszeileKeyUp(TObject* Sender, WORD& Key, TShiftState) {
    if (Key != VK_ESCAPE)
        return;
    Fehlercode = fc::DOSBefehlszeileKeyUp;
    if (Sender == &DOSBefehlszeile)
        DOSBefehlszeile.SetText(L"");
    for (auto [box, monitor, pane] : {std::tuple{&LWAuswahl, &LWAuswahlMonitor, LeftPane},
                                      std::tuple{&LWAuswahl2, &LWAuswahlMonitor2, RightPane}}) {
        if (Sender != box || !pane)
            continue;
        if (const std::wstring folder = pane->GetDirectory(); folder.size() >= 2 && folder[1] == L':') {
            SetBarDrive(*box, *monitor, folder[0]);
            ShowFreeSpace();
        }
    }
    if (TDMChildForm* active = ActivePane()) {
        if (TDMChildForm* other = InactivePane(); other && other != active)
            other->BringToFront();
        active->BringToFront();
    }
    Key = VK_SHIFT;
    Fehlercode = 0;
}

// The sort items ask the active pane for their order; asked again, it reverses.
void THauptform::NachNameClick(TObject* Sender) {
    TDMChildForm* pane = ActivePane();
    if (!pane)
        return;
    const std::pair<const TMenuItem*, std::uint8_t> requests[] = {
        {&NachName, 0}, {&NachName1, 0},   {&NachGroesse, 2},    {&NachGroesse1, 2},
        {&NachDatum, 5}, {&NachDatum1, 5}, {&NachTyp, 6},        {&NachTyp1, 6},
        {&NachAttributen, 8}, {&NachAttributen1, 8}, {&Unsortiert, 10}, {&Unsortiert1, 10}};
    for (const auto& [item, request] : requests)
        if (Sender == item) {
            pane->SetSortOrder(request);
            return;
        }
}

// ---- Mark group and display filter: one kept dialog, worded for each

namespace {

struct TFilterWorte {
    const wchar_t* Caption;
    const wchar_t* Prompt;
    const wchar_t* Ja;
    const wchar_t* Nein;
    const wchar_t* Vierte;
    const wchar_t* Ueberschrift;
};

constexpr TFilterWorte kMarkierWorte{L"Gruppe markieren",
                                     L"Bitte wählen Sie den/ die &Dateifilter der zu markierenden Dateien:",
                                     L"... markieren", L"... nicht markieren", L"&Sonstige Dateien ...",
                                     L"Beim Markieren zu beachtende Datei - Eigenschaften:"};
constexpr TFilterWorte kAnzeigeWorte{L"Dateiauswahl",
                                     L"Bitte wählen Sie den/ die &Dateifilter der anzuzeigenden Dateien:",
                                     L"... anzeigen", L"... nicht anzeigen", L"&Verzeichnisse ...",
                                     L"Beim Anzeigen zu beachtende Datei - Eigenschaften:"};

void FilterDialogFuellen(TFilterAuswahlDlg& Dlg, const TFilterWorte& Worte, const TDateiFilterDatenFuerDateiListe& F) {
    Dlg.SetCaption(Worte.Caption);
    Dlg.Label1.SetCaption(Worte.Prompt);
    std::wstring masken;
    if (F.Masken)
        for (int i = 0; i < F.Masken->Count(); ++i)
            masken += (*F.Masken)[i] + L";";
    Dlg.DateiFilter.SetText(masken);
    Dlg.Datumbeachten.SetChecked(F.Datumbeachten);
    Dlg.Aelteste.SetText(F.Aelteste);
    Dlg.Juengste.SetText(F.Juengste);
    Dlg.Groessebeachten.SetChecked(F.Groessebeachten);
    Dlg.Groessenbereich.SetText(F.Groessenbereich);
    Dlg.DateiGroesse.SetValue(F.DateiGroesse);
    Dlg.Normale.SetCaption(Worte.Vierte);
    Dlg.Label5.SetCaption(Worte.Ueberschrift);
    for (auto [gruppe, an] : {std::pair{&Dlg.ReadOnly, F.ReadOnly}, {&Dlg.Hidden, F.Hidden}, {&Dlg.System, F.System},
                              {&Dlg.Normale, F.Normale}}) {
        gruppe->SetItems({Worte.Ja, Worte.Nein});
        gruppe->SetItemIndex(an ? 0 : 1);
    }
}

// The masks go into the filter's own list: whoever shares that list sees them.
void FilterAusDialog(TFilterAuswahlDlg& Dlg, TDateiFilterDatenFuerDateiListe& F) {
    TStringList masken;
    Dlg.MaskenHolen(masken);
    if (!F.Masken)
        F.Masken = std::make_shared<TStringList>();
    *F.Masken = masken;
    F.Datumbeachten = Dlg.Datumbeachten.Checked();
    if (F.Datumbeachten) {
        F.Aelteste = Dlg.Aelteste.Text();
        F.Juengste = Dlg.Juengste.Text();
    }
    F.Groessebeachten = Dlg.Groessebeachten.Checked();
    if (F.Groessebeachten) {
        F.Groessenbereich = Dlg.Groessenbereich.Text();
        F.DateiGroesse = static_cast<std::int32_t>(std::lround(Dlg.DateiGroesse.GetValue()));
    }
    F.ReadOnly = Dlg.ReadOnly.ItemIndex() == 0;
    F.Hidden = Dlg.Hidden.ItemIndex() == 0;
    F.System = Dlg.System.ItemIndex() == 0;
    F.Normale = Dlg.Normale.ItemIndex() == 0;
}

void SetHelpContext(TComponent& Root, int Context) {
    for (int i = 0; i < Root.ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(Root.Components(i))) {
            control->HelpContext = Context;
            SetHelpContext(*control, Context);
        }
}

}  // namespace

TFilterAuswahlDlg& THauptform::FilterDialog() {
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* dlg = dynamic_cast<TFilterAuswahlDlg*>(Components(i)))
            return *dlg;
    return *Create<TFilterAuswahlDlg>(this, DateiTypen);
}

void THauptform::MarkierungGruppeauswaehlenClick(TObject*) {
    if (!Settings)
        return;
    Fehlercode = fc::MarkierungGruppeauswaehlenClick;
    TFilterAuswahlDlg& dlg = FilterDialog();
    TDateiFilterDatenFuerDateiListe& f = Settings->MarkierFilter;
    FilterDialogFuellen(dlg, kMarkierWorte, f);
    dlg.HelpContext = 24;
    SetHelpContext(dlg, 24);
    if (dlg.ShowModal() == mrOk) {
        FilterAusDialog(dlg, f);
        // A tree marks nothing: the list beside it marks instead.
        TDMChildForm* pane = ActivePane();
        if (pane && pane->GetPaneKind() == ftVerzeichnisbaum)
            pane = InactivePane();
        if (pane && pane->GetPaneKind() != ftVerzeichnisbaum)
            pane->SelectGroup(f.Masken ? *f.Masken : TStringList{}, f.Datumbeachten, f.Aelteste, f.Juengste,
                              f.Groessebeachten, f.Groessenbereich, f.DateiGroesse, f.Normale, f.ReadOnly, f.Hidden,
                              f.System);
    }
    Fehlercode = 0;
}

void THauptform::DateiauswahlClick(TObject*) {
    if (!Settings)
        return;
    Fehlercode = fc::DateiauswahlClick;
    TFilterAuswahlDlg& dlg = FilterDialog();
    TDateiFilterDatenFuerDateiListe& liste = Settings->Dateiliste.Filter;
    FilterDialogFuellen(dlg, kAnzeigeWorte, liste);
    dlg.HelpContext = 0;
    SetHelpContext(dlg, 0);
    if (dlg.ShowModal() == mrOk) {
        FilterAusDialog(dlg, liste);
        // Field by field: the detailed lists keep their own mask list, which the
        // archive panes share.
        TDateiFilterDatenFuerDateiListe& ausf = Settings->ADateiliste.Filter;
        const TMaskenListe eigene = ausf.Masken ? ausf.Masken : std::make_shared<TStringList>();
        ausf = liste;
        ausf.Masken = eigene;
        *ausf.Masken = liste.Masken ? *liste.Masken : TStringList{};
        TDateiFilterDatenFuerDateiListe& baum = Settings->ZusatzOptionen.Filter;
        baum.ReadOnly = liste.ReadOnly;
        baum.Hidden = liste.Hidden;
        baum.System = liste.System;
        baum.Normale = liste.Normale;
        for (TDMChildForm* pane : {LeftPane, RightPane}) {
            if (!pane)
                continue;
            switch (pane->GetPaneKind()) {
            case ftVerzeichnisbaum: pane->SetFilter(baum); break;
            case ftDateiliste: pane->SetFilter(liste); break;
            case ftAusfDateiliste: pane->SetFilter(ausf); break;
            default: break;
            }
        }
    }
    Fehlercode = 0;
}

// ---- Walking through the last search result

void THauptform::NaechstegefundeneDateiClick(TObject*) { StepFoundFile(1); }
void THauptform::VorherigegefundeneDateiClick(TObject*) { StepFoundFile(-1); }

// The orphan search refills the list and the search-result pane prunes it, neither
// resetting the index: one outside the list starts afresh.
void THauptform::StepFoundFile(int Step) {
    if (!SearchResult || SearchResult->empty())
        return;
    const auto count = static_cast<std::int32_t>(SearchResult->size());
    if (FoundIndex < 0 || FoundIndex >= count)
        FoundIndex = -1;
    FoundIndex += Step;
    if (FoundIndex >= count)
        FoundIndex = 0;
    else if (FoundIndex < 0)
        FoundIndex = count - 1;
    GoToFoundFile();
}

void THauptform::GoToFoundFile() {
    if (!SearchResult || FoundIndex < 0 || FoundIndex >= static_cast<std::int32_t>(SearchResult->size()))
        return;
    auto listOrArchive = [](TDMChildForm* pane) {
        const TFensterTyp kind = pane ? pane->GetPaneKind() : ftVerzeichnisbaum;
        return kind == ftDateiliste || kind == ftAusfDateiliste || kind >= ftZip;
    };
    TDMChildForm* pane = ActivePane();
    if (!listOrArchive(pane)) {
        pane = InactivePane();
        if (!listOrArchive(pane))
            return;
        pane->BringToFront();
    }
    Fehlercode = fc::GoToFoundFile;
    const TEineDatei hit = *(*SearchResult)[static_cast<size_t>(FoundIndex)];
    const int side = pane == LeftPane ? 0 : 1;
    auto sidePane = [&] { return side == 0 ? LeftPane : RightPane; };
    if (hit.InArchive) {
        if (!SameText(pane->GetArchiveFile(), hit.ArchivPfad) && !OpenPathInPane(side, hit.ArchivPfad)) {
            Fehlercode = 0;
            return;
        }
        sidePane()->SelectFile(hit.Name);
        Fehlercode = 0;
        return;
    }
    if (pane->GetPaneKind() >= ftZip) {
        ShowPaneKind(side, ListKind);
        pane = sidePane();
        if (!pane) {
            Fehlercode = 0;
            return;
        }
    }
    // A hit in another folder is shown there first; one whose folder is gone
    // selects nothing (the pane fell back elsewhere).
    const std::wstring folder = IncludeTrailingBackslash(ExtractFilePath(hit.Name));
    if (!SameText(IncludeTrailingBackslash(pane->GetDirectory()), folder))
        ShowDirectory(pane, folder);
    if (SameText(IncludeTrailingBackslash(pane->GetDirectory()), folder))
        pane->SelectFile(hit.Name);
    pane->BringToFront();
    if (TDMChildForm* other = InactivePane(); other && other->GetPaneKind() == ftVerzeichnisbaum) {
        other->SetDirectory(folder);
        StartPathInfoThread(folder);
    }
    Fehlercode = 0;
}

}  // namespace velmora
