#pragma once
// The folder synchronisation: TSynchronisierenDlg collects the source and target
// folders and three options; TSynchFortschrittDlg brings the target up to date
// when it is first activated and writes what it did into its log.

#include <windows.h>

#include <string>
#include <vector>

#include "DialogBasis.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Label.h"
#include "platform/gui/Menus.h"

namespace velmora {

class TDateiRoutinen;

// Source's name below SourceFolder, below TargetFolder instead (one "\" where
// the two meet; a network target keeps its leading pair).
std::wstring SyncZielName(const std::wstring& Source, const std::wstring& SourceFolder,
                          const std::wstring& TargetFolder);

// What one file needs. Times less than two seconds apart count as equal: FAT
// keeps two-second steps, and a copy there would otherwise go back and forth.
enum class TSyncSchritt { Nichts, Kopieren, Zurueck, Neu };
TSyncSchritt SyncEntscheiden(bool TargetExists, const FILETIME& Source, const FILETIME& Target, bool UpdQuelle,
                             bool NurVorh);

// The stored options "SynchDlgData": three '0'/'1' (update source, existing only,
// sub-folders); "011" for anything else.
std::wstring SynchOptionen(const std::wstring& Stored);

// The folder's full long name, lower-cased, ending in "\": two spellings of one
// folder (a short alias, a relative part) compare equal.
std::wstring LangerVollerPfad(const std::wstring& Folder);

// Copies From over To (or to the new name To) so that To is only ever the old
// file or the whole new one: the copy goes to a temporary name beside To and
// replaces it once checked. A read-only To is not replaced. False on failure,
// with To as it was and no temporary file left.
bool ErsetzenDurchKopie(TDateiRoutinen& Routinen, const std::wstring& From, const std::wstring& To);
// Whether Name is one of the temporary names ErsetzenDurchKopie uses.
bool IstSyncZwischenname(const std::wstring& Name);

class TSynchronisierenDlg : public TPositionsDialog {
public:
    TSynchronisierenDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel Label1, Label2;
    gui::TComboBox Quellverzeichnis, Zielverzeichnis;
    gui::TButton QuellSuchen, ZielSuchen;
    gui::TCheckBox optUpdQuelle, optNurVorh, optUVerz;
    gui::TButton OKBtn, CancelBtn, Button1;
    gui::TPopupMenu MyPopup;

    // The folder browser; tests put a stand-in here.
    std::function<bool(const std::wstring& Title, std::wstring& Folder)> OrdnerWaehlen;

    void FormShow(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void FormClose(gui::TObject* Sender, gui::TCloseAction& Action);
    void OrdnerSuchenBtnClick(gui::TObject* Sender);
    void MRUClick(gui::TObject* Sender, const std::wstring& Path);

private:
    bool Pruefen();
    bool Fehler(const std::wstring& Text, gui::TWinControl& Focus, int Help = 0,
                gui::TMsgDlgType Type = gui::TMsgDlgType::mtError);

    const TDateiDialogKontext& m_kontext;
    TMRUAusleihe m_mru;
    gui::TComboBox* m_letzteBox = nullptr;
    bool m_ok = false;
};

class TSynchFortschrittDlg : public TPositionsDialog {
public:
    TSynchFortschrittDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);

    gui::TLabel QuellLabel, ZielLabel, QuellPfad, ZielPfad;
    gui::TCheckBox UpdQuelle, UVerz, NurVorh;
    gui::TMemo Protokoll;
    gui::TButton CancelBtn;

    void SetParameter(const std::wstring& Quelle, const std::wstring& Ziel, bool UpdateQuelle, bool Unterverzeichnisse,
                      bool NurVorhandene);
    // Every line of the last run, also those the memo has not shown yet.
    const std::vector<std::wstring>& Zeilen() const { return m_zeilen; }
    // Called before each entry of the walk; tests use it to act mid-run.
    std::function<void(const std::wstring& Entry)> VorEintrag;

    void FormShow(gui::TObject* Sender);
    void FormActivate(gui::TObject* Sender);
    void CancelBtnClick(gui::TObject* Sender);

private:
    void Synchronisieren();
    void Ordner(const std::wstring& Folder);
    void Dateien(const std::wstring& Folder);
    void EineDatei(const std::wstring& Source);
    bool Weiter(const std::wstring& Entry);
    void Log(const std::wstring& Line);
    void LogZeigen(bool Jetzt);

    const TDateiDialogKontext& m_kontext;
    std::wstring m_quelle, m_ziel, m_zielLang;
    bool m_upd = false, m_uverz = true, m_nurVorh = true;
    bool m_stop = false, m_gestartet = false, m_laeuft = false;
    std::vector<std::wstring> m_zeilen;
    size_t m_gezeigtBis = 0;
    ULONGLONG m_gepumpt = 0, m_gezeigt = 0;
};

}  // namespace velmora
