#pragma once
// The routine numbers of the file list pane (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_FILELIST_CODES(X)       \
    /* Reading and filling. */          \
    X(DLReadContents, 2101)             \
    X(DLFillList, 2102)                 \
    X(DLAddEntry, 2103)                 \
    X(DLApplyOptions, 2104)             \
    X(DLSetDirectory, 2105)             \
    X(DLShowVirtualFolder, 2106)        \
    X(DLRebuildColumns, 2107)           \
    X(DLSetPaneKind, 2108)              \
    X(DLSetSortOrder, 2109)             \
    /* Marks and lists handed out. */   \
    X(DLSelectGroup, 2110)              \
    X(DLSelectFile, 2111)               \
    X(DLMarkDifferences, 2112)          \
    X(DLGetSelection, 2113)             \
    X(DLGetAllEntries, 2114)            \
    /* Status line. */                  \
    X(DLUpdateStatusLine, 2120)         \
    X(DLSumSelectedSizes, 2121)         \
    /* Handlers. */                     \
    X(DLFormCreate, 2130)               \
    X(DLFormDestroy, 2131)              \
    X(DLFormResize, 2132)               \
    X(DLFormActivate, 2133)             \
    X(DLDrawItem, 2134)                 \
    X(DLDblClick, 2135)                 \
    X(DLChange, 2136)                   \
    X(DLColumnClick, 2137)              \
    X(DLKeyDown, 2138)                  \
    X(DLKeyPress, 2139)                 \
    X(DLKeyUp, 2140)                    \
    X(DLMouseDown, 2141)                \
    X(DLMouseMove, 2142)                \
    X(DLMouseUp, 2143)                  \
    X(DLDiscMonitorChange, 2144)

VELMORA_FC_SUBSYSTEM(4, VELMORA_FILELIST_CODES)
