#include "foundation/controls/Wordcap.h"

#include <cstddef>
#include <unordered_map>

#include "platform/gui/Application.h"
#include "platform/rtl/Exceptions.h"

namespace velmora {

namespace {

// The hooked forms and their caption bars. A map of the process, not a window
// property: this is looked up for every message the form gets.
std::unordered_map<HWND, TMSOfficeCaption*>& HookedForms() {
    static std::unordered_map<HWND, TMSOfficeCaption*> forms;
    return forms;
}

int Ascent(const gui::TFont& font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmAscent;
}

// Gradients need Windows 95 or Windows NT from version 4.
bool SystemDrawsGradients() {
    static const bool supported = [] {
        OSVERSIONINFOW info{};
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExW(&info)) return false;
        return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
               (info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 4);
    }();
    return supported;
}

int Channel(int from, int to, int index, int count) { return from + index * (to - from) / (count - 1); }

}  // namespace

// ---- TCompanyText

TCompanyText::TCompanyText(TMSOfficeCaption* owner) : m_owner(owner) {
    Font.OnChange = [this] { m_owner->PartChanged(false); };
}

void TCompanyText::SetCaption(const std::wstring& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    m_owner->PartChanged(true);
}

void TCompanyText::SetColorActive(gui::TColor color) {
    if (color == m_colorActive) return;
    m_colorActive = color;
    m_owner->PartChanged(false);
}

void TCompanyText::SetColorInactive(gui::TColor color) {
    if (color == m_colorInactive) return;
    m_colorInactive = color;
    m_owner->PartChanged(false);
}

void TCompanyText::SetFontKind(TFontKind kind) {
    if (kind == m_fontKind) return;
    m_fontKind = kind;
    m_owner->PartChanged(false);
}

void TCompanyText::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    m_owner->PartChanged(true);
}

void TCompanyText::UpdateDrawFont(const gui::TFont& systemFont) {
    switch (m_fontKind) {
    case TFontKind::fkCustom: m_drawFont = Font; break;
    case TFontKind::fkSystem: m_drawFont = systemFont; break;
    case TFontKind::fkSystemI:
        m_drawFont = systemFont;
        m_drawFont.SetStyle(systemFont.Style() | gui::fsItalic);
        break;
    case TFontKind::fkSystemB:
        m_drawFont = systemFont;
        m_drawFont.SetStyle(systemFont.Style() | gui::fsBold);
        break;
    case TFontKind::fkSystemBI:
        m_drawFont = systemFont;
        m_drawFont.SetStyle(systemFont.Style() | gui::fsBold | gui::fsItalic);
        break;
    case TFontKind::fkAutoHeight: {
        m_drawFont = Font;
        int own = Ascent(Font);
        if (own > 0) m_drawFont.SetHeight(MulDiv(Font.Height(), Ascent(systemFont), own));
        break;
    }
    }
}

// ---- the gradient

TGradientBand GradientBand(int left, int right, int index, int count, COLORREF from, COLORREF to) {
    long long width = right - left;
    TGradientBand band{left + static_cast<int>(index * width / count),
                       left + static_cast<int>((index + 1) * width / count), from};
    if (count < 2) return band;
    band.Color = RGB(Channel(GetRValue(from), GetRValue(to), index, count),
                     Channel(GetGValue(from), GetGValue(to), index, count),
                     Channel(GetBValue(from), GetBValue(to), index, count));
    return band;
}

// ---- TMSOfficeCaption

