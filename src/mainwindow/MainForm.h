#pragma once
// THauptform: Velmora's one main window, an MDI frame whose two children are the
// panes. Its creation makes the service objects and reads the window values, its
// first showing sets up the sides, its close saves and frees everything again.
// Pane management, status line, application handlers, menus and commands build
// on the fields below.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "panes/DMChild_Vorlage.h"
#include "FensterEinstellungen.h"
#include "panes/PaneHost.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/DateiTypListe.h"
#include "filetools/DialogBasis.h"
#include "StatusThreads.h"
#include "archive/formats/ArcLister.h"
#include "archive/operations/ZipRoutinen.h"
#include "archive/operations/AddArcDlg.h"
#include "archive/operations/ArcKleineDialoge.h"
#include "archive/operations/ExtractArcDlg.h"
#include "foundation/AppExec.h"
#include "foundation/DiscMon.h"
#include "foundation/DropSource.h"
#include "foundation/HEDropTarget.h"
#include "foundation/EineDatei.h"
#include "foundation/Einstellungen.h"
#include "foundation/FileOperator.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/controls/ExplBtn.h"
#include "foundation/controls/FileLbl.h"
#include "foundation/controls/MRUList.h"
#include "foundation/controls/Wall.h"
#include "foundation/controls/Wordcap.h"
#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Panel.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"

namespace velmora {

// The file routines' total and free bytes of a drive; false while they do not exist.
bool FileRoutinesDiskFree(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total);

class TDOSZeilenDlg;
class TOrdnerVorauslesen;
class TOptionenDlg;
class TExtArcKonfigDlg;
class TDateiKopierenDlg;
class TLoeschDlg;
class TAttributDialog;
class TVerzeichnisErstellenDlg;
class TDateiUmbenennenDlg;
class TDateiAktionFortschrittDlg;
class TDateiSuchenDlg;
class TSuchFortschritt;
class TFilterAuswahlDlg;

class THauptform : public gui::TForm, public TPaneHost {
public:
    explicit THauptform(gui::TComponent* owner);
    ~THauptform() override;

