#include "Pidl.h"

#include <cstring>

namespace velmora {

IMalloc* ShellAllocator() {
    static IMalloc* allocator = [] {
        IMalloc* m = nullptr;
        return SUCCEEDED(SHGetMalloc(&m)) ? m : nullptr;
    }();
    return allocator;
}

void TPidlFree::operator()(ITEMIDLIST* p) const {
    if (IMalloc* m = ShellAllocator())
        m->Free(p);
}

UINT PidlGroesse(LPCITEMIDLIST Pidl) {
    if (!Pidl)
        return 0;
    UINT size = 2;
    auto bytes = reinterpret_cast<const BYTE*>(Pidl);
    for (USHORT cb; (cb = reinterpret_cast<const SHITEMID*>(bytes)->cb) != 0; bytes += cb)
        size += cb;
    return size;
}

TPidl PidlAnlegen(UINT Size) {
    IMalloc* m = ShellAllocator();
    if (!m)
        return nullptr;
    void* p = m->Alloc(Size);
    if (p)
        std::memset(p, 0, Size);
    return TPidl(static_cast<ITEMIDLIST*>(p));
}

TPidl PidlVerketten(LPCITEMIDLIST First, LPCITEMIDLIST Second) {
    const UINT first = First ? PidlGroesse(First) - 2 : 0;
    const UINT second = PidlGroesse(Second);
    TPidl result = PidlAnlegen(first + (second ? second : 2));
    if (!result)
        return nullptr;
    auto out = reinterpret_cast<BYTE*>(result.get());
    if (first)
        std::memcpy(out, First, first);
    if (second)
        std::memcpy(out + first, Second, second);
    return result;
}

}  // namespace velmora
