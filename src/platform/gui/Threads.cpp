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

TThread::~TThread() {
    if (m_started && !m_finished) {
        Terminate();
        SetEvent(m_resume);
        WaitFor();
    } else if (!m_started) {
        // Never started: let it run to an immediate end.
        m_terminated = true;
        m_started = true;
        ResumeThread(m_thread);
        WaitForSingleObject(m_thread, INFINITE);
    }
    CloseHandle(m_thread);
    CloseHandle(m_resume);
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
    if (GetCurrentThreadId() == m_guiThread && Application) {
        HANDLE handles[2] = {m_thread, Application->SyncEvent()};
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0) Application->CheckSynchronize();
        // Calls queued just before the end (OnTerminate among them).
        Application->CheckSynchronize();
    } else {
        WaitForSingleObject(m_thread, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeThread(m_thread, &code);
    return code;
}

void TThread::Synchronize(const std::function<void()>& call) {
    if (GetCurrentThreadId() == m_guiThread) {
        call();
        return;
    }
    // After the application is gone nothing may touch the windows any more.
    if (!Application) return;
    TSyncRequest request;
    request.Call = call;
    request.Done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Application->QueueSynchronize(&request);
    WaitForSingleObject(request.Done, INFINITE);
    CloseHandle(request.Done);
    if (request.Error) std::rethrow_exception(request.Error);
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
    if (FreeOnTerminate && Application) {
        Application->Post([self] { delete self; });
    }
}

DWORD WINAPI TThread::ThreadProc(void* param) {
    auto* self = static_cast<TThread*>(param);
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
    self->m_finished = true;
    return code;
}

}  // namespace velmora::gui
