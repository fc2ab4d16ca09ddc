#include <gtest/gtest.h>

#include "autostart/starter/StarterSequence.h"

using namespace velmora;

namespace {

// Records what the window would show; the test's calls to Tick are the clock.
class FakeView : public IStarterView {
public:
    void ShowEntry(const TEintrag& entry, const std::wstring& caption) override {
        shown.push_back(entry.Beschreibung);
        lastCaption = caption;
    }
    void ShowCountdown(int seconds) override { countdown.push_back(seconds); }
    void SetTimerRunning(bool running) override { timer = running; }
    void CloseWindow() override { ++closes; }

    std::vector<std::wstring> shown;
    std::wstring lastCaption;
    std::vector<int> countdown;
    bool timer = false;
    int closes = 0;
};

class StarterSequenceTest : public ::testing::Test {
protected:
    TStarterSequence MakeSequence() {
        return TStarterSequence(
            view,
            [this](const std::wstring& file, const std::wstring& params) -> long long {
                starts.push_back(file + L"|" + params);
                return failing == file ? 2 : 42;
            },
            [this](const std::wstring& text) { boxes.push_back(text); });
    }
    static TEintrag Entry(const std::wstring& name, std::uint8_t wait, std::uint8_t action) {
        return TEintrag{name, L"c:\\" + name + L".exe", L"-" + name, wait, action};
    }
    void Ticks(TStarterSequence& s, int n) {
        for (int i = 0; i < n; ++i) s.Tick();
    }

    FakeView view;
    std::vector<std::wstring> starts;
    std::vector<std::wstring> boxes;
    std::wstring failing;
};

}  // namespace

TEST_F(StarterSequenceTest, EmptyListClosesAtOnceAndStartsNothing) {
    auto s = MakeSequence();
    s.Begin({});
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(view.timer);
    s.StartChosen();
    EXPECT_TRUE(starts.empty());
    EXPECT_TRUE(view.shown.empty());
}

TEST_F(StarterSequenceTest, EntriesWithoutWaitThatStartAreChosenWithoutBeingShown) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 0, 0), Entry(L"b", 0, 0), Entry(L"c", 0, 0)});
    EXPECT_TRUE(view.shown.empty());
    EXPECT_EQ(view.closes, 1);
    s.StartChosen();
    EXPECT_EQ(starts, (std::vector<std::wstring>{L"c:\\a.exe|-a", L"c:\\b.exe|-b", L"c:\\c.exe|-c"}));
}

TEST_F(StarterSequenceTest, NotStartingEntryCountsDownAndIsPassedOverOnTheTickAfterZero) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 3, 1)});
    EXPECT_EQ(view.shown, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(view.lastCaption, L"Sekunden bis das Programm NICHT gestartet wird...");
    EXPECT_TRUE(view.timer);
    Ticks(s, 3);
    EXPECT_EQ(view.countdown, (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(view.closes, 0);
    s.Tick();
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(view.timer);
    s.StartChosen();
    EXPECT_TRUE(starts.empty());
}

TEST_F(StarterSequenceTest, StartingEntryIsChosenWhenItsCountdownRunsOut) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 2, 0), Entry(L"b", 1, 1)});
    EXPECT_EQ(view.lastCaption, L"Sekunden bis das Programm GESTARTET wird...");
    Ticks(s, 3);
    EXPECT_EQ(s.Chosen(), std::vector<int>{0});
    EXPECT_EQ(view.shown, (std::vector<std::wstring>{L"a", L"b"}));
    EXPECT_EQ(view.countdown, (std::vector<int>{2, 1, 0, 1}));
    EXPECT_TRUE(view.timer);
    EXPECT_TRUE(starts.empty()) << "nothing starts before the window closes";
    Ticks(s, 2);
    EXPECT_EQ(view.closes, 1);
    s.StartChosen();
    EXPECT_EQ(starts, std::vector<std::wstring>{L"c:\\a.exe|-a"});
}