TMSOfficeCaption::TMSOfficeCaption(gui::TComponent* owner)
    : TComponent(owner), m_form(dynamic_cast<gui::TForm*>(owner)) {
    if (!m_form) throw Exception(L"The caption bar must be owned by a form");
    ReadSystemFont();
    UpdateFonts();
    HWND window = m_form->Handle();
    // A second bar would find itself as the previous procedure and call itself for ever.
    if (HookedForms().count(window)) throw Exception(L"The form already has a caption bar");
    m_window = window;
    m_active = GetActiveWindow() == m_window;
    HookedForms()[m_window] = this;
    m_oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CaptionWndProc)));
    if (IsWindowVisible(m_window)) RedrawWindow(m_window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TMSOfficeCaption::~TMSOfficeCaption() { Unhook(); }

void TMSOfficeCaption::Unhook() {
    if (!m_window) return;
    HookedForms().erase(m_window);
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    // The system draws its own title bar again.
    if (IsWindowVisible(m_window)) RedrawWindow(m_window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    m_window = nullptr;
}

void TMSOfficeCaption::SetColor(gui::TColor color) {
    if (color == m_color) return;
    m_color = color;
    DrawCaption();
}

void TMSOfficeCaption::SetEnabled(TGradEnabled enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    DrawCaption();
}

void TMSOfficeCaption::SetNumColors(int count) {
    if (count < 1) throw Exception(L"The number of colors must be at least 1");
    if (count > 256) throw Exception(L"The highest number of gradient colors possible is 256");
    if (count == m_numColors) return;
    m_numColors = count;
    DrawCaption();
}

void TMSOfficeCaption::PartChanged(bool titleChanged) {
    UpdateFonts();
    if (titleChanged) UpdateTitle();
    DrawCaption();
}

std::wstring TMSOfficeCaption::TitleText() const {
    std::wstring title;
    for (const TCompanyText* part : {static_cast<const TCompanyText*>(&CompanyText),
                                     static_cast<const TCompanyText*>(&AppNameText),
                                     static_cast<const TCompanyText*>(&CaptionText)}) {
        // An empty part adds no blank, so the title never ends in one.
        if (!part->Visible() || part->Caption().empty()) continue;
        if (!title.empty()) title += L' ';
        title += part->Caption();
    }
    return title;
}

void TMSOfficeCaption::UpdateTitle() {
    // Setting the text makes the system draw its own caption: keep the window
    // from drawing meanwhile and draw ours afterwards.
    bool lock = m_window && IsWindowVisible(m_window);
    if (lock) SendMessageW(m_window, WM_SETREDRAW, FALSE, 0);
    m_form->SetCaption(TitleText());
    if (lock) SendMessageW(m_window, WM_SETREDRAW, TRUE, 0);
}

void TMSOfficeCaption::ReadSystemFont() {
    NONCLIENTMETRICSW metrics{};
    // The size Windows 95 and NT 4 know: without the padded border of later versions.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
    const LOGFONTW& lf = metrics.lfCaptionFont;
    m_systemFont.SetName(lf.lfFaceName);
    m_systemFont.SetHeight(lf.lfHeight);
    unsigned style = 0;
    if (lf.lfItalic) style |= gui::fsItalic;
    if (lf.lfWeight > 500) style |= gui::fsBold;
    m_systemFont.SetStyle(style);
}

void TMSOfficeCaption::UpdateFonts() {
    CompanyText.UpdateDrawFont(m_systemFont);
    AppNameText.UpdateDrawFont(m_systemFont);
    CaptionText.UpdateDrawFont(m_systemFont);
}

bool TMSOfficeCaption::GradientShown() const {
    if (!SystemDrawsGradients()) return false;
    switch (m_enabled) {
    case TGradEnabled::geAlways: return true;
    case TGradEnabled::geNever: return false;
    case TGradEnabled::geWhenActive: return m_active;
    case TGradEnabled::geSmart: break;
    }
    // With 256 colours or fewer the bands would be dithered: draw the plain colour.
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits > 8;
}

RECT TMSOfficeCaption::CaptionRect() const {
    RECT window{}, client{};
    if (!m_window) return window;
    GetWindowRect(m_window, &window);
    GetClientRect(m_window, &client);
    // The frame is as wide on every side; the caption sits right below its top edge.
    int frame = ((window.right - window.left) - (client.right - client.left)) / 2;
    bool tool = GetWindowLongW(m_window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
    int height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    return {frame, frame, (window.right - window.left) - frame, frame + height};
}

LRESULT CALLBACK TMSOfficeCaption::CaptionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = HookedForms().find(window);
    if (found == HookedForms().end()) return DefWindowProcW(window, message, wParam, lParam);
    TMSOfficeCaption* caption = found->second;
    try {
        return caption->WndProc(message, wParam, lParam);
    } catch (...) {
        gui::HandleCallbackException(caption);
        return 0;
    }
}

LRESULT TMSOfficeCaption::CallOld(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(m_oldProc, m_window, message, wParam, lParam);
}

LRESULT TMSOfficeCaption::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCPAINT: return NcPaint(wParam, lParam);
    case WM_NCACTIVATE: {
        m_active = wParam != 0;
        // A minimised window shows no title bar of ours: the system draws it alone.
        if (IsIconic(m_window)) return CallOld(message, wParam, lParam);
        CallOld(message, wParam, lParam);
        DrawCaption();
        return TRUE;
    }
    case WM_SETTEXT: {
        // The system draws its caption straight away when the text changes.
        LRESULT result = CallOld(message, wParam, lParam);
        DrawCaption();
        return result;
    }
    case WM_NCDESTROY: {
        WNDPROC old = m_oldProc;
        HWND window = m_window;
        HookedForms().erase(window);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        m_window = nullptr;
        return CallWindowProcW(old, window, message, wParam, lParam);
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE: {
        LRESULT result = CallOld(message, wParam, lParam);
        ReadSystemFont();
        UpdateFonts();
        return result;
    }
    default: return CallOld(message, wParam, lParam);
    }
}

LRESULT TMSOfficeCaption::NcPaint(WPARAM wParam, LPARAM lParam) {
    if (IsIconic(m_window)) return CallOld(WM_NCPAINT, wParam, lParam);
    RECT window{};
    GetWindowRect(m_window, &window);
    RECT bar = CaptionRect();
    OffsetRect(&bar, window.left, window.top);
    // The system paints everything but the caption; its region is in screen coordinates.
    HRGN region = CreateRectRgnIndirect(&window);
    if (wParam > 1) CombineRgn(region, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
    HRGN captionRegion = CreateRectRgnIndirect(&bar);
    CombineRgn(region, region, captionRegion, RGN_DIFF);
    DeleteObject(captionRegion);
    LRESULT result = CallOld(WM_NCPAINT, reinterpret_cast<WPARAM>(region), lParam);
    DeleteObject(region);
    DrawCaption();
    return result;
}

void TMSOfficeCaption::DrawCaption() {
    if (!m_window || !IsWindowVisible(m_window) || IsIconic(m_window)) return;
    LONG style = GetWindowLongW(m_window, GWL_STYLE);
    if ((style & WS_CAPTION) != WS_CAPTION) return;
    HDC dc = GetWindowDC(m_window);
    if (!dc) return;
    RECT bar = CaptionRect();
    DrawBackground(dc, bar);
    int textLeft = bar.left + 2;
    int textRight = DrawIconAndButtons(dc, bar, textLeft);
    DrawParts(dc, {textLeft, bar.top, textRight, bar.bottom});
    ReleaseDC(m_window, dc);
}

void TMSOfficeCaption::DrawBackground(HDC dc, const RECT& r) {
    COLORREF to = GetSysColor(m_active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    if (!GradientShown()) {
        HBRUSH brush = CreateSolidBrush(to);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        return;
    }
    COLORREF from = gui::ColorToRGB(m_color);
    for (int i = 0; i < m_numColors; ++i) {
        TGradientBand band = GradientBand(r.left, r.right, i, m_numColors, from, to);
        if (band.Right <= band.Left) continue;
        RECT part{band.Left, r.top, band.Right, r.bottom};
        HBRUSH brush = CreateSolidBrush(band.Color);
        FillRect(dc, &part, brush);
        DeleteObject(brush);
    }
}

// Draws the window menu's icon and the title buttons as the system places them;
// returns where the text must end and moves TextLeft past the icon.
int TMSOfficeCaption::DrawIconAndButtons(HDC dc, const RECT& r, int& textLeft) {
    LONG style = GetWindowLongW(m_window, GWL_STYLE);
    if (!(style & WS_SYSMENU)) return r.right - 2;
    bool tool = GetWindowLongW(m_window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
    if (!tool) {
        auto icon = reinterpret_cast<HICON>(SendMessageW(m_window, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(m_window, GCLP_HICONSM));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(m_window, GCLP_HICON));
        if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
        int size = GetSystemMetrics(SM_CXSMICON);
        DrawIconEx(dc, r.left + 2, r.top + (r.bottom - r.top - size) / 2, icon, size,
                   GetSystemMetrics(SM_CYSMICON), 0, nullptr, DI_NORMAL);
        textLeft = r.left + size + 4;
    }
    int width = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE) - 2;
    int height = GetSystemMetrics(tool ? SM_CYSMSIZE : SM_CYSIZE) - 4;
    RECT button{r.right - 2 - width, r.top + 2, r.right - 2, r.top + 2 + height};
    DrawFrameControl(dc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE);
    int textRight = button.left - 2;
    if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        OffsetRect(&button, -(width + 2), 0);
        UINT max = IsZoomed(m_window) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX;
        DrawFrameControl(dc, &button, DFC_CAPTION, max | ((style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE));
        OffsetRect(&button, -width, 0);
        DrawFrameControl(dc, &button, DFC_CAPTION,
                         DFCS_CAPTIONMIN | ((style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE));
        textRight = button.left - 2;
    }
    return textRight;
}

void TMSOfficeCaption::DrawParts(HDC dc, RECT r) {
    int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    for (const TCompanyText* part : {static_cast<const TCompanyText*>(&CompanyText),
                                     static_cast<const TCompanyText*>(&AppNameText),
                                     static_cast<const TCompanyText*>(&CaptionText)}) {
        if (!part->Visible() || part->Caption().empty() || r.left >= r.right) continue;
        SelectObject(dc, part->DrawFont().Handle());
        SetTextColor(dc, gui::ColorToRGB(m_active ? part->ColorActive() : part->ColorInactive()));
        std::wstring text = part->Caption();
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SIZE size{}, blank{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        GetTextExtentPoint32W(dc, L" ", 1, &blank);
        r.left += size.cx + blank.cx;
    }
    SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
}

}  // namespace velmora
