// arcpane_bench: the archive pane reading generated ZIPs of 100,000 and 200,000
// entries against a plain enhanced list view showing as many rows, in one
// process, alternating, best of five.
//
//   arcpane_bench [-r ROUNDS] [-w FOLDER] [-s]
//
// Pane: ReadContents twice (the second read empties the first) on an archive of
// N entries, flat (all in the root) or ten to a folder, through the real zip
// library (ZLUNZ32.DLL beside the program), with the default archive-view
// options sorted by name, a progress bar in the host and the window painted.
// Baseline: a TEnhListView with the pane's five columns gets N rows of the same
// five texts, made beforehand, in one update bracket, sorted by name through its
// own column sort (comparing the names case-blind), painted; then emptied and
// filled, sorted and painted again.
// -s adds the parts of a pane read (listing alone, the list filled) for finding
// where the time goes. FOLDER defaults to Z:\dev\shm\arcpanebench-<pid>; it is
// made, filled and removed. Figures count only from an optimised build (the
// default RelWithDebInfo) run under Wine with a display.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../BenchClock.h"
#include "NullPaneHost.h"
#include "archive/formats/ArcLister.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/Einstellungen.h"
#include "foundation/IconRoutinen.h"
#include "foundation/controls/EnhListView.h"
#include "panes/ZipView.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Strings.h"

using namespace velmora;

namespace {

constexpr int kSizes[] = {100000, 200000};
// Baseline and pane side by side on a 1280 x 1024 screen, neither covered.
constexpr int kWidth = 620, kHeight = 700;
const char* const kExtensions[] = {"txt", "doc", "zip", "exe", "bmp", "c", "h", "dat", "arj", "ini", "pas", ""};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "arcpane_bench: %s (error %lu)\n", what.c_str(), GetLastError());
    std::exit(1);
}

// ---- the generated archives

std::uint32_t Crc32(const std::string& data) {
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : data)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void Put16(std::string& s, std::uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void Put64(std::string& s, std::uint64_t v) {
    Put32(s, static_cast<std::uint32_t>(v));
    Put32(s, static_cast<std::uint32_t>(v >> 32));
}

// Entry i of N, in an order that is not the sorted one: mixed extensions, small
// stored contents of 0 to 40 bytes, dates spread over some years. Foldered, ten
// entries share a folder.
std::string EntryName(int i, int count, bool foldered) {
    const int n = static_cast<int>((static_cast<long long>(i) * 7919) % count);
    char name[64];
    const char* ext = kExtensions[n % std::size(kExtensions)];
    if (foldered)
        std::snprintf(name, sizeof name, "Ordner%06d/Datei%07d%s%s", n / 10, n, *ext ? "." : "", ext);
    else
        std::snprintf(name, sizeof name, "Datei%07d%s%s", n, *ext ? "." : "", ext);
    return name;
}

// A ZIP of stored entries with local headers, central directory and, from
// 65,535 entries on, the 64-bit end records.
void WriteZip(const std::wstring& path, int count, bool foldered) {
    std::string data, central;
    data.reserve(static_cast<size_t>(count) * 64);
    central.reserve(static_cast<size_t>(count) * 80);
    for (int i = 0; i < count; ++i) {
        const std::string name = EntryName(i, count, foldered);
        const std::string content(static_cast<size_t>(i % 41), static_cast<char>('a' + i % 26));
        const std::uint32_t crc = Crc32(content);
        const std::uint32_t dosDate = ((10 + i % 30) << 9) | ((1 + i % 12) << 5) | (1 + i % 28);
        const std::uint32_t dosTime = ((i % 24) << 11) | ((i % 60) << 5) | (i % 30);
        const std::uint32_t offset = static_cast<std::uint32_t>(data.size());
        Put32(data, 0x04034b50);
        Put16(data, 10);
        Put16(data, 0);
        Put16(data, 0);
        Put16(data, dosTime);
        Put16(data, dosDate);
        Put32(data, crc);
        Put32(data, static_cast<std::uint32_t>(content.size()));
        Put32(data, static_cast<std::uint32_t>(content.size()));
        Put16(data, static_cast<std::uint32_t>(name.size()));
        Put16(data, 0);
        data += name;
        data += content;

        Put32(central, 0x02014b50);
        Put16(central, 20);
        Put16(central, 10);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, dosTime);
        Put16(central, dosDate);
        Put32(central, crc);
        Put32(central, static_cast<std::uint32_t>(content.size()));
        Put32(central, static_cast<std::uint32_t>(content.size()));
        Put16(central, static_cast<std::uint32_t>(name.size()));
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put16(central, 0);
        Put32(central, 0x20);
        Put32(central, offset);
        central += name;
    }
    const std::uint64_t start = data.size();
    data += central;
    std::string end;
    if (count >= 0xFFFF) {
        const std::uint64_t e64 = data.size();
        Put32(end, 0x06064b50);
        Put64(end, 44);
        Put16(end, 45);
        Put16(end, 45);
        Put32(end, 0);
        Put32(end, 0);
        Put64(end, static_cast<std::uint64_t>(count));
        Put64(end, static_cast<std::uint64_t>(count));
        Put64(end, central.size());
        Put64(end, start);
        Put32(end, 0x07064b50);
        Put32(end, 0);
        Put64(end, e64);
        Put32(end, 1);
    }
    Put32(end, 0x06054b50);
    Put32(end, 0);
    Put16(end, static_cast<std::uint32_t>(std::min(count, 0xFFFF)));
    Put16(end, static_cast<std::uint32_t>(std::min(count, 0xFFFF)));
    Put32(end, static_cast<std::uint32_t>(central.size()));
    Put32(end, static_cast<std::uint32_t>(start));
    Put16(end, 0);
    data += end;

    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot make " + ToUtf8(path));
    DWORD written = 0;
    const bool ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
                    written == data.size();
    CloseHandle(file);
    if (!ok)
        Fail("cannot write " + ToUtf8(path));
}

