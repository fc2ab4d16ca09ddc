#include <windows.h>

#include <atomic>

#include "MainWindowFixture.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

// A folder with one file of Bytes bytes and one empty sub-folder.
struct TSmallTree {
    explicit TSmallTree(const std::wstring& name)
        : Path(TempDirectory() + name + std::to_wstring(GetCurrentProcessId()) + L"\\") {
        ForceDirectories(Path + L"unter");
        HANDLE h = CreateFileW((Path + L"a.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, "0123456789", 10, &written, nullptr);
        CloseHandle(h);
    }
    ~TSmallTree() {
        DeleteFileW((Path + L"a.txt").c_str());
        RemoveDirectoryW((Path + L"unter").c_str());
        RemoveDirectoryW(Path.c_str());
    }
    std::wstring Path;
};

// Holds the counting thread at the start of one folder until released; a wait
// that runs out is recorded, so a window waiting for the walk fails the test.
class TWalkGate {
public:
    explicit TWalkGate(const std::wstring& folder) {
        StatusWalkHook = [this, folder](const std::wstring& path) {
            if (path != folder)
                return;
            SetEvent(m_entered);
            if (WaitForSingleObject(m_release, 10000) != WAIT_OBJECT_0)
                m_timedOut = true;
        };
    }
    ~TWalkGate() {
        SetEvent(m_release);
        StatusWalkHook = nullptr;
        CloseHandle(m_entered);
        CloseHandle(m_release);
    }
    bool Entered() { return WaitForSingleObject(m_entered, 10000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(m_release); }
    bool TimedOut() const { return m_timedOut; }

private:
    HANDLE m_entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> m_timedOut{false};
};

// A counter's result is queued for the GUI thread: its walk is over.
bool ResultQueued() { return WaitForSingleObject(Application->SyncEvent(), 10000) == WAIT_OBJECT_0; }

bool AllCountersEnded() {
    return WaitUntil([] { return LiveStatusCounters() == 0; }, 20000);
}

class StatusLineTest : public MainWindowTest {
protected:
    std::wstring Panel(int index) { return m_form->HauptStatusZeile.Panel(index).Text; }
};

}  // namespace

TEST_F(StatusLineTest, TheSameFolderTwiceStartsOneCount) {
    TSmallTree tree(L"vel-status-same");
    THauptform& form = Start();
    // The panes' own counts of the folders they came up in: their size is the
    // prefix's business, not this test's.
    form.StopCounters();
    ASSERT_TRUE(AllCountersEnded());
    form.StartPathInfoThread(tree.Path);
    EXPECT_EQ(Panel(0), L"Zähle...");
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(0), L"2 Eintraege belegen 10 Bytes");
    form.HauptStatusZeile.SetPanelText(0, L"unverändert");
    form.StartPathInfoThread(AsciiUpper(tree.Path));
    EXPECT_EQ(form.PathInfoThread(), nullptr);
    EXPECT_EQ(Panel(0), L"unverändert");
    form.StartPathInfoThread(L"");
    EXPECT_EQ(Panel(0), L"");
    EXPECT_EQ(form.LastPathInfoPath, L"");
}

// The list pane's read of the folder counted it: no walk of its own.
TEST_F(StatusLineTest, AFolderAListPaneShowsIsCountedByThePanesRead) {
    TSmallTree tree(L"vel-status-pane");
    THauptform& form = Start();
    TDMChildForm* list = nullptr;
    for (TDMChildForm* pane : {form.LeftPane, form.RightPane})
        if (pane && (pane->GetPaneKind() == ftDateiliste || pane->GetPaneKind() == ftAusfDateiliste))
            list = pane;
    ASSERT_NE(list, nullptr);
    form.StopCounters();
    ASSERT_TRUE(AllCountersEnded());
    ASSERT_TRUE(form.ShowDirectory(list, tree.Path));
    EXPECT_EQ(form.PathInfoThread(), nullptr);
    EXPECT_EQ(Panel(0), L"2 Eintraege belegen 10 Bytes");
}

TEST_F(StatusLineTest, AFolderTreeFillsPanelOne) {
    TSmallTree tree(L"vel-status-tree");
    THauptform& form = Start();
    form.StartQuickViewThread(tree.Path);
    EXPECT_EQ(Panel(1), L"Zähle...");
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(1), L"1 Dateien und 1 Unterverzeichnisse belegen 10 Bytes");
    EXPECT_EQ(form.QuickViewThread(), nullptr);
}

