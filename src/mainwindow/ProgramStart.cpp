#include "ProgramStart.h"

#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shlobj.h>

#include <memory>

#include "foundation/DefaultUserStore.h"
#include "foundation/Fehlercode.h"
#include "foundation/IconRoutinen.h"
#include "foundation/RegistryEnhanced.h"
#include "foundation/ShellLink.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

#include "MainForm.h"
#include "SplashScreen.h"

namespace velmora {

// OLE for the GUI thread, before the first window: drag and drop need it.
static bool g_oleStarted = false;

void VelmoraStartUp() {
    InitFehlercode();
    g_oleStarted = SUCCEEDED(OleInitialize(nullptr));
}

void VelmoraShutDown() {
    if (g_oleStarted) OleUninitialize();
    g_oleStarted = false;
}

bool IsFirstRunCall(const std::vector<std::wstring>& arguments) {
    return arguments.size() == 1 && arguments[0] == ErsterAufruf;
}

std::wstring ProgramFolder(const std::wstring& programFile) {
    std::wstring folder = ExtractFilePath(programFile);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder + L"\\";
}

void WriteProgramPath(const std::wstring& programFile) {
    RegWriteUserValue(ProgrammSchluessel, L"Pfad", ProgramFolder(programFile));
}

void WriteUninstallEntry() {
    // Freed on every path out, also when a write raises.
    auto registry = std::make_unique<TRegistryEnhanced>();
    registry->RootKey = TRootKey::hkLocalMachine;
    registry->Key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
    registry->WriteValue(L"DisplayName", std::wstring(L"Velmora - BETA"));
    registry->WriteValue(L"UninstallString", std::wstring(L"Velmora_Uninst.exe"));
}

// The file-system path of the start menu's "Programs" folder, or empty.
static std::wstring ProgramsFolder() {
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PROGRAMS, &pidl)) || !pidl) return {};
    wchar_t path[MAX_PATH] = {};
    BOOL ok = SHGetPathFromIDListW(pidl, path);
    CoTaskMemFree(pidl);
    return ok ? std::wstring(path) : std::wstring();
}

void FirstRunRegistration(const std::wstring& programFile) {
    WriteUninstallEntry();
    std::wstring programs = ProgramsFolder();
    if (programs.empty()) return;
    HRESULT hr = CoInitialize(nullptr);
    if (hr != S_OK && hr != S_FALSE) return;
    std::wstring folder = IncludeTrailingBackslash(programs) + L"Velmora";
    ForceDirectories(folder);
    CreateShellLink(programFile, folder + L"\\Velmora.lnk", L"Velmora");
    CreateShellLink(ProgramFolder(programFile) + L"Velmora.hlp", folder + L"\\Velmora - Hilfedatei.lnk",
                    L"Velmora - Hilfedatei");
    CoUninitialize();
}

static void CreateMainWindow() { gui::Application->CreateForm<THauptform>(); }

static void RunApplication() {
    // Built while the splash and the main window are made.
    SystemImageListsVorbereiten();
    gui::TApplication application;
    application.Initialize();
    std::unique_ptr<TSplash, gui::TComponentDeleter> splash(gui::Create<TSplash>(&application));
    splash->Show();
    splash->Update();
    application.SetTitle(L"Velmora");
    try {
        THauptform::StartsFrameFirst = true;
        CreateMainWindow();
        // The splash goes when the main window stands: no empty screen between.
        if (Hauptform)
            Hauptform->ShowFrameFirst();
    } catch (...) {
        splash.reset();
        throw;
    }
    splash.reset();
    if (Hauptform)
        Hauptform->FillDeferredPanes();
    application.Run();
}

// The class library's last resort: the message in an error box, and the end.
static void ReportFatal(const std::wstring& message) {
    gui::MessageDlg(message, gui::TMsgDlgType::mtError, {gui::TMsgDlgBtn::mbOK});
}

int RunVelmora() {
    VelmoraStartUp();
    int code = 0;
    try {
        std::wstring programFile = ParamStr(0);
        WriteProgramPath(programFile);
        std::vector<std::wstring> arguments;
        for (int i = 1; i <= ParamCount(); ++i) arguments.push_back(ParamStr(i));
        if (IsFirstRunCall(arguments)) FirstRunRegistration(programFile);
        else RunApplication();
    } catch (const Exception& e) {
        ReportFatal(e.Message());
        code = 1;
    } catch (const std::exception& e) {
        ReportFatal(FromUtf8(e.what()));
        code = 1;
    }
    VelmoraShutDown();
    return code;
}

}  // namespace velmora
