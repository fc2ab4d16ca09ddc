#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Picture.h"
#include "platform/gui/TreeView.h"

using namespace velmora::gui;

namespace {

struct ListViews : ::testing::Test {
    TForm form{nullptr};
    TListView list{&form};
    void SetUp() override {
        form.SetClientSize(400, 300);
        list.MultiSelect = true;
        list.SetViewStyle(TViewStyle::vsReport);
        list.SetBounds(0, 0, 400, 300);
        list.AddColumn({L"Name", 120});
        list.AddColumn({L"Größe", 60});
        form.Show();
    }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) {
            TListItem* item = list.Add();
            item->SetCaption(L"f" + std::to_wstring(i));
            item->AddSubItem(std::to_wstring(i));
        }
    }
    std::wstring RowText(int row, int column = 0) {
        wchar_t text[64] = {};
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = text;
        lv.cchTextMax = 64;
        SendMessageW(list.Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&lv));
        return text;
    }
    bool RowSelected(int row) {
        return SendMessageW(list.Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
    }
    std::vector<std::wstring> SelectedCaptions() {
        std::vector<std::wstring> captions;
        for (TListItem* item = list.NextSelected(); item; item = list.NextSelected(item)) captions.push_back(item->Caption());
        return captions;
    }
};

// Every item speaks for its own row after deletions and sorts, even when the
// comparison is no strict ordering (the window's order is the one kept).
TEST_F(ListViews, ItemsAndRowsStayTogetherThroughDeletesAndSorts) {
    Fill(6);
    list.Delete(1);
    list.Delete(3);  // f4
    ASSERT_EQ(list.Count(), 4);
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Items(i)->Index(), i);
        EXPECT_EQ(RowText(i), list.Items(i)->Caption());
    }
    list.Items(2)->SetSelected(true);
    EXPECT_TRUE(RowSelected(2));
    EXPECT_EQ(list.Selected()->Caption(), L"f3");

    // "Odd before even": ties everywhere.
    list.CustomSort([](TListItem* a, TListItem* b) {
        return (std::stoi(b->SubItems()[0]) % 2) - (std::stoi(a->SubItems()[0]) % 2);
    });
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Items(i)->Index(), i);
        EXPECT_EQ(RowText(i), list.Items(i)->Caption());
        EXPECT_EQ(list.Items(i)->Selected(), RowSelected(i));
    }
    EXPECT_EQ(list.Items(0)->Caption(), L"f3");

    int data = 0;
    TListItem* added = list.AddItem(L"neu.txt", &data);
    EXPECT_EQ(RowText(added->Index()), L"neu.txt");
    EXPECT_EQ(added->Data, &data);

    // A shorter list of sub items empties the texts it no longer has.
    list.Items(0)->SetSubItems(velmora::TStringList{});
    EXPECT_EQ(RowText(0, 1), L"");
}

TEST_F(ListViews, SelectionWalksSelectsAllAndInverts) {
    Fill(10);
    list.Reserve(50);  // room only: no rows appear
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 10);
    EXPECT_EQ(list.NextSelected(), nullptr);
    for (int i : {1, 4, 9}) list.Items(i)->SetSelected(true);
    EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"f1", L"f4", L"f9"}));

    list.InvertSelection();
    EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"f0", L"f2", L"f3", L"f5", L"f6", L"f7", L"f8"}));
    list.SelectAll();
    EXPECT_EQ(list.SelCount(), 10);
    list.InvertSelection();
    EXPECT_EQ(list.SelCount(), 0);

    // A single-selection list never gets more than one.
    TListView single(&form);
    single.SetViewStyle(TViewStyle::vsReport);
    single.AddColumn({L"Name", 120});
    for (int i = 0; i < 3; ++i) single.Add()->SetCaption(L"s");
    single.Items(0)->SetSelected(true);
    single.SelectAll();
    single.InvertSelection();
    EXPECT_EQ(single.SelCount(), 1);
    EXPECT_TRUE(single.Items(0)->Selected());
}

TEST_F(ListViews, OnChangingRefusesAChangeAndOnChangeThenStaysQuiet) {
    Fill(3);
    std::vector<TListItem*> changed;
    list.OnChange = [&](TObject*, TListItem* item) { changed.push_back(item); };
    list.OnChanging = [&](TObject*, TListItem* item, UINT what, UINT, UINT newState, bool& allow) {
        if (item == list.Items(1) && (what & LVIF_STATE) && (newState & LVIS_SELECTED)) allow = false;
    };
    list.Items(1)->SetSelected(true);
    EXPECT_FALSE(list.Items(1)->Selected());
    EXPECT_TRUE(changed.empty());
    list.SelectAll();
    EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"f0", L"f2"}));
}

