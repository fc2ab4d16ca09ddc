#pragma once
// TDocListDlg: the shell's list of recently used documents, that is the
// shortcuts in the user's Recent folder. Documents are added, removed, marked
// as protected (kept below "RecentDocMonitor" for the watcher program, which
// keeps them in the folder) and the folder is brought back to what it held
// when the dialog opened.

#include <memory>
#include <string>
#include <vector>

#include "DialogBasis.h"
#include "SammelkorbInhaltDlg.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Timer.h"

namespace velmora {

class TDocListDlg : public TPositionsDialog {
public:
    // The context's file routines delete shortcuts, its shell start runs the
    // watcher from its program folder, its basket offers documents.
    TDocListDlg(gui::TComponent* Owner, const TDateiDialogKontext& Kontext);
    ~TDocListDlg() override;

    gui::TLabel Label1;
    gui::TListView Dateiliste;
    gui::TButton Button1, Button2, Button3, Button4, Button5, Button6;
    gui::TPopupMenu AddMenu;
    gui::TMenuItem StandardOeffnen, Sammelkorbinhalt;
    gui::TCheckBox CheckBox1;
    gui::TButton OKBtn, CancelBtn, HilfeBtn;
    gui::TTimer Timer;

    // The protected documents as the dialog holds them.
    const TStringList& Geschuetzt() const { return m_geschuetzt; }
    // The document (the shortcut's target) of a list item.
    static std::wstring Dokument(const gui::TListItem& Item);

    void FormShow(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void SammelkorbinhaltClick(gui::TObject* Sender);
    void TimerTimer(gui::TObject* Sender);
    void Button2Click(gui::TObject* Sender);
    void Button3Click(gui::TObject* Sender);
    void Button4Click(gui::TObject* Sender);
    void Button5Click(gui::TObject* Sender);
    void Button6Click(gui::TObject* Sender);
    void CheckBox1Click(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);

private:
    struct TEintrag {
        std::wstring Link, Ziel;
    };
    void Fuellen();
    void GeschuetzteLaden();
    void GeschuetzteSpeichern();
    void Loeschen(const std::vector<std::wstring>& Dateien);
    void WaechterEinrichten();

    const TDateiDialogKontext& m_kontext;
    gui::TImageList m_icons;
    std::wstring m_recent;  // with "\"
    TStringList m_geschuetzt, m_anfang;
    std::vector<std::unique_ptr<TEintrag>> m_eintraege;
    TSammelkorbInhaltDlg* m_korb = nullptr;
    bool m_ersteFuellung = false;
    bool m_waechter = false;
    bool m_ole = false;
};

// The subkey of the protected documents, directly below the maker's key.
inline const std::wstring DokumentMonitorSchluessel = L"RecentDocMonitor";

}  // namespace velmora
