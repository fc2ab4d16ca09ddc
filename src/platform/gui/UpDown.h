#pragma once
// TUpDown: the pair of arrow buttons that steps a number, optionally shown in
// an edit beside it (its associate).

#include "Controls.h"

namespace velmora::gui {

enum class TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    void SetMin(int value);
    void SetMax(int value);
    int Position() const;
    void SetPosition(int value);
    int Increment = 1;
    bool Wrap = false;
    // The edit that shows the number; the arrows sit at its right edge.
    void SetAssociate(TWinControl* control);
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    bool CNNotify(NMHDR* header, LRESULT& result) override;
    bool CNScroll(UINT message, WPARAM wParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;

private:
    void ShowInAssociate();
    int m_min = 0, m_max = 100, m_position = 0;
    TWinControl* m_associate = nullptr;
    TUDBtnType m_lastButton = TUDBtnType::btNext;
};

}  // namespace velmora::gui
