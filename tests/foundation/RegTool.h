#pragma once
// Test helpers around the classes root: a guard that refuses to run outside the
// build's own prefix, and read-back through the system's registry tool, which sees
// the registry as this program does.

#include <string>

namespace velmora::test {

// Fails the whole program unless Wine runs it in the prefix the build made.
void RequireBuildPrefix();

struct TRegToolResult {
    unsigned ExitCode = ~0u;
    std::string Output;
};

// Runs "reg.exe <Arguments>" and collects what it prints.
TRegToolResult RunRegTool(const std::wstring& Arguments);

// Sets the default value of a key below HKCR, making the key.
void SetClassesDefault(const std::wstring& Key, const std::wstring& Value);

// The system and the Windows folder, where open commands find bare program names.
std::wstring SystemFolder();
std::wstring WindowsFolder();

// Whether a key exists, named as the registry tool names it ("HKU\\...").
bool RegKeyExists(const std::wstring& FullKey);
// Whether the key below HKCR exists, as the registry tool sees it.
bool ClassesKeyExists(const std::wstring& Key);
// The default value of a key below HKCR as the registry tool lists it; "<missing>"
// when the key or the value is missing.
std::string ClassesDefault(const std::wstring& Key);

}  // namespace velmora::test
