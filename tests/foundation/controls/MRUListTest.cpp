#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>

#include "foundation/controls/MRUList.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/Registry.h"

using namespace velmora;
using namespace velmora::gui;

namespace {

// A menu bar: "Datei" ending in "Beenden", "Ansicht" with an item of its own,
// and "Extras" without any. Children are declared after their parents, so each
// leaves its parent before the parent goes.
struct Menus {
    TMainMenu Main{nullptr};
    TMenuItem Datei{nullptr, L"&Datei"};
    TMenuItem Oeffnen{nullptr, L"Ö&ffnen"};
    TMenuItem Beenden{nullptr, L"&Beenden"};
    TMenuItem Ansicht{nullptr, L"&Ansicht"};
    TMenuItem Links{nullptr, L"&Links"};
    TMenuItem Extras{nullptr, L"E&xtras"};
    Menus() {
        Main.Items().Add(&Datei);
        Datei.Add(&Oeffnen);
        Datei.Add(&Beenden);
        Main.Items().Add(&Ansicht);
        Ansicht.Add(&Links);
        Main.Items().Add(&Extras);
    }
};

std::vector<std::wstring> Captions(TMenuItem& parent) {
    std::vector<std::wstring> captions;
    for (int i = 0; i < parent.Count(); ++i)
        captions.push_back(parent.Items(i)->Caption());
    return captions;
}

TMRUMenuItem* Entry(TMenuItem& parent, int number) {
    for (int i = 0; i < parent.Count(); ++i)
        if (auto* item = dynamic_cast<TMRUMenuItem*>(parent.Items(i)); item && item->ItemNumber == number)
            return item;
    return nullptr;
}

class MRUListTest : public ::testing::Test {
protected:
    MRUListTest() {
        list.AutoSave = false;
        list.SetMaxCaptionWidth(0);
    }
    TMRUFileList list{nullptr};
};

}  // namespace

TEST_F(MRUListTest, StartsWithTheComponentsDefaults) {
    TMRUFileList fresh(nullptr);
    fresh.AutoSave = false;
    EXPECT_EQ(fresh.Maximum(), 5);
    EXPECT_TRUE(fresh.RemoveOnClick);
    EXPECT_FALSE(fresh.UseSubmenu());
    EXPECT_TRUE(fresh.InsertSeparator());
    EXPECT_EQ(fresh.SubmenuName(), L"Reopen");
    EXPECT_EQ(fresh.FileMenu(), nullptr);
    EXPECT_EQ(fresh.AutoSaveName, L"\\Software\\My Application");
    EXPECT_EQ(fresh.AutoSaveKey, L"MRU Items");
    EXPECT_EQ(fresh.MaxCaptionWidth(), 200);
}

TEST_F(MRUListTest, ADuplicateInOtherCaseMovesAndNeverDoubles) {
    list.AddItem(L"c:\\eins");
    list.AddItem(L"c:\\zwei");
    list.AddItem(L"c:\\drei");
    list.AddItem(L"C:\\DREI");
    EXPECT_EQ(list.Items(), (TStringList{L"c:\\drei", L"c:\\eins", L"c:\\zwei"}));
    list.InsertItem(2, L"C:\\Eins");
    EXPECT_EQ(list.Items(), (TStringList{L"c:\\drei", L"c:\\zwei", L"c:\\eins"}));
    list.RemoveItem(L"C:\\ZWEI");
    list.RemoveItem(L"c:\\fehlt");
    EXPECT_EQ(list.Items(), (TStringList{L"c:\\drei", L"c:\\eins"}));
}

TEST_F(MRUListTest, AFullListTakesNothingByAddingButDropsItsLastByInserting) {
    list.SetMaximum(2);
    list.AddItem(L"a");
    list.AddItem(L"b");
    list.AddItem(L"c");
    EXPECT_EQ(list.Items(), (TStringList{L"a", L"b"}));
    list.InsertItem(1, L"c");
    EXPECT_EQ(list.Items(), (TStringList{L"a", L"c"}));
    // An index past the end appends.
    list.InsertItem(7, L"d");
    EXPECT_EQ(list.Items(), (TStringList{L"a", L"c"}));
    list.SetMaximum(3);
    list.InsertItem(7, L"d");
    EXPECT_EQ(list.Items(), (TStringList{L"a", L"c", L"d"}));
    list.SetMaximum(1);
    EXPECT_EQ(list.Items(), (TStringList{L"a"}));
}

