// Kelvane, the autostart manager, started from the file manager's menu.

#include <windows.h>

#include "autostart/manager/Unit1.h"
#include "platform/gui/Application.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace velmora;
    gui::TApplication app;
    gui::Application->Initialize();
    gui::Application->SetTitle(L"Autostartmanager");
    gui::Application->CreateForm<manager::TForm1>(ExtractFilePath(ParamStr(0)));
    gui::Application->Run();
    return 0;
}
