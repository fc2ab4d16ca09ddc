#include "ExplBtn.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/gui/Buttons.h"

namespace velmora {

using namespace gui;

namespace {

// Keeps the destination where the mono source is 1, paints the brush where it is 0.
constexpr DWORD kPaintBrushWhereZero = 0x00B8074A;
constexpr int kPictureGap = 2;
constexpr int kMarkWidth = 8;  // 3 pixels of space, then a 5-pixel triangle

// A picture's pixels as 0x00RRGGBB, top row first.
struct TPixels {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Bits;
    std::uint32_t At(int x, int y) const { return Bits[static_cast<size_t>(y * Width + x)]; }
};

std::uint32_t Luminance(std::uint32_t p) {
    return (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 100;
}

// A 32-bit DIB section selected into a memory context of its own.
class TDib {
public:
    TDib(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0));
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_bitmap.Get());
    }
    ~TDib() {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    TDib(const TDib&) = delete;
    TDib& operator=(const TDib&) = delete;
    HDC Dc() const { return m_dc; }
    std::uint32_t* Bits() const { return static_cast<std::uint32_t*>(m_bits); }
    bool Valid() const { return m_bits != nullptr; }

private:
    TGdiObject m_bitmap;
    void* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_old = nullptr;
};

TPixels ReadPixels(const TGraphic& graphic) {
    TPixels p;
    TDib dib(graphic.Width(), graphic.Height());
    if (!dib.Valid()) return p;
    graphic.Draw(dib.Dc(), {0, 0, graphic.Width(), graphic.Height()});
    GdiFlush();
    p.Width = graphic.Width();
    p.Height = graphic.Height();
    p.Bits.assign(dib.Bits(), dib.Bits() + p.Width * p.Height);
    for (auto& b : p.Bits) b &= 0xFFFFFF;
    return p;
}

// A monochrome bitmap: 1 where Keep says the destination stays.
template <class Keep>
HBITMAP MakeMask(const TPixels& p, Keep keep) {
    int stride = (p.Width + 15) / 16 * 2;  // rows of a mono bitmap are word-aligned
    std::vector<BYTE> bits(static_cast<size_t>(stride * p.Height), 0);
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            if (keep(x, y)) bits[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
    return CreateBitmap(p.Width, p.Height, 1, 1, bits.data());
}

// Sets the colours that turn mono 0 into black and 1 into white, and back.
class TMonoColours {
public:
    explicit TMonoColours(HDC dc)
        : m_dc(dc), m_text(SetTextColor(dc, RGB(0, 0, 0))), m_back(SetBkColor(dc, RGB(255, 255, 255))) {}
    ~TMonoColours() {
        SetTextColor(m_dc, m_text);
        SetBkColor(m_dc, m_back);
    }

private:
    HDC m_dc;
    COLORREF m_text, m_back;
};

void BlitMono(HDC dc, int x, int y, const TPixels& p, HBITMAP mask, DWORD rop) {
    HDC maskDc = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(maskDc, mask);
    BitBlt(dc, x, y, p.Width, p.Height, maskDc, 0, 0, rop);
    SelectObject(maskDc, old);
    DeleteDC(maskDc);
}

// Draws Colours where the picture is not of its transparent colour (the
// bottom-left pixel of Shape), through a monochrome mask.
void DrawTransparent(HDC dc, int x, int y, const TPixels& shape, const TPixels& colours) {
    std::uint32_t transparent = shape.At(0, shape.Height - 1);
    auto seeThrough = [&](int px, int py) { return shape.At(px, py) == transparent; };
    TGdiObject mask(MakeMask(shape, seeThrough));
    TDib cut(colours.Width, colours.Height);
    if (!mask.Get() || !cut.Valid()) return;
    for (int py = 0; py < colours.Height; ++py)
        for (int px = 0; px < colours.Width; ++px)
            cut.Bits()[py * colours.Width + px] = seeThrough(px, py) ? 0 : colours.At(px, py);
    TMonoColours mono(dc);
    BlitMono(dc, x, y, shape, static_cast<HBITMAP>(mask.Get()), SRCAND);
    BitBlt(dc, x, y, colours.Width, colours.Height, cut.Dc(), 0, 0, SRCPAINT);
}

// The picture's dark, opaque pixels in one colour: light pixels vanish, as on
// any disabled button face.
void DrawSilhouette(HDC dc, int x, int y, const TPixels& p, COLORREF colour) {
    std::uint32_t transparent = p.At(0, p.Height - 1);
    TGdiObject mask(MakeMask(p, [&](int px, int py) {
        std::uint32_t c = p.At(px, py);
        return c == transparent || Luminance(c) >= 0xC0;
    }));
    if (!mask.Get()) return;
    TGdiObject brush(CreateSolidBrush(colour));
    HGDIOBJ old = SelectObject(dc, brush.Get());
    {
        TMonoColours mono(dc);
        BlitMono(dc, x, y, p, static_cast<HBITMAP>(mask.Get()), kPaintBrushWhereZero);
    }
    SelectObject(dc, old);
}

// The form of a picture while the mouse is away: its grey shades.
TPixels Greyed(const TPixels& p) {
    TPixels g = p;
    for (auto& b : g.Bits) {
        std::uint32_t l = Luminance(b);
        b = l << 16 | l << 8 | l;
    }
    return g;
}

// The dither pattern of a down button: 1 bits show the highlight colour.
HBRUSH DownPatternBrush(TExplorerButtonShadingType shade) {
    WORD rows[8];
    for (int y = 0; y < 8; ++y) {
        WORD even = y % 2 == 0 ? 0xAA : 0x55;  // a checkerboard
        switch (shade) {
        case TExplorerButtonShadingType::stLight: rows[y] = y % 2 == 0 ? 0xFF : 0x55; break;
        case TExplorerButtonShadingType::stMedium: rows[y] = even; break;
        case TExplorerButtonShadingType::stDark: rows[y] = y % 2 == 0 ? 0xAA : 0x00; break;
        }
    }
    TGdiObject bitmap(CreateBitmap(8, 8, 1, 1, rows));
    return CreatePatternBrush(static_cast<HBITMAP>(bitmap.Get()));
}

void FillPattern(HDC dc, const RECT& r, TExplorerButtonShadingType shade) {
    TGdiObject brush(DownPatternBrush(shade));
    COLORREF text = SetTextColor(dc, ColorToRGB(clBtnFace));
    COLORREF back = SetBkColor(dc, ColorToRGB(clBtnHighlight));
    ::FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
    SetTextColor(dc, text);
    SetBkColor(dc, back);
}

void Frame(TCanvas& canvas, const RECT& r, TColor topLeft, TColor bottomRight) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = topLeft;
    canvas.FillRect({r.left, r.top, r.right, r.top + 1});
    canvas.FillRect({r.left, r.top, r.left + 1, r.bottom});
    canvas.Brush.Color = bottomRight;
    canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
    canvas.FillRect({r.right - 1, r.top, r.right, r.bottom});
}

void DrawMark(TCanvas& canvas, int x, int y, TColor colour) {
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = colour;
    for (int i = 0; i < 3; ++i) canvas.FillRect({x + i, y + i, x + 5 - i, y + i + 1});
}

void PurgeMouseMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

}  // namespace

