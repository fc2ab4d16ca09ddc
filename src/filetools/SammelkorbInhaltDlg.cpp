#include "SammelkorbInhaltDlg.h"

#include "FileToolsCodes.h"
#include "foundation/IconRoutinen.h"
#include "foundation/ShellRoutinen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

std::wstring SammelkorbZeile(const TEineDatei& Datei) {
    if (!Datei.InArchive) return SystemLower(Datei.Name);
    std::wstring name = Datei.Name;
    if (StartsWith(name, L"\\")) name.erase(0, 1);
    return SystemLower(name) + L" in " + SystemLower(Datei.ArchivPfad);
}

TSammelkorbInhaltDlg::TSammelkorbInhaltDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L""), Label1(this), Dateiliste(this), StatusLabel(this), OKBtn(this), CancelBtn(this),
      m_kontext(Kontext), m_icons(this) {
    SetCaption(L"Inhalt des Sammelkorbes");
    BorderStyle = TBorderStyle::bsSizeable;
    TDialogLayout lay(*this);
    Label1.SetCaption(L"&Bitte markieren Sie die zu übernehmenden Dateien:");
    lay.Place(Label1, 6, 6, 280, 9);
    Dateiliste.SetViewStyle(TViewStyle::vsReport);
    Dateiliste.MultiSelect = true;
    Dateiliste.AddColumn({L"Pfad & Name", 260});
    Dateiliste.AddColumn({L"Größe", 60, TAlignment::taRightJustify});
    Dateiliste.AddColumn({L"Datum", 115});
    lay.Place(Dateiliste, 6, 17, 288, 130);
    lay.Place(StatusLabel, 6, 152, 140, 9);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(188, 150, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 300, 170);
    OnShow = bind(this, &TSammelkorbInhaltDlg::FormShow);
    Dateiliste.OnChange = bind(this, &TSammelkorbInhaltDlg::DateiListeChange);
    Dateiliste.OnDblClick = bind(this, &TSammelkorbInhaltDlg::DateiListeDblClick);
}

void TSammelkorbInhaltDlg::FormShow(TObject*) {
    Fehlercode = fc::SammelkorbInhaltFormShow;
    THourGlass hourglass;
    if (IconRoutinen && !Dateiliste.SmallImages) {
        m_icons.SetHandle(IconRoutinen->SmallImages, true);
        Dateiliste.SmallImages = &m_icons;
    }
    Dateiliste.Clear();
    if (m_kontext.Sammelkorb) {
        Dateiliste.Reserve(static_cast<int>(m_kontext.Sammelkorb->size()));
        for (const auto& record : *m_kontext.Sammelkorb) {
            TListItem* item = Dateiliste.AddItem(SammelkorbZeile(*record), record.get());
            item->AddSubItem(GroesseInKB(record->Size));
            item->AddSubItem(LocaleDateTimeText(record->Time));
            if (IconRoutinen)
                item->SetImageIndex(m_kontext.StandardIcons || record->InArchive
                                        ? IconRoutinen->GetIconIndex(record->Name)
                                        : IconRoutinen->GetSystemIconIndex(record->Name, record->Attr));
        }
    }
    DateiListeChange(this, nullptr);
    Fehlercode = 0;
}

void TSammelkorbInhaltDlg::DateiListeChange(TObject*, TListItem*) {
    StatusLabel.SetCaption(L" " + std::to_wstring(Dateiliste.SelCount()) + L" Datei(en) ausgewählt.");
}

void TSammelkorbInhaltDlg::DateiListeDblClick(TObject*) { SetModalResult(mrOk); }

void TSammelkorbInhaltDlg::AuswahlHolen(TDateiListe& Liste) const {
    for (TListItem* item = Dateiliste.NextSelected(); item; item = Dateiliste.NextSelected(item))
        Liste.push_back(std::make_unique<TEineDatei>(*static_cast<const TEineDatei*>(item->Data)));
}

}  // namespace velmora
