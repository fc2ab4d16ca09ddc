// Shows a file list pane (kind 1 list view or kind 2 report view) in a test MDI
// frame on a sample folder, with the options a fresh installation has and one
// file marked, for screenshots (tools/screenshots/filelist.sh):
//   FileListShow.exe [KIND [FOLDER [MILLISECONDS]]]
// Without a folder (or with "-") a sample one is made below the temporary folder. It closes
// after the milliseconds given, else when the frame is closed.

#include <windows.h>

#include <string>

#include "NullPaneHost.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "panes/DateiListe.h"
#include "platform/gui/Application.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

namespace {

void MakeFile(const std::wstring& path, DWORD size, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string block(4096, 'v');
    for (DWORD left = size; left > 0;) {
        DWORD written = 0;
        const DWORD part = left < block.size() ? left : static_cast<DWORD>(block.size());
        WriteFile(file, block.data(), part, &written, nullptr);
        left -= part;
    }
    CloseHandle(file);
}

std::wstring SampleFolder() {
    const std::wstring folder = TempDirectory() + L"filelist-show\\Projekt\\";
    ForceDirectories(folder + L"Bilder");
    ForceDirectories(folder + L"Briefe");
    ForceDirectories(folder + L"Sicherung");
    const struct {
        const wchar_t* Name;
        DWORD Size;
        DWORD Attributes;
    } files[] = {
        {L"angebot.doc", 24576, FILE_ATTRIBUTE_ARCHIVE},
        {L"archiv.zip", 153600, FILE_ATTRIBUTE_ARCHIVE},
        {L"bericht 2026.txt", 3100, FILE_ATTRIBUTE_ARCHIVE},
        {L"foto.bmp", 921654, FILE_ATTRIBUTE_ARCHIVE},
        {L"Liesmich.txt", 812, FILE_ATTRIBUTE_READONLY},
        {L"programm.exe", 61440, FILE_ATTRIBUTE_ARCHIVE},
        {L"quellen.arj", 40960, FILE_ATTRIBUTE_ARCHIVE},
        {L"tabelle.xls", 18432, FILE_ATTRIBUTE_ARCHIVE},
        {L"leer.dat", 0, FILE_ATTRIBUTE_ARCHIVE},
        {L"system.ini", 2048, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE},
        {L"Eine recht lange Beschreibung des Projekts.txt", 5000, FILE_ATTRIBUTE_ARCHIVE},
    };
    for (const auto& f : files) {
        SetFileAttributesW((folder + f.Name).c_str(), FILE_ATTRIBUTE_NORMAL);
        MakeFile(folder + f.Name, f.Size, f.Attributes);
    }
    return folder;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    const int kind = ParamCount() >= 1 && ParamStr(1) == L"2" ? 2 : 1;
    const std::wstring given = ParamCount() >= 2 ? ParamStr(2) : std::wstring();
    const std::wstring folder = given.empty() || given == L"-" ? SampleFolder() : IncludeTrailingBackslash(given);
    IconRoutinen = new TIconRoutinen;

    auto* frame = application.CreateForm<gui::TForm>();
    frame->SetFormStyle(gui::TFormStyle::fsMDIForm);
    frame->SetCaption(L"Velmora - Dateiliste (Art " + std::to_wstring(kind) + L")");
    frame->SetBounds(0, 0, 780, 520);
    frame->Show();

    TNullPaneHost host(frame->Handle());
    TEinstellungen settings;
    settings.LoadDateiliste();
    settings.LoadADateiliste();
    auto* pane = gui::Create<TDateiListeForm>(frame, &host);
    pane->SetPaneKind(kind == 2 ? ftAusfDateiliste : ftDateiliste);
    pane->ApplyOptions(kind == 2 ? settings.ADateiliste : settings.Dateiliste);
    pane->SetBounds(0, 0, frame->ClientWidth() - 4, frame->ClientHeight() - 4);
    pane->Show();
    pane->SetDirectory(folder);
    // One marked file: the status line shows its name, size, date and attributes.
    for (int i = 0; i < pane->Dateiliste.Count(); ++i) {
        gui::TListItem* row = pane->Dateiliste.Items(i);
        if (row->Caption().find(L'.') != std::wstring::npos && row->Caption() != L"[ .. ]") {
            pane->Dateiliste.Items(0)->SetSelected(false);
            row->SetSelected(true);
            row->SetFocused(true);
            break;
        }
    }
    pane->UpdateStatusLine();

    gui::TTimer closer(&application);
    closer.SetEnabled(false);
    if (ParamCount() >= 3) {
        closer.SetInterval(static_cast<unsigned>(StrToIntDef(ParamStr(3), 10000)));
        closer.OnTimer = [frame](gui::TObject*) { frame->Close(); };
        closer.SetEnabled(true);
    }
    application.Run();
    delete IconRoutinen;
    IconRoutinen = nullptr;
    return 0;
}
