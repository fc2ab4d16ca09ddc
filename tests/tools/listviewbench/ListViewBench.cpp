// Fills a report-style list view through the library (TListView) and a raw
// SysListView32 with the same rows, then selects every third row and walks the
// selected rows, reading each one's selected state. Prints the times and the
// library/raw ratio of each phase; the pass mark of a ratio is 1.5. Each side
// runs twice, in turns, and keeps its best time, so that neither pays alone for
// a cold start.
//   listview_bench [ROWS]   (default 100000)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ListView.h"

using namespace velmora;
using Clock = std::chrono::steady_clock;

namespace {

constexpr double kPassMark = 1.5;

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct TFigures {
    double Fill = 0, Walk = 0;
    long Selected = 0;
};

std::wstring SizeText(int row) { return std::to_wstring(row * 37 % 100000); }

TFigures Library(gui::TForm& form, int rows) {
    gui::TListView list(&form);
    list.MultiSelect = true;
    list.SetViewStyle(gui::TViewStyle::vsReport);
    list.SetBounds(0, 0, 600, 400);
    list.AddColumn({L"Name", 200});
    list.AddColumn({L"Größe", 80});
    list.AddColumn({L"Datum", 120});
    list.HandleNeeded();
    TFigures f;
    auto start = Clock::now();
    list.BeginUpdate();
    list.Reserve(rows);
    for (int i = 0; i < rows; ++i) {
        gui::TListItem* item = list.AddItem(L"datei" + std::to_wstring(i) + L".txt");
        item->AddSubItem(SizeText(i));
        item->AddSubItem(L"09.12.2026 11:45");
    }
    list.EndUpdate();
    f.Fill = SecondsSince(start);

    start = Clock::now();
    for (int i = 0; i < rows; i += 3) list.Items(i)->SetSelected(true);
    for (gui::TListItem* item = list.NextSelected(); item; item = list.NextSelected(item))
        if (item->Selected()) ++f.Selected;
    f.Walk = SecondsSince(start);
    return f;
}

TFigures Raw(HWND parent, int rows) {
    HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                                0, 0, 600, 400, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    const wchar_t* captions[] = {L"Name", L"Größe", L"Datum"};
    const int widths[] = {200, 80, 120};
    for (int c = 0; c < 3; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = widths[c];
        col.pszText = const_cast<wchar_t*>(captions[c]);
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
    TFigures f;
    auto start = Clock::now();
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    std::wstring date = L"09.12.2026 11:45";
    for (int i = 0; i < rows; ++i) {
        std::wstring name = L"datei" + std::to_wstring(i) + L".txt";
        std::wstring size = SizeText(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = name.data();
        item.lParam = i;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = size.data();
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
        sub.iSubItem = 2;
        sub.pszText = date.data();
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    f.Fill = SecondsSince(start);

    start = Clock::now();
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    for (int i = 0; i < rows; i += 3) SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&state));
    for (int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); row >= 0;
         row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)))
        if (SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED) ++f.Selected;
    f.Walk = SecondsSince(start);
    DestroyWindow(list);
    return f;
}

void Report(const char* phase, double library, double raw) {
    const double ratio = raw > 0 ? library / raw : 0;
    std::printf("%-15s library %8.3f s   raw SysListView32 %8.3f s   ratio %5.2f  (pass mark %.1f: %s)\n", phase, library,
                raw, ratio, kPassMark, ratio <= kPassMark ? "passed" : "FAILED");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rows = argc > 1 ? std::max(1, _wtoi(argv[1])) : 100000;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    gui::TApplication application;
    gui::TForm form(nullptr);
    form.SetClientSize(620, 420);
    form.Show();
    // The raw list's parent: a plain window of the system's default procedure.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ListViewBenchRaw";
    RegisterClassW(&wc);
    HWND rawParent = CreateWindowExW(0, wc.lpszClassName, L"raw", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 620, 420, nullptr,
                                     nullptr, wc.hInstance, nullptr);

    std::printf("%d rows, 3 columns, report style; every third row selected, then walked\n", rows);
    TFigures raw, library;
    for (int round = 0; round < 2; ++round) {
        const TFigures r = Raw(rawParent, rows);
        const TFigures l = Library(form, rows);
        raw = round == 0 ? r : TFigures{std::min(raw.Fill, r.Fill), std::min(raw.Walk, r.Walk), r.Selected};
        library = round == 0 ? l : TFigures{std::min(library.Fill, l.Fill), std::min(library.Walk, l.Walk), l.Selected};
    }
    if (raw.Selected != library.Selected)
        std::printf("selected rows differ: library %ld, raw %ld\n", library.Selected, raw.Selected);
    Report("fill", library.Fill, raw.Fill);
    Report("selection walk", library.Walk, raw.Walk);
    Report("both", library.Fill + library.Walk, raw.Fill + raw.Walk);
    DestroyWindow(rawParent);
    return raw.Selected == library.Selected ? 0 : 1;
}
