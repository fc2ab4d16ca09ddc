#pragma once
// TImageList over HIMAGELIST; a shared list (the system's) is never destroyed.

#include <windows.h>
#include <commctrl.h>

#include "Component.h"
#include "Graphics.h"

namespace velmora::gui {

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner, int width = 16, int height = 16);
    ~TImageList() override;
    HIMAGELIST Handle();
    // Takes a list that belongs to someone else (the shell's system list).
    void SetHandle(HIMAGELIST list, bool shareImages);
    bool ShareImages() const { return m_share; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count();
    int AddIcon(HICON icon);
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Clear();
    void Draw(TCanvas& canvas, int x, int y, int index, UINT style = ILD_NORMAL);

    // Dragging an image over the screen (one drag at a time in the program):
    // BeginDrag takes a copy of image Index with its hot spot; DragEnter shows
    // it over Lock (client coordinates of Lock's window, desktop with nullptr)
    // and locks that window's updates; DragMove follows the mouse; DragShowNolock
    // hides it while Lock is painted; DragLeave unlocks; EndDrag frees the copy.
    bool BeginDrag(int index, int hotX, int hotY);
    static bool DragEnter(HWND lock, int x, int y);
    static bool DragMove(int x, int y);
    static bool DragShowNolock(bool show);
    static bool DragLeave(HWND lock);
    static void EndDrag();
    // Whether an image is being dragged.
    static bool Dragging();

private:
    HIMAGELIST m_list = nullptr;
    bool m_share = false;
    int m_width, m_height;
};

}  // namespace velmora::gui
