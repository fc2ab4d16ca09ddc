#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "foundation/controls/EnhListView.h"
#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Registry.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

const wchar_t kKey[] = L"Software\\Velmora Tests\\EnhListView";

struct EnhListViewTest : ::testing::Test {
    TForm form{nullptr};
    TEnhListView list{&form};

    void SetUp() override {
        form.SetClientSize(500, 300);
        list.SetParent(&form);
        list.SetBounds(0, 0, 500, 300);
        list.SetViewStyle(TViewStyle::vsReport);
        list.AddColumn({L"Datei", 120});
        list.AddColumn({L"Größe", 60});
        list.AddColumn({L"Datum", 140});
        Row(L"brief.txt", L"10", L"14.3.2021 15:26:08");
        Row(L"Anlage.doc", L"9", L"2.1.2020 08:00:00");
        Row(L"zettel", L"100", L"14.3.2021 09:00:00");
        Row(L"Bild.bmp", L"1,5", L"31.12.1999 23:59:59");
        form.Show();
    }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, L"Software\\Velmora Tests"); }
    void Row(const wchar_t* name, const wchar_t* size, const wchar_t* date) {
        TListItem* item = list.Add();
        item->SetCaption(name);
        item->AddSubItem(size);
        item->AddSubItem(date);
    }
    // The captions in the order the window shows them.
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> names;
        for (int r = 0; r < list.Count(); ++r) {
            wchar_t text[64] = {};
            LVITEMW lv{};
            lv.pszText = text;
            lv.cchTextMax = 64;
            SendMessageW(list.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&lv));
            names.push_back(text);
            EXPECT_EQ(list.Items(r)->Caption(), text) << "item list and window agree";
        }
        return names;
    }
    void ClickHeader(int column) {
        NMLISTVIEW nm{};
        nm.hdr.hwndFrom = list.Handle();
        nm.hdr.code = LVN_COLUMNCLICK;
        nm.iSubItem = column;
        LRESULT result = 0;
        list.CNNotify(&nm.hdr, result);
    }
    using Names = std::vector<std::wstring>;
};

}  // namespace

TEST(CompareEnhTexts, DatesByDayThenNumbersThenText) {
    EXPECT_EQ(CompareEnhTexts(L"14.3.2021 09:00:00", L"14.3.2021 23:00:00"), 0);
    EXPECT_LT(CompareEnhTexts(L"13.3.2021", L"14.3.2021"), 0);
    EXPECT_EQ(CompareEnhTexts(L"1.3.2021", L"11.3.2021"), -10);
    EXPECT_LT(CompareEnhTexts(L"9", L"10"), 0);
    EXPECT_GT(CompareEnhTexts(L"1,5", L"1"), 0);
    EXPECT_EQ(CompareEnhTexts(L"2,0", L"2"), 0);
    EXPECT_LT(CompareEnhTexts(L"Anlage", L"brief"), 0);
    EXPECT_NE(CompareEnhTexts(L"abc", L"ABC"), 0);  // case-sensitive
    // A date against a number is compared as text.
    EXPECT_NE(CompareEnhTexts(L"1.2.2020", L"5"), 0);
}

TEST_F(EnhListViewTest, SortsNumbersDatesAndTextsByColumn) {
    list.SortByColumn(1, true);
    EXPECT_EQ(Shown(), (Names{L"Bild.bmp", L"Anlage.doc", L"brief.txt", L"zettel"}));
    list.SortByColumn(1, false);
    EXPECT_EQ(Shown(), (Names{L"zettel", L"brief.txt", L"Anlage.doc", L"Bild.bmp"}));
    list.SortByColumn(2, true);
    const Names byDate = Shown();
    EXPECT_EQ(byDate[0], L"Bild.bmp");
    EXPECT_EQ(byDate[1], L"Anlage.doc");
    list.SortByColumn(0, true);
    EXPECT_EQ(Shown(), (Names{L"Anlage.doc", L"Bild.bmp", L"brief.txt", L"zettel"}));
    EXPECT_EQ(list.LastColumnSorted(), 0);
    EXPECT_TRUE(list.CurrentSortAscending());
}

TEST_F(EnhListViewTest, ASortHandlerReplacesTheComparisonAndEventsFramePerSort) {
    int begun = 0, finished = 0;
    list.OnSortBegin = [&](TObject*) { ++begun; };
    list.OnSortFinished = [&](TObject*) { ++finished; };
    list.OnSortItems = [](TObject*, TListItem* a, TListItem* b, int column, int& result) {
        EXPECT_EQ(column, 0);
        result = static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size());
    };
    list.SortByColumn(0, false);
    EXPECT_EQ(Shown(), (Names{L"Anlage.doc", L"brief.txt", L"Bild.bmp", L"zettel"}));
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(finished, 1);
}

