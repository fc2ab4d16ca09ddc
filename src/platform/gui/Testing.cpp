#include "Testing.h"

#include <cstdio>

#include "platform/rtl/Strings.h"

#include "Controls.h"
#include "Forms.h"
#include "Timer.h"

namespace velmora::gui {

std::function<void(TForm&)>& ModalStartHook();

TMessageBoxRecorder::TMessageBoxRecorder() {
    m_previous = SetMessageBoxFunction([this](const TMessageBoxCall& call) {
        m_calls.push_back(call);
        if (m_answers.empty()) {
            ++m_unanswered;
            return MsgDlgButtonResult(call.Buttons.front());
        }
        int answer = m_answers.front();
        m_answers.pop_front();
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

}  // namespace velmora::gui
