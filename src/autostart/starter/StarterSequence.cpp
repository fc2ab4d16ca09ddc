#include "StarterSequence.h"

namespace velmora {

std::wstring StartFailureText(const TEintrag& entry) {
    return L"Das Programm\r" + entry.Beschreibung + L"\r(\"" + entry.Dateiname + L"\")\r" +
           L"konnte nicht gefunden werden!\r" +
           L"Bitte stellen Sie sicher, daß die im Autostartmanager gemachten Angaben korrekt sind.";
}

TStarterSequence::TStarterSequence(IStarterView& view, TShellStart shellStart, TErrorBox errorBox)
    : m_view(view), m_shellStart(std::move(shellStart)), m_errorBox(std::move(errorBox)) {}

void TStarterSequence::Begin(TEintragList list) {
    m_runAll = false;
    m_list = std::move(list);
    m_chosen.clear();
    m_position = 0;
    if (m_list.empty()) Finish();
    else ShowEntry();
}

// Entries that need no decision (run-all, or no wait and "start") are chosen on the
// spot; the first one that does is shown with its countdown running.
void TStarterSequence::ShowEntry() {
    while (m_position < static_cast<int>(m_list.size())) {
        const TEintrag& e = m_list[static_cast<size_t>(m_position)];
        if (!m_runAll && !(e.Wartezeit == 0 && e.Aktion == TEintrag::kAktionStarten)) {
            m_view.ShowEntry(e, e.Aktion == TEintrag::kAktionNichtStarten ? kCaptionNichtStarten : kCaptionStarten);
            m_countdown = e.Wartezeit;
            m_view.ShowCountdown(m_countdown);
            m_view.SetTimerRunning(true);
            return;
        }
        m_chosen.push_back(m_position);
        ++m_position;
    }
    Finish();
}

void TStarterSequence::NextEntry() {
    m_view.SetTimerRunning(false);
    ++m_position;
    ShowEntry();
}

void TStarterSequence::Choose() {
    m_chosen.push_back(m_position);
    NextEntry();
}

void TStarterSequence::Finish() {
    m_view.SetTimerRunning(false);
    m_finished = true;
    m_view.CloseWindow();
}

void TStarterSequence::Tick() {
    if (m_finished) return;
    if (m_countdown > 0) {
        m_view.ShowCountdown(--m_countdown);
        return;
    }
    if (m_list[static_cast<size_t>(m_position)].Aktion == TEintrag::kAktionNichtStarten) NextEntry();
    else Choose();
}

void TStarterSequence::Starten() {
    if (!m_finished) Choose();
}

void TStarterSequence::NichtStarten() {
    if (!m_finished) NextEntry();
}

void TStarterSequence::AlleStarten() {
    if (m_finished) return;
    m_runAll = true;
    Choose();
}

void TStarterSequence::KeinWeiteres() {
    if (!m_finished) Finish();
}

void TStarterSequence::StartChosen() {
    if (m_started) return;
    m_started = true;
    m_finished = true;
    for (int position : m_chosen) {
        const TEintrag& e = m_list[static_cast<size_t>(position)];
        if (m_shellStart(e.Dateiname, e.Parameter) <= 32) m_errorBox(StartFailureText(e));
    }
}

}  // namespace velmora
