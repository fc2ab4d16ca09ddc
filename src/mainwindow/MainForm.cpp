#include "MainForm.h"

#include <shlobj.h>

#include "FensterWerte.h"
#include "MainWindowCodes.h"
#include "PaneRules.h"
#include "foundation/ComPtr.h"
#include "foundation/DateiTypen.h"
#include "foundation/ShellRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

THauptform* Hauptform = nullptr;

namespace {

constexpr int kTopBarHeight = 97;
constexpr int kSplitterWidth = 4;
constexpr ULONG kShellAttributeMask = 0xF00F0177;

const wchar_t kArchiveRunningText[] =
    L"Im Moment wird noch eine Archivoperation durchgeführt. Bitte warten Sie, bis diese abgeschlossen ist";
const std::wstring kUnreadableArchiveText[] = {L"Das Archiv\r\n\"", L"\"\r\nkann nicht gelesen werden."};
const wchar_t kCloseFailedText[] =
    L"Beim Beenden des Programms ist ein Ausnahmefehler aufgetreten.\r"
    L"Es ist möglich, daß nicht alle Resourcen freigegeben wurden. Beenden und starten Sie deshalb Windows neu.";

// The box names the window's own routine, whichever routine it called failed.
void ShowExceptionBox(std::uint16_t code) {
    MessageDlg(L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: " + std::to_wstring(code), TMsgDlgType::mtError,
               {TMsgDlgBtn::mbOK}, 64);
}

std::wstring DriveRoot(wchar_t drive) { return std::wstring(1, drive) + L":\\"; }

void LoadIcon(TIcon& icon, const wchar_t* name) {
    icon.LoadFromResourceName(GetModuleHandleW(nullptr), name, 32);
}

}  // namespace

THauptform::THauptform(TComponent* owner)
    : TForm(owner),
      Symbolleiste(this), Sammelbutton(this), SammelImage(this),
      LWPanel(this), LWAuswahl(this), LWFreeSpace(this),
      LWPanel2(this), LWAuswahl2(this, LWAuswahl), LWFreeSpace2(this),
      SizePanel(this),
      HauptStatusZeile(this), Panel1(this), ProgressBar1(this), Panel2(this), AbortSb(this),
      ButtonPanel(this), DOSZeilenPanel(this), DOSPfadPanel(this), DOSPfad(this), DOSBefehlszeile(this),
      LWAuswahlMonitor(this), LWAuswahlMonitor2(this), FileOperator(this),
      MainMenu(this), AnsichtMenu(this), MRUFileList(this) {
    Hauptform = this;
    SetName(L"Hauptform");
    SetCaption(L"Velmora");
    SetFormStyle(TFormStyle::fsMDIForm);
    Position = TPosition::poDefaultPosOnly;
    SetBounds(150, 108, 640, 406);
    HelpContext = 1;
    MinWidth = 200;
    MinHeight = 300;
    BuildLayout();
    BuildMenus();
    LWAuswahlMonitor.SetFilters(moSize | moFilename | moDirName);
    LWAuswahlMonitor2.SetFilters(moSize | moFilename | moDirName);
    OnCreate = bind(this, &THauptform::FormCreate);
    OnShow = bind(this, &THauptform::FormShow);
    OnClose = bind(this, &THauptform::FormClose);
    OnResize = bind(this, &THauptform::FormResize);
    BindPaneHandlers();
    BindFileCommands();
    BindKeyHandlers();
    BindToolHandlers();
    FileOperator.SetName(L"FileOperator");
    FileOperator.SetProgressTitle(L"Datei Operation");
    FileOperator.ParentForm = this;
    if (ParamCount() >= 1)
        CommandLineArgument = ParamStr(1);
}

THauptform::~THauptform() {
    StopCounters();
    FreePanes();
    FreeRecycleMonitors();
    RemoveApplicationHandlers();
    if (Hauptform == this)
        Hauptform = nullptr;
    if (IconRoutinen == m_iconRoutinen.get())
        IconRoutinen = nullptr;
    if (DateiRoutinen == m_dateiRoutinen.get())
        DateiRoutinen = nullptr;
}

void THauptform::BuildLayout() {
    BuildTopBar();
    BuildBottomBars();
    SizePanel.SetName(L"SizePanel");
    SizePanel.SetParent(this);
    SizePanel.SetBevelOuter(TBevelCut::bvRaised);
    SizePanel.SetWidth(kSplitterWidth);
}

