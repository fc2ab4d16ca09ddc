#pragma once
// TStatusBar: panels with widths and texts, or one simple text; controls may be
// placed on it (a progress panel, an abort button).

#include <functional>
#include <string>
#include <vector>

#include "Controls.h"

namespace velmora::gui {

// Section: the index of the panel clicked, from 0.
using TStatusSectionEvent = std::function<void(TObject* Sender, int Section)>;

struct TStatusPanel {
    std::wstring Text;
    int Width = 50;
};

class TStatusBar : public TWinControl {
public:
    explicit TStatusBar(TComponent* owner);
    int PanelCount() const { return static_cast<int>(m_panels.size()); }
    void SetPanels(const std::vector<TStatusPanel>& panels);
    const TStatusPanel& Panel(int index) const { return m_panels.at(static_cast<size_t>(index)); }
    void SetPanelText(int index, const std::wstring& text);
    void SetPanelWidth(int index, int width);
    bool SimplePanel() const { return m_simple; }
    void SetSimplePanel(bool simple);
    std::wstring SimpleText() const { return m_simpleText; }
    void SetSimpleText(const std::wstring& text);
    bool SizeGrip = false;
    // The panel under a client point; -1 for none (or in simple mode).
    int PanelAt(POINT client) const;
    // A left click on a panel (the one under the mouse when it was released).
    TStatusSectionEvent OnSectionClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    bool CNNotify(NMHDR* header, LRESULT& result) override;

private:
    void ApplyParts();
    std::vector<TStatusPanel> m_panels;
    bool m_simple = false;
    std::wstring m_simpleText;
};

}  // namespace velmora::gui
