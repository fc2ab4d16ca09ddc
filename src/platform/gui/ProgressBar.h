#pragma once
// TProgressBar: the common progress bar with a position between Min and Max.

#include "Controls.h"

namespace velmora::gui {

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
