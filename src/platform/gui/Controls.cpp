#include "Controls.h"

#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <unordered_map>

#include "Application.h"
#include "Forms.h"
#include "Menus.h"

namespace velmora::gui {

const wchar_t* const kVelmoraWindowClass = L"VelmoraWindow";
// The object of each window of ours (own class or subclassed system control), in
// a map of the process: a window property would cost a server round trip under
// Wine on every message, and the window's user data is not ours to take (it
// belongs to whoever subclasses the control next, and foreign windows carry
// anything there). Entries come with the handle and go at WM_NCDESTROY.
namespace {
// A slim reader/writer lock: lookups, one per message, share it.
SRWLOCK g_objectsLock = SRWLOCK_INIT;
std::unordered_map<HWND, TWinControl*> g_objects;

TWinControl* ObjectOf(HWND window) {
    AcquireSRWLockShared(&g_objectsLock);
    auto it = g_objects.find(window);
    TWinControl* control = it == g_objects.end() ? nullptr : it->second;
    ReleaseSRWLockShared(&g_objectsLock);
    return control;
}

void SetObjectOf(HWND window, TWinControl* control) {
    AcquireSRWLockExclusive(&g_objectsLock);
    try {
        if (control)
            g_objects[window] = control;
        else
            g_objects.erase(window);
    } catch (...) {
        ReleaseSRWLockExclusive(&g_objectsLock);
        throw;
    }
    ReleaseSRWLockExclusive(&g_objectsLock);
}
}  // namespace

static thread_local TWinControl* t_creating = nullptr;

void RegisterWindowClasses() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kVelmoraWindowClass, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = VelmoraWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    wc.lpszClassName = kVelmoraWindowClass;
    RegisterClassExW(&wc);
}

UINT NextControlId() {
    static UINT next = 1000;
    if (++next > 0x7FFF) next = 1000;
    return next;
}

TShiftState KeyShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

static TShiftState MouseShiftState(WPARAM wParam) {
    TShiftState s = 0;
    if (wParam & MK_SHIFT) s |= ssShift;
    if (wParam & MK_CONTROL) s |= ssCtrl;
    if (wParam & MK_LBUTTON) s |= ssLeft;
    if (wParam & MK_RBUTTON) s |= ssRight;
    if (wParam & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

// ---- TControl

TControl::TControl(TComponent* owner) : TComponent(owner) {
    Font.OnChange = [this] { FontChanged(); };
    if (auto* parent = dynamic_cast<TWinControl*>(owner)) SetParent(parent);
}

TControl::~TControl() {
    if (Application) {
        if (Application->HintControl() == this) Application->SetHintControl(nullptr);
        Application->RemoveTool(this);
    }
    if (m_parent) m_parent->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) return;
    if (m_parent) {
        Invalidate();
        if (Application && !IsWindowed()) Application->RemoveTool(this);
        m_parent->RemoveControl(this);
    }
    m_parent = parent;
    if (m_parent) {
        if (ParentFont) Font = m_parent->Font;
        if (ParentColor) m_color = m_parent->Color();
        m_parent->InsertControl(this);
        if (auto* self = dynamic_cast<TWinControl*>(this)) {
            if (self->HandleAllocated()) self->DestroyHandle();
            if (m_parent->HandleAllocated()) self->HandleNeeded();
        }
        if (Application && !IsWindowed() && m_parent->HandleAllocated()) Application->AddTool(this);
        RequestAlign();
        Invalidate();
    }
}

TForm* TControl::ParentForm() const {
    const TControl* c = this;
    while (c) {
        if (auto* f = dynamic_cast<const TForm*>(c)) {
            if (!f->Parent() || f->FormStyle() == TFormStyle::fsMDIChild) return const_cast<TForm*>(f);
        }
        c = c->m_parent;
    }
    return nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == m_left && top == m_top && width == m_width && height == m_height) return;
    Invalidate();
    bool sized = width != m_width || height != m_height;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Invalidate();
    if (Application && !IsWindowed()) Application->MoveTool(this);
    if (sized) Resized();
    RequestAlign();
}

void TControl::SetClientSize(int width, int height) {
    SetBounds(m_left, m_top, width + (m_width - ClientWidth()), height + (m_height - ClientHeight()));
}

