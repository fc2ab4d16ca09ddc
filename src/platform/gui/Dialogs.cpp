#include "Dialogs.h"

#include <algorithm>

#include "Application.h"
#include "Buttons.h"
#include "Edits.h"
#include "Forms.h"
#include "Label.h"
#include "Layout.h"

namespace velmora::gui {

std::wstring MsgDlgTypeCaption(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return L"Warnung";
    case TMsgDlgType::mtError: return L"Fehler";
    case TMsgDlgType::mtInformation: return L"Information";
    case TMsgDlgType::mtConfirmation: return L"Bestätigen";
    case TMsgDlgType::mtCustom: break;
    }
    return Application ? Application->Title() : L"";
}

std::wstring MsgDlgButtonCaption(TMsgDlgBtn button) {
    switch (button) {
    case TMsgDlgBtn::mbYes: return L"&Ja";
    case TMsgDlgBtn::mbNo: return L"&Nein";
    case TMsgDlgBtn::mbOK: return L"OK";
    case TMsgDlgBtn::mbCancel: return L"Abbrechen";
    case TMsgDlgBtn::mbAbort: return L"&Abbrechen";
    case TMsgDlgBtn::mbRetry: return L"&Wiederholen";
    case TMsgDlgBtn::mbIgnore: return L"&Ignorieren";
    case TMsgDlgBtn::mbAll: return L"&Alle";
    case TMsgDlgBtn::mbNoToAll: return L"N&ein für alle";
    case TMsgDlgBtn::mbYesToAll: return L"Ja für &alle";
    case TMsgDlgBtn::mbHelp: return L"&Hilfe";
    }
    return {};
}

int MsgDlgButtonResult(TMsgDlgBtn button) {
    switch (button) {
    case TMsgDlgBtn::mbYes: return mrYes;
    case TMsgDlgBtn::mbNo: return mrNo;
    case TMsgDlgBtn::mbOK: return mrOk;
    case TMsgDlgBtn::mbCancel: return mrCancel;
    case TMsgDlgBtn::mbAbort: return mrAbort;
    case TMsgDlgBtn::mbRetry: return mrRetry;
    case TMsgDlgBtn::mbIgnore: return mrIgnore;
    case TMsgDlgBtn::mbAll: return mrAll;
    case TMsgDlgBtn::mbNoToAll: return mrNoToAll;
    case TMsgDlgBtn::mbYesToAll: return mrYesToAll;
    case TMsgDlgBtn::mbHelp: return mrNone;
    }
    return mrNone;
}

namespace {

// The library's own box: the system's would label its buttons in the system's language.
class TMessageForm : public TForm {
public:
    TMessageForm(TComponent* owner, const TMessageBoxCall& call) : TForm(owner), m_call(call), m_text(this) {
        BorderStyle = TBorderStyle::bsDialog;
        BorderIcons = biSystemMenu;
        Position = TPosition::poScreenCenter;
        SetCaption(call.Caption);
        const wchar_t* icon = call.Type == TMsgDlgType::mtWarning        ? IDI_WARNING
                              : call.Type == TMsgDlgType::mtError        ? IDI_ERROR
                              : call.Type == TMsgDlgType::mtInformation  ? IDI_INFORMATION
                              : call.Type == TMsgDlgType::mtConfirmation ? IDI_QUESTION
                                                                         : nullptr;
        if (icon) m_icon = LoadIconW(nullptr, icon);
        OnPaint = [this](TObject*) {
            if (m_icon) DrawIcon(Canvas().Handle(), m_margin, m_margin, m_icon);
        };
        Build();
    }

private:
    void Build() {
        std::wstring text;
        for (size_t i = 0; i < m_call.Text.size(); ++i) {
            text += m_call.Text[i];
            if (m_call.Text[i] == L'\r' && (i + 1 >= m_call.Text.size() || m_call.Text[i + 1] != L'\n')) text += L'\n';
        }
        TDialogLayout lay(*this);
        m_margin = lay.X(8);
        int textLeft = m_margin + (m_icon ? 32 + lay.X(8) : 0);
        m_text.SetAutoSize(false);
        m_text.ShowAccelChar = false;
        m_text.SetCaption(text);
        HDC dc = GetDC(nullptr);
        TCanvas canvas(dc);
        canvas.Font = Font;
        RECT r{0, 0, Screen->Width() / 2, 0};
        canvas.DrawText(text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        canvas.Detach();
        ReleaseDC(nullptr, dc);
        int textHeight = std::max<int>(r.bottom, m_icon ? 32 : 0);
        m_text.SetWordWrap(true);
        m_text.SetBounds(textLeft, m_margin, r.right, r.bottom);

        int bw = lay.X(50), bh = lay.Y(14), gap = lay.X(4);
        int count = static_cast<int>(m_call.Buttons.size());
        int rowWidth = count * bw + (count - 1) * gap;
        int width = std::max<int>(textLeft + r.right + m_margin, rowWidth + 2 * m_margin);
        int top = m_margin + textHeight + lay.Y(8);
        int x = (width - rowWidth) / 2;
        bool hasDefault = false;
        for (TMsgDlgBtn kind : m_call.Buttons) {
            auto* button = new TButton(this);
            button->SetCaption(MsgDlgButtonCaption(kind));
            button->SetBounds(x, top, bw, bh);
            button->ModalResult = MsgDlgButtonResult(kind);
            button->SetName(L"Button" + std::to_wstring(m_buttons.size()));
            if (!hasDefault && (kind == TMsgDlgBtn::mbOK || kind == TMsgDlgBtn::mbYes)) {
                button->Default = true;
                hasDefault = true;
                SetActiveControl(button);
            }
            if (kind == TMsgDlgBtn::mbCancel || (kind == TMsgDlgBtn::mbNo && !HasButton(TMsgDlgBtn::mbCancel)))
                button->Cancel = true;
            if (kind == TMsgDlgBtn::mbHelp) {
                int context = m_call.HelpContext;
                button->OnClick = [context](TObject*) { Application->HelpContext(context); };
            }
            m_buttons.push_back(button);
            x += bw + gap;
        }
        if (!hasDefault && !m_buttons.empty()) SetActiveControl(m_buttons.front());
        HelpContext = m_call.HelpContext;
        SetClientSize(width, top + bh + m_margin);
    }

    bool HasButton(TMsgDlgBtn kind) const {
        return std::find(m_call.Buttons.begin(), m_call.Buttons.end(), kind) != m_call.Buttons.end();
    }

    TMessageBoxCall m_call;
    TLabel m_text;
    HICON m_icon = nullptr;
    int m_margin = 8;
    std::vector<TButton*> m_buttons;
};

int ShowMessageForm(const TMessageBoxCall& call) {
    // A box may be needed before or after the application object (start-up errors).
    std::unique_ptr<TApplication> temporary;
    if (!Application) temporary = std::make_unique<TApplication>();
    std::unique_ptr<TMessageForm, TComponentDeleter> form(Create<TMessageForm>(nullptr, call));
    int result = form->ShowModal();
    if (result == mrCancel && std::find(call.Buttons.begin(), call.Buttons.end(), TMsgDlgBtn::mbCancel) ==
                                  call.Buttons.end()) {
        // Closed by its frame: the answer of the cancel-like button, else the first.
        if (std::find(call.Buttons.begin(), call.Buttons.end(), TMsgDlgBtn::mbNo) != call.Buttons.end()) return mrNo;
        if (!call.Buttons.empty()) return MsgDlgButtonResult(call.Buttons.front());
    }
    return result;
}

TMessageBoxFunction& BoxFunction() {
    static TMessageBoxFunction function;
    return function;
}

}  // namespace

TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction function) {
    TMessageBoxFunction old = std::move(BoxFunction());
    BoxFunction() = std::move(function);
    return old;
}

