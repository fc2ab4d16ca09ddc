#pragma once
// TSplitter: a windowless bar between an aligned control and the rest; dragging
// it resizes the control before it.

#include "Controls.h"

namespace velmora::gui {

class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    int MinSize = 30;
    TNotifyEvent OnMoved;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

protected:
    void Paint() override;

private:
    TControl* Neighbour() const;
    bool m_dragging = false;
    POINT m_start{};
    int m_startSize = 0;
};

}  // namespace velmora::gui
