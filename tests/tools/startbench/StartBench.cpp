// start_bench: how soon Velmora stands after its start, against two bare
// programs of this file's own, each started the same way (a new process of
// its own): a bare window, and a bare report list view that reads the folder
// with FindFirstFileW, sorts the names and shows them. Velmora starts with both
// panes as detailed lists on one folder of 10,000 files (made once beforehand
// and kept). The runs alternate, best of five. The benchmark watches the
// windows as a user sees them: a window mapped, a list view holding all rows.
//
//   start_bench VELMORA_EXE [-r ROUNDS] [-d WORKFOLDER] [-s] [-c] [-v]
//
// -s skips the 100,000-file case (printed for information only); -c makes one
// round of the 10,000-file case and no 100,000 one (a cold start: run it right
// after the Wine server has gone); -v prints the processor time samples. Figures count only from an optimised build
// run under Wine with a display (tools/wine-env.sh gives the X resources).
//
// The phases printed: splash (the first window of the process mapped), main
// window (the frame mapped), first list and both lists (the panes' list views
// holding all rows), idle (the process's processor time stops growing).

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "../BenchClock.h"

namespace {

constexpr double kNever = -1;
bool verbose = false;

struct TPhasen {
    double Splash = kNever, Hauptfenster = kNever, ErsteListe = kNever, BeideListen = kNever, Leerlauf = kNever;
};

std::wstring FolderOf(const std::wstring& work, int files) {
    return work + L"\\dateien" + std::to_wstring(files);
}

// The folder of Files empty files, a few extensions mixed, made once: a
// marker file written last says it is whole.
bool MakeFolder(const std::wstring& folder, int files) {
    const std::wstring marker = folder + L".fertig";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    std::fwprintf(stderr, L"making %ls (%d files) ...\n", folder.c_str(), files);
    CreateDirectoryW(folder.c_str(), nullptr);
    static const wchar_t* const kExt[] = {L"txt", L"doc", L"bmp", L"exe", L"ini", L"dat", L"htm", L"c"};
    for (int i = 0; i < files; ++i) {
        wchar_t name[64];
        std::swprintf(name, 64, L"\\Datei%06d.%ls", (i * 7919) % files, kExt[i % 8]);
        HANDLE h = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
    }
    HANDLE h = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

// Velmora's stored window: a fixed place, both panes detailed file lists.
void WriteVelmoraSettings() {
    HKEY key;
    if (RegCreateKeyExW(HKEY_USERS, L".default\\Software\\Quorin Ashvale\\Velmora\\1.0\\Mainform", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    auto put = [&](const wchar_t* name, const wchar_t* value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t)));
    };
    put(L"Fenster", L"33");
    put(L"Pos", L"0,0,1000,700");
    put(L"Max", L"0");
    put(L"BreiteLinkesFenster", L"496");
    RegCloseKey(key);
}

// ---- the watcher ----------------------------------------------------------

struct TSuche {
    DWORD Process;
    HWND Frame = nullptr;  // a mapped top-level window holding an MDI client or a list view
    HWND Other = nullptr;  // any other mapped top-level window (the splash)
};

BOOL CALLBACK FindChild(HWND child, LPARAM found) {
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    if (!std::wcscmp(cls, L"MDIClient") || !std::wcscmp(cls, WC_LISTVIEWW)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindTopLevel(HWND w, LPARAM data) {
    auto& s = *reinterpret_cast<TSuche*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != s.Process || !IsWindowVisible(w))
        return TRUE;
    bool frame = false;
    EnumChildWindows(w, FindChild, reinterpret_cast<LPARAM>(&frame));
    // A bare window holds nothing: it counts as the frame too.
    if (frame || GetMenu(w) || (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION)
        s.Frame = w;
    else
        s.Other = w;
    return TRUE;
}

struct TListen {
    int Full = 0;
    int Rows;
};

BOOL CALLBACK CountLists(HWND child, LPARAM data) {
    auto& l = *reinterpret_cast<TListen*>(data);
    wchar_t cls[64];
    GetClassNameW(child, cls, 64);
    if (std::wcscmp(cls, WC_LISTVIEWW) || !IsWindowVisible(child))
        return TRUE;
    DWORD_PTR count = 0;
    if (SendMessageTimeoutW(child, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &count) &&
        static_cast<int>(count) >= l.Rows)
        ++l.Full;
    return TRUE;
}

double ProcessorSeconds(HANDLE process) {
    FILETIME c, e, k, u;
    if (!GetProcessTimes(process, &c, &e, &k, &u))
        return 0;
    auto s = [](FILETIME f) { return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7; };
    return s(k) + s(u);
}

// Starts CommandLine and watches it until Lists list views hold Rows rows
// (none: until the frame is mapped) and the process then idles.
TPhasen Watch(const std::wstring& commandLine, int lists, int rows) {
    TPhasen p;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;
    const double start = BenchNow();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (%lu)\n", commandLine.c_str(), GetLastError());
        return p;
    }
    HWND frame = nullptr;
    // Idle: a stretch of kIdleWindow seconds with less than kIdleShare of one
    // processor used (Wine's own threads and the program's timers never stop).
    constexpr double kIdleWindow = 0.3, kIdleShare = 0.05;
    double windowStart = 0, windowCpu = 0;
    bool watching = false;
    const double deadline = start + 120;
    while (BenchNow() < deadline && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
        const double now = BenchNow() - start;
        TSuche s{pi.dwProcessId};
        EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
        if (p.Splash == kNever && (s.Other || s.Frame))
            p.Splash = now;
        if (!frame && s.Frame) {
            frame = s.Frame;
            p.Hauptfenster = now;
        }
        if (frame && p.BeideListen == kNever && lists > 0) {
            TListen l{0, rows};
            EnumChildWindows(frame, CountLists, reinterpret_cast<LPARAM>(&l));
            if (l.Full >= 1 && p.ErsteListe == kNever)
                p.ErsteListe = BenchNow() - start;
            if (l.Full >= lists)
                p.BeideListen = BenchNow() - start;
        }
        const bool filled = frame && (lists == 0 || p.BeideListen != kNever);
        if (filled) {
            const double t = BenchNow() - start, cpu = ProcessorSeconds(pi.hProcess);
            if (verbose)
                std::fwprintf(stderr, L"  %.3f s: %.3f s processor\n", t, cpu);
            if (!watching) {
                watching = true;
                windowStart = t;
                windowCpu = cpu;
            } else if (t - windowStart >= kIdleWindow) {
                if (cpu - windowCpu < kIdleShare * (t - windowStart)) {
                    p.Leerlauf = windowStart;
                    break;
                }
                windowStart = t;
                windowCpu = cpu;
            }
            if (t > 60)
                break;
        }
        Sleep(filled ? 20 : 5);
    }
    // Closed as a user would close it; a process that will not go is ended.
    if (frame)
        PostMessageW(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return p;
}

void Keep(double& best, double value) {
    if (value != kNever && (best == kNever || value < best))
        best = value;
}

void KeepBest(TPhasen& best, const TPhasen& run) {
    Keep(best.Splash, run.Splash);
    Keep(best.Hauptfenster, run.Hauptfenster);
    Keep(best.ErsteListe, run.ErsteListe);
    Keep(best.BeideListen, run.BeideListen);
    Keep(best.Leerlauf, run.Leerlauf);
}

void PrintRow(const wchar_t* name, const TPhasen& p) {
    auto cell = [](double v) {
        if (v == kNever)
            std::wprintf(L" %10ls", L"-");
        else
            std::wprintf(L" %10.3f", v);
    };
    std::wprintf(L"%-14ls", name);
    cell(p.Splash);
    cell(p.Hauptfenster);
    cell(p.ErsteListe);
    cell(p.BeideListen);
    cell(p.Leerlauf);
    std::wprintf(L"\n");
}

void Ratio(const wchar_t* what, double a, double b, double mark) {
    if (a == kNever || b == kNever || b <= 0) {
        std::wprintf(L"ratio %ls: not measured\n", what);
        return;
    }
    const double r = a / b;
    std::wprintf(L"ratio %ls: %.2f (pass mark %.1f) %ls\n", what, r, mark, r <= mark ? L"PASS" : L"FAIL");
}

void RunCase(const std::wstring& self, const std::wstring& velmora, const std::wstring& folder, int files,
             int rounds, bool ratios) {
    TPhasen v, w, l;
    for (int r = 0; r < rounds; ++r) {
        WriteVelmoraSettings();
        KeepBest(v, Watch(L"\"" + velmora + L"\" \"" + folder + L"\"", 2, files));
        KeepBest(w, Watch(L"\"" + self + L"\" --bare-window", 0, 0));
        KeepBest(l, Watch(L"\"" + self + L"\" --bare-list \"" + folder + L"\"", 1, files));
    }
    std::wprintf(L"\n%d files, best of %d (seconds from the process start)\n", files, rounds);
    std::wprintf(L"%-14ls %10ls %10ls %10ls %10ls %10ls\n", L"program", L"splash", L"main", L"first list",
                 L"both lists", L"idle");
    PrintRow(L"Velmora", v);
    PrintRow(L"bare window", w);
    PrintRow(L"bare list", l);
    if (ratios) {
        Ratio(L"main window / bare window", v.Hauptfenster, w.Hauptfenster, 3.0);
        Ratio(L"both lists / bare list", v.BeideListen, l.BeideListen, 1.3);
    } else {
        std::wprintf(L"for information: main window / bare window %.2f, both lists / bare list %.2f\n",
                     v.Hauptfenster / w.Hauptfenster, v.BeideListen / l.BeideListen);
    }
    std::fflush(stdout);
}

// ---- the two bare programs --------------------------------------------------

LRESULT CALLBACK BareProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_SIZE) {
        if (HWND list = GetWindow(w, GW_CHILD))
            MoveWindow(list, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
    }
    if (m == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

struct TZeile {
    std::wstring Name, Groesse, Datum;
};

int Bare(const wchar_t* folder) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"StartBenchBare";
    RegisterClassW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    if (folder) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        RECT rc;
        GetClientRect(frame, &rc);
        HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0,
                                    rc.right, rc.bottom, frame, nullptr, wc.hInstance, nullptr);
        const wchar_t* heads[] = {L"Name", L"Größe", L"Datum"};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW c{};
            c.mask = LVCF_TEXT | LVCF_WIDTH;
            c.cx = i ? 120 : 300;
            c.pszText = const_cast<wchar_t*>(heads[i]);
            SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&c));
        }
        ShowWindow(frame, SW_SHOW);
        UpdateWindow(frame);
        std::vector<TZeile> rows;
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!std::wcscmp(fd.cFileName, L".") || !std::wcscmp(fd.cFileName, L".."))
                    continue;
                SYSTEMTIME st;
                FileTimeToSystemTime(&fd.ftLastWriteTime, &st);
                wchar_t date[32];
                std::swprintf(date, 32, L"%02d.%02d.%04d %02d:%02d", st.wDay, st.wMonth, st.wYear, st.wHour,
                              st.wMinute);
                rows.push_back({fd.cFileName, std::to_wstring(fd.nFileSizeLow), date});
            } while (FindNextFileW(find, &fd));
            FindClose(find);
        }
        std::sort(rows.begin(), rows.end(),
                  [](const TZeile& a, const TZeile& b) { return lstrcmpiW(a.Name.c_str(), b.Name.c_str()) < 0; });
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LVM_SETITEMCOUNT, rows.size(), 0);
        for (size_t i = 0; i < rows.size(); ++i) {
            LVITEMW it{};
            it.mask = LVIF_TEXT;
            it.iItem = static_cast<int>(i);
            it.pszText = rows[i].Name.data();
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
            it.iSubItem = 1;
            it.pszText = rows[i].Groesse.data();
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&it));
            it.iSubItem = 2;
            it.pszText = rows[i].Datum.data();
            SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&it));
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    } else {
        ShowWindow(frame, SW_SHOW);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && !std::wcscmp(argv[1], L"--bare-window"))
        return Bare(nullptr);
    if (argc >= 3 && !std::wcscmp(argv[1], L"--bare-list"))
        return Bare(argv[2]);
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: start_bench VELMORA_EXE [-r ROUNDS] [-d WORKFOLDER] [-s] [-c]\n");
        return 2;
    }
    std::wstring velmora = argv[1];
    // A Unix path (as the build knows the program) is reached through Wine's drive Z:.
    if (!velmora.empty() && velmora[0] == L'/') {
        std::replace(velmora.begin(), velmora.end(), L'/', L'\\');
        velmora = L"Z:" + velmora;
    }
    std::wstring work = L"C:\\velmora-startbench";
    int rounds = 5;
    bool small = false, cold = false;
    for (int i = 2; i < argc; ++i) {
        if (!std::wcscmp(argv[i], L"-r") && i + 1 < argc)
            rounds = std::max(1, _wtoi(argv[++i]));
        else if (!std::wcscmp(argv[i], L"-d") && i + 1 < argc)
            work = argv[++i];
        else if (!std::wcscmp(argv[i], L"-s"))
            small = true;
        else if (!std::wcscmp(argv[i], L"-c"))
            cold = true;
        else if (!std::wcscmp(argv[i], L"-v"))
            verbose = true;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring f10 = FolderOf(work, 10000), f100 = FolderOf(work, 100000);
    if (!MakeFolder(f10, 10000) || (!small && !cold && !MakeFolder(f100, 100000))) {
        std::fwprintf(stderr, L"cannot make the folders in %ls\n", work.c_str());
        return 1;
    }
    std::wprintf(L"start_bench: %ls\n", velmora.c_str());
    RunCase(self, velmora, f10, 10000, cold ? 1 : rounds, true);
    if (!small && !cold)
        RunCase(self, velmora, f100, 100000, std::min(rounds, 2), false);
    return 0;
}
