#include "ImageList.h"

namespace velmora::gui {

TImageList::TImageList(TComponent* owner, int width, int height) : TComponent(owner), m_width(width), m_height(height) {}

TImageList::~TImageList() {
    if (m_list && !m_share) ImageList_Destroy(m_list);
}

HIMAGELIST TImageList::Handle() {
    if (!m_list) m_list = ImageList_Create(m_width, m_height, ILC_COLOR24 | ILC_MASK, 4, 4);
    return m_list;
}

void TImageList::SetHandle(HIMAGELIST list, bool shareImages) {
    if (m_list && !m_share) ImageList_Destroy(m_list);
    m_list = list;
    m_share = shareImages;
    if (list) ImageList_GetIconSize(list, &m_width, &m_height);
}

int TImageList::Count() { return ImageList_GetImageCount(Handle()); }
int TImageList::AddIcon(HICON icon) { return ImageList_AddIcon(Handle(), icon); }

int TImageList::Add(const TBitmap& image, const TBitmap* mask) {
    return ImageList_Add(Handle(), image.Handle(), mask ? mask->Handle() : nullptr);
}

int TImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    return ImageList_AddMasked(Handle(), image.Handle(), ColorToRGB(maskColor));
}

void TImageList::Clear() { ImageList_RemoveAll(Handle()); }

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, UINT style) {
    ImageList_Draw(Handle(), index, canvas.Handle(), x, y, style);
}

bool TImageList::BeginDrag(int index, int hotX, int hotY) {
    return index >= 0 && index < Count() && ImageList_BeginDrag(Handle(), index, hotX, hotY);
}

bool TImageList::DragEnter(HWND lock, int x, int y) { return ImageList_DragEnter(lock, x, y); }
bool TImageList::DragMove(int x, int y) { return ImageList_DragMove(x, y); }
bool TImageList::DragShowNolock(bool show) { return ImageList_DragShowNolock(show); }
bool TImageList::DragLeave(HWND lock) { return ImageList_DragLeave(lock); }
void TImageList::EndDrag() { ImageList_EndDrag(); }
bool TImageList::Dragging() { return ImageList_GetDragImage(nullptr, nullptr) != nullptr; }

}  // namespace velmora::gui