TEST_F(ListViews, TheDropHighlightMarksOneTarget) {
    Fill(3);
    EXPECT_EQ(list.DropTarget(), nullptr);
    list.Items(2)->SetDropTarget(true);
    EXPECT_TRUE(list.Items(2)->DropTarget());
    EXPECT_EQ(list.DropTarget(), list.Items(2));
    EXPECT_FALSE(list.Items(2)->Selected());
    list.Items(2)->SetDropTarget(false);
    EXPECT_EQ(list.DropTarget(), nullptr);
}

TEST_F(ListViews, KeysReachTheListUnlessOnKeyDownTakesThem) {
    Fill(3);
    std::vector<WORD> keys;
    list.OnKeyNotify = [&](TObject*, WORD key) { keys.push_back(key); };
    list.SetFocus();
    list.Items(0)->SetFocused(true);
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(keys, std::vector<WORD>{VK_DOWN});
    EXPECT_EQ(list.ItemFocused(), list.Items(1));
    list.OnKeyDown = [](TObject*, WORD& key, TShiftState) { if (key == VK_DOWN) key = 0; };
    SendMessageW(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(keys.size(), 1u);
    EXPECT_EQ(list.ItemFocused(), list.Items(1));
}

// A press on a row and a move beyond the drag distance start a drag of that
// row; the list makes the image to drag, which follows the mouse until dropped.
TEST_F(ListViews, DraggingARowStartsWithItsImage) {
    Fill(3);
    TListItem* dragged = nullptr;
    POINT at{};
    list.OnBeginDrag = [&](TObject*, TListItem* item, POINT pt) { dragged = item; at = pt; };
    RECT row{LVIR_LABEL};
    SendMessageW(list.Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const int x = row.left + 5, y = (row.top + row.bottom) / 2;
    SendMessageW(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(list.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y + 40));
    SendMessageW(list.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y + 40));
    ASSERT_EQ(dragged, list.Items(1));

    POINT corner{};
    auto image = list.CreateDragImage(dragged, &corner);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Count(), 1);
    EXPECT_GT(image->Width(), 0);
    EXPECT_FALSE(TImageList::Dragging());
    ASSERT_TRUE(image->BeginDrag(0, at.x - corner.x, at.y - corner.y));
    EXPECT_TRUE(TImageList::Dragging());
    EXPECT_TRUE(TImageList::DragEnter(list.Handle(), at.x, at.y));
    EXPECT_TRUE(TImageList::DragMove(at.x + 10, at.y + 10));
    EXPECT_TRUE(TImageList::DragShowNolock(false));
    EXPECT_TRUE(TImageList::DragLeave(list.Handle()));
    TImageList::EndDrag();
    EXPECT_FALSE(TImageList::Dragging());
    EXPECT_FALSE(image->BeginDrag(5, 0, 0));  // no such image
    EXPECT_EQ(list.CreateDragImage(nullptr), nullptr);
}

