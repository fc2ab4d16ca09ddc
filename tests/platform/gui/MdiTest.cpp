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

// A user clicks into a control of the inactive pane: that pane becomes the
// active child, as when its frame is clicked.
TEST(Mdi, AClickOnAControlOfAnInactiveChildActivatesIt) {
    std::unique_ptr<TFrame, TComponentDeleter> frame(Create<TFrame>(nullptr));
    Application->SetMainForm(frame.get());
    frame->Show();
    auto* left = Create<TPane>(frame.get());
    left->SetBounds(0, 0, 300, 200);
    left->Show();
    auto* right = Create<TPane>(frame.get());
    right->SetBounds(300, 0, 290, 200);
    auto* inside = Create<TPanel>(right);
    inside->SetParent(right);
    inside->SetAlign(TAlign::alClient);
    right->Show();
    left->BringToFront();
    ASSERT_EQ(frame->ActiveMDIChild(), left);

    SetForegroundWindow(frame->Handle());
    RECT r;
    GetWindowRect(inside->Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
    EXPECT_TRUE(WaitUntil([&] { return frame->ActiveMDIChild() == right; }));

    left->Free();
    right->Free();
    Application->SetMainForm(nullptr);
}

TEST(Forms, WindowStateAndNormalBoundsAndMinimumTrackingSize) {
    TForm form(nullptr);
    form.SetBounds(50, 60, 400, 300);
    form.MinWidth = 250;
    form.MinHeight = 200;
    form.Show();
    form.SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
    RECT normal = form.NormalBounds();
    EXPECT_EQ(normal.right - normal.left, 400);
    EXPECT_EQ(normal.top, 60);
    form.SetWindowState(TWindowState::wsNormal);
    EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
    MINMAXINFO info{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 250);
    EXPECT_EQ(info.ptMinTrackSize.y, 200);
}

}  // namespace
