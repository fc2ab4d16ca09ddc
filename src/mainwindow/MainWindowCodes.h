#pragma once
// The main window's routine numbers for the trace word (Fehlercode.h): the
// numbers these routines have always shown in the exception box.

#include <cstdint>

namespace velmora::fc {

// Status line.
inline constexpr std::uint16_t StartPathInfoThread = 20;
inline constexpr std::uint16_t UpdatePaneStatus = 21;
inline constexpr std::uint16_t StartQuickViewThread = 22;

// History lists and the recent-folders menu.
inline constexpr std::uint16_t AddDirHistory = 56;
inline constexpr std::uint16_t AddPathHistory = 57;
inline constexpr std::uint16_t AddArchiveHistory = 58;
inline constexpr std::uint16_t AddRecentDir = 68;
inline constexpr std::uint16_t RefreshMRUList = 71;

}  // namespace velmora::fc
