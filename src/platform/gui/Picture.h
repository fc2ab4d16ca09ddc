#pragma once
// Pictures: bitmaps (from resources, files or drawn off-screen) and icons.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "Canvas.h"

namespace velmora::gui {

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    virtual void Draw(HDC dc, const RECT& r) const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
};

// A device-dependent bitmap with a canvas that draws on it.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    void SetSize(int width, int height);
    // From the program's resources by name; false when there is no such bitmap.
    bool LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
    bool LoadFromFile(const std::wstring& path);
    void Assign(HBITMAP bitmap);
    HBITMAP Handle() const { return m_bitmap; }
    TCanvas& Canvas();
    void Draw(HDC dc, const RECT& r) const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    void FreeCanvas();
    HBITMAP m_bitmap = nullptr;
    int m_width = 0, m_height = 0;
    HDC m_memDC = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::unique_ptr<TCanvas> m_canvas;
};

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;
    bool LoadFromResourceName(HINSTANCE instance, const std::wstring& name, int size = 32);
    // Takes ownership of the icon handle.
    void Assign(HICON icon);
    HICON Handle() const { return m_icon; }
    int Width() const override { return m_icon ? m_width : 0; }
    int Height() const override { return m_icon ? m_height : 0; }
    void Draw(HDC dc, const RECT& r) const override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    HICON m_icon = nullptr;
    int m_width = 32, m_height = 32;
};

// Holds one graphic (or none) and says when it changes.
class TPicture {
public:
    const TGraphic* Graphic() const { return m_graphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // Copies the other picture's graphic.
    void Assign(const TPicture& other);
    TBitmap& Bitmap();
    int Width() const { return m_graphic ? m_graphic->Width() : 0; }
    int Height() const { return m_graphic ? m_graphic->Height() : 0; }
    std::function<void()> OnChange;

private:
    void Changed();
    std::unique_ptr<TGraphic> m_graphic;
};

}  // namespace velmora::gui
