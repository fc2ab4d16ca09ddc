#pragma once
// TDiscMonitor tells its owner that something changed in a folder. A worker
// thread waits on the system's change notification and reports each change as
// OnChange, run in the GUI thread through a synchronised call; the worker waits
// for the handler and re-arms afterwards, so changes made meanwhile are reported
// once more. Switching the monitor off is cooperative: the worker closes its
// notification and waits for new settings or for its end. Destroying a monitor
// works in any state and delivers no event once it has begun.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/gui/Component.h"
#include "platform/gui/Events.h"

namespace velmora {

enum TMonitorFilter : DWORD {
    moFilename = FILE_NOTIFY_CHANGE_FILE_NAME,
    moDirName = FILE_NOTIFY_CHANGE_DIR_NAME,
    moAttributes = FILE_NOTIFY_CHANGE_ATTRIBUTES,
    moSize = FILE_NOTIFY_CHANGE_SIZE,
    moLastWrite = FILE_NOTIFY_CHANGE_LAST_WRITE,
    moSecurity = FILE_NOTIFY_CHANGE_SECURITY,
};
// A set of TMonitorFilter bits.
using TMonitorFilters = DWORD;

class TDiscMonitorThread;

class TDiscMonitor : public gui::TComponent {
public:
    // Made in the GUI thread, inactive.
    explicit TDiscMonitor(gui::TComponent* owner);
    ~TDiscMonitor() override;
    TDiscMonitor(const TDiscMonitor&) = delete;
    TDiscMonitor& operator=(const TDiscMonitor&) = delete;

    const std::wstring& Directory() const { return m_directory; }
    void SetDirectory(const std::wstring& Value);
    TMonitorFilters Filters() const { return m_filters; }
    // The empty set is refused with a message; the filters stay as they were.
    void SetFilters(TMonitorFilters Value);
    bool SubTree() const { return m_subTree; }
    void SetSubTree(bool Value);
    bool Active() const { return m_active; }
    void SetActive(bool Value);
    void Close() { SetActive(false); }

    // Both with the monitor as sender, in the GUI thread.
    gui::TNotifyEvent OnChange;
    // The folder cannot be watched (missing, or no folder at all).
    gui::TNotifyEvent OnInvalid;

private:
    friend class TDiscMonitorThread;
    void Publish();

    std::wstring m_directory;
    TMonitorFilters m_filters = moFilename;
    bool m_subTree = true;
    bool m_active = false;
    std::unique_ptr<TDiscMonitorThread> m_thread;
};

}  // namespace velmora