void THauptform::BuildTopBar() {
    Symbolleiste.SetName(L"Symbolleiste");
    Symbolleiste.SetParent(this);
    Symbolleiste.SetAlign(TAlign::alTop);
    Symbolleiste.SetHeight(kTopBarHeight);
    TPicture tile;
    if (tile.Bitmap().LoadFromResourceName(GetModuleHandleW(nullptr), L"WALLPAPER"))
        Symbolleiste.SetWallpaper(tile);

    Sammelbutton.SetParent(&Symbolleiste);
    Sammelbutton.SetBevelOuter(TBevelCut::bvLowered);
    Sammelbutton.SetBounds(0, 4, 42, 42);
    SammelImage.SetParent(&Sammelbutton);
    SammelImage.SetBounds(5, 5, 32, 32);
    SammelImage.Center = true;
    SammelImage.Hint = L"Sammelkorb|Ziehen Sie Dateien auf das Icon, um den Sammelkorb zu füllen";
    SammelImage.ShowHint = true;

    for (auto [panel, box, space] : {std::tuple{&LWPanel, &LWAuswahl, &LWFreeSpace},
                                     std::tuple{&LWPanel2, &LWAuswahl2, &LWFreeSpace2}}) {
        panel->SetParent(&Symbolleiste);
        panel->SetAlign(TAlign::alBottom);
        panel->SetHeight(30);
        panel->SetBevelOuter(TBevelCut::bvNone);
        box->SetParent(panel);
        box->SetBounds(4, 4, 170, 22);
        space->SetParent(panel);
        space->SetBevelOuter(TBevelCut::bvLowered);
        space->Alignment = TAlignment::taLeftJustify;
        space->SetBounds(178, 4, 100, 22);
    }
    LWPanel.SetName(L"LWPanel");
    LWPanel2.SetName(L"LWPanel2");
    LWAuswahl.Hint = L"Linkes Laufwerk|Wählen Sie hier das Laufwerk, das im linken Fenster angezeigt werden soll.";
    LWAuswahl2.Hint = L"Rechtes Laufwerk|Wählen Sie hier das Laufwerk, das im linken Fenster angezeigt werden soll.";
}

void THauptform::BuildBottomBars() {
    HauptStatusZeile.SetName(L"HauptStatusZeile");
    HauptStatusZeile.SetParent(this);
    HauptStatusZeile.SetAlign(TAlign::alBottom);
    HauptStatusZeile.SetPanels({{L"", 250}, {L"", 50}});
    Panel1.SetParent(&HauptStatusZeile);
    Panel1.SetBevelOuter(TBevelCut::bvNone);
    Panel1.SetBounds(0, 2, 150, 16);
    ProgressBar1.SetParent(&Panel1);
    ProgressBar1.SetBounds(0, 0, 150, 16);
    ProgressBar1.SetMax(100);
    ProgressBar1.Step = 5;
    Panel2.SetParent(&HauptStatusZeile);
    Panel2.SetBevelOuter(TBevelCut::bvNone);
    Panel2.SetBounds(0, 2, 24, 16);
    AbortSb.SetParent(&Panel2);
    AbortSb.SetBounds(0, 0, 24, 16);
    AbortSb.SetCaption(L"X");
    AbortSb.Hint = L"Aktion abbrechen|Aktion abbrechen";
    Panel2.Hide();

    ButtonPanel.SetName(L"ButtonPanel");
    ButtonPanel.SetParent(this);
    ButtonPanel.SetAlign(TAlign::alBottom);
    std::vector<TStatusPanel> keys;
    for (int i = 1; i <= 10; ++i)
        keys.push_back({L"F" + std::to_wstring(i) + L"-", 50});
    ButtonPanel.SetPanels(keys);

    DOSZeilenPanel.SetName(L"DOSZeilenPanel");
    DOSZeilenPanel.SetParent(this);
    DOSZeilenPanel.SetAlign(TAlign::alBottom);
    DOSZeilenPanel.SetHeight(28);
    DOSZeilenPanel.SetBevelOuter(TBevelCut::bvNone);
    DOSPfadPanel.SetParent(&DOSZeilenPanel);
    DOSPfadPanel.SetBevelOuter(TBevelCut::bvNone);
    DOSPfadPanel.SetBounds(0, 0, 200, 28);
    DOSPfad.SetParent(&DOSPfadPanel);
    // Folder names may hold "&"; it is no accelerator here.
    DOSPfad.ShowAccelChar = false;
    DOSPfad.SetAlignment(TAlignment::taRightJustify);
    DOSPfad.Layout = TTextLayout::tlCenter;
    DOSPfad.SetBounds(4, 3, 192, 22);
    DOSBefehlszeile.SetName(L"DOSBefehlszeile");
    DOSBefehlszeile.SetParent(&DOSZeilenPanel);
    DOSBefehlszeile.SetBounds(203, 3, 200, 22);
}

