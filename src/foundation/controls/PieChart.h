#pragma once
// TPieChart: a pie of coloured slices read from text lines, each a value and a
// label. The slices are ordered by value, largest first, and painted from
// three o'clock counter-clockwise, the largest in Colour1, the next in
// Colour2 and so on. A double click or a right-button release on a slice
// names it through OnDblClick or OnRightClick.

#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/rtl/StringList.h"

namespace velmora {

namespace gui {
class TListBox;
}

class TPieChart : public gui::TGraphicControl {
public:
    static constexpr int kColours = 6;

    explicit TPieChart(gui::TComponent* owner);

    // Colour N (1 to 6) fills the Nth largest slice; later slices take the
    // colours again from the first.
    gui::TColor Colour(int n) const;
    void SetColour(int n, gui::TColor value);
    void SetColour1(gui::TColor value) { SetColour(1, value); }
    void SetColour2(gui::TColor value) { SetColour(2, value); }
    void SetColour3(gui::TColor value) { SetColour(3, value); }
    void SetColour4(gui::TColor value) { SetColour(4, value); }
    void SetColour5(gui::TColor value) { SetColour(5, value); }
    void SetColour6(gui::TColor value) { SetColour(6, value); }

    // Receives the slices' labels in the pie's order on each LoadData.
    gui::TListBox* ListBox() const { return m_listBox; }
    void SetListBox(gui::TListBox* listBox);

    // Each line, trimmed: the value is the text before the first blank, the
    // label the trimmed rest. A line whose value is no number, or a negative
    // one, is left out.
    void LoadData(const TStringList& lines);

    struct TSlice {
        double Value = 0;
        std::wstring Label;
    };
    // In the pie's order, largest first.
    const std::vector<TSlice>& Slices() const { return m_slices; }
    double Total() const { return m_total; }
    // The slice under the point of the control, or -1.
    int SliceAt(int x, int y) const;
    // The label of the slice the last double click or right click hit.
    const std::wstring& HitLabel() const { return m_hitLabel; }

    gui::TNotifyEvent OnRightClick;

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void DblClick() override;

protected:
    void Paint() override;
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    bool Hit();

    gui::TColor m_colours[kColours];
    gui::TListBox* m_listBox = nullptr;
    std::vector<TSlice> m_slices;
    double m_total = 0;
    POINT m_lastMouse{0, 0};
    std::wstring m_hitLabel;
};

}  // namespace velmora
