#include "ArcDialogBasis.h"

#include "ArchiveCodes.h"
#include "ZipRoutinen.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/DMChild_Typen.h"
#include "foundation/controls/BrowseDr.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/Strings.h"

namespace velmora::archive {

using namespace gui;

const wchar_t* const ArchivFilter =
    L"Alle Dateien (*.*)|*.*|Alle Archive (*.zip, *.arj, *.lzh, *.rar, *.arc, *.pak, *.zoo, "
    L"*.ice)|*.zip;*.arj;*.lzh;*.rar;*.arc;*.pak;*.zoo;*.ice|Zip-Archive (*.zip)|*.zip|Arj-Archive "
    L"(*.arj)|*.arj|Rar-Archive (*.rar)|*.rar|Lha-Archive (*.lzh, *.ice)|*.lzh;*.ice|Sea Arc/Pak-Archive "
    L"(*.arc, *.pak)|*.arc;*.pak|Zoo-Archive (*.zoo)|*.zoo";

bool EntpacktImProzess(const TZipRoutinen& Routinen, std::uint8_t Kind) {
    const TPackerSettings& p = Routinen.Packer;
    switch (Kind) {
    // A plain ZIP always goes to the zip library.
    case ftZipExe: return p.UseInternUnZip;
    case ftArj:
    case ftArjExe: return p.UseInternUnArj;
    case ftRar:
    case ftRarExe: return p.UseInternUnRar;
    case ftLzh: return p.UseInternUnLha;
    case ftArc:
    case ftArcExe: return p.UseInternUnArc;
    case ftZoo: return p.UseInternUnZoo;
    default: return false;
    }
}

TArcDialogBasis::TArcDialogBasis(TComponent* Owner, const TDateiDialogKontext& Kontext, std::wstring Schluessel,
                                 const std::wstring& Seite2Name, int Hilfe)
    : TPositionsDialog(Owner, L""), Seiten(this), Allgemein(this), Seite2(this), PasswortSeite(this), MyPopup(this),
      OKBtn(this), CancelBtn(this), Button2(this), Button1(this), ArchivLabel(this), DateienLabel(this),
      PasswortLabel(this), ArchivName(this), DateiSuchenBtn1(this), Passwort(this), m_kontext(Kontext),
      m_schluessel(ProgrammSchluessel + L"\\" + Schluessel) {
    Allgemein.SetCaption(L"Allgemein");
    Seite2.SetCaption(Seite2Name);
    PasswortSeite.SetCaption(L"Passwort");
    for (TTabSheet* page : {&Allgemein, &Seite2, &PasswortSeite}) page->SetPageControl(&Seiten);
    SetUpButtons(OKBtn, CancelBtn, Button2);
    Button1.SetCaption(L"Hin&weis");
    Button1.SetParent(&PasswortSeite);
    // The security note on passwords.
    Button1.OnClick = [](TObject*) { Application->HelpContext(5); };
    HelpContext = Hilfe;
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    OrdnerWaehlen = [this](const std::wstring& title, const std::wstring& start, std::wstring& folder) {
        TBrowseDirectoryDlg browser(this);
        browser.Title = title;
        browser.SetSelection(start);
        if (!browser.Execute()) return false;
        folder = browser.Selection();
        return true;
    };
    if (auto pos = ParseDialogPos(Lesen(L"Pos"))) {
        Position = TPosition::poDesigned;
        SetBounds(pos->Left, pos->Top, Width(), Height());
        m_platzBekannt = true;
    }
}

void TArcDialogBasis::KopfAnlegen(TButton& Korb, TWinControl& Dateien) {
    TDialogLayout lay(*this);
    for (TControl* c : std::initializer_list<TControl*>{&ArchivLabel, &ArchivName, &DateiSuchenBtn1, &Korb,
                                                        &DateienLabel, &Dateien})
        c->SetParent(&Allgemein);
    ArchivLabel.SetCaption(L"&Archiv:");
    ArchivLabel.SetFocusControl(&ArchivName);
    lay.Place(ArchivLabel, 6, 8, 40, 9);
    lay.Place(ArchivName, 48, 6, 190, 12);
    DateiSuchenBtn1.SetCaption(L"Du&rchsuchen...");
    Korb.SetCaption(L"Sa&mmelkorb...");
    lay.Row(48, 21, 14, {{&DateiSuchenBtn1, 66}, {&Korb, 66}});
    DateienLabel.SetCaption(L"&Dateien:");
    DateienLabel.SetFocusControl(&Dateien);
    lay.Place(DateienLabel, 6, 42, 40, 9);
    lay.Place(Dateien, 48, 40, 190, 12);
    PasswortLabel.SetParent(&PasswortSeite);
    PasswortLabel.SetCaption(L"&Passwort:");
    PasswortLabel.SetFocusControl(&Passwort);
    lay.Place(PasswortLabel, 6, 10, 40, 9);
    Passwort.SetParent(&PasswortSeite);
    Passwort.PasswordChar = L'*';
    lay.Place(Passwort, 48, 8, 136, 12);
    lay.Place(Button1, 48, 26, 60, 14);
    ArchivName.PopupMenu = &MyPopup;
    ArchivName.OnKeyPress = [](TObject*, wchar_t& key) { KleinGetippt(key); };
}

void TArcDialogBasis::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = m_schliessCode;
    if (m_ok && !Pruefen()) {
        // A refused close keeps the dialog and its menu.
        m_ok = false;
        Action = TCloseAction::caNone;
        Fehlercode = 0;
        return;
    }
    MenuZurueck();
    Fehlercode = 0;
}

