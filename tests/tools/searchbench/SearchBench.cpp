// The text-search engine, the file search and the search-result pane against
// plain loops doing the same work: a program, not a test. Trees from
// make-inputs.sh; warm cache; each figure the best of five alternating runs.
//   search_bench.exe TREE-A TREE-B     (Windows paths)

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "NullPaneHost.h"
#include "filetools/DateiSuchenDlg.h"
#include "filetools/IMLFind.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "foundation/controls/EnhListView.h"
#include "panes/Suchergebnis.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Timer.h"

using namespace velmora;

namespace {

constexpr int kRuns = 5;
const wchar_t kNowhere[] = L"kommt-nirgends-vor-7f3a";

struct TFind {
    HANDLE h;
    explicit TFind(HANDLE x) : h(x) {}
    ~TFind() {
        if (h != INVALID_HANDLE_VALUE) FindClose(h);
    }
};

// The engine's walk: per folder one enumeration by mask (files), one by "*.*"
// (folders); with Read, each file opened with the engine's flags and read in
// 64 KB blocks.
void Walk(const std::wstring& folder, const std::wstring& mask, bool read, std::vector<char>& buffer, long& files) {
    WIN32_FIND_DATAW d;
    {
        TFind f(FindFirstFileExW((folder + L"\\" + mask).c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH));
        if (f.h != INVALID_HANDLE_VALUE) do {
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                ++files;
                if (!read) continue;
                HANDLE h = CreateFileW((folder + L"\\" + d.cFileName).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
                if (h == INVALID_HANDLE_VALUE) continue;
                DWORD got = 0;
                while (ReadFile(h, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got) {
                }
                CloseHandle(h);
            } while (FindNextFileW(f.h, &d));
    }
    std::vector<std::wstring> subs;
    {
        TFind f(FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr,
                                 FIND_FIRST_EX_LARGE_FETCH));
        if (f.h != INVALID_HANDLE_VALUE) do {
                if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && d.cFileName[0] != L'.')
                    subs.push_back(folder + L"\\" + d.cFileName);
            } while (FindNextFileW(f.h, &d));
    }
    for (const auto& sub : subs) Walk(sub, mask, read, buffer, files);
}

// Best of kRuns, the measurements alternating run by run.
std::vector<double> Best(const std::vector<std::function<void()>>& jobs) {
    std::vector<double> best(jobs.size(), 1e30);
    for (int run = 0; run < kRuns; ++run)
        for (size_t i = 0; i < jobs.size(); ++i) {
            const double start = BenchNow();
            jobs[i]();
            best[i] = std::min(best[i], BenchNow() - start);
        }
    return best;
}

void Ratio(const char* what, double value, double base, double mark) {
    const double ratio = base > 0 ? value / base : 0;
    std::printf("%-58s %8.3f s  ratio %6.3f  (at most %.2f) %s\n", what, value, ratio, mark,
                ratio <= mark ? "pass" : "FAIL");
}

void Engine(const std::wstring& tree, const std::wstring& mask, const std::wstring& text, TSearchType type,
            bool matchCase) {
    TIMLFindText find(nullptr);
    find.Pump = [] { gui::Application->ProcessMessages(); };
    find.StartDirectory = tree;
    find.FileMask = mask;
    find.SearchText = text;
    find.SearchType = type;
    find.MatchCase = matchCase;
    find.Execute();
}

void TextSearches(const char* name, const std::wstring& tree, double mark) {
    std::vector<char> buffer(65536);
    long files = 0;
    std::vector<std::function<void()>> jobs{[&] { Walk(tree, L"*.*", true, buffer, files); }};
    const char* labels[] = {"stText, case ignored", "stText, MatchCase", "stAll, case ignored", "stAll, MatchCase"};
    for (int i = 0; i < 4; ++i)
        jobs.push_back([&, i] {
            Engine(tree, L"*.*", kNowhere, i < 2 ? TSearchType::stText : TSearchType::stAll, i % 2 == 1);
        });
    const auto best = Best(jobs);
    std::printf("%s: read loop %.3f s\n", name, best[0]);
    for (int i = 0; i < 4; ++i) {
        const std::string what = std::string(name) + ": " + labels[i] + " / read loop";
        Ratio(what.c_str(), best[static_cast<size_t>(i) + 1], best[0], mark);
    }
}

class TListenHost : public TNullPaneHost {
public:
    TDateiListe Ergebnis;
    TDateiListe* PaneRecords(TFensterTyp Kind) override { return Kind == ftSuchergebnis ? &Ergebnis : nullptr; }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    gui::TApplication application;
    IconRoutinen = new TIconRoutinen;
    const std::wstring treeA = argc >= 2 ? argv[1] : L"c:\\search-bench\\a";
    const std::wstring treeB = argc >= 3 ? argv[2] : L"c:\\search-bench\\b";

