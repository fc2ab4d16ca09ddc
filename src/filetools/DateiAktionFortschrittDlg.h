#pragma once
// TDateiAktionFortschrittDlg: the progress window of the link command. Shown
// modally, it makes one shortcut per record in the target folder once it is
// active, and closes itself when done or cancelled.

#include <memory>

#include "DateiRoutinen.h"
#include "DialogBasis.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Label.h"
#include "platform/gui/ProgressBar.h"

namespace velmora {

class TDateiAktionFortschrittDlg : public TPositionsDialog, public TLinkErsteller {
public:
    TDateiAktionFortschrittDlg(gui::TComponent* Owner, TDateiRoutinen& Routinen);
    ~TDateiAktionFortschrittDlg() override;

    gui::TLabel Aktion;
    TFileLabel FileLabel;
    gui::TProgressBar ProgressBar;
    gui::TButton CancelBtn;

    // The job: the records (the caller's; absolute names stand alone, relative
    // ones lie in Source) linked into TargetFolder.
    void SetLinkJob(const std::wstring& Source, const std::wstring& TargetFolder, const TDateiListe& List);
    // The whole command: the job set and the window shown until it is done.
    void CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder, const TDateiListe& List) override;

    void FormActivate(gui::TObject* Sender);
    void CancelBtnClick(gui::TObject* Sender);

    // The file that one record's shortcut gets in Folder (with "\"): the record's
    // file name up to its first ".", then " (2)", " (3)" ... until no file of
    // that name exists.
    static std::wstring LinkName(const std::wstring& Folder, const std::wstring& RecordName);
    // What the shortcut of a record points at.
    static std::wstring LinkTarget(const std::wstring& Source, const std::wstring& RecordName);

private:
    void RunLinks();
    void MakeLinks();

    TDateiRoutinen& m_routinen;
    std::wstring m_source, m_target;
    const TDateiListe* m_list = nullptr;
    bool m_pending = false;
    bool m_running = false;
    bool m_stop = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace velmora
