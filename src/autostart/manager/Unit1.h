#pragma once
// Kelvane's main window: the autostart list to edit, saved on OK, after which the
// autostarter is offered a place in the user's Startup folder.

#include <memory>
#include <vector>

#include "autostart/common/AutostartList.h"
#include "autostart/manager/PrgBearb.h"
#include "autostart/manager/StarterLink.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Label.h"
#include "foundation/controls/EnhListView.h"

namespace velmora::manager {

// The question whether to add the autostarter: Yes and No.
bool ConfirmStarterLink(const std::wstring& question);

class TForm1 : public gui::TForm {
public:
    // OwnFolder: where Kelvane runs from, and where it looks for Drommel.exe.
    TForm1(gui::TComponent* owner, std::wstring ownFolder, TConfirm confirm = ConfirmStarterLink);

    gui::TLabel Label1;
    TEnhListView Dateien;
    gui::TButton Button1;
    gui::TButton Button2;
    gui::TButton Button3;
    gui::TButton OKBtn;
    gui::TButton CancelBtn;
    gui::TButton Button4;
    TPrgBearbeitenDlg* PrgBearbeitenDlg;

    void FormCreate(gui::TObject* Sender);
    void FormShow(gui::TObject* Sender);
    void Button1Click(gui::TObject* Sender);
    void Button2Click(gui::TObject* Sender);
    void Button3Click(gui::TObject* Sender);
    void OKBtnClick(gui::TObject* Sender);
    void CancelBtnClick(gui::TObject* Sender);
    void Button4Click(gui::TObject* Sender);
    void DateienDrawItem(gui::TWinControl* Control, gui::TCanvas& Canvas, int Index, RECT Rect,
                         TOwnerDrawState State, bool& DefaultDrawing);

    void LoadList();
    void SaveList();
    void EnsureStarterLink();

    // The entries in row order.
    TEintragList Entries() const;

private:
    void LayoutControls();
    void AddRow(std::unique_ptr<TEintrag> entry);
    static void ShowRow(gui::TListItem& item);
    static TEintrag& EntryOf(const gui::TListItem& item);

    std::wstring m_ownFolder;
    TConfirm m_confirm;
    // The rows' data; a removed row's entry is freed with it.
    std::vector<std::unique_ptr<TEintrag>> m_entries;
};

}  // namespace velmora::manager
