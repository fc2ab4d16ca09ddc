#include "Testing.h"

#include <cstdio>

#include "platform/rtl/Strings.h"

#include "Controls.h"
#include "Forms.h"
#include "Timer.h"

namespace velmora::gui {

std::function<void(TForm&)>& ModalStartHook();

TOpenDialogRecorder::TOpenDialogRecorder() {
    m_previous = SetOpenDialogFunction([this](TOpenDialog& dialog) {
        m_calls.push_back({dialog.Title, dialog.Filter, dialog.FileName, dialog.FilterIndex});
        std::wstring answer;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        if (answer.empty()) return false;
        dialog.FileName = answer;
        dialog.Files.Clear();
        dialog.Files.Add(answer);
        return true;
    });
}

TOpenDialogRecorder::~TOpenDialogRecorder() { SetOpenDialogFunction(std::move(m_previous)); }

TMessageBoxRecorder::TMessageBoxRecorder() {
    m_previous = SetMessageBoxFunction([this](const TMessageBoxCall& call) {
        m_calls.push_back(call);
        if (m_answers.empty()) {
            ++m_unanswered;
            return MsgDlgButtonResult(call.Buttons.front());
        }
        int answer = m_answers.front();
        m_answers.pop_front();
        if (answer == kThrow) throw velmora::Exception(L"Ausnahme beim Anzeigen einer Meldung");
        return answer;
    });
}

TMessageBoxRecorder::~TMessageBoxRecorder() { SetMessageBoxFunction(std::move(m_previous)); }

THelpRecorder::THelpRecorder() {
    m_previous = TApplication::SetHelpFunction([this](const std::wstring& file, UINT command, ULONG_PTR data) {
        m_calls.push_back({file, command, data});
        return true;
    });
}

THelpRecorder::~THelpRecorder() { TApplication::SetHelpFunction(std::move(m_previous)); }

TModalScript::TModalScript(unsigned timeoutMs) : m_timeout(timeoutMs) {
    m_previousHook = ModalStartHook();
    ModalStartHook() = [this](TForm& form) { ModalStarted(form); };
}

TModalScript::~TModalScript() {
    *m_alive = false;
    ModalStartHook() = std::move(m_previousHook);
}

TModalScript& TModalScript::Step(std::function<void(TForm&)> step) {
    m_steps.push_back(std::move(step));
    return *this;
}

void TModalScript::ModalStarted(TForm& form) {
    ++m_formsSeen;
    TForm* target = &form;
    auto watchdog = std::make_unique<TTimer>(nullptr);
    watchdog->SetInterval(m_timeout);
    TTimer* timer = watchdog.get();
    watchdog->OnTimer = [this, target, timer](TObject*) {
        timer->SetEnabled(false);
        auto& stack = Application->ModalStack;
        if (std::find(stack.begin(), stack.end(), target) == stack.end()) return;
        m_failures.push_back(L"Das Fenster \"" + target->Name() + L"\" blieb offen.");
        target->m_forceClose = true;
    };
    m_watchdogs.push_back(std::move(watchdog));
    if (!m_scheduled) RunNext();
}

void TModalScript::RunNext() {
    if (m_steps.empty() || Application->ModalStack.empty()) {
        m_scheduled = false;
        return;
    }
    m_scheduled = true;
    std::weak_ptr<bool> alive = m_alive;
    Application->Post([this, alive] {
        if (alive.expired()) return;
        m_scheduled = false;
        if (m_steps.empty() || Application->ModalStack.empty()) return;
        auto step = std::move(m_steps.front());
        m_steps.pop_front();
        step(*Application->ModalStack.back());
        if (!alive.expired()) RunNext();
    });
}

THangGuard::THangGuard(std::wstring what, unsigned timeoutMs)
    : m_what(std::move(what)), m_timeout(timeoutMs), m_done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

THangGuard::~THangGuard() {
    SetEvent(m_done);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_done);
}

