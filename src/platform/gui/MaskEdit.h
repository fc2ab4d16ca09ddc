#pragma once
// TMaskEdit: a one-line edit whose text follows an edit mask, written as the
// class library writes them: "mask;save-literals;blank", for example
// "!90/90/9900;1; " for a date and "!90:00:00;1; " for a time.
//
// Mask characters: "0" a digit, "9" an optional digit, "#" an optional digit or
// sign, "L"/"l" a letter (required/optional), "A"/"a" a letter or digit, "C"/"c"
// any character, "/" the locale's date separator, ":" its time separator, "\"
// takes the next character as a literal, "!" (anywhere) aligns a text put in
// from outside to the right of each field, so that optional positions show as
// leading blanks ("9.1.2026" becomes " 9. 1.2026"). Every other character is a
// literal that the edit keeps in place. The text always has the mask's length.

#include <string>
#include <vector>

#include "Edits.h"

namespace velmora::gui {

// The mask without a window: which position takes what, and how texts and key
// presses become the edit's text.
class TEditMaskFormat {
public:
    TEditMaskFormat() = default;
    explicit TEditMaskFormat(const std::wstring& mask);

    bool Empty() const { return m_slots.empty(); }
    int Length() const { return static_cast<int>(m_slots.size()); }
    bool IsLiteral(int pos) const;
    bool Accepts(int pos, wchar_t c) const;
    bool SaveLiterals() const { return m_saveLiterals; }
    wchar_t BlankChar() const { return m_blank; }

    // The empty text: literals in place, blanks elsewhere.
    std::wstring Blank() const;
    // A text put in from outside, placed field by field between the literals.
    std::wstring Apply(const std::wstring& text) const;
    // The text as the program reads it: blanks as spaces, literals only when saved.
    std::wstring TextOf(const std::wstring& editText) const;
    // Whether every required position is filled.
    bool IsComplete(const std::wstring& editText) const;

    // A typed character at Caret (literals skipped): the new caret, or -1 when
    // the character does not fit (the text is then unchanged).
    int Type(std::wstring& editText, int caret, wchar_t c) const;
    // Blanks the editable positions in [From, From + Count).
    void Clear(std::wstring& editText, int from, int count) const;
    // Backspace at Caret: the editable position before it is blanked; the new caret.
    int Backspace(std::wstring& editText, int caret) const;
    // The first editable position at or after Pos (Length() when none).
    int NextEditable(int pos) const;

private:
    enum class TKind { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, AnyChar };
    struct TSlot {
        TKind Kind = TKind::Literal;
        bool Required = false;
        wchar_t Literal = 0;
    };
    bool Fits(const TSlot& slot, wchar_t c) const;

    std::vector<TSlot> m_slots;
    bool m_leadingBlanks = false;
    bool m_saveLiterals = true;
    wchar_t m_blank = L'_';
};

class TMaskEdit : public TCustomEdit {
public:
    explicit TMaskEdit(TComponent* owner);

    const std::wstring& EditMask() const { return m_maskText; }
    void SetEditMask(const std::wstring& mask);
    const TEditMaskFormat& MaskFormat() const { return m_format; }
    // The text as it shows, blanks and literals included.
    std::wstring EditText() const { return TCustomEdit::Caption(); }
    // Without a mask the plain text; with one, TEditMaskFormat::TextOf.
    std::wstring Caption() const override;
    // Placed into the mask (TEditMaskFormat::Apply).
    void SetCaption(const std::wstring& caption) override;

protected:
    bool DoKeyDown(WORD& key, TShiftState shift) override;
    bool DoKeyPress(wchar_t& key) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Store(const std::wstring& editText, int caret);
    void TypeText(const std::wstring& text);
    void ClearSelection(std::wstring& editText, int& caret) const;

    std::wstring m_maskText;
    TEditMaskFormat m_format;
};

}  // namespace velmora::gui
