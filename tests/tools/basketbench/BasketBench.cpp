// Dropping 20,000 files from another program on a basket that holds 20,000
// others, against a plain loop of FindFirstFileW over the same names: a
// program, not a test. The files come from make-files.sh (made once, kept);
// each figure is the best of five alternating runs, no basket pane shown.
//   basket_bench.exe FOLDER          (the Windows path of make-files.sh's folder)
// Prints one line "... ratio R (pass mark 2) pass|FAIL" and ends with 1 on a fail.

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"

using namespace velmora;

namespace {

constexpr int kFiles = 20000;
constexpr int kRuns = 5;
constexpr double kPassMark = 2.0;

TStringList Names(const std::wstring& folder) {
    TStringList names;
    for (int i = 0; i < kFiles; ++i) names.Add(folder + L"f" + std::to_wstring(i) + L".txt");
    return names;
}

double Plain(const TStringList& names) {
    const double start = BenchNow();
    int found = 0;
    for (const std::wstring& name : names) {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(name.c_str(), &data);
        if (h == INVALID_HANDLE_VALUE) continue;
        FindClose(h);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++found;
    }
    if (found != kFiles) std::fprintf(stderr, "only %d of the files found\n", found);
    return BenchNow() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: basket_bench FOLDER\n");
        return 2;
    }
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    const TStringList dropped = Names(folder + L"drop\\"), held = Names(folder + L"held\\");

    OleInitialize(nullptr);
    double best = 1e9, bestPlain = 1e9;
    std::size_t count = 0;
    {
        gui::TApplication application;
        THauptform* form = gui::Create<THauptform>(nullptr);
        for (int run = 0; run < kRuns; ++run) {
            form->Basket->clear();
            form->DropOnBasket(held);  // the 20,000 already held, not timed
            const double start = BenchNow();
            form->DropOnBasket(dropped);
            best = std::min(best, BenchNow() - start);
            count = form->Basket->size();
            bestPlain = std::min(bestPlain, Plain(dropped));
        }
        form->Free();
    }
    OleUninitialize();
    const double ratio = best / bestPlain;
    const bool pass = count == 2 * kFiles && ratio <= kPassMark;
    std::printf("basket_bench: %d files dropped on a basket of %d: %.3f s, FindFirstFileW %.3f s, %zu records, "
                "ratio %.2f (pass mark 2) %s\n",
                kFiles, kFiles, best, bestPlain, count, ratio, pass ? "pass" : "FAIL");
    return pass ? 0 : 1;
}
