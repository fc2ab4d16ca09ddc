#pragma once
// The pane's side of filelist_bench: file list panes in a frame of their own,
// timed on the same folder as the baseline.

#include <memory>
#include <string>

#include "foundation/Einstellungen.h"
#include "platform/gui/Forms.h"

namespace velmora {

class TDateiListeForm;

// The busy bytes of every heap of the process.
long long HeapInUse();

struct TReaderTimes {
    // The reader alone over unloaded records of the folder's entries, and the
    // pane from SetDirectory's call until its reader has ended.
    double Reader = 0, Whole = 0;
    size_t Loaded = 0;
};

struct TPaneHeap {
    double PerEntry = 0;
    long long FirstRead = 0, TenthRead = 0;
};

class TBenchPanes {
public:
    explicit TBenchPanes(const std::wstring& Folder);
    ~TBenchPanes();
    // Seconds from SetDirectory with default options until the rows are sorted
    // and painted, in pane kind 1 or 2.
    double DefaultRead(int Kind);
    // The same with Hidden off and the attribute sort.
    double AttributeSortRead(int Kind);
    // Until the reader thread has loaded every entry (kind 2).
    TReaderTimes ReaderRun();
    // Heap per entry of a pane holding the folder, and the heap in use after the
    // first and the tenth read of it.
    TPaneHeap Heap();

    // The entries of the last timed read.
    size_t Entries() const { return m_entries; }

private:
    struct TState;
    TDateiListeForm* NewPane(int Kind, const TOptionen& Options);
    void FreePane(TDateiListeForm* Pane);
    double TimedRead(int Kind, const TOptionen& Options);

    std::wstring m_folder;
    std::unique_ptr<TState> m_state;
    size_t m_entries = 0;
};

}  // namespace velmora
