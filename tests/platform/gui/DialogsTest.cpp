#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/gui/DateEdit.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Layout.h"
#include "platform/gui/Panel.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

TButton* FindButton(TForm& form, const std::wstring& caption) {
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TButton*>(form.Components(i)); b && b->Caption() == caption) return b;
    return nullptr;
}

TEST(MessageBoxes, TheHelpButtonAsksForTheBoxsHelpContextAndKeepsItOpen) {
    Application->HelpFile = L"Velmora.hlp";
    THelpRecorder help;
    TModalScript script;
    script.Step([](TForm& box) { FindButton(box, L"&Hilfe")->Click(); })
        .Step([](TForm& box) { FindButton(box, L"OK")->Click(); });
    EXPECT_EQ(MessageDlg(L"Text", TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK, TMsgDlgBtn::mbHelp}, 64), mrOk);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].Data, 64u);
    Application->HelpFile.clear();
}

TEST(MessageBoxes, ABoxRaisedInsideAModalDialogIsRecordedToo) {
    TForm dialog(nullptr);
    TButton check(&dialog);
    TMessageBoxRecorder boxes;
    check.OnClick = [&](TObject*) {
        if (MessageDlg(L"Wirklich?", TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes)
            dialog.SetModalResult(mrOk);
    };
    boxes.Answer(mrNo);
    boxes.Answer(mrYes);
    TModalScript script;
    script.Step([&](TForm&) { check.Click(); }).Step([&](TForm&) { check.Click(); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_EQ(boxes.Calls().size(), 2u);
}

TEST(Layout, DialogUnitsFollowTheFontAndRowsKeepTheirGaps) {
    TForm form(nullptr);
    TButton a(&form), b(&form);
    TDialogLayout lay(form);
    lay.Row(8, 10, 14, {{&a, 50}, {&b, 40}}, 4);
    EXPECT_EQ(a.Left(), lay.X(8));
    EXPECT_EQ(a.Width(), lay.X(50));
    EXPECT_EQ(b.Left(), lay.X(62));
    EXPECT_EQ(b.Height(), lay.Y(14));
    form.Font.SetSize(14);
    TDialogLayout larger(form);
    EXPECT_GT(larger.X(100), lay.X(100));
    EXPECT_GT(larger.Y(100), lay.Y(100));
}

TEST(Panels, AlignedChildrenStayInsideBorderAndBevels) {
    TForm form(nullptr);
    TPanel panel(&form);
    panel.SetBounds(0, 0, 100, 60);
    panel.SetBorderWidth(3);
    panel.SetBevelInner(TBevelCut::bvLowered);
    TPanel inner(&panel);
    inner.SetAlign(TAlign::alClient);
    EXPECT_EQ(inner.Left(), 5);
    EXPECT_EQ(inner.Top(), 5);
    EXPECT_EQ(inner.Width(), 90);
    EXPECT_EQ(inner.Height(), 50);
}

TEST(ComboBoxes, OnlyTheUsersChoiceFiresOnChange) {
    TForm form(nullptr);
    TComboBox combo(&form);
    combo.SetStyle(TComboBoxStyle::csDropDownList);
    combo.SetItems({L"Name", L"Größe", L"Datum"});
    int changes = 0;
    combo.OnChange = [&](TObject*) { ++changes; };
    form.Show();
    combo.SetItemIndex(1);
    EXPECT_EQ(changes, 0);
    SendMessageW(combo.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(combo.ItemIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST(DateEdits, TheDateGoesInAndComesBack) {
    TForm form(nullptr);
    TDateEdit date(&form);
    auto value = velmora::TryEncodeDateTime({1997, 3, 31}).value();
    date.SetDate(value);
    form.Show();
    SYSTEMTIME st{};
    SendMessageW(date.Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(st.wYear, 1997);
    EXPECT_EQ(st.wMonth, 3);
    EXPECT_EQ(st.wDay, 31);
    EXPECT_EQ(date.Date(), value);
}

TEST(Memos, LinesGoInAndComeBack) {
    TForm form(nullptr);
    TMemo memo(&form);
    memo.SetLines({L"erste", L"zweite"});
    memo.AddLine(L"dritte");
    form.Show();
    EXPECT_EQ(memo.Lines(), (velmora::TStringList{L"erste", L"zweite", L"dritte"}));
}

}  // namespace