    // The top bar with the drive bars and the basket.
    TWallpaper Symbolleiste;
    gui::TPanel Sammelbutton;
    gui::TImage SammelImage;
    gui::TPanel LWPanel;
    gui::TDriveComboBox LWAuswahl;
    gui::TPanel LWFreeSpace;
    gui::TPanel LWPanel2;
    gui::TDriveComboBox LWAuswahl2;
    gui::TPanel LWFreeSpace2;
    // The splitter between the panes.
    gui::TPanel SizePanel;
    // The bottom bars, from the bottom up.
    gui::TStatusBar HauptStatusZeile;
    gui::TPanel Panel1;
    gui::TProgressBar ProgressBar1;
    gui::TPanel Panel2;
    gui::TButton AbortSb;
    gui::TStatusBar ButtonPanel;
    gui::TPanel DOSZeilenPanel;
    gui::TPanel DOSPfadPanel;
    TFileLabel DOSPfad;
    gui::TComboBox DOSBefehlszeile;
    TDiscMonitor LWAuswahlMonitor;
    TDiscMonitor LWAuswahlMonitor2;
    // The shell's file operation, used by the file routines only.
    TFileOperator FileOperator;
    // Menus and toolbar (MainFormMenus.cpp): every item and button below is made
    // from one table row there. Parents come before their items, so that items
    // leave their parents before these go.
    gui::TMainMenu MainMenu;
    gui::TMenuItem DateiMenu{this}, DateiNeu{this}, DateiVerzeichnisErstellen{this},
        DateiVerknuepfungerstellen{this}, Archiv1{this}, DateiOeffnen{this}, DateiDrucken{this}, Bearbeiten{this},
        DateiKopieren{this}, DateiVerschieben{this}, DateiLoeschen{this}, DateiUmbenennen{this},
        TatschlichenSpeicherbedarfermitteln1{this}, AttributeSetzen1{this}, DateiEigenschaften{this},
        ZuArchivhinzufgen1{this}, AusArchivextrahieren1{this}, Archivbearbeiten1{this}, Testen1{this}, Fix1{this},
        Archivdatumaktualisieren1{this}, InEXEDateiumwandeln1{this}, EXEArchivzurckumwandeln1{this},
        DateiBeenden{this};
    gui::TMenuItem MarkierungMenu{this}, MarkierungGruppeauswaehlen{this}, MarkierungAllesAuswaehlen{this},
        MarkierungUmkehren{this}, Verzeichnissevergleichen1{this};
    gui::TMenuItem Suchen1{this}, DateiSuchen{this}, LetztesSuchergebnisanzeigen1{this},
        SuchergebnisAnzeigenLinkesFenster{this}, SuchergebnisAnzeigenRechtesFenster{this},
        NaechstegefundeneDatei{this}, VorherigegefundeneDatei{this}, Dateileichensuchen1{this};
    // The view menu also carries the recent folders (MRUFileList).
    gui::TMenuItem AnsichtMenu;
    gui::TMenuItem AnsichtLinks{this}, AnsichtVbaumL{this}, AnsichtDListeL{this}, AnsichtAusDlisteL{this},
        AnsichtSammelKorbL{this}, AnsichtSuchergebnisL{this}, AnsichtFileViewL{this}, AnsichtRechts{this},
        AnsichtVbaumR{this}, AnsichtDListeR{this}, AnsichtAusDListeR{this}, AnsichtSammelkorbR{this},
        AnsichtSuchergebnisR{this}, AnsichtFileViewR{this}, Dateiauswahl{this}, Dateianordnung{this},
        NachName{this}, NachTyp{this}, NachDatum{this}, NachGroesse{this}, Unsortiert{this}, NachAttributen{this},
        Aktualisieren1{this}, Fenstertauschen1{this};
    gui::TMenuItem Extras1{this}, Datentraeger{this}, Datentrgeinfo1{this}, Benennen1{this}, DiskKopieren{this},
        DiskFormatieren{this}, Prfen1{this}, Optimieren1{this}, InhaltdesSamelkorbesanzeigen1{this},
        SammelkorbLinks{this}, SammelkorbRechts{this}, MarkierteDateieninSammelkorblegen1{this},
        Sammelkorbleeren1{this}, MarkierteDateienausSammelkorbentfernen1{this}, Gehezu1{this},
        Dokumentverknpfungen1{this}, Schnellansicht{this}, Verzeichnissesynchronisieren1{this}, Teilen{this},
        Zusammenfgen1{this}, Autostartmanageraufrufen1{this}, Exittoolskonfigurieren1{this},
        ListederzuletztbenutztenDokumente1{this}, DOSBefehlausfhren1{this}, DOSBoxffnen1{this}, Optionen1{this};
    // Never shown; only its shortcuts work.
    gui::TMenuItem UnsichtbaresMen1{this}, ImLinkesFensterAnzeigen1{this},
        MarkierungimRechtenFensterAnzeigen{this}, LinkesLaufwerk1{this}, RechtesLaufwerk1{this};
    gui::TMenuItem HilfeMenu{this}, Hilfethemen1{this}, Info{this};
    // The panes' context menu; the panes open it themselves.
    gui::TPopupMenu StandardMDIPopUp{this};
    gui::TMenuItem Neu1{this}, Ordner1{this}, Verknpfung1{this}, Archiv2{this}, Kopieren1{this},
        Verschieben1{this}, Lschen1{this}, Umbenennen1{this}, NeueVerknpfung1{this}, ZuArchivhinzufgen2{this},
        AusArchivextrahieren2{this}, DateieninSammelkorblegen1{this}, Sammelkorbleeren2{this},
        MarkierteDateienausSammelkorbentfernen2{this}, Dateiauswahl1{this}, Dateianordnung1{this},
        NachName1{this}, NachTyp1{this}, NachDatum1{this}, NachGroesse1{this}, Unsortiert1{this},
        NachAttributen1{this}, Fenstertyp1{this}, Verzeichnisbaum1{this}, Dateiliste1{this},
        AusfhrlicheDateiliste1{this}, InhaltdesSammelkorbes1{this}, LetztesSuchergebnis1{this},
        Archivinhalt1{this};
    // On the basket image.
    gui::TPopupMenu SammelkorbMenu{this};
    gui::TMenuItem AlleEintrgeausListeentfernen{this};
    // The recent folders' menu of the panes.
    gui::TPopupMenu MRUPopup{this};
    gui::TMenuItem Gehezu2{this};
    // The toolbar on the top bar: the scroll arrows round Button1 to Button13.
    TExplorerButton LeftButton{this}, Button1{this}, Button2{this}, Button3{this}, Button4{this}, Button5{this},
        Button6{this}, Button7{this}, Button8{this}, Button9{this}, Button10{this}, Button11{this}, Button12{this},
        Button13{this}, RightButton{this};

    // Scrolls the toolbar by one button (FirstToolbarButton stays within 1 to 13).
    void LeftButtonClick(gui::TObject* Sender);
    void RightButtonClick(gui::TObject* Sender);
    // Fits the buttons from FirstToolbarButton on between the arrows; the arrows
    // show and enable themselves when buttons are left out.
    void ArrangeToolbar();
    // Shows or hides the basket and the toolbar buttons; the top bar follows.
    void EnableToolbar(bool Show);
    bool ToolbarShown() const { return m_toolbarShown; }
    // Disables or enables sorting by type and by attributes (menu and pop-up).
    void EnableSortByType(bool Disable);
    // Button I (1 to 13) of the toolbar.
    TExplorerButton& ToolbarButton(int I);

