#pragma once
// The status line's texts and its two counters: TPathInfoThread counts the
// entries of one folder for panel 0, TQuickViewThread a whole folder tree for
// panel 1. Both walk in the background at idle priority and hand their result
// to the GUI thread, where it is dropped when the counter was told to stop in
// the meantime; the window never waits for a walk.

#include <cstdint>
#include <functional>
#include <string>

#include "foundation/DMChild_Typen.h"
#include "platform/gui/Threads.h"

namespace velmora {

// " 1.50 GBytes von 4.00 GBytes frei".
std::wstring FreeSpaceText(std::uint64_t Free, std::uint64_t Total);
// "12 Eintraege belegen 3.00 KBytes".
std::wstring PathInfoText(std::int64_t Count, std::int64_t Bytes);
// "3 Dateien und 2 Unterverzeichnisse belegen 3.00 KBytes".
std::wstring QuickViewText(std::int64_t Files, std::int64_t Folders, std::int64_t Bytes);
// "test.zip enthält 4 Dateien [2.00 KBytes gepackt auf 512 Bytes (75%)]"; the
// name is the archive's lower-cased file name. OrigGroesse must be above 0.
std::wstring ArchiveStatusText(const std::wstring& Archive, const TArchivDaten& Daten);

// Total and free bytes of a drive; false when the drive cannot tell (no medium).
using TDiskFreeFunction = std::function<bool(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total)>;
bool SystemDiskFree(wchar_t Drive, std::uint64_t& Free, std::uint64_t& Total);

// Counts of one folder (Path with a trailing "\"). Stopped is asked before
// each entry; a folder that cannot be listed counts nothing.
struct TFolderEntries {
    std::int64_t Count = 0;
    std::int64_t Bytes = 0;
};
TFolderEntries CountFolderEntries(const std::wstring& Path, const std::function<bool()>& Stopped);

// Counts of a folder tree; Stopped is asked when each folder's walk begins.
struct TFolderTree {
    std::int64_t Folders = 0;
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;
};
void WalkFolderTree(const std::wstring& Path, TFolderTree& Totals, const std::function<bool()>& Stopped);

// Runs as each folder's listing begins, in the counting thread; for tests only.
extern std::function<void(const std::wstring& Folder)> StatusWalkHook;
// Counter objects not yet freed.
int LiveStatusCounters();

class TPathInfoThread : public gui::TThread {
public:
    using TResultEvent = std::function<void(TPathInfoThread& Sender)>;
    // Suspended at idle priority; Path gets a trailing "\".
    TPathInfoThread(const std::wstring& Path, TResultEvent OnResult);
    ~TPathInfoThread() override;

    const std::wstring Path;
    std::int64_t Count = 0;
    std::int64_t Bytes = 0;

protected:
    void Execute() override;

private:
    TResultEvent m_onResult;
};

class TQuickViewThread : public gui::TThread {
public:
    using TResultEvent = std::function<void(TQuickViewThread& Sender)>;
    TQuickViewThread(const std::wstring& Path, TResultEvent OnResult);
    ~TQuickViewThread() override;

    const std::wstring Path;
    std::int64_t Folders = 0;
    std::int64_t Files = 0;
    std::int64_t Bytes = 0;

protected:
    void Execute() override;

private:
    TResultEvent m_onResult;
};

}  // namespace velmora
