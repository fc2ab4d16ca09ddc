// The file-type editor and the group-marking dialog, driven inside their modal
// loops with the keys and clicks a user gives them.

#include <windows.h>

#include <gtest/gtest.h>

#include "filetools/TypenBearbeitenDlg.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

template <class T>
using Owned = std::unique_ptr<T, TComponentDeleter>;

}  // namespace

namespace {

POINT ListRow(TListBox& box, int row) {
    RECT r{};
    SendMessageW(box.Handle(), LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    // Two clicks in one place would make a double click.
    static int clicks = 0;
    return ScreenPoint(box, r.left + 6 + (clicks++ % 2) * 24, (r.top + r.bottom) / 2);
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        const SHORT scan = VkKeyScanW(c);
        PressKey(static_cast<WORD>(scan & 0xff), (scan & 0x100) ? TShiftState{ssShift} : TShiftState{0});
    }
}

}  // namespace

// The mask list's keys: Space changes the chosen mask, Insert adds one, Delete
// removes the chosen one. Cancel afterwards drops the new type only.
TEST(TypenBearbeitenDlg, TheMaskKeysEditTheChosenTypeAndCancelDropsOnlyTheNewType) {
    TDateiTypListe liste;
    DateiTypenLaden(liste);
    liste.resize(2);
    liste[1]->Masks = TStringList{L"*.txt", L"*.doc"};
    Owned<TTypenBearbeitenDlg> dlg{Create<TTypenBearbeitenDlg>(Application, liste)};
    TMessageBoxRecorder boxes;
    TModalScript script;
    auto input = [&](const std::wstring& caption, const std::wstring& text) {
        script.Step([&, caption, text](TForm& form) {
            EXPECT_EQ(form.Caption(), caption);
            dlg->Eingabe().Edit.SetText(text);
            dlg->Eingabe().OKBtn.Click();
        });
    };
    script.Step([&](TForm&) {
        SetForegroundWindow(dlg->Handle());
        EXPECT_EQ(dlg->Dateityp.Text(), L"Text-Dateien");
        MouseClick(ListRow(dlg->ListBox, 0));
        input(L"Dateifilter bearbeiten", L"*.DOC");
        PressKey(VK_SPACE);
        input(L"Dateifilter hinzufügen", L"*.LOG");
        PressKey(VK_INSERT);
        MouseClick(ListRow(dlg->ListBox, 0));
        PressKey(VK_DELETE);
        input(L"Neuer Dateityp", L"Eigene");
        dlg->NeuButton.Click();
        EXPECT_EQ(dlg->Dateityp.Text(), L"Eigene");
        EXPECT_EQ(dlg->ListBox.Items().Count(), 0);
        dlg->CancelBtn.Click();
    });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Der angegebene Filter <*.doc> gehört bereits zum Dateitypen Text-Dateien");
    ASSERT_EQ(liste.size(), 2u);
    EXPECT_EQ(MaskenText(liste[1]->Masks), L"*.doc; *.log");
}

// Chosen types give the filter text; typing in it lets go of them; a date that
// is none keeps the dialog open; masks with a folder part are dropped with one box.
TEST(FilterAuswahlDlg, ChosenTypesFillTheFilterAndBadInputIsReported) {
    TDateiTypListe liste;
    DateiTypenLaden(liste);
    liste.resize(1);
    StandardTypenAnhaengen(liste);
    Owned<TFilterAuswahlDlg> dlg{Create<TFilterAuswahlDlg>(Application, liste)};
    TMessageBoxRecorder boxes;
    TModalScript script;
    script
        .Step([&](TForm&) {
            SetForegroundWindow(dlg->Handle());
            MouseClick(ListRow(dlg->DateiTypen, 1));
            keybd_event(VK_CONTROL, 0, 0, 0);
            MouseClick(ListRow(dlg->DateiTypen, 5));
            keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
            EXPECT_EQ(dlg->DateiFilter.Text(),
                      L"*.txt; *.doc; *.asc; *.log; *.rtf; *.sdw; *.wri; *.wps; *.zip; *.lha; *.arc; *.arj; *.rar; "
                      L"*.pak; *.zoo");
            EXPECT_EQ(dlg->VordefFilterListBox.Items().Count(), 15);
            EXPECT_FALSE(dlg->Datumbeachten.Checked()) << "today's date is no edit of the user's";
            dlg->DateiFilter.SetFocus();
            dlg->DateiFilter.SelectAll();
            TypeText(L"*.txt;x\\*.doc");
            EXPECT_EQ(dlg->DateiTypen.SelCount(), 0);
            dlg->Aelteste.SetText(L"31.02.2026");
            EXPECT_TRUE(dlg->Datumbeachten.Checked());
            dlg->OKBtn.Click();
        })
        .Step([&](TForm& form) {
            EXPECT_EQ(&form, dlg.get()) << "a date that is none keeps the dialog open";
            dlg->Aelteste.SetText(dlg->Juengste.Text());
            dlg->OKBtn.Click();
        });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_FALSE(script.Failed());
    TStringList masken;
    dlg->MaskenHolen(masken);
    EXPECT_EQ(masken, (TStringList{L"*.txt"}));
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"31.02.2026 ist kein gültiges Datum!");
    EXPECT_EQ(boxes.Calls()[1].Text,
              L"Ihre Eingabe der zu markierenden Dateien enthält ungültige Angaben! Diese werden ignoriert.");
}