POINT TControl::ClientToScreen(POINT p) const {
    const TControl* c = this;
    while (c && !c->IsWindowed()) {
        p.x += c->m_left;
        p.y += c->m_top;
        c = c->m_parent;
    }
    if (c) ::ClientToScreen(const_cast<TWinControl*>(static_cast<const TWinControl*>(c))->Handle(), &p);
    return p;
}

POINT TControl::ScreenToClient(POINT p) const {
    POINT origin = ClientToScreen({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

void TControl::SetAlign(TAlign align) {
    if (align == m_align) return;
    m_align = align;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (m_parent && m_align != TAlign::alNone) m_parent->AlignControls();
}

void TControl::SetCaption(const std::wstring& caption) {
    if (caption == m_caption) return;
    m_caption = caption;
    TextChanged();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    EnabledChanged();
}

void TControl::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    if (m_parent) m_parent->Invalidate();
    RequestAlign();
}

TColor TControl::EffectiveColor() const {
    return ParentColor && m_parent ? m_parent->EffectiveColor() : m_color;
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->m_parent)
        if (!c->m_visible) return false;
    return true;
}

void TControl::SetColor(TColor color) {
    if (color == m_color) return;
    m_color = color;
    ParentColor = false;
    Invalidate();
}

bool TControl::EffectiveShowHint() const {
    for (const TControl* c = this; c; c = c->m_parent)
        if (!c->ParentShowHint) return c->ShowHint;
    return Application && Application->ShowHint;
}

void TControl::Click() { Fire(OnClick, this); }

void TControl::Invalidate() {
    if (m_parent && m_parent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(m_parent->Handle(), &r, TRUE);
    }
}

void TControl::BringToFront() {
    if (!m_parent) return;
    auto& list = m_parent->m_controls;
    std::erase(list, this);
    list.push_back(this);
    Invalidate();
}

void TControl::SendToBack() {
    if (!m_parent) return;
    auto& list = m_parent->m_controls;
    std::erase(list, this);
    list.insert(list.begin(), this);
    Invalidate();
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) { Fire(OnMouseDown, this, b, s, x, y); }
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) { Fire(OnMouseUp, this, b, s, x, y); }
void TControl::MouseMove(TShiftState s, int x, int y) { Fire(OnMouseMove, this, s, x, y); }
void TControl::DblClick() { Fire(OnDblClick, this); }
void TControl::MouseEnter() { Fire(OnMouseEnter, this); }
void TControl::MouseLeave() { Fire(OnMouseLeave, this); }
bool TControl::DialogChar(wchar_t) { return false; }
bool TControl::CanFocus() const { return false; }
void TControl::Resized() { Fire(OnResize, this); }

// ---- TGraphicControl

void TGraphicControl::PaintControl(TCanvas& canvas) {
    canvas.Font = Font;
    m_canvas = &canvas;
    Paint();
    m_canvas = nullptr;
}

void TGraphicControl::Update() {
    if (m_parent) m_parent->Update();
}

// ---- TWinControl

// Controls made inside a window that already exists get their own window at the
// next turn of the message loop (their constructors have finished by then), or
// earlier when something asks for the handle.
static std::set<TWinControl*>& PendingWindows() {
    static std::set<TWinControl*> pending;
    return pending;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    if (!m_parent || !m_parent->HandleAllocated() || !Application) return;
    bool first = PendingWindows().empty();
    PendingWindows().insert(this);
    if (first)
        Application->Post([] {
            auto pending = std::move(PendingWindows());
            PendingWindows().clear();
            for (TWinControl* c : pending)
                if (c->m_parent && c->m_parent->HandleAllocated()) c->HandleNeeded();
        });
}

void TWinControl::Loaded() {
    if (m_parent && m_parent->HandleAllocated()) HandleNeeded();
}

TWinControl::~TWinControl() {
    PendingWindows().erase(this);
    BeforeDestruction();
    DestroyHandle();
    for (TControl* c : m_controls) c->m_parent = nullptr;
    m_controls.clear();
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? ObjectOf(window) : nullptr;
}

HWND TWinControl::Handle() {
    if (!m_handle) {
        if (m_parent) m_parent->HandleNeeded();
        if (!m_handle) CreateWnd();
    }
    return m_handle;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.ClassName = kVelmoraWindowClass;
    p.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_NOPARENTNOTIFY | WS_EX_CONTROLPARENT;
    if (TabStop) p.Style |= WS_TABSTOP;
    if (m_parent) {
        p.Parent = m_parent->ParentHandleForChildren();
        p.Menu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId()));
    }
}

