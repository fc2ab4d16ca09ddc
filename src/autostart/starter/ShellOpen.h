#pragma once
// How the autostarter starts a program: through the shell, as the user would.

#include <string>

namespace velmora {

// "open" with Parameters, no working folder, shown normally; the shell's result,
// where 32 or less is a failure. The shell shows no error dialog of its own.
long long ShellOpen(const std::wstring& file, const std::wstring& parameters);

}  // namespace velmora
