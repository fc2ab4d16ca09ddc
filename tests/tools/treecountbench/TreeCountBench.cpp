// Times the status line's folder-tree counter (TQuickViewThread, from its start
// to its result in the GUI thread) against a plain recursive FindFirstFileW count
// of the same tree: five alternating runs each after a warm-up, best of each.
// The tree (100,000 files in 5,000 folders) is made once below the temporary
// folder, or taken from the first argument. A program, not a test.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "mainwindow/StatusThreads.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;

namespace {

constexpr int kFolders = 5000;
constexpr int kFilesPerFolder = 20;
constexpr int kRuns = 5;
constexpr double kPassMark = 1.1;

void MakeTree(const std::wstring& root) {
    if (FileExists(root + L"fertig"))
        return;
    std::printf("making the tree in %ls ...\n", root.c_str());
    for (int f = 0; f < kFolders; ++f) {
        // 50 top folders of 100 folders each.
        const std::wstring folder = root + L"t" + std::to_wstring(f / 100) + L"\\o" + std::to_wstring(f) + L"\\";
        ForceDirectories(folder);
        for (int i = 0; i < kFilesPerFolder; ++i) {
            HANDLE h = CreateFileW((folder + L"datei" + std::to_wstring(i) + L".txt").c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(h, "velmora", 1 + i % 7, &written, nullptr);
            CloseHandle(h);
        }
    }
    CloseHandle(CreateFileW((root + L"fertig").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// The baseline: the same walk, plainly.
void PlainCount(const std::wstring& folder, long long& files) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring name = entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (name != L"." && name != L"..")
                PlainCount(folder + name + L"\\", files);
        } else {
            ++files;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double TimeThread(const std::wstring& root, long long& files) {
    bool done = false;
    const auto start = std::chrono::steady_clock::now();
    auto* thread = new TQuickViewThread(root, [&](TQuickViewThread& counter) {
        files = counter.Files - 1;  // the marker file
        done = true;
    });
    thread->FreeOnTerminate = true;
    thread->Resume();
    if (!gui::WaitUntil([&] { return done; }, 600000))
        std::printf("the counter did not report\n");
    return Seconds(start);
}

double TimePlain(const std::wstring& root, long long& files) {
    const auto start = std::chrono::steady_clock::now();
    files = 0;
    PlainCount(root, files);
    --files;  // the marker file
    return Seconds(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    gui::TApplication application;
    const std::wstring root = argc > 1 ? IncludeTrailingBackslash(argv[1]) : TempDirectory() + L"treecount-bench\\";
    MakeTree(root);
    long long threadFiles = 0, plainFiles = 0;
    TimeThread(root, threadFiles);
    TimePlain(root, plainFiles);
    double bestThread = 1e9, bestPlain = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        bestThread = std::min(bestThread, TimeThread(root, threadFiles));
        bestPlain = std::min(bestPlain, TimePlain(root, plainFiles));
    }
    std::printf("counter thread: %.3f s, %lld files\n", bestThread, threadFiles);
    std::printf("plain FindFirstFileW: %.3f s, %lld files\n", bestPlain, plainFiles);
    std::printf("totals %s\n", threadFiles == plainFiles ? "equal" : "DIFFER");
    const double ratio = bestThread / bestPlain;
    std::printf("counter against plain walk: ratio %.3f (pass mark %.1f) %s\n", ratio, kPassMark,
                ratio <= kPassMark ? "pass" : "FAIL");
    return ratio <= kPassMark && threadFiles == plainFiles ? 0 : 1;
}
