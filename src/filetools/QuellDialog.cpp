#include "QuellDialog.h"

#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

bool SystemFiles(TComponent* owner, const std::wstring& initialDir, TStringList& files) {
    TOpenDialog dialog(owner);
    dialog.Filter = L"Alle Dateien (*.*)|*.*|";
    dialog.FilterIndex = 1;
    dialog.AllowMultiSelect = true;
    dialog.FileMustExist = true;
    dialog.PathMustExist = true;
    dialog.InitialDir = initialDir;
    if (!dialog.Execute()) return false;
    files = dialog.Files;
    return true;
}

bool SystemFolder(TComponent* owner, const std::wstring& title, const std::wstring& start, std::wstring& folder) {
    TBrowseDirectoryDlg browser(owner);
    browser.Title = title;
    browser.SetSelection(start);
    if (!browser.Execute()) return false;
    folder = browser.Selection();
    return true;
}

}  // namespace

TQuellDialog::TQuellDialog(TComponent* Owner, const TDateiDialogKontext& Kontext, const std::wstring& PositionName)
    : TPositionsDialog(Owner, PositionName), MyPopup(this), BitBtn1(this), DateiSuchenBtn2(this), BitBtn2(this),
      SammelkorbBtn(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), m_kontext(Kontext) {
    BitBtn1.SetCaption(L"&Liste...");
    BitBtn1.Hint = L"Liste der ausgewählten Dateien bearbeiten";
    DateiSuchenBtn2.SetCaption(L"&Dateien...");
    DateiSuchenBtn2.Hint = L"Dateien auswählen";
    BitBtn2.SetCaption(L"&Ordner...");
    BitBtn2.Hint = L"Verzeichnis auswählen";
    SammelkorbBtn.SetCaption(L"&Sammelkorb...");
    SammelkorbBtn.Hint = L"Dateien aus dem Sammelkorb übernehmen";
    SetUpButtons(OKBtn, CancelBtn);
    HilfeBtn.SetCaption(L"&Hilfe");
    DateienWaehlen = [this](const std::wstring& dir, TStringList& files) { return SystemFiles(this, dir, files); };
    OrdnerWaehlen = [this](const std::wstring& title, const std::wstring& start, std::wstring& folder) {
        return SystemFolder(this, title, start, folder);
    };
    OnShow = bind(this, &TQuellDialog::FormShow);
    OnClose = bind(this, &TQuellDialog::FormClose);
    OKBtn.OnClick = bind(this, &TQuellDialog::OKBtnClick);
    HilfeBtn.OnClick = bind(this, &TQuellDialog::HilfeBtnClick);
    BitBtn1.OnClick = bind(this, &TQuellDialog::BitBtn1Click);
    DateiSuchenBtn2.OnClick = bind(this, &TQuellDialog::DateiSuchenBtn2Click);
    BitBtn2.OnClick = bind(this, &TQuellDialog::BitBtn2Click);
    SammelkorbBtn.OnClick = bind(this, &TQuellDialog::SammelkorbBtnClick);
}

void TQuellDialog::Bind(TComboBox& Box, TFileLabel& FolderLabel) {
    m_box = &Box;
    m_folderLabel = &FolderLabel;
    m_quelle = std::make_unique<TQuellBox>(Box, BitBtn1);
    Box.PopupMenu = &MyPopup;
}

void TQuellDialog::SetDateiliste(TDateiListe* Liste) {
    m_quelle->SetListe(Liste);
    m_quelle->Rebuild();
}

void TQuellDialog::SetAktuellesVerzeichnis(const std::wstring& Folder) {
    m_folder = Folder;
    m_folderLabel->SetFileName(SystemLower(Folder));
}

void TQuellDialog::Absolut(std::wstring& Name) const {
    if (m_folder.empty())
        TDateiRoutinen::NormalizePath(Name);
    else
        TDateiRoutinen::NormalizePath(Name, m_folder);
}

TDateienBearbeitenDlg* TQuellDialog::ListEditor() {
    if (!m_editor) {
        m_editor = Create<TDateienBearbeitenDlg>(this);
        m_editor->NamenMuessenExistieren = true;
    }
    return m_editor;
}