    // The commands of the menus, toolbar and keys.
    void DateiVerzeichnisErstellenClick(gui::TObject* Sender);
    void DateiVerknuepfungerstellenClick(gui::TObject* Sender);
    void DateiOeffnenClick(gui::TObject* Sender);
    void DateiDruckenClick(gui::TObject* Sender);
    void DateiKopierenClick(gui::TObject* Sender);
    void DateiVerschiebenClick(gui::TObject* Sender);
    void DateiLoeschenClick(gui::TObject* Sender);
    void DateiUmbenennenClick(gui::TObject* Sender);
    void AttributeSetzen1Click(gui::TObject* Sender);
    void DateiEigenschaftenClick(gui::TObject* Sender);
    void MarkierteDateieninSammelkorblegen1Click(gui::TObject* Sender);
    void AlleEintrgeausListeentfernenClick(gui::TObject* Sender);
    void MarkierteDateienausSammelkorbentfernen1Click(gui::TObject* Sender);
    void ZuArchivhinzufgen1Click(gui::TObject* Sender);
    void AusArchivextrahieren1Click(gui::TObject* Sender);
    void Testen1Click(gui::TObject* Sender);
    void Fix1Click(gui::TObject* Sender);
    void Archivdatumaktualisieren1Click(gui::TObject* Sender);
    void InEXEDateiumwandeln1Click(gui::TObject* Sender);
    void EXEArchivzurckumwandeln1Click(gui::TObject* Sender);
    void MarkierungAnzeigenClick(gui::TObject* Sender);
    void MarkierungGruppeauswaehlenClick(gui::TObject* Sender);
    void DateiauswahlClick(gui::TObject* Sender);
    void NachNameClick(gui::TObject* Sender);
    void NaechstegefundeneDateiClick(gui::TObject* Sender);
    void VorherigegefundeneDateiClick(gui::TObject* Sender);
    void BearbeitenClick(gui::TObject* Sender);
    void TatschlichenSpeicherbedarfermitteln1Click(gui::TObject* Sender);
    void Verzeichnissevergleichen1Click(gui::TObject* Sender);
    void DateiSuchenClick(gui::TObject* Sender);
    void Dateileichensuchen1Click(gui::TObject* Sender);
    void Datentrgeinfo1Click(gui::TObject* Sender);
    void Benennen1Click(gui::TObject* Sender);
    void DiskKopierenClick(gui::TObject* Sender);
    void DiskFormatierenClick(gui::TObject* Sender);
    void Prfen1Click(gui::TObject* Sender);
    void Optimieren1Click(gui::TObject* Sender);
    void Gehezu1Click(gui::TObject* Sender);
    void Dokumentverknpfungen1Click(gui::TObject* Sender);
    void SchnellansichtClick(gui::TObject* Sender);
    void Verzeichnissesynchronisieren1Click(gui::TObject* Sender);
    void TeilenClick(gui::TObject* Sender);
    void Zusammenfgen1Click(gui::TObject* Sender);
    void Autostartmanageraufrufen1Click(gui::TObject* Sender);
    void Exittoolskonfigurieren1Click(gui::TObject* Sender);
    void ListederzuletztbenutztenDokumente1Click(gui::TObject* Sender);
    void DOSBefehlausfhren1Click(gui::TObject* Sender);
    void DOSBoxffnen1Click(gui::TObject* Sender);
    void Optionen1Click(gui::TObject* Sender);
    // The drive bars' monitors: a change on their drives shows in the free-space texts.
    void LWAuswahlMonitorChange(gui::TObject* Sender);

private:
    void BuildToolbar();
    // The tools (MainFormTools.cpp).
    void BindToolHandlers();
    // Starts File through the shell; false, after the error box, when it did not start.
    bool StartOutside(const std::wstring& File, const std::wstring& Parameters, const wchar_t* Error, int HelpContext);
    // Program, once per marked existing file of a non-archive pane, with the name quoted.
    void StartForMarkedFiles(const std::wstring& Program, const wchar_t* Error, int HelpContext);
    // Name in the running program's folder.
    static std::wstring ProgramFile(const std::wstring& Name);
    // The active pane unless it shows an archive.
    TDMChildForm* NonArchivePane() const;
    // A dialog of the window, made on first use and kept: the window owns it.
    template <class T, class... A>
    T& KeptDialog(A&&... Args) {
        for (int i = 0; i < ComponentCount(); ++i)
            if (auto* dlg = dynamic_cast<T*>(Components(i)))
                return *dlg;
        return *gui::Create<T>(this, std::forward<A>(Args)...);
    }
    bool m_toolbarShown = true;
    // What the top bar gives up when the toolbar is hidden: everything above the drive bar.
    int m_toolbarRowHeight = 0;

public:
    // End of menus and toolbar.

    TMRUFileList MRUFileList;
    // The title bar: "Velmora -" over a gradient; made with every window of the form.
    TMSOfficeCaption* MSOfficeCaption1 = nullptr;

    // The two panes; none until pane management makes them.
    TDMChildForm* LeftPane = nullptr;
    TDMChildForm* RightPane = nullptr;

    int LeftPaneWidth = 0;
    TFensterTyp ListKind = ftDateiliste;
    std::wstring PaneKinds;
    std::wstring StartFolderLeft, StartFolderRight;
    bool UseStartFolderLeft = false, UseStartFolderRight = false;
    bool ArchiveArgument = false;
    std::wstring SortLeft, SortRight;
    int FirstToolbarButton = 1;
    // Set while the archive routines show the progress panel.
    bool ArchiveRunning = false;

    std::unique_ptr<TEinstellungen> Settings;
    // RecentDirs, RecentFiles, RecentArcs and RecentParameters; the command-line
    // history is the item list of DOSBefehlszeile itself.
    std::unique_ptr<THistoryLists> History;
    std::unique_ptr<TStringList> ExtractedFiles;
    std::unique_ptr<TDateiListe> SearchResult, Basket;
    gui::TIcon BasketEmptyIcon, BasketFullIcon;
    std::wstring DesktopPath;
    // The named file types offered for marking and for the pane filters.
    TDateiTypListe DateiTypen;
    // The quick viewer's program; empty when none is registered or its file is missing.
    std::wstring QuickViewerCommand;

