#pragma once
// TDateiAktionFortschrittDlg: the progress window of the link and split
// commands. Shown modally, it runs its job once it is active (one shortcut
// per record in the target folder, or one file cut into numbered pieces), and
// closes itself when done or cancelled.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

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

    // 0 links, 1 split: set before the job.
    void SetMode(int Mode) { m_mode = Mode; }
    // The split job: a copy of the file's record (its full name and its size
    // count) and the size of every piece but the last.
    void SetSplitJob(const TEineDatei& Datei, std::int32_t Fragment);
    // The whole split command: the job set and the window shown until it is done.
    void SplitFile(const TEineDatei& Datei, std::int32_t Fragment);

    // The pieces a file of Size bytes is cut into; 0 for a fragment below 1.
    static std::int64_t Teile(std::int64_t Size, std::int32_t Fragment);
    // The name the pieces get before their ".0", ".1" ...: the file's full name,
    // or with a counter before the extension of its file name while some file
    // of Folder (Names, without folder) already begins with that name and a ".".
    static std::wstring TeilBasis(const std::wstring& FullName, const std::vector<std::wstring>& Names);
    // For tests: called after each block written.
    std::function<void()> OnBlockGeschrieben;

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
    void RunSplit();
    // Copies the next piece; false when the split is to end (stopped or failed).
    bool TeilSchreiben(HANDLE Quelle, const std::wstring& Name, std::int64_t Bytes, std::vector<char>& Puffer,
                       bool& Fehler);
    void Fortschritt();

    TDateiRoutinen& m_routinen;
    std::wstring m_source, m_target;
    const TDateiListe* m_list = nullptr;
    int m_mode = 0;
    TEineDatei m_datei;
    std::int32_t m_fragment = 0;
    // The bar and the piece's name move, and messages are let through, at
    // most every 20 ms: a step of the bar costs more than a block's copy.
    DWORD m_letzteAnzeige = 0;
    int m_schritte = 0;
    // The piece being written, shown with the bar.
    std::wstring m_teil;
    bool m_pending = false;
    bool m_running = false;
    bool m_stop = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace velmora
