#include "Unit1.h"

#include <algorithm>

#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/PathNames.h"

namespace velmora::manager {

using namespace gui;

bool ConfirmStarterLink(const std::wstring& question) {
    return MessageDlg(question, TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes;
}

TForm1::TForm1(TComponent* owner, std::wstring ownFolder, TConfirm confirm)
    : TForm(owner),
      Label1(this), Dateien(this), Button1(this), Button2(this), Button3(this), OKBtn(this), CancelBtn(this),
      Button4(this), PrgBearbeitenDlg(Create<TPrgBearbeitenDlg>(this)),
      m_ownFolder(IncludeTrailingBackslash(ownFolder)), m_confirm(std::move(confirm)) {
    SetCaption(L"Autostartmanager");
    BorderStyle = TBorderStyle::bsDialog;
    BorderIcons = biSystemMenu;
    Position = TPosition::poScreenCenter;
    HelpContext = 57;

    Label1.SetCaption(L"Zu startende &Programme:");
    Label1.SetFocusControl(&Dateien);
    Dateien.SetViewStyle(TViewStyle::vsReport);
    Dateien.SetStyle(TLVStyle::lvOwnerDrawFixed);
    Dateien.ReadOnly = true;
    Dateien.MultiSelect = true;
    Dateien.HideSelection = false;
    Dateien.AddColumn({L"Beschreibung", 200});
    Dateien.AddColumn({L"Dateiname", 100});
    Dateien.AddColumn({L"Zeit", 30});
    Dateien.AddColumn({L"Starten", 35});
    Button1.SetCaption(L"&Neu");
    Button2.SetCaption(L"&Bearbeiten");
    Button3.SetCaption(L"&Löschen");
    OKBtn.SetCaption(L"OK");
    OKBtn.Default = true;
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    Button4.SetCaption(L"&Hilfe");
    LayoutControls();

    OnCreate = bind(this, &TForm1::FormCreate);
    OnShow = bind(this, &TForm1::FormShow);
    Button1.OnClick = bind(this, &TForm1::Button1Click);
    Button2.OnClick = bind(this, &TForm1::Button2Click);
    Button3.OnClick = bind(this, &TForm1::Button3Click);
    OKBtn.OnClick = bind(this, &TForm1::OKBtnClick);
    CancelBtn.OnClick = bind(this, &TForm1::CancelBtnClick);
    Button4.OnClick = bind(this, &TForm1::Button4Click);
    Dateien.OnDrawItem = bind(this, &TForm1::DateienDrawItem);
}

void TForm1::LayoutControls() {
    TDialogLayout l(*this);
    for (TControl* c : std::initializer_list<TControl*>{&Label1, &Dateien, &Button1, &Button2, &Button3, &OKBtn,
                                                        &CancelBtn, &Button4})
        c->SetParent(this);
    for (TWinControl* c : std::initializer_list<TWinControl*>{&Dateien, &Button1, &Button2, &Button3, &OKBtn,
                                                              &CancelBtn, &Button4})
        c->TabStop = true;
    l.Place(Label1, 6, 6, 120, 8);
    l.Place(Dateien, 6, 16, 262, 124);
    l.Column(274, 16, 56, {{&Button1, 14}, {&Button2, 14}, {&Button3, 14}});
    l.Column(274, 92, 56, {{&OKBtn, 14}, {&CancelBtn, 14}, {&Button4, 14}});
    l.SetClientSize(*this, 336, 146);
}

void TForm1::FormCreate(TObject*) { Application->HelpFile = m_ownFolder + L"Velmora.HLP"; }

void TForm1::FormShow(TObject*) { LoadList(); }

void TForm1::LoadList() {
    Dateien.Clear();
    m_entries.clear();
    for (auto& e : LoadAutostartList()) AddRow(std::make_unique<TEintrag>(std::move(e)));
}

void TForm1::SaveList() { SaveAutostartList(Entries()); }

TEintragList TForm1::Entries() const {
    TEintragList list;
    for (int i = 0; i < Dateien.Count(); ++i) list.push_back(EntryOf(*Dateien.Items(i)));
    return list;
}

TEintrag& TForm1::EntryOf(const TListItem& item) { return *static_cast<TEintrag*>(item.Data); }

void TForm1::AddRow(std::unique_ptr<TEintrag> entry) {
    TListItem* item = Dateien.Add();
    item->Data = entry.get();
    m_entries.push_back(std::move(entry));
    ShowRow(*item);
}

void TForm1::ShowRow(TListItem& item) {
    TEntryRow row = RowOf(EntryOf(item));
    item.SetCaption(row.Caption);
    item.SetSubItems(TStringList{row.FileName, row.Zeit, row.Starten});
}

void TForm1::Button1Click(TObject*) {
    PrgBearbeitenDlg->SetCaption(L"Neuer Eintrag");
    PrgBearbeitenDlg->Beschreibung.SetText(L"");
    PrgBearbeitenDlg->Dateiname.SetText(L"");
    PrgBearbeitenDlg->Parameter.SetText(L"");
    if (PrgBearbeitenDlg->ShowModal() != mrOk) return;
    AddRow(std::make_unique<TEintrag>(EntryFromFields(PrgBearbeitenDlg->Fields())));
}

void TForm1::Button2Click(TObject*) {
    TListItem* item = Dateien.Selected();
    if (!item) return;
    PrgBearbeitenDlg->SetCaption(L"Eintrag bearbeiten");
    PrgBearbeitenDlg->SetFields(FieldsFromEntry(EntryOf(*item)));
    if (PrgBearbeitenDlg->ShowModal() != mrOk) return;
    EntryOf(*item) = EntryFromFields(PrgBearbeitenDlg->Fields());
    ShowRow(*item);
}

void TForm1::Button3Click(TObject*) {
    for (int i = Dateien.Count() - 1; i >= 0; --i) {
        TListItem* item = Dateien.Items(i);
        if (!item->Selected()) continue;
        TEintrag* entry = &EntryOf(*item);
        Dateien.Delete(i);
        std::erase_if(m_entries, [entry](const auto& e) { return e.get() == entry; });
    }
}

void TForm1::OKBtnClick(TObject*) {
    SaveList();
    EnsureStarterLink();
    Close();
}

void TForm1::EnsureStarterLink() { velmora::EnsureStarterLink(Dateien.Count() == 0, m_ownFolder, m_confirm); }

void TForm1::CancelBtnClick(TObject*) { Close(); }

void TForm1::Button4Click(TObject*) { Application->HelpContext(HelpContext); }

void TForm1::DateienDrawItem(TWinControl*, TCanvas&, int, RECT, TOwnerDrawState, bool& DefaultDrawing) {
    DefaultDrawing = true;
}

}  // namespace velmora::manager