TSammelkorbInhaltDlg* TQuellDialog::SammelkorbDlg() {
    if (!m_sammelkorb) m_sammelkorb = Create<TSammelkorbInhaltDlg>(this, m_kontext);
    return m_sammelkorb;
}

void TQuellDialog::LowerKey(TObject*, wchar_t& Key) { KleinGetippt(Key); }

void TQuellDialog::HilfeBtnClick(TObject*) {
    if (Application) Application->HelpContext(HelpContext);
}

void TQuellDialog::FormShow(TObject*) {
    Fehlercode = fc::QuellDialogFormShow;
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(), bind(this, &TQuellDialog::MRUClick));
    SammelkorbBtn.SetEnabled(m_kontext.Sammelkorb && !m_kontext.Sammelkorb->empty());
    m_quelle->SetRecent(NewestFirst(m_kontext.RecentFiles));
    Fuellen();
    m_ok = false;
    m_quelle->Rebuild();
    Fehlercode = 0;
}

void TQuellDialog::OKBtnClick(TObject*) {
    m_ok = true;
    m_quelle->Commit();
}

void TQuellDialog::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::QuellDialogFormClose;
    if (m_ok && !Pruefen()) {
        // A refused close is no close: the dialog keeps its menu, and Cancel
        // afterwards closes without the checks.
        m_ok = false;
        Action = TCloseAction::caNone;
        Fehlercode = 0;
        return;
    }
    m_mru.GiveBack();
    Fehlercode = 0;
}

void TQuellDialog::BitBtn1Click(TObject*) {
    Fehlercode = fc::QuellDialogListEditor;
    TDateiListe* liste = m_quelle->Liste();
    if (!liste) {
        Fehlercode = 0;
        return;
    }
    TDateienBearbeitenDlg* editor = ListEditor();
    editor->SetListe(ListLabelText, *liste);
    if (editor->ShowModal() == mrOk) {
        editor->DateilisteAbgleichen(*liste, false);
        m_quelle->Rebuild();
    }
    Fehlercode = 0;
}

void TQuellDialog::BeginAdding() {
    if (m_kontext.ClearLists) m_quelle->Clear();
}

void TQuellDialog::DateiSuchenBtn2Click(TObject*) {
    Fehlercode = fc::QuellDialogDateiSuchen;
    TStringList files;
    if (DateienWaehlen && DateienWaehlen(m_folder, files)) {
        THourGlass hourglass;
        BeginAdding();
        for (const std::wstring& file : files) m_quelle->AddName(file);
        m_quelle->Rebuild();
    }
    Fehlercode = 0;
}

void TQuellDialog::BitBtn2Click(TObject*) {
    Fehlercode = fc::QuellDialogOrdnerSuchen;
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(QuellPrompt, m_folder, folder) && !folder.empty()) {
        THourGlass hourglass;
        BeginAdding();
        m_quelle->AddName(ExcludeTrailingBackslash(folder));
        m_quelle->Rebuild();
    }
    Fehlercode = 0;
}

void TQuellDialog::SammelkorbBtnClick(TObject*) {
    Fehlercode = fc::QuellDialogSammelkorb;
    if (!m_kontext.Sammelkorb || m_kontext.Sammelkorb->empty()) {
        Fehlercode = 0;
        return;
    }
    TSammelkorbInhaltDlg* chooser = SammelkorbDlg();
    if (chooser->ShowModal() == mrOk) {
        TDateiListe chosen;
        chooser->AuswahlHolen(chosen);
        THourGlass hourglass;
        BeginAdding();
        bool told = false;
        for (auto& record : chosen) {
            if (record->InArchive) {
                if (!told)
                    MessageDlg(L"Ihre Auswahl enthält komprimierte Dateien.\r" + ArchivHinweis(),
                               TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK}, 70);
                told = true;
                continue;
            }
            m_quelle->Add(std::move(record));
        }
        m_quelle->Rebuild();
    }
    Fehlercode = 0;
}

void TQuellDialog::MRUClick(TObject*, const std::wstring& Path) {
    Fehlercode = fc::QuellDialogMRUClick;
    if (HasFocus(*m_box)) {
        THourGlass hourglass;
        BeginAdding();
        m_quelle->AddName(ExcludeTrailingBackslash(Path));
        m_quelle->Rebuild();
    } else {
        RecentToOther(Path);
    }
    Fehlercode = 0;
}

}  // namespace velmora
