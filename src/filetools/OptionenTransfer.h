#pragma once
// The options command's exchange between the settings object and the options
// dialog: every page filled from the settings before the dialog shows, and,
// after OK, each group the user changed written back in a fixed order and
// handed at once to whatever shows it (the main window's part, given as
// functions so that the exchange needs no main window).

#include <cstdint>
#include <functional>

#include "OptionenDialog.h"
#include "foundation/Einstellungen.h"

namespace velmora {

// The letter-case fields (0 upper, 1 lower, 2 as stored) against the drop-down
// items ("Kleinbuchstaben", "Großbuchstaben", "Normal").
int SchreibweiseIndex(std::uint8_t Feld);
std::uint8_t SchreibweiseFeld(int Index);

// Every page, in the order main window, file lists, search result, archive
// panes, confirmations, archives, archive drag and drop, miscellaneous.
void OptionenLaden(const TEinstellungen& Einstellungen, TOptionenDlg& Dlg);

// The miscellaneous page into the settings (its favourite folders only those
// that exist).
void SonstigesSpeichern(TEinstellungen& Einstellungen, const TOptionenDlg& Dlg);

// What the main window does with the groups written back.
struct TOptionenAnwendung {
    std::function<void(bool Zeigen)> EnableToolbar;
    // The status line, function-key bar and command line shown by their flags,
    // the panes arranged again.
    std::function<void()> Hauptfenster;
    // The file lists (kind 1), and the detailed ones (kind 2), get their options
    // again; the flags say what more.
    std::function<void(bool FillList)> Dateilisten;
    std::function<void(bool RebuildColumns, bool FillList)> ADateilisten;
    // The search-result and basket panes: options and contents again.
    std::function<void()> Suchergebnisse;
    std::function<void(bool ReadContents)> Archivfenster;
    std::function<void()> ApplyArchiverSettings;
    // Stores the miscellaneous page (SonstigesSpeichern) and refreshes the
    // recent-folders menu.
    std::function<void()> ApplyOptionsDialog;
};

// After OK: the changed groups into the settings, each applied at once.
void OptionenUebernehmen(TEinstellungen& Einstellungen, const TOptionenDlg& Dlg, const TOptionenAnwendung& Anwendung);

}  // namespace velmora
