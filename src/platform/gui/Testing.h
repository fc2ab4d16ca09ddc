#pragma once
// Hooks for tests that run real windows without a person at the screen.

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Controls.h"
#include "Dialogs.h"
#include "OpenDialog.h"

namespace velmora::gui {

class TForm;
class TTimer;

// Records every message box while alive and answers from a script; with the
// script used up it answers with the box's first button.
class TMessageBoxRecorder {
public:
    TMessageBoxRecorder();
    ~TMessageBoxRecorder();
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    // The answers (modal results) for the next boxes, in order; kThrow makes
    // the box throw an exception instead, as a failing routine would.
    static constexpr int kThrow = -1;
    void Answer(int result) { m_answers.push_back(result); }
    const std::vector<TMessageBoxCall>& Calls() const { return m_calls; }
    int Unanswered() const { return m_unanswered; }
    void Clear() { m_calls.clear(); }

private:
    TMessageBoxFunction m_previous;
    std::deque<int> m_answers;
    std::vector<TMessageBoxCall> m_calls;
    int m_unanswered = 0;
};

// Records every open-file dialog while alive instead of showing it: its
// title, filter, filter index and file name as the caller set them. Each
// answer is a file name chosen, or empty for Cancel; without one left, Cancel.
class TOpenDialogRecorder {
public:
    struct Call {
        std::wstring Title, Filter, FileName;
        int FilterIndex = 0;
    };
    TOpenDialogRecorder();
    ~TOpenDialogRecorder();
    TOpenDialogRecorder(const TOpenDialogRecorder&) = delete;
    TOpenDialogRecorder& operator=(const TOpenDialogRecorder&) = delete;

    void Answer(std::wstring fileName) { m_answers.push_back(std::move(fileName)); }
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    TOpenDialogFunction m_previous;
    std::deque<std::wstring> m_answers;
    std::vector<Call> m_calls;
};

// Records help calls while alive instead of starting the help viewer.
class THelpRecorder {
public:
    struct Call {
        std::wstring File;
        UINT Command;
        ULONG_PTR Data;
    };
    THelpRecorder();
    ~THelpRecorder();
    THelpRecorder(const THelpRecorder&) = delete;
    THelpRecorder& operator=(const THelpRecorder&) = delete;
    const std::vector<Call>& Calls() const { return m_calls; }

private:
    THelpFunction m_previous;
    std::vector<Call> m_calls;
};

// Steps that act inside modal loops: each runs on the innermost modal form, one
// per turn of its loop, after the form is shown. A form still open TimeoutMs
// after it went modal is closed by force and the script fails, so a test never
// hangs on a dialog.
class TModalScript {
public:
    explicit TModalScript(unsigned timeoutMs = 5000);
    ~TModalScript();
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;

    TModalScript& Step(std::function<void(TForm&)> step);
    bool Failed() const { return !m_failures.empty(); }
    const std::vector<std::wstring>& Failures() const { return m_failures; }
    int StepsLeft() const { return static_cast<int>(m_steps.size()); }
    int FormsSeen() const { return m_formsSeen; }

private:
    void ModalStarted(TForm& form);
    void RunNext();
    std::deque<std::function<void(TForm&)>> m_steps;
    std::vector<std::wstring> m_failures;
    std::vector<std::unique_ptr<TTimer>> m_watchdogs;
    std::function<void(TForm&)> m_previousHook;
    unsigned m_timeout;
    int m_formsSeen = 0;
    bool m_scheduled = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

// Guards a call that must return (a destructor that waits for a thread): if
// the guard is still alive TimeoutMs after it was made, the test program ends
// with the guard's text and exit code 3, so a hang fails instead of stalling.
class THangGuard {
public:
    explicit THangGuard(std::wstring what, unsigned timeoutMs = 15000);
    ~THangGuard();
    THangGuard(const THangGuard&) = delete;
    THangGuard& operator=(const THangGuard&) = delete;

private:
    static DWORD WINAPI Watch(void* self);
    std::wstring m_what;
    unsigned m_timeout;
    HANDLE m_done;
    HANDLE m_thread;
};

// Waits, serving messages, until Condition holds or TimeoutMs pass; true when it held.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 5000);

// Sends a key press (down, char, up) to the focused window through the message loop.
void PostKey(WORD key, TShiftState shift = 0);

// Real input for window tests: the events go through the input queue, so the
// window under the cursor (or the one holding the capture) gets them as it
// would from a user's hand. Each call serves the messages it caused. A native
// list follows a pressed button in a loop of its own until the release: press
// it there by MouseClick, which queues both.
POINT ScreenPoint(const TControl& control, int x, int y);
void PressKey(WORD key, TShiftState shift = 0);
void MouseDown(POINT screen, TMouseButton button = TMouseButton::mbLeft);
void MouseMoveTo(POINT screen);
void MouseUp(POINT screen, TMouseButton button = TMouseButton::mbLeft);
void MouseClick(POINT screen, TMouseButton button = TMouseButton::mbLeft);
// Presses the left button at From, moves in a few steps and releases at To
// (which may lie outside the window pressed).
void MouseDrag(POINT from, POINT to);

// Runs Action once inside the next menu loop of this thread, with the open
// menu's window, so a test sees a pop-up or menu bar menu really open and can
// answer it by hand (a click on an item, Escape). Ran() tells whether it did.
class TMenuLoopWatch {
public:
    explicit TMenuLoopWatch(std::function<void(HWND menuWindow, HMENU menu)> action);
    ~TMenuLoopWatch();
    TMenuLoopWatch(const TMenuLoopWatch&) = delete;
    TMenuLoopWatch& operator=(const TMenuLoopWatch&) = delete;
    bool Ran() const { return m_ran; }
    // The texts of the open menu's items, without their key texts.
    static std::vector<std::wstring> ItemTexts(HMENU menu);
    // Clicks the open menu's item whose text (without "&" and key text) is Text.
    static bool ClickItem(HWND menuWindow, HMENU menu, const std::wstring& text);

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);
    std::function<void(HWND, HMENU)> m_action;
    HHOOK m_hook = nullptr;
    bool m_ran = false;
};

}  // namespace velmora::gui
