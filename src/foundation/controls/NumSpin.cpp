#include "NumSpin.h"

#include <windowsx.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "platform/rtl/Strings.h"

namespace velmora {

using TSpinPart = TNumSpinButton::TSpinPart;

namespace {

constexpr unsigned kFirstRepeatMs = 400;
constexpr unsigned kRepeatMs = 100;
constexpr int kButtonWidth = 15;
// Beyond this a float value switched to an integer would not convert.
constexpr double kIntegerLimit = 9e15;

std::optional<double> ParseFloat(std::wstring text) {
    text = Trim(text);
    wchar_t sep = DecimalSeparator();
    std::string narrow;
    for (wchar_t c : text) {
        if (c == sep) c = L'.';
        else if (c == L'.' && sep != L'.') return std::nullopt;
        if (c > 0x7f) return std::nullopt;
        narrow += static_cast<char>(c);
    }
    if (!narrow.empty() && narrow[0] == '+') narrow.erase(0, 1);
    double value = 0;
    auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (narrow.empty() || ec != std::errc() || end != narrow.data() + narrow.size()) return std::nullopt;
    return value;
}

std::wstring FormatFixed(double value, int decimals) {
    char digits[700];  // room for the largest double with 255 decimals
    auto end = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals).ptr;
    std::wstring text(digits, end);
    if (auto dot = text.find(L'.'); dot != std::wstring::npos) text[dot] = DecimalSeparator();
    return text;
}

}  // namespace

wchar_t DecimalSeparator() {
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1) return buffer[0];
    return L'.';
}

// ---- the button

TNumSpinButton::TNumSpinButton(gui::TComponent* owner) : TGraphicControl(owner) {
    m_width = kButtonWidth;
    m_height = 20;
}

// Above the diagonal from the lower-left to the upper-right corner is "up".
TSpinPart TNumSpinButton::PartAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return TSpinPart::None;
    return x * m_height + y * m_width < m_width * m_height ? TSpinPart::Top : TSpinPart::Bottom;
}

void TNumSpinButton::FireHeld() {
    if (m_held == TSpinPart::Top) gui::Fire(OnTopClick, this);
    else if (m_held == TSpinPart::Bottom) gui::Fire(OnBottomClick, this);
}

void TNumSpinButton::MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != gui::TMouseButton::mbLeft) return;
    m_held = PartAt(x, y);
    if (m_held == TSpinPart::None) return;
    m_showPressed = true;
    Invalidate();
    FireHeld();
    if (!m_timer) {
        m_timer = new gui::TTimer(this);
        m_timer->OnTimer = gui::bind(this, &TNumSpinButton::TimerTick);
    }
    m_timer->SetEnabled(false);
    m_timer->SetInterval(kFirstRepeatMs);
    m_timer->SetEnabled(true);
}

void TNumSpinButton::MouseMove(gui::TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (m_held == TSpinPart::None) return;
    bool over = PartAt(x, y) == m_held;
    if (over != m_showPressed) {
        m_showPressed = over;
        Invalidate();
    }
}

void TNumSpinButton::MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != gui::TMouseButton::mbLeft) return;
    StopRepeat();
}

void TNumSpinButton::CaptureLost() { StopRepeat(); }

void TNumSpinButton::StopRepeat() {
    if (m_timer) m_timer->SetEnabled(false);
    m_held = TSpinPart::None;
    m_showPressed = false;
    Invalidate();
}

void TNumSpinButton::TimerTick(gui::TObject*) {
    m_timer->SetInterval(kRepeatMs);
    if (m_showPressed) FireHeld();
}

void TNumSpinButton::PaintPart(TSpinPart part) {
    auto& c = Canvas();
    int w = m_width, h = m_height;
    bool pressed = Pressed() == part;
    POINT face[3];
    if (part == TSpinPart::Top) face[0] = {0, 0}, face[1] = {w, 0}, face[2] = {0, h};
    else face[0] = {w, 0}, face[1] = {w, h}, face[2] = {0, h};
    c.Pen.Color = pressed ? gui::clBtnShadow : gui::clBtnFace;
    c.Brush.Color = pressed ? gui::clBtnShadow : gui::clBtnFace;
    c.Polygon(face, 3);
    // A small arrow in the middle of the part.
    int cx = part == TSpinPart::Top ? w / 3 : w - w / 3 - 1;
    int cy = part == TSpinPart::Top ? h / 3 : h - h / 3 - 1;
    int d = std::max(2, std::min(w, h) / 6);
    POINT arrow[3];
    if (part == TSpinPart::Top) arrow[0] = {cx - d, cy + d / 2}, arrow[1] = {cx + d, cy + d / 2}, arrow[2] = {cx, cy - d / 2 - 1};
    else arrow[0] = {cx - d, cy - d / 2}, arrow[1] = {cx + d, cy - d / 2}, arrow[2] = {cx, cy + d / 2 + 1};
    c.Pen.Color = gui::clBtnText;
    c.Brush.Color = gui::clBtnText;
    c.Polygon(arrow, 3);
}

void TNumSpinButton::Paint() {
    PaintPart(TSpinPart::Top);
    PaintPart(TSpinPart::Bottom);
    auto& c = Canvas();
    c.Pen.Color = gui::clBtnShadow;
    c.MoveTo(0, m_height - 1);
    c.LineTo(m_width, -1);
    c.DrawEdge({0, 0, m_width, m_height}, BDR_RAISEDINNER, BF_RECT);
}

// ---- the edit

