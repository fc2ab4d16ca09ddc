#pragma once
// The autostarter's walk through the list, without its window: which entry is
// shown, the countdown, the four choices and the starts at the end. The window
// forwards its timer ticks and button clicks here and shows what it is told; the
// shell start and the error box come in from outside, so a test can drive every
// path with a fake clock (calling Tick) and fake starts.

#include <functional>
#include <string>
#include <vector>

#include "autostart/common/AutostartList.h"

namespace velmora {

// What the window does on the sequence's behalf.
class IStarterView {
public:
    virtual ~IStarterView() = default;
    // The entry with its description, the countdown caption and the program's icon;
    // "&Starten" gets the focus.
    virtual void ShowEntry(const TEintrag& entry, const std::wstring& countdownCaption) = 0;
    virtual void ShowCountdown(int seconds) = 0;
    virtual void SetTimerRunning(bool running) = 0;
    virtual void CloseWindow() = 0;
};

// Opens File through the shell with "open" and Parameters; the shell's result
// (32 or less is a failure).
using TShellStart = std::function<long long(const std::wstring& file, const std::wstring& parameters)>;
// An error box with only the OK button.
using TErrorBox = std::function<void(const std::wstring& text)>;

inline const std::wstring kCaptionNichtStarten = L"Sekunden bis das Programm NICHT gestartet wird...";
inline const std::wstring kCaptionStarten = L"Sekunden bis das Programm GESTARTET wird...";

// The box shown when the shell could not start Entry.
std::wstring StartFailureText(const TEintrag& entry);

class TStarterSequence {
public:
    TStarterSequence(IStarterView& view, TShellStart shellStart, TErrorBox errorBox);

    // The window was shown: an empty list closes it at once.
    void Begin(TEintragList list);
    // One second of the timer.
    void Tick();
    void Starten();
    void NichtStarten();
    void AlleStarten();
    void KeinWeiteres();
    // The window closes: the chosen entries are started in the order chosen, once.
    void StartChosen();

    int Position() const { return m_position; }
    int Countdown() const { return m_countdown; }
    const std::vector<int>& Chosen() const { return m_chosen; }
    bool Finished() const { return m_finished; }

private:
    void ShowEntry();
    void NextEntry();
    void Choose();
    void Finish();

    IStarterView& m_view;
    TShellStart m_shellStart;
    TErrorBox m_errorBox;
    TEintragList m_list;
    std::vector<int> m_chosen;
    int m_position = 0;
    int m_countdown = 0;
    bool m_runAll = false;
    // Set once the window was told to close: late ticks and clicks change nothing.
    bool m_finished = false;
    bool m_started = false;
};

}  // namespace velmora