void THauptform::FormCreate(TObject*) {
    try {
        Fehlercode = fc::HauptformFormCreate;
        LoadIcon(BasketEmptyIcon, L"SAMMELKORBLEER");
        LoadIcon(BasketFullIcon, L"SAMMELKORBVOLL");
        m_createFailed = false;
        InstallApplicationHandlers();
        Application->SetHintHidePause(10000);
        Application->HelpFile = ExtractFilePath(ParamStr(0)) + L"Velmora.hlp";
        m_firstShow = true;
        m_closing = false;
        ArchiveRunning = false;
        DateiOperationLaeuft = DropWirdVerarbeitet = velmora::LaufwerkWirdGewechselt = OrdnerWirdErstellt = false;
        CreateServiceObjects();
        ApplyViewOptions();
        UpdateBasketIcon();
        RefreshMRUList();
        LWPanel2.Hide();
        Panel1.Hide();
        // The stored place and folders come before the window is made: it is
        // made in its place, and the folders are read meanwhile.
        LoadSettings();
        if (!CommandLineArgument.empty())
            TakeCommandLine(CommandLineArgument);
        if (StartsFrameFirst)
            ReadStartFoldersAhead();
        Fehlercode = fc::HauptformFormCreate;
        LearnShellLocations();
        QuickViewerProgram(QuickViewerCommand);
        Schnellansicht.SetEnabled(!QuickViewerCommand.empty());
        LWAuswahlMonitor.SetDirectory(DriveRoot(LWAuswahl.Drive()));
        LWAuswahlMonitor.SetActive(true);
        CreateRecycleMonitors();
        CreateDropTargets();
        Fehlercode = 0;
    } catch (...) {
        ShowExceptionBox(fc::HauptformFormCreate);
        m_createFailed = true;
    }
}

void THauptform::CreateServiceObjects() {
    Settings = std::make_unique<TEinstellungen>();
    DateiTypenLaden(DateiTypen);
    m_dateiTypenGeladen = true;
    m_dateiRoutinen = std::make_unique<TDateiRoutinen>(FileOperator);
    DateiRoutinen = m_dateiRoutinen.get();
    if (!StartsFrameFirst)
        CreateIconRoutines();
    History = std::make_unique<THistoryLists>();
    ExtractedFiles = std::make_unique<TStringList>();
    SearchResult = std::make_unique<TDateiListe>();
    Basket = std::make_unique<TDateiListe>();
    CreateArchiveObjects();
}

void THauptform::CreateIconRoutines() {
    if (m_iconRoutinen)
        return;
    m_iconRoutinen = std::make_unique<TIconRoutinen>();
    IconRoutinen = m_iconRoutinen.get();
}

void THauptform::ApplyViewOptions() {
    auto icon = std::make_unique<TIcon>();
    icon->Assign(CopyIcon(BasketEmptyIcon.Handle()));
    SammelImage.Picture.SetGraphic(std::move(icon));
    const TAnsichtEinstellungen& view = Settings->Ansicht;
    HauptStatusZeile.SetVisible(view.StatuszeileAnzeigen);
    ButtonPanel.SetVisible(view.FTastenAnzeigen);
    DOSZeilenPanel.SetVisible(view.DOSZeileAnzeigen);
    EnableToolbar(view.SymbolleisteAnzeigen);
}

// The desktop's path names the desktop's own folder in the panes' captions.
void THauptform::LearnShellLocations() {
    DesktopPath.clear();
    wchar_t path[MAX_PATH];
    if (SHGetSpecialFolderPathW(Handle(), path, CSIDL_DESKTOPDIRECTORY, FALSE))
        DesktopPath = IncludeTrailingBackslash(AsciiLower(path));
}

// The recycle bin's name and attributes tell the panes when they show it.
void THauptform::LearnRecycleBin() const {
    if (std::exchange(m_recycleBinKnown, true))
        return;
    m_recycleBinName.clear();
    m_recycleBinAttributes = 0;
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return;
    LPITEMIDLIST raw = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &raw))) {
        TPidl bin(raw);
        LPCITEMIDLIST item = bin.get();
        ULONG attributes = kShellAttributeMask;
        if (PidlAnzeigename(desktop.Get(), item, SHGDN_NORMAL, m_recycleBinName) &&
            SUCCEEDED(desktop->GetAttributesOf(1, &item, &attributes)))
            m_recycleBinAttributes = attributes;
        else
            m_recycleBinName.clear();
    }
}

