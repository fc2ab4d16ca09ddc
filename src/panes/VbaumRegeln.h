#pragma once
// The folder tree's rules that need no window: which shell items become nodes,
// the attribute filter, the archive probe behind the expand mark, node paths,
// sort requests, and the watch pass over a snapshot of the expanded part.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

constexpr ULONG kVbaumAttributMaske = 0xF00F0177;
constexpr ULONG kAttrOrdner = 0x20000000;
constexpr ULONG kAttrDateisystemVorfahr = 0x10000000;
constexpr ULONG kAttrDateisystem = 0x40000000;
constexpr ULONG kAttrHatUnterordner = 0x80000000;
constexpr std::uint8_t kVbaumUnsortiert = 10;

enum class TKnotenArt { Keiner, Ordner, Archiv };

// Folders and file-system ancestors; other file-system items only with an archive
// extension; everything else is no node.
TKnotenArt KnotenArt(ULONG ShellAttr, const std::wstring& ParsingName);
// True when a flag that is off hides an item of these file attributes.
bool DurchAttributeAusgeblendet(DWORD FileAttr, bool ReadOnly, bool Hidden, bool System);
// Whether Folder holds a file of an archive kind; at most seven find-first calls.
bool HaeltArchive(const std::wstring& Folder);
// The path a node shows: folders with a trailing "\", archives without, "" when none.
std::wstring KnotenPfad(const std::wstring& RawPath, ULONG ShellAttr);
// The sort state after Request (requests 1 and 3 act as 0 and 2).
std::uint8_t VbaumSortZustand(std::uint8_t Zustand, std::uint8_t Anfrage);
// The shell column of a sort state and its direction (+1 or -1).
int VbaumSortSpalte(std::uint8_t Zustand);
int VbaumSortRichtung(std::uint8_t Zustand);

// One node of the expanded part, in depth-first order: its path ("" when it has
// none), whether it must be a folder, and its parent's path.
struct TWachEintrag {
    std::wstring Pfad;
    bool Ordner = true;
    std::wstring ElternPfad;
};
using TWachSchnappschuss = std::vector<TWachEintrag>;

// The parent path of the first entry that no longer exists; none when all exist
// or when Stop was set before the walk got there.
std::optional<std::wstring> ErsterVerschwundenerElternpfad(const TWachSchnappschuss& Schnappschuss,
                                                            const std::atomic<bool>& Stop);

}  // namespace velmora
