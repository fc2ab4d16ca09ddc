#include "Threads.h"

#include "platform/rtl/Exceptions.h"

#include "Application.h"

namespace velmora::gui {

TThread::TThread(bool createSuspended) : m_guiThread(GetCurrentThreadId()) {
    m_resume = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, nullptr);
    if (!m_thread) throw EOSError(GetLastError(), L"CreateThread");
    if (!createSuspended) Resume();
}

// A derived class has stopped the thread already; this only catches one that
// has no members of its own to protect.
TThread::~TThread() {
    StopAndWait();
    CloseHandle(m_thread);
    CloseHandle(m_resume);
}

void TThread::StopAndWait() {
    if (!m_started) {
        m_abandoned = true;
        m_started = true;
        ResumeThread(m_thread);
        WaitForSingleObject(m_thread, INFINITE);
        m_finished = true;
        return;
    }
    if (WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0) return;
    Terminate();
    WaitFor();
}

void TThread::Resume() {
    if (!m_started) {
        m_started = true;
        ResumeThread(m_thread);
        return;
    }
    m_paused = false;
    SetEvent(m_resume);
}

void TThread::Suspend() {
    m_paused = true;
    ResetEvent(m_resume);
}

void TThread::Terminate() {
    m_terminated = true;
    // A paused thread must see the request.
    SetEvent(m_resume);
}

bool TThread::CheckPause() {
    if (m_paused && !m_terminated) WaitForSingleObject(m_resume, INFINITE);
    return !m_terminated;
}

void TThread::SetPriority(TThreadPriority priority) {
    static const int values[] = {THREAD_PRIORITY_IDLE,   THREAD_PRIORITY_LOWEST,  THREAD_PRIORITY_BELOW_NORMAL,
                                 THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST};
    SetThreadPriority(m_thread, values[static_cast<int>(priority)]);
}

DWORD TThread::WaitFor() {
    if (!m_started) return 0;  // a thread never started has nothing to wait for
    if (GetCurrentThreadId() == m_guiThread && Application) {
        // Queued calls first: the wake-up of one may have been taken already.
        HANDLE handles[2] = {m_thread, Application->SyncEvent()};
        for (;;) {
            Application->CheckSynchronize();
            ReleasePendingCall();
            // Peeking delivers what other threads sent to our windows (the thread
            // may be waiting for such an answer).
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            if (MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0) break;
        }
        // Calls queued just before the end (OnTerminate among them).
        Application->CheckSynchronize();
    } else {
        WaitForSingleObject(m_thread, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeThread(m_thread, &code);
    return code;
}

// The thread's call is running further up this stack, so it cannot return
// before the wait does: the thread goes on without its outcome.
void TThread::ReleasePendingCall() {
    std::lock_guard lock(m_pendingLock);
    if (m_pending && m_pending->Running && !m_pending->Abandoned) {
        m_pending->Abandoned = true;
        SetEvent(m_pending->Done);
    }
}

void TThread::Synchronize(const std::function<void()>& call) {
    if (GetCurrentThreadId() == m_guiThread) {
        call();
        return;
    }
    // After the application is gone nothing may touch the windows any more.
    if (!Application) return;
    auto request = std::make_shared<TSyncRequest>();
    request->Call = call;
    {
        std::lock_guard lock(m_pendingLock);
        m_pending = request;
    }
    Application->QueueSynchronize(request);
    WaitForSingleObject(request->Done, INFINITE);
    {
        std::lock_guard lock(m_pendingLock);
        m_pending.reset();
    }
    if (!request->Abandoned && request->Error) std::rethrow_exception(request->Error);
}

void TThread::Finish() {
    if (!OnTerminate && !FreeOnTerminate) return;
    TThread* self = this;
    // OnTerminate runs in the GUI thread; a self-freeing thread is freed there after it.
    auto done = [self] {
        try {
            Fire(self->OnTerminate, self);
        } catch (...) {
            HandleCallbackException(self);
        }
    };
    try {
        Synchronize(done);
    } catch (...) {
    }
}

DWORD WINAPI TThread::ThreadProc(void* param) {
    auto* self = static_cast<TThread*>(param);
    // Destroyed before it was started: nothing runs and nobody is told.
    if (self->m_abandoned) return 0;
    try {
        if (!self->m_terminated) self->Execute();
    } catch (...) {
        // Reported in the GUI thread, as every callback's exception is.
        std::exception_ptr error = std::current_exception();
        try {
            self->Synchronize([self, error] {
                try {
                    std::rethrow_exception(error);
                } catch (...) {
                    HandleCallbackException(self);
                }
            });
        } catch (...) {
        }
    }
    DWORD code = self->ReturnValue;
    self->Finish();
    const bool freeSelf = self->FreeOnTerminate && Application;
    self->m_finished = true;
    // The object may be gone as soon as the deletion is posted: nothing touches it after.
    if (freeSelf) Application->Post([self] { delete self; });
    return code;
}

}  // namespace velmora::gui
