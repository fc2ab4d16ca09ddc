#pragma once
// The routine numbers of the main window and its panes (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_MAINWINDOW_CODES(X) \
    /* Pane management. */          \
    X(ArrangePanes, 15)             \
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
    X(HauptformLoadSettings, 81)    \
    X(HauptformSaveSettings, 82)    \
    /* Byte-size texts of the panes and the status line. */ \
    X(FormatByteSize, 164)

VELMORA_FC_SUBSYSTEM(2, VELMORA_MAINWINDOW_CODES)
