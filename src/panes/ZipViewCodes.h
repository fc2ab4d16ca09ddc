#pragma once
// The routine numbers of the archive pane (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_ZIPVIEW_CODES(X)        \
    X(ZipViewReadContents, 2501)        \
    X(ZipViewFillList, 2502)            \
    X(ZipViewSetSortOrder, 2503)        \
    X(ZipViewNavigate, 2504)

VELMORA_FC_SUBSYSTEM(7, VELMORA_ZIPVIEW_CODES)
