#pragma once
// The main program's start: the explicit start-up and shut-down lists, the
// one-time registration the installer asks for, and the hand-over to the
// message loop.

#include <string>
#include <vector>

namespace velmora {

inline const std::wstring ErsterAufruf = L"/ALLERALLERERSTERAUFRUF";

// In place of unit initialisation order: what must run before anything else, in
// this order, and its counterpart at the end.
void VelmoraStartUp();
void VelmoraShutDown();

// Exactly one argument, and exactly the special one (case matters).
bool IsFirstRunCall(const std::vector<std::wstring>& arguments);
// The folder of the program file with exactly one trailing "\".
std::wstring ProgramFolder(const std::wstring& programFile);
// "Pfad" under "Velmora\1.0\".
void WriteProgramPath(const std::wstring& programFile);

// The uninstall entry and the two start-menu shortcuts.
void FirstRunRegistration(const std::wstring& programFile);
void WriteUninstallEntry();

// The whole start; the process's exit code.
int RunVelmora();

}  // namespace velmora
