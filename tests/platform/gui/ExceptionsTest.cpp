#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"

using namespace velmora::gui;

namespace {

struct ExceptionLog {
    std::vector<std::wstring> senders, messages;
    ExceptionLog() {
        Application->OnException = [this](TObject* sender, const velmora::Exception& e) {
            auto* c = dynamic_cast<TComponent*>(sender);
            senders.push_back(c ? c->Name() : L"?");
            messages.push_back(e.Message());
        };
    }
    ~ExceptionLog() { Application->OnException = nullptr; }
};

TEST(Exceptions, AThrowingClickHandlerReachesOnExceptionWithTheSendersName) {
    ExceptionLog log;
    TForm form(nullptr);
    TButton button(&form);
    button.SetName(L"DateiKopieren");
    button.OnClick = [](TObject*) { throw velmora::Exception(L"kaputt"); };
    form.Show();
    // Through the window procedure, as a user's click arrives.
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(log.senders.size(), 1u);
    EXPECT_EQ(log.messages[0], L"kaputt");
    // The barrier is at the button's window, whose object is the sender.
    EXPECT_EQ(log.senders[0], L"DateiKopieren");
    // The program goes on: the form still answers.
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(Exceptions, StandardExceptionsAndTimerHandlersAreCaughtToo) {
    ExceptionLog log;
    TTimer timer(nullptr);
    timer.SetName(L"ArcTimer");
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        throw std::runtime_error("zu weit");
    };
    EXPECT_TRUE(WaitUntil([&] { return !log.senders.empty(); }));
    ASSERT_EQ(log.senders.size(), 1u);
    EXPECT_EQ(log.senders[0], L"ArcTimer");
    EXPECT_EQ(log.messages[0], L"zu weit");
}

TEST(Exceptions, WithoutAHandlerTheErrorIsShownInAnErrorBox) {
    TMessageBoxRecorder boxes;
    TForm form(nullptr);
    TButton button(&form);
    button.OnClick = [](TObject*) { throw velmora::Exception(L"Ungültiger Pfad"); };
    form.Show();
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Ungültiger Pfad");
}

}  // namespace
