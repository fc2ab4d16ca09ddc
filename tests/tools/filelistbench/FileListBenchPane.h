#pragma once
// The pane's side of filelist_bench: file list panes in a frame of their own,
// timed on the same folder as the baseline.

#include <string>

#include "platform/gui/Forms.h"

namespace velmora {

struct TPaneHeap {
    double PerEntry = 0;
    long long FirstRead = 0, TenthRead = 0;
};

class TBenchPanes {
public:
    TBenchPanes(gui::TForm& Frame, const std::wstring& Folder);
    ~TBenchPanes();
    bool Available() const;
    // Seconds from SetDirectory with default options until the rows are sorted
    // and painted, in pane kind 1 or 2.
    double DefaultRead(int Kind);
    // The same with Hidden off and the attribute sort (kind 2).
    double AttributeSortRead();
    // Seconds from SetDirectory until the reader thread has loaded every entry.
    double ReaderRun();
    // Heap per entry of a pane holding the folder, and the heap in use after the
    // first and the tenth read of it.
    TPaneHeap Heap();

private:
    gui::TForm& m_frame;
    std::wstring m_folder;
};

}  // namespace velmora
