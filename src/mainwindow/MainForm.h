#pragma once
// THauptform: Velmora's one main window, an MDI frame whose two children are the
// panes. Its creation makes the service objects and reads the window values, its
// first showing sets up the sides, its close saves and frees everything again.
// Pane management, status line, application handlers, menus and commands build
// on the fields below.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DMChild_Vorlage.h"
#include "FensterEinstellungen.h"
#include "filetools/DateiRoutinen.h"
#include "StatusThreads.h"
#include "foundation/DiscMon.h"
#include "foundation/EineDatei.h"
#include "foundation/Einstellungen.h"
#include "foundation/FileOperator.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ProgrammFlags.h"
#include "foundation/controls/FileLbl.h"
#include "foundation/controls/MRUList.h"
#include "foundation/controls/Wall.h"
#include "foundation/controls/Wordcap.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Panel.h"
#include "platform/gui/ProgressBar.h"
#include "platform/gui/StatusBar.h"

namespace velmora {

// The file routines' total and free bytes of a drive; false while they do not exist.
bool FileRoutinesDiskFree(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total);

class THauptform : public gui::TForm {
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
    // The main menu; the view menu carries the recent folders.
    gui::TMainMenu MainMenu;
    gui::TMenuItem AnsichtMenu;
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
    std::wstring RecycleBinName;
    ULONG RecycleBinAttributes = 0;
    std::wstring DesktopPath;

    bool FirstShow() const { return m_firstShow; }
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
    // Stands in for showing a folder in a pane until pane management does it:
    // nothing happens unless a caller sets it.
    std::function<void(TDMChildForm* Pane, const std::wstring& Folder)> ShowDirectorySeam;

    // Status line: the free space of the drive bars and the two status panels.
    void ShowFreeSpace();
    void StartPathInfoThread(const std::wstring& Folder);
    void StartQuickViewThread(const std::wstring& Folder);
    void UpdatePaneStatus(const std::wstring& Archive);
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
    // The first command-line argument: an existing folder becomes both start folders.
    void TakeCommandLine(const std::wstring& FirstArgument);

protected:
    void CreateWnd() override;

private:
    void BuildLayout();
    void BuildTopBar();
    void BuildBottomBars();
    void CreateServiceObjects();
    void ApplyViewOptions();
    void LearnShellLocations();
    void CleanUp();
    void ApplyStoredPos(const std::optional<std::vector<int>>& Pos);
    RECT NormalScreenBounds();
    void DeleteExtractedFiles();
    void BuildMenus();
    void FindArchiveTotals(const std::wstring& Archive, TArchivDaten& Daten, bool& Found);
    // Tells both counters to stop; their results are dropped from then on.
    void StopCounters();

    // A counter clears its slot when it ends, so the window never holds a freed one.
    struct TCounterSlot {
        gui::TThread* Thread = nullptr;
    };
    std::shared_ptr<TCounterSlot> m_pathInfoSlot = std::make_shared<TCounterSlot>();
    std::shared_ptr<TCounterSlot> m_quickViewSlot = std::make_shared<TCounterSlot>();

    bool m_firstShow = true;
    bool m_createFailed = false;
    bool m_closing = false;
    std::unique_ptr<TDateiRoutinen> m_dateiRoutinen;
    std::unique_ptr<TIconRoutinen> m_iconRoutinen;
};

extern THauptform* Hauptform;

}  // namespace velmora
