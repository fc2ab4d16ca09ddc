#include "ExtArcKonfigDlg.h"

#include "filetools/FileToolsCodes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

// One row's browse title and the name of its program in the filter and the
// error text.
struct TZeile {
    const wchar_t* Titel;
    const wchar_t* Name;
    const wchar_t* Datei;
};

const TZeile kZeilen[] = {
    {L"Arj-Entpacker suchen", L"Arj-Entpacker", L"arj.exe"},
    {L"Rar-Entpacker suchen", L"Rar-Entpacker", L"rar.exe"},
    {L"Lha-Entpacker suchen", L"Lha-Entpacker", L"lha.exe"},
    {L"Zoo-Entpacker suchen", L"Zoo-Entpacker", L"zoo.exe"},
    {L"Arc-Packer suchen", L"Arc-Packer", L"pkpak.exe"},
    {L"Arc-Entpacker suchen", L"Arc-Entpacker", L"pkunpak.exe"},
};

}  // namespace

TExtArcKonfigDlg::TExtArcKonfigDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"ExtArc"), Label1(this), Label2(this), Label3(this), Label4(this), Label5(this),
      Label6(this), UnArjPath(this), UnRarPath(this), UnLhaPath(this), UnZooPath(this), ArcPath(this),
      UnArcPath(this), ArjSuchenBtn(this), RarSuchenBtn(this), LhaSuchenBtn(this), ZooSuchenBtn(this),
      ArcSuchenBtn(this), UnArcSuchenBtn(this), UseInternUnArj(this), UseInternUnRar(this), UseInternUnLha(this),
      UseInternUnZoo(this), UseInternUnArc(this), OKBtn(this), CancelBtn(this), Button1(this) {
    SetCaption(L"Externe Packer konfiguerieren");
    TDialogLayout lay(*this);
    struct {
        TLabel* Label;
        const wchar_t* Text;
        TEdit* Pfad;
        TButton* Suchen;
        TCheckBox* Intern;
        const wchar_t* InternText;
    } const zeilen[] = {
        {&Label1, L"&Arj-Packer:", &UnArjPath, &ArjSuchenBtn, &UseInternUnArj,
         L"Benutze, wenn möglich, internen Arj-&Entpacker"},
        {&Label2, L"Rar-Pac&ker:", &UnRarPath, &RarSuchenBtn, &UseInternUnRar,
         L"Benutze, wenn möglich, internen &Rar-Entpacker"},
        {&Label3, L"&Lha-Packer:", &UnLhaPath, &LhaSuchenBtn, &UseInternUnLha,
         L"Benutze, wenn möglich, &internen Lha-Entpacker"},
        {&Label4, L"Z&oo-Packer:", &UnZooPath, &ZooSuchenBtn, &UseInternUnZoo,
         L"Benutze, wenn möglich, internen &Zoo-Entpacker"},
        {&Label5, L"Arc-&Packer:", &ArcPath, &ArcSuchenBtn, nullptr, nullptr},
        {&Label6, L"Arc-E&ntpacker:", &UnArcPath, &UnArcSuchenBtn, &UseInternUnArc,
         L"Benutze, wenn möglich, internen Ar&c-Entpacker"},
    };
    int y = 6;
    for (const auto& z : zeilen) {
        z.Label->SetCaption(z.Text);
        z.Label->SetFocusControl(z.Pfad);
        lay.Place(*z.Label, 6, y + 2, 56, 10);
        lay.Place(*z.Pfad, 64, y, 170, 12);
        z.Suchen->SetCaption(L"...");
        z.Suchen->Hint = L"Nach Datei(en) suchen";
        z.Suchen->ShowHint = true;
        lay.Place(*z.Suchen, 238, y, 16, 12);
        z.Suchen->OnClick = bind(this, &TExtArcKonfigDlg::ArcSuchenBtnClick);
        y += 14;
        if (z.Intern) {
            z.Intern->SetCaption(z.InternText);
            lay.Place(*z.Intern, 64, y, 190, 10);
            y += 14;
        }
    }
    SetUpButtons(OKBtn, CancelBtn, Button1);
    lay.Row(98, y + 4, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&Button1, 50}});
    lay.SetClientSize(*this, 260, y + 24);
    SetHelpContextAll(7);
    OnShow = bind(this, &TExtArcKonfigDlg::FormShow);
    OnClose = bind(this, &TExtArcKonfigDlg::FormClose);
    OKBtn.OnClick = bind(this, &TExtArcKonfigDlg::OKBtnClick);
}

