#pragma once
// TWallpaper: a panel whose inside, within its bevels, is a picture in tiles.

#include "platform/gui/Panel.h"

namespace velmora {

class TWallpaper : public gui::TPanel {
public:
    explicit TWallpaper(gui::TComponent* owner);
    const gui::TPicture& Wallpaper() const { return m_wallpaper; }
    // Copies the picture; the panel repaints.
    void SetWallpaper(const gui::TPicture& picture);
    // The inside that the tiles cover: the border and both bevels taken off.
    int Inset() const;

protected:
    void Paint() override;

private:
    gui::TPicture m_wallpaper;
};

}  // namespace velmora
