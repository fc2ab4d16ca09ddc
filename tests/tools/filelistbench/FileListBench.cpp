// Times the file list pane against a plain shell listing of the same folder, in
// one process: five alternating runs of each measurement, medians printed.
//
// Baseline: the folder parsed and bound through the desktop, enumerated (folders,
// other items, hidden ones), per item its shell attributes, its parsing name and
// its absolute ID list; the items sorted by the folder's own name comparison;
// then a plain list view (the pane kind's view style) filled with the names and
// painted. Beside it a plain FindFirstFileW loop over the folder, the measure for
// the pane's reader thread.
//
// The folder holds 100,000 empty files of mixed extensions, made once below the
// temporary folder (or the folder given as first argument is used as it is).
// Figures count only from a Release build run under Wine with a display:
//   xvfb-run -a wine filelist_bench.exe [FOLDER]

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "FileListBenchPane.h"
#include "foundation/ComPtr.h"
#include "foundation/Pidl.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"

using namespace velmora;

namespace {

constexpr int kFiles = 100000;
constexpr int kRuns = 5;
// Baseline and pane windows side by side on a 1280 x 1024 screen, neither covered.
constexpr int kWidth = 600, kHeight = 700;
constexpr DWORD kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;  // 0xE0
constexpr ULONG kAttributeMask = 0xF00F0177;

const wchar_t* const kExtensions[] = {L"txt", L"doc", L"zip", L"exe", L"bmp", L"c", L"h", L"dat", L"arj", L"ini", L""};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The files sit in a folder of their own; a marker beside it says they are whole.
std::wstring MakeFolder(const std::wstring& root) {
    const std::wstring folder = root + L"dateien\\";
    if (FileExists(root + L"fertig"))
        return folder;
    std::printf("making %d files in %ls ...\n", kFiles, folder.c_str());
    ForceDirectories(folder);
    for (int i = 0; i < kFiles; ++i) {
        const std::wstring extension = kExtensions[i % std::size(kExtensions)];
        const std::wstring name = L"datei" + std::to_wstring(i * 7919 % kFiles) + (extension.empty() ? L"" : L".") + extension;
        CloseHandle(CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    CloseHandle(CreateFileW((root + L"fertig").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return folder;
}

// ---- baseline

struct TBaseItem {
    TPidl Rel, Abs;
    std::wstring Name;
    ULONG Attributes = 0;
};

struct TBaseFigures {
    double Listing = 0, Sort = 0, Fill = 0;
    long long Heap = 0, Comparisons = 0;
    size_t Items = 0;
    double Total() const { return Listing + Sort + Fill; }
};

std::wstring FileNamePart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The shell listing with the calls the pane makes per item.
bool List(HWND owner, const std::wstring& folder, TComPtr<IShellFolder>& bound, TPidl& folderPidl,
          std::vector<TBaseItem>& items) {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())))
        return false;
    std::wstring path = folder;
    ITEMIDLIST* parsed = nullptr;
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, path.data(), nullptr, &parsed, nullptr)))
        return false;
    folderPidl.reset(parsed);
    if (FAILED(desktop->BindToObject(folderPidl.get(), nullptr, IID_IShellFolder, bound.PutVoid())))
        return false;
    TComPtr<IEnumIDList> enumerator;
    if (bound->EnumObjects(owner, kEnumFlags, enumerator.Put()) != S_OK)
        return false;
    ITEMIDLIST* rel = nullptr;
    while (enumerator->Next(1, &rel, nullptr) == S_OK) {
        TBaseItem item;
        item.Rel.reset(rel);
        item.Attributes = kAttributeMask;
        LPCITEMIDLIST child = rel;
        bound->GetAttributesOf(1, &child, &item.Attributes);
        STRRET name{};
        wchar_t* text = nullptr;
        if (SUCCEEDED(bound->GetDisplayNameOf(rel, SHGDN_FORPARSING, &name)) && SUCCEEDED(StrRetToStrW(&name, rel, &text))) {
            item.Name = FileNamePart(text);
            CoTaskMemFree(text);
        }
        item.Abs = PidlVerketten(folderPidl.get(), rel);
        items.push_back(std::move(item));
    }
    return true;
}