TEST_F(EnhListViewTest, HeaderClicksSortOnlyWhenAskedAndToggleTheSameColumn) {
    int clicked = -1;
    list.OnColumnClick = [&](TObject*, int column) { clicked = column; };
    ClickHeader(1);
    EXPECT_EQ(clicked, 1);
    EXPECT_EQ(list.LastColumnSorted(), -1);

    list.AutoColumnSort = TAutoColumnSort::acsSortToggle;
    ClickHeader(1);
    EXPECT_EQ(Shown().front(), L"Bild.bmp");
    ClickHeader(1);
    EXPECT_FALSE(list.CurrentSortAscending());
    EXPECT_EQ(Shown().front(), L"zettel");
    ClickHeader(0);
    EXPECT_TRUE(list.CurrentSortAscending());
    EXPECT_EQ(Shown().front(), L"Anlage.doc");
    list.Resort();
    EXPECT_EQ(Shown().front(), L"Anlage.doc");
}

TEST_F(EnhListViewTest, OwnerDrawingAsksTheHandlerPerRowAndDrawsDefaultOnRequest) {
    std::vector<int> drawn, after;
    bool wantDefault = false;
    list.SetStyle(TLVStyle::lvOwnerDrawFixed);
    list.OnDrawItem = [&](TWinControl* control, TCanvas&, int index, RECT, TOwnerDrawState, bool& def) {
        EXPECT_EQ(control, &list);
        drawn.push_back(index);
        def = wantDefault;
    };
    list.OnAfterDefaultDrawItem = [&](TWinControl*, TCanvas&, int index, RECT, TOwnerDrawState) {
        after.push_back(index);
    };
    EXPECT_EQ(GetWindowLongW(list.Handle(), GWL_STYLE) & LVS_OWNERDRAWFIXED, LVS_OWNERDRAWFIXED);
    EXPECT_EQ(list.Count(), 4);  // the rows survive the new window
    InvalidateRect(list.Handle(), nullptr, TRUE);
    UpdateWindow(list.Handle());
    EXPECT_EQ(drawn.size(), 4u);
    EXPECT_EQ(after.size(), 4u);

    // A handler that leaves the default off draws alone: the row stays blank.
    RECT row{};
    row.left = LVIR_BOUNDS;
    SendMessageW(list.Handle(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    HDC dc = GetDC(list.Handle());
    const COLORREF background = GetPixel(dc, row.left + 30, (row.top + row.bottom) / 2);
    bool inkWithout = false;
    for (int x = row.left; x < row.left + 100; ++x)
        inkWithout |= GetPixel(dc, x, (row.top + row.bottom) / 2) != background;
    ReleaseDC(list.Handle(), dc);
    EXPECT_FALSE(inkWithout);

    wantDefault = true;
    InvalidateRect(list.Handle(), nullptr, TRUE);
    UpdateWindow(list.Handle());
    dc = GetDC(list.Handle());
    bool ink = false;
    for (int y = row.top; y < row.bottom && !ink; ++y)
        for (int x = row.left + 5; x < row.left + 100 && !ink; ++x)
            ink = GetPixel(dc, x, y) != background;
    ReleaseDC(list.Handle(), dc);
    EXPECT_TRUE(ink) << "the caption is drawn";
}

// Owner-drawn rows in callback mode: the window asks nothing, so drawing asks
// OnData for each painted row before the handler and the default drawing see it.
TEST_F(EnhListViewTest, OwnerDrawnRowsAskForTheirDataBeforeDrawing) {
    TEnhListView big(&form);
    big.SetParent(&form);
    big.SetBounds(0, 0, 500, 300);
    big.SetViewStyle(TViewStyle::vsReport);
    big.SetStyle(TLVStyle::lvOwnerDrawFixed);
    big.DisplayCallbacks = true;
    big.AddColumn({L"Datei", 120});
    big.AddColumn({L"Größe", 60});
    std::vector<int> asked;
    big.OnData = [&](TObject*, TListItem* item) {
        asked.push_back(item->Index());
        if (item->SubItems().Count() == 0)
            item->AddSubItem(L"7 KB");
    };
    bool sawText = true;
    big.OnDrawItem = [&](TWinControl*, TCanvas&, int index, RECT, TOwnerDrawState, bool& def) {
        sawText &= TCustomEnhListView::ColumnText(big.Items(index), 1) == L"7 KB";
        def = true;
    };
    // Rows added before the window: it is made with all of them.
    for (int i = 0; i < 5000; ++i)
        big.AddItem(L"datei" + std::to_wstring(i));
    list.Hide();
    UpdateWindow(big.Handle());
    EXPECT_GT(asked.size(), 5u);
    EXPECT_LT(asked.size(), 60u);
    EXPECT_TRUE(sawText);
}

// A column sort runs the comparison once over the rows: at most n log2 n calls.
TEST_F(EnhListViewTest, AColumnSortComparesInOnePass) {
    list.Clear();
    list.BeginUpdate();
    for (int i = 0; i < 512; ++i)
        Row((L"d" + std::to_wstring((i * 7919) % 512)).c_str(), L"1", L"1.1.2000");
    list.EndUpdate();
    int comparisons = 0;
    list.OnSortItems = [&](TObject*, TListItem* a, TListItem* b, int, int& result) {
        ++comparisons;
        result = a->Caption().compare(b->Caption());
    };
    list.SortByColumn(0, false);
    EXPECT_LE(comparisons, 512 * 9);
    const Names shown = Shown();
    EXPECT_TRUE(std::is_sorted(shown.rbegin(), shown.rend()));

    // A handler that throws is reported once; the rows stay as they were.
    int reports = 0;
    Application->OnException = [&](TObject*, const velmora::Exception&) { ++reports; };
    list.OnSortItems = [](TObject*, TListItem*, TListItem*, int, int&) { throw std::runtime_error("kaputt"); };
    list.SortByColumn(0, true);
    Application->OnException = nullptr;
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(Shown(), shown);
}

TEST_F(EnhListViewTest, AutoSaveKeepsColumnWidthsInTheUsersBranch) {
    list.SaveSettings.AutoSave = true;
    list.SaveSettings.RegistryKey = kKey;
    SendMessageW(list.Handle(), LVM_SETCOLUMNWIDTH, 0, 200);
    SendMessageW(list.Handle(), LVM_SETCOLUMNWIDTH, 2, 77);
    list.DestroyHandle();

    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(std::wstring(kKey) + L"\\Columns"));
    EXPECT_EQ(reg.ReadString(L"Sizes"), L"200,60,77");

    TEnhListView again(&form);
    again.SetParent(&form);
    again.SetViewStyle(TViewStyle::vsReport);
    again.AddColumn({L"Datei", 120});
    again.AddColumn({L"Größe", 60});
    again.AddColumn({L"Datum", 140});
    again.SaveSettings.AutoSave = true;
    again.SaveSettings.RegistryKey = kKey;
    again.HandleNeeded();
    EXPECT_EQ(again.ColumnWidth(0), 200);
    EXPECT_EQ(again.ColumnWidth(1), 60);
    EXPECT_EQ(again.ColumnWidth(2), 77);
}

TEST_F(EnhListViewTest, AutoSaveKeepsTheWidthsWhenTheFormFreesTheList) {
    auto* owner = new TForm(nullptr);
    auto* owned = new TEnhListView(owner);
    owned->SetParent(owner);
    owned->SetViewStyle(TViewStyle::vsReport);
    owned->AddColumn({L"Datei", 120});
    owned->AddColumn({L"Größe", 60});
    owned->SaveSettings.AutoSave = true;
    owned->SaveSettings.RegistryKey = kKey;
    owner->Show();
    SendMessageW(owned->Handle(), LVM_SETCOLUMNWIDTH, 1, 45);
    owner->Free();

    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly(std::wstring(kKey) + L"\\Columns"));
    EXPECT_EQ(reg.ReadString(L"Sizes"), L"120,45");
    reg.CloseKey();
    DeleteRegistryTree(HKEY_CURRENT_USER, std::wstring(kKey) + L"\\Columns");

    // A list that is a member goes before the form's own destructor runs.
    struct TListForm : TForm {
        explicit TListForm(TComponent* o) : TForm(o), List(this) {}
        TEnhListView List;
    };
    {
        TListForm member(nullptr);
        member.List.SetParent(&member);
        member.List.SetViewStyle(TViewStyle::vsReport);
        member.List.AddColumn({L"Datei", 70});
        member.List.SaveSettings.AutoSave = true;
        member.List.SaveSettings.RegistryKey = kKey;
        member.List.HandleNeeded();
    }
    ASSERT_TRUE(reg.OpenKeyReadOnly(std::wstring(kKey) + L"\\Columns"));
    EXPECT_EQ(reg.ReadString(L"Sizes"), L"70");
}

TEST_F(EnhListViewTest, AShortOrMissingListLeavesTheOtherWidthsAlone) {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(std::wstring(kKey) + L"\\Columns", true));
    reg.WriteString(L"Sizes", L"90");
    list.SaveSettings.RegistryKey = kKey;
    list.LoadColumnSizes();
    EXPECT_EQ(list.ColumnWidth(0), 90);
    EXPECT_EQ(list.ColumnWidth(1), 60);
    EXPECT_EQ(list.ColumnWidth(2), 140);
    list.SaveSettings.RegistryKey = std::wstring(kKey) + L"\\fehlt";
    list.LoadColumnSizes();
    EXPECT_EQ(list.ColumnWidth(0), 90);
}
