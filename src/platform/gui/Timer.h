#pragma once
// TTimer: OnTimer every Interval milliseconds while enabled. Switching it off and
// on again restarts the interval (the one-shot pattern).

#include "Component.h"
#include "Events.h"

namespace velmora::gui {

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    unsigned Interval() const { return m_interval; }
    void SetInterval(unsigned milliseconds);
    TNotifyEvent OnTimer;
    void Tick();

private:
    void Update();
    bool m_enabled = true;
    unsigned m_interval = 1000;
    unsigned long long m_id = 0;
};

}  // namespace velmora::gui
