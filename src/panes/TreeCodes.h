#pragma once
// The routine numbers of the folder tree pane (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_TREE_CODES(X)            \
    /* Operations. */                    \
    X(VBApplyOptions, 2601)              \
    X(VBSetFilter, 2602)                 \
    X(VBSetDirectory, 2603)              \
    X(VBGetDirectory, 2604)              \
    X(VBSelectDrive, 2605)               \
    X(VBRefreshDirectory, 2606)          \
    X(VBRefreshNode, 2607)               \
    X(VBGetSelection, 2608)              \
    X(VBShowVirtualFolder, 2609)         \
    X(VBSetSortOrder, 2610)              \
    X(VBOpenSelected, 2611)              \
    X(VBRecycleBinChanged, 2612)         \
    X(VBCleanUp, 2613)                   \
    X(VBAddNode, 2614)                   \
    X(VBLocate, 2615)                    \
    /* Handlers. */                      \
    X(VBFormCreate, 2630)                \
    X(VBFormActivate, 2631)              \
    X(VBChange, 2632)                    \
    X(VBExpanding, 2633)                 \
    X(VBCollapsing, 2634)                \
    X(VBCollapsed, 2635)                 \
    X(VBKeyDown, 2636)                   \
    X(VBKeyUp, 2637)                     \
    X(VBMouseDown, 2638)                 \
    X(VBMouseMove, 2639)                 \
    X(VBMouseUp, 2640)                   \
    X(VBDriveChange, 2641)               \
    X(VBWatchRefresh, 2642)

VELMORA_FC_SUBSYSTEM(6, VELMORA_TREE_CODES)
