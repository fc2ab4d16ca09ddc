#include "DateiAktionFortschrittDlg.h"

#include <objbase.h>

#include "FileToolsCodes.h"
#include "foundation/ShellLink.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

bool IsAbsolute(const std::wstring& name) {
    return (name.size() >= 3 && name[1] == L':' && name[2] == L'\\') || StartsWith(name, L"\\\\");
}

bool NameTaken(const std::wstring& path) { return FileExists(path) || DirectoryExists(path); }

}  // namespace

TDateiAktionFortschrittDlg::TDateiAktionFortschrittDlg(TComponent* Owner, TDateiRoutinen& Routinen)
    : TPositionsDialog(Owner, L""), Aktion(this), FileLabel(this), ProgressBar(this), CancelBtn(this),
      m_routinen(Routinen) {
    SetCaption(L"Fortschritt beim Verknüpfungen erstellen");
    TDialogLayout lay(*this);
    lay.Place(Aktion, 6, 6, 220, 9);
    lay.Place(FileLabel, 6, 18, 220, 9);
    lay.Place(ProgressBar, 6, 30, 220, 10);
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    lay.Place(CancelBtn, 91, 46, 50, 14);
    lay.SetClientSize(*this, 232, 66);
    ProgressBar.Step = 1;
    OnActivate = bind(this, &TDateiAktionFortschrittDlg::FormActivate);
    CancelBtn.OnClick = bind(this, &TDateiAktionFortschrittDlg::CancelBtnClick);
}

TDateiAktionFortschrittDlg::~TDateiAktionFortschrittDlg() { *m_alive = false; }

void TDateiAktionFortschrittDlg::SetLinkJob(const std::wstring& Source, const std::wstring& TargetFolder,
                                            const TDateiListe& List) {
    m_source = Source;
    m_target = TargetFolder;
    m_list = &List;
    ProgressBar.SetMax(static_cast<int>(List.size()));
    ProgressBar.SetPosition(0);
}

void TDateiAktionFortschrittDlg::CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder,
                                             const TDateiListe& List) {
    SetLinkJob(Source, TargetFolder, List);
    m_stop = false;
    m_pending = true;
    ShowModal();
    m_list = nullptr;
}

void TDateiAktionFortschrittDlg::FormActivate(TObject*) {
    if (!m_pending) return;
    m_pending = false;
    // The job runs from the message loop, not inside the activation.
    std::weak_ptr<bool> alive = m_alive;
    Application->Post([this, alive] {
        if (alive.expired()) return;
        m_running = true;
        RunLinks();
        m_running = false;
        Close();
    });
}

void TDateiAktionFortschrittDlg::CancelBtnClick(TObject*) {
    m_stop = true;
    // Without a job under way there is nothing to wait for.
    if (!m_running && !m_pending) Close();
}

std::wstring TDateiAktionFortschrittDlg::LinkTarget(const std::wstring& Source, const std::wstring& RecordName) {
    if (IsAbsolute(RecordName) || Source.empty()) return RecordName;
    return IncludeTrailingBackslash(Source) + RecordName;
}

std::wstring TDateiAktionFortschrittDlg::LinkName(const std::wstring& Folder, const std::wstring& RecordName) {
    std::wstring base = ExtractFileName(ExcludeTrailingBackslash(RecordName));
    base = base.substr(0, base.find(L'.'));
    if (base.empty()) base = L"Verknüpfung";
    std::wstring name = base + L".lnk";
    for (int n = 2; NameTaken(Folder + name); ++n) name = base + L" (" + std::to_wstring(n) + L").lnk";
    return name;
}

void TDateiAktionFortschrittDlg::RunLinks() {
    Fehlercode = fc::LinksErstellen;
    const HRESULT ole = CoInitialize(nullptr);
    if (FAILED(ole) && ole != RPC_E_CHANGED_MODE) {
        MessageDlg(L"Es konnte keine Verknüpfung erstellt werden, da keine Ole-Bibliothek gefunden wurde.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    SetCaption(L"Fortschritt beim Verknüpfungen erstellen");
    Aktion.SetCaption(L"Dateien werden verknüpft...");
    MakeLinks();
    if (SUCCEEDED(ole)) CoUninitialize();
    Fehlercode = 0;
}

void TDateiAktionFortschrittDlg::MakeLinks() {
    Application->ProcessMessages();
    if (m_stop || !m_list) return;
    const std::wstring target = IncludeTrailingBackslash(m_target);
    if (!DirectoryExists(target)) {
        if (MessageDlg(L"Das angegebene Zielverzeichnis existiert nicht! Soll es erstellt werden?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes)
            m_routinen.CreateDirectory(ExcludeTrailingBackslash(target));
        if (!DirectoryExists(target)) return;
    }
    for (const auto& record : *m_list) {
        if (m_stop) break;
        const std::wstring name = LinkName(target, record->Name);
        ProgressBar.StepIt();
        FileLabel.SetFileName(SystemLower(target + name));
        if (!CreateShellLink(LinkTarget(m_source, record->Name), target + name, L"Verknüpfung mit " + record->Name))
            MessageDlg(L"Mit der Datei " + SystemLower(record->Name) + L" konnte keine Verknüpfung erstellt werden!",
                       TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Application->ProcessMessages();
    }
}

}  // namespace velmora