// A path that names nothing, or a file that is no archive, is ignored.
void THauptform::TakeCommandLine(const std::wstring& FirstArgument) {
    std::uint8_t kind = 0;
    const bool file = FileExists(FirstArgument);
    if (file && ZipRoutinen && ZipRoutinen->GetArchiveType(FirstArgument, kind)) {
        ArchiveArgument = true;
        UseStartFolderLeft = UseStartFolderRight = false;
    } else if (DirectoryExists(FirstArgument)) {
        StartFolderLeft = StartFolderRight = FirstArgument;
        UseStartFolderLeft = UseStartFolderRight = true;
    } else if (file && archive::TZipRoutinen::IsArchiveExtension(ExtractFileExt(FirstArgument))) {
        // Locked, damaged or only named like an archive: the window starts as
        // usual, and the user learns why the archive is not shown.
        MessageDlg(kUnreadableArchiveText[0] + FirstArgument + kUnreadableArchiveText[1], TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbOK}, 0);
    }
}

void THauptform::LoadSettings() {
    Fehlercode = fc::HauptformLoadSettings;
    TGeladeneFensterWerte w;
    TStringList commandLines;
    THistoryLists stored;
    LoadFensterWerte(w, commandLines, stored, Settings->Sonst.AktPfadSichern);
    ApplyStoredPos(w.Pos);
    if (w.Max)
        SetWindowState(TWindowState::wsMaximized);
    DOSBefehlszeile.SetItems(commandLines);
    PaneKinds = w.PaneKinds;
    // The fallback follows the window as "Pos" left it. No stored width may hide
    // the left pane.
    LeftPaneWidth = std::max(6, w.LeftPaneWidth.value_or(ClientWidth() / 2 - 2));
    FirstToolbarButton = w.FirstToolbarButton;
    *History = std::move(stored);
    StartFolderLeft = w.StartFolderLeft;
    StartFolderRight = w.StartFolderRight;
    UseStartFolderLeft = w.UseStartFolderLeft;
    UseStartFolderRight = w.UseStartFolderRight;
    SortLeft = w.SortLeft;
    SortRight = w.SortRight;
    Fehlercode = 0;
}

// "Pos" holds screen coordinates; a missing value leaves the first start's
// placement to the system.
void THauptform::ApplyStoredPos(const std::optional<std::vector<int>>& Pos) {
    if (!Pos)
        return;
    int bounds[4] = {Left(), Top(), Width(), Height()};
    for (size_t i = 0; i < Pos->size(); ++i)
        bounds[i] = (*Pos)[i];
    Position = TPosition::poDesigned;
    SetBounds(bounds[0], bounds[1], bounds[2], bounds[3]);
}

// Without a stored place the system chooses where the window appears (as it
// cascades new windows); only the size is the window's own.
void THauptform::CreateWnd() {
    const bool systemPlaces = Position == TPosition::poDefaultPosOnly;
    if (systemPlaces) {
        m_left = CW_USEDEFAULT;
        m_top = CW_USEDEFAULT;
    }
    TForm::CreateWnd();
    if (systemPlaces) {
        RECT placed;
        GetWindowRect(Handle(), &placed);
        m_left = placed.left;
        m_top = placed.top;
    }
    // The caption bar hooks the window it finds, so a new window needs a new one.
    gui::FreeAndNil(MSOfficeCaption1);
    MSOfficeCaption1 = gui::Create<TMSOfficeCaption>(this);
    MSOfficeCaption1->CompanyText.SetFontKind(TFontKind::fkSystemBI);
    MSOfficeCaption1->CompanyText.SetCaption(L"Velmora");
    MSOfficeCaption1->AppNameText.SetFontKind(TFontKind::fkSystemB);
    MSOfficeCaption1->AppNameText.SetCaption(L"-");
}

