#pragma once
// The rules by which the main window's history lists grow. Folders, paths and
// archives are kept lower-cased, oldest first; parameters and command lines as
// typed, newest first. The window only forwards to these functions.

#include <string>

#include "FensterEinstellungen.h"
#include "platform/rtl/StringList.h"

namespace velmora {

// The history lists hold this many entries at most once they grow by adding.
inline constexpr int kHistoryLimit = 20;

// Lower-cased in the user's locale, as every stored path is.
std::wstring HistoryLower(const std::wstring& Text);
// One trailing "\" removed and lower-cased: "C:\Daten\" gives "c:\daten", "C:\" gives "c:".
std::wstring HistoryFolder(const std::wstring& Folder);

// Each also adds the value to the paths list.
void AddDirHistory(THistoryLists& Lists, const std::wstring& Folder);
void AddPathHistory(THistoryLists& Lists, const std::wstring& Path);
void AddArchiveHistory(THistoryLists& Lists, const std::wstring& File);

// Parameters and command lines: an empty text changes nothing; otherwise every
// entry equal to it in any case goes, the text as typed goes to the top, and at
// most kHistoryLimit entries remain.
void AddNewestFirst(TStringList& List, const std::wstring& Text);

// Whether a folder (as HistoryFolder gives it) is one of the favourites,
// which are compared lower-cased as the recent-folders menu compares.
bool IsFavouriteFolder(const TStringList& Favourites, const std::wstring& Folder);

}  // namespace velmora
