#include "SyncCall.h"

#include "platform/gui/Application.h"

namespace velmora {

namespace {

constexpr UINT kCallMessage = WM_APP + 1;
const wchar_t kClassName[] = L"VelmoraSyncWindow";

LRESULT CALLBACK SyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kCallMessage)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
    } catch (...) {
        gui::HandleCallbackException(nullptr);
    }
    return 0;
}

void RegisterSyncClass() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = SyncWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

TSyncWindow::TSyncWindow() {
    RegisterSyncClass();
    m_window = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
}

TSyncWindow::~TSyncWindow() {
    if (m_window)
        DestroyWindow(m_window);
}

void TSyncWindow::Synchronize(const std::function<void()>& Call) const {
    SendMessageW(m_window, kCallMessage, 0, reinterpret_cast<LPARAM>(&Call));
}

void WaitServingCalls(HANDLE Handle) {
    for (;;) {
        const DWORD result = MsgWaitForMultipleObjects(1, &Handle, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        // Peeking runs the calls sent to this thread and leaves posted messages alone.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace velmora
