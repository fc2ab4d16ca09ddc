#include "MaskEdit.h"

#include <algorithm>
#include <cwctype>

#include "platform/rtl/LocaleTexts.h"

namespace velmora::gui {

namespace {

wchar_t FirstOr(const std::wstring& text, wchar_t fallback) { return text.empty() ? fallback : text[0]; }

}  // namespace

// ---- TEditMaskFormat

TEditMaskFormat::TEditMaskFormat(const std::wstring& mask) {
    // The two trailing fields: ";1" saves literals, ";x" names the blank.
    std::wstring body = mask;
    const size_t last = body.rfind(L';');
    if (last != std::wstring::npos && last + 2 == body.size() && last > 0) {
        m_blank = body[last + 1];
        body.erase(last);
        const size_t save = body.rfind(L';');
        if (save != std::wstring::npos && save + 2 == body.size()) {
            m_saveLiterals = body[save + 1] != L'0';
            body.erase(save);
        }
    } else if (last != std::wstring::npos && last + 2 == body.size()) {
        m_saveLiterals = body[last + 1] != L'0';
        body.erase(last);
    }
    const wchar_t dateSep = FirstOr(LocaleDateSeparator(), L'.');
    const wchar_t timeSep = FirstOr(LocaleTimeSeparator(), L':');
    for (size_t i = 0; i < body.size(); ++i) {
        const wchar_t c = body[i];
        TSlot slot;
        switch (c) {
        case L'!': m_leadingBlanks = true; continue;
        case L'0': slot = {TKind::Digit, true, 0}; break;
        case L'9': slot = {TKind::Digit, false, 0}; break;
        case L'#': slot = {TKind::DigitOrSign, false, 0}; break;
        case L'L': slot = {TKind::Letter, true, 0}; break;
        case L'l': slot = {TKind::Letter, false, 0}; break;
        case L'A': slot = {TKind::LetterOrDigit, true, 0}; break;
        case L'a': slot = {TKind::LetterOrDigit, false, 0}; break;
        case L'C': slot = {TKind::AnyChar, true, 0}; break;
        case L'c': slot = {TKind::AnyChar, false, 0}; break;
        case L'/': slot.Literal = dateSep; break;
        case L':': slot.Literal = timeSep; break;
        case L'\\':
            if (i + 1 < body.size()) ++i;
            slot.Literal = body[i];
            break;
        default: slot.Literal = c; break;
        }
        m_slots.push_back(slot);
    }
}

bool TEditMaskFormat::IsLiteral(int pos) const {
    return pos >= 0 && pos < Length() && m_slots[static_cast<size_t>(pos)].Kind == TKind::Literal;
}

bool TEditMaskFormat::Fits(const TSlot& slot, wchar_t c) const {
    switch (slot.Kind) {
    case TKind::Digit: return c >= L'0' && c <= L'9';
    case TKind::DigitOrSign: return (c >= L'0' && c <= L'9') || c == L'+' || c == L'-';
    case TKind::Letter: return std::iswalpha(c) != 0;
    case TKind::LetterOrDigit: return std::iswalnum(c) != 0;
    case TKind::AnyChar: return c >= L' ';
    case TKind::Literal: return c == slot.Literal;
    }
    return false;
}

bool TEditMaskFormat::Accepts(int pos, wchar_t c) const {
    return pos >= 0 && pos < Length() && Fits(m_slots[static_cast<size_t>(pos)], c);
}

std::wstring TEditMaskFormat::Blank() const {
    std::wstring text;
    for (const TSlot& slot : m_slots)
        text += slot.Kind == TKind::Literal ? slot.Literal : m_blank;
    return text;
}

std::wstring TEditMaskFormat::Apply(const std::wstring& text) const {
    std::wstring result = Blank();
    bool hasLiterals = false;
    for (const TSlot& slot : m_slots)
        if (slot.Kind == TKind::Literal && text.find(slot.Literal) != std::wstring::npos)
            hasLiterals = true;
    if (!hasLiterals) {
        // No separators to go by: the characters fill the positions in order.
        int caret = NextEditable(0);
        for (wchar_t c : text) {
            if (caret >= Length()) break;
            if (Accepts(caret, c)) result[static_cast<size_t>(caret)] = c;
            caret = NextEditable(caret + 1);
        }
        return result;
    }
    size_t from = 0;  // where the current field's part of the text begins
    int pos = 0;
    while (pos < Length()) {
        if (IsLiteral(pos)) {
            const size_t at = text.find(m_slots[static_cast<size_t>(pos)].Literal, from);
            from = at == std::wstring::npos ? text.size() : at + 1;
            ++pos;
            continue;
        }
        int end = pos;
        while (end < Length() && !IsLiteral(end)) ++end;
        size_t stop = text.size();
        if (end < Length()) {
            const size_t at = text.find(m_slots[static_cast<size_t>(end)].Literal, from);
            if (at != std::wstring::npos) stop = at;
        }
        std::wstring part = text.substr(from, stop - from);
        while (!part.empty() && part.front() == L' ') part.erase(0, 1);
        while (!part.empty() && part.back() == L' ') part.pop_back();
        const int width = end - pos;
        if (static_cast<int>(part.size()) > width) part.resize(static_cast<size_t>(width));
        const int start = m_leadingBlanks ? end - static_cast<int>(part.size()) : pos;
        for (size_t i = 0; i < part.size(); ++i) {
            const int at = start + static_cast<int>(i);
            if (Accepts(at, part[i])) result[static_cast<size_t>(at)] = part[i];
        }
        from = stop;
        pos = end;
    }
    return result;
}

std::wstring TEditMaskFormat::TextOf(const std::wstring& editText) const {
    std::wstring text;
    for (int i = 0; i < Length() && i < static_cast<int>(editText.size()); ++i) {
        const wchar_t c = editText[static_cast<size_t>(i)];
        if (IsLiteral(i)) {
            if (m_saveLiterals) text += c;
        } else {
            text += c == m_blank ? L' ' : c;
        }
    }
    return text;
}

bool TEditMaskFormat::IsComplete(const std::wstring& editText) const {
    for (int i = 0; i < Length(); ++i) {
        const TSlot& slot = m_slots[static_cast<size_t>(i)];
        if (slot.Kind == TKind::Literal || !slot.Required) continue;
        if (i >= static_cast<int>(editText.size()) || !Fits(slot, editText[static_cast<size_t>(i)])) return false;
    }
    return true;
}

int TEditMaskFormat::NextEditable(int pos) const {
    while (pos < Length() && IsLiteral(pos)) ++pos;
    return pos;
}

int TEditMaskFormat::Type(std::wstring& editText, int caret, wchar_t c) const {
    // A literal typed where it stands steps over it.
    if (IsLiteral(caret) && Accepts(caret, c)) return caret + 1;
    const int pos = NextEditable(caret);
    if (pos >= Length() || !Accepts(pos, c)) return -1;
    editText[static_cast<size_t>(pos)] = c;
    return NextEditable(pos + 1);
}

void TEditMaskFormat::Clear(std::wstring& editText, int from, int count) const {
    for (int i = std::max(from, 0); i < from + count && i < Length(); ++i)
        if (!IsLiteral(i)) editText[static_cast<size_t>(i)] = m_blank;
}

int TEditMaskFormat::Backspace(std::wstring& editText, int caret) const {
    int pos = std::min(caret, Length()) - 1;
    while (pos >= 0 && IsLiteral(pos)) --pos;
    if (pos < 0) return caret;
    editText[static_cast<size_t>(pos)] = m_blank;
    return pos;
}

// ---- TMaskEdit

TMaskEdit::TMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TMaskEdit::SetEditMask(const std::wstring& mask) {
    const std::wstring text = Caption();
    m_maskText = mask;
    m_format = TEditMaskFormat(mask);
    SetMaxLength(m_format.Empty() ? 0 : m_format.Length());
    SetCaption(text);
}

std::wstring TMaskEdit::Caption() const {
    const std::wstring text = TCustomEdit::Caption();
    return m_format.Empty() ? text : m_format.TextOf(text);
}

void TMaskEdit::SetCaption(const std::wstring& caption) {
    TCustomEdit::SetCaption(m_format.Empty() ? caption : m_format.Apply(caption));
}

void TMaskEdit::Store(const std::wstring& editText, int caret) {
    if (editText != EditText()) TCustomEdit::SetCaption(editText);
    SetSelStart(caret);
    SetSelLength(0);
}

void TMaskEdit::ClearSelection(std::wstring& editText, int& caret) const {
    const int start = SelStart(), length = SelLength();
    caret = start;
    if (length > 0) m_format.Clear(editText, start, length);
}

void TMaskEdit::TypeText(const std::wstring& text) {
    std::wstring edit = EditText();
    int caret = 0;
    ClearSelection(edit, caret);
    for (wchar_t c : text) {
        const int next = m_format.Type(edit, caret, c);
        if (next < 0) {
            MessageBeep(0);
            break;
        }
        caret = next;
    }
    Store(edit, caret);
}

bool TMaskEdit::DoKeyDown(WORD& key, TShiftState shift) {
    if (TCustomEdit::DoKeyDown(key, shift)) return true;
    if (m_format.Empty() || ReadOnly() || key != VK_DELETE) return false;
    std::wstring edit = EditText();
    int caret = SelStart();
    if (SelLength() > 0)
        ClearSelection(edit, caret);
    else
        m_format.Clear(edit, caret, 1);
    Store(edit, caret);
    key = 0;
    return true;
}

bool TMaskEdit::DoKeyPress(wchar_t& key) {
    if (TCustomEdit::DoKeyPress(key)) return true;
    if (m_format.Empty() || ReadOnly()) return false;
    if (key == VK_BACK) {
        std::wstring edit = EditText();
        int caret = SelStart();
        if (SelLength() > 0)
            ClearSelection(edit, caret);
        else
            caret = m_format.Backspace(edit, caret);
        Store(edit, caret);
        key = 0;
        return true;
    }
    // Copy, cut and paste reach the window as their own messages.
    if (key < L' ') return false;
    TypeText(std::wstring(1, key));
    key = 0;
    return true;
}

LRESULT TMaskEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_format.Empty() && !ReadOnly() && m_handle) {
        if (message == WM_PASTE) {
            std::wstring text;
            if (OpenClipboard(m_handle)) {
                if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
                    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                        text = chars;
                        GlobalUnlock(data);
                    }
                }
                CloseClipboard();
            }
            TypeText(text);
            return 0;
        }
        if (message == WM_CUT || message == WM_CLEAR) {
            if (message == WM_CUT) TCustomEdit::WndProc(WM_COPY, 0, 0);
            std::wstring edit = EditText();
            int caret = 0;
            ClearSelection(edit, caret);
            Store(edit, caret);
            return 0;
        }
    }
    return TCustomEdit::WndProc(message, wParam, lParam);
}

}  // namespace velmora::gui
