#pragma once
// TImage: a windowless picture (bitmap or icon), centred or stretched if asked.

#include "Controls.h"

namespace velmora::gui {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);
    TPicture Picture;
    bool Center = false;
    bool Stretch = false;
    bool AutoSize = false;

protected:
    void Paint() override;
};

}  // namespace velmora::gui
