#include "DiskNameDlg.h"

#include "FileToolsCodes.h"
#include "Laufwerksabfragen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"

namespace velmora {

using namespace gui;

TNameDiskDlg::TNameDiskDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"DiskName"), Label1(this), DatentraegerLabel(this), NameLabel(this),
      Datentraeger(this), NeuerName(this), OKBtn(this), CancelBtn(this), HilfeBtn(this) {
    SetCaption(L"Datenträger benennen");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Alter und neuer Name");
    lay.Place(Label1, 6, 6, 150, 9);
    DatentraegerLabel.SetCaption(L"Zu &benennender Datenträger:");
    DatentraegerLabel.SetFocusControl(&Datentraeger);
    lay.Place(DatentraegerLabel, 6, 21, 100, 9);
    lay.Place(Datentraeger, 108, 19, 100, 60);
    NameLabel.SetCaption(L"&Neuer Name:");
    NameLabel.SetFocusControl(&NeuerName);
    lay.Place(NameLabel, 6, 38, 100, 9);
    NeuerName.SetMaxLength(11);
    lay.Place(NeuerName, 108, 36, 100, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(58, 56, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 214, 76);
    SetHelpContextAll(42);
    Laufwerkstyp = [](const std::wstring& root) { return static_cast<unsigned>(GetDriveTypeW(root.c_str())); };
    NameLesen = [](const std::wstring& root, std::wstring& name) {
        wchar_t label[MAX_PATH + 1] = {};
        const UINT alt = SetErrorMode(SEM_FAILCRITICALERRORS);
        const bool ok =
            GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) != FALSE;
        SetErrorMode(alt);
        name = label;
        return ok;
    };
    Datentraeger.OnChange = bind(this, &TNameDiskDlg::DatentraegerChange);
    OKBtn.OnClick = bind(this, &TNameDiskDlg::OKBtnClick);
    OnShow = bind(this, &TNameDiskDlg::FormShow);
}

std::wstring TNameDiskDlg::Wurzel() const { return std::wstring(1, Datentraeger.Drive()) + L":\\"; }

void TNameDiskDlg::FormShow(TObject*) { LaufwerkZeigen(); }

void TNameDiskDlg::DatentraegerChange(TObject*) { LaufwerkZeigen(); }

void TNameDiskDlg::LaufwerkZeigen() {
    Fehlercode = fc::DiskNameZeigen;
    const std::wstring root = Wurzel();
    TFreierPlatz platz;
    std::wstring name;
    if (FreierPlatzAbfragen(root, platz) && NameLesen(root, name)) {
        NeuerName.SetReadOnly(Laufwerkstyp(root) == DRIVE_CDROM);
        NeuerName.SetText(name);
        if (Visible())
            NeuerName.SetFocus();
    } else {
        NeuerName.SetText(L"Laufwerk nicht bereit!");
        NeuerName.SetReadOnly(true);
        if (Visible())
            Datentraeger.SetFocus();
        MessageBeep(MB_OK);
    }
    Fehlercode = 0;
}

// The dialog closes with OK whatever came of the renaming.
void TNameDiskDlg::OKBtnClick(TObject*) {
    Fehlercode = fc::DiskNameOK;
    if (!NeuerName.ReadOnly() && !LaufwerkBenennen(Wurzel(), NeuerName.Text()))
        MessageDlg(L"Beim Umbenennen des Laufwerks " + std::wstring(1, Datentraeger.Drive()) +
                       L": ist ein Fehler aufgetreten",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    Fehlercode = 0;
}

}  // namespace velmora