    bool FirstShow() const { return m_firstShow; }
    // The program's start: the window shows with its panes placed and their
    // folders read ahead meanwhile; FillDeferredPanes then fills them, the
    // active one first.
    void ShowFrameFirst();
    void FillDeferredPanes();
    // Set by the program's start before it makes the window that it shows it
    // frame first: the start's folders are then read ahead from the moment the
    // settings are loaded, and two file lists take the system's image lists
    // only when they are filled, so that the window need not wait for them.
    static inline bool StartsFrameFirst = false;
    bool CreateFailed() const { return m_createFailed; }
    bool Closing() const { return m_closing; }

    void FormCreate(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void FormResize(gui::TObject* Sender);
    // Virtual so that a test can make creation fail half-way.
    virtual void LoadSettings();
    void SaveSettings();
    // The layout of the splitter and the bottom bars.
    void ArrangePanes();
    // The command-line prompt: the folder lower-cased, without its trailing "\"
    // (a root keeps its colon) and followed by ">"; nothing for no existing folder.
    void SetDOSPfad(const std::wstring& Folder);

    // History lists (the rules are in HistoryRules.h) and the recent-folders menu.
    void AddDirHistory(const std::wstring& Folder);
    void AddPathHistory(const std::wstring& Path);
    void AddArchiveHistory(const std::wstring& File);
    void AddRecentDir(const std::wstring& Folder);
    void RefreshMRUList();
    void MRUFileListMRUItemClick(gui::TObject* Sender, const std::wstring& Path);

    // Status line: the free space of the drive bars and the two status panels.
    void ShowFreeSpace();
    // Panel 0: the entries of Folder, from a pane's own read of it when a pane
    // has read it, else counted by a thread.
    void StartPathInfoThread(const std::wstring& Folder);
    bool PaneFolderTotals(const std::wstring& Folder, std::int64_t& Count, std::int64_t& Bytes) const;
    void StartQuickViewThread(const std::wstring& Folder) override;
    void UpdatePaneStatus(const std::wstring& Archive) override;
    // Where the free space comes from: the file routines' answer unless replaced.
    TDiskFreeFunction DiskFree = FileRoutinesDiskFree;
    std::wstring LastPathInfoPath;
    std::wstring LastQuickViewPath;
    std::wstring LastArchiveStatusPath;
    // The last counter started for each panel, until it has ended.
    TPathInfoThread* PathInfoThread() const;
    TQuickViewThread* QuickViewThread() const;
    // The active pane, and the other one.
    TDMChildForm* ActivePane() const;
    TDMChildForm* InactivePane() const;
    // The program's first argument ('' without one), taken when the window is
    // made; a test's subclass puts its own in before creation ends.
    std::wstring CommandLineArgument;
    // The first command-line argument: an existing archive sets ArchiveArgument,
    // an existing folder becomes both start folders; a file that should be an
    // archive by its extension but cannot be read as one is reported.
    void TakeCommandLine(const std::wstring& FirstArgument);

    // Pane management: which pane stands on which side, its place and its folder,
    // and the drive bars that follow the panes.
    using TPaneFactory = std::function<TDMChildForm*(TFensterTyp Kind, THauptform& Host)>;
    // The base pane for every kind, owned by the window.
    static TDMChildForm* BasePaneFactory(TFensterTyp Kind, THauptform& Host);
    // Makes every pane; the pane it gives is owned by the window.
    TPaneFactory PaneFactory = BasePaneFactory;
    // Whether a folder can be shown; the file system's answer unless replaced.
    std::function<bool(const std::wstring& Path)> FolderExists = DirectoryExists;
    bool DriveBarsChanging = false;
    bool DriveBrowsing = false;
    // Set while the drive boxes read their lists again.
    bool DriveListsRefreshing = false;
    bool SplitterDragging = false;
    int SplitterStartX = 0;
    bool KeepFolders = false;
    bool TreeKeepInactive = false;
    bool BasketShownEmpty = true;
    // "Archivinhalt" was chosen in a tree pane; the show-marked command reads and clears it.
    bool ArchiveContentsFromTree = false;
    // Side 0 is the left, any other the right.
    void ShowPaneKind(int Side, TFensterTyp Kind);
    // Sender is a pane or a drive box; any other sender only makes Path the file
    // routines' current path.
    bool ShowDirectory(gui::TObject* Sender, const std::wstring& Path);
    bool ShowDirectory(TDMChildForm* Pane, const std::wstring& Path) override;
    void GoToParentDir(TDMChildForm* Pane) override;
    void SyncPanes(TDMChildForm* Pane, PCIDLIST_ABSOLUTE Pidl) override;
    void PaneActivated(TDMChildForm* Pane) override;
    void ShowSecondDriveBar();
    void HideSecondDriveBar();
    void UpdateBasketIcon();
    // Sets a side's drive bar to Drive without the bar's own change handling.
    void SelectDrive(int Side, wchar_t Drive);
    void AnsichtLinksRechtsClick(gui::TObject* Sender);
    void Fenstertauschen1Click(gui::TObject* Sender);
    void Aktualisieren1Click(gui::TObject* Sender);
    void MarkierungAllesAuswaehlenClick(gui::TObject* Sender);
    void MarkierungUmkehrenClick(gui::TObject* Sender);
    void SizePanelMouseDown(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void SizePanelMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y);
    void SizePanelMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
    void LWAuswahlChange(gui::TObject* Sender);
    void LWAuswahlKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    void LWAuswahlKeyPress(gui::TObject* Sender, wchar_t& Key);
    void LinkesLaufwerk1Click(gui::TObject* Sender);
    // A menu item of the window by name; null while the menus do not have it.
    gui::TMenuItem* MenuItem(const wchar_t* Name) const;

    // What panes ask of the window beyond pane management.
    bool LaufwerkWirdGewechselt() const override;
    std::wstring RecycleBinName() const override {
        LearnRecycleBin();
        return m_recycleBinName;
    }
    ULONG RecycleBinAttributes() const override {
        LearnRecycleBin();
        return m_recycleBinAttributes;
    }
    bool PaneReadingDeferred() const override { return m_panesDeferred; }
    bool ShowArchiveOnDoubleClick() const override;
    HWND OwnerWindow() const override { return m_handle; }
    void OpenFile(const std::wstring& FileName) override;
    void OpenFileEx(PCIDLIST_ABSOLUTE Pidl) override;
    void PaneDirChanged(TDMChildForm* Pane, const std::wstring& Archive) override;
    // Ticks the sort items (menu and pop-up) of a pane's sort mode (MainFormMenus.cpp).
    void CheckSortMenu(std::uint8_t State) override;
    void SetContextFolder(const std::wstring& Folder) override;
    bool TakeTreeKeepInactive() override { return std::exchange(TreeKeepInactive, false); }
    void FormKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) override;
    void FormKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) override;
    void PaneKeyDown(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) override;
    void PaneKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift) override;
    // The function-key bar: 0 plain captions, 1 those with Ctrl held, 2 with Alt held.
    std::uint8_t FKeySet = 0;
    bool FKeyCaptionsChanged = false;
    void ShowFKeyCaptions();
    // Key: VK_CONTROL or VK_MENU.
    void ShowModifierFKeyCaptions(WORD Key);
    // Section: the bar's panel from 0 (F1).
    void ButtonPanelSectionClick(gui::TObject* Sender, int Section);
    // Binds the keys and the function-key bar (MainFormHandlers.cpp).
    void BindKeyHandlers();
    void DOSBefehlszeileKeyUp(gui::TObject* Sender, WORD& Key, gui::TShiftState Shift);
    // Moves FoundIndex by Step through the search result, round, and goes to the hit.
    void StepFoundFile(int Step);
    void GoToFoundFile();
    // The filter dialog of marking and of the display filter, made on first use and kept.
    TFilterAuswahlDlg& FilterDialog();
    void ShowRecentFilesPopup(POINT Screen) override;
    void ShowPanePopup(TDMChildForm* Pane, POINT Screen) override;
    void StartDrag(TDMChildForm* Pane, const TStringList& Files) override;

    // Drag and drop (MainFormDragDrop.cpp). The state of the running drag: set
    // when a pane starts one, reset however it ends.
    struct TDragZustand {
        TDMChildForm* SourcePane = nullptr;
        bool FromArchive = false;
        // The archive of a drag of entries, else the dragged items' parent folder.
        std::wstring Folder;
        bool LeftWindow = true;
        // Clear from a pane's drag start until its drag loop returned: any drop
        // seen while it is set came from outside the program.
        bool Internal = true;
    };
    TDragZustand Drag;
    // The basket icon's drop target, on its windowed panel.
    THEOleDropTarget* SammelDropTarget = nullptr;
    // The system's drag loop; a test puts a script in its place.
    std::function<std::uint8_t(TDropSource& Source)> RunDragLoop = [](TDropSource& s) { return s.Execute(); };
    void StartArchiveDrag(TDMChildForm* Pane, const std::wstring& Archive, const TStringList& Entries) override;
    bool DragFromArchive() const override { return Drag.FromArchive; }
    std::wstring DragFolder() const override { return Drag.Folder; }
    void SetDragLeftWindow(bool Left) override { Drag.LeftWindow = Left; }
    void PaneDragDrop(bool Recycle, TStringList& Names, const std::wstring& Target, DWORD Effect) override;
    void DropOnBasket(const TStringList& Names) override;
    // Extracts the dragged entries of the drag's archive into Target.
    void DragDone(DWORD Effect, const std::wstring& Target, TStringList& Names);
    // The drag source's drop event: a drop of entries outside the program gets
    // them extracted into the program's own folder first.
    void DropSourceDrop(gui::TObject* Sender, TStringList& Names, DWORD Effect);
    // Adds copies of Records the basket does not hold yet; the basket panes read
    // again and the icon follows.
    void AddToBasket(const TDateiListe& Records);

    // Archive listing (MainFormArchive.cpp): the zip component, the lister and the
    // archive routines, made at creation; the routines reach the window through
    // ArchiveHost. The progress panel sets ArchiveRunning. AppExec starts the
    // outside packers for the routines, waiting, in their own folders.
    std::unique_ptr<archive::TZipLib> XZip;
    std::unique_ptr<TAppExec> AppExec;
    std::unique_ptr<arc::TArcLister> ArcLister;
    std::unique_ptr<archive::TZipRoutinen> ZipRoutinen;
    archive::TZipRoutinenHost& ArchiveHost() { return *m_archiveHost; }
    void ShowProgressPanel(bool Show);
    // Asks before it sets the zip component's abort flag.
    void AbortSbClick(gui::TObject* Sender);
    // Copies the archive settings into the zip component and the archive routines.
    void ApplyArchiverSettings();
    void XZipListing(archive::TZipLib* Sender, const archive::TZlFileStats& FileStats);
    void ArcListerRead(arc::TArcBase* Sender, int Filenum);
    void ArcListerTotals(arc::TArcBase* Sender, int NumFiles);
    // Side 0 is the left; Path an archive file. False when nothing was shown.
    bool OpenPathInPane(int Side, const std::wstring& Path);
    // The first showing's right side for an archive on the command line; false
    // when it is no archive any more. ArchiveArgument is cleared either way.
    bool ShowArchiveArgument();
    void ShowMarkedInPane(int Side);
    void ShowArchivePopup(TDMChildForm* Pane, POINT Screen) override;
    // The search (or the search-result pane) reads archives: no progress panel then.
    bool SearchReadsArchives = false;
    // The archive commands. While any archive routine runs, a listing included,
    // every archive entry point only beeps.
    bool ArchiveBusy() const;
    bool ArchiveRoutineRunning() const override;
    // The active pane for an archive command; nullptr (after a beep while busy)
    // when there is none to work on.
    TDMChildForm* ArchiveCommandPane();
    // The add command's names (short names where the format needs them), format
    // kind, packing level and mode from the add dialog; false when nothing is left.
    bool PrepareArchiveTarget(TStringList& Names, std::uint8_t& Format, int& Level, int& Mode);
    // Adds Names to the archive the add dialog names, with its password and options.
    void AddAsTheDialogSays(const TStringList& Names, std::uint8_t Format, int Level, int Mode);
    void OpenArchivedFile(TDMChildForm* Pane, const std::wstring& Archive, const std::wstring& Entry) override;
    // The program's own folder below the temporary folder for opened entries,
    // with "\"; made on first use.
    std::wstring ExtractFolder();
    // Each archive pane showing Archive (compared lower-cased) reads it again.
    void RereadArchivePanes(const std::wstring& Archive);
    // Deleting marked entries from the archive Pane shows, through its dialog.
    void DeleteFromArchivePane(TDMChildForm* Pane, TDateiListe& List);
    // The questions the archive routines ask during an operation (the host's).
    int XZipReplace(const std::wstring& FileName, std::wstring* NewName);
    int UnarjFileExists(const std::wstring& FileName);
    int XZipPwdQuery(const std::wstring& FileName, std::wstring& Password);
    bool XZipNewdisk(int Disk);
    void XZipFileEvent(const std::wstring& FileName, const wchar_t* Suffix);
    void UnarjBegin(const std::wstring& FileName);
    // The per-file status text and bar of an archive run, at most one of each
    // per 20 ms (a text costs about 2 ms under Wine); what was held back is
    // shown when the run ends.
    void ArchiveStatus(const std::wstring& Text);
    void ArchiveBar(int Position);
    void FlushArchiveStatus();
    // Status texts an archive run set, and the last one (for the tests).
    int ArchiveStatusTexts = 0;
    std::wstring LastArchiveStatus;
    archive::TAddArcDlg* AddArcDialog();
    // Date (0), repair (1), to a self-extracting program (2) and back (3).
    void ArchivListenBefehl(int Befehl);
    // A packed size with its saving: "3.00 KBytes (75%)".
    static std::wstring PackedText(std::int64_t Original, std::int64_t Packed);
    archive::TExtractArcDlg* ExtractArcDialog();
    archive::TDeleteFromArcDlg* DeleteFromArcDialog();
    archive::TZipReplaceDlg* ZipReplaceDialog();
    archive::TArcPassWortEingebenDlg* PasswortDialog();

    // File search and the search-result and basket panes (MainFormSearch.cpp).
    // The row of the search result the find-next command stands on; -1 before the first.
    std::int32_t FoundIndex = -1;
    TDateiListe* PaneRecords(TFensterTyp Kind) override;
    bool ArchiveKind(const std::wstring& Archive, std::uint8_t& Kind) override;
    bool ListArchive(std::uint8_t Kind, const std::wstring& Archive, TDateiListe& Entries) override;
    void BasketChanged() override { UpdateBasketIcon(); }
    // The search dialogs, made on first use; tests reach them here.
    TDateiSuchenDlg* SuchenDialog();
    TSuchFortschritt* SuchFortschritt();
    // End of archive listing.

    // Application handlers and timers.
    gui::TTimer Papierkorbtimer{this};
    gui::TTimer MRUFileListTimer{this};
    gui::TTimer ArcTimer{this};
    // What ArcTimer does when it fires: 0 show the marking (ArchiveTimerPane is
    // then a hidden menu item), 1 leave an archive (the archive pane, and the
    // folder to show). A pane freed before the timer fires is forgotten.
    int ArchiveTimerAction = 0;
    gui::TComponent* ArchiveTimerPane = nullptr;
    std::wstring ArchiveTimerFolder;
    // One monitor per drive with a recycle folder.
    std::vector<TDiscMonitor*> RecycleMonitors;
    // Kept from its first showing to the close.
    gui::TForm* AboutBox = nullptr;
    void AppActivate(gui::TObject* Sender);
    void ShowHint(gui::TObject* Sender);
    void AppException(gui::TObject* Sender, const Exception& E);
    void CreateRecycleMonitors();
    void RecycleFolderChanged(gui::TObject* Sender);
    void PapierkorbtimerTimer(gui::TObject* Sender);
    void MRUFileListTimerTimer(gui::TObject* Sender);
    void ArcTimerTimer(gui::TObject* Sender);
    // Arms ArcTimer (again): it fires once, 100 ms after the last arming.
    void ArmArcTimer(int Action, gui::TComponent* Pane, const std::wstring& Folder);
    void DateiBeendenClick(gui::TObject* Sender);
    void Hilfethemen1Click(gui::TObject* Sender);
    void InfoClick(gui::TObject* Sender);

    // File commands (MainFormCommands.cpp)
    // One start through the shell: a file or program by name with a verb (empty
    // for the default one), or a shell item by its ID list. The answer is the
    // shell's: above 32 when it started.
    struct TShellStart {
        std::wstring File, Verb, Parameters, Folder;
        PCIDLIST_ABSOLUTE Pidl = nullptr;
    };
    using TShellStartFunction = std::function<INT_PTR(HWND Owner, const TShellStart& Start)>;
    static INT_PTR SystemShellStart(HWND Owner, const TShellStart& Start);
    // Every program or file the file commands start goes through here.
    TShellStartFunction ShellStart = SystemShellStart;
    // Set while the command line has the focus.
    bool CommandLineFocused = false;
    // The folder of the tree node the pane pop-up was last opened on ("x:\" for a root).
    std::wstring ContextFolder;
    // What the file dialogs get of the window; refreshed before each showing.
    TDateiDialogKontext DialogKontext;
    void DOSBefehlszeileEnter(gui::TObject* Sender);
    void DOSBefehlszeileExit(gui::TObject* Sender);
    // Deletes the plain records from disk, then each archived one from its own
    // archive (one call per record; the archive routines are still to come).
    void DeleteFromArchives(TDateiListe& List);

