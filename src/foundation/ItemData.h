#pragma once
// TItemData: one row of a file list pane. The pane's reader thread and the GUI
// thread both load the file data (Groesse to DosName); DateiInfoAusPidl writes
// them once, under Sperre, before it sets DatenGeladen, so a reader that has
// seen DatenGeladen true reads settled fields without a lock.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "Pidl.h"
#include "platform/rtl/DateTime.h"

namespace velmora {

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

    std::mutex Sperre;
};

}  // namespace velmora
