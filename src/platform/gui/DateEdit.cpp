#include "DateEdit.h"

#include <commctrl.h>

#include <cmath>

namespace velmora::gui {

static SYSTEMTIME ToSystemTime(velmora::TDateTime value) {
    velmora::DateParts p = velmora::DecodeDateTime(value);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(p.year);
    st.wMonth = static_cast<WORD>(p.month);
    st.wDay = static_cast<WORD>(p.day);
    return st;
}

TDateEdit::TDateEdit(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_width = 100;
    m_height = 21;
    SYSTEMTIME now;
    GetLocalTime(&now);
    m_date = velmora::TryEncodeDateTime({now.wYear, now.wMonth, now.wDay}).value_or(0);
}

void TDateEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = DATETIMEPICK_CLASSW;
    p.SystemClass = true;
    p.Style |= DTS_SHORTDATEFORMAT;
}

void TDateEdit::InitWnd() {
    SYSTEMTIME st = ToSystemTime(m_date);
    SendMessageW(m_handle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

velmora::TDateTime TDateEdit::Date() const { return m_date; }

void TDateEdit::SetDate(velmora::TDateTime date) {
    m_date = std::floor(date);
    if (!m_handle) return;
    SYSTEMTIME st = ToSystemTime(m_date);
    SendMessageW(m_handle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

bool TDateEdit::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(DTN_DATETIMECHANGE)) return false;
    auto* change = reinterpret_cast<NMDATETIMECHANGE*>(header);
    if (change->dwFlags == GDT_VALID)
        m_date = velmora::TryEncodeDateTime({change->st.wYear, change->st.wMonth, change->st.wDay}).value_or(m_date);
    Fire(OnChange, this);
    result = 0;
    return true;
}

}  // namespace velmora::gui