TEST_F(StatusLineTest, AClearedCountNeverShowsEvenWithItsResultOnItsWay) {
    TSmallTree tree(L"vel-status-clear");
    THauptform& form = Start();
    form.StartPathInfoThread(tree.Path);
    ASSERT_TRUE(ResultQueued());
    form.StartPathInfoThread(L"");
    form.StartQuickViewThread(tree.Path);
    ASSERT_TRUE(ResultQueued());
    form.StartQuickViewThread(L"");
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(0), L"");
    EXPECT_EQ(Panel(1), L"");
}

TEST_F(StatusLineTest, AReplacedFolderCountNeverOverwritesAnArchivesTotals) {
    TSmallTree tree(L"vel-status-arc");
    THauptform& form = Start();
    auto* pane = new TTestPane(&form);
    pane->Kind = ftZip;
    pane->ArchiveFile = L"c:\\daten\\test.zip";
    pane->Totals.OrigGroesse = 2048;
    pane->Totals.KompGroesse = 512;
    pane->Totals.Anzahl = 4;
    form.LeftPane = pane;
    form.StartQuickViewThread(tree.Path);
    ASSERT_TRUE(ResultQueued());
    form.UpdatePaneStatus(L"C:\\Daten\\Test.ZIP");
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(1), L"test.zip enthält 4 Dateien [2.00 KBytes gepackt auf 512 Bytes (75%)]");
    EXPECT_EQ(form.LastArchiveStatusPath, L"c:\\daten\\test.zip");
    EXPECT_EQ(form.LastQuickViewPath, L"");

    pane->Totals.OrigGroesse = 0;
    form.UpdatePaneStatus(L"C:\\Daten\\Test.ZIP");
    EXPECT_EQ(Panel(1), L"");
    EXPECT_EQ(form.LastArchiveStatusPath, L"");
    form.UpdatePaneStatus(L"c:\\daten\\anderes.zip");
    EXPECT_EQ(Panel(1), L"");
    form.LeftPane = nullptr;
}

TEST_F(StatusLineTest, FreeSpaceComesFromTheDriveOfTheDriveBar) {
    THauptform& form = Make();
    wchar_t asked = 0;
    form.DiskFree = [&](wchar_t drive, std::uint64_t& free, std::uint64_t& total) {
        asked = drive;
        free = 3ULL << 30;
        total = 12ULL << 30;
        return true;
    };
    Start();
    EXPECT_EQ(asked, form.LWAuswahl.Drive());
    EXPECT_EQ(form.LWFreeSpace.Caption(), L" 3.00 GBytes von 12.00 GBytes frei");
    form.DiskFree = [](wchar_t, std::uint64_t&, std::uint64_t&) { return false; };
    form.ShowFreeSpace();
    EXPECT_EQ(form.LWFreeSpace.Caption(), L"");
}

