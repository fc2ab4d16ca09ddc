#pragma once
// TPageControl with its TTabSheet pages: one page shows at a time.

#include <vector>

#include "Controls.h"

namespace velmora::gui {

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return m_pageControl; }
    void SetPageControl(TPageControl* control);
    int PageIndex() const;

protected:
    void TextChanged() override;

private:
    TPageControl* m_pageControl = nullptr;
    friend class TPageControl;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    TTabSheet* Pages(int index) const { return m_pages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return m_active; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    RECT AlignRect() override;
    TNotifyEvent OnChange;
    bool CNNotify(NMHDR* header, LRESULT& result) override;
    // Shows the page that holds Control (for focusing a field on its page).
    void ShowPageOf(TControl* control);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void Resized() override;

private:
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    void ShowActive();
    std::vector<TTabSheet*> m_pages;
    TTabSheet* m_active = nullptr;
    friend class TTabSheet;
};

}  // namespace velmora::gui
