#include <gtest/gtest.h>

#include "platform/gui/Application.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"

using namespace velmora::gui;

namespace {

struct Tracked : TComponent {
    Tracked(TComponent* owner, std::vector<std::wstring>* log, std::wstring name) : TComponent(owner), m_log(log) {
        SetName(std::move(name));
    }
    ~Tracked() override { m_log->push_back(Name()); }
    std::vector<TComponent*> removed;

protected:
    void Notification(TComponent* c, TOperation op) override {
        if (op == TOperation::opRemove) removed.push_back(c);
    }

private:
    std::vector<std::wstring>* m_log;
};

TEST(Components, AnOwnerFreesWhatItOwnsAndMembersLeaveOnTheirOwn) {
    std::vector<std::wstring> freed;
    {
        Tracked owner(nullptr, &freed, L"owner");
        Tracked member(&owner, &freed, L"member");  // destroyed first, leaves the owner
        new Tracked(&owner, &freed, L"a");
        new Tracked(&owner, &freed, L"b");
        EXPECT_EQ(owner.ComponentCount(), 3);
        EXPECT_EQ(owner.FindComponent(L"b")->Name(), L"b");
    }
    EXPECT_EQ(freed, (std::vector<std::wstring>{L"member", L"owner", L"b", L"a"}));
}

TEST(Components, AFreeNotificationTellsOfTheRemoval) {
    std::vector<std::wstring> freed;
    Tracked watcher(nullptr, &freed, L"watcher");
    auto* watched = new Tracked(nullptr, &freed, L"watched");
    watcher.FreeNotification(watched);
    watched->Free();
    ASSERT_EQ(watcher.removed.size(), 1u);
    EXPECT_EQ(watcher.removed[0], watched);
}

TEST(Components, FreeingAFormFiresOnDestroyWhileItsControlsStillExist) {
    auto* form = Create<TForm>(nullptr);
    auto* button = new TButton(form);
    button->SetCaption(L"Schließen");
    std::wstring seen;
    form->OnDestroy = [&](TObject*) { seen = button->Caption(); };
    FreeAndNil(form);
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(seen, L"Schließen");
}

TEST(Components, OnCreateRunsOnceAfterTheConstructor) {
    struct TCounted : TForm {
        explicit TCounted(TComponent* owner) : TForm(owner) {
            OnCreate = [this](TObject*) { ++Created; };
        }
        int Created = 0;
    };
    std::unique_ptr<TCounted, TComponentDeleter> made(Create<TCounted>(nullptr));
    EXPECT_EQ(made->Created, 1);
    made->Show();
    EXPECT_EQ(made->Created, 1);
    TCounted plain(nullptr);  // not made through Create: the first window runs it
    EXPECT_EQ(plain.Created, 0);
    plain.HandleNeeded();
    EXPECT_EQ(plain.Created, 1);
}

TEST(Timers, AOneShotTimerRestartsWhenSwitchedOnAgainAndMayFreeItself) {
    auto* timer = new TTimer(nullptr);
    timer->SetInterval(20);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        timer->SetEnabled(false);
    };
    EXPECT_TRUE(WaitUntil([&] { return ticks == 1; }));
    Application->ProcessMessages();
    timer->SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return ticks == 2; }));
    bool freed = false;
    timer->OnTimer = [&](TObject*) {
        delete timer;  // from its own tick
        freed = true;
    };
    timer->SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return freed; }));
    EXPECT_EQ(ticks, 2);
}

}  // namespace