void TArcDialogBasis::SetVisible(bool Visible) {
    if (Visible) m_platzBekannt = true;
    TPositionsDialog::SetVisible(Visible);
}

void TArcDialogBasis::DoDestroy() {
    if (m_platzBekannt) WriteDialogPos(m_schluessel, L"Pos", TDialogPos{Left(), Top()});
    TPositionsDialog::DoDestroy();
}

std::wstring TArcDialogBasis::Lesen(const std::wstring& Name) const { return RegReadUserValue(m_schluessel, Name); }

void TArcDialogBasis::Schreiben(const std::wstring& Name, const std::wstring& Value) const {
    RegWriteUserValue(m_schluessel, Name, Value);
}

std::uint8_t TArcDialogBasis::ArchivArt(const std::wstring& Name) const {
    std::uint8_t kind = 0;
    if (!Routinen() || !Routinen()->GetArchiveType(Name, kind)) return 0;
    return kind;
}

TDateienBearbeitenDlg* TArcDialogBasis::ListEditor() {
    if (!m_editor) m_editor = Create<TDateienBearbeitenDlg>(this);
    return m_editor;
}

TSammelkorbInhaltDlg* TArcDialogBasis::SammelkorbDlg() {
    if (!m_sammelkorb) m_sammelkorb = Create<TSammelkorbInhaltDlg>(this, m_kontext);
    return m_sammelkorb;
}

bool TArcDialogBasis::Verweigern(const std::wstring& Text, TMsgDlgType Type, int Hilfe, TWinControl& Feld) {
    MessageDlg(Text, Type, {TMsgDlgBtn::mbOK}, Hilfe);
    Seiten.ShowPageOf(&Feld);
    Feld.SetFocus();
    return false;
}

bool TArcDialogBasis::ArchivWaehlen(std::wstring& Datei) {
    TOpenDialog dialog(this);
    dialog.Title = L"Archiv auswählen";
    dialog.Filter = ArchivFilter;
    dialog.FilterIndex = 1;
    dialog.FileMustExist = true;
    dialog.PathMustExist = true;
    if (!dialog.Execute() || dialog.FileName.empty()) return false;
    Datei = dialog.FileName;
    return true;
}

