#include "QuellBox.h"

#include "DialogBasis.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const std::wstring kAuswahl = L"Aktuelle Auswahl (";

bool IsAuswahlItem(const std::wstring& item) { return item.compare(0, 18, kAuswahl.substr(0, 18)) == 0; }

}  // namespace

std::wstring AktuelleAuswahl(size_t Count) { return kAuswahl + std::to_wstring(Count) + L" Dateien)"; }

void TQuellBox::DropFirstItem() {
    const TStringList& items = m_box.Items();
    if (items.Empty() || !IsAuswahlItem(items[0])) return;
    const int index = m_box.ItemIndex();
    TStringList rest = items;
    rest.Delete(0);
    m_box.SetItems(rest);
    if (index > 0) m_box.SetItemIndex(index - 1);
}

void TQuellBox::Rebuild() {
    if (m_rebuilding) return;
    m_rebuilding = true;
    const bool focused = HasFocus(m_box);
    DropFirstItem();
    TStringList items;
    const size_t count = m_liste ? m_liste->size() : 0;
    if (count > 1) items.Add(AktuelleAuswahl(count));
    for (const std::wstring& item : m_recent) items.Add(item);
    if (count > 1) {
        m_box.SetStyle(TComboBoxStyle::csDropDownList);
        m_box.SetItems(items);
        m_box.SetItemIndex(0);
        m_editor.SetEnabled(true);
    } else {
        m_box.SetStyle(TComboBoxStyle::csDropDown);
        m_box.SetItems(items);
        m_box.SetItemIndex(-1);
        m_box.SetText(count == 1 ? SystemLower((*m_liste)[0]->Name) : std::wstring());
        m_editor.SetEnabled(false);
    }
    if (focused && !HasFocus(m_box)) m_box.SetFocus();
    m_rebuilding = false;
}

void TQuellBox::Commit() {
    if (!m_liste || m_rebuilding) return;
    if (!ListMode()) {
        const std::wstring text = Trim(m_box.Text());
        if (text.empty()) {
            m_liste->clear();
        } else if (m_liste->size() == 1) {
            TEineDatei& record = *(*m_liste)[0];
            if (SystemLower(text) != SystemLower(record.Name)) {
                record.Name = SystemLower(text);
                record.InArchive = false;
            }
        } else {
            m_liste->clear();
            AddName(text);
        }
    } else if (m_liste->empty()) {
        const int index = m_box.ItemIndex();
        if (index >= 0 && !IsAuswahlItem(m_box.Items()[index])) AddName(m_box.Items()[index]);
    }
    Rebuild();
}

void TQuellBox::KeyUp(WORD Key, TShiftState Shift) {
    if (Key != VK_DELETE || Shift != 0 || !ListMode() || !m_liste || m_rebuilding) return;
    m_liste->clear();
    Rebuild();
}

void TQuellBox::Change() {
    if (!m_liste || m_rebuilding || m_liste->size() <= 1 || m_box.ItemIndex() <= 0) return;
    DropFirstItem();
    m_liste->clear();
}

void TQuellBox::DropDown() {
    if (m_rebuilding) return;
    DropFirstItem();
    if (m_liste) m_liste->clear();
}

bool TQuellBox::Contains(const std::wstring& Name) const {
    const std::wstring name = SystemLower(Name);
    for (const auto& record : *m_liste)
        if (SystemLower(record->Name) == name) return true;
    return false;
}

void TQuellBox::Add(std::unique_ptr<TEineDatei> Record) {
    if (!m_liste || Record->Name.empty() || Contains(Record->Name)) return;
    Record->Name = SystemLower(Record->Name);
    Record->InArchive = false;
    m_liste->push_back(std::move(Record));
}

void TQuellBox::AddName(const std::wstring& Name) {
    auto record = std::make_unique<TEineDatei>();
    record->Name = Name;
    Add(std::move(record));
}

void TQuellBox::Clear() {
    if (m_liste) m_liste->clear();
}

}  // namespace velmora
