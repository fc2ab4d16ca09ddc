#pragma once
// Routine numbers of the file commands and tools for the trace word Fehlercode.

#include <cstdint>

namespace velmora::fc {

// File routines: one number per routine.
inline constexpr std::uint16_t DateiRoutinenCreate = 3001;
inline constexpr std::uint16_t ExtractExt = 3002;
inline constexpr std::uint16_t DriveReady = 3003;
inline constexpr std::uint16_t CheckDriveAccess = 3004;
inline constexpr std::uint16_t DirectoryExistsCheck = 3005;
inline constexpr std::uint16_t SetCurrentPath = 3006;
inline constexpr std::uint16_t GetCurrentPath = 3007;
inline constexpr std::uint16_t GetOtherDrivePath = 3008;
inline constexpr std::uint16_t ResetPaths = 3009;
inline constexpr std::uint16_t NormalizePath = 3010;
inline constexpr std::uint16_t GetDiskFree = 3011;
inline constexpr std::uint16_t IsInStartupFolder = 3012;
inline constexpr std::uint16_t IsValidFileName = 3013;
inline constexpr std::uint16_t CommonPathOfList = 3014;
inline constexpr std::uint16_t CommonPathOfStrings = 3015;
inline constexpr std::uint16_t MatchesMask = 3016;
inline constexpr std::uint16_t DateiRoutinenCreateDirectory = 3017;
inline constexpr std::uint16_t SetAttributes = 3018;
inline constexpr std::uint16_t SetFileDate = 3019;
inline constexpr std::uint16_t RenameFile = 3020;
inline constexpr std::uint16_t PrintFile = 3021;
inline constexpr std::uint16_t CopyFiles = 3022;
inline constexpr std::uint16_t CopyFilesForSync = 3023;
inline constexpr std::uint16_t MoveFiles = 3024;
inline constexpr std::uint16_t DeleteFiles = 3025;
inline constexpr std::uint16_t WipeFiles = 3026;
inline constexpr std::uint16_t CreateLinks = 3027;

}  // namespace velmora::fc
