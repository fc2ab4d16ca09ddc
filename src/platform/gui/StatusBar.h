#pragma once
// TStatusBar: panels with widths and texts, or one simple text; controls may be
// placed on it (a progress panel, an abort button).

#include <string>
#include <vector>

#include "Controls.h"

namespace velmora::gui {

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

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    void ApplyParts();
    std::vector<TStatusPanel> m_panels;
    bool m_simple = false;
    std::wstring m_simpleText;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetMin(int value);
    void SetMax(int value);
    int Position() const { return m_position; }
    void SetPosition(int value);
    int Step = 10;
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    int m_min = 0, m_max = 100, m_position = 0;
};

}  // namespace velmora::gui
