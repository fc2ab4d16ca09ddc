#pragma once
// The file data of a file list's entries (size, attributes, date, short name) and
// the thread that loads them in the background. In a real folder an entry's path
// is the folder's path + its name; the shell's way from an ID list to a path and
// a find-first per entry cost far more in a large folder than one pass over the
// whole folder, so every loader that needs many entries walks the folder once.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ItemData.h"
#include "platform/gui/Threads.h"

namespace velmora {

using TEintragListe = std::vector<std::unique_ptr<TItemData>>;

// Publishes found data into an entry: written once under its lock, then
// DatenGeladen set. Data another loader published first stay.
void DatenEintragen(TItemData& Item, const WIN32_FIND_DATAW& Found);

// Loads one entry's data unless loaded: in a real folder (Ordner ends in "\")
// by its name there, otherwise through its absolute ID list. False when it
// cannot be loaded.
bool DatenLaden(TItemData& Item, const std::wstring& Ordner);

// Calls Gefunden for every entry of a folder (not "." and ".."), one pass;
// stops when Gefunden answers false.
void OrdnerDurchlaufen(const std::wstring& Ordner, const std::function<bool(const WIN32_FIND_DATAW&)>& Gefunden);

// A real folder's pass (above) run ahead on a thread of its own, so that a pane
// that knows its folder early finds it read when it fills its rows. Panes that
// ask for one folder while its pass is wanted share the pass.
class TOrdnerVorauslesen {
public:
    // The pass over Ordner (ending in "\") that is wanted now, or a new one.
    static std::shared_ptr<TOrdnerVorauslesen> Fuer(const std::wstring& Ordner);
    explicit TOrdnerVorauslesen(std::wstring Ordner);
    // Waits for a pass still running.
    ~TOrdnerVorauslesen();
    TOrdnerVorauslesen(const TOrdnerVorauslesen&) = delete;
    TOrdnerVorauslesen& operator=(const TOrdnerVorauslesen&) = delete;

    const std::wstring& Ordner() const { return m_ordner; }
    // Calls Gefunden for what the pass found once it is through, as
    // OrdnerDurchlaufen does. Where the folder changed after the pass began,
    // or that cannot be told, or the pass failed, the folder is read again.
    void Durchgehen(const std::function<bool(const WIN32_FIND_DATAW&)>& Gefunden);

private:
    std::wstring m_ordner;
    // Signalled by any change in the folder since just before the pass began.
    HANDLE m_aenderung = INVALID_HANDLE_VALUE;
    std::shared_future<std::vector<WIN32_FIND_DATAW>> m_ergebnis;
};

// Runs as each listing of a folder's entries begins: a pass above or the
// shell's enumeration of a pane's folder (any thread); for tests only.
extern std::function<void(const std::wstring& Ordner)> OrdnerLeseHook;
void OrdnerLesenMelden(const std::wstring& Ordner);

// Loads the data of every entry that lacks them: one pass over a real folder,
// then one by one what the pass did not find (all of them in a virtual folder).
// Weiter is asked before each found file and each entry; false stops at once.
void AlleDatenLaden(const std::wstring& Ordner, const TEintragListe& Eintraege, const std::function<bool()>& Weiter);
void AlleDatenLaden(const std::wstring& Ordner, const std::vector<TItemData*>& Eintraege,
                    const std::function<bool()>& Weiter);

// Loads the file data of a pane's entries at idle priority. The list is the
// pane's own: the pane stops and waits for the thread before it frees entries.
class TReadFileDataThread : public gui::TThread {
public:
    TReadFileDataThread(const TEintragListe& Eintraege, std::wstring Ordner);
    ~TReadFileDataThread() override;

protected:
    void Execute() override;

private:
    const TEintragListe& m_eintraege;
    const std::wstring m_ordner;
};

}  // namespace velmora
