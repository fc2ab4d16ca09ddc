#include "MRUList.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "foundation/RegistryEnhanced.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/MinimizeName.h"

namespace velmora {

using namespace gui;

namespace {

// A memory device context carrying the menu font of the system's metrics.
class TMenuFontCanvas {
public:
    TMenuFontCanvas() : m_dc(CreateCompatibleDC(nullptr)) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            Canvas.Font.SetName(metrics.lfMenuFont.lfFaceName);
            Canvas.Font.SetHeight(metrics.lfMenuFont.lfHeight);
            Canvas.Font.SetStyle(metrics.lfMenuFont.lfWeight >= FW_BOLD ? unsigned{fsBold} : 0u);
        }
        Canvas.Attach(m_dc);
    }
    ~TMenuFontCanvas() {
        Canvas.Detach();
        DeleteDC(m_dc);
    }
    TCanvas Canvas;

private:
    HDC m_dc;
};

std::unique_ptr<TMenuFontCanvas>& MenuFontCanvas() {
    static std::unique_ptr<TMenuFontCanvas> canvas;
    return canvas;
}

// Menus take "&" as the mark of an access key; a path shows it as itself.
std::wstring DoubleAmpersands(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'&')
            out += c;
    }
    return out;
}

std::wstring WithoutLeadingBackslashes(const std::wstring& path) {
    const size_t first = path.find_first_not_of(L'\\');
    return first == std::wstring::npos ? std::wstring() : path.substr(first);
}

}  // namespace

void InitMRUList() {
    if (!MenuFontCanvas())
        MenuFontCanvas() = std::make_unique<TMenuFontCanvas>();
}

TCanvas& MRUMeasureCanvas() {
    InitMRUList();
    return MenuFontCanvas()->Canvas;
}

TMRUFileList::TMRUFileList(TComponent* owner) : TComponent(owner) {}

TMRUFileList::~TMRUFileList() {
    if (AutoSave) {
        try {
            SaveToRegistry();
        } catch (...) {
            // A destructor cannot report; the list is lost as it would be without auto-save.
        }
    }
    if (m_fileMenu) {
        RemoveMenuItems(TargetParent());
        RemoveFreeNotification(m_fileMenu);
        m_fileMenu->RemoveFreeNotification(this);
    }
    m_clickDepth = 0;
    FreeRetired();
}

void TMRUFileList::Loaded() {
    if (AutoSave)
        LoadFromRegistry();
}

void TMRUFileList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_fileMenu)
        m_fileMenu = nullptr;
}

void TMRUFileList::TrimToMaximum() {
    while (m_items.Count() > m_maximum)
        m_items.Delete(m_items.Count() - 1);
}

void TMRUFileList::AddItem(const std::wstring& Path) {
    const int found = m_items.IndexOf(Path, true);
    if (found < 0) {
        m_items.Add(Path);
        TrimToMaximum();
    } else {
        std::wstring entry = m_items[found];
        m_items.Delete(found);
        m_items.Insert(0, entry);
    }
    RebuildMenu();
}

void TMRUFileList::InsertItem(int Index, const std::wstring& Path) {
    const int found = m_items.IndexOf(Path, true);
    if (found < 0) {
        m_items.Insert(std::clamp(Index, 0, m_items.Count()), Path);
        TrimToMaximum();
    } else {
        std::wstring entry = m_items[found];
        m_items.Delete(found);
        m_items.Insert(std::clamp(Index, 0, m_items.Count()), entry);
    }
    RebuildMenu();
}

void TMRUFileList::RemoveItem(const std::wstring& Path) {
    const int found = m_items.IndexOf(Path, true);
    if (found < 0)
        return;
    m_items.Delete(found);
    RebuildMenu();
}

void TMRUFileList::Clear() {
    m_items.Clear();
    RebuildMenu();
}

void TMRUFileList::SetMaximum(std::uint8_t Value) {
    const bool fewer = Value < m_maximum;
    m_maximum = Value;
    if (fewer) {
        TrimToMaximum();
        RebuildMenu();
    }
}

void TMRUFileList::SetFileMenu(TMenuItem* Value) {
    if (m_fileMenu) {
        RemoveMenuItems(TargetParent());
        RemoveFreeNotification(m_fileMenu);
        m_fileMenu->RemoveFreeNotification(this);
    }
    m_fileMenu = Value;
    if (m_fileMenu)
        FreeNotification(m_fileMenu);
    RebuildMenu();
}

void TMRUFileList::SetUseSubmenu(bool Value) {
    if (Value == m_useSubmenu)
        return;
    m_useSubmenu = Value;
    RebuildMenu();
}

void TMRUFileList::SetInsertSeparator(bool Value) {
    if (Value == m_insertSeparator)
        return;
    m_insertSeparator = Value;
    RebuildMenu();
}

void TMRUFileList::SetSubmenuName(const std::wstring& Value) {
    if (Value == m_submenuName)
        return;
    m_submenuName = Value;
    if (m_useSubmenu)
        RebuildMenu();
}

