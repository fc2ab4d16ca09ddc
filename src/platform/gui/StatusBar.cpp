#include "StatusBar.h"

#include <commctrl.h>


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

int TStatusBar::PanelAt(POINT client) const {
    if (!m_handle || m_simple) return -1;
    for (int i = 0; i < PanelCount(); ++i) {
        RECT r{};
        if (SendMessageW(m_handle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)) &&
            PtInRect(&r, client))
            return i;
    }
    return -1;
}

// The bar's own item number is not trusted: the panel is found from where the
// mouse was when the click ended.
bool TStatusBar::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != NM_CLICK) return false;
    const DWORD at = GetMessagePos();
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    ::ScreenToClient(m_handle, &p);
    if (const int section = PanelAt(p); section >= 0) Fire(OnSectionClick, this, section);
    result = 0;
    return true;
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

}  // namespace velmora::gui
