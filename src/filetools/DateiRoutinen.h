#pragma once
// TDateiRoutinen: the service through which every window copies, moves, deletes,
// wipes, renames, re-dates, re-attributes and prints files, creates folders and
// shortcuts, matches names against wildcard masks and checks drives. Copy, move
// and delete go to the main window's shell file-operation component; the wipe is
// done here. Failures are told in the German boxes of the class library; no
// routine raises an exception of its own.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/EineDatei.h"
#include "foundation/FileOperator.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

namespace velmora {

struct TLaufwerk {
    wchar_t Buchstabe = L'a';
    std::wstring Label;  // at most 260 characters
    std::uint32_t Seriennummer = 0xFFFFFFFF;  // not read yet
};

// The wipe's way to the disk; tests replace it to watch or fail the writes.
class TNullSchreiber {
public:
    virtual ~TNullSchreiber() = default;
    // Opens an existing file for writing, never truncating it.
    virtual HANDLE Open(const std::wstring& Name);
    virtual bool Write(HANDLE File, const void* Buffer, DWORD Count, DWORD& Written);
    virtual bool Flush(HANDLE File);
    virtual void Close(HANDLE File);
};

// The link and split job of the file commands, which makes the shortcuts.
class TLinkErsteller {
public:
    virtual ~TLinkErsteller() = default;
    virtual void CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder, const TDateiListe& List) = 0;
};

class TDateiRoutinen {
public:
    // Operator is the main window's shell file-operation component.
    explicit TDateiRoutinen(TFileOperator& Operator);
    TDateiRoutinen(const TDateiRoutinen&) = delete;
    TDateiRoutinen& operator=(const TDateiRoutinen&) = delete;

    std::vector<TLaufwerk> Laufwerke;
    TStringList LaufwerksWurzeln;  // "a:\", "c:\", ...
    std::wstring AktuellerPfad;
    std::wstring AndererLaufwerksPfad;

    // Drives and paths.
    static std::wstring ExtractExt(const std::wstring& Name);
    bool DriveReady(wchar_t Drive);
    // Asks again and again while the drive is not ready; false after "Abbrechen".
    bool CheckDriveAccess(wchar_t Drive);
    bool DirectoryExistsCheck(const std::wstring& Path, bool& Flag);
    void SetCurrentPath(const std::wstring& Path);
    std::wstring GetCurrentPath() const { return AktuellerPfad; }
    std::wstring GetOtherDrivePath() const { return AndererLaufwerksPfad; }
    void ResetPaths(const std::wstring& Path);
    // Makes Path absolute against the process's current folder.
    static void NormalizePath(std::wstring& Path);
    // The same against the folder given.
    static void NormalizePath(std::wstring& Path, const std::wstring& CurrentFolder);
    bool GetDiskFree(wchar_t Drive, float& Total, float& Free);
    bool IsInStartupFolder(const std::wstring& FileName);
    static bool IsValidFileName(const std::wstring& Name);
    static void CommonPathOfList(const TDateiListe& List, std::wstring& Path);
    static void CommonPathOfStrings(const TStringList& List, std::wstring& Path);
    static bool MatchesMask(const std::wstring& Name, const std::wstring& Mask);

    // File operations. Tri-state attribute values: 0 clear, 1 set, 2 leave.
    bool CreateDirectory(const std::wstring& Path);
    void SetAttributes(const std::wstring& Name, int Archive, int System, int Hidden, int ReadOnly);
    void SetFileDate(const std::wstring& Name, TDateTime Date);
    bool RenameFile(const std::wstring& OldName, const std::wstring& NewName);
    void PrintFile(const std::wstring& Folder, const TDateiListe& List);
    void CopyFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder, bool NoConfirmation,
                   const TDateiListe& List);
    bool CopyFilesForSync(const std::wstring& Source, const std::wstring& Target, bool NoConfirmation, bool Silent);
    void MoveFiles(const std::wstring& SourcePrefix, const std::wstring& TargetFolder, bool NoConfirmation,
                   const TDateiListe& List);
    // Mode 0 into the recycle bin, 1 for good, 2 wiped with zeros first.
    void DeleteFiles(const TDateiListe& List, bool Confirm, bool Silent, int Mode);
    void WipeFiles(const TDateiListe& List);
    void CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder, const TDateiListe& List);

    // Seams: the wipe's writer (the disk unless replaced) and the link job.
    void SetNullSchreiber(TNullSchreiber* Writer) { m_writer = Writer ? Writer : &m_diskWriter; }
    void SetLinkErsteller(TLinkErsteller* Maker) { m_linkMaker = Maker; }

    // The names a list hands to the shell: absolute names as they are, the prefix
    // before relative ones.
    static std::vector<std::wstring> SourceNames(const std::wstring& SourcePrefix, const TDateiListe& List);

private:
    bool RunShell(TFileOperation Operation, TFileOperationFlags Flags, const std::vector<std::wstring>& Sources,
                  const std::vector<std::wstring>& Destinations);
    bool CheckTargets(bool Move, const std::vector<std::wstring>& Sources, const std::vector<std::wstring>& Landing);
    void RemovePartial(const std::wstring& Source, const std::wstring& Target, bool TargetExisted,
                       std::vector<std::wstring>& Incomplete);
    // Wipes the names (masks expanded) and gives those overwritten in full.
    std::vector<std::wstring> WipeNames(const std::vector<std::wstring>& Names);
    bool WipeOne(const std::wstring& Name, std::vector<std::wstring>& Links);
    bool WipeFolder(const std::wstring& Folder, std::vector<std::wstring>& Links);
    bool WipeContents(const std::wstring& Name, HANDLE File);
    bool HardLinkGoesUnwiped(const std::wstring& Name);
    void DeleteForGood(const std::vector<std::wstring>& Names, bool Confirm, bool Silent);
    void ReportLeftOver(const std::wstring& Heading, const std::vector<std::wstring>& Names);

    TFileOperator& m_operator;
    TNullSchreiber m_diskWriter;
    TNullSchreiber* m_writer = &m_diskWriter;
    TLinkErsteller* m_linkMaker = nullptr;
    // A wipe before deleting asks whether a file with further names may go unwiped.
    bool m_askHardLinks = false;
};

// The one instance, made and freed by the main window.
extern TDateiRoutinen* DateiRoutinen;

}  // namespace velmora
