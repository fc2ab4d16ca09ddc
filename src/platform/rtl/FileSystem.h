#pragma once
// File-system helpers over the Win32 kernel, with wide names throughout.

#include <string>
#include <string_view>
#include <vector>

namespace velmora {

bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::wstring& path);
// The 8.3 form of an existing path, or empty when the system cannot give one.
std::wstring ShortPathName(const std::wstring& path);
std::wstring LongPathName(const std::wstring& path);
std::wstring FullPathName(const std::wstring& path);
// The system's temporary folder with a trailing "\".
std::wstring TempDirectory();

// The program's command line split by the class library's rules: blanks separate,
// double quotes group and are dropped, a backslash is an ordinary character.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);
// ParamStr(0) is the program file's full path; 1.. are the arguments.
std::wstring ParamStr(int index);
int ParamCount();

}  // namespace velmora