void TMRUFileList::SetMaxCaptionWidth(int Value) {
    if (Value == m_maxCaptionWidth)
        return;
    m_maxCaptionWidth = Value;
    RebuildMenu();
}

// A menu-bar title without items of its own, or an empty pop-up, takes the
// items into itself: they never become menu-bar titles, and a missing parent
// is never used.
TMenuItem* TMRUFileList::TargetParent() const {
    if (m_fileMenu->Count() > 0)
        return m_fileMenu;
    TMenuItem* parent = m_fileMenu->Parent();
    if (!parent || dynamic_cast<TMainMenu*>(parent->Menu()))
        return m_fileMenu;
    return parent;
}

void TMRUFileList::RemoveMenuItems(TMenuItem* parent) {
    if (!parent)
        return;
    for (int i = parent->Count() - 1; i >= 0; --i) {
        TMenuItem* item = parent->Items(i);
        if (!dynamic_cast<TMRUMenuItem*>(item))
            continue;
        if (m_clickDepth > 0) {
            parent->Remove(item);
            m_retired.push_back(item);
        } else {
            parent->Delete(i);
        }
    }
}

void TMRUFileList::FreeRetired() {
    if (m_clickDepth > 0)
        return;
    std::vector<TMenuItem*> retired;
    retired.swap(m_retired);
    for (TMenuItem* item : retired)
        item->Free();
}

std::wstring TMRUFileList::CaptionFor(const std::wstring& path) const {
    return DoubleAmpersands(MinimizeName(path, MRUMeasureCanvas(), m_maxCaptionWidth));
}

void TMRUFileList::RebuildMenu() {
    if (!m_fileMenu)
        return;
    // The target before the removal: an emptied pop-up would otherwise look
    // like an item to put the entries in front of.
    RemoveMenuItems(TargetParent());
    if (m_items.Empty())
        return;
    TMenuItem* parent;
    int index;
    if (m_fileMenu->Count() == 0 && TargetParent() != m_fileMenu) {
        parent = m_fileMenu->Parent();
        index = m_fileMenu->MenuIndex();
    } else {
        parent = m_fileMenu;
        index = m_fileMenu->Count();
    }
    if (m_insertSeparator) {
        auto* separator = new TMRUMenuItem(nullptr);
        separator->SetCaption(L"-");
        parent->Insert(index++, separator);
    }
    if (m_useSubmenu) {
        auto* submenu = new TMRUMenuItem(nullptr);
        submenu->SetCaption(m_submenuName);
        parent->Insert(index, submenu);
        parent = submenu;
        index = 0;
    }
    for (int i = 0; i < m_items.Count(); ++i) {
        auto* item = new TMRUMenuItem(nullptr);
        const std::wstring& path = m_items[i];
        item->FullCaption = L"&" + std::to_wstring(i + 1) + L" " + path;
        item->SetCaption(m_maxCaptionWidth == 0 ? L"&" + std::to_wstring(i + 1) + L" " + DoubleAmpersands(path)
                                                : CaptionFor(path));
        item->ItemNumber = static_cast<std::uint8_t>(i + 1);
        item->OnClick = bind(this, &TMRUFileList::ItemClick);
        parent->Insert(index++, item);
    }
}

void TMRUFileList::ItemClick(TObject* Sender) {
    auto* item = dynamic_cast<TMRUMenuItem*>(Sender);
    if (!item)
        return;
    const int index = item->ItemNumber - 1;
    if (index < 0 || index >= m_items.Count())
        return;
    const std::wstring path = m_items[index];
    ++m_clickDepth;
    try {
        if (RemoveOnClick) {
            m_items.Delete(index);
            RebuildMenu();
        }
        if (OnMRUItemClick)
            OnMRUItemClick(item, path);
    } catch (...) {
        --m_clickDepth;
        FreeRetired();
        throw;
    }
    --m_clickDepth;
    FreeRetired();
}

void TMRUFileList::LoadFromRegistry() {
    if (AutoSaveName.empty() || AutoSaveKey.empty())
        return;
    TRegIniFile1 ini(HKEY_CURRENT_USER, WithoutLeadingBackslashes(AutoSaveName));
    TStringList lines;
    ini.ReadSectionValues(AutoSaveKey, lines);
    m_items.Clear();
    for (const std::wstring& line : lines) {
        const size_t equals = line.find(L'=');
        m_items.Add(equals == std::wstring::npos ? line : line.substr(equals + 1));
    }
    RebuildMenu();
}

void TMRUFileList::SaveToRegistry() {
    if (AutoSaveName.empty() || AutoSaveKey.empty())
        return;
    TRegIniFile1 ini(HKEY_CURRENT_USER, WithoutLeadingBackslashes(AutoSaveName));
    ini.EraseSection(AutoSaveKey);
    for (int i = 0; i < m_items.Count(); ++i)
        ini.WriteString(AutoSaveKey, L"F" + std::to_wstring(i), m_items[i]);
}

}  // namespace velmora
