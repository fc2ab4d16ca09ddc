#include "ProgressBar.h"

#include <commctrl.h>

#include <algorithm>

namespace velmora::gui {

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    m_width = 150;
    m_height = 16;
}

void TProgressBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = PROGRESS_CLASSW;
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TProgressBar::InitWnd() {
    SendMessageW(m_handle, PBM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
    SendMessageW(m_handle, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

void TProgressBar::SetMin(int value) {
    m_min = value;
    if (m_handle) SendMessageW(m_handle, PBM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
}

void TProgressBar::SetMax(int value) {
    m_max = value;
    if (m_handle) SendMessageW(m_handle, PBM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
}

void TProgressBar::SetPosition(int value) {
    m_position = std::clamp(value, m_min, std::max(m_min, m_max));
    if (m_handle) SendMessageW(m_handle, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
}

// Past the end the bar starts over, as the common control's step does.
void TProgressBar::StepIt() {
    int next = m_position + Step;
    SetPosition(next > m_max ? m_min + (next - m_max) : next);
}

void TProgressBar::StepBy(int delta) { SetPosition(m_position + delta); }

}  // namespace velmora::gui