// A merge sort: about n log2 n comparisons, fewer than std::sort makes, so the
// baseline does not pay for the sort's choice.
long long SortByName(IShellFolder* folder, std::vector<TBaseItem>& items) {
    long long comparisons = 0;
    std::stable_sort(items.begin(), items.end(), [folder, &comparisons](const TBaseItem& a, const TBaseItem& b) {
        ++comparisons;
        return static_cast<short>(HRESULT_CODE(folder->CompareIDs(0, a.Rel.get(), b.Rel.get()))) < 0;
    });
    return comparisons;
}

void FillAndPaint(HWND parent, DWORD viewStyle, const std::vector<TBaseItem>& items, HWND& list) {
    list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | viewStyle | LVS_SHOWSELALWAYS, 0, 0,
                           kWidth, kHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 200;
    column.pszText = const_cast<wchar_t*>(L"Datei");
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, items.size(), 0);
    for (size_t i = 0; i < items.size(); ++i) {
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_PARAM;
        row.iItem = static_cast<int>(i);
        row.pszText = const_cast<wchar_t*>(items[i].Name.c_str());
        row.lParam = static_cast<LPARAM>(i);
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
}

TBaseFigures Baseline(HWND parent, const std::wstring& folder, DWORD viewStyle) {
    TBaseFigures f;
    const long long heapBefore = HeapInUse();
    HWND list = nullptr;
    {
        TComPtr<IShellFolder> bound;
        TPidl folderPidl;
        std::vector<TBaseItem> items;
        auto start = std::chrono::steady_clock::now();
        if (!List(parent, folder, bound, folderPidl, items))
            std::printf("the shell could not list %ls\n", folder.c_str());
        f.Listing = Seconds(start);
        start = std::chrono::steady_clock::now();
        f.Comparisons = SortByName(bound.Get(), items);
        f.Sort = Seconds(start);
        start = std::chrono::steady_clock::now();
        FillAndPaint(parent, viewStyle, items, list);
        f.Fill = Seconds(start);
        f.Items = items.size();
        f.Heap = HeapInUse() - heapBefore;
        DestroyWindow(list);
    }
    return f;
}

// ---- the plain FindFirstFileW loop

double FindLoop(const std::wstring& folder, size_t& entries) {
    const auto start = std::chrono::steady_clock::now();
    entries = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (data.cFileName[0] != L'.' || (data.cFileName[1] && wcscmp(data.cFileName, L"..") != 0))
                ++entries;
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return Seconds(start);
}

void PrintRatio(const char* what, double value, double base, double passMark) {
    const double ratio = base > 0 ? value / base : 0;
    std::printf("%-52s ratio %6.3f  (pass mark %.2f) %s\n", what, ratio, passMark, ratio <= passMark ? "pass" : "FAIL");
}

}  // namespace

long long velmora::HeapInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    long long busy = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heap);
    }
    return busy;
}

