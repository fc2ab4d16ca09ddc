#pragma once
// TExplorerButton: a flat toolbar button that shows its bevel only while the
// mouse is over it, pressed or down; with pictures for the normal, not-hot and
// disabled looks, a caption, a drop-down menu and group toggling.

#include <string>

#include "platform/gui/Bevel.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Picture.h"

namespace velmora {

enum class TExplorerButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };
enum TExplorerButtonOption : unsigned { boMonoDisplay = 1, boIconOnly = 2, boPopupMark = 4, boShowBevel = 8 };
using TExplorerButtonOptions = unsigned;
enum class TExplorerButtonShadingType { stLight, stMedium, stDark };

class TExplorerButton : public gui::TGraphicControl {
public:
    explicit TExplorerButton(gui::TComponent* owner);

    // Information only; the button never reads it.
    std::wstring About;
    // Normal picture, the picture while the mouse is away (with boMonoDisplay),
    // and the picture while disabled. The bottom-left pixel of each is the
    // transparent colour. Any change repaints.
    gui::TPicture Bitmap, NoFocusBitmap, DisabledBitmap;
    // Whether a down button of a group may be clicked up again.
    bool AllowAllUp = false;
    gui::TNotifyEvent OnEnter, OnExit;

    gui::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(gui::TAlignment value);
    gui::TBevelStyle BevelStyle() const { return m_bevelStyle; }
    void SetBevelStyle(gui::TBevelStyle value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return m_down; }
    void SetDown(bool value);
    gui::TPopupMenu* DropDownMenu() const { return m_dropDownMenu; }
    void SetDropDownMenu(gui::TPopupMenu* menu);
    TExplorerButtonLayout Layout() const { return m_layout; }
    void SetLayout(TExplorerButtonLayout value);
    TExplorerButtonOptions Options() const { return m_options; }
    void SetOptions(TExplorerButtonOptions value);
    TExplorerButtonShadingType ShadingType() const { return m_shadingType; }
    void SetShadingType(TExplorerButtonShadingType value);
    bool ShowDownPattern() const { return m_showDownPattern; }
    void SetShowDownPattern(bool value);
    gui::TColor UnselectedFontColor() const { return m_unselectedFontColor; }
    void SetUnselectedFontColor(gui::TColor value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);

    // The pressing and mouse-inside flags that decide the look.
    bool Pressing() const { return m_pressing; }
    bool MouseInside() const { return m_inside; }

    // Fires OnClick, except for a button that opens a drop-down menu.
    void Click() override;
    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CaptureLost() override;
    // The caption's accelerator presses and releases the button.
    bool DialogChar(wchar_t key) override;

protected:
    void Paint() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    bool Active() const { return m_enabled && m_visible; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }
    bool CursorInside() const;
    void ShowDropDown();
    void ToggleInGroup();
    void PaintFace(gui::TCanvas& canvas);

    gui::TAlignment m_alignment = gui::TAlignment::taCenter;
    gui::TBevelStyle m_bevelStyle = gui::TBevelStyle::bsRaised;
    int m_groupIndex = 0;
    bool m_down = false;
    gui::TPopupMenu* m_dropDownMenu = nullptr;
    TExplorerButtonLayout m_layout = TExplorerButtonLayout::blBitmapTop;
    TExplorerButtonOptions m_options = 0;
    TExplorerButtonShadingType m_shadingType = TExplorerButtonShadingType::stMedium;
    bool m_showDownPattern = true;
    gui::TColor m_unselectedFontColor = gui::clWindowText;
    bool m_wordWrap = false;
    bool m_pressing = false, m_inside = false;
};

}  // namespace velmora