TExplorerButton::TExplorerButton(TComponent* owner) : TGraphicControl(owner) {
    m_width = 60;
    m_height = 50;
    for (TPicture* p : {&Bitmap, &NoFocusBitmap, &DisabledBitmap}) p->OnChange = [this] { Invalidate(); };
}

void TExplorerButton::SetAlignment(TAlignment value) {
    m_alignment = value;
    Invalidate();
}

void TExplorerButton::SetBevelStyle(TBevelStyle value) {
    m_bevelStyle = value;
    Invalidate();
}

void TExplorerButton::SetGroupIndex(int value) {
    m_groupIndex = value;
    Invalidate();
}

void TExplorerButton::SetDown(bool value) {
    m_down = value;
    Invalidate();
}

void TExplorerButton::SetDropDownMenu(TPopupMenu* menu) {
    if (menu == m_dropDownMenu) return;
    if (m_dropDownMenu) RemoveFreeNotification(m_dropDownMenu);
    m_dropDownMenu = menu;
    if (menu) FreeNotification(menu);
    Invalidate();
}

void TExplorerButton::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == m_dropDownMenu) {
        m_dropDownMenu = nullptr;
        Invalidate();
    }
}

void TExplorerButton::SetLayout(TExplorerButtonLayout value) {
    m_layout = value;
    Invalidate();
}

void TExplorerButton::SetOptions(TExplorerButtonOptions value) {
    m_options = value;
    Invalidate();
}

void TExplorerButton::SetShadingType(TExplorerButtonShadingType value) {
    m_shadingType = value;
    Invalidate();
}

void TExplorerButton::SetShowDownPattern(bool value) {
    m_showDownPattern = value;
    Invalidate();
}

