#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

TEST(MessageBoxes, TheRecorderLogsKindTextAndHelpContextAndAnswers) {
    TMessageBoxRecorder boxes;
    boxes.Answer(mrNo);
    EXPECT_EQ(MessageDlg(L"Sollen die Dateien gelöscht werden?", TMsgDlgType::mtConfirmation,
                         {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 88),
              mrNo);
    EXPECT_EQ(MessageDlg(L"Datei nicht gefunden", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}), mrOk);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(boxes.Calls()[0].Caption, L"Bestätigen");
    EXPECT_EQ(boxes.Calls()[0].Text, L"Sollen die Dateien gelöscht werden?");
    EXPECT_EQ(boxes.Calls()[0].HelpContext, 88);
    EXPECT_EQ(boxes.Calls()[1].Caption, L"Fehler");
    EXPECT_EQ(boxes.Unanswered(), 1);
}

TEST(MessageBoxes, ButtonsAreGermanWhateverTheSystemLanguage) {
    EXPECT_EQ(MsgDlgButtonCaption(TMsgDlgBtn::mbOK), L"OK");
    EXPECT_EQ(MsgDlgButtonCaption(TMsgDlgBtn::mbCancel), L"Abbrechen");
    EXPECT_EQ(MsgDlgButtonCaption(TMsgDlgBtn::mbYes), L"&Ja");
    EXPECT_EQ(MsgDlgButtonCaption(TMsgDlgBtn::mbNo), L"&Nein");
    EXPECT_EQ(MsgDlgTypeCaption(TMsgDlgType::mtWarning), L"Warnung");
    EXPECT_EQ(MsgDlgTypeCaption(TMsgDlgType::mtInformation), L"Information");
}

// The real box is a form of the library: a script can press its buttons.
TEST(MessageBoxes, TheRealBoxShowsGermanButtonsAndReturnsThePressedOne) {
    std::vector<std::wstring> captions;
    TModalScript script;
    script.Step([&](TForm& box) {
        for (int i = 0; i < box.ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(box.Components(i))) captions.push_back(b->Caption());
    });
    script.Step([&](TForm& box) {
        for (int i = 0; i < box.ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TButton*>(box.Components(i)); b && b->Caption() == L"&Nein") b->Click();
    });
    int result = MessageDlg(L"Überschreiben?", TMsgDlgType::mtConfirmation,
                            {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo, TMsgDlgBtn::mbCancel});
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"&Ja", L"&Nein", L"Abbrechen"}));
    EXPECT_FALSE(script.Failed());
}

TEST(MessageBoxes, EscapeOnAYesNoBoxAnswersNo) {
    TModalScript script;
    script.Step([](TForm& box) { PostMessageW(box.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    script.Step([](TForm& box) {
        if (HWND focus = GetFocus()) PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
        (void)box;
    });
    EXPECT_EQ(MessageDlg(L"Weiter?", TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}), mrNo);
}

TEST(MessageBoxes, InputQueryReturnsTheTypedTextOnlyAfterOK) {
    std::wstring value = L"alt";
    {
        TModalScript script;
        script.Step([](TForm& f) {
            dynamic_cast<TWinControl*>(f.FindComponent(L"Value"))->SetText(L"neu");
            dynamic_cast<TButton*>(f.FindComponent(L"OKBtn"))->Click();
        });
        EXPECT_TRUE(InputQuery(L"Titel", L"Name:", value));
        EXPECT_EQ(value, L"neu");
    }
    {
        TModalScript script;
        script.Step([](TForm& f) {
            dynamic_cast<TWinControl*>(f.FindComponent(L"Value"))->SetText(L"verworfen");
            dynamic_cast<TButton*>(f.FindComponent(L"CancelBtn"))->Click();
        });
        EXPECT_EQ(InputBox(L"Titel", L"Name:", L"vorgabe"), L"vorgabe");
    }
}

}  // namespace
