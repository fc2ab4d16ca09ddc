// Two forms with the main window's caption parts: the first stays inactive, the
// second (with a caption text) is active.
#include <windows.h>

#include "foundation/controls/Wordcap.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

using namespace velmora;

namespace {

TMSOfficeCaption* AddCaption(gui::TForm* form, const std::wstring& text) {
    auto* caption = gui::Create<TMSOfficeCaption>(form);
    caption->CompanyText.SetFontKind(TFontKind::fkSystemBI);
    caption->CompanyText.SetCaption(L"Velmora");
    caption->AppNameText.SetFontKind(TFontKind::fkSystemB);
    caption->AppNameText.SetCaption(L"-");
    caption->CaptionText.SetCaption(text);
    return caption;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    auto* inactive = application.CreateForm<gui::TForm>();
    inactive->SetBounds(40, 40, 500, 160);
    AddCaption(inactive, L"");
    auto* active = application.CreateForm<gui::TForm>();
    active->SetBounds(40, 240, 500, 160);
    AddCaption(active, L"C:\\Daten")->SetNumColors(8);
    inactive->Show();
    active->Show();
    application.Run();
    return 0;
}
