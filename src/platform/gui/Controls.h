#pragma once
// TControl, TWinControl, TGraphicControl and TCustomControl: the visual base classes.
// A windowed control owns its HWND, created on demand; its parent reflects
// WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and WM_CTLCOLOR* to the child
// object. A graphic control has no window: its parent paints it and hands it the
// mouse messages that fall on it.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Component.h"
#include "Events.h"
#include "Graphics.h"

namespace velmora::gui {

class TWinControl;
class TForm;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };
using TShiftState = unsigned;

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, wchar_t& Key)>;

TShiftState KeyShiftState();

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);
    TForm* ParentForm() const;

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    RECT BoundsRect() const { return {m_left, m_top, m_left + m_width, m_top + m_height}; }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, m_top, m_width, m_height); }
    void SetTop(int v) { SetBounds(m_left, v, m_width, m_height); }
    void SetWidth(int v) { SetBounds(m_left, m_top, v, m_height); }
    void SetHeight(int v) { SetBounds(m_left, m_top, m_width, v); }
    virtual int ClientWidth() const { return m_width; }
    virtual int ClientHeight() const { return m_height; }
    RECT ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    virtual void SetClientSize(int width, int height);
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);

    virtual std::wstring Caption() const { return m_caption; }
    virtual void SetCaption(const std::wstring& caption);
    std::wstring Text() const { return Caption(); }
    void SetText(const std::wstring& text) { SetCaption(text); }

    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the form visible as well.
    bool Showing() const;

    TFont Font;
    bool ParentFont = true;
    TColor Color() const { return m_color; }
    virtual void SetColor(TColor color);
    bool ParentColor = false;
    // The colour painted: the parent's while ParentColor is set.
    TColor EffectiveColor() const;

    std::wstring Hint;
    bool ShowHint = false;
    bool ParentShowHint = true;
    bool EffectiveShowHint() const;
    TPopupMenu* PopupMenu = nullptr;
    int HelpContext = 0;

    TNotifyEvent OnClick, OnDblClick, OnResize, OnMouseEnter, OnMouseLeave;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    virtual void Click();
    virtual void Invalidate();
    virtual void Update() {}
    void Repaint() { Invalidate(); Update(); }
    virtual void BringToFront();
    virtual void SendToBack();
    virtual bool IsWindowed() const { return false; }

    // The library's mouse entry points, also used by tests to drive a control.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void DblClick();
    virtual void MouseEnter();
    virtual void MouseLeave();
    // A windowless control that held the mouse lost it to another window, or the
    // system cancelled the mode (a dialog came up): no button-up will follow.
    virtual void CaptureLost() {}
    // An Alt+letter or plain letter of a dialog; true when this control took it.
    virtual bool DialogChar(wchar_t key);
    // Paints a windowless control on its parent's device context.
    virtual void PaintControl(TCanvas&) {}
    virtual bool CanFocus() const;
    // The keyboard focus moved inside this control's form (to Focused, or away).
    virtual void FocusChanged(TWinControl* focused) { (void)focused; }

protected:
    virtual void Resized();
    virtual void FontChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void TextChanged() { Invalidate(); }
    void RequestAlign();

    TWinControl* m_parent = nullptr;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    TAlign m_align = TAlign::alNone;
    std::wstring m_caption;
    bool m_enabled = true;
    bool m_visible = true;
    TColor m_color = clBtnFace;
    bool m_mouseInside = false;
    friend class TWinControl;
};

// A windowless control painted by its parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    TCanvas& Canvas() { return *m_canvas; }
    void PaintControl(TCanvas& canvas) override;
    void Update() override;

protected:
    virtual void Paint() {}

private:
    TCanvas* m_canvas = nullptr;
};

