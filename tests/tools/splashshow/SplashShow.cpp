// Shows TSplash until it is closed, or for the milliseconds given as argument.
#include <windows.h>

#include "mainwindow/SplashScreen.h"
#include "platform/gui/Application.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    auto* splash = application.CreateForm<TSplash>();
    gui::TTimer closer(&application);
    closer.SetEnabled(false);
    if (ParamCount() >= 1) {
        closer.SetInterval(static_cast<unsigned>(StrToIntDef(ParamStr(1), 10000)));
        closer.OnTimer = [splash](gui::TObject*) { splash->Close(); };
        closer.SetEnabled(true);
    }
    application.Run();
    return 0;
}
