#include "ExittoolsDialog.h"

#include <shlobj.h>

#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

namespace velmora {

using namespace gui;

namespace {

struct TWerkzeug {
    const wchar_t* Name;  // the program's name without ".exe"
    const wchar_t* Fensterklasse;
};

const TWerkzeug kMorrick{L"Morrick", L"Windows herunterfahren"};
const TWerkzeug kTessaly{L"Tessaly", L"Windows neu starten"};

}  // namespace

std::wstring AutostartOrdner() {
    std::wstring folder;
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &pidl))) {
        wchar_t path[MAX_PATH];
        if (SHGetPathFromIDListW(pidl, path) && path[0]) folder = IncludeTrailingBackslash(path);
        CoTaskMemFree(pidl);
    }
    return folder;
}

TExittoolsDlg::TExittoolsDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"Exittool"), Label1(this), Label2(this), Morrick(this), Tessaly(this), OKBtn(this),
      CancelBtn(this), HilfeBtn(this), m_kontext(Kontext) {
    SetCaption(L"Und-Tschüs-Tools konfigurieren");
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Welche Komponenten sollen beim Windowsstart automatisch in der Taskleiste angezeigt werden?");
    Label1.SetWordWrap(true);
    lay.Place(Label1, 6, 6, 200, 18);
    Label2.SetCaption(L"Zu ladende Komponenten");
    lay.Place(Label2, 6, 30, 200, 10);
    Morrick.SetCaption(L"Icon zum sofortigen &Beenden von Windows");
    Morrick.Hint = L"Zeigt beim Windowsstart ein Icon, mit dem Sie Windows sofort beenden können";
    Morrick.ShowHint = true;
    lay.Place(Morrick, 14, 42, 190, 10);
    Tessaly.SetCaption(L"Icon zum &Neustarten von Windows");
    Tessaly.Hint = L"Zeigt beim Windowsstart ein Icon, mit dem Sie Windows neu starten können";
    Tessaly.ShowHint = true;
    lay.Place(Tessaly, 14, 56, 190, 10);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(50, 74, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 212, 94);
    SetHelpContextAll(59);
    OnShow = bind(this, &TExittoolsDlg::FormShow);
    OKBtn.OnClick = bind(this, &TExittoolsDlg::OKBtnClick);
}

void TExittoolsDlg::FormShow(TObject*) {
    const std::wstring folder = AutostartOrdner();
    if (folder.empty()) return;
    Morrick.SetChecked(FileExists(folder + kMorrick.Name + L".lnk"));
    Tessaly.SetChecked(FileExists(folder + kTessaly.Name + L".lnk"));
}

void TExittoolsDlg::OKBtnClick(TObject*) {
    const std::wstring folder = AutostartOrdner();
    if (folder.empty()) return;
    TDateiListe anlegen, loeschen;
    for (auto [box, tool] : {std::pair{&Morrick, &kMorrick}, std::pair{&Tessaly, &kTessaly}}) {
        const std::wstring link = folder + tool->Name + L".lnk";
        if (!box->Checked() || FileExists(link)) continue;
        const std::wstring program = m_kontext.ProgramFolder + tool->Name + L".exe";
        if (!FileExists(program)) {
            MessageDlg(std::wstring(L"Die Datei \"") + tool->Name + L".exe\" konnte nicht gefunden werden.\rBitte "
                                                                     L"stellen Sie sicher, daß sie sich im "
                                                                     L"Velmora-Programmverzeichnis befindet.",
                       TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
            continue;
        }
        auto record = std::make_unique<TEineDatei>();
        record->Name = program;
        anlegen.push_back(std::move(record));
        if (!FindWindowW(tool->Fensterklasse, nullptr) && m_kontext.ShellStart) m_kontext.ShellStart(program, L"open");
    }
    if (!anlegen.empty() && m_kontext.Routinen) m_kontext.Routinen->CreateLinks(L"", folder, anlegen);
    for (auto [box, tool] : {std::pair{&Morrick, &kMorrick}, std::pair{&Tessaly, &kTessaly}}) {
        const std::wstring link = folder + tool->Name + L".lnk";
        if (box->Checked() || !FileExists(link)) continue;
        auto record = std::make_unique<TEineDatei>();
        record->Name = link;
        loeschen.push_back(std::move(record));
    }
    if (!loeschen.empty() && m_kontext.Routinen) m_kontext.Routinen->DeleteFiles(loeschen, false, true, 1);
}

}  // namespace velmora