TEST_F(StarterSequenceTest, StartenOverridesANotStartingEntryAndNichtStartenSkipsAStartingOne) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 3, 1), Entry(L"b", 3, 0), Entry(L"c", 5, 1)});
    s.Tick();
    s.Starten();
    EXPECT_EQ(view.countdown.back(), 3) << "the next entry starts its own countdown";
    s.NichtStarten();
    EXPECT_EQ(s.Position(), 2);
    s.Starten();
    EXPECT_EQ(view.closes, 1);
    s.StartChosen();
    EXPECT_EQ(starts, (std::vector<std::wstring>{L"c:\\a.exe|-a", L"c:\\c.exe|-c"}));
}

TEST_F(StarterSequenceTest, RunAllOnTheFirstEntryStartsEveryEntryAlsoThoseNotToStart) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 9, 1), Entry(L"b", 9, 1), Entry(L"c", 3, 0)});
    s.AlleStarten();
    EXPECT_EQ(view.shown, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(view.closes, 1);
    s.StartChosen();
    EXPECT_EQ(starts.size(), 3u);
}

TEST_F(StarterSequenceTest, RunAllOnALaterEntryKeepsTheEarlierDecisions) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 9, 0), Entry(L"b", 9, 0), Entry(L"c", 9, 1)});
    s.NichtStarten();
    s.AlleStarten();
    s.StartChosen();
    EXPECT_EQ(starts, (std::vector<std::wstring>{L"c:\\b.exe|-b", L"c:\\c.exe|-c"}));
}

TEST_F(StarterSequenceTest, StopClosesAndStillStartsWhatWasChosenInOrder) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 0, 0), Entry(L"b", 4, 1), Entry(L"c", 4, 0), Entry(L"d", 4, 0)});
    EXPECT_EQ(view.shown, std::vector<std::wstring>{L"b"});
    s.Starten();
    s.KeinWeiteres();
    EXPECT_EQ(view.closes, 1);
    EXPECT_FALSE(view.timer);
    // A tick or click that was already queued changes nothing any more.
    s.Tick();
    s.Starten();
    EXPECT_EQ(s.Chosen(), (std::vector<int>{0, 1}));
    s.StartChosen();
    s.StartChosen();
    EXPECT_EQ(starts, (std::vector<std::wstring>{L"c:\\a.exe|-a", L"c:\\b.exe|-b"}));
}

TEST_F(StarterSequenceTest, ClosingWhileAnEntryIsShownStartsOnlyThoseChosenBefore) {
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 2, 0), Entry(L"b", 2, 0)});
    s.Starten();
    s.StartChosen();
    EXPECT_EQ(starts, std::vector<std::wstring>{L"c:\\a.exe|-a"});
    s.Tick();
    s.Tick();
    s.Tick();
    EXPECT_EQ(s.Chosen(), std::vector<int>{0});
}

TEST_F(StarterSequenceTest, AFailedStartNamesThatEntryAndTheOthersStillStart) {
    failing = L"c:\\c.exe";
    auto s = MakeSequence();
    s.Begin({Entry(L"a", 0, 0), Entry(L"b", 0, 0), Entry(L"c", 0, 0)});
    s.StartChosen();
    EXPECT_EQ(starts.size(), 3u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0],
              L"Das Programm\rc\r(\"c:\\c.exe\")\rkonnte nicht gefunden werden!\r"
              L"Bitte stellen Sie sicher, daß die im Autostartmanager gemachten Angaben korrekt sind.");

    boxes.clear();
    starts.clear();
    failing = L"c:\\a.exe";
    auto t = MakeSequence();
    t.Begin({Entry(L"a", 0, 0), Entry(L"b", 0, 0)});
    t.StartChosen();
    EXPECT_EQ(starts.size(), 2u);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(L"\ra\r"), std::wstring::npos);
}

TEST_F(StarterSequenceTest, ResultsUpTo32AreFailuresAndAbove32Successes) {
    for (long long result : {0LL, 31LL, 32LL, 33LL}) {
        boxes.clear();
        TStarterSequence s(
            view, [result](const std::wstring&, const std::wstring&) { return result; },
            [this](const std::wstring& text) { boxes.push_back(text); });
        s.Begin({Entry(L"a", 0, 0)});
        s.StartChosen();
        EXPECT_EQ(boxes.size(), result <= 32 ? 1u : 0u) << result;
    }
}
