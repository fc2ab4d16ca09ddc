#pragma once
// Colours, fonts, pens, brushes and the canvas over a GDI device context.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace velmora::gui {

// An RGB value, or a system colour index with the high bit set.
using TColor = std::uint32_t;
constexpr TColor SystemColor(int index) { return 0x80000000u | static_cast<TColor>(index); }
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0, clGray = 0x808080,
                 clNavy = 0x800000, clBlue = 0xFF0000, clRed = 0x0000FF, clGreen = 0x008000,
                 clYellow = 0x00FFFF, clLime = 0x00FF00, clMaroon = 0x000080, clTeal = 0x808000,
                 clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT),
                 clBtnShadow = SystemColor(COLOR_BTNSHADOW), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clGrayText = SystemColor(COLOR_GRAYTEXT), clWindow = SystemColor(COLOR_WINDOW),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clInfoBk = SystemColor(COLOR_INFOBK);
COLORREF ColorToRGB(TColor color);

// Owns one GDI object.
class TGdiObject {
public:
    TGdiObject() = default;
    explicit TGdiObject(HGDIOBJ object) : m_object(object) {}
    ~TGdiObject() { Reset(); }
    TGdiObject(const TGdiObject&) = delete;
    TGdiObject& operator=(const TGdiObject&) = delete;
    void Reset(HGDIOBJ object = nullptr);
    HGDIOBJ Get() const { return m_object; }

private:
    HGDIOBJ m_object = nullptr;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
public:
    TFont();
    TFont(const TFont& other) { Assign(other); }
    TFont& operator=(const TFont& other) { Assign(other); return *this; }
    void Assign(const TFont& other);

    std::wstring Name() const { return m_name; }
    void SetName(std::wstring name);
    // Points; the pixel height follows the screen's resolution.
    int Size() const { return m_size; }
    void SetSize(int points);
    int Height() const;
    void SetHeight(int pixels);
    unsigned Style() const { return m_style; }
    void SetStyle(unsigned style);
    TColor Color = clWindowText;

    HFONT Handle() const;
    std::function<void()> OnChange;

private:
    void Changed();
    std::wstring m_name = L"MS Sans Serif";
    int m_size = 8;
    unsigned m_style = 0;
    mutable std::shared_ptr<TGdiObject> m_handle;
};

enum class TPenStyle { psSolid, psDash, psDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

class TBitmap;

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    // A pattern brush when set: the bitmap is tiled instead of the colour.
    const TBitmap* Bitmap = nullptr;
};

class TGraphic;

// Draws on a device context it may or may not own. Objects selected into the
// context are put back when the canvas lets go of it.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) { Attach(dc); }
    ~TCanvas() { Detach(); }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    void Attach(HDC dc);
    void Detach();
    HDC Handle() const { return m_dc; }

    TFont Font;
    TPen Pen;
    TBrush Brush;

    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Pie(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2);
    void Polygon(const POINT* points, int count);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::wstring& text);
    void TextRect(const RECT& r, int x, int y, const std::wstring& text);
    // DrawText with the given DT_ flags; returns the height drawn (or measured).
    int DrawText(const std::wstring& text, RECT& r, UINT flags);
    SIZE TextExtent(const std::wstring& text);
    int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
    int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
    void DrawFocusRect(const RECT& r);
    void DrawEdge(RECT r, UINT edge, UINT flags);
    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const RECT& r, const TGraphic& graphic);
    void CopyRect(const RECT& dest, const TCanvas& source, const RECT& src, DWORD rop = SRCCOPY);
    COLORREF Pixel(int x, int y) const { return GetPixel(m_dc, x, y); }

    // Clip changes stay inside a SaveDC/RestoreDC pair.
    int SaveDC() { return ::SaveDC(m_dc); }
    void RestoreDC(int saved) { ::RestoreDC(m_dc, saved); }
    void IntersectClip(const RECT& r) { IntersectClipRect(m_dc, r.left, r.top, r.right, r.bottom); }

private:
    void Select();
    void PutBack();
    HDC m_dc = nullptr;
    HGDIOBJ m_oldFont = nullptr, m_oldPen = nullptr, m_oldBrush = nullptr;
    TGdiObject m_pen, m_brush;
};

}  // namespace velmora::gui
