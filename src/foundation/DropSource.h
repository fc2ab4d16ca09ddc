#pragma once
// TDropSource: drags a list of file names out of a pane by OLE drag and drop, to
// another pane, the basket or any program that takes dropped files. The owner fills
// DragValues with full paths, sets the allowed effects and calls Execute, which runs
// the system's modal drag loop.

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Component.h"
#include "platform/rtl/StringList.h"

namespace velmora {

// Fired when the button is released over a target, before the target reads the
// data: the handler may rewrite DroppedValues, and the target gets what it left.
using TDropEvent = std::function<void(gui::TObject* Sender, TStringList& DroppedValues, DWORD ActualdwEffect)>;

class TDropSource : public gui::TComponent {
public:
    explicit TDropSource(gui::TComponent* owner);
    ~TDropSource() override;

    const TStringList* DragValues = nullptr;  // not owned
    UINT Format = CF_HDROP;
    TDropEvent OnDrop;
    bool AllowCopy = true, AllowMove = true, AllowLink = false;

    // 0 cancelled or failed (an empty list starts no drag), 1 dropped without an
    // effect, 2 copied, 3 moved, 4 linked.
    std::uint8_t Execute();

private:
    bool m_ole = false;
};

// The names a data object renders: shared by the data object and the drop source,
// so that what OnDrop writes is what the target reads, and kept alive for as long as
// either object lives (a target may hold the data object past the drag).
using TDragNames = std::shared_ptr<TStringList>;

// The COM objects of a drag, each with one reference for the caller.
IDataObject* NewDragDataObject(TDragNames Names, UINT Format);
IDropSource* NewDragDropSource(TDragNames Names, TDropEvent OnDrop, gui::TObject* Sender);

// A dropped-files block for Names: sized from the names, wide when a name has a
// character outside the ANSI code page. Null when the allocation failed.
HGLOBAL BuildDropFiles(const TStringList& Names);
// Every name of a dropped-files block, each read whole.
TStringList ReadDropFiles(HDROP Drop);
// The dropped-files names a data object offers; empty when it offers none.
TStringList ReadDroppedNames(IDataObject* Data);
// Whether a data object offers dropped files in global memory.
bool OffersDropFiles(IDataObject* Data);

}  // namespace velmora