void TExtArcKonfigDlg::Laden(const TArchivEinstellungen& Arc) {
    UnArjPath.SetText(Arc.ArjPath);
    UnRarPath.SetText(Arc.RarPath);
    UnLhaPath.SetText(Arc.LhaPath);
    UnZooPath.SetText(Arc.ZooPath);
    ArcPath.SetText(Arc.PkPakPath);
    UnArcPath.SetText(Arc.PkUnPakPath);
    UseInternUnArj.SetChecked(Arc.UseInternUnArj);
    UseInternUnRar.SetChecked(Arc.UseInternUnRar);
    UseInternUnLha.SetChecked(Arc.UseInternUnLha);
    UseInternUnZoo.SetChecked(Arc.UseInternUnZoo);
    UseInternUnArc.SetChecked(Arc.UseInternUnArc);
}

void TExtArcKonfigDlg::Speichern(TArchivEinstellungen& Arc) const {
    Arc.ArjPath = UnArjPath.Text();
    Arc.RarPath = UnRarPath.Text();
    Arc.LhaPath = UnLhaPath.Text();
    Arc.ZooPath = UnZooPath.Text();
    Arc.PkPakPath = ArcPath.Text();
    Arc.PkUnPakPath = UnArcPath.Text();
    Arc.UseInternUnArj = UseInternUnArj.Checked();
    Arc.UseInternUnRar = UseInternUnRar.Checked();
    Arc.UseInternUnLha = UseInternUnLha.Checked();
    Arc.UseInternUnZoo = UseInternUnZoo.Checked();
    Arc.UseInternUnArc = UseInternUnArc.Checked();
}

void TExtArcKonfigDlg::ArcSuchenBtnClick(TObject* Sender) {
    Fehlercode = fc::ExtArcSuchen;
    TButton* knoepfe[] = {&ArjSuchenBtn, &RarSuchenBtn, &LhaSuchenBtn, &ZooSuchenBtn, &ArcSuchenBtn, &UnArcSuchenBtn};
    TEdit* pfade[] = {&UnArjPath, &UnRarPath, &UnLhaPath, &UnZooPath, &ArcPath, &UnArcPath};
    for (size_t i = 0; i < std::size(knoepfe); ++i) {
        if (Sender != knoepfe[i]) continue;
        const TZeile& z = kZeilen[i];
        TOpenDialog dialog(nullptr);
        dialog.Title = z.Titel;
        dialog.Filter = std::wstring(L"Alle Exe-Dateien (*.exe)|*.exe|Alle Dateien (*.*)|*.*|") + z.Name + L" (" +
                        z.Datei + L")|" + z.Datei;
        dialog.FilterIndex = 3;
        dialog.FileName = pfade[i]->Text();
        if (dialog.Execute()) pfade[i]->SetText(dialog.FileName);
    }
    Fehlercode = 0;
}

void TExtArcKonfigDlg::FormShow(TObject*) { m_ok = false; }

void TExtArcKonfigDlg::OKBtnClick(TObject*) { m_ok = true; }

void TExtArcKonfigDlg::FormClose(TObject*, TCloseAction& Action) {
    if (!m_ok) return;
    Fehlercode = fc::ExtArcFormClose;
    TEdit* pfade[] = {&UnArjPath, &UnRarPath, &UnLhaPath, &UnZooPath, &ArcPath, &UnArcPath};
    for (size_t i = 0; i < std::size(pfade); ++i) {
        const std::wstring name = Trim(pfade[i]->Text());
        if (name != pfade[i]->Text()) pfade[i]->SetText(name);
        if (name.empty() || FileExists(name)) continue;
        MessageDlg(std::wstring(L"Die von Ihnen angegebene ") + kZeilen[i].Name +
                       L"-Datei existiert leider nicht.\rBitte überprüfen Sie Ihre Eingabe.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        pfade[i]->SetFocus();
        m_ok = false;
        Action = TCloseAction::caNone;
        break;
    }
    Fehlercode = 0;
}

bool WeiterePackerKonfigurieren(TComponent* Owner, TExtArcKonfigDlg*& Dlg, TArchivEinstellungen& Arc) {
    if (!Dlg) Dlg = Create<TExtArcKonfigDlg>(Owner);
    Dlg->Laden(Arc);
    if (Dlg->ShowModal() != mrOk) return false;
    Dlg->Speichern(Arc);
    return true;
}

}  // namespace velmora