void TWinControl::CreateWnd() {
    RegisterWindowClasses();
    TCreateParams p;
    CreateParams(p);
    if (m_visible && (p.Style & WS_CHILD)) p.Style |= WS_VISIBLE;
    if (!m_enabled) p.Style |= WS_DISABLED;
    if (p.SystemClass) {
        HWND h = CreateWindowExW(p.ExStyle, p.ClassName.c_str(), m_caption.c_str(), p.Style, m_left, m_top, m_width,
                                 m_height, p.Parent, p.Menu, GetModuleHandleW(nullptr), nullptr);
        if (!h) throw EOSError(GetLastError(), L"CreateWindowEx " + p.ClassName);
        m_handle = h;
        SetObjectOf(h, this);
        m_oldProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&VelmoraWndProc)));
    } else {
        t_creating = this;
        HWND h = CreateWindowExW(p.ExStyle, p.ClassName.c_str(), m_caption.c_str(), p.Style, m_left, m_top, m_width,
                                 m_height, p.Parent, p.Menu, GetModuleHandleW(nullptr), nullptr);
        t_creating = nullptr;
        if (!h) throw EOSError(GetLastError(), L"CreateWindowEx " + p.ClassName);
    }
    SendMessageW(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), FALSE);
    InitWnd();
    for (TControl* c : std::vector<TControl*>(m_controls))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->HandleNeeded();
    AlignControls();
    if (Application) {
        Application->AddTool(this);
        for (TControl* c : m_controls)
            if (!c->IsWindowed()) Application->AddTool(c);
    }
}

void TWinControl::InitWnd() {}

void TWinControl::DestroyHandle() {
    if (!m_handle) return;
    // Windowed children go first, each through its own DestroyWnd, so that what
    // they keep of their window (column widths, tree items) is taken before the
    // system destroys theirs along with ours.
    for (TControl* c : std::vector<TControl*>(m_controls))
        if (c->IsWindowed()) static_cast<TWinControl*>(c)->DestroyHandle();
    if (Application) {
        for (TControl* c : m_controls)
            if (!c->IsWindowed()) Application->RemoveTool(c);
        Application->RemoveTool(this);
    }
    DestroyWnd();
    HWND h = m_handle;
    DestroyWindow(h);
    m_handle = nullptr;
}

void TWinControl::InsertControl(TControl* control) { m_controls.push_back(control); }

void TWinControl::RemoveControl(TControl* control) {
    std::erase(m_controls, control);
    if (m_captureControl == control) m_captureControl = nullptr;
    if (m_hoverControl == control) m_hoverControl = nullptr;
}

RECT TWinControl::AlignRect() { return ClientRect(); }

void TWinControl::EnableAlign() {
    if (--m_alignLock == 0) AlignControls();
}

void TWinControl::AlignControls() {
    if (m_alignLock > 0) return;
    ++m_alignLock;
    RECT r = AlignRect();
    auto place = [&](TAlign which) {
        for (TControl* c : std::vector<TControl*>(m_controls)) {
            if (c->m_align != which || !c->m_visible) continue;
            switch (which) {
            case TAlign::alTop: c->SetBounds(r.left, r.top, r.right - r.left, c->m_height); r.top += c->m_height; break;
            case TAlign::alBottom:
                r.bottom -= c->m_height;
                c->SetBounds(r.left, r.bottom, r.right - r.left, c->m_height);
                break;
            case TAlign::alLeft: c->SetBounds(r.left, r.top, c->m_width, r.bottom - r.top); r.left += c->m_width; break;
            case TAlign::alRight:
                r.right -= c->m_width;
                c->SetBounds(r.right, r.top, c->m_width, r.bottom - r.top);
                break;
            case TAlign::alClient:
                c->SetBounds(r.left, r.top, std::max<int>(0, r.right - r.left), std::max<int>(0, r.bottom - r.top));
                break;
            case TAlign::alNone: break;
            }
        }
    };
    for (TAlign a : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) place(a);
    AlignedRest(r);
    --m_alignLock;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!m_handle) {
        TControl::SetBounds(left, top, width, height);
        return;
    }
    if (left == m_left && top == m_top && width == m_width && height == m_height) return;
    // WM_WINDOWPOSCHANGED stores the new bounds; WM_SIZE aligns and reports.
    SetWindowPos(m_handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    RequestAlign();
}

