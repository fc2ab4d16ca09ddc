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

    // A file as the folder's enumeration gave it.
    struct TEntry {
        std::wstring Name;
        std::int64_t Size;
        DWORD Attributes;
        FILETIME LastWrite;
    };
    // The file OnSearch and OnFound report, while they run; else null. Saves
    // the handlers a look-up per file (a round trip to the server under Wine).
    const TEntry* Current() const { return m_current; }

    // Blocks read at a time; the window of a long line.
    static constexpr std::size_t kBlock = 65536;

private:

    void Collect(const std::wstring& Folder);
    void SearchCollected();
    void WalkSubFolders(const std::wstring& Folder);
    // True on a hit; Posn is then its 1-based offset in the file.
    bool SearchFile(const TEntry& Entry, bool Lines);
    void PumpMessages(bool Now = false);
    // Maps bytes as the comparison sees them: upper case a to z unless the case
    // matters, and with Blanks every byte below 32 a blank.
    void Angleichen(unsigned char* Bytes, std::size_t Count, bool Blanks) const;

    std::vector<TEntry> m_files;
    const TEntry* m_current = nullptr;
    std::string m_needle;      // the text's bytes, mapped as the file's are
    bool m_unfindable = false;  // the text has characters the code page lacks
    bool m_blanks = false;      // the block search maps bytes below 32 to blanks
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
