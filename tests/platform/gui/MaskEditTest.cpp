// The masked edit: how a mask places texts and typed characters, and the edit
// window taking keys, Delete, Backspace and pasted text through it. The German
// locale of the tests makes "/" a "." and ":" a ":".

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/gui/Application.h"
#include "platform/gui/Forms.h"
#include "platform/gui/MaskEdit.h"

using namespace velmora::gui;

namespace {

const std::wstring kDatum = L"!90/90/9900;1; ";
const std::wstring kZeit = L"!90:00:00;1; ";

TEST(EditMaskFormat, ATextFromOutsideFillsEachFieldFromTheRight) {
    const TEditMaskFormat datum(kDatum);
    EXPECT_EQ(datum.Length(), 10);
    EXPECT_EQ(datum.Blank(), L"  .  .    ");
    EXPECT_EQ(datum.Apply(L"9.1.2026"), L" 9. 1.2026");
    EXPECT_EQ(datum.Apply(L"19.11.2026"), L"19.11.2026");
    EXPECT_EQ(datum.Apply(L""), L"  .  .    ");
    EXPECT_EQ(datum.Apply(L"09012026"), L"09.01.2026");
    // Characters a position does not take stay blank.
    EXPECT_EQ(datum.Apply(L"x.1.2026"), L"  . 1.2026");
    const TEditMaskFormat zeit(kZeit);
    EXPECT_EQ(zeit.Apply(L"8:05:00"), L" 8:05:00");
    EXPECT_EQ(zeit.Apply(L"14:05"), L"14:05:  ");
}

TEST(EditMaskFormat, WithoutTheExclamationMarkFieldsFillFromTheLeft) {
    const TEditMaskFormat mask(L"90/90/9900;1;_");
    EXPECT_EQ(mask.Blank(), L"__.__.____");
    EXPECT_EQ(mask.Apply(L"9.1.2026"), L"9_.1_.2026");
    EXPECT_EQ(mask.TextOf(L"9_.1_.2026"), L"9 .1 .2026");
    const TEditMaskFormat bare(L"00/00;0;_");
    EXPECT_EQ(bare.TextOf(L"12.3_"), L"123 ");
}

TEST(EditMaskFormat, TypingSkipsLiteralsAndRefusesWhatAPositionDoesNotTake) {
    const TEditMaskFormat datum(kDatum);
    std::wstring text = datum.Blank();
    int caret = 0;
    for (wchar_t c : std::wstring(L"0901")) caret = datum.Type(text, caret, c);
    EXPECT_EQ(text, L"09.01.    ");
    EXPECT_EQ(caret, 6);
    EXPECT_EQ(datum.Type(text, caret, L'x'), -1);
    EXPECT_EQ(text, L"09.01.    ");
    // A separator typed where one stands steps over it.
    EXPECT_EQ(datum.Type(text, 2, L'.'), 3);
    EXPECT_EQ(datum.Type(text, 10, L'1'), -1);
    EXPECT_FALSE(datum.IsComplete(text));
    for (wchar_t c : std::wstring(L"2026")) caret = datum.Type(text, caret, c);
    EXPECT_TRUE(datum.IsComplete(text));
    EXPECT_EQ(caret, 10);
}

TEST(EditMaskFormat, BackspaceAndClearBlankOnlyEditablePositions) {
    const TEditMaskFormat datum(kDatum);
    std::wstring text = L"09.01.2026";
    EXPECT_EQ(datum.Backspace(text, 3), 1);
    EXPECT_EQ(text, L"0 .01.2026");
    datum.Clear(text, 0, 6);
    EXPECT_EQ(text, L"  .  .2026");
    EXPECT_EQ(datum.Backspace(text, 0), 0);
    EXPECT_TRUE(datum.Accepts(0, L'5'));
    EXPECT_TRUE(datum.IsLiteral(2));
}

class MaskEditWindow : public ::testing::Test {
protected:
    void SetUp() override {
        form = Create<TForm>(Application);
        edit = Create<TMaskEdit>(form);
        edit->SetParent(form);
        edit->SetEditMask(kDatum);
        edit->OnChange = [this](TObject*) { ++changes; };
        form->Show();
    }
    void TearDown() override { form->Free(); }
    void Char(wchar_t c) { SendMessageW(edit->Handle(), WM_CHAR, c, 0); }

    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;
    int changes = 0;
};

TEST_F(MaskEditWindow, KeysGoThroughTheMaskAndEveryChangeIsReported) {
    edit->SetText(L"9.1.2026");
    EXPECT_EQ(edit->Text(), L" 9. 1.2026");
    EXPECT_EQ(changes, 1);
    edit->SetSelStart(0);
    edit->SetSelLength(0);
    Char(L'1');
    Char(L'x');
    Char(L'2');
    EXPECT_EQ(edit->Text(), L"12. 1.2026");
    EXPECT_EQ(edit->SelStart(), 3);
    EXPECT_EQ(changes, 3);
    Char(VK_BACK);
    EXPECT_EQ(edit->Text(), L"1 . 1.2026");
    edit->SetSelStart(6);
    edit->SetSelLength(4);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(edit->Text(), L"1 . 1.    ");
    EXPECT_EQ(edit->EditText().size(), 10u);
}

TEST_F(MaskEditWindow, PastedTextIsTypedFromTheCaret) {
    ASSERT_TRUE(OpenClipboard(edit->Handle()));
    EmptyClipboard();
    const std::wstring text = L"2027";
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(data), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    edit->SetText(L"9.1.2026");
    edit->SetSelStart(6);
    edit->SetSelLength(0);
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), L" 9. 1.2027");
}

}  // namespace