int TWinControl::ClientWidth() const {
    if (!m_handle) return m_width;
    RECT r;
    GetClientRect(m_handle, &r);
    return r.right;
}

int TWinControl::ClientHeight() const {
    if (!m_handle) return m_height;
    RECT r;
    GetClientRect(m_handle, &r);
    return r.bottom;
}

std::wstring TWinControl::Caption() const {
    if (!m_handle) return m_caption;
    int n = GetWindowTextLengthW(m_handle);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(m_handle, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(0, n)));
    return text;
}

void TWinControl::SetCaption(const std::wstring& caption) {
    if (caption == Caption()) return;
    m_caption = caption;
    if (m_handle) SetWindowTextW(m_handle, caption.c_str());
    TextChanged();
}

void TWinControl::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    if (m_handle) EnableWindow(m_handle, enabled);
    EnabledChanged();
}

void TWinControl::SetVisible(bool visible) {
    if (visible == m_visible) return;
    m_visible = visible;
    if (m_handle) ShowWindow(m_handle, visible ? SW_SHOWNA : SW_HIDE);
    RequestAlign();
}

void TWinControl::SetColor(TColor color) {
    TControl::SetColor(color);
    for (TControl* c : m_controls)
        if (c->ParentColor) {
            c->m_color = color;
            c->ParentColor = true;
        }
    Invalidate();
}

void TWinControl::FontChanged() {
    if (m_handle) SendMessageW(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
    for (TControl* c : m_controls)
        if (c->ParentFont) c->Font = Font;  // the child's font reports the change
    Invalidate();
}

void TWinControl::Invalidate() {
    if (m_handle) InvalidateRect(m_handle, nullptr, TRUE);
}

// Paints now what is pending, the child windows included (a splash window is
// shown while no message loop runs).
void TWinControl::Update() {
    if (m_handle) RedrawWindow(m_handle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    if (m_handle) SetWindowPos(m_handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->m_parent)
        if (!c->m_visible || !c->m_enabled) return false;
    return true;
}

bool TWinControl::Focused() const { return m_handle && GetFocus() == m_handle; }

void TWinControl::SetFocus() {
    if (TForm* form = ParentForm()) form->FocusControl(this);
    else ::SetFocus(Handle());
}

LRESULT TWinControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    return WndProc(message, wParam, lParam);
}

HBRUSH TWinControl::ColorBrush() {
    TColor color = EffectiveColor();
    if (m_brushColor != color || !m_colorBrush.Get()) {
        m_colorBrush.Reset(CreateSolidBrush(ColorToRGB(color)));
        m_brushColor = color;
    }
    return static_cast<HBRUSH>(m_colorBrush.Get());
}

HBRUSH TWinControl::CtlColor(HDC dc) {
    (void)dc;
    return nullptr;
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
    for (TControl* c : std::vector<TControl*>(m_controls)) {
        if (c->IsWindowed() || !c->m_visible) continue;
        RECT r = c->BoundsRect();
        RECT clip;
        if (GetClipBox(dc, &clip) != NULLREGION && !IntersectRect(&clip, &clip, &r)) continue;
        int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        SetViewportOrgEx(dc, r.left, r.top, nullptr);
        {
            TCanvas canvas(dc);
            canvas.Font = c->Font;
            c->PaintControl(canvas);
        }
        RestoreDC(dc, saved);
    }
}

TControl* TWinControl::GraphicChildAt(int x, int y) {
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->m_visible || !c->m_enabled) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, POINT{x, y})) return c;
    }
    return nullptr;
}

void TWinControl::SetHover(TControl* control) {
    if (control == m_hoverControl) return;
    TControl* old = m_hoverControl;
    m_hoverControl = control;
    if (old) {
        old->m_mouseInside = false;
        old->MouseLeave();
    }
    if (control) {
        control->m_mouseInside = true;
        control->MouseEnter();
    }
    if (Application) Application->SetHintControl(control);
}

void TWinControl::ShowPopupMenu(TControl* control, int x, int y) {
    if (control->PopupMenu) control->PopupMenu->Popup(x, y, control);
}

