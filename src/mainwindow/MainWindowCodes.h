#pragma once
// The routine numbers of the main window and its panes (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_MAINWINDOW_CODES(X) \
    /* Pane management: a side's new pane by kind (tree, lists, search result, */ \
    /* basket, archive) and its folder, left then right. */ \
    X(ShowPaneKindLeftTree, 1)      \
    X(ShowPaneKindLeftList, 2)      \
    X(ShowPaneKindLeftDetails, 3)   \
    X(ShowPaneKindLeftSearch, 4)    \
    X(ShowPaneKindLeftBasket, 5)    \
    X(ShowPaneKindLeftArchive, 6)   \
    X(ShowPaneKindLeftFolder, 7)    \
    X(ShowPaneKindRightTree, 8)     \
    X(ShowPaneKindRightList, 9)     \
    X(ShowPaneKindRightDetails, 10) \
    X(ShowPaneKindRightSearch, 11)  \
    X(ShowPaneKindRightBasket, 12)  \
    X(ShowPaneKindRightArchive, 13) \
    X(ShowPaneKindRightFolder, 14)  \
    X(ArrangePanes, 15)             \
    X(CreateRecycleMonitors, 16)    \
    X(SyncPanes, 23)                \
    X(GoToParentDir, 24)            \
    X(ShowDirectory, 25)            \
    X(SelectDrive, 27)              \
    /* File commands. */            \
    X(OpenFile, 26)                 \
    X(DateiVerzeichnisErstellenClick, 28) \
    X(DeleteFromArchives, 30)       \
    X(DateiLoeschenClick, 31)       \
    X(AttributeSetzen1Click, 32)    \
    X(DateiUmbenennenClick, 33)     \
    X(DateiDruckenClick, 34)        \
    X(DateiKopierenClick, 35)       \
    X(DateiVerschiebenClick, 36)    \
    X(DateiVerknuepfungerstellenClick, 37) \
    X(OpenFileEx, 2401)             \
    X(DateiOeffnenClick, 2402)      \
    X(Fenstertauschen1Click, 67)    \
    X(Dateileichensuchen1Click, 65) \
    X(PaneActivated, 2301)          \
    X(AnsichtLinksRechtsClick, 2302) \
    X(DriveBoxChange, 2303)         \
    X(ShowSecondDriveBar, 2304)     \
    X(HideSecondDriveBar, 2305)     \
    X(UpdateBasketIcon, 2306)       \
    X(SplitterDrag, 2307)           \
    /* Application handlers and timers. */ \
    X(PapierkorbtimerTimer, 2321)   \
    X(ArcTimerTimer, 2322)          \
    X(MRUFileListTimerTimer, 2323)  \
    X(AppActivate, 2324)            \
    X(InfoClick, 2325)              \
    /* Life cycle and window values. */ \
    X(HauptformFormCreate, 18)      \
    X(HauptformFormShow, 19)        \
    /* Status line. */              \
    X(StartPathInfoThread, 20)      \
    X(UpdatePaneStatus, 21)         \
    X(StartQuickViewThread, 22)     \
    /* History lists and the recent-folders menu. */ \
    X(AddDirHistory, 56)            \
    X(AddPathHistory, 57)           \
    X(AddArchiveHistory, 58)        \
    X(AddRecentDir, 68)             \
    /* Toolbar. */                  \
    X(ArrangeToolbar, 69)           \
    X(RefreshMRUList, 71)           \
    X(Optionen1Click, 72)           \
    X(HauptformLoadSettings, 81)    \
    X(HauptformSaveSettings, 82)    \
    /* Archive listing: showing an archive or the marking in a side. */ \
    X(ShowMarkedInPane, 41)         \
    X(OpenPathInPane, 42)           \
    X(MarkierungAnzeigenClick, 59)  \
    /* Marking and the display filter. */ \
    X(MarkierungGruppeauswaehlenClick, 39) \
    X(DateiauswahlClick, 40)        \
    X(DOSBefehlszeileKeyUp, 66)     \
    X(GoToFoundFile, 38) \
    /* Archive commands. */         \
    X(PrepareArchiveTarget, 43)     \
    X(ZuArchivhinzufgen1Click, 44)  \
    X(AusArchivextrahieren1Click, 45) \
    X(Archivdatumaktualisieren1Click, 46) \
    X(Testen1Click, 47)             \
    X(Fix1Click, 48)                \
    X(DateiEigenschaftenClick, 49)  \
    X(UnarjFileExists, 50)          \
    X(InEXEDateiumwandeln1Click, 51) \
    X(EXEArchivzurckumwandeln1Click, 52) \
    X(OpenArchivedFile, 53)         \
    /* Tools. */                    \
    X(TeilenClick, 60)              \
    X(Zusammenfgen1Click, 61)       \
    X(Verzeichnissevergleichen1Click, 62) \
    X(SchnellansichtClick, 63)      \
    X(BearbeitenClick, 64)

VELMORA_FC_SUBSYSTEM(2, VELMORA_MAINWINDOW_CODES)