TEST_F(MRUListTest, IntoAMenuWithItemsTheEntriesAreAppendedNumbered) {
    Menus menus;
    list.AddItem(L"c:\\eins");
    list.AddItem(L"c:\\zwei");
    list.SetFileMenu(&menus.Ansicht);
    EXPECT_EQ(Captions(menus.Ansicht), (std::vector<std::wstring>{L"&Links", L"-", L"&1 c:\\eins", L"&2 c:\\zwei"}));
    TMRUMenuItem* second = Entry(menus.Ansicht, 2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->FullCaption, L"&2 c:\\zwei");
    list.AddItem(L"c:\\zwei");
    EXPECT_EQ(Captions(menus.Ansicht), (std::vector<std::wstring>{L"&Links", L"-", L"&1 c:\\zwei", L"&2 c:\\eins"}));
}

TEST_F(MRUListTest, IntoAnItemWithoutItemsTheEntriesGoInFrontOfItInItsParent) {
    Menus menus;
    list.SetFileMenu(&menus.Beenden);
    list.AddItem(L"c:\\eins");
    EXPECT_EQ(Captions(menus.Datei), (std::vector<std::wstring>{L"Ö&ffnen", L"-", L"&1 c:\\eins", L"&Beenden"}));
    list.SetUseSubmenu(true);
    list.SetSubmenuName(L"Zuletzt");
    ASSERT_EQ(Captions(menus.Datei), (std::vector<std::wstring>{L"Ö&ffnen", L"-", L"Zuletzt", L"&Beenden"}));
    EXPECT_EQ(Captions(*menus.Datei.Items(2)), (std::vector<std::wstring>{L"&1 c:\\eins"}));
}

TEST_F(MRUListTest, AnEmptyListLeavesNoSeparatorOrSubmenuBehind) {
    Menus menus;
    list.SetUseSubmenu(true);
    list.SetFileMenu(&menus.Beenden);
    list.AddItem(L"c:\\eins");
    ASSERT_EQ(menus.Datei.Count(), 4);
    list.RemoveItem(L"c:\\eins");
    EXPECT_EQ(Captions(menus.Datei), (std::vector<std::wstring>{L"Ö&ffnen", L"&Beenden"}));
    list.SetUseSubmenu(false);
    list.SetFileMenu(&menus.Ansicht);
    EXPECT_EQ(Captions(menus.Ansicht), (std::vector<std::wstring>{L"&Links"}));
}

TEST_F(MRUListTest, AnEmptyPopupOrMenuBarTitleTakesTheEntriesIntoItself) {
    Menus menus;
    TPopupMenu popup(nullptr);
    list.AddItem(L"c:\\eins");
    list.SetInsertSeparator(false);
    list.SetFileMenu(&popup.Items());
    EXPECT_EQ(Captions(popup.Items()), (std::vector<std::wstring>{L"&1 c:\\eins"}));
    list.AddItem(L"c:\\zwei");
    EXPECT_EQ(Captions(popup.Items()), (std::vector<std::wstring>{L"&1 c:\\eins", L"&2 c:\\zwei"}));

    list.SetFileMenu(&menus.Extras);
    EXPECT_EQ(popup.Items().Count(), 0);
    EXPECT_EQ(menus.Main.Items().Count(), 3);
    EXPECT_EQ(Captions(menus.Extras), (std::vector<std::wstring>{L"&1 c:\\eins", L"&2 c:\\zwei"}));
    list.Clear();
    EXPECT_EQ(menus.Extras.Count(), 0);
}

