// The help file in Wine's help viewer, reached as the program reaches it: the one
// help function with a context, and F1 in a dialog. The viewer shows the topic in
// a rich edit control, whose text tells which topic it is.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "filetools/DateiUmbenennenDlg.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"

namespace velmora {
namespace {

std::wstring HostPathToWindows(const char* hostPath) {
    std::wstring path = L"Z:";
    for (const char* p = hostPath; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::wstring ClassOf(HWND w) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    return name;
}

std::wstring TextOf(HWND w) {
    const auto length = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// The viewer's main window: visible, its caption begins with the help file's title.
// (Enumeration callbacks: nothing may unwind through them.)
BOOL CALLBACK IsViewer(HWND w, LPARAM found) {
    try {
        if (IsWindowVisible(w) && TextOf(w).rfind(L"Velmora-Hilfe", 0) == 0) {
            *reinterpret_cast<HWND*>(found) = w;
            return FALSE;
        }
    } catch (...) {
    }
    return TRUE;
}

HWND FindViewer() {
    HWND found = nullptr;
    EnumWindows(IsViewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK AddRichEditText(HWND w, LPARAM text) {
    try {
        std::wstring name = ClassOf(w);
        for (wchar_t& c : name) c = towlower(c);
        if (name.find(L"richedit") != std::wstring::npos) *reinterpret_cast<std::wstring*>(text) += TextOf(w) + L"\n";
    } catch (...) {
    }
    return TRUE;
}

// The text of the topic the viewer shows (its rich edit controls, joined).
std::wstring ShownText(HWND viewer) {
    std::wstring text;
    EnumChildWindows(viewer, AddRichEditText, reinterpret_cast<LPARAM>(&text));
    return text;
}

class HelpViewer : public testing::Test {
protected:
    void SetUp() override { gui::Application->HelpFile = HostPathToWindows(VELMORA_HELP_FILE); }
    void TearDown() override {
        if (HWND viewer = FindViewer()) {
            PostMessageW(viewer, WM_CLOSE, 0, 0);
            gui::WaitUntil([&] { return !IsWindow(viewer); }, 10000);
        }
        // A viewer left behind would hold the test's output open.
        gui::Application->HelpCommand(HELP_QUIT, 0);
        gui::Application->HelpFile.clear();
    }

    // Waits for the viewer to show a topic that holds `text`; returns what it shows.
    std::wstring WaitForTopic(const std::wstring& text) {
        std::wstring shown;
        gui::WaitUntil(
            [&] {
                HWND viewer = FindViewer();
                shown = viewer ? ShownText(viewer) : L"";
                return shown.find(text) != std::wstring::npos;
            },
            20000);
        return shown;
    }
};

struct TContextCase {
    int Context;
    const wchar_t* Text;  // from the topic's own text: the contents list only its title
};

// The main window, a dialog, a message box and the autostart manager's dialog.
const TContextCase kContexts[] = {
    {1, L"Das Hauptfenster zeigt zwei Fenster nebeneinander."},
    {14, L"Löscht die markierten Dateien und Ordner (Datei/Löschen, F8)."},
    {66, L"Der gewählte Ordner existiert nicht oder das Laufwerk ist nicht bereit."},
    {58, L"Legt ein Programm der Autostartliste an oder ändert es."},
};

TEST_F(HelpViewer, TheHelpFunctionOpensTheTopicOfEachContext) {
    for (const TContextCase& c : kContexts) {
        ASSERT_TRUE(gui::Application->HelpContext(c.Context)) << c.Context;
        const std::wstring shown = WaitForTopic(c.Text);
        EXPECT_NE(shown.find(c.Text), std::wstring::npos) << c.Context;
    }
}

TEST_F(HelpViewer, TheTopicsCommandOpensTheContents) {
    ASSERT_TRUE(gui::Application->HelpCommand(HELP_FINDER, 0));
    const std::wstring shown = WaitForTopic(L"Wählen Sie ein Thema:");
    EXPECT_NE(shown.find(L"Wählen Sie ein Thema:"), std::wstring::npos);
}

TEST_F(HelpViewer, F1InTheRenameDialogOpensItsTopic) {
    std::unique_ptr<TDateiUmbenennenDlg, gui::TComponentDeleter> dlg(gui::Create<TDateiUmbenennenDlg>(gui::Application));
    dlg->Show();
    SetForegroundWindow(dlg->Handle());
    dlg->NeuerDateiName.SetFocus();
    ASSERT_TRUE(gui::WaitUntil([&] { return GetFocus() == dlg->NeuerDateiName.Handle(); }));
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    const std::wstring text = L"Gibt der markierten Datei oder dem markierten Ordner einen neuen Namen";
    const std::wstring shown = WaitForTopic(text);
    EXPECT_NE(shown.find(text), std::wstring::npos);
}

}  // namespace
}  // namespace velmora
