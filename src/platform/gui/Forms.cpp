#include "Forms.h"

#include <algorithm>
#include <set>

#include "Application.h"
#include "Buttons.h"
#include "Menus.h"

namespace velmora::gui {

// Forms released but not yet freed: a posted free checks it is still wanted.
static std::set<TForm*>& ReleasedForms() {
    static std::set<TForm*> forms;
    return forms;
}

std::function<void(TForm&)>& ModalStartHook() {
    static std::function<void(TForm&)> hook;
    return hook;
}

template <class F>
static void ForEachControl(TWinControl* parent, F&& f) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        f(c);
        if (auto* w = dynamic_cast<TWinControl*>(c); w && !dynamic_cast<TForm*>(w)) ForEachControl(w, f);
    }
}

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    SetParent(nullptr);
    m_visible = false;
    ParentFont = false;
    m_width = 320;
    m_height = 240;
}

TForm::~TForm() {
    BeforeDestruction();
    ReleasedForms().erase(this);
    if (Application) Application->RemoveForm(this);
    DestroyHandle();
}

void TForm::DoCreate() { Fire(OnCreate, this); }
void TForm::DoDestroy() { Fire(OnDestroy, this); }

void TForm::SetFormStyle(TFormStyle style) {
    if (style == m_formStyle) return;
    m_formStyle = style;
    if (HandleAllocated()) {
        if (style == TFormStyle::fsStayOnTop || style == TFormStyle::fsNormal)
            SetWindowPos(Handle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

static TForm* MdiFrame() {
    TForm* main = Application ? Application->MainForm() : nullptr;
    return main && main->FormStyle() == TFormStyle::fsMDIForm ? main : nullptr;
}

void TForm::CreateParams(TCreateParams& p) {
    p.ClassName = kVelmoraWindowClass;
    p.ExStyle = WS_EX_CONTROLPARENT;
    DWORD style = WS_CLIPCHILDREN;
    switch (BorderStyle) {
    case TBorderStyle::bsNone: style |= WS_POPUP; break;
    case TBorderStyle::bsSingle: style |= WS_CAPTION | WS_BORDER; break;
    case TBorderStyle::bsSizeable: style |= WS_CAPTION | WS_THICKFRAME; break;
    case TBorderStyle::bsDialog: style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case TBorderStyle::bsToolWindow: style |= WS_CAPTION; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case TBorderStyle::bsSizeToolWin: style |= WS_CAPTION | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    }
    if (BorderStyle != TBorderStyle::bsNone && (BorderIcons & biSystemMenu)) {
        style |= WS_SYSMENU;
        if (BorderStyle != TBorderStyle::bsDialog && BorderStyle != TBorderStyle::bsToolWindow &&
            BorderStyle != TBorderStyle::bsSizeToolWin) {
            if (BorderIcons & biMinimize) style |= WS_MINIMIZEBOX;
            if (BorderIcons & biMaximize) style |= WS_MAXIMIZEBOX;
        }
    }
    if (m_formStyle == TFormStyle::fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    if (m_formStyle == TFormStyle::fsMDIChild) {
        TForm* frame = MdiFrame();
        if (!frame) throw velmora::Exception(L"Kein MDI-Hauptfenster vorhanden");
        p.Parent = frame->ClientHandle();
        p.ExStyle |= WS_EX_MDICHILD;
        style &= ~WS_POPUP;
    } else {
        TForm* main = Application ? Application->MainForm() : nullptr;
        if (main && main != this && main->HandleAllocated()) p.Parent = main->Handle();
        if (m_menu) p.Menu = m_menu->Handle();
    }
    p.Style = style;
}

void TForm::CreateWnd() {
    if (!Constructed()) AfterConstruction();
    PlaceOnShow();
    TWinControl::CreateWnd();
}

void TForm::PlaceOnShow() {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    TForm* main = Application ? Application->MainForm() : nullptr;
    switch (Position) {
    case TPosition::poScreenCenter:
        m_left = (sw - m_width) / 2;
        m_top = (sh - m_height) / 2;
        break;
    case TPosition::poMainFormCenter:
        if (main && main != this && main->HandleAllocated()) {
            RECT r;
            GetWindowRect(main->Handle(), &r);
            m_left = r.left + (r.right - r.left - m_width) / 2;
            m_top = r.top + (r.bottom - r.top - m_height) / 2;
        } else {
            m_left = (sw - m_width) / 2;
            m_top = (sh - m_height) / 2;
        }
        break;
    default: break;
    }
}

void TForm::InitWnd() {
    if (m_formStyle != TFormStyle::fsMDIForm) return;
    CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
    m_mdiClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VISIBLE, 0, 0, 0, 0, m_handle,
                                  nullptr, GetModuleHandleW(nullptr), &ccs);
    m_mdiClientProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_mdiClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MdiClientProc)));
}