void THauptform::FormShow(TObject*) {
    if (m_createFailed) {
        Close();
        return;
    }
    if (!m_firstShow)
        return;
    m_firstShow = false;
    try {
        Fehlercode = fc::HauptformFormShow;
        const TPaneKindRequest kinds = ParsePaneKinds(PaneKinds, ArchiveArgument);
        // Panes other than file lists read now and want their icons now.
        if (!m_panesDeferred || !IsFileListKind(kinds.Left) || !IsFileListKind(kinds.Right) || ArchiveArgument)
            CreateIconRoutines();
        ShowPaneKind(0, kinds.Left);
        Fehlercode = fc::HauptformFormShow;
        if (!(kinds.RightArchiveOrList && ShowArchiveArgument()))
            ShowPaneKind(1, kinds.Right);
        ArchiveArgument = false;
        Fehlercode = fc::HauptformFormShow;
        if (IsFileListKind(LeftPane->GetPaneKind()))
            ListKind = LeftPane->GetPaneKind();
        else if (IsFileListKind(RightPane->GetPaneKind()))
            ListKind = RightPane->GetPaneKind();
        else
            ListKind = ftDateiliste;
        RestorePaneSorts();
        LeftPane->BringToFront();
        Fehlercode = fc::HauptformFormShow;
        std::wstring folder = LeftPane ? LeftPane->GetDirectory() : std::wstring();
        if (folder.empty() && RightPane)
            folder = RightPane->GetDirectory();
        if (!folder.empty()) {
            // A tree on the command line's archive names the archive file; the
            // recent folders take the folder it lies in.
            AddRecentDir(FileExists(folder) ? ExtractFilePath(folder) : folder);
        } else {
            wchar_t current[MAX_PATH] = L"";
            GetCurrentDirectoryW(MAX_PATH, current);
            SetDOSPfad(SameTextAscii(current, L"X:\\") ? L"C:\\" : current);
        }
        // The drive bars start on the drives the panes show, not on the box's own first drive.
        for (auto [side, pane] : {std::pair{0, LeftPane}, std::pair{1, RightPane}}) {
            if (!pane || (side == 1 && !LWPanel2.Visible()) || !IstVerzeichnisFenster(pane->GetPaneKind()))
                continue;
            if (const std::wstring shown = pane->GetDirectory(); shown.size() >= 2 && shown[1] == L':')
                SelectDrive(side, shown[0]);
        }
        Fehlercode = fc::HauptformFormShow;
        ShowFKeyCaptions();
        ShowFreeSpace();
        ArrangePanes();
        Fehlercode = 0;
    } catch (...) {
        ShowExceptionBox(fc::HauptformFormShow);
        Close();
    }
}

void THauptform::ShowFrameFirst() {
    m_panesDeferred = true;
    try {
        Show();
        Update();
    } catch (...) {
        m_panesDeferred = false;
        throw;
    }
}

void THauptform::FillDeferredPanes() {
    // The panes hold the passes over their folders themselves.
    m_startFolderPasses.clear();
    if (!std::exchange(m_panesDeferred, false))
        return;
    // Still the window's first showing, for a failure too.
    try {
        Fehlercode = fc::HauptformFormShow;
        CreateIconRoutines();
        TDMChildForm* first = ActivePane();
        for (TDMChildForm* pane : {first, first == LeftPane ? RightPane : LeftPane})
            if (pane)
                pane->ReadDeferred();
        if (const std::wstring folder = std::exchange(m_deferredPathInfo, {}); !folder.empty())
            StartPathInfoThread(folder);
        Fehlercode = 0;
    } catch (...) {
        ShowExceptionBox(fc::HauptformFormShow);
        Close();
    }
}

void THauptform::FormClose(TObject*, TCloseAction& Action) {
    // Everything was saved and freed by the first close; a second one before the
    // message loop ends finds nothing left to do.
    if (m_closing) {
        Action = TCloseAction::caNone;
        return;
    }
    if (ArchiveBusy()) {
        MessageDlg(kArchiveRunningText, TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 0);
        Action = TCloseAction::caNone;
        return;
    }
    if (DateiOperationLaeuft) {
        Action = TCloseAction::caNone;
        return;
    }
    m_closing = true;
    // A window that was never fully made has nothing worth saving: what it
    // stored stays as it was, the option groups included, and only what exists
    // is freed.
    if (m_createFailed) {
        if (Settings)
            Settings->SaveOnFree = false;
        StopCounters();
        CleanUp();
        return;
    }
    try {
        // Nothing a counter finds reaches the window from here on; neither is waited for.
        StopCounters();
        SaveSettings();
        CleanUp();
    } catch (...) {
        MessageDlg(kCloseFailedText, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 64);
    }
}