    TextSearches("A", treeA, 1.2);
    TextSearches("B", treeB, 1.15);

    // Listing without text against the walk without reading.
    {
        std::vector<char> buffer(65536);
        long files = 0;
        const auto best = Best({[&] { Walk(treeB, L"*.txt", false, buffer, files); },
                                [&] { Engine(treeB, L"*.txt", L"", TSearchType::stText, false); },
                                [&] { Walk(treeB, L"*.*", false, buffer, files); },
                                [&] { Engine(treeB, L"*.*", L"", TSearchType::stText, false); }});
        Ratio("B: Execute without text, *.txt / walk", best[1], best[0], 1.25);
        Ratio("B: Execute without text, *.* / walk", best[3], best[2], 1.25);
    }

    // The whole search through the progress dialog, and the pane reading its result.
    TDateiListe ergebnis;
    TDateiDialogKontext kontext;
    kontext.Suchergebnis = &ergebnis;
    auto* suchen = gui::Create<TDateiSuchenDlg>(&application, kontext);
    suchen->OrdnerWaehlen = [&](const std::wstring&, std::wstring& chosen) {
        chosen = treeB;
        return true;
    };
    suchen->Button1Click(nullptr);
    auto* fortschritt = gui::Create<TSuchFortschritt>(&application, kontext, *suchen);
    gui::TTimer closer(&application);
    closer.SetInterval(5);
    closer.OnTimer = [&](gui::TObject*) {
        if (fortschritt->Visible() && fortschritt->CancelBtn.Caption() == L"Schließen") fortschritt->Close();
    };
    {
        std::vector<char> buffer(65536);
        long files = 0;
        const auto best = Best({[&] { Walk(treeB, L"*.*", false, buffer, files); },
                                [&] {
                                    ergebnis.clear();
                                    fortschritt->ShowModal();
                                }});
        std::printf("B: the progress dialog listed %zu rows\n", ergebnis.size());
        Ratio("B: whole search through the progress dialog, *.* / walk", best[1], best[0], 3.0);
    }
    closer.SetEnabled(false);

    // The pane against a look-up loop and a list view given the same rows at once.
    auto* frame = application.CreateForm<gui::TForm>();
    frame->SetFormStyle(gui::TFormStyle::fsMDIForm);
    frame->SetBounds(0, 0, 800, 600);
    frame->Show();
    TListenHost host;
    for (const auto& record : ergebnis) host.Ergebnis.push_back(std::make_unique<TEineDatei>(*record));
    auto* pane = gui::Create<TSuchergebnisForm>(frame, &host, ftSuchergebnis);
    pane->SetBounds(0, 0, 780, 560);
    pane->Show();
    TEinstellungen settings;
    TOptionen options = settings.Sucherg;
    options.CheckArchive = false;
    TEnhListView plain(frame);
    plain.SetParent(frame);
    plain.SetBounds(0, 0, 10, 10);
    plain.SetViewStyle(gui::TViewStyle::vsReport);
    plain.DisplayCallbacks = true;
    plain.AddColumn({L"Pfad", 150, gui::TAlignment::taLeftJustify});
    {
        const auto best = Best({[&] {
                                    WIN32_FILE_ATTRIBUTE_DATA data;
                                    plain.BeginUpdate();
                                    plain.Clear();
                                    for (const auto& record : host.Ergebnis) {
                                        GetFileAttributesExW(record->Name.c_str(), GetFileExInfoStandard, &data);
                                        plain.AddItem(record->Name, record.get());
                                    }
                                    plain.EndUpdate();
                                },
                                [&] { pane->ApplyOptions(options); }});
        std::printf("pane rows: %d\n", pane->DateiListe.Count());
        Ratio("pane reading the search result / look-up loop and list view", best[1], best[0], 2.0);
    }
    plain.Clear();
    pane->DateiListe.Clear();
    delete IconRoutinen;
    IconRoutinen = nullptr;
    return 0;
}
