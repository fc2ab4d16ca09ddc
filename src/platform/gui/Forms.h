#pragma once
// TForm: a top-level window (or MDI frame, or MDI child) that declares its
// controls as members and lays them out in code.

#include <windows.h>

#include <functional>

#include "Controls.h"

namespace velmora::gui {

class TMainMenu;
class TButton;
class TModalScript;
using TShortCut = WORD;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poMainFormCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TForm : public TWinControl {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle style);
    TPosition Position = TPosition::poDesigned;
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    // The bounds the form has when neither minimised nor maximised.
    RECT NormalBounds() const;
    // Minimum tracking size of the whole window (0 = none).
    int MinWidth = 0, MinHeight = 0;
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu);

    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    void SetActiveControlFromFocus(TWinControl* control);
    TButton* DefaultButton() const;
    TButton* CancelButton() const;

    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form modally and returns the modal result (mrCancel when closed otherwise).
    TModalResult ShowModal();
    bool Modal() const { return m_modal; }
    // Asks the close handler; hides, frees or minimises as it says. From OnShow the
    // close is posted, so it happens once showing is over.
    void Close();
    // Frees the form once the handlers on the stack have returned.
    void Release();
    bool CloseQuery();
    void SetVisible(bool visible) override;
    void BringToFront() override;
    // Client sizes also before the window exists, from the border style.
    void SetClientSize(int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;

    TNotifyEvent OnCreate, OnShow, OnHide, OnActivate, OnDeactivate, OnDestroy, OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Focus: the window the key went to (F1 asks for its help context).
    bool IsShortCut(TShortCut shortCut, HWND focus = nullptr);
    // A key for which this answers true is no shortcut of this form (nor of its
    // MDI children, which ask their frame): it goes on to the focused window.
    std::function<bool(TShortCut shortCut, HWND focus)> PassShortCut;
    // The form sees the keys of its controls first (and may swallow them).
    bool KeyPreview = false;
    TCanvas& Canvas() { return m_canvas; }

    // MDI: the client window of a frame, the active child, the children.
    HWND ClientHandle() const { return m_mdiClient; }
    TForm* ActiveMDIChild() const;
    int MDIChildCount() const;
    TForm* MDIChildren(int index) const;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void InitWnd() override;
    void DoCreate() override;
    void DoDestroy() override;
    void PaintWindow(HDC dc) override;
    LRESULT CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void AlignedRest(const RECT& rest) override;

private:
    void DoClose(TCloseAction& action);
    void PlaceOnShow();
    void DoShow();
    bool HandleHelp(const HELPINFO* info);
    bool DialogCommand(WORD id, HWND control);
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    void DisableOtherWindows(std::vector<HWND>& disabled);
    void RunModalLoop();
    RECT FrameSize() const;
    friend class TModalScript;
    bool m_forceClose = false;

    TFormStyle m_formStyle = TFormStyle::fsNormal;
    TMainMenu* m_menu = nullptr;
    // The item last highlighted in a menu was another's: its command is not ours.
    bool m_foreignMenuChoice = false;
    TModalResult m_modalResult = mrNone;
    TWinControl* m_activeControl = nullptr;
    bool m_modal = false;
    bool m_inShow = false;
    bool m_shownOnce = false;
    bool m_released = false;
    TWindowState m_windowState = TWindowState::wsNormal;
    HWND m_mdiClient = nullptr;
    WNDPROC m_mdiClientProc = nullptr;
    TCanvas m_canvas;
    static LRESULT CALLBACK MdiClientProc(HWND, UINT, WPARAM, LPARAM);
};

}  // namespace velmora::gui