private:
    void BindFileCommands();
    void RefreshDialogKontext();
    void RunCommandLine();
    // Starts command.com; false, after its box, when it did not start.
    bool StartCommandCom(const std::wstring& Parameters, const std::wstring& Folder);
    // The copy, move and link command, Vorgang 0, 1 and 2.
    void CopyMoveOrLink(gui::TObject* Sender, int Vorgang);
    // True when Sender is a pane pop-up item and the tree is active: the command
    // then works on ContextFolder instead of the pane's selection.
    bool FromContextFolder(gui::TObject* Sender) const;
    void ContextSelection(TDateiListe& List, bool RootAllowed);
    // Drops the records inside archives; true when any were dropped.
    static bool DropArchived(TDateiListe& List);
    void ReadListPanes();
    // After a file command: both panes' lists read again, and the status
    // line's counts of the folders they showed taken anew.
    void NachDateibefehl();
    void ZaehlungenErneuern();
    TDOSZeilenDlg* m_dosZeilenDlg = nullptr;
    TDateiKopierenDlg* m_kopierenDlg = nullptr;
    TLoeschDlg* m_loeschDlg = nullptr;
    TVerzeichnisErstellenDlg* m_ordnerDlg = nullptr;
    TDateiUmbenennenDlg* m_umbenennenDlg = nullptr;
    TAttributDialog* m_attributDlg = nullptr;
    TDateiAktionFortschrittDlg* m_linkJob = nullptr;
    TDateiSuchenDlg* m_suchenDlg = nullptr;
    TSuchFortschritt* m_suchFortschritt = nullptr;