TEST_F(ListViews, TreeNodesStartDragsAndSeeKeys) {
    TTreeView tree(&form);
    TImageList images(&form);
    TBitmap icon(16, 16);
    images.Add(icon);
    tree.Images = &images;
    tree.SetBounds(0, 0, 200, 200);
    TTreeNode* root = tree.AddChild(nullptr, L"c:\\");
    TTreeNode* child = tree.AddChild(root, L"windows");
    root->Expand();

    std::vector<WORD> keys;
    tree.OnKeyNotify = [&](TObject*, WORD key) { keys.push_back(key); };
    tree.SetFocus();
    tree.SetSelected(root);
    SendMessageW(tree.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(keys, std::vector<WORD>{VK_DOWN});
    EXPECT_EQ(tree.Selected(), child);

    TTreeNode* dragged = nullptr;
    tree.OnBeginDrag = [&](TObject*, TTreeNode* node, POINT) { dragged = node; };
    RECT r{};
    *reinterpret_cast<HTREEITEM*>(&r) = child->ItemId();
    SendMessageW(tree.Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
    const int x = r.left + 3, y = (r.top + r.bottom) / 2;
    // The tree follows the mouse itself after the press: the move waits in the queue.
    PostMessageW(tree.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 40, y + 40));
    SendMessageW(tree.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_EQ(dragged, child);
    // Wine's tree leaves its drag image list empty (it replaces image 0 of an
    // empty list); the list itself comes, sized for icon and text.
    auto image = tree.CreateDragImage(child);
    ASSERT_NE(image, nullptr);
    EXPECT_GT(image->Width(), 16);
}

// A list in callback mode: OnData builds a row's size text and image when the
// window first asks, and counts the requests per item.
struct CallbackListViews : ListViews {
    std::set<TListItem*> asked;
    int requests = 0;
    void SetUp() override {
        list.DisplayCallbacks = true;
        list.OnData = [this](TObject* sender, TListItem* item) {
            EXPECT_EQ(sender, &list);
            ++requests;
            asked.insert(item);
            if (item->SubItems().Count() == 0) {
                item->AddSubItem(std::to_wstring(item->Index() * 10));
                item->SetImageIndex(item->Index() % 3);
            }
        };
        ListViews::SetUp();
    }
    void FillCaptions(int count) {
        list.BeginUpdate();
        list.Reserve(count);
        for (int i = 0; i < count; ++i) list.AddItem(L"f" + std::to_wstring(i));
        list.EndUpdate();
    }
    void Paint() {
        InvalidateRect(list.Handle(), nullptr, TRUE);
        UpdateWindow(list.Handle());
    }
    int RowImage(int row) {
        LVITEMW lv{};
        lv.mask = LVIF_IMAGE;
        lv.iItem = row;
        SendMessageW(list.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lv));
        return lv.iImage;
    }
};

// Of 10,000 rows the window shows about twenty; only those are asked for, in
// report and in list style, also after a scroll to the end.
TEST_F(CallbackListViews, OnlyShownRowsAreAskedFor) {
    FillCaptions(10000);
    Paint();
    EXPECT_GT(asked.size(), 5u);
    EXPECT_LT(asked.size(), 60u);
    EXPECT_FALSE(asked.count(list.Items(9999)));

    asked.clear();
    list.Items(9999)->MakeVisible();
    UpdateWindow(list.Handle());
    EXPECT_TRUE(asked.count(list.Items(9999)));
    EXPECT_LT(asked.size(), 60u);

    asked.clear();
    list.SetViewStyle(TViewStyle::vsList);
    Paint();
    EXPECT_GT(asked.size(), 5u);
    EXPECT_LT(asked.size(), 200u);
    EXPECT_LT(requests, 2000);
}

// What OnData stored is what the window shows; captions set later reach the
// window without a new row, and a row without sub items reads as empty.
TEST_F(CallbackListViews, TheWindowShowsWhatTheItemsStore) {
    FillCaptions(20);
    EXPECT_EQ(RowText(7, 1), L"70");
    EXPECT_EQ(RowImage(7), 1);
    EXPECT_EQ(RowText(7), L"f7");
    list.Items(7)->SetCaption(L"umbenannt.txt");
    list.Items(7)->SetSubItems(velmora::TStringList{});
    list.Items(7)->Update();
    EXPECT_EQ(RowText(7), L"umbenannt.txt");
    requests = 0;
    EXPECT_EQ(RowText(7, 1), L"70") << "rebuilt on request";
    EXPECT_EQ(requests, 1);
    list.OnData = nullptr;
    list.Items(7)->SetSubItems(velmora::TStringList{});
    EXPECT_EQ(RowText(7, 1), L"");
    EXPECT_EQ(RowText(7, 5), L"");

    // A caption longer than the reader's buffer is cut, not overrun.
    list.Items(3)->SetCaption(std::wstring(200, L'x'));
    wchar_t small[8];
    std::fill(std::begin(small), std::end(small), L'#');
    LVITEMW lv{};
    lv.pszText = small;
    lv.cchTextMax = 5;
    SendMessageW(list.Handle(), LVM_GETITEMTEXTW, 3, reinterpret_cast<LPARAM>(&lv));
    EXPECT_EQ(std::wstring(small), L"xxxx");
    EXPECT_EQ(small[5], L'#');

    // Rows added before the window exists are made with callbacks as well.
    TListView late(&form);
    late.DisplayCallbacks = true;
    late.SetViewStyle(TViewStyle::vsReport);
    late.AddColumn({L"Name", 80});
    late.AddColumn({L"Größe", 80});
    late.AddItem(L"a")->AddSubItem(L"1 KB");
    late.OnData = [](TObject*, TListItem* item) { item->SetImageIndex(2); };
    late.HandleNeeded();
    LVITEMW sub{};
    wchar_t text[16] = {};
    sub.iSubItem = 1;
    sub.pszText = text;
    sub.cchTextMax = 16;
    SendMessageW(late.Handle(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub));
    EXPECT_STREQ(text, L"1 KB");
}

// A sort asks the comparison at most n log2 n times (one pass); rows, items and
// their marks agree afterwards, and a comparison that throws leaves the order
// alone. (The existing test above covers rows that hold their texts.)
TEST_F(CallbackListViews, CustomSortComparesInOnePass) {
    constexpr int kRows = 1000;
    FillCaptions(kRows);
    std::vector<int> keys(kRows);
    std::mt19937 random(15);
    for (int& key : keys) key = static_cast<int>(random() % 5000);
    for (int i = 0; i < kRows; ++i) list.Items(i)->Data = &keys[static_cast<size_t>(i)];
    list.Items(3)->SetSelected(true);
    list.Items(500)->SetSelected(true);
    list.Items(500)->SetFocused(true);
    TListItem* selected = list.Items(3);
    TListItem* focused = list.Items(500);
    int changes = 0;
    list.OnChange = [&](TObject*, TListItem*) { ++changes; };
    int comparisons = 0;
    auto byKey = [&](TListItem* a, TListItem* b) {
        ++comparisons;
        return *static_cast<int*>(a->Data) - *static_cast<int*>(b->Data);
    };
    list.CustomSort(byKey);
    EXPECT_LE(comparisons, kRows * 10);
    for (int i = 0; i < kRows; ++i) {
        ASSERT_EQ(list.Items(i)->Index(), i);
        if (i) ASSERT_LE(*static_cast<int*>(list.Items(i - 1)->Data), *static_cast<int*>(list.Items(i)->Data));
        ASSERT_EQ(RowText(i), list.Items(i)->Caption());
    }
    // The marks stay with their items, quietly.
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(RowSelected(selected->Index()));
    EXPECT_TRUE(selected->Selected());
    EXPECT_EQ(list.ItemFocused(), focused);
    EXPECT_TRUE(focused->Selected());
    EXPECT_EQ(changes, 0);
    list.OnChange = nullptr;

    // Rows already in order cost about one comparison each.
    comparisons = 0;
    list.CustomSort(byKey);
    EXPECT_LT(comparisons, kRows);

    // Equal keys keep their order.
    for (int& key : keys) key %= 2;
    const std::wstring firstOdd = [&] {
        for (int i = 0; i < kRows; ++i)
            if (*static_cast<int*>(list.Items(i)->Data) == 1) return list.Items(i)->Caption();
        return std::wstring();
    }();
    list.CustomSort(byKey);
    EXPECT_EQ(list.Items(kRows - static_cast<int>(std::count(keys.begin(), keys.end(), 1)))->Caption(), firstOdd);

    // A comparison that answers at random still leaves every item once.
    list.CustomSort([&](TListItem*, TListItem*) { return static_cast<int>(random() % 3) - 1; });
    std::set<std::wstring> captions;
    for (int i = 0; i < kRows; ++i) {
        captions.insert(list.Items(i)->Caption());
        ASSERT_EQ(RowText(i), list.Items(i)->Caption());
    }
    EXPECT_EQ(captions.size(), static_cast<size_t>(kRows));

    const std::wstring first = list.Items(0)->Caption();
    EXPECT_THROW(list.CustomSort([&](TListItem*, TListItem*) -> int { throw std::runtime_error("kaputt"); }),
                 std::runtime_error);
    EXPECT_EQ(list.Items(0)->Caption(), first);
    EXPECT_EQ(RowText(0), first);
}

// A list whose window holds only the number of its rows: rows added in an update
// reach the window at its end, or as soon as one of them is asked about.
struct RowsOnlyListViews : CallbackListViews {
    void SetUp() override {
        list.RowsOnly = true;
        CallbackListViews::SetUp();
    }
    int WindowRows() { return static_cast<int>(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0)); }
};