bool TArcDialogBasis::ArchivAusSammelkorb(const std::wstring& Grund, std::wstring& Datei) {
    if (!m_kontext.Sammelkorb || m_kontext.Sammelkorb->empty()) return false;
    TSammelkorbInhaltDlg* chooser = SammelkorbDlg();
    if (chooser->ShowModal() != mrOk) return false;
    TDateiListe chosen;
    chooser->AuswahlHolen(chosen);
    if (chosen.size() != 1) {
        MessageDlg(L"Bitte nur eine Datei auswählen!", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        return false;
    }
    if (chosen.front()->InArchive) {
        MessageDlg(L"Die von Ihnen ausgewählte Datei ist Bestandteil eines Archives.\r" + Grund,
                   TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        return false;
    }
    Datei = SystemLower(chosen.front()->Name);
    return true;
}

void TArcDialogBasis::MenuLeihen() {
    m_mru.Borrow(m_kontext.MRUList, &MyPopup.Items(),
                 [this](TObject* sender, const std::wstring& path) { MRUClick(sender, path); });
}

// ---- The entry field ---------------------------------------------------------

std::unique_ptr<TEineDatei> TEintragsFeld::Eintrag(const std::wstring& Name) const {
    auto record = std::make_unique<TEineDatei>();
    record->Name = SystemLower(Name);
    record->InArchive = true;
    record->ArchivPfad = Archiv;
    return record;
}

void TEintragsFeld::Anzeigen() {
    const size_t count = m_liste ? m_liste->size() : 0;
    if (count > 1) {
        m_feld.SetText(m_mehrere(count));
        m_feld.SetReadOnly(true);
        m_editor.SetEnabled(!Gesperrt);
    } else {
        m_feld.SetText(count == 1 ? m_liste->front()->Name : L"");
        m_feld.SetReadOnly(Gesperrt);
        m_editor.SetEnabled(false);
    }
}

void TEintragsFeld::Uebernehmen() {
    if (!m_liste || m_feld.ReadOnly()) return;
    std::wstring text = m_feld.Text();
    text.erase(0, text.find_first_not_of(L' ') == std::wstring::npos ? text.size() : text.find_first_not_of(L' '));
    if (text.empty()) {
        m_liste->clear();
    } else if (m_liste->size() == 1) {
        if (SystemLower(text) != SystemLower(m_liste->front()->Name)) m_liste->front()->Name = SystemLower(text);
    } else if (m_liste->empty()) {
        m_liste->push_back(Eintrag(text));
    }
    Anzeigen();
}

void TEintragsFeld::KeyUp(WORD Key, TShiftState Shift) {
    if (Key != VK_DELETE || (Shift & (ssShift | ssAlt | ssCtrl)) || !m_feld.ReadOnly() || Gesperrt || !m_liste)
        return;
    m_liste->clear();
    Anzeigen();
}

void TEintragsFeld::Ersetzen(const TStringList& Namen) {
    if (!m_liste) return;
    m_liste->clear();
    for (const std::wstring& name : Namen) m_liste->push_back(Eintrag(name));
    Anzeigen();
}

void TEintragsFeld::Bearbeiten(TDateienBearbeitenDlg& Editor, const std::wstring& Ueberschrift) {
    if (!m_liste) return;
    if (m_liste->size() > 1) SortiereNachName(*m_liste);
    Editor.NamenMuessenExistieren = false;
    Editor.SetListe(Ueberschrift, *m_liste);
    if (Editor.ShowModal() == mrOk) {
        Editor.DateilisteAbgleichen(*m_liste, true);
        // New lines are entries of this archive, not files on disk.
        for (auto& record : *m_liste)
            if (!record->InArchive) {
                record->InArchive = true;
                record->ArchivPfad = Archiv;
            }
    }
    Anzeigen();
}

}  // namespace velmora::archive