// The program places its panes itself: the client never shows scroll bars.
LRESULT CALLBACK TForm::MdiClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The frame is the client's parent; its object is found without a window
    // property, which would cost a server round trip on every message.
    auto* frame = dynamic_cast<TForm*>(FromHandle(GetParent(window)));
    if (frame && frame->m_mdiClient != window) frame = nullptr;
    WNDPROC old = frame && frame->m_mdiClientProc
                      ? frame->m_mdiClientProc
                      : reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
    if (message == WM_NCCALCSIZE) {
        LONG style = GetWindowLongW(window, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL)) SetWindowLongW(window, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        if (frame) frame->m_mdiClient = nullptr;
    }
    return CallWindowProcW(old, window, message, wParam, lParam);
}

void TForm::AlignedRest(const RECT& rest) {
    if (!m_mdiClient) return;
    SetWindowPos(m_mdiClient, HWND_BOTTOM, rest.left, rest.top, std::max<int>(0, rest.right - rest.left),
                 std::max<int>(0, rest.bottom - rest.top), SWP_NOACTIVATE);
}

LRESULT TForm::CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_formStyle == TFormStyle::fsMDIForm && message != WM_SIZE)
        return DefFrameProcW(m_handle, m_mdiClient, message, wParam, lParam);
    if (m_formStyle == TFormStyle::fsMDIChild) return DefMDIChildProcW(m_handle, message, wParam, lParam);
    return DefWindowProcW(m_handle, message, wParam, lParam);
}

// What the border, caption and menu add to the client area.
RECT TForm::FrameSize() const {
    TCreateParams p;
    try {
        const_cast<TForm*>(this)->CreateParams(p);
    } catch (...) {
        p.Style = WS_CAPTION | WS_THICKFRAME;
    }
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, p.Style & ~WS_CHILD, m_menu != nullptr, p.ExStyle);
    return {-r.left, -r.top, r.right - 100, r.bottom - 100};
}

void TForm::SetClientSize(int width, int height) {
    if (m_handle) {
        TWinControl::SetClientSize(width, height);
        return;
    }
    RECT f = FrameSize();
    SetBounds(m_left, m_top, width + f.left + f.right, height + f.top + f.bottom);
}

int TForm::ClientWidth() const {
    if (m_handle) return TWinControl::ClientWidth();
    RECT f = FrameSize();
    return m_width - f.left - f.right;
}

int TForm::ClientHeight() const {
    if (m_handle) return TWinControl::ClientHeight();
    RECT f = FrameSize();
    return m_height - f.top - f.bottom;
}

TWindowState TForm::WindowState() const {
    if (!m_handle) return m_windowState;
    if (IsIconic(m_handle)) return TWindowState::wsMinimized;
    if (IsZoomed(m_handle)) return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    m_windowState = state;
    if (m_handle && m_visible)
        ShowWindow(m_handle, state == TWindowState::wsMaximized   ? SW_MAXIMIZE
                             : state == TWindowState::wsMinimized ? SW_MINIMIZE
                                                                  : SW_RESTORE);
}

RECT TForm::NormalBounds() const {
    if (!m_handle) return BoundsRect();
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(m_handle, &wp);
    return wp.rcNormalPosition;
}

void TForm::SetMenu(TMainMenu* menu) {
    m_menu = menu;
    if (m_handle && m_formStyle != TFormStyle::fsMDIChild) {
        ::SetMenu(m_handle, menu ? menu->Handle() : nullptr);
        if (menu) menu->SetWindow(m_handle);
    }
}

void TForm::SetActiveControl(TWinControl* control) {
    m_activeControl = control;
    if (control && m_handle && IsWindowVisible(m_handle) && control->CanFocus()) ::SetFocus(control->Handle());
}

void TForm::FocusControl(TWinControl* control) {
    m_activeControl = control;
    if (control && control->CanFocus()) ::SetFocus(control->Handle());
}

