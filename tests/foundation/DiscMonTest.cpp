#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "TestFiles.h"
#include "foundation/DiscMon.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Threads.h"

using namespace velmora;
using velmora::test::TTempFolder;
using Clock = std::chrono::steady_clock;

namespace {

constexpr auto kBound = std::chrono::seconds(10);

// Serves the GUI thread's messages until Done says so or the time is up.
bool PumpUntil(const std::function<bool()>& Done, Clock::duration bound = kBound) {
    return gui::WaitUntil(Done, static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(bound).count()));
}

// Runs one call in the GUI thread through Synchronize, from a thread of its own.
class TCaller : public gui::TThread {
public:
    explicit TCaller(std::function<void()> call) : m_call(std::move(call)) {}
    ~TCaller() override { StopAndWait(); }

protected:
    void Execute() override { Synchronize(m_call); }

private:
    std::function<void()> m_call;
};

void PumpFor(Clock::duration time) {
    PumpUntil([] { return false; }, time);
}

std::wstring Folder(const TTempFolder& f) { return f.Path().substr(0, f.Path().size() - 1); }

class DiscMonTest : public ::testing::Test {
protected:
    void Watch(TDiscMonitor& m, const std::wstring& folder) {
        m.OnChange = [this](gui::TObject* sender) {
            EXPECT_EQ(GetCurrentThreadId(), m_guiThread);
            m_sender = sender;
            ++m_changes;
        };
        m.OnInvalid = [this](gui::TObject*) { ++m_invalid; };
        m.SetSubTree(false);
        m.SetDirectory(folder);
        m.SetActive(true);
    }
    // The worker arms its notification some time after the settings are given:
    // new files (a new name each, as the filter watches names) are made until a
    // report comes.
    bool ReportsChangesIn(const TTempFolder& folder) {
        const int before = m_changes;
        const auto end = Clock::now() + kBound;
        for (int n = 0; Clock::now() < end; ++n) {
            folder.MakeFile(L"probe" + std::to_wstring(n) + L".txt", 1);
            if (PumpUntil([&] { return m_changes > before; }, std::chrono::milliseconds(50)))
                return true;
        }
        return false;
    }

    // Changes Folder (files named after Name) until a second monitor watching
    // it has reported a change: a monitor still watching Folder has had the
    // same changes and time to report them too.
    void ChangeSeenBySentinel(const TTempFolder& folder, const std::wstring& name) {
        TDiscMonitor sentinel{nullptr};
        std::atomic<int> seen{0};
        sentinel.OnChange = [&](gui::TObject*) { ++seen; };
        sentinel.SetSubTree(false);
        sentinel.SetDirectory(Folder(folder));
        sentinel.SetActive(true);
        bool reported = false;
        for (int n = 0; n < 200 && !reported; ++n) {
            folder.MakeFile(std::to_wstring(n) + L" " + name, 1);
            reported = PumpUntil([&] { return seen > 0; }, std::chrono::milliseconds(50));
        }
        ASSERT_TRUE(reported);
        gui::Application->ProcessMessages();
    }

    DWORD m_guiThread = GetCurrentThreadId();
    std::atomic<int> m_changes{0};
    int m_invalid = 0;
    gui::TObject* m_sender = nullptr;
    TTempFolder m_a{L"velmora discmon a"};
    TTempFolder m_b{L"velmora discmon b"};
    TTempFolder m_c{L"velmora discmon c"};
};

}  // namespace

TEST_F(DiscMonTest, AFileCreatedInTheFolderIsReportedInTheGuiThread) {
    TDiscMonitor monitor{nullptr};
    Watch(monitor, Folder(m_a));
    EXPECT_TRUE(ReportsChangesIn(m_a));
    EXPECT_EQ(m_sender, &monitor);
    EXPECT_EQ(m_invalid, 0);
}