void TExplorerButton::SetUnselectedFontColor(TColor value) {
    m_unselectedFontColor = value;
    Invalidate();
}

void TExplorerButton::SetWordWrap(bool value) {
    m_wordWrap = value;
    Invalidate();
}

// ---- mouse and keyboard

bool TExplorerButton::CursorInside() const {
    POINT p;
    if (!m_parent || !GetCursorPos(&p)) return false;
    p = ScreenToClient(p);
    return Contains(p.x, p.y);
}

void TExplorerButton::Click() {
    if (!m_dropDownMenu) TGraphicControl::Click();
}

void TExplorerButton::MouseEnter() {
    if (Active()) {
        m_inside = true;
        if (!m_down) Invalidate();
        Fire(OnEnter, this);
    }
    TGraphicControl::MouseEnter();
}

void TExplorerButton::MouseLeave() {
    // A button disabled under the mouse forgets it too, or it would come back hot.
    m_inside = false;
    if (!m_down) Invalidate();
    if (Active()) Fire(OnExit, this);
    TGraphicControl::MouseLeave();
}

void TExplorerButton::MouseMove(TShiftState shift, int x, int y) {
    // While the button holds the mouse no enter or leave arrives: the pressed
    // look follows the pointer in and out.
    if (m_pressing && Contains(x, y) != m_inside) {
        m_inside = !m_inside;
        Invalidate();
    }
    TGraphicControl::MouseMove(shift, x, y);
}

void TExplorerButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::mbLeft && Active()) {
        m_pressing = true;
        m_inside = true;
        Invalidate();
        if (m_dropDownMenu) {
            ShowDropDown();
            return;
        }
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TExplorerButton::ShowDropDown() {
    POINT corner = ClientToScreen({0, m_height});
    m_dropDownMenu->Popup(corner.x, corner.y, this);
    // The press that opened the menu ends here: no button-up or click follows.
    PurgeMouseMessages();
    if (m_parent && m_parent->HandleAllocated() && GetCapture() == m_parent->Handle()) ReleaseCapture();
    m_inside = CursorInside();
    m_pressing = false;
    Invalidate();
}

void TExplorerButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (Active()) {
        if (button == TMouseButton::mbLeft && m_pressing) {
            m_pressing = false;
            m_inside = Contains(x, y);
            if (m_inside && m_groupIndex != 0) ToggleInGroup();
            Invalidate();
        } else if (button == TMouseButton::mbRight) {
            // The pop-up menu comes next; nothing of this press may reach it.
            PurgeMouseMessages();
            if (m_parent && m_parent->HandleAllocated() && GetCapture() == m_parent->Handle()) ReleaseCapture();
        }
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TExplorerButton::ToggleInGroup() {
    if (m_down) {
        if (AllowAllUp) SetDown(false);
        return;
    }
    if (m_parent)
        for (int i = 0; i < m_parent->ControlCount(); ++i)
            if (auto* b = dynamic_cast<TExplorerButton*>(m_parent->Controls(i));
                b && b != this && b->m_groupIndex == m_groupIndex && b->m_down)
                b->SetDown(false);
    SetDown(true);
}

void TExplorerButton::CaptureLost() {
    if (!m_pressing) return;
    m_pressing = false;
    Invalidate();
}

bool TExplorerButton::DialogChar(wchar_t key) {
    wchar_t accel = AccelChar(m_caption);
    if (!Active() || accel == 0 || accel != static_cast<wchar_t>(std::towlower(key))) return false;
    MouseDown(TMouseButton::mbLeft, 0, 0, 0);
    if (m_pressing) {
        MouseUp(TMouseButton::mbLeft, 0, 0, 0);
        Click();
    }
    m_inside = CursorInside();
    Invalidate();
    return true;
}

// ---- painting

void TExplorerButton::Paint() {
    if (m_width <= 0 || m_height <= 0) return;
    TBitmap offScreen(m_width, m_height);
    TCanvas& canvas = offScreen.Canvas();
    canvas.Font = Font;
    PaintFace(canvas);
    BitBlt(Canvas().Handle(), 0, 0, m_width, m_height, canvas.Handle(), 0, 0, SRCCOPY);
}

void TExplorerButton::PaintFace(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    RECT all{0, 0, m_width, m_height};
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = EffectiveColor();
    canvas.FillRect(all);

    bool disabled = !m_enabled;
    bool sunken = !disabled && ((m_pressing && m_inside) || m_down);
    bool bevel = (m_options & boShowBevel) != 0;
    if (sunken) {
        if (m_down && m_showDownPattern) FillPattern(dc, {1, 1, m_width - 1, m_height - 1}, m_shadingType);
        if (bevel) Frame(canvas, all, clBtnShadow, clBtnHighlight);
    } else if (!disabled && m_inside && bevel) {
        bool raised = m_bevelStyle == TBevelStyle::bsRaised;
        Frame(canvas, all, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    }

    // The picture and its shape: the disabled picture, the normal one, or the
    // form shown while the mouse is away.
    const TGraphic* picture = Bitmap.Graphic();
    bool emboss = false, grey = false;
    if (disabled) {
        if (DisabledBitmap.Graphic() && !DisabledBitmap.Graphic()->Empty()) picture = DisabledBitmap.Graphic();
        else emboss = true;
    } else if (!m_inside && (m_options & boMonoDisplay)) {
        if (NoFocusBitmap.Graphic() && !NoFocusBitmap.Graphic()->Empty()) picture = NoFocusBitmap.Graphic();
        else grey = true;
    }
    TPixels pixels;
    if (picture && !picture->Empty()) pixels = ReadPixels(*picture);
    int pw = pixels.Width, ph = pixels.Height;

    int mark = (m_options & boPopupMark) && m_dropDownMenu ? kMarkWidth : 0;
    bool showCaption = !(m_options & boIconOnly) && !m_caption.empty();
    UINT flags = (m_wordWrap ? DT_WORDBREAK : DT_SINGLELINE) |
                 (m_alignment == TAlignment::taCenter ? DT_CENTER
                  : m_alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT);
    bool vertical = m_layout == TExplorerButtonLayout::blBitmapTop || m_layout == TExplorerButtonLayout::blBitmapBottom;
    int tw = 0, th = 0;
    if (showCaption) {
        int room = vertical ? m_width - 4 : m_width - 4 - pw - mark - kPictureGap;
        RECT measure{0, 0, std::max(room, 1), 0};
        canvas.DrawText(m_caption, measure, flags | DT_CALCRECT);
        tw = vertical ? m_width - 4 : std::min<int>(measure.right, std::max(room, 1));
        th = measure.bottom;
    }
    int gap = pw && showCaption ? kPictureGap : 0;
    int shift = sunken ? 1 : 0;
    POINT pic{}, text{};
    if (vertical) {
        int top = (m_height - (ph + gap + th)) / 2;
        pic.x = (m_width - pw - mark) / 2;
        pic.y = m_layout == TExplorerButtonLayout::blBitmapTop ? top : top + th + gap;
        text = {2, m_layout == TExplorerButtonLayout::blBitmapTop ? top + ph + gap : top};
    } else {
        int left = (m_width - (pw + mark + gap + tw)) / 2;
        pic.y = (m_height - ph) / 2;
        pic.x = m_layout == TExplorerButtonLayout::blBitmapLeft ? left : left + tw + gap;
        text = {m_layout == TExplorerButtonLayout::blBitmapLeft ? left + pw + mark + gap : left, (m_height - th) / 2};
    }
    pic.x += shift;
    pic.y += shift;
    text.x += shift;
    text.y += shift;

    if (pw && ph) {
        if (emboss) {
            DrawSilhouette(dc, pic.x + 1, pic.y + 1, pixels, ColorToRGB(clBtnHighlight));
            DrawSilhouette(dc, pic.x, pic.y, pixels, ColorToRGB(clBtnShadow));
        } else {
            DrawTransparent(dc, pic.x, pic.y, pixels, grey ? Greyed(pixels) : pixels);
        }
    }
    TColor textColour = m_inside ? Font.Color : m_unselectedFontColor;
    if (mark) {
        int mx = pic.x + pw + 3, my = pic.y + ph / 2 - 1;
        if (disabled) {
            DrawMark(canvas, mx + 1, my + 1, clBtnHighlight);
            DrawMark(canvas, mx, my, clBtnShadow);
        } else {
            DrawMark(canvas, mx, my, textColour);
        }
    }
    if (showCaption) {
        canvas.Brush.Style = TBrushStyle::bsClear;
        auto drawAt = [&](int x, int y, TColor colour) {
            canvas.Font.Color = colour;
            RECT r{x, y, x + tw, y + th};
            canvas.DrawText(m_caption, r, flags);
        };
        if (disabled) {
            drawAt(text.x + 1, text.y + 1, clBtnHighlight);
            drawAt(text.x, text.y, clBtnShadow);
        } else {
            drawAt(text.x, text.y, textColour);
        }
    }
}

}  // namespace velmora
