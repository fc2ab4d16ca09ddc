#pragma once
// Shortcut files (".lnk") through the shell's shortcut object. The caller has
// initialised COM on this thread.

#include <string>

namespace velmora {

// Writes LinkFile pointing to Target; on any failure no file is written.
bool CreateShellLink(const std::wstring& Target, const std::wstring& LinkFile, const std::wstring& Description);
// The target in its short (8.3) form, or the path as stored when that form cannot be
// had (the target is gone); empty when LinkFile is no readable shortcut.
void ReadShellLink(const std::wstring& LinkFile, std::wstring& Target);

}  // namespace velmora
