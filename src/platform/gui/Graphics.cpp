#include "Graphics.h"

namespace velmora::gui {

COLORREF ColorToRGB(TColor color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color & 0xFFFFFF);
}

void TGdiObject::Reset(HGDIOBJ object) {
    if (m_object) DeleteObject(m_object);
    m_object = object;
}

// ---- TFont

TFont::TFont() = default;

void TFont::Assign(const TFont& other) {
    m_name = other.m_name;
    m_size = other.m_size;
    m_style = other.m_style;
    Color = other.Color;
    m_handle = other.m_handle;  // shared: same face, same GDI object
    if (OnChange) OnChange();
}

void TFont::SetName(std::wstring name) {
    if (name == m_name) return;
    m_name = std::move(name);
    Changed();
}

void TFont::SetSize(int points) {
    if (points == m_size) return;
    m_size = points;
    Changed();
}

static int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

int TFont::Height() const { return -MulDiv(m_size, ScreenDpi(), 72); }

void TFont::SetHeight(int pixels) { SetSize(MulDiv(pixels < 0 ? -pixels : pixels, 72, ScreenDpi())); }

void TFont::SetStyle(unsigned style) {
    if (style == m_style) return;
    m_style = style;
    Changed();
}

void TFont::Changed() {
    m_handle.reset();
    if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
    if (!m_handle) {
        LOGFONTW lf{};
        lf.lfHeight = Height();
        lf.lfWeight = (m_style & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (m_style & fsItalic) ? 1 : 0;
        lf.lfUnderline = (m_style & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (m_style & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, m_name.c_str(), LF_FACESIZE);
        m_handle = std::make_shared<TGdiObject>(CreateFontIndirectW(&lf));
    }
    return static_cast<HFONT>(m_handle->Get());
}

// ---- TCanvas

void TCanvas::Attach(HDC dc) {
    Detach();
    m_dc = dc;
    if (m_dc) {
        m_oldFont = nullptr;
        m_oldPen = nullptr;
        m_oldBrush = nullptr;
    }
}

void TCanvas::Detach() {
    if (!m_dc) return;
    PutBack();
    m_dc = nullptr;
}

void TCanvas::PutBack() {
    if (m_oldFont) SelectObject(m_dc, m_oldFont);
    if (m_oldPen) SelectObject(m_dc, m_oldPen);
    if (m_oldBrush) SelectObject(m_dc, m_oldBrush);
    m_oldFont = m_oldPen = m_oldBrush = nullptr;
    m_pen.Reset();
    m_brush.Reset();
}

// Selects the current font, pen and brush; called before every drawing call, so
// that changing a property between calls takes effect.
void TCanvas::Select() {
    HGDIOBJ font = Font.Handle();
    HGDIOBJ old = SelectObject(m_dc, font);
    if (!m_oldFont) m_oldFont = old;
    SetTextColor(m_dc, ColorToRGB(Font.Color));

    HPEN pen = Pen.Style == TPenStyle::psClear
                   ? static_cast<HPEN>(GetStockObject(NULL_PEN))
                   : CreatePen(Pen.Style == TPenStyle::psDash ? PS_DASH : Pen.Style == TPenStyle::psDot ? PS_DOT : PS_SOLID,
                               Pen.Width, ColorToRGB(Pen.Color));
    old = SelectObject(m_dc, pen);
    if (!m_oldPen) m_oldPen = old;
    m_pen.Reset(Pen.Style == TPenStyle::psClear ? nullptr : pen);

    HBRUSH brush;
    if (Brush.Style == TBrushStyle::bsClear) brush = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else if (Brush.Bitmap && Brush.Bitmap->Handle()) brush = CreatePatternBrush(Brush.Bitmap->Handle());
    else brush = CreateSolidBrush(ColorToRGB(Brush.Color));
    old = SelectObject(m_dc, brush);
    if (!m_oldBrush) m_oldBrush = old;
    m_brush.Reset(Brush.Style == TBrushStyle::bsClear ? nullptr : brush);
    SetBkColor(m_dc, ColorToRGB(Brush.Color));
    SetBkMode(m_dc, Brush.Style == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::FillRect(const RECT& r) {
    Select();
    ::FillRect(m_dc, &r, static_cast<HBRUSH>(GetCurrentObject(m_dc, OBJ_BRUSH)));
}

void TCanvas::FrameRect(const RECT& r) {
    Select();
    ::FrameRect(m_dc, &r, static_cast<HBRUSH>(GetCurrentObject(m_dc, OBJ_BRUSH)));
}

void TCanvas::Rectangle(int l, int t, int r, int b) { Select(); ::Rectangle(m_dc, l, t, r, b); }
void TCanvas::Ellipse(int l, int t, int r, int b) { Select(); ::Ellipse(m_dc, l, t, r, b); }
void TCanvas::Pie(int l, int t, int r, int b, int x1, int y1, int x2, int y2) {
    Select();
    ::Pie(m_dc, l, t, r, b, x1, y1, x2, y2);
}
void TCanvas::Polygon(const POINT* points, int count) { Select(); ::Polygon(m_dc, points, count); }
void TCanvas::MoveTo(int x, int y) { MoveToEx(m_dc, x, y, nullptr); }
void TCanvas::LineTo(int x, int y) { Select(); ::LineTo(m_dc, x, y); }

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
    Select();
    ::TextOutW(m_dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& r, int x, int y, const std::wstring& text) {
    Select();
    ExtTextOutW(m_dc, x, y, ETO_CLIPPED | (Brush.Style == TBrushStyle::bsClear ? 0 : ETO_OPAQUE), &r, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
}

int TCanvas::DrawText(const std::wstring& text, RECT& r, UINT flags) {
    Select();
    return ::DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
    Select();
    SIZE size{};
    GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::DrawFocusRect(const RECT& r) { ::DrawFocusRect(m_dc, &r); }
void TCanvas::DrawEdge(RECT r, UINT edge, UINT flags) { ::DrawEdge(m_dc, &r, edge, flags); }

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    RECT r{x, y, x + graphic.Width(), y + graphic.Height()};
    graphic.Draw(m_dc, r);
}

void TCanvas::StretchDraw(const RECT& r, const TGraphic& graphic) { graphic.Draw(m_dc, r); }

void TCanvas::CopyRect(const RECT& d, const TCanvas& source, const RECT& s, DWORD rop) {
    StretchBlt(m_dc, d.left, d.top, d.right - d.left, d.bottom - d.top, source.m_dc, s.left, s.top, s.right - s.left,
               s.bottom - s.top, rop);
}

// ---- TBitmap

TBitmap::~TBitmap() {
    FreeCanvas();
    if (m_bitmap) DeleteObject(m_bitmap);
}

void TBitmap::FreeCanvas() {
    if (!m_memDC) return;
    m_canvas.reset();
    SelectObject(m_memDC, m_oldBitmap);
    DeleteDC(m_memDC);
    m_memDC = nullptr;
}

void TBitmap::SetSize(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    Assign(bitmap);
}

void TBitmap::Assign(HBITMAP bitmap) {
    FreeCanvas();
    if (m_bitmap) DeleteObject(m_bitmap);
    m_bitmap = bitmap;
    BITMAP info{};
    if (m_bitmap && GetObjectW(m_bitmap, sizeof info, &info)) {
        m_width = info.bmWidth;
        m_height = info.bmHeight;
    } else {
        m_width = m_height = 0;
    }
}

bool TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(instance, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    Assign(bitmap);
    return true;
}

bool TBitmap::LoadFromFile(const std::wstring& path) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    Assign(bitmap);
    return true;
}

TCanvas& TBitmap::Canvas() {
    if (!m_memDC) {
        if (!m_bitmap) SetSize(1, 1);
        m_memDC = CreateCompatibleDC(nullptr);
        m_oldBitmap = SelectObject(m_memDC, m_bitmap);
        m_canvas = std::make_unique<TCanvas>(m_memDC);
    }
    return *m_canvas;
}

void TBitmap::Draw(HDC dc, const RECT& r) const {
    if (!m_bitmap) return;
    if (m_memDC) {
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, m_memDC, 0, 0, m_width, m_height, SRCCOPY);
        return;
    }
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, m_bitmap);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, m_width, m_height, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    if (m_bitmap && m_memDC) {
        // Drawn on off-screen: copy the pixels, since a selected bitmap cannot be copied.
        copy->SetSize(m_width, m_height);
        BitBlt(copy->Canvas().Handle(), 0, 0, m_width, m_height, m_memDC, 0, 0, SRCCOPY);
    } else if (m_bitmap) {
        copy->Assign(static_cast<HBITMAP>(CopyImage(m_bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    return copy;
}

// ---- TIcon

TIcon::~TIcon() {
    if (m_icon) DestroyIcon(m_icon);
}

bool TIcon::LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size) {
    HICON icon = static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON, size, size, 0));
    if (!icon) return false;
    Assign(icon);
    m_width = m_height = size;
    return true;
}

void TIcon::Assign(HICON icon) {
    if (m_icon) DestroyIcon(m_icon);
    m_icon = icon;
    ICONINFO info{};
    if (m_icon && GetIconInfo(m_icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
            m_width = bm.bmWidth;
            m_height = bm.bmHeight;
        } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
            m_width = bm.bmWidth;
            m_height = bm.bmHeight / 2;
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    }
}

void TIcon::Draw(HDC dc, const RECT& r) const {
    if (m_icon) DrawIconEx(dc, r.left, r.top, m_icon, r.right - r.left, r.bottom - r.top, 0, nullptr, DI_NORMAL);
}

std::unique_ptr<TGraphic> TIcon::Clone() const {
    auto copy = std::make_unique<TIcon>();
    if (m_icon) copy->Assign(CopyIcon(m_icon));
    return copy;
}

// ---- TPicture

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    m_graphic = std::move(graphic);
    Changed();
}

void TPicture::Assign(const TPicture& other) {
    m_graphic = other.m_graphic ? other.m_graphic->Clone() : nullptr;
    Changed();
}

TBitmap& TPicture::Bitmap() {
    auto* bitmap = dynamic_cast<TBitmap*>(m_graphic.get());
    if (!bitmap) {
        m_graphic = std::make_unique<TBitmap>();
        bitmap = static_cast<TBitmap*>(m_graphic.get());
        Changed();
    }
    return *bitmap;
}

void TPicture::Changed() {
    if (OnChange) OnChange();
}

}  // namespace velmora::gui