// ---- the hosts

// The main window's side of a reading: a progress bar that is really there, so
// its steps cost what they cost.
class TBenchArchiveHost : public archive::TZipRoutinenHost {
public:
    explicit TBenchArchiveHost(HWND Parent) {
        m_bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, kHeight, kWidth, 16, Parent,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    bool ArchiveWorkRunning() const override { return false; }
    std::wstring StatusText(int Panel) const override { return m_texts[Panel & 1]; }
    void SetStatusText(int Panel, const std::wstring& Text) override { m_texts[Panel & 1] = Text; }
    void SetProgressMax(int Max) override { SendMessageW(m_bar, PBM_SETRANGE32, 0, Max); }
    void SetProgressPosition(int Position) override {
        SendMessageW(m_bar, PBM_SETPOS, static_cast<WPARAM>(Position), 0);
        ++Steps;
    }
    void ShowProgressPanel(bool) override {}
    void SetAbortEnabled(bool) override {}
    gui::TCursor Cursor() const override { return m_cursor; }
    void SetCursor(gui::TCursor Cursor) override { m_cursor = Cursor; }
    void Beep() override {}
    int Steps = 0;

private:
    HWND m_bar = nullptr;
    std::wstring m_texts[2];
    gui::TCursor m_cursor = gui::crDefault;
};

// ---- the baseline

struct TRowTexts {
    std::wstring Name;
    TStringList Rest;
};

std::vector<TRowTexts> BaselineRows(int count) {
    std::vector<TRowTexts> rows(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        TRowTexts& row = rows[static_cast<size_t>(i)];
        row.Name = FromUtf8(EntryName(i, count, false));
        row.Rest.Add(L"12.03.2004 10:15");
        row.Rest.Add(std::to_wstring(i % 41) + L" Bytes");
        row.Rest.Add(std::to_wstring(i % 41) + L" Bytes");
        row.Rest.Add(L"0%");
    }
    return rows;
}

void AddColumns(TEnhListView& list) {
    const wchar_t* captions[] = {L"Name", L"Datum", L"Orig. Größe", L"Komp. Größe", L"Einsparung"};
    const int widths[] = {100, 130, 75, 75, 35};
    for (int i = 0; i < 5; ++i)
        list.AddColumn({captions[i], widths[i], i >= 2 ? gui::TAlignment::taRightJustify : gui::TAlignment::taLeftJustify});
}

// Rows in one update bracket, then sorted by name through the list's own column
// sort (on the names alone: the built-in comparison tries every text as a date
// and a number first, which a pane sorting names does not pay).
void FillBaseline(TEnhListView& list, const std::vector<TRowTexts>& rows) {
    list.BeginUpdate();
    list.Reserve(static_cast<int>(rows.size()));
    for (const TRowTexts& row : rows) {
        gui::TListItem* item = list.AddItem(row.Name);
        item->SetSubItems(row.Rest);
    }
    list.SortByColumn(0, true);
    list.EndUpdate();
    UpdateWindow(list.Handle());
}

struct TBaseFigures {
    double Whole = 0, Fill = 0, Empty = 0;
};

TBaseFigures BaselineRun(TEnhListView& list, const std::vector<TRowTexts>& rows) {
    list.Clear();
    UpdateWindow(list.Handle());
    TBaseFigures f;
    const double start = BenchNow();
    FillBaseline(list, rows);
    f.Fill = BenchNow() - start;
    list.BeginUpdate();
    list.Clear();
    list.EndUpdate();
    f.Empty = BenchNow() - start - f.Fill;
    FillBaseline(list, rows);
    f.Whole = BenchNow() - start;
    return f;
}

// ---- the pane

struct TPaneFigures {
    double Whole = 0, First = 0;
    int Rows = 0;
    int Steps = 0;
};

void EmptyPane(TZipViewForm& pane) {
    pane.SetArchiveFile(L"");
    pane.ReadContents();
    UpdateWindow(pane.Dateiliste.Handle());
}

TPaneFigures PaneRun(TZipViewForm& pane, TBenchArchiveHost& host, const std::wstring& archive) {
    EmptyPane(pane);
    host.Steps = 0;
    TPaneFigures f;
    const double start = BenchNow();
    pane.SetArchiveFile(archive);
    pane.ReadContents();
    UpdateWindow(pane.Dateiliste.Handle());
    f.First = BenchNow() - start;
    pane.ReadContents();
    UpdateWindow(pane.Dateiliste.Handle());
    f.Whole = BenchNow() - start;
    f.Rows = pane.Dateiliste.Count();
    f.Steps = host.Steps;
    return f;
}

// The parts of one pane read: the listing alone, the tree, and the pane's list.
struct TSplits {
    double Listing = 0, Tree = 0, Read = 0;
};

TSplits PaneSplits(TZipViewForm& pane, archive::TZipRoutinen& routinen, const std::wstring& archive) {
    TSplits s;
    {
        TDateiListe flat;
        TArchivDaten totals;
        std::wstring name = archive;
        double start = BenchNow();
        routinen.OpenArchive(ftZip, name, totals, flat);
        s.Listing = BenchNow() - start;
        archive::TDatenListe root;
        start = BenchNow();
        archive::TZipRoutinen::BuildFolderTree(flat, root, true);
        s.Tree = BenchNow() - start;
    }
    EmptyPane(pane);
    const double start = BenchNow();
    pane.SetArchiveFile(archive);
    pane.ReadContents();
    UpdateWindow(pane.Dateiliste.Handle());
    s.Read = BenchNow() - start;
    return s;
}

double Best(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int rounds = 5;
    bool splits = false;
    std::wstring folder;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"-r" && i + 1 < argc)
            rounds = std::max(1, _wtoi(argv[++i]));
        else if (a == L"-w" && i + 1 < argc)
            folder = argv[++i];
        else if (a == L"-s")
            splits = true;
        else
            Fail("usage: arcpane_bench [-r ROUNDS] [-w FOLDER] [-s]");
    }
    if (folder.empty())
        folder = L"Z:\\dev\\shm\\arcpanebench-" + std::to_wstring(GetCurrentProcessId());
    if (folder.back() != L'\\')
        folder += L'\\';
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        Fail("cannot make " + ToUtf8(folder));

    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    gui::TApplication application;
    IconRoutinen = new TIconRoutinen;

    // The baseline's window on the left (with the host's progress bar below the
    // list), the pane in an MDI frame on the right.
    // (The frame is the main form: made first.)
    gui::TForm& frame = *application.CreateForm<gui::TForm>();
    frame.SetFormStyle(gui::TFormStyle::fsMDIForm);
    frame.SetCaption(L"arcpane_bench - Archiv");
    frame.SetBounds(kWidth + 32, 0, kWidth + 24, kHeight + 48);
    frame.Show();
    gui::TForm form(nullptr);
    form.SetCaption(L"arcpane_bench");
    form.SetBounds(0, 0, kWidth + 24, kHeight + 64);
    form.Show();

    TBenchArchiveHost archiveHost(form.Handle());
    archive::TZipLib zip(nullptr);
    arc::TArcLister lister;
    archive::TZipRoutinen routinen(archiveHost, zip, lister);
    zip.OnListing = [&](archive::TZipLib*, const archive::TZlFileStats& stats) { routinen.AddXZipEntry(stats); };
    lister.OnRead = [&](arc::TArcBase*, int) { routinen.AddArcListerEntry(lister); };

    TNullPaneHost paneHost(frame.Handle());
    TEinstellungen settings;
    settings.LoadArcView();
    TOptionen options = settings.ArcView;
    options.Sortierung = 0;
    auto* pane = gui::Create<TZipViewForm>(&frame, &paneHost, &routinen);
    pane->SetPaneKind(ftZip);
    pane->ApplyOptions(options);
    pane->SetBounds(0, 0, frame.ClientWidth() - 4, frame.ClientHeight() - 4);
    pane->Show();

    TEnhListView baseline(&form);
    baseline.SetParent(&form);
    baseline.SetViewStyle(gui::TViewStyle::vsReport);
    baseline.MultiSelect = true;
    baseline.SetBounds(0, 0, kWidth, kHeight);
    baseline.OnSortItems = [](gui::TObject*, gui::TListItem* a, gui::TListItem* b, int, int& result) {
        const std::wstring &x = a->Caption(), &y = b->Caption();
        result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                static_cast<int>(y.size())) -
                 CSTR_EQUAL;
    };
    AddColumns(baseline);
    baseline.Show();
    application.ProcessMessages();

    struct TCase {
        int Size;
        bool Foldered;
        std::wstring Archive;
        std::vector<double> Pane;
        TPaneFigures Last;
        TSplits Splits;
    };
    struct TSize {
        int Size;
        std::vector<TRowTexts> Rows;
        std::vector<double> Baseline;
        TBaseFigures Last;
    };
    std::vector<TCase> cases;
    std::vector<TSize> sizes;
    for (int size : kSizes) {
        sizes.push_back({size, BaselineRows(size), {}, {}});
        for (bool foldered : {false, true}) {
            const std::wstring path =
                folder + (foldered ? L"ordner" : L"flach") + std::to_wstring(size) + L".zip";
            WriteZip(path, size, foldered);
            cases.push_back({size, foldered, path, {}, {}, {}});
        }
    }
    std::printf("archives made in %s\n", ToUtf8(folder).c_str());

    for (int round = 0; round < rounds; ++round) {
        for (TSize& size : sizes) {
            size.Last = BaselineRun(baseline, size.Rows);
            size.Baseline.push_back(size.Last.Whole);
            baseline.Clear();
            for (TCase& c : cases) {
                if (c.Size != size.Size)
                    continue;
                c.Last = PaneRun(*pane, archiveHost, c.Archive);
                c.Pane.push_back(c.Last.Whole);
                EmptyPane(*pane);
            }
        }
        std::printf("round %d of %d done\n", round + 1, rounds);
        std::fflush(stdout);
    }
    if (splits)
        for (TCase& c : cases) {
            c.Splits = PaneSplits(*pane, routinen, c.Archive);
            EmptyPane(*pane);
        }

    std::printf("\nbest of %d rounds, each side reading twice:\n", rounds);
    bool passed = true;
    for (const TSize& size : sizes) {
        const double base = Best(size.Baseline);
        std::printf("baseline, %d rows of five texts, filled and sorted twice: %.3f s\n", size.Size, base);
        if (splits)
            std::printf("  last round: filled and sorted %.3f s, emptied %.3f s\n", size.Last.Fill, size.Last.Empty);
        for (const TCase& c : cases) {
            if (c.Size != size.Size)
                continue;
            const double pane = Best(c.Pane);
            const char* layout = c.Foldered ? "ten to a folder" : "flat";
            std::printf("pane, %d entries %s (%d rows shown, %d progress steps): %.3f s\n", c.Size, layout, c.Last.Rows,
                        c.Last.Steps, pane);
            if (splits)
                std::printf("  last round: first read %.3f s, second %.3f s\n", c.Last.First, c.Last.Whole - c.Last.First);
            if (splits)
                std::printf("  one read: listing %.3f s, folder tree %.3f s, whole read with the list %.3f s\n",
                            c.Splits.Listing, c.Splits.Tree, c.Splits.Read);
            const double ratio = base > 0 ? pane / base : 0;
            char what[96];
            std::snprintf(what, sizeof what, "pane %d %s against baseline", c.Size, layout);
            std::printf("%-48s ratio %6.3f  (pass mark 2.00) %s\n", what, ratio, ratio <= 2.0 ? "pass" : "FAIL");
            passed &= base > 0 && ratio <= 2.0;
        }
    }

    pane->SetArchiveFile(L"");
    for (const TCase& c : cases)
        DeleteFileW(c.Archive.c_str());
    RemoveDirectoryW(folder.c_str());
    delete IconRoutinen;
    IconRoutinen = nullptr;
    return passed ? 0 : 1;
}