DWORD WINAPI THangGuard::Watch(void* param) {
    auto* self = static_cast<THangGuard*>(param);
    if (WaitForSingleObject(self->m_done, self->m_timeout) == WAIT_TIMEOUT) {
        const std::string text = ToUtf8(L"Hängt: " + self->m_what + L"\n");
        fputs(text.c_str(), stderr);
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        if (!Application->ProcessMessage()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PostKey(WORD key, TShiftState shift) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (shift & ssCtrl) add(VK_CONTROL, false);
    if (shift & ssShift) add(VK_SHIFT, false);
    if (shift & ssAlt) add(VK_MENU, false);
    add(key, false);
    add(key, true);
    if (shift & ssAlt) add(VK_MENU, true);
    if (shift & ssShift) add(VK_SHIFT, true);
    if (shift & ssCtrl) add(VK_CONTROL, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

POINT ScreenPoint(const TControl& control, int x, int y) {
    POINT p{x, y};
    if (auto* windowed = dynamic_cast<TWinControl*>(const_cast<TControl*>(&control));
        windowed && windowed->HandleAllocated()) {
        ::ClientToScreen(windowed->Handle(), &p);
        return p;
    }
    return control.ClientToScreen(p);
}

namespace {

void SendMouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Application->ProcessMessages();
}

DWORD DownFlag(TMouseButton button) {
    return button == TMouseButton::mbLeft    ? MOUSEEVENTF_LEFTDOWN
           : button == TMouseButton::mbRight ? MOUSEEVENTF_RIGHTDOWN
                                             : MOUSEEVENTF_MIDDLEDOWN;
}

DWORD UpFlag(TMouseButton button) {
    return button == TMouseButton::mbLeft    ? MOUSEEVENTF_LEFTUP
           : button == TMouseButton::mbRight ? MOUSEEVENTF_RIGHTUP
                                             : MOUSEEVENTF_MIDDLEUP;
}

std::wstring PlainText(std::wstring text) {
    if (auto tab = text.find(L'\t'); tab != std::wstring::npos) text.erase(tab);
    std::wstring plain;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        plain += text[i];
    }
    return plain;
}

TMenuLoopWatch* g_menuWatch = nullptr;

BOOL CALLBACK FindMenuWindow(HWND window, LPARAM found) {
    wchar_t name[16]{};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32768" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

void PressKey(WORD key, TShiftState shift) {
    PostKey(key, shift);
    Application->ProcessMessages();
}

// An absolute move to the point, in the input's 0..65535 scale of the screen
// (rounded up, so that it maps back onto the same pixel).
static INPUT MoveInput(POINT screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + w - 1) / w);
    in.mi.dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + h - 1) / h);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void MouseMoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in = MoveInput(screen);
    SendInput(1, &in, sizeof in);
    Application->ProcessMessages();
}

void MouseDown(POINT screen, TMouseButton button) {
    MouseMoveTo(screen);
    SendMouse(DownFlag(button));
}

void MouseUp(POINT screen, TMouseButton button) {
    MouseMoveTo(screen);
    SendMouse(UpFlag(button));
}

// Both buttons events are queued before any is served: a native list follows
// a pressed button in a loop of its own that returns only on the release.
void MouseClick(POINT screen, TMouseButton button) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[3]{};
    for (INPUT& one : in) one.type = INPUT_MOUSE;
    in[0] = MoveInput(screen);
    in[1].mi.dwFlags = DownFlag(button);
    in[2].mi.dwFlags = UpFlag(button);
    SendInput(3, in, sizeof(INPUT));
    Application->ProcessMessages();
}

void MouseDrag(POINT from, POINT to) {
    MouseDown(from);
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i)
        MouseMoveTo({from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
    MouseUp(to);
}

TMenuLoopWatch::TMenuLoopWatch(std::function<void(HWND, HMENU)> action) : m_action(std::move(action)) {
    g_menuWatch = this;
    m_hook = SetWindowsHookExW(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
}

TMenuLoopWatch::~TMenuLoopWatch() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (g_menuWatch == this) g_menuWatch = nullptr;
}

LRESULT CALLBACK TMenuLoopWatch::Filter(int code, WPARAM wParam, LPARAM lParam) {
    TMenuLoopWatch* self = g_menuWatch;
    if (code == MSGF_MENU && self && !self->m_ran) {
        HWND menuWindow = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindMenuWindow, reinterpret_cast<LPARAM>(&menuWindow));
        if (menuWindow) {
            self->m_ran = true;
            auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            try {
                self->m_action(menuWindow, menu);
            } catch (...) {
                EndMenu();
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<std::wstring> TMenuLoopWatch::ItemTexts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256]{};
        GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
        texts.push_back(PlainText(text));
    }
    return texts;
}

bool TMenuLoopWatch::ClickItem(HWND menuWindow, HMENU menu, const std::wstring& text) {
    const std::vector<std::wstring> texts = ItemTexts(menu);
    for (int i = 0; i < static_cast<int>(texts.size()); ++i) {
        if (texts[i] != text) continue;
        RECT r{};
        if (!GetMenuItemRect(menuWindow, menu, i, &r)) return false;
        // The menu loop reads these from the queue after the hook returns.
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        INPUT in[3]{};
        for (INPUT& one : in) one.type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_MOVE;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(3, in, sizeof(INPUT));
        return true;
    }
    return false;
}

}  // namespace velmora::gui

