#pragma once
// TLabel: a windowless caption, transparent over its parent if asked.

#include "Controls.h"

namespace velmora::gui {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* owner);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    bool Transparent = false;
    bool ShowAccelChar = true;
    TTextLayout Layout = TTextLayout::tlTop;
    TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* control);
    bool DialogChar(wchar_t key) override;

protected:
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, TOperation operation) override;
    UINT DrawFlags() const;
    void AdjustBounds();

private:
    TAlignment m_alignment = TAlignment::taLeftJustify;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    TWinControl* m_focusControl = nullptr;
};

}  // namespace velmora::gui