struct TCreateParams {
    std::wstring ClassName;
    DWORD Style = WS_CHILD | WS_CLIPSIBLINGS;
    DWORD ExStyle = 0;
    HWND Parent = nullptr;
    HMENU Menu = nullptr;  // the control id for a child window
    bool SystemClass = false;  // a system class that is subclassed after creation
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return m_handle != nullptr; }
    void HandleNeeded() { Handle(); }
    void DestroyHandle();
    static TWinControl* FromHandle(HWND window);

    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int index) const { return m_controls.at(static_cast<size_t>(index)); }
    // A control's own idea of where it may place aligned children.
    virtual RECT AlignRect();
    void AlignControls();
    void DisableAlign() { ++m_alignLock; }
    void EnableAlign();

    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    std::wstring Caption() const override;
    void SetCaption(const std::wstring& caption) override;
    void SetEnabled(bool enabled) override;
    void SetVisible(bool visible) override;
    void SetColor(TColor color) override;
    void Invalidate() override;
    void Update() override;
    void BringToFront() override;
    bool IsWindowed() const override { return true; }
    bool CanFocus() const override;
    bool Focused() const;
    virtual void SetFocus();
    bool TabStop = false;

    TNotifyEvent OnEnter, OnExit;
    TKeyEvent OnKeyDown, OnKeyUp;
    TKeyPressEvent OnKeyPress;

    // Paints the window's content and its windowless children on DC (tests, prints).
    void PaintTo(HDC dc);

    // Reflected notifications from the parent window; true when handled.
    virtual bool CNCommand(WORD code) { (void)code; return false; }
    virtual bool CNNotify(NMHDR* header, LRESULT& result) { (void)header; (void)result; return false; }
    virtual bool CNDrawItem(DRAWITEMSTRUCT*) { return false; }
    virtual bool CNMeasureItem(MEASUREITEMSTRUCT*) { return false; }
    virtual bool CNScroll(UINT message, WPARAM wParam) { (void)message; (void)wParam; return false; }
    // The brush for WM_CTLCOLOR*, or null for the default.
    virtual HBRUSH CtlColor(HDC dc);

    // The window procedure; derived controls handle their messages and call the base.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Key hooks, also called by the form for its focused control.
    virtual bool DoKeyDown(WORD& key, TShiftState shift);
    virtual bool DoKeyPress(wchar_t& key);
    virtual bool DoKeyUp(WORD& key, TShiftState shift);
    bool DialogChar(wchar_t key) override;

protected:
    void Loaded() override;
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: push stored properties into it.
    virtual void InitWnd();
    virtual void DestroyWnd() {}
    virtual void PaintWindow(HDC dc);
    bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool ReflectMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // May change the key in wParam for the default handling.
    bool InputMessage(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result);
    // Paints the windowless children over what the window painted.
    void PaintControls(HDC dc);
    void FontChanged() override;
    HBRUSH ColorBrush();
    TControl* GraphicChildAt(int x, int y);
    bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    // Tells the windowless control holding the mouse that it has lost it.
    void DropCaptureControl();
    void EndDragCapture();
    void SetHover(TControl* control);
    void ShowPopupMenu(TControl* control, int x, int y);
    virtual HWND ParentHandleForChildren() { return Handle(); }
    // The room left after the aligned children (the MDI frame puts its client there).
    virtual void AlignedRest(const RECT&) {}
    // The window procedure of the library's own class when nothing handles a message.
    virtual LRESULT CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

    HWND m_handle = nullptr;
    WNDPROC m_oldProc = nullptr;
    std::vector<TControl*> m_controls;
    TControl* m_captureControl = nullptr;
    TControl* m_hoverControl = nullptr;
    int m_alignLock = 0;
    bool m_trackingLeave = false;
    bool m_leftDown = false;
    // This window holds the mouse for its own drag (a windowed control that
    // follows moves): the button-up arrives wherever it is released.
    bool m_dragCapture = false;
    bool m_rightDown = false;
    TGdiObject m_colorBrush;
    TColor m_brushColor = clNone;
    friend class TControl;
    friend LRESULT CALLBACK VelmoraWndProc(HWND, UINT, WPARAM, LPARAM);
};

// A windowed control of the library's own class that paints itself.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
    TCanvas& Canvas() { return m_canvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    TCanvas m_canvas;
};

// Converts a reflected or window-procedure exception into the application's handler.
LRESULT CALLBACK VelmoraWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
extern const wchar_t* const kVelmoraWindowClass;
void RegisterWindowClasses();
UINT NextControlId();

}  // namespace velmora::gui
