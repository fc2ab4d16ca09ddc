#include "Application.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/rtl/Strings.h"

#include "Controls.h"
#include "Dialogs.h"
#include "Forms.h"
#include "Menus.h"
#include "Timer.h"

#ifndef WM_KEYF1
#define WM_KEYF1 0x004D
#endif

namespace velmora::gui {

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

static constexpr UINT kPostedMessage = WM_APP + 1;
static constexpr UINT kSyncMessage = WM_APP + 2;
static const wchar_t* const kUtilityClass = L"VelmoraUtility";

static THelpFunction& HelpFunction() {
    static THelpFunction function;
    return function;
}

TApplication::TApplication() : TComponent(nullptr) {
    Application = this;
    m_screen = new TScreen;
    Screen = m_screen;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterWindowClasses();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = UtilityProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kUtilityClass;
    RegisterClassExW(&wc);
    m_utility = CreateWindowExW(WS_EX_TOOLWINDOW, kUtilityClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    m_syncEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

TApplication::~TApplication() {
    // Forms and other components go first, while the application still serves them.
    BeforeDestruction();
    while (ComponentCount() > 0) Components(ComponentCount() - 1)->Free();
    // Threads still waiting for a synchronised call are let go without it.
    {
        std::lock_guard lock(m_postLock);
        for (auto& request : m_syncQueue) SetEvent(request->Done);
        m_syncQueue.clear();
    }
    for (auto& [id, timer] : m_timers) KillTimer(m_utility, id);
    m_timers.clear();
    if (m_tooltip) DestroyWindow(m_tooltip);
    DestroyWindow(m_utility);
    CloseHandle(m_syncEvent);
    Screen = nullptr;
    delete m_screen;
    Application = nullptr;
}

void TApplication::AddForm(TForm* form) {
    m_forms.push_back(form);
    if (!m_mainForm) m_mainForm = form;
}

void TApplication::RemoveForm(TForm* form) {
    std::erase(m_forms, form);
    std::erase(ModalStack, form);
    if (m_mainForm == form) m_mainForm = nullptr;
}

void TApplication::Run() {
    if (m_mainForm) m_mainForm->Show();
    while (!m_terminated) HandleMessage();
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) WaitMessage();
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

bool TApplication::ProcessMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        m_terminated = true;
        return true;
    }
    try {
        // The system posts its own help request for every F1 press, with or
        // without shift keys: a press that is a shortcut asks for none. It is
        // taken out before the shortcut runs, since a dialog the shortcut opens
        // would serve it.
        MSG help{};
        const bool f1 = (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && msg.wParam == VK_F1 &&
                        PeekMessageW(&help, nullptr, WM_KEYF1, WM_KEYF1, PM_REMOVE);
        if (IsShortCut(msg)) return true;
        if (f1) PostMessageW(help.hwnd, help.message, help.wParam, help.lParam);
        if (IsMdiMsg(msg) || IsDialogMsg(msg)) return true;
    } catch (...) {
        HandleCallbackException(this);
        return true;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::Terminate() {
    if (m_terminated) return;
    m_terminated = true;
    PostQuitMessage(0);
}

void TApplication::SetTitle(const std::wstring& title) {
    m_title = title;
    SetWindowTextW(m_utility, title.c_str());
}

static TForm* FormOf(HWND window) {
    for (HWND h = window; h; h = GetParent(h))
        if (TWinControl* c = TWinControl::FromHandle(h))
            if (TForm* f = c->ParentForm()) return f;
    return nullptr;
}

// The form a key message is for: the one owning its window (which has the
// focus), an MDI child counting as its own form; else the active form.
static TForm* KeyForm(const MSG& msg) {
    if (TForm* f = FormOf(msg.hwnd)) return f;
    if (TForm* f = FormOf(GetFocus())) return f;
    return Screen ? Screen->ActiveForm() : nullptr;
}

bool TApplication::IsShortCut(const MSG& msg) {
    if (msg.message == WM_SYSCHAR) {
        TForm* form = KeyForm(msg);
        return form && form->DialogChar(static_cast<wchar_t>(msg.wParam));
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    WORD key = static_cast<WORD>(msg.wParam);
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
    TForm* form = KeyForm(msg);
    return form && form->IsShortCut(ShortCut(key, KeyShiftState()), msg.hwnd);
}

bool TApplication::IsMdiMsg(MSG& msg) {
    if (!m_mainForm || m_mainForm->FormStyle() != TFormStyle::fsMDIForm || !m_mainForm->ClientHandle()) return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    return TranslateMDISysAccel(m_mainForm->ClientHandle(), &msg);
}

bool TApplication::IsDialogMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
    TForm* form = KeyForm(msg);
    if (!form || form->FormStyle() == TFormStyle::fsMDIForm || !form->HandleAllocated()) return false;
    return IsDialogMessageW(form->Handle(), &msg);
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
    auto report = [&](const velmora::Exception& e) {
        if (OnException) {
            try {
                OnException(sender, e);
                return;
            } catch (...) {
            }
        }
        ShowException(e);
    };
    try {
        std::rethrow_exception(error);
    } catch (const velmora::Exception& e) {
        report(e);
    } catch (const std::exception& e) {
        report(velmora::Exception(FromUtf8(e.what())));
    } catch (...) {
        report(velmora::Exception(L"Unbekannter Ausnahmefehler"));
    }
}

void TApplication::ShowException(const velmora::Exception& e) {
    try {
        MessageDlg(e.Message(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    } catch (...) {
    }
}

void TApplication::SetHint(const std::wstring& hint) {
    if (hint == m_hint) return;
    m_hint = hint;
    Fire(OnHint, this);
}

void TApplication::SetHintControl(TControl* control) {
    m_hintControl = control;
    std::wstring hint;
    for (TControl* c = control; c && hint.empty(); c = c->Parent()) hint = c->Hint;
    SetHint(GetLongHint(hint));
}

void TApplication::SetHintHidePause(int milliseconds) {
    m_hintHidePause = milliseconds;
    if (m_tooltip) SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(milliseconds, 0));
}

// A windowed control is its own tool (by window); a windowless one is a
// rectangle of its parent's window.
static bool ToolInfo(TControl* control, TOOLINFOW& ti) {
    ti = {};
    ti.cbSize = TTTOOLINFOW_V1_SIZE;
    if (auto* w = dynamic_cast<TWinControl*>(control)) {
        if (!w->HandleAllocated()) return false;
        HWND h = w->Handle();
        ti.uFlags = TTF_IDISHWND;
        ti.hwnd = GetParent(h) ? GetParent(h) : h;
        ti.uId = reinterpret_cast<UINT_PTR>(h);
    } else {
        TWinControl* parent = control->Parent();
        if (!parent || !parent->HandleAllocated()) return false;
        ti.uFlags = 0;
        ti.hwnd = parent->Handle();
        ti.uId = reinterpret_cast<UINT_PTR>(control);
        ti.rect = control->BoundsRect();
    }
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    return true;
}

void TApplication::AddTool(TControl* control) {
    if (!m_tooltip) {
        m_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(m_hintHidePause, 0));
    }
    TOOLINFOW ti;
    if (!ToolInfo(control, ti)) return;
    SendMessageW(m_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    m_tools.insert(control);
}

void TApplication::RemoveTool(TControl* control) {
    if (!m_tools.erase(control) || !m_tooltip) return;
    TOOLINFOW ti;
    if (ToolInfo(control, ti) && IsWindow(ti.hwnd)) SendMessageW(m_tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void TApplication::RelayToolMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_tooltip) return;
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        MSG msg{window, message, wParam, lParam, 0, {}};
        SendMessageW(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        break;
    }
    default: break;
    }
}

void TApplication::MoveTool(TControl* control) {
    if (!m_tools.count(control)) return;
    TOOLINFOW ti;
    if (ToolInfo(control, ti)) SendMessageW(m_tooltip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool TApplication::ToolText(NMHDR* header) {
    if (header->code != TTN_GETDISPINFOW || header->hwndFrom != m_tooltip) return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    TControl* control = (info->uFlags & TTF_IDISHWND)
                            ? TWinControl::FromHandle(reinterpret_cast<HWND>(header->idFrom))
                            : reinterpret_cast<TControl*>(header->idFrom);
    m_tipText.clear();
    if (control && m_tools.count(control) && ShowHint && control->EffectiveShowHint())
        m_tipText = GetShortHint(control->Hint);
    info->lpszText = m_tipText.data();
    return true;
}

THelpFunction TApplication::SetHelpFunction(THelpFunction function) {
    THelpFunction old = std::move(HelpFunction());
    HelpFunction() = std::move(function);
    return old;
}

bool TApplication::HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context)); }

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
    if (HelpFile.empty()) return false;
    if (HelpFunction()) return HelpFunction()(HelpFile, command, data);
    HWND owner = m_mainForm && m_mainForm->HandleAllocated() ? m_mainForm->Handle() : m_utility;
    return WinHelpW(owner, HelpFile.c_str(), command, data);
}

void TApplication::Post(std::function<void()> f) {
    {
        std::lock_guard lock(m_postLock);
        m_posted.push_back(std::move(f));
    }
    PostMessageW(m_utility, kPostedMessage, 0, 0);
}

UINT_PTR TApplication::AddTimer(TTimer* timer, UINT interval) {
    UINT_PTR id = m_nextTimer++;
    m_timers[id] = timer;
    SetTimer(m_utility, id, interval, nullptr);
    return id;
}

void TApplication::RemoveTimer(UINT_PTR id) {
    KillTimer(m_utility, id);
    m_timers.erase(id);
}

TSyncRequest::TSyncRequest() : Done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

TSyncRequest::~TSyncRequest() { CloseHandle(Done); }

void TApplication::QueueSynchronize(std::shared_ptr<TSyncRequest> request) {
    {
        std::lock_guard lock(m_postLock);
        m_syncQueue.push_back(std::move(request));
    }
    SetEvent(m_syncEvent);
    PostMessageW(m_utility, kSyncMessage, 0, 0);
}

bool TApplication::CheckSynchronize() {
    bool ran = false;
    for (;;) {
        std::shared_ptr<TSyncRequest> request;
        {
            std::lock_guard lock(m_postLock);
            if (m_syncQueue.empty()) return ran;
            request = std::move(m_syncQueue.front());
            m_syncQueue.pop_front();
        }
        ran = true;
        request->Running = true;
        try {
            request->Call();
        } catch (...) {
            if (!request->Abandoned) request->Error = std::current_exception();
        }
        request->Running = false;
        SetEvent(request->Done);
    }
}

void TApplication::OnActivateApp(bool active) {
    m_active = active;
    Fire(active ? OnActivate : OnDeactivate, this);
}

LRESULT CALLBACK TApplication::UtilityProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TApplication* app = Application;
    if (!app || window != app->m_utility) return DefWindowProcW(window, message, wParam, lParam);
    try {
        switch (message) {
        case WM_TIMER:
            if (auto it = app->m_timers.find(wParam); it != app->m_timers.end()) {
                TTimer* timer = it->second;
                try {
                    timer->Tick();
                } catch (...) {
                    HandleCallbackException(timer);
                }
            }
            return 0;
        case kPostedMessage: {
            std::vector<std::function<void()>> posted;
            {
                std::lock_guard lock(app->m_postLock);
                posted.swap(app->m_posted);
            }
            for (auto& f : posted) {
                try {
                    f();
                } catch (...) {
                    HandleCallbackException(app);
                }
            }
            return 0;
        }
        case kSyncMessage: app->CheckSynchronize(); return 0;
        case WM_ACTIVATEAPP: app->OnActivateApp(wParam != 0); return 0;
        }
    } catch (...) {
        HandleCallbackException(app);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void HandleCallbackException(TObject* sender) noexcept {
    try {
        if (Application) Application->HandleException(sender, std::current_exception());
    } catch (...) {
    }
}

std::wstring GetShortHint(const std::wstring& hint) {
    auto bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(0, bar);
}

std::wstring GetLongHint(const std::wstring& hint) {
    auto bar = hint.find(L'|');
    return bar == std::wstring::npos ? hint : hint.substr(bar + 1);
}

// ---- TScreen

void TScreen::SetCursor(TCursor cursor) {
    m_cursor = cursor;
    ::SetCursor(CursorHandle());
}

HCURSOR TScreen::CursorHandle() const {
    const wchar_t* id = IDC_ARROW;
    switch (m_cursor) {
    case crHourGlass: id = IDC_WAIT; break;
    case crHSplit: id = IDC_SIZEWE; break;
    case crVSplit: id = IDC_SIZENS; break;
    case crDrag: id = IDC_ARROW; break;
    default: break;
    }
    return LoadCursorW(nullptr, id);
}

TForm* TScreen::ActiveForm() const {
    TWinControl* c = TWinControl::FromHandle(GetActiveWindow());
    return dynamic_cast<TForm*>(c);
}

THourGlass::THourGlass() : m_saved(Screen ? Screen->Cursor() : crDefault) {
    if (Screen) Screen->SetCursor(crHourGlass);
}

THourGlass::~THourGlass() {
    if (Screen) Screen->SetCursor(m_saved);
}

}  // namespace velmora::gui
