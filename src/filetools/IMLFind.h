#pragma once
// The text-search engine: walks a folder (and its sub-folders), collects the
// files that match one mask and reports each of them, or each that contains a
// text. It runs in the GUI thread and lets messages through while it works, so
// that a Cancel button of its owner can stop it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Component.h"
#include "platform/gui/Events.h"
#include "platform/rtl/Exceptions.h"

namespace velmora {

enum class TSearchType { stText, stAll };

// Wrong parameters of Execute; nothing else raises.
class EFindError : public Exception {
public:
    using Exception::Exception;
};

using TOnFoundEvent = std::function<void(gui::TObject* Sender, const std::wstring& FileName, std::int64_t Posn)>;
using TOnSearchEvent = std::function<void(gui::TObject* Sender, const std::wstring& FileName)>;
using TOnSearchDirectoryEvent = std::function<void(gui::TObject* Sender, const std::wstring& DirName)>;

class TIMLFindText : public gui::TComponent {
public:
    explicit TIMLFindText(gui::TComponent* Owner);

    std::wstring SearchText;
    std::wstring FileMask;
    TSearchType SearchType = TSearchType::stText;
    std::wstring StartDirectory;
    bool SubDirectories = true;
    bool MatchCase = false;

    TOnFoundEvent OnFound;
    TOnSearchEvent OnSearch;
    gui::TNotifyEvent OnFinished;
    TOnSearchDirectoryEvent OnSearchDirectory;

    // Lets pending messages through; the application's message pump unless
    // replaced. Called at most every 20 ms.
    std::function<void()> Pump;

    // One search, synchronously. A call while a search runs (from a message
    // let through by that search) returns at once.
    void Execute();
    void Stop() { m_stopped = true; }
    bool Running() const { return m_running; }

    // Blocks read at a time; the window of a long line.
    static constexpr std::size_t kBlock = 65536;

private:
    struct TEntry {
        std::wstring Name;
        std::int64_t Size;
        DWORD Attributes;
    };

    void Collect(const std::wstring& Folder);
    void SearchCollected();
    void WalkSubFolders(const std::wstring& Folder);
    // True on a hit; Posn is then its 1-based offset in the file.
    bool SearchFile(const TEntry& Entry, bool Lines);
    void PumpMessages(bool Now = false);
    void Angleichen(unsigned char* Bytes, std::size_t Count) const;

    std::vector<TEntry> m_files;
    std::string m_needle;      // the text's bytes, mapped as the file's are
    bool m_unfindable = false;  // the text has characters the code page lacks
    std::vector<unsigned char> m_block;
    std::int64_t m_posn = 0;
    bool m_stopped = false;
    bool m_running = false;
    ULONGLONG m_lastPump = 0;
};

// Folder and name joined by exactly one "\"; empty when the result would be
// too long for the system's file names.
std::wstring JoinSearchPath(const std::wstring& Folder, const std::wstring& Name);

}  // namespace velmora
