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

// Main window life cycle.
inline constexpr std::uint16_t HauptformFormCreate = 2018;
inline constexpr std::uint16_t HauptformFormShow = 2019;
inline constexpr std::uint16_t HauptformLoadSettings = 2081;
inline constexpr std::uint16_t HauptformSaveSettings = 2082;

// Settings object: one number per loader and saver.
inline constexpr std::uint16_t EinstellungenLoadAll = 1301;
inline constexpr std::uint16_t EinstellungenSaveAll = 1302;
inline constexpr std::uint16_t LoadDateiliste = 1303;
inline constexpr std::uint16_t LoadADateiliste = 1304;
inline constexpr std::uint16_t LoadSucherg = 1305;
inline constexpr std::uint16_t LoadArcView = 1306;
inline constexpr std::uint16_t LoadAnsicht = 1307;
inline constexpr std::uint16_t LoadBest = 1308;
inline constexpr std::uint16_t LoadArc = 1309;
inline constexpr std::uint16_t LoadArcDragDrop = 1310;
inline constexpr std::uint16_t LoadSonstiges = 1311;
inline constexpr std::uint16_t LoadDragDrop = 1312;
inline constexpr std::uint16_t LoadOftBenVerz = 1313;
inline constexpr std::uint16_t SaveDateiliste = 1323;
inline constexpr std::uint16_t SaveADateiliste = 1324;
inline constexpr std::uint16_t SaveSucherg = 1325;
inline constexpr std::uint16_t SaveArcView = 1326;
inline constexpr std::uint16_t SaveAnsicht = 1327;
inline constexpr std::uint16_t SaveBest = 1328;
inline constexpr std::uint16_t SaveArc = 1329;
inline constexpr std::uint16_t SaveArcDragDrop = 1330;
inline constexpr std::uint16_t SaveSonstiges = 1331;
inline constexpr std::uint16_t SaveDragDrop = 1332;
inline constexpr std::uint16_t SaveOftBenVerz = 1333;

// File records.
inline constexpr std::uint16_t SortierRoutinenQuickSort = 1501;

// Byte-size texts of the panes and the status line: a fixed number, kept apart
// from the blocks above.
inline constexpr std::uint16_t FormatByteSize = 164;
}

// Start-up step, run before any window exists.
void InitFehlercode();

}  // namespace velmora
