#pragma once
// TQuellBox: the rules of a source combo box over a record list (the copy and
// delete dialogs' QuellDateien and ZLDateien, and the search dialogs later).
// More than one record: a pick-only box whose selected first item reads
// "Aktuelle Auswahl (n Dateien)", the list editor enabled. One or none: an
// editable box holding the record's lower-cased name, the list editor disabled.
// The other items are the recent files, newest first.

#include <string>

#include "foundation/EineDatei.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/ComboBoxes.h"
#include "platform/rtl/StringList.h"

namespace velmora {

class TQuellBox {
public:
    TQuellBox(gui::TComboBox& Box, gui::TButton& EditorButton) : m_box(Box), m_editor(EditorButton) {}

    void SetListe(TDateiListe* Liste) { m_liste = Liste; }
    TDateiListe* Liste() const { return m_liste; }
    // The items behind the first one.
    void SetRecent(const TStringList& Items) { m_recent = Items; }

    void Rebuild();
    bool Rebuilding() const { return m_rebuilding; }
    // Leaving the box: the typed or chosen text becomes the list.
    void Commit();
    // Delete in the pick-only box empties the list.
    void KeyUp(WORD Key, gui::TShiftState Shift);
    // Another item than the first chosen: the list goes.
    void Change();
    void DropDown();

    // Names the user adds: lower-cased, not inside an archive, never twice.
    // The records keep what they know of the file.
    bool Contains(const std::wstring& Name) const;
    void Add(std::unique_ptr<TEineDatei> Record);
    void AddName(const std::wstring& Name);
    void Clear();

private:
    void DropFirstItem();
    bool ListMode() const { return m_box.Style() == gui::TComboBoxStyle::csDropDownList; }

    gui::TComboBox& m_box;
    gui::TButton& m_editor;
    TDateiListe* m_liste = nullptr;
    TStringList m_recent;
    // Re-making the box's window takes the focus away from it: the box's own
    // exit must not act on the half-made box.
    bool m_rebuilding = false;
};

// "Aktuelle Auswahl (" + Count + " Dateien)".
std::wstring AktuelleAuswahl(size_t Count);

}  // namespace velmora
