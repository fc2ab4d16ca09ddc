#include "Timer.h"

#include "Application.h"

namespace velmora::gui {

TTimer::TTimer(TComponent* owner) : TComponent(owner) { Update(); }

TTimer::~TTimer() {
    if (m_id && Application) Application->RemoveTimer(static_cast<UINT_PTR>(m_id));
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == m_enabled) return;
    m_enabled = enabled;
    Update();
}

void TTimer::SetInterval(unsigned milliseconds) {
    if (milliseconds == m_interval) return;
    m_interval = milliseconds;
    Update();
}

// The handler is looked up at each tick, so a timer may be created enabled before
// its handler is bound.
void TTimer::Update() {
    if (m_id && Application) Application->RemoveTimer(static_cast<UINT_PTR>(m_id));
    m_id = 0;
    if (m_enabled && m_interval > 0 && Application) m_id = Application->AddTimer(this, m_interval);
}

void TTimer::Tick() {
    if (m_enabled && !Destroying()) Fire(OnTimer, this);
}

}  // namespace velmora::gui
