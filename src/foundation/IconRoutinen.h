#pragma once
// TIconRoutinen: the icons of the panes and lists. It shares the shell's system
// image lists (never destroying them), appends the program's six own icons to
// them, and says which icon belongs to a name: the program's own by extension,
// or the shell's for names that need not exist (entries inside archives).

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace velmora {

class TIconRoutinen {
public:
    TIconRoutinen();
    TIconRoutinen(const TIconRoutinen&) = delete;
    TIconRoutinen& operator=(const TIconRoutinen&) = delete;

    int FolderIndex = 0;
    int ProgramIndex = 0;
    int ArchiveIndex = 0;
    int OpenArchiveIndex = 0;
    int UnknownIndex = 0;
    HIMAGELIST SmallImages = nullptr;
    HIMAGELIST LargeImages = nullptr;
    int UpDirIndex = 0;

    int GetIconIndex(const std::wstring& Name) const;
    int GetArchiveIconIndex() const { return ArchiveIndex; }
    int GetOpenArchiveIconIndex() const { return OpenArchiveIndex; }
    int GetSystemIconIndex(const std::wstring& Name, DWORD Attributes) const;
    void GetFileTypeName(const std::wstring& Name, std::wstring& TypeName) const;
};

// The program's one instance, made and freed by the main window.
extern TIconRoutinen* IconRoutinen;

// Starts building the shell's system image lists and appending the program's
// own icons on a thread of their own (a tenth of a second), so that the
// program's start goes on meanwhile; the first TIconRoutinen waits for it and
// takes its lists. Once per process; later calls do nothing.
void SystemImageListsVorbereiten();

// The extension that decides the program's own icon: after the last "." that
// follows the last ":" or "\", lower-cased and cut to three characters.
std::wstring IconExtension(const std::wstring& Name);

}  // namespace velmora
