#pragma once
// TPanel: a container with raised or lowered bevels, a border and a caption.

#include "Controls.h"

namespace velmora::gui {

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TPanelBorder { bsNone, bsSingle };

class TPanel : public TCustomControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut cut);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    TPanelBorder BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TPanelBorder style);
    TAlignment Alignment = TAlignment::taCenter;
    // Kept for the class library's property; nothing in-place-activates here.
    bool Locked = false;
    RECT AlignRect() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void TextChanged() override { Invalidate(); }
    void Changed();

private:
    TBevelCut m_bevelInner = TBevelCut::bvNone;
    TBevelCut m_bevelOuter = TBevelCut::bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    TPanelBorder m_borderStyle = TPanelBorder::bsNone;
};

// Draws a 3-D frame of Width pixels inside R and shrinks R by it.
void Frame3D(TCanvas& canvas, RECT& r, TColor topLeft, TColor bottomRight, int width);

}  // namespace velmora::gui
