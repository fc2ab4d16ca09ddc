// arccontents_bench: the archive contents dialog filling its view from the
// finished listing of a generated ZIP of 100,000 entries (ten to a folder, 50
// extensions), icons on and off, against a plain enhanced list view with the
// same two columns getting the same rows (icon indexes included), made
// beforehand, in one update bracket. One process, alternating, best of five;
// one line per case with the dialog's time over the baseline's, which passes at
// most 2.
//
//   arccontents_bench [-r ROUNDS]
//
// Figures count only from an optimised build run under Wine with a display.

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../BenchClock.h"
#include "archive/operations/ExtractArcDlg.h"
#include "archive/operations/StilleHost.h"
#include "archive/operations/StoredZip.h"
#include "archive/operations/ZipRoutinen.h"
#include "foundation/IconRoutinen.h"
#include "foundation/controls/EnhListView.h"
#include "platform/gui/Application.h"
#include "platform/gui/ImageList.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::archive;

namespace {

constexpr int kEntries = 100000;

std::string MakeZip() {
    std::vector<test::TZipEintrag> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i) {
        // Not in sorted order; ten to a folder; 50 extensions.
        const int n = static_cast<int>((static_cast<long long>(i) * 7919) % kEntries);
        char name[64];
        std::snprintf(name, sizeof name, "Ordner%05d/Datei%06d.e%02d", n / 10, n, n % 50);
        entries.push_back({name, std::string(static_cast<size_t>(n % 7), 'x')});
    }
    return test::StoredZip(entries);
}

struct TZeile {
    std::wstring Name, Ordner;
    int Icon = -1;
};

double Best(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    gui::TApplication application;
    int rounds = 5;
    for (int i = 1; i + 1 <= ParamCount(); ++i)
        if (ParamStr(i) == L"-r" && i + 1 <= ParamCount()) rounds = std::max(1, static_cast<int>(StrToIntDef(ParamStr(i + 1), 5)));
    SetDllDirectoryW(test::WineSicht(VELMORA_ZIPLIB_DIR).c_str());
    test::TStilleHost host;
    TZipLib zip(nullptr);
    arc::TArcLister lister;
    TZipRoutinen routinen(host, zip, lister);
    zip.OnListing = [&](TZipLib*, const TZlFileStats& s) { routinen.AddXZipEntry(s); };
    TIconRoutinen icons;
    IconRoutinen = &icons;

    const std::wstring path = TempDirectory() + L"arccontentsbench-" + std::to_wstring(GetCurrentProcessId()) + L".zip";
    {
        const std::string data = MakeZip();
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::wstring name = path;
    TArchivDaten daten;
    TDateiListe entries;
    routinen.OpenArchive(ftZip, name, daten, entries);
    DeleteFileW(path.c_str());
    std::printf("listed %zu entries\n", entries.size());
    if (entries.size() != static_cast<size_t>(kEntries)) {
        std::printf("FAILED: the listing is not whole\n");
        return 1;
    }

    bool showIcons = true;
    TDateiDialogKontext kontext;
    kontext.ZipRoutinen = &routinen;
    kontext.GetShowIcons = [&] { return showIcons; };
    auto* dialog = gui::Create<TArchivInhaltDlg>(gui::Application, kontext);
    // Shown without its own reading: the rows come from the listing above.
    dialog->OnShow = nullptr;
    dialog->Show();

    auto* form = gui::Create<gui::TForm>(gui::Application);
    form->SetBounds(620, 0, 600, 600);
    TEnhListView view(form);
    view.SetViewStyle(gui::TViewStyle::vsReport);
    view.MultiSelect = true;
    view.AddColumn({L"Name", 150});
    view.AddColumn({L"Pfad", 275});
    view.SetBounds(0, 0, 590, 560);
    gui::TImageList images(form);
    images.SetHandle(icons.SmallImages, true);
    view.SmallImages = &images;
    form->Show();
    gui::Application->ProcessMessages();

    // The baseline's rows, made beforehand: the same texts and icons.
    std::vector<TZeile> rows[2];
    for (int withIcons = 0; withIcons < 2; ++withIcons)
        for (const auto& entry : entries) {
            const std::wstring lower = SystemLower(entry->Name);
            const size_t slash = lower.rfind(L'\\');
            TZeile row{lower.substr(slash + 1), lower.substr(0, slash + 1), -1};
            if (withIcons) row.Icon = icons.GetIconIndex(row.Name);
            rows[withIcons].push_back(std::move(row));
        }

    std::vector<double> dialogTimes[2], baseTimes[2];
    for (int round = 0; round < rounds; ++round)
        for (int withIcons = 1; withIcons >= 0; --withIcons) {
            double t = BenchNow();
            view.BeginUpdate();
            view.Clear();
            view.Reserve(static_cast<int>(rows[withIcons].size()));
            for (const TZeile& row : rows[withIcons]) {
                gui::TListItem* item = view.AddItem(row.Name);
                item->AddSubItem(row.Ordner);
                if (row.Icon >= 0) item->SetImageIndex(row.Icon);
            }
            view.EndUpdate();
            gui::Application->ProcessMessages();
            baseTimes[withIcons].push_back(BenchNow() - t);

            showIcons = withIcons != 0;
            t = BenchNow();
            dialog->ZeilenFuellen(entries);
            gui::Application->ProcessMessages();
            dialogTimes[withIcons].push_back(BenchNow() - t);
        }

    bool passed = true;
    for (int withIcons = 1; withIcons >= 0; --withIcons) {
        const double d = Best(dialogTimes[withIcons]), b = Best(baseTimes[withIcons]);
        const double ratio = d / b;
        passed = passed && ratio <= 2.0;
        std::printf("icons %s: dialog %.3f s, baseline %.3f s, ratio %.2f (%s)\n", withIcons ? "on" : "off", d, b,
                    ratio, ratio <= 2.0 ? "pass" : "FAIL");
    }
    std::fflush(stdout);
    IconRoutinen = nullptr;
    return passed ? 0 : 1;
}
