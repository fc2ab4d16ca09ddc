#pragma once
// TSplash: the start-up window, shown only while the main window is created.

#include "foundation/controls/ShadowLbl.h"
#include "foundation/controls/Wall.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Image.h"
#include "platform/gui/Panel.h"

namespace velmora {

class TSplash : public gui::TForm {
public:
    explicit TSplash(gui::TComponent* owner);

    TWallpaper Wallpaper1;
    gui::TBevel Bevel1, Bevel2, Bevel3;
    gui::TPanel Panel1;
    gui::TImage Image1;
    gui::TPanel Panel2;
    gui::TImage Image2;
    TShadowLabel ShadowLabel2, ShadowLabel3, ShadowLabel1;

private:
    void FormCreate(gui::TObject* Sender);
    void PlaceLabel(TShadowLabel& label, const std::wstring& text, int top);
};

}  // namespace velmora
