#pragma once
// The program-wide trace word. Each of the main program's routines that can fail
// stores its own number here as its first step and 0 as the last step of a normal
// run, never from a destructor or scope guard: when an exception escapes, the
// number of the routine that ran last stays for the exception handler to show.

#include <cstdint>

namespace velmora {

extern std::uint16_t Fehlercode;

// Routine numbers are unique across the program: 1xxx foundation, 2xxx main window
// and panes, 3xxx file commands and tools, 5xxx archive operations, 6xxx autostart.
namespace fc {
inline constexpr std::uint16_t RegExpandKeyPattern = 1101;
}

// Start-up step, run before any window exists.
void InitFehlercode();

}  // namespace velmora
