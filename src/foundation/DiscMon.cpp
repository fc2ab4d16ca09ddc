#include "DiscMon.h"

#include <atomic>
#include <mutex>

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Threads.h"

namespace velmora {

namespace {

class TEvent {
public:
    explicit TEvent(bool manualReset) : m_handle(CreateEventW(nullptr, manualReset, FALSE, nullptr)) {}
    ~TEvent() { CloseHandle(m_handle); }
    TEvent(const TEvent&) = delete;
    TEvent& operator=(const TEvent&) = delete;
    HANDLE Get() const { return m_handle; }
    void Set() const { SetEvent(m_handle); }

private:
    HANDLE m_handle;
};

class TChangeNotification {
public:
    TChangeNotification(const std::wstring& folder, bool subTree, DWORD mask)
        : m_handle(FindFirstChangeNotificationW(folder.c_str(), subTree, mask)) {}
    ~TChangeNotification() {
        if (Valid())
            FindCloseChangeNotification(m_handle);
    }
    TChangeNotification(const TChangeNotification&) = delete;
    TChangeNotification& operator=(const TChangeNotification&) = delete;
    bool Valid() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
    HANDLE Get() const { return m_handle; }
    bool Rearm() const { return FindNextChangeNotification(m_handle); }

private:
    HANDLE m_handle;
};

}  // namespace

class TDiscMonitorThread : public gui::TThread {
public:
    explicit TDiscMonitorThread(TDiscMonitor& owner);
    ~TDiscMonitorThread() override;
    TDiscMonitorThread(const TDiscMonitorThread&) = delete;
    TDiscMonitorThread& operator=(const TDiscMonitorThread&) = delete;

    struct TSettings {
        std::wstring Directory;
        DWORD Mask = 0;
        bool SubTree = false;
        bool Active = false;
    };
    // From the GUI thread: the worker picks these up at once.
    void Store(TSettings settings);

protected:
    void Execute() override;

private:
    enum class TWake { Destroy, Settings, Notification };
    enum class TReport { Change, Invalid };

    TWake Wait(HANDLE notification) const;
    // Waits like Wait, but a wake by settings the worker already works with
    // (their signal came after it had read them) does not count.
    TWake WaitForNews(HANDLE notification);
    TSettings Snapshot();
    bool WatchUntilSettingsChange(const TChangeNotification& notification);
    void Report(TReport kind);

    TDiscMonitor& m_owner;
    TEvent m_destroy{true};
    TEvent m_settingsChanged{false};
    std::mutex m_lock;
    TSettings m_settings;
    unsigned m_generation = 0;
    // The worker's own: the generation of the settings it works with.
    unsigned m_seenGeneration = 0;
    // Written and read in the GUI thread only: the synchronised call checks it.
    bool m_destroying = false;
    // Read by the worker to skip calls that would be dropped anyway.
    std::atomic<bool> m_stopping{false};
};

// Started at once: while inactive it waits on its events, not suspended.
TDiscMonitorThread::TDiscMonitorThread(TDiscMonitor& owner) : gui::TThread(true), m_owner(owner) {
    SetPriority(gui::TThreadPriority::tpIdle);
    Resume();
}

// Waits here, while the events still exist; the wait serves the worker's
// pending call, which then reports nothing, or lets the worker go when that call
// is the one freeing the monitor.
TDiscMonitorThread::~TDiscMonitorThread() {
    m_destroying = true;
    m_stopping = true;
    m_destroy.Set();
    StopAndWait();
}

void TDiscMonitorThread::Store(TSettings settings) {
    {
        std::lock_guard lock(m_lock);
        m_settings = std::move(settings);
        ++m_generation;
    }
    m_settingsChanged.Set();
}

TDiscMonitorThread::TWake TDiscMonitorThread::Wait(HANDLE notification) const {
    const HANDLE handles[3] = {m_destroy.Get(), m_settingsChanged.Get(), notification};
    const DWORD count = notification ? 3 : 2;
    const DWORD result = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0 + 1)
        return TWake::Settings;
    if (result == WAIT_OBJECT_0 + 2)
        return TWake::Notification;
    return TWake::Destroy;
}

TDiscMonitorThread::TSettings TDiscMonitorThread::Snapshot() {
    std::lock_guard lock(m_lock);
    m_seenGeneration = m_generation;
    return m_settings;
}

TDiscMonitorThread::TWake TDiscMonitorThread::WaitForNews(HANDLE notification) {
    for (;;) {
        const TWake wake = Wait(notification);
        if (wake != TWake::Settings)
            return wake;
        std::lock_guard lock(m_lock);
        if (m_generation != m_seenGeneration)
            return wake;
    }
}

void TDiscMonitorThread::Execute() {
    for (;;) {
        const TSettings now = Snapshot();
        if (now.Active) {
            TChangeNotification notification(now.Directory, now.SubTree, now.Mask);
            if (notification.Valid()) {
                if (!WatchUntilSettingsChange(notification))
                    return;
                continue;
            }
            Report(TReport::Invalid);
        }
        if (WaitForNews(nullptr) == TWake::Destroy)
            return;
    }
}

// False when the monitor is being destroyed.
bool TDiscMonitorThread::WatchUntilSettingsChange(const TChangeNotification& notification) {
    for (;;) {
        switch (WaitForNews(notification.Get())) {
        case TWake::Destroy:
            return false;
        case TWake::Settings:
            return true;
        case TWake::Notification:
            Report(TReport::Change);
            // A notification that cannot be re-armed is made anew from the settings.
            if (!notification.Rearm())
                return true;
            break;
        }
    }
}

void TDiscMonitorThread::Report(TReport kind) {
    if (m_stopping)
        return;
    Synchronize([this, kind] {
        if (m_destroying)
            return;
        // The handler's failure is reported; the monitor goes on watching.
        try {
            gui::Fire(kind == TReport::Change ? m_owner.OnChange : m_owner.OnInvalid, &m_owner);
        } catch (...) {
            gui::HandleCallbackException(&m_owner);
        }
    });
}

TDiscMonitor::TDiscMonitor(gui::TComponent* owner)
    : gui::TComponent(owner), m_thread(std::make_unique<TDiscMonitorThread>(*this)) {}

TDiscMonitor::~TDiscMonitor() = default;

void TDiscMonitor::Publish() {
    m_thread->Store({m_directory, m_filters, m_subTree, m_active});
}

void TDiscMonitor::SetDirectory(const std::wstring& Value) {
    if (Value == m_directory)
        return;
    m_directory = Value;
    Publish();
}

void TDiscMonitor::SetFilters(TMonitorFilters Value) {
    if (Value == 0) {
        gui::ShowMessage(L"Some filter condition must be set.");
        return;
    }
    if (Value == m_filters)
        return;
    m_filters = Value;
    Publish();
}

void TDiscMonitor::SetSubTree(bool Value) {
    if (Value == m_subTree)
        return;
    m_subTree = Value;
    Publish();
}

void TDiscMonitor::SetActive(bool Value) {
    if (Value == m_active)
        return;
    m_active = Value;
    Publish();
}

}  // namespace velmora
