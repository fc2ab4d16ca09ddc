#pragma once
// Program-wide flags of the main program, all cleared when the main window is
// created. They live here so that the panes and the file routines can read them
// without the main window.

#include <string>

namespace velmora {

// A shell copy, move or delete runs: the panes ignore folder notifications, and
// the main window refuses to close.
extern bool DateiOperationLaeuft;
extern bool DropWirdVerarbeitet;
extern bool LaufwerkWirdGewechselt;
extern bool OrdnerWirdErstellt;

// Set by the go-to-parent command: after its next read a file list focuses and
// selects the entry of this name (or path) instead of its first row, and clears
// the flag.
extern bool NachLesenFokussieren;
extern std::wstring NachLesenFokusName;

}  // namespace velmora
