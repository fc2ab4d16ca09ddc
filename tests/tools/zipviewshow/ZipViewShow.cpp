// Shows the archive pane in a test MDI frame, for screenshots: the archive
// given (first argument) is read, and its first folder is opened with one file
// marked. The program closes itself after the time given (second argument, ms).

#include <windows.h>

#include "NullPaneHost.h"
#include "archive/formats/ArcLister.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "panes/ZipView.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/FileSystem.h"

using namespace velmora;

namespace {

// Readings show nothing of their progress here.
class TQuietArchiveHost : public archive::TZipRoutinenHost {
public:
    bool ArchiveWorkRunning() const override { return true; }
    std::wstring StatusText(int) const override { return {}; }
    void SetStatusText(int, const std::wstring&) override {}
    void SetProgressMax(int) override {}
    void SetProgressPosition(int) override {}
    void ShowProgressPanel(bool) override {}
    void SetAbortEnabled(bool) override {}
    gui::TCursor Cursor() const override { return gui::crDefault; }
    void SetCursor(gui::TCursor) override {}
    void Beep() override {}
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    SetDllDirectoryW(ParamCount() >= 3 ? ParamStr(3).c_str() : nullptr);
    IconRoutinen = new TIconRoutinen;
    TQuietArchiveHost archiveHost;
    archive::TZipLib zip(nullptr);
    arc::TArcLister lister;
    archive::TZipRoutinen routinen(archiveHost, zip, lister);
    zip.OnListing = [&](archive::TZipLib*, const archive::TZlFileStats& stats) { routinen.AddXZipEntry(stats); };
    lister.OnRead = [&](arc::TArcBase*, int) { routinen.AddArcListerEntry(lister); };

    auto* frame = application.CreateForm<gui::TForm>();
    frame->SetFormStyle(gui::TFormStyle::fsMDIForm);
    frame->SetCaption(L"Velmora - Archivinhalt");
    frame->SetBounds(0, 0, 640, 360);
    frame->Show();

    TNullPaneHost host(frame->Handle());
    TEinstellungen settings;
    settings.LoadArcView();
    TOptionen options = settings.ArcView;
    options.IconsAnzeigen = true;
    options.Statuszeile = true;
    auto* pane = gui::Create<TZipViewForm>(frame, &host, &routinen);
    pane->SetPaneKind(ftZip);
    pane->ApplyOptions(options);
    pane->SetBounds(0, 0, frame->ClientWidth() - 4, frame->ClientHeight() - 4);
    pane->Show();
    pane->SetArchiveFile(ParamCount() >= 1 ? ParamStr(1) : std::wstring());
    pane->ReadContents();
    // Into the first folder, with its first file marked.
    for (int i = 0; i < pane->Dateiliste.Count(); ++i) {
        auto* record = static_cast<archive::TDatenSatz*>(pane->Dateiliste.Items(i)->Data);
        if (record->Unterverzeichnis) {
            pane->Dateiliste.Items(i)->SetSelected(true);
            pane->OpenSelected();
            break;
        }
    }
    for (int i = 0; i < pane->Dateiliste.Count(); ++i) {
        auto* record = static_cast<archive::TDatenSatz*>(pane->Dateiliste.Items(i)->Data);
        if (!record->Unterverzeichnis) {
            pane->Dateiliste.Items(i)->SetSelected(true);
            pane->Dateiliste.Items(i)->SetFocused(true);
            break;
        }
    }

    gui::TTimer closer(&application);
    closer.SetInterval(static_cast<unsigned>(ParamCount() >= 2 ? StrToIntDef(ParamStr(2), 20000) : 20000));
    closer.OnTimer = [frame](gui::TObject*) { frame->Close(); };
    closer.SetEnabled(true);
    application.Run();
    delete IconRoutinen;
    IconRoutinen = nullptr;
    return 0;
}
