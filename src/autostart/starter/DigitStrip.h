#pragma once
// The digit display's strip: one bitmap of equal cells, 0 to 9 and maybe "-".
// It belongs to its display; assigning copies the given bitmap.

#include <windows.h>

#include <vector>

#include "autostart/starter/RcadigiLayout.h"

namespace velmora {

class TDigitStrip {
public:
    TDigitStrip() = default;
    ~TDigitStrip();
    TDigitStrip(const TDigitStrip&) = delete;
    TDigitStrip& operator=(const TDigitStrip&) = delete;

    // Copies Source (none makes the strip empty).
    void Assign(HBITMAP source);
    bool LoadFromResource(HINSTANCE module, const wchar_t* name);
    bool Empty() const { return m_bitmap == nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Copies each laid-out cell's source columns, the whole strip height, to Top;
    // blank cells are left as they are.
    void DrawCells(HDC target, const std::vector<TDigitCell>& cells, int numberWidth, int top) const;

private:
    void Release();

    HBITMAP m_bitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
};

}  // namespace velmora
