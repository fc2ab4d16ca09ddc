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

private:
    HIMAGELIST m_list = nullptr;
    bool m_share = false;
    int m_width, m_height;
};

}  // namespace velmora::gui