int MessageDlgCaption(const std::wstring& caption, const std::wstring& text, TMsgDlgType type,
                      const TMsgDlgButtons& buttons, int helpContext) {
    TMessageBoxCall call{type, caption, text, buttons.empty() ? TMsgDlgButtons{TMsgDlgBtn::mbOK} : buttons,
                         helpContext};
    if (BoxFunction()) return BoxFunction()(call);
    return ShowMessageForm(call);
}

int MessageDlg(const std::wstring& text, TMsgDlgType type, const TMsgDlgButtons& buttons, int helpContext) {
    return MessageDlgCaption(MsgDlgTypeCaption(type), text, type, buttons, helpContext);
}

void ShowMessage(const std::wstring& text) { MessageDlg(text, TMsgDlgType::mtCustom, {TMsgDlgBtn::mbOK}); }

namespace {

class TInputForm : public TForm {
public:
    TInputForm(TComponent* owner, const std::wstring& caption, const std::wstring& prompt, const std::wstring& value)
        : TForm(owner), Prompt(this), Value(this), OKBtn(this), CancelBtn(this) {
        SetName(L"InputForm");
        BorderStyle = TBorderStyle::bsDialog;
        BorderIcons = biSystemMenu;
        Position = TPosition::poScreenCenter;
        SetCaption(caption);
        TDialogLayout lay(*this);
        Prompt.SetCaption(prompt);
        Prompt.SetFocusControl(&Value);
        lay.Place(Prompt, 8, 8, 164, 10);
        Value.SetName(L"Value");
        Value.SetCaption(value);
        lay.Place(Value, 8, 20, 164, 12);
        OKBtn.SetName(L"OKBtn");
        OKBtn.SetCaption(L"OK");
        OKBtn.ModalResult = mrOk;
        OKBtn.Default = true;
        CancelBtn.SetName(L"CancelBtn");
        CancelBtn.SetCaption(L"Abbrechen");
        CancelBtn.ModalResult = mrCancel;
        CancelBtn.Cancel = true;
        lay.Row(68, 40, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
        lay.SetClientSize(*this, 180, 62);
        SetActiveControl(&Value);
        OnShow = [this](TObject*) { Value.SelectAll(); };
    }
    TLabel Prompt;
    TEdit Value;
    TButton OKBtn, CancelBtn;
};

}  // namespace

bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value) {
    std::unique_ptr<TInputForm, TComponentDeleter> form(Create<TInputForm>(nullptr, caption, prompt, value));
    if (form->ShowModal() != mrOk) return false;
    value = form->Value.Text();
    return true;
}

std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& defaultText) {
    std::wstring value = defaultText;
    InputQuery(caption, prompt, value);
    return value;
}

}  // namespace velmora::gui
