#pragma once
// Path and name helpers on plain strings ("\" separated, as on Windows).
// Nothing here touches the file system.

#include <string>
#include <string_view>

namespace velmora {

std::wstring IncludeTrailingBackslash(std::wstring_view path);
std::wstring ExcludeTrailingBackslash(std::wstring_view path);
// Everything up to and including the last "\", or the drive "x:" of "x:name";
// a colon elsewhere is part of the name.
std::wstring ExtractFilePath(std::wstring_view path);
// ExtractFilePath without the trailing "\" (but "C:\" keeps it).
std::wstring ExtractFileDir(std::wstring_view path);
std::wstring ExtractFileName(std::wstring_view path);
// The extension with its dot, or empty; a dot inside a folder name does not count.
std::wstring ExtractFileExt(std::wstring_view path);
std::wstring ChangeFileExt(std::wstring_view path, std::wstring_view ext);

}  // namespace velmora
