#pragma once
// TApplication: the message loop, the exception barrier's handler, hints, help and
// the hidden window that serves timers and synchronised calls. TScreen: the cursor.

#include <windows.h>

#include <atomic>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"

#include "Component.h"
#include "Events.h"

namespace velmora::gui {

class TControl;
class TForm;
class TTimer;
class TWinControl;
class TScreen;

// A call that another thread asked the GUI thread to run, and its outcome. The
// asking thread and the queue share it: a thread let go before its call has
// returned (see TThread::WaitFor) leaves the request to the GUI thread.
struct TSyncRequest {
    TSyncRequest();
    ~TSyncRequest();
    TSyncRequest(const TSyncRequest&) = delete;
    TSyncRequest& operator=(const TSyncRequest&) = delete;

    std::function<void()> Call;
    HANDLE Done = nullptr;  // manual reset
    std::exception_ptr Error;
    // Written in the GUI thread only.
    bool Running = false;
    // The asker was let go early and reads no outcome.
    std::atomic<bool> Abandoned{false};
};

using TExceptionEvent = std::function<void(TObject* Sender, const velmora::Exception& E)>;

// Help calls all pass through one function; tests replace it to record them.
using THelpFunction = std::function<bool(const std::wstring& file, UINT command, ULONG_PTR data)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    void Initialize() {}
    // Creates a form owned by the application; the first becomes the main form.
    template <class T, class... Args>
    T* CreateForm(Args&&... args) {
        T* form = new T(this, std::forward<Args>(args)...);
        AddForm(form);
        form->AfterConstruction();
        return form;
    }
    TForm* MainForm() const { return m_mainForm; }
    void SetMainForm(TForm* form) { m_mainForm = form; }

    // Shows the main form and serves messages until Terminate.
    void Run();
    void HandleMessage();
    void ProcessMessages();
    bool ProcessMessage();
    void Terminate();
    bool Terminated() const { return m_terminated; }

    std::wstring Title() const { return m_title; }
    void SetTitle(const std::wstring& title);

    TExceptionEvent OnException;
    // Hands the current exception (inside a catch block) to OnException, or shows it.
    void HandleException(TObject* sender, std::exception_ptr error);
    void ShowException(const velmora::Exception& e);

    // Hints: the long part goes to OnHint, the short part into the pop-up.
    TNotifyEvent OnHint;
    std::wstring Hint() const { return m_hint; }
    void SetHint(const std::wstring& hint);
    TControl* HintControl() const { return m_hintControl; }
    void SetHintControl(TControl* control);
    bool ShowHint = true;
    int HintHidePause() const { return m_hintHidePause; }
    void SetHintHidePause(int milliseconds);
    // Pop-up hints: every control is a tool of one tooltip window; its text (the
    // short part of Hint) is asked for when the tip shows.
    void AddTool(TControl* control);
    void RemoveTool(TControl* control);
    void MoveTool(TControl* control);
    // Hands a mouse message of one of our windows to the hint window. The hint
    // window does not subclass the tools: its subclass looks itself up in a
    // window property on every message, a server round trip under Wine.
    void RelayToolMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool ToolText(NMHDR* header);

    TNotifyEvent OnActivate, OnDeactivate;
    bool Active() const { return m_active; }

    // Help: the file, and F1 contexts routed to it.
    std::wstring HelpFile;
    bool HelpContext(int context);
    bool HelpCommand(UINT command, ULONG_PTR data);
    static THelpFunction SetHelpFunction(THelpFunction function);

    // The hidden window for timers, synchronised calls and posted work.
    HWND UtilityWindow() const { return m_utility; }
    // Runs F in the GUI thread at the next message; safe from any thread.
    void Post(std::function<void()> f);
    UINT_PTR AddTimer(TTimer* timer, UINT interval);
    void RemoveTimer(UINT_PTR id);
    // Runs the calls other threads queued with Synchronize, taking one at a time,
    // so that a call may wait for another thread whose call is queued behind it.
    bool CheckSynchronize();
    HANDLE SyncEvent() const { return m_syncEvent; }
    void QueueSynchronize(std::shared_ptr<TSyncRequest> request);

    // Modal loops register themselves so that a test script can reach them.
    std::vector<TForm*> ModalStack;

    void RemoveForm(TForm* form);

private:
    void AddForm(TForm* form);
    bool IsShortCut(const MSG& msg);
    bool IsDialogMsg(MSG& msg);
    bool IsMdiMsg(MSG& msg);
    static LRESULT CALLBACK UtilityProc(HWND, UINT, WPARAM, LPARAM);
    void OnActivateApp(bool active);

    TForm* m_mainForm = nullptr;
    std::vector<TForm*> m_forms;
    bool m_terminated = false;
    std::wstring m_title;
    std::wstring m_hint;
    TControl* m_hintControl = nullptr;
    int m_hintHidePause = 2500;
    bool m_active = false;
    HWND m_utility = nullptr;
    HWND m_tooltip = nullptr;
    std::set<TControl*> m_tools;
    std::wstring m_tipText;
    std::map<UINT_PTR, TTimer*> m_timers;
    UINT_PTR m_nextTimer = 1;
    std::mutex m_postLock;
    std::vector<std::function<void()>> m_posted;
    std::deque<std::shared_ptr<TSyncRequest>> m_syncQueue;
    TScreen* m_screen = nullptr;
    HANDLE m_syncEvent = nullptr;
    friend class TForm;
};

extern TApplication* Application;

// Called inside a catch block at a callback boundary: hands the exception on.
void HandleCallbackException(TObject* sender) noexcept;

std::wstring GetShortHint(const std::wstring& hint);
std::wstring GetLongHint(const std::wstring& hint);

enum TCursor { crDefault = 0, crArrow = -2, crHourGlass = -11, crHSplit = -14, crVSplit = -15, crDrag = -12 };

class TScreen {
public:
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);
    HCURSOR CursorHandle() const;
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    TForm* ActiveForm() const;

private:
    TCursor m_cursor = crDefault;
};

extern TScreen* Screen;

// Shows the hourglass while alive and puts the previous cursor back.
class THourGlass {
public:
    THourGlass();
    ~THourGlass();
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor m_saved;
};

}  // namespace velmora::gui
