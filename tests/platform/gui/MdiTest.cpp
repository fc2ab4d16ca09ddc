#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Panel.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/Testing.h"

using namespace velmora::gui;

namespace {

class TFrame : public TForm {
public:
    explicit TFrame(TComponent* owner) : TForm(owner), Toolbar(this), Status(this) {
        SetCaption(L"Rahmen");
        SetFormStyle(TFormStyle::fsMDIForm);
        Toolbar.SetHeight(40);
        Toolbar.SetAlign(TAlign::alTop);
        SetClientSize(600, 400);
    }
    TPanel Toolbar;
    TStatusBar Status;
};

class TPane : public TForm {
public:
    explicit TPane(TComponent* owner) : TForm(owner) {
        SetFormStyle(TFormStyle::fsMDIChild);
        BorderStyle = TBorderStyle::bsSizeToolWin;
        // Panes are closed by the program only.
        OnClose = [this](TObject*, TCloseAction& action) {
            ++CloseAttempts;
            action = TCloseAction::caNone;
        };
        OnActivate = [this](TObject*) { ++Activations; };
    }
    int CloseAttempts = 0, Activations = 0;
};

TEST(Mdi, TheClientFillsWhatTheAlignedBarsLeaveAndChildrenStayUntilFreed) {
    std::unique_ptr<TFrame, TComponentDeleter> frame(Create<TFrame>(nullptr));
    Application->SetMainForm(frame.get());
    frame->Show();
    ASSERT_NE(frame->ClientHandle(), nullptr);
    RECT client;
    GetWindowRect(frame->ClientHandle(), &client);
    MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(client.top, 40);
    EXPECT_EQ(client.bottom, frame->ClientHeight() - frame->Status.Height());
    EXPECT_EQ(client.right - client.left, frame->ClientWidth());

    auto* left = Create<TPane>(frame.get());
    left->SetBounds(0, 0, 300, 200);
    left->Show();
    auto* right = Create<TPane>(frame.get());
    right->SetBounds(300, 0, 290, 200);
    right->Show();
    EXPECT_EQ(GetParent(left->Handle()), frame->ClientHandle());
    EXPECT_EQ(frame->MDIChildCount(), 2);
    left->BringToFront();
    EXPECT_EQ(frame->ActiveMDIChild(), left);
    EXPECT_GT(left->Activations, 0);

    SendMessageW(left->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(left->CloseAttempts, 1);
    EXPECT_TRUE(IsWindowVisible(left->Handle()));
    RECT r;
    GetWindowRect(left->Handle(), &r);
    MapWindowPoints(nullptr, frame->ClientHandle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right - r.left, 300);

    left->Free();
    EXPECT_EQ(frame->MDIChildCount(), 1);
    right->Free();
    EXPECT_EQ(frame->MDIChildCount(), 0);
    EXPECT_FALSE(Application->Terminated());
    Application->SetMainForm(nullptr);
}

}  // namespace
