// The search-result and basket pane in the main window: row texts as the list
// window asks for them, header clicks, the basket pruned at a read and kept on
// a failed look-up, a read asked during a read, and the basket commands.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "ArchiveScratch.h"
#include "MainWindowFixture.h"
#include "foundation/DefaultUserStore.h"
#include "filetools/DateiSuchenDlg.h"
#include "panes/Suchergebnis.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/Strings.h"
#include "platform/gui/Testing.h"

namespace velmora::test {
namespace {

using namespace gui;

std::wstring Cell(TSuchergebnisForm& pane, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    SendMessageW(pane.DateiListe.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::vector<std::wstring> Column(TSuchergebnisForm& pane, int column) {
    std::vector<std::wstring> cells;
    const int rows = static_cast<int>(SendMessageW(pane.DateiListe.Handle(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < rows; ++i) cells.push_back(Cell(pane, i, column));
    return cells;
}

std::unique_ptr<TEineDatei> Record(const std::wstring& name) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = name;
    return record;
}

std::unique_ptr<TEineDatei> Entry(const std::wstring& archive, const std::wstring& name) {
    auto record = Record(name);
    record->InArchive = true;
    record->ArchivPfad = archive;
    return record;
}

class Suchergebnis : public MainWindowTest {
protected:
    static void SetUpTestSuite() { SetDllDirectoryW(WinePath(VELMORA_ZIPLIB_DIR).c_str()); }
    TSuchergebnisForm& Show(int side, TFensterTyp kind) {
        m_form->ShowPaneKind(side, kind);
        auto* pane = dynamic_cast<TSuchergebnisForm*>(side == 0 ? m_form->LeftPane : m_form->RightPane);
        EXPECT_NE(pane, nullptr);
        return *pane;
    }
    // A click on the header of a column, as the user's hand makes it, until the
    // pane stands in the sort state Expected; a click on the list's empty foot
    // before it keeps two clicks on one column from making a double click.
    static void ClickHeader(TSuchergebnisForm& pane, int column, std::uint8_t expected) {
        MouseClick(ScreenPoint(pane.DateiListe, 5, pane.DateiListe.Height() - 5));
        const HWND header = ListView_GetHeader(pane.DateiListe.Handle());
        RECT r{};
        Header_GetItemRect(header, column, &r);
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        MapWindowPoints(header, pane.DateiListe.Handle(), &p, 1);
        MouseClick(ScreenPoint(pane.DateiListe, p.x, p.y));
        EXPECT_TRUE(WaitUntil([&] { return pane.GetSortOrder() == expected; })) << column;
    }
    const std::vector<TMessageBoxCall>& boxes() const { return m_boxes.Calls(); }
    TScratchFiles m_files{L"sucherg"};
};

TEST_F(Suchergebnis, RowsShowWholeKilobytesAndHeaderClicksSortThem) {
    THauptform& form = Start();
    const std::wstring a = m_files.Write(std::string(1, 'x'), L"a.txt");
    const std::wstring b = m_files.Write(std::string(1536, 'x'), L"b.txt");
    const std::wstring c = m_files.Write(std::string(2560, 'x'), L"c.txt");
    const std::wstring d = m_files.Write("", L"d.txt");
    for (const auto& name : {a, b, c, d}) form.SearchResult->push_back(Record(name));
    TSuchergebnisForm& pane = Show(0, ftSuchergebnis);
    EXPECT_EQ(pane.Caption(), L"Ergebnis der letzten Dateisuche");
    pane.SetSortOrder(10);
    pane.SetSortOrder(0);
    ASSERT_EQ(Column(pane, 0), (std::vector<std::wstring>{a, b, c, d}));
    EXPECT_EQ(Column(pane, 1), (std::vector<std::wstring>{L"1 KB", L"2 KB", L"2 KB", L"0 KB"}));

    ClickHeader(pane, 1, 2);  // size, smallest first
    EXPECT_EQ(Column(pane, 0), (std::vector<std::wstring>{d, a, b, c}));
    ClickHeader(pane, 1, 3);
    EXPECT_EQ(Column(pane, 0), (std::vector<std::wstring>{c, b, a, d}));
    ClickHeader(pane, 0, 0);
    EXPECT_EQ(Column(pane, 0), (std::vector<std::wstring>{a, b, c, d}));
    ClickHeader(pane, 0, 1);
    EXPECT_EQ(Column(pane, 0), (std::vector<std::wstring>{d, c, b, a}));
    ClickHeader(pane, 2, 5);
}

TEST_F(Suchergebnis, TheBasketLosesADeletedFileButKeepsOneThatCannotBeLookedUp) {
    THauptform& form = Start();
    const std::wstring bleibt = m_files.Write("x", L"bleibt.txt");
    const std::wstring weg = m_files.Write("x", L"weg.txt");
    form.Basket->push_back(Record(bleibt));
    form.Basket->push_back(Record(weg));
    TSuchergebnisForm& pane = Show(1, ftSammelkorb);
    EXPECT_EQ(pane.Caption(), L"Inhalt des Sammelkorbes");
    ASSERT_EQ(pane.DateiListe.Count(), 2);

    DeleteFileW(weg.c_str());
    pane.ReadContents();
    ASSERT_EQ(form.Basket->size(), 1u);
    EXPECT_EQ(form.Basket->front()->Name, bleibt);

    pane.Zugriff.Nachsehen = [](const std::wstring&, WIN32_FILE_ATTRIBUTE_DATA&) -> DWORD { return ERROR_NOT_READY; };
    pane.ReadContents();
    EXPECT_EQ(form.Basket->size(), 1u);
    EXPECT_EQ(Column(pane, 0), (std::vector<std::wstring>{bleibt}));
}

TEST_F(Suchergebnis, TheBasketEmptiedWhileAnArchiveIsListedIsReadOnceAfter) {
    THauptform& form = Start();
    // The first read, before the stand-ins below, leaves the entry alone.
    form.Settings->Sucherg.CheckArchive = false;
    TOptionen options = form.Settings->Sucherg;
    options.CheckArchive = true;
    const std::wstring archive = m_files.Copy("methods.zip", L"m.zip");
    form.Basket->push_back(Entry(archive, L"gibt es.txt"));
    TSuchergebnisForm& pane = Show(0, ftSammelkorb);
    int listings = 0;
    pane.Zugriff.ArchivTyp = [](const std::wstring&, std::uint8_t& kind) {
        kind = ftZip;
        return true;
    };
    pane.Zugriff.ArchivLesen = [&](std::uint8_t, const std::wstring&, TDateiListe& entries) {
        ++listings;
        // The listing lets messages through; one of them empties the basket.
        form.AlleEintrgeausListeentfernenClick(nullptr);
        entries.push_back(Record(L"gibt es.txt"));
        return true;
    };
    pane.ApplyOptions(options);
    EXPECT_EQ(listings, 1);
    EXPECT_TRUE(form.Basket->empty());
    EXPECT_EQ(pane.DateiListe.Count(), 0);
}

TEST_F(Suchergebnis, RemovingAMarkedEntrySparesItsNamesakeInAnotherArchive) {
    THauptform& form = Start();
    // Entries of archives that are not there stay while nobody lists them.
    form.Settings->Sucherg.CheckArchive = false;
    form.Basket->push_back(Entry(L"c:\\eins.zip", L"liesmich.txt"));
    form.Basket->push_back(Entry(L"c:\\zwei.zip", L"liesmich.txt"));
    TSuchergebnisForm& pane = Show(0, ftSammelkorb);
    pane.SetSortOrder(10);
    pane.SetSortOrder(0);
    ASSERT_EQ(Column(pane, 0), (std::vector<std::wstring>{L"liesmich.txt in c:\\eins.zip",
                                                            L"liesmich.txt in c:\\zwei.zip"}));
    RECT first{};
    ListView_GetItemRect(pane.DateiListe.Handle(), 0, &first, LVIR_LABEL);
    MouseClick(ScreenPoint(pane.DateiListe, first.left + 10, (first.top + first.bottom) / 2));
    ASSERT_TRUE(WaitUntil([&] { return pane.DateiListe.SelCount() == 1; }));
    ASSERT_EQ(pane.DateiListe.Selected()->Caption(), L"liesmich.txt in c:\\eins.zip");
    PressKey('E', ssCtrl);
    ASSERT_TRUE(WaitUntil([&] { return form.Basket->size() == 1; }));
    EXPECT_EQ(form.Basket->front()->ArchivPfad, L"c:\\zwei.zip");
    PressKey('L', ssCtrl);
    EXPECT_TRUE(WaitUntil([&] { return form.Basket->empty(); }));
    EXPECT_EQ(pane.DateiListe.Count(), 0);
}

TEST_F(Suchergebnis, AltF7SearchesFilesAndArchivesAndShowsTheResultInTheTickedSide) {
    THauptform& form = Start();
    form.FoundIndex = 7;
    const std::wstring notiz = m_files.Write("x", L"notiz.txt");
    const std::wstring zip = SystemLower(m_files.Copy("methods.zip", L"m.zip"));
    const std::wstring rar = SystemLower(m_files.Copy("blocks.rar", L"b.rar"));
    m_files.Copy("cut.zip", L"kaputt.zip");
    std::wstring folder = m_files.Folder();
    folder.pop_back();
    TModalScript script(20000);
    script.Step([&](TForm& f) {
        auto* dialog = dynamic_cast<TDateiSuchenDlg*>(&f);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Seiten.ActivePageIndex(), 0);
        dialog->DateiFilter.SetText(L"*.txt");
        dialog->InclArchive.SetChecked(true);
        dialog->Verzeichnisse.SetText(folder);
        dialog->OKBtn.Click();
    });
    // The progress dialog is answered once it has ended: steps of the script
    // would run inside the search, which lets messages through.
    TTimer closer(nullptr);
    closer.SetInterval(20);
    closer.OnTimer = [&](TObject*) {
        TSuchFortschritt* progress = form.SuchFortschritt();
        if (!progress->Visible() || progress->CancelBtn.Caption() != L"Schließen") return;
        closer.SetEnabled(false);
        MouseClick(ScreenPoint(progress->RechtesFenster, 5, 5));
        MouseClick(ScreenPoint(progress->CancelBtn, 5, 5));
    };
    MouseClick(ScreenPoint(*form.LeftPane, 10, 10));
    PressKey(VK_F7, ssAlt);
    ASSERT_TRUE(WaitUntil([&] { return !form.SuchFortschritt()->Visible() && !closer.Enabled(); }, 20000));
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(form.FoundIndex, -1);
    // The damaged archive said so once (its listing's two boxes), and the search went on.
    std::vector<std::wstring> texts;
    for (const auto& box : boxes()) texts.push_back(box.Text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Das Archiv ist beschädigt. Bitte versuchen Sie es zu reparieren.",
                                                 L"Fehler beim Öffnen des Archives!"}));
    ASSERT_EQ(form.RightPane->GetPaneKind(), ftSuchergebnis);
    auto& pane = dynamic_cast<TSuchergebnisForm&>(*form.RightPane);
    std::vector<std::wstring> rows = Column(pane, 0);
    std::sort(rows.begin(), rows.end());
    std::vector<std::wstring> expected{SystemLower(notiz),
                                       L"docs\\guide.txt in " + zip,
                                       L"readme.txt in " + zip,
                                       L"docs\\guide.txt in " + rar,
                                       L"readme.txt in " + rar};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(rows, expected);
}

// Each kind keeps its own widths: the registry listing after this test
// (suchergebnis-regquery.sh) reads what it leaves.
TEST_F(Suchergebnis, ColumnWidthsAreStoredPerKind) {
    for (const wchar_t* value : {L"SuchergColumns", L"SammelkColumns"}) RegDeleteUserValue(DialogeSchluessel, value);
    Start();
    auto widen = [](TSuchergebnisForm& pane, int column, int by) {
        const HWND header = ListView_GetHeader(pane.DateiListe.Handle());
        RECT r{};
        Header_GetItemRect(header, column, &r);
        POINT edge{r.right - 1, (r.top + r.bottom) / 2};
        MapWindowPoints(header, pane.DateiListe.Handle(), &edge, 1);
        MouseDrag(ScreenPoint(pane.DateiListe, edge.x, edge.y), ScreenPoint(pane.DateiListe, edge.x + by, edge.y));
    };
    TSuchergebnisForm& result = Show(0, ftSuchergebnis);
    widen(result, 0, 40);
    EXPECT_TRUE(WaitUntil([&] { return result.DateiListe.ColumnWidth(0) == 190; }));
    TSuchergebnisForm& basket = Show(0, ftSammelkorb);
    EXPECT_EQ(basket.DateiListe.ColumnWidth(0), 150);
    widen(basket, 1, 30);
    EXPECT_TRUE(WaitUntil([&] { return basket.DateiListe.ColumnWidth(1) == 80; }));
    EXPECT_TRUE(CloseWindow());
}

}  // namespace
}  // namespace velmora::test
