#pragma once
// TBevel: a windowless frame, box or line.

#include "Controls.h"

namespace velmora::gui {

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape = TBevelShape::bsBox;
    TBevelStyle Style = TBevelStyle::bsLowered;

protected:
    void Paint() override;
};

}  // namespace velmora::gui
