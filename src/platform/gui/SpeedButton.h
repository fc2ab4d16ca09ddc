#pragma once
// TSpeedButton: a windowless button with a glyph, optionally flat and in a group
// whose buttons stay down one at a time.

#include "Controls.h"

namespace velmora::gui {

class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* owner);
    TBitmap Glyph;
    bool Flat = false;
    int GroupIndex = 0;
    bool AllowAllUp = false;
    bool Down() const { return m_down; }
    void SetDown(bool down);
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;

private:
    bool m_down = false, m_pressed = false;
};

}  // namespace velmora::gui