TEST_F(DiscMonTest, AMonitorThatWasNeverActiveIsDestroyedAtOnce) {
    gui::THangGuard guard(L"Überwachung, die nie lief, freigegeben", 5000);
    {
        TDiscMonitor never{nullptr};
        TDiscMonitor configured{nullptr};
        configured.SetDirectory(Folder(m_a));
        configured.SetFilters(moFilename | moSize);
    }
    {
        TDiscMonitor switchedOff{nullptr};
        Watch(switchedOff, Folder(m_a));
        switchedOff.Close();
    }
}

TEST_F(DiscMonTest, AMissingFolderIsInvalidOnceThenAnExistingOneIsWatched) {
    TDiscMonitor monitor{nullptr};
    Watch(monitor, m_a.Path() + L"gibt es nicht");
    ASSERT_TRUE(PumpUntil([&] { return m_invalid == 1; }));
    EXPECT_EQ(m_changes, 0);

    // The thread reports in order: once a change in the next folder has come,
    // a second report on the missing one would have come before it.
    monitor.SetDirectory(Folder(m_b));
    EXPECT_TRUE(ReportsChangesIn(m_b));
    EXPECT_EQ(m_invalid, 1);
}

TEST_F(DiscMonTest, QuickDirectoryChangesWhileActiveEndWatchingTheLastFolder) {
    TDiscMonitor monitor{nullptr};
    Watch(monitor, Folder(m_a));
    for (int round = 0; round < 200; ++round) {
        monitor.SetDirectory(Folder(round % 2 ? m_a : m_b));
        if (round % 16 == 0)
            gui::Application->ProcessMessages();
    }
    monitor.SetDirectory(Folder(m_c));
    EXPECT_TRUE(ReportsChangesIn(m_c));

    PumpFor(std::chrono::milliseconds(300));
    const int settled = m_changes;
    ChangeSeenBySentinel(m_a, L"nicht beobachtet.txt");
    ChangeSeenBySentinel(m_b, L"auch nicht.txt");
    EXPECT_EQ(m_changes, settled);
}

TEST_F(DiscMonTest, SwitchingOffStopsReportsAndSwitchingOnReadsTheSettingsAgain) {
    TDiscMonitor monitor{nullptr};
    Watch(monitor, Folder(m_a));
    ASSERT_TRUE(ReportsChangesIn(m_a));
    monitor.SetActive(false);
    // Reports sent before the switch are served by the sentinel's pumping.
    ChangeSeenBySentinel(m_b, L"vorher.txt");
    const int off = m_changes;
    ChangeSeenBySentinel(m_a, L"aus.txt");
    EXPECT_EQ(m_changes, off);

    monitor.SetDirectory(Folder(m_b));
    monitor.SetActive(true);
    EXPECT_TRUE(ReportsChangesIn(m_b));
}

TEST_F(DiscMonTest, NoEventArrivesAfterDestructionBeganDuringABurst) {
    std::atomic<bool> stop{false};
    auto monitor = std::make_unique<TDiscMonitor>(nullptr);
    Watch(*monitor, Folder(m_a));
    ASSERT_TRUE(ReportsChangesIn(m_a));
    std::thread writer([&] {
        for (int i = 0; !stop; ++i)
            m_a.MakeFile(L"burst" + std::to_wstring(i % 50) + L".txt", static_cast<size_t>(i % 7));
    });
    // Destroyed while reports of the burst keep coming.
    const int beforeBurst = m_changes;
    ASSERT_TRUE(PumpUntil([&] { return m_changes >= beforeBurst + 3; }));
    monitor.reset();
    const int atDestruction = m_changes;
    stop = true;
    writer.join();
    ChangeSeenBySentinel(m_a, L"nach dem ende.txt");
    EXPECT_EQ(m_changes, atDestruction);
}

TEST_F(DiscMonTest, DestroyingWhileTheWorkerWaitsForItsCallNeitherHangsNorReports) {
    auto monitor = std::make_unique<TDiscMonitor>(nullptr);
    Watch(*monitor, Folder(m_a));
    ASSERT_TRUE(ReportsChangesIn(m_a));
    PumpFor(std::chrono::milliseconds(200));
    const int before = m_changes;
    // No pumping now: the worker's report of this change waits for the GUI thread.
    m_a.MakeFile(L"wartet.txt", 9);
    // Returns when the worker's call has been posted, without running it.
    ASSERT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 10000, QS_POSTMESSAGE), WAIT_OBJECT_0);
    const auto start = Clock::now();
    monitor.reset();
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(m_changes, before);
}

