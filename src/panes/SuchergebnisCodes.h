#pragma once
// The routine numbers of the search-result and basket pane (see foundation/Fehlercode.h).

#include "foundation/Fehlercode.h"

#define VELMORA_SUCHERGEBNIS_CODES(X) \
    X(SuchergebnisReadContents, 2701)

VELMORA_FC_SUBSYSTEM(8, VELMORA_SUCHERGEBNIS_CODES)
