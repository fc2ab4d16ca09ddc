#include "Picture.h"

namespace velmora::gui {

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