TEST_F(MRUListTest, CaptionsAreShortenedInTheMenuFontAndShowAnAmpersandAsItself) {
    Menus menus;
    list.SetMaxCaptionWidth(250);
    const std::wstring deep = L"c:\\ein sehr langer ordnername\\noch ein langer ordnername\\und ein dritter\\ziel";
    list.AddItem(deep);
    list.AddItem(L"c:\\a&b");
    list.SetFileMenu(&menus.Ansicht);
    const std::wstring shortened = Entry(menus.Ansicht, 1)->Caption();
    EXPECT_EQ(shortened.substr(0, 7), L"c:\\...\\");
    EXPECT_EQ(shortened.substr(shortened.size() - 5), L"\\ziel");
    EXPECT_LE(MRUMeasureCanvas().TextWidth(shortened), 250);
    EXPECT_GT(MRUMeasureCanvas().TextWidth(deep), 250);
    EXPECT_EQ(Entry(menus.Ansicht, 1)->FullCaption, L"&1 " + deep);
    EXPECT_EQ(Entry(menus.Ansicht, 2)->Caption(), L"c:\\a&&b");
    list.SetMaxCaptionWidth(0);
    EXPECT_EQ(Entry(menus.Ansicht, 2)->Caption(), L"&2 c:\\a&&b");
}

TEST_F(MRUListTest, AClickHandsTheLiveItemAndThePathAndFreesOldItemsOnlyAfterwards) {
    Menus menus;
    list.SetFileMenu(&menus.Ansicht);
    list.AddItem(L"c:\\eins");
    list.AddItem(L"c:\\zwei");
    std::vector<std::wstring> paths;
    list.OnMRUItemClick = [&](TObject* sender, const std::wstring& path) {
        paths.push_back(path);
        // The clicked item is out of the menu but still whole.
        auto* item = dynamic_cast<TMRUMenuItem*>(sender);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->FullCaption, L"&2 c:\\zwei");
        EXPECT_EQ(menus.Ansicht.IndexOf(item), -1);
        list.InsertItem(0, L"c:\\drei");
        EXPECT_EQ(item->FullCaption, L"&2 c:\\zwei");
    };
    Entry(menus.Ansicht, 2)->Click();
    EXPECT_EQ(paths, (std::vector<std::wstring>{L"c:\\zwei"}));
    EXPECT_EQ(list.Items(), (TStringList{L"c:\\drei", L"c:\\eins"}));
    EXPECT_EQ(Captions(menus.Ansicht), (std::vector<std::wstring>{L"&Links", L"-", L"&1 c:\\drei", L"&2 c:\\eins"}));

    list.RemoveOnClick = false;
    list.OnMRUItemClick = [&](TObject*, const std::wstring& path) { paths.push_back(path); };
    Entry(menus.Ansicht, 1)->Click();
    EXPECT_EQ(paths.back(), L"c:\\drei");
    EXPECT_EQ(list.Items().Count(), 2);
}

TEST_F(MRUListTest, AutoSaveWritesNumberedValuesAndLoadsThemBack) {
    const std::wstring key = L"Software\\Velmora Tests\\MRUList";
    TRegistry cleanup;
    cleanup.DeleteKey(L"Software\\Velmora Tests");
    {
        TMRUFileList saved(nullptr);
        saved.AutoSaveName = L"\\" + key;
        saved.AutoSaveKey = L"Liste";
        saved.Loaded();
        EXPECT_TRUE(saved.Items().Empty());
        saved.AddItem(L"c:\\eins");
        saved.AddItem(L"d:\\zwei=drei");
    }
    TRegistry reg(KEY_READ);
    ASSERT_TRUE(reg.OpenKey(key + L"\\Liste", false));
    EXPECT_EQ(reg.ReadString(L"F0"), L"c:\\eins");
    EXPECT_EQ(reg.ReadString(L"F1"), L"d:\\zwei=drei");
    reg.CloseKey();
    {
        TMRUFileList loaded(nullptr);
        loaded.AutoSaveName = L"\\" + key;
        loaded.AutoSaveKey = L"Liste";
        loaded.Loaded();
        EXPECT_EQ(loaded.Items(), (TStringList{L"c:\\eins", L"d:\\zwei=drei"}));
        loaded.RemoveItem(L"c:\\eins");
    }
    TStringList names;
    ASSERT_TRUE(reg.OpenKey(key + L"\\Liste", false));
    reg.GetValueNames(names);
    EXPECT_EQ(names, (TStringList{L"F0"}));
    reg.CloseKey();
    cleanup.DeleteKey(L"Software\\Velmora Tests");
}
