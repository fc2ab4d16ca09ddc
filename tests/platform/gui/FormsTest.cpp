#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Edits.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Layout.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

// A dialog as the Parts write them: validation in the close handler after OK.
class TAskDlg : public TForm {
public:
    explicit TAskDlg(TComponent* owner) : TForm(owner), NameEdit(this), OKBtn(this), CancelBtn(this) {
        SetName(L"AskDlg");
        BorderStyle = TBorderStyle::bsDialog;
        Position = TPosition::poScreenCenter;
        SetCaption(L"Frage");
        TDialogLayout lay(*this);
        lay.Place(NameEdit, 8, 8, 120, 12);
        OKBtn.SetCaption(L"OK");
        OKBtn.ModalResult = mrOk;
        OKBtn.Default = true;
        CancelBtn.SetCaption(L"Abbrechen");
        CancelBtn.ModalResult = mrCancel;
        CancelBtn.Cancel = true;
        lay.Row(8, 28, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
        lay.SetClientSize(*this, 136, 50);
        OnCreate = bind(this, &TAskDlg::FormCreate);
        OnShow = bind(this, &TAskDlg::FormShow);
        OnClose = bind(this, &TAskDlg::FormClose);
        OKBtn.OnClick = bind(this, &TAskDlg::OKBtnClick);
    }
    TEdit NameEdit;
    TButton OKBtn, CancelBtn;
    int Created = 0, Shown = 0, CloseCalls = 0;
    bool OKPressed = false;
    bool CloseFromShow = false;

private:
    void FormCreate(TObject*) { ++Created; }
    void FormShow(TObject*) {
        ++Shown;
        OKPressed = false;
        if (CloseFromShow) Close();
    }
    void OKBtnClick(TObject*) { OKPressed = true; }
    void FormClose(TObject*, TCloseAction& action) {
        ++CloseCalls;
        if (OKPressed && NameEdit.Text().empty()) {
            OKPressed = false;
            action = TCloseAction::caNone;
        }
    }
};

using Dialog = std::unique_ptr<TAskDlg, TComponentDeleter>;

TEST(Forms, ButtonsAndCloseGiveTheirModalResults) {
    Dialog dlg(Create<TAskDlg>(nullptr));
    EXPECT_EQ(dlg->Created, 1);
    {
        TModalScript script;
        script.Step([&](TForm&) { dlg->NameEdit.SetText(L"x"); }).Step([&](TForm&) { dlg->OKBtn.Click(); });
        EXPECT_EQ(dlg->ShowModal(), mrOk);
        EXPECT_FALSE(script.Failed());
    }
    {
        TModalScript script;
        script.Step([&](TForm&) { dlg->CancelBtn.Click(); });
        EXPECT_EQ(dlg->ShowModal(), mrCancel);
    }
    {
        TModalScript script;
        script.Step([&](TForm& f) { f.Close(); });
        EXPECT_EQ(dlg->ShowModal(), mrCancel);
    }
    {
        TModalScript script;
        script.Step([&](TForm& f) { f.SetModalResult(mrYes); });
        EXPECT_EQ(dlg->ShowModal(), mrYes);
    }
    EXPECT_EQ(dlg->Shown, 4);
    EXPECT_EQ(dlg->CloseCalls, 4);
    EXPECT_FALSE(dlg->Visible());
}

TEST(Forms, EnterAndEscapeReachDefaultAndCancelButtons) {
    Dialog dlg(Create<TAskDlg>(nullptr));
    dlg->NameEdit.SetText(L"x");
    TModalScript script;
    script.Step([&](TForm&) { dlg->NameEdit.SetFocus(); })
        .Step([&](TForm&) { PostMessageW(dlg->NameEdit.Handle(), WM_KEYDOWN, VK_RETURN, 0); });
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_TRUE(dlg->OKPressed);
    TModalScript script2;
    script2.Step([&](TForm&) { PostMessageW(dlg->NameEdit.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
}

TEST(Forms, ARefusingCloseHandlerKeepsTheFormOpen) {
    Dialog dlg(Create<TAskDlg>(nullptr));
    bool stillOpen = false;
    TModalScript script;
    script.Step([&](TForm&) { dlg->OKBtn.Click(); })  // empty name: refused
        .Step([&](TForm&) { stillOpen = dlg->Visible() && !Application->ModalStack.empty(); })
        .Step([&](TForm&) { dlg->CancelBtn.Click(); });
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(dlg->CloseCalls, 2);
    EXPECT_FALSE(script.Failed());
}

TEST(Forms, CloseFromOnShowEndsTheModalLoop) {
    Dialog dlg(Create<TAskDlg>(nullptr));
    dlg->CloseFromShow = true;
    TModalScript script(3000);
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_FALSE(script.Failed());
}

TEST(Forms, AModalScriptFailsInsteadOfHangingWhenTheFormStaysOpen) {
    Dialog dlg(Create<TAskDlg>(nullptr));
    TModalScript script(300);
    script.Step([&](TForm&) { dlg->OKBtn.Click(); });  // refused: the form stays
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    ASSERT_TRUE(script.Failed());
    EXPECT_EQ(script.Failures()[0], L"Das Fenster \"AskDlg\" blieb offen.");
}

TEST(Forms, ModelessCloseHidesAndCaFreeFreesLater) {
    auto* form = Create<TForm>(nullptr);
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->Close();
    EXPECT_FALSE(destroyed);  // handlers may still be on the stack
    EXPECT_TRUE(WaitUntil([&] { return destroyed; }));
}

TEST(Forms, ClientSizeHoldsBeforeAndAfterTheWindowExists) {
    TForm form(nullptr);
    form.BorderStyle = TBorderStyle::bsDialog;
    form.SetClientSize(412, 112);
    EXPECT_EQ(form.ClientWidth(), 412);
    form.HandleNeeded();
    EXPECT_EQ(form.ClientWidth(), 412);
    EXPECT_EQ(form.ClientHeight(), 112);
}

TEST(Forms, F1AsksForTheFocusedControlsHelpContext) {
    Application->HelpFile = L"Velmora.hlp";
    THelpRecorder help;
    Dialog dlg(Create<TAskDlg>(nullptr));
    dlg->HelpContext = 7;
    dlg->NameEdit.HelpContext = 12;
    dlg->NameEdit.SetText(L"x");
    TModalScript script;
    script.Step([&](TForm&) { dlg->NameEdit.SetFocus(); })
        .Step([&](TForm&) { PostMessageW(dlg->NameEdit.Handle(), WM_KEYDOWN, VK_F1, 0); })
        .Step([&](TForm&) { dlg->CancelBtn.SetFocus(); })
        .Step([&](TForm&) { PostMessageW(dlg->CancelBtn.Handle(), WM_KEYDOWN, VK_F1, 0); })
        .Step([&](TForm&) { dlg->CancelBtn.Click(); });
    dlg->ShowModal();
    ASSERT_EQ(help.Calls().size(), 2u);
    EXPECT_EQ(help.Calls()[0].File, L"Velmora.hlp");
    EXPECT_EQ(help.Calls()[0].Command, static_cast<UINT>(HELP_CONTEXT));
    EXPECT_EQ(help.Calls()[0].Data, 12u);
    EXPECT_EQ(help.Calls()[1].Data, 7u);
    Application->HelpFile.clear();
}

}  // namespace