TNumSpinEdit::TNumSpinEdit(gui::TComponent* owner) : TCustomEdit(owner), m_button(this) {
    m_button.SetParent(this);
    m_button.OnTopClick = gui::bind(this, &TNumSpinEdit::UpClick);
    m_button.OnBottomClick = gui::bind(this, &TNumSpinEdit::DownClick);
    SetRightMargin(kButtonWidth + 1);
    SetValue(0);
    PlaceButton();
}

void TNumSpinEdit::PlaceButton() {
    m_button.SetBounds(ClientWidth() - kButtonWidth, 0, kButtonWidth, ClientHeight());
}

void TNumSpinEdit::Resized() {
    TCustomEdit::Resized();
    PlaceButton();
}

// The client area is known only once the window (with its border) exists.
void TNumSpinEdit::InitWnd() {
    TCustomEdit::InitWnd();
    PlaceButton();
}

void TNumSpinEdit::SetValueType(TValueType type) {
    double value = GetValue();
    m_valueType = type;
    SetValue(value);
}

double TNumSpinEdit::GetValue() const {
    std::wstring text = Text();
    if (m_valueType == TValueType::vtFloat) return ParseFloat(text).value_or(MinValue);
    auto value = ParseInt(Trim(text));
    if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nearbyint(MinValue);
    return static_cast<double>(*value);
}

double TNumSpinEdit::CheckValue(double NewValue) const {
    if (MaxValue == MinValue) return NewValue;
    if (NewValue < MinValue) return MinValue;
    if (NewValue > MaxValue) return MaxValue;
    return NewValue;
}

void TNumSpinEdit::SetValue(double NewValue) {
    double value = CheckValue(NewValue);
    if (m_valueType == TValueType::vtFloat) SetText(FormatFixed(value, Decimal));
    else SetText(IntToStr(static_cast<long long>(std::nearbyint(std::clamp(value, -kIntegerLimit, kIntegerLimit)))));
}

void TNumSpinEdit::UpClick(gui::TObject*) {
    if (ReadOnly()) MessageBeep(0);
    else SetValue(GetValue() + Increment);
}

void TNumSpinEdit::DownClick(gui::TObject*) {
    if (ReadOnly()) MessageBeep(0);
    else SetValue(GetValue() - Increment);
}

bool TNumSpinEdit::DoKeyDown(WORD& key, gui::TShiftState shift) {
    WORD step = key;
    if (step == VK_UP) UpClick(this);
    else if (step == VK_DOWN) DownClick(this);
    bool handled = TCustomEdit::DoKeyDown(key, shift);
    if (step == VK_UP || step == VK_DOWN) key = 0;
    return handled || key == 0;
}

// Cut (Ctrl+X) and paste (Ctrl+V) change the text too, so a field that may not be
// typed in drops them with the printable characters.
bool TNumSpinEdit::AcceptsChar(wchar_t key) const {
    bool control = key < L' ';
    if (!EditorEnabled || ReadOnly()) return control && key != VK_BACK && key != 0x16 && key != 0x18;
    if (control) return true;
    if (key == L'+' || key == L'-' || (key >= L'0' && key <= L'9')) return true;
    return m_valueType == TValueType::vtFloat && key == DecimalSeparator();
}

bool TNumSpinEdit::DoKeyPress(wchar_t& key) {
    if (!AcceptsChar(key)) key = 0;
    if (key == 0) return true;
    return TCustomEdit::DoKeyPress(key);
}

bool TNumSpinEdit::OnButton(LPARAM lParam) {
    RECT r = m_button.BoundsRect();
    return m_button.Visible() && PtInRect(&r, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

// Paste, cut, clear and Delete change the text as typing does: without the
// editor they are refused, and with it a paste must bring a number. The edit
// control carries out Shift+Insert, Shift+Delete and Ctrl+V itself, so those keys
// are turned into the messages checked here.
bool TNumSpinEdit::RefusesEdit(UINT message, WPARAM wParam) {
    const bool editable = EditorEnabled && !ReadOnly();
    switch (message) {
    case WM_CUT:
    case WM_CLEAR:
        return !editable;
    case WM_PASTE:
        return !editable || !PastesNumber();
    case WM_KEYDOWN: {
        const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
        if (wParam == VK_DELETE && !editable) return true;
        if (wParam == VK_INSERT && shift && !ctrl) {
            SendMessageW(m_handle, WM_PASTE, 0, 0);
            return true;
        }
        return false;
    }
    case WM_CHAR:
        if (wParam == 0x16 && editable) {  // Ctrl+V
            SendMessageW(m_handle, WM_PASTE, 0, 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TNumSpinEdit::PastesNumber() {
    if (!OpenClipboard(m_handle)) return false;
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    text = Trim(text);
    if (m_valueType == TValueType::vtFloat) return ParseFloat(text).has_value();
    return ParseInt(text).has_value();
}

// Mouse messages on the button stay with it: the edit itself would start a
// selection under the held button.
LRESULT TNumSpinEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (RefusesEdit(message, wParam)) return 0;
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (OnButton(lParam)) message = WM_LBUTTONDOWN;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        if (m_captureControl || OnButton(lParam)) {
            HandleMouse(message, wParam, lParam);
            return 0;
        }
        break;
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ::ScreenToClient(m_handle, &p);
        if (OnButton(MAKELPARAM(p.x, p.y))) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
        break;
    }
    }
    return TCustomEdit::WndProc(message, wParam, lParam);
}

}  // namespace velmora
