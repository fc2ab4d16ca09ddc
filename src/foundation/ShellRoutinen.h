#pragma once
// Plain routines over the shell namespace: display names, parsing paths into item
// identifier lists, the shell's context menu and property sheet of an item, and the
// file information a file list shows in its rows. Every failing shell call ends
// the routine quietly: no menu, an empty name, false or index 0. Nothing raises.

#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>

#include "ItemData.h"
#include "Pidl.h"

namespace velmora {

// Set while the shell's context menu of an item is open: the main window shows no
// menu hints in its status line meanwhile.
extern bool KontextmenueOffen;

bool PidlAnzeigename(IShellFolder* Folder, LPCITEMIDLIST Pidl, DWORD Flags, std::wstring& Name);
// A path of MAX_PATH characters or more is refused, never cut and parsed.
bool PfadZuPidl(IShellFolder* Folder, const std::wstring& Path, TPidl& Pidl, HWND Owner);

void PidlEigenschaften(HWND Owner, IShellFolder* Folder, LPCITEMIDLIST Pidl, ULONG Attributes);
void PidlKontextmenue(HWND Owner, IShellFolder* Folder, LPCITEMIDLIST Pidl, POINT ScreenPoint);

enum class TKontextModus { Menue = 0, Eigenschaften = 1 };
// True when the item was found and its menu or property sheet was offered.
bool Kontextmenue(const std::wstring& Path, TKontextModus Mode, HWND Owner, POINT ScreenPoint);
bool KontextmenueZeigen(const std::wstring& Path, HWND Owner, POINT ScreenPoint);
bool DateiEigenschaftenZeigen(const std::wstring& Path, HWND Owner);

// Loads size, attributes, local modification time and 8.3 name from the file the
// item's absolute list names; false (the record unchanged) without a file-system
// path or when nothing is found.
bool DateiInfoAusPidl(TItemData& Item);

int SysIconIndex(LPCITEMIDLIST AbsPidl, UINT Flags);
// TypeName is at most 80 characters.
int DateiTypName(LPCITEMIDLIST AbsPidl, UINT Flags, std::wstring& TypeName);
int DateiTypNameOhneZugriff(LPCITEMIDLIST AbsPidl, std::wstring& TypeName);

// "a", "r", "v", "s" or "-" for archive, read-only, hidden and system.
std::wstring AttributString(DWORD Attributes);
// Kilobytes rounded to the nearest, a tie to the even one, at least 1 for a
// non-empty file: "0 KB", "1 KB", "2 KB" for 1536 and 2560 bytes.
std::wstring GroesseInKB(std::int64_t Bytes);

}  // namespace velmora
