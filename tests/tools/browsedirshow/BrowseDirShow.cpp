// Sample file labels in a window, or the folder browser on its own.
#include <windows.h>

#include "foundation/controls/BrowseDr.h"
#include "foundation/controls/FileLbl.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

namespace {

class TLabelsForm : public gui::TForm {
public:
    explicit TLabelsForm(gui::TComponent* owner)
        : TForm(owner), Full(this), FromLeft(this), FromRight(this), Narrow(this), Prompt(this) {
        SetCaption(L"Dateibeschriftungen");
        Position = gui::TPosition::poScreenCenter;
        SetClientSize(420, 150);
        const std::wstring path = L"c:\\Programme\\Velmora\\Archive\\Sicherung\\bericht.txt";
        Place(Full, 10, 400, path, TDirection::drFromLeft);
        Place(FromLeft, 35, 200, path, TDirection::drFromLeft);
        Place(FromRight, 60, 200, path, TDirection::drFromRight);
        Place(Narrow, 85, 60, path, TDirection::drFromLeft);
        Place(Prompt, 110, 150, L"c:\\a&b\\eigene dateien>", TDirection::drFromLeft);
        Prompt.ShowAccelChar = false;
    }
    TFileLabel Full, FromLeft, FromRight, Narrow, Prompt;

private:
    void Place(TFileLabel& label, int top, int width, const std::wstring& path, TDirection direction) {
        label.SetParent(this);
        label.ParentColor = false;
        label.SetColor(gui::clWhite);
        label.SetBounds(10, top, width, 18);
        label.SetDirection(direction);
        label.SetFileName(path);
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    CoInitialize(nullptr);
    gui::TApplication application;
    if (ParamCount() >= 1 && ParamStr(1) == L"browse") {
        TBrowseDirectoryDlg browser(nullptr);
        browser.Options = bfDirectoriesOnly;
        browser.Title = L"Bitte wählen Sie den Ordner, in den die Dateien extrahiert werden sollen:";
        browser.SetCaption(L"Ordner suchen");
        browser.SetStatusText(L"C:\\windows\\system32\\drivers\\etc");
        browser.SetSelection(L"C:\\windows\\system32");
        browser.Execute();
        return 0;
    }
    application.CreateForm<TLabelsForm>();
    application.Run();
    return 0;
}
