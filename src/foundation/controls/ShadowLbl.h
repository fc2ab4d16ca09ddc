#pragma once
// TShadowLabel: a label that draws its text over a shadow, placed at the top,
// middle or bottom, with a focus frame while its focus control has the focus.

#include "platform/gui/Controls.h"
#include "platform/gui/Label.h"

namespace velmora {

enum class TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

class TShadowLabel : public gui::TGraphicControl {
public:
    explicit TShadowLabel(gui::TComponent* owner);

    gui::TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(gui::TAlignment value);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value);
    gui::TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(gui::TWinControl* control);
    gui::TTextLayout Layout() const { return m_layout; }
    void SetLayout(gui::TTextLayout value);
    gui::TColor ShadowColor() const { return m_shadowColor; }
    void SetShadowColor(gui::TColor value);
    unsigned char ShadowSize() const { return m_shadowSize; }
    void SetShadowSize(unsigned char value);
    TShadowPosition ShadowPos() const { return m_shadowPos; }
    void SetShadowPos(TShadowPosition value);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool value);
    bool ShowFocus() const { return m_showFocus; }
    void SetShowFocus(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);

    // Draws (or with DT_CALCRECT measures) the caption into R: shadow first, then text.
    void DoDrawText(gui::TCanvas& canvas, RECT& r, UINT flags);
    bool DialogChar(wchar_t key) override;
    void FocusChanged(gui::TWinControl* focused) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void EnabledChanged() override { Invalidate(); }
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    void Changed();
    void AdjustBounds();
    UINT DrawFlags() const;

    gui::TAlignment m_alignment = gui::TAlignment::taLeftJustify;
    bool m_autoSize = true;
    gui::TWinControl* m_focusControl = nullptr;
    gui::TTextLayout m_layout = gui::TTextLayout::tlTop;
    gui::TColor m_shadowColor = gui::clBtnHighlight;
    unsigned char m_shadowSize = 1;
    TShadowPosition m_shadowPos = TShadowPosition::spLeftTop;
    bool m_showAccelChar = true;
    bool m_showFocus = false;
    bool m_transparent = false;
    bool m_wordWrap = false;
};

}  // namespace velmora