int wmain(int argc, wchar_t** argv) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    gui::TApplication application;
    const std::wstring folder =
        argc > 1 ? IncludeTrailingBackslash(argv[1]) : MakeFolder(TempDirectory() + L"filelist-bench\\");

    gui::TForm form(nullptr);
    form.SetCaption(L"filelist_bench");
    form.SetBounds(0, 0, kWidth + 24, kHeight + 48);
    form.Show();
    TBenchPanes panes(folder);

    struct TKind {
        const char* Name;
        DWORD Style;
        int PaneKind;
        std::vector<double> Listing, Sort, Fill, Total, Pane, AttributeSort;
        std::vector<long long> Heap;
        size_t Items = 0;
    };
    TKind kinds[] = {{"list style (kind 1)", LVS_LIST, 1, {}, {}, {}, {}, {}, {}, {}},
                     {"report style (kind 2)", LVS_REPORT, 2, {}, {}, {}, {}, {}, {}, {}}};
    std::vector<double> find, reader, readerWhole;
    size_t findEntries = 0, readerLoaded = 0;
    long long comparisons = 0;
    for (int run = 0; run < kRuns; ++run) {
        for (TKind& kind : kinds) {
            const TBaseFigures f = Baseline(form.Handle(), folder, kind.Style);
            kind.Listing.push_back(f.Listing);
            kind.Sort.push_back(f.Sort);
            kind.Fill.push_back(f.Fill);
            kind.Total.push_back(f.Total());
            kind.Heap.push_back(f.Heap);
            kind.Items = f.Items;
            comparisons = f.Comparisons;
            kind.Pane.push_back(panes.DefaultRead(kind.PaneKind));
            kind.AttributeSort.push_back(panes.AttributeSortRead(kind.PaneKind));
        }
        find.push_back(FindLoop(folder, findEntries));
        const TReaderTimes times = panes.ReaderRun();
        reader.push_back(times.Reader);
        readerWhole.push_back(times.Whole);
        readerLoaded = times.Loaded;
        std::printf("run %d of %d done\n", run + 1, kRuns);
    }

    std::printf("\nfolder %ls: %zu shell items, %zu found by FindFirstFileW; medians of %d runs\n", folder.c_str(),
                kinds[0].Items, findEntries, kRuns);
    for (const TKind& kind : kinds) {
        std::printf("baseline, %s: listing %.3f s, sort %.3f s, fill and paint %.3f s, together %.3f s\n", kind.Name,
                    Median(kind.Listing), Median(kind.Sort), Median(kind.Fill), Median(kind.Total));
    }
    std::printf("baseline sort: %lld name comparisons\n", comparisons);
    std::vector<double> heaps;
    for (long long heap : kinds[1].Heap)
        heaps.push_back(static_cast<double>(heap));
    const double baseHeap = kinds[1].Items ? Median(heaps) / static_cast<double>(kinds[1].Items) : 0;
    std::printf("baseline heap per entry (report style): %.0f bytes\n", baseHeap);
    std::printf("FindFirstFileW loop: %.3f s\n", Median(find));

    std::printf("pane entries: %zu\n", panes.Entries());
    bool passed = true;
    auto mark = [&](const char* what, double value, double base, double passMark) {
        PrintRatio(what, value, base, passMark);
        passed &= base > 0 && value / base <= passMark;
    };
    for (const TKind& kind : kinds) {
        std::printf("pane, default options, %s: %.3f s\n", kind.Name, Median(kind.Pane));
        mark(kind.PaneKind == 1 ? "pane kind 1 against baseline" : "pane kind 2 against baseline", Median(kind.Pane),
             Median(kind.Total), 1.5);
    }
    for (const TKind& kind : kinds) {
        std::printf("pane, Hidden off, attribute sort, %s: %.3f s\n", kind.Name, Median(kind.AttributeSort));
        mark(kind.PaneKind == 1 ? "pane kind 1, Hidden off, attribute sort" : "pane kind 2, Hidden off, attribute sort",
             Median(kind.AttributeSort), Median(kind.Total), 2.5);
    }
    std::printf("pane reader alone, %zu of %zu entries loaded: %.3f s; pane from SetDirectory until its reader ended: %.3f s\n",
                readerLoaded, panes.Entries(), Median(reader), Median(readerWhole));
    mark("reader against FindFirstFileW loop", Median(reader), Median(find), 2.0);
    const TPaneHeap heap = panes.Heap();
    std::printf("pane heap per entry: %.0f bytes; in use after the first read %lld, after the tenth %lld bytes\n",
                heap.PerEntry, heap.FirstRead, heap.TenthRead);
    mark("pane heap per entry against baseline", heap.PerEntry, baseHeap, 1.5);
    mark("heap after the tenth read against the first", static_cast<double>(heap.TenthRead),
         static_cast<double>(heap.FirstRead), 1.01);
    return passed ? 0 : 1;
}
