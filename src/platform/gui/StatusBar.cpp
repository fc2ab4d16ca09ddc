#include "StatusBar.h"

#include <commctrl.h>

#include <algorithm>

namespace velmora::gui {

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner) {
    m_align = TAlign::alBottom;
    m_height = 19;
    RequestAlign();
}

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = STATUSCLASSNAMEW;
    p.SystemClass = true;
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (SizeGrip ? SBARS_SIZEGRIP : 0);
}

void TStatusBar::InitWnd() {
    ApplyParts();
    SendMessageW(m_handle, SB_SIMPLE, m_simple, 0);
    if (m_simple) SendMessageW(m_handle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

void TStatusBar::ApplyParts() {
    if (!m_handle) return;
    std::vector<int> edges;
    int x = 0;
    for (size_t i = 0; i < m_panels.size(); ++i) {
        x += m_panels[i].Width;
        edges.push_back(i + 1 == m_panels.size() ? -1 : x);
    }
    if (edges.empty()) edges.push_back(-1);
    SendMessageW(m_handle, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (size_t i = 0; i < m_panels.size(); ++i)
        SendMessageW(m_handle, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(m_panels[i].Text.c_str()));
}

void TStatusBar::SetPanels(const std::vector<TStatusPanel>& panels) {
    m_panels = panels;
    ApplyParts();
}

void TStatusBar::SetPanelText(int index, const std::wstring& text) {
    auto& panel = m_panels.at(static_cast<size_t>(index));
    panel.Text = text;
    if (m_handle) SendMessageW(m_handle, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(panel.Text.c_str()));
}

void TStatusBar::SetPanelWidth(int index, int width) {
    m_panels.at(static_cast<size_t>(index)).Width = width;
    ApplyParts();
}

void TStatusBar::SetSimplePanel(bool simple) {
    m_simple = simple;
    if (!m_handle) return;
    SendMessageW(m_handle, SB_SIMPLE, simple, 0);
    if (simple) SendMessageW(m_handle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

void TStatusBar::SetSimpleText(const std::wstring& text) {
    m_simpleText = text;
    if (m_handle && m_simple) SendMessageW(m_handle, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

// ---- TProgressBar

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
