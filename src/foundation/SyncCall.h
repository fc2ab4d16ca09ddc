#pragma once
// Synchronised calls from a worker thread into the GUI thread, through a hidden
// window that the GUI thread owns. The worker blocks until the call has run.
// The GUI thread serves such calls whenever it pumps messages, and also while it
// waits for a worker with WaitServingCalls, so that it never deadlocks on a
// worker that is itself waiting for a call.

#include <windows.h>

#include <functional>

namespace velmora {

class TSyncWindow {
public:
    // Made in the GUI thread, which then runs every call.
    TSyncWindow();
    ~TSyncWindow();
    TSyncWindow(const TSyncWindow&) = delete;
    TSyncWindow& operator=(const TSyncWindow&) = delete;

    // From the worker: runs Call in the GUI thread and returns when it has run.
    // An exception thrown by Call does not cross the window's frame; it goes to
    // the application's exception handler.
    void Synchronize(const std::function<void()>& Call) const;

private:
    HWND m_window;
};

// Waits until Handle is signalled and serves synchronised calls meanwhile.
void WaitServingCalls(HANDLE Handle);

}  // namespace velmora
