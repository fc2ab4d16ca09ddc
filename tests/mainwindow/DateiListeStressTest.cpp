// The file list pane under load: reads, refills, option changes and status sums
// of 2,000 marked rows follow each other while the reader thread loads the same
// entries. Nothing may crash, hang or end with wrong file data.

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "DateiListeFixture.h"
#include "foundation/DMChild_Typen.h"

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr int kFiles = 2000;
constexpr int kSteps = 200;
constexpr DWORD kStepBoundMs = 60000;

size_t SizeOf(int file) { return static_cast<size_t>(file % 10) * 100; }

// Ends the process when a step does not finish within its bound: a hang fails
// at once and names its step instead of waiting for the test runner's limit.
class TWatchdog {
public:
    TWatchdog() : m_tick(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
        m_thread = CreateThread(nullptr, 0, &TWatchdog::Run, this, 0, nullptr);
    }
    ~TWatchdog() {
        m_done = true;
        SetEvent(m_tick);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_tick);
    }
    void Step(int step) {
        m_step = step;
        SetEvent(m_tick);
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* dog = static_cast<TWatchdog*>(self);
        while (!dog->m_done) {
            if (WaitForSingleObject(dog->m_tick, kStepBoundMs) == WAIT_TIMEOUT) {
                std::fprintf(stderr, "step %d did not finish within %lu ms\n", dog->m_step.load(), kStepBoundMs);
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
        return 0;
    }
    HANDLE m_tick;
    HANDLE m_thread = nullptr;
    std::atomic<int> m_step{0};
    std::atomic<bool> m_done{false};
};

std::wstring FileName(int file) {
    wchar_t name[16];
    swprintf(name, 16, L"d%04d.txt", file);
    return name;
}

}  // namespace

TEST_F(DateiListeTest, ReadsFillsOptionsAndStatusSumsBesideTheReaderKeepTheEntriesWhole) {
    TTempFolder folder(L"dlstress");
    size_t total = 0;
    for (int i = 0; i < kFiles; ++i) {
        folder.MakeFile(FileName(i), SizeOf(i));
        total += SizeOf(i);
    }
    auto& pane = Pane(ftAusfDateiliste);
    TOptionen options[] = {StandardOptionen(3), StandardOptionen(3), StandardOptionen(3), StandardOptionen(3)};
    options[1].Sortierung = 8;  // attributes: every entry's data in one pass
    options[2].Sortierung = 5;  // date, newest first
    options[2].DOSNameAnzeigen = false;
    options[3].Sortierung = 10;
    options[3].AttrAnzeigen = false;
    pane.ApplyOptions(options[0]);
    pane.SetDirectory(folder.Path());
    ASSERT_EQ(pane.Dateiliste.Count(), kFiles + 1);

    const std::wstring sum = FormatByteSize(static_cast<float>(total));
    TWatchdog watchdog;
    for (int step = 0; step < kSteps; ++step) {
        watchdog.Step(step);
        switch (step % 5) {
        case 0: pane.ReadContents(); break;
        case 1: pane.FillList(); break;
        case 2: pane.ApplyOptions(options[(step / 5) % 4]); break;
        default: {
            // Every file marked, the ".." row not: the sum is the files' own.
            pane.SelectAll();
            for (int i = 0; i < pane.Dateiliste.Count(); ++i)
                if (pane.Dateiliste.Items(i)->Caption() == L"[ .. ]")
                    pane.Dateiliste.Items(i)->SetSelected(false);
            pane.UpdateStatusLine();
            ASSERT_EQ(pane.DLStatusZeile.PanelCount(), 2) << "step " << step;
            EXPECT_EQ(pane.DLStatusZeile.Panel(0).Text, L"2000 Dateien/ Verzeichnisse markiert") << "step " << step;
            EXPECT_EQ(pane.DLStatusZeile.Panel(1).Text, sum) << "step " << step;
        }
        }
        ASSERT_EQ(pane.Dateiliste.Count(), kFiles + 1) << "step " << step;
        ASSERT_EQ(pane.Eintraege().size(), static_cast<size_t>(kFiles)) << "step " << step;
        UpdateWindow(pane.Dateiliste.Handle());
    }
    watchdog.Step(kSteps);

    ASSERT_TRUE(gui::WaitUntil([&] { return !pane.Leser() || pane.Leser()->Finished(); }, 30000));
    for (const auto& entry : pane.Eintraege()) {
        ASSERT_TRUE(entry->DatenGeladen.load()) << entry->Name;
        const int file = std::stoi(entry->Name.substr(1, 4));
        EXPECT_EQ(entry->Groesse, static_cast<std::int32_t>(SizeOf(file))) << entry->Name;
        EXPECT_EQ(entry->Attr & FILE_ATTRIBUTE_DIRECTORY, 0) << entry->Name;
    }
}
