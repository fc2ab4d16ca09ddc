// Drommel, the autostarter: started from the user's Startup folder at log-on.

#include <windows.h>

#include "autostart/starter/StarterForm.h"
#include "platform/gui/Application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace velmora;
    gui::TApplication app;
    gui::Application->Initialize();
    gui::Application->SetTitle(L"Autostarter");
    gui::Application->CreateForm<starter::TForm1>();
    gui::Application->Run();
    return 0;
}