// The panes go first, before the settings, lists and service objects they use,
// then the recycle monitors; the settings object saves its groups as it is freed.
void THauptform::CleanUp() {
    FreePanes();
    FreeArchiveObjects();
    FreeRecycleMonitors();
    // A window that was never fully made leaves the stored types as they are.
    if (m_dateiTypenGeladen && !m_createFailed)
        DateiTypenSpeichern(DateiTypen);
    m_dateiTypenGeladen = false;
    gui::FreeAndNil(AboutBox);
    BasketEmptyIcon.Assign(nullptr);
    BasketFullIcon.Assign(nullptr);
    LWAuswahlMonitor.Close();
    LWAuswahlMonitor2.Close();
    History.reset();
    DeleteExtractedFiles();
    ExtractedFiles.reset();
    Settings.reset();
    if (IconRoutinen == m_iconRoutinen.get())
        IconRoutinen = nullptr;
    m_iconRoutinen.reset();
    if (DateiRoutinen == m_dateiRoutinen.get())
        DateiRoutinen = nullptr;
    m_dateiRoutinen.reset();
    SearchResult.reset();
    Basket.reset();
}

// Files taken out of archives to open them go for good, without a question or
// a message; one already gone does not stop the close.
void THauptform::DeleteExtractedFiles() {
    if (ExtractedFiles && m_dateiRoutinen && !ExtractedFiles->Empty()) {
        TDateiListe list;
        for (const std::wstring& name : ExtractedFiles->Items()) {
            list.push_back(std::make_unique<TEineDatei>());
            list.back()->Name = name;
        }
        m_dateiRoutinen->DeleteFiles(list, false, true, 1);
    }
    // The own folder goes only when nothing else was saved in it.
    if (!m_extractFolder.empty())
        RemoveDirectoryW(m_extractFolder.c_str());
}

void THauptform::SaveSettings() {
    Fehlercode = fc::HauptformSaveSettings;
    TZuSpeicherndeFensterWerte w;
    w.Max = WindowState() == TWindowState::wsMaximized;
    w.LeftPaneWidth = LeftPaneWidth;
    SetWindowState(TWindowState::wsNormal);
    const RECT normal = NormalScreenBounds();
    w.Left = normal.left;
    w.Top = normal.top;
    w.Width = normal.right - normal.left;
    w.Height = normal.bottom - normal.top;
    w.FirstToolbarButton = FirstToolbarButton;
    w.ListKind = ListKind;
    SavePaneStates(w);
    SaveFensterWerte(w, DOSBefehlszeile.Items(), *History, Settings->Sonst.AktPfadSichern);
    Fehlercode = 0;
}

// The normal place in screen coordinates, as "Pos" is read back. The system
// gives a placement in workspace coordinates (off by a taskbar at the top or
// left), so a window in its normal state is measured directly.
RECT THauptform::NormalScreenBounds() {
    if (!HandleAllocated())
        return BoundsRect();
    RECT r;
    if (!IsIconic(Handle()) && !IsZoomed(Handle()) && GetWindowRect(Handle(), &r))
        return r;
    r = NormalBounds();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    return r;
}

void THauptform::FormResize(TObject*) {
    // Minimising reports an empty client area; the layout waits for the restore.
    if (WindowState() == TWindowState::wsMinimized || ClientWidth() <= 0)
        return;
    if (ClientWidth() - 10 <= LeftPaneWidth)
        LeftPaneWidth = ClientWidth() - 10;
    ArrangePanes();
    Sammelbutton.SetLeft(Symbolleiste.Width() - Sammelbutton.Width() - 1);
    ArrangeToolbar();
    for (auto [panel, box, space] : {std::tuple{&LWPanel, &LWAuswahl, &LWFreeSpace},
                                     std::tuple{&LWPanel2, &LWAuswahl2, &LWFreeSpace2}})
        if (panel->Visible())
            space->SetWidth(Symbolleiste.Width() - box->Width() - 8);
    if (ArchiveRunning) {
        const int bar = HauptStatusZeile.Width();
        Panel2.SetLeft(bar - Panel2.Width());
        HauptStatusZeile.SetPanelWidth(0, bar - Panel1.Width() - Panel2.Width() - 5);
        Panel1.SetLeft(Panel2.Left() - Panel1.Width() - 1);
    }
}

void THauptform::SetDOSPfad(const std::wstring& Folder) {
    if (Folder.empty() || !DirectoryExists(Folder))
        return;
    std::wstring prompt = ExcludeTrailingBackslash(Folder);
    CharLowerBuffW(prompt.data(), static_cast<DWORD>(prompt.size()));
    DOSPfad.SetFileName(prompt + L">");
}

}  // namespace velmora