void TForm::SetActiveControlFromFocus(TWinControl* control) {
    m_activeControl = control;
    // The focus now lies in an MDI child: the frame gives it back through its
    // client, to that child's control, not to a control of its own.
    if (m_formStyle == TFormStyle::fsMDIChild && control)
        if (TForm* frame = MdiFrame(); frame && frame != this) frame->m_activeControl = nullptr;
}

TButton* TForm::DefaultButton() const {
    TButton* found = nullptr;
    ForEachControl(const_cast<TForm*>(this), [&](TControl* c) {
        if (auto* b = dynamic_cast<TButton*>(c); b && !found && b->Default && b->Showing() && b->Enabled()) found = b;
    });
    return found;
}

TButton* TForm::CancelButton() const {
    TButton* found = nullptr;
    ForEachControl(const_cast<TForm*>(this), [&](TControl* c) {
        if (auto* b = dynamic_cast<TButton*>(c); b && !found && b->Cancel && b->Showing() && b->Enabled()) found = b;
    });
    return found;
}

void TForm::Show() {
    SetVisible(true);
    if (m_visible) BringToFront();
}

void TForm::DoShow() {
    m_inShow = true;
    try {
        Fire(OnShow, this);
    } catch (...) {
        m_inShow = false;
        throw;
    }
    m_inShow = false;
}