bool TWinControl::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    TControl* target = m_captureControl ? m_captureControl : GraphicChildAt(x, y);
    if (!target) target = this;
    TShiftState shift = MouseShiftState(wParam);
    int cx = target == this ? x : x - target->m_left, cy = target == this ? y : y - target->m_top;
    switch (message) {
    case WM_MOUSEMOVE:
        if (!m_trackingLeave) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, m_handle, 0};
            m_trackingLeave = TrackMouseEvent(&t);
        }
        if (!m_captureControl) SetHover(target);
        target->MouseMove(shift, cx, cy);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        TMouseButton b = message == WM_LBUTTONDOWN ? TMouseButton::mbLeft
                         : message == WM_RBUTTONDOWN ? TMouseButton::mbRight : TMouseButton::mbMiddle;
        if (target != this && message == WM_LBUTTONDOWN) {
            m_captureControl = target;
            SetCapture(m_handle);
        } else if (target == this && message == WM_LBUTTONDOWN && !m_oldProc && OnMouseMove) {
            m_dragCapture = true;
            SetCapture(m_handle);
        }
        target->MouseDown(b, shift, cx, cy);
        break;
    }
    case WM_LBUTTONDBLCLK:
        // The second press of a double click may start a drag as well.
        if (target == this && !m_oldProc && OnMouseMove) {
            m_dragCapture = true;
            SetCapture(m_handle);
        }
        target->MouseDown(TMouseButton::mbLeft, shift | ssDouble, cx, cy);
        target->DblClick();
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton b = message == WM_LBUTTONUP ? TMouseButton::mbLeft
                         : message == WM_RBUTTONUP ? TMouseButton::mbRight : TMouseButton::mbMiddle;
        bool captured = m_captureControl == target && target != this;
        if (captured) {
            m_captureControl = nullptr;
            ReleaseCapture();
        }
        if (target == this && message == WM_LBUTTONUP && m_dragCapture) {
            m_dragCapture = false;
            ReleaseCapture();
        }
        target->MouseUp(b, shift, cx, cy);
        if (captured && cx >= 0 && cy >= 0 && cx < target->m_width && cy < target->m_height) target->Click();
        break;
    }
    default: return false;
    }
    return target != this;
}

// A drag of this window that loses the mouse (another window took it, a menu
// or dialog cancelled the mode) ends as if the button had been released where
// the cursor is, so that what the drag turned off comes back on.
void TWinControl::EndDragCapture() {
    if (!m_dragCapture) return;
    m_dragCapture = false;
    m_leftDown = false;
    POINT p{};
    GetCursorPos(&p);
    if (m_handle) ::ScreenToClient(m_handle, &p);
    MouseUp(TMouseButton::mbLeft, KeyShiftState(), p.x, p.y);
}

void TWinControl::DropCaptureControl() {
    TControl* control = m_captureControl;
    if (!control) return;
    m_captureControl = nullptr;
    control->CaptureLost();
}

// The form with KeyPreview set, when this control is not that form itself.
static TForm* PreviewForm(TWinControl* control) {
    TForm* form = control->ParentForm();
    return form && form != control && form->KeyPreview ? form : nullptr;
}

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift) {
    if (TForm* form = PreviewForm(this)) Fire(form->OnKeyDown, form, key, shift);
    if (key != 0) Fire(OnKeyDown, this, key, shift);
    return key == 0;
}

bool TWinControl::DoKeyPress(wchar_t& key) {
    if (TForm* form = PreviewForm(this)) Fire(form->OnKeyPress, form, key);
    if (key != 0) Fire(OnKeyPress, this, key);
    return key == 0;
}

bool TWinControl::DoKeyUp(WORD& key, TShiftState shift) {
    if (TForm* form = PreviewForm(this)) Fire(form->OnKeyUp, form, key, shift);
    if (key != 0) Fire(OnKeyUp, this, key, shift);
    return key == 0;
}

bool TWinControl::DialogChar(wchar_t key) {
    for (TControl* c : std::vector<TControl*>(m_controls))
        if (c->m_visible && c->m_enabled && c->DialogChar(key)) return true;
    return false;
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_oldProc) return CallWindowProcW(m_oldProc, m_handle, message, wParam, lParam);
    return CallDefaultProc(message, wParam, lParam);
}

