#include "LoeschDlg.h"

#include "DateiRoutinen.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

TLoeschDlg::TLoeschDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TQuellDialog(Owner, Kontext, L"DLoeschen"), Label1(this), Label2(this), ZLDateien(this), FileLabel(this),
      Sicherheitsabfragen(this), LoeschGroup(this) {
    SetCaption(L"Löschvorgang bestätigen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Löschen");
    Label1.SetFocusControl(&ZLDateien);
    lay.Place(Label1, 6, 8, 50, 9);
    lay.Place(ZLDateien, 60, 6, 190, 12);
    lay.Row(60, 22, 14, {{&BitBtn1, 44}, {&DateiSuchenBtn2, 44}, {&BitBtn2, 44}, {&SammelkorbBtn, 50}});
    Label2.SetCaption(L"aus:");
    lay.Place(Label2, 6, 42, 50, 9);
    lay.Place(FileLabel, 60, 42, 190, 9);
    Sicherheitsabfragen.SetCaption(L"&Sicherheitsabfragen vor dem Löschen spezieller Dateien durchführen");
    Sicherheitsabfragen.SetChecked(true);
    lay.Place(Sicherheitsabfragen, 6, 56, 244, 10);
    LoeschGroup.SetCaption(L"Dateien");
    LoeschGroup.SetItems({L"... in den &Papierkorb verschieben", L"... &wirklich löschen",
                          L"... löschen und vorher mit &Nullbytes überschreiben"});
    LoeschGroup.SetItemIndex(0);
    lay.Place(LoeschGroup, 6, 70, 244, 50);
    lay.Row(92, 126, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 256, 146);
    ListLabelText = L"Folgende Dateien sind für den Löschvorgang ausgewählt:";
    QuellPrompt = L"Bitte wählen Sie das zu löschende Verzeichnis:";
    Bind(ZLDateien, FileLabel);
    ZLDateien.OnExit = bind(this, &TLoeschDlg::ZLDateienExit);
    ZLDateien.OnKeyUp = bind(this, &TLoeschDlg::ZLDateienKeyUp);
    ZLDateien.OnChange = bind(this, &TLoeschDlg::ZLDateienChange);
    ZLDateien.OnDropDown = bind(this, &TLoeschDlg::ZLDateienDropDown);
    ZLDateien.OnKeyPress = bind(this, &TLoeschDlg::ZLDateienKeyPress);
    SetHelpContextAll(14);
}

// Leaving the box while the dialog closes commits nothing more.
void TLoeschDlg::ZLDateienExit(TObject*) {
    if (Visible()) Quelle().Commit();
}

void TLoeschDlg::ZLDateienKeyUp(TObject*, WORD& Key, TShiftState Shift) { Quelle().KeyUp(Key, Shift); }

void TLoeschDlg::ZLDateienChange(TObject*) { Quelle().Change(); }

void TLoeschDlg::ZLDateienDropDown(TObject*) { Quelle().DropDown(); }

void TLoeschDlg::ZLDateienKeyPress(TObject* Sender, wchar_t& Key) { LowerKey(Sender, Key); }

bool TLoeschDlg::Pruefen() {
    const std::wstring source = Trim(ZLDateien.Text());
    TDateiListe* liste = Dateiliste();
    if (source.empty() || !liste || liste->empty()) {
        MessageDlg(L"Sie haben noch keine Datei(en) für die Löschoperation angegeben!", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        ZLDateien.SetFocus();
        return false;
    }
    // Typed names mean the folder the dialog shows, not the program's current one.
    for (auto& record : *liste) Absolut(record->Name);
    Quelle().Rebuild();
    if (liste->size() == 1 && Kontext().AddPathHistory) Kontext().AddPathHistory(source);
    return true;
}

}  // namespace velmora
