// Shows a row of explorer buttons with captions and a row as on the toolbar
// (pictures only), one of each look. The hot and the pressed look come from
// mouse messages posted to the window, so the real pointer must stay away.
#include <windows.h>

#include <memory>

#include "foundation/controls/ExplBtn.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"

using namespace velmora;

namespace {

// A 16 by 16 folder on the transparent colour (the bottom-left pixel).
std::unique_ptr<gui::TBitmap> Folder(COLORREF body) {
    auto bitmap = std::make_unique<gui::TBitmap>(16, 16);
    HDC dc = bitmap->Canvas().Handle();
    auto fill = [dc](RECT r, COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
    };
    fill({0, 0, 16, 16}, RGB(255, 0, 255));
    fill({1, 3, 7, 5}, RGB(0, 0, 0));
    fill({1, 4, 15, 14}, RGB(0, 0, 0));
    fill({2, 5, 14, 13}, body);
    fill({2, 5, 14, 6}, RGB(255, 255, 255));
    return bitmap;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    auto* form = application.CreateForm<gui::TForm>();
    form->SetCaption(L"ExplBtnShow");
    form->SetBounds(0, 0, 440, 170);
    auto* menu = new gui::TPopupMenu(form);
    menu->Items().Add(new gui::TMenuItem(form, L"&Eintrag"));
    const wchar_t* captions[] = {L"Normal", L"Hei\u00DF", L"&Gedr\u00FCckt", L"Unten", L"Gesperrt", L"Men\u00FC"};
    TExplorerButton* row[6]{};
    TExplorerButton* icons[6]{};
    for (int i = 0; i < 6; ++i) {
        auto* b = new TExplorerButton(form);
        b->SetBounds(8 + i * 68, 8, 64, 50);
        b->SetCaption(captions[i]);
        b->SetOptions(boShowBevel | boPopupMark);
        b->Bitmap.SetGraphic(Folder(RGB(255, 255, 0)));
        b->Hint = captions[i];
        row[i] = b;
        auto* s = new TExplorerButton(form);
        s->SetBounds(8 + i * 30, 80, 26, 26);
        s->SetOptions(boShowBevel | boPopupMark | boIconOnly);
        s->Bitmap.SetGraphic(Folder(RGB(0, 160, 255)));
        icons[i] = s;
    }
    for (TExplorerButton* b : {row[3], icons[3]}) {
        b->SetGroupIndex(1);
        b->SetDown(true);
    }
    row[4]->SetEnabled(false);
    icons[4]->SetEnabled(false);
    row[5]->SetDropDownMenu(menu);
    icons[5]->SetDropDownMenu(menu);
    auto* wide = new TExplorerButton(form);
    wide->SetBounds(200, 76, 120, 34);
    wide->SetCaption(L"Links im Bild");
    wide->SetLayout(TExplorerButtonLayout::blBitmapLeft);
    wide->SetOptions(boShowBevel | boMonoDisplay);
    wide->Bitmap.SetGraphic(Folder(RGB(255, 0, 0)));
    wide->SetUnselectedFontColor(gui::clGray);

    form->Show();
    // Hover over the second button, then press the third (the press takes no hover).
    auto at = [](gui::TControl* c) { return MAKELPARAM(c->Left() + 5, c->Top() + 5); };
    PostMessageW(form->Handle(), WM_MOUSEMOVE, 0, at(row[1]));
    PostMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at(row[2]));
    application.Run();
    return 0;
}
