#pragma once
// TMRUFileList keeps an ordered list of paths and mirrors it as numbered items of
// a menu its owner chooses; dialogs borrow it for their own pop-up menus for a
// while. Its items are TMRUMenuItem, which a rebuild recognises as its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Canvas.h"
#include "platform/gui/Component.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/StringList.h"

namespace velmora {

class TMRUFileList;

class TMRUMenuItem : public gui::TMenuItem {
public:
    explicit TMRUMenuItem(gui::TComponent* owner) : TMenuItem(owner) {}
    // "&" + number + " " + path.
    std::wstring FullCaption;
    // 1-based; 0 for the separator and the submenu item.
    std::uint8_t ItemNumber = 0;
};

using TMRUClickEvent = std::function<void(gui::TObject* Sender, const std::wstring& AFilename)>;

class TMRUFileList : public gui::TComponent {
public:
    explicit TMRUFileList(gui::TComponent* owner);
    ~TMRUFileList() override;

    std::uint8_t Maximum() const { return m_maximum; }
    void SetMaximum(std::uint8_t Value);
    // A clicked entry is taken out of the list before OnMRUItemClick fires.
    bool RemoveOnClick = true;
    bool UseSubmenu() const { return m_useSubmenu; }
    void SetUseSubmenu(bool Value);
    bool InsertSeparator() const { return m_insertSeparator; }
    void SetInsertSeparator(bool Value);
    const std::wstring& SubmenuName() const { return m_submenuName; }
    void SetSubmenuName(const std::wstring& Value);
    TMRUClickEvent OnMRUItemClick;
    gui::TMenuItem* FileMenu() const { return m_fileMenu; }
    void SetFileMenu(gui::TMenuItem* Value);
    // Loaded by Loaded(), saved by the destructor.
    bool AutoSave = true;
    std::wstring AutoSaveName = L"\\Software\\My Application";
    std::wstring AutoSaveKey = L"MRU Items";
    // In pixels of the menu font; 0 shows the full numbered text.
    int MaxCaptionWidth() const { return m_maxCaptionWidth; }
    void SetMaxCaptionWidth(int Value);

    // Index 0 shows first.
    const TStringList& Items() const { return m_items; }
    void AddItem(const std::wstring& Path);
    void InsertItem(int Index, const std::wstring& Path);
    void RemoveItem(const std::wstring& Path);
    // Empties the list and the menu.
    void Clear();
    void ItemClick(gui::TObject* Sender);
    void LoadFromRegistry();
    void SaveToRegistry();
    virtual void RebuildMenu();
    // The auto-load; the owner calls it once the properties are set.
    void Loaded() override;

protected:
    void Notification(gui::TComponent* component, gui::TOperation operation) override;

private:
    // Where the items live: FileMenu with sub-items (or with nowhere else to
    // go), else FileMenu's parent, in front of FileMenu.
    gui::TMenuItem* TargetParent() const;
    void RemoveMenuItems(gui::TMenuItem* parent);
    void FreeRetired();
    void TrimToMaximum();
    std::wstring CaptionFor(const std::wstring& path) const;

    TStringList m_items;
    std::uint8_t m_maximum = 5;
    bool m_useSubmenu = false;
    bool m_insertSeparator = true;
    std::wstring m_submenuName = L"Reopen";
    gui::TMenuItem* m_fileMenu = nullptr;
    int m_maxCaptionWidth = 200;
    // While a click is handled, items taken out of the menu wait here: the
    // handler may still hold the clicked one.
    int m_clickDepth = 0;
    std::vector<gui::TMenuItem*> m_retired;
};

// The menu font's canvas that measures the captions; made at first use.
void InitMRUList();
gui::TCanvas& MRUMeasureCanvas();

}  // namespace velmora
