#pragma once
// Drommel's one window: each entry of the autostart list with its icon and a
// seconds countdown, and the four choices. The walk itself is TStarterSequence.

#include <windows.h>
#include <commctrl.h>

#include "autostart/starter/Rcadigi.h"
#include "autostart/starter/ShellOpen.h"
#include "autostart/starter/StarterSequence.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Panel.h"
#include "platform/gui/Timer.h"

namespace velmora::starter {

// The error box of a failed start: only OK.
void ShowStartError(const std::wstring& text);

class TForm1 : public gui::TForm, private IStarterView {
public:
    explicit TForm1(gui::TComponent* owner, TShellStart shellStart = ShellOpen,
                    TErrorBox errorBox = ShowStartError);

    gui::TPanel Beschreibung;
    gui::TLabel Label1;
    TRCADigital Countdown;
    gui::TLabel Label3;
    gui::TImage Image1;
    gui::TButton Button1;
    gui::TButton Button2;
    gui::TButton Button3;
    gui::TButton Button4;
    gui::TTimer Timer;

    void FormCreate(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void TimerTimer(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void Button2Click(gui::TObject* Sender);
    void Button3Click(gui::TObject* Sender);
    void Button4Click(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);

    const TStarterSequence& Sequence() const { return m_sequence; }

private:
    void LayoutControls();

    void ShowEntry(const TEintrag& entry, const std::wstring& countdownCaption) override;
    void ShowCountdown(int seconds) override;
    void SetTimerRunning(bool running) override;
    void CloseWindow() override;

    TStarterSequence m_sequence;
    // Shared with the shell: never destroyed here.
    HIMAGELIST m_systemImages = nullptr;
};

}  // namespace velmora::starter
