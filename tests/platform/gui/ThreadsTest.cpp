#include <gtest/gtest.h>

#include <atomic>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Threads.h"

using namespace velmora::gui;

namespace {

class TCounter : public TThread {
public:
    explicit TCounter(int calls) : TThread(true), m_calls(calls) {}
    ~TCounter() override { StopAndWait(); }
    std::atomic<int> Synced{0};
    DWORD GuiThread = GetCurrentThreadId();
    bool RanInGuiThread = true;

protected:
    void Execute() override {
        for (int i = 0; i < m_calls && !Terminated(); ++i)
            Synchronize([this] {
                if (GetCurrentThreadId() != GuiThread) RanInGuiThread = false;
                ++Synced;
            });
    }

private:
    int m_calls;
};

TEST(Threads, SynchronizeRunsInTheGuiThreadThroughTheMessageLoop) {
    TCounter thread(5);
    thread.Resume();
    EXPECT_TRUE(WaitUntil([&] { return thread.Synced == 5; }));
    EXPECT_TRUE(thread.RanInGuiThread);
    thread.WaitFor();
}

TEST(Threads, WaitForServesSynchronisedCallsInsteadOfDeadlocking) {
    TCounter thread(50);
    bool terminated = false;
    thread.OnTerminate = [&](TObject*) { terminated = GetCurrentThreadId() == thread.GuiThread; };
    thread.Resume();
    thread.WaitFor();  // no message loop runs here
    EXPECT_EQ(thread.Synced, 50);
    EXPECT_TRUE(terminated);
}

// Takes one round per token and says when it comes to its pause check, so that
// a test knows the thread stands at the check with the pause already set.
class TPausable : public TThread {
public:
    explicit TPausable(std::atomic<int>* rounds) : Rounds(rounds) {}
    ~TPausable() override {
        Terminate();
        ReleaseSemaphore(Go, 1, nullptr);
        StopAndWait();
        CloseHandle(Go);
        CloseHandle(AtCheck);
    }
    HANDLE Go = CreateSemaphoreW(nullptr, 0, 100, nullptr);
    HANDLE AtCheck = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int>* Rounds;

protected:
    void Execute() override {
        while (WaitForSingleObject(Go, INFINITE) == WAIT_OBJECT_0) {
            SetEvent(AtCheck);
            if (!CheckPause()) return;
            ++*Rounds;
        }
    }
};

TEST(Threads, APausedThreadMakesNoProgressUntilResumedAndEndsWhenFreed) {
    std::atomic<int> rounds{0};
    auto thread = std::make_unique<TPausable>(&rounds);
    thread->Resume();
    thread->Suspend();
    ReleaseSemaphore(thread->Go, 1, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread->AtCheck, 10000), WAIT_OBJECT_0);
    thread->Resume();
    ASSERT_TRUE(WaitUntil([&] { return rounds > 0; }));
    // Paused again at the check; freeing it terminates, wakes and waits.
    thread->Suspend();
    ReleaseSemaphore(thread->Go, 1, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread->AtCheck, 10000), WAIT_OBJECT_0);
    HANDLE ended = nullptr;
    DuplicateHandle(GetCurrentProcess(), thread->Handle(), GetCurrentProcess(), &ended, SYNCHRONIZE, FALSE, 0);
    {
        THangGuard guard(L"a paused thread freed");
        thread.reset();
    }
    EXPECT_EQ(WaitForSingleObject(ended, 0), WAIT_OBJECT_0);  // ended, not merely let go
    CloseHandle(ended);
    EXPECT_EQ(rounds, 1);  // the round after the resume, none while paused
}

class TSelfFreeing : public TThread {
public:
    explicit TSelfFreeing(bool* freed) : m_freed(freed) { FreeOnTerminate = true; }
    ~TSelfFreeing() override {
        StopAndWait();
        *m_freed = true;
    }

protected:
    void Execute() override {}

private:
    bool* m_freed;
};

TEST(Threads, AThreadThatFreesItselfDoesSoInTheGuiThreadAfterOnTerminate) {
    bool freed = false, terminated = false;
    auto* thread = new TSelfFreeing(&freed);
    thread->OnTerminate = [&](TObject*) { terminated = !freed; };
    thread->Resume();
    EXPECT_TRUE(WaitUntil([&] { return freed; }));
    EXPECT_TRUE(terminated);
}

class TThrower : public TThread {
public:
    ~TThrower() override { StopAndWait(); }

protected:
    void Execute() override { throw velmora::Exception(L"im Faden"); }
};

TEST(Threads, AnExceptionInExecuteReachesTheApplicationHandler) {
    std::wstring message;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, const velmora::Exception& e) {
        sender = s;
        message = e.Message();
    };
    TThrower thread;
    thread.Resume();
    thread.WaitFor();
    EXPECT_EQ(message, L"im Faden");
    EXPECT_EQ(sender, &thread);
    Application->OnException = nullptr;
}

TEST(Threads, AThreadNeverStartedIsFreedWithoutRunningOrTelling) {
    THangGuard guard(L"Freigabe eines nie gestarteten Fadens mit OnTerminate");
    bool terminated = false;
    {
        TCounter thread(3);
        thread.OnTerminate = [&](TObject*) { terminated = true; };
    }
    EXPECT_FALSE(terminated);
}

// Asks a window of the GUI thread for an answer, as a shell call of a worker may.
class TAsker : public TThread {
public:
    explicit TAsker(HWND target) : m_target(target) {}
    ~TAsker() override { StopAndWait(); }
    std::atomic<bool> Answered{false};

protected:
    void Execute() override {
        DWORD_PTR result = 0;
        Answered = SendMessageTimeoutW(m_target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
    }

private:
    HWND m_target;
};

TEST(Threads, WaitForAnswersMessagesTheThreadSendsToOurWindows) {
    TForm form(nullptr);
    TAsker thread(form.Handle());
    thread.Resume();
    thread.WaitFor();
    EXPECT_TRUE(thread.Answered);
}

}  // namespace
