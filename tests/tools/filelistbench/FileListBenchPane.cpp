// The pane's side of filelist_bench: TDateiListeForm in an MDI frame of its own
// with a host that does nothing, fed the options a fresh installation has.
#include "FileListBenchPane.h"

#include <chrono>
#include <memory>

#include "NullPaneHost.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "panes/DateiListe.h"
#include "platform/gui/Application.h"

namespace velmora {

namespace {

constexpr int kPaneWidth = 600, kPaneHeight = 700;

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace



struct TBenchPanes::TState {
    gui::TForm Mdi{nullptr};
    TNullPaneHost Host;
    TOptionen Options[3];
};

TBenchPanes::TBenchPanes(const std::wstring& Folder) : m_folder(Folder), m_state(std::make_unique<TState>()) {
    m_state->Mdi.SetFormStyle(gui::TFormStyle::fsMDIForm);
    m_state->Mdi.SetCaption(L"Velmora - filelist_bench");
    m_state->Mdi.SetBounds(636, 0, kPaneWidth + 40, kPaneHeight + 100);
    m_state->Mdi.Show();
    // Panes are children of the main form.
    gui::Application->SetMainForm(&m_state->Mdi);
    if (!IconRoutinen)
        IconRoutinen = new TIconRoutinen;
    // Nothing of the program is stored in the bench's prefix: the defaults.
    TEinstellungen settings;
    settings.LoadDateiliste();
    settings.LoadADateiliste();
    m_state->Options[1] = settings.Dateiliste;
    m_state->Options[2] = settings.ADateiliste;
}

TBenchPanes::~TBenchPanes() = default;

TDateiListeForm* TBenchPanes::NewPane(int Kind, const TOptionen& Options) {
    auto* pane = gui::Create<TDateiListeForm>(&m_state->Mdi, &m_state->Host);
    pane->SetPaneKind(Kind == 2 ? ftAusfDateiliste : ftDateiliste);
    pane->ApplyOptions(Options);
    pane->SetBounds(0, 0, kPaneWidth, kPaneHeight);
    pane->Show();
    gui::Application->ProcessMessages();
    return pane;
}

void TBenchPanes::FreePane(TDateiListeForm* Pane) {
    Pane->Free();
    gui::Application->ProcessMessages();
}

double TBenchPanes::TimedRead(int Kind, const TOptionen& Options) {
    TDateiListeForm* pane = NewPane(Kind, Options);
    const auto start = std::chrono::steady_clock::now();
    pane->SetDirectory(m_folder);
    UpdateWindow(pane->Dateiliste.Handle());
    const double seconds = Seconds(start);
    m_entries = pane->Eintraege().size();
    FreePane(pane);
    return seconds;
}

double TBenchPanes::DefaultRead(int Kind) { return TimedRead(Kind, m_state->Options[Kind]); }

double TBenchPanes::AttributeSortRead(int Kind) {
    TOptionen options = m_state->Options[Kind];
    options.Filter.Hidden = false;
    options.Sortierung = 8;
    return TimedRead(Kind, options);
}

// The reader usually ends before SetDirectory returns (it runs while the rows
// are sorted), so its own time is taken apart: a reader of the pane's kind over
// fresh records of the same entries, from its start to its end.
TReaderTimes TBenchPanes::ReaderRun() {
    TDateiListeForm* pane = NewPane(2, m_state->Options[2]);
    TReaderTimes times;
    const auto start = std::chrono::steady_clock::now();
    pane->SetDirectory(m_folder);
    if (TReadFileDataThread* reader = pane->Leser())
        reader->WaitFor();
    times.Whole = Seconds(start);

    TEintragListe fresh;
    fresh.reserve(pane->Eintraege().size());
    for (const auto& entry : pane->Eintraege()) {
        auto copy = std::make_unique<TItemData>();
        copy->Name = entry->Name;
        copy->ShellAttr = entry->ShellAttr;
        copy->AbsPidl = PidlVerketten(nullptr, entry->AbsPidl.get());
        fresh.push_back(std::move(copy));
    }
    FreePane(pane);
    TReadFileDataThread reader(fresh, m_folder);
    const auto readerStart = std::chrono::steady_clock::now();
    reader.Resume();
    reader.WaitFor();
    times.Reader = Seconds(readerStart);
    for (const auto& entry : fresh)
        times.Loaded += entry->DatenGeladen.load() ? 1 : 0;
    return times;
}

TPaneHeap TBenchPanes::Heap() {
    TPaneHeap heap;
    const long long before = HeapInUse();
    TDateiListeForm* pane = NewPane(2, m_state->Options[2]);
    auto readAndSettle = [pane] {
        pane->ReadContents();
        UpdateWindow(pane->Dateiliste.Handle());
        if (TReadFileDataThread* reader = pane->Leser())
            reader->WaitFor();
        gui::Application->ProcessMessages();
    };
    pane->SetDirectory(m_folder);
    UpdateWindow(pane->Dateiliste.Handle());
    if (TReadFileDataThread* reader = pane->Leser())
        reader->WaitFor();
    gui::Application->ProcessMessages();
    const long long held = HeapInUse() - before;
    heap.PerEntry = pane->Eintraege().empty() ? 0 : static_cast<double>(held) / static_cast<double>(pane->Eintraege().size());
    readAndSettle();
    heap.FirstRead = HeapInUse();
    for (int read = 2; read <= 10; ++read)
        readAndSettle();
    heap.TenthRead = HeapInUse();
    FreePane(pane);
    return heap;
}

}  // namespace velmora