void TForm::SetVisible(bool visible) {
    if (visible == m_visible && (!visible || (m_handle && IsWindowVisible(m_handle)))) return;
    if (visible) {
        HandleNeeded();
        m_visible = true;
        DoShow();
        if (!m_visible) return;
        // Centred forms are centred at every showing, as the class library does.
        if (Position == TPosition::poScreenCenter || Position == TPosition::poMainFormCenter) {
            PlaceOnShow();
            SetWindowPos(m_handle, nullptr, m_left, m_top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        int show = m_windowState == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                   : m_windowState == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                : SW_SHOW;
        ShowWindow(m_handle, show);
        if (!m_shownOnce) {
            m_shownOnce = true;
            // An MDI frame's keys belong to its active child; other forms start
            // on their first control.
            if (!m_activeControl && m_formStyle == TFormStyle::fsMDIForm && m_mdiClient &&
                SendMessageW(m_mdiClient, WM_MDIGETACTIVE, 0, 0))
                ::SetFocus(m_mdiClient);
            else if (!m_activeControl)
                if (HWND first = GetNextDlgTabItem(m_handle, nullptr, FALSE)) ::SetFocus(first);
        }
        if (m_activeControl && m_activeControl->CanFocus()) ::SetFocus(m_activeControl->Handle());
    } else {
        m_visible = false;
        Fire(OnHide, this);
        if (m_handle) ShowWindow(m_handle, SW_HIDE);
    }
}

void TForm::BringToFront() {
    if (!m_handle) return;
    if (m_formStyle == TFormStyle::fsMDIChild && GetParent(m_handle))
        SendMessageW(GetParent(m_handle), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_handle), 0);
    else
        SetWindowPos(m_handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

namespace {
struct DisableData {
    HWND self;
    std::vector<HWND>* list;
};

BOOL CALLBACK DisableWindow(HWND h, LPARAM l) {
    auto* d = reinterpret_cast<DisableData*>(l);
    if (h != d->self && IsWindowVisible(h) && IsWindowEnabled(h)) {
        EnableWindow(h, FALSE);
        d->list->push_back(h);
    }
    return TRUE;
}
}  // namespace

void TForm::DisableOtherWindows(std::vector<HWND>& disabled) {
    DisableData data{m_handle, &disabled};
    EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&data));
}

TModalResult TForm::ShowModal() {
    if (!Application) throw velmora::Exception(L"Ein modales Fenster braucht das Anwendungsobjekt");
    HandleNeeded();
    HWND previous = GetActiveWindow();
    std::vector<HWND> disabled;
    DisableOtherWindows(disabled);
    m_modalResult = mrNone;
    m_modal = true;
    Application->ModalStack.push_back(this);
    try {
        Show();
        if (auto& hook = ModalStartHook()) hook(*this);
        RunModalLoop();
    } catch (...) {
        std::erase(Application->ModalStack, this);
        m_modal = false;
        for (HWND h : disabled) EnableWindow(h, TRUE);
        throw;
    }
    std::erase(Application->ModalStack, this);
    for (HWND h : disabled) EnableWindow(h, TRUE);
    Hide();
    m_modal = false;
    if (previous && IsWindow(previous)) SetActiveWindow(previous);
    return m_modalResult;
}

void TForm::RunModalLoop() {
    for (;;) {
        if (m_forceClose) {
            m_forceClose = false;
            if (m_modalResult == mrNone) m_modalResult = mrCancel;
            return;
        }
        if (Application->Terminated() && m_modalResult == mrNone) m_modalResult = mrCancel;
        if (m_modalResult != mrNone) {
            TCloseAction action = TCloseAction::caHide;
            if (CloseQuery()) DoClose(action);
            else action = TCloseAction::caNone;
            if (action != TCloseAction::caNone || Application->Terminated()) return;
            m_modalResult = mrNone;
        }
        Application->HandleMessage();
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    Fire(OnCloseQuery, this, canClose);
    return canClose;
}

void TForm::DoClose(TCloseAction& action) { Fire(OnClose, this, action); }

void TForm::Close() {
    if (m_inShow) {
        if (m_handle) PostMessageW(m_handle, WM_CLOSE, 0, 0);
        return;
    }
    if (m_modal) {
        if (m_modalResult == mrNone) m_modalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = m_formStyle == TFormStyle::fsMDIChild
                              ? ((BorderIcons & biMinimize) ? TCloseAction::caMinimize : TCloseAction::caNone)
                              : TCloseAction::caHide;
    DoClose(action);
    if (action == TCloseAction::caNone) return;
    if (Application && Application->MainForm() == this) Application->Terminate();
    switch (action) {
    case TCloseAction::caHide: Hide(); break;
    case TCloseAction::caMinimize: SetWindowState(TWindowState::wsMinimized); break;
    case TCloseAction::caFree: Release(); break;
    case TCloseAction::caNone: break;
    }
}

void TForm::Release() {
    if (m_released) return;
    m_released = true;
    ReleasedForms().insert(this);
    Hide();
    Application->Post([this] {
        if (ReleasedForms().count(this)) Free();
    });
}

bool TForm::IsShortCut(TShortCut shortCut, HWND focus) {
    if (PassShortCut && PassShortCut(shortCut, focus ? focus : GetFocus())) return false;
    if (m_menu && m_menu->IsShortCut(shortCut)) return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* popup = dynamic_cast<TPopupMenu*>(Components(i)); popup && popup->IsShortCut(shortCut)) return true;
    if (m_formStyle == TFormStyle::fsMDIChild)
        if (TForm* frame = MdiFrame(); frame && frame != this && frame->IsShortCut(shortCut, focus)) return true;
    if (shortCut == VK_F1) {
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = focus ? focus : GetFocus();
        return HandleHelp(&info);
    }
    return false;
}

bool TForm::HandleHelp(const HELPINFO* info) {
    int context = 0;
    if (info->iContextType == HELPINFO_MENUITEM) {
        auto* menu = static_cast<HMENU>(info->hItemHandle);
        // F1 in another's menu asks for no help of ours.
        if (!IsOwnMenu(menu)) return true;
        if (TMenuItem* item = FindMenuItemIn(menu, static_cast<UINT>(info->iCtrlId))) context = item->HelpContext;
    } else {
        for (HWND h = static_cast<HWND>(info->hItemHandle); h && !context; h = GetParent(h)) {
            TWinControl* c = FromHandle(h);
            if (!c) continue;
            context = c->HelpContext;
            if (c == this || dynamic_cast<TForm*>(c)) break;
        }
    }
    if (!context) context = HelpContext;
    if (!context) return false;
    Application->HelpContext(context);
    return true;
}

TForm* TForm::ActiveMDIChild() const {
    if (!m_mdiClient) return nullptr;
    HWND h = reinterpret_cast<HWND>(SendMessageW(m_mdiClient, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<TForm*>(FromHandle(h));
}

static std::vector<TForm*> MdiChildrenOf(HWND client) {
    std::vector<TForm*> list;
    for (HWND h = GetWindow(client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (auto* f = dynamic_cast<TForm*>(TWinControl::FromHandle(h))) list.push_back(f);
    return list;
}

int TForm::MDIChildCount() const { return m_mdiClient ? static_cast<int>(MdiChildrenOf(m_mdiClient).size()) : 0; }

TForm* TForm::MDIChildren(int index) const {
    auto list = m_mdiClient ? MdiChildrenOf(m_mdiClient) : std::vector<TForm*>{};
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<size_t>(index)] : nullptr;
}

void TForm::PaintWindow(HDC dc) {
    if (!OnPaint) return;
    m_canvas.Attach(dc);
    m_canvas.Font = Font;
    m_canvas.Brush.Color = m_color;
    Fire(OnPaint, this);
    m_canvas.Detach();
}

// Enter and Esc of the dialog manager arrive as IDOK and IDCANCEL without a
// control of ours: they click the default and the cancel button.
bool TForm::DialogCommand(WORD id, HWND control) {
    if (control && FromHandle(control)) return false;
    if (id == IDOK) {
        if (TButton* b = DefaultButton()) b->Click();
        return true;
    }
    if (id == IDCANCEL) {
        if (TButton* b = CancelButton()) b->Click();
        return true;
    }
    return false;
}

// The highlighted menu item's long hint goes to the application.
void TForm::MenuSelect(WPARAM wParam, LPARAM lParam) {
    if (!Application) return;
    if (HIWORD(wParam) == 0xFFFF && !lParam) {
        Application->SetHint(L"");
        return;
    }
    auto* menu = reinterpret_cast<HMENU>(lParam);
    TMenuItem* item = (HIWORD(wParam) & MF_POPUP) ? FindMenuItemBySubmenu(GetSubMenu(menu, LOWORD(wParam)))
                                                  : FindMenuItemIn(menu, LOWORD(wParam));
    m_foreignMenuChoice = !IsOwnMenu(menu);
    Application->SetHint(item ? GetLongHint(item->Hint) : L"");
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: Close(); return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (MinWidth > 0) info->ptMinTrackSize.x = MinWidth;
        if (MinHeight > 0) info->ptMinTrackSize.y = MinHeight;
        break;
    }
    case WM_SETFOCUS:
        // An MDI child that gets the focus hands it on to the control that had it.
        if (m_formStyle == TFormStyle::fsMDIChild && m_activeControl && m_activeControl != this &&
            m_activeControl->HandleAllocated() && m_activeControl->CanFocus()) {
            LRESULT r = DefaultHandler(message, wParam, lParam);
            ::SetFocus(m_activeControl->Handle());
            return r;
        }
        break;
    case WM_ACTIVATE: {
        LRESULT r = DefaultHandler(message, wParam, lParam);
        if (LOWORD(wParam) != WA_INACTIVE) {
            if (m_activeControl && m_activeControl->CanFocus() && m_activeControl->HandleAllocated())
                ::SetFocus(m_activeControl->Handle());
            Fire(OnActivate, this);
        } else {
            Fire(OnDeactivate, this);
        }
        return r;
    }
    case WM_MOUSEACTIVATE:
        // A click on a control of an inactive MDI child activates that child.
        // The system would do it on the click's parent notification, which our
        // controls do not send; the controls pass this message up instead.
        if (m_formStyle == TFormStyle::fsMDIChild && m_handle) {
            HWND client = GetParent(m_handle);
            if (client && reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) != m_handle)
                SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_handle), 0);
        }
        break;
    case WM_MDIACTIVATE:
        if (m_formStyle == TFormStyle::fsMDIChild) {
            LRESULT r = DefaultHandler(message, wParam, lParam);
            if (reinterpret_cast<HWND>(lParam) == m_handle) Fire(OnActivate, this);
            else if (reinterpret_cast<HWND>(wParam) == m_handle) Fire(OnDeactivate, this);
            return r;
        }
        break;
    case DM_GETDEFID:
        if (TButton* b = DefaultButton(); b && b->HandleAllocated())
            return MAKELRESULT(GetDlgCtrlID(b->Handle()), DC_HASDEFID);
        return 0;
    case WM_ENTERMENULOOP: m_foreignMenuChoice = false; break;
    case WM_COMMAND:
        // A command chosen in another's menu that we own: its id may be one of ours.
        if (!lParam && HIWORD(wParam) == 0 && m_foreignMenuChoice) {
            m_foreignMenuChoice = false;
            return 0;
        }
        if (DialogCommand(LOWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
        break;
    case WM_HELP:
        if (HandleHelp(reinterpret_cast<HELPINFO*>(lParam))) return TRUE;
        break;
    case WM_MENUSELECT: MenuSelect(wParam, lParam); break;
    case WM_INITMENUPOPUP:
        if (TMenuItem* item = FindMenuItemBySubmenu(reinterpret_cast<HMENU>(wParam))) item->InitPopup();
        break;
    }
    return TWinControl::WndProc(message, wParam, lParam);
}

}  // namespace velmora::gui
