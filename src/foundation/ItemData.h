#pragma once
// TItemData: one row of a file list pane. The pane's reader thread and the GUI
// thread both load the file data (Groesse to DosName); a loader writes them once,
// under Sperre, before it sets DatenGeladen, so a reader that has seen
// DatenGeladen true reads settled fields without a lock.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "Pidl.h"
#include "platform/rtl/DateTime.h"

namespace velmora {

// The lock of one entry: held only while a loader writes a few fields, so a
// waiter yields rather than sleeps. One byte and no kernel object, since a large
// folder has a hundred thousand entries.
class TEintragSperre {
public:
    void lock() {
        while (m_held.exchange(true, std::memory_order_acquire))
            SwitchToThread();
    }
    void unlock() { m_held.store(false, std::memory_order_release); }

private:
    std::atomic<bool> m_held{false};
};

struct TItemData {
    std::wstring Name;
    TPidl RelPidl;
    TPidl AbsPidl;
    ULONG ShellAttr = 0;
    bool TexteGebaut = false;
    std::atomic<bool> DatenGeladen{false};
    std::int64_t Groesse = 0;
    std::int32_t Attr = 0;
    TDateTime Datum = 0;
    // The 8.3 alternate name, empty when the name is already 8.3.
    std::wstring DosName;

    TEintragSperre Sperre;
};

}  // namespace velmora