LRESULT TWinControl::CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(m_handle, message, wParam, lParam);
}

static void BroadcastFocus(TWinControl* parent, TWinControl* focused) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        c->FocusChanged(focused);
        if (auto* w = dynamic_cast<TWinControl*>(c)) BroadcastFocus(w, focused);
    }
}

void TWinControl::PaintTo(HDC dc) {
    RECT r = ClientRect();
    ::FillRect(dc, &r, ColorBrush());
    PaintWindow(dc);
    PaintControls(dc);
}

// A reflected notification runs the child's handlers: its exceptions name the child.
template <class F>
static bool Reflect(TWinControl* child, F&& f) {
    // A control being destroyed fires no more events (its owner may be half gone).
    if (child->Destroying()) return false;
    try {
        return f();
    } catch (...) {
        HandleCallbackException(child);
        return true;
    }
}

static bool Done(LRESULT& result, LRESULT value) {
    result = value;
    return true;
}

// Parent-side notifications go to the child object they are about.
bool TWinControl::ReflectMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this)
                if (Reflect(child, [&] { return child->CNCommand(HIWORD(wParam)); })) return Done(result, 0);
        } else if (HIWORD(wParam) == 0 && DispatchMenuCommand(LOWORD(wParam))) {
            return Done(result, 0);
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (Application && Application->ToolText(header)) return Done(result, 0);
        if (TWinControl* child = FromHandle(header->hwndFrom); child && child != this) {
            LRESULT answer = 0;
            if (Reflect(child, [&] { return child->CNNotify(header, answer); })) return Done(result, answer);
        }
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU)
            if (TWinControl* child = FromHandle(dis->hwndItem); child && !child->Destroying() && child->CNDrawItem(dis))
                return Done(result, TRUE);
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType != ODT_MENU)
            if (TWinControl* child = FromHandle(GetDlgItem(m_handle, static_cast<int>(mis->CtlID)));
                child && child->CNMeasureItem(mis))
                return Done(result, TRUE);
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this)
            if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam)))
                return Done(result, reinterpret_cast<LRESULT>(brush));
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam)
            if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child->CNScroll(message, wParam))
                return Done(result, 0);
        break;
    }
    return false;
}

// Paint, erase and size: the window's own state.
bool TWinControl::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_PAINT:
        if (!m_oldProc) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_handle, &ps);
            PaintWindow(dc);
            PaintControls(dc);
            EndPaint(m_handle, &ps);
            return Done(result, 0);
        } else {
            LRESULT r = DefaultHandler(message, wParam, lParam);
            bool graphic = std::any_of(m_controls.begin(), m_controls.end(), [](TControl* c) { return !c->IsWindowed(); });
            if (graphic) {
                HDC dc = GetDC(m_handle);
                PaintControls(dc);
                ReleaseDC(m_handle, dc);
            }
            return Done(result, r);
        }
    case WM_ERASEBKGND:
        if (!m_oldProc) {
            RECT r;
            GetClientRect(m_handle, &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, ColorBrush());
            return Done(result, 1);
        }
        break;
    case WM_WINDOWPOSCHANGED: {
        auto* wp = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(wp->flags & SWP_NOMOVE)) {
            m_left = wp->x;
            m_top = wp->y;
        }
        if (!(wp->flags & SWP_NOSIZE)) {
            m_width = wp->cx;
            m_height = wp->cy;
        }
        break;
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            LRESULT r = DefaultHandler(message, wParam, lParam);
            AlignControls();
            Resized();
            return Done(result, r);
        }
        break;
    }
    return false;
}

