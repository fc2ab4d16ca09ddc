#pragma once
// What the orphan search and the synchronisation share: a job that runs once
// per showing of its dialog, and the system's folder browser.

#include <functional>
#include <string>

#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

namespace velmora {

// For OnActivate: starts Lauf from a posted call, once per showing (Gestartet
// is cleared when the dialog is shown). Activation itself is no place for a
// long job that lets messages through, and a second activation (back from a
// box or from another program) must not start a run inside the first one.
inline void EinmalProZeigen(gui::TForm& Form, bool& Gestartet, std::function<void()> Lauf) {
    if (Gestartet || !gui::Application) return;
    Gestartet = true;
    gui::Application->Post([&Form, Lauf = std::move(Lauf)] {
        if (Form.Visible() && Form.ModalResult() == gui::mrNone) Lauf();
    });
}

// The folder browser titled Title; false when it was cancelled.
inline bool OrdnerAuswaehlen(gui::TComponent* Owner, const std::wstring& Title, std::wstring& Folder) {
    TBrowseDirectoryDlg browser(Owner);
    browser.Title = Title;
    if (!browser.Execute()) return false;
    Folder = browser.Selection();
    return true;
}

}  // namespace velmora
