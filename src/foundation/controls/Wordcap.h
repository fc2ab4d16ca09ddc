#pragma once
// TMSOfficeCaption: takes over the drawing of its form's title bar. The caption
// background becomes a gradient in bands, and the title is written in up to
// three parts (company, application name, caption text), each in its own font.

#include <windows.h>

#include <string>

#include "platform/gui/Canvas.h"
#include "platform/gui/Component.h"
#include "platform/gui/Forms.h"

namespace velmora {

constexpr gui::TColor clCaptionText = gui::SystemColor(COLOR_CAPTIONTEXT);
constexpr gui::TColor clInactiveCaptionText = gui::SystemColor(COLOR_INACTIVECAPTIONTEXT);

enum class TFontKind { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };
enum class TGradEnabled { geAlways, geNever, geWhenActive, geSmart };

class TMSOfficeCaption;

// One part of the title. Every change redraws the title bar.
class TCompanyText : public gui::TObject {
public:
    explicit TCompanyText(TMSOfficeCaption* owner);

    TMSOfficeCaption* Owner() const { return m_owner; }
    const std::wstring& Caption() const { return m_caption; }
    void SetCaption(const std::wstring& caption);
    gui::TColor ColorActive() const { return m_colorActive; }
    void SetColorActive(gui::TColor color);
    gui::TColor ColorInactive() const { return m_colorInactive; }
    void SetColorInactive(gui::TColor color);
    TFontKind FontKind() const { return m_fontKind; }
    void SetFontKind(TFontKind kind);
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // The part's own font: used as it is with fkCustom, resized with fkAutoHeight.
    gui::TFont Font;

    // The font the part is written in, made from FontKind and the system caption font.
    const gui::TFont& DrawFont() const { return m_drawFont; }
    void UpdateDrawFont(const gui::TFont& systemFont);

private:
    TMSOfficeCaption* m_owner;
    std::wstring m_caption;
    gui::TColor m_colorActive = clCaptionText;
    gui::TColor m_colorInactive = clInactiveCaptionText;
    TFontKind m_fontKind = TFontKind::fkSystem;
    bool m_visible = true;
    gui::TFont m_drawFont;
};

class TAppNameText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
};

class TCaptionText : public TCompanyText {
public:
    using TCompanyText::TCompanyText;
};

// One vertical band of the gradient: x from Left up to Right (exclusive) in Color.
struct TGradientBand {
    int Left;
    int Right;
    COLORREF Color;
};

// Band Index of Count across [Left, Right): the colour runs channel by channel from
// From at band 0 to To at band Count - 1; a single band is From.
TGradientBand GradientBand(int left, int right, int index, int count, COLORREF from, COLORREF to);

class TMSOfficeCaption : public gui::TComponent {
public:
    // The owner must be a form; its window is made now and its procedure replaced.
    explicit TMSOfficeCaption(gui::TComponent* owner);
    ~TMSOfficeCaption() override;

    TCompanyText CompanyText{this};
    TAppNameText AppNameText{this};
    TCaptionText CaptionText{this};

    gui::TColor Color() const { return m_color; }
    void SetColor(gui::TColor color);
    TGradEnabled Enabled() const { return m_enabled; }
    void SetEnabled(TGradEnabled enabled);
    int NumColors() const { return m_numColors; }
    // Raises for fewer than 1 or more than 256 bands; the old value stays.
    void SetNumColors(int count);

    bool FormActive() const { return m_active; }
    // Whether the background is drawn as a gradient in the current state.
    bool GradientShown() const;
    // The caption bar in window coordinates.
    RECT CaptionRect() const;
    // The form's title: the visible parts' captions joined by single blanks.
    std::wstring TitleText() const;

    // A part changed: rebuild its font, the window title and the drawing.
    void PartChanged(bool titleChanged);

private:
    static LRESULT CALLBACK CaptionWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallOld(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT NcPaint(WPARAM wParam, LPARAM lParam);
    void DrawCaption();
    void DrawBackground(HDC dc, const RECT& r);
    int DrawIconAndButtons(HDC dc, const RECT& r, int& textLeft);
    void DrawParts(HDC dc, RECT r);
    void ReadSystemFont();
    void UpdateFonts();
    void UpdateTitle();
    void Unhook();

    gui::TForm* m_form;
    HWND m_window = nullptr;
    WNDPROC m_oldProc = nullptr;
    bool m_active = false;
    gui::TFont m_systemFont;
    gui::TColor m_color = gui::clBlack;
    TGradEnabled m_enabled = TGradEnabled::geSmart;
    int m_numColors = 64;
};

}  // namespace velmora