TEST_F(RowsOnlyListViews, RowsMarksAndSortsAgreeWithTheItems) {
    ASSERT_TRUE(GetWindowLongW(list.Handle(), GWL_STYLE) & LVS_OWNERDATA);
    FillCaptions(500);
    EXPECT_EQ(WindowRows(), 500);
    EXPECT_EQ(RowText(42), L"f42");
    EXPECT_EQ(RowText(42, 1), L"420");
    EXPECT_EQ(RowImage(42), 0);

    // Added inside an update and marked at once; outside an update at once.
    list.BeginUpdate();
    list.AddItem(L"neu")->SetSelected(true);
    EXPECT_EQ(WindowRows(), 501);
    list.EndUpdate();
    list.AddItem(L"letzte");
    EXPECT_EQ(WindowRows(), 502);
    EXPECT_EQ(SelectedCaptions(), std::vector<std::wstring>{L"neu"});

    // Selection and focus move with their items in a sort (descending by number).
    // A sort asks at most the rows in sight for their data: the window keeps no
    // cut or drop marks to look up in every row (each answer would make the
    // owner build that row's texts).
    list.Items(7)->SetSelected(true);
    list.Items(7)->SetFocused(true);
    TListItem* target = list.Items(9);
    target->SetDropTarget(true);
    requests = 0;
    list.CustomSort([](TListItem* a, TListItem* b) { return b->Caption().compare(a->Caption()); });
    EXPECT_LT(requests, list.Count() / 5);
    EXPECT_EQ(list.DropTarget(), target);
    EXPECT_EQ(target->Caption(), L"f9");
    EXPECT_EQ(list.Items(0)->Caption(), L"neu");
    EXPECT_EQ(SelectedCaptions(), (std::vector<std::wstring>{L"neu", L"f7"}));
    EXPECT_EQ(list.ItemFocused()->Caption(), L"f7");
    for (int i = 0; i < list.Count(); i += 50) ASSERT_EQ(RowText(i), list.Items(i)->Caption());

    list.InvertSelection();
    EXPECT_EQ(list.SelCount(), 500);
    EXPECT_FALSE(list.Items(0)->Selected());
    list.SelectAll();
    EXPECT_EQ(list.SelCount(), 502);

    // A row deleted goes from the window as well; emptied, the window has none.
    const std::wstring second = list.Items(2)->Caption();
    list.Delete(1);
    EXPECT_EQ(WindowRows(), 501);
    EXPECT_EQ(RowText(1), second);
    list.Clear();
    EXPECT_EQ(WindowRows(), 0);
    EXPECT_EQ(list.SelCount(), 0);
    FillCaptions(3);
    EXPECT_EQ(list.SelCount(), 0) << "no mark of the old rows is left";
    EXPECT_EQ(RowText(2), L"f2");
}

