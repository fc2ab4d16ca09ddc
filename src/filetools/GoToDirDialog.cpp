#include "GoToDirDialog.h"

#include <cwctype>

#include "FileToolsCodes.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

TGoToDirDlg::TGoToDirDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"Goto"), Label1(this), VerzeichnisLabel(this), Verzeichnis(this),
      OrdnerSuchenBtn(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), MyPopup(this), m_kontext(Kontext) {
    SetCaption(L"Gehe zu");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Im aktuellen Fenster anzuzeigendes Verzeichnis");
    lay.Place(Label1, 6, 6, 200, 9);
    VerzeichnisLabel.SetCaption(L"&Verzeichnis:");
    VerzeichnisLabel.SetFocusControl(&Verzeichnis);
    lay.Place(VerzeichnisLabel, 6, 22, 44, 9);
    lay.Place(Verzeichnis, 52, 20, 164, 60);
    OrdnerSuchenBtn.SetCaption(L"...");
    OrdnerSuchenBtn.Hint = L"Verzeichnis auswählen";
    lay.Place(OrdnerSuchenBtn, 220, 19, 22, 14);
    // One hidden line: the borrowed recent-folders list goes behind it.
    auto* separator = Create<TMenuItem>(&MyPopup);
    separator->SetCaption(L"-");
    separator->SetVisible(false);
    MyPopup.Items().Add(separator);
    Verzeichnis.PopupMenu = &MyPopup;
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 42, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 62);
    SetHelpContextAll(50);
    OrdnerWaehlen = [this](const std::wstring& title, const std::wstring& start, std::wstring& folder) {
        TBrowseDirectoryDlg browser(this);
        browser.Title = title;
        browser.SetSelection(start);
        if (!browser.Execute())
            return false;
        folder = browser.Selection();
        return true;
    };
    Verzeichnis.OnKeyPress = bind(this, &TGoToDirDlg::VerzeichnisKeyPress);
    OrdnerSuchenBtn.OnClick = bind(this, &TGoToDirDlg::OrdnerSuchenBtnClick);
    OKBtn.OnClick = bind(this, &TGoToDirDlg::OKBtnClick);
    OnShow = bind(this, &TGoToDirDlg::FormShow);
    OnClose = bind(this, &TGoToDirDlg::FormClose);
}

void TGoToDirDlg::FormShow(TObject*) {
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TGoToDirDlg::MRUClick));
    const std::wstring text = Verzeichnis.Text();
    Verzeichnis.SetItems(NewestFirst(m_kontext.RecentDirs));
    Verzeichnis.SetText(text);
    m_ok = false;
}

void TGoToDirDlg::OKBtnClick(TObject*) { m_ok = true; }

void TGoToDirDlg::VerzeichnisKeyPress(TObject*, wchar_t& Key) { KleinGetippt(Key); }

void TGoToDirDlg::OrdnerSuchenBtnClick(TObject*) {
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(L"Bitte wählen Sie das anzuzeigende Verzeichnis:", L"", folder) &&
        !folder.empty())
        Verzeichnis.SetText(SystemLower(folder));
}

void TGoToDirDlg::MRUClick(TObject*, const std::wstring& Path) { Verzeichnis.SetText(SystemLower(Path)); }

void TGoToDirDlg::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::GoToDirPruefen;
    if (m_ok) {
        std::wstring text = Trim(Verzeichnis.Text());
        // The folder history keeps drive roots as "x:": the root is meant.
        if (text.size() == 2 && std::iswalpha(text[0]) && text[1] == L':')
            text += L'\\';
        // Only a full path names one folder: a relative text would depend on
        // whatever the process's current folder happens to be.
        const bool absolut =
            (text.size() >= 3 && std::iswalpha(text[0]) && text[1] == L':' && text[2] == L'\\') ||
            StartsWith(text, L"\\\\");
        if (!absolut || !DirectoryExists(text)) {
            MessageDlg(L"Das ausgewählte Verzeichnis existiert nicht! Bitte überprüfen Sie Ihre Eingabe.",
                       TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
            m_ok = false;
            Action = TCloseAction::caNone;
            Verzeichnis.SetFocus();
            Fehlercode = 0;
            return;
        }
        m_ziel = text;
        if (m_kontext.AddDirHistory)
            m_kontext.AddDirHistory(text);
    }
    m_mru.GiveBack();
    Fehlercode = 0;
}

}  // namespace velmora
