#include "PageControl.h"

#include <commctrl.h>

#include <algorithm>

namespace velmora::gui {

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    m_visible = false;
    ParentColor = true;
}

TTabSheet::~TTabSheet() {
    if (m_pageControl) m_pageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* control) {
    if (m_pageControl) m_pageControl->RemovePage(this);
    m_pageControl = control;
    if (control) {
        SetParent(control);
        control->InsertPage(this);
    }
}

int TTabSheet::PageIndex() const {
    if (!m_pageControl) return -1;
    auto& pages = m_pageControl->m_pages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::TextChanged() {
    if (m_pageControl) m_pageControl->UpdateTabs();
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    TabStop = true;
    m_width = 289;
    m_height = 193;
}

void TPageControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.ClassName = WC_TABCONTROLW;
    p.SystemClass = true;
    p.Style |= WS_CLIPCHILDREN;
}

void TPageControl::InitWnd() { UpdateTabs(); }

void TPageControl::InsertPage(TTabSheet* page) {
    m_pages.push_back(page);
    UpdateTabs();
    if (!m_active) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    std::erase(m_pages, page);
    page->m_pageControl = nullptr;
    if (m_active == page) m_active = m_pages.empty() ? nullptr : m_pages.front();
    UpdateTabs();
    ShowActive();
}

void TPageControl::UpdateTabs() {
    if (!m_handle) return;
    SendMessageW(m_handle, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < m_pages.size(); ++i) {
        std::wstring text = m_pages[i]->Caption();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(m_handle, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(m_handle, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    AlignControls();
}

RECT TPageControl::AlignRect() {
    RECT r = ClientRect();
    if (m_handle) SendMessageW(m_handle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    else InflateRect(&r, -4, -4), r.top += 20;
    return r;
}

void TPageControl::Resized() {
    ShowActive();
    TWinControl::Resized();
}

void TPageControl::ShowActive() {
    RECT r = AlignRect();
    for (TTabSheet* page : m_pages) {
        page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        page->SetVisible(page == m_active);
    }
}

int TPageControl::ActivePageIndex() const { return m_active ? m_active->PageIndex() : -1; }

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->m_pageControl != this) return;
    m_active = page;
    if (m_handle) SendMessageW(m_handle, TCM_SETCURSEL, static_cast<WPARAM>(ActivePageIndex()), 0);
    ShowActive();
}

void TPageControl::SetActivePageIndex(int index) {
    if (index >= 0 && index < PageCount()) SetActivePage(m_pages[static_cast<size_t>(index)]);
}

void TPageControl::ShowPageOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* page = dynamic_cast<TTabSheet*>(c); page && page->PageControl() == this) SetActivePage(page);
}

bool TPageControl::CNNotify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
    int index = static_cast<int>(SendMessageW(m_handle, TCM_GETCURSEL, 0, 0));
    SetActivePageIndex(index);
    Fire(OnChange, this);
    result = 0;
    return true;
}

}  // namespace velmora::gui
