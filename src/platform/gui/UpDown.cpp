#include "UpDown.h"

#include <commctrl.h>

#include <algorithm>

namespace velmora::gui {

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    m_width = 17;
    m_height = 21;
}

void TUpDown::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = UPDOWN_CLASSW;
    p.SystemClass = true;
    p.ExStyle &= ~WS_EX_CONTROLPARENT;
    p.Style |= UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | (Wrap ? UDS_WRAP : 0) |
               (m_associate ? UDS_ALIGNRIGHT : 0);
}

void TUpDown::InitWnd() {
    SendMessageW(m_handle, UDM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
    UDACCEL accel{0, static_cast<UINT>(Increment)};
    SendMessageW(m_handle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (m_associate) SendMessageW(m_handle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(m_associate->Handle()), 0);
    SendMessageW(m_handle, UDM_SETPOS32, 0, m_position);
    ShowInAssociate();
}

// The associate shows the number (not every common-control version writes it).
void TUpDown::ShowInAssociate() {
    if (m_associate) m_associate->SetCaption(std::to_wstring(Position()));
}

void TUpDown::SetMin(int value) {
    m_min = value;
    if (m_handle) SendMessageW(m_handle, UDM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
}

void TUpDown::SetMax(int value) {
    m_max = value;
    if (m_handle) SendMessageW(m_handle, UDM_SETRANGE32, static_cast<WPARAM>(m_min), m_max);
}

int TUpDown::Position() const {
    if (!m_handle) return m_position;
    return static_cast<int>(SendMessageW(m_handle, UDM_GETPOS32, 0, 0));
}

void TUpDown::SetPosition(int value) {
    m_position = std::clamp(value, std::min(m_min, m_max), std::max(m_min, m_max));
    if (m_handle) SendMessageW(m_handle, UDM_SETPOS32, 0, m_position);
    ShowInAssociate();
}

void TUpDown::SetAssociate(TWinControl* control) {
    m_associate = control;
    if (m_handle) {
        DestroyHandle();
        HandleNeeded();
    }
    ShowInAssociate();
}

bool TUpDown::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    auto* nm = reinterpret_cast<NMUPDOWN*>(header);
    m_lastButton = nm->iDelta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev;
    bool allow = true;
    Fire(OnChanging, this, allow);
    result = allow ? FALSE : TRUE;
    return true;
}

bool TUpDown::CNScroll(UINT, WPARAM wParam) {
    if (LOWORD(wParam) != SB_THUMBPOSITION) return true;
    m_position = Position();
    ShowInAssociate();
    Fire(OnClick, this, m_lastButton);
    return true;
}

}  // namespace velmora::gui
