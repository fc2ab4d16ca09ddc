#pragma once
// TNumSpinEdit: a numeric edit with a two-part spin button at its right edge,
// holding an integer or a floating-point value within an optional range.

#include <cstdint>
#include <string>

#include "platform/gui/Edits.h"
#include "platform/gui/Timer.h"

namespace velmora {

enum class TValueType { vtInteger, vtFloat };

// A face split by its diagonal: the upper-left part steps up, the lower-right part
// down. Held pressed, a part repeats after 400 ms and then every 100 ms.
class TNumSpinButton : public gui::TGraphicControl {
public:
    enum class TSpinPart { None, Top, Bottom };

    explicit TNumSpinButton(gui::TComponent* owner);
    gui::TNotifyEvent OnTopClick, OnBottomClick;

    TSpinPart PartAt(int x, int y) const;
    // The part shown pressed: the one held, while the mouse is over it.
    TSpinPart Pressed() const { return m_showPressed ? m_held : TSpinPart::None; }
    // Null until the first press.
    const gui::TTimer* RepeatTimer() const { return m_timer; }

    void MouseDown(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    void MouseMove(gui::TShiftState shift, int x, int y) override;
    void MouseUp(gui::TMouseButton button, gui::TShiftState shift, int x, int y) override;
    // Another window took the mouse: the held part lets go without a click.
    void CaptureLost() override;

protected:
    void Paint() override;

private:
    void FireHeld();
    void StopRepeat();
    void TimerTick(gui::TObject* Sender);
    void PaintPart(TSpinPart part);

    TSpinPart m_held = TSpinPart::None;
    bool m_showPressed = false;
    gui::TTimer* m_timer = nullptr;
};

class TNumSpinEdit : public gui::TCustomEdit {
public:
    explicit TNumSpinEdit(gui::TComponent* owner);

    std::uint8_t Decimal = 2;
    bool EditorEnabled = true;
    double Increment = 1;
    // The range applies only when the two differ.
    double MinValue = 0;
    double MaxValue = 0;

    TValueType ValueType() const { return m_valueType; }
    // Re-writes the current value in the new form.
    void SetValueType(TValueType type);

    // The text as a number; MinValue when it is none. Not forced into the range:
    // a typed value stands until the value is set again.
    double GetValue() const;
    void SetValue(double NewValue);
    double CheckValue(double NewValue) const;
    void UpClick(gui::TObject* Sender);
    void DownClick(gui::TObject* Sender);

    TNumSpinButton& Button() { return m_button; }

    bool DoKeyDown(WORD& key, gui::TShiftState shift) override;
    bool DoKeyPress(wchar_t& key) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Resized() override;
    void InitWnd() override;

private:
    void PlaceButton();
    bool AcceptsChar(wchar_t key) const;
    bool RefusesEdit(UINT message, WPARAM wParam);
    bool PastesNumber();
    bool OnButton(LPARAM lParam);

    TNumSpinButton m_button;
    TValueType m_valueType = TValueType::vtInteger;
};

// The user's decimal separator, as the float values are typed and shown.
wchar_t DecimalSeparator();

}  // namespace velmora
