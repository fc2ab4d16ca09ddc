#include "DateiKopierenDlg.h"

#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

struct TVorgangTexte {
    const wchar_t* Caption;
    const wchar_t* Label3;
    const wchar_t* ZielPrompt;
    const wchar_t* QuellPrompt;
    const wchar_t* ListHeading;
    const wchar_t* EditorCaption;
    int HelpContext;
};

const TVorgangTexte kVorgaenge[] = {
    {L"Kopiervorgang bestätigen", L"&Kopieren", L"Bitte wählen Sie das Zielverzeichnis für den Kopiervorgang:",
     L"Bitte wählen Sie das zu kopierende Verzeichnis:", L"Folgende Dateien sind für den Kopiervorgang ausgewählt:",
     L"Zu kopierende Datei(en)", 12},
    {L"Verschiebevorgang bestätigen", L"&Verschieben",
     L"Bitte wählen Sie das Zielverzeichnis für den Verschiebevorgang:",
     L"Bitte wählen Sie das zu verschiebende Verzeichnis:",
     L"Folgende Dateien sind für den Verschiebevorgang ausgewählt:", L"Zu verschiebende Datei(en)", 13},
    {L"Verknüpfungsvorgang bestätigen", L"&Verknüpfen",
     L"Bitte wählen Sie das Verzeichnis, in dem die Verknüpfung(en) erstellt werden sollen:",
     L"Bitte wählen Sie das zu verknüpfende Verzeichnis:",
     L"Folgende Dateien sind für den Verknüpfungsvorgang ausgewählt:", L"Zu verknüpfende Datei(en)", 4},
};

}  // namespace

TDateiKopierenDlg::TDateiKopierenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TQuellDialog(Owner, Kontext, L"DKopieren"), Label3(this), Label1(this), Label2(this), QuellDateien(this),
      Quellverzeichnis(this), Zielverzeichnis(this), DurchsuchenButton(this) {
    SetCaption(L"Dateien kopieren");
    TDialogLayout lay(*this);
    Label3.SetCaption(L"&Kopieren");
    Label3.SetFocusControl(&QuellDateien);
    lay.Place(Label3, 6, 8, 50, 9);
    lay.Place(QuellDateien, 60, 6, 190, 12);
    lay.Row(60, 22, 14, {{&BitBtn1, 44}, {&DateiSuchenBtn2, 44}, {&BitBtn2, 44}, {&SammelkorbBtn, 50}});
    Label1.SetCaption(L"aus:");
    lay.Place(Label1, 6, 42, 50, 9);
    lay.Place(Quellverzeichnis, 60, 42, 190, 9);
    Label2.SetCaption(L"&nach:");
    Label2.SetFocusControl(&Zielverzeichnis);
    lay.Place(Label2, 6, 60, 50, 9);
    lay.Place(Zielverzeichnis, 60, 58, 190, 12);
    DurchsuchenButton.SetCaption(L"D&urchsuchen...");
    lay.Place(DurchsuchenButton, 190, 74, 60, 14);
    lay.Row(92, 98, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 256, 118);
    Zielverzeichnis.PopupMenu = &MyPopup;
    Bind(QuellDateien, Quellverzeichnis);
    QuellDateien.OnExit = bind(this, &TDateiKopierenDlg::QuellDateienExit);
    QuellDateien.OnKeyUp = bind(this, &TDateiKopierenDlg::QuellDateienKeyUp);
    QuellDateien.OnChange = bind(this, &TDateiKopierenDlg::QuellDateienChange);
    QuellDateien.OnDropDown = bind(this, &TDateiKopierenDlg::QuellDateienDropDown);
    Zielverzeichnis.OnKeyPress = bind(this, &TDateiKopierenDlg::ZielverzeichnisKeyPress);
    DurchsuchenButton.OnClick = bind(this, &TDateiKopierenDlg::DurchsuchenButtonClick);
    SetVorgang(TKopierVorgang::Kopieren);
    SetCaption(L"Dateien kopieren");
}

