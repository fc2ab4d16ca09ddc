#pragma once
// TZipRoutinenHost: what the archive routines ask of the main window while they
// read an archive. The main window implements it; tests hand in a recorder. The
// routines know nothing else of the window.

#include <string>

#include "platform/gui/Application.h"

namespace velmora::archive {

class TZipRoutinenHost {
public:
    virtual ~TZipRoutinenHost() = default;

    // The file search is going through archives, or another archive operation
    // runs (the window's archive-operation flag): readings then show no status
    // texts and no progress.
    virtual bool ArchiveWorkRunning() const = 0;

    // Panels 0 and 1 of the status line; setting one repaints the status line.
    virtual std::wstring StatusText(int Panel) const = 0;
    virtual void SetStatusText(int Panel, const std::wstring& Text) = 0;

    // The status line's progress bar.
    virtual void SetProgressMax(int Max) = 0;
    virtual void SetProgressPosition(int Position) = 0;
    // The progress panel with its Abort button (shown: the archive-operation flag is set).
    virtual void ShowProgressPanel(bool Show) = 0;
    virtual void SetAbortEnabled(bool Enabled) = 0;

    virtual gui::TCursor Cursor() const = 0;
    virtual void SetCursor(gui::TCursor Cursor) = 0;

    virtual void Beep() = 0;

    // Extraction's question for a file that is already there: 0 skip, 1 replace,
    // 3 skip all, 4 replace all, -1 cancel (the running operation stops and the
    // file is skipped). Unless the window asks, every clash is skipped.
    virtual int AskReplace(const std::wstring& FileName) {
        (void)FileName;
        return 0;
    }
    // The same question where the file may also go under another name: 2 writes
    // it to NewName, a full path (an empty one skips the file).
    virtual int AskReplaceOrRename(const std::wstring& FileName, std::wstring& NewName) {
        (void)NewName;
        return AskReplace(FileName);
    }
    // The password of an encrypted entry: 0 skip the entry, 1 skip it and every
    // following one, 2 try Password (at most 80 characters are used).
    virtual int AskPassword(const std::wstring& FileName, std::wstring& Password) {
        (void)FileName;
        (void)Password;
        return 0;
    }
    // A multi-disk archive needs disk Disk (0: the last one): true once it is in,
    // false stops the operation.
    virtual bool AskNewDisk(int Disk) {
        (void)Disk;
        return false;
    }
    // An unpacker (ARJ, LHA, ARC, ZOO) begins to write FileName.
    virtual void UnpackerBegins(const std::wstring& FileName) { (void)FileName; }
    // The user asked the running operation to stop, besides the zip component's
    // abort flag, which the Abort button sets and every routine observes.
    virtual bool AbortRequested() const { return false; }
};

}  // namespace velmora::archive
