#pragma once
// German message boxes, all through one function that tests can replace, and the
// input box.

#include <functional>
#include <string>
#include <vector>

namespace velmora::gui {

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;

struct TMessageBoxCall {
    TMsgDlgType Type;
    std::wstring Caption;
    std::wstring Text;
    TMsgDlgButtons Buttons;
    int HelpContext = 0;
};

using TMessageBoxFunction = std::function<int(const TMessageBoxCall&)>;

// Shows the box and returns the modal result of the button pressed
// (mrOk 1, mrCancel 2, mrAbort 3, mrRetry 4, mrIgnore 5, mrYes 6, mrNo 7, ...).
int MessageDlg(const std::wstring& text, TMsgDlgType type, const TMsgDlgButtons& buttons, int helpContext = 0);
// The same with a caption of its own instead of the type's ("Warnung", "Fehler", ...).
int MessageDlgCaption(const std::wstring& caption, const std::wstring& text, TMsgDlgType type,
                      const TMsgDlgButtons& buttons, int helpContext = 0);
// An information-less box with the application's title.
void ShowMessage(const std::wstring& text);
// Replaces the function that shows the boxes; returns the previous one.
TMessageBoxFunction SetMessageBoxFunction(TMessageBoxFunction function);

std::wstring MsgDlgTypeCaption(TMsgDlgType type);
std::wstring MsgDlgButtonCaption(TMsgDlgBtn button);
int MsgDlgButtonResult(TMsgDlgBtn button);

// The prompt with an edit, "OK" and "Abbrechen": the typed text, or Default on cancel.
std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& defaultText);
// True with the typed text in Value after OK.
bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value);

}  // namespace velmora::gui
