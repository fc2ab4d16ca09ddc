#pragma once
// Item identifier lists (the shell's binary item paths) and the shell allocator
// they live in. TPidl owns one list and frees it with that allocator.

#include <windows.h>
#include <shlobj.h>

#include <memory>

namespace velmora {

// The shell's task allocator, fetched on first use and kept for the program's run.
IMalloc* ShellAllocator();

struct TPidlFree {
    void operator()(ITEMIDLIST* p) const;
};
using TPidl = std::unique_ptr<ITEMIDLIST, TPidlFree>;

// Byte size including the 2-byte terminator; 0 for none.
UINT PidlGroesse(LPCITEMIDLIST Pidl);
// A zero-filled list buffer of Size bytes; empty when the allocation fails.
TPidl PidlAnlegen(UINT Size);
// First without its terminator followed by the whole of Second; First may be none.
// Empty when the allocation fails.
TPidl PidlVerketten(LPCITEMIDLIST First, LPCITEMIDLIST Second);

}  // namespace velmora