// The window's search for a caption (typing in the list uses it) finds a row by
// its first letters or its whole caption, case-blind, from a row on and round
// to the top when asked; letters nothing starts with find none.
TEST_F(RowsOnlyListViews, TypedLettersFindTheirRow) {
    FillCaptions(30);
    auto find = [&](const wchar_t* text, int start, UINT flags) {
        LVFINDINFOW info{};
        info.flags = flags;
        info.psz = text;
        return static_cast<int>(SendMessageW(list.Handle(), LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&info)));
    };
    EXPECT_EQ(find(L"F2", -1, LVFI_PARTIAL | LVFI_STRING), 2);
    EXPECT_EQ(find(L"f2", 5, LVFI_PARTIAL | LVFI_STRING), 20);
    EXPECT_EQ(find(L"f1", 25, LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP), 1);
    EXPECT_EQ(find(L"f1", 25, LVFI_PARTIAL | LVFI_STRING), -1);
    EXPECT_EQ(find(L"f13", -1, LVFI_STRING), 13);
    EXPECT_EQ(find(L"x", -1, LVFI_PARTIAL | LVFI_STRING), -1);

}

// The object of a window is found from its handle while the window lives, and
// nothing is found for windows of others or handles gone.
TEST_F(ListViews, WindowsFindTheirObjectsOnlyWhileTheyLive) {
    HWND handle = list.Handle();
    EXPECT_EQ(TWinControl::FromHandle(handle), &list);
    EXPECT_EQ(TWinControl::FromHandle(form.Handle()), &form);
    HWND foreign = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form.Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(TWinControl::FromHandle(foreign), nullptr);
    DestroyWindow(foreign);
    {
        TListView other(&form);
        handle = other.Handle();
        EXPECT_EQ(TWinControl::FromHandle(handle), &other);
    }
    EXPECT_EQ(TWinControl::FromHandle(handle), nullptr);
}

}  // namespace
