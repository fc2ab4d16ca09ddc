// The handlers the main window installs on the application (activation, hints,
// exceptions), the watch on the recycle folders, the window's one-shot timers
// and the small window commands "Beenden", "Hilfethemen" and "Info".

#include "MainForm.h"
#include "MainWindowCodes.h"
#include "foundation/ShellRoutinen.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"

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

// ---- Commands of the menus and panes that are not built yet

void THauptform::FormKeyDown(TObject*, WORD&, TShiftState) { Placeholder(L"FormKeyDown"); }
void THauptform::FormKeyUp(TObject*, WORD&, TShiftState) { Placeholder(L"FormKeyUp"); }
void THauptform::PaneKeyDown(TObject*, WORD&, TShiftState) { Placeholder(L"PaneKeyDown"); }
void THauptform::PaneKeyUp(TObject*, WORD&, TShiftState) { Placeholder(L"PaneKeyUp"); }
void THauptform::StartDrag(TDMChildForm*, const TStringList&) { Placeholder(L"StartDrag"); }

}  // namespace velmora
