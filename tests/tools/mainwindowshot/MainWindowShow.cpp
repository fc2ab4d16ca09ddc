// Shows Velmora's main window on its own, for the screenshot of the test tooling
// (tools/mainwindow-screenshot.sh): the window as the program start creates it.

#include <windows.h>
#include <objbase.h>

#include "foundation/Fehlercode.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    velmora::InitFehlercode();
    OleInitialize(nullptr);
    {
        velmora::gui::TApplication application;
        application.SetTitle(L"Velmora");
        application.CreateForm<velmora::THauptform>();
        application.Run();
    }
    OleUninitialize();
    return 0;
}