TEST_F(StatusLineTest, TheSystemTellsTheFreeSpaceOfDriveC) {
    std::uint64_t free = 0, total = 0;
    ASSERT_TRUE(SystemDiskFree(L'C', free, total));
    EXPECT_GT(total, 0u);
    EXPECT_LE(free, total);
    EXPECT_FALSE(SystemDiskFree(L'\\', free, total));
    THauptform& form = Start();
    // The bar's text read back as numbers against the system's own answer for the
    // drive: the total to the digits shown; the free space within what other
    // programs may write to the disk meanwhile.
    const std::wstring drive = std::wstring(1, form.LWAuswahl.Drive()) + L":\\";
    ULARGE_INTEGER sysFree{}, sysTotal{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(drive.c_str(), &sysFree, &sysTotal, nullptr));
    double shownFree = 0, shownTotal = 0;
    wchar_t freeUnit[16] = {}, totalUnit[16] = {};
    const std::wstring caption = form.LWFreeSpace.Caption();
    ASSERT_EQ(swscanf(caption.c_str(), L" %lf %15ls von %lf %15ls frei", &shownFree, freeUnit, &shownTotal, totalUnit), 4)
        << ToUtf8(caption);
    auto unit = [](const std::wstring& u) {
        const std::wstring units[] = {L"Bytes", L"KBytes", L"MBytes", L"GBytes", L"TBytes"};
        for (int i = 0; i < 5; ++i)
            if (u == units[i]) return static_cast<double>(1ULL << (10 * i));
        return 0.0;
    };
    const double bytes = static_cast<double>(sysTotal.QuadPart), freeBytes = static_cast<double>(sysFree.QuadPart);
    EXPECT_NEAR(shownTotal * unit(totalUnit), bytes, 0.006 * unit(totalUnit) + 1) << ToUtf8(caption);
    EXPECT_NEAR(shownFree * unit(freeUnit), freeBytes, 0.006 * unit(freeUnit) + bytes / 100) << ToUtf8(caption);
}

TEST_F(StatusLineTest, ClosingNeverWaitsForAWalkAndNothingArrivesAfterwards) {
    TSmallTree tree(L"vel-status-close");
    THauptform& form = Start();
    TWalkGate gate(tree.Path + L"unter\\");
    form.StartQuickViewThread(tree.Path);
    ASSERT_TRUE(gate.Entered());
    form.StartPathInfoThread(tree.Path);
    ASSERT_TRUE(CloseWindow());
    EXPECT_FALSE(gate.TimedOut());
    gate.Release();
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(1), L"Zähle...");
    EXPECT_EQ(Panel(0), L"Zähle...");
}

// 100,000 files in 5,000 folders; the walk is held half-way through, so the
// window closes while panel 1 counts.
TEST_F(StatusLineTest, ClosingWhileAHundredThousandFilesAreCountedNeverWaits) {
    const std::wstring root = TempDirectory() + L"vel-status-big" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    for (int f = 0; f < 5000; ++f) {
        const std::wstring folder = root + L"t" + std::to_wstring(f / 100) + L"\\o" + std::to_wstring(f) + L"\\";
        ForceDirectories(folder);
        for (int i = 0; i < 20; ++i)
            CloseHandle(CreateFileW((folder + L"d" + std::to_wstring(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr));
    }
    THauptform& form = Start();
    {
        TWalkGate gate(root + L"t25\\o2500\\");
        form.StartQuickViewThread(root);
        ASSERT_TRUE(gate.Entered());
        ASSERT_TRUE(CloseWindow());
        EXPECT_FALSE(gate.TimedOut());
        gate.Release();
        ASSERT_TRUE(AllCountersEnded());
    }
    EXPECT_EQ(Panel(1), L"Zähle...");
    for (int f = 0; f < 5000; ++f) {
        const std::wstring folder = root + L"t" + std::to_wstring(f / 100) + L"\\o" + std::to_wstring(f) + L"\\";
        for (int i = 0; i < 20; ++i)
            DeleteFileW((folder + L"d" + std::to_wstring(i)).c_str());
        RemoveDirectoryW(folder.c_str());
        if (f % 100 == 99)
            RemoveDirectoryW((root + L"t" + std::to_wstring(f / 100)).c_str());
    }
    RemoveDirectoryW(root.c_str());
}

TEST_F(StatusLineTest, ClosingJustAfterACountWasReplacedShowsNothing) {
    TSmallTree first(L"vel-status-first"), second(L"vel-status-second");
    THauptform& form = Start();
    form.StartQuickViewThread(first.Path);
    form.StartQuickViewThread(second.Path);
    ASSERT_TRUE(CloseWindow());
    ASSERT_TRUE(AllCountersEnded());
    EXPECT_EQ(Panel(1), L"Zähle...");
}
