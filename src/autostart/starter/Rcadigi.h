#pragma once
// TRCADigital: a panel that shows an integer as digit pictures cut from one strip,
// right-aligned, like a seven-segment display.

#include <cstdint>
#include <string>

#include "autostart/starter/DigitStrip.h"
#include "platform/gui/Panel.h"

namespace velmora {

class TRCADigital : public gui::TPanel {
public:
    explicit TRCADigital(gui::TComponent* owner);

    // The strip: cells of equal width for 0 to 9, then maybe one for "-". Copies
    // Bitmap and takes a tenth of its width as the cell width.
    void SetNumbers(HBITMAP bitmap);
    bool LoadNumbers(HINSTANCE module, const wchar_t* resourceName);
    const TDigitStrip& Numbers() const { return m_numbers; }
    std::uint16_t NumberWidth() const { return m_numberWidth; }
    void SetNumberWidth(std::uint16_t width);
    std::int32_t Value() const { return m_value; }
    void SetValue(std::int32_t value);
    std::uint16_t Margin() const { return m_margin; }
    void SetMargin(std::uint16_t margin);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    std::int32_t Gap() const { return m_gap; }
    void SetGap(std::int32_t gap);
    std::uint16_t FormatWidth() const { return m_formatWidth; }
    void SetFormatWidth(std::uint16_t width);
    // The text being shown.
    const std::wstring& DigitText() const { return m_text; }

    // Bevels, border and margin on each side.
    int Inset() const;

protected:
    void Paint() override;
    void Resized() override;

private:
    void UpdateHeight();

    TDigitStrip m_numbers;
    std::uint16_t m_numberWidth = 0;
    std::int32_t m_value = 0;
    std::uint16_t m_margin = 2;
    bool m_autoSize = true;
    std::int32_t m_gap = 0;
    std::uint16_t m_formatWidth = 1;
    std::wstring m_text = L"0";
};

}  // namespace velmora