TEST_F(DiscMonTest, AnEmptyFilterSetIsRefusedWithAMessage) {
    gui::TMessageBoxRecorder boxes;
    boxes.Answer(gui::mrOk);
    TDiscMonitor monitor{nullptr};
    monitor.SetFilters(moSize | moLastWrite);
    monitor.SetFilters(0);
    EXPECT_EQ(monitor.Filters(), static_cast<TMonitorFilters>(moSize | moLastWrite));
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Some filter condition must be set.");
}

TEST_F(DiscMonTest, AnOwnerFreesItsMonitor) {
    auto owner = std::make_unique<gui::TComponent>(nullptr);
    auto* monitor = new TDiscMonitor(owner.get());
    Watch(*monitor, Folder(m_a));
    EXPECT_EQ(owner->ComponentCount(), 1);
    owner.reset();
    const int after = m_changes;
    ChangeSeenBySentinel(m_a, L"nach dem besitzer.txt");
    EXPECT_EQ(m_changes, after);
}

TEST_F(DiscMonTest, AFailingHandlerIsReportedAndTheMonitorGoesOn) {
    int reported = 0;
    gui::Application->OnException = [&](gui::TObject*, const velmora::Exception&) { ++reported; };
    TDiscMonitor monitor{nullptr};
    Watch(monitor, Folder(m_a));
    monitor.OnChange = [this](gui::TObject*) {
        if (++m_changes == 1)
            throw velmora::Exception(L"Fehler im Handler");
    };
    EXPECT_TRUE(ReportsChangesIn(m_a));
    EXPECT_EQ(reported, 1);
    EXPECT_TRUE(ReportsChangesIn(m_a));
    gui::Application->OnException = nullptr;
}

TEST_F(DiscMonTest, AMonitorFreedFromItsOwnHandlerDoesNotHang) {
    gui::THangGuard guard(L"Überwachung im eigenen OnChange freigegeben");
    auto* monitor = new TDiscMonitor(nullptr);
    Watch(*monitor, Folder(m_a));
    // Nothing of the handler's own state is touched after the free.
    monitor->OnChange = [this, &monitor](gui::TObject*) {
        TDiscMonitor* self = monitor;
        monitor = nullptr;
        ++m_changes;
        delete self;
    };
    EXPECT_TRUE(ReportsChangesIn(m_a));
    EXPECT_EQ(monitor, nullptr);
    EXPECT_EQ(m_changes, 1);
}

TEST_F(DiscMonTest, AMonitorFreedByAnEarlierCallOfTheSameBatchDoesNotHang) {
    gui::THangGuard guard(L"Überwachung aus einem anderen synchronisierten Aufruf freigegeben");
    // A folder without earlier changes: no late report can come before the freeing call.
    auto* monitor = new TDiscMonitor(nullptr);
    Watch(*monitor, Folder(m_b));
    TCaller freer([&] {
        delete monitor;
        monitor = nullptr;
    });
    // No pumping now: the freeing call is queued first, the monitor's report behind it.
    freer.Resume();
    ASSERT_EQ(WaitForSingleObject(gui::Application->SyncEvent(), 10000), WAIT_OBJECT_0);
    bool reportQueued = false;
    for (int n = 0; n < 200 && !reportQueued; ++n) {
        m_b.MakeFile(L"stapel" + std::to_wstring(n) + L".txt", 1);
        reportQueued = WaitForSingleObject(gui::Application->SyncEvent(), 50) == WAIT_OBJECT_0;
    }
    ASSERT_TRUE(reportQueued);
    ASSERT_TRUE(PumpUntil([&] { return monitor == nullptr; }));
    freer.WaitFor();
    EXPECT_EQ(m_changes, 0);
}
