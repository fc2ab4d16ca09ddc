#pragma once
// Layout in dialog units (a quarter of the font's average character width, an
// eighth of its height), so that forms never do pixel arithmetic.

#include <initializer_list>
#include <utility>

#include "Controls.h"

namespace velmora::gui {

class TDialogLayout {
public:
    explicit TDialogLayout(TControl& reference);
    int X(int units) const;
    int Y(int units) const;
    void Place(TControl& control, int x, int y, int width, int height) const;
    // Controls side by side from (x, y), each with its width, all of one height.
    void Row(int x, int y, int height, std::initializer_list<std::pair<TControl*, int>> items, int gap = 4) const;
    // Controls one below the other from (x, y), each with its height, all of one width.
    void Column(int x, int y, int width, std::initializer_list<std::pair<TControl*, int>> items, int gap = 2) const;
    void SetClientSize(TControl& form, int width, int height) const;

private:
    int m_baseX = 6, m_baseY = 13;
};

}  // namespace velmora::gui