void TDateiKopierenDlg::SetVorgang(TKopierVorgang Vorgang) {
    const TVorgangTexte& texte = kVorgaenge[static_cast<int>(Vorgang)];
    SetCaption(texte.Caption);
    Label3.SetCaption(texte.Label3);
    ZielPrompt = texte.ZielPrompt;
    QuellPrompt = texte.QuellPrompt;
    ListLabelText = texte.ListHeading;
    ListEditor()->SetCaption(texte.EditorCaption);
    SetHelpContextAll(texte.HelpContext);
}

// Leaving the box while the dialog closes commits nothing more.
void TDateiKopierenDlg::QuellDateienExit(TObject*) {
    if (Visible()) Quelle().Commit();
}

void TDateiKopierenDlg::QuellDateienKeyUp(TObject*, WORD& Key, TShiftState Shift) { Quelle().KeyUp(Key, Shift); }

void TDateiKopierenDlg::QuellDateienChange(TObject*) { Quelle().Change(); }

void TDateiKopierenDlg::QuellDateienDropDown(TObject*) { Quelle().DropDown(); }

void TDateiKopierenDlg::ZielverzeichnisKeyPress(TObject* Sender, wchar_t& Key) { LowerKey(Sender, Key); }

void TDateiKopierenDlg::DurchsuchenButtonClick(TObject*) {
    Fehlercode = fc::DateiKopierenDurchsuchen;
    std::wstring folder;
    if (OrdnerWaehlen && OrdnerWaehlen(ZielPrompt, Zielverzeichnis.Text(), folder) && !folder.empty())
        Zielverzeichnis.SetText(SystemLower(folder));
    Fehlercode = 0;
}

void TDateiKopierenDlg::Fuellen() {
    const std::wstring target = Zielverzeichnis.Text();
    Zielverzeichnis.SetItems(NewestFirst(Kontext().RecentDirs));
    Zielverzeichnis.SetText(target);
    // The old target is selected, so that what the user types replaces it.
    if (Zielverzeichnis.HandleAllocated())
        SendMessageW(Zielverzeichnis.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

bool TDateiKopierenDlg::RecentToOther(const std::wstring& Path) {
    if (!HasFocus(Zielverzeichnis)) return false;
    Zielverzeichnis.SetText(SystemLower(Path));
    return true;
}

bool TDateiKopierenDlg::Refuse(const std::wstring& Text, TWinControl& Focus) {
    MessageDlg(Text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    Focus.SetFocus();
    return false;
}

bool TDateiKopierenDlg::ZielAnlegen(const std::wstring& Folder) {
    const int answer = MessageDlg(L"Das von Ihnen angegebene Zielverzeichnis \r\"" + SystemLower(Folder) +
                                      L"\"\rexistiert nicht! Möchten Sie, daß es erstellt wird?",
                                  TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo});
    if (answer != mrYes) return false;
    // The file routines tell why a folder could not be made.
    if (Kontext().Routinen)
        Kontext().Routinen->CreateDirectory(Folder);
    else
        ForceDirectories(Folder);
    return DirectoryExists(Folder);
}

bool TDateiKopierenDlg::Pruefen() {
    std::wstring target = Trim(Zielverzeichnis.Text());
    if (target.empty()) return Refuse(L"Sie haben noch kein Zielverzeichnis angegeben!", Zielverzeichnis);
    // Typed names mean the folder the dialog shows, not the program's current one.
    Absolut(target);
    Zielverzeichnis.SetText(target);
    const std::wstring source = Trim(QuellDateien.Text());
    TDateiListe* liste = Dateiliste();
    if (source.empty() || !liste || liste->empty())
        return Refuse(L"Sie haben noch keine Datei(en) für die Dateioperation angegeben!", QuellDateien);
    for (auto& record : *liste) Absolut(record->Name);
    if (!DirectoryExists(target)) {
        // One file to a name with an extension is a copy under a new name:
        // then only the folder of that name must exist.
        std::wstring folder = target;
        if (liste->size() == 1 && !TDateiRoutinen::ExtractExt(target).empty())
            folder = ExcludeTrailingBackslash(ExtractFilePath(target));
        if (!DirectoryExists(folder) && !ZielAnlegen(folder)) {
            Zielverzeichnis.SetFocus();
            return false;
        }
    }
    if (Kontext().AddDirHistory) Kontext().AddDirHistory(target);
    if (liste->size() == 1 && Kontext().AddPathHistory) Kontext().AddPathHistory(source);
    return true;
}

}  // namespace velmora
