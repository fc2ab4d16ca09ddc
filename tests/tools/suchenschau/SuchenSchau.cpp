// Shows the file search's windows with sample data, for screenshots
// (tools/screenshots/search.sh). First argument: "parameter" or "optionen" (the
// search dialog on that page), "laeuft" or "fertig" (the progress dialog
// searching the folder of the second argument, slowed down or not), "panes"
// (a search result and a basket of the files in that folder side by side).
// The program closes itself after the time given (third argument, ms).

#include <windows.h>

#include "NullPaneHost.h"
#include "filetools/DateiSuchenDlg.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "panes/Suchergebnis.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

namespace {

class TListenHost : public TNullPaneHost {
public:
    using TNullPaneHost::TNullPaneHost;
    TDateiListe Ergebnis, Korb;
    TDateiListe* PaneRecords(TFensterTyp Kind) override {
        return Kind == ftSuchergebnis ? &Ergebnis : Kind == ftSammelkorb ? &Korb : nullptr;
    }
};

std::unique_ptr<TEineDatei> Datei(const std::wstring& name) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    return record;
}

void ZeigeFenster(gui::TApplication& application, const std::wstring& folder) {
    auto* frame = application.CreateForm<gui::TForm>();
    frame->SetFormStyle(gui::TFormStyle::fsMDIForm);
    frame->SetCaption(L"Velmora - Suchergebnis");
    frame->SetBounds(0, 0, 760, 360);
    frame->Show();
    static TListenHost host(frame->Handle());
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            host.Ergebnis.push_back(Datei(SystemLower(folder + L"\\" + found.cFileName)));
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    host.Korb.push_back(Datei(folder + L"\\brief.txt"));
    auto entry = Datei(L"\\texte\\kapitel1.txt");
    entry->InArchive = true;
    entry->ArchivPfad = L"c:\\archive\\buch.zip";
    entry->Size = 2560;
    entry->Time = *TryEncodeDateTime({2024, 3, 5, 11, 20});
    host.Korb.push_back(std::move(entry));
    TEinstellungen settings;
    TOptionen options = settings.Sucherg;
    options.CheckArchive = false;
    options.Sortierung = 0;
    const int half = (frame->ClientWidth() - 4) / 2;
    int left = 0;
    for (TFensterTyp kind : {ftSuchergebnis, ftSammelkorb}) {
        auto* pane = gui::Create<TSuchergebnisForm>(frame, &host, kind);
        pane->SetBounds(left, 0, half, frame->ClientHeight() - 4);
        pane->Show();
        pane->ApplyOptions(options);
        left += half;
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    IconRoutinen = new TIconRoutinen;
    const std::wstring was = ParamCount() >= 1 ? ParamStr(1) : L"parameter";
    const std::wstring folder = ParamCount() >= 2 ? ParamStr(2) : L"c:\\windows";
    const unsigned timeout = static_cast<unsigned>(ParamCount() >= 3 ? StrToIntDef(ParamStr(3), 20000) : 20000);

    TStringList recentDirs{L"c:\\sicherung", L"d:\\austausch"};
    TDateiListe ergebnis;
    TDateiDialogKontext kontext;
    kontext.RecentDirs = &recentDirs;
    kontext.Suchergebnis = &ergebnis;

    gui::TTimer closer(&application);
    closer.SetInterval(timeout);
    closer.SetEnabled(true);
    if (was == L"panes") {
        ZeigeFenster(application, folder);
        closer.OnTimer = [&](gui::TObject*) { application.MainForm()->Close(); };
        application.Run();
    } else {
        auto* suchen = gui::Create<TDateiSuchenDlg>(&application, kontext);
        if (was == L"parameter" || was == L"optionen") {
            closer.OnTimer = [&](gui::TObject*) { suchen->Close(); };
            suchen->OnActivate = [&](gui::TObject*) {
                suchen->DateiFilter.SetText(L"*.txt");
                suchen->InclArchive.SetChecked(true);
                suchen->Verzeichnisse.SetText(SystemLower(folder));
                suchen->Eigenschaftenbeachten.SetChecked(true);
                suchen->Groessenbereich.SetItemIndex(1);
                suchen->Groessebeachten.SetChecked(true);
                suchen->TextSuchen.SetChecked(true);
                suchen->Text.SetText(L"Rechnung");
                suchen->Seiten.SetActivePageIndex(was == L"optionen" ? 1 : 0);
                suchen->OnActivate = nullptr;
            };
            suchen->ShowModal();
        } else {
            // The search dialog's choices without showing it: one folder, "*.*".
            suchen->OrdnerWaehlen = [&](const std::wstring&, std::wstring& chosen) {
                chosen = folder;
                return true;
            };
            suchen->Button1Click(nullptr);
            auto* fortschritt = gui::Create<TSuchFortschritt>(&application, kontext, *suchen);
            closer.OnTimer = [&](gui::TObject*) { fortschritt->CancelBtn.Click(); };
            if (was == L"laeuft") {
                const auto found = fortschritt->SuchKomp.OnFound;
                fortschritt->SuchKomp.OnFound = [&, found](gui::TObject* s, const std::wstring& f, std::int64_t p) {
                    found(s, f, p);
                    // Slow enough that the running search can be seen.
                    for (int i = 0; i < 40; ++i) {
                        Sleep(10);
                        application.ProcessMessages();
                    }
                };
            }
            fortschritt->ShowModal();
        }
    }
    delete IconRoutinen;
    IconRoutinen = nullptr;
    return 0;
}
