#pragma once
// The autostart list in the default-user store: key "Autostartman" directly below
// the maker's key, one subkey per entry named by its position ("0", "1", ...),
// each with five string values.

#include <string>
#include <vector>

#include "autostart/common/Eintrag.h"

namespace velmora {

inline const std::wstring AutostartKey = L"Autostartman";

using TEintragList = std::vector<TEintrag>;

// Only hand editing produces anything but subkeys "0".."N-1" with decimal numbers,
// and even then no entry is lost: subkeys named by a number come in numeric order,
// any others after them in the order listed; a missing or non-decimal "Wartezeit"
// reads as the default wait and one outside 0..30 as the nearer limit; an "Aktion"
// other than "0" reads as "do not start", so nothing is started that the manager
// would show as "nein". A missing key is an empty list.
TEintragList LoadAutostartList();

// Deletes every existing entry subkey first, then writes the entries as "0" up to
// count-1; the numbers as decimal text.
void SaveAutostartList(const TEintragList& list);

// The conversions behind the loader, for one value each.
std::uint8_t ParseWartezeit(const std::wstring& text);
std::uint8_t ParseAktion(const std::wstring& text);

}  // namespace velmora