// Mouse, keyboard, focus and cursor: the events of the control.
bool TWinControl::InputMessage(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        bool onChild = HandleMouse(message, wParam, lParam);
        if (m_oldProc) break;
        // The library's own windows (panels) click like the class library's: released where pressed.
        if (message == WM_LBUTTONDOWN) {
            m_leftDown = !onChild;
            if (TabStop) ::SetFocus(m_handle);
        } else if (message == WM_LBUTTONUP) {
            // With the mouse held for a drag the release may lie outside: no click there.
            RECT client{};
            GetClientRect(m_handle, &client);
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            bool click = m_leftDown && !onChild && PtInRect(&client, at);
            m_leftDown = false;
            if (click) Click();
        }
        break;
    }
    case WM_MOUSELEAVE:
        m_trackingLeave = false;
        SetHover(nullptr);
        break;
    case WM_CAPTURECHANGED:
        // Our own release on button-up has cleared the control before.
        if (reinterpret_cast<HWND>(lParam) != m_handle) {
            DropCaptureControl();
            EndDragCapture();
        }
        break;
    case WM_CANCELMODE:
        if (m_captureControl || m_dragCapture) {
            DropCaptureControl();
            EndDragCapture();
            if (GetCapture() == m_handle) ReleaseCapture();
        }
        break;
    case WM_CONTEXTMENU: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (p.x == -1 && p.y == -1) GetCursorPos(&p);
        POINT local = p;
        ::ScreenToClient(m_handle, &local);
        TControl* target = GraphicChildAt(local.x, local.y);
        if (!target || !target->PopupMenu) target = this;
        if (target->PopupMenu) {
            ShowPopupMenu(target, p.x, p.y);
            return Done(result, 0);
        }
        break;
    }
    case WM_SETFOCUS:
        if (TForm* form = ParentForm(); form && form != this) {
            form->SetActiveControlFromFocus(this);
            BroadcastFocus(form, this);
        }
        Fire(OnEnter, this);
        break;
    case WM_KILLFOCUS:
        if (TForm* form = ParentForm(); form && form != this) BroadcastFocus(form, nullptr);
        Fire(OnExit, this);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        if (DoKeyDown(key, KeyShiftState())) return Done(result, 0);
        wParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(wParam);
        if (DoKeyUp(key, KeyShiftState())) return Done(result, 0);
        wParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t key = static_cast<wchar_t>(wParam);
        if (DoKeyPress(key)) return Done(result, 0);
        wParam = key;
        break;
    }
    case WM_SETCURSOR:
        if (Screen && Screen->Cursor() != crDefault) {
            ::SetCursor(Screen->CursorHandle());
            return Done(result, TRUE);
        }
        break;
    }
    return false;
}

LRESULT TWinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_RBUTTONDOWN && m_oldProc) {
        // A native list or tree follows the right button in a loop of its own
        // and takes the button-up from the queue: that release is reported
        // once the loop has returned, so a right click always ends in MouseUp.
        m_rightDown = true;
        if (InputMessage(message, wParam, lParam, result)) return result;
        LRESULT r = DefaultHandler(message, wParam, lParam);
        if (m_rightDown && m_handle && !(GetKeyState(VK_RBUTTON) & 0x8000)) {
            m_rightDown = false;
            POINT p{};
            GetCursorPos(&p);
            ::ScreenToClient(m_handle, &p);
            MouseUp(TMouseButton::mbRight, KeyShiftState(), p.x, p.y);
        }
        return r;
    }
    if (message == WM_RBUTTONUP) m_rightDown = false;
    if (WindowMessage(message, wParam, lParam, result) || ReflectMessage(message, wParam, lParam, result) ||
        InputMessage(message, wParam, lParam, result))
        return result;
    return DefaultHandler(message, wParam, lParam);
}

// ---- TCustomControl

void TCustomControl::PaintWindow(HDC dc) {
    m_canvas.Attach(dc);
    m_canvas.Font = Font;
    m_canvas.Brush.Color = m_color;
    Paint();
    m_canvas.Detach();
}

// ---- the one window procedure

LRESULT CALLBACK VelmoraWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = ObjectOf(window);
    if (!control) {
        control = t_creating;
        if (!control) return DefWindowProcW(window, message, wParam, lParam);
        t_creating = nullptr;
        control->m_handle = window;
        SetObjectOf(window, control);
    }
    if (message == WM_NCDESTROY) {
        LRESULT r = control->DefaultHandler(message, wParam, lParam);
        SetObjectOf(window, nullptr);
        if (control->m_oldProc) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->m_oldProc));
        control->m_oldProc = nullptr;
        control->m_handle = nullptr;
        return r;
    }
    if (control->Destroying()) return control->DefaultHandler(message, wParam, lParam);
    if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP && Application)
        Application->RelayToolMessage(window, message, wParam, lParam);
    try {
        return control->WndProc(message, wParam, lParam);
    } catch (...) {
        HandleCallbackException(control);
        return 0;
    }
}

}  // namespace velmora::gui
