#pragma once
// TThread: created suspended, started with Resume. Synchronize runs a call in the
// GUI thread and waits for it; WaitFor in the GUI thread keeps serving such calls
// and sent messages, so waiting for a thread that is synchronising cannot
// deadlock. Pausing is cooperative: the thread stops at its next CheckPause,
// never inside the heap.
//
// A thread's Execute works with the members of the derived class, so the base
// destructor is too late to stop it: every derived destructor begins with
// StopAndWait(). A thread that was never started ends without running Execute
// and without OnTerminate.

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "Component.h"
#include "Events.h"

namespace velmora::gui {

struct TSyncRequest;

enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest };

class TThread : public TObject {
public:
    explicit TThread(bool createSuspended = true);
    ~TThread() override;
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Starts the thread, or lets a paused thread go on.
    void Resume();
    // Asks the thread to stop at its next CheckPause.
    void Suspend();
    bool Suspended() const { return m_paused; }
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Waits for the end (serving synchronised calls meanwhile); the return value of
    // Execute. Called from inside this thread's own synchronised call, it lets the
    // thread go on at once: that call's outcome is then lost to the thread.
    DWORD WaitFor();
    bool Finished() const { return m_finished; }
    void SetPriority(TThreadPriority priority);
    // The object frees itself after OnTerminate.
    bool FreeOnTerminate = false;
    // Runs in the GUI thread when Execute has returned.
    TNotifyEvent OnTerminate;
    DWORD ReturnValue = 0;
    HANDLE Handle() const { return m_thread; }

protected:
    virtual void Execute() = 0;
    // Terminates the thread and waits for its end; a thread never started ends
    // without running. The first statement of every derived destructor.
    void StopAndWait();
    // Runs Call in the GUI thread and waits; an exception it raises comes back here.
    void Synchronize(const std::function<void()>& call);
    // Blocks while paused; true when the thread should go on.
    bool CheckPause();

private:
    static DWORD WINAPI ThreadProc(void* self);
    void Finish();
    // From inside this thread's own synchronised call: lets the thread go on.
    void ReleasePendingCall();

    HANDLE m_thread = nullptr;
    HANDLE m_resume = nullptr;  // manual reset: set while not paused
    bool m_started = false;
    // Set when the object is destroyed before Resume: the thread runs nothing.
    std::atomic<bool> m_abandoned{false};
    std::atomic<bool> m_paused{false};
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_finished{false};
    DWORD m_guiThread = 0;
    // The call the thread waits for in Synchronize, if any.
    std::mutex m_pendingLock;
    std::shared_ptr<TSyncRequest> m_pending;
};

}  // namespace velmora::gui