public:
    // End of file commands.

    // The options command (MainFormMenus.cpp): its dialog, made on first use,
    // and the miscellaneous page's store followed by the recent-folders menu.
    TOptionenDlg* OptionenDialog() const { return m_optionenDlg; }
    void ApplyOptionsDialog();

private:
    TOptionenDlg* m_optionenDlg = nullptr;
    TExtArcKonfigDlg* m_extArcDlg = nullptr;

public:
    // Tells both counters to stop; their results are dropped from then on.
    void StopCounters();

protected:
    void CreateWnd() override;
    // Pane management: a freed pane leaves its side, and ArcTimer forgets it.
    void Notification(gui::TComponent* Component, gui::TOperation Operation) override;

private:
    void BuildLayout();
    void BuildTopBar();
    void BuildBottomBars();
    void CreateServiceObjects();
    // Waits for the system's image lists, built on a thread since the start.
    void CreateIconRoutines();
    void ApplyViewOptions();
    void LearnShellLocations();
    // Asked of the shell when a pane first wants it, not on the way to the
    // first window (the shell's recycle bin is slow to make).
    void LearnRecycleBin() const;
    void CleanUp();
    void ApplyStoredPos(const std::optional<std::vector<int>>& Pos);
    RECT NormalScreenBounds();
    void DeleteExtractedFiles();
    void BuildMenus();
    void FindArchiveTotals(const std::wstring& Archive, TArchivDaten& Daten, bool& Found);
    // Pane management
    void BindPaneHandlers();
    void SetItemChecked(const wchar_t* Name, bool Checked);
    void SetItemEnabled(const wchar_t* Name, bool Enabled);
    bool ItemChecked(const wchar_t* Name) const;
    void SetSortItemsEnabled(bool Enabled);
    void UntickPaneKind(int Side, TFensterTyp Kind);
    void TickPaneKind(int Side, TFensterTyp Kind);
    void ReplacePane(TDMChildForm*& Pane, TFensterTyp Kind);
    void FreePane(TDMChildForm*& Pane);
    void FollowDriveBars(int Side, TFensterTyp Kind);
    void ChooseSideFolder(int Side, TDMChildForm* Pane, TDMChildForm* Other, TFensterTyp Kind);
    std::wstring StoredStartFolder(int Side) const;
    void ReadStartFoldersAhead();
    void SetBarDrive(gui::TDriveComboBox& Box, TDiscMonitor& Monitor, wchar_t Drive);
    // Hands the Return key pressed in a focused drive box on to the box; false
    // when no drive box has the focus or the key is not down.
    bool PassEnterToDriveBox();
    bool TryShowDirectory(gui::TObject* Sender, const std::wstring& Path);
    void PlacePanes(int LeftWidth);
    void BringPanesToFront();
    bool IsLeftSender(gui::TObject* Sender) const;
    bool IsRightSender(gui::TObject* Sender) const;
    void SavePaneStates(TZuSpeicherndeFensterWerte& Werte);
    void RestorePaneSorts();
    void FreePanes();

    // Drag and drop
    void CreateDropTargets();
    void RunDrag(TDMChildForm* Pane, const TStringList& Names);
    void RecycleDrop(const TStringList& Names);
    void DropOnArchive(TStringList& Names, const std::wstring& Archive, DWORD Effect);
    void SetBasketDropState(bool On);
    bool m_basketAccepts = false;
    // A drop of entries on another program: what was extracted for it.
    bool m_outsideDrop = false;
    TStringList m_outsideEntries, m_outsideDelivered;

    // Archive listing
    void CreateArchiveObjects();
    void FreeArchiveObjects();
    std::unique_ptr<archive::TZipRoutinenHost> m_archiveHost;
    // The archive dialogs, made on first use.
    archive::TAddArcDlg* m_addArcDlg = nullptr;
    archive::TExtractArcDlg* m_extractArcDlg = nullptr;
    archive::TDeleteFromArcDlg* m_deleteFromArcDlg = nullptr;
    archive::TZipReplaceDlg* m_zipReplaceDlg = nullptr;
    archive::TArcPassWortEingebenDlg* m_passwortDlg = nullptr;
    std::wstring m_extractFolder;
    // Set while an archive command of this window runs its routine.
    bool m_archiveCommand = false;
    bool m_archiveTesting = false;
    // When an archive event last set the status text and the bar, and what
    // waits for the next one.
    DWORD m_lastArchiveStatus = 0;
    DWORD m_lastArchiveBar = 0;
    std::optional<std::wstring> m_pendingArchiveStatus;
    std::optional<int> m_pendingArchiveBar;
    // Showings of the progress panel not yet hidden: an operation nested in
    // another hides only its own.
    int m_progressShowings = 0;
    // Application handlers and timers
    void SetUpTimers();
    void InstallApplicationHandlers();
    void RemoveApplicationHandlers();
    void FreeRecycleMonitors();
    gui::TNotifyEvent m_previousOnActivate, m_previousOnHint;
    gui::TExceptionEvent m_previousOnException;
    bool m_handlersInstalled = false;

    // A counter clears its slot when it ends, so the window never holds a freed one.
    struct TCounterSlot {
        gui::TThread* Thread = nullptr;
    };
    std::shared_ptr<TCounterSlot> m_pathInfoSlot = std::make_shared<TCounterSlot>();
    std::shared_ptr<TCounterSlot> m_quickViewSlot = std::make_shared<TCounterSlot>();

    bool m_firstShow = true;
    bool m_panesDeferred = false;
    std::wstring m_deferredPathInfo;
    std::vector<std::shared_ptr<TOrdnerVorauslesen>> m_startFolderPasses;
    bool m_createFailed = false;
    // Set once the file types are loaded: only a list that was loaded is saved.
    bool m_dateiTypenGeladen = false;
    bool m_closing = false;
    mutable bool m_recycleBinKnown = false;
    mutable std::wstring m_recycleBinName;
    mutable ULONG m_recycleBinAttributes = 0;
    std::unique_ptr<TDateiRoutinen> m_dateiRoutinen;
    std::unique_ptr<TIconRoutinen> m_iconRoutinen;
};

extern THauptform* Hauptform;

}  // namespace velmora
